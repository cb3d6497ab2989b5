// Scenario files as host_simulator.exe runs them: what it refuses to run, which checks fail,
// and a session against Stats.dll with the checks the format offers.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "scenario.h"
#include "stats_module.h"

namespace {

struct RunOutput {
  ScenarioOutcome outcome;
  std::string output;
};

RunOutput RunText(const std::string& text) {
  std::istringstream in(text);
  std::ostringstream out;
  ScenarioOptions options;
  options.modulePath = ProgramDirectory() + "Stats.dll";
  const ScenarioOutcome outcome = RunScenario(in, "test.txt", options, out);
  return {outcome, out.str()};
}

TEST(ScenarioTest, AnUnreadableFileRunsNothing) {
  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"frobnicate", "unknown command \"frobnicate\""},
      {"call NoSuchEntry", "no entry point \"NoSuchEntry\""},
      {"call GetSetName zero", "set: not a 32-bit integer: \"zero\""},
      {"call GetSetName 1 2", "GetSetName takes 1 arguments"},
      {"call AddData0 colour=red", "AddData0 has no argument colour"},
      {"call AddData0 time=\"2024-13-01 10:00\"", "time: not a date"},
      {"call AddData0 freq=-1", "freq: not an unsigned 32-bit integer"},
      {"call CheckCall0 previous=abc", "previous: an out argument can only be (null)"},
      {"call ResetStats0 export=(null)", "export: a number cannot be (null)"},
      {"host frequency fast", "wrong arguments for host"},
      {"operator wait", "wrong arguments for operator wait"},
      {"operator dance", "unknown operator action \"dance\""},
      {"expect return one", "wrong arguments for expect"},
      {"expect text \"open", "a quoted text is not closed"},
      {"expect text \"\\q\"", "unknown escape \\q"},
  };
  for (const Case& c : cases) {
    const RunOutput run =
        RunText(std::string("load\ncall GetNumberOfSets\n") + c.line + "\nunload\n");
    EXPECT_EQ(run.outcome, kScenarioUnreadable) << c.line;
    EXPECT_NE(run.output.find(std::string("test.txt:3: ") + c.message), std::string::npos)
        << c.line << "\n"
        << run.output;
    EXPECT_EQ(run.output.find("loaded"), std::string::npos) << c.line;
  }
}

TEST(ScenarioTest, ChecksPassOrFailOnWhatTheModuleAnswered) {
  struct Case {
    const char* steps;
    ScenarioOutcome outcome;
    const char* message;
  };
  const Case cases[] = {
      {"call GetNumberOfSets\nexpect return 1", kScenarioPassed, "  = 1\n"},
      {"call GetNumberOfSets\nexpect return 2", kScenarioFailed, "returned 1, expected 2"},
      {"call GetSetName 0\nexpect text \"SKOLP-NY-RTTY (C)\"", kScenarioPassed,
       "  = \"SKOLP-NY-RTTY (C)\"\n"},
      {"call GetSetName -1\nexpect text \"\"", kScenarioPassed, "  = \"\"\n"},
      {"call GetSetName 1\nexpect text (null)", kScenarioFailed, "the text is not (null)"},
      {"call GetSetName 0\nexpect return 1", kScenarioFailed, "the last call returned no integer"},
      {"call GetExchgCount0 (null) (null) (null)\nexpect return 2", kScenarioPassed, "  = 2\n"},
      {"call CheckCall0 call=SM5ABC band=20m prefix=SM\nexpect out previous \"\"", kScenarioPassed,
       "  previous = \"\"\n"},
      {"call CheckCall0 call=SM5ABC band=20m\nexpect out previous \"DL\"", kScenarioFailed,
       "previous is \"\", expected \"DL\""},
      {"call GetResult0\nexpect out exported 0", kScenarioPassed, "  exported = 0\n"},
      {"expect commands", kScenarioPassed, "scenario passed"},
      {"expect commands \"<SP1>\"", kScenarioFailed,
       "the host received (none), expected \"<SP1>\""},
  };
  for (const Case& c : cases) {
    const RunOutput run = RunText(std::string("load\n") + c.steps + "\nunload\n");
    EXPECT_EQ(run.outcome, c.outcome) << c.steps << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.steps << "\n" << run.output;
  }
}

TEST(ScenarioTest, StepsThatCannotBeDoneFail) {
  struct Case {
    const char* steps;
    const char* message;
  };
  const Case cases[] = {
      {"call GetNumberOfSets", "FAILED (line 1): no module is loaded"},
      {"unload", "FAILED (line 1): no module is loaded"},
      {"load\nload\nunload", "FAILED (line 2): the module is already loaded"},
      {"load C:\\nowhere\\Stats.dll", "LoadLibraryA(\"C:\\nowhere\\Stats.dll\") failed"},
      {"operator wait \"No such window\" 100\npump 10", "operator: no window \"No such window\""},
  };
  for (const Case& c : cases) {
    const RunOutput run = RunText(c.steps);
    EXPECT_EQ(run.outcome, kScenarioFailed) << c.steps << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.steps << "\n" << run.output;
  }
}

TEST(ScenarioTest, TheHostReceivesTheModeCommandsOncePerLoad) {
  const RunOutput run = RunText(
      "host running\n"
      "load\n"
      "call GetResult0\n"
      "expect commands \"<MODE:RTTY>\" \"<BAUDRATE:45.45>\"\n"
      "call GetResult0\n"
      "expect commands\n"
      "unload\n"
      "load\n"
      "call GetResult0\n"
      "expect commands \"<MODE:RTTY>\" \"<BAUDRATE:45.45>\"\n"
      "unload\n");
  EXPECT_EQ(run.outcome, kScenarioPassed) << run.output;
  // Printed after the call that made the host receive them, once per load.
  const std::string printed =
      "  exported = 0\n  host received \"<MODE:RTTY>\"\n  host received \"<BAUDRATE:45.45>\"\n";
  const std::size_t first = run.output.find(printed);
  ASSERT_NE(first, std::string::npos) << run.output;
  const std::size_t second = run.output.find(printed, first + 1);
  ASSERT_NE(second, std::string::npos) << run.output;
  EXPECT_EQ(run.output.find(printed, second + 1), std::string::npos) << run.output;
}

TEST(ScenarioTest, AStoppedOrFailingHostGetsNothing) {
  const RunOutput run = RunText(
      "load\n"
      "call GetResult0\n"
      "host running\n"
      "host failing on\n"
      "call GetResult0\n"
      "expect commands\n"
      "unload\n"
      "host failing off\n"
      "host stopped\n"
      "load\n"
      "call GetResult0\n"
      "expect commands\n"
      "unload\n");
  EXPECT_EQ(run.outcome, kScenarioPassed) << run.output;
}

}  // namespace
