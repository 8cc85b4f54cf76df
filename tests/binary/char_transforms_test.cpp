// The EBCDIC 1047 table pair and the character transforms: $EBCDIC and
// @$EBCDIC, $ASCII, $REVERS, $REVERJ, $CSTR, $BYVAL and NUMX.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "binary/binary_test_util.h"
#include "binary/ebcdic.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using bintest::bytes;
using bintest::hex;
using vftest::input;
using vftest::put;
using namespace std::string_literals;

TEST(Ebcdic, TablesAreInverseBijections) {
  std::array<uint8_t, 256> seen{};
  for (int b = 0; b < 256; ++b) {
    const uint8_t e = valfmt::as2eb[static_cast<std::size_t>(b)];
    ++seen[e];
    EXPECT_EQ(valfmt::eb2as[e], b);
    EXPECT_EQ(valfmt::as2eb[valfmt::eb2as[static_cast<std::size_t>(b)]], b);
  }
  EXPECT_TRUE(
      std::all_of(seen.begin(), seen.end(), [](uint8_t n) { return n == 1; }));
}

TEST(Ebcdic, LineFeedAndNextLineFollowTheLibrarysMapping) {
  // Line feed goes to 0x15 and next line to 0x25.  The system converter's
  // IBM1047 swaps these two (0x0A -> 0x25, 0x85 -> 0x15); the tables were
  // generated from it with this one exchange.
  EXPECT_EQ(valfmt::as2eb[0x0A], 0x15);
  EXPECT_EQ(valfmt::as2eb[0x85], 0x25);
}

TEST(Ebcdic, AgreesWithTheSystemConverterElsewhere) {
  FILE *in = std::fopen("/tmp/vf_ebcdic_probe.bin", "wb");
  if (in == nullptr) GTEST_SKIP() << "no scratch file";
  for (int b = 0; b < 256; ++b) std::fputc(b, in);
  std::fclose(in);
  FILE *p = popen("iconv -f ISO-8859-1 -t IBM1047 /tmp/vf_ebcdic_probe.bin "
                  "2>/dev/null",
                  "r");
  if (p == nullptr) GTEST_SKIP() << "no converter";
  std::string out;
  for (int c; (c = std::fgetc(p)) != EOF;) out += static_cast<char>(c);
  pclose(p);
  std::remove("/tmp/vf_ebcdic_probe.bin");
  if (out.size() != 256) GTEST_SKIP() << "converter without IBM1047";
  for (int b = 0; b < 256; ++b) {
    if (b == 0x0A || b == 0x85) continue;
    EXPECT_EQ(valfmt::as2eb[static_cast<std::size_t>(b)],
              static_cast<uint8_t>(out[static_cast<std::size_t>(b)]))
        << b;
  }
}

TEST(EbcdicFormat, TranslatesAndPadsWithEbcdicBlanks) {
  EXPECT_EQ(hex(input(s370ebc, "Ab1", 6, 0, 6).text), "C182F1404040");
  EXPECT_EQ(hex(input(s370ebc, "abcdef", 2, 0, 2).text), "8182");
  const vftest::Run cut = input(s370ebc, "abc", 4, 0, 2);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(hex(cut.text), "8182");
  EXPECT_EQ(input(s370ebc, "a", 0, 0, 2).status, VF_ERR_WIDTH);

  EXPECT_EQ(input(s370ieb, bytes("C182F1"), 3, 0, 3).text, "Ab1");
  EXPECT_EQ(input(s370ieb, bytes("C182F1"), 5, 0, 8).text, "Ab1  ");
  EXPECT_EQ(input(s370ieb, bytes("C182F1"), 5, 0, 2).text, "Ab");
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string e = input(s370ebc, all, 256, 0, 256).text;
  EXPECT_EQ(input(s370ieb, e, 256, 0, 256).text, all);
}

