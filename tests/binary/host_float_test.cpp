// Real binary of other machines: VAX D-floating (VAXRB, @VAXRB), Microsoft
// Binary Format (MRB, @MRB) and IBM hexadecimal floating point (S370FRB,
// @S370FRB, XPORTFLT, xprtifl), with the transport integer and character
// readers.  Expected fields come from each machine's definition, worked out
// here with ldexp and integer arithmetic, and from published constants.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "binary/binary_test_util.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using bintest::bytes;
using bintest::hex;
using vftest::input;
using vftest::put;

constexpr double kInf = std::numeric_limits<double>::infinity();

// v with its fraction cut to `kept` of its 52 bits (toward zero).
double truncated(double v, int kept) {
  if (kept >= 52) return v;
  const uint64_t drop = (1ull << (52 - kept)) - 1;
  return std::bit_cast<double>(bintest::bits(v) & ~drop);
}

// VAX: +-(2^55 + f) * 2^(e - 128 - 56) from the four little-endian words.
double vax_decode(const std::string &b) {
  uint64_t word = 0;
  for (std::size_t k = 0; k < 4; ++k)
    word = word << 16 |
           (static_cast<uint8_t>(b[2 * k]) |
            static_cast<uint64_t>(static_cast<uint8_t>(b[2 * k + 1])) << 8);
  const int e = static_cast<int>((word >> 55) & 0xFF);
  const double f = static_cast<double>((word & ((1ull << 55) - 1)) >> 3);
  const double mag = std::ldexp(std::ldexp(1.0, 52) + f, e - 128 - 53);
  return (word >> 63) ? -mag : mag;
}

// IBM hexadecimal floating point by search over the exponent: the 8 bytes
// of v, F * 16^(E - 64) with 1/16 <= F < 1.
std::string hfp_oracle(double v) {
  std::string b(8, '\0');
  if (v == 0.0) return b;
  const double m = std::fabs(v);
  int e = 0;
  while (e < 127 && std::ldexp(m, -4 * (e - 64)) >= 1.0) ++e;
  const auto frac = static_cast<uint64_t>(std::ldexp(m, 56 - 4 * (e - 64)));
  const uint64_t word =
      (v < 0 ? 1ull << 63 : 0) | static_cast<uint64_t>(e) << 56 | frac;
  for (int i = 0; i < 8; ++i)
    b[static_cast<std::size_t>(i)] = static_cast<char>(word >> (56 - 8 * i));
  return b;
}

double hfp_decode(const std::string &b) {
  uint64_t word = 0;
  for (int i = 0; i < 8; ++i)
    word =
        word << 8 | (i < static_cast<int>(b.size())
                         ? static_cast<uint8_t>(b[static_cast<std::size_t>(i)])
                         : 0u);
  const int e = static_cast<int>((word >> 56) & 0x7F);
  const auto frac = static_cast<double>(word & ((1ull << 56) - 1));
  const double mag = std::ldexp(frac, 4 * (e - 64) - 56);
  return (word >> 63) ? -mag : mag;
}

bool in_range(double v, int lo2, int hi2) {
  const double m = std::fabs(v);
  return m >= std::ldexp(1.0, lo2) && m < std::ldexp(1.0, hi2);
}

TEST(VaxReal, EveryWidthReadsBackItsTruncatedValue) {
  for (double v : bintest::spread(400)) {
    if (!in_range(v, -128, 127)) continue;
    for (int w = 2; w <= 8; ++w) {
      const vftest::Run f = put(vaxrbfm, v, w);
      ASSERT_EQ(f.status, VF_OK) << v;
      const double expect = truncated(v, 7 + 8 * (w - 2));
      if (w == 8) {
        EXPECT_EQ(vax_decode(f.text), v) << v;
      }
      const vftest::Run r = input(zifmvrb, f.text, w);
      ASSERT_EQ(r.status, VF_OK);
      EXPECT_EQ(r.number(), expect) << v << " VAXRB" << w;
    }
  }
  // Decimals: the writer scales, the reader divides.
  EXPECT_EQ(input(zifmvrb, put(vaxrbfm, 1.5, 8, 2).text, 8, 2).number(),
            150.0 / 100);
}

