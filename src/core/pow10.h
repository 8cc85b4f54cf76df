// The doubles nearest to the powers of ten.  Scaling by one of them is a
// single correctly rounded operation, which the renderer's normalisation and
// the numeric readers' decimal scale both rely on.
#pragma once

namespace valfmt {

// 10^0 .. 10^308, indexed by the exponent.
extern const double kPow10Pos[309];

// 10^-0 .. 10^-323: entry k is 10^-k.
extern const double kPow10Neg[324];

} // namespace valfmt
