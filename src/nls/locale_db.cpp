// Field access to the locale records, with the default-record rule.
#include "nls/locale_db.h"

#include "nls/locale_data.h"

namespace valfmt {

std::string_view locale_field(int32_t locid, int field) {
  if (field < 0 || field >= kLocaleFieldCount) return {};
  // Checked before subtracting: any int32_t, INT32_MIN included, is an ID.
  const int32_t index =
      locid < 1 || locid > kLocaleCount ? kDefaultLocaleIndex : locid - 1;
  if (index < 0) return {};
  const LocaleText &t = ZOXlocaleData[index][field];
  if (t.len <= 0) return {};
  return {t.bytes, static_cast<std::size_t>(t.len)};
}

int32_t locale_field_number(std::string_view t) {
  int32_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') break;
    if (v > 100000000) return v;
    v = v * 10 + (c - '0');
  }
  return v;
}

int32_t locale_field_grouping(std::string_view t) {
  for (std::size_t i = t.size(); i > 0; --i) {
    if (t[i - 1] >= '0' && t[i - 1] <= '9') return t[i - 1] - '0';
  }
  return 0;
}

} // namespace valfmt
