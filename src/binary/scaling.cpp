// Decimal scaling of the binary writers: v * 10^d with the overflow rule
// of the byte formats (the standard missing value beyond the scalable
// range, the largest double exactly at its edge).
#include <cfloat>
#include <cmath>

#include "binary/binary_call.h"
#include "core/pow10.h"

namespace valfmt {
double binary_pow10(int32_t d) {
  if (d < 32) return kBinPow10[d < 0 ? 0 : d];
  return kPow10Pos[d > 308 ? 308 : d];
}

double scale_real(double v, int32_t d) {
  if (d <= 0) return v;
  if (d > 308) return v == 0.0 ? v : v * HUGE_VAL; // a NaN stays a NaN
  return v * binary_pow10(d);
}

} // namespace valfmt
