// Special missing values: helpers shared by every numeric family.
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

inline constexpr uint64_t kStandardMissingBits = 0xFFFFFE0000000000ull;
inline double standard_missing() {
  return missing_value(0xFE);
}

// The character a missing value displays: '_', '.', 'A'..'Z', or a blank.
char missing_char(double x);

} // namespace valfmt
