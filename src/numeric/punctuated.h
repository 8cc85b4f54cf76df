// Building blocks of the punctuated family (COMMA, DOLLAR, EUROX, PERCENT
// and the formats built on them): the field check every member makes
// before it writes, the F layout through the fixed renderer, and the
// grouping engines.  Each works on an explicit field (out, capacity, w, d)
// so that a member can run another on part of its own field.
#pragma once

#include <cstdint>

#include "valfmt.h"

namespace valfmt {

// What an engine produced: its status and the bytes it wrote.
struct Rendered {
  int32_t status;
  int32_t len;
};

// Refuses a field that cannot be written, the way the fixed renderer does,
// and reports the refusal in c: w < 1 is VF_ERR_WIDTH with nothing written;
// a buffer smaller than w is VF_ERR_OUTSIZE with the buffer's bytes '*'; a
// missing value pointer is VF_ERR_BAD_CALL with w '*'.  Returns VF_OK when
// the field of w bytes can be written.
int32_t refuse_field(fmtcall *c, int32_t w);

// F w.d of v into out (capacity cap) through the fixed renderer, on a
// private copy of the caller's block.
Rendered render_fixed(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                      int32_t d, double v);

// COMMA w.d of v: the F text with its integer digits grouped by ',' when
// the grouped text fits in w.  A missing value is laid out as F lays it
// out; a renderer status other than 0 comes back with the plain F text.
Rendered comma_field(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                     int32_t d, double v);

// DOLLAR w.d of v: COMMA in columns 1..w-1 with '$' before the text; when
// COMMA cannot lay the value out there, plain F w.d.  Needs w >= 1 and
// cap >= w.
Rendered dollar_field(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                      int32_t d, double v);

// EUROX w.d of v: the F text with a decimal ',', '.' grouping and the euro
// character in front, each only when it fits.  A renderer status other
// than 0 comes back with the plain F text.
Rendered eurox_field(const fmtcall &caller, char *out, int32_t cap, int32_t w,
                     int32_t d, double v);

// Exchanges '.' and ',' in n bytes.
void swap_marks(char *text, int32_t n);

} // namespace valfmt
