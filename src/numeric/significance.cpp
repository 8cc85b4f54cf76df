// The significance rule of the D format: how many decimals show a value
// with s significant digits in w columns.  The field starts with
// s - 1 + (w - 1 - s) / 2 decimals; while the value's integer digits do not
// fit left of them, decimals move into integer room.
#include <cmath>

#include "core/missing.h"
#include "numeric/fixed_parts.h"

namespace valfmt {
namespace {

constexpr int32_t kDefaultSignificant = 3;
// Added to log10 so that exact powers of ten count their own digit.
constexpr double kLogTolerance = 1e-12;

// Moves decimals into integer room until x (with lg + 1 integer digits)
// fits: x may use the last integer column only while it stays half a unit
// of the last decimal below the next power of ten.  Each step moves at
// least one decimal, so the loop ends within w rounds.
int32_t settle_decimals(double x, int32_t lg, int32_t s, int32_t dec,
                        int32_t room) {
  for (;;) {
    if (lg < room - 1) return dec;
    if (lg == room - 1 && x < power_of_ten(room) - 0.5 * power_of_ten(-dec))
      return dec;
    const int32_t step = s > room ? dec - (s - room) : dec;
    if (step <= 0) return 0;
    room += step;
    dec -= step;
    if (dec <= 0) return 0;
  }
}

} // namespace

int32_t significance_decimals(int32_t w, int32_t s, double v) {
  if (is_missing(v) || v == 0 || std::isnan(v)) return 0;
  if (s <= 0) s = kDefaultSignificant;
  const int32_t sci = -(w - 7 > 1 ? w - 7 : 1);
  if (std::isinf(v)) return sci;
  const int32_t m = w - 2;
  const int32_t t = w - 1 - s;
  if (t < 2) return sci;
  const double x = std::fabs(v);
  const int32_t dec = s - 1 + t / 2;
  const auto lg =
      static_cast<int32_t>(std::floor(std::log10(x) + kLogTolerance));
  if (lg < 0) {
    // Below 1: the leading zeros of the fraction come on top.
    const int32_t need = s - lg - 1;
    if (need <= dec) return dec;
    return need <= w - 3 ? need : sci;
  }
  if (lg > m) return sci;
  if (dec == 0) return 0;
  return settle_decimals(x, lg, s, dec, m - dec);
}

} // namespace valfmt
