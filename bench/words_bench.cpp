// WORDS40. beside the routine a host would otherwise write: a recursive
// number-to-words speller (millions, thousands, hundreds, tens) appending
// to a buffer, then the same 40-column placement with a '*' on a cut.
// Both spell the same amounts (whole part below 1e9, hundredths), so the
// texts match; WORDF, ROMAN and FRACT run too, for scale.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr std::size_t kValues = 4096;
constexpr int32_t kWidth = 40;

// Amounts below 1e9 with hundredths, spread by a fixed linear
// congruential sequence; the magnitudes cover one to nine digits.
const std::array<double, kValues> &amounts() {
  static const std::array<double, kValues> a = [] {
    std::array<double, kValues> v{};
    uint64_t x = 0x2545F4914F6CDD1Dull;
    for (std::size_t i = 0; i < v.size(); ++i) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      const uint64_t digits = 1 + (x >> 60) % 9;
      uint64_t limit = 1;
      for (uint64_t k = 0; k < digits; ++k) limit *= 10;
      const uint64_t whole = (x >> 20) % limit;
      const uint64_t cents = (x >> 8) % 100;
      v[i] = static_cast<double>(whole) + static_cast<double>(cents) / 100.0;
      if (i % 4 == 3) v[i] = -v[i];
    }
    return v;
  }();
  return a;
}

// ---------------------------------------------------------------------------
// The peer.

const char *const kSmall[] = {"",        "one",       "two",      "three",
                              "four",    "five",      "six",      "seven",
                              "eight",   "nine",      "ten",      "eleven",
                              "twelve",  "thirteen",  "fourteen", "fifteen",
                              "sixteen", "seventeen", "eighteen", "nineteen"};
const char *const kTens[] = {"",      "",      "twenty",  "thirty", "forty",
                             "fifty", "sixty", "seventy", "eighty", "ninety"};

struct Buffer {
  char text[256];
  std::size_t len = 0;
  void put(const char *s) {
    const std::size_t n = std::strlen(s);
    std::memcpy(text + len, s, n);
    len += n;
  }
  void blank() {
    if (len > 0 && text[len - 1] != ' ') text[len++] = ' ';
  }
};

// Words of 1 <= n < 1e9, largest unit first.
void spell(Buffer &b, uint64_t n) {
  if (n >= 1000000) {
    spell(b, n / 1000000);
    b.put(" million");
    if (n % 1000000 != 0) {
      b.blank();
      spell(b, n % 1000000);
    }
  } else if (n >= 1000) {
    spell(b, n / 1000);
    b.put(" thousand");
    if (n % 1000 != 0) {
      b.blank();
      spell(b, n % 1000);
    }
  } else if (n >= 100) {
    b.put(kSmall[n / 100]);
    b.put(" hundred");
    if (n % 100 != 0) {
      b.blank();
      spell(b, n % 100);
    }
  } else if (n >= 20) {
    b.put(kTens[n / 10]);
    if (n % 10 != 0) {
      b.put("-");
      b.put(kSmall[n % 10]);
    }
  } else {
    b.put(kSmall[n]);
  }
}

void peer_words(double v, char *out, std::size_t w) {
  Buffer b;
  if (v < 0) b.put("minus ");
  const double x = std::fabs(v);
  const auto whole = static_cast<uint64_t>(x);
  const auto cents =
      static_cast<uint64_t>((x - static_cast<double>(whole)) * 100.0 + 0.0001);
  if (whole == 0)
    b.put("zero");
  else
    spell(b, whole);
  if (cents != 0) {
    b.put(" and ");
    spell(b, cents);
    b.put(" hundredths");
  }
  if (b.len <= w) {
    std::memcpy(out, b.text, b.len);
    std::memset(out + b.len, ' ', w - b.len);
  } else {
    std::memcpy(out, b.text, w - 1);
    out[w - 1] = '*';
  }
}

// ---------------------------------------------------------------------------

void run_format(benchmark::State &state, fmtfn fn, int32_t w) {
  const auto &values = amounts();
  char out[64];
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

void BM_Words40(benchmark::State &state) {
  run_format(state, zfmwrds, kWidth);
}
BENCHMARK(BM_Words40);

void BM_PeerRecursiveWords40(benchmark::State &state) {
  const auto &values = amounts();
  char out[64];
  std::size_t i = 0;
  for (auto _ : state) {
    peer_words(values[i++ & (kValues - 1)], out, kWidth);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PeerRecursiveWords40);

// The two spell the same texts; a benchmark of different work would
// mislead.
void BM_SameTexts(benchmark::State &state) {
  const auto &values = amounts();
  char a[64];
  char b[64];
  double v = 0;
  fmtcall c{};
  c.w = kWidth;
  c.value = &v;
  c.out = a;
  c.outsize = sizeof a;
  int64_t differ = 0;
  for (auto _ : state) {
    differ = 0;
    for (double x : values) {
      v = x;
      zfmwrds(&c);
      peer_words(x, b, kWidth);
      if (std::memcmp(a, b, kWidth) != 0) ++differ;
    }
  }
  state.counters["differing"] = static_cast<double>(differ);
  if (differ != 0) state.SkipWithError("WORDS and the peer disagree");
}
BENCHMARK(BM_SameTexts)->Iterations(1);

void BM_Wordf40(benchmark::State &state) {
  run_format(state, zfmwrdf, kWidth);
}
BENCHMARK(BM_Wordf40);

void BM_Roman10(benchmark::State &state) {
  run_format(state, zfmromn, 10);
}
BENCHMARK(BM_Roman10);

void BM_Fract12(benchmark::State &state) {
  run_format(state, zfmfrac, 12);
}
BENCHMARK(BM_Fract12);

} // namespace
