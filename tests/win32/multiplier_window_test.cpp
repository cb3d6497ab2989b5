// The Multiplier window of the real Stats.dll under Wine, with this thread playing the host:
// it offers the simulated automation object (scripted frequency and typed call, recorded
// commands), loads the module with LoadLibrary, calls its entry points and pumps its messages
// the way the host's thread does. The window's thread is the module's own.
//
// Each test runs in a fresh current directory whose settings file switches the window on.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "automation_host.h"
#include "message_pump.h"
#include "operator.h"
#include "platform/test_work_directory.h"
#include "stats_module.h"

namespace {

const char kSettingsPath[] = "Plugins/SKOLP-NY.ini";
const char kSettingsOn[] = "[Settings]\r\nMultiplier=1\r\n";
const std::vector<std::string> kModeCommands = {"<MODE:RTTY>", "<BAUDRATE:45.45>"};
constexpr int kGridId = 1016;
constexpr DWORD kWaitMs = 5000;

struct Rgb {
  std::uint8_t red, green, blue;
  bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "RGB(" << int(c.red) << ", " << int(c.green) << ", " << int(c.blue) << ")";
}
constexpr Rgb kMultiplierViewColor{255, 250, 198};
constexpr Rgb kCallViewColor{255, 255, 198};
constexpr Rgb kCurrentBandColor{198, 255, 255};

std::string Caption(HWND window) {
  wchar_t wide[512];
  const int length = InternalGetWindowText(window, wide, 512);
  std::string caption;
  for (int i = 0; i < length; ++i) caption += static_cast<char>(wide[i]);
  return caption;
}

// The module's Multiplier windows: dialogs of this process whose one control is the grid.
std::vector<HWND> MultiplierWindows() {
  std::vector<HWND> found;
  for (const TopLevelWindow& window : ProcessTopLevelWindows(/*visibleOnly=*/true)) {
    HWND grid = GetDlgItem(window.window, kGridId);
    if (grid == nullptr) continue;
    if ((GetWindowLongW(grid, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW) continue;
    found.push_back(window.window);
  }
  return found;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// What the screen shows of a window's client area, read back pixel by pixel.
class ClientPixels {
 public:
  explicit ClientPixels(HWND window) {
    GetClientRect(window, &m_client);
    const int width = m_client.right, height = m_client.bottom;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const std::uint32_t*>(bits);
    m_pixels.assign(words, words + static_cast<std::size_t>(width) * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
  }

  int Width() const { return m_client.right; }
  int Height() const { return m_client.bottom; }
  Rgb At(int x, int y) const {
    const std::uint32_t word = m_pixels[static_cast<std::size_t>(y) * Width() + x];
    return {static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
            static_cast<std::uint8_t>(word)};
  }
  // Pixels of the rectangle that are none of the view's fill colours: drawn text.
  int InkIn(int left, int top, int right, int bottom) const {
    int ink = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, Height()); ++y) {
      for (int x = std::max(left, 0); x < std::min(right, Width()); ++x) {
        const Rgb c = At(x, y);
        if (c != kMultiplierViewColor && c != kCallViewColor && c != kCurrentBandColor) ++ink;
      }
    }
    return ink;
  }

 private:
  RECT m_client{};
  std::vector<std::uint32_t> m_pixels;
};

class MultiplierWindowUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(RegisterHostProgId());
    m_host = SimulatedHost::Create();
    m_host->SetFrequency(14080000.0);
    m_host->SetEnteredCall("");
    m_host->SetOnCall([this](DISPID member) {
      if (member == SimulatedHost::kEnteredCall) m_refreshTimes.push_back(GetTickCount64());
    });
    m_running = std::make_unique<RunningHost>(*m_host.get());
    ASSERT_TRUE(m_running->IsRunning());
    TestWorkDirectory::Put(kSettingsPath, kSettingsOn);
    Load();
  }

  void TearDown() override {
    Unload();
    m_running.reset();
    m_host.Reset();
    CoUninitialize();
  }

  void Load() {
    m_module = std::make_unique<StatsModule>(ProgramDirectory() + "Stats.dll");
    ASSERT_TRUE(m_module->IsLoaded()) << m_module->Error();
  }

  // FreeLibrary, as the host unloads a module; how long it took.
  ULONGLONG Unload() {
    const ULONGLONG start = GetTickCount64();
    m_module.reset();
    const ULONGLONG took = GetTickCount64() - start;
    // The window's thread may still be on its way out.
    PumpFor(30);
    return took;
  }

  void Reset() {
    COleDateTime start = COleDateTime::FromParts(2013, 1, 1);
    COleDateTime end = COleDateTime::FromParts(2013, 1, 2);
    m_module->ResetStats0("x", 0, "SM5XYZ", &start, &end, "ANNA", "", "", "", "", "", "", "", "",
                          "", 0, 0, 0, 0.0, 0.0, "", "", "");
  }

  int Add(const char* call, const char* band, int hour, int minute, const char* prefix = "SM",
          const char* continent = "EU") {
    COleDateTime time = COleDateTime::FromParts(2013, 1, 1, hour, minute);
    COleDateTime junk;
    return m_module->AddData0("SM5XYZ", call, &time, &junk, &junk, &junk, 0, 14080000, "RTTY",
                              "599", "599", "001", "017 OLLE", "", "", "", "", "", "", "", "", call,
                              prefix, 0, 0, 0, 0.0, 0.0, "", continent, "", band, "");
  }

  void CheckCall(const char* call = "SM5ABC", const char* band = "20m") {
    char previous[100] = {};
    m_module->CheckCall0(call, 0, 0, "RTTY", "", "", "", "", "", "", "", "", call, "SM", 0, 0, 0,
                         0.0, 0.0, "", "", "", "", "", band, nullptr, previous, nullptr);
  }

  // Waits, pumping, until exactly one Multiplier window is shown; null when none came.
  HWND WaitForWindow() {
    HWND found = nullptr;
    PumpUntil(
        [&] {
          const std::vector<HWND> windows = MultiplierWindows();
          found = windows.size() == 1 ? windows[0] : nullptr;
          return found != nullptr;
        },
        kWaitMs);
    return found;
  }

  // Waits, pumping, until no Multiplier window is shown, and then pumps on for a while as a
  // host does: the window's thread, on its way out, may still wait for this thread's answer
  // (activation moving away from the closed window), and its window runs until it is out.
  bool WaitUntilNoWindow() {
    const bool gone = PumpUntil([] { return MultiplierWindows().empty(); }, kWaitMs);
    PumpFor(200);
    return gone;
  }

  // Waits, pumping, for the refresh after the ones seen so far; false when none came.
  bool WaitForRefresh() {
    const std::size_t seen = m_refreshTimes.size();
    const bool came = PumpUntil([&] { return m_refreshTimes.size() > seen; }, kWaitMs);
    // Let the refresh finish its calls and its painting.
    PumpFor(100);
    return came;
  }

  // One refresh with the host scripted as given, the window's caption after it.
  std::string RefreshWith(HWND window, const std::string& call, double hz) {
    m_host->SetEnteredCall(call);
    m_host->SetFrequency(hz);
    CheckCall();
    EXPECT_TRUE(WaitForRefresh()) << call << " " << hz;
    return Caption(window);
  }

  static std::string Settings() { return TestWorkDirectory::Bytes(kSettingsPath).value_or(""); }
  static std::string StartKey() {
    char value[16] = {};
    GetPrivateProfileStringA("Settings", "Start", "absent", value, sizeof value,
                             ".\\Plugins\\SKOLP-NY.ini");
    return value;
  }

  // Moves the mouse cursor over the middle of `window`, through another point first so that
  // the system sees it move.
  void HoverOver(HWND window) {
    const RECT rect = WindowRect(window);
    const int left = std::max(rect.left, 0L);
    const int x = left + (rect.right - left) / 2;
    SetCursorPos(x + 20, rect.top + 40);
    PumpFor(50);
    SetCursorPos(x, rect.top + 40);
    PumpFor(150);
  }

  static void Move(HWND window, int x, int y) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  TestWorkDirectory m_directory;
  ComPtr<SimulatedHost> m_host;
  std::unique_ptr<RunningHost> m_running;
  std::unique_ptr<StatsModule> m_module;
  std::vector<ULONGLONG> m_refreshTimes;
};

TEST_F(MultiplierWindowUnderWine, OpensOnItsOwnThreadFromTemplate105) {
  Reset();
  HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_NE(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  for (const LONG bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX,
                         WS_CLIPCHILDREN, WS_CLIPSIBLINGS}) {
    EXPECT_EQ(style & bit, bit) << std::hex << bit;
  }
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
  wchar_t text[32] = {};
  GetWindowTextW(GetDlgItem(window, kGridId), text, 32);
  EXPECT_STREQ(text, L"Button2");
  // With no position stored the window opens at (10, 400).
  const RECT rect = WindowRect(window);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 400);
  ASSERT_TRUE(WaitForRefresh());
  EXPECT_EQ(Caption(window), "SKOLP-NY-RTTY 2013  DXCC worked on 20m");
}

