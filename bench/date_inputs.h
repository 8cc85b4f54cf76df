// Inputs and the call loop shared by the date benchmarks: 4096 days spread
// over 1582..9999 by a fixed linear congruential sequence, and a format
// applied to them one call block at a time.
#pragma once

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "valfmt.h"

namespace datebench {

inline constexpr std::size_t kDates = 4096;
inline constexpr int64_t kFirst = -138061; // 1582-01-01
inline constexpr int64_t kSpan = 2936550;  // up to 9999-12-31
inline constexpr int64_t kUnixEpochDay = 3653;

inline const std::array<double, kDates> &dates() {
  static const std::array<double, kDates> d = [] {
    std::array<double, kDates> a{};
    uint64_t x = 0x9E3779B97F4A7C15ull;
    for (double &v : a) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      v = static_cast<double>(kFirst + static_cast<int64_t>((x >> 33) % kSpan));
    }
    return a;
  }();
  return d;
}

inline void run_format(benchmark::State &state, fmtfn fn, int32_t w) {
  const auto &d = dates();
  char out[40];
  double v = 0;
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  std::size_t i = 0;
  for (auto _ : state) {
    v = d[i++ & (kDates - 1)];
    benchmark::DoNotOptimize(fn(&c));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

} // namespace datebench
