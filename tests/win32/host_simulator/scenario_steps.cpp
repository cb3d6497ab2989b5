#include "scenario_steps.h"

#include <cstdint>

namespace scenario {

namespace {

bool ParseMilliseconds(const Word& word, DWORD& ms) {
  int64_t value = 0;
  if (!ParseNumber(word.text, value) || value < 0 || value > 600000) return false;
  ms = static_cast<DWORD>(value);
  return true;
}

bool ParseOperator(const std::vector<Word>& w, OperatorAction& action, std::string& error) {
  if (w.size() < 2) {
    error = "operator needs an action";
    return false;
  }
  action.verb = w[1].text;
  const std::string& verb = action.verb;
  const std::size_t n = w.size() - 2;  // words after the verb
  auto id = [&](std::size_t i) {
    int64_t value = 0;
    if (!ParseNumber(w[i].text, value) || value < 0 || value > 0xffff) return false;
    action.id = static_cast<int>(value);
    return true;
  };
  bool ok = false;
  if (verb == "wait") {
    action.ms = 5000;
    ok = (n == 1 || (n == 2 && ParseMilliseconds(w[3], action.ms)));
    if (ok) action.text = w[2].text;
  } else if (verb == "closed") {
    action.ms = 5000;
    ok = n == 0 || (n == 1 && ParseMilliseconds(w[2], action.ms));
  } else if (verb == "text" || verb == "combo" || verb == "expect") {
    ok = n == 2 && id(2);
    if (ok) action.text = w[3].text;
  } else if (verb == "check") {
    ok = n == 2 && id(2) && (w[3].text == "0" || w[3].text == "1");
    if (ok) action.flag = w[3].text == "1";
  } else if (verb == "press" || verb == "read") {
    ok = n == 1 && id(2);
  } else if (verb == "close" || verb == "escape") {
    ok = n == 0;
  } else if (verb == "capture") {
    ok = n == 1 && !w[2].text.empty();
    if (ok) action.text = w[2].text;
  } else if (verb == "sleep") {
    ok = n == 1 && ParseMilliseconds(w[2], action.ms);
  } else {
    error = "unknown operator action " + Quote(verb);
    return false;
  }
  if (!ok) error = "wrong arguments for operator " + verb;
  return ok;
}

}  // namespace

bool ParseStep(const std::vector<Word>& w, Step& step, std::string& error) {
  const std::string& command = w[0].text;
  const std::size_t n = w.size() - 1;
  auto wrong = [&] {
    error = "wrong arguments for " + command;
    return false;
  };
  if (command == "host") {
    if (n == 0) return wrong();
    const std::string& what = w[1].text;
    if (what == "running" && n == 1) {
      step.kind = StepKind::kHostRunning;
    } else if (what == "stopped" && n == 1) {
      step.kind = StepKind::kHostStopped;
    } else if (what == "unregistered" && n == 1) {
      step.kind = StepKind::kHostUnregistered;
    } else if (what == "failing" && n == 2 && (w[2].text == "on" || w[2].text == "off")) {
      step.kind = StepKind::kHostFailing;
      step.flag = w[2].text == "on";
    } else if (what == "frequency" && n == 2 && ParseNumber(w[2].text, step.number)) {
      step.kind = StepKind::kHostFrequency;
    } else if (what == "call" && n == 2) {
      step.kind = StepKind::kHostCall;
      step.text = w[2].text;
    } else {
      return wrong();
    }
    return true;
  }
  if (command == "load") {
    if (n > 1) return wrong();
    step.kind = StepKind::kLoad;
    if (n == 1) step.text = w[1].text;
    return true;
  }
  if (command == "unload") {
    if (n != 0) return wrong();
    step.kind = StepKind::kUnload;
    return true;
  }
  if (command == "pump") {
    DWORD ms = 0;
    if (n != 1 || !ParseMilliseconds(w[1], ms)) return wrong();
    step.kind = StepKind::kPump;
    step.number = ms;
    return true;
  }
  if (command == "call") {
    if (n == 0) return wrong();
    step.kind = StepKind::kCall;
    step.entry = FindEntryPoint(w[1].text);
    if (step.entry == nullptr) {
      error = "no entry point " + Quote(w[1].text);
      return false;
    }
    return ParseArguments(*step.entry, std::vector<Word>(w.begin() + 2, w.end()), step.arguments,
                          error);
  }
  if (command == "operator") {
    step.kind = StepKind::kOperator;
    return ParseOperator(w, step.action, error);
  }
  if (command == "expect") {
    if (n == 0) return wrong();
    const std::string& what = w[1].text;
    if (what == "return" && n == 2) {
      int64_t value = 0;
      if (!ParseNumber(w[2].text, value)) return wrong();
      step.kind = StepKind::kExpectReturn;
      step.number = static_cast<double>(value);
    } else if (what == "text" && n == 2) {
      step.kind = StepKind::kExpectText;
      step.null = IsNullWord(w[2]);
      step.text = w[2].text;
    } else if (what == "commands") {
      step.kind = StepKind::kExpectCommands;
      for (std::size_t i = 2; i < w.size(); ++i) step.texts.push_back(w[i].text);
    } else if (what == "out" && n == 3) {
      step.kind = StepKind::kExpectOut;
      step.text = w[2].text;
      step.expectedOut = w[3].text;
    } else {
      return wrong();
    }
    return true;
  }
  error = "unknown command " + Quote(command);
  return false;
}

}  // namespace scenario
