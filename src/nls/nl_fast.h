// Per-locale number conventions derived once from the constant locale
// table, and the direct UCS-2 writer the layout formats try first.
#pragma once

#include <cstdint>

#include "nls/nl_compose.h"
#include "valfmt.h"

namespace valfmt {

// One text of the conventions as the UCS-2 units the result conversion
// makes of it.
struct WideText {
  uint16_t unit[12] = {};
  uint8_t units = 0;
  uint8_t narrow = 0; // bytes of the stored (escaped) text
};

// The conventions of one pattern field of one locale, read from the
// fields as zkfnum reads them, with the texts also held as UCS-2 units.
struct NumberLayout {
  bool readable = false; // the pattern field fits the 160-byte holder
  bool direct = false;   // every text converts unit by unit on its own
  NumberConventions conv;
  WideText symbol, decimal_point, thousands_sep, positive_sign, negative_sign;
};

// The layout of pattern field 113, 114 or 126 to 129 (any other field
// gives null); a locale ID outside 1..133 reads the en_US record.  The
// table is built during static initialisation and constant afterwards.
const NumberLayout *number_layout(int32_t locid, int32_t field);

// Writes v with d decimals laid out by `layout` straight into the call's
// output as UCS-2, right-aligned in w columns, when the first, grouped
// fixed-point text fits and nothing needs the general conversion (host
// encoding measured in UCS-2 units, |v| * 10^d below 10^18).  Returns
// false, with the output untouched, in every other case.
bool write_number_direct(fmtcall *call, const NumberLayout &layout, double v,
                         int32_t w, int32_t d);

} // namespace valfmt
