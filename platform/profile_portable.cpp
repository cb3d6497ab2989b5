// Our own private-profile reader and writer. It works the way Wine's kernel32 does: the file
// is decoded to UTF-16, parsed into sections and keys, looked up, and on a change written out
// whole from the parsed form. Unlike kernel32 it writes a new file beside the old one and
// renames it over the old, so that a crash never leaves half a settings file.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/profile.h"

namespace {

using WText = std::u16string;
using WView = std::u16string_view;

// Code page 1252 from 0x80 to 0x9F; the rest of the page is Latin-1. The five unassigned bytes
// map to the C1 controls of the same value, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromAnsi(unsigned char c) {
  return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : char16_t{c};
}

char ToAnsi(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c < 0x100)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// An argument as kernel32 sees it: a C string in the ANSI code page.
WText Widen(std::string_view text) {
  WText out;
  for (char c : text) {
    if (c == '\0') break;
    out.push_back(FromAnsi(static_cast<unsigned char>(c)));
  }
  return out;
}

std::string Narrow(WView text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(ToAnsi(c));
  return out;
}

enum class Encoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// Invalid sequences become U+FFFD, one per byte.
void DecodeUtf8(std::string_view bytes, WText& out) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                      : (lead & 0xF8) == 0xF0 ? 3 : -1;
    char32_t cp = lead & (0x7F >> (extra < 1 ? 0 : extra + 1));
    bool ok = extra >= 0 && i + extra < bytes.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto trail = static_cast<unsigned char>(bytes[i + k]);
      ok = (trail & 0xC0) == 0x80;
      cp = (cp << 6) | (trail & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
}

void EncodeUtf8(WView text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
}

WText Decode(std::string_view bytes, Encoding& encoding) {
  WText text;
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding = Encoding::kUtf8;
    DecodeUtf8(bytes.substr(3), text);
  } else if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" ||
                                   bytes.substr(0, 2) == "\xFE\xFF")) {
    encoding = bytes[0] == '\xFF' ? Encoding::kUtf16Le : Encoding::kUtf16Be;
    const int high = encoding == Encoding::kUtf16Le ? 1 : 0;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i + high]) << 8 |
                                           static_cast<unsigned char>(bytes[i + 1 - high])));
    }
  } else {
    encoding = Encoding::kAnsi;
    text.reserve(bytes.size());
    for (char c : bytes) text.push_back(FromAnsi(static_cast<unsigned char>(c)));
  }
  return text;
}

std::string Encode(WView text, Encoding encoding) {
  std::string out;
  switch (encoding) {
    case Encoding::kAnsi:
      return Narrow(text);
    case Encoding::kUtf8:
      out = "\xEF\xBB\xBF";
      EncodeUtf8(text, out);
      return out;
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be: {
      const bool le = encoding == Encoding::kUtf16Le;
      out = le ? "\xFF\xFE" : "\xFE\xFF";
      for (char16_t c : text) {
        const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out.push_back(le ? lo : hi);
        out.push_back(le ? hi : lo);
      }
      return out;
    }
  }
  return out;
}

bool IsBlank(char16_t c) {
  return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ' || c == 0x1A;
}

