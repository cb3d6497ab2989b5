#include "platform/profile_contract_test.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

const char kFile[] = "Plugins\\test.ini";
const char kPath[] = "Plugins/test.ini";

std::optional<std::string> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One call: a read with its default and the value it must give, or a write and its result.
struct Step {
  bool write;
  std::string section, key, text, expected;
  bool ok = true;
};

Step R(std::string section, std::string key, std::string defaultValue, std::string expected) {
  return {false, std::move(section), std::move(key), std::move(defaultValue), std::move(expected)};
}

Step W(std::string section, std::string key, std::string value) {
  return {true, std::move(section), std::move(key), std::move(value), {}};
}

// A file as it is before the steps (none: missing) and its bytes after them.
struct Case {
  const char* name;
  std::optional<std::string> before;
  std::vector<Step> steps;
  std::optional<std::string> after;
};

std::string Alphabet(std::size_t n) {
  std::string s(n, ' ');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

std::string Quoted(std::size_t n) {
  std::string s(n + 2, 'q');
  s.front() = s.back() = '"';
  return s;
}

void RunCases(ProfileStore& store, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    fs::remove(kPath);
    if (c.before) {
      std::ofstream(kPath, std::ios::binary) << *c.before;
    }
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& s = c.steps[i];
      if (s.write) {
        EXPECT_EQ(store.Write(s.section, s.key, s.text, kFile), s.ok)
            << c.name << ", step " << i << ": write [" << s.section << "] " << s.key;
      } else {
        EXPECT_EQ(store.Read(s.section, s.key, s.text, kFile), s.expected)
            << c.name << ", step " << i << ": read [" << s.section << "] " << s.key;
      }
    }
    EXPECT_EQ(FileBytes(kPath), c.after) << c.name;
  }
}

TEST_P(ProfileContract, KeepsSectionsAndKeysInTheOrderOfTheirFirstWrite) {
  RunCases(Store(), {
      {"new file", std::nullopt,
       {W("Settings", "Multiplier", "1"), W("Settings", "MyName", "Bob"),
        W("Settings", "multiplier", "0"), W("Other", "K", "v"), W("Settings", "Start", "1"),
        W("SETTINGS", "NEW", "x"), R("settings", "MYNAME", "DEF", "Bob")},
       "[Settings]\r\nMultiplier=0\r\nMyName=Bob\r\nStart=1\r\nNEW=x\r\n[Other]\r\nK=v\r\n"},
      {"empty file", "", {W("Settings", "A", "1")}, "[Settings]\r\nA=1\r\n"},
      {"blank lines only", "\r\n\r\n", {W("Settings", "A", "1")}, "[Settings]\r\nA=1\r\n"},
      {"empty section", "[Settings]\r\nA=1\r\n\r\n[B]\r\n",
       {W("B", "K", "1"), W("Settings", "Z", "1")}, "[Settings]\r\nA=1\r\nZ=1\r\n[B]\r\nK=1\r\n"},
      {"empty value", "[S]\r\nA=1\r\n", {W("S", "A", ""), R("S", "A", "DEF", "")},
       "[S]\r\nA=\r\n"},
      {"equals sign in a value", std::nullopt, {W("S", "Eq", "a=b"), R("S", "Eq", "DEF", "a=b")},
       "[S]\r\nEq=a=b\r\n"},
      {"line break in a value", std::nullopt,
       {W("S", "Nl", "a\r\nb=c"), R("S", "Nl", "DEF", "a"), R("S", "b", "DEF", "c")},
       "[S]\r\nNl=a\r\nb=c\r\n"},
  });
}

TEST_P(ProfileContract, RewritesOnlyWhenAValueChanges) {
  RunCases(Store(), {
      {"same value", "[S]\nA=1\n", {W("S", "A", "1"), W("s", "a", "1")}, "[S]\nA=1\n"},
      {"same value after blanks", "[S]\nA=1\n", {W("S", "A", "  1")}, "[S]\nA=1\n"},
      {"trailing blank", "[S]\nA=1\n", {W("S", "A", "1 ")}, "[S]\r\nA=1 \r\n"},
  });
}

