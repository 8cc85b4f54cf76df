// The datetime formats: DATETIME ("01JAN1960:12:34:56.7"), DATEAMPM (the
// same on the 12-hour clock with its marker) and MDYAMPM ("10/30/1960
// 12:00 PM").  Each writes exactly w narrow bytes, never more than outsize,
// and leaves the caller's call block as it found it except outlen and
// outenc.
//
// The day of a datetime is the floor of x / 86400 and its time the floored
// remainder, both exact, so a value just below midnight keeps its own day
// (shown as 24:00:00 when its time rounds up to the end of that day) and a
// tiny negative value lies on 31DEC1959.
//
// Choices where the format's definition leaves room:
//  - DATETIME shows decimals only when the whole text fits: with d > 0 and
//    w - d < 17, d drops to max(w - 17, 0).  (A smaller margin would push
//    the last decimal, or the lone decimal point, past the field.)
//  - The 12-hour forms round once: the hour, the marker and the date shown
//    beside them all come from the same rounded time, so 23:59:59.5 at
//    MDYAMPM19 reads "  1/2/1960 12:00 AM" and 11:59:59.5 at DATEAMPM19.1
//    reads "01JAN60:12:00:00 PM".  A time half a second (d = 0) or 0.95 s
//    (d = 1) below a whole second moves up to exactly that second.
//    MDYAMPM below 17 columns shows only the date, the day of the value
//    itself.  A time rounded up past the last second of 31 December 20000
//    shows 1 January 20001.
//  - A five-digit year in a four-digit year field shows "****", as DATE9
//    does; a two-digit year is the year mod 100.
//  - MDYAMPM with outsize below w delivers the first outsize characters of
//    its w-character text with VF_ERR_OUTSIZE; the other two formats give
//    asterisks and VF_ERR_OUTSIZE.  Widths outside the row's limits give
//    asterisks and VF_ERR_WIDTH; decimals below 0 count as 0, above the
//    row's maximum as that maximum.
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "datetime/calendar.h"
#include "datetime/clock.h"
#include "datetime/call_checks.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kDatetime = row_limits("DATETIME");
constexpr RowLimits kDateAmPm = row_limits("DATEAMPM");
constexpr RowLimits kMdyAmPm = row_limits("MDYAMPM");

constexpr int32_t kTextCap = 64;          // MDYAMPM's text, at most 40
constexpr int32_t kMarkerWidth = 3;       // " AM", " PM"
constexpr int32_t kMarkerFrom = 13;       // DATEAMPM: narrower has none
constexpr int32_t kMdyTimeFrom = 17;      // MDYAMPM: narrower has no time
constexpr int32_t kMdyFourDigitFrom = 19; // MDYAMPM: four-digit years
constexpr int32_t kMdyTimeWidth = 9;      // TIMEAMPM9.
constexpr int64_t kWholeSecondsPerDay = 86400;
// The widest text DATETIME lays out.
constexpr int32_t kDatetimeMaxText = 40;

// Where DATETIME puts its parts at width w with d decimals.
struct Layout {
  int32_t d;          // decimals shown
  int32_t date_width; // 7 ("01JAN60") or 9 ("01JAN1960")
  int32_t time_at;    // characters before the time part
  int32_t time_width; // 0 (no time), 2 (hh), 5 (hh:mm) or 8 + decimals
};

Layout datetime_layout(int32_t w, int32_t d) {
  Layout l{};
  l.d = d;
  if (d > 0 && w - d < 17) l.d = w > 17 ? w - 17 : 0;
  l.date_width = (w - l.d >= 19 || w - l.d == 9) ? 9 : 7;
  l.time_at = l.date_width + (w > 9 ? 1 : 0);
  if (w > 9 && w >= l.time_at + 2) {
    if (w < l.time_at + 5) {
      l.time_width = 2;
    } else if (w < l.time_at + 8) {
      l.time_width = 5;
    } else {
      l.time_width = 8 + l.d + (l.d > 0 ? 1 : 0);
      if (l.time_width > kDatetimeMaxText - l.time_at) {
        l.time_width = kDatetimeMaxText - l.time_at;
        l.d = 31 - l.time_at;
      }
    }
  }
  return l;
}

// A year in a four-character field; asterisks for a five-digit year.
void put_year4(char *p, int32_t year) {
  if (year <= 9999) {
    put_two_digits(p, year / 100);
    put_two_digits(p + 2, year % 100);
  } else {
    put_stars(p, 4);
  }
}

// "01JAN60" (7) or "01JAN1960" (9).
void put_date(char *p, int64_t day, int32_t width) {
  const CivilDate cd = civil_from_day(day);
  put_two_digits(p, cd.day);
  std::memcpy(p + 2, kMonthAbbrev[cd.month - 1], 3);
  if (width == 7)
    put_two_digits(p + 5, cd.year % 100);
  else
    put_year4(p + 5, cd.year);
}

