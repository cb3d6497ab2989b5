#include "cli/country_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <utility>

#include "cli/file_bytes.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::array<std::string_view, 7> kContinents = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsContinent(std::string_view text) {
  return std::find(kContinents.begin(), kContinents.end(), text) != kContinents.end();
}

// 1 + the index of `text` among the continents, or 0.
std::uint32_t ContinentCode(std::string_view text) {
  const auto found = std::find(kContinents.begin(), kContinents.end(), text);
  if (found == kContinents.end()) return 0;
  return static_cast<std::uint32_t>(found - kContinents.begin()) + 1;
}

// Entity indexes share a packed value with a continent code (CCountryFile::Entry).
constexpr std::size_t kMaxEntities = 1 << 24;

// "line N: " for the byte at `pos`.
std::string At(std::string_view text, std::size_t pos) {
  const std::string_view before = text.substr(0, pos);
  const auto line = 1 + std::count(before.begin(), before.end(), '\n');
  return "line " + std::to_string(line) + ": ";
}

char ClosingBracket(char opening) {
  switch (opening) {
    case '(':
      return ')';
    case '[':
      return ']';
    case '<':
      return '>';
    case '{':
      return '}';
    case '~':
      return '~';
    default:
      return '\0';
  }
}

// The first field of a CSV line, and its third as a number (-1 when it is none).
std::pair<std::string_view, int> PrefixAndNumber(std::string_view line) {
  const std::size_t c1 = line.find(',');
  if (c1 == std::string_view::npos) return {{}, -1};
  const std::size_t c2 = line.find(',', c1 + 1);
  if (c2 == std::string_view::npos) return {{}, -1};
  std::size_t c3 = line.find(',', c2 + 1);
  if (c3 == std::string_view::npos) c3 = line.size();
  const std::string_view digits = Trim(line.substr(c2 + 1, c3 - c2 - 1));
  if (digits.empty() || digits.size() > 6) return {{}, -1};
  int number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return {{}, -1};
    number = number * 10 + (c - '0');
  }
  return {Trim(line.substr(0, c1)), number};
}

}  // namespace

std::optional<CCountryFile> CCountryFile::Load(const std::string& datPath, std::string& error) {
  std::optional<std::string> dat = ReadFileBytes(datPath, error);
  if (!dat) return std::nullopt;
  std::filesystem::path csvPath(datPath);
  csvPath.replace_extension(".csv");
  std::string ignored;
  std::optional<std::string> csv = ReadFileBytes(csvPath.string(), ignored);

  CCountryFile file;
  if (!file.Parse(std::move(*dat), csv ? std::move(*csv) : std::string(), error)) {
    error = datPath + " " + error;
    return std::nullopt;
  }
  return file;
}

bool CCountryFile::Parse(std::string datText, std::string csvText, std::string& error) {
  m_dat = std::make_unique<const std::string>(std::move(datText));
  m_csv = std::make_unique<const std::string>(std::move(csvText));
  m_entities.clear();
  m_exactCalls.Clear();
  m_prefixes.Clear();
  m_longestPrefix = 0;
  if (!ParseEntities(error)) return false;
  ReadEntityNumbers(*m_csv);
  MapWaeEntities();
  return true;
}

