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

} // namespace valfmt
