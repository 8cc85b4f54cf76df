// The checks every clock format runs before it renders: the call block
// itself, then the value (missing values and values outside the datetime
// range finish the call here).  The common case is inline; refusals are
// written out of line.
#pragma once

#include <cstdint>

#include "core/call.h"
#include "datetime/calendar.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// The refusals of clock_call_ok and clock_value, kept out of line.
bool clock_call_refused(fmtcall *c, const RowLimits &limits, int32_t *status);
bool clock_value_refused(fmtcall *c, int32_t *status);

// What every clock format checks before it reads the value: a call block
// with a value and a buffer, w within the row's limits and, unless
// cut_to_buffer, an output buffer of at least w bytes.  Otherwise the
// field holds what fits of w asterisks and *status says why.
inline bool clock_call_ok(fmtcall *c, const RowLimits &limits,
                          bool cut_to_buffer, int32_t *status) {
  if (c != nullptr && c->value != nullptr && c->out != nullptr &&
      c->w >= limits.minw && c->w <= limits.maxw &&
      c->outsize >= (cut_to_buffer ? 1 : c->w)) {
    c->outenc = VF_ENC_NARROW;
    return true;
  }
  return clock_call_refused(c, limits, status);
}

// The range step of the clock formats: true with *v for a value within the
// datetime range; otherwise the call is finished (the missing display with
// status 0, or w asterisks with VF_ERR_DATE_RANGE) and *status is set.
inline bool clock_value(fmtcall *c, double *v, int32_t *status) {
  const double x = call_value(c);
  // Missing values are NaN patterns, never within the range.
  if (datetime_in_range(x)) {
    *v = x;
    return true;
  }
  return clock_value_refused(c, status);
}

// The caller's decimals within 0..maxd.
inline int32_t clock_decimals(const fmtcall *c, int32_t maxd) {
  return c->d < 0 ? 0 : (c->d > maxd ? maxd : c->d);
}

} // namespace valfmt
