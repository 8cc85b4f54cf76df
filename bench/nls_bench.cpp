// The locale formats for de_DE beside the C library under de_DE.UTF-8:
//
//   NLNUM12.2   vs snprintf("%'.2f")
//   NLMNY15.2   vs strfmon("%n")
//   NLDATE20.   vs strftime with the locale's long date pattern
//
// The glibc peers run through a locale_t (newlocale / uselocale and the
// _l variants).  When de_DE.UTF-8 is not compiled on this machine the
// benchmark compiles it with localedef into a temporary directory and
// points LOCPATH at it; when that fails too, the peers report an error
// saying so and only the valfmt side runs.  items/s is values per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <locale.h>
#include <monetary.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr int32_t kDeDE = 63;
constexpr std::size_t kMix = 4096;

const std::vector<double> &amounts() {
  static const std::vector<double> v = [] {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mag(-2, 7);
    std::vector<double> out(kMix);
    for (double &x : out) {
      x = std::pow(10.0, mag(rng));
      if (rng() % 4 == 0) x = -x;
    }
    return out;
  }();
  return v;
}

const std::vector<double> &dates() {
  static const std::vector<double> v = [] {
    std::mt19937_64 rng(11);
    std::vector<double> out(kMix);
    for (double &x : out)
      x = static_cast<double>(static_cast<int64_t>(rng() % 40000) - 5000);
    return out;
  }();
  return v;
}

// de_DE.UTF-8 as a locale_t, compiled into a temporary LOCPATH directory
// when the system does not have it; null when neither works.
locale_t german() {
  static locale_t loc = [] {
    locale_t l = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
    if (l != nullptr) return l;
    char dir[] = "/tmp/valfmt-nls-bench-XXXXXX";
    if (mkdtemp(dir) == nullptr) return l;
    const std::string cmd = std::string("localedef -c -i de_DE -f UTF-8 ") +
                            dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == -1) return l;
    setenv("LOCPATH", dir, 1);
    return newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
  }();
  return loc;
}

void run_valfmt(benchmark::State &state, fmtfn fn, const std::vector<double> &v,
                int32_t w, int32_t d) {
  char out[128];
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.out = out;
  c.outsize = sizeof out;
  c.localeid = kDeDE;
  c.reqenc = VF_ENC_UCS2;
  std::size_t i = 0;
  for (auto _ : state) {
    c.value = &v[i++ % kMix];
    benchmark::DoNotOptimize(fn(&c));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_NLNUM12_2(benchmark::State &s) {
  run_valfmt(s, nlnum, amounts(), 12, 2);
}
void BM_NLMNY15_2(benchmark::State &s) {
  run_valfmt(s, nlmny, amounts(), 15, 2);
}
void BM_NLDATE20(benchmark::State &s) {
  run_valfmt(s, nldate, dates(), 20, 0);
}

void BM_glibc_snprintf_grouped(benchmark::State &state) {
  const locale_t loc = german();
  if (loc == nullptr) {
    state.SkipWithError("de_DE.UTF-8 unavailable (localedef failed)");
    return;
  }
  const locale_t old = uselocale(loc);
  const std::vector<double> &v = amounts();
  char out[128];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        std::snprintf(out, sizeof out, "%'12.2f", v[i++ % kMix]));
    benchmark::DoNotOptimize(out);
  }
  uselocale(old);
  state.SetItemsProcessed(state.iterations());
}

void BM_glibc_strfmon(benchmark::State &state) {
  const locale_t loc = german();
  if (loc == nullptr) {
    state.SkipWithError("de_DE.UTF-8 unavailable (localedef failed)");
    return;
  }
  const std::vector<double> &v = amounts();
  char out[128];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        strfmon_l(out, sizeof out, loc, "%15n", v[i++ % kMix]));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_glibc_strftime(benchmark::State &state) {
  const locale_t loc = german();
  if (loc == nullptr) {
    state.SkipWithError("de_DE.UTF-8 unavailable (localedef failed)");
    return;
  }
  // The de_DE long date pattern of the locale record.
  const char *pattern = "%d. %B %Y";
  const std::vector<double> &v = dates();
  char out[128];
  std::size_t i = 0;
  for (auto _ : state) {
    const auto t = static_cast<time_t>((v[i++ % kMix] - 3653) * 86400);
    std::tm tm{};
    gmtime_r(&t, &tm);
    benchmark::DoNotOptimize(strftime_l(out, sizeof out, pattern, &tm, loc));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_NLNUM12_2);
BENCHMARK(BM_glibc_snprintf_grouped);
BENCHMARK(BM_NLMNY15_2);
BENCHMARK(BM_glibc_strfmon);
BENCHMARK(BM_NLDATE20);
BENCHMARK(BM_glibc_strftime);

} // namespace
