// The ten entry points as a scenario calls them: their parameters, the scenario's names for
// them, the values a `call` line gives them, and the call itself through a loaded module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ole_date_time.h"
#include "scenario_words.h"
#include "stats_module.h"

namespace scenario {

// The host's buffers for texts the module writes: 100 bytes, as the host gives them, followed
// by guard bytes that must still hold their pattern after the call.
constexpr std::size_t kOutBufferSize = 100;
constexpr std::size_t kGuardSize = 16;
constexpr char kGuardByte = '\xcd';

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

// The entry point with this export name, or null.
const EntryPoint* FindEntryPoint(const std::string& name);

// The scenario's name of parameter `i` (from 0): its key, or argN counted from 1.
std::string ParameterName(const EntryPoint& entry, std::size_t i);

// The arguments of `call NAME WORDS...`: bare words set the parameters in order, NAME=VALUE
// sets a named one, argN=VALUE the N-th (from 1).
bool ParseArguments(const EntryPoint& entry, const std::vector<Word>& words,
                    std::vector<Argument>& arguments, std::string& error);

}  // namespace scenario
