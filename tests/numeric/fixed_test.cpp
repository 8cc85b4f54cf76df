// The fixed renderer and its formats: F, BEST, BESTX, E, D, Z, and the
// digit routines beneath them.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <string>

#include "registry/functions.h"
#include "core/missing.h"
#include "numeric/fixed.h"
#include "valfmt.h"

namespace {

struct Result {
  std::string text;
  int32_t status;
};

constexpr char kGuard = '#';

// Runs fn on value with w.d into a guarded buffer of outsize bytes and
// checks that nothing past outsize was touched.
Result run(fmtfn fn, int32_t w, int32_t d, double value, int32_t outsize = 64) {
  char buf[160];
  std::memset(buf, kGuard, sizeof buf);
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = &value;
  c.out = buf;
  c.outsize = outsize;
  c.outlen = -7;
  const int32_t st = fn(&c);
  for (std::size_t i = static_cast<std::size_t>(outsize < 0 ? 0 : outsize);
       i < sizeof buf; ++i)
    EXPECT_EQ(buf[i], kGuard) << "byte " << i << " written past outsize";
  EXPECT_EQ(c.w, w) << "w not restored";
  EXPECT_EQ(c.d, d) << "d not restored";
  EXPECT_EQ(c.options, 0u) << "options not restored";
  const int32_t len = c.outlen < 0 ? 0 : c.outlen;
  return {std::string(buf, static_cast<std::size_t>(len)), st};
}

Result F(int32_t w, int32_t d, double v) {
  return run(zfmt, w, d, v);
}
Result BEST(int32_t w, double v) {
  return run(zfmb, w, 0, v);
}
Result E(int32_t w, double v) {
  return run(zfmexp, w, 0, v);
}

void expect(const Result &r, const std::string &text, int32_t status) {
  EXPECT_EQ(r.text, text);
  EXPECT_EQ(r.status, status) << "for \"" << r.text << "\"";
}

// ---------------------------------------------------------------------------
// Digit routines.

TEST(FixedDigits, IntegerFieldWriter) {
  char b[24];
  std::memset(b, kGuard, sizeof b);
  EXPECT_EQ(valfmt::write_int_field(-42, b, 6), VF_OK);
  EXPECT_EQ(std::string(b, 7), "   -42#");
  EXPECT_EQ(valfmt::write_int_field(0, b, 1), VF_OK);
  EXPECT_EQ(b[0], '0');
  EXPECT_EQ(valfmt::write_int_field(INT64_MIN, b, 20), VF_OK);
  EXPECT_EQ(std::string(b, 20), "-9223372036854775808");
  EXPECT_EQ(valfmt::write_int_field(INT64_MAX, b, 19), VF_OK);
  EXPECT_EQ(std::string(b, 19), "9223372036854775807");
  // The sign needs a column of its own.
  std::memset(b, kGuard, sizeof b);
  EXPECT_EQ(valfmt::write_int_field(-100, b, 3), VF_ERR_OVERFLOW);
  EXPECT_EQ(std::string(b, 4), "***#");
  EXPECT_EQ(valfmt::write_int_field(12345, b, 4), VF_ERR_OVERFLOW);
  EXPECT_EQ(valfmt::write_int_field(5, b, 0), VF_ERR_OVERFLOW);
}

TEST(FixedDigits, PowersOfTenAreTheNearestDoubles) {
  for (int k = -323; k <= 308; ++k)
    EXPECT_EQ(valfmt::zpow10(k),
              std::strtod(("1e" + std::to_string(k)).c_str(), nullptr))
        << k;
  EXPECT_TRUE(valfmt::is_missing(valfmt::zpow10(309)));
  EXPECT_TRUE(valfmt::is_missing(valfmt::zpow10(-324)));
  EXPECT_EQ(std::bit_cast<uint64_t>(valfmt::zpow10(INT32_MIN)),
            valfmt::kStandardMissingBits);
}

TEST(FixedDigits, IntegerTestAndBinaryExponent) {
  EXPECT_TRUE(valfmt::zisint(0.0));
  EXPECT_TRUE(valfmt::zisint(-0.0));
  EXPECT_TRUE(valfmt::zisint(-3.0));
  EXPECT_TRUE(valfmt::zisint(4503599627370495.0));
  EXPECT_FALSE(valfmt::zisint(4503599627370495.5));
  EXPECT_TRUE(valfmt::zisint(1e300));
  EXPECT_FALSE(valfmt::zisint(0.5));
  EXPECT_FALSE(valfmt::zisint(-1e-300));
  EXPECT_FALSE(valfmt::zisint(std::nan("")));
  for (double x : {1.0, 0.75, -3.5, 1e-310, 5e-324, 1e308, 0.0, 0.1}) {
    int e = 0;
    const double f = std::frexp(x, &e);
    int32_t e2 = -99;
    EXPECT_EQ(valfmt::zexpb2(x, &e2), f) << x;
    EXPECT_EQ(e2, e) << x;
  }
}

TEST(FixedDigits, IntegerPartIsExact) {
  char b[400];
  const auto digits = [&](double y) {
    const int32_t n = valfmt::vzfmif(b, sizeof b, y);
    return std::string(b, static_cast<std::size_t>(n));
  };
  EXPECT_EQ(digits(0.99), "");
  EXPECT_EQ(digits(-0.0), "");
  EXPECT_EQ(digits(7.9), "7");
  EXPECT_EQ(digits(-123.5), "123");
  EXPECT_EQ(digits(9007199254740993.0), "9007199254740992");
  EXPECT_EQ(digits(18446744073709551615.0), "18446744073709551616");
  EXPECT_EQ(digits(1e23), "99999999999999991611392");
  EXPECT_EQ(digits(std::ldexp(1.0, 100)), "1267650600228229401496703205376");
  EXPECT_EQ(valfmt::vzfmif(b, sizeof b, DBL_MAX), valfmt::kMaxIntegerDigits);
  EXPECT_EQ(valfmt::vzfmif(b, sizeof b, HUGE_VAL), 0);
  EXPECT_EQ(valfmt::vzfmif(b, sizeof b, std::nan("")), 0);
  // Against the C library's exact expansion of integral doubles.
  std::mt19937_64 rng(7);
  for (int i = 0; i < 2000; ++i) {
    const double y = std::ldexp(static_cast<double>(rng() >> 11),
                                static_cast<int>(rng() % 1000) - 40);
    char ref[400];
    std::snprintf(ref, sizeof ref, "%.0f", std::trunc(y));
    const std::string want = std::trunc(y) == 0 ? "" : ref;
    ASSERT_EQ(digits(y), want) << y;
  }
  // Too small a buffer: the count comes back, nothing is written.
  std::memset(b, kGuard, 8);
  EXPECT_EQ(valfmt::vzfmif(b, 4, 123456.0), 6);
  EXPECT_EQ(b[0], kGuard);
}

TEST(FixedDigits, FractionDigitsAreTruncatedExactly) {
  char b[64];
  int32_t sig = -1;
  const auto frac = [&](int32_t n, double y) {
    std::memset(b, kGuard, sizeof b);
    valfmt::wzfmff(n, &sig, b, y);
    EXPECT_EQ(b[n], kGuard);
    return std::string(b, static_cast<std::size_t>(n));
  };
  // 0.1 is 0.1000000000000000055511151231257827...
  EXPECT_EQ(frac(30, 0.1), "100000000000000005551115123125");
  EXPECT_EQ(sig, 30);
  EXPECT_EQ(frac(5, 0.1), "10000");
  EXPECT_EQ(sig, 1);
  EXPECT_EQ(frac(3, 2.675), "674"); // truncated, not rounded
  EXPECT_EQ(frac(4, 12.5), "5000");
  EXPECT_EQ(sig, 1);
  EXPECT_EQ(frac(6, 3.0), "000000");
  EXPECT_EQ(sig, 0);
  EXPECT_EQ(frac(3, 4503599627370496.0), "000");
  EXPECT_EQ(frac(3, 1e-4), "000"); // below 2^-12
  EXPECT_EQ(frac(0, 0.5), "");
  EXPECT_EQ(sig, 0);
  // Values needing two and three 60-bit words.
  EXPECT_EQ(frac(20, std::ldexp(1.0, -70)), "00000000000000000000");
  EXPECT_EQ(frac(32, std::ldexp(1.0, -70)), "00000000000000000000084703294725");
  EXPECT_EQ(frac(32, 1e-30), "00000000000000000000000000000100");
  // Against the C library's exact expansion.
  std::mt19937_64 rng(11);
  for (int i = 0; i < 3000; ++i) {
    const double y = std::ldexp(static_cast<double>(rng() >> 11),
                                -static_cast<int>(rng() % 150) - 1);
    const int32_t n = 1 + static_cast<int32_t>(rng() % 32);
    char ref[400];
    std::snprintf(ref, sizeof ref, "%.250f", y);
    const std::string all = std::strchr(ref, '.') + 1;
    const std::string want = all.substr(0, static_cast<std::size_t>(n));
    ASSERT_EQ(frac(n, y), want) << y << " n=" << n;
    const auto last = want.find_last_not_of('0');
    ASSERT_EQ(sig, last == std::string::npos ? 0 : int32_t(last) + 1);
  }
}

// ---------------------------------------------------------------------------
// F: decimals, rounding, sign.

TEST(FixedF, RoundsHalfUnitsUpUnlikePrintf) {
  expect(F(8, 2, 0.125), "    0.13", VF_OK); // printf: 0.12
  expect(F(8, 2, 0.375), "    0.38", VF_OK); // printf: 0.38
  expect(F(8, 2, 1.005), "    1.01", VF_OK); // stored below 1.005
  expect(F(3, 0, 2.5), "  3", VF_OK);        // printf: 2
  expect(F(4, 0, -2.5), "  -3", VF_OK);
  expect(F(12, 2, 1234.5678), "     1234.57", VF_OK);
  expect(F(12, 2, 2.5), "        2.50", VF_OK);
  expect(F(10, 4, 0.00005), "    0.0001", VF_OK);
}

TEST(FixedF, SignColumnAndNegativeZero) {
  expect(F(5, 1, -0.01), " -0.0", VF_OK); // rounds to zero, keeps the sign
  expect(F(2, 0, -0.4), "-0", VF_OK);
  expect(F(5, 1, -0.0), "  0.0", VF_OK); // -0.0 is not negative
  expect(F(3, 0, -0.0), "  0", VF_OK);
  expect(F(1, 0, -0.3), "0", VF_OK); // no room for the sign: dropped
  expect(F(1, 0, -0.7), "*", VF_ERR_WIDTH);
  expect(F(1, 0, -3), "*", VF_ERR_WIDTH);
  expect(F(2, 0, -3), "-3", VF_OK);
  expect(F(4, 2, -0.5), "-.50", VF_OK); // no integer room: no leading 0
  expect(F(6, 2, -1.5), " -1.50", VF_OK);
}

TEST(FixedF, FewerDecimalsWhenTheWidthIsShort) {
  expect(F(5, 2, 12345.678), "12346", VF_WARN);
  expect(F(4, 2, 12345.678), "12E3", VF_WARN);
  expect(F(5, 2, 12345), "12345", VF_WARN);
  expect(F(6, 3, 123.4567), "123.46", VF_WARN); // one-time reduction
  expect(F(5, 10, 0.01), ".0100", VF_WARN);
  expect(F(1, 0, 12), "*", VF_ERR_WIDTH);
}

TEST(FixedF, RoundingUpAcrossAPowerOfTen) {
  expect(F(6, 2, 9.995), " 10.00", VF_OK);
  expect(F(5, 2, 9.996), "10.00", VF_OK);
  expect(F(4, 2, 9.996), "10.0", VF_WARN);
  expect(F(3, 1, 99.96), "100", VF_WARN);
  expect(F(4, 1, 0.96), " 1.0", VF_OK);
  expect(F(2, 0, 0.96), " 1", VF_OK);
  expect(F(3, 0, 999.5), "1E3", VF_WARN);
  expect(F(4, 0, 999.5), "1000", VF_OK);
}

TEST(FixedF, AtMostFifteenSignificantDigitsFromTheValue) {
  expect(F(32, 20, 0.1), "          0.10000000000000000000", VF_OK);
  expect(F(32, 10, 1234567890.123456), "           1234567890.1234500000",
         VF_OK);
  // 15 integer digits leave no decimal from the value; a 16th integer
  // digit comes from the value times the fuzz factor.
  expect(F(32, 2, 123456789012345.67), "              123456789012345.00",
         VF_OK);
  expect(F(32, 3, 1234567890123456.7), "            1234567890123457.000",
         VF_OK);
  // Integers keep every digit, with zero decimals.
  expect(F(32, 2, 9007199254740993.0), "             9007199254740992.00",
         VF_OK);
  expect(F(32, 0, 1e22), "         10000000000000000000000", VF_OK);
  expect(F(32, 0, std::ldexp(1.0, 70)), "          1180591620717411303424",
         VF_OK);
}

TEST(FixedF, WidthsAtTheLimits) {
  expect(F(1, 0, 5), "5", VF_OK);
  expect(F(2, 1, 0.5), ".5", VF_OK);
  expect(F(3, 1, 0.5), "0.5", VF_OK);
  expect(F(16, 0, -999999999999999), "-999999999999999", VF_OK);
  expect(F(16, 2, -99999999999.5), " -99999999999.50", VF_OK);
  // -1e16 needs 18 columns: the fixed form gives way to the scientific.
  expect(F(17, 0, -1e16), "            -1E16", VF_WARN);
  expect(F(18, 0, -1e16), "-10000000000000000", VF_OK);
  expect(F(32, 31, 0.5), "." + std::string("5") + std::string(30, '0'), VF_OK);
  expect(F(32, 32, 0.5), "." + std::string("5") + std::string(30, '0'),
         VF_WARN);
  expect(F(32, 32, 0.01), ".01" + std::string(29, '0'), VF_WARN);
  // Above the widest field: 32 asterisks, the caller's w left alone.
  expect(F(33, 2, 1.0), std::string(32, '*'), VF_ERR_WIDTH);
  expect(run(zfmt, 100, 2, 1.0, 10), "**********", VF_ERR_WIDTH);
  expect(F(0, 0, 1.0), "", VF_ERR_WIDTH);
  expect(F(-5, 0, 1.0), "", VF_ERR_WIDTH);
  fmtcall c{};
  double v = 1;
  char buf[4] = {'#', '#', '#', '#'};
  c.value = &v;
  c.out = buf;
  c.outsize = 4;
  c.outlen = 9;
  EXPECT_EQ(zfmt(&c), VF_ERR_WIDTH);
  EXPECT_EQ(c.outlen, 0);
  EXPECT_EQ(buf[0], '#');
}

// ---------------------------------------------------------------------------
// BEST: decimals from the width, trailing zeros dropped, scientific form.

TEST(FixedBest, ChoosesDecimalsFromTheWidth) {
  expect(BEST(12, 1234.5), "      1234.5", VF_OK);
  expect(BEST(12, 3.14159265358979), "3.1415926536", VF_OK);
  expect(BEST(12, 100), "         100", VF_OK);
  expect(BEST(12, -1.0000001), "  -1.0000001", VF_OK);
  expect(BEST(6, -1.0000001), "    -1", VF_OK); // all decimals zero
  expect(BEST(3, 0.2), "0.2", VF_OK);
  expect(BEST(4, -0.2), "-0.2", VF_OK);
  expect(BEST(2, 0.5), ".5", VF_OK);
  expect(BEST(1, 0.3), "0", VF_OK);
  expect(BEST(1, 0.6), "1", VF_OK);
  expect(BEST(12, 0.5), "         0.5", VF_OK);
  expect(BEST(3, 0.0001), "  0", VF_OK);
  expect(BEST(4, -0.0001), "   0", VF_OK);
  expect(BEST(12, 0.1 + 0.2), "         0.3", VF_OK);
}

TEST(FixedBest, IntegersNeverGetAPoint) {
  expect(BEST(16, 123456789012345), " 123456789012345", VF_OK);
  expect(BEST(17, 123456789012345), "  123456789012345", VF_OK);
  expect(BEST(16, -999999999999999), "-999999999999999", VF_OK);
  expect(BEST(17, -999999999999999), " -999999999999999", VF_OK);
  expect(BEST(16, 9007199254740992), "9007199254740992", VF_OK);
  expect(BEST(17, 9007199254740994), " 9007199254740994", VF_OK);
  expect(BEST(32, 18446744073709551616.0), "            18446744073709551616",
         VF_OK);
  expect(BEST(3, 0), "  0", VF_OK);
}

TEST(FixedBest, ScientificWhenTheFieldIsShort) {
  expect(BEST(5, 123456), "123E3", VF_OK);
  expect(BEST(10, 123456789012), "1.23457E11", VF_OK);
  expect(BEST(5, 0.000012345), "12E-6", VF_OK);
  expect(BEST(3, 1234), "1E3", VF_OK);
  expect(BEST(4, 12345678901), "12E9", VF_OK); // narrower exponent wins
  expect(BEST(6, 1e100), " 1E100", VF_OK);
  expect(BEST(6, 1e-100), "1E-100", VF_OK);
  expect(BEST(12, 1e300), "       1E300", VF_OK);
  expect(BEST(12, -DBL_MAX), "-1.79769E308", VF_OK);
  expect(BEST(2, 1234), "**", VF_ERR_WIDTH);
  expect(BEST(5, -1e100), "*****", VF_ERR_WIDTH);
}

TEST(FixedBest, TinyMagnitudesNearTheFixedLimit) {
  expect(BEST(12, 1e-5), "     0.00001", VF_OK);
  expect(BEST(12, 0.00001234), "  0.00001234", VF_OK);
  expect(BEST(12, 9.9e-6), "      9.9E-6", VF_OK);
  expect(BEST(12, -9.9e-6), "     -9.9E-6", VF_OK);
  expect(BEST(4, 9.9e-6), "   0", VF_OK); // too narrow for an exponent
  expect(BEST(12, 5e-324), "4.94066E-324", VF_OK);
  expect(BEST(12, 2.5e-310), "    2.5E-310", VF_OK);
}

TEST(FixedBest, ExponentCarries) {
  expect(BEST(4, 9999.6), " 1E4", VF_OK);
  expect(BEST(5, 9.99999e9), " 1E10", VF_OK);   // exponent grows
  expect(BEST(5, 9.99999e-10), " 1E-9", VF_OK); // exponent shrinks
  expect(BEST(6, 9.9996e99), " 1E100", VF_OK);
}

// ---------------------------------------------------------------------------
// E: scientific with a mantissa of w - 6 digits.

TEST(FixedE, ScientificLayout) {
  expect(E(12, 1234.5), " 1.23450E+03", VF_OK);
  expect(E(12, -1234.5), "-1.23450E+03", VF_OK);
  expect(E(12, 0.00012345), " 1.23450E-04", VF_OK);
  expect(E(12, 1e-123), "1.00000E-123", VF_OK);
  expect(E(12, 0), " 0.00000E+00", VF_OK);
  expect(E(10, 9.9999999e99), " 1.00E+100", VF_OK); // carry into 3 digits
  expect(E(7, -12345), "-1.E+04", VF_WARN);
  expect(E(8, 12345), " 1.2E+04", VF_OK);
  expect(E(5, 12345), "123E2", VF_WARN); // compact layout takes over
  expect(E(32, 1.0 / 3),
         " 3." + std::string(13, '3') + std::string(12, '0') + "E-01", VF_OK);
}

TEST(FixedE, NoFormFits) {
  expect(E(5, 1e-300), "     ", VF_NO_FIT);
  // Too narrow for the E layout: the renderer's own choice, reported.
  expect(E(4, 1234.5), "1235", VF_WARN);
  expect(E(4, 12345), "12E3", VF_WARN);
  expect(E(3, 12345), "1E4", VF_WARN);
  expect(E(2, 12345), "**", VF_ERR_WIDTH);
}

// ---------------------------------------------------------------------------
// Decimals codes beyond the named formats.

TEST(FixedCodes, EveryCodeFamily) {
  expect(F(10, 99, 2.5), "       2.5", VF_OK);
  expect(F(10, 178, 2.5), "       2.5", VF_OK);        // best path
  expect(F(10, 178, 25), "        25", VF_OK);         // no shortcut, same text
  expect(F(4, 178, 12345), "12E3", VF_WARN);           // fallback reported
  expect(F(4, 99, 12345), "12E3", VF_OK);              // not for 99
  expect(F(10, 98, 1.5), "   1.50000", VF_OK);         // D rule, 3 digits
  expect(F(10, 81, 1.5), "    1.5000", VF_OK);         // 1 digit asked
  expect(F(10, 80, 1.5), "   1.50000", VF_OK);         // 0 means 3
  expect(F(12, -999, 1234.5), " 1.23450E+03", VF_OK);  // E
  expect(F(12, -2, 1234.5), "    1.23E+03", VF_OK);    // 3 mantissa digits
  expect(F(12, -20, 1234.5), "1.234500E+03", VF_WARN); // 21 asked
  expect(F(12, INT_MAX, 2.5), "         2.5", VF_OK);
  expect(F(12, INT_MIN, 2.5), "2.500000E+00", VF_WARN);
  expect(F(12, 50, 0.0), "           0", VF_OK);
}

// ---------------------------------------------------------------------------
// Missing values.

TEST(FixedMissing, CodeLandsUnderTheLastDecimalOrInTheLastColumn) {
  const double dot = valfmt::standard_missing();
  const double a = valfmt::missing_value(0xFD);  // 'A'
  const double us = valfmt::missing_value(0xFF); // '_'
  expect(F(8, 2, dot), "     .  ", VF_OK);
  expect(F(8, 2, a), "     A  ", VF_OK);
  expect(F(8, 0, us), "       _", VF_OK);
  expect(F(3, 5, dot), "  .", VF_OK); // d >= w: last column
  expect(F(6, -1, dot), "     .", VF_OK);
  expect(BEST(8, dot), "       .", VF_OK);
  expect(E(8, a), "       A", VF_OK);
  expect(run(zfmd, 8, 3, dot), "       .", VF_OK);
  expect(run(zfmz, 6, 2, dot), "   .  ", VF_OK);
}

// ---------------------------------------------------------------------------
// D, Z, BESTX and call block hygiene.

TEST(FixedD, SignificantDigits) {
  expect(run(zfmd, 10, 3, 1.5), "   1.50000", VF_OK);
  expect(run(zfmd, 10, 3, 1234.5), "      1235", VF_OK);
  expect(run(zfmd, 8, 3, 0.0012345), " 0.00123", VF_OK);
  expect(run(zfmd, 8, 3, 123456789), "1.2346E8", VF_WARN);
  expect(run(zfmd, 8, 3, -0.5), " -0.5000", VF_OK);
  expect(run(zfmd, 12, 0, 0), "           0", VF_OK);
  expect(run(zfmd, 12, 98, 3.14159), "     3.14159", VF_OK); // code 178
  expect(run(zfmd, 12, INT_MAX, 3.25), "        3.25", VF_OK);
  EXPECT_EQ(valfmt::zfmtd(10, 3, 1.5), 5);
  EXPECT_EQ(valfmt::zfmtd(10, 3, 1234.5), 0);
  EXPECT_EQ(valfmt::zfmtd(10, 3, 1e12), -3);
  EXPECT_EQ(valfmt::zfmtd(4, 3, 1.5), -1);
  EXPECT_EQ(valfmt::zfmtd(12, 3, 1e-20), -5);
  EXPECT_EQ(valfmt::zfmtd(12, 3, HUGE_VAL), -5);
  EXPECT_EQ(valfmt::zfmtd(12, 3, 0), 0);
}

TEST(FixedD, SetsItsOptionBitOnlyAroundTheInnerCall) {
  double v = 1.5;
  char buf[16];
  fmtcall c{};
  c.w = 10;
  c.d = 3;
  c.value = &v;
  c.out = buf;
  c.outsize = 16;
  c.options = VF_OPT_MULTILABEL;
  EXPECT_EQ(zfmd(&c), VF_OK);
  EXPECT_EQ(c.options, VF_OPT_MULTILABEL);
  EXPECT_EQ(c.d, 3);
  EXPECT_EQ(c.outlen, 10);
}

TEST(FixedZ, ZeroFill) {
  expect(run(zfmz, 6, 2, -1.5), "-01.50", VF_OK);
  expect(run(zfmz, 6, 2, 1.5), "001.50", VF_OK);
  expect(run(zfmz, 4, 0, 7), "0007", VF_OK);
  expect(run(zfmz, 5, 2, 12345.678), "12346", VF_WARN); // no blank
  expect(run(zfmz, 1, 0, 12), "*", VF_ERR_WIDTH);
}

TEST(FixedBestX, WideFieldsBlankPastColumn32) {
  const Result r = run(zfmbx, 40, 99, 3.5);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.text, std::string(29, ' ') + "3.5");
  char buf[48];
  std::memset(buf, kGuard, sizeof buf);
  double v = 3.5;
  fmtcall c{};
  c.w = 40;
  c.d = 99;
  c.value = &v;
  c.out = buf;
  c.outsize = 44;
  EXPECT_EQ(zfmbx(&c), VF_OK);
  EXPECT_EQ(c.w, 40);
  EXPECT_EQ(c.outlen, 32);
  EXPECT_EQ(std::string(buf + 32, 8), std::string(8, ' '));
  EXPECT_EQ(buf[40], kGuard);
  // Within 32 columns it is the renderer with the caller's own d.
  expect(run(zfmbx, 8, 2, 3.5), "    3.50", VF_OK);
  expect(run(zfmbx, 64, 99, 1.0, 20), std::string(20, '*'), VF_ERR_OUTSIZE);
}

