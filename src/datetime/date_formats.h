// Layout routines shared by the numeric date formats and by the families
// that build on them (time, ISO 8601, word and locale formats).
#pragma once

#include <cstdint>

#include "valfmt.h"

namespace valfmt {

// Writes the three-part date left/middle/right into the w bytes at out,
// built from the right: the right part when w > 5, the middle part (after a
// separator when w >= 8) when w > 3, a separator when w is 5 or at least 8,
// then the left part; blanks fill the rest (the text is at most 14 bytes,
// so w beyond that is blank on the left).  A part above 99 takes four
// digits (asterisks when it needs more), others two with a leading zero.
// sep 0 means no separator.  w <= 0 writes nothing.
void zfmcprt(char *out, int32_t w, int32_t left, int32_t middle, int32_t right,
             char sep);

// Month-year and year-month layouts with separator sep (0: none).
int32_t zfmdlmy(fmtcall *call, char sep);
int32_t zfmdlym(fmtcall *call, char sep);

// Year and quarter digit, and year and Roman quarter, with separator sep
// (0: none).
int32_t zfmdlqy(fmtcall *call, char sep);
int32_t zfmdlyq(fmtcall *call, char sep);

// Checks the call block of a format whose widths run minw..maxw: a null
// block or buffer, a width outside the limits or above outsize.  Returns
// true when the format may proceed; otherwise the field holds what fits of
// w asterisks and *status the reason.
bool date_call_ok(fmtcall *call, int32_t minw, int32_t maxw, int32_t *status);

} // namespace valfmt