TEST_F(MultiplierWindowUnderWine, TheStartToggleOpensTheWindowOnlyFromAResetThatFindsStartZero) {
  struct Step {
    const char* action;  // "reset", "close box", "escape"
    bool windowAfter;
    const char* startAfter;
  };
  // clang-format off
  const Step kSteps[] = {
      {"reset", true, "1"},  {"reset", true, "0"},  {"reset", true, "0"},
      {"close box", false, "0"},
      {"checkcall", false, "0"},
      {"reset", true, "1"},  {"escape", false, "1"},
      {"reset", false, "0"}, {"reset", true, "1"},
  };
  // clang-format on
  int index = 0;
  for (const Step& step : kSteps) {
    const std::string action = step.action;
    if (action == "reset") {
      Reset();
    } else if (action == "checkcall") {
      // A closed window is not brought back by the call check: no refresh asks the host.
      const std::size_t refreshes = m_refreshTimes.size();
      CheckCall();
      PumpFor(600);
      EXPECT_EQ(m_refreshTimes.size(), refreshes);
    } else {
      HWND window = WaitForWindow();
      ASSERT_NE(window, nullptr) << action;
      // After the first refresh the caption stays as it is while nobody checks a call.
      if (m_refreshTimes.empty()) {
        ASSERT_TRUE(WaitForRefresh()) << action;
      }
      PumpFor(400);
      Operator person;
      ASSERT_TRUE(person.WaitForWindow(Caption(window)));
      if (action == "close box") {
        person.Close();
      } else {
        SetForegroundWindow(window);
        person.PressEscape();
      }
      EXPECT_TRUE(WaitUntilNoWindow()) << action;
    }
    if (step.windowAfter) {
      EXPECT_NE(WaitForWindow(), nullptr) << "step " << index << ": " << action;
    } else {
      PumpFor(300);
      EXPECT_TRUE(MultiplierWindows().empty()) << "step " << index << ": " << action;
    }
    EXPECT_EQ(StartKey(), step.startAfter) << "step " << index << ": " << action;
    ++index;
  }
}

