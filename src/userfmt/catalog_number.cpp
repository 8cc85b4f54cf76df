// Numbers in a catalogue: missing-value notation, decimal text read the way
// atof reads it, and the numeric values of a row record.
#include <charconv>

#include "core/missing.h"
#include "userfmt/catalog.h"

namespace valfmt {
namespace {

// Value of a decimal text that does not fit a double: infinity when its
// magnitude is above 1, else 0 (as strtod gives).
double overflow_value(const char *p, const char *end) {
  int64_t order = 0;
  bool seen_digit = false, after_point = false;
  for (; p < end && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') {
      after_point = true;
    } else if (*p != '0' || seen_digit) {
      seen_digit = true;
      if (!after_point) ++order;
    } else if (after_point) {
      --order; // leading zero after the point
    }
  }
  if (p < end) order += read_integer(p + 1, static_cast<int>(end - p - 1));
  return order > 0 ? __builtin_inf() : 0.0;
}

} // namespace

double catalog_number(const char *text, int32_t len) {
  if (text == nullptr || len <= 0) return 0.0;
  // "." and ". " are the standard missing value, "._" and ".A".."Z" (any
  // case) the special ones; ".." is not a notation and reads as 0.
  if (text[0] == '.') {
    if (len == 1 || text[1] == ' ') return standard_missing();
    const int code = missing_code(static_cast<unsigned char>(text[1]));
    if (code >= 0 && text[1] != '.')
      return missing_value(static_cast<uint8_t>(code));
  }
  int i = 0;
  while (i < len && is_space(text[i])) ++i;
  bool neg = false;
  if (i < len && (text[i] == '+' || text[i] == '-')) {
    neg = text[i] == '-';
    ++i;
  }
  if (i < len && (text[i] == '+' || text[i] == '-')) return 0.0;
  double v = 0.0;
  const auto r = std::from_chars(text + i, text + len, v);
  if (r.ec == std::errc::result_out_of_range) {
    v = overflow_value(text + i, r.ptr);
  } else if (r.ec != std::errc{}) {
    return 0.0;
  }
  return neg ? -v : v;
}

double column_number(const Table *t, const Column *c) {
  if (c->type == kColNumeric) {
    double v;
    std::memcpy(&v, t->row + c->offset, sizeof v);
    return v;
  }
  return catalog_number(column_text(t, c), c->vlen);
}

} // namespace valfmt
