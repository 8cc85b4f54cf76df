// The fixed renderer and the numeric routines every numeric family shares.
#pragma once

#include <cstdint>

#include "valfmt.h"

namespace valfmt {

// Writes v right-aligned in w bytes, '-' directly before the digits and
// blanks to the left.  If digits and sign do not fit, fills the w bytes with
// '*' and returns VF_ERR_OVERFLOW; else 0.
int32_t wzclchr(int64_t v, char *out, int32_t w);

// 10^k for -323 <= k <= 308 from exact tables; outside, the standard
// missing value.
double zpow10(int32_t k);

// x equals floor(x).
bool zisint(double x);

} // namespace valfmt