TEST_P(ProfileContract, TrimsBlanksAroundNamesAndValues) {
  RunCases(Store(), {
      {"value", std::nullopt,
       {W("Settings", "MyName", "  Bob  "), R("Settings", "MyName", "DEF", "Bob")},
       "[Settings]\r\nMyName=Bob  \r\n"},
      {"new key", std::nullopt,
       {W("Settings", " Pad ", " v "), R("Settings", "Pad", "DEF", "v"),
        R("Settings", " pad ", "DEF", "v")},
       "[Settings]\r\nPad =v \r\n"},
      {"next write", std::nullopt, {W("Settings", " Pad ", " v "), W(" Settings ", "Pad2", "w")},
       "[Settings]\r\nPad=v\r\nPad2=w\r\n"},
      {"new section", std::nullopt,
       {W(" New ", " K ", " v "), R("New", "K", "DEF", "v"), W("New", "K", "w"),
        W(" New ", "K2", "x")},
       "[New]\r\nK=w\r\nK2=x\r\n"},
      {"in the file", "  [ Settings ]  \r\n  A  =  1  \r\nB=\t\x0b\x0c\x1a v \x1a\r\n",
       {R("Settings", "A", "DEF", "1"), R("Settings", "B", "DEF", "v"), W("Settings", "C", "3")},
       "[Settings]\r\nA=1\r\nB=v\r\nC=3\r\n"},
      {"no-break space is no blank", "[S]\r\nA=\xA0v\xA0\r\n", {R("S", "A", "DEF", "\xA0v\xA0")},
       "[S]\r\nA=\xA0v\xA0\r\n"},
  });
}

TEST_P(ProfileContract, ReadsTheDefaultWhenTheKeyIsMissing) {
  RunCases(Store(), {
      {"missing file", std::nullopt,
       {R("Settings", "Multiplier", "", ""), R("Settings", "Operators", "SM5ABC  ", "SM5ABC"),
        R("Settings", "Operators", "  SM5ABC \t ", "  SM5ABC \t"),
        R("Settings", "Operators", "\"q\" ", "q"), R("Settings", "Operators", "   ", " ")},
       std::nullopt},
      {"line without equals sign", "[S]\r\nNoval\r\n",
       {R("S", "Noval", "DEF", "DEF"), W("S", "Noval", "x")}, "[S]\r\nNoval=x\r\n"},
  });
}

TEST_P(ProfileContract, StripsOnePairOfQuotes) {
  RunCases(Store(), {
      {"written", std::nullopt,
       {W("S", "A", "\"  Bob  \""), R("S", "A", "DEF", "  Bob  "), W("S", "B", "'x'"),
        R("S", "B", "DEF", "x"), W("S", "C", "'x\""), R("S", "C", "DEF", "'x\""),
        W("S", "D", "\""), R("S", "D", "DEF", "\""), W("S", "E", "\"\""), R("S", "E", "DEF", ""),
        W("S", "F", "\"\"a\"\""), R("S", "F", "DEF", "\"a\"")},
       "[S]\r\nA=\"  Bob  \"\r\nB='x'\r\nC='x\"\r\nD=\"\r\nE=\"\"\r\nF=\"\"a\"\"\r\n"},
      {"in the file", "[Settings]\r\nA=\"x\"\r\nB= 'y' \r\nC=\"z'\r\nG=a\"\r\n",
       {R("Settings", "A", "DEF", "x"), R("Settings", "B", "DEF", "y"),
        R("Settings", "C", "DEF", "\"z'"), R("Settings", "G", "DEF", "a\""),
        W("Settings", "H", "1")},
       "[Settings]\r\nA=\"x\"\r\nB='y'\r\nC=\"z'\r\nG=a\"\r\nH=1\r\n"},
  });
}

TEST_P(ProfileContract, ReadsAtMost99Bytes) {
  const std::string a150 = Alphabet(150), a99 = Alphabet(99);
  const std::string p99(99, 'p'), p100(100, 'p');
  RunCases(Store(), {
      {"plain", std::nullopt,
       {W("S", "Long", a150), R("S", "Long", "DEF", a99), W("S", "P99", p99),
        R("S", "P99", "DEF", p99), W("S", "P100", p100), R("S", "P100", "DEF", p99),
        R("S", "Nope", a150, a99)},
       "[S]\r\nLong=" + a150 + "\r\nP99=" + p99 + "\r\nP100=" + p100 + "\r\n"},
      // The closing quote is dropped only from a value that fits: 99 quoted characters lose
      // their last one.
      {"quoted", std::nullopt,
       {W("S", "Q97", Quoted(97)), R("S", "Q97", "DEF", std::string(97, 'q')),
        W("S", "Q98", Quoted(98)), R("S", "Q98", "DEF", std::string(98, 'q')),
        W("S", "Q99", Quoted(99)), R("S", "Q99", "DEF", std::string(98, 'q')),
        W("S", "Q100", Quoted(100)), R("S", "Q100", "DEF", std::string(99, 'q'))},
       "[S]\r\nQ97=" + Quoted(97) + "\r\nQ98=" + Quoted(98) + "\r\nQ99=" + Quoted(99) +
           "\r\nQ100=" + Quoted(100) + "\r\n"},
  });
}

