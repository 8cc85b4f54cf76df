// Binary integers: IB, PIB and their byte-order variants (IBR, PIBR,
// PCPIB, S370FIB, S370FIBU, S370FPIB), the transport integer XPORTINT,
// and the matching informats.
//
// Formats write n = min(w, outsize) bytes; a buffer shorter than w gives
// VF_ERR_OVERFLOW, which takes precedence over any other status, since the
// field the caller asked for was not delivered whole.  Values are scaled by
// 10^d and rounded half up exactly: the fraction is measured against the
// truncated value instead of adding 0.5, which would round odd integers
// from 2^52 up to the next even one.  Negative values round half away from
// zero (-3.5 gives -4).  A NaN that is not a missing value is written like
// a missing value with VF_ERR_NOTHING_TO_READ.  A w outside the row's
// limits, or decimals outside 0..31 other than the codes 98 and 99 (read
// as 0), are refused with VF_ERR_WIDTH and nothing written.
//
// XPORTINT truncates toward zero and saturates every field width to the
// signed range of its bytes with VF_WARN_RANGE (not only two-byte fields),
// and values beyond 2^53 are written exactly rather than as 0.
//
// Informats read min(w, valuelen) bytes (none: the standard missing value,
// status 0); the big-endian readers take the bytes present as the whole
// field.  Every failure leaves the standard missing value in out.  A zero
// result is +0.0.
#include "binary/integer.h"

#include "binary/byte_order.h"
#include "binary/int_value.h"
#include "binary/scale.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kIB = row_limits("IB");
constexpr RowLimits kPIB = row_limits("PIB");
constexpr RowLimits kXport = row_limits("XPORTINT");
constexpr RowLimits kInIB = row_limits("@IB");
constexpr RowLimits kInPIB = row_limits("@PIB");
constexpr RowLimits kInS370 = row_limits("@S370FIB");

enum class Kind { pib, ib };
enum class Order { little, big };

// The common body of the integer formats.
template <Kind K, Order O>
int32_t put_integer(fmtcall *c, RowLimits lim, bool magnitude = false) {
  BinaryField f;
  if (const int32_t st = begin_binary_format(c, lim.minw, lim.maxw, f))
    return st;
  double v = f.v;
  if (magnitude && !is_missing(v)) v = v < 0 ? -v : (v == 0 ? 0.0 : v);
  IntField r{0, f.status(VF_OK)};
  if (is_missing(v)) {
    // zero bytes
  } else if (v != v) {
    r.status = VF_ERR_NOTHING_TO_READ;
  } else if (f.n == 0) {
    r.status = VF_ERR_OVERFLOW;
  } else {
    r = K == Kind::pib ? pib_scaled(v, f.n, f.d) : ib_scaled(v, f.n, f.d);
    r.status = f.status(r.status);
  }
  if (O == Order::little)
    put_le(f.out, r.bits, f.n);
  else
    put_be(f.out, r.bits, f.n);
  return finish_narrow(c, f.n, r.status);
}

template <bool Signed, Order O>
int32_t read_integer(fmtcall *c, RowLimits lim) {
  BinaryInput in;
  if (const int32_t st = begin_binary_informat(c, lim.maxw, in)) return st;
  if (in.n == 0) return finish_read(c, VF_OK, standard_missing());
  const uint64_t u =
      O == Order::little ? load_le(in.p, in.n) : load_be(in.p, in.n);
  const double x = Signed ? static_cast<double>(sign_extend(u, in.n))
                          : static_cast<double>(u);
  return finish_read(c, VF_OK, scale_down(x, in.d));
}

} // namespace

int32_t wzctint(int64_t v, unsigned char *out, int32_t n) {
  if (n <= 0) return VF_OK;
  if (n > 8) n = 8;
  int32_t st = VF_OK;
  if (n < 8) {
    const int64_t hi = (int64_t{1} << (8 * n - 1)) - 1;
    const int64_t lo = -hi - 1;
    if (v > hi || v < lo) {
      v = v > hi ? hi : lo;
      st = VF_WARN_RANGE;
    }
  }
  put_be(out, static_cast<uint64_t>(v), n);
  return st;
}

