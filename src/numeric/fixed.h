// The fixed renderer and the numeric routines every numeric family shares.
#pragma once

#include <cstdint>

#include "core/digits.h"
#include "valfmt.h"

namespace valfmt {

// The doubles nearest to 10^0 .. 10^308, indexed by the exponent.
extern const double kPow10Pos[309];

// 10^k for -323 <= k <= 308 from exact tables; outside, the standard
// missing value.
double zpow10(int32_t k);

// x equals floor(x).
bool zisint(double x);

// The widest field the renderer lays out; wider requests are refused.
inline constexpr int32_t kMaxFixedWidth = 32;

// Digits of the largest finite double's integer part.
inline constexpr int32_t kMaxIntegerDigits = 309;

// x = f * 2^e2 with 0.5 <= |f| < 1 (e2 = 0 for zero), as frexp gives it.
double zexpb2(double x, int32_t *e2);

// The decimal digits of the integer part of |y| (no sign, no leading
// zeros).  Returns their count, 0 when the integer part is zero or y is not
// finite.  The digits are written to buf only when the count is at most
// cap; otherwise buf is untouched and the count still tells the length.
// The expansion is exact for every finite double.
int32_t vzfmif(char *buf, int32_t cap, double y);

// Writes exactly n digits of the fractional part of |y| into buf, truncated
// (no rounding), by exact binary-to-decimal expansion of the mantissa.
// *sig receives n minus the count of trailing '0' digits.  Returns 0.
int32_t wzfmff(int32_t n, int32_t *sig, char *buf, double y);

// What the scientific writer needs to know about a value.
struct SciRecord {
  double x;         // magnitude, >= 0
  int32_t e2;       // binary exponent of x as zexpb2 gives it
  int32_t negative; // 1 when the value was < 0
};

// Writes x in scientific notation right-aligned so that the text ends at
// out + avail + negative.  d < 0 selects the E layout with a mantissa of
// 1 - d digits ("1.23450E+03"); d >= 0 the compact best layout ("1.2E5",
// "12E-6").  Returns 0, 2 (fewer mantissa digits than asked), or
// VF_NO_FIT with nothing written.
int32_t fmte(const SciRecord &rec, int32_t avail, int32_t d, char *out);

// The significance rule of the D format: the decimals code that shows v
// with s significant digits (s <= 0 means 3) in w columns.  A negative
// result asks for a layout chosen from the width.
int32_t zfmtd(int32_t w, int32_t s, double v);

} // namespace valfmt
