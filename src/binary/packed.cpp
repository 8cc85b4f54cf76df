// Packed decimal: PD (sign byte, then digits), PK (digits only), the IBM
// forms S370FPD and S370FPDU (sign nibble last), and the matching
// informats.
//
// Values are scaled by 10^d and rounded half up exactly (the fraction is
// measured against the truncated magnitude), so no odd integer from 2^52 up
// is moved by an added 0.5.  PD and PK write n = min(w, outsize) bytes and
// report a buffer shorter than w with VF_ERR_OVERFLOW, which wins over any
// other status.  PK reports what it cannot show instead of returning 0:
// more digits than the field holds give all 0x99 with VF_ERR_BINARY_FIT,
// and a scaling overflow all 0x99 with VF_WARN_RANGE.  The S370F forms
// write nothing when w exceeds outsize (VF_ERR_OUTSIZE) and show what does
// not fit, scaling overflow included, as all nines with their sign
// (VF_ERR_NO_ROOM).  A NaN that is not a missing value is written like a
// missing value with VF_ERR_NOTHING_TO_READ.  A w outside the row's limits,
// or decimals outside 0..31 other than the codes 98 and 99 (read as 0), are
// refused with VF_ERR_WIDTH and nothing written.
//
// Informats: an empty field (w 0 or no input bytes) reads as the standard
// missing value with status 0 for @PD and @PK, and is invalid
// (VF_ERR_BAD_PACKED) for the S370F readers, which need their sign nibble.
// Every failure leaves the standard missing value in out, the S370F
// readers included, so the output is defined whatever the input.  Digits
// are accumulated exactly and converted once; zero reads as +0.0.
#include "binary/packed.h"

#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kPD = row_limits("PD");
constexpr RowLimits kPK = row_limits("PK");
constexpr RowLimits kS370PD = row_limits("S370FPD");
constexpr RowLimits kInPD = row_limits("@PD");
constexpr RowLimits kInPK = row_limits("@PK");
constexpr RowLimits kInS370PD = row_limits("@S370FPD");

constexpr unsigned char kNines = 0x99;

void fill(unsigned char *p, int32_t n, unsigned char b) {
  if (n > 0) std::memset(p, b, static_cast<std::size_t>(n));
}

// The IBM packed field of w bytes: digits, then the sign nibble.
int32_t put_s370_packed(fmtcall *c, bool unsigned_sign) {
  BinaryField f;
  if (const int32_t st = begin_binary_format(c, kS370PD.minw, kS370PD.maxw, f))
    return st;
  if (f.n < f.w) return VF_ERR_OUTSIZE;
  unsigned char *out = f.out;
  const int32_t w = f.w;
  int32_t st = VF_OK;
  unsigned char last;
  if (is_missing(f.v) || f.v != f.v) {
    fill(out, w - 1, 0);
    last = 0x0D;
    if (!is_missing(f.v)) st = VF_ERR_NOTHING_TO_READ;
  } else {
    const unsigned char sign = f.v < 0 ? 0x0D : 0x0C;
    const Magnitude m = decimal_magnitude(f.v, f.d);
    if (m.scale_overflow || m.huge || exceeds_digits(m.value, 2 * w - 1)) {
      fill(out, w - 1, kNines);
      last = static_cast<unsigned char>(0x90 | sign);
      st = VF_ERR_NO_ROOM;
    } else if (w <= 8) { // at most 15 digits: the sign nibble follows them
      const uint64_t word = bcd16(static_cast<uint64_t>(m.value)) << 4 | sign;
      store_low_be(out, word, w);
      last = static_cast<unsigned char>(word);
    } else {
      u128 q;
      unsigned units;
      if (m.value <= UINT64_MAX) { // 64-bit division: the common case
        const auto u = static_cast<uint64_t>(m.value);
        q = u / 10;
        units = static_cast<unsigned>(u % 10);
      } else {
        q = m.value / 10;
        units = static_cast<unsigned>(m.value - q * 10);
      }
      last = static_cast<unsigned char>(units << 4 | sign);
      pack_digits(q, out, w - 1);
    }
  }
  if (unsigned_sign) last = static_cast<unsigned char>(last | 0x0F);
  out[w - 1] = last;
  return finish_narrow(c, w, st);
}

