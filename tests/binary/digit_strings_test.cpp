// Hexadecimal, octal and binary digit strings in both directions, with the
// System/370 hexadecimal form and bit fields.  Expected digits are spelled
// with printf, std::bitset and plain division here, independent of the
// library's digit writers.
#include <gtest/gtest.h>

#include <bit>
#include <bitset>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "binary/binary_test_util.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using bintest::bytes;
using bintest::hex;
using vftest::input;
using vftest::put;
using namespace std::string_literals;

std::string tail(const std::string &s, int n) {
  return s.substr(s.size() - static_cast<std::size_t>(n));
}

std::string hex64(uint64_t u) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016" PRIX64, u);
  return buf;
}

// The 24 octal digits of a 72-bit number given as leading byte and word.
std::string octal72(uint64_t lead, uint64_t word) {
  std::string s;
  unsigned __int128 x = static_cast<unsigned __int128>(lead) << 64 | word;
  for (int i = 0; i < 24; ++i, x /= 8) s.insert(s.begin(), char('0' + x % 8));
  return s;
}

// Integers of every size below 2^62, both signs, each exactly a double.
std::vector<int64_t> integers() {
  std::vector<int64_t> v = {0,         1,         -1,          255,
                            256,       -256,      4095,        INT32_MAX,
                            INT32_MIN, 1ll << 53, -(1ll << 61)};
  std::mt19937_64 rng(11);
  for (int i = 0; i < 300; ++i) {
    const int64_t x = static_cast<int64_t>(rng()) >> (1 + rng() % 62);
    if (static_cast<int64_t>(static_cast<double>(x)) == x) v.push_back(x);
  }
  return v;
}

std::string ebcdic_digits(const std::string &ascii) {
  std::string s;
  for (char c : ascii)
    s += static_cast<char>(c <= '9' ? 0xF0 + (c - '0') : 0xC1 + (c - 'A'));
  return s;
}

TEST(HexFormat, IntegerAndBitPattern) {
  EXPECT_EQ(put(zfmhex, -255.9, 3).text, "F01");
  for (int64_t i : integers()) {
    const auto v = static_cast<double>(i);
    const std::string all = hex64(static_cast<uint64_t>(i));
    for (int w = 1; w <= 15; ++w)
      EXPECT_EQ(put(zfmhex, v, w).text, tail(all, w)) << i << " HEX" << w;
  }
  for (double v : bintest::spread(200))
    EXPECT_EQ(put(zfmhex, v, 16).text, hex64(bintest::bits(v))) << v;
}

TEST(HexFormat, MissingSaturationAndBuffers) {
  EXPECT_EQ(put(zfmhex, bintest::missing(0xFE), 8).text, "       .");
  EXPECT_EQ(put(zfmhex, bintest::missing(0xFD), 16).text,
            std::string(15, ' ') + "A");
  // Beyond the 64-bit range the IB field saturates: the low digits of
  // 7FFFFFFFFFFFFFFF and 8000000000000000.
  EXPECT_EQ(put(zfmhex, 1e30, 15).text, std::string(15, 'F'));
  EXPECT_EQ(put(zfmhex, -1e30, 15).text, std::string(15, '0'));
  EXPECT_EQ(put(zfmhex, 9.3e18, 15).text, std::string(15, 'F'));
  // A buffer below w keeps the rightmost digits.
  const vftest::Run cut = put(zfmhex, 4660.0, 8, 0, 3);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "234");
}

TEST(HexInformat, DigitsMissingValuesAndErrors) {
  EXPECT_EQ(input(zifmhex, "41").number(), 65.0);
  EXPECT_EQ(input(zifmhex, "A").number(), 10.0);
  EXPECT_EQ(input(zifmhex, "abc").number(), 2748.0);
  EXPECT_EQ(input(zifmhex, "  ff  ").number(), 255.0);
  EXPECT_EQ(input(zifmhex, "64", 2, 2).number(), 1.0);
  EXPECT_EQ(input(zifmhex, "G").bits(), bintest::bits(bintest::missing(0xF7)));
  EXPECT_EQ(input(zifmhex, ".").bits(), bintest::kStandardMissing);
  EXPECT_EQ(input(zifmhex, "   ").bits(), bintest::kStandardMissing);
  EXPECT_EQ(input(zifmhex, "_").bits(), bintest::bits(bintest::missing(0xFF)));
  for (const char *bad : {"f f", "1G", "0x10", "-1", "  3FF0000000000000"}) {
    const auto n = static_cast<int32_t>(std::strlen(bad));
    const vftest::Run r = input(zifmhex, bad, n < 16 ? n : 16);
    EXPECT_EQ(r.status, VF_ERR_BAD_HEX) << bad;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing) << bad;
  }
  // valuelen below w: only the characters given are read.
  EXPECT_EQ(input(zifmhex, "1F", 8).number(), 31.0);
}

