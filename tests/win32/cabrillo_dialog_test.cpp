// The Cabrillo header dialog of the real Stats.dll under Wine: an export reset opens it, and an
// operator thread of the host simulator reads it, fills it and closes it. Each test runs in a
// fresh current directory with a Plugins folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "operator.h"
#include "platform/test_work_directory.h"
#include "resources/resource.h"
#include "stats_module.h"

namespace {

const char kSettingsPath[] = "Plugins/SKOLP-NY.ini";
const char kCaption[] = "SKOLP-NY-RTTY ";
constexpr DWORD kFinishMs = 15000;

// A message to a control of the dialog, whose thread is the host's, busy in the modal loop.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

std::string TextOf(HWND window) {
  std::string text(static_cast<std::size_t>(Ask(window, WM_GETTEXTLENGTH)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::vector<std::string> ComboEntries(HWND combo) {
  std::vector<std::string> entries;
  const LRESULT count = Ask(combo, CB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    std::string text(static_cast<std::size_t>(Ask(combo, CB_GETLBTEXTLEN, i)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        Ask(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    entries.push_back(text);
  }
  return entries;
}

const int kComboIds[] = {IDC_CAB_CATEGORY_OPERATOR, IDC_CAB_LOCATION,
                         IDC_CAB_CATEGORY_BAND,     IDC_CAB_CATEGORY_ASSISTED,
                         IDC_CAB_CATEGORY_OVERLAY,  IDC_CAB_CATEGORY_POWER,
                         IDC_CAB_CATEGORY_STATION,  IDC_CAB_CATEGORY_TRANSMITTER};
const int kEditIds[] = {IDC_CAB_CONTEST,
                        IDC_CAB_CALLSIGN,
                        IDC_CAB_CLAIMED,
                        IDC_CAB_CATEGORY_MODE,
                        IDC_CAB_NAME,
                        IDC_CAB_ADDRESS,
                        IDC_CAB_ADDRESS_CITY,
                        IDC_CAB_ADDRESS_STATE_PROVINCE,
                        IDC_CAB_ADDRESS_POSTALCODE,
                        IDC_CAB_ADDRESS_COUNTRY,
                        IDC_CAB_OPERATORS,
                        IDC_CAB_CLUB,
                        IDC_CAB_SOAPBOX,
                        IDC_CAB_EMAIL};

// What the operator saw when the dialog opened: every control's text, and for each combo box
// its list and the entry selected (-1 for none).
struct Seen {
  bool shown = false;
  std::vector<std::pair<int, std::string>> texts;
  std::vector<std::pair<int, std::vector<std::string>>> lists;
  std::vector<std::pair<int, int>> selections;

  std::string Text(int id) const {
    for (const auto& [control, text] : texts) {
      if (control == id) return text;
    }
    return "(no control)";
  }
  int Selection(int id) const {
    for (const auto& [control, index] : selections) {
      if (control == id) return index;
    }
    return -2;
  }
};

Seen Look(Operator& op) {
  Seen seen;
  seen.shown = true;
  for (int id : kEditIds) seen.texts.emplace_back(id, op.GetText(id));
  for (int id : kComboIds) {
    HWND combo = GetDlgItem(op.Window(), id);
    seen.texts.emplace_back(id, op.GetText(id));
    seen.lists.emplace_back(id, ComboEntries(combo));
    seen.selections.emplace_back(id, static_cast<int>(Ask(combo, CB_GETCURSEL)));
  }
  return seen;
}

// The height, in dialog units, that template 101 of `module` gives control `id`; -1 when the
// template has no such control. The template is a DLGTEMPLATEEX.
int TemplateItemHeight(HMODULE module, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDD_CABRILLO), MAKEINTRESOURCEW(5));
  const auto* words = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
  if (words == nullptr || words[1] != 0xFFFF) return -1;
  const auto skipText = [](const WORD* p) {  // a zero-terminated text or an ordinal
    if (*p == 0xFFFF) return p + 2;
    while (*p != 0) ++p;
    return p + 1;
  };
  const int count = words[8];
  const bool hasFont = (words[6] | words[7] << 16) & DS_SETFONT;
  const WORD* p = skipText(skipText(skipText(words + 13)));  // menu, class, caption
  if (hasFont) p = skipText(p + 3);
  for (int i = 0; i < count; ++i) {
    p = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR{3});
    const short cy = static_cast<short>(p[9]);
    const int itemId = static_cast<int>(p[10] | p[11] << 16);
    p = skipText(skipText(p + 12));  // class, text
    p += 1 + (*p + 1) / 2;           // the extra data and its size
    if (itemId == id) return cy;
  }
  return -1;
}

class CabrilloDialogUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory("Plugins");
    ASSERT_TRUE(m_module.IsLoaded()) << m_module.Error();
  }

  // An export reset for `call`, with the operator looking at the dialog and then acting on it.
  // The failures of the operator's actions.
  std::vector<std::string> ExportReset(const char* call, Seen& seen,
                                       const std::function<void(Operator&)>& act) {
    OperatorThread person([&](Operator& op) {
      if (!op.WaitForWindow(kCaption)) return;
      seen = Look(op);
      act(op);
      op.WaitUntilClosed();
    });
    COleDateTime start = COleDateTime::FromParts(2025, 1, 1, 8, 0, 0);
    COleDateTime end = COleDateTime::FromParts(2025, 1, 1, 11, 0, 0);
    EXPECT_EQ(m_module.ResetStats0("", 1, call, &start, &end, "OLLE", "", "", "", "", "", "", "",
                                   "", "", 0, 0, 0, 0.0, 0.0, "", "", ""),
              1);
    EXPECT_TRUE(person.FinishPumping(kFinishMs));
    return person.Failures();
  }

  TestWorkDirectory m_directory;
  StatsModule m_module{ProgramDirectory() + "Stats.dll"};
};

TEST_F(CabrilloDialogUnderWine, ShowsTheStoredValuesTheFixedCategoriesAndTheLists) {
  // LF line ends: any rewrite of the file would show as CR LF.
  const std::string settings =
      "[Settings]\nOperators=SM5ABC SM5XYZ\nName=Olle\nClaimed=1234\nCategory=MULTI-OP\n"
      "Category_Overlay=ROOKIE\nSoapBox=first<CR><LF>second\nStart=0\n";
  TestWorkDirectory::Put(kSettingsPath, settings);
  Seen seen;
  const auto failures =
      ExportReset("SM5ABC/P", seen, [](Operator& op) { op.PressButton(IDCANCEL); });
  ASSERT_TRUE(failures.empty()) << failures.front();
  ASSERT_TRUE(seen.shown);

  struct Shown {
    int id;
    const char* text;
    int selection;  // -2: an edit box
  };
  const Shown kShown[] = {
      {IDC_CAB_CONTEST, "SKOLP-NY-RTTY", -2},
      {IDC_CAB_CALLSIGN, "SM5ABC/P", -2},
      {IDC_CAB_CLAIMED, "1234", -2},
      {IDC_CAB_OPERATORS, "SM5ABC SM5XYZ", -2},
      {IDC_CAB_NAME, "Olle", -2},
      {IDC_CAB_CATEGORY_MODE, "RTTY", -2},
      {IDC_CAB_SOAPBOX, "first\r\nsecond", -2},
      {IDC_CAB_EMAIL, "", -2},
      {IDC_CAB_CATEGORY_OPERATOR, "SINGLE-OP", 0},
      {IDC_CAB_LOCATION, "DX", 0},
      {IDC_CAB_CATEGORY_BAND, "ALL", 0},
      {IDC_CAB_CATEGORY_ASSISTED, "NON-ASSISTED", 1},
      {IDC_CAB_CATEGORY_OVERLAY, "NONE", CB_ERR},
      {IDC_CAB_CATEGORY_POWER, "HIGH", 0},
      {IDC_CAB_CATEGORY_STATION, "FIXED", 1},
      {IDC_CAB_CATEGORY_TRANSMITTER, "ONE", 0},
  };
  for (const Shown& s : kShown) {
    EXPECT_EQ(seen.Text(s.id), s.text) << s.id;
    EXPECT_EQ(seen.Selection(s.id), s.selection) << s.id;
  }

  const std::vector<std::pair<int, std::vector<std::string>>> kLists = {
      {IDC_CAB_CATEGORY_OPERATOR, {"SINGLE-OP", "MULTI-MULTI", "MULTI-OP", "CHECKLOG"}},
      {IDC_CAB_LOCATION,
       {"DX", "--/--", "AL", "AK", "AZ", "AR", "CA",  "CO", "CT", "DE", "FL", "GA", "ID",
        "IL", "IN",    "IA", "KS", "KY", "LA", "ME",  "MA", "MI", "MN", "MS", "MO", "MT",
        "NE", "NV",    "NH", "NJ", "NM", "NY", "NC",  "ND", "OH", "OK", "OR", "PA", "RI",
        "SC", "SD",    "TN", "TX", "UT", "VT", "VA",  "WA", "WV", "WI", "WY", "NB", "NS",
        "QC", "ON",    "MB", "SK", "AB", "BC", "NWT", "NF", "LB", "NU", "YT", "PEI"}},
      {IDC_CAB_CATEGORY_BAND, {"ALL", "80M", "40M", "20M", "15M", "10M"}},
      {IDC_CAB_CATEGORY_ASSISTED, {"ASSISTED", "NON-ASSISTED"}},
      {IDC_CAB_CATEGORY_OVERLAY, {"CLASSIC", "ROOKIE"}},
      {IDC_CAB_CATEGORY_POWER, {"HIGH", "LOW", "QRP"}},
      {IDC_CAB_CATEGORY_STATION,
       {"EXPEDITION", "FIXED", "HQ", "MOBILE", "PORTABLE", "ROVER", "SCHOOL"}},
      {IDC_CAB_CATEGORY_TRANSMITTER, {"ONE", "TWO", "UNLIMITED"}},
  };
  EXPECT_EQ(seen.lists, kLists);

  // Cancelled: not a byte of the settings file changes, "Start" aside.
  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath),
            "[Settings]\r\nOperators=SM5ABC SM5XYZ\r\nName=Olle\r\nClaimed=1234\r\n"
            "Category=MULTI-OP\r\nCategory_Overlay=ROOKIE\r\nSoapBox=first<CR><LF>second\r\n"
            "Start=1\r\n");
}

