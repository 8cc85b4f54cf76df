// Microsoft Binary Format real binary, both directions: MRB and @MRB.  The
// 8-byte layout, least significant byte first: six bytes of low fraction
// bits, a byte with the sign in its top bit and the top seven fraction
// bits, and the exponent byte e; value = 1.f * 2^(e - 129), e = 0 meaning
// 0.0.  A w-byte field is the high-order end (the last w of the 8 bytes),
// so MRB4 is the 4-byte single layout.
//
// Choices where the representation leaves room:
//   - MRB lays the value's own IEEE fields (sign, exponent, fraction) into
//     that layout: exponent byte = IEEE exponent - 894, the 52 fraction
//     bits followed by three zero bits.  No other stage comes first, so
//     every double from 2^-128 up to below 2^127 is kept exactly by MRB8
//     and @MRB8 reads it back.
//   - Zero (either sign), magnitudes below 2^-128, missing values and NaNs
//     write w zero bytes (status 0): the layout has no room for them.
//   - Magnitudes of 2^127 and above and infinities write the largest
//     magnitude with the value's sign and return VF_ERR_BINARY_FIT.
//   - A buffer smaller than w: nothing is written, VF_ERR_OUTSIZE.
#include <bit>
#include <cmath>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/real_bytes.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr int32_t kExponentShift = 894; // IEEE bias 1023 - MBF bias 129

// The eight MBF bytes of v; the status tells an overflow.
int32_t mbf_bytes(double v, uint8_t bytes[8]) {
  std::memset(bytes, 0, 8);
  if (is_missing(v) || std::isnan(v) || v == 0.0) return VF_OK;
  const uint64_t bits = double_bits(v);
  const auto sign = static_cast<uint8_t>((bits >> 56) & 0x80);
  const int32_t e = static_cast<int32_t>((bits >> 52) & 0x7FF) - kExponentShift;
  if (e <= 0) return VF_OK;
  if (e > 255) {
    std::memset(bytes, 0xFF, 8);
    bytes[6] = static_cast<uint8_t>(sign | 0x7F);
    return VF_ERR_BINARY_FIT;
  }
  const uint64_t fraction = bits & ((1ull << 52) - 1);
  const uint64_t low = (fraction & ((1ull << 45) - 1)) << 3; // 48 bits
  for (int32_t i = 0; i < 6; ++i)
    bytes[i] = static_cast<uint8_t>(low >> (8 * i));
  bytes[6] = static_cast<uint8_t>(sign | (fraction >> 45));
  bytes[7] = static_cast<uint8_t>(e);
  return VF_OK;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmmrb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("MRB");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const int32_t w = call->w;
  if (out_capacity(call) < w) return VF_ERR_OUTSIZE;
  double v = call_value(call);
  if (!is_missing(v)) v = scale_real(v, d);
  uint8_t bytes[8];
  const int32_t status = mbf_bytes(v, bytes);
  std::memcpy(out_bytes(call), bytes + 8 - w, static_cast<std::size_t>(w));
  return finish_narrow(call, w, status);
}

VF_API int32_t zifmmrb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@MRB");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  uint8_t bytes[8];
  wzrftrc(bytes, 8, in.p, in.n);
  const uint64_t e = bytes[7];
  if (e == 0) {
    store_double(call->out, 0.0);
    return VF_OK;
  }
  uint64_t fraction = bytes[6] & 0x7Full;
  for (int32_t i = 5; i >= 0; --i) fraction = fraction << 8 | bytes[i];
  const uint64_t sign = static_cast<uint64_t>(bytes[6] & 0x80) << 56;
  const double x = std::bit_cast<double>(
      sign | (e + static_cast<uint64_t>(kExponentShift)) << 52 | fraction >> 3);
  store_double(call->out, unscale(x, divisor));
  return VF_OK;
}

} // extern "C"
