// The fixed renderer, its formats and its digit routines.
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
#include "numeric/fixed_parts.h"
#include "support/call_runner.h"

namespace {

struct Case {
  double v;
  int32_t w, d;
  std::string text;
  int32_t status;
};

// Each case through fn with outsize w: text, status, nothing past outsize.
void check(fmtfn fn, std::initializer_list<Case> cases) {
  for (const Case &c : cases) {
    const vftest::Run r = vftest::put(fn, c.v, c.w, c.d);
    EXPECT_EQ(r.text, c.text) << c.v << " in " << c.w << "." << c.d;
    EXPECT_EQ(r.status, c.status) << c.v << " in " << c.w << "." << c.d;
  }
}

TEST(FixedDigits, PowersOfTenAreTheNearestDoubles) {
  for (int k = -323; k <= 308; ++k)
    ASSERT_EQ(valfmt::power_of_ten(k),
              std::strtod(("1e" + std::to_string(k)).c_str(), nullptr))
        << k;
  for (int k : {309, -324, INT32_MIN, INT32_MAX})
    EXPECT_EQ(valfmt::double_bits(valfmt::power_of_ten(k)),
              valfmt::kStandardMissingBits);
}

TEST(FixedDigits, IntegerPartIsExact) {
  char b[400];
  std::mt19937_64 rng(7);
  for (int i = 0; i < 2000; ++i) {
    const double y = std::ldexp(static_cast<double>(rng() >> 11),
                                static_cast<int>(rng() % 1000) - 40);
    char ref[400];
    std::snprintf(ref, sizeof ref, "%.0f", std::trunc(y));
    const int32_t n = valfmt::write_integer_digits(b, sizeof b, -y);
    ASSERT_EQ(std::string(b, std::size_t(n)), std::trunc(y) == 0 ? "" : ref)
        << y;
  }
  EXPECT_EQ(valfmt::write_integer_digits(b, sizeof b, DBL_MAX),
            valfmt::kMaxIntegerDigits);
  EXPECT_EQ(valfmt::write_integer_digits(b, sizeof b, HUGE_VAL), 0);
  EXPECT_EQ(valfmt::write_integer_digits(b, sizeof b, std::nan("")), 0);
  // Too small a buffer: the count comes back, nothing is written.
  b[0] = '#';
  EXPECT_EQ(valfmt::write_integer_digits(b, 4, 123456.0), 6);
  EXPECT_EQ(b[0], '#');
}

TEST(FixedDigits, FractionDigitsAreTruncatedExactly) {
  char b[64];
  std::mt19937_64 rng(11);
  for (int i = 0; i < 3000; ++i) {
    // Fractions needing one, two and three 60-bit words.
    const double y = std::ldexp(static_cast<double>(rng() >> 11),
                                -static_cast<int>(rng() % 150) - 1);
    const int32_t n = 1 + static_cast<int32_t>(rng() % 32);
    char ref[400];
    std::snprintf(ref, sizeof ref, "%.250f", y);
    const std::string want(std::strchr(ref, '.') + 1, std::size_t(n));
    b[n] = '#';
    const int32_t sig = valfmt::write_fraction_digits(b, n, y);
    ASSERT_EQ(std::string(b, std::size_t(n)), want) << y << " n=" << n;
    ASSERT_EQ(b[n], '#');
    const auto last = want.find_last_not_of('0');
    ASSERT_EQ(sig, last == std::string::npos ? 0 : int32_t(last) + 1);
  }
  EXPECT_EQ(valfmt::write_fraction_digits(b, 3, 4503599627370496.0), 0);
  EXPECT_EQ(std::string(b, 3), "000");
  EXPECT_EQ(valfmt::write_fraction_digits(b, 0, 0.5), 0);
}

TEST(FixedF, RoundingCarriesAndSign) {
  check(zfmt, {{0.125, 8, 2, "    0.13", VF_OK}, // half units round up
               {1.005, 8, 2, "    1.01", VF_OK}, // stored below 1.005
               {2.5, 3, 0, "  3", VF_OK},
               {0.00005, 10, 4, "    0.0001", VF_OK},
               {-0.01, 5, 1, " -0.0", VF_OK}, // rounds to zero, keeps sign
               {-0.0, 5, 1, "  0.0", VF_OK},  // -0.0 is not negative
               {-0.3, 1, 0, "0", VF_OK},      // no room for the sign
               {-0.7, 1, 0, "*", VF_ERR_WIDTH},
               {-0.5, 4, 2, "-.50", VF_OK}, // no room for a leading 0
               // Carries across a power of ten.
               {9.995, 6, 2, " 10.00", VF_OK},
               {9.996, 4, 2, "10.0", VF_WARN},
               {99.96, 3, 1, "100", VF_WARN},
               {0.96, 2, 0, " 1", VF_OK},
               {999.5, 3, 0, "1E3", VF_WARN},
               {999.5, 4, 0, "1000", VF_OK}});
}

TEST(FixedF, FewerDecimalsWhenTheWidthIsShort) {
  check(zfmt, {{12345.678, 5, 2, "12346", VF_WARN},
               {12345.678, 4, 2, "12E3", VF_WARN},
               {123.4567, 6, 3, "123.46", VF_WARN}, // one-time reduction
               {0.01, 5, 10, ".0100", VF_WARN},
               {-1e16, 17, 0, "            -1E16", VF_WARN},
               {-1e16, 18, 0, "-10000000000000000", VF_OK}});
  // A one-column field shows small values as "0"; decimals asked and lost
  // are reported, while best codes and D choose theirs from the width.
  for (double v : {0.3, -0.3, 0.04, -0.04}) {
    for (int32_t d : {1, 2, 31, 32})
      EXPECT_EQ(vftest::put(zfmt, v, 1, d).status, VF_WARN);
    EXPECT_EQ(vftest::put(zfmt, v, 1, 0).text, "0");
    EXPECT_EQ(vftest::put(zfmt, v, 1, 0).status, VF_OK);
    EXPECT_EQ(vftest::put(zfmb, v, 1, 0).status, VF_OK);
    EXPECT_EQ(vftest::put(zfmd, v, 1, 3).status, VF_OK);
  }
}

TEST(FixedF, AtMostFifteenSignificantDigitsFromTheValue) {
  check(
      zfmt,
      {{0.1, 32, 20, "          0.10000000000000000000", VF_OK},
       {1234567890.123456, 32, 10, "           1234567890.1234500000", VF_OK},
       {123456789012345.67, 32, 2, "              123456789012345.00", VF_OK},
       {1234567890123456.7, 32, 3, "            1234567890123457.000", VF_OK},
       // Integers keep every digit.
       {9007199254740993.0, 32, 2, "             9007199254740992.00", VF_OK},
       {std::ldexp(1.0, 70), 32, 0, "          1180591620717411303424", VF_OK},
       {0.5, 32, 32, "." + std::string("5") + std::string(30, '0'), VF_WARN}});
}

TEST(FixedBest, DecimalsFromTheWidthAndTrailingZerosDropped) {
  check(zfmb, {{1234.5, 12, 0, "      1234.5", VF_OK},
               {3.14159265358979, 12, 0, "3.1415926536", VF_OK},
               {-1.0000001, 6, 0, "    -1", VF_OK}, // all decimals zero
               {-0.2, 4, 0, "-0.2", VF_OK},
               {0.5, 2, 0, ".5", VF_OK},
               {-0.0001, 4, 0, "   0", VF_OK},
               {0.1 + 0.2, 12, 0, "         0.3", VF_OK},
               {-999999999999999, 16, 0, "-999999999999999", VF_OK}});
}

TEST(FixedBest, ScientificWhenTheFieldIsShort) {
  check(zfmb, {{123456, 5, 0, "123E3", VF_OK},
               {123456789012, 10, 0, "1.23457E11", VF_OK},
               {0.000012345, 5, 0, "12E-6", VF_OK}, // integer mantissa
               {-DBL_MAX, 12, 0, "-1.79769E308", VF_OK},
               {1e-5, 12, 0, "     0.00001", VF_OK},
               {9.9e-6, 12, 0, "      9.9E-6", VF_OK},
               {9.9e-6, 4, 0, "   0", VF_OK},
               {5e-324, 12, 0, "4.94066E-324", VF_OK},
               {1234, 2, 0, "**", VF_ERR_WIDTH},
               {-1e100, 5, 0, "*****", VF_ERR_WIDTH},
               // Carries that change the exponent's width.
               {9999.6, 4, 0, " 1E4", VF_OK},
               {9.99999e9, 5, 0, " 1E10", VF_OK},
               {9.99999e-10, 5, 0, " 1E-9", VF_OK},
               {9.9996e99, 6, 0, " 1E100", VF_OK}});
}

TEST(FixedE, ScientificLayout) {
  check(zfmexp,
        {{1234.5, 12, 0, " 1.23450E+03", VF_OK},
         {-1234.5, 12, 0, "-1.23450E+03", VF_OK},
         {1e-123, 12, 0, "1.00000E-123", VF_OK},
         {0, 12, 0, " 0.00000E+00", VF_OK},
         {9.9999999e99, 10, 0, " 1.00E+100", VF_OK}, // carry
         {-12345, 7, 0, "-1.E+04", VF_WARN},
         {12345, 5, 0, "123E2", VF_WARN}, // compact layout
         {1.0 / 3, 32, 0,
          " 3." + std::string(13, '3') + std::string(12, '0') + "E-01", VF_OK},
         {1e-300, 5, 0, "     ", VF_NO_FIT},
         {1234.5, 4, 0, "1235", VF_WARN}, // too narrow for E
         {12345, 2, 0, "**", VF_ERR_WIDTH}});
}

TEST(FixedCodes, EveryCodeFamily) {
  check(zfmt, {{2.5, 10, 178, "       2.5", VF_OK}, // best path
               {12345, 4, 178, "12E3", VF_WARN},    // fallback reported
               {12345, 4, 99, "12E3", VF_OK},       // not for 99
               {1.5, 10, 98, "   1.50000", VF_OK},  // D rule, 3 digits
               {1.5, 10, 81, "    1.5000", VF_OK},  // 1 digit asked
               {1.5, 10, 80, "   1.50000", VF_OK},  // 0 means 3
               {1234.5, 12, -2, "    1.23E+03", VF_OK},
               {1234.5, 12, -20, "1.234500E+03", VF_WARN}, // 21 asked
               {2.5, 12, INT_MAX, "         2.5", VF_OK},
               {2.5, 12, INT_MIN, "2.500000E+00", VF_WARN},
               {0.0, 12, 50, "           0", VF_OK}});
}

TEST(FixedD, SignificanceRuleAndItsBoundaries) {
  check(zfmd, {{1.5, 10, 3, "   1.50000", VF_OK},
               {1234.5, 10, 3, "      1235", VF_OK},
               {0.0012345, 8, 3, " 0.00123", VF_OK},
               {123456789, 8, 3, "1.2346E8", VF_WARN},
               {3.14159, 12, 98, "     3.14159", VF_OK}, // code 178
               // Decimals hold while x stays half a unit of the last one
               // below the next power of ten.
               {999.999994, 10, 3, " 999.99999", VF_OK},
               {999.999996, 10, 3, "      1000", VF_OK},
               {-999.997, 10, 3, "-999.99700", VF_OK}});
  const struct {
    int32_t w, s;
    double v;
    int32_t code;
  } rules[] = {{10, 3, -999.999996, 0},
               {10, 3, 1e12, -3},
               {4, 3, 1.5, -1},
               {12, 3, 1e-20, -5},
               {12, 3, HUGE_VAL, -5},
               {12, 0, 0.05, 6},
               {12, 3, 0, 0}};
  for (const auto &r : rules)
    EXPECT_EQ(valfmt::significance_decimals(r.w, r.s, r.v), r.code) << r.v;
}

TEST(FixedZ, ZeroFill) {
  check(zfmz, {{-1.5, 6, 2, "-01.50", VF_OK},
               {7, 4, 0, "0007", VF_OK},
               {12345.678, 5, 2, "12346", VF_WARN}, // no blank to fill
               {12, 1, 0, "*", VF_ERR_WIDTH}});
}

TEST(FixedBestX, WideFieldsBlankPastColumn32) {
  const vftest::Run r = vftest::put(zfmbx, 3.5, 40, 99, 44);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.outlen, 32);
  EXPECT_EQ(r.buffer, std::string(29, ' ') + "3.5" + std::string(8, ' ') +
                          std::string(4, '#'));
  check(zfmbx, {{3.5, 8, 2, "    3.50", VF_OK}});
  const vftest::Run cut = vftest::put(zfmbx, 1.0, 64, 99, 20);
  EXPECT_EQ(cut.text, std::string(20, '*'));
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
}

