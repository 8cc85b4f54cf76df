// Character informats: byte copies, case, quotes, reversal, C strings and
// by-value bytes, each bounded by outsize and valuelen.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "registry/functions.h"
#include "core/missing.h"
#include "support/call_runner.h"

namespace {

using namespace std::string_literals;

struct Case {
  std::string in;
  int32_t w, outsize;
  std::string text;   // the outlen bytes
  std::string buffer; // the whole buffer, which starts as '#'
  int32_t d = 0;
};

void check(fmtfn fn, std::initializer_list<Case> cases) {
  for (const Case &c : cases) {
    const vftest::Run r = vftest::input(fn, c.in, c.w, c.d, c.outsize);
    EXPECT_EQ(r.status, VF_OK) << '"' << c.in << '"';
    EXPECT_EQ(r.text, c.text) << '"' << c.in << '"';
    EXPECT_EQ(r.buffer, c.buffer) << '"' << c.in << '"';
  }
}

TEST(InformatChar, CopiesPadAndCut) {
  check(zifmc, {{"ab", 5, 8, "ab   ", "ab   ###"},
                {"abcdef", 6, 4, "abcd", "abcd"}, // cut to the buffer
                {"a\0\xE9"s, 4, 4, "a\0\xE9 "s, "a\0\xE9 "s}});
  check(zifmzbc, {{"a\0b\0"s, 6, 6, "a b   ", "a b   "},
                  {"\0\0\0"s, 2, 3, "  ", "  #"}});
  // Bytes past the first 32767 are not read.
  const vftest::Run tail =
      vftest::input(zifmzbc, std::string(32770, 'z'), 32770, 0, 32770);
  EXPECT_EQ(tail.text, std::string(32767, 'z') + "   ");
  check(zifmupc, {{"abZ1\xE9q", 8, 8, "ABZ1\xE9Q  ", "ABZ1\xE9Q  "}});
  check(zifmasc, {{"abc", 5, 6, "abc", "abc###"},
                  {"abcdef", 6, 2, "ab", "ab"},
                  {"", 6, 2, "", "##"}});
  check(icstr, {{"ab\0cd"s, 5, 5, "ab   ", "ab   "},
                {"\0abc"s, 3, 4, "   ", "   #"},
                {"abcdef", 6, 3, "abc", "abc"}});
}

TEST(InformatChar, QuotesAndReversal) {
  check(zifmcq, {{"'abc", 8, 6, "abc", "abc   "}, // no closing quote
                 {"'it''s' x", 8, 6, "it's", "it's  "},
                 {"\"a\"\"b\"", 8, 4, "a\"b", "a\"b "},
                 {"'abcdef'", 8, 3, "abc", "abc"}, // stops when full
                 // Unquoted text fills the whole buffer, whatever w says.
                 {"abcdefgh", 2, 6, "abcdef", "abcdef"},
                 {"", 2, 3, "", "   "}});
  check(ireverj, {{"abc  ", 5, 5, "  cba", "  cba"},
                  {"abcdef", 3, 3, "cba", "cba"},
                  {"abcdef", 10, 4, "dcba", "dcba"}});
  check(irevers, {{"abc  ", 5, 5, "cba  ", "cba  "},
                  {"ab    ", 3, 3, "ba ", "ba "},
                  {"   ", 3, 3, "   ", "   "}});
}

TEST(InformatChar, ByValue) {
  const auto dbl = [](double x) { return std::string(vftest::bytes_of(x)); };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  check(ibyval, {{"A\0"s, 3, 3, "A  ", "A  "},
                 {"A\x01"s, 2, 2, "A ", "A "},
                 {"C\0\0\x01"s, 2, 2, "C ", "C "},
                 {dbl(-68.2), 2, 2, "D ", "D "},
                 {dbl(256.0 * 256 * 256 * 256 + 69), 2, 2, "E ", "E "},
                 {"GHI", 2, 2, "G ", "G "},
                 {"\x8A\x02"s, 2, 2, "A ", "A ", 1}, // 650 with 1 decimal
                 {dbl(valfmt::standard_missing()), 2, 2, "  ", "  "},
                 {dbl(nan), 2, 2, "  ", "  "},
                 {"AB", 8, 1, "A", "A"}});
}

TEST(InformatChar, HostileCallBlocks) {
  const fmtfn fns[] = {zifmc,   zifmzbc, zifmupc, zifmasc, zifmcq,
                       ireverj, irevers, icstr,   ibyval};
  for (fmtfn fn : fns) {
    EXPECT_EQ(fn(nullptr), VF_ERR_BAD_CALL);
    for (int32_t w : {-5, 0, 1, 8, 32767}) {
      for (int32_t outsize : {0, 1, 7, 100}) {
        for (const std::string &t :
             {""s, "'x''"s, "\0\0"s, "\xFF\x80"s, std::string(32767, 'q')}) {
          const vftest::Run r = vftest::input(fn, t, w, 0, outsize);
          EXPECT_EQ(r.status, VF_OK);
          EXPECT_GE(r.outlen, 0);
          EXPECT_LE(r.outlen, outsize);
        }
      }
    }
    // Negative valuelen and outsize, no buffers at all.
    fmtcall c{};
    c.w = 4;
    c.value = "abcd";
    c.valuelen = -3;
    EXPECT_LE(vftest::run_block(fn, nullptr, c, 4).outlen, 4);
    c.valuelen = 4;
    EXPECT_EQ(vftest::run_block(fn, nullptr, c, -1).outlen, 0);
    c.value = nullptr;
    EXPECT_EQ(vftest::run_block(fn, nullptr, c, 4).status, VF_OK);
    c.outsize = 4; // and no output buffer
    EXPECT_EQ(fn(&c), VF_OK);
    EXPECT_EQ(c.outlen, 0);
  }
}

} // namespace
