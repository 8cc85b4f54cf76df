// Dates with the month as its upper-case abbreviation: DATE (day, month,
// year), MONYY (month, year) and YYMON (year, month).
#include "datetime/civil_fast.h"
#include "datetime/date_fields.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr RowLimits kDate = row_limits("DATE");
constexpr RowLimits kMonthYear = row_limits("MONYY");
constexpr RowLimits kYearMonth = row_limits("YYMON");

// The widest DATE field spells the date with dashes.
constexpr int32_t kDashedDateWidth = sizeof "dd-MON-yyyy" - 1;

void put_month_abbrev(char *p, int32_t month) {
  std::memcpy(p, kMonthAbbrev[month - 1], 3);
}

// MON and a two-digit year at w 5, a four-digit one at w 7; w 6 is a
// blank and w 5.  Date is CivilDate or YearMonthDay.
template <class Date>
void write_month_year(char *out, int32_t w, const Date &cd) {
  if (w == 6) {
    *out++ = ' ';
    w = 5;
  }
  put_month_abbrev(out, cd.month);
  if (w == 5)
    put_two_digits(out + 3, cd.year % 100);
  else
    put_four_digit_year(out + 3, cd.year);
}

// The day as two digits, then the first w - 2 characters of MONYY (at
// width 5 below 9, else 7); even widths get a leading blank first.
template <class Date>
void write_day_month_year(char *out, int32_t w, const Date &cd) {
  if (w == 6 || w == 8 || w == 10) {
    *out++ = ' ';
    --w;
  }
  put_two_digits(out, cd.day);
  if (w == kDashedDateWidth) {
    out[2] = '-';
    put_month_abbrev(out + 3, cd.month);
    out[6] = '-';
    put_four_digit_year(out + 7, cd.year);
  } else if (w == 5) {
    put_month_abbrev(out + 2, cd.month);
  } else {
    write_month_year(out + 2, w < 9 ? 5 : 7, cd);
  }
}

// DATE at width 9, the layout hosts ask for most: ddMONyyyy.
constexpr int32_t kDayMonthYearWidth = 9;

// The nine columns of a date in range with a four-digit year, written in
// one go; false (nothing written) for any other value, which the general
// run then serves with the call checks, the missing display, asterisks
// or the five-digit year's asterisks.
bool put_day_month_year(char *out, double v) {
  if (!date_in_range(v)) return false; // also every missing value
  const YearMonthDay d = civil_fast(day_of_date(v));
  if (d.year > 9999) return false;
  char field[kDayMonthYearWidth];
  put_two_digits(field, d.day);
  std::memcpy(field + 2, kMonthAbbrev[d.month - 1], 3);
  put_two_digits(field + 5, d.year / 100);
  put_two_digits(field + 7, d.year % 100);
  std::memcpy(out, field, sizeof field);
  return true;
}

// YYMON blanks the field first and has its own range check and status:
// only whole valid days, and VF_ERR_DATE_TEXT for the others.
int32_t format_year_month_abbrev(fmtcall *call) {
  int32_t status;
  if (!date_call_ok(call, kYearMonth, &status)) return status;
  char *out = static_cast<char *>(call->out);
  const int32_t w = call->w;
  put_blanks(out, w);
  call->outenc = VF_ENC_NARROW;
  const double v = call_value(call);
  if (is_missing(v)) return show_missing_date(call);
  if (!(v >= static_cast<double>(kFirstDate) &&
        v <= static_cast<double>(kDateLimit - 1))) {
    fill_stars(call, w);
    return VF_ERR_DATE_TEXT;
  }
  const CivilDate cd = civil_from_day(day_of_date(v));
  put_year_field(out, w - 3, cd.year, w < 7);
  put_month_abbrev(out + w - 3, cd.month);
  call->outlen = w;
  return VF_OK;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmdate(fmtcall *call) {
  if (call != nullptr && call->w == kDayMonthYearWidth &&
      call->out != nullptr && call->value != nullptr &&
      call->outsize >= kDayMonthYearWidth &&
      put_day_month_year(static_cast<char *>(call->out), call_value(call)))
    return finish_narrow(call, kDayMonthYearWidth);
  return run_date_format(call, kDate, [](char *out, int32_t w, int64_t day) {
    write_day_month_year(out, w, civil_fast(day));
  });
}

VF_API int32_t zfmmonyy(fmtcall *call) {
  return run_date_format(call, kMonthYear,
                         [](char *out, int32_t w, int64_t day) {
                           write_month_year(out, w, civil_from_day(day));
                         });
}

VF_API int32_t zfmyymon(fmtcall *call) {
  return format_year_month_abbrev(call);
}

} // extern "C"