TEST_F(CabrilloDialogUnderWine, OkStoresWhatTheOperatorTypedAndPicked) {
  Seen seen;
  auto failures = ExportReset("SM5ABC", seen, [](Operator& op) {
    op.SetText(IDC_CAB_NAME, "Olle Svensson");
    op.SetText(IDC_CAB_SOAPBOX, "Happy New Year\r\nfrom Uppsala");
    op.SetText(IDC_CAB_CLAIMED, "999999");
    op.SelectComboText(IDC_CAB_CATEGORY_POWER, "lo");
    op.SetText(IDC_CAB_CATEGORY_OVERLAY, "TB-WIRES");
    op.SelectComboText(IDC_CAB_LOCATION, "NY");
    op.PressButton(IDOK);
  });
  ASSERT_TRUE(failures.empty()) << failures.front();
  EXPECT_EQ(seen.Text(IDC_CAB_OPERATORS), "SM5ABC");
  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath),
            "[Settings]\r\nOperators=SM5ABC\r\nName=Olle Svensson\r\nAddress=\r\n"
            "Address_City=\r\nAddress_St_Prov=\r\nAddress_PostalCode=\r\nAddress_Country=\r\n"
            "Category=SINGLE-OP\r\nCategory_Overlay=TB-WIRES\r\nContest=SKOLP-NY-RTTY\r\n"
            "Email=\r\nClub=\r\nSoapBox=Happy New Year<CR><LF>from Uppsala\r\nStart=1\r\n");

  // The next export run shows the stored texts again, and the categories from their defaults.
  failures = ExportReset("SM5ABC", seen, [](Operator& op) { op.Close(); });
  ASSERT_TRUE(failures.empty()) << failures.front();
  EXPECT_EQ(seen.Text(IDC_CAB_NAME), "Olle Svensson");
  EXPECT_EQ(seen.Text(IDC_CAB_SOAPBOX), "Happy New Year\r\nfrom Uppsala");
  EXPECT_EQ(seen.Text(IDC_CAB_CATEGORY_POWER), "HIGH");
  EXPECT_EQ(seen.Text(IDC_CAB_CATEGORY_OVERLAY), "NONE");
  EXPECT_EQ(seen.Text(IDC_CAB_LOCATION), "DX");
}

