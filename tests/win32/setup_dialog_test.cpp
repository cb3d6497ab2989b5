// SetupSet0 of the real Stats.dll under Wine, with a second thread playing the operator: it
// finds the dialog by its caption, reads and fills its controls, and closes it with OK, the
// close box or Esc. Each test runs in a fresh current directory with a Plugins folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/test_work_directory.h"

namespace {

const char kSettingsPath[] = "Plugins/SKOLP-NY.ini";
const wchar_t kCaption[] = L"Setup SKOLP-NY-RTTY";
constexpr int kCheckBox = 1015, kEdit = 1000;

class Library {
 public:
  explicit Library(const char* name) : m_module(LoadLibraryA(name)) {}
  ~Library() {
    if (m_module != nullptr) FreeLibrary(m_module);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  HMODULE get() const { return m_module; }

 private:
  HMODULE m_module;
};

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

HWND WaitForDialog() {
  for (int i = 0; i < 500; ++i) {
    if (HWND dialog = FindWindowW(L"#32770", kCaption)) return dialog;
    Sleep(10);
  }
  return nullptr;
}

// What the operator saw when the dialog opened.
struct Seen {
  bool shown = false;
  bool checked = false;
  std::wstring name;
  std::wstring okCaption;
  std::wstring checkBoxText;
};

enum class Close { kOk, kCloseBox, kEscape };

// Writes a 24-bit BMP of the dialog, frame included.
void CaptureWindow(HWND window, const char* path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC windowDc = GetWindowDC(window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memoryDc, bitmap);
  BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + stride * height;
  if (FILE* out = std::fopen(path, "wb")) {
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
    std::fwrite(bits, stride * height, 1, out);
    std::fclose(out);
  }
  SelectObject(memoryDc, previous);
  DeleteObject(bitmap);
  DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
}

class SetupDialogUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory("Plugins");
    ASSERT_NE(m_library.get(), nullptr);
    m_setupSet0 = reinterpret_cast<void(__cdecl*)()>(GetProcAddress(m_library.get(), "SetupSet0"));
    ASSERT_NE(m_setupSet0, nullptr);
  }

  // Runs SetupSet0 while the operator looks at the dialog, optionally ticks the check box and
  // types a name, and closes it as told.
  Seen RunSetup(bool tick, const std::wstring* type, Close close, const char* capture = nullptr) {
    Seen seen;
    std::thread operatorThread([&] {
      HWND dialog = WaitForDialog();
      if (dialog == nullptr) return;
      seen.shown = true;
      Sleep(50);
      seen.checked = SendDlgItemMessageW(dialog, kCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
      seen.name = TextOf(GetDlgItem(dialog, kEdit));
      seen.okCaption = TextOf(GetDlgItem(dialog, IDOK));
      seen.checkBoxText = TextOf(GetDlgItem(dialog, kCheckBox));
      if (tick) SendDlgItemMessageW(dialog, kCheckBox, BM_CLICK, 0, 0);
      if (type) SetWindowTextW(GetDlgItem(dialog, kEdit), type->c_str());
      if (capture) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(200);
        CaptureWindow(dialog, capture);
      }
      switch (close) {
        case Close::kOk:
          SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
          break;
        case Close::kCloseBox:
          PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
          break;
        case Close::kEscape:
          PostMessageW(GetDlgItem(dialog, kEdit), WM_KEYDOWN, VK_ESCAPE, 0);
          break;
      }
    });
    m_setupSet0();
    operatorThread.join();
    return seen;
  }

  TestWorkDirectory m_directory;
  Library m_library{"Stats.dll"};
  void(__cdecl* m_setupSet0)() = nullptr;
};

TEST_F(SetupDialogUnderWine, ShowsTheTemplatesTexts) {
  const Seen seen = RunSetup(false, nullptr, Close::kCloseBox);
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.okCaption, L"\x041E\x041A");
  EXPECT_EQ(seen.checkBoxText, L"  Use window Multiplier");
}

TEST_F(SetupDialogUnderWine, TickTypeAndOkWriteBothKeysCreatingTheFile) {
  const std::wstring name = L"Olle";
  const Seen seen = RunSetup(true, &name, Close::kOk);
  ASSERT_TRUE(seen.shown);
  EXPECT_FALSE(seen.checked);
  EXPECT_EQ(seen.name, L"");
  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath),
            "[Settings]\r\nMultiplier=1\r\nMyName=Olle\r\n");
}

TEST_F(SetupDialogUnderWine, CloseBoxAndEscapeWriteNothingAfterTheReload) {
  // LF line ends: any rewrite of the file would show as CR LF.
  const std::string before = "[Settings]\nMultiplier=1\nMyName=Olle\n";
  const std::wstring typed = L"Somebody else";
  for (Close close : {Close::kCloseBox, Close::kEscape}) {
    TestWorkDirectory::Put(kSettingsPath, before);
    const Seen seen = RunSetup(true, &typed, close);
    const int how = static_cast<int>(close);
    ASSERT_TRUE(seen.shown) << how;
    EXPECT_TRUE(seen.checked) << how;
    EXPECT_EQ(seen.name, L"Olle") << how;
    EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath), before) << how;
  }
}

TEST_F(SetupDialogUnderWine, KeepsTheNameAsTypedUpTo99Characters) {
  struct Case {
    std::wstring typed;
    std::wstring readBack;
    const char* file;
  };
  const std::wstring n150 = std::wstring(100, L'n') + std::wstring(50, L'm');
  const std::string n150File = std::string(100, 'n') + std::string(50, 'm');
  const Case kCases[] = {
      {L"  Olle  ", L"  Olle  ", "[Settings]\r\nMultiplier=0\r\nMyName=\"  Olle  \"\r\n"},
      {L"", L"", "[Settings]\r\nMultiplier=0\r\nMyName=\r\n"},
      {n150, n150.substr(0, 99), nullptr},
  };
  for (const Case& c : kCases) {
    std::filesystem::remove(kSettingsPath);
    ASSERT_TRUE(RunSetup(false, &c.typed, Close::kOk).shown);
    const std::string expected =
        c.file ? c.file : "[Settings]\r\nMultiplier=0\r\nMyName=" + n150File + "\r\n";
    EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath), expected) << c.typed.size();
    const Seen again = RunSetup(false, nullptr, Close::kCloseBox);
    EXPECT_EQ(again.name, c.readBack) << c.typed.size();
  }
}

TEST_F(SetupDialogUnderWine, Screenshot) {
  TestWorkDirectory::Put(kSettingsPath, "[Settings]\r\nMultiplier=1\r\nMyName=Olle\r\n");
  const std::string capture = (m_directory.Previous() / "setup-dialog.bmp").string();
  ASSERT_TRUE(RunSetup(false, nullptr, Close::kCloseBox, capture.c_str()).shown);
  EXPECT_TRUE(std::filesystem::exists(capture));
}

}  // namespace