TEST(HexInformat, RoundTripsHex) {
  for (int64_t i : integers()) {
    if (i < 0) continue;
    const auto v = static_cast<double>(i);
    for (int w = 1; w <= 15; ++w) {
      if (static_cast<uint64_t>(i) >> (4 * w) != 0) continue;
      EXPECT_EQ(input(zifmhex, put(zfmhex, v, w).text).number(), std::trunc(v))
          << i << " w" << w;
    }
  }
  for (double v : bintest::spread(200))
    EXPECT_EQ(input(zifmhex, put(zfmhex, v, 16).text).bits(), bintest::bits(v));
  EXPECT_EQ(input(zifmhex, put(zfmhex, bintest::missing(0xFE), 16).text).bits(),
            bintest::kStandardMissing);
}

TEST(CharHex, FormatBothDirections) {
  EXPECT_EQ(input(zfmhexc, "AB", 6, 0, 6).text, "4142  ");
  EXPECT_EQ(input(zfmhexc, "ABC", 5, 0, 5).text, "41424");
  EXPECT_EQ(input(zfmhexc, "AB", 1, 0, 1).text, "4");
  EXPECT_EQ(input(zfmhexc, "", 3, 0, 3).text, "   ");
  const vftest::Run cut = input(zfmhexc, "AB", 4, 0, 3);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "414");
  EXPECT_EQ(input(zfmhexc, "AB", 32768, 0, 4).status, VF_ERR_WIDTH);
  // 16-bit input: one character at a time, '?' above 0xFF.
  const uint16_t units[] = {'A', 0xE9, 0x20AC};
  fmtcall c{};
  c.w = 6;
  c.value = units;
  c.valuelen = 3;
  c.inenc = VF_ENC_UCS2;
  EXPECT_EQ(vftest::run_block(zfmhexc, nullptr, c, 6).text, "41E93F");

  EXPECT_EQ(input(zifmhxc, "414", 3, 0, 8).text, "A@");
  EXPECT_EQ(input(zifmhxc, " 41", 3, 0, 8).text, "A ");
  EXPECT_EQ(input(zifmhxc, "4142", 4, 0, 1).text, "A");
  const vftest::Run blank = input(zifmhxc, "    ", 4, 0, 8);
  EXPECT_EQ(blank.status, VF_OK);
  EXPECT_EQ(blank.text, "  ");
  EXPECT_EQ(input(zifmhxc, "4G", 2, 0, 8).status, VF_ERR_BAD_HEX);
  EXPECT_EQ(input(zifmhxc, "41 2", 4, 0, 8).status, VF_ERR_BAD_HEX);

  std::mt19937 rng(5);
  for (int n = 1; n < 300; n += 7) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>(rng() & 0xFF);
    const std::string digits = input(zfmhexc, s, 2 * n, 0, 2 * n).text;
    ASSERT_EQ(digits, hex(s));
    EXPECT_EQ(input(zifmhxc, digits, 2 * n, 0, n).text, s);
  }
}

TEST(CharHex, PackedHexShowsDigitsWithoutTheSign) {
  const vftest::Run r = input(zifmphx, bytes("12345C"), 3, 0, 8);
  EXPECT_EQ(r.text, "12345");
  EXPECT_EQ(r.buffer, "12345   ");
  EXPECT_EQ(input(zifmphx, bytes("12345C"), 2, 0, 8).text, "123");
  EXPECT_EQ(input(zifmphx, bytes("12345C"), 3, 0, 4).text, "1234");
  EXPECT_EQ(input(zifmphx, "", 3, 0, 4).buffer, "    ");
}

TEST(S370Hex, EbcdicDigitsOfTheS370Fields) {
  EXPECT_EQ(put(zf7hex, 255.0, 4).text, ebcdic_digits("00FF"));
  EXPECT_EQ(put(zf7hex, -1.0, 4).text, ebcdic_digits("FFFF"));
  EXPECT_EQ(put(zf7hex, 15.0, 3).text, ebcdic_digits("0F0"));
  EXPECT_EQ(put(zf7hex, 7.0, 1).text, ebcdic_digits("0"));
  EXPECT_EQ(put(zf7hex, 100.0, 16).text, ebcdic_digits("4264000000000000"));
  EXPECT_EQ(put(zf7hex, 65536.0, 4).text, ebcdic_digits("FFFF"));
  EXPECT_EQ(put(zf7hex, -40000.0, 4).text, ebcdic_digits("8000"));
  EXPECT_EQ(hex(put(zf7hex, bintest::missing(0xFE), 8).text),
            "404040404040404B");
  const vftest::Run cut = put(zf7hex, 255.0, 4, 0, 2);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, ebcdic_digits("00"));
}

