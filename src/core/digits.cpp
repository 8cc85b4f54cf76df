// The right-aligned integer field writer.
#include "core/digits.h"
#include "core/call.h"

namespace valfmt {

int32_t write_int_field(int64_t v, char *out, int32_t w) {
  if (out == nullptr || w <= 0) return VF_ERR_OVERFLOW;
  const bool negative = v < 0;
  const uint64_t u =
      negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  const int32_t n = digit_count(u);
  const int32_t need = n + (negative ? 1 : 0);
  if (need > w) {
    put_stars(out, w);
    return VF_ERR_OVERFLOW;
  }
  write_digits_backward(out + w, u, n);
  if (negative) out[w - n - 1] = '-';
  put_blanks(out, w - need);
  return VF_OK;
}

} // namespace valfmt
