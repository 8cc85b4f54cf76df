// Era date informats: @NENGO reads a Japanese era date ("H01.01.08",
// "h1/1/8", "010108": era letter, era year, month, day) and @MINGUO a
// Minguo date ("49/01/01", "49-1-1", "490101", "49.1": years counted from
// 1912, or Gregorian years of four digits).
//
// @NENGO: the text without its leading blanks is read in a field of 33
// positions whose end counts as blanks.  A text of fewer than three bytes
// (trailing blanks aside) may be a missing-value notation, read with
// status 0.  The era is the first byte's letter (M, T, S, H in any case),
// or H when the text starts with a digit; then come the era year, the
// month and the day, each one or two digits after any run of bytes that
// are neither letters nor digits.  The date must exist and lie inside its
// era (the last era runs to the end of the date range).  Every failure is
// VF_ERR_DATE_TEXT with the standard missing value in out; a w outside
// 0..32 gives VF_ERR_WD_LIMITS with the standard missing value too.
//
// Mend: out is written on every failure, as every other date informat
// does, rather than left as it was.  A host that reuses its result buffer
// row after row would otherwise keep the previous row's date for a text
// that could not be read.
//
// @MINGUO: at most 10 bytes, without the blanks around them.  A text with
// other bytes than digits holds two or three digit groups (else
// VF_ERR_DATE_NO_DIGIT); two groups are year and month (at most seven bytes
// once joined by "/"), the day being 1.  A text of 6 to 8 digits ends with
// month and day, its leading digits being the year.  A year below 1000 is a
// Minguo year (1911 is added); year, month and day must be nonzero and make
// a valid date.  Failures leave the standard missing value with
// VF_ERR_DATE_TEXT.
//
// Decision: @MINGUO rejects texts of 1 to 5 digits without a delimiter
// (VF_ERR_DATE_TEXT).  They have no split that cannot be mistaken for
// another (a four-digit Gregorian year alone would read as a Minguo year
// and month), so no guess is made; nothing outside the text is read.
#include <optional>

#include "datetime/calendar.h"
#include "datetime/eras.h"
#include "informats/date_scan.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr int32_t kNengoField = 33;
constexpr int32_t kNengoNotation = 3; // notations are shorter than this
constexpr int32_t kMinguoText = 10;
constexpr int32_t kMinguoShortest = 6; // digits without delimiters
constexpr int32_t kMinguoLongest = 8;
constexpr int32_t kMinguoTwoGroups = 7; // "yyy/mm" at most
constexpr int64_t kFirstFourDigitYear = 1000;

constexpr RowLimits kInNengo = row_limits("@NENGO");

// The era date at p[0..n) (left-aligned): VF_OK with v, or a status with
// v the standard missing value.
int32_t read_era_date(const unsigned char *p, int32_t n, double &v) {
  v = standard_missing();
  if (n > kNengoField) n = kNengoField;
  if (trim_trailing_blanks(p, n) < kNengoNotation &&
      is_missing_notation(p, n, v))
    return VF_OK;
  int32_t era = era_of_letter('H');
  int32_t pos = 0;
  if (!is_digit_byte(p[0])) {
    era = era_of_letter(static_cast<char>(p[0]));
    if (era == 0) return VF_ERR_DATE_TEXT;
    pos = 1;
  }
  int32_t part[3];
  for (int32_t &x : part) {
    if (!skip_delimiters(p, n, kNengoField, pos)) return VF_ERR_DATE_TEXT;
    x = read_one_or_two_digits(p, n, pos);
  }
  const std::optional<int64_t> day =
      day_of_era_date(era, part[0], part[1], part[2]);
  if (!day) return VF_ERR_DATE_TEXT;
  v = static_cast<double>(*day);
  return VF_OK;
}

int32_t read_minguo(const unsigned char *p, int32_t n, double &v) {
  if (is_missing_notation(p, n, v)) return VF_OK;
  const int32_t e = trim_trailing_blanks(p, n < kMinguoText ? n : kMinguoText);
  const int32_t b = skip_blanks(p, e, 0);
  int32_t a[3], z[3]; // digit groups [a, z)
  int32_t groups = 0;
  bool delimited = false;
  for (int32_t i = b; i < e;) {
    if (!is_digit_byte(p[i])) {
      delimited = true;
      ++i;
      continue;
    }
    const int32_t end = digit_run_end(p, e, i);
    if (groups < 3) {
      a[groups] = i;
      z[groups] = end;
    }
    ++groups;
    i = end;
  }
  int64_t year, month, day = 1;
  if (delimited) {
    if (groups < 2 || groups > 3) return VF_ERR_DATE_NO_DIGIT;
    if (groups == 2 && (z[0] - a[0]) + 1 + (z[1] - a[1]) > kMinguoTwoGroups)
      return VF_ERR_DATE_TEXT;
    year = digits_value(p, a[0], z[0]);
    month = digits_value(p, a[1], z[1]);
    if (groups == 3) day = digits_value(p, a[2], z[2]);
  } else {
    const int32_t k = e - b;
    if (k < kMinguoShortest || k > kMinguoLongest) return VF_ERR_DATE_TEXT;
    year = digits_value(p, b, e - 4);
    month = digits_value(p, e - 4, e - 2);
    day = digits_value(p, e - 2, e);
  }
  if (year == 0 || month == 0 || day == 0) return VF_ERR_DATE_TEXT;
  if (year < kFirstFourDigitYear) year = gregorian_year_of_minguo(year);
  double date;
  if (!date_of_parts(month, day, year, date)) return VF_ERR_DATE_TEXT;
  v = date;
  return VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zifmnen(fmtcall *call) {
  using namespace valfmt;
  return run_text_informat(call, kInNengo.maxw,
                           [](const unsigned char *p, int32_t n, double &v) {
                             const int32_t lead = skip_blanks(p, n, 0);
                             return read_era_date(p + lead, n - lead, v);
                           });
}

VF_DATE_TEXT_INFORMAT(zifmmng, "@MINGUO", read_minguo)

} // extern "C"
