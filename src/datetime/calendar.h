// Calendar arithmetic shared by the date, time and datetime families.
//
// The calendar is the proleptic Gregorian one with one more rule: a year
// divisible by 4000 is not a leap year.  Date values count days from
// 1 January 1960; valid dates run from 1 January 1582 (day -138061) to
// 31 December 20000 (day 6589335).  Everything here is closed-form integer
// arithmetic: no loops over years or months, no state, no allocation.
#pragma once

#include <cmath>
#include <cstdint>

#include "valfmt.h"

namespace valfmt {

inline constexpr int64_t kFirstDate = -138061; // 1582-01-01
inline constexpr int64_t kDateLimit = 6589336; // first day after 20000-12-31
inline constexpr int32_t kFirstYear = 1582;
inline constexpr int32_t kLastYear = 20000;
inline constexpr double kFirstDatetime = -11928470400.0; // kFirstDate * 86400
inline constexpr double kDatetimeLimit = 569318630400.0; // kDateLimit * 86400
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr int64_t kWholeSecondsPerDay = 86400;
inline constexpr int32_t kLargestJulian = 20000365;
// Two-digit years 50..99 are 1950..1999 and 0..49 are 2000..2049.
inline constexpr int32_t kWindowStart = 1950;

// Upper-case month abbreviations and the one-column month digits.
inline constexpr char kMonthAbbrev[12][4] = {"JAN", "FEB", "MAR", "APR",
                                             "MAY", "JUN", "JUL", "AUG",
                                             "SEP", "OCT", "NOV", "DEC"};
inline constexpr char kMonthDigits[] = "0123456789ABC";

// Days before the first of each month in a common year (index 1..12).
inline constexpr int32_t kDaysBeforeMonth[13] = {
    0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

constexpr bool is_leap(int64_t y) {
  if (y % 4000 == 0) return false;
  if (y % 400 == 0) return true;
  if (y % 100 == 0) return false;
  return y % 4 == 0;
}

constexpr int32_t month_length(int32_t year, int32_t month) {
  constexpr int32_t kLen[13] = {0,  31, 28, 31, 30, 31, 30,
                                31, 31, 30, 31, 30, 31};
  return kLen[month] + (month == 2 && is_leap(year) ? 1 : 0);
}

// Widens a two-digit year through the fixed 1950..2049 window.
constexpr int32_t widen_year(int32_t y) {
  if (y < 0 || y > 99) return y;
  return y >= kWindowStart % 100 ? y + 1900 : y + 2000;
}

// Leap days in years 1..k (k >= 0).
constexpr int64_t leap_days_through(int64_t k) {
  return k / 4 - k / 100 + k / 400 - k / 4000;
}

// The date value of day n (1-based) of year y; n = 0 is the day before
// 1 January of y.
constexpr int64_t day_number(int64_t y, int64_t n) {
  return 365 * y + leap_days_through(y - 1) - 715875 + n;
}

struct CivilDate {
  int32_t year;
  int32_t month; // 1..12
  int32_t day;   // 1..31
  int32_t yday;  // 1..366
};

// Month and day of the (0-based) day of year doy0.
constexpr void month_day(int32_t doy0, bool leap, int32_t &month,
                         int32_t &day) {
  const int32_t march1 = 59 + (leap ? 1 : 0);
  if (doy0 < 31) {
    month = 1;
    day = doy0 + 1;
  } else if (doy0 < march1) {
    month = 2;
    day = doy0 - 30;
  } else {
    // Months from March repeat a 153-day pattern every five months.
    const int32_t dm = doy0 - march1;
    const int32_t mp = (5 * dm + 2) / 153;
    month = mp + 3;
    day = dm - (153 * mp + 2) / 5 + 1;
  }
}

// Year, month, day and day of year of a day in [kFirstDate, kDateLimit).
constexpr CivilDate civil_from_day(int64_t date) {
  // t counts days from 1 January of year 1 (t = 0).
  const int64_t t = date + 715509;
  // 4000 years hold 1460969 days; the estimate is off by at most one year.
  int64_t y = t * 4000 / 1460969 + 1;
  int64_t start = day_number(y, 1) + 715509;
  if (t < start) {
    --y;
    start = day_number(y, 1) + 715509;
  } else {
    const int64_t next = day_number(y + 1, 1) + 715509;
    if (t >= next) {
      ++y;
      start = next;
    }
  }
  CivilDate c{};
  c.year = static_cast<int32_t>(y);
  const int32_t doy0 = static_cast<int32_t>(t - start);
  c.yday = doy0 + 1;
  month_day(doy0, is_leap(y), c.month, c.day);
  return c;
}

// Day of year (1-based) of a calendar date (year widened, parts valid).
constexpr int32_t day_of_year(int32_t year, int32_t month, int32_t day) {
  return kDaysBeforeMonth[month] + day + (month > 2 && is_leap(year) ? 1 : 0);
}

// The date value of a calendar date (year already widened, parts valid).
constexpr int64_t day_from_civil(int32_t year, int32_t month, int32_t day) {
  return day_number(year, day_of_year(year, month, day));
}

// True for a value inside the valid date range (false for any NaN).
inline bool date_in_range(double v) {
  return v >= static_cast<double>(kFirstDate) &&
         v < static_cast<double>(kDateLimit);
}

inline bool datetime_in_range(double v) {
  return v >= kFirstDatetime && v < kDatetimeLimit;
}

// The day of a date value in the valid range: its floor, without a call
// into the mathematics library.
inline int64_t day_of_date(double v) {
  const auto t = static_cast<int64_t>(v);
  return v < static_cast<double>(t) ? t - 1 : t;
}

// The day of any datetime value, floor(v / 86400) taken exactly: a moment
// before midnight belongs to the day before even where the division rounds
// up onto the whole day (it does for a tiny negative v, whose quotient
// underflows to zero).  Infinities and NaNs come back as they are, for the
// date formats' range step to refuse.
inline double day_of_datetime(double v) {
  double day = std::floor(v / kSecondsPerDay);
  if (day * kSecondsPerDay > v) day -= 1;
  return day;
}

// Weekday 1 (Sunday) .. 7 (Saturday) of a day in the valid range.
constexpr int32_t weekday_of(int64_t date) {
  // Day 0 is a Friday (6).  138066 = 7 * 19723 + 5 keeps the sum positive
  // over the whole range, so the remainder is the floored one.
  return static_cast<int32_t>((date + 138066) % 7) + 1;
}

// Seconds since midnight of a time or datetime value in the valid range,
// in [0, 86400).  A tiny negative remainder that rounds up to a whole day
// counts as midnight of the next day.
inline double seconds_of_day(double x) {
  double r = std::fmod(x, kSecondsPerDay);
  if (r < 0) {
    r += kSecondsPerDay;
    if (r >= kSecondsPerDay) r = 0;
  }
  return r == 0 ? 0.0 : r; // no negative zero
}

} // namespace valfmt
