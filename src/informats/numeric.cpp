// Numeric informats: the standard reader wzifmn (@F, @E), the missing
// notation reader wzifmch, and the readers that clean punctuation, signs,
// blanks or size suffixes out of a text before handing it to wzifmn.
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
// underflows to zero, and so is a size suffix or percent scaling that
// takes a value read to infinity or to zero.  Numeric informats whose result
// buffer cannot hold the double (null, or outsize below 8) store nothing.
//
// None of the numeric readers allocates: cleaning works on a 32-byte stack
// buffer (numeric widths are capped at 32), and wzifmn reads the caller's
// text in place.
#include <cmath>
#include <cstring>

#include "registry/functions.h"
#include "core/missing.h"
#include "informats/informats.h"
#include "numeric/fixed.h"
#include "valfmt.h"

namespace valfmt {
namespace {

// Multiplier for a digit and its pending zeros inside a nine-digit chunk.
constexpr uint32_t intpowten[11] = {1,         10,         100,     1000,
                                    10000,     100000,     1000000, 10000000,
                                    100000000, 1000000000, 0};

constexpr int kMaxDecimals = 31;
constexpr int kMaxScale = 308;
constexpr int kCleanBuf = 32;
// Exponent digits beyond this magnitude cannot change the outcome.
constexpr int32_t kExponentCap = 1000000;

inline void store(void *out, double x) {
  if (out != nullptr) std::memcpy(out, &x, sizeof x);
}
inline void store_missing(void *out) {
  store(out, standard_missing());
}
inline double load(const void *out) {
  double x = 0;
  if (out != nullptr) std::memcpy(&x, out, sizeof x);
  return x;
}

// Stores x, the value of a text that is not zero.  A zero or infinite x
// lies outside what a double can hold for such a text: the standard
// missing value and VF_WARN_RANGE instead.
int32_t store_in_range(void *out, double x) {
  if (x == 0.0 || !std::isfinite(x)) {
    store_missing(out);
    return VF_WARN_RANGE;
  }
  store(out, x);
  return VF_OK;
}

inline bool is_digit(unsigned char c) {
  return static_cast<unsigned>(c - '0') <= 9u;
}

inline int32_t clamp_len(int32_t w, int32_t valuelen, const void *value) {
  if (value == nullptr && valuelen > 0) valuelen = 0;
  return w < valuelen ? w : valuelen;
}

// Reads a trimmed, non-empty text [p, e): optional sign, missing-value
// notation, digits with one optional point, optional exponent.
int32_t read_trimmed(const unsigned char *p, const unsigned char *e, int32_t d,
                     void *out) {
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    if (++p == e) {
      store_missing(out);
      return VF_ERR_INVALID_DATA;
    }
  }

  // Missing-value notations: a lone code character, a lone point, or a
  // point followed by one code character.
  const unsigned char c0 = *p;
  if (e - p == 1) {
    const int code = missing_code(c0);
    if (code >= 0) {
      store(out, missing_value(static_cast<uint8_t>(code)));
      return VF_OK;
    }
  } else if (c0 == '.' && e - p == 2) {
    const int code = missing_code(p[1]);
    if (code >= 0) {
      store(out, missing_value(static_cast<uint8_t>(code)));
      return VF_OK;
    }
  }
  if (!is_digit(c0) && c0 != '.') {
    store_missing(out);
    return VF_ERR_INVALID_DATA;
  }
  if (c0 == '0')
    while (p < e - 1 && *p == '0') ++p;

  double acc = 0.0;   // folded chunks
  uint32_t chunk = 0; // current chunk
  int32_t used = 0;   // digit positions in the current chunk
  int32_t sig = 0;    // significant digit positions folded so far
  int32_t zeros = 0;  // zeros seen since the last nonzero digit
  int32_t point = -1; // digit positions before the point, if any
  int32_t exponent = 0;

