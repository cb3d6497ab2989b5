// The operator helpers against real windows of this process: a message box like the module's
// "Output" box, and a dialog with the kinds of controls the module's dialogs have.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "operator.h"

namespace {

constexpr DWORD kFinishMs = 15000;
constexpr int kCallEdit = 1001;
constexpr int kAssistedCheck = 1002;
constexpr int kCategoryCombo = 1003;
constexpr char kDialogCaption[] = "Operator test";

// An in-memory dialog template: a caption, a font and a list of controls (dialog units).
class DialogTemplate {
 public:
  DialogTemplate(const wchar_t* caption, short width, short height) {
    Align(4);
    Put(DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT});
    Put(DWORD{0});
    m_countAt = m_words.size();
    Put(WORD{0});
    Put(short{10}), Put(short{10}), Put(width), Put(height);
    Put(WORD{0}), Put(WORD{0});  // no menu, default class
    PutText(caption);
    Put(WORD{8});
    PutText(L"MS Shell Dlg");
  }

  void Add(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id,
           const wchar_t* text) {
    Align(4);
    Put(DWORD{style | WS_CHILD | WS_VISIBLE}), Put(DWORD{0});
    Put(x), Put(y), Put(cx), Put(cy);
    Put(id);
    Put(WORD{0xffff}), Put(atom);
    PutText(text);
    Put(WORD{0});
    ++m_words[m_countAt];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

 private:
  void Put(WORD value) { m_words.push_back(value); }
  void Put(short value) { m_words.push_back(static_cast<WORD>(value)); }
  void Put(DWORD value) {
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
  }
  void PutText(const wchar_t* text) {
    for (; *text != 0; ++text) m_words.push_back(static_cast<WORD>(*text));
    m_words.push_back(0);
  }
  void Align(std::size_t bytes) {
    while ((m_words.size() * sizeof(WORD)) % bytes != 0) m_words.push_back(0);
  }

  std::vector<WORD> m_words;
  std::size_t m_countAt = 0;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kCombo = 0x0085;

// What the dialog held when OK was pressed.
struct Entered {
  std::string call;
  bool assisted = false;
  std::string category;
};

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      for (const char* entry : {"SINGLE-OP", "MULTI-OP", "CHECKLOG"}) {
        SendDlgItemMessageA(dialog, kCategoryCombo, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(entry));
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* entered = reinterpret_cast<Entered*>(GetWindowLongPtrA(dialog, DWLP_USER));
        char text[64] = {};
        GetDlgItemTextA(dialog, kCallEdit, text, sizeof text);
        entered->call = text;
        entered->assisted = IsDlgButtonChecked(dialog, kAssistedCheck) == BST_CHECKED;
        GetDlgItemTextA(dialog, kCategoryCombo, text, sizeof text);
        entered->category = text;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// Runs the test dialog modally on this thread; returns how it ended.
INT_PTR RunTestDialog(Entered& entered) {
  DialogTemplate dialog(L"Operator test", 200, 90);
  dialog.Add(kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 10, 100, 12, kCallEdit, L"");
  dialog.Add(kButton, BS_AUTOCHECKBOX | WS_TABSTOP, 10, 28, 100, 10, kAssistedCheck, L"Assisted");
  dialog.Add(kCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 44, 100, 60, kCategoryCombo,
             L"");
  dialog.Add(kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 70, 50, 14, IDOK, L"OK");
  dialog.Add(kButton, BS_PUSHBUTTON | WS_TABSTOP, 100, 70, 50, 14, IDCANCEL, L"Cancel");
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr, TestDialogProc,
                                 reinterpret_cast<LPARAM>(&entered));
}

struct Bmp {
  bool ok = false;
  int32_t width = 0, height = 0;
  uint16_t bitsPerPixel = 0;
  std::set<uint32_t> colours;
};

Bmp ReadBmp(const std::string& path) {
  Bmp bmp;
  std::ifstream file(path, std::ios::binary);
  BITMAPFILEHEADER header{};
  BITMAPINFOHEADER info{};
  file.read(reinterpret_cast<char*>(&header), sizeof header);
  file.read(reinterpret_cast<char*>(&info), sizeof info);
  if (!file || header.bfType != 0x4d42) return bmp;
  bmp.width = info.biWidth;
  bmp.height = info.biHeight;
  bmp.bitsPerPixel = info.biBitCount;
  const std::size_t stride = (static_cast<std::size_t>(info.biWidth) * 3 + 3) & ~std::size_t{3};
  std::vector<unsigned char> row(stride);
  for (int32_t y = 0; y < info.biHeight && file.read(reinterpret_cast<char*>(row.data()), stride);
       ++y) {
    for (int32_t x = 0; x < info.biWidth; ++x) {
      const unsigned char* p = &row[static_cast<std::size_t>(x) * 3];
      bmp.colours.insert(p[0] | (p[1] << 8) | (p[2] << 16));
    }
  }
  bmp.ok = static_cast<bool>(file) || file.eof();
  return bmp;
}

TEST(OperatorTest, AnswersAMessageBoxAndCapturesIt) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string bmpPath = std::string(temp) + "operator_test_output.bmp";
  RECT frame{};
  OperatorThread person([&](Operator& op) {
    if (!op.WaitForWindow("Output")) return;
    GetWindowRect(op.Window(), &frame);
    op.Capture(bmpPath);
    op.PressButton(IDOK);
    op.WaitUntilClosed();
  });
  EXPECT_EQ(MessageBoxA(nullptr, "File produced: SM5ABC.cbr", "Output", MB_OK), IDOK);
  ASSERT_TRUE(person.FinishPumping(kFinishMs));
  EXPECT_TRUE(person.Failures().empty()) << person.Failures().front();

  const Bmp bmp = ReadBmp(bmpPath);
  DeleteFileA(bmpPath.c_str());
  ASSERT_TRUE(bmp.ok);
  EXPECT_EQ(bmp.bitsPerPixel, 24);
  EXPECT_EQ(bmp.width, frame.right - frame.left);
  EXPECT_EQ(bmp.height, frame.bottom - frame.top);
  // A frame, a face, text and a button: a blank or unpainted capture has one or two colours.
  EXPECT_GE(bmp.colours.size(), 3u);
}

TEST(OperatorTest, FillsADialogAndPressesOk) {
  std::string typed;
  OperatorThread person([&](Operator& op) {
    if (!op.WaitForWindow(kDialogCaption)) return;
    op.SetText(kCallEdit, "SM5ABC");
    op.SetCheck(kAssistedCheck, true);
    op.SelectComboText(kCategoryCombo, "multi");
    typed = op.GetText(kCallEdit);
    op.PressButton(IDOK);
    op.WaitUntilClosed();
  });
  Entered entered;
  EXPECT_EQ(RunTestDialog(entered), IDOK);
  ASSERT_TRUE(person.FinishPumping(kFinishMs));
  EXPECT_TRUE(person.Failures().empty()) << person.Failures().front();
  EXPECT_EQ(typed, "SM5ABC");
  EXPECT_EQ(entered.call, "SM5ABC");
  EXPECT_TRUE(entered.assisted);
  EXPECT_EQ(entered.category, "MULTI-OP");
}

TEST(OperatorTest, CloseBoxAndEscapeCancelADialog) {
  struct Case {
    const char* what;
    bool (Operator::*action)();
  };
  for (const Case c : {Case{"close box", &Operator::Close}, Case{"Esc", &Operator::PressEscape}}) {
    OperatorThread person([&](Operator& op) {
      if (!op.WaitForWindow(kDialogCaption)) return;
      op.SetText(kCallEdit, "DL1ABC");
      (op.*c.action)();
      op.WaitUntilClosed();
    });
    Entered entered;
    EXPECT_EQ(RunTestDialog(entered), IDCANCEL) << c.what;
    ASSERT_TRUE(person.FinishPumping(kFinishMs)) << c.what;
    EXPECT_TRUE(person.Failures().empty()) << c.what;
    EXPECT_EQ(entered.call, "") << c.what;
  }
}

TEST(OperatorTest, ReportsWhatItCannotDo) {
  std::vector<bool> done;
  OperatorThread person([&](Operator& op) {
    done.push_back(op.WaitForWindow("No such window", 200));
    done.push_back(op.WaitForWindow(kDialogCaption));
    done.push_back(op.SetText(4242, "SM5ABC"));
    done.push_back(op.SelectComboText(kCategoryCombo, "QRP"));
    done.push_back(op.PressButton(IDCANCEL));
  });
  Entered entered;
  EXPECT_EQ(RunTestDialog(entered), IDCANCEL);
  ASSERT_TRUE(person.FinishPumping(kFinishMs));
  EXPECT_EQ(done, (std::vector<bool>{false, true, false, false, true}));
  EXPECT_EQ(person.Failures().size(), 3u);
}

}  // namespace
