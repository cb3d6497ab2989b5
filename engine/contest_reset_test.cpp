#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cabrillo/cabrillo_dialog.h"
#include "engine/tables.h"
#include "frame/entry_points.h"
#include "frame/module_objects.h"
#include "frame/seams.h"
#include "frame/settings.h"
#include "platform/module_lock.h"
#include "platform/test_work_directory.h"

namespace {

const char kSettingsPath[] = "Plugins/SKOLP-NY.ini";
const char kFreshUbnFile[] = "SKOLP-NY-RTTY UBN file \r\n";
const char kOldUbnFile[] = "line of an earlier run\r\n";

class FakeWindow final : public MultiplierWindowControl {
 public:
  bool IsOpen() override { return open; }
  void Start() override {
    ++starts;
    open = true;
  }
  void RearmTimer() override {}
  void Stop() override { open = false; }

  bool open = false;
  int starts = 0;
};

class FakeUi final : public ModuleUi {
 public:
  bool RunSetupDialog(int&, std::string&) override { return false; }
  bool RunCabrilloDialog(CabrilloDialogValues& values) override {
    // The header step runs before the reset reads the settings: it sees no "Start" of its own.
    startWhenShown = ReadSettingText(kKeyStart, "absent");
    cabrilloCalls.push_back(values.CallSign);
    // Cancelled, so that the header step stores nothing and the file shows the reset's keys.
    return false;
  }

  std::vector<std::string> cabrilloCalls;
  std::string startWhenShown;
};

int Reset(int exportFlag, const char* ownCall = "SM5ABC", const char* operatorName = "Arg6",
          COleDateTime* start = nullptr, COleDateTime* end = nullptr) {
  return ResetStats0("x", exportFlag, ownCall, start, end, operatorName, "", "", "", "", "", "",
                     "", "", "", 0, 0, 0, 0.0, 0.0, "", "", "");
}

class ContestReset : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory("Plugins");
    g_nUseMultiplier = 0;
    g_strMyName.clear();
    g_nStartToggle = 0;
  }
  void TearDown() override {
    g_nUseMultiplier = 0;
    g_strMyName.clear();
    g_nStartToggle = 0;
    g_exportFlag = 0;
  }

  TestWorkDirectory m_directory;
  FakeWindow m_window;
  FakeUi m_ui;
  ScopedSeam<MultiplierWindowControl> m_windowSeam{&Seams::multiplierWindow, m_window};
  ScopedSeam<ModuleUi> m_uiSeam{&Seams::ui, m_ui};
};

// Successive resets: each row is one reset and what it must have done.
struct ResetStep {
  int exportFlag;
  bool windowOpenBefore;  // the operator may have closed the window since the last reset
  bool cabrilloShown;
  bool windowStarted;
  const char* startAfter;  // "Start" in the file afterwards; "absent" when missing
  bool freshUbnFile;       // "err.txt" emptied down to its header line
};

struct Scenario {
  const char* name;
  std::optional<std::string> settings;
  std::vector<ResetStep> resets;
};

TEST_F(ContestReset, TogglesTheWindowStartAndTheUbnFileOverSuccessiveResets) {
  const Scenario kScenarios[] = {
      {"Multiplier on, no Start yet",
       "[Settings]\r\nMultiplier=1\r\n",
       {{0, false, false, true, "1", true},
        {0, true, false, false, "0", true},
        {0, true, false, false, "0", true},  // a window runs: no second one, "Start" kept
        {0, false, false, true, "1", true},
        {0, false, false, false, "0", true}}},
      {"Multiplier on, export run",
       "[Settings]\r\nMultiplier=1\r\nStart=0\r\n",
       {{1, false, true, false, "0", true},
        {0, false, false, true, "1", true},
        {1, true, true, false, "0", true}}},
      {"Multiplier off",
       "[Settings]\r\nMultiplier=0\r\n",
       {{0, false, false, false, "absent", false},
        {1, false, true, false, "1", false},
        {0, false, false, false, "1", false}}},
      {"Multiplier not a number", "[Settings]\r\nMultiplier=abc\r\nStart=0\r\n",
       {{0, false, false, false, "0", false}}},
      {"no settings file", std::nullopt,
       {{0, false, false, false, "absent", false},
        {1, false, true, false, "1", false}}},
  };
  for (const Scenario& scenario : kScenarios) {
    std::filesystem::remove(kSettingsPath);
    if (scenario.settings) TestWorkDirectory::Put(kSettingsPath, *scenario.settings);
    for (std::size_t i = 0; i < scenario.resets.size(); ++i) {
      const ResetStep& step = scenario.resets[i];
      const std::string where = std::string(scenario.name) + ", reset " + std::to_string(i);
      TestWorkDirectory::Put("err.txt", kOldUbnFile);
      m_window.open = step.windowOpenBefore;
      m_window.starts = 0;
      m_ui.cabrilloCalls.clear();

      EXPECT_EQ(Reset(step.exportFlag), 1) << where;

      EXPECT_EQ(m_ui.cabrilloCalls,
                step.cabrilloShown ? std::vector<std::string>{"SM5ABC"}
                                   : std::vector<std::string>{})
          << where;
      EXPECT_EQ(m_window.starts, step.windowStarted ? 1 : 0) << where;
      EXPECT_EQ(ReadSettingText(kKeyStart, "absent"), step.startAfter) << where;
      EXPECT_EQ(TestWorkDirectory::Bytes("err.txt"),
                step.freshUbnFile ? kFreshUbnFile : kOldUbnFile)
          << where;
      EXPECT_EQ(g_exportFlag, step.exportFlag) << where;
    }
  }
}

