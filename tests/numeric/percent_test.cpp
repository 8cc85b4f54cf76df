// PERCENT, PERCENTN, PVALUE, LOGPROB and SSN.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/missing.h"
#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

void expect_put(fmtfn fn, double v, int32_t w, int32_t d,
                const std::string &text, int32_t status = VF_OK) {
  const vftest::Run r = vftest::put(fn, v, w, d);
  EXPECT_EQ(r.text, text) << "w=" << w << " d=" << d << " v=" << v;
  EXPECT_EQ(r.status, status) << "w=" << w << " d=" << d << " v=" << v;
}

std::string right(const std::string &s, int32_t w) {
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Percent, ParenthesesOrMinusAroundTheHundredfoldValue) {
  expect_put(zfmpct, 0.123, 8, 1, "  12.3% ");
  expect_put(zfmpct, -0.123, 8, 1, "( 12.3%)");
  expect_put(pctn, -0.123, 8, 1, " -12.3% ");
  expect_put(zfmpct, -1, 6, 0, "(100%)");
  // -0.0 is not negative.
  expect_put(zfmpct, -0.0, 6, 0, "   0% ");
  expect_put(pctn, -0.0, 6, 0, "   0% ");
}

TEST(Percent, RendererStatusKeepsTheDecoration) {
  // F3.2 of 50 loses its decimals.
  expect_put(zfmpct, 0.5, 6, 2, "  50% ", VF_WARN);
  expect_put(pctn, -0.5, 6, 2, " -50% ", VF_WARN);
  // 1e307 * 100 overflows to infinity; a NaN has no digits.
  expect_put(zfmpct, 1e307, 8, 1, " *****% ", VF_ERR_WIDTH);
  expect_put(zfmpct, kNaN, 8, 1, " *****% ", VF_ERR_NOTHING_TO_READ);
  expect_put(pctn, -kInf, 8, 1, "(*****%)", VF_ERR_WIDTH);
}

TEST(Percent, NoColumnForADigitBelowFourColumns) {
  for (int32_t w = 1; w <= 3; ++w) {
    expect_put(zfmpct, 0.5, w, 0, std::string(static_cast<std::size_t>(w), '*'),
               VF_ERR_WIDTH);
    expect_put(pctn, -0.5, w, 0, std::string(static_cast<std::size_t>(w), '*'),
               VF_ERR_WIDTH);
  }
}

TEST(Pvalue, SmallValuesShowTheirBound) {
  expect_put(zfmpval, 0.05, 6, 4, "0.0500");
  expect_put(zfmpval, 0.00001, 6, 4, "<.0001");
  expect_put(zfmpval, -kInf, 6, 4, "<.0001");
  // The bound itself is shown as a number.
  expect_put(zfmpval, 0.0001, 6, 4, "0.0001");
  expect_put(zfmpval, 0.0000999, 6, 4, "<.0001");
  expect_put(zfmpval, 0.99999, 6, 4, "1.0000");
  // d = 0 or d beyond w - 2 takes w - 2 decimals.
  expect_put(zfmpval, 0.05, 6, 0, "0.0500");
  expect_put(zfmpval, 0.001, 5, 2, " <.01");
  expect_put(zfmpval, 0.001, 3, 0, "<.1");
  expect_put(zfmpval, 1e-40, 32, 30, "<." + std::string(29, '0') + "1");
}

TEST(Pvalue, WidthsOutsideTheRange) {
  expect_put(zfmpval, 0.05, 2, 0, "**", VF_ERR_NO_ROOM);
  // A width below 1 means the default six columns.
  const vftest::Run r = vftest::put(zfmpval, 0.05, 0, 0, 6);
  EXPECT_EQ(r.text, "0.0500");
  EXPECT_EQ(r.status, VF_OK);
  // Beyond 32 the value takes the first 32 columns.
  expect_put(zfmpval, 0.05, 40, 4, right("0.0500", 32) + std::string(8, ' '));
  expect_put(zfmpval, 1e-31, 40, 0,
             "<." + std::string(29, '0') + "1" + std::string(8, ' '));
  expect_put(zfmpval, 1e-9, 40, 0,
             right("0.000000001" + std::string(21, '0'), 32) +
                 std::string(8, ' '));
}

TEST(Pvalue, FailuresOfTheRendererAreNoRoom) {
  expect_put(zfmpval, 123, 6, 4, "123.00", VF_ERR_NO_ROOM);
  expect_put(zfmpval, kInf, 6, 4, "******", VF_ERR_NO_ROOM);
  expect_put(zfmpval, kNaN, 6, 4, "******", VF_ERR_NO_ROOM);
}

// -log10 of a probability, as LOGPROB reads its values.
double neglog(double p) {
  return -std::log10(p);
}

TEST(Logprob, ThreeSignificantDigitsWithoutLeadingZeros) {
  expect_put(zfmlprb, neglog(0.0123), 6, 0, " .0123");
  expect_put(zfmlprb, 0.5, 5, 0, " .316");
  expect_put(zfmlprb, 0, 5, 0, "    1");
  // Trailing zeros of the three digits are dropped.
  expect_put(zfmlprb, 1, 5, 0, "   .1");
  expect_put(zfmlprb, 3.5, 8, 0, " .000316");
  // Decimals are capped at w - 1.
  expect_put(zfmlprb, 3.5, 5, 0, ".0003");
}

TEST(Logprob, ScientificOnceItIsMoreThanTwoColumnsNarrower) {
  // 1E-5 .. 1E-7 still fit the fixed layout within two columns of the
  // seven columns "1.0E-08" takes; 1E-8 needs ten.
  expect_put(zfmlprb, 5, 10, 0, "    .00001");
  expect_put(zfmlprb, 8, 10, 0, "   1.0E-08");
  expect_put(zfmlprb, 10, 32, 0, right("1.0E-10", 32));
  expect_put(zfmlprb, 10.5, 32, 0, right("3.16E-11", 32));
}

TEST(Logprob, ValuesBeyondTheFieldAndInvalidValues) {
  // At w - 1 the probability is rendered, above it the bound is written:
  // both read ".0001" in five columns.
  expect_put(zfmlprb, 4, 5, 0, ".0001");
  expect_put(zfmlprb, 4.0001, 5, 0, ".0001");
  expect_put(zfmlprb, kInf, 6, 0, ".00001");
  // Wider than the sixteen zeros a short constant would hold.
  expect_put(zfmlprb, 25, 20, 0, "." + std::string(18, '0') + "1");
  expect_put(zfmlprb, 1e300, 32, 0, "." + std::string(30, '0') + "1");
  expect_put(zfmlprb, -1, 5, 0, "    *", VF_NOT_FOUND);
  expect_put(zfmlprb, kNaN, 5, 0, "*****", VF_ERR_NOTHING_TO_READ);
}

TEST(Ssn, NineDigitsWithLeadingZeros) {
  expect_put(zfmssn, 123456789, 11, 0, "123-45-6789");
  expect_put(zfmssn, 12345, 11, 0, "000-01-2345");
  expect_put(zfmssn, -0.0, 11, 0, "000-00-0000");
  expect_put(zfmssn, 999999999.9, 11, 0, "999-99-9999");
  for (double v : {1e9, -1.0, 1e300, kInf, -kInf, kNaN,
                   valfmt::standard_missing(), valfmt::missing_value(0xE4)})
    expect_put(zfmssn, v, 11, 0, "...-..-....");
}

} // namespace
