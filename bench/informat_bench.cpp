// The standard numeric reader (@F) on a mix of plain decimal texts, beside
// the conversions a host would otherwise call: strtod and std::from_chars.
// Every benchmark reads the same 4096 texts per iteration; items/s counts
// texts.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

struct Corpus {
  std::vector<char> bytes;      // the texts, each followed by a NUL
  std::vector<int32_t> offsets; // start of each text
  std::vector<int32_t> lengths;
};

// Integers, money amounts, measurements and small fractions, some signed,
// from 1 to 12 significant digits.
const Corpus &corpus() {
  static const Corpus c = [] {
    Corpus k;
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
    for (int i = 0; i < 4096; ++i) {
      std::string t;
      if (pick(0, 4) == 0) t += '-';
      switch (pick(0, 3)) {
      case 0:
        t += digits(pick(1, 9), true);
        break; // 4711
      case 1:
        t += digits(pick(1, 7), true) + "." + digits(2, false);
        break;
      case 2:
        t += "0." + digits(pick(1, 6), false);
        break; // 0.0625
      default:
        t += digits(pick(1, 5), true) + "." + digits(pick(1, 6), false);
      }
      k.offsets.push_back(static_cast<int32_t>(k.bytes.size()));
      k.lengths.push_back(static_cast<int32_t>(t.size()));
      k.bytes.insert(k.bytes.end(), t.begin(), t.end());
      k.bytes.push_back('\0');
    }
    return k;
  }();
  return c;
}

void finish(benchmark::State &state, const Corpus &c) {
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(c.offsets.size()));
}

void BM_F_wzifmn(benchmark::State &state) {
  const Corpus &c = corpus();
  double out = 0;
  fmtcall call{};
  call.out = &out;
  call.outsize = 8;
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < c.offsets.size(); ++i) {
      call.value = c.bytes.data() + c.offsets[i];
      call.valuelen = c.lengths[i];
      call.w = c.lengths[i];
      wzifmn(&call);
      sum += out;
    }
    benchmark::DoNotOptimize(sum);
  }
  finish(state, c);
}
BENCHMARK(BM_F_wzifmn);

void BM_F_xffmt(benchmark::State &state) {
  const Corpus &c = corpus();
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  if (xfname3("F", 1, VF_KIND_INFORMAT, nullptr, &h, nullptr) != 0) {
    state.SkipWithError("F informat not found");
    return;
  }
  double out = 0;
  fmtcall call{};
  call.out = &out;
  call.outsize = 8;
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < c.offsets.size(); ++i) {
      call.value = c.bytes.data() + c.offsets[i];
      call.valuelen = c.lengths[i];
      call.w = 32;
      xffmt(&call, h);
      sum += out;
    }
    benchmark::DoNotOptimize(sum);
  }
  finish(state, c);
}
BENCHMARK(BM_F_xffmt);

void BM_strtod(benchmark::State &state) {
  const Corpus &c = corpus();
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < c.offsets.size(); ++i)
      sum += std::strtod(c.bytes.data() + c.offsets[i], nullptr);
    benchmark::DoNotOptimize(sum);
  }
  finish(state, c);
}
BENCHMARK(BM_strtod);

void BM_from_chars(benchmark::State &state) {
  const Corpus &c = corpus();
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < c.offsets.size(); ++i) {
      const char *p = c.bytes.data() + c.offsets[i];
      double x = 0;
      std::from_chars(p, p + c.lengths[i], x);
      sum += x;
    }
    benchmark::DoNotOptimize(sum);
  }
  finish(state, c);
}
BENCHMARK(BM_from_chars);

} // namespace
