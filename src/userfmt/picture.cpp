// Picture templates: numeric pictures (digit selectors, fill, prefix) and
// date, time and datetime pictures (percent directives, expanded by the
// date directive engine).
//
// Decisions taken here:
//  - The result is composed directly in the caller's w-byte field; nothing
//    is allocated whatever the widths.
//  - A number of 1e16 or more (or a NaN that is not a missing value) takes
//    the plain fixed-point fallback: 16 digit positions cannot hold it.
//  - Fixed-point fallbacks wider than the fixed renderer's widest field
//    are right-aligned in the field with blanks on the left.
//  - Pictures with more than 16 digit positions take '0' for the positions
//    beyond the 16 digits of the value.
//  - A value with more digits than the picture has digit positions (below
//    the 16-digit limit, whose fallback stays) is not cut to its last
//    digits, which would show a different number: the field is filled
//    with '*', the library's field for a value that does not fit, and
//    render_picture says so (the evaluators then return VF_NO_FIT).
//  - Date directives in a time picture and time directives in a date
//    picture produce nothing.
//  - The language text is accepted but the names are always English.
#include <cmath>

#include "datetime/date_directives.h"
#include "registry/functions.h"
#include "registry/limits.h"
#include "userfmt/userfmt.h"

namespace valfmt {
namespace {

constexpr RowLimits kFixedLimits = row_limits("F");
constexpr double kPictureLimit = 1e16;
constexpr int kPictureDigits = 16;

// 10^k for k in 0..16: the first number that needs more than k digits.
constexpr double kDigitLimit[kPictureDigits + 1] = {
    1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
    1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The plain fixed-point rendering of v with no decimals in a w-byte field.
void fixed_fallback(double v, int32_t w, char *out) {
  const int32_t ww = w < kFixedLimits.maxw ? w : kFixedLimits.maxw;
  std::memset(out, ' ', static_cast<std::size_t>(w - ww));
  fmtcall sub{};
  sub.w = ww;
  sub.d = 0;
  sub.value = &v;
  sub.out = out + (w - ww);
  sub.outsize = ww;
  zfmt(&sub);
}

// The directives' text, right-aligned in the field.
void render_date_picture(double value, int32_t w, char *out,
                         const picturelabel *l) {
  const int32_t p = l->piclen > 0 ? l->piclen : 0;
  const int32_t n = expand_date_directives(
      value, static_cast<DateKind>(l->datatype), picture_text(l), p, out, w);
  std::memmove(out + (w - n), out, static_cast<std::size_t>(n));
  std::memset(out, ' ', static_cast<std::size_t>(w - n));
}

// The w-byte field; picture position i stands at field position w - p + i.
struct PictureField {
  char *out;
  int32_t w;
  int32_t p;
  char *at(int64_t i) const {
    const int64_t f = static_cast<int64_t>(w) - p + i;
    return (f >= 0 && f < w) ? out + f : nullptr;
  }
};

// Where the digits became significant and how much of the picture shows.
struct Poured {
  bool significant = false;
  int64_t first_significant;
  int64_t used;
};

// Pours the last k of the 16 digits of n into the digit positions of the
// picture; before significance every position shows the fill character.
Poured pour_digits(const picturelabel *l, double n, const PictureField &f) {
  const char *text = picture_text(l);
  const char fill = static_cast<char>(l->fill);
  char digits[kPictureDigits + 1];
  auto u = static_cast<uint64_t>(n);
  for (int i = kPictureDigits - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + u % 10);
    u /= 10;
  }
  Poured r;
  r.first_significant = f.p;
  int64_t first_nonblank = -1;
  int64_t di = kPictureDigits - static_cast<int64_t>(l->ndigits);
  for (int32_t i = 0; i < f.p; ++i) {
    const char pc = text[i];
    char ch;
    if (is_digit(pc)) {
      const char dch = (di >= 0 && di < kPictureDigits) ? digits[di] : '0';
      ++di;
      if (!r.significant && (dch != '0' || pc != '0')) {
        r.significant = true;
        r.first_significant = i;
      }
      ch = r.significant ? dch : fill;
    } else {
      ch = r.significant ? pc : fill;
    }
    if (char *o = f.at(i)) *o = ch;
    if (ch != ' ' && first_nonblank < 0) first_nonblank = i;
  }
  r.used = first_nonblank >= 0 ? f.p - first_nonblank : f.p;
  return r;
}

// The prefix goes right before the first significant position; each
// character left of the picture or over a blank extends the used length.
void put_prefix(const picturelabel *l, const PictureField &f, Poured &r) {
  if (l->prefixlen <= 0 || (!r.significant && l->fill == ' ')) return;
  const char *prefix = picture_text(l) + l->prefixoff;
  for (int32_t j = 0; j < l->prefixlen; ++j) {
    const int64_t pos = r.first_significant - 1 - j;
    char *o = f.at(pos);
    if (pos < 0 || (o != nullptr && *o == ' ')) ++r.used;
    if (o != nullptr) *o = prefix[l->prefixlen - 1 - j];
  }
}

enum class Digits { kPoured, kFallback, kTooMany };

// The digits of a numeric picture, or the fixed-point fallback, or
// nothing when the picture has too few digit positions for the value.
Digits render_digits(double value, const picturelabel *l, uint8_t round,
                     const PictureField &f, int64_t *used) {
  if (is_missing(value)) {
    fixed_fallback(value, f.w, f.out);
    return Digits::kFallback;
  }
  const double mult = picture_mult(l);
  const double v = mult != 0 ? value * mult : value;
  const double a = std::fabs(v) + 1e-07;
  double n = std::floor(a);
  if (round && a - n >= 0.5) n += 1;
  if (!(n < kPictureLimit)) {
    fixed_fallback(a, f.w, f.out);
    return Digits::kFallback;
  }
  if (l->ndigits > 0 && l->ndigits < kPictureDigits &&
      n >= kDigitLimit[l->ndigits])
    return Digits::kTooMany;
  Poured r = pour_digits(l, n, f);
  put_prefix(l, f, r);
  *used = r.used;
  return Digits::kPoured;
}

} // namespace

bool render_picture(double value, int32_t w, char *out, const picturelabel *l,
                    uint8_t round) {
  if (w <= 0 || out == nullptr || l == nullptr) return true;
  if (l->datatype != 0) {
    render_date_picture(value, w, out, l);
    return true;
  }
  const int32_t p = l->piclen > 0 ? l->piclen : 0;
  const PictureField f{out, w, p};
  std::memset(out, ' ', static_cast<std::size_t>(w));
  int64_t used = 0;
  if (l->noedit || l->ndigits == 0) {
    // The picture text itself: its first min(p, w) characters.
    const int32_t m = p < w ? p : w;
    std::memcpy(out + (w - m), picture_text(l), static_cast<std::size_t>(m));
    used = m;
  } else if (const Digits got = render_digits(value, l, round, f, &used);
             got != Digits::kPoured) {
    if (got == Digits::kFallback) return true;
    std::memset(out, '*', static_cast<std::size_t>(w));
    return false;
  }
  // One fill character left of the used part in a wider field.
  const int64_t u = used > p ? used : p;
  if (w > u) out[w - u - 1] = static_cast<char>(l->fill);
  return true;
}

} // namespace valfmt