// The IBM packed field of n bytes (n >= 1) as an exact magnitude and its
// sign; VF_ERR_BAD_PACKED for a bad digit or sign nibble.
int32_t read_s370_packed(const BinaryInput &in, bool unsigned_sign, u128 &value,
                         bool &negative) {
  if (in.n == 0) return VF_ERR_BAD_PACKED;
  const unsigned char last = in.p[in.n - 1];
  const unsigned sign = last & 0x0F;
  const unsigned digit = last >> 4;
  if (digit > 9 || sign < 0x0A || (unsigned_sign && sign != 0x0F))
    return VF_ERR_BAD_PACKED;
  u128 head;
  if (!read_packed_digits(in.p, in.n - 1, head)) return VF_ERR_BAD_PACKED;
  value = head * 10 + digit;
  negative = sign == 0x0B || sign == 0x0D;
  return VF_OK;
}

// ±value / 10^d; zero is +0.0.
double decimal_value(u128 value, bool negative, int32_t d) {
  const double x = value <= UINT64_MAX
                       ? static_cast<double>(static_cast<uint64_t>(value))
                       : static_cast<double>(value);
  const double y = scale_down(x, d);
  return negative && value != 0 ? -y : y;
}

constexpr uint64_t kLowNibbles = 0x0F0F0F0F0F0F0F0Full;
constexpr uint64_t kSixes = 0x0666666666666666ull;    // 15 nibbles of 6
constexpr uint64_t kCarryIns = 0x1111111111111110ull; // into nibbles 1..15

// True when any of the 15 low nibbles of x (its top nibble 0) is above 9:
// adding 6 to every nibble carries out of exactly those, and the lowest
// such nibble carries into the next one, whatever lies above it.
inline bool nibble_above_nine(uint64_t x) {
  return (((x + kSixes) ^ x ^ kSixes) & kCarryIns) != 0;
}

// The value of 16 packed decimal digits (most significant nibble first),
// combining bytes, then pairs of bytes, then halves.
inline uint64_t bcd_to_binary(uint64_t x) {
  x -= ((x >> 4) & kLowNibbles) * 6;
  x = (x & 0x00FF00FF00FF00FFull) + ((x >> 8) & 0x00FF00FF00FF00FFull) * 100;
  x = (x & 0x0000FFFF0000FFFFull) + ((x >> 16) & 0x0000FFFF0000FFFFull) * 10000;
  return (x & 0xFFFFFFFFull) + (x >> 32) * 100000000;
}

int32_t read_s370(fmtcall *c, bool unsigned_sign) {
  BinaryInput in;
  if (const int32_t st = begin_binary_informat(c, kInS370PD.maxw, in))
    return st;
  const int32_t n = in.n;
  if (n >= 1 && n <= 8) {
    // Up to 15 digits in one 64-bit word, converted lane by lane.
    uint64_t x;
    if (n == 8) {
      std::memcpy(&x, in.p, 8);
      x = __builtin_bswap64(x);
    } else {
      x = 0;
      for (int32_t i = 0; i < n; ++i) x = x << 8 | in.p[i];
    }
    const auto sign = static_cast<unsigned>(x & 0x0F);
    const uint64_t digits = x >> 4; // the sign nibble dropped
    const bool ok = !nibble_above_nine(digits) && sign >= 0x0A &&
                    (!unsigned_sign || sign == 0x0F);
    const uint64_t acc = bcd_to_binary(digits);
    double xd =
        scale_down(static_cast<double>(static_cast<int64_t>(acc)), in.d);
    if ((sign == 0x0B || sign == 0x0D) && acc != 0) xd = -xd;
    return finish_read(c, ok ? VF_OK : VF_ERR_BAD_PACKED, xd);
  }
  u128 value = 0;
  bool negative = false;
  const int32_t st = read_s370_packed(in, unsigned_sign, value, negative);
  return finish_read(c, st, decimal_value(value, negative, in.d));
}

} // namespace

int32_t read_pk(const unsigned char *p, int32_t n, double *value) {
  u128 u;
  if (n > 0 && (p == nullptr || !read_packed_digits(p, n, u)))
    return VF_ERR_BAD_PACKED;
  *value = n > 0 ? static_cast<double>(u) : 0.0;
  return VF_OK;
}

