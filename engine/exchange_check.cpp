// The exchange check: field 0 is the received serial number, field 1 the name of the operator
// worked. The host checks field 0 and then field 1 of each exchange, and g_numberOk carries the
// outcome of the first check into the second.
#include <string_view>

#include "engine/tables.h"
#include "frame/entry_points.h"
#include "platform/text.h"

namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int CheckNumber(std::string_view text) {
  if (text.size() != 3 && text.size() != 4) return 0;
  // Operators who send the report again instead of the number are caught here.
  if (text == "599") return 0;
  int value = 0;
  for (const char c : text) {
    if (!IsAsciiDigit(c)) return 0;
    value = value * 10 + (c - '0');
  }
  // The form is right even when the value is not: the name that follows may be checked.
  g_numberOk = 1;
  return value > 0 ? 1 : 0;
}

int CheckName(std::string_view text) {
  if (text == "UR" || text == "RST") return 0;
  if (g_numberOk == 0) return 0;
  for (const char c : text) {
    if (!IsAsciiLetter(c)) return 0;
  }
  g_numberOk = 0;
  return 1;
}

}  // namespace

extern "C" int SKOLP_CDECL StatsIsValidExchg0(const char* exchange, const char*, const char*,
                                              const char*, int, int, int field) {
  switch (field) {
    case 0:
      return CheckNumber(HostText(exchange));
    case 1:
      return CheckName(HostText(exchange));
    default:
      return 0;
  }
}
