// SIZEK, SIZEKB, SIZEKMG and ODDSR at their thresholds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numeric/words_helpers.h"
#include "registry/functions.h"
#include "valfmt.h"

namespace {

using vfwords::call;
using vfwords::Shown;
using vfwords::stars;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kKB = 1024.0;
constexpr double kMB = kKB * kKB;
constexpr double kGB = kMB * kKB;

void expect(fmtfn fn, double v, int32_t w, int32_t d, const std::string &text,
            int32_t status = VF_OK) {
  const Shown s = call(fn, v, w, d);
  EXPECT_EQ(s.text, text) << v << " " << w << "." << d;
  EXPECT_EQ(s.status, status) << v << " " << w << "." << d;
}

TEST(SizeK, WholeKilobytesRoundUp) {
  expect(sizek, 1, 9, 0, "       1K");
  expect(sizek, 1024, 9, 0, "       1K");
  expect(sizek, 1025, 9, 0, "       2K");
  expect(sizek, -0.0, 9, 0, "       0K");
  expect(sizek, -2049, 9, 0, "      -3K");
  expect(sizek, 1, 2, 0, "1K");
  expect(sizek, 1024, 33, 0, std::string(31, ' ') + "1K");
  // The number keeps the renderer's answer when it cannot fit.
  expect(sizek, 10241, 2, 0, "*K", VF_ERR_WIDTH);
}

TEST(SizeK, DecimalsShowTheFraction) {
  expect(sizek, 1536, 9, 2, "    1.50K");
  expect(sizek, -512, 9, 1, "    -0.5K");
  expect(sizekb, 1536, 10, 1, "     1.5KB");
  expect(sizekb, 1, 3, 0, "1KB");
  expect(sizekb, 3 * kKB, 34, 3, std::string(27, ' ') + "3.000KB");
}

TEST(SizeK, MissingValuesUseTheWholeField) {
  expect(sizek, vfwords::missing(0xFE), 9, 2, "      .  ");
  expect(sizekb, vfwords::missing(0xFE), 6, 0, "     .");
  expect(sizekmg, vfwords::missing(vfwords::code_of('Q')), 6, 1, "    Q ");
}

TEST(SizeKMG, UnitsChangeAtEach1024) {
  // The first division always gives kilobytes.
  expect(sizekmg, 512, 6, 1, " 0.5KB");
  expect(sizekmg, 1536, 6, 1, " 1.5KB");
  expect(sizekmg, kKB, 6, 1, " 1.0KB");
  expect(sizekmg, -1536, 6, 1, "-1.5KB");
  // Just below a unit change the number rounds to 1024 in the old unit.
  expect(sizekmg, kMB - 1, 6, 1, "1024KB", VF_WARN);
  expect(sizekmg, kMB, 6, 1, " 1.0MB");
  expect(sizekmg, kGB - 1, 6, 0, "1024MB");
  expect(sizekmg, kGB, 6, 1, " 1.0GB");
  expect(sizekmg, 1023 * kGB, 6, 0, "1023GB");
  expect(sizekmg, 1536, 4, 0, " 2KB");
  expect(sizekmg, 1536, 34, 2, std::string(28, ' ') + "1.50KB");
}

TEST(SizeKMG, CountsFromATerabyteOnAreStars) {
  const double limit = kGB * kKB;
  expect(sizekmg, limit - 1, 6, 1, "1024GB", VF_WARN);
  for (double v : {limit, -limit, 1e15, 1e308, kInf, -kInf})
    expect(sizekmg, v, 6, 1, stars(6));
}

TEST(Oddsr, LowerThreshold) {
  expect(zfmoddsr, 0.01, 6, 2, "  0.01");
  expect(zfmoddsr, std::nextafter(0.01, 0.0), 6, 2, " <0.01");
  expect(zfmoddsr, -1e-13, 6, 2, " <0.01");
  // No room for the leading zero: "<." followed by the digits.
  expect(zfmoddsr, 0.001, 4, 2, "<.01");
  expect(zfmoddsr, 0.00001, 8, 4, " <0.0001");
  expect(zfmoddsr, 0.2, 8, 0, "      <1");
}

TEST(Oddsr, UpperThreshold) {
  const double top = 100.0 - 0.01;
  expect(zfmoddsr, top, 6, 2, " 99.99");
  expect(zfmoddsr, std::nextafter(top, kInf), 6, 2, ">99.99");
  expect(zfmoddsr, 9999999, 8, 0, " 9999999");
  expect(zfmoddsr, 9999999.4, 8, 0, ">9999999");
  expect(zfmoddsr, 1e300, 8, 3, ">999.999");
  // Decimals beyond w - 2 are w - 2.
  expect(zfmoddsr, 0.5, 4, 5, "0.50");
  expect(zfmoddsr, 1.5, 4, 5, ">.99");
  expect(zfmoddsr, 2.5, 6, -3, "     3");
}

TEST(Oddsr, NegativeRatiosAreRefused) {
  for (double v : {-1e-11, -1.0, -kInf})
    expect(zfmoddsr, v, 6, 2, stars(6), VF_ERR_NO_ROOM);
}

TEST(Oddsr, MissingValuesByTheirCharacter) {
  using vfwords::code_of;
  using vfwords::missing;
  expect(zfmoddsr, missing(code_of('I')), 6, 2, ">99.99");
  expect(zfmoddsr, missing(code_of('I')), 6, 0, ">99999");
  expect(zfmoddsr, missing(code_of('_')), 6, 2, "      ");
  expect(zfmoddsr, missing(code_of('M')), 6, 2, stars(6), VF_ERR_NO_ROOM);
  expect(zfmoddsr, missing(code_of('.')), 6, 2, "   .  ");
  expect(zfmoddsr, missing(0), 6, 0, "     .");
}

TEST(Oddsr, WidthsOutsideTheRange) {
  // w < 1 means 8.
  const Shown dflt = call(zfmoddsr, 2.5, 0, 0, 8);
  EXPECT_EQ(dflt.text, "       3");
  EXPECT_EQ(dflt.status, VF_OK);
  EXPECT_EQ(call(zfmoddsr, 2.5, -4, 0, 7).status, VF_ERR_OUTSIZE);
  // One column has no room.
  expect(zfmoddsr, 2.5, 1, 0, "*", VF_ERR_NO_ROOM);
  // Beyond 32 the ratio takes 32 columns and the rest stays blank.
  const Shown wide = call(zfmoddsr, 2.5, 40, 2);
  EXPECT_EQ(wide.text, std::string(28, ' ') + "2.50");
  EXPECT_EQ(wide.field, wide.text + std::string(8, ' '));
  EXPECT_EQ(wide.status, VF_OK);
}

} // namespace