// DATETIME's text for a day and its time (at most a whole day) in exactly
// w bytes.  On the 12-hour clock *pm receives the marker; a time that
// rounds up to midnight moves the date to the next day.
void write_datetime(int64_t day, const Seconds &time, int32_t w, int32_t d,
                    HourStyle style, char *out, bool *pm) {
  const Layout l = datetime_layout(w, d);
  Clock k;
  k.pm = false;
  k.next_day = false;
  if (l.time_width > 0) {
    // A time of at most one day keeps the hours far below the limit.
    clock_round(time, false, l.time_width, l.d, style, k);
    if (k.next_day) ++day;
  }
  if (pm) *pm = k.pm;
  const int32_t colon = w > 9 ? 1 : 0;
  const int32_t len = l.date_width + colon + l.time_width;
  if (len > w) {
    // Not reached by any layout above; kept so that no text overflows.
    put_stars(out, w);
    return;
  }
  put_blanks(out, w - len);
  char *p = out + (w - len);
  put_date(p, day, l.date_width);
  p += l.date_width;
  if (colon) *p++ = ':';
  if (l.time_width > 0) clock_write(k, l.time_width, p, true);
}

// The day and time of v, moved up to the next whole second the way the
// 12-hour forms round at d = 0 and d = 1; a time that reaches a whole day
// moves to the next day's midnight.  The time stays split into whole
// seconds and their fraction, so no digit of the fraction is lost to a
// sum rounded to a double.
DayTime rounded_day_time(double v, int32_t d) {
  DayTime dt = split_day_time(v);
  dt.day += dt.time.days;
  dt.time.days = 0;
  if (d <= 1 && dt.time.frac >= (d == 0 ? 0.5 : 0.95)) {
    dt.time.frac = 0;
    if (++dt.time.sod == kWholeSecondsPerDay) {
      dt.time.sod = 0;
      ++dt.day;
    }
  }
  return dt;
}

// "m/d/yy" or "m/d/yyyy" ending just before `end`.
void put_mdy(char *text, int32_t end, int64_t day, bool four_digit_year) {
  const CivilDate cd = civil_from_day(day);
  char *p = text + end;
  if (four_digit_year) {
    p -= 4;
    put_year4(p, cd.year);
  } else {
    p -= 2;
    put_two_digits(p, cd.year % 100);
  }
  *--p = '/';
  const int32_t dd = cd.day < 10 ? 1 : 2;
  write_digits_backward(p, static_cast<uint64_t>(cd.day), dd);
  p -= dd;
  *--p = '/';
  const int32_t md = cd.month < 10 ? 1 : 2;
  write_digits_backward(p, static_cast<uint64_t>(cd.month), md);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmdttm(fmtcall *call) {
  using namespace valfmt;
  int32_t status;
  ClockInput in;
  if (!begin_clock_call(call, kDatetime, in, &status)) return status;
  const double v = in.value;
  const DayTime dt = split_day_time(v);
  write_datetime(dt.day, dt.time, call->w, in.decimals, HourStyle::kElapsed,
                 static_cast<char *>(call->out), nullptr);
  return finish_narrow(call, call->w);
}

VF_API int32_t zfmdtmm(fmtcall *call) {
  using namespace valfmt;
  int32_t status;
  ClockInput in;
  if (!begin_clock_call(call, kDateAmPm, in, &status)) return status;
  const double v = in.value;
  const int32_t d = in.decimals;
  const int32_t w = call->w;
  char *out = static_cast<char *>(call->out);
  const DayTime dt = rounded_day_time(v, d);
  if (w < kMarkerFrom) {
    write_datetime(dt.day, dt.time, w, d, HourStyle::kElapsed, out, nullptr);
  } else {
    bool pm = false;
    write_datetime(dt.day, dt.time, w - kMarkerWidth, d, HourStyle::kTwelve,
                   out, &pm);
    std::memcpy(out + w - kMarkerWidth, pm ? " PM" : " AM", kMarkerWidth);
  }
  return finish_narrow(call, w);
}

VF_API int32_t zfmdyam(fmtcall *call) {
  using namespace valfmt;
  int32_t status;
  if (!narrow_call_ok(call, kMdyAmPm, ShortBuffer::kCut, &status))
    return status;
  const int32_t cap = out_capacity(call);
  const int32_t w = call->w;
  const bool cut = cap < w;
  double v = 0;
  if (!clock_value(call, &v, &status))
    return status == VF_OK && cut ? VF_ERR_OUTSIZE : status;
  char text[kTextCap];
  put_blanks(text, w);
  DayTime dt = split_day_time(v);
  int32_t date_end = w;
  if (w >= kMdyTimeFrom) {
    dt = rounded_day_time(v, 0);
    Clock k;
    const int32_t clock_width = kMdyTimeWidth - kMarkerWidth;
    clock_round(dt.time, false, clock_width, 0, HourStyle::kTwelve, k);
    if (k.next_day) ++dt.day;
    date_end = w - kMdyTimeWidth;
    clock_write(k, clock_width, text + date_end);
    std::memcpy(text + w - kMarkerWidth, k.pm ? " PM" : " AM", kMarkerWidth);
  }
  put_mdy(text, date_end, dt.day, w >= kMdyFourDigitFrom);
  const int32_t n = cut ? cap : w;
  std::memcpy(call->out, text, static_cast<std::size_t>(n));
  return finish_narrow(call, n, cut ? VF_ERR_OUTSIZE : VF_OK);
}

} // extern "C"
