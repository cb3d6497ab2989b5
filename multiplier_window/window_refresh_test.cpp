#include "multiplier_window/window_refresh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_test_support.h"
#include "engine/tables.h"
#include "frame/module_objects.h"
#include "frame/seams.h"
#include "multiplier_window/window_state.h"
#include "platform/module_lock.h"

namespace {

using engine_test::Add;
using engine_test::Qso;

const std::vector<std::string> kModeCommands = {"<MODE:RTTY>", "<BAUDRATE:45.45>"};

// The host's automation object as the window sees it through the link. Like the real link,
// it answers and accepts nothing until a connection was made.
class FakeHost final : public HostLink {
 public:
  bool Connect() override {
    ++connects;
    connected = running;
    return connected;
  }
  void Disconnect() override { ++disconnects; }
  void SendCommand(const std::string& command) override {
    if (connected) commands.push_back(command);
  }
  std::optional<double> GetFrequency() override { return connected ? frequency : std::nullopt; }
  std::optional<std::string> GetEnteredCall() override { return connected ? call : std::nullopt; }

  bool running = true;
  bool connected = false;
  std::optional<double> frequency = 14080000.0;
  std::optional<std::string> call = "";
  std::vector<std::string> commands;
  int connects = 0;
  int disconnects = 0;
};

void ResetWindowState() {
  g_bWindowLinkReady = 0;
  g_windowBandNames.clear();
  g_strEnteredCall.clear();
  g_nCurrentBand = -1;
  g_dLastSp1Frequency = 0.0;
}

// Each test starts as a fresh load after a contest reset of 1 January 2013.
class WindowRefreshTest : public engine_test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ResetWindowState();
    const ModuleLockGuard lock(g_moduleLock);
    g_strContestYear = "2013";
    for (int k = 0; k < kContestBandCount; ++k) {
      g_bandCallRows[k] = {std::string(kContestBands[k]), "-", "-", "-", "-"};
    }
  }
  void TearDown() override {
    ResetWindowState();
    {
      const ModuleLockGuard lock(g_moduleLock);
      g_strContestYear.clear();
      g_bandCallRows = {};
    }
    EngineTest::TearDown();
  }

  static BandTextLists Rows() {
    const ModuleLockGuard lock(g_moduleLock);
    return g_bandCallRows;
  }

  FakeHost m_host;
};

TEST(BandIndexOfFrequency, WholeMegahertzTruncatedTowardZero) {
  struct Case {
    double hz;
    int band;
  };
  // clang-format off
  const Case kCases[] = {
      {14080000, 3},   {3999999, 1},    {29000000, -1},  {10100000, -1}, {1800000, 0},
      {1999999.9, 0},  {7000000, 2},    {21450000, 4},   {28000000, 5},  {28999999, 5},
      {999999, -1},    {0, -1},         {-1500000, -1},  {-14080000, -1}, {1e300, -1},
      {std::numeric_limits<double>::infinity(), -1},
      {std::numeric_limits<double>::quiet_NaN(), -1},
  };
  // clang-format on
  for (const Case& c : kCases) EXPECT_EQ(BandIndexOfFrequency(c.hz), c.band) << c.hz;
}

TEST_F(WindowRefreshTest, LinksOnTheFirstRefreshAndSendsTheModeCommandsOncePerLoad) {
  {
    WindowRefresh first(m_host);
    first.Run();
    EXPECT_EQ(m_host.connects, 1);
    EXPECT_EQ(g_bWindowLinkReady, 1);
    EXPECT_EQ(g_windowBandNames,
              (std::vector<std::string>{"160m", "80m", "40m", "20m", "15m", "10m"}));
    EXPECT_EQ(m_host.commands,
              (std::vector<std::string>{"<MODE:RTTY>", "<BAUDRATE:45.45>", "<SP1>"}));
    first.Run();
    EXPECT_EQ(m_host.connects, 1);
    EXPECT_EQ(m_host.disconnects, 0);
    first.Finish();
    first.Finish();
    EXPECT_EQ(m_host.disconnects, 1);
  }
  // A later window of the same load connects on its own thread but sends nothing again.
  m_host.commands.clear();
  WindowRefresh second(m_host);
  second.Run();
  EXPECT_EQ(m_host.connects, 2);
  EXPECT_TRUE(m_host.commands.empty());
  second.Finish();
  EXPECT_EQ(m_host.disconnects, 2);
}

TEST_F(WindowRefreshTest, AWindowThatNeverRefreshedHasNothingToFinish) {
  WindowRefresh refresh(m_host);
  refresh.Finish();
  EXPECT_EQ(m_host.connects, 0);
  EXPECT_EQ(m_host.disconnects, 0);
}

TEST_F(WindowRefreshTest, Sp1WhenTheHostMovedMoreThan300HzSinceItWasLastSent) {
  struct Step {
    double hz;
    bool sp1;
  };
  // clang-format off
  const Step kSteps[] = {
      {14080300, false}, {14080301, true},
      {14080001, false},  // 300 Hz below the last sending
      {14080000, true},   // 301 Hz below it
      {7050000, true},
  };
  // clang-format on
  WindowRefresh refresh(m_host);
  refresh.Run();
  m_host.commands.erase(m_host.commands.begin(), m_host.commands.begin() + 2);
  ASSERT_EQ(m_host.commands, (std::vector<std::string>{"<SP1>"}));
  m_host.commands.clear();
  for (const Step& step : kSteps) {
    m_host.frequency = step.hz;
    refresh.Run();
    EXPECT_EQ(m_host.commands.size(), step.sp1 ? 1u : 0u) << step.hz;
    if (step.sp1) {
      EXPECT_EQ(g_dLastSp1Frequency, step.hz) << step.hz;
    }
    m_host.commands.clear();
  }
}

