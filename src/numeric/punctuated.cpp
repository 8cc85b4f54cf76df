// The field check that every format of this family makes before it
// writes, and the digit grouping of the punctuated formats.
#include "numeric/punctuated.h"

#include <cstring>

#include "core/call.h"

namespace valfmt {

int32_t refuse_field(fmtcall *c, int32_t w) {
  c->outenc = VF_ENC_NARROW;
  if (w < 1) {
    c->outlen = 0;
    return VF_ERR_WIDTH;
  }
  if (c->out == nullptr || c->value == nullptr) {
    fill_stars(c, w);
    return VF_ERR_BAD_CALL;
  }
  if (out_capacity(c) < w) {
    fill_stars(c, w);
    return VF_ERR_OUTSIZE;
  }
  return VF_OK;
}

int32_t group_digits(char *out, int32_t w, const FixedText &t, int32_t ndigits,
                     char sep, int32_t total) {
  // Bring the text to the last column first (the renderer's texts are
  // already there), so that the rewrite below only moves bytes left.
  int32_t from = t.start - (t.negative ? 1 : 0);
  const int32_t shift = w - t.end;
  if (shift > 0) {
    std::memmove(out + from + shift, out + from,
                 static_cast<std::size_t>(t.end - from));
    from += shift;
  }
  // Left to right: every byte is written at or before the column it is
  // read from, so nothing is overwritten before it is read.
  const int32_t begin = w - total;
  int32_t to = begin;
  if (t.negative) {
    out[to++] = '-';
    ++from;
  }
  int32_t group = ndigits % 3 == 0 ? 3 : ndigits % 3; // digits before a sep
  for (int32_t k = 0; k < ndigits; ++k) {
    if (group == 0) {
      out[to++] = sep;
      group = 3;
    }
    out[to++] = out[from++];
    --group;
  }
  // Every separator is in now, so the decimals already stand where they
  // belong (to == from); the copy is there for texts that end otherwise.
  if (to < from)
    while (from < w) out[to++] = out[from++];
  put_blanks(out, begin);
  return begin;
}

void swap_marks(char *text, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (text[i] == '.')
      text[i] = ',';
    else if (text[i] == ',')
      text[i] = '.';
  }
}

} // namespace valfmt