bool CCountryFile::ParseEntities(std::string& error) {
  const std::string_view text = *m_dat;
  std::size_t pos = 0;
  for (;;) {
    pos = text.find_first_not_of(kBlanks, pos);
    if (pos == std::string_view::npos) break;

    std::array<std::string_view, 8> header;
    for (std::string_view& field : header) {
      const std::size_t colon = text.find_first_of(":;", pos);
      if (colon == std::string_view::npos || text[colon] == ';') {
        error = At(text, pos) + "an entity's first line needs eight fields, each ending in \":\"";
        return false;
      }
      field = Trim(text.substr(pos, colon - pos));
      pos = colon + 1;
    }
    Entity entity;
    entity.name = header[0];
    entity.continent = header[3];
    entity.primaryPrefix = header[7];
    if (!entity.primaryPrefix.empty() && entity.primaryPrefix.front() == '*') {
      entity.waeOnly = true;
      entity.primaryPrefix.remove_prefix(1);
    }
    if (!IsContinent(entity.continent) || entity.primaryPrefix.empty()) {
      error = At(text, pos) + "the entity \"" + std::string(entity.name) +
              "\" needs a continent and a primary prefix";
      return false;
    }
    if (m_entities.size() >= kMaxEntities) {
      error = At(text, pos) + "more entities than any country file holds";
      return false;
    }
    const auto index = static_cast<std::uint32_t>(m_entities.size());
    entity.dxcc = index;
    m_entities.push_back(entity);

    const std::size_t semicolon = text.find(';', pos);
    if (semicolon == std::string_view::npos) {
      error = At(text, pos) + "the prefix list of \"" + std::string(entity.name) +
              "\" does not end with \";\"";
      return false;
    }
    for (std::size_t begin = pos; begin < semicolon;) {
      std::size_t end = text.find(',', begin);
      if (end == std::string_view::npos || end > semicolon) end = semicolon;
      const std::string_view raw = text.substr(begin, end - begin);
      std::string_view token = Trim(raw);
      const std::size_t tokenPos = begin + std::min(raw.find_first_not_of(kBlanks), raw.size());
      begin = end + 1;
      if (token.empty()) continue;

      const bool exact = token.front() == '=';
      if (exact) token.remove_prefix(1);
      const std::size_t keyEnd = std::min(token.find_first_of("([<{~"), token.size());
      Entry entry{index, 0};
      for (std::size_t i = keyEnd; i < token.size();) {
        const char closing = ClosingBracket(token[i]);
        const std::size_t close =
            closing == '\0' ? std::string_view::npos : token.find(closing, i + 1);
        if (close == std::string_view::npos) {
          error = At(text, tokenPos) + "the entry \"" + std::string(token) + "\" is malformed";
          return false;
        }
        if (token[i] == '{') {
          entry.continent = ContinentCode(token.substr(i + 1, close - i - 1));
          if (entry.continent == 0) {
            error =
                At(text, tokenPos) + "the entry \"" + std::string(token) + "\" names no continent";
            return false;
          }
        }
        i = close + 1;
      }
      const std::string_view key = token.substr(0, keyEnd);
      if (key.empty()) {
        error = At(text, tokenPos) + "an entry of \"" + std::string(entity.name) + "\" is empty";
        return false;
      }
      if (exact) {
        m_exactCalls.Insert(key, entry.Packed());
      } else {
        m_prefixes.Insert(key, entry.Packed());
        m_longestPrefix = std::max(m_longestPrefix, key.size());
      }
    }
    pos = semicolon + 1;
  }
  if (m_entities.empty()) {
    error = "holds no entity";
    return false;
  }
  return true;
}

void CCountryFile::ReadEntityNumbers(std::string_view csv) {
  std::unordered_map<std::string_view, int> numbers;
  for (std::size_t begin = 0; begin < csv.size();) {
    std::size_t end = csv.find('\n', begin);
    if (end == std::string_view::npos) end = csv.size();
    auto [prefix, number] = PrefixAndNumber(csv.substr(begin, end - begin));
    begin = end + 1;
    if (number < 0 || prefix.empty()) continue;
    numbers.emplace(prefix, number);
  }
  m_hasEntityNumbers = !numbers.empty();
  std::string written;
  for (Entity& entity : m_entities) {
    written.clear();
    if (entity.waeOnly) written += '*';
    written.append(entity.primaryPrefix);
    const auto found = numbers.find(written);
    if (found != numbers.end()) entity.number = found->second;
  }
}

void CCountryFile::MapWaeEntities() {
  std::unordered_map<int, std::uint32_t> dxccByNumber;
  for (std::uint32_t i = 0; i < m_entities.size(); ++i) {
    if (!m_entities[i].waeOnly && m_entities[i].number >= 0) {
      dxccByNumber.emplace(m_entities[i].number, i);
    }
  }
  for (Entity& entity : m_entities) {
    if (!entity.waeOnly) continue;
    const auto byNumber = dxccByNumber.find(entity.number);
    if (entity.number >= 0 && byNumber != dxccByNumber.end()) {
      entity.dxcc = byNumber->second;
      continue;
    }
    const std::string_view own = entity.primaryPrefix.substr(0, entity.primaryPrefix.find('/'));
    if (const std::optional<Entry> entry = LongestPrefix(own, true)) entity.dxcc = entry->entity;
  }
}

std::optional<CCountryFile::Entry> CCountryFile::LongestPrefix(std::string_view text,
                                                               bool dxccOnly) const {
  for (std::size_t n = std::min(text.size(), m_longestPrefix); n > 0; --n) {
    const std::uint32_t* found = m_prefixes.Find(text.substr(0, n));
    if (found == nullptr) continue;
    const Entry entry = Entry::Unpacked(*found);
    if (dxccOnly && m_entities[entry.entity].waeOnly) continue;
    return entry;
  }
  return std::nullopt;
}

Country CCountryFile::Describe(const Entry& entry) const {
  const Entity& entity = m_entities[entry.entity];
  Country country;
  country.dxccPrefix = m_entities[entity.dxcc].primaryPrefix;
  country.continent = entry.continent == 0 ? entity.continent : kContinents[entry.continent - 1];
  country.entityName = entity.name;
  return country;
}

std::optional<Country> CCountryFile::Classify(const CallParts& parts) const {
  const std::uint32_t* exact = m_exactCalls.Find(parts.call);
  if (exact == nullptr && parts.noCountry) return std::nullopt;
  if (exact == nullptr && !parts.exactHome.empty()) exact = m_exactCalls.Find(parts.exactHome);
  if (exact != nullptr) return Describe(Entry::Unpacked(*exact));
  if (const std::optional<Entry> entry = LongestPrefix(parts.prefixLookup, false)) {
    return Describe(*entry);
  }
  return std::nullopt;
}
