// The slow paths of the date, word, era and clock formats' checks:
// refused blocks, missing values and values outside the range.
#include "datetime/call_checks.h"

#include "core/missing.h"
#include "registry/functions.h"

namespace valfmt {

int32_t refuse_call(fmtcall *c, int32_t reason) {
  if (c != nullptr) fill_stars(c, c->w);
  return reason;
}

int32_t show_missing_date(fmtcall *c) {
  write_missing_field(c, c->w, 0);
  return finish_narrow(c, c->outlen);
}

int32_t show_missing_or_out_of_range(fmtcall *c, ValueRange range) {
  c->outenc = VF_ENC_NARROW;
  return zdatrng(c, static_cast<int32_t>(range)) == 2 ? VF_OK
                                                      : VF_ERR_DATE_RANGE;
}

} // namespace valfmt
