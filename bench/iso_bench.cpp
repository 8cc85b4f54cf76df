// E8601DT19. and E8601DA10. over a spread of values, beside what a host
// would otherwise do: gmtime_r and strftime("%Y-%m-%dT%H:%M:%S") for a
// datetime, strftime("%F") for a date.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <ctime>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr std::size_t kValues = 4096;
constexpr int64_t kEpochShift = 3653 * int64_t{86400}; // 1960 to 1970
constexpr int64_t kFirst = -11928470400;               // 1582-01-01
constexpr int64_t kSpan = 253717747200 - kFirst;       // to 9999-12-31

// Datetimes (whole seconds) and dates spread over 1582..9999 by a fixed
// linear congruential sequence.
struct Spread {
  std::array<double, kValues> datetimes{};
  std::array<double, kValues> dates{};
};

const Spread &spread() {
  static const Spread s = [] {
    Spread a;
    uint64_t x = 0x2545F4914F6CDD1Dull;
    for (std::size_t k = 0; k < kValues; ++k) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      const auto r = static_cast<int64_t>(x >> 24);
      // Below 4000-03-01, where both calendars agree day for day.
      const int64_t t = kFirst + r % (kSpan / 4);
      a.datetimes[k] = static_cast<double>(t);
      a.dates[k] = static_cast<double>(t / 86400);
    }
    return a;
  }();
  return s;
}

void run_format(benchmark::State &state, fmtfn fn, int32_t w,
                const std::array<double, kValues> &values) {
  char out[48];
  double v = 0;
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  std::size_t i = 0;
  for (auto _ : state) {
    v = values[i++ & (kValues - 1)];
    benchmark::DoNotOptimize(fn(&c));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

void run_peer(benchmark::State &state, const char *layout,
              const std::array<double, kValues> &values, int64_t scale) {
  std::array<std::time_t, kValues> secs{};
  for (std::size_t k = 0; k < kValues; ++k)
    secs[k] = static_cast<std::time_t>(static_cast<int64_t>(values[k]) * scale -
                                       kEpochShift);
  char out[48];
  std::size_t i = 0;
  for (auto _ : state) {
    std::tm tm;
    gmtime_r(&secs[i++ & (kValues - 1)], &tm);
    benchmark::DoNotOptimize(std::strftime(out, sizeof out, layout, &tm));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_E8601DT19(benchmark::State &state) {
  run_format(state, f8601dt, 19, spread().datetimes);
}
BENCHMARK(BM_E8601DT19);

void BM_PeerDatetime(benchmark::State &state) {
  run_peer(state, "%Y-%m-%dT%H:%M:%S", spread().datetimes, 1);
}
BENCHMARK(BM_PeerDatetime);

void BM_E8601DA10(benchmark::State &state) {
  run_format(state, f8601da, 10, spread().dates);
}
BENCHMARK(BM_E8601DA10);

void BM_PeerDate(benchmark::State &state) {
  run_peer(state, "%F", spread().dates, 86400);
}
BENCHMARK(BM_PeerDate);

} // namespace