TEST_F(CabrilloDialogUnderWine, LongValuesComeBackWhole) {
  // Values of 99 characters, wider than their boxes: boxes that take only what fits their
  // width must still keep what they were given.
  const std::string address(99, 'A'), name(99, 'N');
  TestWorkDirectory::Put(kSettingsPath, "[Settings]\r\nName=" + name + "\r\nAddress=" + address +
                                            "\r\nAddress_Country=" + address + "\r\n");
  Seen seen;
  const auto failures = ExportReset("SM5ABC", seen, [](Operator& op) { op.PressButton(IDOK); });
  ASSERT_TRUE(failures.empty()) << failures.front();
  EXPECT_EQ(seen.Text(IDC_CAB_ADDRESS), address);
  const std::string file = TestWorkDirectory::Bytes(kSettingsPath).value_or("");
  EXPECT_NE(file.find("\r\nName=" + name + "\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\r\nAddress=" + address + "\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\r\nAddress_Country=" + address + "\r\n"), std::string::npos) << file;
}

TEST_F(CabrilloDialogUnderWine, CancelTheCloseBoxAndEscapeStoreNothing) {
  const std::string before = "[Settings]\nName=Olle\n";
  const std::function<void(Operator&)> kCloses[] = {
      [](Operator& op) { op.PressButton(IDCANCEL); },
      [](Operator& op) { op.Close(); },
      [](Operator& op) { op.PressEscape(); },
  };
  for (std::size_t i = 0; i < std::size(kCloses); ++i) {
    TestWorkDirectory::Put(kSettingsPath, before);
    Seen seen;
    const auto failures = ExportReset("SM5ABC", seen, [&](Operator& op) {
      op.SetText(IDC_CAB_NAME, "Somebody else");
      kCloses[i](op);
    });
    ASSERT_TRUE(failures.empty()) << i << ": " << failures.front();
    // The reset itself stores "Start" after the header step.
    EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath), "[Settings]\r\nName=Olle\r\nStart=1\r\n")
        << i;
  }
}

