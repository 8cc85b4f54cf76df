// Decimal scaling of the binary writers: v * 10^d with the overflow rule
// of the byte formats (the standard missing value beyond the scalable
// range, the largest double exactly at its edge).
#include <cfloat>
#include <cmath>

#include "binary/binary_call.h"
#include "numeric/fixed.h"

namespace valfmt {
namespace {

// DBL_MAX / 10^i: the largest magnitude 10^i scales without overflow.
constexpr auto kScaleLimit = [] {
  struct Limits {
    double v[32];
  } t{};
  for (int i = 0; i < 32; ++i) t.v[i] = DBL_MAX / kBinPow10[i];
  return t;
}();

} // namespace

double binary_pow10(int32_t d) {
  if (d < 32) return kBinPow10[d < 0 ? 0 : d];
  return kPow10Pos[d > 308 ? 308 : d];
}

double scale_real(double v, int32_t d) {
  if (d <= 0) return v;
  if (d > 308) return v == 0.0 ? v : v * HUGE_VAL; // a NaN stays a NaN
  return v * binary_pow10(d);
}

double vvzscal(int32_t d, double v) {
  if (d <= 0) return v;
  if (d > 308) return standard_missing();
  const double p = binary_pow10(d);
  const double limit = d < 32 ? kScaleLimit.v[d] : DBL_MAX / p;
  const double mag = std::fabs(v);
  if (mag > limit) return standard_missing();
  if (mag == limit) return std::copysign(DBL_MAX, v);
  const double r = v * p;
  return std::isinf(r) ? std::copysign(DBL_MAX, v) : r;
}

} // namespace valfmt
