#include "scenario.h"

#include <windows.h>

#include <oleauto.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "automation_host.h"
#include "message_pump.h"
#include "operator.h"
#include "stats_module.h"

namespace {

// The host's buffers for texts the module writes: 100 bytes, as the host gives them, followed
// by guard bytes that must still hold their pattern after the call.
constexpr std::size_t kOutBufferSize = 100;
constexpr std::size_t kGuardSize = 16;
constexpr char kGuardByte = '\xcd';
// How long an operator may go on after the host's step has returned, beyond its own waits.
constexpr DWORD kOperatorGraceMs = 10000;

// ---------------------------------------------------------------------------------------------
// Words

struct Word {
  std::string text;
  bool quoted = false;  // some part of it was in double quotes
};

// Splits a line into words separated by blanks; double quotes (anywhere in a word) keep blanks
// and take the escapes \" \\ \t \r \n. A # outside quotes at the start of a word ends the line.
bool SplitWords(const std::string& line, std::vector<Word>& words, std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    Word word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] != '"') {
        word.text += line[i++];
        continue;
      }
      word.quoted = true;
      ++i;
      for (;;) {
        if (i >= line.size()) {
          error = "a quoted text is not closed";
          return false;
        }
        const char c = line[i++];
        if (c == '"') break;
        if (c != '\\') {
          word.text += c;
          continue;
        }
        if (i >= line.size()) {
          error = "a backslash ends the line";
          return false;
        }
        switch (const char escaped = line[i++]) {
          case '"':
          case '\\':
            word.text += escaped;
            break;
          case 't':
            word.text += '\t';
            break;
          case 'r':
            word.text += '\r';
            break;
          case 'n':
            word.text += '\n';
            break;
          default:
            error = std::string("unknown escape \\") + escaped;
            return false;
        }
      }
    }
    words.push_back(std::move(word));
  }
  return true;
}

// The text in double quotes with the escapes the scenario format reads, and \xHH for any other
// byte that is not printable ASCII.
std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\n':
        quoted += "\\n";
        break;
      default:
        if (c >= 0x20 && c < 0x7f) {
          quoted += c;
        } else {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
          quoted += hex;
        }
    }
  }
  return quoted + "\"";
}

bool IsNullWord(const Word& word) { return !word.quoted && word.text == "(null)"; }

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && !text.empty();
}

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" as the host's date-time value.
bool ParseDate(const std::string& text, COleDateTime& date) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day,
                                 &hour, &minute, &second, &tail);
  if (fields != 3 && fields != 5 && fields != 6) return false;
  SYSTEMTIME parts{};
  parts.wYear = static_cast<WORD>(year);
  parts.wMonth = static_cast<WORD>(month);
  parts.wDay = static_cast<WORD>(day);
  parts.wHour = static_cast<WORD>(hour);
  parts.wMinute = static_cast<WORD>(minute);
  parts.wSecond = static_cast<WORD>(second);
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  double days = 0.0;
  if (!SystemTimeToVariantTime(&parts, &days)) return false;
  date = COleDateTime(days, COleDateTime::valid);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Entry points and their arguments

enum class Kind { kText, kInt, kUnsigned, kDouble, kDate, kTextOut, kIntOut };

struct Parameter {
  Kind kind;
  const char* key = nullptr;  // the scenario's name for it; null when it has none
  bool nullByDefault = false;
};

struct Argument {
  Kind kind = Kind::kText;
  bool null = false;  // a null pointer instead of the value
  std::string text;
  int64_t integer = 0;
  double real = 0.0;
  COleDateTime date = COleDateTime(0.0, COleDateTime::null);
  std::vector<char> buffer;
  int intOut = 0;
};

class Arguments {
 public:
  explicit Arguments(std::vector<Argument> values) : m_values(std::move(values)) {}

