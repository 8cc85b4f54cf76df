// The fixed renderer as the other families see it: one entry that lays a
// double out in a right-aligned decimal field, with the width and the
// decimals code given as arguments, so that a caller never has to change
// the call block it was handed.
//
// Decimals codes:
//   0..32     that many decimals (F)
//   99        best: decimals chosen from the width, trailing zeros dropped,
//             scientific notation when the fixed layout cannot hold x
//   98        the D significance rule with 3 significant digits
//   80..89    the D rule with code - 80 significant digits (0 means 3)
//   -999      the E format
//   other < 0 scientific notation with a mantissa of 1 - code digits
//   other >32 the best path, without the integer shortcut and with status 2
//             for a scientific fallback
#pragma once

#include <cstdint>

#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// The widest field the renderer lays out; wider requests are refused.
inline constexpr int32_t kMaxFixedWidth = row_limits("F").maxw;

inline constexpr int32_t kCodeBest = 99;
inline constexpr int32_t kCodeDRule = 98;
inline constexpr int32_t kCodeDRuleBase = 80;
inline constexpr int32_t kCodeE = -999;

// Renders the call's value in w columns with decimals code `code`.  Reads
// value, out and outsize from the call block and writes w bytes and outlen
// (and nothing else) into it.  Returns 0, VF_WARN (fewer decimals than
// asked, or scientific notation instead of a fixed layout), VF_NO_FIT (E
// layout that cannot fit, field blank), VF_ERR_WIDTH (w outside 1..32 or
// no form fits: asterisks), VF_ERR_OUTSIZE (outsize below w: asterisks in
// the buffer), VF_ERR_NOTHING_TO_READ (a NaN that is not a missing value)
// or VF_ERR_BAD_CALL (no value).
int32_t render_fixed(fmtcall *call, int32_t w, int32_t code);

// render_fixed with every value taken through the digit generators, never
// the fast path: the reference the fast path must agree with byte for byte
// and status for status.
int32_t render_fixed_by_generators(fmtcall *call, int32_t w, int32_t code);

} // namespace valfmt
