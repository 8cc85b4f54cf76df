// Call-block handling shared by the floating-point, digit-string and
// character-transform members of the binary family: the checks every call
// passes first, the decimal scaling of writers and readers, and a byte view
// of a character input.
//
// Rules common to the whole group:
//   - A width outside the descriptor's limits writes nothing (outlen 0) and
//     returns VF_ERR_WIDTH for a format; a numeric informat stores the
//     standard missing value and returns VF_ERR_WD_LIMITS.
//   - Decimals below 0 count as 0 for the writers; above 308 they overflow
//     like any other scaling.  Readers take 98 and 99 as 0 and refuse any
//     other d outside 0..31 (standard missing value, VF_ERR_WD_LIMITS).
//   - A null value pointer on a numeric format is VF_ERR_BAD_CALL with
//     nothing written; a null character input reads as empty.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "binary/decimal_scale.h"
#include "informats/informats.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// 10^0 .. 10^31: the decimal scale of the binary members.
inline constexpr double kBinPow10[32] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10,
    1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21,
    1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31};

// 10^d for 0 <= d <= 308 (nearest doubles; d outside is clamped).
double binary_pow10(int32_t d);

// v * 10^d without a range rule, for the real formats that can hold an
// infinity or saturate on their own: d <= 0 leaves v alone; beyond 10^308
// a nonzero v becomes an infinity of its sign.
double scale_real(double v, int32_t d);

// vvzscal, the scaling of the writers, is shared with the integer,
// packed and zoned members in binary/scale.h.

// Entry check of a format: refuses a null block, a null numeric value and
// a width outside `limits`.  On success outlen is 0 and outenc narrow, and
// the format goes on.
inline int32_t begin_format(fmtcall *c, RowLimits limits, bool numeric) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  c->outlen = 0;
  c->outenc = VF_ENC_NARROW;
  if (numeric && c->value == nullptr) return VF_ERR_BAD_CALL;
  if (c->w < limits.minw || c->w > limits.maxw) return VF_ERR_WIDTH;
  return VF_OK;
}

// Bytes of the caller's buffer (0 without one).
inline uint8_t *out_bytes(const fmtcall *c) {
  return static_cast<uint8_t *>(c->out);
}

// Entry check of a numeric informat: begin_numeric, then the width against
// `limits` and the decimals.  On success *divisor is 10^d and the status is
// 0; otherwise the status says why and, when the buffer can hold it, the
// standard missing value is stored.
inline int32_t begin_reader(fmtcall *c, RowLimits limits, double *divisor) {
  if (const int32_t st = begin_numeric(c)) return st;
  int32_t d = c->d;
  if (d == 98 || d == 99) d = 0;
  if (c->w < limits.minw || c->w > limits.maxw || d < 0 || d > 31) {
    store_double(c->out, standard_missing());
    return VF_ERR_WD_LIMITS;
  }
  *divisor = kBinPow10[d];
  return VF_OK;
}

// x / 10^d as begin_reader gave the divisor (no division for d = 0).
inline double unscale(double x, double divisor) {
  return divisor == 1.0 ? x : x / divisor;
}

// The input bytes of a reader: the first min(w, valuelen) (none for a null
// value pointer).
struct ReaderInput {
  const uint8_t *p;
  int32_t n;
};

inline ReaderInput reader_input(const fmtcall *c) {
  ReaderInput in{static_cast<const uint8_t *>(c->value), 0};
  if (in.p != nullptr && c->valuelen > 0)
    in.n = c->w < c->valuelen ? c->w : c->valuelen;
  if (in.n < 0) in.n = 0;
  return in;
}

// A character input seen as bytes.  Narrow input is read as it is; 16-bit
// input (inenc 25 little-endian, 24 big-endian) is read one unit per
// character, a unit above 0xFF standing as '?' since no byte holds it.
struct CharInput {
  const uint8_t *p = nullptr;
  int32_t n = 0;     // characters
  int32_t order = 0; // 0 narrow, 1 little-endian units, 2 big-endian units
  uint32_t unit(int32_t i) const {
    if (order == 0) return p[i];
    const uint32_t a = p[2 * i], b = p[2 * i + 1];
    return order == 1 ? (a | b << 8) : (b | a << 8);
  }
  uint8_t at(int32_t i) const {
    const uint32_t u = unit(i);
    return u <= 0xFF ? static_cast<uint8_t>(u) : static_cast<uint8_t>('?');
  }
};

inline CharInput char_input(const fmtcall *c) {
  CharInput in;
  in.p = static_cast<const uint8_t *>(c->value);
  in.n = in.p != nullptr && c->valuelen > 0 ? c->valuelen : 0;
  in.order = c->inenc == VF_ENC_UCS2 ? 1 : c->inenc == VF_ENC_UCS2BE ? 2 : 0;
  return in;
}

// min(w, out capacity), never negative.
inline int32_t field_room(const fmtcall *c) {
  const int32_t cap = out_capacity(c);
  const int32_t w = c->w > 0 ? c->w : 0;
  return w < cap ? w : cap;
}

// The BEST w display of a missing value in a digit-string format: BEST32
// and blanks up to w when w exceeds 32.  Sets outlen; returns BEST's
// status, or VF_ERR_OUTSIZE when the buffer holds fewer than w bytes.
int32_t best_field(fmtcall *c);

} // namespace valfmt
