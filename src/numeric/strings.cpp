// Shared string routines and the plain character formats $CHAR and $UPCASE.
#include "registry/functions.h"
#include "numeric/strings.h"

#include <cstring>

#include "valfmt.h"

namespace valfmt {

void vzmp(char *dst, int32_t w, const char *src, int32_t n) {
  if (dst == nullptr || w <= 0) return;
  if (src == nullptr || n < 0) n = 0;
  const int32_t k = n < w ? n : w;
  if (k > 0) std::memmove(dst, src, static_cast<std::size_t>(k));
  if (w > k) std::memset(dst + k, ' ', static_cast<std::size_t>(w - k));
}

int32_t wzstrip(const char *text, int32_t len) {
  if (text == nullptr || len <= 0) return 0;
  while (len > 0 && text[len - 1] == ' ') --len;
  return len;
}

void wzstrup(char *text, int32_t len) {
  if (text == nullptr) return;
  for (int32_t i = 0; i < len; ++i)
    if (text[i] >= 'a' && text[i] <= 'z')
      text[i] = static_cast<char>(text[i] - 32);
}

namespace {

// Copies a character value into w columns (16-bit units for UCS-2 input),
// optionally upper-casing.  Writes at most outsize bytes; a field wider
// than the buffer is cut and reported.
int32_t copy_char_value(fmtcall *c, bool upcase) {
  const int32_t w = c->w < 0 ? 0 : c->w;
  const int32_t cap = c->out ? (c->outsize < 0 ? 0 : c->outsize) : 0;
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
  vzmp(dst, cols, static_cast<const char *>(c->value), n);
  if (upcase) wzstrup(dst, cols);
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
