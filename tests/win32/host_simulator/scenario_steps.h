// The steps of a scenario: one per line, read and checked before anything runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "scenario_calls.h"
#include "scenario_words.h"

namespace scenario {

enum class StepKind {
  kHostRunning,
  kHostStopped,
  kHostUnregistered,
  kHostFailing,
  kHostFrequency,
  kHostCall,
  kLoad,
  kUnload,
  kCall,
  kPump,
  kOperator,
  kExpectReturn,
  kExpectText,
  kExpectCommands,
  kExpectOut,
};

// One action of the operator.
struct OperatorAction {
  std::string verb;
  std::string text;
  int id = 0;
  DWORD ms = 0;
  bool flag = false;
};

struct Step {
  int line = 0;
  std::string source;
  StepKind kind = StepKind::kPump;
  std::string text;                // host call, load path, expected text, out name
  bool null = false;               // expect text (null)
  double number = 0.0;             // host frequency, pump milliseconds, expected return
  bool flag = false;               // host failing on
  std::vector<std::string> texts;  // expected commands
  std::string expectedOut;
  const EntryPoint* entry = nullptr;
  std::vector<Argument> arguments;
  OperatorAction action;
};

// Reads the step a line's words describe; false with `error` when they describe none.
bool ParseStep(const std::vector<Word>& words, Step& step, std::string& error);

}  // namespace scenario
