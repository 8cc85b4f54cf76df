// The integer a binary field holds for a double: the unsigned (PIB) and
// two's complement (IB) conversions with their rounding and saturation,
// as the digit-string formats need them (HEX, BINARY, OCTAL, S370FHEX).
// Rounding is exact half-up on the magnitude at every size, so integers
// beyond 2^52 keep their value.
#pragma once

#include <cstdint>

namespace valfmt {

// The n low-order bytes of `bits` hold the field (n 1..8); status 0, or
// VF_ERR_BINARY_FIT / VF_WARN_RANGE when the field was saturated.
struct IntField {
  uint64_t bits;
  int32_t status;
};

// Unsigned: round half up; a negative value, a NaN or a result of 2^(8n)
// or more gives all ones and VF_ERR_BINARY_FIT.
IntField pib_value(double v, int32_t n);

// Two's complement: magnitudes rounded half away from zero; beyond the
// field the largest positive or the most negative value and
// VF_ERR_BINARY_FIT.  A NaN gives 0 and VF_ERR_BINARY_FIT.
IntField ib_value(double v, int32_t n);

// The same after scaling by 10^d: a scaling overflow gives the saturated
// field (all ones for PIB; largest positive or most negative for IB) and
// VF_WARN_RANGE.
IntField pib_scaled(double v, int32_t n, int32_t d);
IntField ib_scaled(double v, int32_t n, int32_t d);

// The n low-order bytes of `bits` in big-endian order at out.
inline void put_big_endian(uint8_t *out, uint64_t bits, int32_t n) {
  for (int32_t i = n - 1; i >= 0; --i) {
    out[i] = static_cast<uint8_t>(bits);
    bits >>= 8;
  }
}

} // namespace valfmt
