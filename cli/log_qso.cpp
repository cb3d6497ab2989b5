#include "cli/log_qso.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <span>
#include <stdexcept>

namespace {

struct Band {
  std::string_view name;
  std::uint32_t lowHz;
  std::uint32_t highHz;
};

// The amateur bands of the ADIF standard that fit the host's 32-bit frequency in Hz.
constexpr std::array<Band, 22> kBands = {{
    {"2190m", 135700, 137800},        {"630m", 472000, 479000},
    {"560m", 501000, 504000},         {"160m", 1800000, 2000000},
    {"80m", 3500000, 4000000},        {"60m", 5060000, 5450000},
    {"40m", 7000000, 7300000},        {"30m", 10100000, 10150000},
    {"20m", 14000000, 14350000},      {"17m", 18068000, 18168000},
    {"15m", 21000000, 21450000},      {"12m", 24890000, 24990000},
    {"10m", 28000000, 29700000},      {"8m", 40000000, 45000000},
    {"6m", 50000000, 54000000},       {"4m", 70000000, 71000000},
    {"2m", 144000000, 148000000},     {"1.25m", 222000000, 225000000},
    {"70cm", 420000000, 450000000},   {"33cm", 902000000, 928000000},
    {"23cm", 1240000000, 1300000000}, {"13cm", 2300000000u, 2450000000u},
}};

enum FieldId {
  kCall,
  kQsoDate,
  kTimeOn,
  kFreq,
  kBandField,
  kMode,
  kRstSent,
  kRstRcvd,
  kStx,
  kStxString,
  kSrx,
  kSrxString,
  kName,
  kStationCallsign,
  kOperator,
  kMyName,
  kFieldCount
};

constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "CALL",     "QSO_DATE",         "TIME_ON",  "FREQ",       "BAND", "MODE",
    "RST_SENT", "RST_RCVD",         "STX",      "STX_STRING", "SRX",  "SRX_STRING",
    "NAME",     "STATION_CALLSIGN", "OPERATOR", "MY_NAME"};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The fields read here, by the length of their names: most lengths hold one name.
constexpr FieldId kLength3[] = {kStx, kSrx};
constexpr FieldId kLength4[] = {kCall, kBandField, kFreq, kMode, kName};
constexpr FieldId kLength7[] = {kTimeOn, kMyName};
constexpr FieldId kLength8[] = {kQsoDate, kRstSent, kRstRcvd, kOperator};
constexpr FieldId kLength10[] = {kStxString, kSrxString};
constexpr FieldId kLength16[] = {kStationCallsign};

std::span<const FieldId> FieldsOfLength(std::size_t length) {
  switch (length) {
    case 3:
      return kLength3;
    case 4:
      return kLength4;
    case 7:
      return kLength7;
    case 8:
      return kLength8;
    case 10:
      return kLength10;
    case 16:
      return kLength16;
    default:
      return {};
  }
}

// The field a name stands for, or kFieldCount for one not read here.
int FieldIdOf(std::string_view name) {
  for (const FieldId id : FieldsOfLength(name.size())) {
    const std::string_view known = kFieldNames[id];
    if (known[0] == UpperAscii(name[0]) && EqualsIgnoringCase(known, name)) return id;
  }
  return kFieldCount;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool HoldsZeroByte(std::string_view text) {
  for (const char c : text) {
    if (c == '\0') return true;
  }
  return false;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

int Digits(std::string_view text) {
  int value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

// A serial number as the host's exchange shows it: at least three digits.
bool SerialText(std::string_view text, std::string& out) {
  if (!AllDigits(text)) return false;
  const std::size_t first = std::min(text.find_first_not_of('0'), text.size());
  std::string_view significant = text.substr(first);
  out.assign(significant.size() < 3 ? 3 - significant.size() : 0, '0');
  out.append(significant);
  return true;
}

std::string Quoted(std::string_view text) {
  std::string out(1, '"');
  out.append(text);
  out += '"';
  return out;
}

bool ReadDateTime(std::string_view date, std::string_view time, COleDateTime& out,
                  std::string& error) {
  if (date.size() != 8 || !AllDigits(date)) {
    error = "QSO_DATE " + Quoted(date) + " is not a date YYYYMMDD";
    return false;
  }
  if ((time.size() != 4 && time.size() != 6) || !AllDigits(time)) {
    error = "TIME_ON " + Quoted(time) + " is not a time HHMM or HHMMSS";
    return false;
  }
  const int seconds = time.size() == 6 ? Digits(time.substr(4, 2)) : 0;
  out = COleDateTime::FromParts(Digits(date.substr(0, 4)), Digits(date.substr(4, 2)),
                                Digits(date.substr(6, 2)), Digits(time.substr(0, 2)),
                                Digits(time.substr(2, 2)), seconds);
  if (out.GetStatus() != COleDateTime::valid) {
    error = "QSO_DATE " + Quoted(date) + " with TIME_ON " + Quoted(time) + " is no date and time";
    return false;
  }
  return true;
}

}  // namespace

CLogTexts::Ref CLogTexts::Add(std::string_view text) {
  if (text.empty()) return 0;
  if (text.size() >= std::numeric_limits<Ref>::max() - m_bytes.size()) {
    throw std::length_error("the texts of the log's QSOs exceed 4 GB");
  }
  const auto ref = static_cast<Ref>(m_bytes.size());
  m_bytes.append(text);
  m_bytes += '\0';
  return ref;
}

CLogTexts::Ref CLogTexts::AddUpper(std::string_view text) {
  const Ref ref = Add(text);
  for (std::size_t i = ref; i < ref + text.size(); ++i) m_bytes[i] = UpperAscii(m_bytes[i]);
  return ref;
}

CLogTexts::Ref CLogTexts::AddLower(std::string_view text) {
  const Ref ref = Add(text);
  for (std::size_t i = ref; i < ref + text.size(); ++i) m_bytes[i] = LowerAscii(m_bytes[i]);
  return ref;
}

std::string_view BandOfFrequency(unsigned int hz) {
  for (const Band& band : kBands) {
    if (hz >= band.lowHz && hz <= band.highHz) return band.name;
  }
  return {};
}

bool ParseMegahertz(std::string_view text, unsigned int& hz) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return false;
  if (!whole.empty() && !AllDigits(whole)) return false;
  if (!fraction.empty() && !AllDigits(fraction)) return false;

  constexpr std::uint64_t kLimit = std::numeric_limits<unsigned int>::max();
  std::uint64_t value = 0;
  for (const char c : whole) {
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > kLimit) return false;
  }
  value *= 1000000;
  std::uint64_t scale = 100000;
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    const auto digit = static_cast<std::uint64_t>(fraction[i] - '0');
    if (i < 6) {
      value += digit * scale;
      scale /= 10;
    } else {
      if (digit >= 5) ++value;  // the seventh decimal rounds to the nearest Hz
      break;
    }
  }
  if (value > kLimit) return false;
  hz = static_cast<unsigned int>(value);
  return true;
}

