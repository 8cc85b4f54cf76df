// The building blocks under the fixed renderer: exact digit generation,
// powers of ten, the scientific writer and the significance rule of D.
// Internal to the numeric family.
#pragma once

#include <cstdint>

namespace valfmt {

// Digits of the largest finite double's integer part.
inline constexpr int32_t kMaxIntegerDigits = 309;

// 10^k for -323 <= k <= 308 from the exact tables; outside, the standard
// missing value.
double power_of_ten(int32_t k);

// x equals floor(x) (false for NaN).
bool is_integral(double x);

// The binary exponent e2 of x = f * 2^e2 with 0.5 <= |f| < 1, as frexp
// gives it (0 for zero).
int32_t binary_exponent(double x);

// The decimal digits of the integer part of |y| (no sign, no leading
// zeros).  Returns their count, 0 when the integer part is zero or y is not
// finite.  The digits are written to buf only when the count is at most
// cap; otherwise buf is untouched and the count still tells the length.
// The expansion is exact for every finite double.
int32_t write_integer_digits(char *buf, int32_t cap, double y);

// Writes exactly n digits of the fractional part of |y| into buf, truncated
// (no rounding), by exact binary-to-decimal expansion of the mantissa.
// Returns n minus the count of trailing '0' digits.
int32_t write_fraction_digits(char *buf, int32_t n, double y);

// What the scientific writer needs to know about a value.
struct SciRecord {
  double x;         // magnitude, >= 0
  int32_t e2;       // binary exponent of x
  int32_t negative; // 1 when the value was < 0
};

// Writes x in scientific notation right-aligned so that the text ends at
// out + avail + negative.  code < 0 selects the E layout with a mantissa of
// 1 - code digits ("1.23450E+03"); code >= 0 the compact best layout
// ("1.2E5", "12E-6").  Returns 0, 2 (fewer mantissa digits than asked), or
// VF_NO_FIT with nothing written.
int32_t write_scientific(const SciRecord &rec, int32_t avail, int32_t code,
                         char *out);

// The significance rule of the D format: the decimals code that shows v
// with s significant digits (s <= 0 means 3) in w columns.  A negative
// result asks for a layout chosen from the width.
int32_t significance_decimals(int32_t w, int32_t s, double v);

} // namespace valfmt
