// Packed decimal: PD, PK, S370FPD, S370FPDU, the packed Julian dates and
// the matching informats.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

#include "binary_test_util.h"

namespace {

using bintest::put;
using bintest::read;

// Packs a decimal digit string right-aligned over n bytes, two digits a
// byte, and appends `sign_nibble` (< 0: none) as the last nibble.
std::string packed_hex(std::string digits, int n, int sign_nibble = -1) {
  if (sign_nibble >= 0) digits += "0123456789ABCDEF"[sign_nibble];
  digits.insert(0, static_cast<std::size_t>(2 * n) - digits.size(), '0');
  std::string spaced;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    if (!spaced.empty()) spaced += ' ';
    spaced += digits.substr(i, 2);
  }
  return spaced;
}

TEST(PackedFormats, EveryWidthHoldsItsLargestValueAndNoMore) {
  for (int w = 1; w <= 16; ++w) {
    SCOPED_TRACE(w);
    const int pd_digits = 2 * w - 2;
    const int s370_digits = 2 * w - 1;
    const std::string nines_pd(static_cast<std::size_t>(pd_digits), '9');
    const std::string nines_s370(static_cast<std::size_t>(s370_digits), '9');
    if (pd_digits <= 15) {
      const double top = std::pow(10.0, pd_digits) - 1;
      EXPECT_EQ(put(wzfmpd, top, w).hex,
                "00" + std::string(w > 1 ? " " : "") +
                    (w > 1 ? packed_hex(nines_pd, w - 1) : ""));
    }
    const auto over = put(wzfmpd, -1.5 * std::pow(10.0, pd_digits), w);
    EXPECT_EQ(over.status, VF_ERR_BINARY_FIT);
    EXPECT_EQ(over.hex, "80" + std::string(w > 1 ? " " : "") +
                            (w > 1 ? packed_hex(nines_pd, w - 1) : ""));
    if (s370_digits <= 15) {
      const double top = std::pow(10.0, s370_digits) - 1;
      EXPECT_EQ(put(zf7pd, top, w).hex, packed_hex(nines_s370, w, 0xC));
      EXPECT_EQ(put(zf7pd, -top, w).hex, packed_hex(nines_s370, w, 0xD));
    }
    const auto s_over = put(zf7pd, 1.5 * std::pow(10.0, s370_digits), w);
    EXPECT_EQ(s_over.status, VF_ERR_NO_ROOM);
    EXPECT_EQ(s_over.hex, packed_hex(nines_s370, w, 0xC));
    const auto k_over = put(zfmpk, 1.5 * std::pow(10.0, 2 * w), w);
    EXPECT_EQ(k_over.status, VF_ERR_BINARY_FIT);
    EXPECT_EQ(k_over.hex,
              packed_hex(std::string(static_cast<std::size_t>(2 * w), '9'), w));
  }
  // Beyond 64-bit integers: the exact values of the doubles 1e30 and 1e29.
  EXPECT_EQ(put(zf7pd, 1e30, 16).hex,
            packed_hex("1000000000000000019884624838656", 16, 0xC));
  EXPECT_EQ(put(wzfmpd, -1e29, 16).hex,
            "80 " + packed_hex("99999999999999991433150857216", 15));
}

TEST(PackedFormats, RandomIntegersPackDigitForDigit) {
  std::mt19937_64 rng(11);
  for (int w = 1; w <= 16; ++w) {
    SCOPED_TRACE(w);
    for (int i = 0; i < 300; ++i) {
      // Up to 15 digits (exact doubles), no more than each field holds.
      const int s370_digits = std::min(2 * w - 1, 15);
      const uint64_t limit = static_cast<uint64_t>(std::pow(10.0, s370_digits));
      const uint64_t u = rng() % limit;
      const double v = static_cast<double>(u);
      const std::string digits = std::to_string(u);
      EXPECT_EQ(put(zf7pd, v, w).hex, packed_hex(digits, w, 0xC)) << u;
      EXPECT_EQ(put(zf7pdu, -v, w).hex, packed_hex(digits, w, 0xF)) << u;
      EXPECT_EQ(put(zfmpk, v, w).hex, packed_hex(digits, w)) << u;
      if (w > 1 && static_cast<int>(digits.size()) <= 2 * w - 2) {
        // -0.0 is not negative: its sign byte stays 00.
        EXPECT_EQ(put(wzfmpd, -v, w).hex,
                  (u == 0 ? "00 " : "80 ") + packed_hex(digits, w - 1))
            << u;
      }
    }
  }
}

