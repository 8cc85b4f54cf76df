// The headline paths, each called the way a host calls it (a resolved
// handle in caller storage and xffmt) beside the best standard routine for
// the same job, in one run:
//   F12.2      std::to_chars(fixed, 2), right-aligned in 12 columns
//   BEST12.    std::to_chars shortest, right-aligned in 12 columns
//   @F32.      std::from_chars
//   numeric user format with 100 000 ranges
//              a plain binary search over 100 000 sorted doubles (the
//              search alone, no label)
//   DATE9.     gmtime_r and strftime("%d%b%Y")
// Every iteration handles one value of a fixed mix; items/s is values per
// second, and the time per iteration is the figure to compare.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "catalog_header.h"
#include "number_inputs.h"
#include "valfmt.h"

namespace {

using benchinputs::best_mix;
using benchinputs::kMix;
using benchinputs::money_mix;

// A handle in caller storage for a built-in name.
struct Handle {
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  bool ok = false;
  Handle(const char *name, int32_t kind) {
    ok = xfname3(name, static_cast<int32_t>(std::strlen(name)), kind, nullptr,
                 &h, nullptr) == 0;
  }
};

void run_numeric(benchmark::State &state, const char *name, int32_t w,
                 int32_t d, const std::vector<double> &values) {
  Handle f(name, 'F');
  if (!f.ok) {
    state.SkipWithError("not resolved");
    return;
  }
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
    c.outenc = 0;
    benchmark::DoNotOptimize(xffmt(&c, f.h));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}

// The peer's text right-aligned in w columns, stars when it is longer.
inline void pad_right_aligned(char *out, const char *tmp, std::size_t n,
                              std::size_t w) {
  if (n <= w) {
    std::memset(out, ' ', w - n);
    std::memcpy(out + w - n, tmp, n);
  } else {
    std::memset(out, '*', w);
  }
}

void BM_F12_2_xffmt(benchmark::State &state) {
  run_numeric(state, "F", 12, 2, money_mix());
}
BENCHMARK(BM_F12_2_xffmt);

void BM_F12_2_peer_to_chars_fixed2(benchmark::State &state) {
  const auto &values = money_mix();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    char tmp[400];
    const auto r =
        std::to_chars(tmp, tmp + sizeof tmp, values[i++ & (kMix - 1)],
                      std::chars_format::fixed, 2);
    pad_right_aligned(out, tmp, static_cast<std::size_t>(r.ptr - tmp), 12);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_F12_2_peer_to_chars_fixed2);

void BM_BEST12_xffmt(benchmark::State &state) {
  run_numeric(state, "BEST", 12, 0, best_mix());
}
BENCHMARK(BM_BEST12_xffmt);

void BM_BEST12_peer_to_chars_shortest(benchmark::State &state) {
  const auto &values = best_mix();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    char tmp[64];
    const auto r =
        std::to_chars(tmp, tmp + sizeof tmp, values[i++ & (kMix - 1)]);
    pad_right_aligned(out, tmp, static_cast<std::size_t>(r.ptr - tmp), 12);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BEST12_peer_to_chars_shortest);

// Decimal texts as a data file holds them: integers, money amounts,
// measurements and small fractions, some signed, 1 to 12 significant
// digits.
struct Texts {
  std::vector<std::string> text;
};

const Texts &decimal_texts() {
  static const Texts t = [] {
    Texts k;
    std::mt19937_64 rng(42);
    auto pick = [&](int lo, int hi) {
      return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    auto digits = [&](int n, bool lead_nonzero) {
      std::string s;
      for (int i = 0; i < n; ++i)
        s += static_cast<char>(
            '0' + (i == 0 && lead_nonzero ? pick(1, 9) : pick(0, 9)));
      return s;
    };
    for (std::size_t i = 0; i < kMix; ++i) {
      std::string s;
      if (pick(0, 4) == 0) s += '-';
      switch (pick(0, 3)) {
      case 0:
        s += digits(pick(1, 9), true);
        break;
      case 1:
        s += digits(pick(1, 7), true) + "." + digits(2, false);
        break;
      case 2:
        s += "0." + digits(pick(1, 6), false);
        break;
      default:
        s += digits(pick(1, 5), true) + "." + digits(pick(1, 6), false);
      }
      k.text.push_back(s);
    }
    return k;
  }();
  return t;
}

void BM_atF32_xffmt(benchmark::State &state) {
  Handle f("F", VF_KIND_INFORMAT);
  if (!f.ok) {
    state.SkipWithError("not resolved");
    return;
  }
  const auto &t = decimal_texts().text;
  double out = 0;
  fmtcall c{};
  c.w = 32;
  c.out = &out;
  c.outsize = 8;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string &s = t[i++ & (kMix - 1)];
    c.value = s.data();
    c.valuelen = static_cast<int32_t>(s.size());
    benchmark::DoNotOptimize(xffmt(&c, f.h));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_atF32_xffmt);

void BM_atF32_peer_from_chars(benchmark::State &state) {
  const auto &t = decimal_texts().text;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string &s = t[i++ & (kMix - 1)];
    double x = 0;
    benchmark::DoNotOptimize(std::from_chars(s.data(), s.data() + s.size(), x));
    benchmark::DoNotOptimize(x);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_atF32_peer_from_chars);

// A catalogue of one numeric format with 100 000 ranges [10i, 10i + 10),
// the end excluded, each with its own label.
constexpr int kRanges = 100000;

std::string catalogue_text() {
  std::string s = benchinputs::catalog_header();
  for (int i = 0; i < kRanges; ++i)
    s += "<ROW>\n<FMTNAME>BIG</FMTNAME>\n<START>" + std::to_string(10 * i) +
         "</START>\n<END>" + std::to_string(10 * i + 10) +
         "</END>\n<LABEL>label" + std::to_string(i) +
         "</LABEL>\n<MAX>40</MAX>\n<TYPE>N</TYPE>\n<EEXCL>Y</EEXCL>\n</ROW>\n";
  return s + "</TABLE>\n</LIBRARY>\n";
}

// Values spread over the ranges (and a little past the last one).
const std::vector<double> &range_values() {
  static const std::vector<double> v = [] {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> d(0, 10.0 * kRanges);
    std::vector<double> x(kMix);
    for (double &y : x) y = d(rng);
    return x;
  }();
  return v;
}

void BM_UserFormat100k_xffmt(benchmark::State &state) {
  const std::string text = catalogue_text();
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = text.data();
  mem.length = static_cast<int32_t>(text.size());
  fmtcontext ctx{};
  ctx.inmemory = &mem;
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  if (xfname3("BIG", 3, 'F', nullptr, &h, &ctx) != 0) {
    state.SkipWithError("not resolved");
    return;
  }
  const auto &values = range_values();
  char out[64];
  fmtcall c{};
  c.w = 12;
  c.out = out;
  c.outsize = sizeof out;
  c.reqenc = VF_ENC_UCS2;
  std::size_t i = 0;
  for (auto _ : state) {
    c.value = &values[i++ & (kMix - 1)];
    benchmark::DoNotOptimize(xffmt(&c, h));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
  xfdel(h);
}
BENCHMARK(BM_UserFormat100k_xffmt);

void BM_UserFormat100k_peer_binary_search(benchmark::State &state) {
  std::vector<double> starts(kRanges);
  for (int i = 0; i < kRanges; ++i)
    starts[static_cast<std::size_t>(i)] = 10.0 * i;
  const auto &values = range_values();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto it = std::upper_bound(starts.begin(), starts.end(),
                                     values[i++ & (kMix - 1)]);
    benchmark::DoNotOptimize(it);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UserFormat100k_peer_binary_search);

// Days over 1582..9999 by a fixed linear congruential sequence.
const std::vector<double> &days() {
  static const std::vector<double> d = [] {
    std::vector<double> a(kMix);
    uint64_t x = 0x9E3779B97F4A7C15ull;
    for (double &v : a) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      v = static_cast<double>(-138061 +
                              static_cast<int64_t>((x >> 33) % 2936550));
    }
    return a;
  }();
  return d;
}

void BM_DATE9_xffmt(benchmark::State &state) {
  run_numeric(state, "DATE", 9, 0, days());
}
BENCHMARK(BM_DATE9_xffmt);

void BM_DATE9_peer_gmtime_strftime(benchmark::State &state) {
  const auto &d = days();
  std::vector<std::time_t> secs(kMix);
  for (std::size_t k = 0; k < kMix; ++k)
    secs[k] = static_cast<std::time_t>(d[k] - 3653) * 86400;
  char out[32];
  std::size_t i = 0;
  for (auto _ : state) {
    std::tm tm;
    gmtime_r(&secs[i++ & (kMix - 1)], &tm);
    benchmark::DoNotOptimize(std::strftime(out, sizeof out, "%d%b%Y", &tm));
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DATE9_peer_gmtime_strftime);

} // namespace
