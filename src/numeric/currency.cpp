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
#include "core/call.h"
#include "core/missing.h"
#include "numeric/euro_rates.h"
#include "numeric/punctuated.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"

namespace valfmt {

int32_t dollar_field(char *out, int32_t cap, int32_t w, int32_t d, double v,
                     Shown &shown) {
  out[0] = ' ';
  const int32_t status = comma_field(out + 1, cap - 1, w - 1, d, v, shown);
  if (status != VF_OK) return render_f(out, cap, w, d, v, shown);
  shown.len += 1;
  // The sign goes just before the number: the COMMA field starts one
  // column in, so the column it reports is the sign's column here.
  if (shown.start >= 0) out[shown.start] = '$';
  return VF_OK;
}

int32_t eurox_field(char *out, int32_t cap, int32_t w, int32_t d, double v,
                    Shown &shown) {
  const int32_t status = render_f(out, cap, w, d, v, shown);
  if (status != VF_OK || is_missing(v)) return status;
  // Scientific notation and '*' are left as they are.
  const FixedText t = read_rendered(out, w, d);
  if (!t.number) return VF_OK;
  const int32_t sign = t.negative ? 1 : 0;
  shown.start = t.start - sign;

  if (t.point >= 0) out[t.point] = ',';
  const int32_t decimal = t.point >= 0 ? t.point : w;
  // The digits directly left of the decimal column.
  const int32_t ndigits = t.start + t.digits == decimal ? t.digits : 0;
  const int32_t length = t.end - t.start;
  const int32_t total = (ndigits - 1) / 3 + length + sign;
  if (total > w) return VF_OK;
  shown.start = group_digits(out, w, t, ndigits, '.', total);
  if (total < w) out[--shown.start] = kEuroState.eurochar;
  return VF_OK;
}

namespace {

int32_t dollar(fmtcall *c) {
  Shown shown;
  const int32_t status = write_field(c, dollar_field, shown);
  return finish_narrow(c, shown.len, status);
}

int32_t dollarx(fmtcall *c) {
  const double v = call_value(c);
  char *out = static_cast<char *>(c->out);
  Shown shown;
  const int32_t status = write_field(c, dollar_field, shown);
  if (status == VF_OK || status == VF_WARN) {
    const int32_t point = wzstpos(out, shown.len, '.');
    wzstrnc(out, shown.len, ',', '.');
    if (!is_missing(v) && point >= 0) out[point] = ',';
  }
  return finish_narrow(c, shown.len, status);
}

int32_t yen(fmtcall *c) {
  char *out = static_cast<char *>(c->out);
  Shown shown;
  const int32_t status = write_field(c, dollar_field, shown);
  if (status == VF_OK) {
    const int32_t sign = wzstpos(out, shown.len, '$');
    if (sign >= 0) out[sign] = '\\';
  }
  return finish_narrow(c, shown.len, status);
}

int32_t eurox(fmtcall *c) {
  Shown shown;
  const int32_t status = write_field(c, eurox_field, shown);
  return finish_narrow(c, shown.len, status);
}

int32_t euro(fmtcall *c) {
  const double v = call_value(c);
  char *out = static_cast<char *>(c->out);
  Shown shown;
  const int32_t status = write_field(c, eurox_field, shown);
  if (status == VF_OK && !is_missing(v)) swap_marks(out, shown.len);
  return finish_narrow(c, shown.len, status);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmdlr(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::dollar);
}

VF_API int32_t zfmdlrx(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::dollarx);
}

VF_API int32_t zfmyen(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::yen);
}

VF_API int32_t zfmerx(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::eurox);
}

VF_API int32_t zfmeuro(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::euro);
}

} // extern "C"
