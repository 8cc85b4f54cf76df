// The clock writer behind the time and datetime formats: it splits a count
// of seconds into hours, minutes and seconds rounded for the field they
// will be shown in, and writes "h:mm:ss.fff" right-aligned.  TIME is this
// writer on its own; TOD, TIMEAMPM, DATETIME, DATEAMPM and MDYAMPM call it
// for their time of day.  Nothing here allocates, locks or reads state.
#pragma once

#include <cstdint>

#include "registry/limits.h"
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
// finite (c is then unspecified).
int32_t clock_round(double value, int32_t w, int32_t d, HourStyle style,
                    Clock &c);

// Writes c right-aligned in exactly w bytes: the sign and the hours, then
// ":mm" when w leaves room for it, then ":ss" and the decimals when w
// leaves room for those.  Hours wider than w give w asterisks.
void clock_write(const Clock &c, int32_t w, char *out);

// Gives a one-digit hour its leading zero: the character two places before
// the first ':' of the w bytes at out (without a colon, the one at w - 2)
// becomes '0' when it is a blank.
void pad_hour_zero(char *out, int32_t w);

// The seconds field of x (0 <= x < 60) with n decimals (0..31), digit for
// digit what the fixed renderer F(n+3).n shows for it, with a leading
// blank as '0': writes the n decimals to digits and returns the whole
// seconds (60 when the rounding reaches the next minute).  At most 15
// significant digits come from x; further decimals are '0'.
int32_t seconds_field(double x, int32_t n, char *digits);

// A datetime split by the floor of x / 86400: the day, and the seconds
// since its midnight (0 <= tod <= 86400; 86400 only when the remainder
// rounds up to a whole day, so that the day stays the one x lies in).
struct DayTime {
  int64_t day;
  double tod;
};
DayTime split_day_time(double x);

// Moves x up to the next whole second when it would show as one at d = 0
// (a fraction of half a second or more) or d = 1 (0.95 or more); other
// values and other decimals are returned unchanged.
double round_up_second(double x, int32_t d);

// What every clock format checks before it reads the value: a call block
// with a value and a buffer, w within the row's limits and, unless
// cut_to_buffer, an output buffer of at least w bytes.  Otherwise the
// field holds what fits of w asterisks and *status says why.
bool clock_call_ok(fmtcall *c, const RowLimits &limits, bool cut_to_buffer,
                   int32_t *status);

// The range step of the clock formats: true with *v for a value within the
// datetime range; otherwise the call is finished (the missing display with
// status 0, or w asterisks with VF_ERR_DATE_RANGE) and *status is set.
bool clock_value(fmtcall *c, double *v, int32_t *status);

// The caller's decimals within 0..maxd.
inline int32_t clock_decimals(const fmtcall *c, int32_t maxd) {
  return c->d < 0 ? 0 : (c->d > maxd ? maxd : c->d);
}

} // namespace valfmt
