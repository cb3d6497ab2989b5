#include "engine/classify.h"

#include <gtest/gtest.h>

namespace {

TEST(Classify, SetsTheGroupsEntryToTheLastDigitOfTheAreaSource) {
  struct Case {
    const char* prefix;
    const char* areaSource;
    int group;  // -1: nothing is set
    int32_t area;
  };
  const Case kCases[] = {
      {"OH0", "OH0AB", kOH, 0},
      {"OH", "OH9XX", kOH, 9},
      {"OX", "OX3AB", kOX, 3},
      {"SM", "SM5ABC/7", kSM, 7},
      {"JW", "JW7QI", kJW, 7},
      {"JX", "JX2", kJX, 2},
      {"LA", "LA1K", kLA, 1},
      {"OY", "OY1CT", kOY, 1},
      {"OZ", "5P9Z", kOZ, 9},
      {"TF", "TF3CW", kTF, 3},
      {"SM", "SMABC", kSM, CInfo::kAreaNotSet},
      {"SM", "", kSM, CInfo::kAreaNotSet},
      {"SM", "\x80\xB9\xFF", kSM, CInfo::kAreaNotSet},
      {"oh", "OH2AB", -1, 0},
      {"OH1", "OH2AB", -1, 0},
      {"SM ", "SM5AB", -1, 0},
      {"", "SM5AB", -1, 0},
      {"DL", "DL1AB", -1, 0},
  };
  for (const Case& c : kCases) {
    CInfo record;
    Classify(record, c.prefix, c.areaSource);
    for (int g = 0; g < kCountryGroups; ++g) {
      const int32_t expected = g == c.group ? c.area : CInfo::kAreaNotSet;
      EXPECT_EQ(record.m_area[g], expected)
          << "prefix '" << c.prefix << "' source '" << c.areaSource << "' group " << g;
    }
  }
}

TEST(Classify, LeavesOtherEntriesAndAnEntryWithoutDigitAlone) {
  CInfo record;
  record.m_area[kLA] = 4;
  record.m_area[kSM] = 2;
  Classify(record, "SM", "SMABC");
  EXPECT_EQ(record.m_area[kSM], 2);
  Classify(record, "SM", "SM6");
  EXPECT_EQ(record.m_area[kSM], 6);
  EXPECT_EQ(record.m_area[kLA], 4);
}

TEST(Classify, AreaScoredPrefixesAreTheGroupsWithoutOx) {
  for (const char* scored : {"JW", "JX", "LA", "OH", "OH0", "OY", "OZ", "SM", "TF"}) {
    EXPECT_TRUE(IsAreaScoredPrefix(scored)) << scored;
    EXPECT_NE(CountryGroupOf(scored), -1) << scored;
  }
  for (const char* other : {"OX", "DL", "", "sm", "OH1", "SM "}) {
    EXPECT_FALSE(IsAreaScoredPrefix(other)) << other;
  }
  EXPECT_EQ(CountryGroupOf("OX"), kOX);
  EXPECT_EQ(CountryGroupOf("OH0"), kOH);
}

}  // namespace
