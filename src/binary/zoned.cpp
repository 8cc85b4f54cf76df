// Zoned decimal: ZD (ASCII digits, the sign overpunched on the last one),
// the EBCDIC forms S370FZD, S370FZDU, S370FZDL, S370FZDS and S370FZDT,
// and the matching informats @ZD, @ZDV, @ZDB and the @S370FZD family.
//
// Values are scaled by 10^d and rounded half up exactly (the fraction is
// measured against the truncated magnitude).  ZD writes n = min(w, outsize)
// characters and reports a buffer shorter than w with VF_ERR_OVERFLOW,
// which wins over any other status; the S370F forms write nothing when w
// exceeds outsize (VF_ERR_OUTSIZE).  A value with more digits than the
// field, or one that 10^d cannot scale, becomes all nines with its sign.  A
// NaN that is not a missing value is written like a missing value with
// VF_ERR_NOTHING_TO_READ.  A w outside the row's limits, or decimals
// outside 0..31 other than the codes 98 and 99 (read as 0), are refused
// with VF_ERR_WIDTH and nothing written.
//
// Informats: a w above 32 gives VF_ERR_WD_LIMITS.  An empty field reads as
// the standard missing value with status 0 for @ZD, @ZDV and @ZDB, and is
// invalid (VF_ERR_BAD_ZONED) for the S370F readers.  Every failure leaves
// the standard missing value in out, the S370F readers included, so the
// output is defined whatever the input.  Zero reads as +0.0.
#include "binary/scale.h"
#include "informats/informats.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kZD = row_limits("ZD");
constexpr RowLimits kZDS = row_limits("S370FZDS");
constexpr RowLimits kS370ZD = row_limits("S370FZD");
constexpr RowLimits kInZD = row_limits("@ZD");
constexpr RowLimits kInS370ZD = row_limits("@S370FZD");

constexpr char kPlusPunch[] = "{ABCDEFGHI";
constexpr char kMinusPunch[] = "}JKLMNOPQR";
constexpr unsigned char kEbcdicPlus = 0x4E;
constexpr unsigned char kEbcdicMinus = 0x60;
constexpr unsigned char kEbcdicBlank = 0x40;
constexpr unsigned char kZoneF = 0xF0;

// Writes the digits of u right-aligned over n bytes, each digit ORed into
// `zone`, with leading zero digits.  u must have at most n digits.
void put_zoned_digits(u128 u, unsigned char *out, int32_t n,
                      unsigned char zone) {
  int32_t i = n;
  while (u > UINT64_MAX && i > 0) {
    const u128 q = u / 10;
    out[--i] =
        static_cast<unsigned char>(zone | static_cast<unsigned>(u - q * 10));
    u = q;
  }
  auto s = static_cast<uint64_t>(u);
  while (i > 0) {
    out[--i] = static_cast<unsigned char>(zone | s % 10);
    s /= 10;
  }
}

enum class Fit { ok, scale_overflow, too_long };

// The rounded magnitude of v for a field of `digits` digits.
Fit zoned_magnitude(double v, int32_t d, int32_t digits, u128 &value) {
  const Magnitude m = decimal_magnitude(v, d);
  if (m.scale_overflow) return Fit::scale_overflow;
  if (m.huge || exceeds_digits(m.value, digits)) return Fit::too_long;
  value = m.value;
  return Fit::ok;
}

// The EBCDIC zoned field of n >= 1 bytes with zone C or D on the last
// byte.  Sets *negative to the sign the field shows.
int32_t put_ebcdic_zoned(double v, int32_t d, unsigned char *out, int32_t n,
                         bool *negative) {
  if (is_missing(v) || v != v) {
    std::memset(out, kZoneF, static_cast<std::size_t>(n));
    out[n - 1] = 0xD0;
    *negative = true;
    return is_missing(v) ? VF_OK : VF_ERR_NOTHING_TO_READ;
  }
  const bool neg = v < 0;
  *negative = neg;
  const unsigned char sign_zone = neg ? 0xD0 : 0xC0;
  u128 value = 0;
  if (zoned_magnitude(v, d, n, value) != Fit::ok) {
    std::memset(out, 0xF9, static_cast<std::size_t>(n));
    out[n - 1] = static_cast<unsigned char>(sign_zone | 9);
    return VF_ERR_NO_ROOM;
  }
  put_zoned_digits(value, out, n, kZoneF);
  out[n - 1] = static_cast<unsigned char>(sign_zone | (out[n - 1] & 0x0F));
  return VF_OK;
}

enum class Layout { last_sign, unsigned_last, leading, sign_first, sign_last };

