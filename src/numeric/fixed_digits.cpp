// Digit generation and the small numeric routines under the fixed renderer:
// exact decimal expansion of integer and fraction parts, powers of ten.
// Integer arithmetic on the mantissa only, so every digit is exact.
#include <bit>
#include <cmath>
#include <cstring>

#include "core/digits.h"
#include "core/missing.h"
#include "core/pow10.h"
#include "numeric/fixed_parts.h"

namespace valfmt {
namespace {

// The integer part of a double >= 2^64 in decimal, through base-10^9 limbs:
// the 53-bit mantissa is doubled up by its binary exponent, 29 bits at a
// time, which keeps every limb product below 2^64.
int32_t big_integer_digits(char *buf, int32_t cap, uint64_t mant,
                           int32_t shift) {
  constexpr uint64_t kBase = 1000000000ull;
  uint32_t limbs[40]; // 309 digits need 35 limbs
  int32_t count = 0;
  while (mant != 0) {
    limbs[count++] = static_cast<uint32_t>(mant % kBase);
    mant /= kBase;
  }
  while (shift > 0) {
    const int32_t s = shift < 29 ? shift : 29;
    uint64_t carry = 0;
    for (int32_t i = 0; i < count; ++i) {
      const uint64_t t = (static_cast<uint64_t>(limbs[i]) << s) + carry;
      limbs[i] = static_cast<uint32_t>(t % kBase);
      carry = t / kBase;
    }
    while (carry != 0) {
      limbs[count++] = static_cast<uint32_t>(carry % kBase);
      carry /= kBase;
    }
    shift -= s;
  }
  const int32_t top = digit_count(limbs[count - 1]);
  const int32_t total = top + 9 * (count - 1);
  if (total > cap) return total;
  char *p = buf + top;
  write_digits_backward(p, limbs[count - 1], top);
  for (int32_t i = count - 2; i >= 0; --i) {
    p += 9;
    write_digits_backward(p, limbs[i], 9);
  }
  return total;
}

constexpr uint64_t kMask60 = (1ull << 60) - 1;

// n fraction digits of f / 2^60 (f below 2^60), one word multiplied by 10
// digit by digit.  Returns the count up to the last nonzero digit.
int32_t expand_one_word(char *buf, int32_t n, uint64_t f) {
  int32_t last_nonzero = 0;
  for (int32_t i = 0; i < n; ++i) {
    f *= 10;
    const auto digit = static_cast<char>(f >> 60);
    f &= kMask60;
    buf[i] = static_cast<char>('0' + digit);
    if (digit != 0) last_nonzero = i + 1;
  }
  return last_nonzero;
}

// n fraction digits of frac / 2^k for 60 < k <= 180: up to three words of
// 60 fraction bits, most significant first, multiplied by 10 together.
int32_t expand_three_words(char *buf, int32_t n, uint64_t frac, int32_t k) {
  const int32_t words = (k + 59) / 60;
  const int32_t s = 60 * words - k; // 0 <= s < 60
  uint64_t f[3] = {0, 0, 0};
  f[words - 1] = (frac << s) & kMask60;
  f[words - 2] = frac >> (60 - s);
  int32_t last_nonzero = 0;
  for (int32_t i = 0; i < n; ++i) {
    uint64_t carry = 0;
    for (int32_t j = words - 1; j >= 0; --j) {
      const uint64_t t = f[j] * 10 + carry;
      f[j] = t & kMask60;
      carry = t >> 60;
    }
    buf[i] = static_cast<char>('0' + carry);
    if (carry != 0) last_nonzero = i + 1;
  }
  return last_nonzero;
}

} // namespace

double power_of_ten(int32_t k) {
  if (k >= 0 && k <= 308) return kPow10Pos[k];
  if (k < 0 && k >= -323) return kPow10Neg[-k];
  return standard_missing();
}

bool is_integral(double x) {
  // Every double of magnitude >= 2^52 is integral; below, the integer
  // conversion is exact.  NaN compares false on both paths.
  if (!(std::fabs(x) < 4503599627370496.0)) return x == x;
  return static_cast<double>(static_cast<int64_t>(x)) == x;
}

int32_t binary_exponent(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  const auto biased = static_cast<int32_t>((bits >> 52) & 0x7FF);
  if (biased != 0 && biased != 0x7FF) return biased - 1022;
  int e = 0;
  std::frexp(x, &e); // zero, subnormal, inf, NaN
  return e;
}

int32_t write_integer_digits(char *buf, int32_t cap, double y) {
  const double a = std::fabs(y);
  if (!(a >= 1.0) || a == HUGE_VAL) return 0;
  if (a < 18446744073709551616.0) {
    const auto u = static_cast<uint64_t>(a);
    const int32_t n = digit_count(u);
    if (n <= cap) write_digits_backward(buf + n, u, n);
    return n;
  }
  const uint64_t bits = std::bit_cast<uint64_t>(a);
  const uint64_t mant = (bits & ((1ull << 52) - 1)) | (1ull << 52);
  const auto shift = static_cast<int32_t>((bits >> 52) & 0x7FF) - 1075;
  return big_integer_digits(buf, cap, mant, shift);
}

int32_t write_fraction_digits(char *buf, int32_t n, double y) {
  if (n <= 0) return 0;
  const double a = std::fabs(y);
  // A fraction below 2^-(4n) < 10^-n has n leading zero digits; at 2^52
  // and above there are no fraction bits at all.
  const double floor_bits =
      n >= 32
          ? 0x1p-128
          : std::bit_cast<double>(static_cast<uint64_t>(1023 - 4 * n) << 52);
  if (!(a < 4503599627370496.0) || a < floor_bits || a < 0x1p-128) {
    std::memset(buf, '0', static_cast<std::size_t>(n));
    return 0;
  }
  const uint64_t bits = std::bit_cast<uint64_t>(a);
  const uint64_t mant = (bits & ((1ull << 52) - 1)) | (1ull << 52);
  // a = mant * 2^-k with 1 <= k <= 180 here.
  const int32_t k = 1075 - static_cast<int32_t>((bits >> 52) & 0x7FF);
  const uint64_t frac = k >= 53 ? mant : (mant & ((1ull << k) - 1));
  if (k <= 60) return expand_one_word(buf, n, frac << (60 - k));
  return expand_three_words(buf, n, frac, k);
}

} // namespace valfmt
