// Decimal scaling and the entry checks shared by the integer, packed and
// zoned representations: the power table, the overflow-checked scaler
// vvzscal, exact half-up rounding of magnitudes, and the first step of
// every binary format and informat.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "binary/decimal_scale.h"
#include "binary/entry_rule.h"
#include "core/pow10.h"
#include "valfmt.h"

namespace valfmt {

using u128 = unsigned __int128;

// 10^0 .. 10^38 as exact 128-bit integers.
inline constexpr auto kPow10U128 = [] {
  struct Table {
    u128 p[39];
  } t{};
  u128 x = 1;
  for (int i = 0; i < 39; ++i, x *= 10) t.p[i] = x;
  return t;
}();

// Rounds a finite x in [0, 2^64) half up to an integer, exactly: the
// fraction is taken from the truncated value, so no addition of 0.5 can
// round a neighbouring integer up or down.
inline uint64_t round_half_up(double x) {
  if (x < 0x1p63) { // the common case: one signed conversion each way
    auto t = static_cast<int64_t>(x);
    if (x - static_cast<double>(t) >= 0.5) ++t;
    return static_cast<uint64_t>(t);
  }
  return static_cast<uint64_t>(x); // an integer already
}

// |v| * 10^d rounded half up, for the decimal representations.
struct Magnitude {
  u128 value = 0;
  bool scale_overflow = false; // 10^d cannot scale |v|
  bool huge = false;           // 2^127 or more: more digits than any field
};
inline Magnitude decimal_magnitude(double v, int32_t d) {
  Magnitude m;
  double x = v < 0 ? -v : v;
  if (d != 0) {
    x = vvzscal(d, x);
    if (is_missing(x)) {
      m.scale_overflow = true;
      return m;
    }
  }
  if (!(x < 0x1p64)) {
    // Every double from 2^64 up is an integer: no rounding is left to do.
    if (!(x < 0x1p127)) {
      m.huge = true;
      return m;
    }
    m.value = static_cast<u128>(x);
    return m;
  }
  m.value = round_half_up(x);
  return m;
}

// True when u has more than `digits` decimal digits (digits <= 38).
inline bool exceeds_digits(u128 u, int32_t digits) {
  return u >= kPow10U128.p[digits];
}

// A double's 8 bytes, at any alignment.
inline double load_double(const void *p) {
  double v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// x / 10^d; zero stays +0.0.
inline double scale_down(double x, int32_t d) {
  return d == 0 ? x : x / kPow10Scale[d];
}

// A NaN that is not one of the missing-value patterns.
inline bool is_plain_nan(double v) {
  return v != v && !is_missing(v);
}

// What a binary format works on after its entry checks.
struct BinaryField {
  double v = 0;                 // the value
  unsigned char *out = nullptr; // the caller's buffer
  int32_t w = 0;                // requested width
  int32_t d = 0;                // decimals to scale by, 0..31
  int32_t n = 0;                // bytes that fit: min(w, outsize)
  // VF_ERR_OVERFLOW when the buffer holds fewer than w bytes, else st.
  int32_t status(int32_t st) const { return n < w ? VF_ERR_OVERFLOW : st; }
};

// First step of every binary format.  Refuses a null block, value or
// buffer (VF_ERR_BAD_CALL), and a w or d that the family's entry rule
// (binary/entry_rule.h) refuses (VF_ERR_WIDTH), writing nothing, with
// outlen 0.
// Otherwise fills f and returns VF_OK.
inline int32_t begin_binary_format(fmtcall *c, int32_t minw, int32_t maxw,
                                   BinaryField &f) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  c->outenc = VF_ENC_NARROW;
  c->outlen = 0;
  if (c->value == nullptr || c->out == nullptr) return VF_ERR_BAD_CALL;
  const int32_t d = binary_decimals(c->d);
  if (!format_width_ok(c->w, minw, maxw) || d < 0) return VF_ERR_WIDTH;
  const int32_t cap = c->outsize > 0 ? c->outsize : 0;
  f.v = load_double(c->value);
  f.out = static_cast<unsigned char *>(c->out);
  f.w = c->w;
  f.d = d;
  f.n = c->w < cap ? c->w : cap;
  return VF_OK;
}

// What a binary informat reads after its entry checks.
struct BinaryInput {
  const unsigned char *p = nullptr; // the input bytes
  int32_t n = 0;                    // bytes to read: min(w, valuelen)
  int32_t d = 0;                    // decimals to divide by, 0..31
};

// First step of every binary informat: the numeric result checks of the
// informats (a buffer too small for the double gives VF_ERR_OUTSIZE and
// nothing stored); a w or d that the family's entry rule refuses gives
// VF_ERR_WD_LIMITS with the standard missing value stored.  On VF_OK nothing is
// stored yet: the caller ends with finish_read.  n is min(w, valuelen), 0
// without input bytes. (The result checks are those of begin_numeric, repeated
// here so that the hot path stays inline.)
inline int32_t begin_binary_informat(fmtcall *c, int32_t maxw,
                                     BinaryInput &in) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  if (c->out == nullptr || c->outsize < 8) {
    c->outlen = 0;
    return VF_ERR_OUTSIZE;
  }
  c->outlen = 8;
  const int32_t d = binary_decimals(c->d);
  if (!informat_width_ok(c->w, maxw) || d < 0) {
    store_double(c->out, standard_missing());
    return VF_ERR_WD_LIMITS;
  }
  in.p = static_cast<const unsigned char *>(c->value);
  in.n = in.p == nullptr || c->valuelen <= 0
             ? 0
             : (c->w < c->valuelen ? c->w : c->valuelen);
  in.d = d;
  return VF_OK;
}

// Last step of every binary informat: stores x on success and the
// standard missing value on any other status, so that every failure leaves
// a defined value; returns st.
inline int32_t finish_read(fmtcall *c, int32_t st, double x) {
  store_double(c->out, st == VF_OK ? x : standard_missing());
  return st;
}

} // namespace valfmt
