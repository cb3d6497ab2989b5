#include "cli/call_sign.h"

#include <array>
#include <cstddef>

namespace {

constexpr std::array<std::string_view, 7> kSuffixes = {"P", "M", "QRP", "QRPP", "A", "B", "LH"};

bool IsSuffix(std::string_view part) {
  for (const std::string_view s : kSuffixes) {
    if (part == s) return true;
  }
  return false;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The home call with its call-area digit, its last digit, replaced; a call without a digit
// stays as it is.
std::string MoveToArea(std::string_view home, char digit) {
  std::string moved(home);
  for (std::size_t i = moved.size(); i-- > 0;) {
    if (IsDigit(moved[i])) {
      moved[i] = digit;
      break;
    }
  }
  return moved;
}

}  // namespace

CallParts SplitCall(std::string_view call) {
  CallParts parts;
  parts.call = call;
  parts.areaSource = call;

  constexpr std::size_t kMaxParts = 8;
  std::array<std::string_view, kMaxParts> kept;
  std::size_t count = 0;
  bool suffixesDropped = false;
  std::size_t begin = 0;
  while (begin <= call.size()) {
    std::size_t end = call.find('/', begin);
    if (end == std::string_view::npos) end = call.size();
    const std::string_view part = call.substr(begin, end - begin);
    begin = end + 1;
    if (part.empty()) continue;
    if (part == "MM" || part == "AM") {
      parts.noCountry = true;
    } else if (count > 0 && IsSuffix(part)) {
      suffixesDropped = true;
    } else if (count < kMaxParts) {
      kept[count++] = part;
    }
  }
  if (count == 0) {
    parts.prefixLookup = std::string(call);
    return parts;
  }

  std::size_t home = 0;
  for (std::size_t i = 1; i < count; ++i) {
    if (kept[i].size() >= kept[home].size()) home = i;
  }
  if (count == 1) {
    parts.prefixLookup = std::string(kept[home]);
    if (suffixesDropped) parts.exactHome = kept[home];
    return parts;
  }
  const std::string_view other = kept[home == 0 ? 1 : 0];
  parts.areaSource = other;
  if (other.size() == 1 && IsDigit(other[0])) {
    parts.prefixLookup = MoveToArea(kept[home], other[0]);
  } else {
    parts.prefixLookup = std::string(other);
  }
  return parts;
}
