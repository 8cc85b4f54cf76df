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
//
// Every member refuses a buffer smaller than w up front (VF_ERR_OUTSIZE,
// the buffer's bytes '*'), as the fixed renderer does, so no step below
// can write past the buffer.
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/punctuated.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"

namespace valfmt {

int32_t comma_field(char *out, int32_t cap, int32_t w, int32_t d, double v,
                    Shown &shown) {
  const int32_t status = render_f(out, cap, w, d, v, shown);
  if (status != VF_OK || is_missing(v)) return status;
  // Scientific notation and '*' are left as they are.
  const FixedText t = read_rendered(out, w, d);
  if (!t.number) return VF_OK;
  const int32_t sign = t.negative ? 1 : 0;
  shown.start = t.start - sign;

  // Integer digits: up to the point when decimals were asked for.
  const int32_t length = t.end - t.start;
  const int32_t ndigits = d != 0 ? (t.point >= 0 ? t.digits : -1) : length;
  if (ndigits <= 3) return VF_OK;
  const int32_t total = (ndigits - 1) / 3 + length + sign;
  if (total > w) return VF_OK;
  if (total > cap) return VF_ERR_OUTSIZE;
  shown.start = group_digits(out, w, t, ndigits, ',', total);
  return VF_OK;
}

namespace {

int32_t comma(fmtcall *c) {
  Shown shown;
  const int32_t status = write_field(c, comma_field, shown);
  return finish_narrow(c, shown.len, status);
}

// COMMAX: COMMA with the roles of '.' and ',' exchanged.
int32_t commax(fmtcall *c) {
  const double v = call_value(c);
  char *out = static_cast<char *>(c->out);
  Shown shown;
  const int32_t status = write_field(c, comma_field, shown);
  if ((status == VF_OK || status == VF_WARN) && !is_missing(v) &&
      !vzabl(out, shown.len, '*'))
    swap_marks(out, shown.len);
  return finish_narrow(c, shown.len, status);
}

int32_t negparen(fmtcall *c) {
  char *out = static_cast<char *>(c->out);
  Shown shown;
  const int32_t status = write_field(c, comma_field, shown);
  const int32_t len = shown.len;
  finish_narrow(c, len, status);
  if (status != VF_OK) return status;
  const int32_t p = wzstnot(out, len, ' ');
  if (p < 0) return VF_OK;
  if (p == 0) return VF_ERR_NO_ROOM;
  const int32_t n = len - p;
  if (out[p] == '-') {
    out[p] = '(';
    std::memmove(out + p - 1, out + p, static_cast<std::size_t>(n));
    out[len - 1] = ')';
    return VF_OK;
  }
  if (p == 1) return VF_ERR_NO_ROOM;
  std::memmove(out + p - 1, out + p, static_cast<std::size_t>(n));
  out[len - 1] = ' ';
  return VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmcma(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::comma);
}

VF_API int32_t zfmcmax(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::commax);
}

VF_API int32_t zfmnprn(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::negparen);
}

} // extern "C"