TEST_F(WindowRefreshTest, AFirstFrequencyWithin300HzOfZeroSendsNoSp1) {
  m_host.frequency = 300.0;
  WindowRefresh refresh(m_host);
  refresh.Run();
  EXPECT_EQ(m_host.commands, kModeCommands);
  EXPECT_EQ(g_dLastSp1Frequency, 0.0);
}

TEST_F(WindowRefreshTest, TitleNamesTheTypedCallOrTheBandWithTheYear) {
  struct Case {
    const char* call;
    double hz;
    const char* title;
    int band;
  };
  const Case kCases[] = {
      {"", 7050000, "SKOLP-NY-RTTY 2013  DXCC worked on 40m", 2},
      {"", 10100000, "SKOLP-NY-RTTY 2013  DXCC worked on ", -1},
      {"", 1810000, "SKOLP-NY-RTTY 2013  DXCC worked on 160m", 0},
      {"SM5ABC", 7050000, "SKOLP-NY-RTTY worked with SM5ABC", 2},
      {"SM5ABC", 10100000, "SKOLP-NY-RTTY worked with SM5ABC", -1},
  };
  WindowRefresh refresh(m_host);
  for (const Case& c : kCases) {
    m_host.call = c.call;
    m_host.frequency = c.hz;
    EXPECT_EQ(refresh.Run(), c.title) << c.call << " " << c.hz;
    EXPECT_EQ(g_nCurrentBand, c.band) << c.call << " " << c.hz;
    EXPECT_EQ(g_strEnteredCall, c.call);
  }
}

TEST_F(WindowRefreshTest, BandRowsShowTheLastQsoWithTheTypedCallPerBand) {
  Qso early;
  early.call = "SM5ABC";
  early.band = "20m";
  early.continent = "AS";
  early.time = COleDateTime::FromParts(2013, 1, 1, 8, 15);
  Qso late = early;
  late.continent = "EU";
  late.time = COleDateTime::FromParts(2013, 1, 1, 9, 30);
  Qso on40 = early;
  on40.band = "40m";
  on40.time = COleDateTime::FromParts(2013, 1, 1, 23, 5);
  Qso otherCase = early;
  otherCase.call = "sm5abc";
  otherCase.band = "80m";
  Qso offBand = early;
  offBand.band = "30m";
  Qso otherCall = early;
  otherCall.call = "OH2ABC";
  otherCall.band = "15m";
  for (const Qso& q : {early, late, on40, otherCase, offBand, otherCall}) ASSERT_EQ(Add(q), 1);

  m_host.call = "SM5ABC";
  WindowRefresh refresh(m_host);
  refresh.Run();
  const std::vector<std::string> empty = {"   -", "   -", "   -", "   -"};
  auto row = [](const char* band, std::vector<std::string> cells) {
    cells.insert(cells.begin(), band);
    return cells;
  };
  // clang-format off
  BandTextLists expected = {
      row("160m", empty), row("80m", empty),
      row("40m", {"RTTY", "23:05", "AS", "   -"}),
      row("20m", {"RTTY", "09:30", "EU", "   -"}),
      row("15m", empty), row("10m", empty)};
  // clang-format on
  EXPECT_EQ(Rows(), expected);

  // The next refresh starts from "   -" again: nothing of the last call stays.
  m_host.call = "";
  refresh.Run();
  expected[2] = row("40m", empty);
  expected[3] = row("20m", empty);
  EXPECT_EQ(Rows(), expected);
}

TEST_F(WindowRefreshTest, RowsWithoutTheirCellsGetThem) {
  {
    const ModuleLockGuard lock(g_moduleLock);
    g_bandCallRows = {};
    g_bandCallRows[4] = {"15m", "RTTY"};
  }
  WindowRefresh refresh(m_host);
  refresh.Run();
  const BandTextLists rows = Rows();
  for (int k = 0; k < kContestBandCount; ++k) {
    EXPECT_EQ(rows[k], (std::vector<std::string>{std::string(kContestBands[k]), "   -", "   -",
                                                 "   -", "   -"}))
        << k;
  }
}

TEST_F(WindowRefreshTest, WithoutAHostTheCallIsEmptyNoBandIsCurrentAndNoRetry) {
  m_host.running = false;
  m_host.call = "SM5ABC";
  g_strEnteredCall = "left over";
  g_nCurrentBand = 3;
  WindowRefresh refresh(m_host);
  EXPECT_EQ(refresh.Run(), "SKOLP-NY-RTTY 2013  DXCC worked on ");
  EXPECT_EQ(g_strEnteredCall, "");
  EXPECT_EQ(g_nCurrentBand, -1);
  EXPECT_EQ(g_bWindowLinkReady, 1);
  m_host.running = true;
  refresh.Run();
  EXPECT_EQ(m_host.connects, 1);
  EXPECT_TRUE(m_host.commands.empty());
  EXPECT_EQ(g_dLastSp1Frequency, 0.0);
}

TEST_F(WindowRefreshTest, AHostThatStopsAnsweringLeavesNoCallAndNoBand) {
  WindowRefresh refresh(m_host);
  m_host.call = "SM5ABC";
  refresh.Run();
  ASSERT_EQ(g_nCurrentBand, 3);
  m_host.call = std::nullopt;
  m_host.frequency = std::nullopt;
  EXPECT_EQ(refresh.Run(), "SKOLP-NY-RTTY 2013  DXCC worked on ");
  EXPECT_EQ(g_strEnteredCall, "");
  EXPECT_EQ(g_nCurrentBand, -1);
  EXPECT_EQ(g_dLastSp1Frequency, 14080000.0);
}

}  // namespace