int64_t wzrtint(const unsigned char *p, int32_t n) {
  if (p == nullptr || n <= 0) return 0;
  if (n > 8) n = 8;
  return sign_extend(load_be(p, n), n);
}

} // namespace valfmt

using valfmt::Kind;
using valfmt::Order;

extern "C" {

VF_API int32_t wzfmpib(fmtcall *call) {
  return valfmt::put_integer<Kind::pib, Order::little>(call, valfmt::kPIB);
}
VF_API int32_t zfmpibr(fmtcall *call) {
  return wzfmpib(call);
}
VF_API int32_t wzfmib(fmtcall *call) {
  return valfmt::put_integer<Kind::ib, Order::little>(call, valfmt::kIB);
}
VF_API int32_t zfmibr(fmtcall *call) {
  return wzfmib(call);
}
VF_API int32_t zf7ib(fmtcall *call) {
  return valfmt::put_integer<Kind::ib, Order::big>(call, valfmt::kIB);
}
VF_API int32_t zf7pib(fmtcall *call) {
  return valfmt::put_integer<Kind::pib, Order::big>(call, valfmt::kPIB);
}
VF_API int32_t zf7ibu(fmtcall *call) {
  return valfmt::put_integer<Kind::pib, Order::big>(call, valfmt::kPIB, true);
}
// S370FPIB reversed again: the bytes of PIB.
VF_API int32_t zfmpcpi(fmtcall *call) {
  return wzfmpib(call);
}

VF_API int32_t xprtfin(fmtcall *call) {
  using namespace valfmt;
  BinaryField f;
  if (const int32_t st = begin_binary_format(call, kXport.minw, kXport.maxw, f))
    return st;
  int32_t st = VF_OK;
  int64_t i = 0;
  if (is_plain_nan(f.v)) {
    st = VF_ERR_NOTHING_TO_READ;
  } else if (!is_missing(f.v)) {
    const double v = vvzscal(f.d, f.v);
    if (is_missing(v)) {
      i = f.v < 0 ? INT64_MIN : INT64_MAX;
      st = VF_WARN_RANGE;
    } else if (!(v < 0x1p63)) {
      i = INT64_MAX;
      st = VF_WARN_RANGE;
    } else if (!(v >= -0x1p63)) {
      i = INT64_MIN;
      st = VF_WARN_RANGE;
    } else {
      i = static_cast<int64_t>(v);
    }
  }
  const int32_t wst = wzctint(i, f.out, f.n);
  if (st == VF_OK) st = wst;
  return finish_narrow(call, f.n, f.status(st));
}

VF_API int32_t wzifmpb(fmtcall *call) {
  return valfmt::read_integer<false, Order::little>(call, valfmt::kInPIB);
}
VF_API int32_t zifmpir(fmtcall *call) {
  return wzifmpb(call);
}
VF_API int32_t wzifmib(fmtcall *call) {
  // The full eight-byte field without decimals: one load, one conversion.
  if (call != nullptr && call->w == 8 && call->d == 0 && call->valuelen >= 8 &&
      call->value != nullptr && call->out != nullptr && call->outsize >= 8) {
    int64_t i;
    std::memcpy(&i, call->value, 8);
    call->outlen = 8;
    valfmt::store_double(call->out, static_cast<double>(i));
    return VF_OK;
  }
  return valfmt::read_integer<true, Order::little>(call, valfmt::kInIB);
}
VF_API int32_t zifmir(fmtcall *call) {
  return wzifmib(call);
}
// The input reversed, read as @S370FPIB: little-endian unsigned.
VF_API int32_t zifmpcp(fmtcall *call) {
  return wzifmpb(call);
}
VF_API int32_t zif7pib(fmtcall *call) {
  return valfmt::read_integer<false, Order::big>(call, valfmt::kInS370);
}
VF_API int32_t zif7ibu(fmtcall *call) {
  return zif7pib(call);
}
VF_API int32_t zif7ib(fmtcall *call) {
  return valfmt::read_integer<true, Order::big>(call, valfmt::kInS370);
}
VF_API int32_t xprtiin(fmtcall *call) {
  return zif7ib(call);
}

} // extern "C"
