#include "cli/adif_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::literals;

// Every record as one line: "#n NAME=data NAME=data", or "#n !offset reason" for a record that
// could not be read; then "header: ..." for a fault of the header.
std::string Render(std::string_view file) {
  CAdifReader reader(file);
  AdifRecord record;
  std::string out;
  while (reader.Next(record)) {
    out += '#';
    out += std::to_string(record.number);
    if (!record.error.empty()) {
      out += " !";
      out += std::to_string(record.errorOffset);
      out += ' ';
      out += record.error;
    } else {
      for (const AdifField& f : record.fields) {
        out += ' ';
        out.append(f.name);
        out += '=';
        out.append(f.data);
      }
    }
    out += '\n';
  }
  if (!reader.HeaderError().empty()) out += "header: " + reader.HeaderError() + "\n";
  return out;
}

struct Case {
  const char* what;
  std::string_view file;
  std::string_view records;
};

const Case kReadable[] = {
    {"no header: the file begins with <", "<CALL:6>OH2ABC<EOR>", "#1 CALL=OH2ABC\n"},
    {"a header with fields and free text",
     "Exported 2013-01-02 by hand\n<ADIF_VER:5>3.1.0 <PROGRAMID:4>test\n<EOH>\n"
     "<CALL:6>OH2ABC <BAND:3>20m <EOR>\n",
     "#1 CALL=OH2ABC BAND=20m\n"},
    {"a header whose free text holds a < that begins no tag",
     "Made <by hand> with care <EOH><CALL:4>SM5A<EOR>", "#1 CALL=SM5A\n"},
    {"leading blanks and no header: a record ends before any <EOH>",
     " \r\n<CALL:4>SM5A<EOR>\r\n<CALL:4>OH2B<EOR>\r\n", "#1 CALL=SM5A\n#2 CALL=OH2B\n"},
    {"lengths count bytes: a UTF-8 name of 4 letters is 5 bytes",
     "<NAME:5>J\xc3\xb6rg<CALL:6>DL1ABC<EOR>", "#1 NAME=J\xc3\xb6rg CALL=DL1ABC\n"},
    {"data may hold <, > and even <EOR>", "<COMMENT:11>a<EOR>b>c<d<CALL:4>SM5A<EOR>",
     "#1 COMMENT=a<EOR>b>c<d CALL=SM5A\n"},
    {"data may hold a zero byte", "<APP_X_Y:3>a\0b<CALL:4>SM5A<EOR>"sv,
     "#1 APP_X_Y=a\0b CALL=SM5A\n"sv},
    {"tag names in any case, a type indicator",
     "<call:4:s>SM5A<Freq:6:N>14.085<eor><CaLl:4>OH2B<EoR>",
     "#1 call=SM5A Freq=14.085\n#2 CaLl=OH2B\n"},
    {"an empty field", "<CALL:4>SM5A<NAME:0><EOR>", "#1 CALL=SM5A NAME=\n"},
    {"text after the last <EOR> is not a record", "<CALL:4>SM5A<EOR>\n\n  trailing words\n",
     "#1 CALL=SM5A\n"},
    {"an empty file", "", ""},
};

TEST(AdifReader, ReadsRecords) {
  for (const Case& c : kReadable) EXPECT_EQ(Render(c.file), c.records) << c.what;
}

