// IBM System/370 hexadecimal floating point (HFP), the real format of the
// S370F and transport members: bit 63 the sign, bits 62..56 a base-16
// exponent in excess 64, bits 55..0 a fraction F below 1, value
// F * 16^(E - 64).  Stored big-endian; a short field is the high-order end
// with the low-order bytes zero.
#pragma once

#include <cstdint>
#include <cstring>

namespace valfmt {

// The largest HFP magnitude: 7F FF FF FF FF FF FF FF (about 7.237e75).
inline constexpr uint64_t kHfpLargest = 0x7FFFFFFFFFFFFFFFull;

struct HfpValue {
  uint64_t bits;
  bool overflow; // the magnitude was saturated
};

// ieee2xpt: the HFP form of a finite or infinite double.  Every double
// from 2^-260 up to (not including) 2^252 converts exactly (53 bits fit the
// 56-bit fraction at any hexadecimal alignment).  Zeros of either sign and
// smaller magnitudes give true zero (all bits 0); larger magnitudes and
// infinities give the largest magnitude with the value's sign.  The caller
// deals with NaNs.
HfpValue ieee2xpt(double v);

// The double an HFP pattern denotes (no missing-value codes): a zero
// fraction gives 0.0 with exponent 0, else the smallest normal double with
// the pattern's sign; an unnormalised fraction is normalised; fraction
// bits beyond the double's 53 are truncated.
double hfp_to_double(uint64_t bits);

// wzrtdbl: n bytes (1..8, the rest taken as zero) read as HFP, with the
// transport missing values: bytes 1..7 zero and byte 0 one of '.', '_',
// 'A'..'Z' (ASCII) give the missing value with that code.
double wzrtdbl(const uint8_t *p, int32_t n);

// The big-endian HFP field of v * 10^d (v neither missing nor NaN):
// VF_WARN_RANGE when the scaling overflowed, VF_ERR_BINARY_FIT when the
// magnitude lies beyond the format (the field then holds the largest
// magnitude with v's sign), else 0.
int32_t hfp_field(double v, int32_t d, uint8_t be[8]);

// What a double becomes through the HFP form and back: itself from 2^-260
// up to below 2^252 (the conversion is exact there), otherwise what
// ieee2xpt and hfp_to_double make of it.
double hfp_round_trip(double v);

// The n high-order bytes (n 0..8) at p, big-endian, as a 64-bit word whose
// low-order bytes are zero.
inline uint64_t load_high_order(const uint8_t *p, int32_t n) {
  if (n == 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    return __builtin_bswap64(word);
  }
  uint64_t bits = 0;
  for (int32_t i = 0; i < 8; ++i) bits = bits << 8 | (i < n ? p[i] : 0u);
  return bits;
}

} // namespace valfmt
