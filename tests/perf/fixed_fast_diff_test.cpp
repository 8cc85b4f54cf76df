// The fixed renderer's fast path against its digit generators: for F
// (decimals 0..32) and BEST at every width, the text, outlen and status
// must agree byte for byte.  Inputs: every power of ten and its neighbours
// one unit in the last place away, the halfway points of every decimal
// place (where rounding decides), values around 2^53 (where the fast path
// hands over), the extremes of the double range, -0.0, missing values and
// millions of random values of every magnitude.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "numeric/fixed.h"

namespace {

struct Rendered {
  int32_t status;
  int32_t outlen;
  char text[40];
};

Rendered render(int32_t (*renderer)(fmtcall *, int32_t, int32_t), double v,
                int32_t w, int32_t code) {
  Rendered r{};
  std::memset(r.text, '#', sizeof r.text);
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.out = r.text;
  c.outsize = 32;
  r.status = renderer(&c, w, code);
  r.outlen = c.outlen;
  return r;
}

class Differ {
public:
  void check(double v, int32_t w, int32_t code) {
    const Rendered a = render(valfmt::render_fixed, v, w, code);
    const Rendered b = render(valfmt::render_fixed_by_generators, v, w, code);
    ++checked_;
    if (a.status != b.status || a.outlen != b.outlen ||
        std::memcmp(a.text, b.text, sizeof a.text) != 0) {
      if (++failures_ <= 5)
        ADD_FAILURE() << "value " << std::hexfloat << v << std::defaultfloat
                      << " (" << v << ") w " << w << " code " << code << ": '"
                      << std::string(a.text, 32) << "' status " << a.status
                      << " vs '" << std::string(b.text, 32) << "' status "
                      << b.status;
    }
  }
  // Every width and the codes F and BEST use.
  void check_all(double v) {
    for (int32_t w = 1; w <= 32; ++w) {
      check(v, w, valfmt::kCodeBest);
      for (int32_t code : {0, 1, 2, 3, 5, 8, 10, 15, 19, 20, 31, 32})
        if (code < w) check(v, w, code);
    }
  }
  int64_t failures() const { return failures_; }
  int64_t checked() const { return checked_; }

private:
  int64_t checked_ = 0, failures_ = 0;
};

double next_up(double x) {
  return std::nextafter(x, HUGE_VAL);
}
double next_down(double x) {
  return std::nextafter(x, -HUGE_VAL);
}

TEST(FixedFastDiff, PowersOfTenAndTheirNeighbours) {
  Differ diff;
  for (int k = -30; k <= 30; ++k) {
    const double p = std::pow(10.0, k);
    for (double x : {p, next_up(p), next_down(p), -p, 3 * p, 0.5 * p})
      diff.check_all(x);
  }
  EXPECT_EQ(diff.failures(), 0);
}

TEST(FixedFastDiff, HalfwayPointsOfEveryDecimalPlace) {
  // n + 0.5 units of the d-th decimal, and one unit in the last place on
  // either side, for many n: the values whose rounding the half unit and
  // the fuzz factor decide.
  Differ diff;
  std::mt19937_64 rng(5);
  for (int d = 0; d <= 16; ++d) {
    const double unit = std::pow(10.0, -d);
    for (int i = 0; i < 60; ++i) {
      const double n = static_cast<double>(rng() % 100000000);
      const double h = (n + 0.5) * unit;
      for (double x : {h, next_up(h), next_down(h), -h})
        for (int32_t w : {6, 10, 12, 16, 20, 32}) {
          diff.check(x, w, valfmt::kCodeBest);
          for (int32_t code = 0; code < w && code <= 20; ++code)
            diff.check(x, w, code);
        }
    }
  }
  EXPECT_EQ(diff.failures(), 0);
}

TEST(FixedFastDiff, ExtremesSignsAndMissingValues) {
  Differ diff;
  const double two53 = 9007199254740992.0;
  for (double x : {0.0,
                   -0.0,
                   two53,
                   next_down(two53),
                   next_up(two53),
                   two53 - 0.5,
                   two53 / 2 + 0.5,
                   4503599627370495.5,
                   DBL_MAX,
                   -DBL_MAX,
                   DBL_MIN,
                   -DBL_MIN,
                   DBL_TRUE_MIN,
                   1e-300,
                   0.5,
                   -0.5,
                   0.05,
                   0.95,
                   0.995,
                   9.995,
                   99.995,
                   0.00001,
                   0.0000099999,
                   1e15 + 0.3,
                   1e16 + 2,
                   123456789.125,
                   -0.01,
                   -0.3,
                   HUGE_VAL,
                   -HUGE_VAL,
                   std::nan("")})
    diff.check_all(x);
  // Special missing values ('.', '_', 'A' .. 'Z').
  for (int code : {'.', '_', 'A', 'M', 'Z'})
    diff.check_all(std::bit_cast<double>(0xFFFF000000000000ull |
                                         (static_cast<uint64_t>(code) << 40)));
  EXPECT_EQ(diff.failures(), 0);
}

TEST(FixedFastDiff, MillionsOfRandomValues) {
  Differ diff;
  std::mt19937_64 rng(77);
  std::uniform_real_distribution<double> exp10(-8.0, 17.0);
  for (int i = 0; i < 250000; ++i) {
    double x = std::pow(10.0, exp10(rng));
    if (i % 3 == 0) x = -x;
    if (i % 7 == 0) x = std::round(x * 100) / 100; // money amounts
    if (i % 11 == 0) x = std::round(x);
    const auto w = static_cast<int32_t>(1 + rng() % 32);
    diff.check(x, w, valfmt::kCodeBest);
    diff.check(x, w, static_cast<int32_t>(rng() % static_cast<uint64_t>(w)));
    diff.check(x, 12, 2);
    diff.check(x, 12, valfmt::kCodeBest);
  }
  // Random bit patterns: every magnitude, NaNs and infinities included.
  for (int i = 0; i < 250000; ++i) {
    const double x = std::bit_cast<double>(rng());
    const auto w = static_cast<int32_t>(1 + rng() % 32);
    diff.check(x, w, valfmt::kCodeBest);
    diff.check(x, w, static_cast<int32_t>(rng() % 33));
  }
  EXPECT_EQ(diff.failures(), 0);
  EXPECT_GE(diff.checked(), 1500000);
}

} // namespace

