#include "cli/country_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A few entities in the file's own layout, with the traps that matter: a prefix that is a
// longer form of another entity's (OH0 in OH, OJ0 in OJ), exact calls that beat the longest
// prefix (=OH0AM of Market Reef, =JW5RIA of Bear Island), WAE-only entities (*JW/b, *IT9,
// *4U1V) and continent overrides.
constexpr char kDat[] =
    "Svalbard:                 40:  18:  EU:   78.00:   -16.00:    -1.0:  JW:\r\n"
    "    JW;\r\n"
    "Bear Island:              40:  18:  EU:   74.43:   -19.08:    -1.0:  *JW/b:\r\n"
    "    =JW5RIA,=JW/LB2PG;\r\n"
    "Vienna Intl Ctr:          15:  28:  EU:   48.20:   -16.30:    -1.0:  *4U1V:\r\n"
    "    =4U1VIC;\r\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\r\n"
    "    4U,I;\r\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\r\n"
    "    IB9,IT9;\r\n"
    "Austria:                  15:  28:  EU:   47.33:   -13.33:    -1.0:  OE:\r\n"
    "    OE;\r\n"
    "Finland:                  15:  18:  EU:   61.38:   -24.82:    -2.0:  OH:\r\n"
    "    OF,OG,OH,OI,OJ,\r\n"
    "    =OH0HG/1;\r\n"
    "Aland Islands:            15:  18:  EU:   60.13:   -20.37:    -2.0:  OH0:\r\n"
    "    OF0,OG0,OH0,OI0;\r\n"
    "Market Reef:              15:  18:  EU:   60.00:   -19.00:    -2.0:  OJ0:\r\n"
    "    OJ0,=OH0AM;\r\n"
    "Greenland:                40:  05:  NA:   74.00:    42.78:     3.0:  OX:\r\n"
    "    OX,XP;\r\n"
    "Sweden:                   14:  18:  EU:   58.90:   -15.33:    -1.0:  SM:\r\n"
    "    7S,8S,SA,SM,=8S8ODEN(40){AN},=8S8ODEN/MM(40);\r\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\r\n"
    "    R9,RA9,UA9,RA9FA(16)[30]<58.0/-56.3>{EU}~-5.0~;\r\n"
    "Canada:                   05:  09:  NA:   44.35:    78.75:     5.0:  VE:\r\n"
    "    VE,VE2[4];\r\n";

constexpr char kCsv[] =
    "JW,Svalbard,259,EU,40,18,78.00,-16.00,-1.0,JW;\r\n"
    "*JW/b,Bear Island,259,EU,40,18,74.43,-19.08,-1.0,=JW5RIA =JW/LB2PG;\r\n"
    "*4U1V,Vienna Intl Ctr,206,EU,15,28,48.20,-16.30,-1.0,=4U1VIC;\r\n"
    "I,Italy,248,EU,15,28,42.82,-12.58,-1.0,4U I;\r\n"
    "*IT9,Sicily,248,EU,15,28,37.50,-14.00,-1.0,IB9 IT9;\r\n"
    "OE,Austria,206,EU,15,28,47.33,-13.33,-1.0,OE;\r\n";

CCountryFile Loaded(std::string csv) {
  CCountryFile file;
  std::string error;
  EXPECT_TRUE(file.Parse(kDat, std::move(csv), error)) << error;
  return file;
}

// "prefix continent entity", or "none".
std::string Describe(const CCountryFile& file, const char* call) {
  const std::optional<Country> c = file.Classify(SplitCall(call));
  if (!c) return "none";
  return std::string(c->dxccPrefix) + " " + std::string(c->continent) + " " +
         std::string(c->entityName);
}

struct Case {
  const char* call;
  const char* expected;
};

