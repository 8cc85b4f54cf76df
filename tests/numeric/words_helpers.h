// Shared pieces of the spelled-out, Roman, fraction, size and odds suites:
// a fast direct call for sweeps, and field builders for expected texts.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "valfmt.h"

namespace vfwords {

struct Shown {
  std::string text;  // the outlen bytes
  std::string field; // the first w bytes of the buffer
  int32_t status = 0;
};

// Calls fn directly on v with w.d into a buffer of outsize bytes (w when
// negative) followed by guard bytes, and checks that the guards and every
// field of the caller's block except outlen and outenc are unchanged.
inline Shown call(fmtfn fn, double v, int32_t w, int32_t d = 0,
                  int32_t outsize = -1) {
  const int32_t size = outsize < 0 ? (w > 0 ? w : 0) : outsize;
  std::vector<char> buf(static_cast<std::size_t>(size) + 16, '#');
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = &v;
  c.valuelen = 8;
  c.out = buf.data();
  c.outsize = size;
  c.hostword = 0x1234;
  c.options = 0x10;
  c.localeid = 7;
  const fmtcall before = c;
  Shown s;
  s.status = fn(&c);
  for (std::size_t i = static_cast<std::size_t>(size); i < buf.size(); ++i)
    EXPECT_EQ(buf[i], '#') << "byte " << i << " past outsize " << size;
  EXPECT_TRUE(c.w == before.w && c.d == before.d && c.value == before.value &&
              c.out == before.out && c.outsize == before.outsize &&
              c.options == before.options && c.hostword == before.hostword &&
              c.localeid == before.localeid && c.valuelen == before.valuelen)
      << "the caller's block changed";
  EXPECT_EQ(c.outenc, VF_ENC_NARROW);
  EXPECT_GE(c.outlen, 0);
  EXPECT_LE(c.outlen, size);
  if (c.outlen >= 0 && c.outlen <= size)
    s.text.assign(buf.data(), static_cast<std::size_t>(c.outlen));
  const int32_t shown = w < size ? w : size;
  if (shown > 0) s.field.assign(buf.data(), static_cast<std::size_t>(shown));
  return s;
}

// text left-aligned in w columns.
inline std::string left(const std::string &text, int32_t w) {
  std::string s = text;
  s.resize(static_cast<std::size_t>(w), ' ');
  return s;
}

// text right-aligned in w columns.
inline std::string right(const std::string &text, int32_t w) {
  return std::string(static_cast<std::size_t>(w) - text.size(), ' ') + text;
}

inline std::string stars(int32_t n) {
  return std::string(static_cast<std::size_t>(n), '*');
}

// The missing value with code byte `code`.
inline double missing(uint8_t code) {
  return std::bit_cast<double>(0xFFFF000000000000ull |
                               (static_cast<uint64_t>(code) << 40));
}

// The code byte of a missing letter or '_' / '.'.
inline uint8_t code_of(char c) {
  if (c == '_') return 0xFF;
  if (c == '.') return 0xFE;
  return static_cast<uint8_t>(0xFD - (c - 'A'));
}

} // namespace vfwords
