// CCountryFile: the ham-radio country file "cty.dat" (as shipped in Debian's hamradio-files
// package), used to tell the module the DXCC entity and continent of each station worked.
//
// The file lists entities, each a header line of eight ":"-terminated fields (name, CQ zone,
// ITU zone, continent, latitude, longitude, time offset, primary prefix) and then its prefixes
// and exact calls ("=CALL"), separated by "," and closed by ";". An entry may carry overrides
// in brackets: (CQ zone) [ITU zone] <lat/lon> {continent} ~time offset~; of them only the
// continent matters here.
//
// A call is classified by:
// 1. an exact-call entry for the call as given;
// 2. no country for a maritime or aeronautical mobile (/MM, /AM) call;
// 3. an exact-call entry for the home call of a call that only adds operating suffixes
//    (call_sign.h);
// 4. otherwise the longest listed prefix of the text call_sign.h names (the prefix part, the
//    home call moved to a suffix digit's area, or the home call).
// The continent is the matched entry's override, else its entity's. The DXCC prefix is the
// primary prefix as the file spells it (SM, OH0, JW, 3D2/c), without the "*" of an entity
// that is on the WAE list only (Bear Island *JW/b, Sicily *IT9, ...). Such an entity counts as
// the DXCC entity that carries the same entity number in "cty.csv" beside the file (Bear
// Island as Svalbard JW, Vienna Intl Ctr as Austria OE). Without that file it counts as the
// entity of the longest prefix of its primary prefix (cut at "/") that a DXCC entity lists
// (IT9 as I, TA1 as TA, JW/b as JW), or, when there is none, as itself.
//
// Immutable once loaded; safe to share between threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/call_sign.h"
#include "cli/text_table.h"

// What the module is told about a station. The views live as long as the CCountryFile.
struct Country {
  std::string_view dxccPrefix;  // the DXCC entity's primary prefix
  std::string_view continent;   // AF, AN, AS, EU, NA, OC or SA
  std::string_view entityName;  // the entity the call matched (a WAE entity, too)
};

class CCountryFile {
 public:
  // Reads `datPath` and, when present, the ".csv" file of the same name beside it. Empty on
  // failure, with `error` saying what went wrong (a missing file, or where the text is bad).
  static std::optional<CCountryFile> Load(const std::string& datPath, std::string& error);

  // From the two texts (`csvText` may be empty). False, with `error`, for a malformed `datText`.
  bool Parse(std::string datText, std::string csvText, std::string& error);

  // The country of a call split by SplitCall (call_sign.h), or nothing for a call that no
  // entry matches or that names no country (maritime mobile).
  std::optional<Country> Classify(const CallParts& call) const;

  std::size_t EntityCount() const { return m_entities.size(); }
  // Whether WAE entities were mapped through "cty.csv".
  bool HasEntityNumbers() const { return m_hasEntityNumbers; }

 private:
  struct Entity {
    std::string_view name;
    std::string_view primaryPrefix;  // without "*"
    std::string_view continent;
    bool waeOnly = false;
    int number = -1;         // from cty.csv
    std::uint32_t dxcc = 0;  // the entity it counts as
  };
  // An entry of the file: its entity and its continent override (0 for none, else 1 + the
  // index in the list of continents), packed for CTextTable.
  struct Entry {
    std::uint32_t entity = 0;
    std::uint32_t continent = 0;
    std::uint32_t Packed() const { return entity << 8 | continent; }
    static Entry Unpacked(std::uint32_t v) { return {v >> 8, v & 0xff}; }
  };

  bool ParseEntities(std::string& error);
  void ReadEntityNumbers(std::string_view csv);
  void MapWaeEntities();
  std::optional<Entry> LongestPrefix(std::string_view text, bool dxccOnly) const;
  Country Describe(const Entry& entry) const;

  // Owned texts, on the heap so that the views into them survive a move of this object.
  std::unique_ptr<const std::string> m_dat;
  std::unique_ptr<const std::string> m_csv;
  std::vector<Entity> m_entities;
  CTextTable m_exactCalls;
  CTextTable m_prefixes;
  std::size_t m_longestPrefix = 0;
  bool m_hasEntityNumbers = false;
};
