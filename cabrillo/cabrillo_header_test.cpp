#include "cabrillo/cabrillo_header.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "cabrillo/cabrillo_dialog.h"
#include "cabrillo/cabrillo_record.h"
#include "frame/seams.h"
#include "platform/test_work_directory.h"

namespace {

const char kSettingsPath[] = "Plugins/SKOLP-NY.ini";

TEST(FileCallSign, ReplacesWhatFileNamesRefuseAndTrims) {
  struct Case {
    std::string callSign;
    std::string expected;
  };
  const Case kCases[] = {
      {"SM5ABC", "SM5ABC"},
      {"SM5ABC/P", "SM5ABC_P"},
      {"OH0/SM5ABC/MM", "OH0_SM5ABC_MM"},
      {"PA\\X", "PA_X"},
      {"  SM5ABC  ", "SM5ABC"},
      {"\t\v\fSM5ABC\r\n", "SM5ABC"},
      {" / ", "_"},
      {"", "TQVX"},
      {"   ", "TQVX"},
      {"\r\n", "TQVX"},
      {"A:B*C?D", "A_B_C_D"},
      {"a<b>c\"d|e", "a_b_c_d_e"},
      {"SM 5\x01"
       "ABC",
       "SM 5_ABC"},
      {"SM5\xC5\xC4\xD6", "SM5\xC5\xC4\xD6"},
      {"CON", "CON_"},
      {" nul ", "nul_"},
      {"COM1", "COM1_"},
      {"lpt9", "lpt9_"},
      {"COM10", "COM10"},
      {"CONX", "CONX"},
      {"COM0", "COM0"},
  };
  for (const Case& c : kCases) EXPECT_EQ(FileCallSignOf(c.callSign), c.expected) << c.callSign;
}

TEST(SoapBoxForFile, StartsASoapBoxLineAtEachLineBreak) {
  struct Case {
    const char* encoded;
    const char* expected;
  };
  const Case kCases[] = {
      {"", ""},
      {"Happy New Year", "Happy New Year"},
      {"first<CR><LF>second", "first\r\nSOAPBOX: second"},
      {"a<CR><LF>b<CR><LF>c", "a\r\nSOAPBOX: b\r\nSOAPBOX: c"},
      {"last<CR><LF>", "last\r\nSOAPBOX: "},
      {"a<LF>b", "ab"},
      {"a<CR>b", "a\r\nSOAPBOX: b"},
  };
  for (const Case& c : kCases) EXPECT_EQ(SoapBoxForFile(c.encoded), c.expected) << c.encoded;
}

// Plays the operator of the Cabrillo dialog: keeps what the dialog showed, then edits and
// confirms, or closes it.
class FakeCabrilloDialog final : public ModuleUi {
 public:
  bool RunSetupDialog(int&, std::string&) override { return false; }
  bool RunCabrilloDialog(CabrilloDialogValues& values) override {
    shown = values;
    if (!pressOk) return false;
    if (edit) edit(values);
    return true;
  }

  bool pressOk = false;
  std::function<void(CabrilloDialogValues&)> edit;
  std::optional<CabrilloDialogValues> shown;
};

// What the dialog shows for the call sign SM5ABC and no settings file.
CabrilloDialogValues Defaults() {
  CabrilloDialogValues v;
  v.CallSign = "SM5ABC";
  v.Operators = "SM5ABC";
  v.Contest = "SKOLP-NY-RTTY";
  v.CategoryOperator = "SINGLE-OP";
  v.CategoryAssisted = "NON-ASSISTED";
  v.CategoryBand = "ALL";
  v.CategoryMode = "RTTY";
  v.CategoryPower = "HIGH";
  v.CategoryStation = "FIXED";
  v.CategoryTransmitter = "ONE";
  v.CategoryOverlay = "NONE";
  v.Location = "DX";
  return v;
}

void ExpectSameValues(const CabrilloDialogValues& actual, const CabrilloDialogValues& expected) {
  for (const CabrilloControl& control : CabrilloControls()) {
    EXPECT_EQ(actual.*control.member, expected.*control.member) << "control " << control.id;
  }
}

class CabrilloHeader : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory("Plugins");
    g_cabrilloRecord = {};
    g_cabrilloRecord.QsoLines = {"QSO: of an earlier run\r\n"};
  }
  void TearDown() override { g_cabrilloRecord = {}; }

  TestWorkDirectory m_directory;
  FakeCabrilloDialog m_dialog;
  ScopedSeam<ModuleUi> m_seam{&Seams::ui, m_dialog};
};

