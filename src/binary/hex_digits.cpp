// Hexadecimal digit strings, both directions: HEX / @HEX (the integer, or
// the double's bit pattern at width 16), $HEX / @$HEX (two digits per
// character), @$PHEX (packed data shown as digits), S370FHEX / @S370FHEX
// (the System/370 bytes as EBCDIC digits), with the shared digit writer
// wzfmhc and reader wzifmhc.
//
// Choices where the representation leaves room:
//   - A non-missing NaN shows as the integer 0 in HEX below width 16.
//   - @HEX, @$HEX and @S370FHEX read bytes as they are (no 16-bit input).
//   - @S370FHEX translates the EBCDIC digits, trims blanks on both sides
//     (a blank field reads as the standard missing value, status 0),
//     prefixes '0' to an odd count and converts every digit: 16 digits are
//     the eight bytes of an S370FRB field, any other count the big-endian
//     unsigned integer of those bytes.  An odd-width S370FHEX field (whose
//     last digit is the high half of a following zero byte) therefore reads
//     back as 16 times its integer; even widths read back what was written.
//   - @$PHEX converts min(w, valuelen) input bytes (at most 16383) and
//     reports outlen = min(2n - 1, outsize), the rest of the buffer blank.
#include <array>
#include <cmath>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/ebcdic.h"
#include "binary/int_value.h"
#include "informats/informats.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr char hexchars[] = "0123456789ABCDEF";
constexpr int32_t kMaxPackedInput = 16383;

// Byte -> value of a hexadecimal digit of either case, or -1.
constexpr auto kHexValue = [] {
  std::array<int8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    t[static_cast<std::size_t>(c)] =
        static_cast<int8_t>(c >= '0' && c <= '9'   ? c - '0'
                            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                            : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                   : -1);
  }
  return t;
}();

inline int32_t hex_value(uint8_t c) {
  return kHexValue[c];
}

enum HexMode : int32_t { kNumericMode = 0, kCharacterMode = 1 };

// Hexadecimal digits of n source bytes (src(i) gives byte i) in w columns.
// Character mode: left to right, high nibble first, blanks after the
// digits.  Numeric mode (n at most 8): from the right end leftwards, low
// nibble first, so a little-endian integer reads most significant digit
// first; '0' padding on the left.
template <class Src>
void wzfmhc(const Src &src, int32_t n, int32_t w, int32_t mode, char *out) {
  if (mode == kCharacterMode) {
    for (int32_t i = 0; i < w; ++i) {
      const int32_t b = i / 2;
      if (b >= n) {
        put_blanks(out + i, w - i);
        return;
      }
      const uint8_t byte = src(b);
      out[i] = hexchars[i % 2 == 0 ? byte >> 4 : byte & 15];
    }
    return;
  }
  // The source is an integer of at most eight bytes: gather it into one
  // word, then take its digits from the right.
  uint64_t word = 0;
  for (int32_t b = (n < 8 ? n : 8) - 1; b >= 0; --b) word = word << 8 | src(b);
  for (int32_t j = 0; j < w; ++j)
    out[w - 1 - j] = j < 16 ? hexchars[(word >> (4 * j)) & 15] : '0';
}

// Little-endian bytes of a 64-bit word as a byte source.
struct WordBytes {
  uint64_t word;
  uint8_t operator()(int32_t i) const {
    return static_cast<uint8_t>(word >> (8 * i));
  }
};

struct ArrayBytes {
  const uint8_t *p;
  uint8_t operator()(int32_t i) const { return p[i]; }
};

// Checks a digit text and finds its digits: leading blanks skipped, the
// digits up to the first blank, blanks only after them.  Returns the
// status; [*first, *last) are the digits (empty for an all-blank text).
int32_t scan_hex(const uint8_t *t, int32_t n, int32_t *first, int32_t *last) {
  int32_t i = 0;
  while (i < n && t[i] == ' ') ++i;
  int32_t j = i;
  while (j < n && t[j] != ' ') {
    if (hex_value(t[j]) < 0) return VF_ERR_BAD_HEX;
    ++j;
  }
  for (int32_t k = j; k < n; ++k)
    if (t[k] != ' ') return VF_ERR_BAD_HEX;
  *first = i;
  *last = j;
  return VF_OK;
}

