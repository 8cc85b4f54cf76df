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
#include "datetime/word_dates.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// Widths at which the layouts change.
constexpr int32_t kWeekFullName = 9;     // full weekday alone
constexpr int32_t kWeekDate = 15;        // weekday, month, day, 2-digit year
constexpr int32_t kWeekFullYear = 17;    // ... full year
constexpr int32_t kWeekFullWeekday = 23; // full weekday name
constexpr int32_t kWeekFullMonth = 29;   // full month name
constexpr int32_t kWordFullName = 9;     // full month alone
constexpr int32_t kWordDate = 12;        // month, day, year
constexpr int32_t kWordFullMonth = 18;   // full month name

constexpr int32_t kShortName = 3;

// Lengths of the datestgs names, so that the field can be measured before
// it is written: months (entries 0..11), then weekdays (entries 24..30).
constexpr int32_t kMonthNameLength[12] = {7, 8, 5, 5, 3, 4, 4, 6, 9, 7, 8, 8};
constexpr int32_t kWeekdayNameLength[8] = {0, 6, 6, 7, 9, 8, 6, 8};

// A name of datestgs and the number of its letters the layout shows.
struct Name {
  const char *text;
  int32_t length;
};

Name weekday_name(int32_t weekday, bool full) {
  return {datestgs[weekday + 23],
          full ? kWeekdayNameLength[weekday] : kShortName};
}

Name month_name(int32_t month, bool full) {
  return {datestgs[month - 1], full ? kMonthNameLength[month - 1] : kShortName};
}

char *put_name(char *p, Name name) {
  for (int32_t i = 0; i < name.length; ++i) p[i] = name.text[i];
  return p + name.length;
}

int32_t day_length(int32_t day) {
  return day < 10 ? 1 : 2;
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

char *put_comma_blank(char *p) {
  p[0] = ',';
  p[1] = ' ';
  return p + 2;
}

// Characters the full year takes after a text of `before` characters in a
// field of w: its digits when they fit, else the room left, which then
// shows asterisks.
int32_t year_length(int32_t year, int32_t before, int32_t w) {
  const int32_t digits = year < 10000 ? 4 : 5;
  const int32_t room = w - before;
  return digits <= room ? digits : room;
}

// The year in exactly n characters, n as year_length gave it.
char *put_year(char *p, int32_t year, int32_t n) {
  if (n == 4 && year < 10000) {
    put_two_digits(p, year / 100);
    put_two_digits(p + 2, year % 100);
  } else if (n == 5 && year >= 10000) {
    write_digits_backward(p + 5, static_cast<uint64_t>(year), 5);
  } else {
    put_stars(p, n);
  }
  return p + n;
}

// Blanks out[0..w - length) and returns where a text of length characters
// starts so that it ends at out[w - 1].
char *right_start(char *out, int32_t w, int32_t length) {
  put_blanks(out, w - length);
  return out + (w - length);
}

void put_name_field(char *out, int32_t w, Name name) {
  put_name(right_start(out, w, name.length), name);
}

} // namespace

void week_date_field(char *out, int32_t w, int64_t day) {
  const int32_t weekday = weekday_of(day);
  if (w < kWeekDate) {
    put_name_field(out, w, weekday_name(weekday, w >= kWeekFullName));
    return;
  }
  const CivilDate cd = civil_from_day(day);
  const Name wk = weekday_name(weekday, w >= kWeekFullWeekday);
  const Name mo = month_name(cd.month, w >= kWeekFullMonth);
  // "Wk, Mo d, " then the year.
  const int32_t before = wk.length + 2 + mo.length + 1 + day_length(cd.day) + 2;
  const int32_t year_len =
      w < kWeekFullYear ? 2 : year_length(cd.year, before, w);
  char *p = right_start(out, w, before + year_len);
  p = put_comma_blank(put_name(p, wk));
  p = put_name(p, mo);
  *p++ = ' ';
  p = put_comma_blank(put_day(p, cd.day));
  if (w < kWeekFullYear)
    put_two_digits(p, cd.year % 100);
  else
    put_year(p, cd.year, year_len);
}

void word_date_field(char *out, int32_t w, int64_t day) {
  const CivilDate cd = civil_from_day(day);
  if (w < kWordDate) {
    // The longest month name has nine letters: no width here cuts it.
    put_name_field(out, w, month_name(cd.month, w >= kWordFullName));
    return;
  }
  const Name mo = month_name(cd.month, w >= kWordFullMonth);
  // "Mo d, " then the year.
  const int32_t before = mo.length + 1 + day_length(cd.day) + 2;
  const int32_t year_len = year_length(cd.year, before, w);
  char *p = right_start(out, w, before + year_len);
  p = put_name(p, mo);
  *p++ = ' ';
  p = put_comma_blank(put_day(p, cd.day));
  put_year(p, cd.year, year_len);
}

} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmweekdate(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("WEEKDATE");
  return run_word_format(call, kLimits, VF_ERR_DATE_RANGE, week_date_field);
}

VF_API int32_t zfmworddate(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("WORDDATE");
  return run_word_format(call, kLimits, VF_ERR_DATE_RANGE, word_date_field);
}

} // extern "C"
