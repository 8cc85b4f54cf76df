// The time formats: TIME (elapsed hours, minutes and seconds), TOD (the
// time of day with two-digit hours), TIMEAMPM (the 12-hour clock) and HOUR
// (hours with decimals).  Each writes exactly w narrow bytes, never more
// than outsize, and leaves the caller's call block as it found it except
// outlen and outenc.
//
// Choices where the format's definition leaves room:
//  - A width outside the row's limits gives what fits of w asterisks and
//    VF_ERR_WIDTH; an outsize below w gives what fits of w asterisks and
//    VF_ERR_OUTSIZE; a null value or buffer gives VF_ERR_BAD_CALL.
//  - Decimals below 0 count as 0, decimals above the row's maximum as that
//    maximum.
//  - The hours are written in full, up to the 16 digits of 2^53; hours
//    wider than the field give w asterisks with status 0.  Values within
//    the datetime range have at most nine hour digits.
//  - TOD takes the floored remainder of the value by one day exactly, so a
//    negative value keeps all its fraction digits.
//  - TIMEAMPM rounds once: the hour it shows, its AM/PM marker and the
//    minutes and seconds all come from the same rounded time, so 46799.6
//    at TIMEAMPM11.2 reads " 1:00:00 PM" and 86399.5 at TIMEAMPM11.1 reads
//    "12:00:00 AM".  A value half a second (d = 0) or 0.95 s (d = 1) below
//    a whole second moves up to exactly that second, never one more.
//    Below five columns the marker stands alone, taken from the time
//    rounded to d decimals; a time that rounds to midnight is AM.
//  - HOUR shows the hours as F does at the same width and decimals and
//    reports 0 even where F shows asterisks, as TIME does for hours wider
//    than its field.
#include <cmath>
#include <cstring>

#include "core/call.h"
#include "datetime/clock.h"
#include "datetime/call_checks.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kTime = row_limits("TIME");
constexpr RowLimits kTod = row_limits("TOD");
constexpr RowLimits kTimeAmPm = row_limits("TIMEAMPM");
constexpr RowLimits kHour = row_limits("HOUR");

// TIMEAMPM below this width shows the marker alone.
constexpr int32_t kMarkerOnlyBelow = 5;
constexpr int32_t kMarkerWidth = 3; // " AM", " PM"

int32_t elapsed_clock(fmtcall *c, const RowLimits &limits, bool tod) {
  int32_t status;
  ClockInput in;
  if (!begin_clock_call(c, limits, in, &status)) return status;
  const double v = in.value;
  const int32_t d = in.decimals;
  Clock k;
  status =
      tod ? clock_round(time_of_day(v), false, c->w, d, HourStyle::kElapsed, k)
          : clock_round(v, c->w, d, HourStyle::kElapsed, k);
  if (status != VF_OK) {
    fill_stars(c, c->w);
    return finish_narrow(c, c->w, status);
  }
  clock_write(k, c->w, static_cast<char *>(c->out), tod);
  return finish_narrow(c, c->w);
}

// The marker alone: the hour of the time of day t rounded to d decimals,
// on a 24-hour day.
bool afternoon(const Seconds &t, int32_t d) {
  const int32_t dr = d > 30 ? 30 : d;
  const double x =
      static_cast<double>(t.days * kWholeSecondsPerDay + t.sod) + t.frac;
  const double r = 5.0 / std::pow(10.0, dr + 1) + 1e-8;
  const auto hour = static_cast<int64_t>(std::trunc(x + r)) / 3600;
  return hour % 24 >= 12;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmtime(fmtcall *call) {
  return valfmt::elapsed_clock(call, valfmt::kTime, false);
}

VF_API int32_t zfmtod(fmtcall *call) {
  return valfmt::elapsed_clock(call, valfmt::kTod, true);
}

VF_API int32_t zfmtimm(fmtcall *call) {
  using namespace valfmt;
  int32_t status;
  ClockInput in;
  if (!begin_clock_call(call, kTimeAmPm, in, &status)) return status;
  const double v = in.value;
  const int32_t d = in.decimals;
  const int32_t w = call->w;
  char *out = static_cast<char *>(call->out);
  // The time of day, 0 to 86400 (86400 only by rounding: midnight).
  const Seconds x = split_day_time(round_up_second(v, d)).time;
  if (w < kMarkerOnlyBelow) {
    put_blanks(out, w - 2);
    out[w - 2] = afternoon(x, d) ? 'P' : 'A';
    out[w - 1] = 'M';
    return finish_narrow(call, w);
  }
  Clock k;
  status = clock_round(x, false, w - kMarkerWidth, d, HourStyle::kTwelve, k);
  clock_write(k, w - kMarkerWidth, out);
  std::memcpy(out + w - kMarkerWidth, k.pm ? " PM" : " AM", kMarkerWidth);
  return finish_narrow(call, w, status);
}

VF_API int32_t zfmhour(fmtcall *call) {
  using namespace valfmt;
  int32_t status;
  ClockInput in;
  if (!begin_clock_call(call, kHour, in, &status)) return status;
  const double v = in.value;
  const int32_t d = in.decimals;
  // Whole hours and the seconds into the hour, split exactly.
  Seconds s;
  split_seconds(std::fabs(v), s);
  const double in_hour = static_cast<double>(s.sod % 3600) + s.frac;
  const int64_t whole_hours = s.days * 24 + s.sod / 3600;
  const auto hours = static_cast<double>(whole_hours);
  const double shown =
      d == 0 && in_hour >= 1800 ? hours + 1 : hours + in_hour / 3600.0;
  fmtcall inner = *call;
  inner.d = d;
  inner.value = &shown;
  zfmt(&inner); // a field too narrow shows asterisks; HOUR reports 0
  return finish_narrow(call, inner.outlen);
}

} // extern "C"
