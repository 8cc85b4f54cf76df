// The locale date, datetime and time renderers behind the NLDATE, NLDATM
// and NLTIME families: expand a pattern (given, or taken from a locale
// field) for one value into narrow text.
#pragma once

#include <cstdint>

#include "valfmt.h"

namespace valfmt {

inline constexpr int32_t kZkfOk = 0;
inline constexpr int32_t kZkfTooLong = 1;
inline constexpr int32_t kZkfNoField = -1;
inline constexpr int32_t kZkfBadDirective = -2;
inline constexpr int32_t kZkfBadValue = -3;

// Field index flag of zkfdttm: append a blank and %z to the pattern.
inline constexpr int32_t kWithZone = 256;

// Each takes a locale ID, a text buffer of |width| characters (width in:
// the room, out: the text length), a pattern of `pattern_or_field` bytes,
// or with a null pattern the locale field of that index, and the value.
// Returns kZkfOk, kZkfTooLong, kZkfNoField, kZkfBadDirective, or
// kZkfBadValue for a missing or out-of-range value.
int32_t zkfdate(int32_t locid, char *text, int32_t &width, const char *pattern,
                int32_t pattern_or_field, double date);
int32_t zkfdttm(int32_t locid, char *text, int32_t &width, const char *pattern,
                int32_t pattern_or_field, double datetime);
int32_t zkftime(int32_t locid, char *text, int32_t &width, const char *pattern,
                int32_t pattern_or_field, double time);

// Runs `member`, one of the NLDATE, NLDATM and NLTIME format functions,
// with every pattern expanded as text and converted (the road of host
// encodings other than the 16-bit ones).  VF_ERR_BAD_CALL for another
// function.
int32_t nl_date_through_expander(fmtcall *call, fmtfn member);

// A time value brought into one day: a negative t counts back from
// midnight, t of a day or more wraps; the result lies in [0, 86400).
double wrap_time_of_day(double t);

} // namespace valfmt
