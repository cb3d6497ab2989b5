#include "platform/ole_date_time.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr int kFirstDay = -657434;  // 0100-01-01
constexpr int kLastDay = 2958465;   // 9999-12-31
constexpr int kSecondsPerDay = 86400;
constexpr int kDaysFrom1970To1899 = 25569;  // 1899-12-30 is day -25569 of the Unix calendar
constexpr double kHalfSecond = 0.5 / kSecondsPerDay;

constexpr const char* kInvalidText = "Invalid DateTime";
constexpr const char* kShortWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};
constexpr int kDaysBeforeMonth[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// A point in time rounded to the second: the calendar day (days since 1899-12-30, so the
// day after day -1 is day 0 whatever the sign of the encoding) and the second of that day.
struct Moment {
  int day = 0;
  int second = 0;
};

// The range test comes first and is written so that NaN fails it: only a value inside it is
// ever converted to int.
bool ToMoment(double dt, Moment& out) {
  if (!(dt > kFirstDay - 1.0 && dt < kLastDay + 1.0)) return false;
  const double whole = std::trunc(dt);
  // Exact: a double minus its own integer part loses nothing. The time of day is the
  // magnitude of the fraction for negative counts too.
  const double timeOfDay = std::fabs(dt - whole) + COleDateTime::kRoundingAllowance;
  Moment m{static_cast<int>(whole), static_cast<int>(timeOfDay * kSecondsPerDay + 0.5)};
  if (m.second >= kSecondsPerDay) {
    ++m.day;
    m.second = 0;
  }
  if (m.day > kLastDay) return false;
  out = m;
  return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, for years >= 0 (after H. Hinnant's
// days_from_civil: years counted from 1 March so that the leap day ends the year).
int DaysFromCivil(int year, int month, int day) {
  year -= month <= 2;
  const int era = year / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The inverse, for days on or after 0000-03-01.
void CivilFromDays(int days, int& year, int& month, int& day) {
  days += 719468;
  const int era = days / 146097;
  const int dayOfEra = days - era * 146097;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int monthFromMarch = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
  month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  year = yearOfEra + era * 400 + (month <= 2);
}

COleDateTime::Parts PartsOf(const Moment& m) {
  COleDateTime::Parts p;
  CivilFromDays(m.day - kDaysFrom1970To1899, p.year, p.month, p.day);
  p.hour = m.second / 3600;
  p.minute = m.second / 60 % 60;
  p.second = m.second % 60;
  // Day 0 was a Saturday (7).
  p.dayOfWeek = ((m.day % 7 + 7) % 7 + 6) % 7 + 1;
  p.dayOfYear = kDaysBeforeMonth[p.month - 1] + (p.month > 2 && IsLeapYear(p.year)) + p.day;
  return p;
}

void AppendNumber(std::string& out, int value, int width) {
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = n; i < width; ++i) out += '0';
  while (n > 0) out += digits[--n];
}

// Appends the expansion of conversion `c`; false when `c` is no conversion of ours.
bool AppendConversion(std::string& out, char c, const COleDateTime::Parts& p) {
  switch (c) {
    case 'Y':
      AppendNumber(out, p.year, 1);
      break;
    case 'y':
      AppendNumber(out, p.year % 100, 2);
      break;
    case 'm':
      AppendNumber(out, p.month, 2);
      break;
    case 'd':
      AppendNumber(out, p.day, 2);
      break;
    case 'H':
      AppendNumber(out, p.hour, 2);
      break;
    case 'I':
      AppendNumber(out, (p.hour + 11) % 12 + 1, 2);
      break;
    case 'M':
      AppendNumber(out, p.minute, 2);
      break;
    case 'S':
      AppendNumber(out, p.second, 2);
      break;
    case 'j':
      AppendNumber(out, p.dayOfYear, 3);
      break;
    case 'p':
      out += p.hour < 12 ? "AM" : "PM";
      break;
    case 'a':
      out += kShortWeekdays[p.dayOfWeek - 1];
      break;
    case 'A':
      out += kWeekdays[p.dayOfWeek - 1];
      break;
    case 'b':
      out += kShortMonths[p.month - 1];
      break;
    case 'B':
      out += kMonths[p.month - 1];
      break;
    case '%':
      out += '%';
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace

COleDateTime COleDateTime::FromParts(int year, int month, int day, int hour, int minute,
                                     int second) {
  const bool inRange = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                       day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
                       minute <= 59 && second >= 0 && second <= 59;
  if (!inRange) return COleDateTime(0.0, invalid);
  const int days = DaysFromCivil(year, month, day) + kDaysFrom1970To1899;
  const double timeOfDay = (hour * 3600 + minute * 60 + second) / double{kSecondsPerDay};
  return COleDateTime(days >= 0 ? days + timeOfDay : days - timeOfDay);
}

COleDateTime::DateTimeStatus COleDateTime::GetStatus() const {
  if (m_status == null) return null;
  Moment unused;
  return m_status == valid && ToMoment(m_dt, unused) ? valid : invalid;
}

bool COleDateTime::GetParts(Parts& out) const {
  Moment m;
  if (m_status != valid || !ToMoment(m_dt, m)) return false;
  out = PartsOf(m);
  return true;
}

std::string COleDateTime::Format(const char* pattern) const {
  const DateTimeStatus status = GetStatus();
  if (status == null) return {};
  Parts p;
  if (status != valid || !GetParts(p)) return kInvalidText;
  std::string out;
  if (pattern == nullptr) return out;
  for (const char* c = pattern; *c != '\0'; ++c) {
    if (*c == '%' && c[1] != '\0' && AppendConversion(out, c[1], p)) {
      ++c;
    } else {
      out += *c;
    }
  }
  return out;
}

bool COleDateTime::operator==(const COleDateTime& other) const {
  const DateTimeStatus status = GetStatus();
  if (status != other.GetStatus()) return false;
  if (status == null) return true;
  return status == valid && m_dt == other.m_dt;
}

COleDateTime ReadDateTime(const COleDateTime* p) {
  COleDateTime value(0.0, COleDateTime::null);
  if (p != nullptr) std::memcpy(static_cast<void*>(&value), p, sizeof value);
  return value;
}

double LinearDayCount(double dt) {
  if (dt >= 0.0) return dt;
  const double c = std::ceil(dt);
  return c - (dt - c);
}

int WholeMinutesBetween(const COleDateTime& later, const COleDateTime& earlier) {
  const double s = LinearDayCount(later.m_dt) - LinearDayCount(earlier.m_dt);
  const double h = kHalfSecond + COleDateTime::kRoundingAllowance;
  const double minutes = (s + (s >= 0.0 ? h : -h)) * 1440.0;
  if (std::isnan(minutes)) return INT_MAX;
  if (minutes >= 2147483648.0) return INT_MAX;
  if (minutes <= -2147483649.0) return INT_MIN;
  return static_cast<int>(minutes);
}