// ---------------------------------------------------------------------------
// Bad input.

TEST(FixedBadInput, NonFiniteValues) {
  const double nan_plain = std::numeric_limits<double>::quiet_NaN();
  const double nan_neg = std::bit_cast<double>(0xFFF8000000000001ull);
  for (fmtfn fn : {zfmt, zfmb, zfmexp, zfmd, zfmz}) {
    expect(run(fn, 8, 2, nan_plain), "********", VF_ERR_NOTHING_TO_READ);
    expect(run(fn, 8, 2, nan_neg), "********", VF_ERR_NOTHING_TO_READ);
    expect(run(fn, 8, 2, HUGE_VAL), "********", VF_ERR_WIDTH);
    expect(run(fn, 8, 2, -HUGE_VAL), "********", VF_ERR_WIDTH);
  }
}

TEST(FixedBadInput, OutputSmallerThanTheField) {
  for (fmtfn fn : {zfmt, zfmb, zfmexp, zfmd, zfmz, zfmbx}) {
    expect(run(fn, 12, 2, 1.5, 5), "*****", VF_ERR_OUTSIZE);
    expect(run(fn, 12, 2, valfmt::standard_missing(), 5), "*****",
           VF_ERR_OUTSIZE);
    expect(run(fn, 12, 2, 1.5, 0), "", VF_ERR_OUTSIZE);
  }
  fmtcall c{};
  double v = 1;
  c.w = 4;
  c.value = &v;
  c.outsize = 100; // no buffer at all
  EXPECT_EQ(zfmt(&c), VF_ERR_OUTSIZE);
  EXPECT_EQ(c.outlen, 0);
  EXPECT_EQ(zfmt(nullptr), VF_ERR_BAD_CALL);
  char buf[8];
  c.out = buf;
  c.value = nullptr;
  EXPECT_EQ(zfmt(&c), VF_ERR_BAD_CALL);
  EXPECT_EQ(std::string(buf, 4), "****");
}

