// Call-block handling shared by the spelled-out, Roman, fraction, size and
// odds formats: the checks every call passes first and the small field
// writers they share.  None of these changes the caller's block except
// outlen and outenc.
//
// A call these formats cannot serve gets a defined answer: what fits of w
// asterisks, and
//   VF_ERR_BAD_CALL       no value or no output buffer,
//   VF_ERR_WIDTH          w outside the descriptor's limits (w <= 0 writes
//                         nothing),
//   VF_ERR_OUTSIZE        a buffer smaller than the w columns,
//   VF_ERR_NOTHING_TO_READ  a NaN that is not a missing value: the whole
//                         field is '*', as the fixed renderer shows it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// True when a call with w columns may go on: the value and the buffer
// exist and the buffer holds w bytes.  Otherwise *status says why and
// what fits of w asterisks fills the buffer.
inline bool field_ok(fmtcall *c, int32_t w, int32_t *status) {
  c->outenc = VF_ENC_NARROW;
  if (c->out == nullptr || c->value == nullptr) {
    fill_stars(c, w);
    *status = VF_ERR_BAD_CALL;
    return false;
  }
  if (w > c->outsize) {
    fill_stars(c, w);
    *status = VF_ERR_OUTSIZE;
    return false;
  }
  return true;
}

// field_ok for the call's own w, which must also lie within the
// descriptor's limits.
inline bool special_call_ok(fmtcall *c, RowLimits limits, int32_t *status) {
  if (c->w < limits.minw || c->w > limits.maxw) {
    c->outenc = VF_ENC_NARROW;
    fill_stars(c, c->w);
    *status = VF_ERR_WIDTH;
    return false;
  }
  return field_ok(c, c->w, status);
}

// A NaN bit pattern that names no missing value.
inline bool is_stray_nan(double v) {
  return std::isnan(v) && !is_missing(v);
}

// The answer to a stray NaN: w asterisks (the buffer holds them).
inline int32_t refuse_stray_nan(fmtcall *c, int32_t w) {
  fill_stars(c, w);
  return VF_ERR_NOTHING_TO_READ;
}

// Copies min(n, w) bytes of text to out and blank-pads to w columns.
inline void put_padded(char *out, int32_t w, const char *text, int32_t n) {
  const int32_t k = n < w ? n : w;
  if (k > 0) std::memcpy(out, text, static_cast<std::size_t>(k));
  put_blanks(out + k, w - k);
}

// Writes text left-aligned and blank-padded in w columns.  A text longer
// than w keeps its first w - 1 characters and ends in '*', so a cut text
// never passes for a complete one.
inline void put_marked(char *out, int32_t w, const char *text, int32_t n) {
  if (n <= w) {
    put_padded(out, w, text, n);
    return;
  }
  std::memcpy(out, text, static_cast<std::size_t>(w - 1));
  out[w - 1] = '*';
}

// Writes text right-aligned in w columns, blanks on the left (n <= w).
inline void put_right(char *out, int32_t w, const char *text, int32_t n) {
  put_blanks(out, w - n);
  std::memcpy(out + (w - n), text, static_cast<std::size_t>(n));
}

} // namespace valfmt
