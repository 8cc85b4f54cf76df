// Date informats that read a day, a month and a year: @DATE (month as an
// English abbreviation), @MONYY (month abbreviation and year), @MMDDYY,
// @DDMMYY and @YYMMDD (three numbers), and @JULIAN (yyddd or yyyyddd).
//
// Each reader first recognises a blank text or a missing-value notation
// (status 0 with that missing value); every failure leaves the standard
// missing value with the status of its kind.  Two-digit years go through
// the calendar's fixed 1950-2049 window.
//
// @DATE: the text is the first min(w, valuelen) bytes; shorter than 5 is
// VF_ERR_WIDTH.  Anything before the first digit is skipped (no digit:
// VF_ERR_DATE_NO_DIGIT).  The day is the run of digits before the first
// letter (no letter, a day outside 1..31 or fewer than three bytes from the
// letter on: VF_ERR_DATE_DAY); the three bytes from the letter are the
// month abbreviation in any case; the year is the rest of the text from the
// next digit on, read by the standard numeric reader (no digit, unreadable,
// 100..1581 or above 20000: VF_ERR_DATE_YEAR).  An unknown abbreviation is
// VF_ERR_DATE_DAY, reported after the year checks; an impossible date
// (31APR60) is VF_ERR_DATE_TEXT.
//
// @MONYY: blanks, a letter, then the month and year as @DATE reads them
// after the day "01".  At most 30 bytes from the letter on are read; the
// text beyond them must be blank (else VF_ERR_DATE_TEXT), so nothing is
// dropped unseen.
//
// @MMDDYY, @DDMMYY, @YYMMDD: shorter than 5 is VF_ERR_WIDTH; the
// day-month-year splitter (year first for @YYMMDD) and the calendar decide
// everything else, failing with VF_ERR_DATE_TEXT.
//
// @JULIAN: blanks around the digits are ignored; any other byte is
// VF_ERR_DATE_TEXT, and so is a number that is no valid Julian date.
#include "informats/date_readers.h"

#include <cmath>

#include "datetime/calendar.h"
#include "informats/date_scan.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr int32_t kShortestDate = 5;     // bytes of "1JAN0", "1/1/0"
constexpr int32_t kMonyyTextBytes = 30;  // read after the letter
constexpr double kFirstWideYear = 100.0; // years 0..99 are two-digit
constexpr double kFirstYearValue = kFirstYear;
constexpr double kLastYearValue = kLastYear;

constexpr RowLimits kInDate = row_limits("@DATE");

// Month 1..12 of the three bytes at p in any case, or 0.
int32_t month_of_abbreviation(const unsigned char *p) {
  const unsigned char a = upper_byte(p[0]);
  const unsigned char b = upper_byte(p[1]);
  const unsigned char c = upper_byte(p[2]);
  for (int32_t m = 0; m < 12; ++m) {
    const auto *s = reinterpret_cast<const unsigned char *>(kMonthAbbrev[m]);
    if (s[0] == a && s[1] == b && s[2] == c) return m + 1;
  }
  return 0;
}

int64_t two_digits(const unsigned char *p) {
  return (p[0] - '0') * 10 + (p[1] - '0');
}

// The ten-byte form yyyy-mm-dd, with any byte that is neither a letter nor
// a digit written twice as the delimiter: the splitter would find the
// groups 4, 2 and 2 digits long, so they are taken directly.
bool is_iso_date_form(const unsigned char *p, int32_t n) {
  if (n != 10) return false;
  const unsigned char delim = p[4];
  if (p[7] != delim || is_digit_byte(delim) || is_letter_byte(delim))
    return false;
  const auto digit = [p](int32_t i) -> unsigned {
    return static_cast<unsigned>(p[i] - '0') <= 9u ? 1u : 0u;
  };
  // Bitwise and: one branch for the eight tests.
  return (digit(0) & digit(1) & digit(2) & digit(3) & digit(5) & digit(6) &
          digit(8) & digit(9)) != 0;
}

int32_t read_month_name_year(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  const int32_t i = skip_blanks(p, n, 0);
  if (i == n || !is_letter_byte(p[i])) return VF_ERR_DATE_TEXT;
  const int32_t keep = n - i < kMonyyTextBytes ? n - i : kMonyyTextBytes;
  for (int32_t k = i + keep; k < n; ++k)
    if (p[k] != ' ') return VF_ERR_DATE_TEXT;
  unsigned char text[2 + kMonyyTextBytes] = {'0', '1'};
  std::memcpy(text + 2, p + i, static_cast<std::size_t>(keep));
  return read_day_month_name_year(text, 2 + keep, v);
}

int32_t read_julian(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  const int32_t e = trim_trailing_blanks(p, n);
  const int32_t i = skip_blanks(p, e, 0);
  for (int32_t k = i; k < e; ++k)
    if (!is_digit_byte(p[k])) return VF_ERR_DATE_TEXT;
  double julian;
  if (const int32_t st = read_standard_number(p + i, e - i, julian)) return st;
  const double date = zdatjul(julian);
  if (is_missing(date)) return VF_ERR_DATE_TEXT;
  v = date;
  return VF_OK;
}

} // namespace

