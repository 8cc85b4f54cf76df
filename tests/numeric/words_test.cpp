// WORDS and WORDF: numbers in English words, checked against a recursive
// speller written here, at every cut width and up to the widest field.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "numeric/words_helpers.h"
#include "registry/functions.h"
#include "valfmt.h"

namespace {

using vfwords::call;
using vfwords::left;
using vfwords::Shown;

// English words of 1 <= n < 1e9, spelled recursively from the largest
// unit down: the independent reading of the number the formats spell.
std::string spell(uint64_t n) {
  static const char *const kSmall[] = {
      "",        "one",     "two",       "three",    "four",
      "five",    "six",     "seven",     "eight",    "nine",
      "ten",     "eleven",  "twelve",    "thirteen", "fourteen",
      "fifteen", "sixteen", "seventeen", "eighteen", "nineteen"};
  static const char *const kTens[] = {"",       "",      "twenty", "thirty",
                                      "forty",  "fifty", "sixty",  "seventy",
                                      "eighty", "ninety"};
  const auto unit = [](uint64_t v, uint64_t size, const char *name) {
    std::string s = spell(v / size) + " " + name;
    if (v % size != 0) s += " " + spell(v % size);
    return s;
  };
  if (n >= 1000000) return unit(n, 1000000, "million");
  if (n >= 1000) return unit(n, 1000, "thousand");
  if (n >= 100) return unit(n, 100, "hundred");
  if (n >= 20)
    return std::string(kTens[n / 10]) +
           (n % 10 != 0 ? std::string("-") + kSmall[n % 10] : "");
  return kSmall[n];
}

// WORDS of (negative ? -1 : 1) * (n + c / 100).
std::string words_text(bool negative, uint64_t n, uint64_t c) {
  std::string s = negative ? "minus " : "";
  s += n == 0 ? "zero" : spell(n);
  if (c != 0) s += " and " + spell(c) + " hundredths";
  return s;
}

// WORDF of (negative ? -1 : 1) * (n + c / 100).
std::string wordf_text(bool negative, uint64_t n, uint64_t c) {
  char cents[8];
  std::snprintf(cents, sizeof cents, "%02u", static_cast<unsigned>(c));
  return std::string(negative ? "minus " : "") + (n == 0 ? "zero" : spell(n)) +
         " and " + cents + "/100";
}

// A text in w columns: whole and padded, or its first w - 1 characters and
// '*'.
std::string cut(const std::string &text, int32_t w) {
  if (static_cast<int32_t>(text.size()) <= w) return left(text, w);
  return text.substr(0, static_cast<std::size_t>(w - 1)) + "*";
}

double amount(uint64_t n, uint64_t c) {
  return static_cast<double>(n) + static_cast<double>(c) / 100.0;
}

// Values for the cut-width sweeps.
struct Amount {
  bool negative;
  uint64_t n;
  uint64_t c;
  double value() const { return (negative ? -1 : 1) * amount(n, c); }
};
constexpr Amount kCutAmounts[] = {{false, 1234567, 89}, {true, 777777777, 77},
                                  {false, 0, 25},       {false, 1000001, 0},
                                  {false, 21, 0},       {true, 5, 0},
                                  {true, 0, 30},        {false, 12, 34}};

void expect_words(fmtfn fn, double v, int32_t w, const std::string &want) {
  const Shown s = call(fn, v, w);
  EXPECT_EQ(s.text, want) << v << " w=" << w;
  EXPECT_EQ(s.status, VF_OK) << v << " w=" << w;
}

TEST(Words, KnownTexts) {
  expect_words(zfmwrds, 2e9, 12, "large_number");
  expect_words(zfmwrds, -0.0, 5, "zero ");
  // Fractions below a hundredth add nothing; above 0.9999 round up.
  expect_words(zfmwrds, 7.004, 5, "seven");
  expect_words(zfmwrds, 0.99995, 5, "one  ");
  expect_words(zfmwrds, 19.99999, 10, "twenty    ");
}

TEST(Words, BothFormatsAgreeWithARecursiveSpeller) {
  const auto check = [](uint64_t n, uint64_t c) {
    for (bool negative : {false, true}) {
      const double v = (negative ? -1 : 1) * amount(n, c);
      const std::string want = words_text(negative && v != 0, n, c);
      expect_words(zfmwrds, v, 160, left(want, 160));
      expect_words(zfmwrdf, v, 150,
                   left(wordf_text(negative && v != 0, n, c), 150));
    }
  };
  for (uint64_t n = 0; n <= 2100; ++n) check(n, n % 100);
  std::mt19937_64 rng(11);
  for (int i = 0; i < 20000; ++i) check(rng() % 1000000000, rng() % 100);
  // Group boundaries, with and without empty groups.
  for (uint64_t n : {999999999ull, 100000000ull, 1000000ull, 1000001ull,
                     1001000ull, 100100ull, 20000020ull, 990000099ull})
    check(n, 0);
}

TEST(Words, LargeNumbers) {
  for (fmtfn fn : {zfmwrds, zfmwrdf}) {
    for (double v : {1e9, 1e308, std::numeric_limits<double>::infinity()}) {
      expect_words(fn, v, 12, "large_number");
      // Fills the field exactly: whole, with no mark.
      expect_words(fn, -v, 18, "minus large_number");
      expect_words(fn, -v, 17, "minus large_numb*");
    }
    // A fraction that rounds up to the limit gives "large_number" like
    // the limit itself.
    expect_words(fn, 999999999.99995, 12, "large_number");
  }
  // Just below the limit the number is still spelled.
  expect_words(zfmwrds, 999999999.5, 160,
               left(words_text(false, 999999999, 50), 160));
  expect_words(zfmwrdf, 999999999.99, 110,
               left(wordf_text(false, 999999999, 99), 110));
}

TEST(Words, EveryCutWidth) {
  for (const Amount &a : kCutAmounts) {
    const std::string words = words_text(a.negative, a.n, a.c);
    const std::string wordf = wordf_text(a.negative, a.n, a.c);
    const auto longest =
        static_cast<int32_t>(std::max(words.size(), wordf.size()));
    for (int32_t w = 5; w <= longest + 3; ++w) {
      expect_words(zfmwrds, a.value(), w, cut(words, w));
      expect_words(zfmwrdf, a.value(), w, cut(wordf, w));
    }
  }
  // A cut on the blank between two words is still marked: these texts are
  // not the numbers' words.
  expect_words(zfmwrds, 1000000, 11, "one million");
  expect_words(zfmwrds, 2001, 12, "two thousan*");
  expect_words(zfmwrdf, -12.34, 12, "minus twelv*");
}

TEST(Words, WidestField) {
  const int32_t w = 32767;
  const std::string want = words_text(false, 1234567, 89);
  const Shown s = call(zfmwrds, 1234567.89, w);
  EXPECT_EQ(s.status, VF_OK);
  EXPECT_EQ(s.text, left(want, w));
  const Shown f = call(zfmwrdf, -12.34, w);
  EXPECT_EQ(f.status, VF_OK);
  EXPECT_EQ(f.text, left("minus twelve and 34/100", w));
}

TEST(Words, MissingValues) {
  for (char c : std::string("._ABMZ")) {
    expect_words(zfmwrds, vfwords::missing(vfwords::code_of(c)), 9,
                 "missing  ");
    expect_words(zfmwrdf, vfwords::missing(vfwords::code_of(c)), 9,
                 "missing  ");
  }
  // A code byte without a character is still a missing value.
  expect_words(zfmwrds, vfwords::missing(0), 7, "missing");
  // The word is cut to a narrow field like padding; it names no number.
  expect_words(zfmwrds, vfwords::missing(0xFE), 5, "missi");
  expect_words(zfmwrdf, vfwords::missing(0xFE), 6, "missin");
}

TEST(Wordf, KnownTexts) {
  expect_words(zfmwrdf, 1.999995, 14, "two and 00/100");
  expect_words(zfmwrdf, -0.0, 15, "zero and 00/100");
}

} // namespace
