#include "engine/ubn_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/engine_test_support.h"

namespace {

using engine_test::EngineTest;

TEST(UbnLine, PiecesAreJoinedByTwoSpacesWithoutWidths) {
  struct Case {
    UbnQso qso;
    std::string_view reason;
    const char* line;
  };
  const Case kCases[] = {
      {{14085999, "CW", "2013-01-01 0815", "SM5XYZ", "599", "001", "OH2ABC", "579", "017 PEKKA"},
       kUbnNoRtty,
       "QSO:  14085  CW  2013-01-01 0815  SM5XYZ  599  001  OH2ABC  579  017 PEKKA"
       "   NO RTTY MODE !!!\r\n"},
      {{999, "RTTY", "", "", "", "", "DL1AB", "", ""},
       kUbnNoNumber,
       "QSO:  0  RTTY          DL1AB       NO TX or RX NUMBER ||!\r\n"},
      {{4294967295u, "", "", "", "", "", "", "", ""},
       kUbnNoNumber,
       "QSO:  4294967                   NO TX or RX NUMBER ||!\r\n"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(FormatUbnLine(c.qso, c.reason), c.line) << c.line;
  }
}

using UbnFile = EngineTest;

TEST_F(UbnFile, StartEmptiesTheFileAndWritesTheHeader) {
  WriteErrTxt("old line\r\n");
  StartUbnFile();
  EXPECT_EQ(ReadErrTxt(), "SKOLP-NY-RTTY UBN file \r\n");
  std::filesystem::remove("err.txt");
  StartUbnFile();
  EXPECT_EQ(ReadErrTxt(), "SKOLP-NY-RTTY UBN file \r\n");
}

TEST_F(UbnFile, EnsureCreatesAMissingFileAndLeavesAnExistingOne) {
  EnsureUbnFile();
  ASSERT_TRUE(ErrTxtExists());
  EXPECT_EQ(ReadErrTxt(), "");
  WriteErrTxt("kept\r\n");
  EnsureUbnFile();
  EXPECT_EQ(ReadErrTxt(), "kept\r\n");
}

TEST_F(UbnFile, AppendFollowsWhatOthersDidToTheFile) {
  StartUbnFile();
  AppendToUbnFile("one\r\n");
  EXPECT_EQ(ReadErrTxt(), "SKOLP-NY-RTTY UBN file \r\none\r\n");
  WriteErrTxt("");
  AppendToUbnFile("two\r\n");
  EXPECT_EQ(ReadErrTxt(), "two\r\n");
  std::filesystem::remove("err.txt");
  AppendToUbnFile("three\r\n");
  EXPECT_EQ(ReadErrTxt(), "three\r\n");
}

TEST_F(UbnFile, AFileThatCannotBeOpenedIsPassedOver) {
  std::filesystem::create_directory("err.txt");
  StartUbnFile();
  EnsureUbnFile();
  AppendToUbnFile("lost\r\n");
  EXPECT_TRUE(std::filesystem::is_directory("err.txt"));
}

}  // namespace
