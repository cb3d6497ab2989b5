// COleDateTime: the date-time value the host passes across the module boundary and the
// module stores in its QSO records.
//
// Laid out exactly as the host passes it: a double day count since 1899-12-30 00:00 (the
// fraction is the time of day, also for negative counts: -1.25 is 1899-12-29 06:00), then a
// 32-bit status. The module reads values it did not make, so every operation accepts any bit
// pattern: a status outside valid/invalid/null, a NaN, an infinity or a day count outside the
// years 100 to 9999 is treated as an invalid date, never as undefined behaviour.
//
// A plain value type; safe to copy between threads.
#pragma once

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

  COleDateTime() = default;
  explicit COleDateTime(double dt, DateTimeStatus status = valid) : m_dt(dt), m_status(status) {}

  // A valid value for the given calendar date and time, or an invalid one when a field is out
  // of range (month 1..12, day within the month, hour 0..23, minute and second 0..59).
  static COleDateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                                int second = 0);

  // valid only when m_status is valid and m_dt is a day count within the years 100 to 9999;
  // a stored status of null stays null; everything else reads as invalid.
  DateTimeStatus GetStatus() const;

  // Breaks a valid value down; false (and `out` untouched) for a null or invalid one.
  bool GetParts(Parts& out) const;

  // strftime-like formatting: %Y %y %m %d %H %M %S %j %a %A %b %B %p %% and literal text.
  // A null value gives "", an invalid one "Invalid DateTime".
  std::string Format(const char* pattern) const;

  // Equal when both are valid with the same day count, or both are null; any other pair of
  // statuses (an invalid value included, even with itself) is unequal. 0.0 equals -0.0.
  bool operator==(const COleDateTime& other) const;
  bool operator!=(const COleDateTime& other) const { return !(*this == other); }

  double m_dt = 0.0;
  DateTimeStatus m_status = valid;
};

// Reads a date-time through a pointer the host gave: a null pointer reads as a null date.
COleDateTime ReadDateTime(const COleDateTime* p);

// The day count with negative values made linear in time: a negative d becomes c - (d - c)
// with c = ceil(d), so that one day after -1.25 (1899-12-29 06:00) is -0.25 in linear terms.
double LinearDayCount(double dt);

// Whole minutes from `earlier` to `later`: the linear day difference s, plus half a second with
// the sign of s, times 1440, truncated toward zero. Both values are taken as day counts; the
// result saturates at the int range for differences too large to be minutes of any log.
int WholeMinutesBetween(const COleDateTime& later, const COleDateTime& earlier);
