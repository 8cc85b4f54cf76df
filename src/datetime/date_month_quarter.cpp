// Month with year and year with quarter: the number or numeral that ends
// the field, the separator before it, the year in the rest.
#include "datetime/date_fields.h"
#include "datetime/date_formats.h"

namespace valfmt {

// The year occupies the last 2 or 4 characters, the separator stands before
// it, the month (two digits) is right-aligned in the rest.
int32_t format_month_year(fmtcall *call, RowLimits limits, char sep) {
  return run_date_format(call, limits, [=](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    const bool two_digit_year = w < (sep ? 7 : 6);
    int32_t pos = w - (two_digit_year ? 2 : 4);
    if (two_digit_year)
      put_two_digits(out + pos, cd.year % 100);
    else
      put_four_digit_year(out + pos, cd.year);
    if (sep) out[--pos] = sep;
    put_blanks(out, pos - 2);
    put_two_digits(out + pos - 2, cd.month);
  });
}

// The month ends the field, the separator before it, the year right-aligned
// in the rest.
int32_t format_year_month(fmtcall *call, RowLimits limits, char sep) {
  return run_date_format(call, limits, [=](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    int32_t pos = w - 2;
    put_two_digits(out + pos, cd.month);
    if (sep) out[--pos] = sep;
    put_year_field(out, pos, cd.year, w < (sep ? 7 : 6));
  });
}

// The quarter digit ends the field, the separator before it, the year
// right-aligned in the rest.
int32_t format_year_quarter(fmtcall *call, RowLimits limits, char sep) {
  return run_date_format(call, limits, [=](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    int32_t pos = w - 1;
    out[pos] = static_cast<char>('0' + quarter_of_month(cd.month));
    if (sep) out[--pos] = sep;
    put_year_field(out, pos, cd.year, w < (sep ? 6 : 5));
  });
}

// The Roman quarter ends the field, the separator before it, the year
// right-aligned in the rest; whether the year fits in four digits depends
// on the numeral's length.
int32_t format_year_roman_quarter(fmtcall *call, RowLimits limits, char sep) {
  return run_date_format(call, limits, [=](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    const RomanQuarter numeral = roman_quarter(cd.month);
    int32_t pos = w - numeral.length;
    std::memcpy(out + pos, numeral.text,
                static_cast<std::size_t>(numeral.length));
    if (sep) out[--pos] = sep;
    put_year_field(out, pos, cd.year, w < numeral.length + (sep ? 5 : 4));
  });
}

} // namespace valfmt
