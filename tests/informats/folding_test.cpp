// The standard reader's digit folding against independent references: an
// exact integer for texts of at most 15 significant digits (and, where the
// scale stays within 10^22, the correctly rounded value), and a
// chunk-by-chunk folding of the digit string for any length.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "registry/functions.h"
#include "core/missing.h"

namespace {

struct Ref {
  int32_t status;
  uint64_t bits;
};

// wzifmn on the text (the fenced runner's page mapping per call would
// dominate the run time of these sweeps).
Ref read(const std::string &text, int32_t d) {
  double out = 0;
  fmtcall c{};
  c.w = c.valuelen = static_cast<int32_t>(text.size());
  c.d = d;
  c.value = text.data();
  c.out = &out;
  c.outsize = 8;
  return {wzifmn(&c), std::bit_cast<uint64_t>(out)};
}

// A plain decimal text: its digits in scan order (after the leading-zero
// skip), the point's position and the exponent.
struct Parsed {
  bool negative = false;
  std::string digits;
  long point = -1;
  long exponent = 0;
  long significant() const { // up to the last nonzero digit
    const auto last = digits.find_last_not_of('0');
    return last == std::string::npos ? 0 : static_cast<long>(last) + 1;
  }
  long scale(int d) const {
    if (point >= 0) return exponent + point - significant();
    return exponent - d + static_cast<long>(digits.size()) - significant();
  }
};

Parsed parse(const std::string &text) {
  std::size_t i = text.find_first_not_of(' ');
  const std::size_t n = text.find_last_not_of(' ') + 1;
  Parsed p;
  if (text[i] == '+' || text[i] == '-') p.negative = text[i++] == '-';
  while (i + 1 < n && text[i] == '0') ++i;
  for (; i < n; ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      p.digits += text[i];
    } else if (text[i] == '.') {
      p.point = static_cast<long>(p.digits.size());
    } else {
      p.exponent = std::stol(text.substr(i + 1, n - i - 1));
      break;
    }
  }
  return p;
}

double pow10(long k) {
  return std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);
}

// The scaling step shared by both references.
Ref scale(double acc, long s, bool negative) {
  const Ref range{VF_WARN_RANGE, valfmt::kStandardMissingBits};
  if (acc == 0) return {VF_OK, 0};
  if (s > 308 || -s > 616) return range;
  double x = acc;
  if (s > 0) x *= pow10(s);
  if (s < 0) x = -s <= 308 ? x / pow10(-s) : x / pow10(308) / pow10(-s - 308);
  if (x == 0 || std::isinf(x)) return range;
  return {VF_OK, std::bit_cast<uint64_t>(negative ? -x : x)};
}

// Reference 1: the digits from the first to the last nonzero one as an
// exact integer; none when there are more than 15 of them.
std::optional<Ref> exact_reference(const Parsed &p, int d) {
  const long sig = p.significant();
  if (sig == 0) return Ref{VF_OK, 0};
  const auto first = static_cast<long>(p.digits.find_first_not_of('0'));
  if (sig - first > 15) return std::nullopt;
  const uint64_t m = std::stoull(p.digits.substr(
      static_cast<std::size_t>(first), static_cast<std::size_t>(sig - first)));
  return scale(static_cast<double>(m), p.scale(d), p.negative);
}

// Reference 2: the digit string cut into chunks of nine positions from its
// first scanned digit, each folded as acc * 10^len + chunk.
Ref chunk_reference(const Parsed &p, int d) {
  double acc = 0;
  for (long i = 0; i < p.significant(); i += 9) {
    const long len = std::min(9L, p.significant() - i);
    acc = acc * pow10(len) +
          std::stod(p.digits.substr(static_cast<std::size_t>(i),
                                    static_cast<std::size_t>(len)));
  }
  return scale(acc, p.scale(d), p.negative);
}

