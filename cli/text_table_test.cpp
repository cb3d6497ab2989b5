#include "cli/text_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Key(std::uint32_t i) {
  std::string key = "K";
  key += std::to_string(i);
  return key;
}

TEST(TextTable, FindsWhatWasInsertedThroughEveryGrowth) {
  CTextTable table;
  constexpr std::uint32_t kCount = 20000;  // grows from 1024 slots several times
  for (std::uint32_t i = 0; i < kCount; ++i) table.Insert(Key(i), i);
  EXPECT_EQ(table.Size(), kCount);
  for (std::uint32_t i = 0; i < kCount; ++i) {
    const std::uint32_t* value = table.Find(Key(i));
    ASSERT_NE(value, nullptr) << i;
    EXPECT_EQ(*value, i);
  }
  EXPECT_EQ(table.Find("K20000"), nullptr);
  EXPECT_EQ(table.Find("K"), nullptr);
  EXPECT_EQ(table.Find(""), nullptr);
}

TEST(TextTable, KeepsTheFirstValueAndTellsKeysApartByLengthAndBytes) {
  CTextTable table;
  table.Insert("OH0", 1);
  table.Insert("OH0", 2);
  table.Insert("OH", 3);
  table.Insert(std::string("OH\0", 3), 4);
  // Keys longer than a slot holds.
  table.Insert("WA1WCC/100RCA/LH", 5);
  table.Insert("WA1WCC/100RCA/LH", 6);
  table.Insert("WA1WCC/100RCA/LX", 7);
  ASSERT_NE(table.Find("OH0"), nullptr);
  EXPECT_EQ(*table.Find("OH0"), 1u);
  EXPECT_EQ(*table.Find("OH"), 3u);
  EXPECT_EQ(*table.Find(std::string("OH\0", 3)), 4u);
  EXPECT_EQ(*table.Find("WA1WCC/100RCA/LH"), 5u);
  EXPECT_EQ(*table.Find("WA1WCC/100RCA/LX"), 7u);
  EXPECT_EQ(table.Find("WA1WCC/100RCA/L"), nullptr);
  EXPECT_EQ(table.Size(), 5u);
  table.Clear();
  EXPECT_EQ(table.Find("OH"), nullptr);
  EXPECT_EQ(table.Size(), 0u);
}

}  // namespace
