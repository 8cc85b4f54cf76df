// PERCENT and PERCENTN: the value times 100 as F (w - 3).d, followed by
// '%'.  PERCENT shows a negative value between '(' and ')' in the first
// and last columns; PERCENTN with '-' before the digits.
//
//   PERCENT8.1  of  0.123   "  12.3% "
//   PERCENT8.1  of -0.123   "( 12.3%)"
//   PERCENTN8.1 of -0.123   " -12.3% "
//
// The number takes columns 1 .. w - 3; column w - 2 holds '%' (a blank for
// a missing value, whose character stands where F puts it in that
// number).  A field narrower than 4 columns leaves no column for a digit:
// it is filled with '*' and the status is VF_ERR_WIDTH, the status the
// fixed renderer gives an unusable width.  When the renderer reports an
// error for the number (a NaN, an infinity) its '*' stand between the
// decoration and its status is returned.  A buffer smaller than w is
// refused with VF_ERR_OUTSIZE and '*' in it.
#include <cmath>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/punctuated.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

// Columns PERCENT adds around the number: '(' before, '%' and ')' after.
constexpr int32_t kDecorationColumns = 3;

// PERCENT w.d of v into out (w >= 1 columns, cap >= w); *negative tells
// whether the value was shown as negative.
int32_t percent_field(char *out, int32_t cap, int32_t w, int32_t d, double v,
                      bool *negative) {
  *negative = false;
  const int32_t digits_width = w - kDecorationColumns;
  if (digits_width < 1) {
    put_stars(out, w);
    return VF_ERR_WIDTH;
  }
  const bool missing = is_missing(v);
  *negative = !missing && v < 0;
  const double y = missing ? v : std::fabs(v) * 100.0;
  // Blank first: a renderer that refuses the width leaves columns unset.
  vzfbl(out, w);
  Shown number;
  const int32_t status = render_f(out + 1, cap - 1, digits_width, d, y, number);
  out[w - 2] = missing ? ' ' : '%';
  if (*negative) {
    out[0] = '(';
    out[w - 1] = ')';
  }
  return status;
}

int32_t percent(fmtcall *c) {
  bool negative = false;
  const int32_t status =
      percent_field(static_cast<char *>(c->out), out_capacity(c), c->w, c->d,
                    call_value(c), &negative);
  return finish_narrow(c, c->w, status);
}

int32_t percentn(fmtcall *c) {
  char *out = static_cast<char *>(c->out);
  const int32_t w = c->w;
  bool negative = false;
  const int32_t status =
      percent_field(out, out_capacity(c), w, c->d, call_value(c), &negative);
  if (negative && (status == VF_OK || status == VF_WARN)) {
    out[0] = ' ';
    out[w - 1] = ' ';
    const int32_t first = wzstnot(out, w, ' ');
    if (first > 0) out[first - 1] = '-';
  }
  return finish_narrow(c, w, status);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmpct(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::percent);
}

VF_API int32_t pctn(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::percentn);
}

} // extern "C"
