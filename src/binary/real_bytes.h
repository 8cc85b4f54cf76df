// Byte moves of the real-binary members: a short real as the high-order
// end of an 8-byte double (both directions), the big-endian single widened
// to a double.  (The transport integer wzrtint lives with the integers.)
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace valfmt {

// wzcftrc: the n high-order bytes of v in memory order (the last n of its
// 8 little-endian bytes), n 0..8.
inline void wzcftrc(uint8_t *out, int32_t n, double v) {
  uint8_t b[8];
  std::memcpy(b, &v, 8);
  if (n > 0) std::memcpy(out, b + 8 - n, static_cast<std::size_t>(n));
}

// wzrftrc: n bytes (0..size) placed at the high-order end of a
// little-endian field of `size` bytes whose other bytes are zero.
inline void wzrftrc(uint8_t *field, int32_t size, const uint8_t *p, int32_t n) {
  std::memset(field, 0, static_cast<std::size_t>(size));
  if (n > 0) std::memcpy(field + size - n, p, static_cast<std::size_t>(n));
}

// ftod: a big-endian IEEE single widened to a double.
inline double ftod(const uint8_t be[4]) {
  const uint32_t word = static_cast<uint32_t>(be[0]) << 24 |
                        static_cast<uint32_t>(be[1]) << 16 |
                        static_cast<uint32_t>(be[2]) << 8 | be[3];
  return static_cast<double>(std::bit_cast<float>(word));
}

} // namespace valfmt