WView TrimLeft(WView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

WView TrimRight(WView s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

WView Trim(WView s) { return TrimRight(TrimLeft(s)); }

// A name or value as kernel32 stores it: a C string, so it ends at its first zero.
WText CString(WView s) { return WText(s.substr(0, s.find(u'\0'))); }

char16_t AsciiLower(char16_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool SameName(WView a, WView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

struct Key {
  WText name;
  std::optional<WText> value;  // none: a line without "="
};

struct Section {
  WText name;  // empty: the keys before the first header (or under "[]")
  std::vector<Key> keys;
};

struct Profile {
  Encoding encoding = Encoding::kAnsi;
  std::vector<Section> sections{Section{}};
};

Profile Parse(std::string_view bytes) {
  Profile profile;
  const WText text = Decode(bytes, profile.encoding);
  const WView all(text);
  Section* section = &profile.sections.front();
  const Key* previous = nullptr;
  std::size_t next = 0;
  while (next < all.size()) {
    const std::size_t start = next;
    while (next < all.size() && all[next] != '\n' && all[next] != '\r') ++next;
    WView line = Trim(all.substr(start, next - start));
    while (next < all.size() && (all[next] == '\n' || all[next] == '\r')) ++next;
    if (line.empty()) continue;

    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != WView::npos && close > 0) {
        profile.sections.push_back(Section{CString(Trim(line.substr(1, close - 1))), {}});
        section = &profile.sections.back();
        previous = nullptr;
        continue;
      }
    }

    const std::size_t equals = line.find('=');
    const WView name = equals == WView::npos ? line : TrimRight(line.substr(0, equals));
    // A key line with an empty name right after another key with an empty name is dropped.
    if (name.empty() && previous != nullptr && previous->name.empty()) continue;
    Key key{CString(name), std::nullopt};
    if (equals != WView::npos) key.value = CString(TrimLeft(line.substr(equals + 1)));
    section->keys.push_back(std::move(key));
    previous = &section->keys.back();
  }
  return profile;
}

std::string Serialise(const Profile& profile) {
  WText text;
  for (const Section& section : profile.sections) {
    if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
    for (const Key& key : section.keys) {
      text += key.name;
      if (key.value) text += u"=" + *key.value;
      text += u"\r\n";
    }
  }
  return Encode(text, profile.encoding);
}

// A name as the caller gave it, without its surrounding blanks, for comparing.
Section* FindSection(Profile& profile, WView name) {
  for (Section& section : profile.sections) {
    if (SameName(section.name, name)) return &section;
  }
  return nullptr;
}

Key* FindKey(Section& section, WView name) {
  for (Key& key : section.keys) {
    if (SameName(key.name, name)) return &key;
  }
  return nullptr;
}

// What kernel32 copies into the caller's buffer: a pair of like quotes around the text goes,
// the closing one only when the text fits the buffer.
WText CopyEntry(WView value) {
  constexpr std::size_t kMax = ProfileStore::kBufferSize - 1;
  bool quoted = false;
  if (!value.empty() && (value.front() == '"' || value.front() == '\'') && value.size() > 1 &&
      value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  WText out(value.substr(0, kMax));
  if (quoted && ProfileStore::kBufferSize >= value.size()) out.pop_back();
  return out;
}

std::filesystem::path LocalPath(std::string_view file) {
  std::string name(file.substr(0, file.find('\0')));
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return std::filesystem::path(name);
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool CanReplace(const std::filesystem::path& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) return true;
  if (!std::filesystem::is_regular_file(status)) return false;
  // Opening for appending writes nothing; it fails where kernel32's open for writing would.
  std::ofstream probe(path, std::ios::binary | std::ios::app);
  return static_cast<bool>(probe);
}

// Writes `bytes` to a new file in the same folder and renames it over `path`.
bool ReplaceFile(const std::filesystem::path& path, const std::string& bytes) {
  if (!CanReplace(path)) return false;
  static std::mt19937_64 random{std::random_device{}()};
  std::filesystem::path temporary = path;
  temporary += ".new-" + std::to_string(random() % 1000000000);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

class OwnProfileStore final : public ProfileStore {
 public:
  std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue,
                   std::string_view file) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Profile profile = Parse(ReadFile(LocalPath(file)).value_or(std::string()));
    const Key* found = nullptr;
    if (Section* s = FindSection(profile, Trim(Widen(section)))) {
      found = FindKey(*s, Trim(Widen(key)));
    }
    if (found != nullptr && found->value) return Narrow(CopyEntry(*found->value));

    WText fallback = Widen(defaultValue);
    // Trailing spaces go, but never the first character.
    while (fallback.size() > 1 && fallback.back() == ' ') fallback.pop_back();
    return Narrow(CopyEntry(fallback));
  }

  bool Write(std::string_view section, std::string_view key, std::string_view value,
             std::string_view file) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::filesystem::path path = LocalPath(file);
    Profile profile = Parse(ReadFile(path).value_or(std::string()));

    // New names keep their trailing blanks; the next read of the file trims them.
    const WText sectionName(TrimLeft(Widen(section)));
    const WText keyName(TrimLeft(Widen(key)));
    const WText newValue(TrimLeft(Widen(value)));

    Section* s = FindSection(profile, TrimRight(sectionName));
    if (s == nullptr) {
      profile.sections.push_back(Section{sectionName, {}});
      s = &profile.sections.back();
    }
    Key* k = FindKey(*s, TrimRight(keyName));
    if (k == nullptr) {
      s->keys.push_back(Key{keyName, std::nullopt});
      k = &s->keys.back();
    } else if (k->value && *k->value == newValue) {
      return true;
    }
    k->value = newValue;
    return ReplaceFile(path, Serialise(profile));
  }

 private:
  std::mutex m_mutex;
};

}  // namespace

ProfileStore& PortableProfileStore() {
  static OwnProfileStore store;
  return store;
}
