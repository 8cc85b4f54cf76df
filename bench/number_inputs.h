#pragma once
// Value mixes shared by the number benchmarks: one fixed mix per kind of
// column, the same in every binary, so figures of different benchmarks
// compare.
#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

namespace benchinputs {

constexpr std::size_t kMix = 4096;

// Amounts as a ledger holds them: mostly two-decimal values from cents to
// millions, some negative, some whole.
inline const std::vector<double> &money_mix() {
  static const std::vector<double> values = [] {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> exp10(-2.0, 7.0);
    std::vector<double> v(kMix);
    for (std::size_t i = 0; i < kMix; ++i) {
      double x = std::pow(10.0, exp10(rng));
      if (i % 4 == 0) x = -x;
      if (i % 8 == 1) x = std::round(x);
      v[i] = x;
    }
    return v;
  }();
  return values;
}

// Half integers (counts, ids), half measurements with many digits.
inline const std::vector<double> &best_mix() {
  static const std::vector<double> values = [] {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exp10(-4.0, 9.0);
    std::vector<double> v(kMix);
    for (std::size_t i = 0; i < kMix; ++i) {
      double x = std::pow(10.0, exp10(rng));
      if (i % 2 == 0) x = std::round(x);
      if (i % 5 == 0) x = -x;
      v[i] = x;
    }
    return v;
  }();
  return values;
}

} // namespace benchinputs
