// Native and IEEE real binary, both directions: RB / @RB (the high-order
// bytes of the little-endian double), IEEE / IEEER / @IEEE / @IEEER (the
// big-endian float or double and its byte-reversed twin), FLOAT / @FLOAT
// (the native single-precision float).
//
// Choices where the representation leaves room:
//   - A buffer smaller than w: RB writes the min(w, outsize) high-order
//     bytes it can and returns VF_ERR_OVERFLOW; IEEE and IEEER write
//     nothing and return VF_ERR_OUTSIZE (a reversed field has no
//     meaningful prefix); FLOAT writes outsize zero bytes and returns
//     VF_ERR_OUTSIZE.
//   - @IEEE and @IEEER read through the hexadecimal floating-point form:
//     magnitudes below 2^-260 (negative zero and subnormals included) read
//     as 0.0; magnitudes of 2^252 and more and infinities read as the
//     largest such value, 7.237e75, with their sign.  A NaN that carries no
//     missing code (also a 0xFF 0xFF pattern whose third byte is below
//     0xE4) is refused like @RB refuses it: the standard missing value and
//     VF_ERR_NOTHING_TO_READ.
//   - @FLOAT refuses infinities and NaNs the same way.
//   - IEEE and IEEER below width 5 write the single nearest the value; a
//     magnitude the single cannot hold (from the largest single plus half
//     its last unit up) is the infinity of the value's sign, as a rounding
//     IEEE single would give it.
//   - Short inputs (valuelen below w) supply the high-order end of the
//     field; the missing low-order bytes read as zero.  @IEEER zero-fills
//     the bytes after valuelen before it reverses the field.
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/hfp.h"
#include "binary/real_bytes.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr uint64_t kExponentMask = 0x7FF0000000000000ull;

inline uint64_t byte_swap(uint64_t x) {
  return __builtin_bswap64(x);
}

// The single nearest v, infinities beyond the single range (a plain
// conversion of such a double is undefined).
inline float to_single(double v) {
  constexpr double kOverflow = 0x1.ffffffp+127; // FLT_MAX + half a unit
  if (v >= kOverflow) return HUGE_VALF;
  if (v <= -kOverflow) return -HUGE_VALF;
  return static_cast<float>(v);
}

// The IEEE field of a value: w < 5 the single-precision float (0 for a
// missing value), else the double (a missing value keeps its pattern),
// big-endian in be[0..8).
void ieee_big_endian(double v, int32_t w, uint8_t be[8]) {
  uint64_t word;
  if (w < 5) {
    const float f = is_missing(v) ? 0.0f : to_single(v);
    word = static_cast<uint64_t>(std::bit_cast<uint32_t>(f)) << 32;
  } else {
    word = double_bits(v);
  }
  word = byte_swap(word);
  std::memcpy(be, &word, 8);
}

int32_t put_ieee(fmtcall *call, RowLimits limits, bool reversed) {
  int32_t d;
  if (const int32_t st = begin_format(call, limits, true, &d)) return st;
  const int32_t w = call->w;
  if (out_capacity(call) < w) return VF_ERR_OUTSIZE;
  double v = call_value(call);
  if (!is_missing(v)) v = scale_real(v, d);
  uint8_t be[8];
  ieee_big_endian(v, w, be);
  uint8_t *out = out_bytes(call);
  if (!reversed)
    std::memcpy(out, be, static_cast<std::size_t>(w));
  else
    for (int32_t i = 0; i < w; ++i) out[i] = be[w - 1 - i];
  return finish_narrow(call, w);
}

