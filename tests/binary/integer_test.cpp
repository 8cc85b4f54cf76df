// Binary integers: IB, PIB, their byte-order variants, XPORTINT and the
// matching informats.
#include <cmath>
#include <limits>
#include <random>

#include "binary/integer.h"
#include "binary_test_util.h"

namespace {

using bintest::put;
using bintest::read;

// The n low-order bytes of k, least significant first, as hexadecimal
// text; `big` lists them most significant first.
std::string int_hex(int64_t k, int n, bool big = false) {
  std::string b;
  for (int i = 0; i < n; ++i)
    b += static_cast<char>(static_cast<uint64_t>(k) >> (8 * i) & 0xFF);
  if (big) b = std::string(b.rbegin(), b.rend());
  return bintest::hex(b, ' ');
}

TEST(IntegerFormats, EveryWidthReachesBothEndsAndSaturatesPastThem) {
  for (int n = 1; n <= 8; ++n) {
    SCOPED_TRACE(n);
    const int64_t hi = n == 8 ? std::numeric_limits<int64_t>::max()
                              : (int64_t{1} << (8 * n - 1)) - 1;
    const int64_t lo = -hi - 1;
    const uint64_t umax = n == 8 ? ~0ull : (1ull << (8 * n)) - 1;
    if (n < 7) { // exactly representable ends
      EXPECT_EQ(put(wzfmib, static_cast<double>(hi), n).hex, int_hex(hi, n));
      EXPECT_EQ(put(wzfmib, static_cast<double>(lo), n).hex, int_hex(lo, n));
      EXPECT_EQ(put(zf7ib, static_cast<double>(lo), n).hex,
                int_hex(lo, n, true));
      EXPECT_EQ(put(wzfmpib, static_cast<double>(umax), n).hex,
                int_hex(static_cast<int64_t>(umax), n));
      EXPECT_EQ(put(wzfmpib, static_cast<double>(umax) + 1, n).status,
                VF_ERR_BINARY_FIT);
    }
    const auto over = put(wzfmib, static_cast<double>(hi) * 2 + 2, n);
    EXPECT_EQ(over.hex, int_hex(hi, n));
    EXPECT_EQ(over.status, VF_ERR_BINARY_FIT);
    const auto under = put(wzfmib, static_cast<double>(lo) * 2 - 2, n);
    EXPECT_EQ(under.hex, int_hex(lo, n));
    EXPECT_EQ(under.status, VF_ERR_BINARY_FIT);
    const auto all = put(wzfmpib, 1e300, n);
    EXPECT_EQ(all.hex, int_hex(-1, n));
    EXPECT_EQ(all.status, VF_ERR_BINARY_FIT);
  }
}

TEST(IntegerFormats, RoundsHalvesAwayFromZeroExactly) {
  EXPECT_EQ(put(wzfmib, -3.5, 1).hex, int_hex(-4, 1));
  EXPECT_EQ(put(wzfmib, -3.4, 1).hex, int_hex(-3, 1));
  EXPECT_EQ(put(wzfmib, 2.5, 1).hex, "03");
  EXPECT_EQ(put(wzfmib, 0.49999999999999994, 1).hex, "00");
  // Odd integers from 2^52 up stay themselves (adding 0.5 would round
  // them to the next even integer).
  const int64_t odd = (int64_t{1} << 52) + 1;
  EXPECT_EQ(put(wzfmpib, static_cast<double>(odd), 8).hex, int_hex(odd, 8));
  EXPECT_EQ(put(wzfmib, -static_cast<double>(odd), 8).hex, int_hex(-odd, 8));
  EXPECT_EQ(put(wzfmpib, 4503599627370495.5, 8).hex,
            int_hex(4503599627370496, 8));
}

TEST(IntegerFormats, ScalesByDecimalsAndSaturatesOnScalingOverflow) {
  EXPECT_EQ(put(wzfmib, 0.125, 2, 2).hex, "0D 00");
  EXPECT_EQ(put(wzfmib, -0.125, 2, 2).hex, int_hex(-13, 2));
  EXPECT_EQ(put(zf7pib, 12.34, 4, 2).hex, "00 00 04 D2");
  const auto pos = put(wzfmib, 1e300, 8, 10);
  EXPECT_EQ(pos.hex, int_hex(std::numeric_limits<int64_t>::max(), 8));
  EXPECT_EQ(pos.status, VF_WARN_RANGE);
  const auto neg = put(wzfmib, -1e300, 8, 10);
  EXPECT_EQ(neg.hex, int_hex(std::numeric_limits<int64_t>::min(), 8));
  EXPECT_EQ(neg.status, VF_WARN_RANGE);
  const auto pib = put(wzfmpib, 1.7e308, 2, 1);
  EXPECT_EQ(pib.hex, "FF FF");
  EXPECT_EQ(pib.status, VF_WARN_RANGE);
}

TEST(IntegerFormats, MissingNegativeZeroAndNaN) {
  for (fmtfn fn : {wzfmib, wzfmpib, zf7ib, zf7pib, zf7ibu, zfmpcpi}) {
    const auto m = put(fn, bintest::missing(0xFE), 4);
    EXPECT_EQ(m.hex, "00 00 00 00");
    EXPECT_EQ(m.status, VF_OK);
    EXPECT_EQ(put(fn, bintest::missing(0xE4), 2).hex, "00 00");
    const auto z = put(fn, -0.0, 4);
    EXPECT_EQ(z.hex, "00 00 00 00");
    EXPECT_EQ(z.status, VF_OK);
    const auto nan = put(fn, std::numeric_limits<double>::quiet_NaN(), 2);
    EXPECT_EQ(nan.hex, "00 00");
    EXPECT_EQ(nan.status, VF_ERR_NOTHING_TO_READ);
  }
}

TEST(IntegerFormats, ByteOrderVariants) {
  EXPECT_EQ(put(zfmibr, -2, 2).hex, "FE FF");
  EXPECT_EQ(put(zfmpibr, 258, 2).hex, "02 01");
  EXPECT_EQ(put(zfmpcpi, 258, 2).hex, "02 01");
  EXPECT_EQ(put(zf7pib, 258, 2).hex, "01 02");
  EXPECT_EQ(put(zf7ibu, -258, 2).hex, "01 02");
  EXPECT_EQ(put(zf7ibu, -258, 2).status, VF_OK);
  EXPECT_EQ(put(zf7ib, -258, 2).hex, "FE FE");
}

TEST(IntegerFormats, ShortBufferWritesWhatFitsAndSaysSo) {
  const auto le = put(wzfmib, 1, 4, 0, 2);
  EXPECT_EQ(le.hex, "01 00");
  EXPECT_EQ(le.status, VF_ERR_OVERFLOW);
  const auto be = put(zf7ib, 1, 4, 0, 2);
  EXPECT_EQ(be.outlen, 2);
  EXPECT_EQ(be.status, VF_ERR_OVERFLOW);
  EXPECT_EQ(put(wzfmpib, -1, 4, 0, 3).status, VF_ERR_OVERFLOW);
  EXPECT_EQ(put(wzfmpib, bintest::missing(0xFE), 4, 0, 1).status,
            VF_ERR_OVERFLOW);
  const auto none = put(wzfmib, 5, 4, 0, 0);
  EXPECT_EQ(none.outlen, 0);
  EXPECT_EQ(none.status, VF_ERR_OVERFLOW);
}

TEST(TransportInteger, TruncatesAndSaturatesEveryWidth) {
  EXPECT_EQ(put(xprtfin, -2, 4).hex, "FF FF FF FE");
  EXPECT_EQ(put(xprtfin, 1.9, 1).hex, "01");
  EXPECT_EQ(put(xprtfin, -1.9, 1).hex, "FF");
  const auto clamp2 = put(xprtfin, 40000, 2);
  EXPECT_EQ(clamp2.hex, "7F FF");
  EXPECT_EQ(clamp2.status, VF_WARN_RANGE);
  const auto clamp3 = put(xprtfin, -1e7, 3);
  EXPECT_EQ(clamp3.hex, "80 00 00");
  EXPECT_EQ(clamp3.status, VF_WARN_RANGE);
  EXPECT_EQ(put(xprtfin, 0x1p60 + 0x1p54, 8).hex, "10 40 00 00 00 00 00 00");
  const auto huge = put(xprtfin, 1e30, 8);
  EXPECT_EQ(huge.hex, "7F FF FF FF FF FF FF FF");
  EXPECT_EQ(huge.status, VF_WARN_RANGE);
  EXPECT_EQ(put(xprtfin, bintest::missing(0xFE), 4).hex, "00 00 00 00");
  for (int w : {0, 9})
    EXPECT_EQ(put(xprtfin, 1, w, 0, 16).status, VF_ERR_WIDTH);
}

TEST(IntegerInformats, DocumentedEdgeCases) {
  EXPECT_EQ(read(wzifmib, "FF FF").value, -1);
  EXPECT_EQ(read(zif7ib, "FF FE").value, -2);
  EXPECT_EQ(read(zif7ib, "FF FF FF FF 00 00 00 01").value, -4294967295.0);
  EXPECT_EQ(read(wzifmpb, "FF FF FF FF FF FF FF FF").value, 0x1p64);
  EXPECT_EQ(read(wzifmib, "00 00 00 00 00 00 00 80").value, -0x1p63);
  EXPECT_EQ(read(zif7ibu, "FF").value, 255);
  EXPECT_EQ(read(wzifmib, "D2 04", -1, 2).value, 12.34);
  EXPECT_EQ(read(xprtiin, "FF FF FF FF FF FF FF FE").value, -2);
}

TEST(IntegerInformats, BadWidthsShortInputAndEmptyFields) {
  for (fmtfn fn : {wzifmib, wzifmpb, zif7ib, zif7pib, zif7ibu, zifmpcp}) {
    const auto empty = read(fn, "", 4);
    EXPECT_EQ(empty.status, VF_OK);
    EXPECT_EQ(empty.bits, bintest::kStandardMissing);
    // valuelen below w: only the bytes present are read (the runner fences
    // the input, so a read past it faults).
    EXPECT_EQ(read(fn, "05", 8).value, 5);
  }
  EXPECT_EQ(read(zif7ib, "80 00", 8).value, -32768);
}

// Format then informat gives the value back, over random integers of every
// width and several decimals.
TEST(IntegerRoundTrip, EveryPairGivesTheValueBack) {
  struct Pair {
    const char *name;
    fmtfn put;
    fmtfn read;
    bool is_signed;
  };
  const Pair pairs[] = {{"IB", wzfmib, wzifmib, true},
                        {"IBR", zfmibr, zifmir, true},
                        {"PIB", wzfmpib, wzifmpb, false},
                        {"PIBR", zfmpibr, zifmpir, false},
                        {"PCPIB", zfmpcpi, zifmpcp, false},
                        {"S370FIB", zf7ib, zif7ib, true},
                        {"S370FPIB", zf7pib, zif7pib, false},
                        {"S370FIBU", zf7ibu, zif7ibu, false},
                        {"XPORTINT", xprtfin, xprtiin, true}};
  std::mt19937_64 rng(7);
  for (const Pair &p : pairs) {
    SCOPED_TRACE(p.name);
    for (int n = 1; n <= 8; ++n) {
      for (int d : {0, 2, 5}) {
        // With decimals, k / 10^d * 10^d must land within half a unit of k.
        const int bits = std::min(8 * n, d == 0 ? 53 : 50);
        if (p.put == xprtfin && d != 0) continue; // truncates, maxd 0
        for (int i = 0; i < 60; ++i) {
          int64_t k = static_cast<int64_t>(rng() >> (64 - bits));
          if (p.is_signed) k -= int64_t{1} << (bits - 1);
          if (!p.is_signed && n * 8 <= 53) k &= (int64_t{1} << (8 * n)) - 1;
          const double v = static_cast<double>(k) / std::pow(10.0, d);
          const vftest::Run out = vftest::put(p.put, v, n, d);
          ASSERT_EQ(out.status, VF_OK) << v << " w=" << n << " d=" << d;
          const vftest::Run back = vftest::input(p.read, out.text, n, d);
          ASSERT_EQ(back.status, VF_OK);
          ASSERT_EQ(back.number(), v) << "w=" << n << " d=" << d;
        }
      }
    }
  }
}

} // namespace
