// The standard numeric reader wzifmn (@F, @E), on which every other
// text-to-number informat builds.
//
// Conversion method.  wzifmn does not perform a correctly rounded decimal
// conversion.  It gathers the significant digits in 32-bit chunks of nine
// digit positions and folds each chunk into a double accumulator
// (accumulator * 10^9 + chunk; the last chunk of k positions as
// accumulator * 10^k + chunk), then applies the decimal scale with one
// multiplication or division by an exactly rounded power of ten (two
// divisions below 10^-308).  For texts of at most 15 significant digits
// the accumulator is an exact integer below 2^53, so the folding agrees bit
// for bit with any exact gathering of the digits, and when the scale also
// lies within 10^22 the result is the correctly rounded value.  Longer
// texts and larger scales may differ from a correctly rounded conversion
// in the last bit; the folding is kept so that every informat built on
// wzifmn reads a given text to the same double everywhere.
//
// Limits: decimals outside 0..31 (98 and 99 count as 0) are refused with
// VF_ERR_WD_LIMITS and leave the result unchanged; a result that overflows
// to infinity (a huge mantissa or 1234E306) is out of range like one that
// underflows to zero.  The reader makes one pass over the caller's text in
// place and allocates nothing.
#include "registry/functions.h"
#include "core/pow10.h"
#include "informats/informats.h"
#include "informats/reader_support.h"

namespace valfmt {
namespace {

// Multiplier for a digit and its pending zeros inside a nine-digit chunk.
constexpr uint32_t kChunkScale[11] = {1,         10,         100,     1000,
                                      10000,     100000,     1000000, 10000000,
                                      100000000, 1000000000, 0};
constexpr int32_t kChunkDigits = 9;

constexpr int32_t kMaxDecimals = row_limits("@F").maxd;
constexpr int32_t kMaxScale = 308;
// Exponent digits beyond this magnitude cannot change the outcome.
constexpr int32_t kExponentCap = 1000000;

// The digits of a text gathered so far.
struct DigitFold {
  double acc = 0.0;     // folded chunks
  uint32_t chunk = 0;   // current chunk
  int32_t used = 0;     // digit positions in the current chunk
  int32_t sig = 0;      // significant digit positions folded so far
  int32_t zeros = 0;    // zeros seen since the last nonzero digit
  int32_t point = -1;   // digit positions before the point, if any
  int32_t exponent = 0; // the value of an exponent part
};

inline int32_t invalid(void *out) {
  store_missing(out);
  return VF_ERR_INVALID_DATA;
}

// Folds a nonzero digit together with the zeros pending before it.
inline void fold_digit(DigitFold &f, uint32_t digit) {
  const int32_t need = f.zeros + 1;
  f.sig += need;
  if (f.used + need <= kChunkDigits) {
    f.chunk = f.chunk * kChunkScale[need] + digit;
    f.used += need;
  } else {
    // Close the chunk with as many of the zeros as it has room for, shift
    // in whole chunks of zeros, then start a new chunk.
    const int32_t room = kChunkDigits - f.used;
    f.acc = f.acc * 1e9 + static_cast<double>(f.chunk * kChunkScale[room]);
    int32_t rest = f.zeros - room;
    for (; rest >= kChunkDigits; rest -= kChunkDigits) f.acc *= 1e9;
    f.chunk = digit;
    f.used = rest + 1;
  }
  f.zeros = 0;
}

// The exponent part [q, e) after 'E': an optional sign, then at least one
// digit and nothing else.  False when malformed.
bool read_exponent(const unsigned char *q, const unsigned char *e,
                   int32_t &exponent) {
  bool negative = false;
  if (q < e && (*q == '+' || *q == '-')) {
    negative = *q == '-';
    ++q;
  }
  if (q == e) return false;
  for (; q < e; ++q) {
    if (!is_digit(*q)) return false;
    if (exponent < kExponentCap) exponent = exponent * 10 + (*q - '0');
  }
  if (negative) exponent = -exponent;
  return true;
}

// Digits with at most one point, then an optional exponent.  False on any
// other character.
bool scan_digits(const unsigned char *p, const unsigned char *e, DigitFold &f) {
  for (; p < e; ++p) {
    const unsigned char c = *p;
    const uint32_t digit = static_cast<uint32_t>(c) - '0';
    if (digit == 0) {
      ++f.zeros;
    } else if (digit <= 9) {
      fold_digit(f, digit);
    } else if (c == '.') {
      if (f.point >= 0) return false;
      f.point = f.sig + f.zeros;
    } else if ((c | 0x20) == 'e' || (c | 0x20) == 'd') {
      return read_exponent(p + 1, e, f.exponent);
    } else {
      return false;
    }
  }
  return true;
}

// A lone code character, a lone point, or a point followed by one code
// character: stores that missing value and returns true.
bool read_notation(const unsigned char *p, const unsigned char *e, void *out) {
  int code = -1;
  if (e - p == 1)
    code = missing_code(*p);
  else if (*p == '.' && e - p == 2)
    code = missing_code(p[1]);
  if (code < 0) return false;
  store(out, missing_value(static_cast<uint8_t>(code)));
  return true;
}

// acc scaled by 10^s with exact powers: one operation within 10^308, two
// divisions down to 10^-616, out of range beyond.
int32_t store_scaled(double acc, int64_t s, bool negative, void *out) {
  double x = acc;
  if (s > kMaxScale) {
    store_missing(out);
    return VF_WARN_RANGE;
  }
  if (s > 0) {
    x *= kPow10Pos[s];
  } else if (s < 0) {
    if (-s <= kMaxScale) {
      x /= kPow10Pos[-s];
    } else if (-s <= 2 * kMaxScale) {
      x = x / kPow10Pos[kMaxScale] / kPow10Pos[-s - kMaxScale];
    } else {
      store_missing(out);
      return VF_WARN_RANGE;
    }
  }
  return store_in_range(out, negative ? -x : x);
}

// Reads a trimmed, non-empty text [p, e): optional sign, missing-value
// notation, digits with one optional point, optional exponent.
int32_t read_trimmed(const unsigned char *p, const unsigned char *e, int32_t d,
                     void *out) {
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    if (++p == e) return invalid(out);
  }
  if (read_notation(p, e, out)) return VF_OK;
  if (!is_digit(*p) && *p != '.') return invalid(out);
  if (*p == '0')
    while (p < e - 1 && *p == '0') ++p;

