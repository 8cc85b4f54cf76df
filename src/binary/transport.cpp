// Transport-file members, both directions: XPORTFLT / xprtifl (IBM
// hexadecimal floating point, big-endian, with the transport missing
// values) and $XPORTCH / xprtich (character copy); xprtiin, the reader of
// XPORTINT, lives with the integers.
//
// XPORTFLT writes the hexadecimal floating-point form xprtifl reads; a
// missing value is its code character in ASCII ('.', '_', 'A'..'Z')
// followed by zeros.
//
// Choices where the representation leaves room:
//   - A missing value whose code byte names no character, and a NaN that
//     is no missing value, are written as '.' (the standard missing value).
//   - A buffer smaller than w: XPORTFLT and $XPORTCH write what fits and
//     return VF_ERR_OVERFLOW, like XPORTINT.
//   - $XPORTCH and xprtich copy no more than the input holds (no padding).
//   - The readers take the rows of the formats they reverse (XPORTFLT,
//     XPORTINT) for the family's entry rule: widths 0..8, decimals 0..31.
#include <cmath>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/hfp.h"
#include "binary/real_bytes.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

uint8_t transport_missing_byte(double v) {
  const char c = is_missing(v) ? missing_char(v) : '.';
  return static_cast<uint8_t>(c == ' ' ? '.' : c);
}

// Bytes a character member copies: min(w, capacity, characters).
int32_t copy_count(const fmtcall *c, const CharInput &in) {
  const int32_t room = field_room(c);
  return in.n < room ? in.n : room;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t xprtffl(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("XPORTFLT");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const double v = call_value(call);
  uint8_t be[8] = {};
  int32_t status = VF_OK;
  if (std::isnan(v))
    be[0] = transport_missing_byte(v);
  else
    status = hfp_field(v, d, be);
  const int32_t n = field_room(call);
  if (n > 0) std::memcpy(out_bytes(call), be, static_cast<std::size_t>(n));
  if (n < call->w) status = VF_ERR_OVERFLOW;
  return finish_narrow(call, n, status);
}

VF_API int32_t xprtfch(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$XPORTCH");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  const int32_t n = copy_count(call, in);
  uint8_t *out = out_bytes(call);
  for (int32_t i = 0; i < n; ++i) out[i] = in.at(i);
  return finish_narrow(call, n,
                       out_capacity(call) < call->w ? VF_ERR_OVERFLOW : VF_OK);
}

VF_API int32_t xprtifl(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("XPORTFLT");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  const double x = wzrtdbl(in.p, in.n);
  store_double(call->out, is_missing(x) ? x : unscale(x, divisor));
  return VF_OK;
}

VF_API int32_t xprtich(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const CharInput in = char_input(call);
  const int32_t n = copy_count(call, in);
  uint8_t *out = out_bytes(call);
  for (int32_t i = 0; i < n; ++i) out[i] = in.at(i);
  return finish_narrow(call, n);
}

} // extern "C"
