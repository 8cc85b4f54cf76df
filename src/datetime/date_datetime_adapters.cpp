// Date formats applied to the day of a datetime value.
#include "datetime/date_fields.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

// Checks the call against the adapter's own row, then runs the date format
// on a private call block whose value is the day: the caller's value and
// block are never changed, and the date format's status is returned.
int32_t format_day_of_datetime(fmtcall *call, RowLimits limits,
                               fmtfn date_format) {
  int32_t status;
  if (!date_call_ok(call, limits, &status)) return status;
  const double v = call_value(call);
  if (is_missing(v)) return show_missing_date(call);
  // A NaN that is not a missing value has no day: show it as out of range.
  return format_on_day(call, std::isnan(v) ? HUGE_VAL : day_of_datetime(v),
                       date_format);
}

} // namespace
} // namespace valfmt

// X(function, row name, date format)
#define VF_DATETIME_ADAPTERS(X)                                                \
  X(zfmdtda, "DTDATE", zfmdate)                                                \
  X(zfmdtmo, "DTMONYY", zfmmonyy)                                              \
  X(zfmdtye, "DTYEAR", zfmyear)                                                \
  X(zfmdtyy, "DTYYQC", zfmyyqc)

extern "C" {

#define VF_DATETIME_ADAPTER_FUNCTION(fn, name, date_format)                    \
  VF_API int32_t fn(fmtcall *call) {                                           \
    return valfmt::format_day_of_datetime(call, valfmt::row_limits(name),      \
                                          date_format);                        \
  }
VF_DATETIME_ADAPTERS(VF_DATETIME_ADAPTER_FUNCTION)
#undef VF_DATETIME_ADAPTER_FUNCTION

} // extern "C"
