// The shared pieces of the binary writers: decimal scaling with its
// overflow rule, and the PIB/IB integer of a double with rounding and
// saturation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "binary/binary_call.h"
#include "binary/binary_test_util.h"
#include "binary/int_value.h"

namespace {

using valfmt::ib_scaled;
using valfmt::ib_value;
using valfmt::pib_scaled;
using valfmt::pib_value;
using valfmt::scale_real;
using valfmt::vvzscal;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Scaling, OverflowRuleOfTheByteWriters) {
  EXPECT_EQ(vvzscal(2, 1.25), 125.0);
  EXPECT_EQ(vvzscal(0, 7.0), 7.0);
  EXPECT_EQ(vvzscal(-3, 7.0), 7.0);
  EXPECT_EQ(vvzscal(31, 1.0), 1e31);
  EXPECT_EQ(vvzscal(300, 2.0), 2e300);
  // Beyond the scalable range (either sign, infinities too): missing.
  for (double v : {1e300, -1e300, kInf, -kInf})
    EXPECT_EQ(bintest::bits(vvzscal(10, v)), bintest::kStandardMissing) << v;
  EXPECT_EQ(bintest::bits(vvzscal(309, 1.0)), bintest::kStandardMissing);
  // At the edge: the largest double with the value's sign.
  EXPECT_EQ(vvzscal(5, DBL_MAX / 1e5), DBL_MAX);
  EXPECT_EQ(vvzscal(5, -DBL_MAX / 1e5), -DBL_MAX);
  EXPECT_TRUE(std::isnan(vvzscal(3, std::nan(""))));
}

TEST(Scaling, PlainScalingOfTheRealWriters) {
  EXPECT_EQ(scale_real(1.5, 2), 150.0);
  EXPECT_EQ(scale_real(1e300, 10), kInf);
  EXPECT_EQ(scale_real(-2.0, 400), -kInf);
  EXPECT_EQ(scale_real(0.0, 400), 0.0);
  EXPECT_EQ(scale_real(3.0, -1), 3.0);
}

TEST(IntegerField, UnsignedRoundingAndSaturation) {
  EXPECT_EQ(pib_value(255.4, 1).bits, 0xFFu);
  EXPECT_EQ(pib_value(255.4, 1).status, VF_OK);
  EXPECT_EQ(pib_value(255.5, 1).bits, 0xFFu);
  EXPECT_EQ(pib_value(255.5, 1).status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(pib_value(-3.0, 1).bits, 0xFFu);
  EXPECT_EQ(pib_value(-3.0, 1).status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(pib_value(2.5, 2).bits, 3u);
  EXPECT_EQ(pib_value(1e30, 8).bits, ~0ull);
  EXPECT_EQ(pib_value(std::nan(""), 4).status, VF_ERR_BINARY_FIT);
  // Beyond 2^52 integers keep their value (no half added in floating
  // point).
  EXPECT_EQ(pib_value(4503599627370497.0, 8).bits, 4503599627370497ull);
  EXPECT_EQ(pib_value(18446744073709549568.0, 8).bits, 18446744073709549568ull);
  EXPECT_EQ(pib_scaled(2.5551, 2, 2).bits, 256u);
  EXPECT_EQ(pib_scaled(1e300, 4, 10).status, VF_WARN_RANGE);
  EXPECT_EQ(pib_scaled(1e300, 4, 10).bits, 0xFFFFFFFFu);
  // A negative value does not fit before any scaling is tried, so a huge
  // negative one is a fit error, not a scaling warning.
  EXPECT_EQ(pib_scaled(-1e300, 4, 10).status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(pib_scaled(-1e300, 4, 10).bits, 0xFFFFFFFFu);
  // Every odd integer between 2^52 and 2^53 keeps its value, in both
  // conversions (a floating-point half added would round it to even).
  for (uint64_t k = (1ull << 52) + 1; k < (1ull << 53); k += 0x1234567891ull) {
    const uint64_t odd = k | 1;
    EXPECT_EQ(pib_value(static_cast<double>(odd), 8).bits, odd);
    EXPECT_EQ(ib_value(static_cast<double>(odd), 8).bits, odd);
    EXPECT_EQ(ib_value(-static_cast<double>(odd), 8).bits, 0 - odd);
  }
}

TEST(IntegerField, TwosComplementRoundingAndSaturation) {
  EXPECT_EQ(ib_value(-1.0, 4).bits, 0xFFFFFFFFu);
  EXPECT_EQ(ib_value(2147483648.0, 4).bits, 0x7FFFFFFFu);
  EXPECT_EQ(ib_value(2147483648.0, 4).status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(ib_value(-2147483648.0, 4).bits, 0x80000000u);
  EXPECT_EQ(ib_value(-2147483648.0, 4).status, VF_OK);
  EXPECT_EQ(ib_value(-2147483649.0, 4).bits, 0x80000000u);
  EXPECT_EQ(ib_value(-2147483649.0, 4).status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(ib_value(-0.4, 2).bits, 0u);
  EXPECT_EQ(ib_value(-0.5, 2).bits, 0xFFFFu);
  EXPECT_EQ(ib_value(-3.5, 1).bits, 0xFCu); // -4
  EXPECT_EQ(ib_value(-1.4, 1).bits, 0xFFu);
  EXPECT_EQ(ib_value(-1.5, 1).bits, 0xFEu);
  EXPECT_EQ(ib_value(1.0, 4).bits, 1u);
  EXPECT_EQ(ib_value(-(4503599627370497.0), 8).bits, 0 - 4503599627370497ull);
  EXPECT_EQ(ib_value(-9223372036854775808.0, 8).bits, 1ull << 63);
  EXPECT_EQ(ib_value(std::nan(""), 8).bits, 0u);
  // Scaling overflow saturates by the value's sign.
  EXPECT_EQ(ib_scaled(1e300, 2, 20).bits, 0x7FFFu);
  EXPECT_EQ(ib_scaled(-1e300, 2, 20).bits, 0x8000u);
  EXPECT_EQ(ib_scaled(-1e300, 2, 20).status, VF_WARN_RANGE);
  EXPECT_EQ(ib_scaled(-1.25, 2, 1).bits, 0xFFF3u); // -13
}

} // namespace