TEST(VaxReal, RangeEndsAndMissingValues) {
  const vftest::Run big = put(vaxrbfm, 1e39, 8);
  EXPECT_EQ(big.status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(hex(big.text), "FF7FFFFFFFFFE3FF");
  const vftest::Run nbig = put(vaxrbfm, -kInf, 8);
  EXPECT_EQ(hex(nbig.text), "FFFFFFFFFFFFE3FF");
  // The negative overflow field carries code byte 0xE3, which names no
  // missing value: it reads back as the number it encodes.
  const vftest::Run back = input(zifmvrb, nbig.text, 8);
  EXPECT_EQ(back.status, VF_OK);
  EXPECT_EQ(back.number(), vax_decode(nbig.text));
  EXPECT_LT(back.number(), -1.7e38);
  EXPECT_EQ(hex(put(vaxrbfm, 1e-39, 8).text), "8000000000000000");
  EXPECT_EQ(hex(put(vaxrbfm, -5e-324, 4).text), "80800000");
  EXPECT_EQ(input(zifmvrb, bytes("8000000000000000"), 8).number(),
            std::ldexp(1.0, -128));
  // Missing values: FF .. c FF at width 8, (c & 7F) 80 0.. below.
  EXPECT_EQ(hex(put(vaxrbfm, bintest::missing(0xFE), 8).text),
            "FFFFFFFFFFFFFEFF");
  EXPECT_EQ(hex(put(vaxrbfm, bintest::missing(0xFD), 4).text), "7D800000");
  EXPECT_EQ(hex(put(vaxrbfm, bintest::missing(0xFF), 3).text), "7F8000");
  for (uint8_t code = 0xE4; code != 0; ++code) {
    const double m = bintest::missing(code);
    for (int w : {8, 5, 2}) {
      const vftest::Run r = input(zifmvrb, put(vaxrbfm, m, w).text, w, 3);
      EXPECT_EQ(r.bits(), bintest::bits(m)) << int{code} << " w" << w;
    }
  }
  // Below 0xE4 a short field is the VAX number: sign set, exponent 0.
  EXPECT_EQ(input(zifmvrb, bytes("6380"), 2).number(),
            -std::ldexp(0.5 + 0.5 * 99 / 128.0, -128));
  EXPECT_EQ(input(zifmvrb, bytes("0000FFFF"), 4).bits(), 0u);
}

TEST(VaxReal, BuffersWidthsAndShortInput) {
  EXPECT_EQ(put(vaxrbfm, 1.0, 8, 0, 7).status, VF_ERR_OUTSIZE);
  EXPECT_EQ(put(vaxrbfm, 1.0, 8, 0, 7).outlen, 0);
  // valuelen below w: zero completion.
  EXPECT_EQ(input(zifmvrb, bytes("8040"), 8).number(), 1.0);
  EXPECT_EQ(input(zifmvrb, "", 8).bits(), 0u);
}

TEST(MbfReal, PublishedConstants) {
  EXPECT_EQ(hex(put(zfmmrb, 1.0, 4).text), "00000081");
  EXPECT_EQ(hex(put(zfmmrb, 10.0, 4).text), "00002084");
  EXPECT_EQ(hex(put(zfmmrb, -1.0, 4).text), "00008081");
  EXPECT_EQ(hex(put(zfmmrb, 0.5, 4).text), "00000080");
  EXPECT_EQ(hex(put(zfmmrb, 1.0, 8).text), "0000000000000081");
  // A short field keeps the high-order bytes: 0.1 is cut, not rounded.
  EXPECT_EQ(hex(put(zfmmrb, 0.1, 4).text), "CCCC4C7D");
  EXPECT_EQ(input(zifmmrb, bytes("00002084"), 4).number(), 10.0);
}

TEST(MbfReal, EveryWidthReadsBackItsTruncatedValue) {
  for (double v : bintest::spread(400)) {
    if (!in_range(v, -128, 127)) continue;
    for (int w = 2; w <= 8; ++w) {
      const vftest::Run f = put(zfmmrb, v, w);
      ASSERT_EQ(f.status, VF_OK) << v;
      const vftest::Run r = input(zifmmrb, f.text, w);
      EXPECT_EQ(r.number(), truncated(v, 7 + 8 * (w - 2))) << v << " MRB" << w;
    }
  }
  EXPECT_EQ(input(zifmmrb, put(zfmmrb, 2.5, 8, 3).text, 8, 3).number(),
            2500.0 / 1000);
}

TEST(MbfReal, RangeEndsMissingAndBuffers) {
  const vftest::Run big = put(zfmmrb, 1e39, 8);
  EXPECT_EQ(big.status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(hex(big.text), "FFFFFFFFFFFF7FFF");
  EXPECT_EQ(hex(put(zfmmrb, -kInf, 4).text), "FFFFFFFF");
  EXPECT_EQ(input(zifmmrb, bytes("FFFF7FFF"), 4).number(),
            std::ldexp(2.0 - std::ldexp(1.0, -23), 126));
  for (double z : {0.0, -0.0, 1e-39, -1e-300, bintest::missing(0xFE),
                   std::numeric_limits<double>::quiet_NaN()}) {
    const vftest::Run r = put(zfmmrb, z, 8);
    EXPECT_EQ(r.status, VF_OK);
    EXPECT_EQ(r.text, std::string(8, '\0')) << z;
  }
  // Exponent byte 0 is 0.0 whatever the other bytes hold.
  EXPECT_EQ(input(zifmmrb, bytes("FFFFFFFFFFFFFF00"), 8).bits(), 0u);
  EXPECT_EQ(put(zfmmrb, 1.0, 4, 0, 3).status, VF_ERR_OUTSIZE);
  // One byte is the exponent alone: 0x81 is 1.0.
  EXPECT_EQ(input(zifmmrb, bytes("81"), 1).number(), 1.0);
  // valuelen below w: the bytes given are the high-order end.
  EXPECT_EQ(input(zifmmrb, bytes("0081"), 8).number(), 1.0);
}

TEST(HexFloat, MatchesTheDefinitionAndReadsBack) {
  for (double v : bintest::spread(500)) {
    if (!in_range(v, -260, 252)) continue;
    const std::string field = hfp_oracle(v);
    ASSERT_EQ(hfp_decode(field), v);
    for (int w = 2; w <= 8; ++w) {
      const vftest::Run f = put(zf7rb, v, w);
      ASSERT_EQ(f.status, VF_OK) << v;
      EXPECT_EQ(f.text, field.substr(0, static_cast<std::size_t>(w))) << v;
      const double cut = hfp_decode(f.text);
      EXPECT_EQ(input(zif7rb, f.text, w).number(), cut) << v << " w" << w;
      const vftest::Run x = put(xprtffl, v, w);
      EXPECT_EQ(x.text, f.text);
      EXPECT_EQ(input(xprtifl, x.text, w).number(), cut) << v;
    }
  }
  EXPECT_EQ(input(zif7rb, put(zf7rb, 12.5, 8, 3).text, 8, 3).number(),
            12500.0 / 1000);
}

TEST(HexFloat, RangeEndsAndZeros) {
  const vftest::Run big = put(zf7rb, 1e76, 8);
  EXPECT_EQ(big.status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(hex(big.text), "7FFFFFFFFFFFFFFF");
  EXPECT_EQ(hex(put(zf7rb, -kInf, 8).text), "FFFFFFFFFFFFFFFF");
  const vftest::Run scaled = put(zf7rb, 1e300, 8, 10);
  EXPECT_EQ(scaled.status, VF_WARN_RANGE);
  EXPECT_EQ(hex(scaled.text), "7FFFFFFFFFFFFFFF");
  EXPECT_EQ(put(zf7rb, 1e75, 8, 2).status, VF_ERR_BINARY_FIT);
  // 2^251 is inside the format, 2^252 is not.
  EXPECT_EQ(put(zf7rb, std::ldexp(1.0, 251), 8).status, VF_OK);
  EXPECT_EQ(put(zf7rb, std::ldexp(1.0, 252), 8).status, VF_ERR_BINARY_FIT);
  for (double z : {0.0, -0.0, 1e-300, -5e-324}) {
    EXPECT_EQ(put(zf7rb, z, 8).text, std::string(8, '\0')) << z;
  }
  EXPECT_EQ(input(zif7rb, std::string(8, '\0'), 8).bits(), 0u);
  // A zero fraction with a nonzero exponent reads as the smallest normal
  // double with its sign (when other bytes than the first are set).
  EXPECT_EQ(input(zif7rb, bytes("C100000000000001"), 8).number(),
            -std::ldexp(1.0, 4 - 56));
  EXPECT_EQ(input(xprtifl, bytes("4000000000000000"), 8).number(), DBL_MIN);
  // With an ASCII code character first, the transport reader sees a
  // missing value.
  EXPECT_EQ(input(xprtifl, bytes("4100000000000000"), 8).bits(),
            bintest::bits(bintest::missing(0xFD)));
  // An unnormalised fraction is normalised.
  EXPECT_EQ(input(zif7rb, bytes("4201000000000000"), 8).number(), 1.0);
  // All 0xFF: the largest negative magnitude.
  EXPECT_EQ(input(zif7rb, std::string(8, '\xFF'), 8).number(),
            -std::ldexp(1.0 - std::ldexp(1.0, -53), 252));
}

TEST(HexFloat, MissingValues) {
  // System/370: 0x80 for '.', the EBCDIC character for the others.
  EXPECT_EQ(hex(put(zf7rb, bintest::missing(0xFE), 8).text),
            "8000000000000000");
  EXPECT_EQ(hex(put(zf7rb, bintest::missing(0xFD), 4).text), "C1000000");
  EXPECT_EQ(hex(put(zf7rb, bintest::missing(0xFF), 2).text), "6D00");
  EXPECT_EQ(hex(put(zf7rb, bintest::missing(0x10), 2).text), "8000");
  EXPECT_EQ(hex(put(zf7rb, std::numeric_limits<double>::quiet_NaN(), 2).text),
            "8000");
  // Transport: the ASCII character.
  EXPECT_EQ(hex(put(xprtffl, bintest::missing(0xFE), 8).text),
            "2E00000000000000");
  EXPECT_EQ(hex(put(xprtffl, bintest::missing(0xE4), 3).text), "5A0000");
  EXPECT_EQ(hex(put(xprtffl, bintest::missing(0x10), 3).text), "2E0000");
  for (uint8_t code = 0xE4; code != 0; ++code) {
    const double m = bintest::missing(code);
    EXPECT_EQ(input(zif7rb, put(zf7rb, m, 8).text, 8, 2).bits(),
              bintest::bits(m));
    EXPECT_EQ(input(xprtifl, put(xprtffl, m, 4).text, 4, 2).bits(),
              bintest::bits(m));
  }
  // EBCDIC '.' (0x4B) is the standard missing value as well; a first byte
  // whose character names no missing value gives the standard one.
  EXPECT_EQ(input(zif7rb, bytes("4B00"), 2).bits(), bintest::kStandardMissing);
  EXPECT_EQ(input(zif7rb, bytes("4100000000000000"), 8).bits(),
            bintest::kStandardMissing);
}

TEST(HexFloat, BuffersWidthsAndShortInputs) {
  const vftest::Run none = put(zf7rb, 1.0, 8, 0, 4);
  EXPECT_EQ(none.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(none.outlen, 0);
  const vftest::Run cut = put(xprtffl, 1.0, 8, 0, 4);
  EXPECT_EQ(cut.status, VF_ERR_OVERFLOW);
  EXPECT_EQ(hex(cut.text), "41100000");
  // Width 0 reads nothing (0.0); width 1 keeps 'A' and zeros: missing A.
  EXPECT_EQ(input(xprtifl, bytes("4110"), 0).bits(), 0u);
  EXPECT_EQ(input(xprtifl, bytes("4110"), 1).bits(), 0xFFFFFD0000000000u);
  EXPECT_EQ(input(zif7rb, bytes("4110"), 8).number(), 1.0);
  EXPECT_EQ(input(xprtifl, bytes("4110"), 8).number(), 1.0);
}

TEST(Transport, IntegerReaderTakesUpToEightBytes) {
  EXPECT_EQ(input(xprtiin, bytes("8000000000000000"), 8).number(),
            -9223372036854775808.0);
  EXPECT_EQ(input(xprtiin, bytes("000004D2"), 4, 2).number(), 1234.0 / 100);
  EXPECT_EQ(input(xprtiin, bytes("0102"), 4).number(), 258.0);
  EXPECT_EQ(input(xprtiin, bytes("01"), 9).status, VF_ERR_WD_LIMITS);
  // An empty field has no value: the standard missing value, as @S370FIB.
  EXPECT_EQ(input(xprtiin, "", 4).bits(), input(zif7ib, "", 4).bits());
  EXPECT_EQ(input(xprtiin, "", 4).bits(), 0xFFFFFE0000000000u);
}

TEST(Transport, CharacterCopies) {
  const vftest::Run a = vftest::input(xprtfch, "abc", 5, 0, 5);
  EXPECT_EQ(a.status, VF_OK);
  EXPECT_EQ(a.text, "abc");
  const vftest::Run b = vftest::input(xprtfch, "abcdef", 4, 0, 3);
  EXPECT_EQ(b.status, VF_ERR_OVERFLOW);
  EXPECT_EQ(b.text, "abc");
  EXPECT_EQ(vftest::input(xprtfch, "abc", 201, 0, 300).status, VF_ERR_WIDTH);
  EXPECT_EQ(vftest::input(xprtich, "abcdef", 4, 0, 8).text, "abcd");
  EXPECT_EQ(vftest::input(xprtich, "ab", 4, 0, 8).text, "ab");
  EXPECT_EQ(vftest::input(xprtich, "abcdef", 4, 0, 2).text, "ab");
}

TEST(S370Text, FTextInEbcdicBothWays) {
  EXPECT_EQ(hex(put(zf7f, 12.5, 8, 2).text), "404040F1F24BF5F0");
  EXPECT_EQ(hex(put(zf7f, -3.0, 4).text), "404060F3");
  EXPECT_EQ(hex(put(zf7f, bintest::missing(0xFE), 4).text), "4040404B");
  const vftest::Run stars = put(zf7f, 1.0, 4, 0, 2);
  EXPECT_EQ(stars.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(hex(stars.text), "5C5C");
  EXPECT_EQ(put(zf7f, 1.0, 33).status, VF_ERR_WIDTH);
  EXPECT_EQ(input(zif7f, bytes("F1F24BF5"), 4).number(), 12.5);
  EXPECT_EQ(input(zif7f, bytes("4060F1F2F3"), 5, 2).number(), -1.23);
  EXPECT_EQ(input(zif7f, bytes("4040C1"), 3).bits(),
            bintest::bits(bintest::missing(0xFD)));
  EXPECT_EQ(input(zif7f, bytes("F1F2"), 33).status, VF_ERR_WD_LIMITS);
  // The reader reads back what the writer wrote.
  for (double v : {0.0, 1.5, -42.25, 123456.75}) {
    EXPECT_EQ(input(zif7f, put(zf7f, v, 12, 2).text, 12).number(), v) << v;
  }
}

} // namespace
