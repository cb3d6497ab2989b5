// The words of a scenario line, and the quoting the runner prints texts with.
#pragma once

#include <charconv>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace scenario {

struct Word {
  std::string text;
  bool quoted = false;  // some part of it was in double quotes
};

// Splits a line into words separated by blanks; double quotes (anywhere in a word) keep blanks
// and take the escapes \" \\ \t \r \n. A # outside quotes at the start of a word ends the line.
bool SplitWords(const std::string& line, std::vector<Word>& words, std::string& error);

// The text in double quotes with the escapes the scenario format reads, and \xHH for any other
// byte that is not printable ASCII.
std::string Quote(std::string_view text);

// The unquoted word (null): a null pointer.
inline bool IsNullWord(const Word& word) { return !word.quoted && word.text == "(null)"; }

// The whole text as a number of that type; false for anything else (a sign where the type has
// none, trailing characters, an empty text, a value out of range).
template <typename Number>
inline bool ParseNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && !text.empty();
}

}  // namespace scenario