bool ReadLogQso(const AdifRecord& record, CLogTexts& texts, LogQso& qso, std::string& error) {
  std::array<const AdifField*, kFieldCount> found{};
  for (const AdifField& field : record.fields) {
    const int id = FieldIdOf(field.name);
    if (id == kFieldCount) continue;
    if (found[id] != nullptr) {
      error = "the field " + std::string(kFieldNames[id]) + " is given twice";
      return false;
    }
    if (HoldsZeroByte(field.data)) {
      error = "the field " + std::string(kFieldNames[id]) + " holds a zero byte";
      return false;
    }
    found[id] = &field;
  }
  const auto value = [&found](FieldId id) {
    return found[id] != nullptr ? Trim(found[id]->data) : std::string_view();
  };

  qso = LogQso();
  qso.record = record.number;
  if (value(kCall).empty()) {
    error = "no CALL";
    return false;
  }
  if (!ReadDateTime(value(kQsoDate), value(kTimeOn), qso.time, error)) return false;

  const std::string_view freq = value(kFreq);
  if (!freq.empty() && !ParseMegahertz(freq, qso.freqHz)) {
    error = "FREQ " + Quoted(freq) + " is not a frequency in MHz up to 4294.967295";
    return false;
  }
  std::string_view band = value(kBandField);
  if (band.empty()) {
    if (freq.empty()) {
      error = "neither BAND nor FREQ";
      return false;
    }
    band = BandOfFrequency(qso.freqHz);
    if (band.empty()) {
      error = "no BAND, and FREQ " + Quoted(freq) + " lies in no amateur band";
      return false;
    }
  } else if (freq.empty()) {
    for (const Band& b : kBands) {
      if (EqualsIgnoringCase(b.name, band)) qso.freqHz = b.lowHz;
    }
    qso.freqFromBand = true;
  }

  // The serials are checked before any text is kept, so a refused record leaves none.
  std::string numberSent, exchRcvd;
  if (!value(kStxString).empty()) {
    numberSent = value(kStxString);
  } else if (!value(kStx).empty() && !SerialText(value(kStx), numberSent)) {
    error = "STX " + Quoted(value(kStx)) + " is not a number";
    return false;
  }
  if (!value(kSrxString).empty()) {
    exchRcvd = value(kSrxString);
  } else if (!value(kSrx).empty()) {
    if (!SerialText(value(kSrx), exchRcvd)) {
      error = "SRX " + Quoted(value(kSrx)) + " is not a number";
      return false;
    }
    if (!value(kName).empty()) {
      exchRcvd += ' ';
      exchRcvd += value(kName);
    }
  }

  qso.call = texts.AddUpper(value(kCall));
  qso.band = texts.AddLower(band);
  qso.mode = texts.AddUpper(value(kMode));
  qso.rstSent = texts.Add(value(kRstSent));
  qso.rstRcvd = texts.Add(value(kRstRcvd));
  qso.numberSent = texts.Add(numberSent);
  qso.exchRcvd = texts.Add(exchRcvd);
  qso.ownCall =
      texts.AddUpper(!value(kStationCallsign).empty() ? value(kStationCallsign) : value(kOperator));
  qso.myName = texts.Add(value(kMyName));
  return true;
}
