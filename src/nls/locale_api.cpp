// The exported locale database entry points: field fetch (getZOXLocDB),
// field plus number/currency conventions (wzssglc) and name lookup
// (LocnameToID).
//
// Choices where callers could pass nonsense:
// - getZOXLocDB with a field index outside 0..142, a negative buffer size or
//   a null buffer returns -1 (the callers' "fall back" signal) and writes
//   nothing outside the buffer it was given.
// - wzssglc with a null holder returns 1.  For a field that is not one of
//   the pattern fields it leaves the holder's conventions untouched.  A
//   field that does not fit leaves the holder's text empty with length 0,
//   so a caller that overlooks the status still reads no negative length.
// - LocnameToID with a null name returns 5; a null ID slot is not written.
#include <cstring>
#include <string_view>

#include "nls/locale_data.h"
#include "nls/locale_db.h"
#include "nls/locale_names.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr int32_t kLocalCurrencyPattern = 113;
constexpr int32_t kIntlCurrencyPattern = 114;
constexpr int32_t kLocalNumberPattern = 126;
constexpr int32_t kIntlNumberPattern = 127;
constexpr int32_t kLocalPercentPattern = 128;
constexpr int32_t kIntlPercentPattern = 129;

// Copies text into a conventions text; false when it does not fit (the text
// is then empty).
bool set_text(zoxltext &dst, std::string_view src) {
  std::memset(dst.bytes, 0, sizeof dst.bytes);
  if (src.size() > sizeof dst.bytes) {
    dst.len = 0;
    return false;
  }
  if (!src.empty()) std::memcpy(dst.bytes, src.data(), src.size());
  dst.len = static_cast<int32_t>(src.size());
  return true;
}

int32_t num(int32_t locid, int field) {
  return locale_field_number(locale_field(locid, field));
}

// The seven integers of the conventions, from the six flag fields that
// start at `flags` (symbol-precedes-positive, space-positive,
// symbol-precedes-negative, space-negative, positive sign position,
// negative sign position).
void set_flags(zoxlconv &c, int32_t locid, int32_t frac, int flags) {
  c.frac_digits = frac;
  c.p_cs_precedes = num(locid, flags);
  c.p_sep_by_space = num(locid, flags + 1);
  c.n_cs_precedes = num(locid, flags + 2);
  c.n_sep_by_space = num(locid, flags + 3);
  c.p_sign_posn = num(locid, flags + 4);
  c.n_sign_posn = num(locid, flags + 5);
}

void set_percent_flags(zoxlconv &c) {
  c.frac_digits = 0;
  c.p_cs_precedes = 0;
  c.p_sep_by_space = 0;
  c.p_sign_posn = 1;
  c.n_cs_precedes = 0;
  c.n_sep_by_space = 0;
  c.n_sign_posn = 1;
}

// Fills the conventions for one of the six pattern fields; false when a
// text did not fit.
bool fill_conventions(zoxlconv &c, int32_t locid, int32_t field) {
  const bool money =
      field == kLocalCurrencyPattern || field == kIntlCurrencyPattern;
  const bool intl = field == kIntlNumberPattern || field == kIntlPercentPattern;
  const bool percent =
      field == kLocalPercentPattern || field == kIntlPercentPattern;
  bool ok = true;
  if (money) {
    ok &=
        set_text(c.currency_symbol,
                 locale_field(locid, field == kLocalCurrencyPattern ? 99 : 98));
    ok &= set_text(c.decimal_point, locale_field(locid, 100));
    ok &= set_text(c.thousands_sep, locale_field(locid, 101));
    c.grouping = locale_field_grouping(locale_field(locid, 102));
    ok &= set_text(c.positive_sign, locale_field(locid, 103));
    ok &= set_text(c.negative_sign, locale_field(locid, 104));
    set_flags(c, locid, num(locid, field == kLocalCurrencyPattern ? 106 : 105),
              107);
    return ok;
  }
  ok &= set_text(c.currency_symbol, percent ? "%" : "");
  if (intl) {
    ok &= set_text(c.decimal_point, ".");
    ok &= set_text(c.thousands_sep, ",");
    c.grouping = 3;
  } else {
    ok &= set_text(c.decimal_point, locale_field(locid, 115));
    ok &= set_text(c.thousands_sep, locale_field(locid, 116));
    c.grouping = locale_field_grouping(locale_field(locid, 117));
  }
  ok &= set_text(c.positive_sign, locale_field(locid, 118));
  ok &= set_text(c.negative_sign, locale_field(locid, 119));
  if (percent) {
    set_percent_flags(c);
  } else {
    set_flags(c, locid, 0, 120);
  }
  return ok;
}

bool is_pattern_field(int32_t field) {
  return field == kLocalCurrencyPattern || field == kIntlCurrencyPattern ||
         (field >= kLocalNumberPattern && field <= kIntlPercentPattern);
}

} // namespace
} // namespace valfmt

extern "C" VF_API int32_t getZOXLocDB(char *buffer, int32_t bufsize,
                                      int32_t field, int32_t locid) {
  if (buffer == nullptr || bufsize < 0) return -1;
  std::memset(buffer, 0, static_cast<std::size_t>(bufsize));
  if (field < 0 || field >= valfmt::kLocaleFieldCount) return -1;
  if ((locid < 1 || locid > valfmt::kLocaleCount) &&
      valfmt::kDefaultLocaleIndex < 0)
    return -1;
  const std::string_view t = valfmt::locale_field(locid, field);
  if (t.size() > static_cast<std::size_t>(bufsize)) return -1;
  if (!t.empty()) std::memcpy(buffer, t.data(), t.size());
  return static_cast<int32_t>(t.size());
}

extern "C" VF_API int32_t wzssglc(int32_t locid, int32_t field,
                                  zoxlfield *holder) {
  if (holder == nullptr) return 1;
  const int32_t len = getZOXLocDB(holder->text, VF_LOC_TEXT, field, locid);
  bool ok = len >= 0;
  holder->len = ok ? len : 0;
  if (valfmt::is_pattern_field(field))
    ok &= valfmt::fill_conventions(holder->conv, locid, field);
  return ok ? 0 : 1;
}

extern "C" VF_API int32_t LocnameToID(const char *name, int32_t len,
                                      int32_t *id) {
  int32_t found = 0;
  if (name != nullptr && len == 5)
    found = valfmt::locale_name_to_id(std::string_view(name, 5));
  if (id != nullptr) *id = found;
  return found > 0 ? 0 : 5;
}
