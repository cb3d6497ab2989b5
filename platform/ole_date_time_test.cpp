#include "platform/ole_date_time.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A day count from a calendar day number (days since 1899-12-30) and a time of day in seconds,
// in the platform's encoding: the time adds for day >= 0 and subtracts for day < 0.
double At(int day, double seconds) {
  return day >= 0 ? day + seconds / 86400.0 : day - seconds / 86400.0;
}

// The shape the host's negative counts take: "-0.x" is still day 0.
double AtNegativeZero(double seconds) { return -seconds / 86400.0; }

struct Expected {
  int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
};

std::string Show(const COleDateTime::Parts& p) {
  std::ostringstream os;
  os << p.year << '-' << p.month << '-' << p.day << ' ' << p.hour << ':' << p.minute << ':'
     << p.second << " dow " << p.dayOfWeek << " doy " << p.dayOfYear;
  return os.str();
}

void ExpectParts(const COleDateTime::Parts& p, const Expected& e, double dt) {
  const bool same = p.year == e.year && p.month == e.month && p.day == e.day && p.hour == e.hour &&
                    p.minute == e.minute && p.second == e.second && p.dayOfWeek == e.dayOfWeek &&
                    p.dayOfYear == e.dayOfYear;
  EXPECT_TRUE(same) << "dt " << dt << " gave " << Show(p);
}

struct ConversionCase {
  const char* what;
  double dt;
  Expected parts;
};

const ConversionCase kConversions[] = {
    {"epoch", 0.0, {1899, 12, 30, 0, 0, 0, 7, 364}},
    {"negative zero", -0.0, {1899, 12, 30, 0, 0, 0, 7, 364}},
    {"noon of day 0, negative form", -0.5, {1899, 12, 30, 12, 0, 0, 7, 364}},
    {"noon of day 0", 0.5, {1899, 12, 30, 12, 0, 0, 7, 364}},
    {"fraction is the time also below 0", -1.25, {1899, 12, 29, 6, 0, 0, 6, 363}},
    {"-2.75", -2.75, {1899, 12, 28, 18, 0, 0, 5, 362}},
    {"day 1", 1.0, {1899, 12, 31, 0, 0, 0, 1, 365}},
    {"day 2", 2.0, {1900, 1, 1, 0, 0, 0, 2, 1}},
    {"1900 is no leap year", 61.0, {1900, 3, 1, 0, 0, 0, 5, 60}},
    {"2000 is one", 36585.75, {2000, 2, 29, 18, 0, 0, 3, 60}},
    {"present", 45000.0, {2023, 3, 15, 0, 0, 0, 4, 74}},
    {"last day of a year", 45291.0, {2023, 12, 31, 0, 0, 0, 1, 365}},
    {"x.5 s rounds up", At(45296, 50829.5), {2024, 1, 5, 14, 7, 10, 6, 5}},
    {"just below x.5 s does not", At(45296, 50829.499), {2024, 1, 5, 14, 7, 9, 6, 5}},
    {"x.5 s below day 0", At(-1, 21600.5), {1899, 12, 29, 6, 0, 1, 6, 363}},
    {"just below x.5 s below day 0", At(-1, 21600.499), {1899, 12, 29, 6, 0, 0, 6, 363}},
    {"x.5 s in day 0, negative form", AtNegativeZero(3600.5), {1899, 12, 30, 1, 0, 1, 7, 364}},
    {"23:59:59.5 is next midnight", At(45291, 86399.5), {2024, 1, 1, 0, 0, 0, 2, 1}},
    {"23:59:59.499 is not", At(45291, 86399.499), {2023, 12, 31, 23, 59, 59, 1, 365}},
    {"23:59:59.5 of day -1 is day 0", At(-1, 86399.5), {1899, 12, 30, 0, 0, 0, 7, 364}},
    {"23:59:59.5 of day 0, negative form",
     AtNegativeZero(86399.5),
     {1899, 12, 31, 0, 0, 0, 1, 365}},
    {"23:59:59.5 of 28 February 2024", At(45350, 86399.5), {2024, 2, 29, 0, 0, 0, 5, 60}},
    {"first day", -657434.0, {100, 1, 1, 0, 0, 0, 6, 1}},
    {"last second of the first day", At(-657434, 86399.0), {100, 1, 1, 23, 59, 59, 6, 1}},
    {"first day, rounding into the second", At(-657434, 86399.6), {100, 1, 2, 0, 0, 0, 7, 2}},
    {"last day", 2958465.0, {9999, 12, 31, 0, 0, 0, 6, 365}},
    {"last second", At(2958465, 86399.0), {9999, 12, 31, 23, 59, 59, 6, 365}},
    {"last second and 0.4", At(2958465, 86399.4), {9999, 12, 31, 23, 59, 59, 6, 365}},
    {"a denormal is day 0", DBL_TRUE_MIN, {1899, 12, 30, 0, 0, 0, 7, 364}},
};