  for (; p < e; ++p) {
    const unsigned char c = *p;
    const uint32_t digit = static_cast<uint32_t>(c) - '0';
    if (digit == 0) {
      ++zeros;
    } else if (digit <= 9) {
      const int32_t need = zeros + 1;
      sig += need;
      if (used + need <= 9) {
        chunk = chunk * intpowten[need] + digit;
        used += need;
      } else {
        // Close the chunk with as many of the zeros as it has room for,
        // shift in whole chunks of zeros, then start a new chunk.
        const int32_t room = 9 - used;
        acc = acc * 1e9 + static_cast<double>(chunk * intpowten[room]);
        int32_t rest = zeros - room;
        for (; rest >= 9; rest -= 9) acc *= 1e9;
        chunk = digit;
        used = rest + 1;
      }
      zeros = 0;
    } else if (c == '.') {
      if (point >= 0) {
        store_missing(out);
        return VF_ERR_INVALID_DATA;
      }
      point = sig + zeros;
    } else if ((c | 0x20) == 'e' || (c | 0x20) == 'd') {
      const unsigned char *q = p + 1;
      bool eneg = false;
      if (q < e && (*q == '+' || *q == '-')) {
        eneg = *q == '-';
        ++q;
      }
      if (q == e) {
        store_missing(out);
        return VF_ERR_INVALID_DATA;
      }
      for (; q < e; ++q) {
        if (!is_digit(*q)) {
          store_missing(out);
          return VF_ERR_INVALID_DATA;
        }
        if (exponent < kExponentCap) exponent = exponent * 10 + (*q - '0');
      }
      if (eneg) exponent = -exponent;
      break;
    } else {
      store_missing(out);
      return VF_ERR_INVALID_DATA;
    }
  }

  if (sig == 0) {
    store(out, 0.0);
    return VF_OK;
  }
  acc = acc * valfmt::kPow10Pos[used] + static_cast<double>(chunk);

