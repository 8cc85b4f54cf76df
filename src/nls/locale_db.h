// Read access to the built-in locale database for the locale formats.
#pragma once

#include <cstdint>
#include <string_view>

namespace valfmt {

// Number of locale records and of text fields per record.
inline constexpr int32_t kLocaleCount = 133;
inline constexpr int32_t kLocaleFieldCount = 143;

// The bytes of one field of one locale record (narrow text, characters
// outside Latin-1 written as <Uxxxx> escapes; not terminated).  A locid
// outside 1..133 reads the default (en_US) record; a field outside 0..142
// gives an empty view.  Never allocates; the view points at constant data.
std::string_view locale_field(int32_t locid, int field);

// Value of a numeric field: the decimal digits that open it, read up to the
// first other byte ("3;3" is 3); an empty field is 0.  Saturates rather
// than overflowing.
int32_t locale_field_number(std::string_view t);

// Group size of a grouping field: its last digit ("3;2" is 2), or 0 when it
// has none.
int32_t locale_field_grouping(std::string_view t);

} // namespace valfmt
