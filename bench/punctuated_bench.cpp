// COMMA12.2 and DOLLAR12.2 beside what a host would otherwise call:
//
//   snprintf_grouping  glibc snprintf("%'12.2f") under a locale with
//                      thousands grouping (en_US.UTF-8).  Where no such
//                      locale is installed the peer is snprintf("%.2f")
//                      followed by a hand-written comma insertion, and the
//                      benchmark's label says so.  (A locale can be built
//                      without installing it: localedef -i en_US -f UTF-8
//                      DIR/en_US.UTF-8, then run with LOCPATH=DIR.)
//   to_chars           std::to_chars(fixed, 2) followed by the same comma
//                      insertion and right alignment in 12 columns
//                      ('$' in front for DOLLAR).
//
// Each iteration renders one value of a fixed mix of ledger amounts; the
// grouped text falls back to the plain one when it does not fit, as COMMA
// does, so every peer does the same work.  items/s is values per second.
#include <benchmark/benchmark.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <random>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr std::size_t kMix = 4096;
constexpr int kWidth = 12;

// Amounts as a ledger holds them: cents to tens of millions, a quarter
// negative, some whole.
const std::vector<double> &money_mix() {
  static const std::vector<double> values = [] {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> exp10(-2.0, 7.5);
    std::vector<double> v(kMix);
    for (std::size_t i = 0; i < kMix; ++i) {
      double x = std::pow(10.0, exp10(rng));
      if (i % 4 == 0) x = -x;
      if (i % 8 == 1) x = std::round(x);
      v[i] = x;
    }
    return v;
  }();
  return values;
}

void run_valfmt(benchmark::State &state, fmtfn fn) {
  const auto &values = money_mix();
  char out[64];
  double value = 0;
  fmtcall c{};
  c.w = kWidth;
  c.d = 2;
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

// The plain F text the decoration starts from, for reference.
void BM_F12_2_valfmt(benchmark::State &state) {
  run_valfmt(state, zfmt);
}
BENCHMARK(BM_F12_2_valfmt);

void BM_COMMA12_2_valfmt(benchmark::State &state) {
  run_valfmt(state, zfmcma);
}
BENCHMARK(BM_COMMA12_2_valfmt);

void BM_DOLLAR12_2_valfmt(benchmark::State &state) {
  run_valfmt(state, zfmdlr);
}
BENCHMARK(BM_DOLLAR12_2_valfmt);

// Right-aligns the n characters of text (sign, digits, point, decimals) in
// kWidth columns with ',' between groups of three integer digits, and
// `sign` (0 for none) directly in front; without room for the grouping
// the plain text, and '*' when even that does not fit.
void group_into(char *out, const char *text, std::size_t n, char sign) {
  const bool neg = text[0] == '-';
  const char *digits = text + (neg ? 1 : 0);
  const char *point =
      static_cast<const char *>(std::memchr(digits, '.', n - (neg ? 1 : 0)));
  const std::size_t ndig =
      static_cast<std::size_t>((point != nullptr ? point : text + n) - digits);
  const std::size_t commas = ndig > 3 ? (ndig - 1) / 3 : 0;
  const std::size_t extra = sign != 0 ? 1 : 0;
  std::size_t total = n + commas + extra;
  if (total > kWidth) {
    total = n + extra;
    if (total > kWidth) {
      std::memset(out, '*', kWidth);
      return;
    }
    std::memset(out, ' ', kWidth - total);
    char *p = out + kWidth - total;
    if (sign != 0) *p++ = sign;
    std::memcpy(p, text, n);
    return;
  }
  char *end = out + kWidth;
  const std::size_t frac = n - (neg ? 1 : 0) - ndig;
  end -= frac;
  std::memcpy(end, digits + ndig, frac);
  for (std::size_t k = 0; k < ndig; ++k) {
    if (k > 0 && k % 3 == 0) *--end = ',';
    *--end = digits[ndig - 1 - k];
  }
  if (neg) *--end = '-';
  if (sign != 0) *--end = sign;
  std::memset(out, ' ', static_cast<std::size_t>(end - out));
}

void run_to_chars(benchmark::State &state, char sign) {
  const auto &values = money_mix();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    char tmp[64];
    const auto r =
        std::to_chars(tmp, tmp + sizeof tmp, values[i++ & (kMix - 1)],
                      std::chars_format::fixed, 2);
    group_into(out, tmp, static_cast<std::size_t>(r.ptr - tmp), sign);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_COMMA12_2_to_chars(benchmark::State &state) {
  run_to_chars(state, 0);
}
BENCHMARK(BM_COMMA12_2_to_chars);

void BM_DOLLAR12_2_to_chars(benchmark::State &state) {
  run_to_chars(state, '$');
}
BENCHMARK(BM_DOLLAR12_2_to_chars);

// The grouping peer: "%'12.2f" under en_US.UTF-8 when that locale exists.
void BM_COMMA12_2_snprintf_grouping(benchmark::State &state) {
  const auto &values = money_mix();
  char out[64];
  std::size_t i = 0;
  locale_t grouping = newlocale(LC_NUMERIC_MASK, "en_US.UTF-8", nullptr);
  if (grouping != nullptr) {
    const locale_t previous = uselocale(grouping);
    state.SetLabel("glibc %'12.2f, en_US.UTF-8");
    for (auto _ : state) {
      benchmark::DoNotOptimize(
          std::snprintf(out, sizeof out, "%'12.2f", values[i++ & (kMix - 1)]));
      benchmark::DoNotOptimize(out);
    }
    uselocale(previous);
    freelocale(grouping);
  } else {
    state.SetLabel("no en_US.UTF-8: snprintf %.2f + comma insertion");
    for (auto _ : state) {
      char tmp[64];
      const int n =
          std::snprintf(tmp, sizeof tmp, "%.2f", values[i++ & (kMix - 1)]);
      group_into(out, tmp, static_cast<std::size_t>(n), 0);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_COMMA12_2_snprintf_grouping);

} // namespace