const Case kCases[] = {
    {"SM5ABC", "SM EU Sweden"},
    {"7S5ABC", "SM EU Sweden"},
    {"OH2ABC", "OH EU Finland"},
    // The longest prefix wins: OH0 over OH, OJ0 over OJ.
    {"OH0ABC", "OH0 EU Aland Islands"},
    {"OJ0B", "OJ0 EU Market Reef"},
    {"OJ9B", "OH EU Finland"},
    // Exact calls come first.
    {"OH0AM", "OJ0 EU Market Reef"},
    {"OH0HG/1", "OH EU Finland"},
    // Portable calls.
    {"OH0/SM5ABC", "OH0 EU Aland Islands"},
    {"SM5ABC/OH0", "OH0 EU Aland Islands"},
    {"OH2ABC/0", "OH0 EU Aland Islands"},
    {"SM5ABC/7", "SM EU Sweden"},
    {"SM5ABC/P", "SM EU Sweden"},
    {"OX/SM5ABC", "OX NA Greenland"},
    // WAE-only entities count as their DXCC entity, keeping their continent.
    {"JW5RIA", "JW EU Bear Island"},
    {"JW5RIA/P", "JW EU Bear Island"},
    {"JW/LB2PG", "JW EU Bear Island"},
    {"JW7XX", "JW EU Svalbard"},
    {"IT9ABC", "I EU Sicily"},
    {"4U1VIC", "OE EU Vienna Intl Ctr"},
    {"4U1ITU", "I EU Italy"},
    // Continent overrides of an entry.
    {"RA9FAB", "UA9 EU Asiatic Russia"},
    {"RA9XX", "UA9 AS Asiatic Russia"},
    {"8S8ODEN", "SM AN Sweden"},
    // Maritime mobile is in no country, unless the file lists the very call.
    {"SM5ABC/MM", "none"},
    {"8S8ODEN/MM", "SM EU Sweden"},
    {"QQ1ABC", "none"},
    {"", "none"},
};

TEST(CountryFile, ClassifiesCalls) {
  const CCountryFile file = Loaded(kCsv);
  EXPECT_TRUE(file.HasEntityNumbers());
  EXPECT_EQ(file.EntityCount(), 13u);
  for (const Case& c : kCases) EXPECT_EQ(Describe(file, c.call), c.expected) << c.call;
}

TEST(CountryFile, WithoutEntityNumbersWaeEntitiesFollowTheirPrimaryPrefix) {
  const CCountryFile file = Loaded("");
  EXPECT_FALSE(file.HasEntityNumbers());
  const Case cases[] = {
      {"IT9ABC", "I EU Sicily"},
      {"JW5RIA", "JW EU Bear Island"},
      // 4U1V's longest prefix among DXCC entities is Italy's 4U: the rule's known limit.
      {"4U1VIC", "I EU Vienna Intl Ctr"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(file, c.call), c.expected) << c.call;
}

TEST(CountryFile, SurvivesAMove) {
  CCountryFile moved = Loaded(kCsv);
  const CCountryFile file = std::move(moved);
  EXPECT_EQ(Describe(file, "JW5RIA"), "JW EU Bear Island");
}

TEST(CountryFile, ReportsWhereTheTextIsBad) {
  struct Bad {
    const char* text;
    const char* error;
  };
  const Bad kBad[] = {
      {"Sweden: 14: 18: EU: 58.90: -15.33: -1.0: SM:\n    SM,SA\n",
       "line 1: the prefix list of \"Sweden\" does not end with \";\""},
      {"Sweden: 14: 18: EU: 58.90: -15.33: -1.0: SM:\n SM;\nFinland: 15: 18: EU: 61.3: SM;\n",
       "line 3: an entity's first line needs eight fields, each ending in \":\""},
      {"Sweden: 14: 18: XX: 58.90: -15.33: -1.0: SM:\n SM;\n",
       "line 1: the entity \"Sweden\" needs a continent and a primary prefix"},
      {"Sweden: 14: 18: EU: 58.90: -15.33: -1.0: :\n SM;\n",
       "line 1: the entity \"Sweden\" needs a continent and a primary prefix"},
      {"Sweden: 14: 18: EU: 58.90: -15.33: -1.0: SM:\n SM(14,SA;\n",
       "line 2: the entry \"SM(14\" is malformed"},
      {"Sweden: 14: 18: EU: 58.90: -15.33: -1.0: SM:\n SM{XY};\n",
       "line 2: the entry \"SM{XY}\" names no continent"},
      {"Sweden: 14: 18: EU: 58.90: -15.33: -1.0: SM:\n SM,=(14);\n",
       "line 2: an entry of \"Sweden\" is empty"},
      {"\r\n  \r\n", "holds no entity"},
  };
  for (const Bad& b : kBad) {
    CCountryFile file;
    std::string error;
    EXPECT_FALSE(file.Parse(b.text, "", error)) << b.text;
    EXPECT_EQ(error, b.error) << b.text;
  }
}

TEST(CountryFile, LoadNamesAMissingFile) {
  std::string error;
  EXPECT_FALSE(CCountryFile::Load("no-such-folder/cty.dat", error));
  EXPECT_EQ(error.rfind("no-such-folder/cty.dat: ", 0), 0u) << error;
}

}  // namespace
