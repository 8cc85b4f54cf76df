// FRACT: a number as a whole part and a fraction p/q, right-aligned.
//
//   1.5  "1+1/2"     -0.75  "-3/4"     -1.5  "-1-1/2"     2  "2"
//
// The fraction is the convergent of its continued fraction, expanded
// while the remainder stays above 1e-5 and for at most 19 levels, so
// 0.333333 shows as "1/3".  The whole part and the fraction are joined by
// '+', or by '-' for a negative value.  Whole numbers, non-finite values
// and texts that do not fit the field are shown as BEST w shows them.  The
// missing value is shown as F shows it.
//
// The expansion keeps its state in a record of the call's own (see
// fraction.h), so concurrent calls share nothing.  Numerator and
// denominator are whole doubles; their digits are the ones F32. gives,
// and one that F32. cannot show in plain digits cannot fit the field.
#include "numeric/fraction.h"

#include <cmath>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "numeric/field_call.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kFract = row_limits("FRACT");

// The widest field the renderer lays out, and a digit count that fits no
// field.
constexpr int32_t kRenderWidth = 32;
constexpr int32_t kTooWide = 1000;
constexpr int32_t kBestCode = 99;

// Renders the call's value with decimals code `code` in the call's w
// columns; the caller's block takes only outlen and outenc.
int32_t render_as(fmtcall *call, int32_t code) {
  call->outenc = VF_ENC_NARROW;
  return render_fixed(call, call->w, code);
}

// The digits of the whole double v as F32. shows them, right-aligned in
// buf; returns their count, or kTooWide when F32. cannot show v in plain
// digits.
int32_t whole_digits(double v, char *buf) {
  Shown shown;
  if (render_f(buf, kRenderWidth, kRenderWidth, 0, v, shown) != VF_OK)
    return kTooWide;
  int32_t first = 0;
  while (first < kRenderWidth && buf[first] == ' ') ++first;
  if (std::memchr(buf + first, 'E',
                  static_cast<std::size_t>(kRenderWidth - first)) != nullptr)
    return kTooWide;
  return kRenderWidth - first;
}

} // namespace

bool recent(int32_t level, ContinuedFraction &s) {
  const double a = std::floor(s.r);
  const double p = a * s.p + s.p_prev;
  const double q = a * s.q + s.q_prev;
  s.p_prev = s.p;
  s.q_prev = s.q;
  s.p = p;
  s.q = q;
  const double rest = s.r - a;
  if (level + 1 >= kFractionLevels || !(rest > kFractionTolerance) ||
      !(rest < 1.0))
    return false;
  s.r = 1.0 / rest;
  return true;
}

void expand_fraction(double f, double *p, double *q) {
  ContinuedFraction s = start_fraction(f);
  for (int32_t level = 0; recent(level, s); ++level) {
  }
  *p = s.p;
  *q = s.q;
}

} // namespace valfmt

extern "C" VF_API int32_t zfmfrac(fmtcall *call) {
  using namespace valfmt;
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = refuse_call(call, kFract)) return refused;
  const int32_t w = call->w;
  const double v = call_value(call);
  if (is_missing(v)) return render_as(call, call->d);
  // Non-finite values and whole numbers: BEST.
  const double a = std::fabs(v);
  const double whole = std::floor(a);
  const double f = a - whole;
  if (!std::isfinite(v) || f == 0) return render_as(call, kBestCode);
  // A double with a fraction is below 2^52, so its whole part has at most
  // 16 digits.
  const int32_t neg = v < 0 ? 1 : 0;
  const auto i = static_cast<uint64_t>(whole);
  const int32_t k = i == 0 ? 0 : digit_count(i) + 1;
  if (k + neg + 3 > w) return render_as(call, kBestCode);

  double p = 0;
  double q = 0;
  expand_fraction(f, &p, &q);
  char pbuf[kRenderWidth];
  char qbuf[kRenderWidth];
  const int32_t np = whole_digits(p, pbuf);
  const int32_t nq = whole_digits(q, qbuf);
  if (k + neg + np + nq >= w) return render_as(call, kBestCode);

  char text[kRenderWidth + 1];
  int32_t len = 0;
  if (neg != 0) text[len++] = '-';
  if (i != 0) {
    write_digits_backward(text + len + k - 1, i, k - 1);
    len += k - 1;
    text[len++] = neg != 0 ? '-' : '+';
  }
  std::memcpy(text + len, pbuf + kRenderWidth - np,
              static_cast<std::size_t>(np));
  len += np;
  text[len++] = '/';
  std::memcpy(text + len, qbuf + kRenderWidth - nq,
              static_cast<std::size_t>(nq));
  len += nq;
  put_right(static_cast<char *>(call->out), w, text, len);
  return finish_narrow(call, w);
}