  const char* T(std::size_t i) {
    Argument& a = At(i, Kind::kText);
    return a.null ? nullptr : a.text.c_str();
  }
  int I(std::size_t i) { return static_cast<int>(At(i, Kind::kInt).integer); }
  unsigned U(std::size_t i) { return static_cast<unsigned>(At(i, Kind::kUnsigned).integer); }
  double R(std::size_t i) { return At(i, Kind::kDouble).real; }
  COleDateTime* D(std::size_t i) {
    Argument& a = At(i, Kind::kDate);
    return a.null ? nullptr : &a.date;
  }
  char* O(std::size_t i) {
    Argument& a = At(i, Kind::kTextOut);
    return a.null ? nullptr : a.buffer.data();
  }
  int* N(std::size_t i) {
    Argument& a = At(i, Kind::kIntOut);
    return a.null ? nullptr : &a.intOut;
  }
  const std::vector<Argument>& values() const { return m_values; }

 private:
  Argument& At(std::size_t i, Kind kind) {
    // The call table and the parameter table of an entry point must agree.
    if (i >= m_values.size() || m_values[i].kind != kind) std::abort();
    return m_values[i];
  }

  std::vector<Argument> m_values;
};

// What an entry point gave back: an integer, a text (possibly null), or nothing.
struct CallResult {
  std::optional<int64_t> integer;
  bool hasText = false;
  const char* text = nullptr;

  static CallResult Int(int64_t value) { return {value, false, nullptr}; }
  static CallResult Text(const char* value) { return {std::nullopt, true, value}; }
  static CallResult None() { return {}; }
};

struct EntryPoint {
  const char* name;
  std::vector<Parameter> parameters;
  std::function<CallResult(StatsModule&, Arguments&)> call;
};

std::vector<Parameter> Unnamed(Kind kind, int count) {
  return std::vector<Parameter>(static_cast<std::size_t>(count), Parameter{kind});
}