// wzifmhc, kind 0: the double a digit text stands for.  Sixteen or more
// characters are the bit pattern of a double (exactly 16 digits, no
// blanks); fewer are an unsigned integer.  An all-blank text is 0.0.
int32_t wzifmhc_number(const uint8_t *t, int32_t n, double *x) {
  int32_t first, last;
  if (n >= 16) {
    bool blank = true;
    for (int32_t i = 0; i < n && blank; ++i) blank = t[i] == ' ';
    if (blank) {
      *x = 0.0;
      return VF_OK;
    }
    // Gather all sixteen digits, then check once: no branch per digit.
    uint64_t bits = 0;
    int32_t bad = 0;
    for (int32_t i = 0; i < 16; ++i) {
      const int32_t v = hex_value(t[i]);
      bad |= v;
      bits = bits << 4 | static_cast<uint64_t>(v & 15);
    }
    if (bad < 0) return VF_ERR_BAD_HEX;
    *x = std::bit_cast<double>(bits);
    return VF_OK;
  }
  if (const int32_t st = scan_hex(t, n, &first, &last)) return st;
  uint64_t u = 0;
  for (int32_t i = first; i < last; ++i)
    u = u << 4 | static_cast<uint64_t>(hex_value(t[i]));
  *x = static_cast<double>(u);
  return VF_OK;
}

// wzifmhc, kind 1: digit text to bytes in text order (an odd count gets a
// '0' at the end), at most 2 * outw digits, blanks after them up to outw.
// Nothing is written when the text is not valid.
int32_t wzifmhc_bytes(const uint8_t *t, int32_t n, uint8_t *out, int32_t outw) {
  int32_t first, last;
  if (const int32_t st = scan_hex(t, n, &first, &last)) return st;
  int32_t k = 0;
  for (int32_t i = first; i < last && k < outw; i += 2, ++k) {
    const int32_t hi = hex_value(t[i]);
    const int32_t lo = i + 1 < last ? hex_value(t[i + 1]) : 0;
    out[k] = static_cast<uint8_t>(hi << 4 | lo);
  }
  if (k < outw) std::memset(out + k, ' ', static_cast<std::size_t>(outw - k));
  return VF_OK;
}

// Ends a digit-string format of w columns of which n were written.
inline int32_t finish_digits(fmtcall *c, int32_t n, int32_t status = VF_OK) {
  return finish_narrow(c, n, n < c->w ? VF_ERR_OUTSIZE : status);
}