TEST(OleDateTimeConversion, BreaksDownToTheNearestSecond) {
  for (const ConversionCase& c : kConversions) {
    SCOPED_TRACE(c.what);
    const COleDateTime dt(c.dt);
    EXPECT_EQ(dt.GetStatus(), COleDateTime::valid) << c.dt;
    COleDateTime::Parts p;
    ASSERT_TRUE(dt.GetParts(p)) << c.dt;
    ExpectParts(p, c.parts, c.dt);
  }
}

// The rounding allowance is what makes a value meant as x.5 s round up although the double
// nearest to it lies below; at every day of the years 1720 to 2079 it must, and x.4999 s not.
TEST(OleDateTimeConversion, HalfSecondRoundsUpAcrossThePresentCentury) {
  int failures = 0;
  for (int day = -65535; day < 65536 && failures < 5; day += 7) {
    const int second = (day * 7919 % 86399 + 86399) % 86399;  // never the last of the day
    COleDateTime::Parts up, down;
    ASSERT_TRUE(COleDateTime(At(day, second + 0.5)).GetParts(up)) << day;
    ASSERT_TRUE(COleDateTime(At(day, second + 0.4999)).GetParts(down)) << day;
    const int upSecond = up.hour * 3600 + up.minute * 60 + up.second;
    const int downSecond = down.hour * 3600 + down.minute * 60 + down.second;
    if (upSecond != second + 1 || downSecond != second) {
      ++failures;
      ADD_FAILURE() << "day " << day << " second " << second << ": " << Show(up) << " / "
                    << Show(down);
    }
  }
}

// An independent calendar, stepped a day at a time, against every day of the valid range.
TEST(OleDateTimeConversion, AgreesWithADayByDayCalendarFromYear100To9999) {
  int year = 100, month = 1, dayOfMonth = 1, dayOfWeek = 6, dayOfYear = 1;
  for (int day = -657434; day <= 2958465; ++day) {
    const int second = (day % 86400 + 86400) % 86400;
    const int h = second / 3600, m = second / 60 % 60, s = second % 60;
    const COleDateTime made = COleDateTime::FromParts(year, month, dayOfMonth, h, m, s);
    ASSERT_EQ(made.m_dt, At(day, second)) << year << '-' << month << '-' << dayOfMonth;
    COleDateTime::Parts p;
    ASSERT_TRUE(made.GetParts(p)) << made.m_dt;
    ASSERT_TRUE(p.year == year && p.month == month && p.day == dayOfMonth && p.hour == h &&
                p.minute == m && p.second == s && p.dayOfWeek == dayOfWeek &&
                p.dayOfYear == dayOfYear)
        << "day " << day << " gave " << Show(p);

    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    dayOfWeek = dayOfWeek % 7 + 1;
    ++dayOfYear;
    if (++dayOfMonth > kDays[month - 1] + (month == 2 && leap)) {
      dayOfMonth = 1;
      if (++month > 12) {
        month = 1;
        ++year;
        dayOfYear = 1;
      }
    }
  }
  EXPECT_EQ(year, 10000);
}

struct StatusCase {
  const char* what;
  double dt;
  int32_t status;
  COleDateTime::DateTimeStatus expected;
};

