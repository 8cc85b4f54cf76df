// What every locale format shares: reading a locale field, the width and
// decimals check, and delivering narrow text (with "<uXXXX>" escapes) as
// UCS-2 little-endian units measured against the field width.
//
// Host encoding.  The display width of a result is measured in the
// encoding of the host's character data, which the call block carries in
// `inenc`.  Widths are counted in characters of that encoding: for the
// 16- and 32-bit encodings (and an unset or unknown `inenc`, which counts
// as UCS-2) the width handed to the measuring routine is scaled by the
// unit size, so a text of n BMP characters fits w columns exactly when
// n <= w; in a double-byte host encoding a character beyond ASCII takes
// two columns, in UTF-8 one column per byte.
//
// Capacity.  No result is ever longer than `outsize` bytes.  When outsize
// is below 2*w the asterisk text and the right-aligned number fields
// shrink to the whole units that fit; a text that does not fit at all
// takes the next fallback.
#pragma once

#include <cstdint>
#include <string_view>

#include "nls/locale_db.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

inline constexpr int32_t kNlTextMax = 320; // first expansion of a pattern
inline constexpr uint16_t kWideBlank = 0x0020;

// A locale field as stored (escapes unresolved).  False when it does not
// fit the 160-byte holder the formats read fields into.
inline bool read_locale_field(int32_t locid, int32_t field,
                              std::string_view &text) {
  text = locale_field(locid, field);
  return text.size() <= VF_LOC_TEXT;
}

// The checks of bit 0 of options: 0 when w and d are inside the limits,
// else the locale status (w small, w large, d negative, d large).
int32_t check_width_decimals(const fmtcall *call, RowLimits limits);

// Result of putting narrow text into the call's output.
enum class Delivery { Done, TooWide, NoRoom };

// Converts n narrow bytes and writes them left-aligned: outlen is the
// converted length, the rest of outsize is filled with 16-bit blanks.
Delivery deliver_left(fmtcall *call, const char *text, int32_t n, int32_t w);

// Converts n narrow bytes and writes them right-aligned in w columns
// (blank units before them), outlen covering the field; bytes of outsize
// beyond the field are left as they were.
Delivery deliver_right(fmtcall *call, const char *text, int32_t n, int32_t w);

// Converts n narrow bytes into units without writing the output; returns
// the unit count, or -1 when the text is wider than w columns, or -2 when
// its units exceed `capacity` bytes.  free_units receives the columns left
// free (as host characters).
int32_t convert_units(const fmtcall *call, const char *text, int32_t n,
                      int32_t w, int32_t capacity, uint16_t *units,
                      int32_t &free_units);

// The asterisk text: w '*' as 16-bit units (as many as outsize holds),
// outlen in bytes, produced encoding UCS-2.  Returns 0.
int32_t write_wide_stars(fmtcall *call, int32_t w);

// The missing-value display (narrow), d as given.  Returns 0.
int32_t write_missing(fmtcall *call, int32_t w, int32_t d);

// Runs a plain format on a private copy of the call block whose width is
// w (the caller's w is left alone) and returns its status; the narrow
// text stays in the call's output with outlen set.
int32_t run_base_format(fmtcall *call, fmtfn fn, int32_t w, int32_t d,
                        int32_t outsize);

} // namespace valfmt
