// What every numeric date format shares: the run of the call checks and
// the first step (call_checks.h) around a layout, and the writers of years
// and quarters into fixed fields.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/call_checks.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Runs body(out, w, day) for a call whose value is a date in range, after
// the call checks and the first step; body writes exactly w bytes.
template <typename Body>
inline int32_t run_date_format(fmtcall *call, RowLimits limits, Body body) {
  int32_t status;
  if (!date_call_ok(call, limits, &status)) return status;
  const double v = call_value(call);
  if (is_missing(v) || !date_in_range(v))
    return show_missing_or_out_of_range(call, ValueRange::kDate);
  body(static_cast<char *>(call->out), call->w, day_of_date(v));
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
