// The exported ISO 8601 calendar formats: E8601xx (and their IS8601
// aliases, which name the same functions) and the B8601xx twins.  Each
// checks its call block against its row, then writes exactly w narrow
// bytes: the text, the missing display or asterisks (status 0 for a value
// outside the ISO range).  A width outside the row, a buffer shorter than
// w or a null block, value or buffer are refused as the other date and
// time formats refuse them.
#include "core/call.h"
#include "datetime/call_checks.h"
#include "datetime/iso8601/iso_forms.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// extended function, basic function, extended row, basic row, form,
// columns the basic form drops (the decimal point aside).
#define VF_ISO_FORMS(X)                                                        \
  X(f8601da, b8601da, "E8601DA", "B8601DA", kDate, 2)                          \
  X(f8601dn, b8601dn, "E8601DN", "B8601DN", kDatePart, 2)                      \
  X(f8601tm, b8601tm, "E8601TM", "B8601TM", kTime, 2)                          \
  X(f8601tz, b8601tz, "E8601TZ", "B8601TZ", kTimeUtc, 3)                       \
  X(f8601lz, b8601lz, "E8601LZ", "B8601LZ", kTimeLocal, 3)                     \
  X(f8601dt, b8601dt, "E8601DT", "B8601DT", kDatetime, 4)                      \
  X(f8601dz, b8601dz, "E8601DZ", "B8601DZ", kDatetimeUtc, 5)

int32_t run_extended(fmtcall *call, const RowLimits &limits, IsoForm form) {
  int32_t status;
  if (!narrow_call_ok(call, limits, ShortBuffer::kRefuse, &status))
    return status;
  write_extended(form, call_value(call), call->w,
                 clock_decimals(call, limits.maxd),
                 static_cast<char *>(call->out));
  return finish_narrow(call, call->w);
}

int32_t run_basic(fmtcall *call, const RowLimits &limits, IsoForm form,
                  int32_t widen, int32_t extended_maxw) {
  int32_t status;
  if (!narrow_call_ok(call, limits, ShortBuffer::kRefuse, &status))
    return status;
  write_basic(form, call_value(call), call->w,
              clock_decimals(call, limits.maxd), widen, extended_maxw,
              static_cast<char *>(call->out));
  return finish_narrow(call, call->w);
}

} // namespace
} // namespace valfmt

extern "C" {

#define VF_ISO_DEFINE(ext, basic, ext_row, basic_row, form, widen)             \
  VF_API int32_t ext(fmtcall *call) {                                          \
    using namespace valfmt;                                                    \
    static constexpr RowLimits kLimits = row_limits(ext_row);                  \
    return run_extended(call, kLimits, IsoForm::form);                         \
  }                                                                            \
  VF_API int32_t basic(fmtcall *call) {                                        \
    using namespace valfmt;                                                    \
    static constexpr RowLimits kLimits = row_limits(basic_row);                \
    static constexpr RowLimits kExtended = row_limits(ext_row);                \
    return run_basic(call, kLimits, IsoForm::form, widen, kExtended.maxw);     \
  }
VF_ISO_FORMS(VF_ISO_DEFINE)
#undef VF_ISO_DEFINE

} // extern "C"
