// WORDDATE18 and WEEKDATE29 over a spread of dates, beside what a host
// would otherwise do: gmtime_r and strftime("%B %-d, %Y") or
// strftime("%A, %B %-d, %Y") on the same days.  The day-first variant and
// the era format run too, for scale.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <ctime>

#include "date_inputs.h"
#include "registry/functions.h"
#include "valfmt.h"

namespace {

using namespace datebench;

// The peer: seconds since 1970 through gmtime_r and strftime.
void run_peer(benchmark::State &state, const char *pattern) {
  const auto &d = dates();
  std::array<std::time_t, kDates> secs{};
  for (std::size_t k = 0; k < secs.size(); ++k)
    secs[k] = static_cast<std::time_t>(d[k] - kUnixEpochDay) * 86400;
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    std::tm tm;
    gmtime_r(&secs[i++ & (kDates - 1)], &tm);
    benchmark::DoNotOptimize(std::strftime(out, sizeof out, pattern, &tm));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_Worddate18(benchmark::State &state) {
  run_format(state, zfmworddate, 18);
}
BENCHMARK(BM_Worddate18);

void BM_PeerWorddateStrftime(benchmark::State &state) {
  run_peer(state, "%B %-d, %Y");
}
BENCHMARK(BM_PeerWorddateStrftime);

void BM_Weekdate29(benchmark::State &state) {
  run_format(state, zfmweekdate, 29);
}
BENCHMARK(BM_Weekdate29);

void BM_PeerWeekdateStrftime(benchmark::State &state) {
  run_peer(state, "%A, %B %-d, %Y");
}
BENCHMARK(BM_PeerWeekdateStrftime);

void BM_Weekdatx29(benchmark::State &state) {
  run_format(state, zfmweekdatx, 29);
}
BENCHMARK(BM_Weekdatx29);

void BM_Nengo10(benchmark::State &state) {
  run_format(state, zfmnengo, 10);
}
BENCHMARK(BM_Nengo10);

} // namespace
