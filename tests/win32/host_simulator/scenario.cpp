#include "scenario.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "automation_host.h"
#include "message_pump.h"
#include "operator.h"
#include "scenario_calls.h"
#include "scenario_steps.h"
#include "scenario_words.h"
#include "stats_module.h"

namespace {

using scenario::Argument;
using scenario::Arguments;
using scenario::CallResult;
using scenario::Kind;
using scenario::OperatorAction;
using scenario::ParameterName;
using scenario::Quote;
using scenario::Step;
using scenario::StepKind;
using scenario::Word;

// How long an operator may go on after the host's step has returned, beyond its own waits.
constexpr DWORD kOperatorGraceMs = 10000;

class ScenarioRun {
 public:
  ScenarioRun(const ScenarioOptions& options, std::ostream& out)
      : m_options(options), m_out(out), m_host(SimulatedHost::Create()) {}

  ScenarioOutcome Run(const std::vector<Step>& steps) {
    if (!RegisterHostProgId()) Fail(0, "cannot register the ProgID Tulm2.Application");
    for (const Step& step : steps) Execute(step);
    if (!m_pendingOperator.empty()) RunHostStep(nullptr);
    m_running.reset();
    if (m_module) {
      // Left loaded on purpose: the module then meets the end of the process, as it does when
      // a host exits without unloading it.
      m_out << "(the module stays loaded until the process ends)\n";
      m_leftLoaded = m_module.release();
    }
    if (m_failures == 0) {
      m_out << "scenario passed\n";
    } else {
      m_out << "scenario FAILED: " << m_failures << " failure(s)\n";
    }
    m_out.flush();
    return m_failures == 0 ? kScenarioPassed : kScenarioFailed;
  }

 private:
  void Fail(int line, const std::string& what) {
    ++m_failures;
    m_out << "  FAILED";
    if (line > 0) m_out << " (line " << line << ")";
    m_out << ": " << what << "\n";
  }

  void Execute(const Step& step) {
    m_out << "> " << step.source << "\n";
    switch (step.kind) {
      case StepKind::kHostRunning:
        if (!RegisterHostProgId()) Fail(step.line, "cannot register the ProgID");
        if (!m_running) m_running = std::make_unique<RunningHost>(*m_host.get());
        if (!m_running->IsRunning()) Fail(step.line, "RegisterActiveObject failed");
        break;
      case StepKind::kHostStopped:
        m_running.reset();
        break;
      case StepKind::kHostUnregistered:
        if (!UnregisterHostProgId()) Fail(step.line, "cannot remove the ProgID");
        break;
      case StepKind::kHostFailing:
        m_host->FailEveryCall(step.flag ? DISP_E_EXCEPTION : S_OK);
        break;
      case StepKind::kHostFrequency:
        m_host->SetFrequency(step.number);
        break;
      case StepKind::kHostCall:
        m_host->SetEnteredCall(step.text);
        break;
      case StepKind::kOperator:
        m_pendingOperator.push_back(step.action);
        break;
      case StepKind::kLoad:
      case StepKind::kUnload:
      case StepKind::kCall:
      case StepKind::kPump:
        RunHostStep(&step);
        break;
      case StepKind::kExpectReturn:
        if (!m_lastReturn) {
          Fail(step.line, "the last call returned no integer");
        } else if (*m_lastReturn != static_cast<int64_t>(step.number)) {
          Fail(step.line, "returned " + std::to_string(*m_lastReturn) + ", expected " +
                              std::to_string(static_cast<int64_t>(step.number)));
        }
        break;
      case StepKind::kExpectText:
        ExpectText(step);
        break;
      case StepKind::kExpectCommands:
        ExpectCommands(step);
        break;
      case StepKind::kExpectOut: {
        const auto found = m_lastOut.find(step.text);
        if (found == m_lastOut.end()) {
          Fail(step.line, "the last call had no out argument " + step.text);
        } else if (found->second != step.expectedOut) {
          Fail(step.line,
               step.text + " is " + Quote(found->second) + ", expected " + Quote(step.expectedOut));
        }
        break;
      }
    }
    m_out.flush();
  }

  void ExpectText(const Step& step) {
    if (!m_lastHasText) {
      Fail(step.line, "the last call returned no text");
    } else if (step.null != !m_lastText.has_value()) {
      Fail(step.line, step.null ? "the text is not (null)" : "the text is (null)");
    } else if (m_lastText && *m_lastText != step.text) {
      Fail(step.line, "the text is " + Quote(*m_lastText) + ", expected " + Quote(step.text));
    }
  }

