// WEEKDATE and WORDDATE: dates written with English weekday and month
// names, in layouts chosen by the width and right-aligned in it.
//
//   WEEKDATE  3..8 "Fri"   9..14 "Friday"   15..16 "Fri, Jan 1, 60"
//             17..22 "Fri, Jan 1, 1960"     23..28 "Friday, Jan 1, 1960"
//             29..37 "Friday, January 1, 1960"
//   WORDDATE  3..8 "Jan"   9..11 "January"  12..17 "Jan 1, 1960"
//             18..32 "January 1, 1960"
//
// Short names are the first three letters of the full ones ("Wed", "Sep").
// The year takes the room left after the rest of the text.  A five-digit
// year at the narrowest width of its layout ("Wednesday, September 30,
// 20000" is 30 characters) does not fit that room; the room then shows
// asterisks, as any date field too narrow for its year does, rather than
// the first digits of the year, which would read as a different year.
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/word_call.h"
#include "datetime/word_dates.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// Widths at which the layouts change.
constexpr int32_t kWeekFullName = 9;     // full weekday alone
constexpr int32_t kWeekDate = 15;        // weekday, month, day, 2-digit year
constexpr int32_t kWeekFullYear = 17;    // ... four-digit year
constexpr int32_t kWeekFullWeekday = 23; // full weekday name
constexpr int32_t kWeekFullMonth = 29;   // full month name
constexpr int32_t kWordFullName = 9;     // full month alone
constexpr int32_t kWordDate = 12;        // month, day, year
constexpr int32_t kWordFullMonth = 18;   // full month name

constexpr int32_t kShortName = 3;

const char *weekday_name(int64_t day) {
  return datestgs[weekday_of(day) + 23];
}

const char *month_name(int32_t month) {
  return datestgs[month - 1];
}

// Copies the first min(strlen(name), limit) letters of name to p.
char *put_name(char *p, const char *name, int32_t limit) {
  int32_t n = 0;
  while (n < limit && name[n] != '\0') {
    p[n] = name[n];
    ++n;
  }
  return p + n;
}

char *put_full_name(char *p, const char *name) {
  const auto n = std::strlen(name);
  std::memcpy(p, name, n);
  return p + n;
}

// The day of the month without a leading zero.
char *put_day(char *p, int32_t day) {
  if (day < 10) {
    *p = static_cast<char>('0' + day);
    return p + 1;
  }
  put_two_digits(p, day);
  return p + 2;
}

// The full year in at most room characters, asterisks when it needs more.
char *put_year(char *p, int32_t year, int32_t room) {
  const int32_t n = digit_count(static_cast<uint64_t>(year));
  if (n > room) {
    put_stars(p, room);
    return p + room;
  }
  write_digits_backward(p + n, static_cast<uint64_t>(year), n);
  return p + n;
}

char *put_comma_blank(char *p) {
  p[0] = ',';
  p[1] = ' ';
  return p + 2;
}

} // namespace

int32_t week_date_text(char *buf, int32_t w, int64_t day) {
  const char *weekday = weekday_name(day);
  if (w < kWeekFullName)
    return static_cast<int32_t>(put_name(buf, weekday, kShortName) - buf);
  if (w < kWeekDate)
    return static_cast<int32_t>(put_full_name(buf, weekday) - buf);
  const CivilDate cd = civil_from_day(day);
  char *p = buf;
  p = w < kWeekFullWeekday ? put_name(p, weekday, kShortName)
                           : put_full_name(p, weekday);
  p = put_comma_blank(p);
  const char *month = month_name(cd.month);
  p = w < kWeekFullMonth ? put_name(p, month, kShortName)
                         : put_full_name(p, month);
  *p++ = ' ';
  p = put_comma_blank(put_day(p, cd.day));
  if (w < kWeekFullYear) {
    put_two_digits(p, cd.year % 100);
    p += 2;
  } else {
    p = put_year(p, cd.year, w - static_cast<int32_t>(p - buf));
  }
  return static_cast<int32_t>(p - buf);
}

int32_t word_date_text(char *buf, int32_t w, int64_t day) {
  const CivilDate cd = civil_from_day(day);
  const char *month = month_name(cd.month);
  if (w < kWordFullName)
    return static_cast<int32_t>(put_name(buf, month, kShortName) - buf);
  // The longest month name has nine letters, so no width cuts it here.
  if (w < kWordDate) return static_cast<int32_t>(put_name(buf, month, w) - buf);
  char *p = w < kWordFullMonth ? put_name(buf, month, kShortName)
                               : put_full_name(buf, month);
  *p++ = ' ';
  p = put_comma_blank(put_day(p, cd.day));
  p = put_year(p, cd.year, w - static_cast<int32_t>(p - buf));
  return static_cast<int32_t>(p - buf);
}

namespace {

// Runs a word date layout on a call block: the common checks, the missing
// display, the range check, then the text right-aligned in w.
template <typename Text>
int32_t word_format(fmtcall *c, RowLimits limits, Text text) {
  int32_t status;
  if (!word_call_ok(c, limits, &status)) return status;
  const double v = call_value(c);
  if (is_missing(v)) {
    show_missing(c);
    return VF_OK;
  }
  if (!date_in_range(v)) {
    fill_stars(c, c->w);
    return VF_ERR_DATE_RANGE;
  }
  char buf[kWordTextMax];
  const int32_t w = c->w;
  put_right(static_cast<char *>(c->out), w, buf, text(buf, w, day_of(v)));
  return finish_narrow(c, w);
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmweekdate(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("WEEKDATE");
  return word_format(call, kLimits, week_date_text);
}

VF_API int32_t zfmworddate(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("WORDDATE");
  return word_format(call, kLimits, word_date_text);
}

} // extern "C"
