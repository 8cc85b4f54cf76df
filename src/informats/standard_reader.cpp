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
// Plain decimal texts whose digits form an integer below 2^53 with at most
// 22 decimals (nearly every field) are gathered in one 64-bit integer
// instead and divided once by an exact power of ten (plain_decimal.h): the
// folding of such digits is exact, so both give the same double.
//
// Limits: decimals outside 0..31 (98 and 99 count as 0) are refused with
// VF_ERR_WD_LIMITS and leave the result unchanged; a result that overflows
// to infinity (a huge mantissa or 1234E306) is out of range like one that
// underflows to zero.  The reader makes one pass over the caller's text in
// place and allocates nothing.
#include <climits>

#include "registry/functions.h"
#include "core/pow10.h"
#include "informats/informats.h"
#include "informats/plain_decimal.h"
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

// The digits of a text, folded: the integer they form (from the first to
// the last nonzero digit) is acc * 10^used + chunk.
struct DigitFold {
  double acc;       // folded chunks
  uint32_t chunk;   // the last chunk
  int32_t used;     // digit positions in the last chunk
  int32_t sig;      // significant digit positions
  int32_t zeros;    // zeros after the last nonzero digit
  int32_t point;    // digit positions before the point, or -1
  int32_t exponent; // the value of an exponent part
};

inline int32_t invalid(void *out) {
  store_missing(out);
  return VF_ERR_INVALID_DATA;
}

// The value of the exponent part [q, e) after 'E': an optional sign, then
// at least one digit and nothing else.  kBadExponent when malformed.
constexpr int32_t kBadExponent = INT32_MIN;
int32_t read_exponent(const unsigned char *q, const unsigned char *e) {
  bool negative = false;
  if (q < e && (*q == '+' || *q == '-')) {
    negative = *q == '-';
    ++q;
  }
  if (q == e) return kBadExponent;
  int32_t exponent = 0;
  for (; q < e; ++q) {
    if (!is_digit(*q)) return kBadExponent;
    if (exponent < kExponentCap) exponent = exponent * 10 + (*q - '0');
  }
  return negative ? -exponent : exponent;
}

// Digits with at most one point, then an optional exponent, folded into
// `fold`.  Significant digits gather in 32-bit chunks of nine positions:
// a nonzero digit is folded together with the zeros pending before it,
// and a chunk that would pass nine positions is folded into the double
// accumulator (a longer run of zeros multiplies it by 10^9 per nine).
// False on any other character.
bool scan_digits(const unsigned char *p, const unsigned char *e,
                 DigitFold &fold) {
  double acc = 0.0;
  uint32_t chunk = 0;
  int32_t used = 0;
  int32_t sig = 0;
  int32_t zeros = 0;
  int32_t point = -1;
  int32_t exponent = 0;
  for (; p < e; ++p) {
    const unsigned char c = *p;
    const uint32_t digit = static_cast<uint32_t>(c) - '0';
    if (digit == 0) {
      ++zeros;
    } else if (digit <= 9) {
      const int32_t need = zeros + 1;
      sig += need;
      if (used + need <= kChunkDigits) {
        chunk = chunk * kChunkScale[need] + digit;
        used += need;
      } else {
        // Close the chunk with as many of the zeros as it has room for,
        // shift in whole chunks of zeros, then start a new chunk.
        const int32_t room = kChunkDigits - used;
        acc = acc * 1e9 + static_cast<double>(chunk * kChunkScale[room]);
        int32_t rest = zeros - room;
        for (; rest >= kChunkDigits; rest -= kChunkDigits) acc *= 1e9;
        chunk = digit;
        used = rest + 1;
      }
      zeros = 0;
    } else if (c == '.') {
      if (point >= 0) return false;
      point = sig + zeros;
    } else if ((c | 0x20) == 'e' || (c | 0x20) == 'd') {
      exponent = read_exponent(p + 1, e);
      if (exponent == kBadExponent) return false;
      break;
    } else {
      return false;
    }
  }
  fold = DigitFold{acc, chunk, used, sig, zeros, point, exponent};
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
// Kept out of line: the plain-decimal path in read_field then needs no
// saved registers.
[[gnu::noinline]] int32_t read_trimmed(const unsigned char *p,
                                       const unsigned char *e, int32_t d,
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

// Which readings of a trimmed text read_field may use.
enum class Reading : uint8_t {
  kAny,     // plain decimal texts through scan_plain_decimal
  kFolding, // every text through the chunk folding
};

// A plain decimal text read in one pass; false for any other text.
bool read_plain(const unsigned char *p, const unsigned char *e, int32_t d,
                void *out, int32_t *status) {
  PlainDecimal r;
  if (!scan_plain_decimal(p, e, d, r)) return false;
  // A nonzero quotient of these operands is neither 0 nor infinite.
  const double x = static_cast<double>(r.digits) / kPow10Pos[-r.scale];
  store(out, r.digits == 0 ? 0.0 : (r.negative ? -x : x));
  *status = VF_OK;
  return true;
}

// The standard reader on the n bytes at text (a text is there when n > 0).
int32_t read_field(const char *text, int32_t n, int32_t d, void *out,
                   Reading reading = Reading::kAny) {
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
  int32_t status;
  if (reading == Reading::kAny && read_plain(p, e, d, out, &status))
    return status;
  return read_trimmed(p, e, d, out);
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
  return read_field(text, n, d, out);
}

int32_t read_number_by_folding(const char *text, int32_t n, int32_t d,
                               void *out) {
  if (text == nullptr && n > 0) n = 0;
  return read_field(text, n, d, out, Reading::kFolding);
}

} // namespace valfmt

extern "C" {

VF_API int32_t wzifmn(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  return valfmt::read_field(
      static_cast<const char *>(call->value),
      valfmt::field_length(call->w, call->valuelen, call->value), call->d,
      call->out);
}

} // extern "C"
