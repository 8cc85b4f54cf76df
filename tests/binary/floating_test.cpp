// Native and IEEE real binary: RB, IEEE, IEEER and FLOAT against the
// platform's own representation (memcpy and byte order), every width, the
// readers' round trips over a wide spread of values, missing values, signed
// zeros, infinities and NaNs, short buffers and short inputs.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "binary/binary_test_util.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using bintest::bytes;
using bintest::hex;
using bintest::memory_of;
using bintest::reversed;
using vftest::input;
using vftest::put;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The big-endian IEEE field the platform gives: float below width 5.
std::string ieee_bytes(double v, int w) {
  std::string be;
  if (w < 5) {
    // Rounding to nearest overflows from the largest single plus half its
    // last unit (2^104 - 2^103 ... written as (2 - 2^-24) * 2^127) up.
    const double edge = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
    const float f = std::fabs(v) >= edge
                        ? std::copysign(std::numeric_limits<float>::infinity(),
                                        static_cast<float>(v < 0 ? -1 : 1))
                        : static_cast<float>(v);
    be = reversed(std::string(reinterpret_cast<const char *>(&f), 4));
  } else {
    be = reversed(memory_of(v));
  }
  return be.substr(0, static_cast<std::size_t>(w));
}

// The largest hexadecimal floating-point magnitude as a double.
double hfp_largest() {
  return std::ldexp(1.0 - std::ldexp(1.0, -53), 252);
}

TEST(RealBinary, RbIsTheHighOrderEndOfTheDouble) {
  for (double v : bintest::spread(300)) {
    for (int w = 2; w <= 8; ++w) {
      const vftest::Run r = put(wzfmrb, v, w);
      ASSERT_EQ(r.status, VF_OK);
      EXPECT_EQ(r.text, memory_of(v).substr(static_cast<std::size_t>(8 - w)))
          << v << " RB" << w;
    }
  }
  // Decimals scale first: RB8.2 of 1.5 is the double 150.
  EXPECT_EQ(put(wzfmrb, 1.5, 8, 2).text, memory_of(150.0));
}

TEST(RealBinary, RbScalingOverflowWritesTheStandardMissingValue) {
  const vftest::Run r = put(wzfmrb, 1e300, 8, 10);
  EXPECT_EQ(r.status, VF_WARN_RANGE);
  EXPECT_EQ(r.bits(), bintest::kStandardMissing);
  const vftest::Run neg = put(wzfmrb, -1e300, 8, 10);
  EXPECT_EQ(neg.status, VF_WARN_RANGE);
  EXPECT_EQ(neg.bits(), bintest::kStandardMissing);
  // Exactly at the edge of what 10^1 can scale: the largest double.
  const vftest::Run edge = put(wzfmrb, DBL_MAX / 10, 8, 1);
  EXPECT_EQ(edge.status, VF_OK);
  EXPECT_EQ(edge.number(), DBL_MAX);
}

TEST(RealBinary, RbRoundTripsThroughTheReader) {
  for (double v : bintest::spread(500)) {
    const vftest::Run f = put(wzfmrb, v, 8);
    const vftest::Run r = input(wzifmrb, f.text, 8);
    ASSERT_EQ(r.status, VF_OK) << v;
    EXPECT_EQ(r.bits(), bintest::bits(v)) << v;
    // Four bytes keep the upper half: the value with its low word zero.
    const double upper =
        std::bit_cast<double>(bintest::bits(v) & 0xFFFFFFFF00000000ull);
    const vftest::Run r4 = input(wzifmrb, put(wzfmrb, v, 4).text, 4);
    if (upper != 0.0) {
      EXPECT_EQ(r4.number(), upper) << v;
    }
  }
  // With decimals the reader divides what the writer multiplied.
  const vftest::Run r = input(wzifmrb, put(wzfmrb, 12.34, 8, 2).text, 8, 2);
  EXPECT_EQ(r.number(), (12.34 * 100) / 100);
}