TEST_F(ContestReset, RunsTheCabrilloStepBeforeStoringStart) {
  TestWorkDirectory::Put(kSettingsPath, "[Settings]\r\nMultiplier=1\r\n");
  Reset(1, "OH0XX");
  EXPECT_EQ(m_ui.cabrilloCalls, std::vector<std::string>{"OH0XX"});
  EXPECT_EQ(m_ui.startWhenShown, "absent");
  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath), "[Settings]\r\nMultiplier=1\r\nStart=0\r\n");
}

TEST_F(ContestReset, StartsAnEmptyRunWithTheDatesAndTheOwnCall) {
  {
    ModuleLockGuard lock(g_moduleLock);
    CInfo record;
    record.m_call = "SM5ABC";
    g_qsoList.Add(record);
    g_bandCallRows[3] = {"20m", "RTTY", "12:00", "EU", "-"};
    g_bandMultipliers[2] = {"SM5"};
  }
  g_bandList = {"20m", "40m"};
  g_numberOk = 1;
  COleDateTime start = COleDateTime::FromParts(2013, 1, 1, 12, 0, 0);
  COleDateTime end = COleDateTime::FromParts(2013, 1, 2, 11, 59, 0);

  EXPECT_EQ(Reset(0, "LA1ZZ", "Arg6", &start, &end), 1);

  EXPECT_EQ(g_qsoList.GetCount(), 0u);
  EXPECT_TRUE(g_bandList.empty());
  for (int k = 0; k < kContestBandCount; ++k) {
    EXPECT_EQ(g_bandCallRows[k],
              (std::vector<std::string>{std::string(kContestBands[k]), "-", "-", "-", "-"}))
        << kContestBands[k];
  }
  EXPECT_EQ(g_bandMultipliers[2], std::vector<std::string>{"SM5"});
  EXPECT_EQ(g_numberOk, 1);
  EXPECT_EQ(g_contestant, "LA1ZZ");
  EXPECT_EQ(g_startText, "01.01");
  EXPECT_EQ(g_strContestYear, "2013");
  EXPECT_EQ(g_endText, "02.01.2013");
  g_bandMultipliers[2].clear();
  g_numberOk = 0;
}

TEST_F(ContestReset, TakesTheOperatorNameFromTheSettingsOrElseFromItsSixthArgument) {
  struct Case {
    std::optional<std::string> settings;
    const char* operatorName;
    const char* expected;
  };
  const Case kCases[] = {
      {std::nullopt, "Arg6", "Arg6"},
      {"[Settings]\r\nMyName=Olle\r\n", "Arg6", "Olle"},
      {"[Settings]\r\nMyName=\r\n", "Arg6", "Arg6"},
      {"[Settings]\r\nMyName=\"  Olle \"\r\n", "Arg6", "  Olle "},
      {std::nullopt, nullptr, ""},
  };
  for (const Case& c : kCases) {
    std::filesystem::remove(kSettingsPath);
    if (c.settings) TestWorkDirectory::Put(kSettingsPath, *c.settings);
    Reset(0, "SM5ABC", c.operatorName);
    EXPECT_EQ(g_strMyName, c.expected) << c.settings.value_or("no file");
  }
}

TEST_F(ContestReset, ReadsTheMultiplierSettingEveryTime) {
  TestWorkDirectory::Put(kSettingsPath, "[Settings]\r\nMultiplier=1\r\n");
  Reset(0);
  EXPECT_EQ(g_nUseMultiplier, 1);
  TestWorkDirectory::Put(kSettingsPath, "[Settings]\r\nMultiplier=0\r\n");
  Reset(0);
  EXPECT_EQ(g_nUseMultiplier, 0);
}

TEST(ContestResetWithoutPluginsFolder, KeepsEveryValueInMemoryAndCreatesNoFolder) {
  TestWorkDirectory directory;
  FakeUi ui;
  ScopedSeam<ModuleUi> uiSeam(&Seams::ui, ui);
  EXPECT_EQ(Reset(1, "SM5ABC", "Arg6"), 1);
  EXPECT_EQ(ui.cabrilloCalls, std::vector<std::string>{"SM5ABC"});
  EXPECT_EQ(g_exportFlag, 1);
  EXPECT_EQ(g_nUseMultiplier, 0);
  EXPECT_EQ(g_strMyName, "Arg6");
  EXPECT_FALSE(std::filesystem::exists("Plugins"));
  EXPECT_FALSE(std::filesystem::exists("err.txt"));
  g_exportFlag = 0;
  g_strMyName.clear();
}

TEST(ContestResetWithNullArguments, ReadsThemAsEmpty) {
  TestWorkDirectory directory;
  EXPECT_EQ(ResetStats0(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0,
                        0.0, 0.0, nullptr, nullptr, nullptr),
            1);
  EXPECT_EQ(g_contestant, "");
  EXPECT_EQ(g_startText, "");
  EXPECT_EQ(g_strContestYear, "");
  EXPECT_EQ(g_endText, "");
  EXPECT_EQ(g_strMyName, "");
}

}  // namespace
