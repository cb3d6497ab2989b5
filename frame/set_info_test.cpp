#include <gtest/gtest.h>

#include "frame/entry_points.h"

TEST(SetInfo, OneSetWithTwoExchangeFields) {
  EXPECT_EQ(GetNumberOfSets(), 1);
  EXPECT_EQ(StatsGetExchgCount0(nullptr, nullptr, nullptr), 2);
  EXPECT_EQ(StatsGetExchgCount0("a", "b", "c"), 2);
}

TEST(SetInfo, OnlySetZeroHasAName) {
  EXPECT_STREQ(GetSetName(0), "SKOLP-NY-RTTY (C)");
  for (int set : {1, -1, 2, 1000, INT32_MIN, INT32_MAX}) {
    const char* name = GetSetName(set);
    ASSERT_NE(name, nullptr) << set;
    EXPECT_STREQ(name, "") << set;
  }
}