int32_t put_s370_zoned(fmtcall *c, Layout layout) {
  const bool separate =
      layout == Layout::sign_first || layout == Layout::sign_last;
  const RowLimits lim = separate ? kZDS : kS370ZD;
  BinaryField f;
  if (const int32_t st = begin_binary_format(c, lim.minw, lim.maxw, f))
    return st;
  if (f.n < f.w) return VF_ERR_OUTSIZE;
  unsigned char *out = f.out;
  const int32_t w = f.w;
  bool neg = false;
  int32_t st;
  if (!separate) {
    st = put_ebcdic_zoned(f.v, f.d, out, w, &neg);
    if (layout != Layout::last_sign)
      out[w - 1] = static_cast<unsigned char>(kZoneF | (out[w - 1] & 0x0F));
    if (layout == Layout::leading)
      out[0] =
          static_cast<unsigned char>((neg ? 0xD0 : 0xC0) | (out[0] & 0x0F));
  } else {
    unsigned char *digits = layout == Layout::sign_first ? out + 1 : out;
    st = put_ebcdic_zoned(f.v, f.d, digits, w - 1, &neg);
    digits[w - 2] = static_cast<unsigned char>(kZoneF | (digits[w - 2] & 0x0F));
    out[layout == Layout::sign_first ? 0 : w - 1] =
        neg ? kEbcdicMinus : kEbcdicPlus;
  }
  return finish_narrow(c, w, st);
}

bool is_plus_punch(unsigned char ch) {
  return ch == '{' || (ch >= 'A' && ch <= 'I');
}
bool is_minus_punch(unsigned char ch) {
  return ch == '}' || (ch >= 'J' && ch <= 'R');
}

// The ASCII zoned text of k >= 1 characters.  `punch_only` requires the
// last character to carry an overpunch.
int32_t read_ascii_zoned(const unsigned char *p, int32_t k, bool punch_only,
                         int32_t d, double &x) {
  u128 value = 0;
  for (int32_t i = 0; i + 1 < k; ++i) {
    if (p[i] < '0' || p[i] > '9') return VF_ERR_INVALID_DATA;
    value = value * 10 + (p[i] - '0');
  }
  const unsigned char last = p[k - 1];
  bool neg = false;
  unsigned digit;
  if (last >= '0' && last <= '9' && !punch_only) {
    digit = last - '0';
  } else if (is_plus_punch(last)) {
    digit = last == '{' ? 0 : static_cast<unsigned>(last - 'A' + 1);
  } else if (is_minus_punch(last)) {
    digit = last == '}' ? 0 : static_cast<unsigned>(last - 'J' + 1);
    neg = true;
  } else {
    return VF_ERR_INVALID_DATA;
  }
  value = value * 10 + digit;
  x = scale_down(static_cast<double>(value), d);
  if (neg && value != 0) x = -x;
  return VF_OK;
}

enum class AsciiKind { zd, zdv, zdb };

int32_t read_zd(fmtcall *c, AsciiKind kind) {
  BinaryInput in;
  if (const int32_t st = begin_binary_informat(c, kInZD.maxw, in)) return st;
  store_double(c->out, standard_missing());
  unsigned char buf[32];
  const unsigned char *p = in.p;
  int32_t k = in.n;
  if (kind == AsciiKind::zdb) {
    for (int32_t i = 0; i < k; ++i) buf[i] = p[i] == ' ' ? '0' : p[i];
    p = buf;
  } else if (kind == AsciiKind::zd) {
    while (k > 0 && *p == ' ') {
      ++p;
      --k;
    }
  }
  if (k == 0) return VF_OK;
  double x = 0;
  const int32_t st = read_ascii_zoned(p, k, kind == AsciiKind::zdv, in.d, x);
  if (st == VF_OK) store_double(c->out, x);
  return st;
}

// The EBCDIC zoned field of n bytes: digit nibbles, sign zone last (A..F;
// B and D negative), the digits read by the standard numeric reader.
int32_t read_ebcdic_zoned(const unsigned char *p, int32_t n, int32_t d,
                          double &x) {
  if (n <= 0) return VF_ERR_BAD_ZONED;
  char text[32];
  for (int32_t i = 0; i < n; ++i) {
    const unsigned digit = p[i] & 0x0F;
    if (digit > 9) return VF_ERR_BAD_ZONED;
    text[i] = static_cast<char>('0' + digit);
  }
  const unsigned zone = p[n - 1] >> 4;
  if (zone < 0x0A) return VF_ERR_BAD_ZONED;
  double v = 0;
  if (const int32_t st = read_number(text, n, d, &v)) return st;
  x = (zone == 0x0B || zone == 0x0D) && v != 0 ? -v : v;
  return VF_OK;
}

