// The shared field routines on narrow and (unaligned) UCS-2 text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "numeric/text_fields.h"

namespace {

using valfmt::TextSpan;
using valfmt::Ucs2Field;
using valfmt::Ucs2Text;

// UCS-2 little-endian bytes of a narrow text, one byte after an odd
// offset, with guard bytes after it.
class Wide {
public:
  explicit Wide(const std::string &s, uint16_t high = 0)
      : bytes_(1 + 2 * s.size() + 4, 0xEE) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      bytes_[1 + 2 * i] = static_cast<unsigned char>(s[i]);
      // A high byte turns a unit into a character beyond Latin-1 whose low
      // byte still equals the narrow character; only the blank stays plain.
      bytes_[2 + 2 * i] =
          s[i] == ' ' ? 0 : static_cast<unsigned char>(high >> 8);
    }
  }
  Ucs2Field field() { return Ucs2Field{bytes_.data() + 1}; }
  Ucs2Text text() { return Ucs2Text{bytes_.data() + 1}; }
  int32_t size() const { return static_cast<int32_t>((bytes_.size() - 5) / 2); }
  // The units back as narrow text (low bytes), checking the guard.
  std::string narrow() const {
    EXPECT_EQ(bytes_.back(), 0xEE) << "wrote past the field";
    std::string s;
    for (int32_t i = 0; i < size(); ++i)
      s += static_cast<char>(bytes_[1 + 2 * static_cast<std::size_t>(i)]);
    return s;
  }
  uint16_t unit(int32_t i) const {
    const auto k = 1 + 2 * static_cast<std::size_t>(i);
    return static_cast<uint16_t>(bytes_[k] | (bytes_[k + 1] << 8));
  }

private:
  std::vector<unsigned char> bytes_;
};

int32_t len(const std::string &s) {
  return static_cast<int32_t>(s.size());
}

TEST(TextFields, FindAndVerifyAgreeOnBothForms) {
  struct Case {
    std::string text;
    char c;
    int32_t pos;   // first c
    int32_t not_c; // first other than c
  };
  const Case cases[] = {
      {"  -1,234.50", '.', 8, 0}, {"   ", ' ', 0, -1}, {"abc", 'c', 2, 0},
      {"xxxy", 'x', 0, 3},        {"", 'a', -1, -1},
  };
  for (const Case &k : cases) {
    Wide wide(k.text);
    EXPECT_EQ(valfmt::wzstpos(k.text.data(), len(k.text), k.c), k.pos)
        << k.text;
    EXPECT_EQ(valfmt::wzstpos(wide.text(), len(k.text), uint16_t(k.c)), k.pos);
    EXPECT_EQ(valfmt::wzstnot(k.text.data(), len(k.text), k.c), k.not_c);
    EXPECT_EQ(valfmt::wzstnot(wide.text(), len(k.text), uint16_t(k.c)),
              k.not_c);
    EXPECT_EQ(valfmt::vzabl(k.text.data(), len(k.text), k.c), k.not_c < 0);
    EXPECT_EQ(valfmt::vzabl(wide.text(), len(k.text), uint16_t(k.c)),
              k.not_c < 0);
  }
  // The length bounds the search: a match beyond it is not seen.
  EXPECT_EQ(valfmt::wzstpos("ab.", 2, '.'), -1);
  EXPECT_TRUE(valfmt::vzabl("**x", 2, '*'));
  EXPECT_EQ(valfmt::wzstpos(nullptr, 5, 'a'), -1);
}

TEST(TextFields, UnitsBeyondLatin1AreDistinctCharacters) {
  // 0x012E has the low byte of '.', but it is not a '.'.
  Wide wide("a.b", 0x0100);
  EXPECT_EQ(valfmt::wzstpos(wide.text(), 3, uint16_t('.')), -1);
  EXPECT_EQ(valfmt::wzstpos(wide.text(), 3, uint16_t(0x012E)), 1);
  EXPECT_FALSE(valfmt::vzabl(wide.text(), 3, uint16_t('a')));
  valfmt::upcase_ascii(wide.field(), 3);
  EXPECT_EQ(wide.unit(0), 0x0161) << "only a..z are upper-cased";
}

