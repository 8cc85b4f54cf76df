// Time and datetime informats: @TIME (a time of day or a duration),
// @DATETIME (a @DATE text, a delimiter and a @TIME text), @MDYAMPM
// (month/day/year, a time, AM or PM) and @YMDDTTM (year-month-day and a
// time with any delimiters).
//
// @TIME reads [blanks][-]hours D minutes [D seconds[.fraction]] [AM|PM],
// where D is a blank, ":" or "." and the second delimiter must equal the
// first.  No part has a range limit ("25:61" is 93660 seconds); seconds
// keep their fraction.  PM adds 12 hours to a time before noon, AM takes
// them from a time in 12:00-12:59.  Statuses: VF_ERR_TIME_TEXT for a text
// that does not start with a digit, hours without a delimiter, a bad
// delimiter or nothing readable after it; VF_ERR_TIME_MINUTES for a
// letter preceded by other bytes; VF_ERR_AMPM for text after the time that
// is not "AM", "PM", "A" or "P" followed only by blanks.  The hours and
// minutes statuses (VF_ERR_TIME_HOURS, VF_ERR_TIME_MINUTES_EMPTY) are kept
// for their cases, but the checks before them already catch every text
// that would reach them.
//
// Decisions taken here:
// - Blanks at the end of the text are not "more text": "12:30" reads alike
//   with or without trailing blanks, as the AM/PM rule already allows
//   blanks after the letters.
// - Seconds after a blank delimiter: the second delimiter is the single
//   byte between the minutes and the seconds ("12 34 56"); with ":" or "."
//   blanks may stand before it ("12:34 :56").
// - @MDYAMPM with no time, or a time that is a missing notation, stores
//   that missing value with status 0, as @YMDDTTM does; text after the
//   AM or PM is ignored.
//
// @DATETIME reads at most 40 bytes.  A failed time part gives
// VF_ERR_TIME_TEXT and leaves the time reader's value (a missing value).
#include "datetime/calendar.h"
#include "informats/date_readers.h"
#include "informats/date_scan.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr double kNoon = 43200.0;
constexpr double kOnePm = 46800.0;
constexpr int32_t kDatetimeText = 40;

constexpr bool is_time_mark(unsigned char c) {
  const unsigned char u = upper_byte(c);
  return is_digit_byte(c) || u == 'A' || u == 'M' || u == 'P';
}

// The AM or PM after a time at p[i..n): VF_OK with the adjusted time,
// or VF_ERR_AMPM.  Only blanks: time unchanged.
int32_t apply_am_pm(const unsigned char *p, int32_t n, int32_t i,
                    double &time) {
  i = skip_blanks(p, n, i);
  if (i == n) return VF_OK;
  const unsigned char half = upper_byte(p[i]);
  if (half != 'A' && half != 'P') return VF_ERR_AMPM;
  if (++i < n) {
    if (upper_byte(p[i]) != 'M' && p[i] != ' ') return VF_ERR_AMPM;
    if (skip_blanks(p, n, i + 1) != n) return VF_ERR_AMPM;
  }
  if (half == 'P' && time < kNoon) time += kNoon;
  if (half == 'A' && time >= kNoon && time < kOnePm) time -= kNoon;
  return VF_OK;
}

int32_t read_clock(const unsigned char *p, int32_t n, double &v) {
  int32_t i = skip_blanks(p, n, 0);
  const bool negative = i < n && p[i] == '-';
  if (negative) ++i;
  if (i == n || !is_digit_byte(p[i])) return VF_ERR_TIME_TEXT;
  const int32_t h0 = i;
  i = digit_run_end(p, n, i);
  if (i == n) return VF_ERR_TIME_TEXT;
  double hours, minutes, seconds = 0;
  if (!read_digit_run(p, h0, i, hours)) return VF_ERR_TIME_HOURS;
  const unsigned char delim = p[i];
  if (delim != ' ' && delim != ':' && delim != '.') return VF_ERR_TIME_TEXT;
  if (++i == n || !is_digit_byte(p[i])) return VF_ERR_TIME_TEXT;
  const int32_t m0 = i;
  i = digit_run_end(p, n, i);
  if (i == m0) return VF_ERR_TIME_MINUTES_EMPTY;
  if (!read_digit_run(p, m0, i, minutes)) return VF_ERR_TIME_MINUTES;

  const int32_t after = skip_blanks(p, n, i);
  if (after < n) {
    int32_t q = after;
    while (q < n && !is_time_mark(p[q])) ++q;
    if (q == n) return VF_ERR_TIME_TEXT;
    if (!is_digit_byte(p[q])) {
      if (q != after) return VF_ERR_TIME_MINUTES;
      i = q; // AM or PM right after the minutes
    } else {
      const bool one_delim = q - after == 1 && p[after] == delim;
      const bool one_blank = delim == ' ' && q == after && after - i == 1;
      if (!one_delim && !one_blank) return VF_ERR_TIME_TEXT;
      const int32_t s0 = q;
      q = digit_run_end(p, n, q);
      bool readable = false;
      if (q + 1 < n && p[q] == '.' && is_digit_byte(p[q + 1])) {
        q = digit_run_end(p, n, q + 1); // a fraction: the standard reader
        readable = read_standard_number(p + s0, q - s0, seconds) == VF_OK;
      } else {
        readable = read_digit_run(p, s0, q, seconds);
      }
      if (!readable) return VF_ERR_TIME_MINUTES;
      i = q;
    }
  }
  double time = (hours * 60 + minutes) * 60 + seconds;
  if (const int32_t st = apply_am_pm(p, n, i, time)) return st;
  v = negative ? -time : time;
  return VF_OK;
}

