// ODDSR: an odds ratio in a w.d field, with markers for ratios beyond the
// field's range.
//
//   ODDSR6.2  2.5    "  2.50"      0.001  " <0.01"     2000  ">99.99"
//   ODDSR4.2  0.001  "<.01"        (no room for the leading zero)
//   ODDSR8.   0.2    "      <1"
//
// Widths: w < 1 means 8; a one-column field shows '*' with
// VF_ERR_NO_ROOM; beyond 32 the field is blank after column 31 and the
// ratio uses the first 32 columns (outlen 32).  Decimals below 1 mean none,
// more than w - 2 mean w - 2.
//
// Missing values by their character: 'I' (infinite odds) shows the upper
// marker, '_' blanks, 'M' w '*' with VF_ERR_NO_ROOM, any other a '.' under
// the last decimal place.  A negative ratio (below -1e-12) is w '*' with
// VF_ERR_NO_ROOM; +infinity shows the upper marker.  A stray NaN is w '*'
// with VF_ERR_NOTHING_TO_READ: it is no ratio, and left to the range tests
// it would pass for one above the range.
#include <cmath>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/field_call.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kOdds = row_limits("ODDSR");
constexpr int32_t kOddsWidth = 32;
constexpr double kNegativeTolerance = -1e-12;

// The doubles nearest 10^k and 10^-k, k = 0..32.
constexpr double kPow10[33] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10,
    1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21,
    1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31, 1e32};
constexpr double kPow10Neg[33] = {
    1e-0,  1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,
    1e-9,  1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16, 1e-17,
    1e-18, 1e-19, 1e-20, 1e-21, 1e-22, 1e-23, 1e-24, 1e-25, 1e-26,
    1e-27, 1e-28, 1e-29, 1e-30, 1e-31, 1e-32};

// '>' and w - 1 '9', with the decimal point under the field's point.
void put_above_range(char *out, int32_t w, int32_t d) {
  out[0] = '>';
  std::memset(out + 1, '9', static_cast<std::size_t>(w - 1));
  if (d > 0) out[w - d - 1] = '.';
}

// "<1", "<0.01" or "<.01" (the leading zero only when it fits), ending
// in column w - 1 of a blank field.
void put_below_range(char *out, int32_t w, int32_t d) {
  char text[kOddsWidth + 2];
  int32_t len = 0;
  text[len++] = '<';
  if (d == 0) {
    text[len++] = '1';
  } else {
    if (d + 2 < w) text[len++] = '0';
    text[len++] = '.';
    std::memset(text + len, '0', static_cast<std::size_t>(d - 1));
    len += d - 1;
    text[len++] = '1';
  }
  std::memcpy(out + w - len, text, static_cast<std::size_t>(len));
}

// The missing value's display by its character.
int32_t show_missing(fmtcall *call, char *out, int32_t w, int32_t d, double v) {
  switch (missing_char(v)) {
  case 'I':
    put_above_range(out, w, d);
    return finish_narrow(call, w);
  case '_':
    return finish_narrow(call, w);
  case 'M':
    put_stars(out, w);
    return finish_narrow(call, w, VF_ERR_NO_ROOM);
  default:
    out[w - d - 1] = '.';
    return finish_narrow(call, w);
  }
}

// A ratio inside the field's range, as F w.d shows it.
int32_t show_ratio(fmtcall *call, int32_t w, int32_t d) {
  const int32_t status = render_fixed(call, w, d);
  return finish_narrow(call, w, status == VF_OK ? VF_OK : VF_ERR_NO_ROOM);
}

} // namespace
} // namespace valfmt

extern "C" VF_API int32_t zfmoddsr(fmtcall *call) {
  using namespace valfmt;
  if (call == nullptr) return VF_ERR_BAD_CALL;
  int32_t w = call->w < 1 ? kOdds.defw : call->w;
  const int32_t field = w;
  if (w > kOddsWidth) w = kOddsWidth;
  if (const int32_t refused = refuse_field(call, field)) return refused;
  char *out = static_cast<char *>(call->out);
  if (w == 1) {
    out[0] = '*';
    return finish_narrow(call, 1, VF_ERR_NO_ROOM);
  }
  put_blanks(out, field);
  int32_t d = call->d < 1 ? 0 : call->d;
  if (d > w - 2) d = w - 2;

  const double v = call_value(call);
  if (is_stray_nan(v)) return refuse_stray_nan(call, w);
  if (is_missing(v)) return show_missing(call, out, w, d, v);
  if (v < kNegativeTolerance) {
    put_stars(out, w);
    return finish_narrow(call, w, VF_ERR_NO_ROOM);
  }
  if (v < kPow10Neg[d]) {
    put_below_range(out, w, d);
    return finish_narrow(call, w);
  }
  const int32_t k = d == 0 ? 0 : d + 1;
  if (v <= kPow10[w - k - 1] - kPow10Neg[d]) return show_ratio(call, w, d);
  put_above_range(out, w, d);
  return finish_narrow(call, w);
}
