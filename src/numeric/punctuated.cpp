// The field check and the F layout that every punctuated format starts
// from.
#include "numeric/punctuated.h"

#include "core/call.h"
#include "registry/functions.h"

namespace valfmt {

int32_t refuse_field(fmtcall *c, int32_t w) {
  if (w < 1) {
    c->outlen = 0;
    return VF_ERR_WIDTH;
  }
  const int32_t cap = out_capacity(c);
  if (cap < w) {
    // A number cut to the buffer would read as a different number.
    fill_stars(c, cap);
    return VF_ERR_OUTSIZE;
  }
  if (c->value == nullptr) {
    fill_stars(c, w);
    return VF_ERR_BAD_CALL;
  }
  return VF_OK;
}

Rendered render_fixed(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                      int32_t d, double v) {
  fmtcall inner = caller;
  inner.w = w;
  inner.d = d;
  inner.value = &v;
  inner.valuelen = static_cast<int32_t>(sizeof v);
  inner.out = out;
  inner.outsize = cap;
  inner.outlen = 0;
  inner.outenc = VF_ENC_NARROW;
  const int32_t status = zfmt(&inner);
  return {status, inner.outlen};
}

void swap_marks(char *text, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (text[i] == '.')
      text[i] = ',';
    else if (text[i] == ',')
      text[i] = '.';
  }
}

} // namespace valfmt
