// The entry rule of the whole binary family: which widths and decimals a
// member accepts before it touches the value.  Every integer, packed,
// zoned, floating and digit-string member goes through these helpers (the
// integer half through begin_binary_format / begin_binary_informat in
// scale.h, the floating and digit-string half through begin_format /
// begin_reader in binary_call.h), so that all of them answer a call the
// same way.
//
// Decimals (d):
//   - 98 and 99 are codes of the call block and count as 0.
//   - Any other d must lie in 0..31, the decimal scale every member
//     multiplies or divides by.  Outside it the call is refused.
//   - The column-binary and bit-field readers, whose d is no decimal scale
//     (@BITS a bit offset, @ROW a row count, @PUNCH a row), take 0 up to
//     their own row's max d instead, with the same two codes.
//   - The character transforms, which never read d, ignore it.
// Widths (w):
//   - A format accepts its row's minw..maxw.
//   - An informat accepts 0..maxw: a width below minw reads the
//     min(w, valuelen) bytes that are there, the same way as an input
//     shorter than w (an empty packed or zoned field is missing, a short
//     real field is the high-order end of the number).
// Refusal:
//   - A format writes nothing, sets outlen 0 and returns VF_ERR_WIDTH.
//   - A numeric informat stores the standard missing value and returns
//     VF_ERR_WD_LIMITS.
#pragma once

#include <cstdint>

namespace valfmt {

// Decimals a binary member scales by: 0..31.
inline constexpr int32_t kMaxScaleDecimals = 31;

// The d a member works with: d itself within 0..limit, 0 for the codes 98
// and 99, -1 for anything else (the call is refused).
constexpr int32_t binary_decimals(int32_t d,
                                  int32_t limit = kMaxScaleDecimals) {
  if (d == 98 || d == 99) return 0;
  return d >= 0 && d <= limit ? d : -1;
}

// Width checks of a format and of an informat.
constexpr bool format_width_ok(int32_t w, int32_t minw, int32_t maxw) {
  return w >= minw && w <= maxw;
}
constexpr bool informat_width_ok(int32_t w, int32_t maxw) {
  return w >= 0 && w <= maxw;
}

} // namespace valfmt
