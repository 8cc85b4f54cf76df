// Special missing values: NaN bit patterns 0xFFFF cc 00 00 00 00 00 whose
// code byte cc names one of the characters '_', '.', 'A'..'Z'.  The one
// place that maps between codes, notation characters and doubles; every
// family, the catalogue reader and the tool use it.
#pragma once

#include <bit>
#include <cstdint>

#include "valfmt.h"

namespace valfmt {

inline uint64_t double_bits(double x) {
  return std::bit_cast<uint64_t>(x);
}

// True for 0xFFFF xx 0000000000 whatever the code byte xx.
inline bool is_missing(double x) {
  return (double_bits(x) & 0xFFFF00FFFFFFFFFFull) == 0xFFFF000000000000ull;
}

// The missing value with code byte `code` (0xFE is the standard '.').
inline double missing_value(uint8_t code) {
  return std::bit_cast<double>(0xFFFF000000000000ull |
                               (static_cast<uint64_t>(code) << 40));
}

inline constexpr uint8_t kStandardMissingCode = 0xFE;
inline constexpr uint64_t kStandardMissingBits = 0xFFFFFE0000000000ull;
inline double standard_missing() {
  return missing_value(kStandardMissingCode);
}

// The missing-value code byte for a notation character ('_', '.', or a
// letter of either case), or -1 when the character names no missing value.
constexpr int missing_code(unsigned char c) {
  if (c == '_') return 0xFF;
  if (c == '.') return 0xFE;
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 32);
  if (c >= 'A' && c <= 'Z') return 0xFD - (c - 'A');
  return -1;
}

// The character a missing value displays: '_', '.', 'A'..'Z', or a blank.
char missing_char(double x);

// The missing display of the call's value in a field of w columns with d
// decimals (zfmmiss on a private copy of the block, so that the caller's w
// and d stay as they were).  Sets the caller's outlen only.
void write_missing_field(fmtcall *call, int32_t w, int32_t d);

} // namespace valfmt
