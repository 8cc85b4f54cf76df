// Zoned decimal: ZD, the S370FZD family and the matching informats.
#include <cmath>
#include <limits>
#include <random>

#include "binary_test_util.h"

namespace {

using bintest::put;
using bintest::read;

std::string text_of(const vftest::Run &r) {
  return r.text;
}

TEST(ZonedFormats, AsciiOverpunchOfEveryDigitAndSign) {
  const char *plus = "{ABCDEFGHI";
  const char *minus = "}JKLMNOPQR";
  for (int digit = 0; digit <= 9; ++digit) {
    EXPECT_EQ(text_of(vftest::put(wzfmzd, 10 + digit, 3)),
              std::string("01") + plus[digit]);
    EXPECT_EQ(text_of(vftest::put(wzfmzd, -(10 + digit), 3)),
              std::string("01") + minus[digit]);
  }
  EXPECT_EQ(text_of(vftest::put(wzfmzd, -0.0, 2)), "0{");
  EXPECT_EQ(text_of(vftest::put(wzfmzd, -0.3, 2)), "0}");
}

TEST(ZonedFormats, WidthsNinesMissingAndShortBuffers) {
  for (int w = 1; w <= 32; ++w) {
    SCOPED_TRACE(w);
    const auto over = vftest::put(wzfmzd, -1.5 * std::pow(10.0, w), w);
    EXPECT_EQ(over.text,
              std::string(static_cast<std::size_t>(w - 1), '9') + "R");
    EXPECT_EQ(over.status, VF_ERR_BINARY_FIT);
    const auto miss = vftest::put(wzfmzd, bintest::missing(0xFE), w);
    EXPECT_EQ(miss.text,
              std::string(static_cast<std::size_t>(w - 1), '0') + "}");
    const auto s = put(zf7zd, 1.5 * std::pow(10.0, w), w);
    EXPECT_EQ(s.status, VF_ERR_NO_ROOM);
    std::string nines;
    for (int i = 1; i < w; ++i) nines += "F9 ";
    EXPECT_EQ(s.hex, nines + "C9");
  }
  const auto scale = vftest::put(wzfmzd, 1e300, 3, 10);
  EXPECT_EQ(scale.text, "99I");
  EXPECT_EQ(scale.status, VF_WARN_RANGE);
  const auto short_buf = vftest::put(wzfmzd, 5, 4, 0, 2);
  EXPECT_EQ(short_buf.text, "0E");
  EXPECT_EQ(short_buf.status, VF_ERR_OVERFLOW);
  const auto refused = vftest::put(zf7zd, 5, 4, 0, 3);
  EXPECT_EQ(refused.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(refused.buffer, "###");
  EXPECT_EQ(put(wzfmzd, std::numeric_limits<double>::quiet_NaN(), 2).status,
            VF_ERR_NOTHING_TO_READ);
  // Beyond 64-bit integers: the exact value of the double 1e31.
  EXPECT_EQ(text_of(vftest::put(wzfmzd, 1e31, 32)),
            "0999999999999999963589629496524H");
}

TEST(ZonedFormats, EbcdicLayouts) {
  EXPECT_EQ(put(zf7zd, -123, 4).hex, "F0 F1 F2 D3");
  EXPECT_EQ(put(zf7zdu, -123, 4).hex, "F0 F1 F2 F3");
  EXPECT_EQ(put(zf7zdl, -123, 4).hex, "D0 F1 F2 F3");
  EXPECT_EQ(put(zf7zdl, 123, 4).hex, "C0 F1 F2 F3");
  EXPECT_EQ(put(zf7zdl, -7, 1).hex, "D7");
  EXPECT_EQ(put(zf7zds, -123, 4).hex, "60 F1 F2 F3");
  EXPECT_EQ(put(zf7zdt, 123, 4).hex, "F1 F2 F3 4E");
  EXPECT_EQ(put(zf7zd, 1.25, 3, 1).hex, "F0 F1 C3");
  EXPECT_EQ(put(zf7zd, -0.3, 2).hex, "F0 D0");
  EXPECT_EQ(put(zf7zd, -0.0, 2).hex, "F0 C0");
  const double dot = bintest::missing(0xFE);
  EXPECT_EQ(put(zf7zd, dot, 3).hex, "F0 F0 D0");
  EXPECT_EQ(put(zf7zdu, dot, 3).hex, "F0 F0 F0");
  EXPECT_EQ(put(zf7zdl, dot, 3).hex, "D0 F0 F0");
  EXPECT_EQ(put(zf7zds, dot, 3).hex, "60 F0 F0");
  EXPECT_EQ(put(zf7zdt, dot, 3).hex, "F0 F0 60");
  const auto over = put(zf7zdt, -1000, 4);
  EXPECT_EQ(over.hex, "F9 F9 F9 60");
  EXPECT_EQ(over.status, VF_ERR_NO_ROOM);
}

TEST(ZonedInformats, DocumentedEdgeCases) {
  const auto b = [](const char *t) { return std::string(t); };
  EXPECT_EQ(vftest::input(wzifmzd, b(" 123")).number(), 123);
  EXPECT_EQ(vftest::input(wzifmzv, b("123")).status, VF_ERR_INVALID_DATA);
  EXPECT_EQ(vftest::input(wzifmzd, b("12}"), -1, 1).number(), -12);
  EXPECT_EQ(vftest::input(zifmzb, b(" 1 2")).number(), 102);
  EXPECT_EQ(vftest::input(zifmzb, b("1 2 ")).number(), 1020);
  EXPECT_EQ(vftest::input(zifmzb, b("    ")).bits(), 0u);
  const auto blank = vftest::input(wzifmzd, b("   "));
  EXPECT_EQ(blank.status, VF_OK);
  EXPECT_EQ(blank.bits(), bintest::kStandardMissing);
  for (const char *bad : {"1 2", "12 ", "1.2", "-12", "12S", "1A2"}) {
    const auto r = vftest::input(wzifmzd, b(bad));
    EXPECT_EQ(r.status, VF_ERR_INVALID_DATA) << bad;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing) << bad;
  }
  EXPECT_EQ(vftest::input(wzifmzv, b(" 12C")).status, VF_ERR_INVALID_DATA);
  EXPECT_EQ(vftest::input(wzifmzd, b("123"), 0).bits(),
            bintest::kStandardMissing);
  EXPECT_EQ(vftest::input(wzifmzd, b("12"), 8).number(), 12); // short input
  EXPECT_EQ(vftest::input(wzifmzd, b("}")).bits(), 0u);
}

TEST(ZonedInformats, EbcdicReaders) {
  EXPECT_EQ(read(zif7zd, "F1 F2 B3").value, -123);
  EXPECT_EQ(read(zif7zd, "F1 F2 C3", -1, 2).value, 1.23);
  EXPECT_EQ(read(zif7zd, "31 42 A3").value, 123); // zones before the last free
  EXPECT_EQ(read(zif7zds, "4E F1 F2 F3").value, 123);
  EXPECT_EQ(read(zif7zdb, "40 F1 40 F3").value, 103);
  EXPECT_EQ(read(zif7zd, "F0 D0").bits, 0u);
  struct Case {
    fmtfn fn;
    const char *hex;
  };
  const Case bad[] = {
      {zif7zd, "F1 FA C3"},  {zif7zd, "F1 F2 93"},  {zif7zd, "00 00 00"},
      {zif7zd, "FF FF"},     {zif7zd, ""},          {zif7zdu, "F1 F2 C3"},
      {zif7zdl, "31 F2 F3"}, {zif7zdl, "91 F2 F3"}, {zif7zds, "F1 F2 F3"},
      {zif7zds, "60"},       {zif7zdt, "F1 F2 F3"}, {zif7zdt, "4E"},
      {zif7zdb, "40 40 4A"}, {zif7zd, "40 40 40"}};
  for (const Case &c : bad) {
    const auto r = read(c.fn, c.hex, std::string_view(c.hex).empty() ? 2 : -1);
    EXPECT_EQ(r.status, VF_ERR_BAD_ZONED) << c.hex;
    EXPECT_EQ(r.bits, bintest::kStandardMissing) << c.hex;
  }
  EXPECT_EQ(read(zif7zd, "F1 C2", 8).value, 12); // short input
}

TEST(ZonedRoundTrip, EveryPairGivesTheValueBack) {
  struct Pair {
    const char *name;
    fmtfn put;
    fmtfn read;
    int sign_bytes;
    bool is_signed;
  };
  const Pair pairs[] = {{"ZD", wzfmzd, wzifmzd, 0, true},
                        {"ZD/ZDV", wzfmzd, wzifmzv, 0, true},
                        {"ZD/ZDB", wzfmzd, zifmzb, 0, true},
                        {"S370FZD", zf7zd, zif7zd, 0, true},
                        {"S370FZD/B", zf7zd, zif7zdb, 0, true},
                        {"S370FZDU", zf7zdu, zif7zdu, 0, false},
                        {"S370FZDL", zf7zdl, zif7zdl, 0, true},
                        {"S370FZDS", zf7zds, zif7zds, 1, true},
                        {"S370FZDT", zf7zdt, zif7zdt, 1, true}};
  std::mt19937_64 rng(13);
  for (const Pair &p : pairs) {
    SCOPED_TRACE(p.name);
    for (int w = 1 + p.sign_bytes; w <= 32; ++w) {
      const int digits = std::min(w - p.sign_bytes, 15);
      const auto limit = static_cast<uint64_t>(std::pow(10.0, digits));
      for (int d : {0, 3, 10}) {
        for (int i = 0; i < 25; ++i) {
          auto k = static_cast<double>(rng() % limit);
          if (p.is_signed && (rng() & 1)) k = -k;
          const double v = k / std::pow(10.0, d);
          const vftest::Run out = vftest::put(p.put, v, w, d);
          ASSERT_EQ(out.status, VF_OK) << v << " w=" << w << " d=" << d;
          const vftest::Run back = vftest::input(p.read, out.text, w, d);
          ASSERT_EQ(back.status, VF_OK) << bintest::hex(out.text);
          ASSERT_EQ(back.number(), v == 0 ? 0.0 : v) << "w=" << w;
        }
      }
    }
  }
}

} // namespace