// The S370FHEX work field of a value that is not missing: S370FRB at
// width 16, else S370FPIB (value > 0) or S370FIB of w/2 bytes.
void s370_work_bytes(const fmtcall *call, int32_t d, uint8_t work[8]) {
  const int32_t w = call->w;
  const double v = call_value(call);
  if (w == 16) {
    fmtcall inner = *call;
    inner.w = 8;
    inner.out = work;
    inner.outsize = 8;
    inner.d = d;
    zf7rb(&inner);
    return;
  }
  const int32_t n = w / 2;
  if (n == 0) return;
  const IntField f = v > 0 ? pib_scaled(v, n, d) : ib_scaled(v, n, d);
  put_be(work, f.bits, n);
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmhex(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("HEX");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const int32_t n = field_room(call);
  const double v = call_value(call);
  if (is_missing(v)) {
    zfmmiss(call);
    return finish_digits(call, n);
  }
  uint64_t word;
  if (call->w == 16)
    word = double_bits(v);
  else
    word = ib_value(std::trunc(v), 8).bits;
  wzfmhc(WordBytes{word}, 8, n, kNumericMode, static_cast<char *>(call->out));
  return finish_digits(call, n);
}

VF_API int32_t zfmhexc(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$HEX");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  const int32_t n = field_room(call);
  wzfmhc([&in](int32_t i) { return in.at(i); }, in.n, n, kCharacterMode,
         static_cast<char *>(call->out));
  return finish_digits(call, n);
}

VF_API int32_t zf7hex(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("S370FHEX");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  uint8_t *out = out_bytes(call);
  if (is_missing(call_value(call))) {
    fmtcall inner = *call;
    const int32_t status = zfmb(&inner);
    const int32_t len = inner.outlen;
    if (len > 0) wztxatoe(out, len);
    return finish_narrow(call, len, status);
  }
  uint8_t work[8] = {};
  s370_work_bytes(call, d, work);
  const int32_t n = field_room(call);
  wzfmhc(ArrayBytes{work}, 8, n, kCharacterMode, reinterpret_cast<char *>(out));
  wztxatoe(out, n);
  return finish_digits(call, n);
}

VF_API int32_t zifmhex(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@HEX");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  const char *text = reinterpret_cast<const char *>(in.p);
  double missing;
  if (read_missing_notation(text, in.n, &missing) == 1) {
    // Letters A..F alone are digits; anything else beside blanks makes
    // the notation a missing value.
    bool blank = true, other = false;
    for (int32_t i = 0; i < in.n; ++i) {
      const uint8_t c = in.p[i];
      const bool letter = (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
      blank = blank && c == ' ';
      other = other || (c != ' ' && !letter);
    }
    if (blank || other) {
      store_double(call->out, missing);
      return VF_OK;
    }
  }
  double x;
  if (const int32_t st = wzifmhc_number(in.p, in.n, &x)) {
    store_double(call->out, standard_missing());
    return st;
  }
  store_double(call->out, is_missing(x) ? x : unscale(x, divisor));
  return VF_OK;
}

VF_API int32_t zifmhxc(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const ReaderInput in = reader_input(call);
  const int32_t half = in.n / 2 + in.n % 2;
  const int32_t cap = out_capacity(call);
  const int32_t outw = half < cap ? half : cap;
  uint8_t *out = out_bytes(call);
  put_blanks(reinterpret_cast<char *>(out), outw);
  call->outenc = VF_ENC_NARROW;
  call->outlen = outw;
  return wzifmhc_bytes(in.p, in.n, out, outw);
}

VF_API int32_t zifmphx(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  ReaderInput in = reader_input(call);
  if (in.n > kMaxPackedInput) in.n = kMaxPackedInput;
  const int32_t cap = out_capacity(call);
  const int32_t digits = in.n > 0 ? 2 * in.n - 1 : 0;
  const int32_t n = digits < cap ? digits : cap;
  char *out = static_cast<char *>(call->out);
  wzfmhc(ArrayBytes{in.p}, in.n, n, kCharacterMode, out);
  if (cap > n) put_blanks(out + n, cap - n);
  return finish_narrow(call, n);
}

VF_API int32_t zif7hex(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@S370FHEX");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  uint8_t text[17];
  int32_t first = 0, last = in.n;
  for (int32_t i = 0; i < in.n; ++i) text[i + 1] = eb2as[in.p[i]];
  while (first < last && text[first + 1] == ' ') ++first;
  while (last > first && text[last] == ' ') --last;
  if (first == last) {
    store_double(call->out, standard_missing());
    return VF_OK;
  }
  // Digits at text[first + 1 .. last]; an odd count takes a leading '0'.
  for (int32_t i = first + 1; i <= last; ++i) {
    if (hex_value(text[i]) < 0) {
      store_double(call->out, standard_missing());
      return VF_ERR_BAD_HEX;
    }
  }
  int32_t count = last - first;
  if (count % 2 == 1) {
    text[first] = '0';
    ++count;
  } else {
    ++first;
  }
  uint8_t bytes[8] = {};
  const int32_t nbytes = count / 2;
  for (int32_t k = 0; k < nbytes; ++k)
    bytes[k] = static_cast<uint8_t>(hex_value(text[first + 2 * k]) << 4 |
                                    hex_value(text[first + 2 * k + 1]));
  if (nbytes == 8) {
    fmtcall inner = *call;
    inner.value = bytes;
    inner.valuelen = 8;
    inner.w = 8;
    const int32_t st = zif7rb(&inner);
    call->outlen = inner.outlen;
    return st;
  }
  uint64_t u = 0;
  for (int32_t k = 0; k < nbytes; ++k) u = u << 8 | bytes[k];
  store_double(call->out, unscale(static_cast<double>(u), divisor));
  return VF_OK;
}

} // extern "C"
