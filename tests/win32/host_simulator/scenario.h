// Scenario files: a host session written down line by line, run by host_simulator.exe (the
// format is described at the top of host_simulator_main.cpp and in README.md).
//
// RunScenario plays the host on the calling thread: it offers the simulated automation object
// "Tulm2.Application", loads Stats.dll, calls its entry points, lets an operator thread act on
// the windows the module opens, and prints every step with what the module answered and what
// the host received.
#pragma once

#include <istream>
#include <ostream>
#include <string>

struct ScenarioOptions {
  // The module a `load` without a path loads.
  std::string modulePath;
};

// Exit codes of a scenario run.
enum ScenarioOutcome : int {
  kScenarioPassed = 0,      // every step ran and every check held
  kScenarioFailed = 1,      // a check failed, or a step could not be done
  kScenarioUnreadable = 2,  // the file has an error; nothing was run
};

// Reads the whole scenario, then runs it. `name` labels messages about the file. Initialises
// COM on the calling thread for the run.
ScenarioOutcome RunScenario(std::istream& in, const std::string& name,
                            const ScenarioOptions& options, std::ostream& out);
