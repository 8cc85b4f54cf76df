// ROMAN against a greedy numeral writer, and FRACT against exact rational
// arithmetic and the continued-fraction bounds.
#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <string>

#include "numeric/fraction.h"
#include "numeric/words_helpers.h"
#include "registry/functions.h"
#include "valfmt.h"

namespace {

using vfwords::call;
using vfwords::left;
using vfwords::right;
using vfwords::Shown;
using vfwords::stars;

// The numeral of 1 <= n < 10000 by subtracting the largest value that
// fits, thousands as repeated 'M'.
std::string greedy_numeral(int n) {
  static const struct {
    int value;
    const char *text;
  } kSteps[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string s;
  for (const auto &step : kSteps)
    while (n >= step.value) {
      s += step.text;
      n -= step.value;
    }
  return s;
}

void expect_roman(double v, int32_t w, const std::string &text) {
  const Shown s = call(zfmromn, v, w);
  EXPECT_EQ(s.status, VF_OK) << v;
  EXPECT_EQ(s.text, text) << v << " w=" << w;
  EXPECT_EQ(s.field, left(text, w)) << v << " w=" << w;
}

TEST(Roman, EveryNumeralAgreesWithGreedyWriter) {
  for (int n = 1; n < 10000; ++n) {
    const std::string numeral = greedy_numeral(n);
    ASSERT_LE(numeral.size(), 21u);
    expect_roman(n, 32, numeral);
    expect_roman(-n, 32, "-" + numeral);
    // Fractions go toward zero.
    expect_roman(n + 0.75, 22, numeral);
    expect_roman(-n - 0.75, 22, "-" + numeral);
  }
}

TEST(Roman, FieldWidthDecidesFit) {
  // 9888 has the longest numeral: 21 characters, 22 with the sign.
  const std::string longest = greedy_numeral(9888);
  ASSERT_EQ(longest.size(), 21u);
  expect_roman(9888, 21, longest);
  expect_roman(9888, 20, stars(20));
  expect_roman(-9888, 22, "-" + longest);
  expect_roman(-9888, 21, stars(21));
  expect_roman(3, 2, stars(2));
  expect_roman(-0.9, 2, "0");
}

TEST(Roman, ValuesOutOfRange) {
  for (double v : {10000.0, -10000.0, 2147483648.0, -2147483649.0, 1e308,
                   -std::numeric_limits<double>::infinity()})
    expect_roman(v, 8, stars(8));
  expect_roman(9999.999, 15, "MMMMMMMMMCMXCIX");
  expect_roman(-0.0, 3, "0");
}

TEST(Roman, MissingValuesStandAtTheLeft) {
  for (char c : std::string("._AZ")) {
    const Shown s = call(zfmromn, vfwords::missing(vfwords::code_of(c)), 6);
    EXPECT_EQ(s.status, VF_OK);
    EXPECT_EQ(s.text, left(std::string(1, c), 6));
  }
  EXPECT_EQ(call(zfmromn, vfwords::missing(0), 6).text, "      ");
}

// FRACT of whole + num/den for a reduced fraction, as the format joins
// them.
std::string fract_text(bool negative, long whole, long num, long den) {
  std::string s = negative ? "-" : "";
  if (whole != 0) s += std::to_string(whole) + (negative ? "-" : "+");
  return s + std::to_string(num) + "/" + std::to_string(den);
}

void expect_fract(double v, int32_t w, const std::string &want) {
  const Shown s = call(zfmfrac, v, w);
  EXPECT_EQ(s.status, VF_OK) << v;
  EXPECT_EQ(s.text, want) << v << " w=" << w;
}

// What BEST w shows for v.
std::string best(double v, int32_t w) {
  return call(zfmb, v, w).text;
}

TEST(Fract, RationalsComeOutReduced) {
  for (long den = 2; den <= 128; ++den) {
    for (long num = 1; num < den; ++num) {
      const long g = std::gcd(num, den);
      for (long whole : {0L, 7L, 4095L}) {
        const double v = static_cast<double>(whole) +
                         static_cast<double>(num) / static_cast<double>(den);
        expect_fract(v, 32,
                     right(fract_text(false, whole, num / g, den / g), 32));
        expect_fract(-v, 32,
                     right(fract_text(true, whole, num / g, den / g), 32));
      }
    }
  }
  // Remainders at or below 1e-5 end the expansion; above it they go on.
  expect_fract(0.333333, 12, right("1/3", 12));
  expect_fract(0.3333, 12, right("3333/10000", 12));
  expect_fract(1e-5 + 1, 20, right("1+1/100000", 20));
}

TEST(Fract, ExpansionStopsAfterNineteenLevels) {
  // Every partial quotient of the golden ratio's fraction is 1, and the
  // convergents are ratios of Fibonacci numbers: after 19 levels F19/F20.
  const double golden = 0.6180339887498949;
  double p = 0;
  double q = 0;
  valfmt::expand_fraction(golden, &p, &q);
  EXPECT_EQ(p, 4181.0);
  EXPECT_EQ(q, 6765.0);
  expect_fract(golden, 12, right("4181/6765", 12));
}

TEST(Fract, NarrowFieldsFallBackToBest) {
  // Whole part, sign and the shortest fraction need more than w.
  for (int32_t w : {4, 5, 6}) expect_fract(123.5, w, best(123.5, w));
  expect_fract(123.5, 7, "123+1/2");
  expect_fract(4.5e15 + 0.5, 20, "4500000000000000+1/2");
  expect_fract(4.5e15 + 0.5, 19, best(4.5e15 + 0.5, 19));
  expect_fract(-12.5, 7, "-12-1/2");
  expect_fract(-12.5, 6, best(-12.5, 6));
  // A denominator too long for the field.
  expect_fract(1e-300, 32, best(1e-300, 32));
  expect_fract(0.1234567, 10, best(0.1234567, 10));
  // Whole numbers, however large.
  for (double v : {0.0, -0.0, 1.0, -7.0, 1e15, 1e308})
    expect_fract(v, 10, best(v, 10));
}

TEST(Fract, InfinitiesAndMissing) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {inf, -inf}) {
    const Shown s = call(zfmfrac, v, 10);
    EXPECT_EQ(s.text, stars(10));
    EXPECT_EQ(s.status, VF_ERR_WIDTH);
  }
  const Shown m = call(zfmfrac, vfwords::missing(0xFE), 6);
  EXPECT_EQ(m.text, "     .");
  EXPECT_EQ(m.status, VF_OK);
  EXPECT_EQ(call(zfmfrac, vfwords::missing(0xE4), 6).text, "     Z");
}

} // namespace