TEST(S370Hex, ReaderDigitHandling) {
  EXPECT_EQ(input(zif7hex, ebcdic_digits("00FF")).number(), 255.0);
  EXPECT_EQ(input(zif7hex, ebcdic_digits("FFF")).number(), 4095.0);
  EXPECT_EQ(input(zif7hex, ebcdic_digits("4110000000000000")).number(), 1.0);
  EXPECT_EQ(input(zif7hex, "\x40"s + ebcdic_digits("1F") + "\x40").number(),
            31.0);
  const vftest::Run blank = input(zif7hex, "\x40\x40");
  EXPECT_EQ(blank.status, VF_OK);
  EXPECT_EQ(blank.bits(), bintest::kStandardMissing);
  EXPECT_EQ(
      input(zif7hex, ebcdic_digits("1") + "\x40" + ebcdic_digits("2")).status,
      VF_ERR_BAD_HEX);
  EXPECT_EQ(input(zif7hex, "1F").status, VF_ERR_BAD_HEX); // ASCII digits
  // Even widths read back what S370FHEX wrote; an odd width ends in the
  // high half of a zero byte and so reads back 16 times the integer.
  for (double v : {0.0, 1.0, 200.0, 65535.0, 16777215.0}) {
    for (int w = 2; w <= 14; w += 2) {
      if (v >= std::ldexp(1.0, 4 * w)) continue;
      EXPECT_EQ(input(zif7hex, put(zf7hex, v, w).text).number(), v) << v;
    }
    EXPECT_EQ(input(zif7hex, put(zf7hex, v, 3).text).number(),
              v < 256 ? 16 * v : 16 * 255.0);
  }
  for (double v : bintest::spread(100)) {
    if (std::fabs(v) < std::ldexp(1.0, -260) || std::fabs(v) >= 7e75) continue;
    EXPECT_EQ(input(zif7hex, put(zf7hex, v, 16).text).number(), v) << v;
  }
}

TEST(OctalFormat, TwosComplementIn72Bits) {
  EXPECT_EQ(put(zfmocn, -1.0, 24).text, std::string(24, '7'));
  EXPECT_EQ(put(zfmocn, 1.5, 6, 1).text, "000017");
  // 0.29 * 100 is 28.999999999999996: the nudge before truncation makes it
  // 29.
  EXPECT_EQ(put(zfmocn, 0.29, 3, 2).text, "035");
  for (int64_t i : integers()) {
    const std::string all = octal72(i < 0 ? 0xFF : 0, static_cast<uint64_t>(i));
    const auto v = static_cast<double>(i);
    for (int w : {1, 5, 11, 22, 24})
      EXPECT_EQ(put(zfmocn, v, w).text, tail(all, w)) << i;
  }
  // Beyond the IB field: leading byte 1, top byte 0xFF.
  EXPECT_EQ(put(zfmocn, 1e30, 24).text, octal72(1, ~0ull));
  EXPECT_EQ(put(zfmocn, -1e30, 24).text, octal72(1, 0xFF00000000000000ull));
  // A scaling overflow counts as 0.
  EXPECT_EQ(put(zfmocn, 1e300, 4, 20).text, "0000");
}

TEST(OctalFormat, MissingBuffersAndWidths) {
  EXPECT_EQ(put(zfmocn, bintest::missing(0xFE), 3).text, "  .");
  const vftest::Run cut = put(zfmocn, 83.0, 4, 0, 2);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "23");
}

TEST(OctalInformat, ReadsDigitsAndRoundTrips) {
  EXPECT_EQ(input(zifmocn, "17").number(), 15.0);
  EXPECT_EQ(input(zifmocn, "  17  ").number(), 15.0);
  EXPECT_EQ(input(zifmocn, "17", 2, 1).number(), 1.5);
  EXPECT_EQ(input(zifmocn, std::string(24, '7')).number(), std::ldexp(1.0, 72));
  EXPECT_EQ(input(zifmocn, "   ").bits(), bintest::kStandardMissing);
  EXPECT_EQ(input(zifmocn, "A").bits(), bintest::bits(bintest::missing(0xFD)));
  for (const char *bad : {"18", "1 7", "-1", "9"}) {
    const vftest::Run r = input(zifmocn, bad);
    EXPECT_EQ(r.status, VF_ERR_BAD_OCTAL) << bad;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing);
  }
  for (int64_t i : integers()) {
    if (i < 0 || static_cast<double>(i) >= 9007199254740992.0) continue;
    const auto v = static_cast<double>(i);
    EXPECT_EQ(input(zifmocn, put(zfmocn, v, 24).text).number(), v) << i;
    EXPECT_EQ(input(zifmocn, put(zfmocn, v / 100, 24, 2).text, 24, 2).number(),
              std::trunc(v / 100 * 100 + 1e-11) / 100)
        << i;
  }
}

