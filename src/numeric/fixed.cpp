// The fixed renderer zfmt and the formats built directly on it: F, BEST,
// BESTX, E, D and Z.
//
// zfmt reads the call block's d as a decimals code:
//   0..32     that many decimals (F)
//   99        best: decimals chosen from the width, trailing zeros dropped,
//             scientific notation when the fixed layout cannot hold x
//   98        the D significance rule with 3 significant digits
//   80..89    the D rule with d - 80 significant digits (0 means 3)
//   -999      the E format
//   other < 0 scientific notation with a mantissa of 1 - d digits
//   other >32 the best path, without the integer shortcut and with status 2
//             for a scientific fallback
#include <cmath>
#include <cstring>

#include "registry/functions.h"
#include "core/call.h"
#include "core/missing.h"
#include "numeric/fixed.h"

namespace valfmt {
namespace {

// Half a unit of the i-th decimal place, the rounding increment of the
// fixed layout.
constexpr double zpowten[32] = {
    5e-1,  5e-2,  5e-3,  5e-4,  5e-5,  5e-6,  5e-7,  5e-8,  5e-9,  5e-10, 5e-11,
    5e-12, 5e-13, 5e-14, 5e-15, 5e-16, 5e-17, 5e-18, 5e-19, 5e-20, 5e-21, 5e-22,
    5e-23, 5e-24, 5e-25, 5e-26, 5e-27, 5e-28, 5e-29, 5e-30, 5e-31, 5e-32};

// The table stops at 31 places; 32 decimals (F32.32, Z32.32) round at the
// next half unit.
inline double half_unit(int32_t ndec) {
  return ndec < 32 ? zpowten[ndec] : 5e-33;
}

constexpr double kTwo53 = 9007199254740992.0;
// One unit in the last place above 1: lifts values that sit a rounding
// error below a decimal boundary.
constexpr double kFixedFuzz = 1.0000000000000002;
constexpr double kSciFuzz = 1.0000000000000018;
// One unit above the double nearest 0.1.
constexpr double kTenth = 0.10000000000000002;
constexpr double kBestFixedMin = 1e-5;

constexpr int32_t kCodeBest = 99;
constexpr int32_t kCodeDRule = 98;
constexpr int32_t kCodeE = -999;

// Any code above 99 and any negative one below -64 (other than -999) acts
// like 100 and -64 respectively; clamping keeps the arithmetic on codes
// free of overflow.
inline int32_t clamp_code(int32_t code) {
  if (code > 100) return 100;
  if (code < -64 && code != kCodeE) return -64;
  return code;
}

// Columns taken by 'E', the exponent's '-' and its digits in the compact
// layout.
inline int32_t exp_width(int32_t e) {
  const int32_t a = e < 0 ? -e : e;
  return 1 + (e < 0 ? 1 : 0) + (a < 10 ? 1 : a < 100 ? 2 : a < 1000 ? 3 : 4);
}

// Rounds the mantissa m (0.1 <= m < 1) at nd digits.  True on a carry into
// the next power of ten (m renormalised, e raised).
inline bool round_mantissa(double &m, int32_t &e, int32_t nd) {
  if (nd < 15) m += 0.5 / zpow10(nd);
  m *= kSciFuzz;
  if (m >= 1.0) {
    m *= kTenth;
    ++e;
    return true;
  }
  return false;
}

// x rounded at ndec decimals with the fuzz factor; once ndec decimals would
// reach past the 15th significant digit (digits counts the integer digits),
// only the fuzz is applied.
inline double round_fixed(double x, int32_t ndec, int32_t digits) {
  if (ndec <= 15 - digits) return (half_unit(ndec) + x) * kFixedFuzz;
  return x * kFixedFuzz;
}

// Renders the finite or non-finite, non-missing v into exactly w columns
// (1 <= w <= 32) at out with decimals code code.
int32_t render(char *out, int32_t w, int32_t code, double v) {
  const auto fill = [&](char c, int32_t n) {
    std::memset(out, c, static_cast<std::size_t>(n));
  };
  if (std::isnan(v)) {
    fill('*', w);
    return VF_ERR_NOTHING_TO_READ;
  }
  if (std::isinf(v)) {
    fill('*', w);
    return VF_ERR_WIDTH;
  }
  code = clamp_code(code);

  bool negative = v < 0; // -0.0 is not negative
  const double x = std::fabs(v);
  int32_t avail = negative ? w - 1 : w;
  const bool integral = zisint(x);

  // Integers up to 2^53 in narrow fields need no floating digit work.
  if (integral && (code == 0 || code == kCodeBest) && x <= kTwo53 && w <= 16 &&
      write_int_field(static_cast<int64_t>(v), out, w) == VF_OK)
    return VF_OK;

  const bool e_layout = code < 0;
  if (code == kCodeDRule) {
    code = zfmtd(w, 3, v);
  } else if (code >= 80 && code <= 89) {
    code = zfmtd(w, code - 80, v);
  } else if (code == kCodeE) {
    code = w > 7 ? 7 - w : -1;
  }
  const bool best = code > 32;

  fill(' ', w);
  SciRecord rec{x, 0, negative ? 1 : 0};
  zexpb2(x, &rec.e2);

  if (e_layout && avail >= 5) return fmte(rec, avail, code, out);

  int32_t ndig = rec.e2 * 77 / 256; // integer digits of x, or one less
  int32_t ndec = code >= 0 && code <= 32 ? code
                 : code < 0              ? 99
                 : x != 0                ? code
                                         : 0;
  int32_t status = VF_OK;
  bool scientific = false;

  if (ndec > 32 && ndig <= 0) {
    // Small magnitudes: fixed with decimals from the width, unless the
    // field is wide enough for scientific notation and x too small to show.
    if (avail > 4 && (x < kBestFixedMin || ndig + avail < 3)) {
      scientific = true;
    } else {
      ndec = avail - 2 < 2 ? avail - 1 : avail - 2;
      ndig = 0;
    }
  }
  if (!scientific) {
    if (ndig > avail || ndig == 32) {
      scientific = true;
    } else if (avail == 0) {
      // w = 1 and negative: no room for the sign.
      if (x >= 0.5) {
        scientific = true;
      } else {
        // Shown as "0": asked decimals are lost as in any narrow field.
        if (ndec > 0 && ndec <= 32) status = VF_WARN;
        negative = false;
        avail = 1;
        ndec = 0;
      }
    }
  }

  char digits[48];
  int32_t n = 0;
  int32_t intw = 0;
  bool reduced = false;
  double y = x;
  if (!scientific) {
    const auto int_room = [&](int32_t nd) {
      return avail - nd - (nd > 0 ? 1 : 0);
    };
    intw = int_room(ndec);
    if (intw < ndig) {
      if (!best) status = VF_WARN;
      ndec = ndig == avail ? 0 : avail - ndig - 1;
      intw = int_room(ndec);
    }
    if (integral) {
      if (best) {
        intw = avail;
        ndec = 0;
      }
    } else {
      y = round_fixed(x, ndec, ndig);
    }
    n = vzfmif(digits, static_cast<int32_t>(sizeof digits), y);
    while (n > intw) {
      if (ndec == 0 || reduced) {
        scientific = true;
        break;
      }
      --ndec;
      reduced = true;
      intw = int_room(ndec);
      if (!best) status = VF_WARN;
      if (!integral) {
        y = round_fixed(x, ndec, n);
        n = vzfmif(digits, static_cast<int32_t>(sizeof digits), y);
      }
    }
  }

  if (scientific) {
    if (fmte(rec, avail, kCodeBest, out) < 0) {
      fill('*', w);
      return VF_ERR_WIDTH;
    }
    return code == kCodeBest ? VF_OK : VF_WARN;
  }

  // Fixed layout: integer digits end at column intw - 1 of the avail
  // columns, shifted one right past a sign column.
  if (n == 0 && intw > 0) {
    digits[0] = '0';
    n = 1;
  }
  const int32_t off = negative ? 1 : 0;
  std::memcpy(out + off + intw - n, digits, static_cast<std::size_t>(n));
  if (negative) out[intw - n] = '-';
  int32_t sig = 0;
  if (ndec > 0) {
    char *p = out + off + intw;
    *p++ = '.';
    if (integral || n >= 15) {
      std::memset(p, '0', static_cast<std::size_t>(ndec));
    } else {
      // At most 15 significant digits come from the value; the rest of
      // the field is '0'.
      const int32_t lead = ndig < 0 ? 1 - ndig : 0;
      if (ndec + n - lead <= 15) {
        wzfmff(ndec, &sig, p, y);
      } else {
        const int32_t nf = lead - n + 15;
        wzfmff(nf, &sig, p, y);
        std::memset(p + nf, '0', static_cast<std::size_t>(ndec - nf));
      }
    }
  }

  // Best codes drop trailing zeros of a non-integer, moving the field
  // right.
  if (best && !integral && sig < ndec) {
    const bool int_digit = n > 0;
    int32_t shift;
    if (sig > 0) {
      shift = ndec - sig;
    } else if (int_digit) {
      shift = ndec + 1;
    } else {
      out[0] = '0';
      shift = w - 1;
    }
    std::memmove(out + shift, out, static_cast<std::size_t>(w - shift));
    fill(' ', shift);
    if (!reduced && !int_digit && sig > 0) {
      if (negative) {
        out[shift - 1] = '-';
        out[shift] = '0';
      } else {
        out[shift - 1] = '0';
      }
    }
  }
  return status;
}

// True when the renderer refuses the field whatever the value.
inline bool field_unusable(const fmtcall *c) {
  return c->w < 1 || c->w > kMaxFixedWidth || out_capacity(c) < c->w;
}

inline bool value_missing(const fmtcall *c) {
  if (c->value == nullptr) return false;
  double v;
  std::memcpy(&v, c->value, sizeof v);
  return is_missing(v);
}

} // namespace

int32_t fmte(const SciRecord &rec, int32_t avail, int32_t d, char *out) {
  if (avail < 0 || avail > 2 * kMaxFixedWidth) return VF_NO_FIT;
  // Normalise: x = m * 10^(e + 1) with 0.1 <= m < 1.
  const double x = rec.x;
  double m;
  int32_t e;
  if (rec.e2 < 0) {
    const int32_t k = (-rec.e2 * 77 + 255) >> 8;
    // Subnormals need more than the largest power: scale in two steps so
    // that their digits come out normalised too.
    m = k <= 308 ? x * zpow10(k) : x * zpow10(308) * zpow10(k - 308);
    e = -k;
    if (m >= 1.0)
      m *= kTenth;
    else
      --e;
  } else {
    const int32_t t = (rec.e2 * 77) >> 8;
    m = t >= 308 ? x / zpow10(t) / 10.0 : x / zpow10(t + 1);
    e = t;
    if (m < kTenth && x != zpow10(t)) {
      if (m == 0) {
        e = 0;
      } else {
        m *= 10.0;
        e = t - 1;
      }
    }
  }

  int32_t status = VF_OK;
  int32_t nd = 0; // mantissa digits
  int32_t ew = 0; // exponent columns
  bool integer_mantissa = false;
  bool best = d >= 0;
  if (!best) {
    ew = (e > 99 || e < -99) ? 5 : 4;
    nd = avail - ew - 1;
    const int32_t want = 1 - d;
    if (nd > want)
      nd = want;
    else if (nd < want)
      status = VF_WARN;
    if (nd >= 1) {
      if (round_mantissa(m, e, nd) && e == 100) {
        ++ew;
        if (--nd < 1) best = true;
      }
    } else {
      best = true;
    }
    // The compact layout writes its own exponent style.
    if (best) d = kCodeBest;
  }
  if (best) {
    ew = exp_width(e);
    nd = avail - ew - 1;
    if (nd < 0) return VF_NO_FIT;
    if (nd < 3) {
      // Too narrow for a point: the mantissa becomes an integer.
      integer_mantissa = true;
      e -= nd;
      nd = avail - ew;
      const int32_t grown = exp_width(e);
      if (grown > ew) {
        --nd;
        ++e;
        ew = exp_width(e);
      } else {
        ew = grown;
      }
      if (exp_width(e - 1) < ew) {
        ++nd;
        --e;
        --ew;
      }
      if (nd < 1) return VF_NO_FIT;
    }
    if (round_mantissa(m, e, nd)) {
      const int32_t now = exp_width(e);
      if (now > ew) {
        ++ew;
        --nd;
        if (integer_mantissa) ++e;
      } else if (now < ew) {
        --ew;
        ++nd;
        if (integer_mantissa) --e;
      }
      if (nd < 1) return VF_NO_FIT;
    }
  }

  char digits[72];
  int32_t sig = 0;
  const int32_t exact = nd < 14 ? nd : 14;
  wzfmff(exact, &sig, digits, m);
  if (nd > exact)
    std::memset(digits + exact, '0', static_cast<std::size_t>(nd - exact));

  if (best) {
    if (integer_mantissa) e = e - sig + nd;
    if (sig == 1) {
      integer_mantissa = true;
      nd = 1;
    } else if (sig > 1) {
      nd = sig;
    }
    if (nd < 1) return VF_NO_FIT;
  }

  char text[80];
  int32_t len = 0;
  if (rec.negative) text[len++] = '-';
  text[len++] = digits[0];
  if (!integer_mantissa) text[len++] = '.';
  std::memcpy(text + len, digits + 1, static_cast<std::size_t>(nd - 1));
  len += nd - 1;
  text[len++] = 'E';
  const int32_t a = e < 0 ? -e : e;
  if (d < 33)
    text[len++] = e < 0 ? '-' : '+';
  else if (e < 0)
    text[len++] = '-';
  if (a >= 1000) text[len++] = static_cast<char>('0' + a / 1000);
  if (a >= 100) text[len++] = static_cast<char>('0' + a / 100 % 10);
  if (d >= 0 && a < 10) {
    text[len++] = static_cast<char>('0' + a);
  } else {
    text[len++] = static_cast<char>('0' + a / 10 % 10);
    text[len++] = static_cast<char>('0' + a % 10);
  }
  const int32_t end = avail + (rec.negative ? 1 : 0);
  if (len > end) return VF_NO_FIT;
  std::memcpy(out + end - len, text, static_cast<std::size_t>(len));
  return status;
}

int32_t zfmtd(int32_t w, int32_t s, double v) {
  if (is_missing(v) || v == 0 || std::isnan(v)) return 0;
  if (s <= 0) s = 3;
  const int32_t sci = -(w - 7 > 1 ? w - 7 : 1);
  if (std::isinf(v)) return sci;
  const int32_t m = w - 2;
  const int32_t t = w - 1 - s;
  if (t < 2) return sci;
  const double x = std::fabs(v);
  int32_t dec = s - 1 + t / 2;
  int32_t room = m - dec;
  const auto lg = static_cast<int32_t>(std::floor(std::log10(x) + 1e-12));
  if (lg < 0) {
    const int32_t need = s - lg - 1;
    if (need <= dec) return dec;
    return need <= w - 3 ? need : sci;
  }
  if (lg > m) return sci;
  if (dec == 0) return 0;
  // Move decimals into integer room until x fits.  Each step moves at
  // least one decimal, so the loop ends within w rounds.
  for (;;) {
    if (lg < room - 1) return dec;
    if (lg == room - 1 && x < zpow10(room) - 0.5 * zpow10(-dec)) return dec;
    const int32_t step = s > room ? dec - (s - room) : dec;
    if (step <= 0) return 0;
    room += step;
    dec -= step;
    if (dec <= 0) return 0;
  }
}

} // namespace valfmt

