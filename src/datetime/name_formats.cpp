// DOWNAME and MONNAME: the English weekday or month name of a date,
// right-aligned in w and cut to its first w letters when w is shorter
// ("Fr" at width 2).  A date outside the valid range, or a NaN that is not
// a missing value, shows w asterisks with status 0: these two formats show
// such values rather than report them.
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/word_call.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// Index of a name in datestgs: month m is m - 1, weekday k is k + 23.
template <typename NameIndex>
int32_t name_format(fmtcall *c, RowLimits limits, NameIndex name_index) {
  int32_t status;
  if (!word_call_ok(c, limits, &status)) return status;
  const double v = call_value(c);
  if (is_missing(v)) {
    show_missing(c);
    return VF_OK;
  }
  if (!date_in_range(v)) {
    fill_stars(c, c->w);
    return VF_OK;
  }
  const char *name = datestgs[name_index(day_of(v))];
  const int32_t w = c->w;
  // The first min(length, w) letters, right-aligned.
  put_right(static_cast<char *>(c->out), w, name,
            static_cast<int32_t>(std::strlen(name)));
  return finish_narrow(c, w);
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmdowname(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("DOWNAME");
  return name_format(call, kLimits,
                     [](int64_t day) { return weekday_of(day) + 23; });
}

VF_API int32_t zfmmonname(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("MONNAME");
  return name_format(call, kLimits,
                     [](int64_t day) { return civil_from_day(day).month - 1; });
}

} // extern "C"
