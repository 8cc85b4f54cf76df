// Currency formats: DOLLAR, DOLLARX and YEN put a currency sign before
// the COMMA text; EUROX and EURO group the F text in the European or the
// English way and put the euro character before it.
//
//   DOLLAR12.2  of -1234.5   "  $-1,234.50"
//   DOLLARX12.2 of -1234.5   "  $-1.234,50"
//   YEN12.2     of -1234.5   "  \-1,234.50"  (0x5C, the yen sign of the
//                                              JIS X 0201 code page)
//   EUROX12.2   of -1234.5   "  E-1.234,50"
//   EURO12.2    of -1234.5   "  E-1,234.50"
//
// Decoration is dropped, never forced.  DOLLAR lays COMMA out in the w - 1
// columns after the sign's column; when COMMA cannot lay the value out
// there (any status but 0) the whole field is plain F w.d with that
// status.  EUROX writes the euro character only when a column is left
// before the text, and groups only when the grouped text fits; a status
// of the fixed renderer comes back with the plain F text (decimal '.').
#include <cctype>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/euro_rates.h"
#include "numeric/fixed.h"
#include "numeric/punctuated.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"

namespace valfmt {

Rendered dollar_field(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                      int32_t d, double v) {
  out[0] = ' ';
  Rendered r = comma_field(caller, out + 1, cap - 1, w - 1, d, v);
  if (r.status != VF_OK) return render_fixed(caller, out, cap, w, d, v);
  r.len += 1;
  if (is_missing(v)) return r;
  if (wzstpos(out, r.len, 'E') < 0 && wzstpos(out, r.len, '*') < 0) {
    const int32_t first = wzstnot(out, r.len, ' ');
    if (first > 0) out[first - 1] = '$';
  }
  return r;
}

namespace {

// Rewrites the text at out[start, end) so that it ends at column w - 1:
// '.' between the ndigits integer digits that end at column `decimal`, in
// groups of three counted from there, and '-' in front when negative.
// The text is built right to left in a work buffer; total is its length
// (at most w, at most kMaxFixedWidth).  Blanks fill the columns before it.
void group_european(char *out, int32_t w, int32_t start, int32_t end,
                    int32_t decimal, int32_t ndigits, bool negative,
                    int32_t total) {
  char work[kMaxFixedWidth];
  int32_t to = total;
  int32_t from = end;
  while (from > decimal) work[--to] = out[--from];
  for (int32_t k = 0; k < ndigits; ++k) {
    if (k > 0 && k % 3 == 0) work[--to] = '.';
    work[--to] = out[--from];
  }
  while (from > start) work[--to] = out[--from];
  if (negative) work[--to] = '-';
  put_blanks(out, w - total);
  std::memcpy(out + w - total, work, static_cast<std::size_t>(total));
}

} // namespace

Rendered eurox_field(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                     int32_t d, double v) {
  const Rendered plain = render_fixed(caller, out, cap, w, d, v);
  if (plain.status != VF_OK || is_missing(v)) return plain;
  if (wzstpos(out, w, 'E') >= 0 || vzabl(out, w, '*')) return plain;

  const int32_t point = wzstpos(out, w, '.');
  if (point >= 0) out[point] = ',';
  const int32_t decimal = point >= 0 ? point : w;
  int32_t ndigits = 0;
  while (ndigits < decimal &&
         std::isdigit(static_cast<unsigned char>(out[decimal - ndigits - 1])))
    ++ndigits;

  TextSpan text = text_span(out, w);
  const bool negative = text.length > 0 && out[text.start] == '-';
  if (negative) {
    ++text.start;
    --text.length;
  }
  const int32_t total = (ndigits - 1) / 3 + text.length + (negative ? 1 : 0);
  if (total > w || total > kMaxFixedWidth) return plain;
  group_european(out, w, text.start, text.start + text.length, decimal, ndigits,
                 negative, total);
  if (total < w) out[w - total - 1] = kEuroState.eurochar;
  return {VF_OK, w};
}

namespace {

int32_t dollarx(fmtcall *c) {
  const double v = call_value(c);
  char *out = static_cast<char *>(c->out);
  const Rendered r = dollar_field(*c, out, out_capacity(c), c->w, c->d, v);
  if (r.status == VF_OK || r.status == VF_WARN) {
    const int32_t point = wzstpos(out, r.len, '.');
    wzstrnc(out, r.len, ',', '.');
    if (!is_missing(v) && point >= 0) out[point] = ',';
  }
  return finish_narrow(c, r.len, r.status);
}

int32_t yen(fmtcall *c) {
  char *out = static_cast<char *>(c->out);
  const Rendered r =
      dollar_field(*c, out, out_capacity(c), c->w, c->d, call_value(c));
  if (r.status == VF_OK) {
    const int32_t sign = wzstpos(out, r.len, '$');
    if (sign >= 0) out[sign] = '\\';
  }
  return finish_narrow(c, r.len, r.status);
}

int32_t euro(fmtcall *c) {
  const double v = call_value(c);
  char *out = static_cast<char *>(c->out);
  const Rendered r = eurox_field(*c, out, out_capacity(c), c->w, c->d, v);
  if (r.status == VF_OK && !is_missing(v)) swap_marks(out, r.len);
  return finish_narrow(c, r.len, r.status);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmdlr(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  const valfmt::Rendered r = valfmt::dollar_field(
      *call, static_cast<char *>(call->out), valfmt::out_capacity(call),
      call->w, call->d, valfmt::call_value(call));
  return valfmt::finish_narrow(call, r.len, r.status);
}

VF_API int32_t zfmdlrx(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  return valfmt::dollarx(call);
}

VF_API int32_t zfmyen(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  return valfmt::yen(call);
}

VF_API int32_t zfmerx(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  const valfmt::Rendered r = valfmt::eurox_field(
      *call, static_cast<char *>(call->out), valfmt::out_capacity(call),
      call->w, call->d, valfmt::call_value(call));
  return valfmt::finish_narrow(call, r.len, r.status);
}

VF_API int32_t zfmeuro(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, call->w))
    return refused;
  return valfmt::euro(call);
}

} // extern "C"