  void ExpectCommands(const Step& step) {
    const std::vector<std::string> all = m_host->Commands();
    const std::vector<std::string> received(all.begin() + static_cast<long>(m_checkedCommands),
                                            all.end());
    m_checkedCommands = all.size();
    if (received == step.texts) return;
    auto list = [](const std::vector<std::string>& texts) {
      std::string joined;
      for (const std::string& text : texts) {
        joined += ' ';
        joined += Quote(text);
      }
      return texts.empty() ? std::string(" (none)") : joined;
    };
    Fail(step.line, "the host received" + list(received) + ", expected" + list(step.texts));
  }

  // A step on the host's thread, with the operator actions queued before it running meanwhile
  // on their own thread.
  void RunHostStep(const Step* step) {
    std::unique_ptr<OperatorThread> operatorThread;
    std::shared_ptr<std::vector<std::string>> log;
    DWORD operatorBudget = kOperatorGraceMs;
    if (!m_pendingOperator.empty()) {
      log = std::make_shared<std::vector<std::string>>();
      for (const OperatorAction& action : m_pendingOperator) operatorBudget += action.ms;
      operatorThread = std::make_unique<OperatorThread>(
          [actions = std::move(m_pendingOperator), log](Operator& person) {
            for (const OperatorAction& action : actions) {
              if (!Act(person, action, *log)) break;
            }
          });
      m_pendingOperator.clear();
    }
    if (step != nullptr) {
      switch (step->kind) {
        case StepKind::kLoad:
          Load(*step);
          break;
        case StepKind::kUnload:
          Unload(*step);
          break;
        case StepKind::kCall:
          Call(*step);
          break;
        default:
          PumpFor(static_cast<DWORD>(step->number));
          break;
      }
    }
    if (operatorThread) {
      if (!operatorThread->FinishPumping(operatorBudget)) {
        Fail(step != nullptr ? step->line : 0, "the operator did not finish; giving up");
        std::fflush(nullptr);
        ExitProcess(kScenarioFailed);
      }
      for (const std::string& line : *log) m_out << "  operator: " << line << "\n";
      for (const std::string& failure : operatorThread->Failures()) {
        Fail(step != nullptr ? step->line : 0, "operator: " + failure);
      }
    }
    PrintNewCommands();
  }

  static bool Act(Operator& person, const OperatorAction& a, std::vector<std::string>& log) {
    const std::string& verb = a.verb;
    if (verb == "wait") return person.WaitForWindow(a.text, a.ms);
    if (verb == "closed") return person.WaitUntilClosed(a.ms);
    if (verb == "text") return person.SetText(a.id, a.text);
    if (verb == "check") return person.SetCheck(a.id, a.flag);
    if (verb == "combo") return person.SelectComboText(a.id, a.text);
    if (verb == "press") return person.PressButton(a.id);
    if (verb == "close") return person.Close();
    if (verb == "escape") return person.PressEscape();
    if (verb == "sleep") {
      Sleep(a.ms);
      return true;
    }
    if (verb == "capture") {
      if (!person.Capture(a.text)) return false;
      log.push_back("captured " + a.text);
      return true;
    }
    const std::string text = person.GetText(a.id);
    if (verb == "read") {
      log.push_back("control " + std::to_string(a.id) + " reads " + Quote(text));
      return true;
    }
    // expect
    if (text == a.text) return true;
    log.push_back("control " + std::to_string(a.id) + " reads " + Quote(text) + ", expected " +
                  Quote(a.text));
    return false;
  }

  void Load(const Step& step) {
    if (m_module) {
      Fail(step.line, "the module is already loaded");
      return;
    }
    const std::string path = step.text.empty() ? m_options.modulePath : step.text;
    auto module = std::make_unique<StatsModule>(path);
    if (!module->IsLoaded()) {
      Fail(step.line, module->Error());
      return;
    }
    m_module = std::move(module);
    m_out << "  loaded\n";
  }

  void Unload(const Step& step) {
    if (!m_module) {
      Fail(step.line, "no module is loaded");
      return;
    }
    m_module.reset();
    m_out << "  unloaded\n";
  }