#include "numeric/fixed_layout.h"

namespace {

// The comparisons above only mean something where the fast path answers:
// it must serve ledger amounts under F12.2 and measurements under BEST12
// (all but the few it hands over), and hand over scientific layouts.
TEST(FixedFastDiff, FastPathServesTheCommonValues) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> exp10(-2.0, 7.0);
  int served_f = 0, served_best = 0;
  constexpr int kValues = 10000;
  for (int i = 0; i < kValues; ++i) {
    const double x = std::pow(10.0, exp10(rng)) * (i % 4 == 0 ? -1 : 1);
    char out[32];
    int32_t status = -1;
    served_f += valfmt::render_fixed_fast(out, 12, 2, x, &status) ? 1 : 0;
    served_best +=
        valfmt::render_fixed_fast(out, 12, valfmt::kCodeBest, x, &status) ? 1
                                                                          : 0;
  }
  EXPECT_GT(served_f, kValues * 99 / 100);
  EXPECT_GT(served_best, kValues * 95 / 100);
  char out[32];
  int32_t status = -1;
  // Zero under the best code is the integer shortcut's.
  EXPECT_TRUE(
      valfmt::render_fixed_fast(out, 12, valfmt::kCodeBest, -0.0, &status));
  EXPECT_FALSE(valfmt::render_fixed_fast(out, 12, valfmt::kCodeBest, 1.5e-9,
                                         &status)); // scientific
  EXPECT_FALSE(valfmt::render_fixed_fast(out, 5, 2, 12345.678, &status));
}

} // namespace