TEST(PackedFormats, ScalingRoundingAndScalingOverflow) {
  EXPECT_EQ(put(wzfmpd, 0.125, 4, 2).hex, "00 00 00 13");
  EXPECT_EQ(put(zf7pd, -0.125, 2, 2).hex, "01 3D");
  EXPECT_EQ(put(zf7pd, 0.004, 2, 2).hex, "00 0C");
  const double odd = 0x1p52 + 1;
  EXPECT_EQ(put(zf7pd, odd, 9).hex, packed_hex("4503599627370497", 9, 0xC));
  const auto pd = put(wzfmpd, 1e300, 3, 10);
  EXPECT_EQ(pd.hex, "00 99 99");
  EXPECT_EQ(pd.status, VF_WARN_RANGE);
  const auto s = put(zf7pd, -1e300, 2, 10);
  EXPECT_EQ(s.hex, "99 9D");
  EXPECT_EQ(s.status, VF_ERR_NO_ROOM);
  const auto pk = put(zfmpk, 1e300, 2, 10);
  EXPECT_EQ(pk.hex, "99 99");
  EXPECT_EQ(pk.status, VF_WARN_RANGE);
}

TEST(PackedFormats, MissingNegativeZeroAndNaN) {
  const double dot = bintest::missing(0xFE);
  EXPECT_EQ(put(wzfmpd, dot, 3).hex, "80 00 00");
  EXPECT_EQ(put(zf7pd, dot, 3).hex, "00 00 0D");
  EXPECT_EQ(put(zf7pdu, dot, 3).hex, "00 00 0F");
  EXPECT_EQ(put(zfmpk, dot, 2).hex, "00 00");
  EXPECT_EQ(put(wzfmpd, -0.0, 2).hex, "00 00");
  EXPECT_EQ(put(zf7pd, -0.0, 2).hex, "00 0C");
  EXPECT_EQ(put(wzfmpd, -0.3, 2).hex, "80 00");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(put(zf7pd, nan, 2).status, VF_ERR_NOTHING_TO_READ);
  EXPECT_EQ(put(wzfmpd, nan, 2).hex, "80 00");
  EXPECT_EQ(put(zfmpk, nan, 2).status, VF_ERR_NOTHING_TO_READ);
}

TEST(PackedFormats, ShortBuffersAndRefusedCalls) {
  const auto pd = put(wzfmpd, 123, 4, 0, 2);
  EXPECT_EQ(pd.status, VF_ERR_OVERFLOW);
  EXPECT_EQ(pd.outlen, 2);
  EXPECT_EQ(put(zfmpk, 5, 4, 0, 1).status, VF_ERR_OVERFLOW);
  for (fmtfn fn : {zf7pd, zf7pdu}) {
    const vftest::Run r = vftest::put(fn, 123, 4, 0, 3);
    EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
    EXPECT_EQ(r.outlen, 0);
    EXPECT_EQ(r.buffer, "###"); // nothing written
  }
}

TEST(PackedInformats, DocumentedEdgeCases) {
  const auto bad = read(wzifmpd, "0C 12");
  EXPECT_EQ(bad.status, VF_ERR_INVALID_DATA);
  EXPECT_EQ(bad.bits, bintest::kStandardMissing);
  EXPECT_EQ(read(zif7pd, "12 3F").value, 123);
  EXPECT_EQ(read(zif7pd, "12 3B").value, -123);
  EXPECT_EQ(read(zif7pd, "12 35").status, VF_ERR_BAD_PACKED);
  EXPECT_EQ(read(zif7pdu, "12 3C").status, VF_ERR_BAD_PACKED);
  EXPECT_EQ(read(zif7pd, "01 23 4D", -1, 3).value, -1.234);
}

