// Conversions between IEEE doubles and IBM hexadecimal floating point.
#include "binary/hfp.h"

#include <bit>
#include <cfloat>

#include "core/missing.h"

namespace valfmt {
namespace {

constexpr uint64_t kFraction52 = (1ull << 52) - 1;
constexpr uint64_t kFraction56 = (1ull << 56) - 1;
constexpr int32_t kHfpMinExp2 = -260; // 16^-65, the smallest normal HFP
constexpr int32_t kHfpMaxExp2 = 251;  // values below 2^252 fit

} // namespace

HfpValue ieee2xpt(double v) {
  const uint64_t bits = double_bits(v);
  const uint64_t sign = bits & (1ull << 63);
  const auto biased = static_cast<int32_t>((bits >> 52) & 0x7FF);
  const int32_t e = biased - 1023; // v = 1.f * 2^e for normal v
  if (biased == 0 || e < kHfpMinExp2) return {0, false};
  if (e > kHfpMaxExp2) return {sign | kHfpLargest, true};
  // v / 16^q lies in [1/16, 1) for q = floor(e / 4) + 1.
  const int32_t q = (e >> 2) + 1;
  const uint64_t mantissa = (bits & kFraction52) | (1ull << 52);
  const uint64_t fraction = mantissa << (e - 4 * q + 4);
  const auto exponent = static_cast<uint64_t>(int64_t{q} + 64);
  return {sign | exponent << 56 | fraction, false};
}

double hfp_to_double(uint64_t bits) {
  const uint64_t sign = bits & (1ull << 63);
  const auto e16 = static_cast<int32_t>((bits >> 56) & 0x7F);
  const uint64_t f = bits & kFraction56;
  if (f == 0) {
    if (e16 == 0) return 0.0;
    return std::bit_cast<double>(sign | std::bit_cast<uint64_t>(DBL_MIN));
  }
  const int32_t top = 63 - std::countl_zero(f); // leading bit, 0..55
  const int32_t e2 = top - 56 + 4 * (e16 - 64); // v = 1.x * 2^e2
  const uint64_t mantissa = top >= 52 ? f >> (top - 52) : f << (52 - top);
  const auto biased = static_cast<uint64_t>(int64_t{e2} + 1023);
  return std::bit_cast<double>(sign | biased << 52 | (mantissa & kFraction52));
}

double hfp_round_trip(double v) {
  const auto biased = static_cast<int32_t>((double_bits(v) >> 52) & 0x7FF);
  if (biased >= 1023 + kHfpMinExp2 && biased <= 1023 + kHfpMaxExp2) return v;
  return hfp_to_double(ieee2xpt(v).bits);
}

double wzrtdbl(const uint8_t *p, int32_t n) {
  const uint64_t bits = load_high_order(p, n < 8 ? n : 8);
  if ((bits & 0x00FFFFFFFFFFFFFFull) == 0) {
    const auto b0 = static_cast<unsigned char>(bits >> 56);
    if (b0 == '.' || b0 == '_' || (b0 >= 'A' && b0 <= 'Z'))
      return missing_value(static_cast<uint8_t>(missing_code(b0)));
  }
  return hfp_to_double(bits);
}

} // namespace valfmt