TEST(FixedMissing, CodeLandsUnderTheLastDecimalOrInTheLastColumn) {
  const double dot = valfmt::standard_missing();
  const double a = valfmt::missing_value(0xFD);
  check(zfmt, {{dot, 8, 2, "     .  ", VF_OK},
               {a, 8, 2, "     A  ", VF_OK},
               {valfmt::missing_value(0xFF), 8, 0, "       _", VF_OK},
               {dot, 3, 3, "  .", VF_OK}, // d >= w: last column
               {dot, 6, -1, "     .", VF_OK}});
  check(zfmb, {{dot, 8, 0, "       .", VF_OK}});
  check(zfmexp, {{a, 8, 0, "       A", VF_OK}});
  check(zfmd, {{dot, 8, 3, "       .", VF_OK}});
  check(zfmz, {{dot, 6, 2, "   .  ", VF_OK}});
  EXPECT_EQ(vftest::put(zfmbx, a, 40, 2, 40).buffer,
            std::string(29, ' ') + "A" + std::string(10, ' '));
}

constexpr fmtfn kFormats[] = {zfmt, zfmn, zfmb, zfmexp, zfmd, zfmz, zfmbx};

TEST(FixedHostile, NonFiniteValuesAndShortBuffers) {
  const double nan_neg = std::bit_cast<double>(0xFFF8000000000001ull);
  for (fmtfn fn : kFormats) {
    for (double v : {std::numeric_limits<double>::quiet_NaN(), nan_neg})
      EXPECT_EQ(vftest::put(fn, v, 8, 2).status, VF_ERR_NOTHING_TO_READ);
    const vftest::Run inf = vftest::put(fn, -HUGE_VAL, 8, 2);
    EXPECT_EQ(inf.text, "********");
    EXPECT_EQ(inf.status, VF_ERR_WIDTH);
    for (double v : {1.5, valfmt::standard_missing()}) {
      const vftest::Run r = vftest::put(fn, v, 12, 2, 5);
      EXPECT_EQ(r.text, "*****");
      EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
    }
    EXPECT_EQ(vftest::put(fn, 1.5, 12, 2, 0).status, VF_ERR_OUTSIZE);
    EXPECT_EQ(vftest::put(fn, 1.0, 0, 0).status, VF_ERR_WIDTH);
    EXPECT_EQ(fn(nullptr), VF_ERR_BAD_CALL);
  }
  check(zfmt, {{1.0, 33, 2, std::string(32, '*'), VF_ERR_WIDTH}});
  EXPECT_EQ(vftest::put(zfmt, 1.0, 100, 2, 10).text, std::string(10, '*'));
}