std::vector<Parameter> Join(std::initializer_list<std::vector<Parameter>> parts) {
  std::vector<Parameter> joined;
  for (const std::vector<Parameter>& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

// AddData0 and RemoveData0 take the same 33 arguments.
std::vector<Parameter> QsoParameters() {
  return Join({{{Kind::kText, "own"}, {Kind::kText, "call"}, {Kind::kDate, "time"}},
               Unnamed(Kind::kDate, 3),
               {{Kind::kUnsigned},
                {Kind::kUnsigned, "freq"},
                {Kind::kText, "mode"},
                {Kind::kText, "rsts"},
                {Kind::kText, "rstr"},
                {Kind::kText, "sent"},
                {Kind::kText, "rcvd"}},
               Unnamed(Kind::kText, 8),
               {{Kind::kText, "area"}, {Kind::kText, "prefix"}},
               Unnamed(Kind::kInt, 3),
               Unnamed(Kind::kDouble, 2),
               {{Kind::kText},
                {Kind::kText, "continent"},
                {Kind::kText},
                {Kind::kText, "band"},
                {Kind::kText}}});
}

CallResult CallQso(decltype(&::AddData0) function, Arguments& a) {
  return CallResult::Int(function(a.T(0), a.T(1), a.D(2), a.D(3), a.D(4), a.D(5), a.U(6), a.U(7),
                                  a.T(8), a.T(9), a.T(10), a.T(11), a.T(12), a.T(13), a.T(14),
                                  a.T(15), a.T(16), a.T(17), a.T(18), a.T(19), a.T(20), a.T(21),
                                  a.T(22), a.I(23), a.I(24), a.I(25), a.R(26), a.R(27), a.T(28),
                                  a.T(29), a.T(30), a.T(31), a.T(32)));
}

const std::vector<EntryPoint>& EntryPoints() {
  static const std::vector<EntryPoint> table = {
      {"GetNumberOfSets",
       {},
       [](StatsModule& m, Arguments&) { return CallResult::Int(m.GetNumberOfSets()); }},
      {"GetSetName",
       {{Kind::kInt, "set"}},
       [](StatsModule& m, Arguments& a) { return CallResult::Text(m.GetSetName(a.I(0))); }},
      {"GetExchgCount0", Unnamed(Kind::kText, 3),
       [](StatsModule& m, Arguments& a) {
         return CallResult::Int(m.GetExchgCount0(a.T(0), a.T(1), a.T(2)));
       }},
      {"IsValidExchg0",
       Join({{{Kind::kText, "exchange"}},
             Unnamed(Kind::kText, 3),
             Unnamed(Kind::kInt, 2),
             {{Kind::kInt, "field"}}}),
       [](StatsModule& m, Arguments& a) {
         return CallResult::Int(
             m.IsValidExchg0(a.T(0), a.T(1), a.T(2), a.T(3), a.I(4), a.I(5), a.I(6)));
       }},
      {"ResetStats0",
       Join({{{Kind::kText},
              {Kind::kInt, "export"},
              {Kind::kText, "call"},
              {Kind::kDate, "start"},
              {Kind::kDate, "end"},
              {Kind::kText, "name"}},
             Unnamed(Kind::kText, 9),
             Unnamed(Kind::kInt, 3),
             Unnamed(Kind::kDouble, 2),
             Unnamed(Kind::kText, 3)}),
       [](StatsModule& m, Arguments& a) {
         return CallResult::Int(m.ResetStats0(a.T(0), a.I(1), a.T(2), a.D(3), a.D(4), a.T(5),
                                              a.T(6), a.T(7), a.T(8), a.T(9), a.T(10), a.T(11),
                                              a.T(12), a.T(13), a.T(14), a.I(15), a.I(16), a.I(17),
                                              a.R(18), a.R(19), a.T(20), a.T(21), a.T(22)));
       }},
      {"AddData0", QsoParameters(),
       [](StatsModule& m, Arguments& a) { return CallQso(m.AddData0, a); }},
      {"RemoveData0", QsoParameters(),
       [](StatsModule& m, Arguments& a) { return CallQso(m.RemoveData0, a); }},
      {"CheckCall0",
       Join({{{Kind::kText, "call"}},
             Unnamed(Kind::kUnsigned, 2),
             {{Kind::kText, "mode"}},
             Unnamed(Kind::kText, 8),
             {{Kind::kText, "area"}, {Kind::kText, "prefix"}},
             Unnamed(Kind::kInt, 3),
             Unnamed(Kind::kDouble, 2),
             Unnamed(Kind::kText, 5),
             {{Kind::kText, "band"},
              {Kind::kText, "other", /*nullByDefault=*/true},
              {Kind::kTextOut, "previous"},
              {Kind::kTextOut}}}),
       [](StatsModule& m, Arguments& a) {
         return CallResult::Int(m.CheckCall0(
             a.T(0), a.U(1), a.U(2), a.T(3), a.T(4), a.T(5), a.T(6), a.T(7), a.T(8), a.T(9),
             a.T(10), a.T(11), a.T(12), a.T(13), a.I(14), a.I(15), a.I(16), a.R(17), a.R(18),
             a.T(19), a.T(20), a.T(21), a.T(22), a.T(23), a.T(24), a.T(25), a.O(26), a.O(27)));
       }},
      {"GetResult0",
       {{Kind::kIntOut, "exported"}},
       [](StatsModule& m, Arguments& a) { return CallResult::Text(m.GetResult0(a.N(0))); }},
      {"SetupSet0",
       {},
       [](StatsModule& m, Arguments&) {
         m.SetupSet0();
         return CallResult::None();
       }},
  };
  return table;
}

const EntryPoint* FindEntryPoint(const std::string& name) {
  for (const EntryPoint& entry : EntryPoints()) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

std::string ParameterName(const EntryPoint& entry, std::size_t i) {
  const char* key = entry.parameters[i].key;
  return key != nullptr ? key : "arg" + std::to_string(i + 1);
}

Argument DefaultArgument(const Parameter& parameter) {
  Argument a;
  a.kind = parameter.kind;
  a.null = parameter.nullByDefault;
  if (parameter.kind == Kind::kTextOut) {
    a.buffer.assign(kOutBufferSize, '\0');
    a.buffer.resize(kOutBufferSize + kGuardSize, kGuardByte);
  }
  return a;
}

bool SetArgument(Argument& a, const Word& value, std::string& error) {
  if (IsNullWord(value)) {
    if (a.kind == Kind::kInt || a.kind == Kind::kUnsigned || a.kind == Kind::kDouble) {
      error = "a number cannot be (null)";
      return false;
    }
    a.null = true;
    return true;
  }
  a.null = false;
  switch (a.kind) {
    case Kind::kText:
      a.text = value.text;
      return true;
    case Kind::kInt:
      if (ParseNumber(value.text, a.integer) && a.integer >= INT32_MIN && a.integer <= INT32_MAX) {
        return true;
      }
      error = "not a 32-bit integer: " + Quote(value.text);
      return false;
    case Kind::kUnsigned:
      if (ParseNumber(value.text, a.integer) && a.integer >= 0 && a.integer <= UINT32_MAX) {
        return true;
      }
      error = "not an unsigned 32-bit integer: " + Quote(value.text);
      return false;
    case Kind::kDouble:
      if (ParseNumber(value.text, a.real)) return true;
      error = "not a number: " + Quote(value.text);
      return false;
    case Kind::kDate:
      if (!value.quoted && value.text == "null") {
        a.date = COleDateTime(0.0, COleDateTime::null);
        return true;
      }
      if (!value.quoted && value.text == "invalid") {
        a.date = COleDateTime(0.0, COleDateTime::invalid);
        return true;
      }
      if (ParseDate(value.text, a.date)) return true;
      error = "not a date (YYYY-MM-DD[ HH:MM[:SS]], null, invalid): " + Quote(value.text);
      return false;
    case Kind::kTextOut:
    case Kind::kIntOut:
      error = "an out argument can only be (null)";
      return false;
  }
  return false;
}

// The arguments of `call NAME WORDS...`: bare words set the parameters in order, NAME=VALUE
// sets a named one, argN=VALUE the N-th (from 1).
bool ParseArguments(const EntryPoint& entry, const std::vector<Word>& words,
                    std::vector<Argument>& arguments, std::string& error) {
  for (const Parameter& parameter : entry.parameters) {
    arguments.push_back(DefaultArgument(parameter));
  }
  std::size_t next = 0;
  for (const Word& word : words) {
    const std::size_t equals = word.text.find('=');
    std::size_t index = entry.parameters.size();
    Word value = word;
    if (equals != std::string::npos && equals > 0) {
      const std::string key = word.text.substr(0, equals);
      value.text = word.text.substr(equals + 1);
      for (std::size_t i = 0; i < entry.parameters.size(); ++i) {
        if (key == ParameterName(entry, i)) index = i;
      }
      if (index == entry.parameters.size()) {
        error = std::string(entry.name) + " has no argument " + key;
        return false;
      }
    } else {
      index = next++;
      if (index >= entry.parameters.size()) {
        error = std::string(entry.name) + " takes " + std::to_string(entry.parameters.size()) +
                " arguments";
        return false;
      }
    }
    std::string why;
    if (!SetArgument(arguments[index], value, why)) {
      error = ParameterName(entry, index) + ": " + why;
      return false;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Steps

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

// ---------------------------------------------------------------------------------------------
// Running

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
        const void* zero = std::memchr(a.buffer.data(), '\0', kOutBufferSize);
        const std::size_t length =
            zero != nullptr ? static_cast<const char*>(zero) - a.buffer.data() : kOutBufferSize;
        value.assign(a.buffer.data(), length);
        m_out << "  " << name << " = " << Quote(value) << "\n";
        if (zero == nullptr) Fail(step.line, name + ": no terminating zero within 100 bytes");
        for (std::size_t g = kOutBufferSize; g < a.buffer.size(); ++g) {
          if (a.buffer[g] != kGuardByte) {
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
    if (SplitWords(line, words, error) && !words.empty()) {
      Step step;
      step.line = number;
      const std::size_t first = line.find_first_not_of(" \t");
      const std::size_t last = line.find_last_not_of(" \t\r");
      step.source = line.substr(first, last - first + 1);
      if (ParseStep(words, step, error)) steps.push_back(std::move(step));
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