TEST(PackedInformats, BadNibblesFillsAndWidths) {
  struct Case {
    fmtfn fn;
    const char *hex;
    int32_t status;
  };
  const Case cases[] = {
      {wzifmpd, "00 1A", VF_ERR_INVALID_DATA},
      {wzifmpd, "FF FF FF", VF_ERR_INVALID_DATA},
      {zifmpk, "A1", VF_ERR_BAD_PACKED},
      {zifmpk, "1A", VF_ERR_BAD_PACKED},
      {zifmpk, "FF FF", VF_ERR_BAD_PACKED},
      {zif7pd, "00 00 00", VF_ERR_BAD_PACKED},
      {zif7pd, "FF FF FF", VF_ERR_BAD_PACKED},
      {zif7pd, "1A 2C", VF_ERR_BAD_PACKED},
      {zif7pd, "", VF_ERR_BAD_PACKED},
      {zif7pdu, "", VF_ERR_BAD_PACKED},
  };
  for (const Case &c : cases) {
    const auto r = read(c.fn, c.hex, std::string_view(c.hex).empty() ? 3 : -1);
    EXPECT_EQ(r.status, c.status) << c.hex;
    EXPECT_EQ(r.bits, bintest::kStandardMissing) << c.hex;
  }
  // Each digit nibble of every width, set to A..F among nines, is refused;
  // the same field of nines alone reads as the double nearest 10^(2w-1) - 1.
  for (int w = 1; w <= 16; ++w) {
    std::string nines(static_cast<std::size_t>(2 * w - 1), '9');
    const double expected = std::strtod(nines.c_str(), nullptr); // rounded once
    EXPECT_EQ(read(zif7pd, nines + "C").value, expected) << w;
    for (std::size_t pos = 0; pos < nines.size(); ++pos) {
      for (const char bad : {'A', 'F'}) {
        std::string field = nines + "D";
        field[pos] = bad;
        EXPECT_EQ(read(zif7pd, field).status, VF_ERR_BAD_PACKED) << field;
      }
    }
  }
  const auto zeros = read(wzifmpd, "00 00 00");
  EXPECT_EQ(zeros.status, VF_OK);
  EXPECT_EQ(zeros.bits, 0u); // +0.0
  EXPECT_EQ(read(wzifmpd, "80 00").bits, 0u);
  EXPECT_EQ(read(zif7pd, "00 0D").bits, 0u);
  EXPECT_EQ(read(wzifmpd, "", 0).bits, bintest::kStandardMissing);
  EXPECT_EQ(read(zifmpk, "", 4).bits, bintest::kStandardMissing);
  // Short input: the two bytes present are the whole field.
  EXPECT_EQ(read(zif7pd, "12 3C", 8).value, 123);
  EXPECT_EQ(
      read(wzifmpd, "00 12 34 56 78 90 12 34 56 78 90 12 34 56 78 90").value,
      123456789012345678901234567890.0);
}