// Only outlen (and the output) may change: w, d and options stay the
// caller's, whatever a wrapper hands the renderer.
TEST(FixedHostile, CallBlockFieldsStayTheCallers) {
  for (fmtfn fn : kFormats) {
    for (int32_t w : {1, 12, 40}) {
      for (double v : {2.5, -1e-20, valfmt::standard_missing()}) {
        char buf[64];
        fmtcall c{};
        c.w = w;
        c.d = 3;
        c.value = &v;
        c.out = buf;
        c.outsize = sizeof buf;
        c.options = VF_OPT_MULTILABEL;
        fn(&c);
        EXPECT_EQ(c.w, w);
        EXPECT_EQ(c.d, 3);
        EXPECT_EQ(c.options, VF_OPT_MULTILABEL);
        EXPECT_EQ(c.value, &v);
      }
    }
    char buf[8];
    fmtcall c{};
    c.w = 4;
    c.out = buf;
    c.outsize = 8;
    EXPECT_EQ(fn(&c), VF_ERR_BAD_CALL); // no value
    EXPECT_EQ(std::string(buf, 4), "****");
  }
}

// How far a rendered text may lie from the value it shows: one unit of its
// last digit (half a unit when the asked decimals were shown), plus the
// relative noise of the 15-digit limit.
double tolerance(const std::string &text, double v, bool rounded) {
  const auto epos = text.find('E');
  const std::string mant = text.substr(0, epos);
  const auto dot = mant.find('.');
  int32_t after = dot == std::string::npos ? 0 : int32_t(mant.size() - dot - 1);
  if (epos != std::string::npos) after -= std::atoi(text.c_str() + epos + 1);
  const double unit = rounded ? 0.5 : 1.0;
  return unit * std::pow(10.0, -after) * (1 + 1e-9) + std::fabs(v) * 2e-13;
}