TEST(CharOctal, FormatBothDirections) {
  EXPECT_EQ(input(zfmocc, "AB", 6, 0, 6).text, "101102");
  // The field is w columns: the second byte's digits are cut.
  EXPECT_EQ(input(zfmocc, "AB", 4, 0, 8).text, "1011");
  EXPECT_EQ(input(zfmocc, "A", 5, 0, 5).text, "101  ");
  EXPECT_EQ(input(zfmocc, "", 3, 0, 3).text, "   ");
  const vftest::Run cut = input(zfmocc, "AB", 6, 0, 4);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "1011");

  EXPECT_EQ(input(zifmocc, "101102", 2, 0, 8).text, "AB");
  const vftest::Run padded = input(zifmocc, "101", 3, 0, 8);
  EXPECT_EQ(padded.text, "A  ");
  EXPECT_EQ(input(zifmocc, "1", 1, 0, 8).text, "@");
  EXPECT_EQ(input(zifmocc, "  101  ", 1, 0, 8).text, "A");
  EXPECT_EQ(input(zifmocc, "    ", 2, 0, 8).text, "  ");
  const vftest::Run big = input(zifmocc, "401", 1, 0, 8);
  EXPECT_EQ(big.status, VF_ERR_OCTAL_BYTE);
  EXPECT_EQ(big.buffer, std::string(8, '#'));
  EXPECT_EQ(input(zifmocc, "181", 1, 0, 8).status, VF_ERR_BAD_OCTAL);
  // At most 3 * outsize characters are read.
  EXPECT_EQ(input(zifmocc, "101102xyz", 3, 0, 2).text, "AB");

  std::mt19937 rng(9);
  for (int n = 1; n < 200; n += 11) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>(rng() & 0xFF);
    const std::string digits = input(zfmocc, s, 3 * n, 0, 3 * n).text;
    EXPECT_EQ(input(zifmocc, digits, n, 0, n).text, s);
  }
}

TEST(BinaryFormat, IntegerAndBitPattern) {
  EXPECT_EQ(put(zfmbtn, 2.7, 8, 1).text, "00010100");
  for (int64_t i : integers()) {
    const auto v = static_cast<double>(i);
    const std::string all =
        std::bitset<64>(static_cast<uint64_t>(i)).to_string();
    for (int w : {1, 7, 32, 57, 60})
      EXPECT_EQ(put(zfmbtn, v, w).text, tail(all, w)) << i << " w" << w;
  }
  for (double v : bintest::spread(100)) {
    const std::string all = std::bitset<64>(bintest::bits(v)).to_string();
    for (int w : {61, 64}) EXPECT_EQ(put(zfmbtn, v, w).text, tail(all, w));
  }
}

TEST(BinaryFormat, MissingBuffersAndWidths) {
  EXPECT_EQ(put(zfmbtn, bintest::missing(0xFE), 8).text, "       .");
  const vftest::Run wide = put(zfmbtn, bintest::missing(0xFD), 40);
  EXPECT_EQ(wide.text, std::string(31, ' ') + "A" + std::string(8, ' '));
  const vftest::Run cut = put(zfmbtn, 5.0, 8, 0, 3);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "101");
}

TEST(BinaryInformat, ReadsDigitsAndRoundTrips) {
  EXPECT_EQ(input(zifmbtn, " 101 ", 5).number(), 5.0);
  EXPECT_EQ(input(zifmbtn, "1010", 4, 1).number(), 1.0);
  for (const char *bad : {"2", "    ", "1 01", "10a"}) {
    const vftest::Run r = input(zifmbtn, bad);
    EXPECT_EQ(r.status, VF_ERR_BAD_INPUT) << bad;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing);
  }
  // Up to 60 digits an integer, beyond that a double's bits.
  EXPECT_EQ(input(zifmbtn, std::string(59, '0') + "1").number(), 1.0);
  EXPECT_EQ(input(zifmbtn, "1" + std::string(60, '0')).bits(), 1ull << 60);
  for (int64_t i : integers()) {
    if (i < 0) continue;
    const auto v = static_cast<double>(i);
    const auto u = static_cast<uint64_t>(i);
    for (int w = 1; w <= 60; ++w) {
      if ((u >> w) != 0) continue;
      EXPECT_EQ(input(zifmbtn, put(zfmbtn, v, w).text).number(), v)
          << i << " w" << w;
    }
  }
  for (double v : bintest::spread(100))
    EXPECT_EQ(input(zifmbtn, put(zfmbtn, v, 64).text).bits(), bintest::bits(v));
}

