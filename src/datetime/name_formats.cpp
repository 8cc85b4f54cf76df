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
#include "datetime/word_dates.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// Index of a name in datestgs: month m is m - 1, weekday k is k + 23.
// A date out of range shows asterisks with status 0.
template <typename NameIndex>
int32_t name_format(fmtcall *c, RowLimits limits, NameIndex name_index) {
  return run_word_format(
      c, limits, VF_OK, [&](char *out, int32_t w, int64_t day) {
        const char *name = datestgs[name_index(day)];
        // The first min(length, w) letters, right-aligned.
        put_right(out, w, name, static_cast<int32_t>(std::strlen(name)));
      });
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
