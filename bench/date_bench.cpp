// DATE9 and YYMMDD10 over a spread of dates, beside what a host would
// otherwise do: gmtime_r and strftime("%d%b%Y") on the same days.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <ctime>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr int kDates = 4096;
constexpr int64_t kFirst = -138061; // 1582-01-01
constexpr int64_t kSpan = 2936550;  // up to 9999-12-31

// Days spread over 1582..9999 by a fixed linear congruential sequence.
const std::array<double, kDates> &dates() {
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

void run_format(benchmark::State &state, fmtfn fn, int32_t w) {
  const auto &d = dates();
  char out[16];
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

void BM_Date9(benchmark::State &state) {
  run_format(state, zfmdate, 9);
}
BENCHMARK(BM_Date9);

void BM_Yymmdd10(benchmark::State &state) {
  run_format(state, zfmyymmdd, 10);
}
BENCHMARK(BM_Yymmdd10);

// DATE9 the way a host calls it: a resolved handle and xffmt.
void BM_Date9ThroughHandle(benchmark::State &state) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  fmtattr a;
  if (xfname3("DATE", 4, 'F', &a, &h, nullptr) != 0) {
    state.SkipWithError("DATE not resolved");
    return;
  }
  const auto &d = dates();
  char out[16];
  double v = 0;
  fmtcall c{};
  c.w = 9;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  std::size_t i = 0;
  for (auto _ : state) {
    v = d[i++ & (kDates - 1)];
    c.outenc = 0;
    benchmark::DoNotOptimize(xffmt(&c, h));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Date9ThroughHandle);

// The peer: seconds since 1970 through gmtime_r and strftime.
void BM_PeerGmtimeStrftime(benchmark::State &state) {
  const auto &d = dates();
  std::array<std::time_t, kDates> secs{};
  for (std::size_t k = 0; k < secs.size(); ++k)
    secs[k] = static_cast<std::time_t>(d[k] - 3653) * 86400;
  char out[32];
  std::size_t i = 0;
  for (auto _ : state) {
    std::tm tm;
    gmtime_r(&secs[i++ & (kDates - 1)], &tm);
    benchmark::DoNotOptimize(std::strftime(out, sizeof out, "%d%b%Y", &tm));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PeerGmtimeStrftime);

} // namespace