int32_t put_pk_digits(u128 u, unsigned char *out, int32_t n) {
  if (exceeds_digits(u, 2 * n)) {
    fill(out, n, kNines);
    return VF_ERR_BINARY_FIT;
  }
  pack_digits(u, out, n);
  return VF_OK;
}

} // namespace valfmt

extern "C" {

VF_API int32_t wzfmpd(fmtcall *call) {
  using namespace valfmt;
  BinaryField f;
  if (const int32_t st = begin_binary_format(call, kPD.minw, kPD.maxw, f))
    return st;
  if (f.n == 0) return finish_narrow(call, 0, VF_ERR_OVERFLOW);
  unsigned char *out = f.out;
  const int32_t digits = f.n - 1;
  int32_t st = VF_OK;
  if (is_missing(f.v) || f.v != f.v) {
    out[0] = 0x80;
    fill(out + 1, digits, 0);
    if (!is_missing(f.v)) st = VF_ERR_NOTHING_TO_READ;
    return finish_narrow(call, f.n, st == VF_OK ? f.status(st) : st);
  }
  out[0] = f.v < 0 ? 0x80 : 0x00;
  const Magnitude m = decimal_magnitude(f.v, f.d);
  if (m.scale_overflow) {
    fill(out + 1, digits, kNines);
    st = VF_WARN_RANGE;
  } else if (m.huge || exceeds_digits(m.value, 2 * digits)) {
    fill(out + 1, digits, kNines);
    st = VF_ERR_BINARY_FIT;
  } else {
    pack_digits(m.value, out + 1, digits);
  }
  return finish_narrow(call, f.n, f.status(st));
}

VF_API int32_t zfmpk(fmtcall *call) {
  using namespace valfmt;
  BinaryField f;
  if (const int32_t st = begin_binary_format(call, kPK.minw, kPK.maxw, f))
    return st;
  int32_t st = VF_OK;
  if (is_missing(f.v) || f.v != f.v) {
    fill(f.out, f.n, 0);
    if (!is_missing(f.v)) st = VF_ERR_NOTHING_TO_READ;
    return finish_narrow(call, f.n, st == VF_OK ? f.status(st) : st);
  }
  const Magnitude m = decimal_magnitude(f.v, f.d);
  if (m.scale_overflow) {
    fill(f.out, f.n, kNines);
    st = VF_WARN_RANGE;
  } else if (m.huge) {
    fill(f.out, f.n, kNines);
    st = VF_ERR_BINARY_FIT;
  } else {
    st = put_pk_digits(m.value, f.out, f.n);
  }
  return finish_narrow(call, f.n, f.status(st));
}

VF_API int32_t zf7pd(fmtcall *call) {
  return valfmt::put_s370_packed(call, false);
}
VF_API int32_t zf7pdu(fmtcall *call) {
  return valfmt::put_s370_packed(call, true);
}

VF_API int32_t wzifmpd(fmtcall *call) {
  using namespace valfmt;
  BinaryInput in;
  if (const int32_t st = begin_binary_informat(call, kInPD.maxw, in)) return st;
  if (in.n == 0) return finish_read(call, VF_OK, standard_missing());
  const unsigned char sign = in.p[0];
  u128 value = 0;
  const bool ok = (sign == 0x00 || sign == 0x80) &&
                  read_packed_digits(in.p + 1, in.n - 1, value);
  return finish_read(call, ok ? VF_OK : VF_ERR_INVALID_DATA,
                     decimal_value(value, sign == 0x80, in.d));
}

VF_API int32_t zifmpk(fmtcall *call) {
  using namespace valfmt;
  BinaryInput in;
  if (const int32_t st = begin_binary_informat(call, kInPK.maxw, in)) return st;
  if (in.n == 0) return finish_read(call, VF_OK, standard_missing());
  u128 value = 0;
  const bool ok = read_packed_digits(in.p, in.n, value);
  return finish_read(call, ok ? VF_OK : VF_ERR_BAD_PACKED,
                     decimal_value(value, false, in.d));
}

VF_API int32_t zif7pd(fmtcall *call) {
  return valfmt::read_s370(call, false);
}
VF_API int32_t zif7pdu(fmtcall *call) {
  return valfmt::read_s370(call, true);
}

} // extern "C"