TEST_P(ProfileContract, WritesCrLfWhateverTheLineEnds) {
  RunCases(Store(), {
      {"LF and a blank line", "[Settings]\nA=1\n\n[Other]\nB=2\n",
       {R("Settings", "A", "DEF", "1"), W("Settings", "C", "3")},
       "[Settings]\r\nA=1\r\nC=3\r\n[Other]\r\nB=2\r\n"},
      {"CR", "[Settings]\rA=1\rB=2\r",
       {R("Settings", "A", "DEF", "1"), R("Settings", "B", "DEF", "2"), W("Settings", "C", "1")},
       "[Settings]\r\nA=1\r\nB=2\r\nC=1\r\n"},
      {"CR inside CR LF", "[S]\r\nA=1\rB=2\r\nC=3\r\n",
       {R("S", "A", "DEF", "1"), R("S", "B", "DEF", "2"), W("S", "D", "4")},
       "[S]\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\n"},
      {"mixed", "[S]\rA=1\nB=2\rC=3\n",
       {R("S", "A", "DEF", "1"), R("S", "B", "DEF", "2"), R("S", "C", "DEF", "3"),
        W("S", "D", "4")},
       "[S]\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\n"},
      {"no final line end", "[Settings]\r\nA=1",
       {R("Settings", "A", "DEF", "1"), W("Settings", "B", "2")}, "[Settings]\r\nA=1\r\nB=2\r\n"},
  });
}

TEST_P(ProfileContract, ReadsGarbageAsKernel32Does) {
  const std::string x(100000, 'x'), y(100000, 'y');
  const std::string longLines = "[Settings]\r\nA=" + x + "\r\nB=2\r\n" + y + "\r\nC=3\r\n";
  RunCases(Store(), {
      {"comments and stray lines",
       "; comment\r\n[Settings]\r\n; c2\r\nA = 1 \r\ngarbage line\r\n\r\n\r\n[Other]\r\nB=2\r\n",
       {R("Settings", "A", "DEF", "1"), R("Settings", "garbage line", "DEF", "DEF"),
        R("Settings", "; c2", "DEF", "DEF"), W("Settings", "C", "3")},
       "; comment\r\n[Settings]\r\n; c2\r\nA=1\r\ngarbage line\r\nC=3\r\n[Other]\r\nB=2\r\n"},
      {"comment with equals sign", "[S]\r\n  ;A=1\r\n#B=2\r\n",
       {R("S", ";A", "DEF", "1"), R("S", "#B", "DEF", "2"), W("S", "C", "1")},
       "[S]\r\n;A=1\r\n#B=2\r\nC=1\r\n"},
      {"keys before the first section", "A=1\r\nB=2\r\n[Settings]\r\nA=3\r\n",
       {R("", "A", "DEF", "1"), R("Settings", "A", "DEF", "3"), W("Settings", "B", "4"),
        W("", "Z", "9")},
       "A=1\r\nB=2\r\nZ=9\r\n[Settings]\r\nA=3\r\nB=4\r\n"},
      {"duplicate sections and keys",
       "[Settings]\r\nA=1\r\nA=2\r\na=3\r\n[settings]\r\nA=4\r\nB=5\r\n",
       {R("Settings", "A", "DEF", "1"), R("Settings", "B", "DEF", "DEF"), W("Settings", "A", "x"),
        W("Settings", "B", "y")},
       "[Settings]\r\nA=x\r\nA=2\r\na=3\r\nB=y\r\n[settings]\r\nA=4\r\nB=5\r\n"},
      {"empty duplicate section first", "[S]\r\n[S]\r\nA=1\r\n",
       {R("S", "A", "DEF", "DEF"), W("S", "B", "1")}, "[S]\r\nB=1\r\n[S]\r\nA=1\r\n"},
      {"section without name", "[]\r\nA=1\r\n[S]\r\n",
       {R("", "A", "DEF", "DEF"), W("S", "B", "1")}, "A=1\r\n[S]\r\nB=1\r\n"},
      {"odd headers", "[Set]tings]\r\nB=2\r\n[Open\r\nC=3\r\n",
       {R("Set", "B", "DEF", "DEF"), R("Set]tings", "B", "DEF", "2"),
        R("Set]tings", "C", "DEF", "3"), R("Open", "C", "DEF", "DEF"), W("Settings", "D", "1")},
       "[Set]tings]\r\nB=2\r\n[Open\r\nC=3\r\n[Settings]\r\nD=1\r\n"},
      {"empty key names", "[S]\r\nX\r\n=a\r\n=b\r\nY=1\r\n=c\r\n==d\r\n",
       {R("S", "", "DEF", "a"), R("S", "X", "DEF", "DEF"), W("S", "Z", "2")},
       "[S]\r\nX\r\n=a\r\nY=1\r\n=c\r\nZ=2\r\n"},
      {"binary bytes", "[Settings]\r\nA=\x01\x02\xff\x80\x81\x8d\x9d\r\nC=2",
       {R("Settings", "A", "DEF", "\x01\x02\xff\x80\x81\x8d\x9d"), W("Settings", "D", "1")},
       "[Settings]\r\nA=\x01\x02\xff\x80\x81\x8d\x9d\r\nC=2\r\nD=1\r\n"},
      {"zero bytes", "[S\0x]\r\nK \0y =1\r\nL=a\0b\r\n[T]\0\r\nM=3\r\n\0nul"s,
       {R("S", "K", "DEF", "DEF"), R("S", "K ", "DEF", "DEF"), R("S", "L", "DEF", "a"),
        R("T", "M", "DEF", "3"), W("S", "N", "4")},
       "[S]\r\nK =1\r\nL=a\r\nN=4\r\n[T]\r\nM=3\r\n\r\n"},
      {"zero bytes before the first section", "\0\0\0\0[S]\r\nA=1\r\n\0l"s,
       {R("S", "A", "DEF", "DEF"), W("S", "B", "1")}, "\r\nA=1\r\n\r\n[S]\r\nB=1\r\n"},
      {"lines of 100 000 characters", longLines,
       {R("Settings", "A", "DEF", x.substr(0, 99)), R("Settings", "B", "DEF", "2"),
        R("Settings", "C", "DEF", "3"), W("Settings", "D", "1")},
       longLines + "D=1\r\n"},
  });
}