TEST(PackedJulian, WritesAndReadsJulianDates) {
  const double jan1_2005 = 16437; // days from 1960-01-01
  EXPECT_EQ(put(fpdjulg, jan1_2005, 4).hex, "20 05 00 1F");
  EXPECT_EQ(put(fpdjuli, jan1_2005, 4).hex, "01 05 00 1F");
  EXPECT_EQ(put(fpdjulg, 0, 5).hex, "00 19 60 00 1F");
  const auto miss = put(fpdjulg, bintest::missing(0xFE), 4);
  EXPECT_EQ(miss.hex, "00 00 00 0F");
  EXPECT_EQ(miss.status, VF_OK);
  EXPECT_EQ(put(fpdjuli, -1, 4).hex, "00 59 36 5F");     // 1959-12-31
  EXPECT_EQ(put(fpdjuli, -21914, 4).hex, "00 00 00 1F"); // 1900-01-01
  const auto y1899 = put(fpdjuli, -21915, 4);            // 1899-12-31
  EXPECT_EQ(y1899.hex, "00 00 00 0F");
  EXPECT_EQ(y1899.status, VF_ERR_DATE_RANGE);
  const auto range = put(fpdjulg, 7e6, 4);
  EXPECT_EQ(range.hex, "00 00 00 0F");
  EXPECT_EQ(range.status, VF_ERR_DATE_RANGE);
  const auto narrow = put(fpdjulg, jan1_2005, 3);
  EXPECT_EQ(narrow.hex, "99 99 1F");
  EXPECT_EQ(narrow.status, VF_ERR_BINARY_FIT);
  EXPECT_EQ(put(fpdjulg, 0, 4, 0, 3).status, VF_ERR_OUTSIZE);
  EXPECT_EQ(put(fpdjulg, 0, 2, 0, 4).status, VF_ERR_WIDTH);

  EXPECT_EQ(read(ipdjulg, "20 05 00 1C").value, jan1_2005); // low nibble free
  for (const char *bad : {"19 60 0A 1F", "19 60 00 AF", "19 60 36 7F", ""}) {
    const auto r = read(ipdjulg, bad, 4);
    EXPECT_EQ(r.status, VF_ERR_DATE_TEXT) << bad;
    EXPECT_EQ(r.bits, bintest::kStandardMissing) << bad;
  }
  EXPECT_EQ(read(ipdjulg, "19 60 00 1F", 17).status, VF_ERR_WD_LIMITS);
  // Every day of a wide span goes out and comes back.
  for (double day = -138061; day < 6589336; day += 4099) {
    for (fmtfn f : {fpdjulg, fpdjuli}) {
      if (f == fpdjuli && day < -21914) continue;
      const vftest::Run out = vftest::put(f, day, 5);
      ASSERT_EQ(out.status, VF_OK) << day;
      const vftest::Run back =
          vftest::input(f == fpdjulg ? ipdjulg : ipdjuli, out.text);
      ASSERT_EQ(back.number(), day);
    }
  }
}

TEST(PackedRoundTrip, EveryPairGivesTheValueBack) {
  struct Pair {
    const char *name;
    fmtfn put;
    fmtfn read;
    int digits_less; // digits the field lacks against 2w
    bool is_signed;
  };
  const Pair pairs[] = {{"PD", wzfmpd, wzifmpd, 2, true},
                        {"PK", zfmpk, zifmpk, 0, false},
                        {"S370FPD", zf7pd, zif7pd, 1, true},
                        {"S370FPDU", zf7pdu, zif7pdu, 1, false}};
  std::mt19937_64 rng(11);
  for (const Pair &p : pairs) {
    SCOPED_TRACE(p.name);
    for (int w = 1; w <= 16; ++w) {
      const int digits = std::min(2 * w - p.digits_less, 15);
      if (digits <= 0) continue;
      const auto limit = static_cast<uint64_t>(std::pow(10.0, digits));
      for (int d : {0, 2, 7}) {
        for (int i = 0; i < 40; ++i) {
          auto k = static_cast<double>(rng() % limit);
          if (p.is_signed && (rng() & 1)) k = -k;
          const double v = k / std::pow(10.0, d);
          const vftest::Run out = vftest::put(p.put, v, w, d);
          ASSERT_EQ(out.status, VF_OK) << v << " w=" << w << " d=" << d;
          const vftest::Run back = vftest::input(p.read, out.text, w, d);
          ASSERT_EQ(back.status, VF_OK);
          ASSERT_EQ(back.number(), v == 0 ? 0.0 : v) << "w=" << w;
        }
      }
    }
  }
}

} // namespace
