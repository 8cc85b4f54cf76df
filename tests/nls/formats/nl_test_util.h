// Shared helpers of the locale-format suites: a guarded call with a locale
// ID, UCS-2 results read back as UTF-8, and the locale IDs the suites use.
#pragma once

#include <string>

#include "support/call_runner.h"
#include "valfmt.h"

namespace nltest {

inline constexpr int32_t kEnUS = 52, kDeDE = 63, kFrFR = 59, kJaJP = 76,
                         kArSA = 15, kZhCN = 26, kHiIN = 70, kPtBR = 91;
inline constexpr int32_t kLocales[] = {kEnUS, kDeDE, kFrFR, kJaJP,
                                       kArSA, kZhCN, kHiIN, kPtBR};

struct Result {
  int32_t status = 0;
  std::string text; // UTF-8 of the UCS-2 result, or the narrow bytes
  int32_t units = 0;
  int32_t outlen = 0;
  uint32_t outenc = 0;
};

inline std::string utf8_of_units(const std::string &bytes) {
  std::string s;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned u = static_cast<unsigned char>(bytes[i]) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (u < 0x80) {
      s += static_cast<char>(u);
    } else if (u < 0x800) {
      s += static_cast<char>(0xC0 | (u >> 6));
      s += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      s += static_cast<char>(0xE0 | (u >> 12));
      s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return s;
}

// Runs fn on value v with w.d, locale `loc`, outsize (2*w + 8 unless
// given) and options; the guard bytes after outsize are checked.
inline Result run(fmtfn fn, double v, int32_t w, int32_t d, int32_t loc,
                  int32_t outsize = -1, uint32_t options = 0,
                  uint32_t reqenc = VF_ENC_UCS2) {
  const vftest::FencedBytes in(vftest::bytes_of(v));
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = in.data();
  c.valuelen = 8;
  c.localeid = loc;
  c.options = options;
  c.reqenc = reqenc;
  const int32_t size = outsize < 0 ? 2 * (w > 0 ? w : 0) + 8 : outsize;
  const vftest::Run r = vftest::run_block(fn, nullptr, c, size);
  Result out;
  out.status = r.status;
  out.outlen = r.outlen;
  out.outenc = r.outenc;
  EXPECT_LE(r.outlen, size);
  if (r.outenc == VF_ENC_UCS2) {
    out.text = utf8_of_units(r.text);
    out.units = r.outlen / 2;
  } else {
    out.text = r.text;
    out.units = r.outlen;
  }
  return out;
}

// Text without leading and trailing blanks.
inline std::string trimmed(const std::string &s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Display characters of UTF-8 text.
inline int32_t chars(const std::string &s) {
  int32_t n = 0;
  for (const char c : s)
    n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

inline double missing() {
  const uint64_t bits = 0xFFFFFE0000000000ull;
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

} // namespace nltest
