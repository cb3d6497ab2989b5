// The module's settings: every key of section "Settings" in "Plugins\SKOLP-NY.ini", and the
// few routines through which every part reads and writes them.
//
// Each read and each write is one immediate call of the profile functions (platform/profile.h)
// of the build: nothing is cached or batched, a missing file reads as a file without keys, and
// a write that fails is lost while the value in memory stays as set. Values keep at most
// ProfileStore::kBufferSize - 1 (99) bytes. Each read has a buffer of its own, so the host's
// thread and the Multiplier window's thread may read at the same time.
#pragma once

#include <string>
#include <string_view>

// Keys, with the value they read as when absent or empty.
inline constexpr char kKeyMultiplier[] = "Multiplier";  // 0/1, the Multiplier window wanted; 0
inline constexpr char kKeyMyName[] = "MyName";          // operator name; ""
inline constexpr char kKeyStart[] = "Start";            // 0/1, the window start toggle; 0
inline constexpr char kKeyWindowX[] = "dxcc_x";         // Multiplier window left edge; 0
inline constexpr char kKeyWindowY[] = "dxcc_y";         // Multiplier window top edge; 0
inline constexpr char kKeyClaimed[] = "Claimed";        // last claimed score; ""
// Cabrillo header values; "" except "Operators", whose default is the own call sign.
inline constexpr char kKeyOperators[] = "Operators";
inline constexpr char kKeyName[] = "Name";
inline constexpr char kKeyAddress[] = "Address";
inline constexpr char kKeyAddressCity[] = "Address_City";
inline constexpr char kKeyAddressStateProvince[] = "Address_St_Prov";
inline constexpr char kKeyAddressPostalCode[] = "Address_PostalCode";
inline constexpr char kKeyAddressCountry[] = "Address_Country";
inline constexpr char kKeyEmail[] = "Email";
inline constexpr char kKeyClub[] = "Club";
inline constexpr char kKeySoapBox[] = "SoapBox";  // line breaks encoded, see EncodeSoapBox
// Written by the Cabrillo header step, never read.
inline constexpr char kKeyCategory[] = "Category";
inline constexpr char kKeyCategoryOverlay[] = "Category_Overlay";
inline constexpr char kKeyContest[] = "Contest";

// The value of `key`, or `defaultValue` when the file has none.
std::string ReadSettingText(std::string_view key, std::string_view defaultValue = {});
// The value of `key` as a decimal integer (ParseDecimal); 0 when absent.
int ReadSettingInt(std::string_view key);

// Writes `value` so that it reads back as it was: a value with a blank at either end, or
// enclosed in a pair of like quotes, is written inside double quotes (which the profile
// functions strip on reading), and a line break becomes a blank so that a value never adds a
// line to the file. False when the file could not be written.
bool WriteSettingText(std::string_view key, std::string_view value);
bool WriteSettingInt(std::string_view key, int value);

// The module's one integer-write routine: `value` formatted with "%i".
bool WriteProfileInt(std::string_view section, std::string_view key, int value,
                     std::string_view file);

// The C library's decimal conversion: optional leading white space, an optional sign, then
// decimal digits up to the first other character; 0 when no digit follows. Values beyond the
// int range saturate, as strtol does where long has 32 bits.
int ParseDecimal(std::string_view text);

// The soapbox is stored on one line: each CR becomes "<CR>", then each LF "<LF>".
std::string EncodeSoapBox(std::string_view text);
// The reverse: each "<CR>" becomes CR, then each "<LF>" LF.
std::string DecodeSoapBox(std::string_view text);

// Reads "Multiplier" into g_nUseMultiplier and "MyName" into g_strMyName.
void LoadOwnSettings();
