// The standard reader's digit folding against two independent reference
// computations: an exact integer for texts of at most 15 significant
// digits, and a chunk-by-chunk folding of the digit string for any length.
// Where the scale stays within 10^22 the result must also be the correctly
// rounded value.
#include <charconv>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "registry/functions.h"
#include "helpers.h"

namespace {

using informat_test::bits_of;
using informat_test::Num;
using informat_test::read;

struct Ref {
  int32_t status;
  uint64_t bits;
};

// A decimal text already known to be a plain number: its digits in scan
// order (after the leading-zero skip), where the point stood, the exponent.
struct Parsed {
  bool negative = false;
  std::string digits;
  int point = -1; // digits before the point
  long exponent = 0;
};

std::optional<Parsed> parse(const std::string &text) {
  std::size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  Parsed p;
  if (i < n && (text[i] == '+' || text[i] == '-'))
    p.negative = text[i++] == '-';
  if (i < n && text[i] == '0')
    while (i + 1 < n && text[i] == '0') ++i;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      p.digits += c;
    } else if (c == '.') {
      if (p.point >= 0) return std::nullopt;
      p.point = static_cast<int>(p.digits.size());
    } else if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
      p.exponent = std::stol(text.substr(i + 1, n - i - 1));
      break;
    } else {
      return std::nullopt;
    }
  }
  return p; // no digit left after the zero skip ("0e5") reads as zero
}

double pow10(long k) {
  return std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);
}

// The scaling step shared by both references.
Ref scale(double acc, long s, bool negative) {
  const uint64_t miss = valfmt::kStandardMissingBits;
  if (acc == 0) return {VF_OK, 0};
  double x = acc;
  if (s > 308) return {VF_WARN_RANGE, miss};
  if (s > 0) x *= pow10(s);
  if (s < 0) {
    if (-s <= 308)
      x /= pow10(-s);
    else if (-s <= 616)
      x = x / pow10(308) / pow10(-s - 308);
    else
      return {VF_WARN_RANGE, miss};
  }
  if (x == 0 || std::isinf(x)) return {VF_WARN_RANGE, miss};
  return {VF_OK, bits_of(negative ? -x : x)};
}

// Significant digit positions: from the first scanned digit to the last
// nonzero one.
long significant(const Parsed &p) {
  const auto last = p.digits.find_last_not_of('0');
  return last == std::string::npos ? 0 : static_cast<long>(last) + 1;
}

long decimal_scale(const Parsed &p, int d) {
  const long sig = significant(p);
  if (p.point >= 0) return p.exponent + p.point - sig;
  return p.exponent - d + (static_cast<long>(p.digits.size()) - sig);
}

// Reference 1: the digits as an exact integer (at most 15 of them from
// the first to the last nonzero digit, so the integer is exact).
std::optional<Ref> exact_reference(const std::string &text, int d) {
  const auto p = parse(text);
  if (!p) return std::nullopt;
  const long sig = significant(*p);
  const auto first = p->digits.find_first_not_of('0');
  if (sig == 0) return Ref{VF_OK, 0};
  if (sig - static_cast<long>(first) > 15) return std::nullopt;
  const uint64_t m = std::stoull(p->digits.substr(first, sig - first));
  return scale(static_cast<double>(m), decimal_scale(*p, d), p->negative);
}

// Reference 2: the digit string cut into chunks of nine positions from
// its first scanned digit, each folded as acc * 10^len + chunk.
std::optional<Ref> chunk_reference(const std::string &text, int d) {
  const auto p = parse(text);
  if (!p) return std::nullopt;
  const long sig = significant(*p);
  double acc = 0;
  for (long i = 0; i < sig; i += 9) {
    const long len = std::min(9L, sig - i);
    acc = acc * pow10(len) + std::stod(p->digits.substr(i, len));
  }
  return scale(acc, decimal_scale(*p, d), p->negative);
}