// How far a rendered text may lie from the value it shows: half a unit of
// its last digit, plus the relative noise of the 15-digit limit.
double tolerance(const std::string &text, double v, bool rounded) {
  const auto epos = text.find('E');
  const std::string mant = text.substr(0, epos);
  const auto dot = mant.find('.');
  int32_t after = 0; // digits after the point, or minus trailing places
  if (dot != std::string::npos)
    after = static_cast<int32_t>(mant.size() - dot - 1);
  if (epos != std::string::npos) after -= std::atoi(text.c_str() + epos + 1);
  // Digits beyond the 13th to 15th significant one (the count depends on
  // the digit estimate) are written as '0'.
  const double noise = 2e-13;
  // Digits rounded for one layout and shown in a narrower one (a reduced F
  // layout, the best path's decimals) are truncated: one unit of the last
  // digit.
  const double unit = rounded ? 0.5 : 1.0;
  return unit * std::pow(10.0, -after) * (1 + 1e-9) + std::fabs(v) * noise;
}

// Every width and code on a spread of values: the field is always exactly
// w printable columns, nothing beyond it is written, and every text that is
// reported as shown reads back as the value within half a unit of its last
// digit.
TEST(FixedBadInput, SweepKeepsFieldsAndValues) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> mant(-10.0, 10.0);
  const int32_t codes[] = {0,  1,  2,  5,   15, 31, 32,   33,      80,     83,
                           89, 98, 99, 150, -1, -5, -999, INT_MAX, INT_MIN};
  int checked = 0;
  for (int i = 0; i < 300; ++i) {
    double v = mant(rng) * std::pow(10.0, static_cast<int>(rng() % 44) - 22);
    if (i % 5 == 0) v = std::round(v);
    for (int32_t w = 1; w <= 32; ++w) {
      for (int32_t d : codes) {
        const Result r = run(zfmt, w, d, v, w);
        ASSERT_EQ(r.text.size(), static_cast<std::size_t>(w))
            << v << " " << w << "." << d;
        for (char ch : r.text) ASSERT_TRUE(ch >= ' ' && ch <= '~');
        if (r.status < 0 || r.text.find('*') != std::string::npos) continue;
        char *end = nullptr;
        const double back = std::strtod(r.text.c_str(), &end);
        ASSERT_EQ(*end, '\0') << "\"" << r.text << "\"";
        ASSERT_LE(std::fabs(back - v),
                  tolerance(r.text, v, d >= 0 && d <= 32 && r.status == VF_OK))
            << v << " in " << w << "." << d << " gave \"" << r.text << "\"";
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 100000);
}

// A counting replacement of the global allocator: rendering must never
// reach it.
std::size_t g_allocations = 0;

TEST(FixedNoAllocation, RenderingDoesNotAllocate) {
  const double values[] = {
      0.0,    -0.0,  1.5,   -1234.5678,           1e-7,    1e300,
      5e-324, 9.995, 0.125, 123456789012345678.0, DBL_MAX, HUGE_VAL};
  char buf[64];
  const std::size_t before = g_allocations;
  for (double v : values) {
    for (int32_t w : {1, 5, 12, 16, 17, 32, 40}) {
      for (int32_t d : {0, 2, 31, 99, 98, -999, 83}) {
        fmtcall c{};
        c.w = w;
        c.d = d;
        c.value = &v;
        c.out = buf;
        c.outsize = 64;
        for (fmtfn fn : {zfmt, zfmb, zfmbx, zfmexp, zfmd, zfmz}) fn(&c);
      }
    }
  }
  EXPECT_EQ(g_allocations, before);
  // The counter itself works.
  {
    const std::string probe(200, 'x');
    EXPECT_EQ(g_allocations, before + 1);
  }
}

} // namespace

// Kept out of line so that the compiler does not pair the malloc inside
// with deletes elsewhere.
[[gnu::noinline]] void *operator new(std::size_t n) {
  ++g_allocations;
  if (void *p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void *p) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete(void *p, std::size_t) noexcept {
  std::free(p);
}