TEST_F(CabrilloHeader, ShowsTheStoredValuesAndTheFixedCategories) {
  const std::string name150 = std::string(99, 'n') + std::string(51, 'x');
  // Lines end in LF alone: a rewrite of the file would show as CR LF.
  const std::string settings =
      "[Settings]\nOperators=SM5ABC SM5XYZ\nName=" + name150 +
      "\nAddress=Storgatan 1\nAddress_City=Uppsala\nAddress_St_Prov=Uppland\n"
      "Address_PostalCode=753 10\nAddress_Country=Sweden\nClaimed=1234\n"
      "Category=MULTI-OP\nCategory_Overlay=ROOKIE\nContest=OTHER\nEmail=sm5abc@example.org\n"
      "Club=SK0UX\nSoapBox=first<CR><LF>second\n";
  TestWorkDirectory::Put(kSettingsPath, settings);

  EXPECT_FALSE(EditCabrilloHeader("SM5ABC/P"));

  CabrilloDialogValues expected = Defaults();
  expected.CallSign = "SM5ABC/P";
  expected.Operators = "SM5ABC SM5XYZ";
  expected.Name = std::string(99, 'n');
  expected.Address = "Storgatan 1";
  expected.AddressCity = "Uppsala";
  expected.AddressStateProvince = "Uppland";
  expected.AddressPostalCode = "753 10";
  expected.AddressCountry = "Sweden";
  expected.Claimed = "1234";
  expected.Email = "sm5abc@example.org";
  expected.Club = "SK0UX";
  expected.SoapBox = "first\r\nsecond";
  ASSERT_TRUE(m_dialog.shown);
  ExpectSameValues(*m_dialog.shown, expected);

  // Cancelled: nothing is stored, but the record is ready for the file all the same.
  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath), settings);
  const CabrilloRecord& r = g_cabrilloRecord;
  EXPECT_EQ(r.CallSign, "SM5ABC/P");
  EXPECT_EQ(r.FileCallSign, "SM5ABC_P");
  EXPECT_EQ(r.Name, std::string(99, 'n'));
  EXPECT_EQ(r.Claimed, "1234");
  EXPECT_EQ(r.CategoryOperator, "SINGLE-OP");
  EXPECT_EQ(r.CategoryOverlay, "NONE");
  EXPECT_EQ(r.SoapBox, "first\r\nSOAPBOX: second");
  EXPECT_TRUE(r.QsoLines.empty());
}

TEST_F(CabrilloHeader, WithoutSettingsTheOperatorsAreTheCallSign) {
  EXPECT_FALSE(EditCabrilloHeader("SM5ABC"));
  ASSERT_TRUE(m_dialog.shown);
  ExpectSameValues(*m_dialog.shown, Defaults());
  EXPECT_FALSE(TestWorkDirectory::Bytes(kSettingsPath));

  struct Case {
    const char* callSign;
    const char* fileCallSign;
  };
  const Case kCases[] = {{"", "TQVX"}, {"   ", "TQVX"}, {" SM5ABC/M ", "SM5ABC_M"}};
  for (const Case& c : kCases) {
    EditCabrilloHeader(c.callSign);
    EXPECT_EQ(m_dialog.shown->CallSign, c.callSign) << '"' << c.callSign << '"';
    EXPECT_EQ(g_cabrilloRecord.CallSign, c.callSign) << '"' << c.callSign << '"';
    EXPECT_EQ(g_cabrilloRecord.FileCallSign, c.fileCallSign) << '"' << c.callSign << '"';
  }
}