const StatusCase kStatuses[] = {
    {"NaN", kNaN, 0, COleDateTime::invalid},
    {"negative NaN", -kNaN, 0, COleDateTime::invalid},
    {"infinity", kInf, 0, COleDateTime::invalid},
    {"minus infinity", -kInf, 0, COleDateTime::invalid},
    {"1e300", 1e300, 0, COleDateTime::invalid},
    {"-1e300", -1e300, 0, COleDateTime::invalid},
    {"largest double", DBL_MAX, 0, COleDateTime::invalid},
    {"beyond int", 3e9, 0, COleDateTime::invalid},
    {"year 99", -657434.0 - 1.0, 0, COleDateTime::invalid},
    {"year 99, with a time", At(-657435, 43200.0), 0, COleDateTime::invalid},
    {"year 10000", 2958466.0, 0, COleDateTime::invalid},
    {"rounds into year 10000", At(2958465, 86399.6), 0, COleDateTime::invalid},
    {"year 100", -657434.0, 0, COleDateTime::valid},
    {"year 100, last moment", At(-657434, 86399.9), 0, COleDateTime::valid},
    {"year 9999", At(2958465, 86399.4), 0, COleDateTime::valid},
    {"stored invalid", 45000.0, 1, COleDateTime::invalid},
    {"stored null", 45000.0, 2, COleDateTime::null},
    {"stored null with a NaN", kNaN, 2, COleDateTime::null},
    {"stored null out of range", 1e300, 2, COleDateTime::null},
    {"status 3", 45000.0, 3, COleDateTime::invalid},
    {"status -1", 45000.0, -1, COleDateTime::invalid},
    {"status INT_MIN", 45000.0, INT32_MIN, COleDateTime::invalid},
    {"status INT_MAX", 45000.0, INT32_MAX, COleDateTime::invalid},
};

// The host's bytes, as they arrive: a double and any 32-bit status.
COleDateTime FromHostBytes(double dt, int32_t status) {
  alignas(8) unsigned char bytes[sizeof(COleDateTime)] = {};
  std::memcpy(bytes, &dt, sizeof dt);
  std::memcpy(bytes + 8, &status, sizeof status);
  return ReadDateTime(reinterpret_cast<const COleDateTime*>(bytes));
}

TEST(OleDateTimeValidity, AnyBitPatternHasAStatus) {
  for (const StatusCase& c : kStatuses) {
    SCOPED_TRACE(c.what);
    const COleDateTime dt = FromHostBytes(c.dt, c.status);
    EXPECT_EQ(dt.GetStatus(), c.expected) << c.dt << " status " << c.status;
    COleDateTime::Parts p;
    p.year = -7;
    EXPECT_EQ(dt.GetParts(p), c.expected == COleDateTime::valid) << c.dt;
    if (c.expected != COleDateTime::valid) {
      EXPECT_EQ(p.year, -7) << "untouched on failure";
    }
    const std::string text = dt.Format("%Y-%m-%d");
    if (c.expected == COleDateTime::valid) {
      EXPECT_TRUE(text != "" && text != "Invalid DateTime") << c.dt << ": " << text;
    } else {
      EXPECT_EQ(text, c.expected == COleDateTime::null ? "" : "Invalid DateTime") << c.dt;
    }
  }
}

TEST(OleDateTimeValidity, NullPointerReadsAsNullDate) {
  const COleDateTime dt = ReadDateTime(nullptr);
  EXPECT_EQ(dt.GetStatus(), COleDateTime::null);
  EXPECT_EQ(dt.Format("%H:%M"), "");
}

TEST(OleDateTimeValidity, ReadsTheHostLayout) {
  EXPECT_EQ(alignof(COleDateTime), 8u);
  const COleDateTime dt = FromHostBytes(-1.25, 0);
  EXPECT_EQ(dt.m_dt, -1.25);
  EXPECT_EQ(dt.m_status, COleDateTime::valid);
  EXPECT_EQ(FromHostBytes(45000.0, 7).m_status, 7);
}

