// The fixed renderer: lays a double out right-aligned in w columns for a
// decimals code (see numeric/fixed.h).  The steps, in order: refuse
// non-finite values, try the integer shortcut, translate the D and E codes,
// choose between a fixed and a scientific layout, fit the integer digits
// (giving up decimals once when they do not fit), write the fixed layout,
// and for best codes drop trailing zeros.
#include <cmath>
#include <cstring>
#include <iterator>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "numeric/fixed.h"
#include "numeric/fixed_layout.h"
#include "numeric/fixed_parts.h"

namespace valfmt {
namespace {

// Whether a call may take the fast path of fixed_fast.cpp.
enum class FastPath : uint8_t { kAllowed, kNever };

// Any code above 99 and any negative one below -64 (other than -999) acts
// like 100 and -64 respectively; clamping keeps the arithmetic on codes
// free of overflow.
inline int32_t clamp_code(int32_t code) {
  if (code > 100) return 100;
  if (code < -64 && code != kCodeE) return -64;
  return code;
}

// The D and E codes become the decimals code the layout works with.
inline int32_t translate_code(int32_t code, int32_t w, double v) {
  if (code == kCodeDRule) return significance_decimals(w, 3, v);
  if (code >= kCodeDRuleBase && code <= kCodeDRuleBase + 9)
    return significance_decimals(w, code - kCodeDRuleBase, v);
  if (code == kCodeE) return w > 7 ? 7 - w : -1;
  return code;
}

// Decimals asked for: the count itself, 99 for scientific codes, and for
// best codes the code (which the width then brings down) unless x is zero.
inline int32_t requested_decimals(int32_t code, double x) {
  if (code >= 0 && code <= kMaxDecimalsCode) return code;
  if (code < 0) return kCodeBest;
  return x != 0 ? code : 0;
}

// Chooses the fixed layout's decimals from the width where the code leaves
// them open, and settles the one-column negative field.  False when the
// value needs scientific notation.
bool choose_fixed_layout(FixedLayout &f) {
  if (f.ndec > kMaxDecimalsCode && f.ndig <= 0) {
    // Small magnitudes: fixed with decimals from the width, unless the
    // field is wide enough for scientific notation and x too small to show.
    if (f.avail > 4 && (f.x < kBestFixedMin || f.ndig + f.avail < 3))
      return false;
    f.ndec = f.avail - 2 < 2 ? f.avail - 1 : f.avail - 2;
    f.ndig = 0;
  }
  if (f.ndig > f.avail || f.ndig == kMaxFixedWidth) return false;
  if (f.avail == 0) {
    // w = 1 and negative: no room for the sign.
    if (f.x >= 0.5) return false;
    // Shown as "0": asked decimals are lost as in any narrow field.
    if (f.ndec > 0 && f.ndec <= kMaxDecimalsCode) f.status = VF_WARN;
    f.negative = false;
    f.avail = 1;
    f.ndec = 0;
  }
  return true;
}

// Rounds x for the chosen decimals and generates its integer digits, giving
// up decimals (once) when they do not fit left of the point.  False when
// the value needs scientific notation.
bool fit_integer_digits(FixedLayout &f) {
  f.intw = f.int_room(f.ndec);
  if (f.intw < f.ndig) {
    if (!f.best) f.status = VF_WARN;
    f.ndec = f.ndig == f.avail ? 0 : f.avail - f.ndig - 1;
    f.intw = f.int_room(f.ndec);
  }
  f.y = f.x;
  if (f.integral) {
    if (f.best) {
      // No decimals on integers.
      f.intw = f.avail;
      f.ndec = 0;
    }
  } else {
    f.y = round_fixed(f.x, f.ndec, f.ndig);
  }
  constexpr auto kCap = static_cast<int32_t>(sizeof f.digits);
  f.n = write_integer_digits(f.digits, kCap, f.y);
  while (f.n > f.intw) {
    if (f.ndec == 0 || f.reduced) return false;
    --f.ndec;
    f.reduced = true;
    f.intw = f.int_room(f.ndec);
    if (!f.best) f.status = VF_WARN;
    if (!f.integral) {
      f.y = round_fixed(f.x, f.ndec, f.n);
      f.n = write_integer_digits(f.digits, kCap, f.y);
    }
  }
  return true;
}

// The decimals of the fixed layout at p: '0' for integers and for values
// whose 15 significant digits are all left of the point, otherwise the
// value's digits up to the 15th significant one and '0' beyond.  Returns
// the count up to the last nonzero decimal.
int32_t write_decimals(const FixedLayout &f, char *p) {
  const auto zeros = [](char *q, int32_t k) {
    std::memset(q, '0', static_cast<std::size_t>(k));
  };
  if (f.integral || f.n >= kMaxSignificant) {
    zeros(p, f.ndec);
    return 0;
  }
  const int32_t lead = f.ndig < 0 ? 1 - f.ndig : 0;
  if (f.ndec + f.n - lead <= kMaxSignificant)
    return write_fraction_digits(p, f.ndec, f.y);
  const int32_t nf = lead - f.n + kMaxSignificant;
  const int32_t sig = write_fraction_digits(p, nf, f.y);
  zeros(p + nf, f.ndec - nf);
  return sig;
}

// Writes the fixed layout into the blank field: integer digits ending at
// column intw - 1 of the avail columns, shifted one right past a sign
// column with the '-' directly before the first digit, then '.' and the
// decimals.  Returns the count up to the last nonzero decimal.
int32_t write_fixed_layout(FixedLayout &f, char *out) {
  if (f.n == 0 && f.intw > 0) {
    f.digits[0] = '0';
    f.n = 1;
  }
  const int32_t off = f.negative ? 1 : 0;
  std::memcpy(out + off + f.intw - f.n, f.digits,
              static_cast<std::size_t>(f.n));
  if (f.negative) out[f.intw - f.n] = '-';
  if (f.ndec == 0) return 0;
  char *p = out + off + f.intw;
  *p++ = '.';
  return write_decimals(f, p);
}

} // namespace

// Best codes drop the trailing zeros of a non-integer by moving the field
// right; a point left without decimals goes too, and a value with no
// integer digit gets a leading '0' when the shift makes room for it.
void drop_trailing_zeros(const FixedLayout &f, int32_t sig, char *out,
                         int32_t w) {
  const bool int_digit = f.n > 0;
  int32_t shift;
  if (sig > 0) {
    shift = f.ndec - sig;
  } else if (int_digit) {
    shift = f.ndec + 1;
  } else {
    out[0] = '0';
    shift = w - 1;
  }
  std::memmove(out + shift, out, static_cast<std::size_t>(w - shift));
  put_blanks(out, shift);
  if (!f.reduced && !int_digit && sig > 0) {
    if (f.negative) {
      out[shift - 1] = '-';
      out[shift] = '0';
    } else {
      out[shift - 1] = '0';
    }
  }
}

namespace {

// Fixed layout for a translated code; scientific notation where the fixed
// layout cannot hold the value.  out holds w blanks.
int32_t render_layout(FixedLayout &f, const SciRecord &rec, char *out,
                      int32_t w) {
  if (!choose_fixed_layout(f) || !fit_integer_digits(f)) {
    if (write_scientific(rec, f.avail, kCodeBest, out) < 0) {
      put_stars(out, w);
      return VF_ERR_WIDTH;
    }
    return f.code == kCodeBest ? VF_OK : VF_WARN;
  }
  const int32_t sig = write_fixed_layout(f, out);
  if (f.best && !f.integral && sig < f.ndec)
    drop_trailing_zeros(f, sig, out, w);
  return f.status;
}

// Renders the non-missing v into exactly w columns (1 <= w <= 32) at out
// with decimals code code.
int32_t render_value(char *out, int32_t w, int32_t code, double v,
                     FastPath fast) {
  if (fast == FastPath::kAllowed) {
    int32_t status;
    if (render_fixed_fast(out, w, code, v, &status)) return status;
  }
  if (std::isnan(v)) {
    put_stars(out, w);
    return VF_ERR_NOTHING_TO_READ;
  }
  if (std::isinf(v)) {
    put_stars(out, w);
    return VF_ERR_WIDTH;
  }
  code = clamp_code(code);
  FixedLayout f;
  f.negative = v < 0; // -0.0 is not negative
  f.x = std::fabs(v);
  f.avail = f.negative ? w - 1 : w;
  f.integral = is_integral(f.x);

  // Integers up to 2^53 in narrow fields need no floating digit work.
  if (f.integral && (code == 0 || code == kCodeBest) && f.x <= kTwo53 &&
      w <= kShortcutWidth &&
      write_int_field(static_cast<int64_t>(v), out, w) == VF_OK)
    return VF_OK;

  // The E layout is chosen by the code as given: a negative result of the
  // D rule asks for decimals from the width instead.
  const bool e_layout = code < 0;
  f.code = translate_code(code, w, v);
  f.best = f.code > kMaxDecimalsCode;
  put_blanks(out, w);
  const SciRecord rec{f.x, binary_exponent(f.x), f.negative ? 1 : 0};
  if (e_layout && f.avail >= 5)
    return write_scientific(rec, f.avail, f.code, out);

  f.ndig = rec.e2 * 77 / 256; // integer digits of x, or one less
  f.ndec = requested_decimals(f.code, f.x);
  return render_layout(f, rec, out, w);
}

} // namespace

namespace {

int32_t render_call(fmtcall *call, int32_t w, int32_t code, FastPath fast) {
  if (w < 1) {
    call->outlen = 0;
    return VF_ERR_WIDTH;
  }
  char *out = static_cast<char *>(call->out);
  const int32_t cap = out_capacity(call);
  if (w > kMaxFixedWidth) {
    const int32_t n = cap < kMaxFixedWidth ? cap : kMaxFixedWidth;
    put_stars(out, n);
    call->outlen = n;
    return VF_ERR_WIDTH;
  }
  if (cap < w) {
    // A number cut to the buffer would read as a different number.
    put_stars(out, cap);
    call->outlen = cap;
    return VF_ERR_OUTSIZE;
  }
  call->outlen = w;
  if (call->value == nullptr) {
    put_stars(out, w);
    return VF_ERR_BAD_CALL;
  }
  const double v = call_value(call);
  if (is_missing(v)) {
    // The missing character goes under the last decimal place, or in the
    // last column for codes and for decimals the field cannot hold.
    write_missing_field(call, w, code >= 0 && code < w ? code : kCodeBest);
    return VF_OK;
  }
  return render_value(out, w, code, v, fast);
}

} // namespace

int32_t render_fixed(fmtcall *call, int32_t w, int32_t code) {
  // A usable field and a value the fast path serves (never a NaN, so never
  // a missing value): the checks below would all pass and lead there.
  if (w >= 1 && w <= kMaxFixedWidth && call->value != nullptr &&
      out_capacity(call) >= w) {
    int32_t status;
    if (render_fixed_fast(static_cast<char *>(call->out), w, code,
                          call_value(call), &status)) {
      call->outlen = w;
      return status;
    }
  }
  return render_call(call, w, code, FastPath::kAllowed);
}

int32_t render_fixed_by_generators(fmtcall *call, int32_t w, int32_t code) {
  return render_call(call, w, code, FastPath::kNever);
}

} // namespace valfmt