extern "C" {

VF_API int32_t zfmt(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const int32_t w = call->w;
  if (w < 1) {
    call->outlen = 0;
    return VF_ERR_WIDTH;
  }
  char *out = static_cast<char *>(call->out);
  const int32_t cap = valfmt::out_capacity(call);
  if (w > valfmt::kMaxFixedWidth) {
    const int32_t n =
        cap < valfmt::kMaxFixedWidth ? cap : valfmt::kMaxFixedWidth;
    if (n > 0) std::memset(out, '*', static_cast<std::size_t>(n));
    call->outlen = n;
    return VF_ERR_WIDTH;
  }
  if (cap < w) {
    // A number cut to the buffer would read as a different number.
    if (cap > 0) std::memset(out, '*', static_cast<std::size_t>(cap));
    call->outlen = cap;
    return VF_ERR_OUTSIZE;
  }
  call->outlen = w;
  if (call->value == nullptr) {
    std::memset(out, '*', static_cast<std::size_t>(w));
    return VF_ERR_BAD_CALL;
  }
  double v;
  std::memcpy(&v, call->value, sizeof v);
  if (valfmt::is_missing(v)) {
    // The missing character goes under the last decimal place, or in the
    // last column for codes and for decimals the field cannot hold.
    const int32_t d = call->d;
    call->d = d >= 0 && d < w ? d : 99;
    zfmmiss(call);
    call->d = d;
    return VF_OK;
  }
  return valfmt::render(out, w, call->d, v);
}

VF_API int32_t zfmn(fmtcall *call) {
  return zfmt(call);
}

VF_API int32_t zfmb(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const int32_t d = call->d;
  call->d = 99;
  const int32_t status = zfmt(call);
  call->d = d;
  return status;
}

VF_API int32_t zfmexp(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const int32_t d = call->d;
  call->d = -999;
  const int32_t status = zfmt(call);
  call->d = d;
  return status;
}

VF_API int32_t zfmbx(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const int32_t w = call->w;
  if (w <= valfmt::kMaxFixedWidth) return zfmn(call);
  call->w = valfmt::kMaxFixedWidth;
  const int32_t status = zfmn(call);
  call->w = w;
  const int32_t cap = valfmt::out_capacity(call);
  const int32_t end = w < cap ? w : cap;
  if (end > valfmt::kMaxFixedWidth)
    std::memset(static_cast<char *>(call->out) + valfmt::kMaxFixedWidth, ' ',
                static_cast<std::size_t>(end - valfmt::kMaxFixedWidth));
  return status;
}

VF_API int32_t zfmd(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (valfmt::field_unusable(call)) return zfmt(call);
  const int32_t d = call->d;
  if (valfmt::value_missing(call)) {
    call->d = 0;
    zfmmiss(call);
    call->d = d;
    return VF_OK;
  }
  // The field fits the buffer here; the renderer overwrites this preset.
  const int32_t n = call->w;
  call->outlen = n;
  char *out = static_cast<char *>(call->out);
  std::memset(out, ' ', static_cast<std::size_t>(n));
  out[n - 1] = '.';
  // d + 80 selects the significance rule for d < 10 (98 and 99 become
  // codes of the best path); codes beyond 99 all act alike.
  const int64_t code = static_cast<int64_t>(d) + 80;
  const uint32_t options = call->options;
  call->d = code > 100 ? 100 : static_cast<int32_t>(code);
  call->options = options | VF_OPT_D_INNER;
  const int32_t status = zfmt(call);
  call->d = d;
  call->options = options;
  return status;
}

VF_API int32_t zfmz(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (valfmt::field_unusable(call)) return zfmt(call);
  if (valfmt::value_missing(call)) return zfmmiss(call);
  const int32_t status = zfmt(call);
  if (status < 0) return status;
  double v;
  std::memcpy(&v, call->value, sizeof v);
  char *out = static_cast<char *>(call->out);
  const int32_t w = call->outlen;
  bool blank = false;
  bool other = false;
  for (int32_t i = 0; i < w; ++i) {
    if (out[i] == ' ')
      blank = true;
    else if (out[i] != '.')
      other = true;
  }
  if (!blank || !other) return status;
  for (int32_t i = 0; i < w; ++i) {
    if (out[i] == ' ') out[i] = '0';
  }
  if (v < 0) {
    // The sign moves to column 0; an exponent's '-' stays.
    for (int32_t i = 0; i < w; ++i) {
      if (out[i] == '-') {
        out[i] = '0';
        break;
      }
    }
    out[0] = '-';
  }
  return VF_OK;
}

} // extern "C"