// Blanks, sign, leading zeros, digits (one in five a zero), a point or
// implied decimals, an optional exponent of any style.
std::string random_text(std::mt19937_64 &rng, int max_digits, int *d) {
  const auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  const auto digits = [&](int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
      s += static_cast<char>('0' + (pick(0, 4) == 0 ? 0 : pick(0, 9)));
    return s;
  };
  const char *const signs[] = {"", "-", "+"};
  const auto run = [&](char c, int odds) { // 1 to 3 of c, one time in odds
    return std::string(pick(1, odds) == 1 ? std::size_t(pick(1, 3)) : 0, c);
  };
  std::string t = run(' ', 4);
  t += signs[pick(0, 2)];
  t += run('0', 5);
  const int whole = pick(0, max_digits);
  t += digits(whole);
  *d = 0;
  if (pick(0, 1)) {
    t += '.' + digits(pick(whole == 0 ? 1 : 0, max_digits - whole));
  } else {
    if (whole == 0) t += digits(1);
    *d = pick(0, 3) == 0 ? pick(1, 31) : 0;
  }
  if (pick(0, 2) == 0) {
    t += "eEdD"[pick(0, 3)];
    t += signs[pick(0, 2)];
    t += std::to_string(pick(0, 3) == 0 ? pick(0, 700) : pick(0, 40));
  }
  return t;
}

void compare(const std::string &t, int d, const Ref &want) {
  const Ref got = read(t, d);
  EXPECT_EQ(got.status, want.status) << '"' << t << "\" d=" << d;
  EXPECT_EQ(got.bits, want.bits)
      << '"' << t << "\" d=" << d << " got " << std::bit_cast<double>(got.bits)
      << " want " << std::bit_cast<double>(want.bits);
}

TEST(InformatFolding, UpTo15SignificantDigitsIsTheExactFolding) {
  std::vector<std::string> texts = {
      "999999999999999E-22", "123456789012345E-300", "123456789012345E293",
      "1.7976931348623E308", ".000000000000000000000123456789012345"};
  std::vector<int> ds(texts.size(), 0);
  std::mt19937_64 rng(20240611);
  for (int i = 0; i < 200000; ++i) {
    ds.push_back(0);
    texts.push_back(random_text(rng, 15, &ds.back()));
  }
  int compared = 0;
  int rounded = 0;
  for (std::size_t i = 0; i < texts.size() && !HasFailure(); ++i) {
    const Parsed p = parse(texts[i]);
    const auto want = exact_reference(p, ds[i]);
    if (!want) continue; // more than 15 significant digits
    compare(texts[i], ds[i], *want);
    ++compared;
    // One exact operation on exact operands: correctly rounded.
    const long s = p.scale(ds[i]);
    if (s < -22 || s > 22 || p.significant() == 0) continue;
    const auto first = p.digits.find_first_not_of('0');
    const auto sig = static_cast<std::size_t>(p.significant());
    const std::string norm =
        p.digits.substr(first, sig - first) + "e" + std::to_string(s);
    double x = 0;
    std::from_chars(norm.data(), norm.data() + norm.size(), x);
    EXPECT_EQ(want->bits, std::bit_cast<uint64_t>(p.negative ? -x : x))
        << texts[i];
    ++rounded;
  }
  EXPECT_GT(compared, 150000);
  EXPECT_GT(rounded, 50000);
}

TEST(InformatFolding, LongDigitStringsFoldChunkByChunk) {
  std::vector<std::string> texts = {
      "9007199254740993", "1" + std::string(20, '0') + "1",
      "1" + std::string(9, '0') + "1" + std::string(17, '0') + "3"};
  std::vector<int> ds(texts.size(), 0);
  std::mt19937_64 rng(77);
  for (int i = 0; i < 100000; ++i) {
    ds.push_back(0);
    texts.push_back(random_text(rng, 40, &ds.back()));
  }
  for (std::size_t i = 0; i < texts.size() && !HasFailure(); ++i)
    compare(texts[i], ds[i], chunk_reference(parse(texts[i]), ds[i]));
}

} // namespace
