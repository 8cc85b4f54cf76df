// Year, month and day of a date value with a handful of multiplications
// and shifts, without the year estimate and correction of civil_from_day:
// the day is moved onto the plain Gregorian day count from 1 March of
// year 0, then split by exact affine maps into centuries (36524.25 days
// each), years of the century (365.25 days each) and, counting the year
// from 1 March so that the leap day ends it, months (153 days every five
// months, tabulated for the 366 days of such a year).  Each map is a
// multiplication whose quotient and remainder come from one shift or one
// division by a constant.
//
// The calendar differs from the plain Gregorian one only in the years
// divisible by 4000, which have no 29 February.  Each such 1 March that a
// date has reached is a day that the plain count has and the calendar does
// not; those 1 Marches lie exactly 1460969 days apart, so their number is
// one division.  civil_from_day (calendar.h) stays the reference; the two
// agree on every day of the valid range.
#pragma once

#include <array>
#include <cstdint>

#include "datetime/calendar.h"

namespace valfmt {

struct YearMonthDay {
  int32_t year;
  int32_t month; // 1..12
  int32_t day;   // 1..31
};

namespace civil_fast_detail {

// Days from 1 March of year 0 to 1 January 1960 on the plain count.
inline constexpr int64_t kMarchZeroTo1960 = 715815;
// 1 March 4000, the first day after a 28 February the plain count follows
// with a 29th, and the span of 4000 years between two such days.
inline constexpr int64_t kFirstSkip = day_from_civil(4000, 3, 1);
inline constexpr int64_t kDaysPer4000Years = 1460969;
static_assert(day_from_civil(8000, 3, 1) - kFirstSkip == kDaysPer4000Years);
static_assert(kFirstDate - kFirstSkip + kDaysPer4000Years >= 0);

// Month (3 = March .. 14 = February) and day of each day of a year
// counted from 1 March, by the 153-days-per-five-months map.
struct MonthDay {
  int32_t month;
  int32_t day;
};
inline constexpr auto kMonthDayFromMarch = [] {
  std::array<MonthDay, 366> t{};
  for (uint32_t doy = 0; doy < t.size(); ++doy) {
    const uint32_t n3 = 2141 * doy + 197913;
    t[doy] = MonthDay{static_cast<int32_t>(n3 >> 16),
                      static_cast<int32_t>((n3 & 0xFFFF) / 2141 + 1)};
  }
  return t;
}();

} // namespace civil_fast_detail

// Year, month and day of a date in [kFirstDate, kDateLimit).
constexpr YearMonthDay civil_fast(int64_t date) {
  using namespace civil_fast_detail;
  // 0 before 1 March 4000, 1 from there to 1 March 8000, and so on.
  const auto skipped =
      static_cast<uint64_t>(date - kFirstSkip + kDaysPer4000Years) /
      static_cast<uint64_t>(kDaysPer4000Years);
  const auto z = static_cast<uint64_t>(date + kMarchZeroTo1960) + skipped;
  const uint64_t n1 = 4 * z + 3;
  const uint64_t century = n1 / 146097;
  const uint64_t n2 = (n1 % 146097) | 3; // 4 * day of the century + 3
  const uint64_t u = 2939745ull * n2;
  const uint64_t year_of_century = u >> 32;
  const uint64_t doy = (u & 0xFFFFFFFFull) / 2939745 / 4; // from 1 March
  const MonthDay md = kMonthDayFromMarch[doy];
  const bool jan_feb = doy >= 306;
  YearMonthDay r{};
  r.year =
      static_cast<int32_t>(100 * century + year_of_century) + (jan_feb ? 1 : 0);
  r.month = jan_feb ? md.month - 12 : md.month;
  r.day = md.day;
  return r;
}

static_assert(civil_fast(0).year == 1960 && civil_fast(0).month == 1 &&
              civil_fast(0).day == 1);

} // namespace valfmt
