// Holds our date conversion against the platform's own, oleaut32 (VarUdateFromDate,
// VariantTimeToSystemTime, SystemTimeToVariantTime), over chosen edges and a few thousand
// pseudo-random day counts.
//
// Three places where Wine's oleaut32 is no authority for us; each is checked to be exactly the
// known difference and counted, not compared field by field (whether Windows' own oleaut32
// behaves the same there is not known here):
// - NaN: VarUdateFromDate's range test lets a NaN through and it returns S_OK with
//   meaningless fields; for us NaN is invalid.
// - A value that rounds up past 9999-12-31 23:59:59: oleaut32 rolls it into 10000-01-01 and
//   succeeds; the year 10000 is outside our range, so for us it is invalid.
// - The day of the week and of the year of a value whose time rounds up into the next day:
//   oleaut32 gives those of the day before the rounding; ours are those of the date it shows.
#include <windows.h>
// oleauto.h needs the types windows.h declares.
#include <gtest/gtest.h>
#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "platform/ole_date_time.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kFirstDay = -657434;  // 0100-01-01
constexpr int kLastDay = 2958465;   // 9999-12-31

double At(int day, double seconds) {
  return day >= 0 ? day + seconds / 86400.0 : day - seconds / 86400.0;
}

// A fixed sequence (splitmix64), so that a failure names a value that can be tried again.
class Sequence {
 public:
  uint64_t Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform(double low, double high) {
    return low + (high - low) * static_cast<double>(Next() >> 11) / 9007199254740992.0;
  }
  int Int(int low, int high) {
    return low + static_cast<int>(Next() % static_cast<uint64_t>(high - low + 1));
  }

 private:
  uint64_t m_state = 20240105;
};

// True when the time of day of a value in range rounds into the next day: oleaut32's day of
// the week and of the year are then those of the day before.
bool RoundsIntoNextDay(double dt) {
  const double timeOfDay = std::fabs(dt - std::trunc(dt));
  return timeOfDay * 86400.0 + 0.5 + COleDateTime::kRoundingAllowance * 86400.0 >= 86400.0;
}

struct Tally {
  int compared = 0;
  int rolledIntoNextDay = 0;
  int rolledDayFieldsDiffer = 0;  // day of week and of year those of the day before
  int intoYear10000 = 0;          // oleaut32: 10000-01-01 00:00:00; ours: invalid
  int nanAccepted = 0;            // oleaut32: S_OK; ours: invalid
};

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

// Compares one value; returns false when it differs (and says how).
bool AgreesWithOleaut32(double dt, Tally& tally) {
  UDATE ud = {};
  const bool theirsValid = SUCCEEDED(VarUdateFromDate(dt, 0, &ud));
  SYSTEMTIME st = {};
  const bool systemTimeValid = VariantTimeToSystemTime(dt, &st) != FALSE;
  COleDateTime::Parts ours;
  const bool oursValid = COleDateTime(dt).GetParts(ours);
  ++tally.compared;

  EXPECT_EQ(systemTimeValid, theirsValid) << dt;
  if (std::isnan(dt)) {
    EXPECT_FALSE(oursValid);
    if (theirsValid) ++tally.nanAccepted;
    return !oursValid;
  }
  if (!oursValid && theirsValid && ud.st.wYear == 10000) {
    ++tally.intoYear10000;
    const SYSTEMTIME kYear10000 = {10000, 1, 0, 1, 0, 0, 0, 0};
    EXPECT_TRUE(SameTime(ud.st, kYear10000)) << dt;
    EXPECT_GE(dt, kLastDay + 86399.0 / 86400) << "only a value rounding up may get here";
    return SameTime(ud.st, kYear10000);
  }
  EXPECT_EQ(oursValid, theirsValid) << dt;
  if (!oursValid || !theirsValid) return oursValid == theirsValid;

  const SYSTEMTIME& t = ud.st;
  const bool sameTime = ours.year == t.wYear && ours.month == t.wMonth && ours.day == t.wDay &&
                        ours.hour == t.wHour && ours.minute == t.wMinute &&
                        ours.second == t.wSecond;
  const bool sameDayFields = ours.dayOfWeek == t.wDayOfWeek + 1 && ours.dayOfYear == ud.wDayOfYear;
  const bool rolled = RoundsIntoNextDay(dt);
  bool dayFieldsAgree = sameDayFields;
  if (rolled) {
    ++tally.rolledIntoNextDay;
    const int y = ours.year - 1;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int dayOfYearBefore = ours.dayOfYear > 1 ? ours.dayOfYear - 1 : 365 + leap;
    const bool dayBefore =
        t.wDayOfWeek + 1 == (ours.dayOfWeek + 5) % 7 + 1 && ud.wDayOfYear == dayOfYearBefore;
    if (dayBefore) ++tally.rolledDayFieldsDiffer;
    dayFieldsAgree = sameDayFields || dayBefore;
  }
  const bool same = sameTime && dayFieldsAgree;
  EXPECT_TRUE(same) << std::hexfloat << dt << std::defaultfloat << " (" << dt << "): ours "
                    << ours.year << '-' << ours.month << '-' << ours.day << ' ' << ours.hour << ':'
                    << ours.minute << ':' << ours.second << " dow " << ours.dayOfWeek << " doy "
                    << ours.dayOfYear << ", oleaut32 " << t.wYear << '-' << t.wMonth << '-'
                    << t.wDay << ' ' << t.wHour << ':' << t.wMinute << ':' << t.wSecond << " dow "
                    << t.wDayOfWeek + 1 << " doy " << ud.wDayOfYear;
  EXPECT_TRUE(SameTime(st, t)) << dt;
  return same && SameTime(st, t);
}