TEST_F(CabrilloHeader, OkStoresTheConfirmedValuesInTheirOrderAndDropsClaimed) {
  TestWorkDirectory::Put(kSettingsPath, "[Settings]\r\nClaimed=77\r\n");
  m_dialog.pressOk = true;
  m_dialog.edit = [](CabrilloDialogValues& v) {
    v.CallSign = "SM5XYZ";
    v.Name = "Olle Svensson";
    v.Club = "  SK0UX ";
    v.Claimed = "999999";
    v.CategoryOperator = "MULTI-OP";
    v.CategoryOverlay = "ROOKIE";
    v.CategoryPower = "LOW";
    v.Location = "NY";
    v.SoapBox = "first\r\nsecond";
  };

  EXPECT_TRUE(EditCabrilloHeader("SM5ABC"));

  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath),
            "[Settings]\r\nClaimed=77\r\nOperators=SM5ABC\r\nName=Olle Svensson\r\nAddress=\r\n"
            "Address_City=\r\nAddress_St_Prov=\r\nAddress_PostalCode=\r\nAddress_Country=\r\n"
            "Category=MULTI-OP\r\nCategory_Overlay=ROOKIE\r\nContest=SKOLP-NY-RTTY\r\nEmail=\r\n"
            "Club=\"  SK0UX \"\r\nSoapBox=first<CR><LF>second\r\n");
  const CabrilloRecord& r = g_cabrilloRecord;
  EXPECT_EQ(r.CallSign, "SM5XYZ");
  EXPECT_EQ(r.FileCallSign, "SM5ABC");
  EXPECT_EQ(r.Operators, "SM5ABC");
  EXPECT_EQ(r.Claimed, "77");
  EXPECT_EQ(r.Club, "  SK0UX ");
  EXPECT_EQ(r.CategoryOperator, "MULTI-OP");
  EXPECT_EQ(r.CategoryPower, "LOW");
  EXPECT_EQ(r.Location, "NY");
  EXPECT_EQ(r.SoapBox, "first\r\nSOAPBOX: second");
  EXPECT_TRUE(r.QsoLines.empty());

  // The next header step brings back the operator's texts, not the categories.
  m_dialog.pressOk = false;
  EditCabrilloHeader("SM5ABC");
  ASSERT_TRUE(m_dialog.shown);
  CabrilloDialogValues expected = Defaults();
  expected.Name = "Olle Svensson";
  expected.Club = "  SK0UX ";
  expected.Claimed = "77";
  expected.SoapBox = "first\r\nsecond";
  ExpectSameValues(*m_dialog.shown, expected);
}

TEST_F(CabrilloHeader, SoapBoxLineBreaksSurviveTheSettingsFile) {
  struct Case {
    const char* typed;
    const char* stored;
    const char* forFile;
    const char* shownNextTime;
  };
  const Case kCases[] = {
      {"first\r\nsecond", "first<CR><LF>second", "first\r\nSOAPBOX: second", "first\r\nsecond"},
      {"last\r\n", "last<CR><LF>", "last\r\nSOAPBOX: ", "last\r\n"},
      // Typed literally, "<CR>" is a line break from then on.
      {"a<CR>b", "a<CR>b", "a\r\nSOAPBOX: b", "a\rb"},
      {"", "", "", ""},
  };
  for (const Case& c : kCases) {
    std::filesystem::remove(kSettingsPath);
    m_dialog.pressOk = true;
    m_dialog.edit = [&](CabrilloDialogValues& v) { v.SoapBox = c.typed; };
    EditCabrilloHeader("SM5ABC");
    const std::string file = TestWorkDirectory::Bytes(kSettingsPath).value_or("");
    EXPECT_NE(file.find(std::string("\r\nSoapBox=") + c.stored + "\r\n"), std::string::npos)
        << c.typed << "\n"
        << file;
    EXPECT_EQ(g_cabrilloRecord.SoapBox, c.forFile) << c.typed;

    m_dialog.pressOk = false;
    EditCabrilloHeader("SM5ABC");
    EXPECT_EQ(m_dialog.shown->SoapBox, c.shownNextTime) << c.typed;
    EXPECT_EQ(g_cabrilloRecord.SoapBox, c.forFile) << c.typed;
  }
}

}  // namespace