TEST(CharCopies, AsciiReversalsAndCStrings) {
  EXPECT_EQ(input(zfmasc, "abc", 5, 0, 5).text, "abc  ");
  EXPECT_EQ(input(zfmasc, "abcdef", 3, 0, 3).text, "abc");
  EXPECT_EQ(input(zfmasc, "abc", 5, 0, 4).status, VF_ERR_OUTSIZE);

  EXPECT_EQ(input(reversj, "ab   ", 5, 0, 5).text, "   ba");
  const vftest::Run rev = input(reverse, "ab   ", 5, 0, 5);
  EXPECT_EQ(rev.text, "ba");
  EXPECT_EQ(rev.buffer, "ba   ");
  EXPECT_EQ(input(reversj, "abcdef", 3, 0, 3).text, "cba");
  const vftest::Run shortin = input(reversj, "abc", 6, 0, 6);
  EXPECT_EQ(shortin.text, "cba");
  EXPECT_EQ(shortin.buffer, "cba   ");
  const vftest::Run cut = input(reversj, "abcdef", 6, 0, 4);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "fedc");
  EXPECT_EQ(input(reverse, "   ", 3, 0, 3).buffer, "   ");

  EXPECT_EQ(input(cstr, "abcdef", 4, 0, 4).text, "abc\0"s);
  EXPECT_EQ(input(cstr, "ab  ", 6, 0, 6).text, "ab\0\0\0\0"s);
  EXPECT_EQ(input(cstr, "abc", 1, 0, 1).text, "\0"s);
  EXPECT_EQ(input(cstr, "abc", 4, 0, 4).text, "abc\0"s);
  const vftest::Run ccut = input(cstr, "abcdef", 8, 0, 3);
  EXPECT_EQ(ccut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(ccut.text, "ab\0"s);
}

TEST(CharCopies, SixteenBitInputIsReadByCharacter) {
  const uint16_t units[] = {'a', 0xE9, 0x20AC, ' '};
  fmtcall c{};
  c.w = 4;
  c.value = units;
  c.valuelen = 4;
  c.inenc = VF_ENC_UCS2;
  EXPECT_EQ(vftest::run_block(reversj, nullptr, c, 4).text, " ?\xE9"
                                                            "a");
  EXPECT_EQ(vftest::run_block(reverse, nullptr, c, 4).text, "?\xE9"
                                                            "a");
  EXPECT_EQ(hex(vftest::run_block(s370ebc, nullptr, c, 4).text), "81516F40");
  const uint8_t be[] = {0x00, 'x', 0x00, 'y'};
  c.value = be;
  c.valuelen = 2;
  c.inenc = VF_ENC_UCS2BE;
  EXPECT_EQ(vftest::run_block(zfmasc, nullptr, c, 4).text, "xy  ");
  c.w = 2;
  c.inenc = VF_ENC_UCS2;
  c.value = units + 2;
  c.valuelen = 1;
  EXPECT_EQ(hex(vftest::run_block(byval, nullptr, c, 2).text), "AC20");
}

TEST(ByValue, CodeOfTheFirstCharacter) {
  EXPECT_EQ(hex(input(byval, "A", 2, 0, 2).text), "4100");
  EXPECT_EQ(hex(input(byval, "Ab", 4, 0, 4).text), "41000000");
  EXPECT_EQ(hex(input(byval, "\xFF", 8, 0, 8).text), "FF00000000000000");
  EXPECT_EQ(hex(input(byval, "A", 3, 0, 3).text), "410000");
  EXPECT_EQ(hex(input(byval, "A", 2, 1, 2).text), "0600");
  EXPECT_EQ(hex(input(byval, "", 2, 0, 2).text), "0000");
  const vftest::Run cut = input(byval, "A", 4, 0, 1);
  EXPECT_EQ(cut.status, VF_ERR_OVERFLOW);
  EXPECT_EQ(hex(cut.text), "41");
  EXPECT_EQ(input(byval, "A", 1, 0, 1).status, VF_ERR_WIDTH);
}

TEST(Numx, DecimalComma) {
  EXPECT_EQ(put(zfmnumx, 1234.5, 8, 2).text, " 1234,50");
  EXPECT_EQ(put(zfmnumx, -0.25, 6, 3).text, "-0,250");
  EXPECT_EQ(put(zfmnumx, 42.0, 4).text, "  42");
  EXPECT_EQ(put(zfmnumx, bintest::missing(0xFE), 8, 2).text, "     .  ");
  const vftest::Run cut = put(zfmnumx, 1.5, 6, 1, 3);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "***");
  EXPECT_EQ(put(zfmnumx, 1.5, 33).status, VF_ERR_WIDTH);
}

} // namespace
