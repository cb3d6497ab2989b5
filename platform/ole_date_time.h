// COleDateTime: the date-time value the host passes across the module boundary and the
// module stores in its QSO records.
//
// Laid out exactly as the host passes it: a double day count since 1899-12-30 00:00 (the
// fraction is the time of day, also for negative counts: -1.25 is 1899-12-29 06:00 and -0.5 is
// 1899-12-30 12:00), then a 32-bit status, 16 bytes in all. The module reads values it did not
// make, so every operation accepts any bit pattern: a status outside valid/invalid/null, a NaN,
// an infinity or a day count outside the years 100 to 9999 is treated as an invalid date, never
// as undefined behaviour.
//
// Conversions round to the nearest second the way the platform's own (oleaut32) does: half a
// second rounds up, 23:59:59.5 is midnight of the next day. Like oleaut32 the rounding allows
// kRoundingAllowance (1e-11 day, under a microsecond) for a value stored a few units in the
// last place below the half second it was meant to be. That covers every day count of
// magnitude below 65536 (1720-07-25 to 2079-06-05); further out a double's last place is
// coarser than the allowance, and a value meant as exactly x.5 s may round either way.
//
// A plain value type; safe to copy between threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class COleDateTime {
 public:
  enum DateTimeStatus : int32_t { valid = 0, invalid = 1, null = 2 };

  // The broken-down form of a valid value, rounded to the nearest second.
  struct Parts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 0;  // 1 = Sunday ... 7 = Saturday
    int dayOfYear = 0;  // 1 = 1 January
  };

  // Added to a time of day before it is rounded (see the file comment), in days.
  static constexpr double kRoundingAllowance = 1e-11;

  COleDateTime() = default;
  explicit COleDateTime(double dt, DateTimeStatus status = valid) : m_dt(dt), m_status(status) {}

  // A valid value for the given calendar date and time (proleptic Gregorian calendar), or an
  // invalid one when a field is out of range (year 100..9999, month 1..12, day within the
  // month, hour 0..23, minute and second 0..59). Dates before 1899-12-30 get the negative
  // encoding: 1899-12-29 06:00 is -1.25.
  static COleDateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                                int second = 0);

  // valid only when m_status is valid and m_dt, rounded to the second, lies within
  // 0100-01-01 00:00:00 to 9999-12-31 23:59:59 (so 9999-12-31 23:59:59.5, which would round into
  // the year 10000, is invalid); a stored status of null stays null whatever m_dt holds;
  // everything else reads as invalid.
  DateTimeStatus GetStatus() const;

  // Breaks a valid value down; false (and `out` untouched) for a null or invalid one.
  bool GetParts(Parts& out) const;

  // strftime-like formatting, independent of any C library locale: %Y (year, no padding),
  // %y (year of the century, 2 digits), %m %d %H %M %S (2 digits), %I (hour 01..12), %p (AM or
  // PM), %j (day of the year, 3 digits), %a %A (English weekday, short and full), %b %B
  // (English month, short and full), %% (a percent sign); any other text, an unknown
  // conversion and a lone % at the end included, is copied as it stands. A null value gives "",
  // an invalid one "Invalid DateTime"; a null pattern reads as the empty pattern.
  std::string Format(const char* pattern) const;

  // Equal when both have GetStatus() valid with the same day count, or both GetStatus() null
  // (whatever their day counts); any other pair is unequal, so an invalid value (a NaN or
  // 1e300 with status valid included) is unequal even to itself. 0.0 equals -0.0; -0.5 and 0.5
  // name the same moment but are different day counts, hence unequal.
  bool operator==(const COleDateTime& other) const;
  bool operator!=(const COleDateTime& other) const { return !(*this == other); }

  // alignas: the host's 32-bit compiler puts the double on an 8-byte boundary and the status at
  // offset 8; i386 GCC would otherwise align a double member to 4 and make the type 12 bytes.
  alignas(8) double m_dt = 0.0;
  DateTimeStatus m_status = valid;
};

static_assert(sizeof(COleDateTime) == 16, "the host passes 16 bytes");
static_assert(offsetof(COleDateTime, m_dt) == 0, "the host's day count is at offset 0");
static_assert(offsetof(COleDateTime, m_status) == 8, "the host's status is at offset 8");
static_assert(sizeof(COleDateTime::DateTimeStatus) == 4, "the host's status is 32 bits");

// Reads a date-time through a pointer the host gave, copied byte for byte (any bit pattern
// reads safely): a null pointer reads as a null date.
COleDateTime ReadDateTime(const COleDateTime* p);

// The day count with negative values made linear in time: a negative d becomes c - (d - c)
// with c = ceil(d), so that one day after -1.25 (1899-12-29 06:00) is -0.25 in linear terms.
// NaN stays NaN.
double LinearDayCount(double dt);

// Whole minutes from `earlier` to `later`: the linear day difference s, plus half a second with
// the sign of s (positive when s >= 0), times 1440, truncated toward zero; so 9 min 59.6 s gives
// 10, 59 min 59.5 s gives 60, and a `later` that is in fact earlier gives a negative count.
// The half second carries kRoundingAllowance as the date conversion does: without it a
// difference of 59 min 59.5 s between two day counts near the present comes out some
// nanoseconds short and gives 59. Both values are taken as day counts, whatever their status.
// The result saturates at INT_MIN / INT_MAX for differences beyond the int range (infinities
// included); a NaN difference gives INT_MAX, so a record with such a time falls outside every
// "within the last m minutes" window.
int WholeMinutesBetween(const COleDateTime& later, const COleDateTime& earlier);