// The template: every child in template order, its class, text, place and styles.
TEST_F(CabrilloDialogUnderWine, LaysOutTheTemplate) {
  enum Kind { kLabel, kEdit, kAutoEdit, kMultiLine, kCombo, kSortedCombo, kButton };
  struct Child {
    Kind kind;
    int id;
    const char* text;
    int x, y, cx, cy;
  };
  const Child kChildren[] = {
      {kLabel, -1, "CONTEST", 10, 10, 36, 11},
      {kAutoEdit, IDC_CAB_CONTEST, nullptr, 55, 9, 190, 12},
      {kLabel, -1, "CALLSIGN", 9, 25, 39, 11},
      {kAutoEdit, IDC_CAB_CALLSIGN, nullptr, 55, 23, 88, 12},
      {kLabel, -1, "CLAIMED", 149, 25, 31, 11},
      {kAutoEdit, IDC_CAB_CLAIMED, nullptr, 184, 23, 61, 12},
      {kLabel, -1, "CATEGORY-OPERATOR", 9, 39, 83, 11},
      {kCombo, IDC_CAB_CATEGORY_OPERATOR, nullptr, 92, 36, 79, 86},
      {kLabel, -1, "LOCATION", 174, 40, 38, 11},
      {kCombo, IDC_CAB_LOCATION, nullptr, 213, 38, 30, 85},
      {kLabel, -1, "CATEGORY-BAND", 9, 52, 79, 11},
      {kCombo, IDC_CAB_CATEGORY_BAND, nullptr, 92, 50, 79, 72},
      {kLabel, -1, "CATEGORY-ASSISTED", 10, 67, 79, 11},
      {kCombo, IDC_CAB_CATEGORY_ASSISTED, nullptr, 91, 64, 79, 45},
      {kLabel, -1, "CATEGORY-MODE", 9, 80, 73, 12},
      {kAutoEdit, IDC_CAB_CATEGORY_MODE, nullptr, 91, 78, 79, 13},
      {kLabel, -1, "CATEGORY-OVERLAY", 9, 94, 78, 12},
      {kSortedCombo, IDC_CAB_CATEGORY_OVERLAY, nullptr, 91, 92, 80, 51},
      {kLabel, -1, "CATEGORY-POWER", 9, 107, 86, 11},
      {kSortedCombo, IDC_CAB_CATEGORY_POWER, nullptr, 91, 105, 80, 51},
      {kLabel, -1, "CATEGORY-STATION", 10, 120, 75, 11},
      {kSortedCombo, IDC_CAB_CATEGORY_STATION, nullptr, 91, 118, 80, 71},
      {kLabel, -1, "CATEGORY-TRANSMITTER", 9, 132, 97, 9},
      {kSortedCombo, IDC_CAB_CATEGORY_TRANSMITTER, nullptr, 105, 131, 66, 49},
      {kLabel, -1, "NAME", 10, 146, 37, 11},
      {kAutoEdit, IDC_CAB_NAME, nullptr, 55, 144, 191, 12},
      {kLabel, -1, "ADDRESS", 10, 159, 41, 11},
      {kEdit, IDC_CAB_ADDRESS, nullptr, 55, 156, 191, 14},
      {kLabel, -1, "ADDRESS-CITY", 10, 172, 55, 11},
      {kEdit, IDC_CAB_ADDRESS_CITY, nullptr, 67, 170, 179, 14},
      {kLabel, -1, "ADDRESS-STATE-PROVINCE", 10, 186, 102, 11},
      {kEdit, IDC_CAB_ADDRESS_STATE_PROVINCE, nullptr, 112, 184, 134, 14},
      {kLabel, -1, "ADDRESS-POSTALCODE", 10, 200, 86, 11},
      {kEdit, IDC_CAB_ADDRESS_POSTALCODE, nullptr, 100, 198, 146, 14},
      {kLabel, -1, "ADDRESS-COUNTRY", 10, 214, 78, 11},
      {kEdit, IDC_CAB_ADDRESS_COUNTRY, nullptr, 100, 212, 146, 14},
      {kLabel, -1, "OPERATORS", 10, 229, 45, 11},
      {kAutoEdit, IDC_CAB_OPERATORS, nullptr, 55, 227, 191, 12},
      {kLabel, -1, "CLUB", 10, 243, 33, 16},
      {kAutoEdit, IDC_CAB_CLUB, nullptr, 55, 240, 191, 12},
      {kLabel, -1, "SOAPBOX", 10, 266, 35, 16},
      {kMultiLine, IDC_CAB_SOAPBOX, nullptr, 55, 252, 191, 31},
      {kLabel, -1, "E-MAIL", 10, 286, 36, 16},
      {kAutoEdit, IDC_CAB_EMAIL, nullptr, 55, 283, 191, 12},
      {kButton, IDOK, "OK", 81, 302, 51, 21},
      {kButton, IDCANCEL, "CANCEL", 143, 302, 46, 21},
  };
  struct Found {
    std::string className, text;
    int id;
    LONG style;
    RECT rect;      // client coordinates of the dialog
    RECT expected;  // the template's position and size in the same pixels
  };
  std::vector<Found> found;
  LONG dialogStyle = 0;
  RECT client{}, expectedClient{0, 0, 255, 351};
  LOGFONTW font{};
  Seen seen;
  const auto failures = ExportReset("SM5ABC", seen, [&](Operator& op) {
    HWND dialog = op.Window();
    dialogStyle = GetWindowLongA(dialog, GWL_STYLE);
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &expectedClient);
    GetObjectW(reinterpret_cast<HFONT>(Ask(dialog, WM_GETFONT)), sizeof font, &font);
    std::size_t i = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT), ++i) {
      Found f;
      char name[64] = {};
      GetClassNameA(child, name, sizeof name);
      f.className = name;
      f.text = TextOf(child);
      f.id = GetDlgCtrlID(child);
      f.style = GetWindowLongA(child, GWL_STYLE);
      GetWindowRect(child, &f.rect);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&f.rect), 2);
      if (i < std::size(kChildren)) {
        const Child& c = kChildren[i];
        // Position and size, each converted on its own as the dialog converts them.
        f.expected = {c.x, c.y, c.cx, c.cy};
        MapDialogRect(dialog, &f.expected);
      }
      found.push_back(f);
    }
    op.PressButton(IDCANCEL);
  });
  ASSERT_TRUE(failures.empty()) << failures.front();

  EXPECT_EQ(
      dialogStyle & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME),
      WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME);
  EXPECT_EQ(client.right - client.left, expectedClient.right);
  EXPECT_EQ(client.bottom - client.top, expectedClient.bottom);
  EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
  ASSERT_EQ(found.size(), std::size(kChildren));
  for (std::size_t i = 0; i < found.size(); ++i) {
    const Child& c = kChildren[i];
    const Found& f = found[i];
    const std::string where = "child " + std::to_string(i) + " (" + std::to_string(c.id) + ")";
    const LONG style = f.style;
    EXPECT_EQ(f.rect.left, f.expected.left) << where;
    EXPECT_EQ(f.rect.top, f.expected.top) << where;
    EXPECT_EQ(f.rect.right - f.rect.left, f.expected.right) << where;
    // A combo box's height in the template is that of its dropped list, which Wine fits to
    // the entries: it is taken from the template itself.
    const bool combo = c.kind == kCombo || c.kind == kSortedCombo;
    const int height =
        combo ? TemplateItemHeight(m_module.Handle(), c.id) : f.rect.bottom - f.rect.top;
    EXPECT_EQ(height, combo ? c.cy : f.expected.bottom) << where;
    const bool tabStop = c.kind == kCombo || c.kind == kSortedCombo || c.kind == kMultiLine ||
                         c.id == IDC_CAB_CATEGORY_MODE;
    EXPECT_EQ((style & WS_TABSTOP) != 0, tabStop) << where;
    switch (c.kind) {
      case kLabel:
        EXPECT_EQ(f.className, "Static") << where;
        EXPECT_EQ(f.text, c.text) << where;
        break;
      case kEdit:
      case kAutoEdit:
        EXPECT_EQ(f.className, "Edit") << where;
        EXPECT_EQ(f.id, c.id) << where;
        EXPECT_EQ((style & ES_AUTOHSCROLL) != 0, c.kind == kAutoEdit) << where;
        EXPECT_EQ(style & ES_MULTILINE, 0) << where;
        break;
      case kMultiLine:
        EXPECT_EQ(f.className, "Edit") << where;
        EXPECT_EQ(f.id, c.id) << where;
        EXPECT_EQ(style & (ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL),
                  ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL)
            << where;
        EXPECT_EQ(style & (ES_AUTOHSCROLL | WS_HSCROLL), 0) << where;
        break;
      case kCombo:
      case kSortedCombo:
        EXPECT_EQ(f.className, "ComboBox") << where;
        EXPECT_EQ(f.id, c.id) << where;
        EXPECT_EQ(style & 3, CBS_DROPDOWN) << where;
        EXPECT_EQ((style & CBS_SORT) != 0, c.kind == kSortedCombo) << where;
        break;
      case kButton:
        EXPECT_EQ(f.className, "Button") << where;
        EXPECT_EQ(f.id, c.id) << where;
        EXPECT_EQ(f.text, c.text) << where;
        break;
    }
  }
}

TEST_F(CabrilloDialogUnderWine, Screenshot) {
  TestWorkDirectory::Put(kSettingsPath,
                         "[Settings]\r\nName=Olle Svensson\r\nAddress=Storgatan 1\r\n"
                         "Address_City=Uppsala\r\nAddress_PostalCode=753 10\r\n"
                         "Address_Country=Sweden\r\nEmail=sm5abc@example.org\r\nClub=SK0UX\r\n"
                         "Claimed=42\r\nSoapBox=Happy New Year<CR><LF>from Uppsala\r\n");
  const std::string capture = (m_directory.Previous() / "cabrillo-dialog.bmp").string();
  Seen seen;
  const auto failures = ExportReset("SM5ABC", seen, [&](Operator& op) {
    RedrawWindow(op.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(200);
    op.Capture(capture);
    op.PressButton(IDCANCEL);
  });
  ASSERT_TRUE(failures.empty()) << failures.front();
  EXPECT_TRUE(std::filesystem::exists(capture));
}

}  // namespace
