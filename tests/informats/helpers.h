// Call helpers for the informat suites: the input lives in a buffer of
// exactly its own size, and the output is followed by guard bytes that the
// informat must leave alone.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "registry/functions.h"
#include "core/missing.h"
#include "valfmt.h"

namespace informat_test {

// A pattern no informat stores, to see whether `out` was left unchanged.
inline constexpr uint64_t kUntouched = 0x1122334455667788ull;
inline constexpr unsigned char kGuard = 0xA5;

struct Num {
  int32_t status;
  uint64_t bits;
  int32_t outlen;
  double value() const { return std::bit_cast<double>(bits); }
};

// Calls a numeric informat on `text` with width w (default: the text's
// length) and decimals d.
inline Num read(fmtfn fn, std::string_view text, int32_t w = -1,
                int32_t d = 0) {
  std::vector<char> in(text.begin(), text.end());
  unsigned char out[8 + 16];
  std::memset(out, kGuard, sizeof out);
  std::memcpy(out, &kUntouched, 8);
  fmtcall c{};
  c.w = w == -1 ? static_cast<int32_t>(text.size()) : w;
  c.d = d;
  c.value = in.data();
  c.valuelen = static_cast<int32_t>(in.size());
  c.out = out;
  c.outsize = 8;
  c.outlen = -7;
  Num r{fn(&c), 0, c.outlen};
  std::memcpy(&r.bits, out, 8);
  for (std::size_t i = 8; i < sizeof out; ++i) EXPECT_EQ(out[i], kGuard);
  return r;
}

inline uint64_t bits_of(double x) {
  return std::bit_cast<uint64_t>(x);
}
inline uint64_t missing_bits(char code) {
  if (code == '_') return 0xFFFFFF0000000000ull;
  if (code == '.') return valfmt::kStandardMissingBits;
  return 0xFFFF000000000000ull |
         (static_cast<uint64_t>(0xFD - (code - 'A')) << 40);
}

struct Chr {
  int32_t status;
  std::string text;   // the outlen bytes produced
  std::string buffer; // all outsize bytes of the buffer
  int32_t outlen;
};

// Calls a character informat; the output buffer starts filled with '#'.
inline Chr chars(fmtfn fn, std::string_view text, int32_t w, int32_t outsize,
                 int32_t d = 0) {
  std::vector<char> in(text.begin(), text.end());
  std::vector<unsigned char> out(static_cast<std::size_t>(outsize) + 32,
                                 kGuard);
  std::memset(out.data(), '#', static_cast<std::size_t>(outsize));
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = in.empty() ? nullptr : in.data();
  c.valuelen = static_cast<int32_t>(in.size());
  c.out = out.data();
  c.outsize = outsize;
  c.outlen = -7;
  const int32_t st = fn(&c);
  for (std::size_t i = static_cast<std::size_t>(outsize); i < out.size(); ++i)
    EXPECT_EQ(out[i], kGuard) << "wrote past outsize at " << i;
  Chr r{st, {}, {}, c.outlen};
  const auto *p = reinterpret_cast<const char *>(out.data());
  if (c.outlen >= 0 && c.outlen <= outsize)
    r.text.assign(p, static_cast<std::size_t>(c.outlen));
  r.buffer.assign(p, static_cast<std::size_t>(outsize));
  return r;
}

} // namespace informat_test
