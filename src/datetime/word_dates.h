// Texts of the word date formats, shared by the month-first formats
// (WEEKDATE, WORDDATE) and their day-first variants.
#pragma once

#include <cstdint>

namespace valfmt {

// Room for the longest text, "Wednesday, September 30, 20000".
inline constexpr int32_t kWordTextMax = 40;

// Writes the WEEKDATE field of a valid day: exactly w characters (w in
// 3..37), the text right-aligned.
void week_date_field(char *out, int32_t w, int64_t day);

// Writes the WORDDATE field of a valid day likewise (w in 3..32).
void word_date_field(char *out, int32_t w, int64_t day);

// Rewrites "Month d, yyyy" in region[0..n) as "d Month yyyy", right-aligned
// in the region.  Returns false (region unchanged) when it holds no comma.
bool zfmswap(char *region, int32_t n);

} // namespace valfmt