int32_t read_datetime(const unsigned char *p, int32_t n, double &v) {
  if (n > kDatetimeText) n = kDatetimeText;
  if (is_missing_notation(p, n, v)) return VF_OK;
  int32_t letter = 0;
  while (letter < n && !is_letter_byte(p[letter])) ++letter;
  if (letter == n) return VF_ERR_DATE_DAY;
  const int32_t y = next_digit(p, n, letter);
  if (y == n) return VF_ERR_DATE_YEAR;
  int32_t i = digit_run_end(p, n, y);
  if (i == n) return VF_ERR_DATE_TEXT;
  double date;
  if (const int32_t st = read_day_month_name_year(p, i, date)) return st;
  i = skip_blanks(p, n, i);
  if (i < n && !is_digit_byte(p[i])) ++i; // the delimiter, usually ":"
  double time;
  const int32_t st = read_time_of_day(p + i, n - i, time);
  if (st != VF_OK || is_missing(time)) {
    v = time;
    return VF_ERR_TIME_TEXT;
  }
  v = date * kSecondsPerDay + time;
  return VF_OK;
}

int32_t skip_white(const unsigned char *p, int32_t n, int32_t i) {
  while (i < n && is_white_byte(p[i])) ++i;
  return i;
}

int32_t read_mdy_am_pm(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  int32_t i = skip_white(p, n, 0);
  const int32_t d0 = i;
  while (i < n && p[i] != ':' && !is_white_byte(p[i])) ++i;
  DateGroups g;
  if (!split_date_groups(p + d0, i - d0, false, g)) return VF_ERR_DATE_TEXT;
  double date;
  if (!date_of_parts(g.first, g.second, g.third, date)) return VF_ERR_DATE_TEXT;
  if (i < n && p[i] == ':') ++i;
  i = skip_white(p, n, i);
  const int32_t t0 = i;
  while (i < n && !is_white_byte(p[i])) ++i;
  double time;
  if (const int32_t st = read_time_of_day(p + t0, i - t0, time)) return st;
  if (is_missing(time)) {
    v = time;
    return VF_OK;
  }
  i = skip_white(p, n, i);
  if (n - i >= 2 && upper_byte(p[i + 1]) == 'M') {
    const unsigned char half = upper_byte(p[i]);
    if (half == 'A' && time >= kNoon && time < kOnePm) time -= kNoon;
    if (half == 'P' && time < kNoon) time += kNoon;
  }
  v = date * kSecondsPerDay + time;
  return VF_OK;
}

int32_t read_ymd_time(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  int32_t i = 0;
  for (int32_t run = 0; run < 3; ++run)
    i = digit_run_end(p, n, next_digit(p, n, i));
  double date;
  if (const int32_t st =
          read_numeric_date(p, i, DateOrder::year_month_day, date))
    return st;
  if (is_missing(date)) {
    v = date;
    return VF_OK;
  }
  i = next_digit(p, n, i);
  double time = 0;
  if (i < n) {
    if (const int32_t st = read_time_of_day(p + i, n - i, time)) return st;
    if (is_missing(time)) {
      v = time;
      return VF_OK;
    }
  }
  v = date * kSecondsPerDay + time;
  return VF_OK;
}

} // namespace

int32_t read_time_of_day(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  return read_clock(p, n, v);
}

} // namespace valfmt

extern "C" {

VF_DATE_TEXT_INFORMAT(zifmtim, "@TIME", read_time_of_day)
VF_DATE_TEXT_INFORMAT(zifmdtm, "@DATETIME", read_datetime)
VF_DATE_TEXT_INFORMAT(zifmdya, "@MDYAMPM", read_mdy_am_pm)
VF_DATE_TEXT_INFORMAT(ymddttm, "@YMDDTTM", read_ymd_time)

} // extern "C"