const char kPatterns[][16] = {"%Y-%m-%d %H%M", "%H:%M", "%d.%m", "%Y", "%d.%m.%Y"};

struct FormatCase {
  COleDateTime dt;
  const char* pattern;
  const char* expected;
};

const FormatCase kFormats[] = {
    {COleDateTime(At(45296, 50829.0)), "%Y-%m-%d %H%M", "2024-01-05 1407"},
    {COleDateTime(At(45296, 50829.0)), "%H:%M", "14:07"},
    {COleDateTime(At(45296, 50829.0)), "%d.%m", "05.01"},
    {COleDateTime(At(45296, 50829.0)), "%Y", "2024"},
    {COleDateTime(At(45296, 50829.0)), "%d.%m.%Y", "05.01.2024"},
    {COleDateTime(At(45296, 50829.0)), "%S %y %j %I %p", "09 24 005 02 PM"},
    {COleDateTime(At(45296, 50829.0)), "%a %A %b %B", "Fri Friday Jan January"},
    {COleDateTime(At(45296, 50829.0)), "100%% at %H", "100% at 14"},
    {COleDateTime(At(45296, 50829.0)), "%q %", "%q %"},
    {COleDateTime(At(45296, 50829.0)), "", ""},
    {COleDateTime(At(45296, 50829.0)), nullptr, ""},
    {COleDateTime(At(45296, 0.0)), "%I %p", "12 AM"},
    {COleDateTime(At(45296, 43200.0)), "%I %p", "12 PM"},
    {COleDateTime(At(45291, 86399.5)), "%Y-%m-%d %H%M", "2024-01-01 0000"},
    {COleDateTime(-1.25), "%d.%m.%Y %H:%M", "29.12.1899 06:00"},
    {COleDateTime(-657434.0), "%Y %j %a", "100 001 Fri"},
    {COleDateTime(At(2958465, 86399.0)), "%d.%m.%Y %H:%M:%S", "31.12.9999 23:59:59"},
    {COleDateTime(45000.0, COleDateTime::null), "%Y", ""},
    {COleDateTime(45000.0, COleDateTime::invalid), "%Y", "Invalid DateTime"},
    {COleDateTime(kNaN), "%Y", "Invalid DateTime"},
    {COleDateTime(1e300), nullptr, "Invalid DateTime"},
    {COleDateTime(45000.0, static_cast<COleDateTime::DateTimeStatus>(5)), "%Y", "Invalid DateTime"},
};

TEST(OleDateTimeFormat, FormatsEachPattern) {
  for (const FormatCase& c : kFormats) {
    EXPECT_EQ(c.dt.Format(c.pattern), c.expected)
        << (c.pattern ? c.pattern : "(null)") << " of " << c.dt.m_dt << " status " << c.dt.m_status;
  }
}

TEST(OleDateTimeFormat, NullAndInvalidIgnoreThePattern) {
  for (const char* pattern : kPatterns) {
    EXPECT_EQ(ReadDateTime(nullptr).Format(pattern), "") << pattern;
    EXPECT_EQ(COleDateTime(kInf).Format(pattern), "Invalid DateTime") << pattern;
  }
}

struct PartsCase {
  int year, month, day, hour, minute, second;
  double expected;  // NaN: invalid
};

