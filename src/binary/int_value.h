// The integer an n-byte binary field holds for a double: the unsigned (PIB)
// and two's-complement (IB) conversions with their rounding and
// saturation.  The integer formats and the digit-string formats (HEX,
// BINARY, OCTAL, S370FHEX) all convert through here.
//
// Rounding is exact half up on the magnitude at every size (round_half_up
// measures the fraction against the truncated value, so no odd integer
// from 2^52 up is moved by an added 0.5); negative values round half away
// from zero (-3.5 gives -4).
#pragma once

#include <cstdint>

#include "binary/byte_order.h"
#include "binary/scale.h"
#include "valfmt.h"

namespace valfmt {

// The n low-order bytes of `bits` hold the field (n 1..8); status 0, or
// VF_ERR_BINARY_FIT / VF_WARN_RANGE when the field was saturated.
struct IntField {
  uint64_t bits;
  int32_t status;
};

// Unsigned: round half up; a negative value, a NaN or a result of 2^(8n)
// or more gives all ones and VF_ERR_BINARY_FIT.
inline IntField pib_value(double v, int32_t n) {
  const uint64_t ones = low_mask(n);
  if (!(v >= 0.0) || !(v < 0x1p64)) return {ones, VF_ERR_BINARY_FIT};
  const uint64_t u = round_half_up(v);
  if (u > ones) return {ones, VF_ERR_BINARY_FIT};
  return {u, VF_OK};
}

// Two's complement: beyond the field the largest positive or the most
// negative value and VF_ERR_BINARY_FIT.  A NaN gives 0 and
// VF_ERR_BINARY_FIT.
inline IntField ib_value(double v, int32_t n) {
  if (v != v) return {0, VF_ERR_BINARY_FIT};
  const uint64_t top = 1ull << (8 * n - 1); // most negative, as bits
  const uint64_t largest = top - 1;
  if (v >= 0) {
    if (!(v < 0x1p64)) return {largest, VF_ERR_BINARY_FIT};
    const uint64_t u = round_half_up(v);
    if (u > largest) return {largest, VF_ERR_BINARY_FIT};
    return {u, VF_OK};
  }
  const double a = -v;
  if (!(a < 0x1p64)) return {top, VF_ERR_BINARY_FIT};
  const uint64_t m = round_half_up(a);
  if (m > top) return {top, VF_ERR_BINARY_FIT};
  return {(0 - m) & low_mask(n), VF_OK};
}

// The same after scaling by 10^d (d 0..31).  A negative PIB value is
// refused before any scaling; a scaling overflow gives the saturated field
// (all ones for PIB; largest positive or most negative for IB) and
// VF_WARN_RANGE.
inline IntField pib_scaled(double v, int32_t n, int32_t d) {
  if (d > 0 && v > 0) {
    v = vvzscal(d, v);
    if (is_missing(v)) return {low_mask(n), VF_WARN_RANGE};
  }
  return pib_value(v, n);
}

inline IntField ib_scaled(double v, int32_t n, int32_t d) {
  if (d > 0) {
    const double s = vvzscal(d, v);
    if (is_missing(s)) {
      const uint64_t top = 1ull << (8 * n - 1);
      return {v < 0 ? top : top - 1, VF_WARN_RANGE};
    }
    v = s;
  }
  return ib_value(v, n);
}

} // namespace valfmt
