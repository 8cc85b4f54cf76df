// Second look at the fixed renderer: statuses of fields too narrow for a
// sign, and the boundary of the D significance rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry/functions.h"
#include "numeric/fixed.h"
#include "valfmt.h"

namespace {

struct Shown {
  std::string text;
  int32_t status;
};

Shown show(fmtfn fn, int32_t w, int32_t d, double value) {
  char buf[40];
  std::memset(buf, '#', sizeof buf);
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = &value;
  c.out = buf;
  c.outsize = 32;
  const int32_t st = fn(&c);
  EXPECT_EQ(buf[32], '#');
  return {std::string(buf, static_cast<std::size_t>(c.outlen)), st};
}

// A one-column field cannot hold a sign: a small negative value is shown
// as "0", and asked decimals that vanish are reported like those of a
// positive value.
TEST(FixedReviewStatus, DroppedDecimalsInAOneColumnFieldAreReported) {
  for (double v : {0.3, -0.3, 0.04, -0.04}) {
    for (int32_t d : {1, 2, 31, 32}) {
      const Shown s = show(zfmt, 1, d, v);
      EXPECT_EQ(s.text, "0") << v << " d=" << d;
      EXPECT_EQ(s.status, VF_WARN) << v << " d=" << d;
    }
    // No decimals asked, none lost.
    const Shown s = show(zfmt, 1, 0, v);
    EXPECT_EQ(s.text, "0");
    EXPECT_EQ(s.status, VF_OK);
    // Best codes and the D rule choose their decimals from the width.
    EXPECT_EQ(show(zfmb, 1, 0, v).status, VF_OK);
    EXPECT_EQ(show(zfmd, 1, 3, v).status, VF_OK);
  }
}

// The D rule keeps its decimals while x stays below the next power of ten
// by more than half a unit of the last decimal, and gives them up at once
// beyond it.
TEST(FixedReviewD, DecimalsHoldUpToHalfAUnitBelowThePower) {
  EXPECT_EQ(valfmt::zfmtd(10, 3, 999.997), 5);
  EXPECT_EQ(valfmt::zfmtd(10, 3, 999.999994), 5);
  EXPECT_EQ(valfmt::zfmtd(10, 3, 999.999996), 0);
  EXPECT_EQ(valfmt::zfmtd(10, 3, -999.999996), 0);
  const Shown below = show(zfmd, 10, 3, 999.999994);
  EXPECT_EQ(below.text, " 999.99999");
  EXPECT_EQ(below.status, VF_OK);
  const Shown above = show(zfmd, 10, 3, 999.999996);
  EXPECT_EQ(above.text, "      1000");
  EXPECT_EQ(above.status, VF_OK);
  const Shown negative = show(zfmd, 10, 3, -999.997);
  EXPECT_EQ(negative.text, "-999.99700");
  EXPECT_EQ(negative.status, VF_OK);
}

} // namespace
