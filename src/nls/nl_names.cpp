// NLSTRMON, NLSTRQTR and NLSTRWK: the locale's name of a month (1..12),
// quarter (1..4) or weekday (1..7, Sunday first).  Bit 0 of d picks the
// abbreviated name, bit 1 upper-cases the converted name.  The name is
// left-aligned in a field of w 16-bit units padded with 16-bit blanks
// (outlen 2 * w, or the whole units outsize holds); a name wider than w
// columns, or one that cannot be read or converted, gives the asterisk
// text, as does a value outside the range.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/call.h"
#include "core/missing.h"
#include "nls/nl_output.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

struct NameFormat {
  RowLimits limits;
  int32_t count;        // names in the set
  int32_t abbrev_first; // field of the first abbreviated name
  int32_t full_first;   // field of the first full name
};

constexpr int32_t kUpcaseBit = 2;
constexpr int32_t kAbbrevBit = 1;

bool write_name(fmtcall *call, std::string_view name, bool upcase) {
  uint16_t units[256];
  int32_t free_units = 0;
  const int32_t cap = out_capacity(call);
  const int32_t count =
      convert_units(call, name.data(), static_cast<int32_t>(name.size()),
                    call->w, cap, units, free_units);
  if (count < 0) return false;
  if (upcase) UPCASE(units, count);
  const int32_t field = std::min(count + free_units, cap / 2);
  char *out = static_cast<char *>(call->out);
  for (int32_t i = 0; i < field; ++i) {
    const uint16_t u = i < count ? units[i] : kWideBlank;
    out[2 * i] = static_cast<char>(u & 0xFF);
    out[2 * i + 1] = static_cast<char>(u >> 8);
  }
  if (cap > 2 * field) put_blanks(out + 2 * field, cap - 2 * field);
  call->outlen = 2 * field;
  call->outenc = VF_ENC_UCS2;
  return true;
}

int32_t format_name(fmtcall *call, const NameFormat &s) {
  const int32_t checked = check_width_decimals(call, s.limits);
  if (checked != VF_OK) return checked;
  if (call->value == nullptr) return write_wide_stars(call, call->w);
  const double v = call_value(call);
  if (is_missing(v)) return write_missing(call, call->w, 0);
  if (!(v >= 1 && v < s.count + 1)) return write_wide_stars(call, call->w);
  const auto k = static_cast<int32_t>(v) - 1;
  const bool abbrev = (call->d & kAbbrevBit) != 0;
  const int32_t field = (abbrev ? s.abbrev_first : s.full_first) + k;
  std::string_view name;
  if (read_locale_field(call->localeid, field, name) &&
      write_name(call, name, (call->d & kUpcaseBit) != 0))
    return VF_OK;
  return write_wide_stars(call, call->w);
}

constexpr NameFormat kMonths{row_limits("NLSTRMON"), 12, 50, 62};
constexpr NameFormat kQuarters{row_limits("NLSTRQTR"), 4, 90, 94};
constexpr NameFormat kWeekdays{row_limits("NLSTRWK"), 7, 74, 81};

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t nlstrmon(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  return valfmt::format_name(call, valfmt::kMonths);
}

VF_API int32_t nlstrqtr(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  return valfmt::format_name(call, valfmt::kQuarters);
}

VF_API int32_t nlstrwk(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  return valfmt::format_name(call, valfmt::kWeekdays);
}

} // extern "C"
