// NLBEST, NLD, NLPVALUE, NLPCTN and NLPCTP: a plain numeric format, then
// its '.' and ',' exchanged for the locale's decimal point (field 115) and
// thousands separator (field 116) when the decimal point is one character
// other than '.'.  A separator written as one <Uxxxx> escape counts as one
// character and goes in as that escape.  The text is converted to UCS-2
// as it stands (the plain format already aligned it); when it cannot be,
// the asterisk text is written.  The plain format's status is returned.
#include <cstring>
#include <string_view>

#include "core/call.h"
#include "nls/expand.h"
#include "nls/nl_output.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr int32_t kTextMax = 256;
constexpr int32_t kEscape = 7;

// One display character: a single byte or a single escape.
bool one_character(std::string_view s) {
  return s.size() == 1 ||
         (s.size() == kEscape && escaped_length(s.data(), kEscape) == 1);
}

// The first character of s (byte or escape).
std::string_view first_character(std::string_view s) {
  if (s.empty()) return s;
  if (s.size() >= kEscape && escaped_length(s.data(), kEscape) == 1)
    return s.substr(0, kEscape);
  return s.substr(0, 1);
}

// Copies n bytes of text with the separators exchanged; returns the new
// length, or -1 when it exceeds kTextMax.
int32_t exchange(const char *text, int32_t n, std::string_view point,
                 std::string_view sep, char *out) {
  int32_t len = 0;
  for (int32_t i = 0; i < n; ++i) {
    std::string_view piece(text + i, 1);
    if (text[i] == '.')
      piece = point;
    else if (text[i] == ',' && !sep.empty())
      piece = sep;
    if (len + static_cast<int32_t>(piece.size()) > kTextMax) return -1;
    std::memcpy(out + len, piece.data(), piece.size());
    len += static_cast<int32_t>(piece.size());
  }
  return len;
}

int32_t format_separated(fmtcall *call, RowLimits limits, fmtfn base, int32_t d,
                         int32_t outsize_limit) {
  const int32_t checked = check_width_decimals(call, limits);
  if (checked != VF_OK) return checked;
  const int32_t cap = out_capacity(call);
  const int32_t size =
      outsize_limit > 0 && outsize_limit < cap ? outsize_limit : cap;
  const int32_t status = run_base_format(call, base, call->w, d, size);
  if (status != VF_OK && status != VF_WARN) return status;
  const int32_t n = call->outlen;
  if (n <= 0 || n > size || n > kTextMax) {
    write_wide_stars(call, call->w);
    return status;
  }
  char text[kTextMax];
  std::memcpy(text, call->out, static_cast<std::size_t>(n));
  std::string_view point;
  std::string_view sep;
  char swapped[kTextMax];
  int32_t len = n;
  const char *from = text;
  if (read_locale_field(call->localeid, 115, point) && one_character(point) &&
      point != ".") {
    if (!read_locale_field(call->localeid, 116, sep)) sep = {};
    len = exchange(text, n, point, first_character(sep), swapped);
    from = swapped;
  }
  if (len < 0 || deliver_left(call, from, len, call->w) != Delivery::Done)
    write_wide_stars(call, call->w);
  return status;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t nlbest(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  constexpr valfmt::RowLimits k = valfmt::row_limits("NLBEST");
  return valfmt::format_separated(call, k, zfmb, 99, 0);
}

VF_API int32_t nldfmt(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  constexpr valfmt::RowLimits k = valfmt::row_limits("NLD");
  return valfmt::format_separated(call, k, zfmd, call->d, call->w);
}

VF_API int32_t nlpvalue(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  constexpr valfmt::RowLimits k = valfmt::row_limits("NLPVALUE");
  return valfmt::format_separated(call, k, zfmpval, call->d, 0);
}

VF_API int32_t nlpctn(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  constexpr valfmt::RowLimits k = valfmt::row_limits("NLPCTN");
  return valfmt::format_separated(call, k, pctn, call->d, 0);
}

VF_API int32_t nlpctp(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  constexpr valfmt::RowLimits k = valfmt::row_limits("NLPCTP");
  return valfmt::format_separated(call, k, zfmpct, call->d, 0);
}

} // extern "C"
