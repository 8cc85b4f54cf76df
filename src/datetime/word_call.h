// Call-block handling shared by the word, name and era date formats: the
// checks every call passes first, the missing display, and right-aligning a
// built text in its field.  None of these changes the caller's block except
// outlen and outenc.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Refuses a call block these formats cannot serve.  Returns true when the
// format may go on: the block, its value and its buffer exist, w lies
// within the descriptor's limits and, unless short_out_ok, the buffer holds
// w bytes.  Otherwise what fits of w asterisks fills the buffer and *status
// says why: VF_ERR_BAD_CALL, VF_ERR_WIDTH or VF_ERR_OUTSIZE.
inline bool word_call_ok(fmtcall *c, RowLimits limits, int32_t *status,
                         bool short_out_ok = false) {
  if (c == nullptr) {
    *status = VF_ERR_BAD_CALL;
    return false;
  }
  c->outenc = VF_ENC_NARROW;
  if (c->out == nullptr || c->value == nullptr) {
    fill_stars(c, c->w);
    *status = VF_ERR_BAD_CALL;
    return false;
  }
  if (c->w < limits.minw || c->w > limits.maxw) {
    fill_stars(c, c->w);
    *status = VF_ERR_WIDTH;
    return false;
  }
  if (!short_out_ok && c->w > c->outsize) {
    fill_stars(c, c->w);
    *status = VF_ERR_OUTSIZE;
    return false;
  }
  return true;
}

// The missing display of the call's value with the decimals taken as 0
// (decimals mean nothing to a date format).  The caller's block keeps its
// d; only outlen and outenc change.
inline void show_missing(fmtcall *c) {
  fmtcall inner = *c;
  inner.d = 0;
  zfmmiss(&inner);
  c->outlen = inner.outlen;
  c->outenc = VF_ENC_NARROW;
}

// The day of a date value in the valid range: the floor of the value,
// without a call into the mathematics library.
inline int64_t day_of(double v) {
  const auto t = static_cast<int64_t>(v);
  return v < static_cast<double>(t) ? t - 1 : t;
}

// Writes text[0..n) right-aligned in out[0..w), blanks on the left; a text
// longer than w keeps its first w characters.
inline void put_right(char *out, int32_t w, const char *text, int32_t n) {
  if (n > w) n = w;
  put_blanks(out, w - n);
  std::memcpy(out + (w - n), text, static_cast<std::size_t>(n));
}

} // namespace valfmt
