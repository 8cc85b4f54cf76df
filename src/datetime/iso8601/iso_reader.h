// Reading ISO 8601 texts into packed values, and the interval arithmetic
// that derives a missing end of an interval.
#pragma once

#include <cstdint>

#include "datetime/iso8601/packed.h"

namespace valfmt {

// Reads a point in time or a duration from text[0, len) (blanks around it
// are ignored; an all-blank text is the missing value).  VF_OK, or
// VF_ERR_DATE_TEXT for a text that is not one of the accepted forms or
// holds a value the packed layout cannot carry.
int32_t read_date_or_duration(const char *text, int32_t len, IsoValue &v);

// Start and end of an interval given by two values: start/end,
// start/duration or duration/end.  VF_OK, or VF_ERR_DATE_TEXT when both
// are durations, or VF_ERR_DATE_RANGE when the derived point falls outside
// the years 1..9999 or would need a component the point does not carry.
int32_t derive_interval(const IsoValue &first, const IsoValue &second,
                        IsoValue &start, IsoValue &end);

} // namespace valfmt
