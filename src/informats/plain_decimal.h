// The plain decimal texts that most numeric fields hold (an optional sign,
// digits and at most one point; no exponent, no missing-value notation)
// gathered in one 64-bit integer in one pass.
//
// The standard reader folds the digits from the first to the last nonzero
// one into a double in nine-digit chunks and scales the result by a power
// of ten.  While that integer stays below 2^53 every step of the folding
// is exact, so the double it yields is the integer itself, scaled by one
// correctly rounded multiplication or division by an exact power of ten.
// The text's digits with their trailing zeros form an integer below 2^53
// too when this one fits; divided by 10^k for k <= 22 (exact powers) the
// quotient is the correctly rounded value of the same number, so it is
// the same double.  scan_plain_decimal gives the integer and power for
// such texts and refuses every other text, which the folding reader reads
// as before.
#pragma once

#include <cstdint>

namespace valfmt {

struct PlainDecimal {
  uint64_t digits; // every digit of the text, trailing zeros included
  int32_t scale;   // the value is digits * 10^scale, scale <= 0
  bool negative;
};

// Integers from here on can be off in a double, and the folding with them.
inline constexpr uint64_t kExactIntegerLimit = 1ull << 53;
// The largest power of ten that a double holds exactly.
inline constexpr int32_t kLargestExactPower = 22;

// Gathers the digits at p into *all; returns the first byte that is not
// a digit.
inline const unsigned char *
gather_digits(const unsigned char *p, const unsigned char *e, uint64_t *all) {
  uint64_t v = *all;
  for (; p < e; ++p) {
    const uint32_t digit = static_cast<uint32_t>(*p) - '0';
    if (digit > 9) break;
    v = v * 10 + digit;
  }
  *all = v;
  return p;
}

// 19 digits always fit 64 bits.
inline constexpr int64_t kMaxPlainDigits = 19;

// The trimmed, non-empty text [p, e) with implied decimals d (already
// within limits).  True with r filled for a plain decimal text of at most
// 19 digits that form an integer below 2^53, scaled by at most 10^-22.
inline bool scan_plain_decimal(const unsigned char *p, const unsigned char *e,
                               int32_t d, PlainDecimal &r) {
  r.negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  if (e - p > kMaxPlainDigits + 1) return false;
  uint64_t all = 0;
  const unsigned char *start = p;
  p = gather_digits(p, e, &all);
  int32_t after_point = 0;
  const bool has_point = p < e && *p == '.';
  if (has_point) {
    const unsigned char *fraction = ++p;
    p = gather_digits(p, e, &all);
    after_point = static_cast<int32_t>(p - fraction);
  }
  const int64_t count = p - start - (has_point ? 1 : 0);
  // Anything else, or no digit at all (a sign or point alone is notation).
  if (p != e || count == 0 || count > kMaxPlainDigits) return false;
  // A point cancels implied decimals.
  const int32_t scale = has_point ? -after_point : -d;
  if (all >= kExactIntegerLimit || scale < -kLargestExactPower) return false;
  r.digits = all;
  r.scale = scale;
  return true;
}

} // namespace valfmt
