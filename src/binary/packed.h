// Unsigned packed decimal, two digits a byte with no sign nibble: the
// digit tables and the reader and writer that the packed formats, the
// packed Julian dates and the time stamp informats share.
#pragma once

#include <cstdint>
#include <cstring>

#include "binary/scale.h"

namespace valfmt {

// kBcd[i]: the packed byte of the two digits of i (0..99).
inline constexpr auto kBcd = [] {
  struct Table {
    unsigned char b[100];
  } t{};
  for (int i = 0; i < 100; ++i)
    t.b[i] = static_cast<unsigned char>((i / 10) << 4 | (i % 10));
  return t;
}();

// kBcdValue[b]: the two-digit value of packed byte b, or 0xFF when either
// nibble is above 9 (the only entries with bit 7 set).
inline constexpr auto kBcdValue = [] {
  struct Table {
    unsigned char v[256];
  } t{};
  for (int b = 0; b < 256; ++b)
    t.v[b] = (b >> 4) > 9 || (b & 15) > 9
                 ? 0xFF
                 : static_cast<unsigned char>((b >> 4) * 10 + (b & 15));
  return t;
}();

// kBcd4[i]: the four packed nibbles of i (0..9999), 20 KB of constants
// that turn four digits into packed form with one load.
inline constexpr auto kBcd4 = [] {
  struct Table {
    uint16_t v[10000];
  } t{};
  for (int i = 0; i < 10000; ++i)
    t.v[i] = static_cast<uint16_t>((i / 1000) << 12 | (i / 100 % 10) << 8 |
                                   (i / 10 % 10) << 4 | (i % 10));
  return t;
}();

// The sixteen packed nibbles of u < 10^16, most significant digit on top:
// four groups of four digits from independent divisions, one load each.
inline uint64_t bcd16(uint64_t u) {
  const auto hi = static_cast<uint32_t>(u / 100000000);
  const auto lo = static_cast<uint32_t>(u % 100000000);
  return static_cast<uint64_t>(kBcd4.v[hi / 10000]) << 48 |
         static_cast<uint64_t>(kBcd4.v[hi % 10000]) << 32 |
         static_cast<uint64_t>(kBcd4.v[lo / 10000]) << 16 | kBcd4.v[lo % 10000];
}

// The n low-order bytes of word (n 1..8), most significant first.
inline void store_low_be(unsigned char *out, uint64_t word, int32_t n) {
  if (n == 8) {
    const uint64_t be = __builtin_bswap64(word);
    std::memcpy(out, &be, 8);
    return;
  }
  for (int32_t i = 0; i < n; ++i)
    out[i] = static_cast<unsigned char>(word >> (8 * (n - 1 - i)));
}

// Writes u right-aligned over n bytes as packed digits with leading zeros.
// u must have at most 2n digits.
inline void pack_digits(u128 u, unsigned char *out, int32_t n) {
  if (n <= 8) { // at most 16 digits
    if (n > 0) store_low_be(out, bcd16(static_cast<uint64_t>(u)), n);
    return;
  }
  int32_t i = n;
  while (u > UINT64_MAX && i > 0) { // more than 19 digits: rare
    const u128 q = u / 100;
    out[--i] = kBcd.b[static_cast<unsigned>(u - q * 100)];
    u = q;
  }
  auto s = static_cast<uint64_t>(u);
  while (i > 0) {
    out[--i] = kBcd.b[s % 100];
    s /= 100;
  }
}

// Reads n bytes of packed digits into value; false (value untouched) when
// a nibble is above 9.  n may be 0 (value 0); up to 19 bytes.
inline bool read_packed_digits(const unsigned char *p, int32_t n, u128 &value) {
  if (n <= 9) { // 18 digits fit 64 bits: one check after the loop
    uint64_t acc = 0;
    unsigned bad = 0;
    for (int32_t i = 0; i < n; ++i) {
      const unsigned t = kBcdValue.v[p[i]];
      bad |= t;
      acc = acc * 100 + t;
    }
    if (bad & 0x80) return false;
    value = acc;
    return true;
  }
  uint64_t acc = 0;
  const int32_t narrow = n < 9 ? n : 9; // 18 digits fit 64 bits
  int32_t i = 0;
  for (; i < narrow; ++i) {
    const unsigned t = kBcdValue.v[p[i]];
    if (t > 99) return false;
    acc = acc * 100 + t;
  }
  u128 wide = acc;
  for (; i < n; ++i) {
    const unsigned t = kBcdValue.v[p[i]];
    if (t > 99) return false;
    wide = wide * 100 + t;
  }
  value = wide;
  return true;
}

// The @PK reader on n bytes: VF_OK with the value (correctly rounded to a
// double), or VF_ERR_BAD_PACKED with *value untouched.
int32_t read_pk(const unsigned char *p, int32_t n, double *value);

// Writes u as unsigned packed digits over n bytes: VF_OK, or all 0x99 and
// VF_ERR_BINARY_FIT when u has more than 2n digits.
int32_t put_pk_digits(u128 u, unsigned char *out, int32_t n);

} // namespace valfmt
