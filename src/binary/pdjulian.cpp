// Packed Julian dates: PDJULG writes the Julian date yyyyddd of a date
// value, PDJULI the date as cyyddd (yyyyddd - 1900000), both as unsigned
// packed digits whose last byte holds the units digit and the sign nibble
// F; the informats @PDJULG and @PDJULI read them back.
//
// Formats: a missing date writes the value 0 with status 0.  A date outside
// the calendar's range, a NaN, and under PDJULI a date before 1900 (which
// has no cyyddd form) write the value 0 and report VF_ERR_DATE_RANGE
// instead of passing for a date.  Julian digits that the first w - 1 bytes
// cannot hold make them all 0x99 with VF_ERR_BINARY_FIT.  A w outside the
// row's limits is refused with VF_ERR_WIDTH and a w above outsize with
// VF_ERR_OUTSIZE, both writing nothing.  Decimals are not used.
//
// Informats: the units nibble must be a digit and the other bytes packed
// digits, else VF_ERR_DATE_TEXT; an empty field is VF_ERR_DATE_TEXT too,
// and a w below 0 or above the row's maximum VF_ERR_WD_LIMITS.  Every
// failure leaves the standard missing value in out, so the output is
// defined whatever the input: leaving out as it was would hand a host that
// reuses its result buffer the previous row's date for unreadable bytes.
#include <algorithm>

#include "binary/packed.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kPdjul = row_limits("PDJULG");
constexpr RowLimits kInPdjul = row_limits("@PDJULG");
constexpr double kFirstDay = -138061.0;    // 1 January 1582
constexpr double kPastLastDay = 6589336.0; // 1 January 20001
constexpr double kCenturyBase = 1900000.0;

int32_t put_pdjul(fmtcall *c, bool from_1900) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  c->outenc = VF_ENC_NARROW;
  c->outlen = 0;
  if (c->value == nullptr || c->out == nullptr) return VF_ERR_BAD_CALL;
  const int32_t w = c->w;
  if (w < kPdjul.minw || w > kPdjul.maxw) return VF_ERR_WIDTH;
  if (w > c->outsize) return VF_ERR_OUTSIZE;
  auto *out = static_cast<unsigned char *>(c->out);
  const double date = load_double(c->value);
  uint64_t julian = 0;
  int32_t st = VF_OK;
  if (!is_missing(date)) {
    if (date >= kFirstDay && date < kPastLastDay) {
      double j = zjuldat(date);
      if (from_1900) j -= kCenturyBase;
      if (j >= 0)
        julian = static_cast<uint64_t>(j);
      else
        st = VF_ERR_DATE_RANGE;
    } else {
      st = VF_ERR_DATE_RANGE; // out of range, or a NaN
    }
  }
  const int32_t pk = put_pk_digits(julian / 10, out, w - 1);
  out[w - 1] = static_cast<unsigned char>((julian % 10) << 4 | 0x0F);
  return finish_narrow(c, w, st != VF_OK ? st : pk);
}

int32_t read_pdjul(fmtcall *c, bool from_1900) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  if (c->out == nullptr || c->outsize < 8) {
    c->outlen = 0;
    return VF_ERR_OUTSIZE;
  }
  c->outlen = 8;
  store_double(c->out, standard_missing());
  if (c->w < 0 || c->w > kInPdjul.maxw) return VF_ERR_WD_LIMITS;
  const auto *p = static_cast<const unsigned char *>(c->value);
  const int32_t n =
      p == nullptr || c->valuelen <= 0 ? 0 : std::min(c->w, c->valuelen);
  if (n == 0) return VF_ERR_DATE_TEXT;
  const unsigned units = p[n - 1] >> 4;
  u128 head;
  if (units > 9 || !read_packed_digits(p, n - 1, head)) return VF_ERR_DATE_TEXT;
  double julian = static_cast<double>(head * 10 + units);
  if (from_1900) julian += kCenturyBase;
  const double date = zdatjul(julian);
  if (is_missing(date)) return VF_ERR_DATE_TEXT;
  store_double(c->out, date);
  return VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t fpdjulg(fmtcall *call) {
  return valfmt::put_pdjul(call, false);
}
VF_API int32_t fpdjuli(fmtcall *call) {
  return valfmt::put_pdjul(call, true);
}
VF_API int32_t ipdjulg(fmtcall *call) {
  return valfmt::read_pdjul(call, false);
}
VF_API int32_t ipdjuli(fmtcall *call) {
  return valfmt::read_pdjul(call, true);
}

} // extern "C"
