// The slow paths every numeric date format shares: refused call blocks,
// missing values and dates outside the range.
#include "datetime/date_fields.h"

namespace valfmt {

int32_t refuse_date_call(fmtcall *call, RowLimits limits) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  fill_stars(call, call->w);
  if (call->out == nullptr || call->value == nullptr) return VF_ERR_BAD_CALL;
  if (call->w < limits.minw || call->w > limits.maxw) return VF_ERR_WIDTH;
  return VF_ERR_OUTSIZE;
}

int32_t show_missing_date(fmtcall *call) {
  // The missing writer reads the decimals from its block: it gets a
  // private copy with none, so the caller's block stays as it was.
  fmtcall no_decimals = *call;
  no_decimals.d = 0;
  zfmmiss(&no_decimals);
  return finish_narrow(call, no_decimals.outlen);
}

int32_t show_missing_or_out_of_range(fmtcall *call) {
  call->outenc = VF_ENC_NARROW;
  return zdatrng(call, 1) == 2 ? VF_OK : VF_ERR_DATE_RANGE;
}

} // namespace valfmt