TEST(RealBinary, RbMissingZerosAndSpecials) {
  // Missing values keep their pattern in RB8 and in RB4 (upper half).
  for (uint8_t code :
       {uint8_t{0xFE}, uint8_t{0xFF}, uint8_t{0xE4}, uint8_t{0xFD}}) {
    const double m = bintest::missing(code);
    for (int w : {8, 4, 3}) {
      const vftest::Run r = input(wzifmrb, put(wzfmrb, m, w).text, w);
      EXPECT_EQ(r.status, VF_OK);
      EXPECT_EQ(r.bits(), bintest::bits(m)) << int{code} << " w" << w;
    }
  }
  // A missing pattern whose code byte is below 0xE4, infinities and other
  // NaNs are refused.
  for (double x :
       {bintest::missing(0xE3), bintest::missing(0x00), kInf, -kInf, kNaN}) {
    const vftest::Run r = input(wzifmrb, memory_of(x), 8);
    EXPECT_EQ(r.status, VF_ERR_NOTHING_TO_READ);
    EXPECT_EQ(r.bits(), bintest::kStandardMissing);
  }
  EXPECT_EQ(input(wzifmrb, std::string(8, '\xFF'), 8).status,
            VF_ERR_NOTHING_TO_READ);
  // Zeros read as +0.0, also negative zero; all-zero bytes too.
  EXPECT_EQ(input(wzifmrb, put(wzfmrb, -0.0, 8).text, 8).bits(), 0u);
  EXPECT_EQ(input(wzifmrb, std::string(8, '\0'), 8, 3).bits(), 0u);
  // A quotient that vanishes: the standard missing value and a warning.
  const vftest::Run tiny = input(wzifmrb, memory_of(5e-324), 8, 2);
  EXPECT_EQ(tiny.status, VF_WARN_RANGE);
  EXPECT_EQ(tiny.bits(), bintest::kStandardMissing);
}

TEST(RealBinary, RbWidthsBuffersAndShortInput) {
  EXPECT_EQ(put(wzfmrb, 1.0, 9).status, VF_ERR_WIDTH);
  EXPECT_EQ(put(wzfmrb, 1.0, 1).status, VF_ERR_WIDTH);
  EXPECT_EQ(put(wzfmrb, 1.0, 0).outlen, 0);
  // A buffer below w keeps the high-order bytes that fit.
  const vftest::Run cut = put(wzfmrb, -2.5, 8, 0, 3);
  EXPECT_EQ(cut.status, VF_ERR_OVERFLOW);
  EXPECT_EQ(cut.text, memory_of(-2.5).substr(5));
  // Reader: widths beyond 0..8 are refused with the standard missing value;
  // below the format's minimum width the bytes are the high-order end.
  EXPECT_EQ(input(wzifmrb, bytes("40"), 1).number(), 2.0);
  EXPECT_EQ(input(wzifmrb, bytes("40"), 0).bits(), 0u);
  for (int w : {9, -3}) {
    const vftest::Run r = input(wzifmrb, memory_of(1.0), w);
    EXPECT_EQ(r.status, VF_ERR_WD_LIMITS) << w;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing);
  }
  // Decimals outside 0..31 are refused, 98 and 99 read as 0.
  EXPECT_EQ(input(wzifmrb, memory_of(1.0), 8, 32).status, VF_ERR_WD_LIMITS);
  EXPECT_EQ(input(wzifmrb, memory_of(1.0), 8, 99).number(), 1.0);
  // valuelen below w: the bytes given are the high-order end.
  const vftest::Run shortin = input(wzifmrb, bytes("F03F"), 8);
  EXPECT_EQ(shortin.number(), 1.0);
  EXPECT_EQ(input(wzifmrb, "", 8).bits(), 0u);
}

TEST(IeeeBinary, MatchesThePlatformsBigEndianForm) {
  for (double v : bintest::spread(300)) {
    for (int w = 2; w <= 8; ++w) {
      const vftest::Run r = put(zfmieee, v, w);
      ASSERT_EQ(r.status, VF_OK);
      EXPECT_EQ(r.text, ieee_bytes(v, w)) << v << " IEEE" << w;
      EXPECT_EQ(put(zfmieer, v, w).text, reversed(ieee_bytes(v, w)))
          << v << " IEEER" << w;
    }
  }
  EXPECT_EQ(hex(put(zfmieee, 1.25, 8, 2).text), hex(ieee_bytes(125.0, 8)));
}