std::string random_text(std::mt19937_64 &rng, int max_digits, int *d) {
  auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  auto digits = [&](int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
      s += static_cast<char>('0' + (pick(0, 4) == 0 ? 0 : pick(0, 9)));
    return s;
  };
  std::string t(pick(0, 3) == 0 ? pick(1, 3) : 0, ' ');
  const int sign = pick(0, 2);
  if (sign == 1) t += '-';
  if (sign == 2) t += '+';
  t += std::string(pick(0, 4) == 0 ? pick(1, 3) : 0, '0');
  const int whole = pick(0, max_digits);
  t += digits(whole);
  *d = 0;
  if (pick(0, 1)) {
    t += '.';
    t += digits(pick(whole == 0 ? 1 : 0, max_digits - whole));
  } else {
    if (whole == 0) t += digits(1);
    *d = pick(0, 3) == 0 ? pick(1, 31) : 0;
  }
  if (pick(0, 2) == 0) {
    t += "eEdD"[pick(0, 3)];
    const int es = pick(0, 2);
    if (es == 1) t += '-';
    if (es == 2) t += '+';
    t += std::to_string(pick(0, 3) == 0 ? pick(0, 700) : pick(0, 40));
  }
  return t;
}

void compare(const std::string &t, int d, bool exact_only) {
  const Num got = read(wzifmn, t, -1, d);
  const auto want = exact_only ? exact_reference(t, d) : chunk_reference(t, d);
  ASSERT_TRUE(want.has_value()) << '"' << t << '"';
  EXPECT_EQ(got.status, want->status) << '"' << t << "\" d=" << d;
  EXPECT_EQ(got.bits, want->bits)
      << '"' << t << "\" d=" << d << " got " << got.value() << " want "
      << std::bit_cast<double>(want->bits);
}

TEST(InformatFolding, UpTo15SignificantDigitsIsTheExactFolding) {
  const char *edges[] = {"999999999999999",
                         "999999999999999E-22",
                         "0.000000000000001",
                         "123456789012345E-300",
                         "123456789012345E293",
                         "100000000000001",
                         "1000000001",
                         "1000000000.1",
                         "0.1",
                         "0.3",
                         "4.9E-324",
                         "2.5E-324",
                         "1E23",
                         "9E22",
                         "1.7976931348623E308",
                         "000000000000000000000001",
                         ".000000000000000000000123456789012345"};
  for (const char *t : edges) compare(t, 0, true);
  std::mt19937_64 rng(20240611);
  int d = 0;
  int compared = 0;
  for (int i = 0; i < 200000; ++i) {
    const std::string t = random_text(rng, 15, &d);
    if (!exact_reference(t, d)) continue; // more than 15 significant digits
    compare(t, d, true);
    ++compared;
    if (HasFailure()) return;
  }
  EXPECT_GT(compared, 150000);
}

TEST(InformatFolding, LongDigitStringsFoldChunkByChunk) {
  const std::string edges[] = {
      "9007199254740993",
      "2.2250738585072014E-308",
      "1.7976931348623157E308",
      "123456789123456789",
      "1" + std::string(20, '0') + "1",
      "1" + std::string(9, '0') + "1" + std::string(17, '0') + "3",
      "0." + std::string(30, '0') + "1234567890123456789",
      std::string(40, '9'),
      "31415926535897932384626433832795E-31"};
  for (const std::string &t : edges) compare(t, 0, false);
  std::mt19937_64 rng(77);
  int d = 0;
  for (int i = 0; i < 100000; ++i) {
    compare(random_text(rng, 40, &d), d, false);
    if (HasFailure()) return;
  }
}

TEST(InformatFolding, CorrectlyRoundedWithinExactPowers) {
  // Up to 15 significant digits and a scale within 10^22: one exact
  // operation on exact operands, so the result is correctly rounded.
  std::mt19937_64 rng(5);
  int checked = 0;
  int d = 0;
  for (int i = 0; i < 100000; ++i) {
    const std::string t = random_text(rng, 15, &d);
    const auto p = parse(t);
    if (!p || !exact_reference(t, d)) continue;
    const long s = decimal_scale(*p, d);
    if (s < -22 || s > 22 || significant(*p) == 0) continue;
    const auto first = p->digits.find_first_not_of('0');
    const std::string norm = p->digits.substr(first, significant(*p) - first) +
                             "e" + std::to_string(s);
    double want = 0;
    std::from_chars(norm.data(), norm.data() + norm.size(), want);
    if (p->negative) want = -want;
    const Num got = read(wzifmn, t, -1, d);
    ASSERT_EQ(got.bits, bits_of(want)) << '"' << t << "\" d=" << d;
    ++checked;
  }
  EXPECT_GT(checked, 50000);
}

} // namespace
