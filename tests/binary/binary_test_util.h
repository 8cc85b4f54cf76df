// Helpers of the binary suites: hexadecimal views of byte strings, the
// double a reader stored, and a spread of test values.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/call_runner.h"

namespace bytetest {

// "4059000000000000" for the bytes 40 59 00 ...
inline std::string hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
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

} // namespace bytetest