TEST(IeeeBinary, MissingValuesAndSpecials) {
  // Doubles keep a missing pattern; floats write 0.
  EXPECT_EQ(hex(put(zfmieee, bintest::missing(0xFE), 8).text),
            "FFFFFE0000000000");
  EXPECT_EQ(hex(put(zfmieee, bintest::missing(0xFE), 4).text), "00000000");
  EXPECT_EQ(hex(put(zfmieee, -0.0, 8).text), "8000000000000000");
  EXPECT_EQ(hex(put(zfmieee, kInf, 4).text), "7F800000");
  EXPECT_EQ(hex(put(zfmieee, -kInf, 8).text), "FFF0000000000000");
  // Beyond the single range a short field is the infinity of the sign;
  // just short of half a unit above the largest single it rounds down.
  EXPECT_EQ(hex(put(zfmieee, 1e39, 4).text), "7F800000");
  EXPECT_EQ(hex(put(zfmieee, -1e300, 3).text), "FF8000");
  EXPECT_EQ(hex(put(zfmieer, 1e300, 4).text), "0000807F");
  const double below =
      std::ldexp(2.0 - std::ldexp(1.0, -23), 127) + std::ldexp(1.0, 102);
  EXPECT_EQ(hex(put(zfmieee, below, 4).text), "7F7FFFFF");
  EXPECT_EQ(hex(put(zfmieee, -std::nextafter(below, 0.0) * 2, 4).text),
            "FF800000");
  // A buffer below w: nothing written.
  const vftest::Run cut = put(zfmieee, 1.0, 8, 0, 7);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.outlen, 0);
  EXPECT_EQ(put(zfmieer, 1.0, 9).status, VF_ERR_WIDTH);
}

TEST(IeeeBinary, ReaderRoundTripsWithinTheHexadecimalRange) {
  const double lo = std::ldexp(1.0, -260);
  const double hi = std::ldexp(1.0, 252);
  for (double v : bintest::spread(600)) {
    const vftest::Run r8 = input(zifmiee, put(zfmieee, v, 8).text, 8);
    ASSERT_EQ(r8.status, VF_OK) << v;
    const double mag = std::fabs(v);
    if (mag >= lo && mag < hi)
      EXPECT_EQ(r8.bits(), bintest::bits(v)) << v;
    else if (mag < lo)
      EXPECT_EQ(r8.bits(), 0u) << v;
    else
      EXPECT_EQ(r8.number(), std::copysign(hfp_largest(), v)) << v;
    const vftest::Run rr = input(zifmier, put(zfmieer, v, 8).text, 8);
    EXPECT_EQ(rr.bits(), r8.bits()) << v;
    // Single precision: the float of the value comes back (floats are all
    // inside the hexadecimal range).
    const float f = static_cast<float>(v);
    if (std::isfinite(f) && f != 0.0f) {
      const vftest::Run r4 = input(zifmiee, put(zfmieee, v, 4).text, 4);
      EXPECT_EQ(r4.number(), static_cast<double>(f)) << v;
    }
  }
  // Decimals divide; the value 0.1 survives the hexadecimal form.
  EXPECT_EQ(input(zifmiee, ieee_bytes(1234.0, 8), 8, 2).number(), 1234.0 / 100);
  EXPECT_EQ(input(zifmiee, ieee_bytes(0.1, 8), 8).number(), 0.1);
  // Width 3 reads the float's first three bytes, the fourth being zero.
  EXPECT_EQ(input(zifmiee, bytes("3FC000"), 3).number(), 1.5);
  // Width 6 reads the high-order end of a double.
  EXPECT_EQ(input(zifmiee, bytes("405900000000"), 6).number(), 100.0);
}

TEST(IeeeBinary, ReaderMissingValuesSaturationAndNaNs) {
  EXPECT_EQ(input(zifmiee, bytes("FFFFFE0000000000"), 8).bits(),
            bintest::kStandardMissing);
  EXPECT_EQ(input(zifmiee, bytes("FFFFE4"), 3).bits(),
            bintest::bits(bintest::missing(0xE4)));
  // Missing values are not divided.
  EXPECT_EQ(input(zifmiee, bytes("FFFFFF0000000000"), 8, 3).bits(),
            bintest::bits(bintest::missing(0xFF)));
  // 0xFF 0xFF with a code byte that names nothing, and other NaNs.
  for (const char *nan : {"FFFF000000000000", "FFFFE30000000000",
                          "7FF8000000000000", "7FC00000"}) {
    const std::string b = bytes(nan);
    const vftest::Run r = input(zifmiee, b, static_cast<int32_t>(b.size()));
    EXPECT_EQ(r.status, VF_ERR_NOTHING_TO_READ) << nan;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing) << nan;
  }
  // Infinities and huge magnitudes saturate with their sign.
  EXPECT_EQ(input(zifmiee, ieee_bytes(-kInf, 8), 8).number(), -hfp_largest());
  EXPECT_EQ(input(zifmiee, ieee_bytes(1e300, 8), 8).number(), hfp_largest());
  EXPECT_EQ(input(zifmiee, ieee_bytes(std::ldexp(1.0, 251), 8), 8).number(),
            std::ldexp(1.0, 251));
  // Below 2^-260, negative zero and subnormals read as 0.0.
  for (double t : {-0.0, 5e-324, -1e-300, std::ldexp(1.0, -261)})
    EXPECT_EQ(input(zifmiee, ieee_bytes(t, 8), 8).bits(), 0u) << t;
  EXPECT_EQ(input(zifmiee, std::string(8, '\0'), 8).bits(), 0u);
}

