// The layout engine the locale number and currency formats share.
#pragma once

#include <cstdint>

#include "nls/nl_compose.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// The conventions of pattern field 113, 114 or 126 to 129 of a locale
// record, read straight from its fields (views into the constant data);
// false for another field or when a field cannot be read.
bool locale_conventions(int32_t locid, int32_t field, NumberConventions &c);

// Fits v (sign kept for the layout) into w columns with d decimals under
// conventions c and writes the UCS-2 result or the asterisk text.
// Returns 0.
int32_t fit_number(fmtcall *call, const NumberConventions &c, double v,
                   int32_t w, int32_t d);

// The layout formats' renderer for one pattern field (113, 114, 126 to
// 129): 0 when it wrote the output, -1 when the locale record could not
// be read (the output is then untouched).
int32_t zkfnum(fmtcall *call, int32_t w, const char *pattern, int32_t field);

// A layout format: check, zkfnum, else the plain format `base` converted,
// else asterisks.
int32_t format_nl_number(fmtcall *call, RowLimits limits, int32_t field,
                         fmtfn base);

} // namespace valfmt
