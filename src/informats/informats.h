// Readers shared by the informat families.  The standard numeric reader
// (wzifmn, declared in valfmt.h, and read_number below) turns cleaned text
// into a double; the missing-notation reader recognises blank fields and
// the texts ".", ".A", "_", "A" ... that stand for missing values.  Date,
// time and binary informats clean their text and hand it to these two.
#pragma once

#include <cstdint>

#include "valfmt.h"

namespace valfmt {

// Stores the missing value for `text`/`len` at `out` (8 bytes, any
// alignment) and returns 1 when the text is blank or a missing-value
// notation; otherwise stores the standard missing value and returns 0.
int32_t read_missing_notation(const char *text, int32_t len, void *out);

// The standard numeric reader on `len` bytes at `text` with `d` decimals,
// storing the double at `out` (8 bytes, any alignment).  Same statuses as
// wzifmn; a null text reads as an empty one.
int32_t read_number(const char *text, int32_t len, int32_t d, void *out);

// read_number with every text read through the chunk folding, plain
// decimal texts included: the reference the one-pass reading of those
// texts must agree with.
int32_t read_number_by_folding(const char *text, int32_t len, int32_t d,
                               void *out);

// Entry check of every numeric informat: a null block is refused; a
// result buffer that cannot hold the 8-byte double (null `out` or
// `outsize` below 8) receives nothing and gives VF_ERR_OUTSIZE with outlen
// 0; otherwise sets outlen to 8 and returns 0.
int32_t begin_numeric(fmtcall *call);

} // namespace valfmt