int32_t read_s370_zoned(fmtcall *c, Layout layout, bool blanks_are_zeros) {
  BinaryInput in;
  if (const int32_t st = begin_binary_informat(c, kInS370ZD.maxw, in))
    return st;
  store_double(c->out, standard_missing());
  const int32_t n = in.n;
  if (n == 0) return VF_ERR_BAD_ZONED;
  unsigned char buf[32];
  std::memcpy(buf, in.p, static_cast<std::size_t>(n));
  const unsigned char *p = buf;
  int32_t k = n;
  bool negate = false;
  switch (layout) {
  case Layout::unsigned_last:
    if (buf[n - 1] < kZoneF) return VF_ERR_BAD_ZONED;
    break;
  case Layout::leading: {
    const unsigned zone = buf[0] >> 4;
    if (zone < 0x0A) return VF_ERR_BAD_ZONED;
    negate = zone == 0x0B || zone == 0x0D;
    buf[0] = static_cast<unsigned char>(kZoneF | (buf[0] & 0x0F));
    break;
  }
  case Layout::sign_first:
  case Layout::sign_last: {
    const unsigned char sign =
        layout == Layout::sign_first ? buf[0] : buf[n - 1];
    if (n < 2 || (sign != kEbcdicPlus && sign != kEbcdicMinus))
      return VF_ERR_BAD_ZONED;
    negate = sign == kEbcdicMinus;
    if (layout == Layout::sign_first) ++p;
    --k;
    break;
  }
  case Layout::last_sign:
    if (blanks_are_zeros)
      for (int32_t i = 0; i < n; ++i)
        if (buf[i] == kEbcdicBlank) buf[i] = kZoneF;
    break;
  }
  double x = 0;
  if (const int32_t st = read_ebcdic_zoned(p, k, in.d, x)) return st;
  store_double(c->out, negate && x != 0 ? -x : x);
  return VF_OK;
}

} // namespace
} // namespace valfmt

using valfmt::Layout;

extern "C" {

VF_API int32_t wzfmzd(fmtcall *call) {
  using namespace valfmt;
  BinaryField f;
  if (const int32_t st = begin_binary_format(call, kZD.minw, kZD.maxw, f))
    return st;
  const int32_t n = f.n;
  if (n == 0) return finish_narrow(call, 0, VF_ERR_OVERFLOW);
  unsigned char *out = f.out;
  if (is_missing(f.v) || f.v != f.v) {
    std::memset(out, '0', static_cast<std::size_t>(n - 1));
    out[n - 1] = '}';
    return finish_narrow(
        call, n, is_missing(f.v) ? f.status(VF_OK) : VF_ERR_NOTHING_TO_READ);
  }
  const bool neg = f.v < 0;
  const char *punch = neg ? kMinusPunch : kPlusPunch;
  u128 value = 0;
  const Fit fit = zoned_magnitude(f.v, f.d, n, value);
  if (fit != Fit::ok) {
    std::memset(out, '9', static_cast<std::size_t>(n - 1));
    out[n - 1] = static_cast<unsigned char>(punch[9]);
    return finish_narrow(call, n,
                         f.status(fit == Fit::scale_overflow
                                      ? VF_WARN_RANGE
                                      : VF_ERR_BINARY_FIT));
  }
  put_zoned_digits(value, out, n, '0');
  out[n - 1] = static_cast<unsigned char>(punch[out[n - 1] - '0']);
  return finish_narrow(call, n, f.status(VF_OK));
}

VF_API int32_t zf7zd(fmtcall *call) {
  return valfmt::put_s370_zoned(call, Layout::last_sign);
}
VF_API int32_t zf7zdu(fmtcall *call) {
  return valfmt::put_s370_zoned(call, Layout::unsigned_last);
}
VF_API int32_t zf7zdl(fmtcall *call) {
  return valfmt::put_s370_zoned(call, Layout::leading);
}
VF_API int32_t zf7zds(fmtcall *call) {
  return valfmt::put_s370_zoned(call, Layout::sign_first);
}
VF_API int32_t zf7zdt(fmtcall *call) {
  return valfmt::put_s370_zoned(call, Layout::sign_last);
}

VF_API int32_t wzifmzd(fmtcall *call) {
  return valfmt::read_zd(call, valfmt::AsciiKind::zd);
}
VF_API int32_t wzifmzv(fmtcall *call) {
  return valfmt::read_zd(call, valfmt::AsciiKind::zdv);
}
VF_API int32_t zifmzb(fmtcall *call) {
  return valfmt::read_zd(call, valfmt::AsciiKind::zdb);
}

VF_API int32_t zif7zd(fmtcall *call) {
  return valfmt::read_s370_zoned(call, Layout::last_sign, false);
}
VF_API int32_t zif7zdb(fmtcall *call) {
  return valfmt::read_s370_zoned(call, Layout::last_sign, true);
}
VF_API int32_t zif7zdu(fmtcall *call) {
  return valfmt::read_s370_zoned(call, Layout::unsigned_last, false);
}
VF_API int32_t zif7zdl(fmtcall *call) {
  return valfmt::read_s370_zoned(call, Layout::leading, false);
}
VF_API int32_t zif7zds(fmtcall *call) {
  return valfmt::read_s370_zoned(call, Layout::sign_first, false);
}
VF_API int32_t zif7zdt(fmtcall *call) {
  return valfmt::read_s370_zoned(call, Layout::sign_last, false);
}

} // extern "C"
