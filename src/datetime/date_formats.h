// Layout routines of the numeric date formats, shared by their separator
// variants (date_variants.cpp) and by the families that build on them
// (time, ISO 8601, word and locale formats).  Each format routine takes
// the call block, the limits of the descriptor row it serves and the
// separator character (0: none).
#pragma once

#include <cstdint>

#include "datetime/date_fields.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Writes the three-part date left/middle/right into the w bytes at out,
// built from the right: the right part when w > 5, the middle part (after a
// separator when w >= 8) when w > 3, a separator when w is 5 or at least 8,
// then the left part; blanks fill the rest (the text is at most 14 bytes,
// so w beyond that is blank on the left).  A part above 99 takes four
// digits (asterisks when it needs more), others two with a leading zero.
// sep 0 means no separator.  w <= 0 writes nothing.
void write_three_part_date(char *out, int32_t w, int32_t left, int32_t middle,
                           int32_t right, char sep);

// Day, month and year in the three orders; the year keeps four digits only
// when the field holds the whole layout.
int32_t format_day_month_year(fmtcall *call, RowLimits limits, char sep);
int32_t format_month_day_year(fmtcall *call, RowLimits limits, char sep);
int32_t format_year_month_day(fmtcall *call, RowLimits limits, char sep);

// Month and year, year and month.
int32_t format_month_year(fmtcall *call, RowLimits limits, char sep);
int32_t format_year_month(fmtcall *call, RowLimits limits, char sep);

// Year and quarter digit, year and Roman quarter.
int32_t format_year_quarter(fmtcall *call, RowLimits limits, char sep);
int32_t format_year_roman_quarter(fmtcall *call, RowLimits limits, char sep);

} // namespace valfmt
