// $QUOTE on narrow and UCS-2 input.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

vftest::Run quote(const std::string &in, int32_t w, int32_t outsize = -1) {
  return vftest::input(zfmcq, in, w, 0,
                       outsize < 0 ? (w > 0 ? w : 0) : outsize);
}

// The same text as UCS-2 little-endian units; a character may also be a
// unit beyond Latin-1 given as a pair of bytes already.
std::string widen(const std::string &s) {
  std::string out;
  for (char c : s) {
    out += c;
    out += '\0';
  }
  return out;
}

vftest::Run quote_wide(const std::string &units, int32_t w, int32_t outsize) {
  const vftest::FencedBytes in(units);
  fmtcall c{};
  c.w = w;
  c.value = in.data();
  c.valuelen = static_cast<int32_t>(units.size() / 2);
  c.inenc = VF_ENC_UCS2;
  return vftest::run_block(zfmcq, nullptr, c, outsize);
}

void expect_quote(const std::string &in, int32_t w, const std::string &text,
                  int32_t status = VF_OK) {
  const vftest::Run r = quote(in, w);
  EXPECT_EQ(r.text, text) << "'" << in << "' w=" << w;
  EXPECT_EQ(r.status, status) << "'" << in << "' w=" << w;
  EXPECT_EQ(r.outenc, VF_ENC_NARROW);
  // The UCS-2 path gives the same characters as 16-bit units.
  const vftest::Run wr = quote_wide(widen(in), w, 2 * (w > 0 ? w : 0));
  EXPECT_EQ(wr.text, widen(text)) << "UCS-2 '" << in << "' w=" << w;
  EXPECT_EQ(wr.status, status);
  EXPECT_EQ(wr.outenc, VF_ENC_UCS2);
}

TEST(Quote, DoubledQuotesAndTheCut) {
  // The doubled quote would fill columns 3 and 4: the closing quote takes
  // column 3 and column 4 is blank.
  expect_quote("ab\"c", 5, "\"ab\" ");
  expect_quote("ab\"c", 6, "\"ab\"\"\"");
}

TEST(Quote, BlanksEmptyInputAndNarrowFields) {
  expect_quote(" a", 5, "\" a\" ");
  expect_quote("abc", 1, " ", VF_ERR_NO_ROOM);
  expect_quote("abc", 0, "", VF_ERR_NO_ROOM);
  expect_quote("abc", -3, "", VF_ERR_NO_ROOM);
}

TEST(Quote, BufferSmallerThanTheField) {
  vftest::Run r = quote("abcdef", 10, 5);
  EXPECT_EQ(r.text, "\"abc\"") << "cut to the buffer, still closed";
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  r = quote("abc", 10, 1);
  EXPECT_EQ(r.text, " ");
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  r = quote("abc", 10, 0);
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  // UCS-2: the buffer holds outsize / 2 units; an odd byte stays unused.
  r = quote_wide(widen("abcdef"), 10, 11);
  EXPECT_EQ(r.text, widen("\"abc\""));
  EXPECT_EQ(r.outlen, 10);
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(r.buffer[10], '#') << "the odd byte is not written";
}

TEST(Quote, Ucs2UnitsBeyondLatin1AreNotQuotes) {
  // U+0122 has the low byte of '"' but is a letter; U+2002 is a blank of
  // another kind and is kept at the end.
  const std::string units =
      std::string("\x22\x01", 2) + "a" + '\0' + std::string("\x02\x20", 2);
  const vftest::Run r = quote_wide(units, 6, 12);
  EXPECT_EQ(r.text, widen("\"") + units + widen("\" "));
  EXPECT_EQ(r.status, VF_OK);
}

TEST(Quote, WidestField) {
  const std::string in(40000, 'x');
  const vftest::Run r = quote(in, 32767);
  ASSERT_EQ(r.text.size(), 32767u);
  EXPECT_EQ(r.text, "\"" + std::string(32765, 'x') + "\"");
  const std::string quotes(20000, '"');
  const vftest::Run q = quote_wide(widen(quotes), 32767, 2 * 32767);
  // 16382 doubled quotes fill columns 1..32764, then the closing quote.
  EXPECT_EQ(q.text, widen(std::string(32766, '"') + " "));
}

// Reads a $QUOTE result back: the characters between the quotes with the
// doubled quotes undone.  False when the text is not a closed quoted
// string followed by blanks.
bool read_back(const std::string &text, std::string &value) {
  const std::size_t end = text.find_last_not_of(' ');
  if (text.size() < 2 || text[0] != '"' || end == 0 || text[end] != '"')
    return false;
  value.clear();
  for (std::size_t i = 1; i < end; ++i) {
    if (text[i] == '"') {
      if (i + 1 >= end || text[i + 1] != '"') return false;
      ++i;
    }
    value += text[i];
  }
  return true;
}

TEST(Quote, EveryResultReadsBackAsTheLongestPrefixThatFits) {
  std::mt19937 rng(5);
  const std::string alphabet = "ab \"\"";
  for (int i = 0; i < 3000; ++i) {
    std::string in;
    const auto n = rng() % 12;
    for (unsigned k = 0; k < n; ++k) in += alphabet[rng() % alphabet.size()];
    const auto w = static_cast<int32_t>(2 + rng() % 20);
    const vftest::Run r = quote(in, w);
    ASSERT_EQ(r.text.size(), static_cast<std::size_t>(w));
    ASSERT_EQ(quote_wide(widen(in), w, 2 * w).text, widen(r.text)) << in;
    std::string value;
    ASSERT_TRUE(read_back(r.text, value)) << "'" << in << "' -> " << r.text;
    const std::string stripped = in.substr(0, in.find_last_not_of(' ') + 1);
    ASSERT_EQ(stripped.compare(0, value.size(), value), 0)
        << "'" << in << "' -> " << r.text;
    // Columns used: the value with its doubled quotes and two quotes.
    std::size_t used = 2 + value.size();
    for (char c : value) used += c == '"';
    if (value.size() < stripped.size()) {
      const std::size_t next = stripped[value.size()] == '"' ? 2 : 1;
      EXPECT_GT(used + next, static_cast<std::size_t>(w))
          << "a character that fits was left out: '" << in << "' w=" << w;
    }
  }
}

} // namespace
