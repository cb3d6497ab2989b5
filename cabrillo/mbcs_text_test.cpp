#include "cabrillo/mbcs_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Lead bytes of a Shift-JIS-like double-byte code page, whose second bytes include "\" (0x5C)
// and the ASCII letters.
bool ShiftJisLead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
bool NoLead(unsigned char) { return false; }

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlapOrRescan) {
  struct Case {
    const char* text;
    const char* search;
    const char* replacement;
    const char* expected;
  };
  const Case kCases[] = {
      {"SM5ABC/P", "/", "_", "SM5ABC_P"},
      {"/a//b/", "/", "_", "_a__b_"},
      {"SM5ABC", "/", "_", "SM5ABC"},
      {"", "/", "_", ""},
      {"aaaa", "aa", "b", "bb"},
      {"aaa", "aa", "b", "ba"},
      // A replacement that holds the search text is not searched again.
      {"x-x", "x", "xx", "xx-xx"},
      {"a<CR>b<CR>", "<CR>", "<CR><CR>", "a<CR><CR>b<CR><CR>"},
      {"first<CR><LF>second", "<LF>", "", "first<CR>second"},
      {"abab", "ab", "ab", "abab"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement, NoLead), c.expected)
        << c.text << " / " << c.search;
    EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement, ShiftJisLead), c.expected)
        << c.text << " / " << c.search;
  }
}

TEST(ReplaceAll, StepsOverDoubleByteCharacters) {
  struct Case {
    std::string text;
    std::string search;
    std::string doubleByte;  // the result in the double-byte code page
    std::string singleByte;  // the result when every byte is a character
  };
  const Case kCases[] = {
      // 0x95 0x5C is one character whose second byte is "\".
      {"\x95\\", "\\", "\x95\\", "\x95_"},
      {"\x95\\\\", "\\", "\x95\\_", "\x95__"},
      {"\\\x95\\/", "\\", "_\x95\\/", "_\x95_/"},
      // A lead byte at the very end has no second byte: it stands alone.
      {"ab\x95", "\x95", "ab_", "ab_"},
      {"\x81\x81\\", "\\", "\x81\x81_", "\x81\x81_"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(ReplaceAll(c.text, c.search, "_", ShiftJisLead), c.doubleByte) << c.text;
    EXPECT_EQ(ReplaceAll(c.text, c.search, "_", NoLead), c.singleByte) << c.text;
  }
}

TEST(FindText, FindsOnlyAtCharacterBoundaries) {
  struct Case {
    std::string text;
    std::size_t doubleByte;
    std::size_t singleByte;
  };
  const std::size_t npos = std::string::npos;
  const Case kCases[] = {
      {"Tulm.exe", 0, 0},
      {"MyTulm2.exe", 2, 2},
      {"tulm.exe", npos, npos},
      // "T" is the second byte of 0x8A 0x54.
      {"\x8ATulm.exe", npos, 1},
      {"\x8A\x54Tulm.exe", 2, 2},
      {"", npos, npos},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(FindText(c.text, "Tulm", 0, ShiftJisLead), c.doubleByte) << c.text;
    EXPECT_EQ(FindText(c.text, "Tulm", 0, NoLead), c.singleByte) << c.text;
  }
}

}  // namespace
