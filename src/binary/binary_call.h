// Call-block handling shared by the floating-point, digit-string and
// character-transform members of the binary family: the checks every call
// passes first, the decimal scaling of writers and readers, and a byte view
// of a character input.
//
// Widths and decimals follow the family's entry rule (binary/entry_rule.h):
// a refused format writes nothing and returns VF_ERR_WIDTH, a refused
// numeric informat stores the standard missing value and returns
// VF_ERR_WD_LIMITS.  A null value pointer on a numeric format is
// VF_ERR_BAD_CALL with nothing written; a null character input reads as
// empty.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "binary/decimal_scale.h"
#include "binary/entry_rule.h"
#include "informats/informats.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// v * 10^d (d 0..31, as the entry rule leaves it) without a range rule,
// for the real formats that saturate on their own: an overflow is an
// infinity of v's sign.
inline double scale_real(double v, int32_t d) {
  return d == 0 ? v : v * kPow10Scale[d];
}

// vvzscal, the scaling of the writers, is shared with the integer,
// packed and zoned members in binary/scale.h.

// Entry check of a format: refuses a null block, a null numeric value and
// a width outside `limits`.  A member that reads d passes `decimals`: d is
// checked by the entry rule and *decimals receives the d to scale by (98
// and 99 give 0).  On success outlen is 0 and outenc narrow, and the
// format goes on.
inline int32_t begin_format(fmtcall *c, RowLimits limits, bool numeric,
                            int32_t *decimals = nullptr) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  c->outlen = 0;
  c->outenc = VF_ENC_NARROW;
  if (numeric && c->value == nullptr) return VF_ERR_BAD_CALL;
  if (!format_width_ok(c->w, limits.minw, limits.maxw)) return VF_ERR_WIDTH;
  if (decimals != nullptr) {
    *decimals = binary_decimals(c->d);
    if (*decimals < 0) return VF_ERR_WIDTH;
  }
  return VF_OK;
}

// Bytes of the caller's buffer (0 without one).
inline uint8_t *out_bytes(const fmtcall *c) {
  return static_cast<uint8_t *>(c->out);
}

// Entry check of a numeric informat: begin_numeric, then w and d by the
// entry rule.  On success *divisor is 10^d, *decimals (when given) the d
// to scale by, and the status 0; otherwise the status says why and, when
// the buffer can hold it, the standard missing value is stored.
inline int32_t begin_reader(fmtcall *c, RowLimits limits, double *divisor,
                            int32_t *decimals = nullptr) {
  if (const int32_t st = begin_numeric(c)) return st;
  const int32_t d = binary_decimals(c->d);
  if (!informat_width_ok(c->w, limits.maxw) || d < 0) {
    store_double(c->out, standard_missing());
    return VF_ERR_WD_LIMITS;
  }
  *divisor = kPow10Scale[d];
  if (decimals != nullptr) *decimals = d;
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
