// Results that a reader computes after wzifmn (the size suffixes of
// @SIZEKMG, the division of @PERCENT) obey the same range rule as wzifmn
// itself: a nonzero text never yields an infinite value or a zero.
#include <limits>

#include "registry/functions.h"
#include "helpers.h"

namespace {

using informat_test::bits_of;
using informat_test::Num;
using informat_test::read;

const uint64_t kStd = valfmt::kStandardMissingBits;

TEST(InformatReviewRange, SizeSuffixThatOverflowsIsOutOfRange) {
  for (const char *t :
       {"1E308G", "1.7E308K", "-9E307M", "179769313486231E294K"}) {
    const Num r = read(sizkmgi, t);
    EXPECT_EQ(r.status, VF_WARN_RANGE) << t;
    EXPECT_EQ(r.bits, kStd) << t << " got " << r.value();
    EXPECT_EQ(r.outlen, 8);
  }
  // The largest values that still fit keep their suffix scaling.
  Num r = read(sizkmgi, "1E299G");
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.value(), 1e299 * 1073741824.0);
  r = read(sizkmgi, "0G");
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.bits, 0u);
}

TEST(InformatReviewRange, PercentThatUnderflowsIsOutOfRange) {
  for (const char *t : {"1E-322%", "-4E-323%"}) {
    const Num r = read(zifmpct, t);
    EXPECT_EQ(r.status, VF_WARN_RANGE) << t;
    EXPECT_EQ(r.bits, kStd) << t << " got " << r.value();
    EXPECT_EQ(r.outlen, 8);
  }
  // Zero stays zero, and small values that survive the division are kept.
  Num r = read(zifmpct, "0%");
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.bits, 0u);
  r = read(zifmpct, "1E-300%");
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.value(), 1e-300 / 100.0);
  r = read(zifmpct, "1E308%");
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.value(), 1e308 / 100.0);
}

} // namespace
