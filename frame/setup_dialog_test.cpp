#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "frame/entry_points.h"
#include "frame/module_objects.h"
#include "frame/seams.h"
#include "frame/settings.h"
#include "platform/test_work_directory.h"

namespace {

const char kSettingsPath[] = "Plugins/SKOLP-NY.ini";

// Plays the operator: sees what the dialog would show, then edits and confirms or closes.
class FakeSetupDialog final : public ModuleUi {
 public:
  bool RunSetupDialog(int& useMultiplier, std::string& name) override {
    ++runs;
    shownMultiplier = useMultiplier;
    shownName = name;
    if (!pressOk) return false;
    if (newMultiplier) useMultiplier = *newMultiplier;
    if (newName) name = *newName;
    return true;
  }
  bool RunCabrilloDialog(CabrilloDialogValues&) override { return false; }

  bool pressOk = true;
  std::optional<int> newMultiplier;
  std::optional<std::string> newName;
  int runs = 0;
  int shownMultiplier = -1;
  std::string shownName = "not shown";
};

class SetupDialog : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory("Plugins"); }
  void TearDown() override {
    g_nUseMultiplier = 0;
    g_strMyName.clear();
  }

  TestWorkDirectory m_directory;
  FakeSetupDialog m_dialog;
  ScopedSeam<ModuleUi> m_seam{&Seams::ui, m_dialog};
};

TEST_F(SetupDialog, OkStoresBothValuesInMemoryAndFile) {
  struct Case {
    std::optional<std::string> before;
    std::optional<int> tick;
    std::optional<std::string> type;
    int shownMultiplier;
    const char* shownName;
    int multiplier;
    const char* name;
    const char* after;
  };
  const Case kCases[] = {
      {std::nullopt, std::nullopt, std::nullopt, 0, "", 0, "",
       "[Settings]\r\nMultiplier=0\r\nMyName=\r\n"},
      {std::nullopt, 1, "Olle", 0, "", 1, "Olle", "[Settings]\r\nMultiplier=1\r\nMyName=Olle\r\n"},
      {"[Settings]\r\nMyName=Olle\r\nMultiplier=1\r\n", 0, "  Olle  ", 1, "Olle", 0, "  Olle  ",
       "[Settings]\r\nMyName=\"  Olle  \"\r\nMultiplier=0\r\n"},
      {"[Settings]\r\nMultiplier=abc\r\nMyName=Olle\r\n", std::nullopt, "", 0, "Olle", 0, "",
       "[Settings]\r\nMultiplier=0\r\nMyName=\r\n"},
  };
  for (const Case& c : kCases) {
    const std::string where = c.before.value_or("no file");
    std::filesystem::remove(kSettingsPath);
    if (c.before) TestWorkDirectory::Put(kSettingsPath, *c.before);
    m_dialog.newMultiplier = c.tick;
    m_dialog.newName = c.type;

    SetupSet0();

    EXPECT_EQ(m_dialog.shownMultiplier, c.shownMultiplier) << where;
    EXPECT_EQ(m_dialog.shownName, c.shownName) << where;
    EXPECT_EQ(g_nUseMultiplier, c.multiplier) << where;
    EXPECT_EQ(g_strMyName, c.name) << where;
    EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath), c.after) << where;
  }
}

TEST_F(SetupDialog, ClosingWithoutOkWritesNothingButHasReloadedBoth) {
  const std::string before = "[Settings]\nMultiplier=1\nMyName=Olle\n";
  TestWorkDirectory::Put(kSettingsPath, before);
  g_nUseMultiplier = 0;
  g_strMyName = "from the last reset";
  m_dialog.pressOk = false;
  m_dialog.newName = "typed, then closed";

  SetupSet0();

  EXPECT_EQ(m_dialog.runs, 1);
  EXPECT_EQ(g_nUseMultiplier, 1);
  EXPECT_EQ(g_strMyName, "Olle");
  EXPECT_EQ(TestWorkDirectory::Bytes(kSettingsPath), before);
}

TEST_F(SetupDialog, ClosingWithoutOkForgetsTheResetsFallbackName) {
  ResetStats0("", 0, "SM5ABC", nullptr, nullptr, "Arg6", "", "", "", "", "", "", "", "", "", 0,
              0, 0, 0.0, 0.0, "", "", "");
  ASSERT_EQ(g_strMyName, "Arg6");
  m_dialog.pressOk = false;
  SetupSet0();
  EXPECT_EQ(g_strMyName, "");
  EXPECT_FALSE(TestWorkDirectory::Bytes(kSettingsPath));
}

}  // namespace
