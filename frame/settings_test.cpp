#include "frame/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "frame/module_objects.h"
#include "platform/test_work_directory.h"

namespace {

const char kSettingsPath[] = "Plugins/SKOLP-NY.ini";

TEST(ParseDecimal, ReadsLikeTheCLibrary) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case kCases[] = {
      {"", 0},           {"abc", 0},         {"1", 1},
      {"-250", -250},    {" 12x", 12},       {"\t\r\n\v\f 7", 7},
      {"+7", 7},         {"007", 7},         {"- 3", 0},
      {"+-3", 0},        {"0x10", 0},        {"1.9", 1},
      {"2147483647", INT_MAX},               {"2147483648", INT_MAX},
      {"-2147483648", INT_MIN},              {"-99999999999999999999", INT_MIN},
  };
  for (const Case& c : kCases) EXPECT_EQ(ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
}

TEST(SoapBox, EncodesLineBreaksOnOneLine) {
  struct Case {
    const char* text;
    const char* encoded;
  };
  const Case kCases[] = {
      {"first\r\nsecond", "first<CR><LF>second"},
      {"a\nb\rc", "a<LF>b<CR>c"},
      {"ends\r\n", "ends<CR><LF>"},
      {"plain", "plain"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(EncodeSoapBox(c.text), c.encoded) << c.text;
    EXPECT_EQ(DecodeSoapBox(c.encoded), c.text) << c.encoded;
  }
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory("Plugins"); }
  TestWorkDirectory m_directory;
};

TEST_F(SettingsFile, TextsReadBackAsWritten) {
  struct Case {
    std::string value;
    std::string readBack;
  };
  const std::string k150 = std::string(100, 'n') + std::string(50, 'm');
  const Case kCases[] = {
      {"SM5ABC", "SM5ABC"},
      {"  Bob  ", "  Bob  "},
      {"", ""},
      {"\"Bob\"", "\"Bob\""},
      {"'x'", "'x'"},
      {"\"open", "\"open"},
      {k150, k150.substr(0, 99)},
  };
  for (const Case& c : kCases) {
    EXPECT_TRUE(WriteSettingText(kKeyMyName, c.value)) << c.value;
    EXPECT_EQ(ReadSettingText(kKeyMyName, "default"), c.readBack) << c.value;
  }
}

TEST_F(SettingsFile, StoresValuesOneLineEach) {
  EXPECT_TRUE(WriteSettingText(kKeyName, "  Bob  "));
  EXPECT_TRUE(WriteSettingText(kKeyClub, "x\r\nMultiplier=1"));
  EXPECT_TRUE(WriteSettingText(kKeySoapBox, EncodeSoapBox("first\r\nsecond")));
  EXPECT_TRUE(WriteSettingInt(kKeyWindowX, -250));
  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath),
            "[Settings]\r\nName=\"  Bob  \"\r\nClub=x  Multiplier=1\r\n"
            "SoapBox=first<CR><LF>second\r\ndxcc_x=-250\r\n");
  EXPECT_EQ(ReadSettingInt(kKeyMultiplier), 0);
  EXPECT_EQ(ReadSettingInt(kKeyWindowX), -250);
  EXPECT_EQ(DecodeSoapBox(ReadSettingText(kKeySoapBox)), "first\r\nsecond");
}

TEST_F(SettingsFile, ReadsDefaultsFromAMissingFile) {
  EXPECT_EQ(ReadSettingInt(kKeyMultiplier), 0);
  EXPECT_EQ(ReadSettingText(kKeyMyName), "");
  EXPECT_EQ(ReadSettingText(kKeyOperators, "SM5ABC"), "SM5ABC");
  EXPECT_FALSE(TestWorkDirectory::Bytes(kSettingsPath));
}

TEST(SettingsWithoutPluginsFolder, WritesFailAndCreateNothing) {
  TestWorkDirectory directory;
  EXPECT_FALSE(WriteSettingInt(kKeyMultiplier, 1));
  EXPECT_FALSE(WriteSettingText(kKeyMyName, "Bob"));
  EXPECT_FALSE(std::filesystem::exists("Plugins"));
  EXPECT_EQ(ReadSettingInt(kKeyMultiplier), 0);
}

}  // namespace
