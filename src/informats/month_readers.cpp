// Date informats that read a year with a quarter or a month and a
// free-form year-month-day: @YYQ ("1960Q1", "60q1"), @YYQZ ("196001",
// "6001"), @YYMMN ("196001", "6001") and @XYYMMDD ("1960-01-15",
// "60 0115", "19600115").  The quarter readers give the first day of the
// quarter, @YYMMN the first day of the month.
//
// Each reader first recognises a blank text or a missing-value notation
// (status 0 with that missing value; @XYYMMDD before that also reads a text
// of blanks and zeros as the standard missing value).  Every failure leaves
// the standard missing value; texts that are too short give VF_ERR_WIDTH
// and everything else VF_ERR_DATE_TEXT.  Years and quarters are read by the
// standard numeric reader, so they must be numbers (a missing notation in
// their place fails).
//
// @YYQ: after leading blanks, a year of two bytes, or four when the third
// byte is a digit, then "Q" or "q" and the quarter (at least one byte).
//
// @YYQZ and @YYMMN: the text is the first min(w, valuelen) bytes without
// the blanks around it; the year takes two digits when four bytes remain
// (@YYQZ) or fewer than five (@YYMMN), else four.  Trailing blanks do not
// count, so "6001" reads alike in a field of 4 and of 6.  @YYQZ needs the
// "0" after the year and a quarter after it.
//
// @XYYMMDD: up to three digit groups, each after any run of other bytes.
// Three groups are year, month, day; one group of n digits splits n-4, 2,
// 2; two groups split the first (3 to 6 digits: the last one or two are the
// month) when the second has 1 or 2 digits (the day), else the second (3 or
// 4 digits: month and a two-digit day).  The month is then clamped to 1..12
// and the day to 1..31 ("1960-13-40" is 31 December 1960), but the date
// must exist ("1960-02-30" fails).
#include "datetime/calendar.h"
#include "informats/date_scan.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr int32_t kShortestYyq = 3;
constexpr int32_t kShortestYearMonth = 4; // @YYQZ, @YYMMN
constexpr int32_t kShortestXymd = 5;

// The standard numeric reader on [p+a, p+e): true with a number.
bool read_part(const unsigned char *p, int32_t a, int32_t e, double &x) {
  return read_standard_number(p + a, e - a, x) == VF_OK && !is_missing(x);
}

int32_t finish_date(double date, double &v) {
  if (is_missing(date)) return VF_ERR_DATE_TEXT;
  v = date;
  return VF_OK;
}

int32_t read_year_q_quarter(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  if (n < kShortestYyq) return VF_ERR_WIDTH;
  const int32_t i = skip_blanks(p, n, 0);
  const int32_t ylen = i + 2 < n && is_digit_byte(p[i + 2]) ? 4 : 2;
  const int32_t q = i + ylen; // the "Q"
  if (n - q < 2 || upper_byte(p[q]) != 'Q') return VF_ERR_DATE_TEXT;
  double year, quarter;
  if (!read_part(p, i, q, year) || !read_part(p, q + 1, n, quarter))
    return VF_ERR_DATE_TEXT;
  return finish_date(zyyq(year, quarter), v);
}

int32_t read_year_zero_quarter(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  if (n < kShortestYearMonth) return VF_ERR_WIDTH;
  const int32_t e = trim_trailing_blanks(p, n);
  const int32_t i = skip_blanks(p, e, 0);
  const int32_t ylen = e - i == 4 ? 2 : 4;
  const int32_t z = i + ylen; // the "0"
  if (e - z < 2 || p[z] != '0') return VF_ERR_DATE_TEXT;
  double year, quarter;
  if (!read_part(p, i, z, year) || !read_part(p, z + 1, e, quarter))
    return VF_ERR_DATE_TEXT;
  return finish_date(zyyq(year, quarter), v);
}

int32_t read_year_month(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  if (n < kShortestYearMonth) return VF_ERR_WIDTH;
  const int32_t e = trim_trailing_blanks(p, n);
  const int32_t i = skip_blanks(p, e, 0);
  const int32_t ylen = e - i < 5 ? 2 : 4;
  const int32_t m = i + ylen;
  double year, month;
  if (e - m < 1 || !read_part(p, i, m, year) || !read_part(p, m, e, month))
    return VF_ERR_DATE_TEXT;
  return finish_date(zmdy(month, 1.0, year), v);
}

struct Group {
  int32_t a = 0; // first digit
  int32_t e = 0; // one past the last
  int32_t size() const { return e - a; }
};

constexpr int64_t clamp_part(int64_t x, int64_t hi) {
  return x < 1 ? 1 : (x > hi ? hi : x);
}

bool only_blanks_and_zeros(const unsigned char *p, int32_t n) {
  for (int32_t i = 0; i < n; ++i)
    if (p[i] != ' ' && p[i] != '0') return false;
  return true;
}

// Year, month and day of the groups found; false when they do not split.
bool split_groups(const unsigned char *p, const Group *g, int32_t count,
                  int64_t &year, int64_t &month, int64_t &day) {
  if (count == 3) {
    year = digits_value(p, g[0].a, g[0].e);
    month = digits_value(p, g[1].a, g[1].e);
    day = digits_value(p, g[2].a, g[2].e);
    return true;
  }
  if (count == 1) {
    const int32_t a = g[0].a, e = g[0].e;
    if (e - a - 4 < 1) return false;
    year = digits_value(p, a, e - 4);
    month = digits_value(p, e - 4, e - 2);
    day = digits_value(p, e - 2, e);
    return true;
  }
  if (count != 2) return false;
  const int32_t k1 = g[0].size(), k2 = g[1].size();
  if (k2 <= 2) { // year and month, then the day
    if (k1 < 3 || k1 > 6) return false;
    const int32_t mlen = k1 == 3 || k1 == 5 ? 1 : 2;
    year = digits_value(p, g[0].a, g[0].e - mlen);
    month = digits_value(p, g[0].e - mlen, g[0].e);
    day = digits_value(p, g[1].a, g[1].e);
    return true;
  }
  if (k2 > 4) return false; // year, then month and day
  year = digits_value(p, g[0].a, g[0].e);
  month = digits_value(p, g[1].a, g[1].e - 2);
  day = digits_value(p, g[1].e - 2, g[1].e);
  return true;
}

int32_t read_extended_ymd(const unsigned char *p, int32_t n, double &v) {
  v = standard_missing();
  if (only_blanks_and_zeros(p, n)) return VF_OK;
  if (is_missing_notation(p, n, v)) return VF_OK;
  if (n < kShortestXymd) return VF_ERR_WIDTH;
  Group g[3];
  int32_t count = 0;
  for (int32_t i = next_digit(p, n, 0); i < n && count < 3;
       i = next_digit(p, n, i)) {
    g[count].a = i;
    i = digit_run_end(p, n, i);
    g[count++].e = i;
  }
  int64_t year = 0, month = 0, day = 0;
  if (!split_groups(p, g, count, year, month, day)) return VF_ERR_DATE_TEXT;
  double date;
  if (!date_of_parts(clamp_part(month, 12), clamp_part(day, 31), year, date))
    return VF_ERR_DATE_TEXT;
  v = date;
  return VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_DATE_TEXT_INFORMAT(zifmyyq, "@YYQ", read_year_q_quarter)
VF_DATE_TEXT_INFORMAT(zifmyqz, "@YYQZ", read_year_zero_quarter)
VF_DATE_TEXT_INFORMAT(zifmymn, "@YYMMN", read_year_month)
VF_DATE_TEXT_INFORMAT(zifmxym, "@XYYMMDD", read_extended_ymd)

} // extern "C"
