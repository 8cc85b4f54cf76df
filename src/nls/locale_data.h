// The locale records as constant data (generated into locale_data.cpp by
// tools/gen_locale_db.py).
#pragma once

#include <cstddef>
#include <cstdint>

#include "nls/locale_db.h"

namespace valfmt {

// One field: its length and bytes (no terminator is part of the field).  An
// empty field has length 0 and no bytes.
struct LocaleText {
  int32_t len = 0;
  const char *bytes = nullptr;

  constexpr LocaleText() = default;
  template <std::size_t N>
  consteval LocaleText(const char (&s)[N]) // NOLINT: implicit by design
      : len(static_cast<int32_t>(N - 1)), bytes(N > 1 ? s : nullptr) {}
};

using LocaleRecord = LocaleText[kLocaleFieldCount];

// Record n (1-based locale ID) is ZOXlocaleData[n - 1].
extern const LocaleRecord ZOXlocaleData[kLocaleCount];

// Index of the default record (see default_record_index), fixed when the
// table is compiled.
extern const int32_t kDefaultLocaleIndex;

constexpr bool ascii_ieq(char a, char b) {
  auto up = [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  };
  return up(a) == up(b);
}

constexpr bool field_is(const LocaleText &t, char a, char b) {
  return t.len == 2 && ascii_ieq(t.bytes[0], a) && ascii_ieq(t.bytes[1], b);
}

// The default record: the first whose ISO language (field 4) is "en" and
// ISO country (field 5) "US", compared without regard to case; -1 when no
// record qualifies.
constexpr int32_t default_record_index(const LocaleRecord *records) {
  for (int32_t i = 0; i < kLocaleCount; ++i) {
    if (field_is(records[i][4], 'e', 'n') && field_is(records[i][5], 'U', 'S'))
      return i;
  }
  return -1;
}

} // namespace valfmt
