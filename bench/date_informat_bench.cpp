// The date and datetime informats @DATE9., @YYMMDD10. and @DATETIME19. on
// valid texts, beside what a host would otherwise call: strptime into a
// broken-down time and timegm to count the seconds.  Each benchmark reads
// the same 4096 texts per iteration; items/s counts texts.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

struct Corpus {
  std::vector<std::string> texts;
};

// 4096 moments between 1900 and 2099, written with a strftime layout.
Corpus make_corpus(const char *layout) {
  Corpus c;
  std::mt19937_64 rng(1960);
  const int64_t first = -2208988800; // 1900-01-01
  const int64_t span = 200LL * 365 * 86400;
  for (int i = 0; i < 4096; ++i) {
    const auto t = static_cast<time_t>(
        first + static_cast<int64_t>(rng() % static_cast<uint64_t>(span)));
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[40];
    const std::size_t n = std::strftime(buf, sizeof buf, layout, &tm);
    c.texts.emplace_back(buf, n);
  }
  return c;
}

const Corpus &dates() {
  static const Corpus c = make_corpus("%d%b%Y");
  return c;
}
const Corpus &iso_dates() {
  static const Corpus c = make_corpus("%Y-%m-%d");
  return c;
}
const Corpus &datetimes() {
  static const Corpus c = make_corpus("%d%b%Y:%H:%M:%S");
  return c;
}

void read_with(benchmark::State &state, fmtfn fn, int32_t w, const Corpus &c) {
  double out = 0;
  fmtcall call{};
  call.w = w;
  call.out = &out;
  call.outsize = 8;
  for (auto _ : state) {
    double sum = 0;
    for (const std::string &t : c.texts) {
      call.value = t.data();
      call.valuelen = static_cast<int32_t>(t.size());
      if (fn(&call) != VF_OK) state.SkipWithError("informat failed");
      sum += out;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(c.texts.size()));
}

void parse_with(benchmark::State &state, const char *layout, const Corpus &c) {
  for (auto _ : state) {
    double sum = 0;
    for (const std::string &t : c.texts) {
      std::tm tm{};
      if (strptime(t.c_str(), layout, &tm) == nullptr)
        state.SkipWithError("strptime failed");
      sum += static_cast<double>(timegm(&tm));
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(c.texts.size()));
}

void BM_DATE9_zifmdat(benchmark::State &s) {
  read_with(s, zifmdat, 9, dates());
}
void BM_DATE9_strptime_timegm(benchmark::State &s) {
  parse_with(s, "%d%b%Y", dates());
}
void BM_YYMMDD10_zifmymd(benchmark::State &s) {
  read_with(s, zifmymd, 10, iso_dates());
}
void BM_YYMMDD10_strptime_timegm(benchmark::State &s) {
  parse_with(s, "%Y-%m-%d", iso_dates());
}
void BM_DATETIME19_zifmdtm(benchmark::State &s) {
  read_with(s, zifmdtm, 19, datetimes());
}
void BM_DATETIME19_strptime_timegm(benchmark::State &s) {
  parse_with(s, "%d%b%Y:%H:%M:%S", datetimes());
}

BENCHMARK(BM_DATE9_zifmdat);
BENCHMARK(BM_DATE9_strptime_timegm);
BENCHMARK(BM_YYMMDD10_zifmymd);
BENCHMARK(BM_YYMMDD10_strptime_timegm);
BENCHMARK(BM_DATETIME19_zifmdtm);
BENCHMARK(BM_DATETIME19_strptime_timegm);

} // namespace