// Compares a list; a flood of failures stops after a handful.
void CompareAll(const std::vector<double>& values, const char* what) {
  Tally tally;
  int failures = 0;
  for (double dt : values) {
    if (!AgreesWithOleaut32(dt, tally) && ++failures == 10) {
      FAIL() << "stopping after 10 differences";
    }
  }
  std::printf(
      "%s: %d values compared with oleaut32, %d differences; known: %d rounding into the next "
      "day (%d of them with oleaut32's day of week/year of the day before), %d rounding into "
      "the year 10000, %d NaN taken as valid\n",
      what, tally.compared, failures, tally.rolledIntoNextDay, tally.rolledDayFieldsDiffer,
      tally.intoYear10000, tally.nanAccepted);
}

TEST(OleDateTimeOleaut32, ChosenValues) {
  std::vector<double> values = {
      0.0,
      -0.0,
      0.5,
      -0.5,
      -1.25,
      -2.75,
      1.0,
      2.0,
      61.0,
      36526.0,
      36585.75,
      45000.0,
      At(45296, 50829.5),
      At(45296, 50829.499),
      At(45296, 50829.501),
      At(-1, 21600.5),
      At(-1, 21600.499),
      -3600.5 / 86400,
      At(45291, 86399.5),
      At(45291, 86399.499),
      At(45350, 86399.5),
      At(-1, 86399.5),
      At(-1, 86399.499),
      -86399.5 / 86400,
      -86399.499 / 86400,
      At(-2, 86399.9),
      -0.9999999,
      0.9999999,
      kFirstDay,
      At(kFirstDay, 43200.0),
      At(kFirstDay, 86399.0),
      At(kFirstDay, 86399.6),
      kLastDay,
      At(kLastDay, 43200.0),
      At(kLastDay, 86399.0),
      At(kLastDay, 86399.4),
      kFirstDay - 1.0,
      kFirstDay - 1.0 + 1e-9,
      At(kFirstDay - 1, 1.0),
      kLastDay + 1.0,
      kLastDay + 1.0 - 1e-6,
      kLastDay + 1.5,
      1e10,
      -1e10,
      1e300,
      -1e300,
      kInf,
      -kInf,
      std::numeric_limits<double>::max(),
      std::numeric_limits<double>::denorm_min(),
      kNaN,
      -kNaN,
  };
  // Every whole hour of the day and the half seconds around it, on both sides of day 0.
  for (int day : {-700, -1, 0, 1, 45296}) {
    for (int second = 0; second < 86400; second += 3600) {
      for (double offset : {0.0, 0.4999, 0.5, 0.5001, 3599.5})
        values.push_back(At(day, second + offset));
    }
  }
  CompareAll(values, "chosen values");
}

TEST(OleDateTimeOleaut32, RandomDayCountsAcrossTheRange) {
  Sequence random;
  std::vector<double> values;
  for (int i = 0; i < 4000; ++i) values.push_back(random.Uniform(kFirstDay - 1.0, kLastDay + 1.0));
  CompareAll(values, "uniform day counts");
}

// Half-second boundaries on random days and seconds where a double resolves them finely
// enough for either rounding to be authoritative (day counts of magnitude below 65536).
TEST(OleDateTimeOleaut32, RandomHalfSecondBoundaries) {
  Sequence random;
  std::vector<double> values;
  for (int i = 0; i < 1000; ++i) {
    const int day = random.Int(-65535, 65535);
    const int second = random.Int(0, 86399);
    for (double offset : {0.5, 0.4999, 0.5001}) values.push_back(At(day, second + offset));
  }
  CompareAll(values, "half-second boundaries");
}

// oleaut32's rounding allowance, measured: how far below x.5 s a value still rounds up. Ours
// is 1e-11 day; the two must agree to within the double's resolution of the time of day.
TEST(OleDateTimeOleaut32, SameRoundingAllowance) {
  Tally tally;
  for (double allowance : {2e-12, 5e-12, 8e-12, 9.9e-12, 1.01e-11, 1.2e-11, 2e-11, 5e-11}) {
    const double dt = 1.0 + (43200.5 / 86400 - allowance);
    SCOPED_TRACE(allowance);
    AgreesWithOleaut32(dt, tally);
  }
}

// FromParts against SystemTimeToVariantTime: the same day count, negative encoding included.
TEST(OleDateTimeOleaut32, FromPartsMatchesSystemTimeToVariantTime) {
  Sequence random;
  int compared = 0;
  for (int i = 0; i < 2000; ++i) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(random.Int(100, 9999));
    st.wMonth = static_cast<WORD>(random.Int(1, 12));
    st.wDay = static_cast<WORD>(random.Int(1, 28));
    st.wHour = static_cast<WORD>(random.Int(0, 23));
    st.wMinute = static_cast<WORD>(random.Int(0, 59));
    st.wSecond = static_cast<WORD>(random.Int(0, 59));
    if (i == 0) st = SYSTEMTIME{1899, 12, 0, 29, 6, 0, 0, 0};
    double theirs = 0.0;
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &theirs));
    const COleDateTime ours =
        COleDateTime::FromParts(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    ASSERT_EQ(ours.GetStatus(), COleDateTime::valid);
    // oleaut32 sums hours, minutes and seconds separately: a few units in the last place.
    EXPECT_NEAR(ours.m_dt, theirs, 1e-9) << st.wYear << '-' << st.wMonth << '-' << st.wDay;
    EXPECT_EQ(std::trunc(ours.m_dt), std::trunc(theirs)) << st.wYear << '-' << st.wMonth;
    ++compared;
  }
  std::printf("FromParts: compared %d dates with SystemTimeToVariantTime\n", compared);
}

}  // namespace
