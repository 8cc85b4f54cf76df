// COMMA and the formats that decorate its text in place: COMMAX (decimal
// comma) and NEGPAREN (negative values in parentheses).
//
// COMMA lays the value out as F w.d and then groups the integer digits by
// three with ','.  Grouping is dropped, never forced: when the grouped text
// would not fit in w, the plain F text stands with status 0.  A status of
// the fixed renderer (2 for fewer decimals or scientific notation, or an
// error) is returned with the plain text.
//
// NEGPAREN keeps the digits of positive and negative values in the same
// columns: a negative value's '-' becomes '(' and the text moves one
// column left to make room for ')'; a positive value moves left too and
// leaves the last column blank.  Without a free column on the left the
// field is returned as COMMA wrote it with status VF_ERR_NO_ROOM.
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/fixed.h"
#include "numeric/punctuated.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

// Rewrites the text at out[start, end), whose first ndigits characters
// are the integer digits, with ',' every three digits counted from the
// right and '-' in front when negative, so that it ends at column w - 1
// with blanks before it.  The text is built right to left in a work
// buffer; total is its length (at most w, at most kMaxFixedWidth).
void insert_commas(char *out, int32_t w, int32_t start, int32_t end,
                   int32_t ndigits, bool negative, int32_t total) {
  char work[kMaxFixedWidth];
  int32_t to = total;
  int32_t from = end;
  const int32_t int_end = start + ndigits;
  while (from > int_end) work[--to] = out[--from];
  for (int32_t k = 0; k < ndigits; ++k) {
    if (k > 0 && k % 3 == 0) work[--to] = ',';
    work[--to] = out[--from];
  }
  if (negative) work[--to] = '-';
  put_blanks(out, w - total);
  std::memcpy(out + w - total, work, static_cast<std::size_t>(total));
}

} // namespace

Rendered comma_field(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                     int32_t d, double v) {
  const Rendered plain = render_fixed(caller, out, cap, w, d, v);
  if (plain.status != VF_OK || is_missing(v)) return plain;
  if (wzstpos(out, w, 'E') >= 0 || vzabl(out, w, '*')) return plain;

  TextSpan text = text_span(out, w);
  const bool negative = text.length > 0 && out[text.start] == '-';
  if (negative) {
    ++text.start;
    --text.length;
  }
  // Integer digits: up to the point when decimals were asked for.
  const int32_t ndigits =
      d != 0 ? wzstpos(out + text.start, text.length, '.') : text.length;
  if (ndigits <= 3) return plain;
  const int32_t total = (ndigits - 1) / 3 + text.length + (negative ? 1 : 0);
  if (total > w) return plain;
  if (total > cap) return {VF_ERR_OUTSIZE, plain.len};
  if (total > kMaxFixedWidth) return plain;
  insert_commas(out, w, text.start, text.start + text.length, ndigits, negative,
                total);
  return {VF_OK, w};
}

namespace {

// COMMAX: COMMA with the roles of '.' and ',' exchanged.
int32_t commax(fmtcall *c) {
  const double v = call_value(c);
  char *out = static_cast<char *>(c->out);
  const Rendered r = comma_field(*c, out, out_capacity(c), c->w, c->d, v);
  if ((r.status == VF_OK || r.status == VF_WARN) && !is_missing(v) &&
      !vzabl(out, r.len, '*'))
    swap_marks(out, r.len);
  return finish_narrow(c, r.len, r.status);
}

int32_t negparen(fmtcall *c) {
  const int32_t w = c->w;
  const int32_t cap = out_capacity(c);
  char *out = static_cast<char *>(c->out);
  const Rendered r = comma_field(*c, out, cap, w, c->d, call_value(c));
  finish_narrow(c, r.len, r.status);
  if (r.status != VF_OK) return r.status;
  const int32_t no_room = w > cap ? VF_ERR_OUTSIZE : VF_ERR_NO_ROOM;
  const int32_t p = wzstnot(out, r.len, ' ');
  if (p < 0) return VF_OK;
  if (p == 0) return no_room;
  const int32_t n = r.len - p;
  if (out[p] == '-') {
    out[p] = '(';
    std::memmove(out + p - 1, out + p, static_cast<std::size_t>(n));
    out[r.len - 1] = ')';
    return VF_OK;
  }
  if (p == 1) return no_room;
  std::memmove(out + p - 1, out + p, static_cast<std::size_t>(n));
  out[r.len - 1] = ' ';
  return VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmcma(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  const valfmt::Rendered r = valfmt::comma_field(
      *call, static_cast<char *>(call->out), valfmt::out_capacity(call),
      call->w, call->d, valfmt::call_value(call));
  return valfmt::finish_narrow(call, r.len, r.status);
}

VF_API int32_t zfmcmax(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  return valfmt::commax(call);
}

VF_API int32_t zfmnprn(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  return valfmt::negparen(call);
}

} // extern "C"
