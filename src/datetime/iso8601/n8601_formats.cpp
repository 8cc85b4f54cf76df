// The $N8601 formats: a packed ISO 8601 value, given as 16 hexadecimal
// digits (a point in time or a duration) or 32 (an interval), rendered as
// ISO 8601 text under the format's style words and fitted into w columns.
//
//  - Fewer than 16 characters of value, or a trimmed text that is not
//    exactly 16 or 32 hexadecimal digits: w asterisks, status 0.
//  - All blanks, an all-FF value, or an interval with an all-FF half:
//    w blanks, status 0.
//  - A malformed packed value (a decimal nibble above 9, a partly omitted
//    component, a month above 12, an unknown unit): w blanks and
//    VF_ERR_BAD_PACKED.
//  - A text longer than w loses fraction digits from the right; when that
//    is not enough, w asterisks and VF_ISO_UNFIT.
// 16-bit input (inenc 25) is read unit by unit; a unit above 0x7F is not a
// hexadecimal digit.  outlen is always w.
#include <cstring>

#include "core/call.h"
#include "datetime/call_checks.h"
#include "datetime/iso8601/iso_text.h"
#include "datetime/iso8601/packed.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr int32_t kIntervalDigits = 2 * kPackedDigits;

// The call's character value, unit by unit.
struct CharValue {
  const unsigned char *bytes;
  int32_t len;
  bool wide;
  char at(int32_t i) const {
    if (!wide) return static_cast<char>(bytes[i]);
    const int32_t u = bytes[2 * i] | bytes[2 * i + 1] << 8;
    return u < 0x80 ? static_cast<char>(u) : '\x7F';
  }
};

int32_t show(fmtcall *c, char fill, int32_t status) {
  std::memset(c->out, fill, static_cast<std::size_t>(c->w));
  return finish_narrow(c, c->w, status);
}

// Text of one packed value, or its status; *missing when all FF.
int32_t value_text(const uint8_t *bytes, uint32_t duration_flags,
                   uint32_t point_flags, char *text, int32_t *len,
                   bool *missing) {
  IsoValue v;
  const int32_t status = convert_from_bcd(bytes, v);
  if (status != VF_OK) return status;
  *missing = v.missing;
  if (!v.missing)
    *len +=
        convert_to_text(v, v.point ? point_flags : duration_flags, text + *len);
  return VF_OK;
}

int32_t invoke_n8601(fmtcall *call, const RowLimits &limits,
                     uint32_t duration_flags, uint32_t point_flags) {
  int32_t status;
  if (!narrow_call_ok(call, limits, ShortBuffer::kRefuse, &status))
    return status;
  const CharValue in{static_cast<const unsigned char *>(call->value),
                     call->valuelen, call->inenc == VF_ENC_UCS2};
  if (in.len < kPackedDigits) return show(call, '*', VF_OK);
  int32_t first = 0;
  int32_t end = in.len;
  while (first < end && in.at(first) == ' ') ++first;
  while (end > first && in.at(end - 1) == ' ') --end;
  if (first == end) return show(call, ' ', VF_OK);
  const int32_t n = end - first;
  char digits[kIntervalDigits];
  uint8_t bytes[2 * kPackedBytes];
  if (n != kPackedDigits && n != kIntervalDigits) return show(call, '*', VF_OK);
  for (int32_t i = 0; i < n; ++i) digits[i] = in.at(first + i);
  if (!unhexify(digits, n, bytes)) return show(call, '*', VF_OK);
  char text[kIntervalTextMax];
  int32_t len = 0;
  bool missing = false;
  status = value_text(bytes, duration_flags, point_flags, text, &len, &missing);
  if (status == VF_OK && !missing && n == kIntervalDigits) {
    text[len++] = '/';
    status = value_text(bytes + kPackedBytes, duration_flags, point_flags, text,
                        &len, &missing);
  }
  if (status != VF_OK) return show(call, ' ', status);
  if (missing) return show(call, ' ', VF_OK);
  if (!fit_to_target(text, len, static_cast<char *>(call->out), call->w))
    return finish_narrow(call, call->w, VF_ISO_UNFIT);
  return finish_narrow(call, call->w);
}

} // namespace
} // namespace valfmt

extern "C" {

// function, row, duration style, point-in-time style.
#define VF_N8601_FORMATS(X)                                                    \
  X(n8601b, "$N8601B", 1, 2)                                                   \
  X(n8601ba, "$N8601BA", 4160, 2)                                              \
  X(n8601e, "$N8601E", 65, 8)                                                  \
  X(n8601ea, "$N8601EA", 4, 8)                                                 \
  X(n8601eh, "$N8601EH", 36, 40)                                               \
  X(n8601ex, "$N8601EX", 20, 24)                                               \
  X(n8601h, "$N8601H", 1, 40)                                                  \
  X(n8601x, "$N8601X", 1, 24)

#define VF_N8601_DEFINE(fn, row, duration, point)                              \
  VF_API int32_t fn(fmtcall *call) {                                           \
    static constexpr valfmt::RowLimits kLimits = valfmt::row_limits(row);      \
    return valfmt::invoke_n8601(call, kLimits, duration, point);               \
  }
VF_N8601_FORMATS(VF_N8601_DEFINE)
#undef VF_N8601_DEFINE

} // extern "C"
