// Helpers of the binary suites: bytes written as hexadecimal text, and the
// guarded runner's calls with the expectations every binary call shares.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace bintest {

// "0A FF" style text of bytes, for readable failure messages.
inline std::string hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!s.empty()) s += ' ';
    s += kDigits[b >> 4];
    s += kDigits[b & 15];
  }
  return s;
}

// Bytes from hexadecimal text; blanks are skipped.
inline std::string bytes(std::string_view hex_text) {
  std::string out;
  int hi = -1;
  for (char c : hex_text) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else
      continue;
    if (hi < 0) {
      hi = v;
    } else {
      out += static_cast<char>(hi << 4 | v);
      hi = -1;
    }
  }
  return out;
}

struct Put {
  int32_t status;
  std::string hex; // the outlen bytes written
  int32_t outlen;
};

// A format on v; outsize is w unless given.
inline Put put(fmtfn fn, double v, int32_t w, int32_t d = 0,
               int32_t outsize = -1) {
  const vftest::Run r = vftest::put(fn, v, w, d, outsize);
  return {r.status, hex(r.text), r.outlen};
}

struct Read {
  int32_t status;
  double value;
  uint64_t bits;
};

// An informat on the given bytes (hexadecimal text); w defaults to their
// count.
inline Read read(fmtfn fn, std::string_view hex_text, int32_t w = -1,
                 int32_t d = 0) {
  const std::string b = bytes(hex_text);
  const vftest::Run r = vftest::input(fn, b, w, d);
  EXPECT_EQ(r.outlen, 8);
  return {r.status, r.number(), r.bits()};
}

inline constexpr uint64_t kStdMissing = 0xFFFFFE0000000000ull;

inline double missing(unsigned char code) {
  return std::bit_cast<double>(0xFFFF000000000000ull |
                               static_cast<uint64_t>(code) << 40);
}

} // namespace bintest