  DigitFold f;
  if (!scan_digits(p, e, f)) return invalid(out);
  if (f.sig == 0) {
    store(out, 0.0);
    return VF_OK;
  }
  const double acc = f.acc * kPow10Pos[f.used] + static_cast<double>(f.chunk);
  // With a point, d gives no implied decimals.
  const int64_t s = f.point >= 0
                        ? static_cast<int64_t>(f.exponent) + f.point - f.sig
                        : static_cast<int64_t>(f.exponent) - d + f.zeros;
  return store_scaled(acc, s, negative, out);
}

inline bool is_space_or_tab(unsigned char c) {
  return c == ' ' || c == '\t';
}

} // namespace

int32_t begin_numeric(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (call->out == nullptr || call->outsize < 8) {
    call->outlen = 0;
    return VF_ERR_OUTSIZE;
  }
  call->outlen = 8;
  return VF_OK;
}

int32_t read_number(const char *text, int32_t n, int32_t d, void *out) {
  if (text == nullptr && n > 0) n = 0;
  if (n == 0) {
    store_missing(out);
    return VF_OK;
  }
  if (n < 0) {
    store_missing(out);
    return VF_ERR_WD_LIMITS;
  }
  if (d == 98 || d == 99)
    d = 0;
  else if (d < 0 || d > kMaxDecimals)
    return VF_ERR_WD_LIMITS;

  const auto *p = reinterpret_cast<const unsigned char *>(text);
  const unsigned char *e = p + n;
  while (p < e && is_space_or_tab(*p)) ++p;
  while (e > p && is_space_or_tab(e[-1])) --e;
  if (p == e) {
    store_missing(out);
    return VF_OK;
  }
  return read_trimmed(p, e, d, out);
}

} // namespace valfmt

extern "C" {

VF_API int32_t wzifmn(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  return valfmt::read_number(
      static_cast<const char *>(call->value),
      valfmt::field_length(call->w, call->valuelen, call->value), call->d,
      call->out);
}

} // extern "C"
