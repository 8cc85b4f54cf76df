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
#include "number_inputs.h"
#include "valfmt.h"

namespace {

using benchinputs::best_mix;
using benchinputs::kMix;
using benchinputs::money_mix;

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
