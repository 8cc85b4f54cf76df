// What every numeric date format shares: the call checks against its
// descriptor row, the first step for missing and out-of-range values, and
// the writers of years and quarters into fixed fields.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Why a call block cannot be formatted (null block, buffer or value, a
// width outside `limits` or above outsize): fills what fits of w asterisks
// and returns the status.
int32_t refuse_date_call(fmtcall *call, RowLimits limits);

// True when the call block may be formatted with the widths of `limits`;
// otherwise the field holds the refusal and *status its reason.
inline bool date_call_ok(fmtcall *call, RowLimits limits, int32_t *status) {
  if (call != nullptr && call->out != nullptr && call->value != nullptr &&
      call->w >= limits.minw && call->w <= limits.maxw &&
      call->w <= call->outsize)
    return true;
  *status = refuse_date_call(call, limits);
  return false;
}

// The display of a missing value across the call's width, decimals taken
// as 0; status 0.
int32_t show_missing_date(fmtcall *call);

// The first step for a value that is missing or outside the date range:
// the missing display (status 0) or w asterisks (VF_ERR_DATE_RANGE).
int32_t show_missing_or_out_of_range(fmtcall *call);

// Runs body(out, w, day) for a call whose value is a date in range, after
// the call checks and the first step; body writes exactly w bytes.
template <typename Body>
inline int32_t run_date_format(fmtcall *call, RowLimits limits, Body body) {
  int32_t status;
  if (!date_call_ok(call, limits, &status)) return status;
  const double v = call_value(call);
  if (is_missing(v) || !date_in_range(v))
    return show_missing_or_out_of_range(call);
  const int64_t day = static_cast<int64_t>(std::floor(v));
  body(static_cast<char *>(call->out), call->w, day);
  return finish_narrow(call, call->w);
}

// A year in a four-character field: asterisks for a five-digit year.
inline void put_four_digit_year(char *p, int32_t year) {
  if (year <= 9999) {
    put_two_digits(p, year / 100);
    put_two_digits(p + 2, year % 100);
  } else {
    write_int_field(year, p, 4);
  }
}

// A year right-aligned in n characters: its last two digits (n >= 2), or
// the full year (asterisks when it does not fit).
inline void put_year_field(char *p, int32_t n, int32_t year, bool two_digits) {
  if (two_digits) {
    put_blanks(p, n - 2);
    put_two_digits(p + n - 2, year % 100);
  } else {
    write_int_field(year, p, n);
  }
}

inline int32_t quarter_of_month(int32_t month) {
  return (month - 1) / 3 + 1;
}

// The quarter as a Roman numeral "I" .. "IV" and its length.
struct RomanQuarter {
  const char *text;
  int32_t length;
};

inline RomanQuarter roman_quarter(int32_t month) {
  static constexpr RomanQuarter kNumerals[4] = {
      {"I", 1}, {"II", 2}, {"III", 3}, {"IV", 2}};
  return kNumerals[quarter_of_month(month) - 1];
}

} // namespace valfmt
