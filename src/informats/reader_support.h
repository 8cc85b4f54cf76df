// What the numeric readers share: storing the result double, the length of
// the field they read, and the fixed work buffer the cleaning readers copy
// their text into.  Internal to the informats family.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "registry/limits.h"
#include "core/missing.h"
#include "valfmt.h"

namespace valfmt {

// Cleaning works on a stack buffer as wide as the widest numeric field.
inline constexpr int32_t kCleanBuf = row_limits("@F").maxw;

inline void store(void *out, double x) {
  if (out != nullptr) std::memcpy(out, &x, sizeof x);
}
inline void store_missing(void *out) {
  store(out, standard_missing());
}
inline double load(const void *out) {
  double x = 0;
  if (out != nullptr) std::memcpy(&x, out, sizeof x);
  return x;
}

// Stores x, the value of a text that is not zero.  A zero or infinite x
// lies outside what a double can hold for such a text: the standard
// missing value and VF_WARN_RANGE instead.
inline int32_t store_in_range(void *out, double x) {
  if (x == 0.0 || !std::isfinite(x)) {
    store_missing(out);
    return VF_WARN_RANGE;
  }
  store(out, x);
  return VF_OK;
}

inline bool is_digit(unsigned char c) {
  return static_cast<unsigned>(c - '0') <= 9u;
}

// Bytes a reader looks at: min(w, valuelen), none without a text.
inline int32_t field_length(int32_t w, int32_t valuelen, const void *value) {
  if (value == nullptr && valuelen > 0) valuelen = 0;
  return w < valuelen ? w : valuelen;
}

} // namespace valfmt

// Defines the exported numeric informat `name`: the entry check of
// begin_numeric, then valfmt::reader(call).
#define VF_DEFINE_NUMERIC_INFORMAT(name, reader)                               \
  VF_API int32_t name(fmtcall *call) {                                         \
    if (const int32_t st = valfmt::begin_numeric(call)) return st;             \
    return valfmt::reader(call);                                               \
  }
