// The text of a packed ISO 8601 value under a style flag word, and the
// fitting of such a text into a field.
#pragma once

#include <cstdint>

#include "datetime/iso8601/packed.h"

namespace valfmt {

// Style flag bits.
inline constexpr uint32_t kIsoDesignators = 1; // duration PnYnMnDTnHnMnS
inline constexpr uint32_t kIsoPointBasic = 2;  // yyyymmddThhmmss
inline constexpr uint32_t kIsoAlternative = 4; // duration Pyyyy-mm-ddThh:mm:ss
inline constexpr uint32_t kIsoPointExtended = 8;  // yyyy-mm-ddThh:mm:ss
inline constexpr uint32_t kIsoOmittedX = 16;      // omitted component: x
inline constexpr uint32_t kIsoOmittedHyphen = 32; // omitted component: -
inline constexpr uint32_t kIsoZeros = 64;         // designators: keep zeros
inline constexpr uint32_t kIsoAlternativeBasic = 4096; // PyyyymmddThhmmss

// The longest text of one value, and of an interval.
inline constexpr int32_t kIsoTextMax = 32;
inline constexpr int32_t kIntervalTextMax = 2 * kIsoTextMax + 1;

// Writes the text of v (not missing) under flags into out (room for
// kIsoTextMax characters); returns its length.
int32_t convert_to_text(const IsoValue &v, uint32_t flags, char *out);

// Fits text[0, len) into the w bytes at out: left-aligned and blank-padded
// when it fits; otherwise fraction digits are dropped from the right (a
// point with its last digit) until it does.  False, with w asterisks,
// when even that is not enough.
bool fit_to_target(char *text, int32_t len, char *out, int32_t w);

} // namespace valfmt
