// Shared helpers of the user-format evaluators: 16-bit text units read and
// written without alignment, the call's field width and value, and the
// steps each evaluator file offers the others.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "userfmt/entry.h"
#include "valfmt.h"

namespace valfmt {

inline constexpr uint16_t kBlankUnit = 0x0020;

// Unit i of a 16-bit text at any alignment.
inline uint16_t unit_at(const void *p, int64_t i) {
  uint16_t u;
  std::memcpy(&u, static_cast<const char *>(p) + 2 * i, sizeof u);
  return u;
}
inline void put_unit(void *p, int64_t i, uint16_t u) {
  std::memcpy(static_cast<char *>(p) + 2 * i, &u, sizeof u);
}

// The call's width w, 0 when it is negative.
inline int32_t field_width(const fmtcall *c) {
  return c->w > 0 ? c->w : 0;
}

// The whole field in asterisks, narrow.
inline void fill_field_stars(fmtcall *c) {
  fill_stars(c, field_width(c));
  c->outenc = VF_ENC_NARROW;
}

// The number a numeric call carries; a null value pointer reads as the
// standard missing value.
inline double call_number(const fmtcall *c) {
  return c->value == nullptr ? standard_missing() : call_value(c);
}

// Copies min(n, width) units of src to dst and blank-pads dst to width
// units.  A null src counts as empty.
void copy_units_padded(const uint16_t *src, int32_t n, uint16_t *dst,
                       int32_t width);

// Compares two 16-bit texts as signed units; a longer text equals a shorter
// one when its remainder is all blanks, else it is the greater.
int compare_units(const uint16_t *a, int32_t la, const uint16_t *b, int32_t lb);

// Applies a label that names another format (nested_label.cpp).
int32_t format_nested_label(fmtcall *call, const fmtentry *entry,
                            void *const *ranges, const void *label);

// Renders `value` through a picture label into exactly w bytes at out;
// `round` is the entry's R flag (picture.cpp).  False when the value has
// more digits than the picture has digit positions: the w bytes are then
// asterisks.
bool render_picture(double value, int32_t w, char *out,
                    const picturelabel *label, uint8_t round);

} // namespace valfmt
