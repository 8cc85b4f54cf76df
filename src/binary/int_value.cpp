// PIB and IB values of a double for the digit-string formats.
#include "binary/int_value.h"

#include <cmath>

#include "binary/binary_call.h"

namespace valfmt {
namespace {

inline uint64_t ones(int32_t n) {
  return n >= 8 ? ~0ull : (1ull << (8 * n)) - 1;
}

// floor(m + 0.5) for m >= 0, exact at every magnitude (m - floor(m) is
// exact below 2^52, and 0 above it).
inline double round_half_up(double m) {
  const double f = std::floor(m);
  return m - f >= 0.5 ? f + 1.0 : f;
}

// 2^(8n) and 2^(8n - 1) for n = 0..8: the first magnitudes an n-byte
// unsigned and signed field cannot hold.
constexpr auto kFieldLimits = [] {
  struct Limits {
    double unsigned_end[9];
    double signed_end[9];
  } t{};
  double p = 1.0;
  for (int n = 0; n <= 8; ++n) {
    t.unsigned_end[n] = p;
    t.signed_end[n] = p / 2;
    for (int k = 0; k < 8; ++k) p *= 2;
  }
  return t;
}();

} // namespace

IntField pib_value(double v, int32_t n) {
  if (!(v >= 0.0)) return {ones(n), VF_ERR_BINARY_FIT};
  const double r = round_half_up(v);
  if (r >= kFieldLimits.unsigned_end[n]) return {ones(n), VF_ERR_BINARY_FIT};
  return {static_cast<uint64_t>(r), VF_OK};
}

IntField ib_value(double v, int32_t n) {
  if (std::isnan(v)) return {0, VF_ERR_BINARY_FIT};
  const double half = kFieldLimits.signed_end[n];
  const uint64_t mask = ones(n);
  if (v >= 0.0) {
    const double r = round_half_up(v);
    if (r >= half) return {mask >> 1, VF_ERR_BINARY_FIT};
    return {static_cast<uint64_t>(r), VF_OK};
  }
  const double m = round_half_up(-v);
  if (m > half) return {(mask >> 1) + 1, VF_ERR_BINARY_FIT};
  return {(0 - static_cast<uint64_t>(m)) & mask, VF_OK};
}

IntField pib_scaled(double v, int32_t n, int32_t d) {
  if (d > 0) {
    v = vvzscal(d, v);
    if (is_missing(v)) return {ones(n), VF_WARN_RANGE};
  }
  return pib_value(v, n);
}

IntField ib_scaled(double v, int32_t n, int32_t d) {
  if (d > 0) {
    const double s = vvzscal(d, v);
    if (is_missing(s)) {
      const uint64_t mask = ones(n);
      return {v < 0 ? (mask >> 1) + 1 : mask >> 1, VF_WARN_RANGE};
    }
    v = s;
  }
  return ib_value(v, n);
}

} // namespace valfmt
