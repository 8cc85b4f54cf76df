// The scientific writer: x = m * 10^(e + 1) with 0.1 <= m < 1, shown as a
// mantissa of nd digits and an exponent.  Two layouts: the E layout with a
// fixed mantissa length and a signed exponent of at least two digits
// ("1.23450E+03"), and the compact best layout that spends every column on
// mantissa digits, drops trailing zeros and may use an integer mantissa
// without a point ("1.2E5", "12E-6").
#include <cstring>

#include "numeric/fixed.h"
#include "numeric/fixed_parts.h"

namespace valfmt {
namespace {

constexpr double kSciFuzz = 1.0000000000000018;
// One unit above the double nearest 0.1.
constexpr double kTenth = 0.10000000000000002;
// Mantissa digits taken from the value; further ones are '0'.
constexpr int32_t kMantissaDigits = 14;

struct SciLayout {
  double m;              // mantissa, 0.1 <= m < 1 (0 for zero)
  int32_t e;             // exponent shown
  int32_t nd;            // mantissa digits
  int32_t ew;            // exponent columns
  int32_t code;          // layout code; best once the E layout gives up
  int32_t status;        // VF_OK, or VF_WARN for a shortened E mantissa
  bool integer_mantissa; // digits without a point, exponent adjusted
};

// Columns taken by 'E', the exponent's '-' and its digits in the compact
// layout.
inline int32_t exp_width(int32_t e) {
  const int32_t a = e < 0 ? -e : e;
  return 1 + (e < 0 ? 1 : 0) + (a < 10 ? 1 : a < 100 ? 2 : a < 1000 ? 3 : 4);
}

// Rounds the mantissa at nd digits.  True on a carry into the next power
// of ten (m renormalised, e raised).
inline bool round_mantissa(SciLayout &s, int32_t nd) {
  if (nd < 15) s.m += 0.5 / power_of_ten(nd);
  s.m *= kSciFuzz;
  if (s.m >= 1.0) {
    s.m *= kTenth;
    ++s.e;
    return true;
  }
  return false;
}

// x = m * 10^(e + 1) with 0.1 <= m < 1 from the binary exponent's estimate
// of the decimal one.
void normalise(const SciRecord &rec, SciLayout &s) {
  const double x = rec.x;
  if (rec.e2 < 0) {
    const int32_t k = (-rec.e2 * 77 + 255) >> 8;
    // Subnormals need more than the largest power: scale in two steps so
    // that their digits come out normalised too.
    s.m = k <= 308 ? x * power_of_ten(k)
                   : x * power_of_ten(308) * power_of_ten(k - 308);
    s.e = -k;
    if (s.m >= 1.0)
      s.m *= kTenth;
    else
      --s.e;
    return;
  }
  const int32_t t = (rec.e2 * 77) >> 8;
  s.m = t >= 308 ? x / power_of_ten(t) / 10.0 : x / power_of_ten(t + 1);
  s.e = t;
  if (s.m < kTenth && x != power_of_ten(t)) {
    if (s.m == 0) {
      s.e = 0;
    } else {
      s.m *= 10.0;
      s.e = t - 1;
    }
  }
}

// The E layout: 1 - code mantissa digits where the field holds them.  When
// not even one digit fits, the best layout takes over.
void plan_e_layout(SciLayout &s, int32_t avail) {
  s.ew = (s.e > 99 || s.e < -99) ? 5 : 4;
  s.nd = avail - s.ew - 1;
  const int32_t want = 1 - s.code;
  if (s.nd > want)
    s.nd = want;
  else if (s.nd < want)
    s.status = VF_WARN;
  bool give_up = s.nd < 1;
  if (!give_up && round_mantissa(s, s.nd) && s.e == 100) {
    ++s.ew;
    give_up = --s.nd < 1;
  }
  // The compact layout writes its own exponent style.
  if (give_up) s.code = kCodeBest;
}

// Too narrow for a point: the mantissa becomes an integer of nd digits and
// the exponent absorbs the shift, taking whichever exponent width leaves
// the most digits.  False when not one digit fits.
bool use_integer_mantissa(SciLayout &s, int32_t avail) {
  s.integer_mantissa = true;
  s.e -= s.nd;
  s.nd = avail - s.ew;
  const int32_t grown = exp_width(s.e);
  if (grown > s.ew) {
    --s.nd;
    ++s.e;
    s.ew = exp_width(s.e);
  } else {
    s.ew = grown;
  }
  if (exp_width(s.e - 1) < s.ew) {
    ++s.nd;
    --s.e;
    --s.ew;
  }
  return s.nd >= 1;
}

// The best layout: every column not taken by the exponent holds a mantissa
// digit.  False when nothing fits.
bool plan_best_layout(SciLayout &s, int32_t avail) {
  s.ew = exp_width(s.e);
  s.nd = avail - s.ew - 1;
  if (s.nd < 0) return false;
  if (s.nd < 3 && !use_integer_mantissa(s, avail)) return false;
  if (round_mantissa(s, s.nd)) {
    // The carry may change the exponent's width by one column.
    const int32_t now = exp_width(s.e);
    if (now > s.ew) {
      ++s.ew;
      --s.nd;
      if (s.integer_mantissa) ++s.e;
    } else if (now < s.ew) {
      --s.ew;
      ++s.nd;
      if (s.integer_mantissa) --s.e;
    }
    if (s.nd < 1) return false;
  }
  return true;
}

// The mantissa digits: the value's first 14, '0' beyond.  The best layout
// then drops trailing zeros (an integer mantissa moves them into the
// exponent).  False when no digit is left.
bool take_mantissa_digits(SciLayout &s, char *digits) {
  const int32_t exact = s.nd < kMantissaDigits ? s.nd : kMantissaDigits;
  const int32_t sig = write_fraction_digits(digits, exact, s.m);
  if (s.nd > exact)
    std::memset(digits + exact, '0', static_cast<std::size_t>(s.nd - exact));
  if (s.code < 0) return true;
  if (s.integer_mantissa) s.e = s.e - sig + s.nd;
  if (sig == 1) {
    s.integer_mantissa = true;
    s.nd = 1;
  } else if (sig > 1) {
    s.nd = sig;
  }
  return s.nd >= 1;
}

// Optional '-', the mantissa with its point, 'E', and the exponent: signed
// with '+' or '-' for codes below 33, else only a '-'; the thousands and
// hundreds digits when not zero, then the tens and units digits, or the
// units digit alone in the best layout.  Returns the text's length.
int32_t compose(const SciLayout &s, const char *digits, bool negative,
                char *text) {
  int32_t len = 0;
  if (negative) text[len++] = '-';
  text[len++] = digits[0];
  if (!s.integer_mantissa) text[len++] = '.';
  std::memcpy(text + len, digits + 1, static_cast<std::size_t>(s.nd - 1));
  len += s.nd - 1;
  text[len++] = 'E';
  const int32_t a = s.e < 0 ? -s.e : s.e;
  if (s.code < 33)
    text[len++] = s.e < 0 ? '-' : '+';
  else if (s.e < 0)
    text[len++] = '-';
  if (a >= 1000) text[len++] = static_cast<char>('0' + a / 1000);
  if (a >= 100) text[len++] = static_cast<char>('0' + a / 100 % 10);
  if (s.code >= 0 && a < 10) {
    text[len++] = static_cast<char>('0' + a);
  } else {
    text[len++] = static_cast<char>('0' + a / 10 % 10);
    text[len++] = static_cast<char>('0' + a % 10);
  }
  return len;
}

} // namespace

int32_t write_scientific(const SciRecord &rec, int32_t avail, int32_t code,
                         char *out) {
  if (avail < 0 || avail > 2 * kMaxFixedWidth) return VF_NO_FIT;
  SciLayout s{};
  s.code = code;
  normalise(rec, s);
  if (s.code < 0) plan_e_layout(s, avail);
  if (s.code >= 0 && !plan_best_layout(s, avail)) return VF_NO_FIT;
  char digits[72];
  if (!take_mantissa_digits(s, digits)) return VF_NO_FIT;
  char text[80];
  const int32_t len = compose(s, digits, rec.negative != 0, text);
  const int32_t end = avail + (rec.negative ? 1 : 0);
  if (len > end) return VF_NO_FIT;
  std::memcpy(out + end - len, text, static_cast<std::size_t>(len));
  return s.status;
}

} // namespace valfmt
