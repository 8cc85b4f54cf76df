// The clock writer behind the time and datetime formats: it splits a count
// of seconds into hours, minutes and seconds rounded for the field they
// will be shown in, and writes "h:mm:ss.fff" right-aligned.  TIME is this
// writer on its own; TOD, TIMEAMPM, DATETIME, DATEAMPM and MDYAMPM call it
// for their time of day.  Nothing here allocates, locks or reads state.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/digits.h"
#include "datetime/calendar.h"
#include "valfmt.h"

namespace valfmt {

// Decimals a seconds field can carry (DATETIME40 shows at most 23).
inline constexpr int32_t kClockMaxDecimals = 31;

// Hours beyond this count cannot be shown (VF_ERR_TIME_HOURS).
inline constexpr int64_t kClockMaxHours = int64_t{1} << 53;

enum class HourStyle : uint8_t {
  kElapsed, // hours counted on from zero, any number of them
  kTwelve,  // a time of day on the 12-hour clock: 12, 1 .. 11, AM or PM
};

// A clock rounded for one field width.  Every part comes from the same
// rounded time: the seconds digits, the minutes, the hours shown and, on
// the 12-hour clock, the marker and the move to the next day.
struct Clock {
  int64_t hours;    // as shown: elapsed hours, or 1..12
  int32_t minutes;  // 0..59
  int32_t seconds;  // 0..59
  int32_t decimals; // decimals shown after the seconds
  bool negative;
  bool pm;       // 12-hour clock: afternoon
  bool next_day; // 12-hour clock: the time rounded up to the next midnight
  char fraction[kClockMaxDecimals];
};

// v >= 0 seconds split exactly into whole days, whole seconds into the day
// and the fraction of a second.  False when v is not finite or so large
// that its hours are far beyond kClockMaxHours.
struct Seconds {
  int64_t days;
  int64_t sod; // 0..86399
  double frac; // 0 <= frac < 1
};
bool split_wide_seconds(double v, Seconds &s); // v >= 2^62
inline bool split_seconds(double v, Seconds &s) {
  if (!(v < 0x1p62)) return split_wide_seconds(v, s);
  const auto whole = static_cast<int64_t>(v);
  s.frac = v - static_cast<double>(whole);
  s.days = whole / kWholeSecondsPerDay;
  s.sod = whole % kWholeSecondsPerDay;
  return true;
}

namespace clock_detail {

// The 12-hour face of a count of hours since midnight.
inline int64_t twelve_hour(int64_t h) {
  const int64_t k = h % 12;
  return k == 0 ? 12 : k;
}

// Columns of the sign and the hour digits.
inline int32_t lead_width(int64_t hours, bool negative) {
  return digit_count(static_cast<uint64_t>(hours)) + (negative ? 1 : 0);
}

// Decimals shown: d, as far as w leaves room beside the hours.
inline int32_t decimals_for(int32_t w, int32_t d, int32_t lead) {
  int32_t n = w - lead - 7;
  if (d < n) n = d;
  if (n < 0) n = 0;
  return n > 31 ? 31 : n;
}

} // namespace clock_detail

// Rounds |value| seconds for a clock field of width w with up to d
// decimals (d clamped to 0..30 for the rounding increment):
//  - a time within half a unit of the d-th decimal (plus 1e-8) of the next
//    whole hour or minute is carried up to it;
//  - the decimals shown are min(d, w - 7 - sign - hour digits), at least 0;
//  - the seconds round as the fixed renderer rounds them at that many
//    decimals, and a rounding that reaches 60 seconds carries on to the
//    minutes and hours (the field never shows 60).
// For kTwelve, value is a time of day from 0 to 86400 inclusive.  Returns
// VF_OK, or VF_ERR_TIME_HOURS when the hours pass 2^53 or value is not
// finite (c is then unspecified).  The overload on Seconds takes a value
// already split (s = |value|, negative its sign); whole seconds are
// handled inline, a fraction by clock_round_fraction.
int32_t clock_round_fraction(const Seconds &s, bool negative, int32_t w,
                             int32_t d, HourStyle style, Clock &c);
inline int32_t clock_round(const Seconds &s, bool negative, int32_t w,
                           int32_t d, HourStyle style, Clock &c) {
  if (s.frac != 0) return clock_round_fraction(s, negative, w, d, style, c);
  // Whole seconds: no increment reaches the next minute (it is at most
  // half a second), and there is no fraction to round.
  using namespace clock_detail;
  const bool twelve = style == HourStyle::kTwelve;
  const int64_t h = s.days * 24 + s.sod / 3600;
  if (h > kClockMaxHours) return VF_ERR_TIME_HOURS;
  c.negative = negative;
  c.minutes = static_cast<int32_t>(s.sod % 3600 / 60);
  c.seconds = static_cast<int32_t>(s.sod % 60);
  c.hours = twelve ? twelve_hour(h) : h;
  c.decimals = d > 0 ? decimals_for(w, d, lead_width(c.hours, negative)) : 0;
  if (c.decimals > 0)
    std::memset(c.fraction, '0', static_cast<std::size_t>(c.decimals));
  c.next_day = twelve && h >= 24;
  c.pm = twelve && h % 24 >= 12;
  return VF_OK;
}
inline int32_t clock_round(double value, int32_t w, int32_t d, HourStyle style,
                           Clock &c) {
  Seconds s;
  if (!split_seconds(std::fabs(value), s)) return VF_ERR_TIME_HOURS;
  return clock_round(s, value < 0, w, d, style, c);
}

// Writes c right-aligned in exactly w bytes: the sign and the hours, then
// ":mm" when w leaves room for it, then ":ss" and the decimals when w
// leaves room for those.  Hours wider than w give w asterisks.  With
// two_digit_hours a one-digit hour takes a leading zero when a column is
// free for it ("01:02:03"; a negative clock keeps its sign instead).
void clock_write(const Clock &c, int32_t w, char *out,
                 bool two_digit_hours = false);

// The seconds field of x (0 <= x < 60) with n decimals (0..31), digit for
// digit what the fixed renderer F(n+3).n shows for it, with a leading
// blank as '0': writes the n decimals to digits and returns the whole
// seconds (60 when the rounding reaches the next minute).  At most 15
// significant digits come from x; further decimals are '0'.
int32_t seconds_field(double x, int32_t n, char *digits);

// A datetime split by the floor of x / 86400 (x within the datetime
// range): the day, and the time since its midnight.  The time is a whole
// day (days = 1) only when a remainder a hair below one day rounds up to
// it, so that the day stays the one x lies in.
struct DayTime {
  int64_t day;
  Seconds time;
};
inline DayTime split_day_time(double x) {
  auto whole = static_cast<int64_t>(x);
  if (static_cast<double>(whole) > x) --whole;
  DayTime dt;
  dt.day = whole / kWholeSecondsPerDay;
  dt.time.days = 0;
  dt.time.sod = whole % kWholeSecondsPerDay;
  if (dt.time.sod < 0) {
    dt.time.sod += kWholeSecondsPerDay;
    --dt.day;
  }
  // Exact, except for a tiny negative x: its fraction rounds up to 1.
  dt.time.frac = x - static_cast<double>(whole);
  if (dt.time.frac >= 1) {
    dt.time.frac = 0;
    if (++dt.time.sod == kWholeSecondsPerDay) {
      dt.time.sod = 0;
      dt.time.days = 1;
    }
  }
  return dt;
}

// The time of day of x within the datetime range: its floored remainder by
// one day (a remainder that rounds up to a whole day is the next midnight).
inline Seconds time_of_day(double x) {
  Seconds t = split_day_time(x).time;
  t.days = 0;
  return t;
}

// Moves x up to the next whole second when it would show as one at d = 0
// (a fraction of half a second or more) or d = 1 (0.95 or more); other
// values and other decimals are returned unchanged.
double round_up_second(double x, int32_t d);

} // namespace valfmt
