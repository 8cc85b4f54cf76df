// TIME8. and DATETIME19. over a spread of values, beside what a host would
// otherwise do: gmtime_r and strftime of the equivalent layout
// ("%k:%M:%S" for a time of day, " %d%b%Y:%H:%M:%S" for a datetime).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr std::size_t kValues = 4096;
// Seconds between 1 January 1960 and 1 January 1970.
constexpr int64_t kEpochShift = 3653 * int64_t{86400};

// Datetimes spread over 1582..9999 and times of day spread over a day
// (whole seconds, and a quarter with a fraction) by a fixed linear
// congruential sequence.
struct Spread {
  std::array<double, kValues> datetimes{};
  std::array<double, kValues> times{};
};

const Spread &spread() {
  static const Spread s = [] {
    Spread a;
    uint64_t x = 0x9E3779B97F4A7C15ull;
    constexpr int64_t kFirst = -11928470400; // 1582-01-01
    constexpr int64_t kSpan = 253717747200;  // up to 9999-12-31
    for (std::size_t k = 0; k < kValues; ++k) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      const auto r = static_cast<int64_t>(x >> 24);
      a.datetimes[k] = static_cast<double>(kFirst + r % kSpan);
      a.times[k] = static_cast<double>(r % 86400) + (k % 4 == 0 ? 0.25 : 0);
    }
    return a;
  }();
  return s;
}

void run_format(benchmark::State &state, fmtfn fn, int32_t w, int32_t d,
                const std::array<double, kValues> &values) {
  char out[48];
  double v = 0;
  fmtcall c{};
  c.w = w;
  c.d = d;
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
              const std::array<double, kValues> &values) {
  std::array<std::time_t, kValues> secs{};
  for (std::size_t k = 0; k < kValues; ++k)
    secs[k] = static_cast<std::time_t>(values[k]) - kEpochShift;
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

void BM_Time8(benchmark::State &state) {
  run_format(state, zfmtime, 8, 0, spread().times);
}
BENCHMARK(BM_Time8);

void BM_PeerTime8(benchmark::State &state) {
  run_peer(state, "%k:%M:%S", spread().times);
}
BENCHMARK(BM_PeerTime8);

void BM_Datetime19(benchmark::State &state) {
  run_format(state, zfmdttm, 19, 0, spread().datetimes);
}
BENCHMARK(BM_Datetime19);

void BM_PeerDatetime19(benchmark::State &state) {
  run_peer(state, " %d%b%Y:%H:%M:%S", spread().datetimes);
}
BENCHMARK(BM_PeerDatetime19);

// The same two the way a host calls them: a resolved handle and xffmt.
void run_handle(benchmark::State &state, const char *name, int32_t w,
                const std::array<double, kValues> &values) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  fmtattr a;
  if (xfname3(name, static_cast<int32_t>(std::char_traits<char>::length(name)),
              'F', &a, &h, nullptr) != 0) {
    state.SkipWithError("name not resolved");
    return;
  }
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
    c.outenc = 0;
    benchmark::DoNotOptimize(xffmt(&c, h));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_Time8ThroughHandle(benchmark::State &state) {
  run_handle(state, "TIME", 8, spread().times);
}
BENCHMARK(BM_Time8ThroughHandle);

void BM_Datetime19ThroughHandle(benchmark::State &state) {
  run_handle(state, "DATETIME", 19, spread().datetimes);
}
BENCHMARK(BM_Datetime19ThroughHandle);

// With decimals, where the seconds digits are worked out exactly instead
// of by the integer shortcut.
const std::array<double, kValues> &
fractional(const std::array<double, kValues> &v) {
  static std::array<double, kValues> f = [&] {
    std::array<double, kValues> a{};
    for (std::size_t k = 0; k < kValues; ++k) a[k] = v[k] + 0.123;
    return a;
  }();
  return f;
}

void BM_Time12_3(benchmark::State &state) {
  run_format(state, zfmtime, 12, 3, fractional(spread().times));
}
BENCHMARK(BM_Time12_3);

} // namespace