TEST_F(MultiplierWindowUnderWine, ABurstOfCallChecksGivesOneRefresh300msAfterTheLast) {
  Reset();
  ASSERT_NE(WaitForWindow(), nullptr);
  ASSERT_TRUE(WaitForRefresh());
  PumpFor(400);
  m_refreshTimes.clear();
  ULONGLONG last = 0;
  for (int i = 0; i < 3; ++i) {
    CheckCall();
    last = GetTickCount64();
    PumpFor(100);
  }
  PumpFor(800);
  ASSERT_EQ(m_refreshTimes.size(), 1u);
  const ULONGLONG after = m_refreshTimes[0] - last;
  EXPECT_GE(after, 280u);
  EXPECT_LE(after, 450u);
}

TEST_F(MultiplierWindowUnderWine, Sp1GoesToTheHostWhenItMovedMoreThan300Hz) {
  Reset();
  HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForRefresh());
  std::vector<std::string> expected = kModeCommands;
  expected.push_back("<SP1>");
  EXPECT_EQ(m_host->Commands(), expected);
  RefreshWith(window, "", 14080300.0);
  EXPECT_EQ(m_host->Commands(), expected);
  RefreshWith(window, "", 14080301.0);
  expected.push_back("<SP1>");
  EXPECT_EQ(m_host->Commands(), expected);
  EXPECT_EQ(m_host->ProtocolErrors(), 0);
}

TEST_F(MultiplierWindowUnderWine, TheTitleNamesTheTypedCallOrTheBand) {
  struct Case {
    const char* call;
    double hz;
    const char* title;
  };
  const Case kCases[] = {
      {"", 7050000.0, "SKOLP-NY-RTTY 2013  DXCC worked on 40m"},
      {"", 10100000.0, "SKOLP-NY-RTTY 2013  DXCC worked on "},
      {"SM5ABC", 10100000.0, "SKOLP-NY-RTTY worked with SM5ABC"},
      {"SM5ABC", 3999999.0, "SKOLP-NY-RTTY worked with SM5ABC"},
  };
  Reset();
  HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForRefresh());
  for (const Case& c : kCases) {
    EXPECT_EQ(RefreshWith(window, c.call, c.hz), c.title) << c.call << " " << c.hz;
  }
}

