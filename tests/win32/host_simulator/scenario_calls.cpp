#include "scenario_calls.h"

#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <utility>

namespace scenario {

namespace {

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

}  // namespace

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

}  // namespace scenario