  void Call(const Step& step) {
    m_lastReturn.reset();
    m_lastHasText = false;
    m_lastText.reset();
    m_lastOut.clear();
    if (!m_module) {
      Fail(step.line, "no module is loaded");
      return;
    }
    Arguments arguments(step.arguments);
    const CallResult result = step.entry->call(*m_module, arguments);
    if (result.integer) {
      m_lastReturn = result.integer;
      m_out << "  = " << *result.integer << "\n";
    }
    if (result.hasText) {
      m_lastHasText = true;
      if (result.text != nullptr) m_lastText = std::string(result.text);
      PrintText(result.text);
    }
    PrintOuts(step, arguments);
  }

  void PrintText(const char* text) {
    if (text == nullptr) {
      m_out << "  = (null)\n";
      return;
    }
    const std::string_view all(text);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < all.size();) {
      const std::size_t end = all.find('\n', start);
      const std::size_t stop = end == std::string_view::npos ? all.size() : end + 1;
      lines.push_back(all.substr(start, stop - start));
      start = stop;
    }
    if (lines.size() <= 1) {
      m_out << "  = " << Quote(all) << "\n";
      return;
    }
    m_out << "  = text of " << all.size() << " bytes in " << lines.size() << " lines:\n";
    for (const std::string_view line : lines) m_out << "    " << Quote(line) << "\n";
  }

  void PrintOuts(const Step& step, const Arguments& arguments) {
    const std::vector<Argument>& values = arguments.values();
    for (std::size_t i = 0; i < values.size(); ++i) {
      const Argument& a = values[i];
      if (a.null || (a.kind != Kind::kTextOut && a.kind != Kind::kIntOut)) continue;
      const std::string name = ParameterName(*step.entry, i);
      std::string value;
      if (a.kind == Kind::kIntOut) {
        value = std::to_string(a.intOut);
        m_out << "  " << name << " = " << value << "\n";
      } else {
        const void* zero = std::memchr(a.buffer.data(), '\0', scenario::kOutBufferSize);
        const std::size_t length = zero != nullptr
                                       ? static_cast<const char*>(zero) - a.buffer.data()
                                       : scenario::kOutBufferSize;
        value.assign(a.buffer.data(), length);
        m_out << "  " << name << " = " << Quote(value) << "\n";
        if (zero == nullptr) Fail(step.line, name + ": no terminating zero within 100 bytes");
        for (std::size_t g = scenario::kOutBufferSize; g < a.buffer.size(); ++g) {
          if (a.buffer[g] != scenario::kGuardByte) {
            Fail(step.line, name + ": the module wrote past the host's 100-byte buffer");
            break;
          }
        }
      }
      m_lastOut[name] = value;
    }
  }

  void PrintNewCommands() {
    const std::vector<std::string> all = m_host->Commands();
    for (std::size_t i = m_printedCommands; i < all.size(); ++i) {
      m_out << "  host received " << Quote(all[i]) << "\n";
    }
    m_printedCommands = all.size();
  }

  const ScenarioOptions& m_options;
  std::ostream& m_out;
  ComPtr<SimulatedHost> m_host;
  std::unique_ptr<RunningHost> m_running;
  std::unique_ptr<StatsModule> m_module;
  StatsModule* m_leftLoaded = nullptr;
  std::vector<OperatorAction> m_pendingOperator;
  std::size_t m_printedCommands = 0;
  std::size_t m_checkedCommands = 0;
  std::optional<int64_t> m_lastReturn;
  bool m_lastHasText = false;
  std::optional<std::string> m_lastText;
  std::map<std::string, std::string> m_lastOut;
  int m_failures = 0;
};

}  // namespace

ScenarioOutcome RunScenario(std::istream& in, const std::string& name,
                            const ScenarioOptions& options, std::ostream& out) {
  std::vector<Step> steps;
  bool readable = true;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::vector<Word> words;
    std::string error;
    if (scenario::SplitWords(line, words, error) && !words.empty()) {
      Step step;
      step.line = number;
      const std::size_t first = line.find_first_not_of(" \t");
      const std::size_t last = line.find_last_not_of(" \t\r");
      step.source = line.substr(first, last - first + 1);
      if (scenario::ParseStep(words, step, error)) steps.push_back(std::move(step));
    }
    if (!error.empty()) {
      out << name << ":" << number << ": " << error << "\n";
      readable = false;
    }
  }
  if (!readable) return kScenarioUnreadable;

  const HRESULT com = CoInitialize(nullptr);
  const ScenarioOutcome outcome = ScenarioRun(options, out).Run(steps);
  if (SUCCEEDED(com)) CoUninitialize();
  return outcome;
}
