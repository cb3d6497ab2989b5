#include "frame/settings.h"

#include <climits>
#include <cstdio>

#include "frame/module_objects.h"
#include "platform/profile.h"

static_assert(ProfileStore::kBufferSize == kProfileBufferSize);

namespace {

std::string Replaced(std::string_view text, std::string_view search, std::string_view with) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(search, from)) != std::string_view::npos;
       from = at + search.size()) {
    out.append(text.substr(from, at - from));
    out.append(with);
  }
  out.append(text.substr(from));
  return out;
}

bool IsCBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The characters the profile functions trim from either end of a value.
bool IsProfileBlank(char c) { return IsCBlank(c) || c == '\x1a'; }

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsProfileBlank(value.front()) || IsProfileBlank(value.back())) return true;
  return value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

}  // namespace

std::string ReadSettingText(std::string_view key, std::string_view defaultValue) {
  return DefaultProfileStore().Read(g_strIniSection, key, defaultValue, g_strIniFile);
}

int ReadSettingInt(std::string_view key) { return ParseDecimal(ReadSettingText(key)); }

bool WriteSettingText(std::string_view key, std::string_view value) {
  std::string line(value.substr(0, value.find('\0')));
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (NeedsQuotes(line)) line = '"' + line + '"';
  return DefaultProfileStore().Write(g_strIniSection, key, line, g_strIniFile);
}

bool WriteSettingInt(std::string_view key, int value) {
  return WriteProfileInt(g_strIniSection, key, value, g_strIniFile);
}

bool WriteProfileInt(std::string_view section, std::string_view key, int value,
                     std::string_view file) {
  char text[16];
  std::snprintf(text, sizeof text, "%i", value);
  return DefaultProfileStore().Write(section, key, text, file);
}

int ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) break;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string EncodeSoapBox(std::string_view text) {
  return Replaced(Replaced(text, "\r", "<CR>"), "\n", "<LF>");
}

std::string DecodeSoapBox(std::string_view text) {
  return Replaced(Replaced(text, "<CR>", "\r"), "<LF>", "\n");
}

void LoadOwnSettings() {
  g_nUseMultiplier = ReadSettingInt(kKeyMultiplier);
  g_strMyName = ReadSettingText(kKeyMyName);
}
