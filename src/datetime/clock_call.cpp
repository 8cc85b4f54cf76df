// The refusals of the clock formats' call checks: the field gets what fits
// of w asterisks, or the missing display, and the status says why.
#include "datetime/clock_call.h"

#include "registry/functions.h"

namespace valfmt {

bool clock_call_refused(fmtcall *c, const RowLimits &limits, int32_t *status) {
  if (c == nullptr) {
    *status = VF_ERR_BAD_CALL;
    return false;
  }
  c->outenc = VF_ENC_NARROW;
  if (c->value == nullptr || c->out == nullptr)
    *status = VF_ERR_BAD_CALL;
  else if (c->w < limits.minw || c->w > limits.maxw)
    *status = VF_ERR_WIDTH;
  else
    *status = VF_ERR_OUTSIZE;
  fill_stars(c, c->w);
  return false;
}

bool clock_value_refused(fmtcall *c, int32_t *status) {
  // zdatrng writes the missing display (decimals taken as 0) or the
  // asterisks, both within outsize.
  *status = zdatrng(c, 2) == 2 ? VF_OK : VF_ERR_DATE_RANGE;
  c->outenc = VF_ENC_NARROW;
  return false;
}

} // namespace valfmt
