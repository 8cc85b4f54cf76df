// Compile-time access to the limits a descriptor row gives a name, so that
// format code reads its widths and decimals from the one table instead of
// repeating them:  constexpr RowLimits kDate = row_limits("DATE");
// This header reads the rows as data only; it references no function.
#pragma once

#include <cstdint>
#include <string_view>

namespace valfmt {

struct RowLimits {
  int32_t minw;
  int32_t maxw;
  int32_t defw;
  int32_t maxd;
};

namespace detail {

struct LimitRow {
  std::string_view name;
  RowLimits limits;
};

#define VF_TODO(fn) 0
#define VF_NONE 0
#define VF_MODULE_BEGIN(...)
#define VF_MODULE_END(...)
#define VF_ROW(module, name, minw, maxw, defw, maxd, ...)                      \
  LimitRow{name, RowLimits{minw, maxw, defw, maxd}},
#define VF_ROW_UNLISTED VF_ROW
inline constexpr LimitRow kLimitRows[] = {
#include "registry/modules.def"
};
#undef VF_TODO
#undef VF_NONE
#undef VF_MODULE_BEGIN
#undef VF_MODULE_END
#undef VF_ROW
#undef VF_ROW_UNLISTED

} // namespace detail

// The limits of the first row named `name`, in name-table order.  A name
// without a row does not compile (the call is used in constant context).
consteval RowLimits row_limits(std::string_view name) {
  for (const detail::LimitRow &r : detail::kLimitRows)
    if (r.name == name) return r.limits;
  throw "no descriptor row has this name";
}

} // namespace valfmt
