// The fast path of the fixed renderer for decimals codes 0..32 (F) and the
// best code (BEST): the same layout decisions as the renderer's steps, in
// the same order, with the digits taken from exact integer products
// instead of the digit generators.
//
// For a rounded value y below 2^53 the integer part is the 64-bit integer
// conversion of y, and the first k fraction digits, truncated, are
// floor(frac(y) * 10^k): with y = m * 2^-s (m the 53-bit mantissa) that is
// (m mod 2^s) * 10^k >> s, one 128-bit product for k <= 19 and s <= 120.
// Both are exactly what the generators write, so every byte agrees.
//
// Integers under the best code and without decimals take the renderer's
// integer shortcut here too.  The path gives up (returns false, having written
// nothing) wherever the renderer would take a branch it does not mirror:
// scientific notation, a decimal given up under a fixed code (status 2),
// integers that the shortcut does not take under the best code, zero with
// decimals, subnormals,
// values of 2^53 and above, NaN and infinities, and more than 19 fraction
// digits from the value.
#include <bit>
#include <cmath>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "numeric/fixed_layout.h"
#include "numeric/fixed_parts.h"

namespace valfmt {
namespace {

constexpr int32_t kMaxProductDigits = 19;
constexpr int32_t kMaxFractionShift = 120;

// Decimal digit count of 1 <= u < 2^64: the bit width times log10(2)
// gives the count or one less.
inline int32_t decimal_digits(uint64_t u) {
  const auto t = static_cast<int32_t>(
      (static_cast<uint32_t>(std::bit_width(u)) * 1233u) >> 12);
  return t + (u >= kPow10U64[t] ? 1 : 0);
}

// The integer part of 0 <= y < 2^53 and its digit count (0 for 0).
struct IntegerPart {
  uint64_t value;
  int32_t digits;
};

inline IntegerPart integer_part(double y) {
  const auto u = static_cast<uint64_t>(y);
  return {u, u == 0 ? 0 : decimal_digits(u)};
}

// The first k fraction digits of 0 <= y < 2^53 (k <= 19), truncated, as
// an integer; false when y is too small for the 128-bit product.
inline bool fraction_part(double y, int32_t k, uint64_t *digits) {
  const uint64_t bits = std::bit_cast<uint64_t>(y);
  const auto biased = static_cast<int32_t>(bits >> 52);
  if (biased == 0) return false;       // zero or subnormal
  const int32_t shift = 1075 - biased; // y = mant * 2^-shift
  if (shift <= 0) {
    *digits = 0;
    return true;
  }
  if (shift > kMaxFractionShift) return false;
  const uint64_t mant = (bits & ((1ull << 52) - 1)) | (1ull << 52);
  const uint64_t frac = shift >= 53 ? mant : mant & ((1ull << shift) - 1);
  const unsigned __int128 p =
      static_cast<unsigned __int128>(frac) * kPow10U64[k];
  *digits = static_cast<uint64_t>(p >> shift);
  return true;
}

// The decimals of the layout at p, as the renderer's decimal step writes
// them: '0' for integers and for 15 or more integer digits, else the
// value's digits up to the 15th significant one and '0' beyond.  Returns
// the count up to the last nonzero decimal, or -1 to give up.
int32_t put_decimals(const FixedLayout &f, char *p) {
  if (f.integral || f.n >= kMaxSignificant) {
    std::memset(p, '0', static_cast<std::size_t>(f.ndec));
    return 0;
  }
  const int32_t lead = f.ndig < 0 ? 1 - f.ndig : 0;
  const int32_t nf = f.ndec + f.n - lead <= kMaxSignificant
                         ? f.ndec
                         : lead - f.n + kMaxSignificant;
  if (nf > kMaxProductDigits) return -1;
  uint64_t digits = 0;
  if (nf > 0 && !fraction_part(f.y, nf, &digits)) return -1;
  write_digits_backward(p + nf, digits, nf);
  if (f.ndec > nf)
    std::memset(p + nf, '0', static_cast<std::size_t>(f.ndec - nf));
  // Only best layouts use the count.
  if (digits == 0 || !f.best) return 0;
  int32_t sig = nf;
  while (digits % 10 == 0) {
    digits /= 10;
    --sig;
  }
  return sig;
}

// The decimals and integer room of the layout (the renderer's layout
// choice and fit), with y rounded and its integer part taken.  False
// where the renderer would go on to scientific notation or to a status
// this path does not set.
bool fit_layout(FixedLayout &f, IntegerPart &ip) {
  if (f.best && f.ndig <= 0) {
    if (f.avail > 4 && (f.x < kBestFixedMin || f.ndig + f.avail < 3))
      return false;
    f.ndec = f.avail - 2 < 2 ? f.avail - 1 : f.avail - 2;
    f.ndig = 0;
  }
  if (f.ndig > f.avail || f.ndig == kMaxFixedWidth || f.avail == 0)
    return false;
  f.intw = f.int_room(f.ndec);
  if (f.intw < f.ndig) {
    if (!f.best) return false; // a decimal given up: status 2
    f.ndec = f.ndig == f.avail ? 0 : f.avail - f.ndig - 1;
    f.intw = f.int_room(f.ndec);
  }
  f.y = f.integral ? f.x : round_fixed(f.x, f.ndec, f.ndig);
  if (!(f.y < kTwo53)) return false;
  ip = integer_part(f.y);
  f.n = ip.digits;
  if (f.n <= f.intw) return true;
  // One decimal gives way, as in the renderer's fit.
  if (f.ndec == 0 || !f.best) return false;
  --f.ndec;
  f.reduced = true;
  f.intw = f.int_room(f.ndec);
  f.y = round_fixed(f.x, f.ndec, f.n);
  if (!(f.y < kTwo53)) return false;
  ip = integer_part(f.y);
  f.n = ip.digits;
  return f.n <= f.intw;
}

// w bytes from src to out, in at most two overlapping moves each way.
inline void copy_field(char *out, const char *src, int32_t w) {
  const auto n = static_cast<std::size_t>(w);
  if (n >= 16) {
    std::memcpy(out, src, 16);
    std::memcpy(out + n - 16, src + n - 16, 16);
  } else if (n >= 8) {
    std::memcpy(out, src, 8);
    std::memcpy(out + n - 8, src + n - 8, 8);
  } else {
    for (std::size_t i = 0; i < n; ++i) out[i] = src[i];
  }
}

// The trailing-zero step of best layouts on a field that has blanks in
// front of it: moving the field right by `shift` columns is reading it
// from `shift` columns earlier.  Returns where the moved field starts.
char *drop_zeros_in_place(const FixedLayout &f, int32_t sig, char *field,
                          int32_t w) {
  const bool int_digit = f.n > 0;
  int32_t shift;
  if (sig > 0) {
    shift = f.ndec - sig;
  } else if (int_digit) {
    shift = f.ndec + 1;
  } else {
    field[0] = '0';
    shift = w - 1;
  }
  char *moved = field - shift;
  if (!f.reduced && !int_digit && sig > 0) {
    if (f.negative) {
      moved[shift - 1] = '-';
      moved[shift] = '0';
    } else {
      moved[shift - 1] = '0';
    }
  }
  return moved;
}

// The renderer's integer shortcut (best code and no decimals): an integer
// below 2^53 in a field up to 16 wide is written right-aligned with '-'
// before it when it fits; otherwise the renderer goes on.
bool integer_shortcut(char *out, int32_t w, double v, int32_t *status) {
  const bool negative = v < 0;
  const auto u = static_cast<uint64_t>(negative ? -v : v);
  const int32_t n = u == 0 ? 1 : decimal_digits(u);
  const int32_t need = n + (negative ? 1 : 0);
  if (need > w) return false;
  char area[kMaxFixedWidth];
  std::memset(area, ' ', sizeof area);
  write_digits_backward(area + w, u, n);
  if (negative) area[w - n - 1] = '-';
  copy_field(out, area, w);
  *status = VF_OK;
  return true;
}

} // namespace

bool render_fixed_fast(char *out, int32_t w, int32_t code, double v,
                       int32_t *status) {
  const bool best = code == kCodeBest;
  if (!best && !(code >= 0 && code <= kMaxDecimalsCode)) return false;
  FixedLayout f;
  f.negative = v < 0; // -0.0 is not negative
  f.x = std::fabs(v); // and -0.0 becomes 0.0
  if (!(f.x < kTwo53)) return false;
  // Below 2^52 the integer conversion is exact; above, x is an integer.
  f.integral =
      f.x >= 0x1p52 || static_cast<double>(static_cast<int64_t>(f.x)) == f.x;
  if (f.integral && (best || code == 0) && w <= kShortcutWidth)
    return integer_shortcut(out, w, v, status);
  if (best && f.integral) return false;
  const auto biased = static_cast<int32_t>(std::bit_cast<uint64_t>(f.x) >> 52);
  if (biased == 0) return false; // zero and subnormals
  f.code = code;
  f.best = best;
  f.avail = f.negative ? w - 1 : w;
  f.ndig = (biased - 1022) * 77 / 256;
  f.ndec = best ? kCodeBest : code; // x is not 0 under the best code
  IntegerPart ip{};
  if (!fit_layout(f, ip)) return false;

  // The renderer's fixed layout: digits end at column intw - 1 of the
  // avail columns, past the sign column, '-' directly before them.  The
  // field sits behind a run of blanks for the trailing-zero step.
  char area[2 * kMaxFixedWidth];
  std::memset(area, ' ', sizeof area);
  char *field = area + kMaxFixedWidth;
  if (f.n == 0 && f.intw > 0) f.n = 1; // "0" (ip.value is 0)
  const int32_t off = f.negative ? 1 : 0;
  write_digits_backward(field + off + f.intw, ip.value, f.n);
  if (f.negative) field[f.intw - f.n] = '-';
  int32_t sig = 0;
  if (f.ndec > 0) {
    char *p = field + off + f.intw;
    *p++ = '.';
    sig = put_decimals(f, p);
    if (sig < 0) return false;
  }
  const char *text = field;
  if (f.best && !f.integral && sig < f.ndec)
    text = drop_zeros_in_place(f, sig, field, w);
  copy_field(out, text, w);
  *status = VF_OK;
  return true;
}

} // namespace valfmt
