// The plain character formats $CHAR and $UPCASE: the value copied into w
// columns, narrow or as 16-bit units, optionally upper-cased.
#include <cstring>

#include "registry/functions.h"
#include "core/call.h"
#include "core/text.h"
#include "valfmt.h"

namespace valfmt {
namespace {

// Copies a character value into w columns (16-bit units for UCS-2 input),
// optionally upper-casing.  Writes at most outsize bytes; a field wider
// than the buffer is cut and reported.
int32_t copy_char_value(fmtcall *c, bool upcase) {
  const int32_t w = c->w < 0 ? 0 : c->w;
  const int32_t cap = out_capacity(c);
  const int32_t n = c->value ? (c->valuelen < 0 ? 0 : c->valuelen) : 0;
  if (c->inenc == VF_ENC_UCS2) {
    const int32_t cols = w < cap / 2 ? w : cap / 2;
    const auto *src = static_cast<const uint8_t *>(c->value);
    auto *dst = static_cast<uint8_t *>(c->out);
    for (int32_t i = 0; i < cols; ++i) {
      uint16_t u = ' ';
      if (i < n) u = static_cast<uint16_t>(src[2 * i] | (src[2 * i + 1] << 8));
      if (upcase && u >= 'a' && u <= 'z') u = static_cast<uint16_t>(u - 32);
      dst[2 * i] = static_cast<uint8_t>(u & 0xFF);
      dst[2 * i + 1] = static_cast<uint8_t>(u >> 8);
    }
    c->outlen = 2 * cols;
    c->outenc = VF_ENC_UCS2;
    return cols < w ? VF_ERR_OUTSIZE : VF_OK;
  }
  const int32_t cols = w < cap ? w : cap;
  char *dst = static_cast<char *>(c->out);
  copy_padded(dst, cols, static_cast<const char *>(c->value), n);
  if (upcase) upcase_ascii(dst, cols);
  c->outlen = cols;
  c->outenc = VF_ENC_NARROW;
  return cols < w ? VF_ERR_OUTSIZE : VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {
VF_API int32_t zfmc(fmtcall *call) {
  return call ? valfmt::copy_char_value(call, false) : VF_ERR_BAD_CALL;
}
VF_API int32_t zfmupc(fmtcall *call) {
  return call ? valfmt::copy_char_value(call, true) : VF_ERR_BAD_CALL;
}
}
