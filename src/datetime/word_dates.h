// Texts of the word date formats, shared by the month-first formats
// (WEEKDATE, WORDDATE) and their day-first variants.
#pragma once

#include <cstdint>

namespace valfmt {

// Room for the longest text, "Wednesday, September 30, 20000".
inline constexpr int32_t kWordTextMax = 40;

// The WEEKDATE text of day at width w (3..37), before right-alignment,
// into buf (kWordTextMax bytes); returns its length (at most w).
int32_t week_date_text(char *buf, int32_t w, int64_t day);

// The WORDDATE text of day at width w (3..32), likewise.
int32_t word_date_text(char *buf, int32_t w, int64_t day);

// Rewrites "Month d, yyyy" in region[0..n) as "d Month yyyy", right-aligned
// in the region.  Returns false (region unchanged) when it holds no comma.
bool zfmswap(char *region, int32_t n);

} // namespace valfmt
