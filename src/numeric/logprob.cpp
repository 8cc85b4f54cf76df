// LOGPROB: the value is a negative common logarithm of a probability; the
// field shows the probability p = 10^-value with three significant digits
// and no leading zeros ("0.0123" is shown as " .0123").
//
// The decimals come from the significant-width rule: enough to show three
// significant digits of p, less any trailing zeros, or scientific notation
// when that is more than two columns narrower than the fixed layout.
// A value above w - 1 shows ".0...01", the smallest probability w columns
// hold, whatever the width.  A negative value gives '*' in the last column
// and status 1; a missing value '.' in the last column.  A NaN that is no
// missing value has no probability to show: the field is '*' and the
// status VF_ERR_NOTHING_TO_READ, as the fixed renderer reports such a NaN.
// A renderer status other than 0 or 2 is passed on, and so is a field
// wider than the 32 columns the renderer lays out (VF_ERR_WIDTH, '*').
// A buffer smaller than w is refused with VF_ERR_OUTSIZE and '*' in it.
#include <cmath>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/fixed_parts.h"
#include "numeric/fixed.h"
#include "numeric/punctuated.h"
#include "numeric/text_fields.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr int32_t kSignificant = 3;
constexpr double kLn10 = 2.302585092994046;
// p is nudged up by this factor so that a value that should be a power of
// ten does not fall just below it.
constexpr double kProbabilityNudge = 1.00000001;
// Tolerance on log10 p when its floor is taken, toward zero.
constexpr double kLogNudge = 1.053671212772351e-8;
// Lifts p over an integer it sits a rounding error below.
constexpr double kIntegerFuzz = 1.0 + 1.110223024625157e-14;

// The trailing decimal zeros of the integer q (q >= 0, exact in a double),
// counting at most `limit` of them (0 counts as all zeros).
int32_t trailing_zeros(double q, int32_t limit) {
  int32_t n = 0;
  while (n < limit && std::fmod(q, 10.0) == 0.0) {
    q /= 10.0;
    ++n;
  }
  return n;
}

int32_t decimal_digits(double q) {
  int32_t n = 1;
  while (q >= 10.0) {
    q = std::floor(q / 10.0);
    ++n;
  }
  return n;
}

// The decimals code that shows p (0 < p <= 1.00000001) with kSignificant
// significant digits in w columns: a count of decimals, or a negative
// code for scientific notation.
int32_t probability_decimals(double p, int32_t w) {
  const double lg = std::log10(p);
  const auto L = static_cast<int32_t>(
      std::floor(lg < 0 ? lg - kLogNudge : lg + kLogNudge));
  const double whole = std::floor(p * kIntegerFuzz);
  const double f = p - whole;
  int32_t dec = kSignificant - L - 1;
  if (dec < 0 || f == 0.0) {
    dec = 0;
  } else {
    dec -= trailing_zeros(std::floor(f * power_of_ten(dec) + 0.5), dec);
  }
  const int32_t fixed_width =
      (whole == 0.0 ? 1 : L + 1) + (dec > 0 ? dec + 1 : 0);
  double q = std::floor(p * power_of_ten(kSignificant - L - 1) + 0.5);
  while (q >= 10.0 && std::fmod(q, 10.0) == 0.0) q /= 10.0;
  const int32_t shown = decimal_digits(q);
  const int32_t mantissa = shown > 2 ? shown : 2;
  int32_t sci_width = 5 + (L > 99 || L < -99 ? 1 : 0) + mantissa;
  if (sci_width < 6) sci_width = 6;
  if (sci_width < fixed_width - 2) {
    dec = 6 - sci_width;
    if (dec > -1) dec = -1;
  }
  return dec < w - 1 ? dec : w - 1;
}

// ".0...01" in w columns.
void smallest_probability(char *out, int32_t w) {
  out[0] = '.';
  for (int32_t i = 1; i < w - 1; ++i) out[i] = '0';
  out[w - 1] = '1';
}

int32_t logprob(fmtcall *c) {
  const int32_t w = c->w;
  char *out = static_cast<char *>(c->out);
  const double v = call_value(c);
  if (std::isnan(v) && !is_missing(v)) {
    fill_stars(c, w);
    return VF_ERR_NOTHING_TO_READ;
  }
  vzfbl(out, w);
  finish_narrow(c, w);
  if (is_missing(v)) {
    out[w - 1] = '.';
    return VF_OK;
  }
  if (v < 0) {
    out[w - 1] = '*';
    return VF_NOT_FOUND;
  }
  if (v > w - 1) {
    smallest_probability(out, w);
    return VF_OK;
  }
  if (w > kMaxFixedWidth) {
    // The fixed renderer lays out at most 32 columns.
    fill_stars(c, w);
    return VF_ERR_WIDTH;
  }
  const double p = std::exp(-v * kLn10) * kProbabilityNudge;
  Shown shown;
  const int32_t status =
      render_f(out, w, w, probability_decimals(p, w), p, shown);
  c->outlen = shown.len;
  if (status < 0) return status;
  // Leading zeros give way to blanks; the last column always stays.
  for (int32_t i = 0; i < shown.len - 1; ++i) {
    if (out[i] == ' ') continue;
    if (out[i] != '0') break;
    out[i] = ' ';
  }
  return VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmlprb(fmtcall *call) {
  return valfmt::run_checked(call, valfmt::logprob);
}

} // extern "C"
