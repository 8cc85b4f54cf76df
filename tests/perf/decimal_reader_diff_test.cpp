// The one-pass reading of plain decimal texts against the chunk folding
// of the standard reader: status and stored bits must agree for every
// text.  Inputs: every power of ten written out in integers and fractions,
// integers around 2^53 (where the one-pass path hands over), 19- and
// 20-digit texts, 22 and 23 decimals, every implied-decimals count,
// signs, leading and trailing zeros, blanks and tabs around the text,
// notation, exponents and junk, and millions of random texts.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "informats/informats.h"

namespace {

struct Reading {
  int32_t status;
  uint64_t bits;
};

constexpr uint64_t kUntouched = 0x5A5A5A5A5A5A5A5Aull;

Reading read_with(int32_t (*reader)(const char *, int32_t, int32_t, void *),
                  const std::string &text, int32_t d) {
  uint64_t bits = kUntouched;
  const int32_t st =
      reader(text.data(), static_cast<int32_t>(text.size()), d, &bits);
  return {st, bits};
}

// Compares both readings; reports at most a few texts per suite.
class Differ {
public:
  void check(const std::string &text, int32_t d) {
    const Reading a = read_with(valfmt::read_number, text, d);
    const Reading b = read_with(valfmt::read_number_by_folding, text, d);
    ++checked_;
    if (a.status == 0 && b.status == 0 && a.bits != kUntouched) ++values_;
    if (a.status != b.status || a.bits != b.bits) {
      if (++failures_ <= 5)
        ADD_FAILURE() << "text '" << text << "' d " << d << ": status "
                      << a.status << " vs " << b.status << ", bits " << std::hex
                      << a.bits << " vs " << b.bits;
    }
  }
  int64_t checked() const { return checked_; }
  int64_t values() const { return values_; }
  int64_t failures() const { return failures_; }

private:
  int64_t checked_ = 0, values_ = 0, failures_ = 0;
};

const int32_t kDecimals[] = {0, 1, 2, 5, 15, 22, 23, 31, 98, 99};

TEST(DecimalReaderDiff, PowersOfTenInEveryLayout) {
  Differ diff;
  for (int k = 0; k <= 40; ++k) {
    const std::string ones = "1" + std::string(static_cast<size_t>(k), '0');
    const std::string frac =
        "0." + std::string(static_cast<size_t>(k), '0') + "1";
    const std::string nines(static_cast<size_t>(k + 1), '9');
    for (const std::string &t :
         {ones, frac, "." + std::string(static_cast<size_t>(k), '0') + "1",
          ones + ".", ones + ".0", "-" + ones, "+" + frac, nines, "0." + nines,
          nines + ".5"})
      for (int32_t d : kDecimals) diff.check(t, d);
  }
  EXPECT_EQ(diff.failures(), 0);
  EXPECT_GT(diff.values(), 3000);
}

TEST(DecimalReaderDiff, AroundTheExactIntegerLimitAndTheDigitCount) {
  Differ diff;
  // 2^53 - 3 .. 2^53 + 3 with the point at every position.
  for (uint64_t m = (1ull << 53) - 3; m <= (1ull << 53) + 3; ++m) {
    const std::string digits = std::to_string(m);
    for (size_t at = 0; at <= digits.size(); ++at)
      for (int32_t d : kDecimals) {
        diff.check(digits.substr(0, at) + "." + digits.substr(at), d);
        diff.check("-" + digits, d);
      }
  }
  // 18 to 21 digits, with leading zeros and a point.
  for (int n = 18; n <= 21; ++n) {
    const std::string t(static_cast<size_t>(n), '7');
    for (const std::string &s :
         {t, "0" + t, t + "0", "0." + t, t + ".0",
          std::string("00000000000000000001.5"), "-0." + t})
      for (int32_t d : kDecimals) diff.check(s, d);
  }
  // 22 and 23 decimals.
  for (const char *s : {"0.1234567890123456789012", "0.12345678901234567890123",
                        "1.0000000000000000000001", "0.0000000000000000000001",
                        "0.00000000000000000000001"})
    diff.check(s, 0);
  EXPECT_EQ(diff.failures(), 0);
}

TEST(DecimalReaderDiff, SignsZerosBlanksNotationAndJunk) {
  Differ diff;
  const char *texts[] = {"0",
                         "-0",
                         "+0",
                         "-0.0",
                         "0.",
                         ".0",
                         "000",
                         "-000.000",
                         "00.5",
                         "-.5",
                         "+.5",
                         ".",
                         "-.",
                         "+",
                         "-",
                         "..",
                         ".a",
                         "a",
                         "_",
                         "._",
                         "1.2.3",
                         "1e5",
                         "1E-5",
                         "1d2",
                         "-1.5e+3",
                         "1-",
                         "1 2",
                         "1,5",
                         "12a",
                         "0x10",
                         "--1",
                         "+-1",
                         " 12",
                         "12 ",
                         "\t-3.25\t",
                         "  .5  ",
                         " ",
                         "\t",
                         "1.",
                         "-1.",
                         "5.00",
                         "500",
                         "0.0500",
                         "123456789012345678",
                         "1234567890123456789",
                         "12345678901234567890",
                         "99999999999999999999"};
  for (const char *t : texts)
    for (int32_t d : kDecimals) diff.check(t, d);
  // Every single byte, and every byte after a digit.
  for (int c = 0; c < 256; ++c) {
    diff.check(std::string(1, static_cast<char>(c)), 0);
    diff.check("7" + std::string(1, static_cast<char>(c)), 1);
    diff.check(std::string(1, static_cast<char>(c)) + "7", 2);
  }
  EXPECT_EQ(diff.failures(), 0);
}

// Texts as data files hold them and texts built to stress the reader:
// random digit strings with a sign, a point anywhere, runs of zeros, and
// now and then blanks or a stray character.
std::string random_text(std::mt19937_64 &rng) {
  auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  std::string s;
  const int sign = pick(0, 9);
  if (sign == 0) s += '-';
  if (sign == 1) s += '+';
  const int n = pick(1, pick(0, 3) == 0 ? 24 : 12);
  const int point = pick(-1, n);
  for (int i = 0; i < n; ++i) {
    if (i == point) s += '.';
    const int kind = pick(0, 9);
    s += static_cast<char>('0' + (kind < 3 ? 0 : pick(0, 9)));
  }
  if (point == n) s += '.';
  const int extra = pick(0, 49);
  if (extra == 0) s.insert(0, " ");
  if (extra == 1) s += "\t";
  if (extra == 2)
    s.insert(static_cast<size_t>(pick(0, static_cast<int>(s.size()))), "x");
  if (extra == 3) s += "E" + std::to_string(pick(-30, 30));
  return s;
}

TEST(DecimalReaderDiff, MillionsOfRandomTexts) {
  std::mt19937_64 rng(2024);
  Differ diff;
  for (int i = 0; i < 1200000; ++i)
    diff.check(random_text(rng),
               kDecimals[static_cast<size_t>(
                   i % static_cast<int>(std::size(kDecimals)))]);
  // Random doubles written with up to 17 significant digits.
  for (int i = 0; i < 300000; ++i) {
    const double x =
        std::bit_cast<double>(rng() >> 2) * (i % 2 == 0 ? 1.0 : -1.0);
    char b[40];
    std::snprintf(b, sizeof b, "%.*f", static_cast<int>(rng() % 12), x);
    if (std::strlen(b) <= 32) diff.check(b, 0);
  }
  EXPECT_EQ(diff.failures(), 0);
  EXPECT_GT(diff.values(), 900000);
}

} // namespace
