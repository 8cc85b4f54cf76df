// The extended ISO 8601 forms: yyyy-mm-dd, hh:mm:ss[.f], their datetime
// join with "T", and the zone designator.  The calendar and the rounded
// clock come from the date and time formats; this file only lays them out.
//
// Choices where the forms leave room:
//  - Hours always take two digits, and the decimals shown are those the
//    field has room for beside them: hh:mm:ss needs 8 columns and the
//    point one more, so a field of w columns shows min(d, w - 9) decimals
//    (E8601TM10.2 of 3723.456 is "01:02:03.5", never "1:02:03.46").
//  - The datetime forms round the whole datetime: a time of day that rounds
//    up to midnight moves the date to the next day ("1960-01-02T00:00:00",
//    never "1960-01-01T24:00:00"); if that day is 10000-01-01 the field is
//    asterisks.  E8601DT shows min(d, w - 20) decimals, so the text never
//    outgrows its field.  A bare time keeps "24:00:00" (the end of the
//    day), as the clock formats do.
//  - E8601DZ shows min(d, w - 21, 6) decimals, leaving at least one column
//    for the designator, as E8601TZ does with w - 10.
//  - A missing value shows its missing character at w - 1 - d in the
//    date and datetime forms and at w - 1 in the bare time (the time
//    formats' missing display, decimals taken as 0); the zone forms show
//    it followed by blanks where the designator "+00:00" would stand.
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/clock.h"
#include "datetime/date_formats.h"
#include "datetime/iso8601/iso_forms.h"

namespace valfmt {
namespace {

constexpr char kUtcOffset[] = "+00:00";
constexpr int32_t kOffsetWidth = 6;
constexpr int32_t kDateWidth = 10;
constexpr int32_t kClockWidth = 8;       // hh:mm:ss
constexpr int32_t kIsoLastDay = 2936547; // 9999-12-31

// Text of at most kIsoMaxWidth characters and where its zone starts.
struct Text {
  char chars[kIsoMaxWidth + 8];
  int32_t length = 0;
  int32_t zone = -1;
};

int32_t clamp_decimals(int32_t n) {
  if (n < 0) return 0;
  return n > kIsoMaxDecimals ? kIsoMaxDecimals : n;
}

// hh:mm:ss[.f] of a time of day with n decimals; reports whether the
// rounding reached the next midnight (then shown as hours 24).
void put_clock(const Seconds &time, int32_t n, Text &t, bool *next_day) {
  Clock k{};
  clock_round(time, false, kClockWidth + 1 + n, n, HourStyle::kElapsed, k);
  *next_day = k.hours >= 24;
  char *p = t.chars + t.length;
  put_two_digits(p, static_cast<int32_t>(k.hours));
  p[2] = ':';
  put_two_digits(p + 3, k.minutes);
  p[5] = ':';
  put_two_digits(p + 6, k.seconds);
  t.length += kClockWidth;
  if (n > 0) {
    p[8] = '.';
    std::memcpy(p + 9, k.fraction, static_cast<std::size_t>(n));
    t.length += n + 1;
  }
}

void put_date(int64_t day, Text &t) {
  const CivilDate c = civil_from_day(day);
  write_three_part_date(t.chars + t.length, kDateWidth, c.year, c.month, c.day,
                        '-');
  t.length += kDateWidth;
}

// "Z" when one to five columns are left, else the six-character offset;
// blanks of the same length for a missing value.
void put_designator(Text &t, int32_t w, IsoForm form, bool missing) {
  const int32_t room = w - t.length;
  t.zone = t.length;
  const int32_t len = room >= kOffsetWidth ? kOffsetWidth : 1;
  char *p = t.chars + t.length;
  t.length += len;
  if (missing) {
    put_blanks(p, len);
  } else if (len == 1) {
    *p = 'Z';
  } else {
    std::memcpy(p, form == IsoForm::kTimeLocal ? get_gmt_offsetc() : kUtcOffset,
                kOffsetWidth);
  }
}

bool has_zone(IsoForm form) {
  return form == IsoForm::kTimeUtc || form == IsoForm::kTimeLocal ||
         form == IsoForm::kDatetimeUtc;
}

bool in_range(IsoForm form, double v) {
  switch (form) {
  case IsoForm::kDate:
    return v >= kIsoFirstDate && v < kIsoDateLimit;
  case IsoForm::kDatePart:
  case IsoForm::kDatetime:
  case IsoForm::kDatetimeUtc:
    return v >= kIsoFirstDatetime && v < kIsoDatetimeLimit;
  default:
    return v >= 0 && v < kSecondsPerDay;
  }
}

// Decimals the field shows.
int32_t shown_decimals(IsoForm form, int32_t w, int32_t d) {
  switch (form) {
  case IsoForm::kTime:
    return clamp_decimals(d < w - 9 ? d : w - 9);
  case IsoForm::kTimeUtc:
  case IsoForm::kTimeLocal:
    return clamp_decimals(d < w - 10 ? d : w - 10);
  case IsoForm::kDatetime:
    return clamp_decimals(d < w - 20 ? d : w - 20);
  case IsoForm::kDatetimeUtc:
    return clamp_decimals(d < w - 21 ? d : w - 21);
  default:
    return 0;
  }
}

// The value's text; false when the datetime rounds up past 9999-12-31.
bool build_text(IsoForm form, double v, int32_t n, Text &t) {
  bool next_day = false;
  switch (form) {
  case IsoForm::kDate:
    put_date(day_of_date(v), t);
    return true;
  case IsoForm::kDatePart:
    put_date(split_day_time(v).day, t);
    return true;
  case IsoForm::kDatetime:
  case IsoForm::kDatetimeUtc: {
    const DayTime dt = split_day_time(v);
    Text clock;
    put_clock(dt.time, n, clock, &next_day);
    int64_t day = dt.day;
    if (next_day) {
      if (++day > kIsoLastDay) return false;
      put_two_digits(clock.chars, 0);
    }
    put_date(day, t);
    t.chars[t.length++] = 'T';
    std::memcpy(t.chars + t.length, clock.chars,
                static_cast<std::size_t>(clock.length));
    t.length += clock.length;
    return true;
  }
  default: {
    Seconds s;
    split_seconds(v, s);
    put_clock(s, n, t, &next_day);
    return true;
  }
  }
}

} // namespace

IsoField write_extended(IsoForm form, double v, int32_t w, int32_t d,
                        char *out) {
  d = clamp_decimals(d);
  const bool zone = has_zone(form);
  const bool missing = is_missing(v);
  if (!missing && !in_range(form, v)) {
    put_stars(out, w);
    return {IsoShown::kStars, w};
  }
  if (missing && !zone) {
    // The bare time shows it as the time formats do, decimals taken as 0.
    const int32_t after = form == IsoForm::kTime ? 0 : (d < w ? d : w - 1);
    put_blanks(out, w);
    out[w - 1 - after] = missing_char(v);
    return {IsoShown::kMissing, w};
  }
  Text t;
  if (missing) {
    t.chars[t.length++] = missing_char(v);
  } else if (!build_text(form, v, shown_decimals(form, w, d), t)) {
    put_stars(out, w);
    return {IsoShown::kStars, w};
  }
  if (zone) put_designator(t, w, form, missing);
  const int32_t lead = w - t.length;
  put_blanks(out, lead);
  std::memcpy(out + lead, t.chars, static_cast<std::size_t>(t.length));
  return {missing ? IsoShown::kMissing : IsoShown::kText,
          zone ? lead + t.zone : w};
}

} // namespace valfmt
