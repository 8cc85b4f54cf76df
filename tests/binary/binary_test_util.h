// Helpers of the binary suites: hexadecimal views of byte strings, missing
// value patterns, a spread of test values, and the guarded runner's calls
// with the expectations every binary call shares.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace bintest {

// "4059000000000000" for the bytes 40 59 00 ..., or "40 59 00 ..." with a
// separator.
inline std::string hex(std::string_view bytes, char sep = 0) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (sep != 0 && !s.empty()) s += sep;
    s += kDigits[c >> 4];
    s += kDigits[c & 15];
  }
  return s;
}

// The bytes a hexadecimal text spells ("41 42" or "4142").
inline std::string bytes(std::string_view digits) {
  std::string s;
  int hi = -1;
  for (char c : digits) {
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
      s += static_cast<char>(hi << 4 | v);
      hi = -1;
    }
  }
  return s;
}

inline uint64_t bits(double x) {
  return std::bit_cast<uint64_t>(x);
}

inline double missing(uint8_t code) {
  return std::bit_cast<double>(0xFFFF000000000000ull |
                               static_cast<uint64_t>(code) << 40);
}

inline constexpr uint64_t kStandardMissing = 0xFFFFFE0000000000ull;

// The eight bytes of a double in memory (little-endian).
inline std::string memory_of(double v) {
  return std::string(reinterpret_cast<const char *>(&v), 8);
}

inline std::string reversed(std::string s) {
  return std::string(s.rbegin(), s.rend());
}

// Finite doubles of many magnitudes: random bit patterns, random decimal
// amounts, powers of two and ten, and their neighbours; both signs.
inline std::vector<double> spread(std::size_t count, uint64_t seed = 7) {
  std::vector<double> v;
  std::mt19937_64 rng(seed);
  while (v.size() < count) {
    const uint64_t b = rng();
    const double x = std::bit_cast<double>(b);
    if (std::isfinite(x) && x != 0.0) v.push_back(x);
    const double money =
        static_cast<double>(static_cast<int64_t>(rng() % 2000000001) -
                            1000000000) /
        100.0;
    v.push_back(money);
    const int e = static_cast<int>(rng() % 600) - 300;
    v.push_back(std::ldexp(1.0, e));
    v.push_back(std::nextafter(std::pow(10.0, e % 300), 0.0));
  }
  return v;
}

struct Put {
  int32_t status;
  std::string hex; // the outlen bytes written, as "0A FF"
  int32_t outlen;
};

// A format on v; outsize is w unless given.
inline Put put(fmtfn fn, double v, int32_t w, int32_t d = 0,
               int32_t outsize = -1) {
  const vftest::Run r = vftest::put(fn, v, w, d, outsize);
  return {r.status, hex(r.text, ' '), r.outlen};
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

} // namespace bintest
