// --locale: a locale name (en_US) or record number turned into the locale
// ID that the call block carries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace valfmt_tool {

// Every name the library's locale name table knows, upper case, sorted.
std::vector<std::string> known_locale_names();

// The names of `known` closest to `name` (case ignored), closest first;
// at most `limit` of them, none farther than two edits.
std::vector<std::string>
close_locale_names(const std::string &name,
                   const std::vector<std::string> &known, std::size_t limit);

// "en_US" or "52" -> the ID.  False with a message (listing close matches
// for an unknown name) otherwise.
bool resolve_locale(const std::string &text, int32_t *id, std::string *message);

} // namespace valfmt_tool
