// PVALUE: a probability with dd decimals, values too small to show as
// "<.0...01".
//
//   PVALUE6.4 of 0.05      "0.0500"
//   PVALUE6.4 of 0.00001   "<.0001"   (and of any negative value)
//
// dd is d when 0 < d <= w - 2, else w - 2.  A width below 1 means the
// default 6; a field wider than 32 shows the value in its first 32 columns
// and blanks the rest.  Every failure returns VF_ERR_NO_ROOM: a width
// below 3, a buffer smaller than the field (its bytes become '*'), and any
// status of the fixed renderer, whose text is kept.
#include "core/call.h"
#include "core/missing.h"
#include "numeric/fixed_parts.h"
#include "numeric/fixed.h"
#include "numeric/punctuated.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kPvalue = row_limits("PVALUE");
// "<.1": the narrowest field that shows anything.
constexpr int32_t kNarrowest = 3;

int32_t pvalue(fmtcall *c) {
  const int32_t w = c->w < 1 ? kPvalue.defw : c->w;
  const int32_t cap = out_capacity(c);
  if (w > cap || c->value == nullptr) {
    fill_stars(c, w < cap ? w : cap);
    return VF_ERR_NO_ROOM;
  }
  char *out = static_cast<char *>(c->out);
  if (w < kNarrowest) {
    fill_stars(c, w);
    return VF_ERR_NO_ROOM;
  }
  c->outlen = w;
  c->outenc = VF_ENC_NARROW;
  vzfbl(out, w);
  const int32_t fw = w < kMaxFixedWidth ? w : kMaxFixedWidth;
  const int32_t dd = c->d > 0 && c->d <= fw - 2 ? c->d : fw - 2;
  const double v = call_value(c);
  if (is_missing(v)) {
    out[fw - dd - 1] = missing_char(v);
    return VF_OK;
  }
  const double x = v < 0 ? 0.0 : v;
  if (x < 1.0 / power_of_ten(dd)) {
    // "<." then dd - 1 zeros and a '1': the smallest value dd decimals show.
    char *p = out + fw - dd - 2;
    *p++ = '<';
    *p++ = '.';
    for (int32_t i = 1; i < dd; ++i) *p++ = '0';
    *p = '1';
    return VF_OK;
  }
  Shown shown;
  return render_f(out, fw, fw, dd, x, shown) == VF_OK ? VF_OK : VF_ERR_NO_ROOM;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmpval(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  return valfmt::pvalue(call);
}

} // extern "C"
