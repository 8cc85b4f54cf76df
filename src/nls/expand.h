// The locale pattern expander: a pattern of literal text and %-directives
// becomes narrow text (locale names keep their "<uXXXX>" escapes).
#pragma once

#include <cstdint>

namespace valfmt {

inline constexpr int32_t kExpandOk = 0;
inline constexpr int32_t kExpandTooLong = 1;
inline constexpr int32_t kExpandBadDirective = -2;

// Expands `pattern` (len bytes, trailing blanks ignored) for a date value,
// an hour, a minute and a second, any of which may be a missing value (or
// NaN); names come from locale record `locid`.  With a buffer, |width|
// characters of it are blank-filled and the text is copied left-aligned
// (width > 0) or right-aligned (width < 0); width then receives the text's
// length.  Returns kExpandTooLong (first |width| characters copied) when
// the text is longer than |width|, kExpandBadDirective for a directive
// outside the table, else kExpandOk.
int32_t expand(double date, double hour, double minute, double second,
               int32_t locid, const char *pattern, int32_t len, char *text,
               int32_t &width);

// The directive a letter stands for, folded to the case that selects its
// meaning (`lower`: the letter was lower-case or '?' preceded it); a
// letter listed in one case only means the same in both, %n and %N are
// %m.  '\0' for a letter outside the directive table.
char fold_directive(char letter, bool lower);

// True for a (folded) directive that shows a part of the date.
bool is_date_directive(char c);

// Display characters of narrow locale text: an escape counts one.
int32_t escaped_length(const char *text, int32_t n);

} // namespace valfmt