const PartsCase kParts[] = {
    {1899, 12, 30, 0, 0, 0, 0.0},
    {1899, 12, 30, 12, 0, 0, 0.5},
    {1899, 12, 29, 6, 0, 0, -1.25},
    {1899, 12, 28, 18, 0, 0, -2.75},
    {2000, 1, 1, 0, 0, 0, 36526.0},
    {2000, 2, 29, 18, 0, 0, 36585.75},
    {2024, 2, 29, 0, 0, 0, 45351.0},
    {100, 1, 1, 0, 0, 0, -657434.0},
    {9999, 12, 31, 0, 0, 0, 2958465.0},
    {99, 12, 31, 0, 0, 0, kNaN},
    {10000, 1, 1, 0, 0, 0, kNaN},
    {2024, 0, 1, 0, 0, 0, kNaN},
    {2024, 13, 1, 0, 0, 0, kNaN},
    {2024, 1, 0, 0, 0, 0, kNaN},
    {2024, 1, 32, 0, 0, 0, kNaN},
    {2024, 4, 31, 0, 0, 0, kNaN},
    {2023, 2, 29, 0, 0, 0, kNaN},
    {1900, 2, 29, 0, 0, 0, kNaN},
    {2024, 1, 1, 24, 0, 0, kNaN},
    {2024, 1, 1, 0, 60, 0, kNaN},
    {2024, 1, 1, 0, 0, 60, kNaN},
    {2024, 1, 1, -1, 0, 0, kNaN},
    {2024, 1, 1, 0, -1, 0, kNaN},
    {2024, 1, 1, 0, 0, -1, kNaN},
    {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, kNaN},
    {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, kNaN},
};

TEST(OleDateTimeFromParts, BuildsTheDayCount) {
  for (const PartsCase& c : kParts) {
    const COleDateTime dt =
        COleDateTime::FromParts(c.year, c.month, c.day, c.hour, c.minute, c.second);
    if (std::isnan(c.expected)) {
      EXPECT_EQ(dt.GetStatus(), COleDateTime::invalid)
          << c.year << '-' << c.month << '-' << c.day << ' ' << c.hour << ':' << c.minute << ':'
          << c.second;
    } else {
      EXPECT_EQ(dt.GetStatus(), COleDateTime::valid) << c.expected;
      EXPECT_EQ(dt.m_dt, c.expected) << c.year << '-' << c.month << '-' << c.day;
    }
  }
}

struct EqualityCase {
  const char* what;
  COleDateTime a, b;
  bool equal;
};

const EqualityCase kEqualities[] = {
    {"same valid count", COleDateTime(45000.5), COleDateTime(45000.5), true},
    {"different counts", COleDateTime(45000.5), COleDateTime(45000.6), false},
    {"0.0 and -0.0", COleDateTime(0.0), COleDateTime(-0.0), true},
    {"same moment, other count", COleDateTime(-0.5), COleDateTime(0.5), false},
    {"null whatever the counts", COleDateTime(1.0, COleDateTime::null),
     COleDateTime(2.0, COleDateTime::null), true},
    {"null with a NaN", COleDateTime(kNaN, COleDateTime::null),
     COleDateTime(0.0, COleDateTime::null), true},
    {"valid and null", COleDateTime(1.0), COleDateTime(1.0, COleDateTime::null), false},
    {"invalid with itself", COleDateTime(1.0, COleDateTime::invalid),
     COleDateTime(1.0, COleDateTime::invalid), false},
    {"invalid and valid", COleDateTime(1.0, COleDateTime::invalid), COleDateTime(1.0), false},
    {"invalid and null", COleDateTime(1.0, COleDateTime::invalid),
     COleDateTime(1.0, COleDateTime::null), false},
    {"NaN with itself", COleDateTime(kNaN), COleDateTime(kNaN), false},
    {"out of range with itself", COleDateTime(1e300), COleDateTime(1e300), false},
    {"year 10000 with itself", COleDateTime(2958466.0), COleDateTime(2958466.0), false},
    {"status 7 with itself", COleDateTime(1.0, static_cast<COleDateTime::DateTimeStatus>(7)),
     COleDateTime(1.0, static_cast<COleDateTime::DateTimeStatus>(7)), false},
    {"status 7 and invalid", COleDateTime(1.0, static_cast<COleDateTime::DateTimeStatus>(7)),
     COleDateTime(1.0, COleDateTime::invalid), false},
};

TEST(OleDateTimeEquality, FollowsTheStatuses) {
  for (const EqualityCase& c : kEqualities) {
    EXPECT_EQ(c.a == c.b, c.equal) << c.what;
    EXPECT_EQ(c.b == c.a, c.equal) << c.what << " (swapped)";
    EXPECT_EQ(c.a != c.b, !c.equal) << c.what;
  }
}

struct LinearCase {
  double dt, linear;
};