// Every width and code on a spread of values: exactly w printable columns,
// and every text shown reads back as the value.
TEST(FixedHostile, SweepKeepsFieldsAndValues) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> mant(-10.0, 10.0);
  const int32_t codes[] = {0,  1,  2,  5,   15, 31, 32,   33,      80,     83,
                           89, 98, 99, 150, -1, -5, -999, INT_MAX, INT_MIN};
  int checked = 0;
  for (int i = 0; i < 200; ++i) {
    double v = mant(rng) * std::pow(10.0, static_cast<int>(rng() % 44) - 22);
    if (i % 5 == 0) v = std::round(v);
    for (int32_t w = 1; w <= 32; ++w) {
      for (int32_t d : codes) {
        const vftest::Run r = vftest::put(zfmt, v, w, d);
        ASSERT_EQ(r.text.size(), static_cast<std::size_t>(w));
        for (char ch : r.text) ASSERT_TRUE(ch >= ' ' && ch <= '~');
        if (r.status < 0 || r.text.find('*') != std::string::npos) continue;
        char *end = nullptr;
        const double back = std::strtod(r.text.c_str(), &end);
        ASSERT_EQ(*end, '\0') << "\"" << r.text << "\"";
        const bool rounded = d >= 0 && d <= 32 && r.status == VF_OK;
        ASSERT_LE(std::fabs(back - v), tolerance(r.text, v, rounded))
            << v << " in " << w << "." << d << " gave \"" << r.text << "\"";
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 60000);
}

// A counting replacement of the global allocator: rendering must never
// reach it.
std::size_t g_allocations = 0;

TEST(FixedHostile, RenderingDoesNotAllocate) {
  const double values[] = {
      -1234.5678, 1e-7,    5e-324,   9.995,
      1.23e17,    DBL_MAX, HUGE_VAL, valfmt::standard_missing()};
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
        c.outsize = sizeof buf;
        for (fmtfn fn : kFormats) fn(&c);
      }
    }
  }
  EXPECT_EQ(g_allocations, before);
  const std::string probe(200, 'x'); // the counter itself works
  EXPECT_EQ(g_allocations, before + 1);
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
