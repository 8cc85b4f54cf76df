// Character informats: byte copies, case, quotes, reversal, C strings and
// by-value bytes, each bounded by outsize and valuelen.
#include <cstring>
#include <string>

#include "registry/functions.h"
#include "helpers.h"

namespace {

using informat_test::chars;
using informat_test::Chr;
using namespace std::string_literals;

void expect(const Chr &r, const std::string &text, const std::string &buffer) {
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.text, text);
  EXPECT_EQ(r.buffer, buffer);
}

TEST(InformatChar, CopyPadsToWidth) {
  expect(chars(zifmc, "ab", 5, 8), "ab   ", "ab   ###");
  expect(chars(zifmc, "  a", 4, 4), "  a ", "  a ");
  expect(chars(zifmc, "abcdef", 3, 8), "abc", "abc#####");
  // outsize below w: the field is cut to the buffer, still status 0.
  expect(chars(zifmc, "abcdef", 6, 4), "abcd", "abcd");
  expect(chars(zifmc, "abc", 5, 0), "", "");
  // NUL and high bytes are copied as they are.
  expect(chars(zifmc, "a\0\xE9"s, 4, 4), "a\0\xE9 "s, "a\0\xE9 "s);
  expect(chars(zifmc, "", 3, 3), "   ", "   ");
}

TEST(InformatChar, ZeroBytesBecomeBlanks) {
  expect(chars(zifmzbc, "a\0b\0"s, 6, 6), "a b   ", "a b   ");
  expect(chars(zifmzbc, "\0\0\0"s, 2, 3), "  ", "  #");
  std::string big(32767, '\0');
  big[100] = 'x';
  const Chr r = chars(zifmzbc, big, 32767, 32767);
  EXPECT_EQ(r.outlen, 32767);
  EXPECT_EQ(r.text.find_first_not_of(' '), 100u);
  EXPECT_EQ(r.text.find_last_not_of(' '), 100u);
  // Bytes past the first 32767 are not read.
  const Chr tail = chars(zifmzbc, std::string(32770, 'z'), 32770, 32770);
  EXPECT_EQ(tail.text, std::string(32767, 'z') + "   ");
}

TEST(InformatChar, Upcase) {
  expect(chars(zifmupc, "abZ1\xE9q", 8, 8), "ABZ1\xE9Q  ", "ABZ1\xE9Q  ");
  expect(chars(zifmupc, "abc", 2, 2), "AB", "AB");
}

TEST(InformatChar, AsciiCopiesWithoutPadding) {
  expect(chars(zifmasc, "abc", 5, 6), "abc", "abc###");
  expect(chars(zifmasc, "abcdef", 4, 6), "abcd", "abcd##");
  expect(chars(zifmasc, "abcdef", 6, 2), "ab", "ab");
  expect(chars(zifmasc, "", 6, 2), "", "##");
}

TEST(InformatChar, Quote) {
  expect(chars(zifmcq, "'abc'", 8, 6), "abc", "abc   ");
  expect(chars(zifmcq, "'abc", 8, 6), "abc", "abc   ");
  expect(chars(zifmcq, "'it''s' x", 8, 6), "it's", "it's  ");
  expect(chars(zifmcq, "\"a\"\"b\"", 8, 4), "a\"b", "a\"b ");
  expect(chars(zifmcq, "\"a'b\"", 8, 4), "a'b", "a'b ");
  expect(chars(zifmcq, "'ab'cd", 8, 4), "ab", "ab  ");
  expect(chars(zifmcq, "''", 8, 3), "", "   ");
  // The copy stops when the buffer is full.
  expect(chars(zifmcq, "'abcdef'", 8, 3), "abc", "abc");
  // Unquoted text fills the whole buffer, whatever w says.
  expect(chars(zifmcq, "abc", 2, 6), "abc", "abc   ");
  expect(chars(zifmcq, "abcdefgh", 2, 6), "abcdef", "abcdef");
  expect(chars(zifmcq, "", 2, 3), "", "   ");
}

TEST(InformatChar, Reverse) {
  expect(chars(ireverj, "abc  ", 5, 5), "  cba", "  cba");
  expect(chars(irevers, "abc  ", 5, 5), "cba  ", "cba  ");
  expect(chars(ireverj, "abc", 3, 6), "cba", "cba   ");
  // A buffer smaller than the input takes the first outsize bytes.
  expect(chars(ireverj, "abcdef", 3, 3), "cba", "cba");
  expect(chars(irevers, "ab    ", 3, 3), "ba ", "ba ");
  // w beyond the buffer: outlen stays within outsize.
  expect(chars(ireverj, "abcdef", 10, 4), "dcba", "dcba");
  expect(chars(irevers, "   ", 3, 3), "   ", "   ");
  expect(chars(ireverj, "", 2, 2), "  ", "  ");
}

