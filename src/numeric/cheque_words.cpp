// WORDF: an amount in the style of a cheque, the whole number in words and
// the cents as a fraction of 100, left-aligned in its field.
//
//   12.34  "twelve and 34/100"      7         "seven and 00/100"
//   -3.05  "minus three and 05/100" 1.999995  "two and 00/100"
//   2e9    "large_number"           missing   "missing"
//
// A fraction above 0.9999 rounds the amount up to the next whole number
// (and 00 cents); the cents are the whole hundredths of the rest.
//
// The text is built on the stack, bounded whatever w is, so no heap buffer
// is needed for wide fields.  A text longer than w keeps its first w - 1
// characters and ends in '*'.  A text that fills the field exactly is
// shown whole: the blank that separates words is no part of the text, so
// "minus large_number" fits 18 columns.  The missing value's "missing" is
// cut to the field without a mark, as WORDS cuts it.
#include <cmath>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "core/text.h"
#include "numeric/number_words.h"
#include "numeric/field_call.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kWordf = row_limits("WORDF");

// Appends "and cc/100" for whole cents 0..99, with a leading zero.
void add_cents(WordText &t, int32_t cents) {
  t.add("and");
  char cc[6] = {'0', '0', '/', '1', '0', '0'};
  put_two_digits(cc, cents);
  t.add({cc, sizeof cc});
}

} // namespace
} // namespace valfmt

extern "C" VF_API int32_t zfmwrdf(fmtcall *call) {
  using namespace valfmt;
  if (call == nullptr) return VF_ERR_BAD_CALL;
  int32_t status = VF_OK;
  if (answered_before_spelling(call, kWordf, &status)) return status;
  const double v = call_value(call);
  double x = std::fabs(v);
  if (x - std::floor(x) > 0.9999) x = std::ceil(x);
  WordText t;
  if (v < 0) t.add("minus");
  if (!spell_number(t, std::floor(x))) {
    const double cents = std::fmod(x * 100.0 + 0.0001, 100.0);
    add_cents(t, static_cast<int32_t>(cents));
  }
  return finish_words(call, t);
}
