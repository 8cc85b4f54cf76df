// Integer fields in either byte order: the n low-order bytes of a 64-bit
// pattern written or read least significant first (native order) or most
// significant first (System/370 and transport order), and the sign
// extension of an n-byte two's-complement pattern.  n is 0..8.
#pragma once

#include <cstdint>
#include <cstring>

namespace valfmt {

// All ones in the low n bytes.
constexpr uint64_t low_mask(int32_t n) {
  return n >= 8 ? ~0ull : (1ull << (8 * n)) - 1;
}

inline void put_le(unsigned char *out, uint64_t bits, int32_t n) {
  if (n == 8) {
    std::memcpy(out, &bits, 8);
    return;
  }
  for (int32_t i = 0; i < n; ++i)
    out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

inline void put_be(unsigned char *out, uint64_t bits, int32_t n) {
  if (n == 8) {
    bits = __builtin_bswap64(bits);
    std::memcpy(out, &bits, 8);
    return;
  }
  for (int32_t i = 0; i < n; ++i)
    out[i] = static_cast<unsigned char>(bits >> (8 * (n - 1 - i)));
}

inline uint64_t load_le(const unsigned char *p, int32_t n) {
  uint64_t u = 0;
  if (n == 8) {
    std::memcpy(&u, p, 8);
    return u;
  }
  for (int32_t i = n - 1; i >= 0; --i) u = (u << 8) | p[i];
  return u;
}

inline uint64_t load_be(const unsigned char *p, int32_t n) {
  uint64_t u = 0;
  for (int32_t i = 0; i < n; ++i) u = (u << 8) | p[i];
  return u;
}

// The n-byte two's-complement pattern u as a signed integer (0 for n 0).
inline int64_t sign_extend(uint64_t u, int32_t n) {
  if (n <= 0) return 0;
  const int32_t shift = 64 - 8 * n;
  return static_cast<int64_t>(u << shift) >> shift;
}

} // namespace valfmt