TEST_F(MultiplierWindowUnderWine, ASecondWindowOfTheLoadFollowsTheHostWithoutResendingTheModes) {
  Reset();
  HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForRefresh());
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntilNoWindow());
  Reset();  // finds "Start" 1
  Reset();
  window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForRefresh());
  EXPECT_EQ(RefreshWith(window, "OH2ABC", 7050000.0), "SKOLP-NY-RTTY worked with OH2ABC");
  EXPECT_EQ(m_host->Commands(),
            (std::vector<std::string>{"<MODE:RTTY>", "<BAUDRATE:45.45>", "<SP1>", "<SP1>"}));
}

TEST_F(MultiplierWindowUnderWine, ThePositionKeysFollowTheWindowWhenTheCursorIsOverIt) {
  Reset();
  HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  const std::string before = Settings();
  HoverOver(window);
  EXPECT_EQ(Settings(), before) << "nothing moved";

  Move(window, -250, 400);
  HoverOver(window);
  EXPECT_EQ(Settings(), before + "dxcc_x=-250\r\n");
  Move(window, -250, 123);
  HoverOver(window);
  EXPECT_EQ(Settings(), before + "dxcc_x=-250\r\ndxcc_y=123\r\n");

  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntilNoWindow());
  Reset();
  Reset();
  window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowRect(window).left, -250);
  EXPECT_EQ(WindowRect(window).top, 123);

  // A window left at 0 reopens at 10 and 400.
  Move(window, 0, 0);
  HoverOver(window);
  EXPECT_EQ(Settings().find("dxcc_x=0\r\ndxcc_y=0\r\n") != std::string::npos, true) << Settings();
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntilNoWindow());
  Reset();
  Reset();
  window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowRect(window).left, 10);
  EXPECT_EQ(WindowRect(window).top, 400);
}

TEST_F(MultiplierWindowUnderWine, TheGridFillsTheClientAreaLessItsMarginAfterAResize) {
  Reset();
  HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, nullptr, 0, 0, 520, 330, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpFor(100);
  RECT client;
  GetClientRect(window, &client);
  HWND grid = GetDlgItem(window, kGridId);
  RECT rect = WindowRect(grid);
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(rect.top, 1);
  EXPECT_EQ(rect.right - rect.left, client.right - 4);
  EXPECT_EQ(rect.bottom - rect.top, client.bottom - 4);
}

