#include <gtest/gtest.h>

#include <string>

#include "engine/tables.h"
#include "frame/entry_points.h"

namespace {

int Valid(const char* text, int field) {
  return StatsIsValidExchg0(text, "x", "y", "z", 8, 9, field);
}

class ExchangeCheck : public ::testing::Test {
 protected:
  void SetUp() override { g_numberOk = 0; }
  void TearDown() override { g_numberOk = 0; }
};

TEST_F(ExchangeCheck, NumberNeedsThreeOrFourDigitsAboveZeroAndNot599) {
  struct Case {
    const char* text;
    int result;
    int32_t flagAfter;
  };
  const Case kCases[] = {
      {"001", 1, 1},  {"0599", 1, 1}, {"9999", 1, 1}, {"123", 1, 1},  {"000", 0, 1},
      {"0000", 0, 1}, {"599", 0, 0},  {"12", 0, 0},   {"12345", 0, 0}, {"12a", 0, 0},
      {"-12", 0, 0},  {"", 0, 0},     {" 12", 0, 0},  {"\xB9\xB2\xB3", 0, 0},
      {nullptr, 0, 0},
  };
  for (const Case& c : kCases) {
    g_numberOk = 0;
    const std::string shown = c.text != nullptr ? c.text : "(null)";
    EXPECT_EQ(Valid(c.text, 0), c.result) << shown;
    EXPECT_EQ(g_numberOk, c.flagAfter) << shown;
  }
}

TEST_F(ExchangeCheck, NameIsLettersRightAfterANumber) {
  struct Case {
    const char* name;
    int result;
  };
  const Case kCases[] = {
      {"PEKKA", 1}, {"anna", 1}, {"", 1},     {nullptr, 1}, {"UR", 0},   {"RST", 0},
      {"JO3", 0},   {"AN NA", 0}, {"\xC5SA", 0}, {"ur", 1},   {"Rst", 1},
  };
  for (const Case& c : kCases) {
    const std::string shown = c.name != nullptr ? c.name : "(null)";
    ASSERT_EQ(Valid("042", 0), 1);
    EXPECT_EQ(Valid(c.name, 1), c.result) << shown;
    EXPECT_EQ(g_numberOk, c.result == 1 ? 0 : 1) << shown;
  }
}

TEST_F(ExchangeCheck, ARefusedNameKeepsTheNumberSoACorrectedOnePasses) {
  ASSERT_EQ(Valid("005", 0), 1);
  EXPECT_EQ(Valid("JAN 1", 1), 0);
  EXPECT_EQ(Valid("UR", 1), 0);
  EXPECT_EQ(Valid("JAN", 1), 1);
  EXPECT_EQ(Valid("JAN", 1), 0) << "a second name needs a number again";
}

TEST_F(ExchangeCheck, NameWithoutAPassedNumberFails) {
  EXPECT_EQ(Valid("PEKKA", 1), 0);
  EXPECT_EQ(Valid("12", 0), 0);
  EXPECT_EQ(Valid("PEKKA", 1), 0);
  // A number of the right form whose value is zero still lets the name through.
  EXPECT_EQ(Valid("000", 0), 0);
  EXPECT_EQ(Valid("PEKKA", 1), 1);
}

TEST_F(ExchangeCheck, OtherFieldsAreNeverValidAndLeaveTheFlag) {
  for (const int field : {2, -1, 100}) {
    g_numberOk = 1;
    EXPECT_EQ(Valid("001", field), 0) << field;
    EXPECT_EQ(Valid("PEKKA", field), 0) << field;
    EXPECT_EQ(g_numberOk, 1) << field;
  }
}

}  // namespace
