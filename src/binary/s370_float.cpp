// System/370 real binary and EBCDIC numbers, both directions: S370FRB /
// @S370FRB (IBM hexadecimal floating point, big-endian, the high-order
// w bytes) and S370FF / @S370FF (the F text in EBCDIC).
//
// S370FRB writes the hexadecimal floating-point form that @S370FRB reads,
// so every double from 2^-260 up to below 2^252 survives S370FRB8 and
// @S370FRB8 exactly (shorter fields keep the high-order fraction digits).
// Missing values are a first byte and zeros: 0x80 for the standard missing
// value, the EBCDIC code character for the others ('_', 'A'..'Z').
//
// Choices where the representation leaves room:
//   - A missing value whose code byte names no character, and a NaN that
//     is no missing value, are written as the standard missing value.
//   - Magnitudes of 2^252 and more and infinities write the largest
//     magnitude with the value's sign: VF_WARN_RANGE when scaling by 10^d
//     took the value there, VF_ERR_BINARY_FIT otherwise.  Magnitudes below
//     2^-260 and both zeros write true zero.
//   - @S370FRB: a first byte that is not zero, followed by zeros, is a
//     missing value; when its EBCDIC character names no missing value the
//     result is the standard missing value.
#include <cmath>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/ebcdic.h"
#include "binary/hfp.h"
#include "binary/int_value.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

// The first byte of a missing S370FRB field.
uint8_t s370_missing_byte(double v) {
  const char c = std::isnan(v) && is_missing(v) ? missing_char(v) : '.';
  if (c == '.' || c == ' ') return 0x80;
  return as2eb[static_cast<uint8_t>(c)];
}

// The missing value an EBCDIC first byte stands for.
double s370_missing_value(uint8_t b) {
  if (b == 0x80) return standard_missing();
  const uint8_t c = eb2as[b];
  if (c == '.' || c == '_' || (c >= 'A' && c <= 'Z'))
    return missing_value(static_cast<uint8_t>(missing_code(c)));
  return standard_missing();
}

} // namespace

// The big-endian HFP field of v * 10^d (not missing, not NaN) and its
// status.  Shared with the transport writer.
int32_t hfp_field(double v, int32_t d, uint8_t be[8]) {
  int32_t status = VF_OK;
  if (d > 0) {
    const double s = scale_real(v, d);
    if (std::isinf(s) && std::isfinite(v)) status = VF_WARN_RANGE;
    v = s;
  }
  const HfpValue h = ieee2xpt(v);
  if (h.overflow && status == VF_OK) status = VF_ERR_BINARY_FIT;
  put_be(be, h.bits, 8);
  return status;
}

} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zf7rb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("S370FRB");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const int32_t w = call->w;
  if (out_capacity(call) < w) return VF_ERR_OUTSIZE;
  const double v = call_value(call);
  uint8_t be[8] = {};
  int32_t status = VF_OK;
  if (std::isnan(v))
    be[0] = s370_missing_byte(v);
  else
    status = hfp_field(v, d, be);
  std::memcpy(out_bytes(call), be, static_cast<std::size_t>(w));
  return finish_narrow(call, w, status);
}

VF_API int32_t zif7rb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@S370FRB");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  const uint64_t bits = load_high_order(in.p, in.n);
  const auto first = static_cast<uint8_t>(bits >> 56);
  if (first != 0 && (bits & 0x00FFFFFFFFFFFFFFull) == 0) {
    store_double(call->out, s370_missing_value(first));
    return VF_OK;
  }
  store_double(call->out, unscale(hfp_to_double(bits), divisor));
  return VF_OK;
}

VF_API int32_t zf7f(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("S370FF");
  if (const int32_t st = begin_format(call, kLimits, true)) return st;
  const int32_t status = zfmt(call);
  const int32_t n =
      call->outlen < out_capacity(call) ? call->outlen : out_capacity(call);
  if (n > 0) wztxatoe(out_bytes(call), n);
  return status;
}

VF_API int32_t zif7f(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@S370FF");
  double divisor;
  int32_t d;
  if (const int32_t st = begin_reader(call, kLimits, &divisor, &d)) return st;
  const ReaderInput in = reader_input(call);
  char text[32];
  const int32_t n = in.n < 32 ? in.n : 32;
  for (int32_t i = 0; i < n; ++i) text[i] = static_cast<char>(eb2as[in.p[i]]);
  return read_number(text, n, d, call->out);
}

} // extern "C"