TEST(InformatChar, CString) {
  expect(chars(icstr, "ab\0cd"s, 5, 5), "ab   ", "ab   ");
  expect(chars(icstr, "abcd", 6, 6), "abcd  ", "abcd  ");
  expect(chars(icstr, "\0abc"s, 3, 4), "   ", "   #");
  expect(chars(icstr, "abcdef", 6, 3), "abc", "abc");
}

TEST(InformatChar, ByValue) {
  auto bytes = [](std::initializer_list<unsigned char> b) {
    return std::string(b.begin(), b.end());
  };
  auto dbl = [](double x) {
    std::string s(8, '\0');
    std::memcpy(s.data(), &x, 8);
    return s;
  };
  expect(chars(ibyval, bytes({0x41, 0x00}), 3, 3), "A  ", "A  ");
  expect(chars(ibyval, bytes({0x41, 0x01}), 2, 2), "A ", "A ");
  expect(chars(ibyval, bytes({0x42, 0, 0, 0}), 4, 4), "B   ", "B   ");
  expect(chars(ibyval, bytes({0x43, 0, 0, 1}), 2, 2), "C ", "C ");
  expect(chars(ibyval, dbl(67.9), 2, 2), "C ", "C ");
  expect(chars(ibyval, dbl(-68.2), 2, 2), "D ", "D ");
  expect(chars(ibyval, dbl(256.0 * 256 * 256 * 256 + 69), 2, 2), "E ", "E ");
  expect(chars(ibyval, "F", 2, 2), "F ", "F ");
  expect(chars(ibyval, "GHI", 2, 2), "G ", "G ");
  // 650 with one decimal is 65.
  expect(chars(ibyval, bytes({0x8A, 0x02}), 2, 2, 1), "A ", "A ");
  // Missing values, NaN and infinity have no byte value.
  expect(chars(ibyval, dbl(valfmt::standard_missing()), 2, 2), "  ", "  ");
  expect(chars(ibyval, dbl(std::numeric_limits<double>::quiet_NaN()), 2, 2),
         "  ", "  ");
  expect(chars(ibyval, dbl(-std::numeric_limits<double>::infinity()), 2, 2),
         "  ", "  ");
  expect(chars(ibyval, "", 2, 2), "  ", "  ");
  expect(chars(ibyval, bytes({0, 0}), 2, 2), "\0 "s, "\0 "s);
  expect(chars(ibyval, "AB", 8, 1), "\x41"s, "\x41"s);
}

TEST(InformatChar, HostileCallBlocks) {
  const fmtfn fns[] = {zifmc,   zifmzbc, zifmupc, zifmasc, zifmcq,
                       ireverj, irevers, icstr,   ibyval};
  for (fmtfn fn : fns) {
    EXPECT_EQ(fn(nullptr), VF_ERR_BAD_CALL);
    for (int32_t w : {-5, 0, 1, 8, 32767}) {
      for (int32_t outsize : {0, 1, 7, 100}) {
        // Inputs sit in exact-size buffers; guards follow the output.
        for (const std::string &t :
             {""s, "'x''"s, "\0\0"s, "\xFF\x80"s, std::string(32767, 'q')}) {
          const Chr r = chars(fn, t, w, outsize);
          EXPECT_EQ(r.status, VF_OK);
          EXPECT_GE(r.outlen, 0);
          EXPECT_LE(r.outlen, outsize);
        }
      }
    }
    // Negative valuelen and outsize, null buffers.
    char out[4] = {'#', '#', '#', '#'};
    fmtcall c{};
    c.w = 4;
    c.value = "abcd";
    c.valuelen = -3;
    c.out = out;
    c.outsize = 4;
    EXPECT_EQ(fn(&c), VF_OK);
    EXPECT_LE(c.outlen, 4);
    c.valuelen = 4;
    c.outsize = -1;
    c.outlen = 99;
    std::memset(out, '#', 4);
    EXPECT_EQ(fn(&c), VF_OK);
    EXPECT_EQ(c.outlen, 0);
    EXPECT_EQ(std::string(out, 4), "####");
    c.out = nullptr;
    c.outsize = 4;
    EXPECT_EQ(fn(&c), VF_OK);
    EXPECT_EQ(c.outlen, 0);
    c.out = out;
    c.value = nullptr;
    c.valuelen = 4;
    EXPECT_EQ(fn(&c), VF_OK);
  }
}

} // namespace
