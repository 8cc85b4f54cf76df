// DATE9 and YYMMDD10 over a spread of dates, beside what a host would
// otherwise do: gmtime_r and strftime("%d%b%Y") on the same days.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <ctime>

#include "date_inputs.h"
#include "registry/functions.h"
#include "valfmt.h"

namespace {

using namespace datebench;

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
