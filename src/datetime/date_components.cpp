// One part of a date in a field: day, month, year, quarter, weekday, day of
// year, and the Julian date yyyyddd.
#include "datetime/date_fields.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

int64_t day_of_month(int64_t day) {
  return civil_from_day(day).day;
}
int64_t quarter_of_day(int64_t day) {
  return quarter_of_month(civil_from_day(day).month);
}
int64_t weekday_of_day(int64_t day) {
  return weekday_of(day);
}
int64_t day_of_year_of_day(int64_t day) {
  return civil_from_day(day).yday;
}

// The number part(day) right-aligned in the field.
template <int64_t (*Part)(int64_t)>
int32_t format_date_number(fmtcall *call, RowLimits limits) {
  return run_date_format(call, limits, [](char *out, int32_t w, int64_t day) {
    write_int_field(Part(day), out, w);
  });
}

// The month right-aligned; a one-column field shows one character of
// "0123456789ABC".
int32_t format_month_number(fmtcall *call) {
  return run_date_format(call, row_limits("MONTH"),
                         [](char *out, int32_t w, int64_t day) {
                           const int32_t month = civil_from_day(day).month;
                           if (w == 1)
                             out[0] = kMonthDigits[month];
                           else
                             write_int_field(month, out, w);
                         });
}

// The year right-aligned, two digits below width 4.  A date out of range
// shows asterisks but is not reported.
int32_t format_year_number(fmtcall *call) {
  int32_t status;
  if (!date_call_ok(call, row_limits("YEAR"), &status)) return status;
  const double v = call_value(call);
  if (is_missing(v)) return show_missing_date(call);
  call->outenc = VF_ENC_NARROW;
  if (!date_in_range(v)) {
    fill_stars(call, call->w);
    return VF_OK;
  }
  const int32_t year = civil_from_day(day_of_date(v)).year;
  put_year_field(static_cast<char *>(call->out), call->w, year, call->w < 4);
  call->outlen = call->w;
  return VF_OK;
}

// The quarter as a Roman numeral, right-aligned.
int32_t format_roman_quarter(fmtcall *call) {
  return run_date_format(
      call, row_limits("QTRR"), [](char *out, int32_t w, int64_t day) {
        const RomanQuarter numeral = roman_quarter(civil_from_day(day).month);
        const int32_t lead = w - numeral.length;
        put_blanks(out, lead);
        std::memcpy(out + lead, numeral.text,
                    static_cast<std::size_t>(numeral.length));
      });
}

// yyyyddd, or yyddd below width 7, right-aligned; blanks among the last
// five characters become zeros.
int32_t format_julian_date(fmtcall *call, RowLimits limits) {
  return run_date_format(call, limits, [](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    int64_t julian = static_cast<int64_t>(cd.year) * 1000 + cd.yday;
    if (w < 7) julian %= 100000;
    write_int_field(julian, out, w);
    for (int32_t i = w - 5; i < w; ++i)
      if (out[i] == ' ') out[i] = '0';
  });
}

} // namespace
} // namespace valfmt

using namespace valfmt;

// X(function, row name, part of the day)
#define VF_DATE_NUMBER_FORMATS(X)                                              \
  X(zfmday, "DAY", day_of_month)                                               \
  X(zfmqtr, "QTR", quarter_of_day)                                             \
  X(zfmweekday, "WEEKDAY", weekday_of_day)                                     \
  X(zfmjulday, "JULDAY", day_of_year_of_day)

extern "C" {

#define VF_DATE_NUMBER_FUNCTION(fn, name, part)                                \
  VF_API int32_t fn(fmtcall *call) {                                           \
    return format_date_number<part>(call, row_limits(name));                   \
  }
VF_DATE_NUMBER_FORMATS(VF_DATE_NUMBER_FUNCTION)
#undef VF_DATE_NUMBER_FUNCTION

VF_API int32_t zfmmonth(fmtcall *call) {
  return format_month_number(call);
}
VF_API int32_t zfmyear(fmtcall *call) {
  return format_year_number(call);
}
VF_API int32_t zfmqtrr(fmtcall *call) {
  return format_roman_quarter(call);
}
VF_API int32_t zfmjulian(fmtcall *call) {
  return format_julian_date(call, row_limits("JULIAN"));
}
VF_API int32_t zfmjuldate(fmtcall *call) {
  return format_julian_date(call, row_limits("JULDATE"));
}

} // extern "C"
