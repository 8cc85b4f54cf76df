// vvzscal, the overflow-checked decimal scaling every binary writer applies
// before it converts a value: v * 10^d, refused beyond what 10^d scales.
#pragma once

#include <cfloat>
#include <cstdint>

#include "binary/entry_rule.h"
#include "core/missing.h"
#include "core/pow10.h"

namespace valfmt {

// 10^0 .. 10^31 as the nearest doubles (the literals are correctly rounded).
inline constexpr double kPow10Scale[kMaxScaleDecimals + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10,
    1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21,
    1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31};

// Entry i: the largest magnitude that 10^i scales without overflow.
inline constexpr int32_t kMaxScalableCount = 309;
extern const double kMaxScalable[kMaxScalableCount];

// v * 10^d.  When d > 308 or |v| lies beyond the largest magnitude that
// 10^d scales, the standard missing value; exactly at that magnitude, the
// largest finite double with v's sign.  d <= 0 leaves v unchanged.  Both
// signs are checked, so a large negative value is refused like a positive
// one.
inline double vvzscal(int32_t d, double v) {
  if (d <= 0) return v;
  if (d >= kMaxScalableCount) return standard_missing();
  const double limit = kMaxScalable[d];
  const double a = v < 0 ? -v : v;
  if (a > limit) return standard_missing();
  if (a == limit) return v < 0 ? -DBL_MAX : DBL_MAX;
  return v * (d <= kMaxScaleDecimals ? kPow10Scale[d] : kPow10Pos[d]);
}

} // namespace valfmt
