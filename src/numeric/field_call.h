// Call-block handling shared by the punctuated, currency, spelled-out,
// Roman, fraction, size and odds formats: the check every call passes
// before it writes, the fixed renderer on a field of the caller's buffer,
// and the small field writers.  None of these changes the caller's block
// except outlen and outenc.
//
// A call these formats cannot serve gets a defined answer:
//   VF_ERR_WIDTH          w below 1 (nothing written), or outside the
//                         format's limits (what fits of w asterisks),
//   VF_ERR_BAD_CALL       no value or no output buffer (what fits of w
//                         asterisks),
//   VF_ERR_OUTSIZE        a buffer smaller than the w columns (its bytes
//                         '*': a number cut to the buffer would read as
//                         another number),
//   VF_ERR_NOTHING_TO_READ  a NaN that is not a missing value: the whole
//                         field is '*', as the fixed renderer shows it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/fixed.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Returns VF_OK when a field of w bytes can be written for c; otherwise
// writes the refusal described above into c and returns its status.
int32_t refuse_field(fmtcall *c, int32_t w);

// refuse_field for the call's own w, which must also lie within the
// format's limits.
inline int32_t refuse_call(fmtcall *c, RowLimits limits) {
  if (c->w >= 1 && (c->w < limits.minw || c->w > limits.maxw)) {
    c->outenc = VF_ENC_NARROW;
    fill_stars(c, c->w);
    return VF_ERR_WIDTH;
  }
  return refuse_field(c, c->w);
}

// Runs a format's body on c once its w-column field passed refuse_field.
inline int32_t run_checked(fmtcall *c, int32_t (*body)(fmtcall *)) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = refuse_field(c, c->w)) return refused;
  return body(c);
}

// What a field writer wrote: the byte count, and the column where the
// number's text starts ('-' or first digit), or -1 when the text is no
// fixed-point number (scientific notation, '*', a missing value).
struct Shown {
  int32_t len = 0;
  int32_t start = -1;
};

// F w.d (or another decimals code d) of v into out (cap bytes): the fixed
// renderer's own entry on a block that holds only the value and the
// buffer, so that a format never copies or changes its caller's block to
// lay out a number.
inline int32_t render_f(char *out, int32_t cap, int32_t w, int32_t d, double v,
                        Shown &shown) {
  fmtcall field{};
  field.value = &v;
  field.valuelen = static_cast<int32_t>(sizeof v);
  field.out = out;
  field.outsize = cap;
  const int32_t status = render_fixed(&field, w, d);
  shown.len = field.outlen;
  shown.start = -1;
  return status;
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

// Writes text left-aligned and blank-padded in w columns.  A text longer
// than w keeps its first w - 1 characters and ends in '*', so a cut text
// never passes for a complete one.
inline void put_marked(char *out, int32_t w, const char *text, int32_t n) {
  if (n <= w) {
    std::memcpy(out, text, static_cast<std::size_t>(n));
    put_blanks(out + n, w - n);
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