const LinearCase kLinears[] = {
    {0.0, 0.0},   {1.5, 1.5},     {45000.25, 45000.25}, {-0.5, 0.5},
    {-1.0, -1.0}, {-1.25, -0.75}, {-2.75, -1.25},       {-657434.25, -657433.75},
};

TEST(OleDateTimeLinear, MakesNegativeCountsLinear) {
  for (const LinearCase& c : kLinears) EXPECT_EQ(LinearDayCount(c.dt), c.linear) << c.dt;
  EXPECT_TRUE(std::isnan(LinearDayCount(kNaN)));
}

struct MinutesCase {
  const char* what;
  double later, earlier;
  int minutes;
};

const double kRef = At(45296, 50829.0);

const MinutesCase kMinutes[] = {
    {"same time", kRef, kRef, 0},
    {"exactly 10 min", kRef, kRef - 600.0 / 86400, 10},
    {"9 min 59.6 s", kRef, kRef - 599.6 / 86400, 10},
    {"9 min 59.5 s", kRef, kRef - 599.5 / 86400, 10},
    {"9 min 59.4 s", kRef, kRef - 599.4 / 86400, 9},
    {"59 min 59.5 s", kRef, kRef - 3599.5 / 86400, 60},
    {"59 min 59.499 s", kRef, kRef - 3599.499 / 86400, 59},
    {"a record 5 min later", kRef, kRef + 300.0 / 86400, -5},
    {"a record 9 min 59.5 s later", kRef, kRef + 599.5 / 86400, -10},
    {"a record 0.4 s later", kRef, kRef + 0.4 / 86400, 0},
    {"across day 0 in the negative form", At(0, 180.0), At(-1, 86100.0), 8},
    {"both negative", -1.25, -2.75, 720},
    {"from the first to the last day", At(2958465, 86399.0), -657434.0, INT_MAX},
    {"and back", -657434.0, At(2958465, 86399.0), INT_MIN},
    {"largest minutes in int", 2147483647.0 / 1440, 0.0, INT_MAX},
    {"one below", 2147483646.0 / 1440, 0.0, 2147483646},
    {"smallest minutes in int", 0.0, 2147483648.0 / 1440, INT_MIN},
    {"NaN later", kNaN, kRef, INT_MAX},
    {"NaN earlier", kRef, kNaN, INT_MAX},
    {"record at minus infinity", kRef, -kInf, INT_MAX},
    {"record at infinity", kRef, kInf, INT_MIN},
    {"infinity from infinity", kInf, kInf, INT_MAX},
};

TEST(OleDateTimeMinutes, WholeMinutesOfTheRoundedDifference) {
  for (const MinutesCase& c : kMinutes) {
    EXPECT_EQ(WholeMinutesBetween(COleDateTime(c.later), COleDateTime(c.earlier)), c.minutes)
        << c.what;
  }
}

TEST(OleDateTimeMinutes, StatusDoesNotEnter) {
  const COleDateTime later(kRef, COleDateTime::null);
  const COleDateTime earlier(kRef - 600.0 / 86400, COleDateTime::invalid);
  EXPECT_EQ(WholeMinutesBetween(later, earlier), 10);
}

// The hour window's edge at every start of a minute over three years: without the rounding
// allowance 59 min 59.5 s came out as 59 at each of them.
TEST(OleDateTimeMinutes, HourEdgeHoldsAtAnyReferenceTime) {
  int failures = 0;
  for (int minute = 0; minute < 3 * 366 * 1440 && failures < 5; minute += 7) {
    const double r = 45000.0 + minute / 1440.0;
    const int atEdge = WholeMinutesBetween(COleDateTime(r), COleDateTime(r - 3599.5 / 86400));
    const int belowEdge = WholeMinutesBetween(COleDateTime(r), COleDateTime(r - 3599.499 / 86400));
    if (atEdge != 60 || belowEdge != 59) {
      ++failures;
      ADD_FAILURE() << "reference " << r << ": " << atEdge << ", " << belowEdge;
    }
  }
}

}  // namespace
