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

} // namespace valfmt