TEST(CharBinary, FormatBothDirections) {
  EXPECT_EQ(input(zfmbtc, "AB", 10, 0, 10).text, "0100000101");
  EXPECT_EQ(input(zfmbtc, "A", 10, 0, 10).text, "01000001  ");
  const vftest::Run cut = input(zfmbtc, "A", 8, 0, 5);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "01000");
  // The widest field: 32767 digits of a long input.
  const vftest::Run big =
      input(zfmbtc, std::string(4100, '\xFF'), 32767, 0, 32767);
  EXPECT_EQ(big.text, std::string(32767, '1'));

  EXPECT_EQ(input(zifmbtc, "01", 2, 0, 8).text, "@");
  EXPECT_EQ(input(zifmbtc, "  01000001  ", 12, 0, 8).text, "A");
  EXPECT_EQ(input(zifmbtc, "0100000101000010", 16, 0, 1).text, "A");
  EXPECT_EQ(input(zifmbtc, "012", 3, 0, 8).status, VF_ERR_BAD_INPUT);
  EXPECT_EQ(input(zifmbtc, "   ", 3, 0, 8).status, VF_ERR_BAD_INPUT);
  std::mt19937 rng(3);
  for (int n = 1; n < 200; n += 13) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>(rng() & 0xFF);
    const std::string digits = input(zfmbtc, s, 8 * n, 0, 8 * n).text;
    EXPECT_EQ(input(zifmbtc, digits, 8 * n, 0, n).text, s);
  }
}

// The unsigned integer of bits [d, d + w) counting from the top bit of
// the first byte, one bit at a time.
double bits_oracle(const std::string &b, int w, int d) {
  uint64_t u = 0;
  for (int i = d; i < d + w; ++i)
    u = u << 1 | ((static_cast<uint8_t>(b[static_cast<std::size_t>(i / 8)]) >>
                   (7 - i % 8)) &
                  1);
  return static_cast<double>(u);
}

TEST(BitsInformat, FieldsOfEveryWidthAndOffset) {
  EXPECT_EQ(input(zifmbit, bytes("A5"), 0, 0).number(),
            1.0); // w 0 reads one bit
  EXPECT_EQ(input(zifmbit, std::string(9, '\xFF'), 70, 7).number(),
            18446744073709551615.0);
  std::mt19937 rng(1);
  std::string b;
  for (int i = 0; i < 17; ++i) b += static_cast<char>(rng() & 0xFF);
  for (int w = 1; w <= 64; ++w)
    for (int d = 0; d <= 63; d += 3)
      ASSERT_EQ(input(zifmbit, b, w, d).number(), bits_oracle(b, w, d))
          << "w" << w << " d" << d;
}

TEST(BitsInformat, ShortInputsAndBadOffsets) {
  // The field must lie inside valuelen.
  for (auto [w, d] : {std::pair{8, 4}, {1, 8}, {64, 1}, {9, 0}}) {
    const vftest::Run r = input(zifmbit, bytes("FF"), w, d);
    EXPECT_EQ(r.status, VF_ERR_NOTHING_TO_READ) << w << " " << d;
    EXPECT_EQ(r.bits(), bintest::kStandardMissing);
  }
  EXPECT_EQ(input(zifmbit, "", 1, 0).status, VF_ERR_NOTHING_TO_READ);
  // The offset is bounded by the row's 63; 98 and 99 count as 0.
  EXPECT_EQ(input(zifmbit, bytes("FF"), 1, -1).status, VF_ERR_WD_LIMITS);
  EXPECT_EQ(input(zifmbit, std::string(16, '\xFF'), 1, 64).status,
            VF_ERR_WD_LIMITS);
  EXPECT_EQ(input(zifmbit, bytes("80"), 1, 99).number(), 1.0);
  EXPECT_EQ(input(zifmbit, bytes("FF"), 8, 0, 4).status, VF_ERR_OUTSIZE);
}

} // namespace