const Case kFaulty[] = {
    {"a length running past the end of the file ends the reading",
     "<CALL:4>SM5A<EOR><CALL:40>OH2ABC<EOR>",
     "#1 CALL=SM5A\n#2 !17 the length 40 of <CALL> runs past the end of the file\n"},
    {"a length too large for any number", "<CALL:99999999999999999999999999>OH2ABC<EOR>",
     "#1 !0 the length 99999999999999999999999999 of <CALL> runs past the end of the file\n"},
    {"the last record lacks <EOR>", "<CALL:4>SM5A<EOR><CALL:4>OH2B <BAND:3>20m\n",
     "#1 CALL=SM5A\n#2 !17 the record is not closed by <EOR> before the end of the file\n"},
    {"data that ends where the file ends, without <EOR>", "<CALL:4>SM5A<EOR><CALL:4>OH2B",
     "#1 CALL=SM5A\n#2 !17 the record is not closed by <EOR> before the end of the file\n"},
    {"a tag cut off by the end of the file", "<CALL:4>SM5A<EOR><BAND:3",
     "#1 CALL=SM5A\n#2 !17 a tag is not closed before the end of the file\n"},
    {"a length that is no number: the record is skipped up to its <EOR>",
     "<CALL:4>SM5A<BAND:x>20m<EOR><CALL:4>OH2B<EOR>",
     "#1 !12 the length of <BAND> is not a number\n#2 CALL=OH2B\n"},
    {"a tag without a length", "<CALL>SM5A<eor><CALL:4>OH2B<EOR>",
     "#1 !0 tag <CALL> has no length\n#2 CALL=OH2B\n"},
    {"a < in a record that begins no tag (a broken tag is not dropped silently)",
     "<CALL:4>SM5A <RST_SENT 3>599<EOR><CALL:4>OH2B<EOR>",
     "#1 !13 \"<\" does not begin a tag\n#2 CALL=OH2B\n"},
    {"a type indicator not closed", "<CALL:4:S<EOR><CALL:4>OH2B<EOR>",
     "#1 !0 the type of <CALL> is not closed by \">\"\n#2 CALL=OH2B\n"},
    {"<EOH> among the records", "<CALL:4>SM5A<EOR><EOH><CALL:4>OH2B<EOR><CALL:4>LA1C<EOR>",
     "#1 CALL=SM5A\n#2 !17 <EOH> inside the records\n#3 CALL=LA1C\n"},
    {"a broken record with no <EOR> after it ends the reading", "<CALL:4>SM5A<EOR><CALL:z>OH2B",
     "#1 CALL=SM5A\n#2 !17 the length of <CALL> is not a number\n"},
    {"a header without <EOH>", "Exported by hand\n<ADIF_VER:5>3.1.0\n",
     "header: the header (the text before the first record) does not end with <EOH>\n"},
    {"a header whose field runs past the end", "Exported\n<PROGRAMID:50>x",
     "header: the header, at byte 9: the length 50 of <PROGRAMID> runs past the end of the "
     "file\n"},
};

TEST(AdifReader, ReportsEveryRecordItCannotRead) {
  for (const Case& c : kFaulty) EXPECT_EQ(Render(c.file), c.records) << c.what;
}

TEST(AdifReader, RecordOffsetsPointAtTheirFirstTag) {
  const std::string_view file = "hdr<EOH>\n<CALL:4>SM5A<EOR>\n  <CALL:4>OH2B<EOR>";
  CAdifReader reader(file);
  AdifRecord record;
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.offset, 9u);
  EXPECT_EQ(record.fields.at(0).offset, 9u);
  ASSERT_TRUE(reader.Next(record));
  EXPECT_EQ(record.offset, 29u);
  EXPECT_FALSE(reader.Next(record));
  EXPECT_FALSE(reader.Next(record));
}

TEST(AdifReader, FindMatchesNamesInAnyCase) {
  CAdifReader reader("<call:4>SM5A<Band:3>20m<CALL:4>OH2B<EOR>");
  AdifRecord record;
  ASSERT_TRUE(reader.Next(record));
  ASSERT_NE(record.Find("CALL"), nullptr);
  EXPECT_EQ(record.Find("CALL")->data, "SM5A");  // the first of two
  ASSERT_NE(record.Find("BAND"), nullptr);
  EXPECT_EQ(record.Find("BAND")->data, "20m");
  EXPECT_EQ(record.Find("MODE"), nullptr);
  EXPECT_EQ(record.Find("BAN"), nullptr);
}

}  // namespace