TEST(TextFields, VerifyFindsFirstCharacterOutsideTheSet) {
  const std::string digits = "0123456789";
  const std::vector<uint16_t> wdigits(digits.begin(), digits.end());
  struct Case {
    std::string text;
    int32_t pos;
  };
  for (const Case &k :
       {Case{"1234", -1}, Case{"12a4", 2}, Case{" 12", 0}, Case{"9", -1}}) {
    EXPECT_EQ(
        valfmt::wzstver(k.text.data(), len(k.text), digits.data(), len(digits)),
        k.pos)
        << k.text;
    Wide wide(k.text);
    EXPECT_EQ(
        valfmt::wzstver(wide.text(), len(k.text), wdigits.data(), len(digits)),
        k.pos);
  }
  // An empty set holds nothing: the first character is already outside.
  EXPECT_EQ(valfmt::wzstver("ab", 2, "", 0), 0);
}

TEST(TextFields, ReplaceCountsAndStaysInsideTheField) {
  std::string s = "1,234,567.,";
  EXPECT_EQ(valfmt::wzstrnc(s.data(), 10, ',', '.'), 2);
  EXPECT_EQ(s, "1.234.567.,") << "the byte after the length is kept";
  Wide wide("1,234,567.,");
  EXPECT_EQ(valfmt::wzstrnc(wide.field(), 10, ',', '.'), 2);
  EXPECT_EQ(wide.narrow(), "1.234.567.,");
}

TEST(TextFields, JustifyMovesTrimmedTextAndReportsIt) {
  struct Case {
    std::string text;
    char mode;
    std::string result;
    TextSpan span;
  };
  const Case cases[] = {
      {"  ab c  ", 'L', "ab c    ", {0, 4}},
      {"  ab c  ", 'r', "    ab c", {4, 4}},
      {"  ab c  ", 'C', "  ab c  ", {2, 4}},
      {" abc    ", 'c', "  abc   ", {2, 3}}, // odd spare column goes right
      {"  ab c  ", 'X', "  ab c  ", {2, 4}}, // other modes do not move
      {"        ", 'L', "        ", {0, 0}},
      {"abcdefgh", 'R', "abcdefgh", {0, 8}},
  };
  for (const Case &k : cases) {
    std::string s = k.text;
    const TextSpan got = valfmt::wzstjls(s.data(), len(s), k.mode);
    EXPECT_EQ(s, k.result) << "'" << k.text << "' mode " << k.mode;
    EXPECT_EQ(got.start, k.span.start);
    EXPECT_EQ(got.length, k.span.length);
    Wide wide(k.text);
    const TextSpan wgot = valfmt::wzstjls(wide.field(), len(k.text), k.mode);
    EXPECT_EQ(wide.narrow(), k.result);
    EXPECT_EQ(wgot.start, k.span.start);
    EXPECT_EQ(wgot.length, k.span.length);
  }
  const TextSpan s = valfmt::text_span("   -12 ", 7);
  EXPECT_EQ(s.start, 3);
  EXPECT_EQ(s.length, 3);
}

TEST(TextFields, Ucs2CopyStripFillAndUpcase) {
  Wide src("ab  ");
  EXPECT_EQ(valfmt::trimmed_length(src.text(), 4), 2);
  EXPECT_EQ(valfmt::trimmed_length(src.text(), 0), 0);
  Wide dst("xxxxxx");
  valfmt::copy_padded(dst.field(), 6, src.text(), 2);
  EXPECT_EQ(dst.narrow(), "ab    ");
  valfmt::copy_padded(dst.field(), 1, src.text(), 4);
  EXPECT_EQ(dst.narrow(), "ab    ") << "a shorter field copies less";
  // Overlapping copy one unit to the right.
  Wide overlap("abcd  ");
  valfmt::copy_padded(
      Ucs2Field{static_cast<unsigned char *>(overlap.field().bytes) + 2}, 5,
      overlap.text(), 4);
  EXPECT_EQ(overlap.narrow(), "aabcd ");
  Wide up("a-z{`");
  valfmt::upcase_ascii(up.field(), 5);
  EXPECT_EQ(up.narrow(), "A-Z{`");
  valfmt::vzfbl(up.field(), 2);
  EXPECT_EQ(up.narrow(), "  Z{`");
  std::string n = "abc";
  valfmt::vzfbl(n.data(), 2);
  EXPECT_EQ(n, "  c");
}

} // namespace