int32_t read_day_month_name_year(const unsigned char *p, int32_t n, double &v) {
  v = standard_missing();
  if (n < kShortestDate) return VF_ERR_WIDTH;
  const int32_t i = next_digit(p, n, 0);
  if (i == n) return VF_ERR_DATE_NO_DIGIT;
  int32_t letter = i;
  while (letter < n && !is_letter_byte(p[letter])) ++letter;
  if (letter == n) return VF_ERR_DATE_DAY;
  const int64_t day = digits_value(p, i, digit_run_end(p, letter, i));
  if (day < 1 || day > 31 || n - letter < 3) return VF_ERR_DATE_DAY;
  const int32_t month = month_of_abbreviation(p + letter);

  const int32_t y = next_digit(p, n, letter + 3);
  if (y == n) return VF_ERR_DATE_YEAR;
  // Digits followed by blanks are converted here; anything else goes
  // through the standard numeric reader, with the same result.
  const int32_t y_end = digit_run_end(p, n, y);
  double year;
  const bool readable =
      skip_blanks(p, n, y_end) == n
          ? read_digit_run(p, y, y_end, year)
          : read_standard_number(p + y, n - y, year) == VF_OK &&
                !is_missing(year);
  if (!readable) return VF_ERR_DATE_YEAR;
  if ((year >= kFirstWideYear && year < kFirstYearValue) ||
      year > kLastYearValue)
    return VF_ERR_DATE_YEAR;
  if (month == 0) return VF_ERR_DATE_DAY;
  double date;
  if (year == std::floor(year)) {
    if (!date_of_parts(month, day, static_cast<int64_t>(year), date))
      return VF_ERR_DATE_TEXT;
  } else {
    date = zmdy(static_cast<double>(month), static_cast<double>(day), year);
    if (is_missing(date)) return VF_ERR_DATE_TEXT;
  }
  v = date;
  return VF_OK;
}

int32_t read_numeric_date(const unsigned char *p, int32_t n, DateOrder order,
                          double &v) {
  if (order == DateOrder::year_month_day && is_iso_date_form(p, n)) {
    double date;
    if (!date_of_parts(two_digits(p + 5), two_digits(p + 8),
                       two_digits(p) * 100 + two_digits(p + 2), date)) {
      v = standard_missing();
      return VF_ERR_DATE_TEXT;
    }
    v = date;
    return VF_OK;
  }
  if (is_missing_notation(p, n, v)) return VF_OK;
  if (n < kShortestDate) return VF_ERR_WIDTH;
  DateGroups g;
  if (!split_date_groups(p, n, order == DateOrder::year_month_day, g))
    return VF_ERR_DATE_TEXT;
  int64_t month = g.first, day = g.second, year = g.third;
  if (order == DateOrder::day_month_year) {
    day = g.first;
    month = g.second;
  } else if (order == DateOrder::year_month_day) {
    year = g.first;
    month = g.second;
    day = g.third;
  }
  double date;
  if (!date_of_parts(month, day, year, date)) return VF_ERR_DATE_TEXT;
  v = date;
  return VF_OK;
}

} // namespace valfmt

extern "C" {

VF_API int32_t zifmdat(fmtcall *call) {
  using namespace valfmt;
  return run_text_informat(call, kInDate.maxw,
                           [](const unsigned char *p, int32_t n, double &v) {
                             if (is_missing_notation(p, n, v))
                               return int32_t{VF_OK};
                             return read_day_month_name_year(p, n, v);
                           });
}

VF_DATE_TEXT_INFORMAT(zifmmyy, "@MONYY", read_month_name_year)
VF_DATE_TEXT_INFORMAT(zifmjul, "@JULIAN", read_julian)

// The three numeric orders differ only in their row and order.
#define VF_NUMERIC_DATE_READERS(X)                                             \
  X(zifmmdy, "@MMDDYY", month_day_year)                                        \
  X(zifmdmy, "@DDMMYY", day_month_year)                                        \
  X(zifmymd, "@YYMMDD", year_month_day)

#define VF_NUMERIC_DATE_READER(fn, row, order)                                 \
  VF_API int32_t fn(fmtcall *call) {                                           \
    using namespace valfmt;                                                    \
    constexpr RowLimits kLimits = row_limits(row);                             \
    return run_text_informat(                                                  \
        call, kLimits.maxw, [](const unsigned char *p, int32_t n, double &v) { \
          return read_numeric_date(p, n, DateOrder::order, v);                 \
        });                                                                    \
  }
VF_NUMERIC_DATE_READERS(VF_NUMERIC_DATE_READER)
#undef VF_NUMERIC_DATE_READER
#undef VF_NUMERIC_DATE_READERS

} // extern "C"
