// The fixed renderer beside what a host would otherwise call: F12.2 against
// snprintf("%12.2f") and std::to_chars(fixed, 2) with padding; BEST12
// against snprintf("%12.10g").  Each iteration renders one value of a fixed
// mix; items/s is values per second.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr std::size_t kMix = 4096;

// Amounts as a ledger holds them: mostly two-decimal values from cents to
// millions, some negative, some whole.
const std::vector<double> &money_mix() {
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
const std::vector<double> &best_mix() {
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

void run_valfmt(benchmark::State &state, const std::vector<double> &values,
                fmtfn fn, int32_t w, int32_t d) {
  char out[64];
  double value = 0;
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = &value;
  c.out = out;
  c.outsize = sizeof out;
  std::size_t i = 0;
  for (auto _ : state) {
    value = values[i++ & (kMix - 1)];
    benchmark::DoNotOptimize(fn(&c));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_F12_2_valfmt(benchmark::State &state) {
  run_valfmt(state, money_mix(), zfmt, 12, 2);
}
BENCHMARK(BM_F12_2_valfmt);

void BM_F12_2_snprintf(benchmark::State &state) {
  const auto &values = money_mix();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        std::snprintf(out, sizeof out, "%12.2f", values[i++ & (kMix - 1)]));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_F12_2_snprintf);

void BM_F12_2_to_chars(benchmark::State &state) {
  const auto &values = money_mix();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    char tmp[64];
    const auto r =
        std::to_chars(tmp, tmp + sizeof tmp, values[i++ & (kMix - 1)],
                      std::chars_format::fixed, 2);
    const auto n = static_cast<std::size_t>(r.ptr - tmp);
    if (n <= 12) {
      std::memset(out, ' ', 12 - n);
      std::memcpy(out + 12 - n, tmp, n);
    } else {
      std::memset(out, '*', 12);
    }
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_F12_2_to_chars);

void BM_BEST12_valfmt(benchmark::State &state) {
  run_valfmt(state, best_mix(), zfmb, 12, 0);
}
BENCHMARK(BM_BEST12_valfmt);

void BM_BEST12_snprintf(benchmark::State &state) {
  const auto &values = best_mix();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        std::snprintf(out, sizeof out, "%12.10g", values[i++ & (kMix - 1)]));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_BEST12_snprintf);

void BM_E12_valfmt(benchmark::State &state) {
  run_valfmt(state, best_mix(), zfmexp, 12, 0);
}
BENCHMARK(BM_E12_valfmt);

void BM_E12_snprintf(benchmark::State &state) {
  const auto &values = best_mix();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        std::snprintf(out, sizeof out, "%12.5E", values[i++ & (kMix - 1)]));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_E12_snprintf);

} // namespace
