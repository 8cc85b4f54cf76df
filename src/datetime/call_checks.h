// The checks every date, word, era and clock format runs before it reads
// its value, and the first step on the value itself.  One set of rules,
// in one order:
//  1. a null block is refused with VF_ERR_BAD_CALL and nothing written;
//  2. a null value or buffer gives VF_ERR_BAD_CALL, a width outside the
//     row's limits VF_ERR_WIDTH, and a buffer that cannot take the field
//     VF_ERR_OUTSIZE; the buffer then holds what fits of w asterisks;
//  3. a missing value shows the missing display (decimals taken as 0),
//     a value outside the range asterisks.
// The families differ in two points only, both kept as they ship:
//  - most formats refuse a buffer shorter than w; MINGUO, HHMM, MMSS and
//    MDYAMPM cut their field to it instead (ShortBuffer::kCut) and refuse
//    only an empty one;
//  - the numeric date formats (date_fields.h) leave outenc as the caller
//    set it when they refuse a block; the word, era and clock formats mark
//    it narrow there too.  Both set it narrow with every field they write.
#pragma once

#include <cstdint>

#include "core/call.h"
#include "datetime/calendar.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

enum class ShortBuffer : uint8_t {
  kRefuse, // outsize below w: VF_ERR_OUTSIZE
  kCut,    // the field is cut to outsize; only an empty buffer is refused
};

// The reason the block cannot be served (rules 1 and 2), or VF_OK.
inline int32_t call_refusal(const fmtcall *c, const RowLimits &limits,
                            ShortBuffer short_buffer) {
  if (c == nullptr || c->out == nullptr || c->value == nullptr)
    return VF_ERR_BAD_CALL;
  if (c->w < limits.minw || c->w > limits.maxw) return VF_ERR_WIDTH;
  const int32_t need = short_buffer == ShortBuffer::kCut ? 1 : c->w;
  return c->outsize < need ? VF_ERR_OUTSIZE : VF_OK;
}

// Writes a refusal: what fits of w asterisks (nothing without a block);
// returns the reason, which must not be VF_OK.
int32_t refuse_call(fmtcall *c, int32_t reason);

// The numeric date formats' check: true when the block may be formatted;
// otherwise the field holds the refusal and *status its reason.
inline bool date_call_ok(fmtcall *c, const RowLimits &limits, int32_t *status) {
  const int32_t reason = call_refusal(c, limits, ShortBuffer::kRefuse);
  if (reason == VF_OK) return true;
  *status = refuse_call(c, reason);
  return false;
}

// The word, era and clock formats' check: as date_call_ok, and outenc is
// narrow from here on whenever there is a block.
inline bool narrow_call_ok(fmtcall *c, const RowLimits &limits,
                           ShortBuffer short_buffer, int32_t *status) {
  const int32_t reason = call_refusal(c, limits, short_buffer);
  if (c != nullptr) c->outenc = VF_ENC_NARROW;
  if (reason == VF_OK) return true;
  *status = refuse_call(c, reason);
  return false;
}

// The missing display of the call's value across w, decimals taken as 0;
// outlen and outenc set, status VF_OK.
int32_t show_missing_date(fmtcall *c);

// Rule 3 for a value already known to be missing or out of range: the
// missing display (VF_OK) or what fits of w asterisks (VF_ERR_DATE_RANGE).
enum class ValueRange : int32_t { kDate = 1, kDatetime = 2 };
int32_t show_missing_or_out_of_range(fmtcall *c, ValueRange range);

// Runs `format` on a private copy of the block whose value is `day` (the
// datetime adapters): the caller's value and block stay as they were
// except outlen and outenc, which take the format's.  Returns its status.
inline int32_t format_on_day(fmtcall *c, double day, fmtfn format) {
  fmtcall on_day = *c;
  on_day.value = &day;
  const int32_t status = format(&on_day);
  c->outlen = on_day.outlen;
  c->outenc = on_day.outenc;
  return status;
}

// The clock formats' value step: true with *v for a value within the
// datetime range; otherwise the call is finished by rule 3 and *status
// set.
inline bool clock_value(fmtcall *c, double *v, int32_t *status) {
  const double x = call_value(c);
  // Missing values are NaN patterns, never within the range.
  if (datetime_in_range(x)) {
    *v = x;
    return true;
  }
  *status = show_missing_or_out_of_range(c, ValueRange::kDatetime);
  return false;
}

// The caller's decimals within 0..maxd.
inline int32_t clock_decimals(const fmtcall *c, int32_t maxd) {
  return c->d < 0 ? 0 : (c->d > maxd ? maxd : c->d);
}

// The first steps of a clock format whose field is never cut: the call
// checks and the value step.  True with the value and the decimals to show
// when the field may be written; otherwise the call is finished and
// *status set.
struct ClockInput {
  double value;
  int32_t decimals; // the caller's d within 0..maxd
};
inline bool begin_clock_call(fmtcall *c, const RowLimits &limits,
                             ClockInput &in, int32_t *status) {
  if (!narrow_call_ok(c, limits, ShortBuffer::kRefuse, status)) return false;
  if (!clock_value(c, &in.value, status)) return false;
  in.decimals = clock_decimals(c, limits.maxd);
  return true;
}

} // namespace valfmt