// The double an IEEE field denotes after the hexadecimal floating-point
// round trip, or a status with the standard missing value.
int32_t read_ieee(const uint8_t be[8], int32_t w, int32_t n, double divisor,
                  void *out) {
  if (n >= 2 && be[0] == 0xFF && be[1] == 0xFF) {
    const uint8_t code = n >= 3 ? be[2] : 0;
    if (code >= 0xE4) {
      store_double(out, missing_value(code));
      return VF_OK;
    }
  }
  double x;
  if (w < 5) {
    x = ftod(be);
  } else {
    x = std::bit_cast<double>(load_high_order(be, 8));
  }
  if (std::isnan(x)) {
    store_double(out, standard_missing());
    return VF_ERR_NOTHING_TO_READ;
  }
  x = hfp_round_trip(x);
  store_double(out, unscale(x, divisor));
  return VF_OK;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t wzfmrb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("RB");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const int32_t n = field_room(call);
  double v = call_value(call);
  int32_t status = VF_OK;
  if (d != 0 && !is_missing(v)) {
    v = vvzscal(d, v);
    if (is_missing(v)) status = VF_WARN_RANGE;
  }
  wzcftrc(out_bytes(call), n, v);
  if (n < call->w && status == VF_OK) status = VF_ERR_OVERFLOW;
  return finish_narrow(call, n, status);
}

VF_API int32_t zfmieee(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("IEEE");
  return put_ieee(call, kLimits, false);
}

VF_API int32_t zfmieer(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("IEEER");
  return put_ieee(call, kLimits, true);
}

VF_API int32_t zfmflt(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("FLOAT");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const int32_t cap = out_capacity(call);
  uint8_t *out = out_bytes(call);
  if (cap < call->w) {
    if (cap > 0) std::memset(out, 0, static_cast<std::size_t>(cap));
    return finish_narrow(call, cap, VF_ERR_OUTSIZE);
  }
  double v = call_value(call);
  if (is_missing(v)) v = 0.0;
  v = scale_real(v, d);
  if (std::fabs(v) > static_cast<double>(FLT_MAX)) v = 0.0;
  const float f = static_cast<float>(v);
  std::memcpy(out, &f, 4);
  return finish_narrow(call, 4);
}

VF_API int32_t wzifmrb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@RB");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  uint8_t bytes[8];
  wzrftrc(bytes, 8, in.p, in.n);
  double x;
  std::memcpy(&x, bytes, 8);
  const uint64_t bits = double_bits(x);
  if ((bits & kExponentMask) == kExponentMask) {
    const bool coded = is_missing(x) && ((bits >> 40) & 0xFF) >= 0xE4;
    store_double(call->out, coded ? x : standard_missing());
    return coded ? VF_OK : VF_ERR_NOTHING_TO_READ;
  }
  if (x == 0.0) {
    store_double(call->out, 0.0);
    return VF_OK;
  }
  if (divisor != 1.0) {
    x /= divisor;
    if (x == 0.0) {
      store_double(call->out, standard_missing());
      return VF_WARN_RANGE;
    }
  }
  store_double(call->out, x);
  return VF_OK;
}

VF_API int32_t zifmflt(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@FLOAT");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  uint8_t bytes[4];
  wzrftrc(bytes, 4, in.p, in.n);
  float f;
  std::memcpy(&f, bytes, 4);
  if (!std::isfinite(f)) {
    store_double(call->out, standard_missing());
    return VF_ERR_NOTHING_TO_READ;
  }
  store_double(call->out, unscale(static_cast<double>(f), divisor));
  return VF_OK;
}

VF_API int32_t zifmiee(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@IEEE");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  uint8_t be[8] = {};
  if (in.n > 0) std::memcpy(be, in.p, static_cast<std::size_t>(in.n));
  return read_ieee(be, call->w, in.n, divisor, call->out);
}

VF_API int32_t zifmier(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@IEEER");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  const int32_t w = call->w;
  uint8_t le[8] = {};
  if (in.n > 0) std::memcpy(le, in.p, static_cast<std::size_t>(in.n));
  uint8_t be[8] = {};
  for (int32_t i = 0; i < w; ++i) be[i] = le[w - 1 - i];
  return read_ieee(be, w, w, divisor, call->out);
}

} // extern "C"