  const int64_t s = point >= 0 ? static_cast<int64_t>(exponent) + point - sig
                               : static_cast<int64_t>(exponent) - d + zeros;
  double x = acc;
  if (s > kMaxScale) {
    store_missing(out);
    return VF_WARN_RANGE;
  }
  if (s > 0) {
    x *= valfmt::kPow10Pos[s];
  } else if (s < 0) {
    if (-s <= kMaxScale) {
      x /= valfmt::kPow10Pos[-s];
    } else if (-s <= 2 * kMaxScale) {
      x = x / valfmt::kPow10Pos[kMaxScale] / valfmt::kPow10Pos[-s - kMaxScale];
    } else {
      store_missing(out);
      return VF_WARN_RANGE;
    }
  }
  return store_in_range(out, negative ? -x : x);
}

inline bool is_space_or_tab(unsigned char c) {
  return c == ' ' || c == '\t';
}

// wzifmn on n bytes (n = min(w, valuelen) already taken).
int32_t read_field(const char *text, int32_t n, int32_t d, void *out) {
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

// Removes from buf[0..n) every byte for which drop() is true; returns the
// new length.
template <class Pred> int32_t remove_if(char *buf, int32_t n, Pred drop) {
  int32_t k = 0;
  for (int32_t i = 0; i < n; ++i)
    if (!drop(static_cast<unsigned char>(buf[i]))) buf[k++] = buf[i];
  return k;
}

// Copies min(w, valuelen, 32) bytes of the caller's text into buf.
int32_t copy_clean_input(const fmtcall *call, char *buf) {
  int32_t n = clamp_len(call->w, call->valuelen, call->value);
  if (n > kCleanBuf) n = kCleanBuf;
  if (n <= 0) return 0;
  std::memcpy(buf, call->value, static_cast<std::size_t>(n));
  return n;
}

// The comma family on text that is already in a work buffer (at most 32
// bytes; modified in place).
int32_t read_comma(char *buf, int32_t n, int32_t d, void *out) {
  store_missing(out);
  n = remove_if(buf, n, [](unsigned char c) {
    return c == ',' || c == '$' || c == '%' || c == ')' || c == ' ';
  });
  if (n == 0) return VF_OK;

  char *p = buf;
  bool negative = false;
  if (*p == '(' || *p == '-') {
    negative = true;
    ++p;
    --n;
  }
  if (std::memchr(p, '(', static_cast<std::size_t>(n)) != nullptr)
    return VF_ERR_PAREN_TWICE;
  while (n > 0 && *p == '-') {
    ++p;
    --n;
  }
  if (n == 0) return VF_ERR_SIGN;

  int32_t st = read_field(p, n, d, out);
  if (st != VF_OK) {
    const int32_t k =
        remove_if(p, n, [](unsigned char c) { return c == '-' || c == '('; });
    if (k == 0) return st;
    st = read_field(p, k, d, out);
    if (st != VF_OK) return st;
  }
  if (negative) {
    const double x = load(out);
    if (!is_missing(x)) store(out, -x);
  }
  return st;
}

// The comma-decimal family: points group, commas separate the decimals.
int32_t read_commax(const fmtcall *call) {
  store_missing(call->out);
  char buf[kCleanBuf];
  int32_t n = copy_clean_input(call, buf);
  n = remove_if(buf, n, [](unsigned char c) {
    return c == '.' || c == '$' || c == '%' || c == ')' || c == ' ';
  });
  if (n == 0) return VF_OK;
  for (int32_t i = 0; i < n; ++i)
    if (buf[i] == ',') buf[i] = '.';
  return read_comma(buf, n, call->d, call->out);
}

int32_t read_yen(const fmtcall *call) {
  void *out = call->out;
  store_missing(out);
  char buf[kCleanBuf];
  int32_t n = copy_clean_input(call, buf);
  n = remove_if(buf, n, [](unsigned char c) {
    return c == ',' || c == '$' || c == '%' || c == ')' || c == ' ' ||
           c == '\\';
  });
  if (n == 0) return VF_OK;
  const void *later = n > 1 ? std::memchr(buf + 1, '(', static_cast<std::size_t>(n - 1)) : nullptr;
  if (later != nullptr)
    return buf[0] == '(' ? VF_ERR_PAREN_TWICE : VF_ERR_PAREN_POSITION;
  const bool negative = buf[0] == '(' || buf[0] == '-';
  n = remove_if(buf, n, [](unsigned char c) { return c == '-' || c == '('; });
  if (n == 0) return VF_ERR_NOTHING_TO_READ;
  const int32_t st = read_field(buf, n, call->d, out);
  if (st == VF_OK && negative) {
    const double x = load(out);
    if (!is_missing(x)) store(out, -x);
  }
  return st;
}

int32_t read_sizekmg(const fmtcall *call) {
  void *out = call->out;
  if (call->w < 1 || call->valuelen < 1 || call->value == nullptr) {
    store(out, 0.0);
    return VF_OK;
  }
  const char *text = static_cast<const char *>(call->value);
  int32_t n = call->w < call->valuelen ? call->w : call->valuelen;
  while (n > 0 && text[n - 1] == ' ') --n;
  int32_t last = n;
  while (last > 0 && !is_digit(static_cast<unsigned char>(text[last - 1])))
    --last;
  // A field without any digit is read as it stands, so that missing-value
  // notations keep their meaning and anything else is invalid data.
  if (last == 0) return read_field(text, n, call->d, out);

  const int32_t st = read_field(text, last, call->d, out);
  if (st != VF_OK || last == n) return st;
  double scale = 1.0;
  switch (text[last]) {
  case 'K':
  case 'k':
    scale = 1024.0;
    break;
  case 'M':
  case 'm':
    scale = 1024.0 * 1024.0;
    break;
  case 'G':
  case 'g':
    scale = 1024.0 * 1024.0 * 1024.0;
    break;
  default:
    break;
  }
  const double x = load(out);
  if (is_missing(x) || x == 0.0) return st;
  return store_in_range(out, x * scale);
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

int32_t read_number(const char *text, int32_t len, int32_t d, void *out) {
  if (text == nullptr && len > 0) len = 0;
  return read_field(text, len, d, out);
}

int32_t wzifmch(const char *text, int32_t len, void *out) {
  store_missing(out);
  if (text == nullptr || len < 0) len = 0;
  int32_t i = 0;
  while (i < len && text[i] == ' ') ++i;
  if (i == len) return 1;
  const auto c1 = static_cast<unsigned char>(text[i]);
  const auto c2 = static_cast<unsigned char>(i + 1 < len ? text[i + 1] : ' ');
  int code;
  if (c2 == ' ') {
    code = missing_code(c1);
  } else {
    if (c1 != '.' || c2 == '.') return 0;
    code = missing_code(c2);
  }
  if (code < 0) return 0;
  for (int32_t k = i + 2; k < len; ++k)
    if (text[k] != ' ') return 0;
  store(out, missing_value(static_cast<uint8_t>(code)));
  return 1;
}

} // namespace valfmt

extern "C" {

VF_API int32_t wzifmn(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  return valfmt::read_field(
      static_cast<const char *>(call->value),
      valfmt::clamp_len(call->w, call->valuelen, call->value), call->d,
      call->out);
}

VF_API int32_t zifmcma(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  char buf[valfmt::kCleanBuf];
  const int32_t n = valfmt::copy_clean_input(call, buf);
  return valfmt::read_comma(buf, n, call->d, call->out);
}

VF_API int32_t zifmcmx(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  return valfmt::read_commax(call);
}

VF_API int32_t zifmpct(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  const int32_t n = valfmt::clamp_len(call->w, call->valuelen, call->value);
  const bool percent =
      n > 0 && std::memchr(call->value, '%', static_cast<std::size_t>(n));
  const int32_t st = zifmcma(call);
  if (st != VF_OK || !percent) return st;
  const double x = valfmt::load(call->out);
  if (valfmt::is_missing(x) || x == 0.0) return st;
  return valfmt::store_in_range(call->out, x / 100.0);
}

VF_API int32_t zifmbz(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  const int32_t n = valfmt::clamp_len(call->w, call->valuelen, call->value);
  if (n <= 0)
    return valfmt::read_field(static_cast<const char *>(call->value), n,
                              call->d, call->out);
  const char *text = static_cast<const char *>(call->value);
  int32_t start = 0;
  while (start < n && text[start] == ' ') ++start;
  if (start == n) start = 0;
  int32_t k = n - start;
  if (k > valfmt::kCleanBuf) k = valfmt::kCleanBuf;
  char buf[valfmt::kCleanBuf];
  for (int32_t i = 0; i < k; ++i)
    buf[i] = text[start + i] == ' ' ? '0' : text[start + i];
  return valfmt::read_field(buf, k, call->d, call->out);
}

VF_API int32_t zifmnmx(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  const int32_t n = valfmt::clamp_len(call->w, call->valuelen, call->value);
  const char *text = static_cast<const char *>(call->value);
  bool content = false;
  for (int32_t i = 0; i < n && !content; ++i)
    content = text[i] != ' ' && text[i] != '.';
  if (!content) return valfmt::read_field(text, n, call->d, call->out);
  char buf[valfmt::kCleanBuf];
  const int32_t k = n < valfmt::kCleanBuf ? n : valfmt::kCleanBuf;
  for (int32_t i = 0; i < k; ++i) buf[i] = text[i] == ',' ? '.' : text[i];
  return valfmt::read_field(buf, k, call->d, call->out);
}

VF_API int32_t zifmyen(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  return valfmt::read_yen(call);
}

VF_API int32_t zifmkmg(fmtcall *call) {
  if (const int32_t st = valfmt::begin_numeric(call)) return st;
  return valfmt::read_sizekmg(call);
}

VF_API int32_t sizkmgi(fmtcall *call) {
  return zifmkmg(call);
}

} // extern "C"
