// EBCDIC code page 1047 and ISO 8859-1: the translation pair every
// System/370 member uses, and in-place translation of a field through it.
// The tables are generated data (tools/gen_ebcdic.py); eb2as is the exact
// inverse of as2eb.
#pragma once

#include <array>
#include <cstdint>

namespace valfmt {

// ISO 8859-1 byte -> EBCDIC 1047 byte ('[' 0xAD, ']' 0xBD, '^' 0x5F,
// line feed 0x15, next line 0x25).
extern const std::array<uint8_t, 256> as2eb;
// EBCDIC 1047 byte -> ISO 8859-1 byte.
extern const std::array<uint8_t, 256> eb2as;

// Translates n bytes in place to EBCDIC.
inline void wztxatoe(uint8_t *p, int32_t n) {
  for (int32_t i = 0; i < n; ++i) p[i] = as2eb[p[i]];
}

// Translates n bytes in place from EBCDIC.
inline void wztxetoa(uint8_t *p, int32_t n) {
  for (int32_t i = 0; i < n; ++i) p[i] = eb2as[p[i]];
}

inline void wztxatoe(char *p, int32_t n) {
  wztxatoe(reinterpret_cast<uint8_t *>(p), n);
}
inline void wztxetoa(char *p, int32_t n) {
  wztxetoa(reinterpret_cast<uint8_t *>(p), n);
}

} // namespace valfmt