TEST(IeeeBinary, ReaderWidthsAndShortInputs) {
  // Width 2 is the high half of a single: 3F F0 00 00 is 1.875.
  EXPECT_EQ(input(zifmiee, bytes("3FF0"), 2).number(), 1.875);
  EXPECT_EQ(input(zifmiee, bytes("3FF0"), -2).status, VF_ERR_WD_LIMITS);
  EXPECT_EQ(input(zifmiee, bytes("3FF0000000000000"), 9).status,
            VF_ERR_WD_LIMITS);
  // valuelen below w: the bytes given are the high-order end.
  EXPECT_EQ(input(zifmiee, bytes("3FF0"), 8).number(), 1.0);
  // IEEER: the bytes after valuelen are zero before the field is reversed,
  // so a little-endian 1.0 cut to six bytes has lost its exponent.
  EXPECT_EQ(input(zifmier, bytes("000000000000F03F"), 8).number(), 1.0);
  EXPECT_EQ(input(zifmier, bytes("000000000000"), 8).bits(), 0u);
  EXPECT_EQ(input(zifmier, bytes("0000803F"), 4).number(), 1.0);
}

TEST(FloatBinary, IsTheNativeSinglePrecisionFloat) {
  for (double v : bintest::spread(300)) {
    const vftest::Run r = put(zfmflt, v, 4);
    ASSERT_EQ(r.status, VF_OK);
    const float f = std::fabs(v) > FLT_MAX ? 0.0f : static_cast<float>(v);
    EXPECT_EQ(r.text, std::string(reinterpret_cast<const char *>(&f), 4)) << v;
    // @FLOAT gives the float back.
    if (std::isfinite(f)) {
      EXPECT_EQ(input(zifmflt, r.text, 4).number(), static_cast<double>(f));
    }
  }
  EXPECT_EQ(hex(put(zfmflt, 0.015, 4, 2).text), hex(put(zfmflt, 1.5, 4).text));
  EXPECT_EQ(input(zifmflt, bytes("0000C03F"), 4, 1).number(), 1.5 / 10);
}

TEST(FloatBinary, MissingRangeAndSpecials) {
  EXPECT_EQ(hex(put(zfmflt, bintest::missing(0xFE), 4).text), "00000000");
  EXPECT_EQ(hex(put(zfmflt, 3.5e38, 4).text), "00000000");
  EXPECT_EQ(hex(put(zfmflt, -kInf, 4).text), "00000000");
  const float largest = FLT_MAX;
  EXPECT_EQ(put(zfmflt, static_cast<double>(largest), 4).text,
            std::string(reinterpret_cast<const char *>(&largest), 4));
  EXPECT_EQ(hex(put(zfmflt, -0.0, 4).text), "00000080");
  // Buffer below 4: zero bytes up to outsize and VF_ERR_OUTSIZE.
  const vftest::Run cut = put(zfmflt, 1.0, 4, 0, 2);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, std::string(2, '\0'));
  EXPECT_EQ(put(zfmflt, 1.0, 8).status, VF_ERR_WIDTH);
  // The reader refuses infinities and NaNs.
  for (const char *b : {"0000807F", "000080FF", "0000C07F", "FFFFFFFF"}) {
    const vftest::Run r = input(zifmflt, bytes(b), 4);
    EXPECT_EQ(r.status, VF_ERR_NOTHING_TO_READ) << b;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing) << b;
  }
  EXPECT_EQ(input(zifmflt, bytes("00000000"), 4).bits(), 0u);
  // Two bytes given: the high-order half of the float.
  EXPECT_EQ(input(zifmflt, bytes("803F"), 4).number(), 1.0);
  EXPECT_EQ(input(zifmflt, bytes("0000803F"), 5).status, VF_ERR_WD_LIMITS);
}

} // namespace
