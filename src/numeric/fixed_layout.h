// What the fixed renderer's layout steps share with its fast path
// (fixed_fast.cpp): the constants of the layout, the rounding step, the
// working state of one layout and the trailing-zero step of best codes.
// Internal to the numeric family.
#pragma once

#include <cstdint>
#include <iterator>

#include "numeric/fixed.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Codes 0..kMaxDecimalsCode are decimal counts; Z32.32 asks for the most.
inline constexpr int32_t kMaxDecimalsCode = row_limits("Z").maxd;

// Half a unit of the i-th decimal place, the rounding increment of the
// fixed layout, for every decimal count a code can ask for.
inline constexpr double kHalfUnit[] = {
    5e-1,  5e-2,  5e-3,  5e-4,  5e-5,  5e-6,  5e-7,  5e-8,  5e-9,
    5e-10, 5e-11, 5e-12, 5e-13, 5e-14, 5e-15, 5e-16, 5e-17, 5e-18,
    5e-19, 5e-20, 5e-21, 5e-22, 5e-23, 5e-24, 5e-25, 5e-26, 5e-27,
    5e-28, 5e-29, 5e-30, 5e-31, 5e-32, 5e-33};
static_assert(std::size(kHalfUnit) == kMaxDecimalsCode + 1);

inline constexpr double kTwo53 = 9007199254740992.0;
// Integers up to 2^53 in fields up to this wide skip the digit generators.
inline constexpr int32_t kShortcutWidth = 16;
// One unit in the last place above 1: lifts values that sit a rounding
// error below a decimal boundary.
inline constexpr double kFixedFuzz = 1.0000000000000002;
// Smallest magnitude the best layout still shows in fixed point when the
// field could hold an exponent.
inline constexpr double kBestFixedMin = 1e-5;
// At most this many significant digits are taken from a non-integer.
inline constexpr int32_t kMaxSignificant = 15;

// x rounded at ndec decimals with the fuzz factor; once ndec decimals would
// reach past the 15th significant digit (digits counts the integer digits),
// only the fuzz is applied.
inline double round_fixed(double x, int32_t ndec, int32_t digits) {
  if (ndec <= kMaxSignificant - digits)
    return (kHalfUnit[ndec] + x) * kFixedFuzz;
  return x * kFixedFuzz;
}

// The working state of one fixed layout.  Each step sets the fields it
// hands on; the digit buffer is left uninitialised.
struct FixedLayout {
  double x;               // magnitude of the value
  double y;               // x rounded for ndec decimals
  int32_t code;           // decimals code after translation
  int32_t avail;          // columns for digits and point (w less a sign)
  int32_t ndig;           // integer digits of x, or one less
  int32_t ndec;           // decimals shown
  int32_t intw;           // columns left of the point
  int32_t n;              // integer digits generated
  int32_t status = VF_OK; // or VF_WARN
  bool negative;          // a '-' is shown
  bool integral;          // x has no fraction
  bool best;              // decimals from the width, zeros dropped
  bool reduced = false;   // one decimal was given up to make room
  char digits[48];        // the integer digits
  int32_t int_room(int32_t nd) const { return avail - nd - (nd > 0 ? 1 : 0); }
};

// Moves a best layout's field right over the trailing zeros of its
// decimals (sig decimals up to the last nonzero one).
void drop_trailing_zeros(const FixedLayout &f, int32_t sig, char *out,
                         int32_t w);

// The fixed layout of the finite, non-missing v in w columns (1..32) for
// decimals codes 0..32 and the best code, computed with one exact 64- or
// 128-bit integer product in place of the digit generators, for the values
// whose layout needs no fallback (no scientific notation, no decimals
// given up, digits within 64 bits).  True with out and *status set as the
// renderer's own steps set them; false, with nothing decided, for every
// other value and code.
bool render_fixed_fast(char *out, int32_t w, int32_t code, double v,
                       int32_t *status);

} // namespace valfmt