// The two views on the screen, at points the layout fixes; both are also kept as pictures.
// Waits for the result operation: the multiplier view's labels come from the worked-multiplier
// lists that GetResult0 builds, and without them no text is painted.
TEST_F(MultiplierWindowUnderWine, DISABLED_BothViewsPaintTheirColoursWhereTheLayoutPutsThem) {
  Reset();
  struct Worked {
    const char* call;
    const char* prefix;
  };
  // Thirteen multipliers: nine fit the first line, four start the second.
  const Worked kWorked[] = {{"SM5ABC", "SM"}, {"DL1ABC", "DL"}, {"OH2BH", "OH"}, {"9A1A", "9A"},
                            {"LA1A", "LA"},   {"TF3A", "TF"},   {"OZ1A", "OZ"},  {"JW5X", "JW"},
                            {"G3ABC", "G"},   {"F5XYZ", "F"},   {"I2ABC", "I"},  {"SP9X", "SP"},
                            {"HA5A", "HA"}};
  for (const Worked& w : kWorked) ASSERT_EQ(Add(w.call, "20m", 8, 15, w.prefix), 1) << w.call;
  ASSERT_EQ(Add("SM5ABC", "40m", 9, 42), 1);
  m_module->GetResult0(nullptr);
  HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForRefresh());
  HWND grid = GetDlgItem(window, kGridId);

  // No call typed, host on 20 m: the multiplier view.
  RefreshWith(window, "", 14080000.0);
  {
    const ClientPixels pixels(grid);
    const int w = pixels.Width(), h = pixels.Height();
    // Nine labels to a line: the ninth at x 325 and no tenth before the right edge.
    ASSERT_GE(w, 365);
    ASSERT_LT(w, 405);
    EXPECT_EQ(pixels.At(w - 3, h - 3), kMultiplierViewColor);
    EXPECT_EQ(pixels.At(w / 2, h - 3), kMultiplierViewColor);
    EXPECT_GT(pixels.InkIn(325, 0, 360, 14), 0);
    // The second line, 15 pixels lower, holds four labels from x 5: 165 onwards stays empty.
    EXPECT_GT(pixels.InkIn(5, 17, 160, 30), 0);
    EXPECT_EQ(pixels.InkIn(165, 17, w, 30), 0);
    EXPECT_EQ(pixels.InkIn(0, 35, w, h), 0);
  }
  CaptureWindowToBmp(window, (m_directory.Previous() / "multiplier-multipliers.bmp").string());

  // Off the bands: the area stays empty.
  RefreshWith(window, "", 10100000.0);
  {
    const ClientPixels pixels(grid);
    EXPECT_EQ(pixels.InkIn(0, 0, pixels.Width(), pixels.Height()), 0);
    EXPECT_EQ(pixels.At(7, 3), kMultiplierViewColor);
  }

  // A call typed, host on 40 m: the call view with the 40 m row marked.
  RefreshWith(window, "SM5ABC", 7050000.0);
  {
    const ClientPixels pixels(grid);
    const int w = pixels.Width(), row = pixels.Height() / 7;
    ASSERT_GT(row, 10);
    EXPECT_EQ(pixels.At(w - 3, 3 * row + row / 2), kCurrentBandColor);
    EXPECT_EQ(pixels.At(w - 3, 3 * row + 1), kCurrentBandColor);
    EXPECT_EQ(pixels.At(w - 3, 4 * row + 1), kCallViewColor);
    EXPECT_EQ(pixels.At(w - 3, row + row / 2), kCallViewColor);
    EXPECT_EQ(pixels.At(w - 3, 6 * row + row / 2), kCallViewColor);
    // The header and the 20 m and 40 m rows carry text; 160 m has no row.
    EXPECT_GT(pixels.InkIn(20, 18, 60, 18 + row), 0);
    EXPECT_GT(pixels.InkIn(100, 3 * row, 140, 4 * row), 0);
    EXPECT_GT(pixels.InkIn(180, 4 * row, 220, 5 * row), 0);
    EXPECT_EQ(pixels.InkIn(0, 18 + row, w, 2 * row), 0);
  }
  CaptureWindowToBmp(window, (m_directory.Previous() / "multiplier-call.bmp").string());

  // Host on 160 m: the strip right below the header.
  RefreshWith(window, "SM5ABC", 1830000.0);
  {
    const ClientPixels pixels(grid);
    const int w = pixels.Width(), row = pixels.Height() / 7;
    EXPECT_EQ(pixels.At(w - 3, row + row / 2), kCurrentBandColor);
    EXPECT_EQ(pixels.At(w - 3, 3 * row + row / 2), kCallViewColor);
  }
}

// Unloading with the window open, in the states a host can leave it in, 20 times in a row.
TEST_F(MultiplierWindowUnderWine, UnloadClosesTheWindowWhateverItIsDoing20TimesInARow) {
  enum class State { kJustStarted, kIdle, kRefreshPending, kRefreshWaitingForTheHost };
  const State kStates[] = {State::kJustStarted, State::kIdle, State::kRefreshPending,
                           State::kRefreshWaitingForTheHost};
  ULONGLONG longest[4] = {};
  Unload();
  for (int i = 0; i < 20; ++i) {
    const State state = kStates[i % 4];
    TestWorkDirectory::Put(kSettingsPath, kSettingsOn);
    Load();
    Reset();
    if (state != State::kJustStarted) {
      ASSERT_NE(WaitForWindow(), nullptr) << i;
      ASSERT_TRUE(WaitForRefresh()) << i;
    }
    if (state == State::kRefreshPending) CheckCall();
    if (state == State::kRefreshWaitingForTheHost) {
      // The refresh fires while this thread does not pump: it waits for the host's answer.
      const std::size_t refreshes = m_refreshTimes.size();
      CheckCall();
      Sleep(450);
      EXPECT_EQ(m_refreshTimes.size(), refreshes) << i;
    }
    const ULONGLONG took = Unload();
    longest[static_cast<int>(state)] = std::max(longest[static_cast<int>(state)], took);
    EXPECT_LT(took, 1500u) << "round " << i;
    EXPECT_EQ(GetModuleHandleA("Stats.dll"), nullptr) << i;
    EXPECT_TRUE(MultiplierWindows().empty()) << i;
  }
  EXPECT_EQ(m_host->ProtocolErrors(), 0);
  std::printf(
      "longest unload (ms): just started %llu, idle %llu, refresh pending %llu, "
      "refresh waiting for the host %llu\n",
      longest[0], longest[1], longest[2], longest[3]);
}

}  // namespace
