// The continued-fraction step behind FRACT.
#pragma once

#include <cstdint>

namespace valfmt {

// One expansion of a fraction f = 1 / (a0 + 1 / (a1 + ...)) in progress.
// The state lives with the caller (one per call), so expansions in
// different threads never meet.
struct ContinuedFraction {
  double r = 0;      // the value still to expand at this level
  double p = 0;      // numerator of the convergent so far
  double q = 1;      // denominator of the convergent so far
  double p_prev = 1; // numerator and denominator one level back
  double q_prev = 0;
};

// Levels of expansion at most; remainders at or below kFractionTolerance
// end the expansion earlier.
inline constexpr int32_t kFractionLevels = 19;
inline constexpr double kFractionTolerance = 1e-5;

// Starts the expansion of 0 < f < 1.
inline ContinuedFraction start_fraction(double f) {
  ContinuedFraction s;
  s.r = 1.0 / f;
  return s;
}

// Takes level `level` of the expansion: its whole part a joins the
// convergent p/q, and when the remainder r - a lies between the tolerance
// and 1 and a level is left, it becomes the value of the next level.
// Returns true when the expansion goes on.
bool recent(int32_t level, ContinuedFraction &state);

// Expands f (0 < f < 1) to its convergent p/q.
void expand_fraction(double f, double *p, double *q);

} // namespace valfmt