TEST_P(ProfileContract, KeepsTheEncodingOfAFileWithAByteOrderMark) {
  RunCases(Store(), {
      {"UTF-8", "\xEF\xBB\xBF[Settings]\r\nA=\xC3\xA9\r\n",
       {R("Settings", "A", "DEF", "\xE9"), W("Settings", "B", "\xE9")},
       "\xEF\xBB\xBF[Settings]\r\nA=\xC3\xA9\r\nB=\xC3\xA9\r\n"},
      {"UTF-16", "\xFF\xFE[\0S\0]\0\r\0\n\0A\0=\0\xE9\0\r\0\n\0"s,
       {R("S", "A", "DEF", "\xE9"), W("S", "B", "x")},
       "\xFF\xFE[\0S\0]\0\r\0\n\0A\0=\0\xE9\0\r\0\n\0B\0=\0x\0\r\0\n\0"s},
  });
}

TEST_P(ProfileContract, CreatesNoFolder) {
  EXPECT_FALSE(Store().Write("Settings", "A", "1", "Missing\\test.ini"));
  EXPECT_FALSE(fs::exists("Missing"));
  EXPECT_EQ(Store().Read("Settings", "A", "DEF", "Missing\\test.ini"), "DEF");
}

TEST_P(ProfileContract, TakesEitherSlashAsTheFolderSeparator) {
  EXPECT_TRUE(Store().Write("Settings", "A", "1", "Plugins/test.ini"));
  EXPECT_EQ(Store().Read("Settings", "A", "DEF", kFile), "1");
  EXPECT_EQ(FileBytes(kPath), "[Settings]\r\nA=1\r\n");
}

INSTANTIATE_TEST_SUITE_P(Ours, ProfileContract, ::testing::Values(&PortableProfileStore),
                         [](const auto&) { return std::string("Portable"); });

}  // namespace

void ProfileContract::SetUp() {
  m_previousDirectory = fs::current_path();
  std::random_device random;
  m_directory = fs::temp_directory_path() / ("profile-contract-" + std::to_string(random()));
  fs::create_directories(m_directory / "Plugins");
  fs::current_path(m_directory);
}

void ProfileContract::TearDown() {
  fs::current_path(m_previousDirectory);
  std::error_code ignored;
  fs::remove_all(m_directory, ignored);
}
