// How skolp reads a call sign in the host's place: which texts find its country in the country
// file, and which text is the module's area source (the module takes the last decimal digit of
// the area source as the call area).
//
// A call is split at "/" into parts. Operating suffixes (P, M, QRP, QRPP, A, B, LH) are left
// out; MM and AM (maritime and aeronautical mobile) mean the station is in no country. Of what
// remains, the longest part is the home call and the first other part, if any, says where the
// station is:
// - no other part (SM5ABC, SM5ABC/P): the country of the home call; the area source is the
//   call as given;
// - a single digit (SM5ABC/7): the home call moved to that call area (looked up as SM7ABC),
//   the area source is the digit;
// - anything else is a prefix part (OH0/SM5ABC, W1ABC/KH6): its country, and it is the area
//   source. Of two parts of equal length the first is the prefix part.
#pragma once

#include <string>
#include <string_view>

struct CallParts {
  // Exact-call entries of the country file are tried with `call`, then, when not empty, with
  // `exactHome` (the home call of a call that only adds suffixes: the station is at home).
  std::string_view call;
  std::string_view exactHome;
  // The text whose longest listed prefix gives the country.
  std::string prefixLookup;
  std::string_view areaSource;
  bool noCountry = false;  // maritime or aeronautical mobile
};

// `call` in upper case; the views point into it.
CallParts SplitCall(std::string_view call);
