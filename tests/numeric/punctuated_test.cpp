// The punctuated formats: fallbacks and a sweep against hand grouping.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/missing.h"
#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

void expect_put(fmtfn fn, double v, int32_t w, int32_t d,
                const std::string &text, int32_t status = VF_OK) {
  const vftest::Run r = vftest::put(fn, v, w, d);
  EXPECT_EQ(r.text, text) << "w=" << w << " d=" << d << " v=" << v;
  EXPECT_EQ(r.status, status) << "w=" << w << " d=" << d << " v=" << v;
  EXPECT_EQ(r.outenc, VF_ENC_NARROW);
}

TEST(Punctuated, GroupingIsDroppedWhenItDoesNotFit) {
  // F itself needs scientific notation: its text and status stand.
  expect_put(zfmcma, 1234567, 6, 0, "1.23E6", VF_WARN);
  expect_put(zfmcmax, 1234567, 6, 0, "1,23E6", VF_WARN);
  expect_put(zfmcma, 1e20, 32, 2, "  100,000,000,000,000,000,000.00");
  expect_put(zfmcma, -123456789012.25, 20, 2, " -123,456,789,012.25");
}

TEST(Punctuated, DollarFallsBackToPlainFOnTheWholeWidth) {
  // COMMA4.2 would lose decimals: the field is F5.2 with its status.
  expect_put(zfmdlr, 1234.5, 5, 2, " 1235", VF_WARN);
  // One column: no room for anything but F1.
  expect_put(zfmdlr, 7, 1, 0, "7");
  expect_put(zfmyen, 7, 1, 0, "7");
  expect_put(zfmdlrx, 1234.5, 5, 2, " 1235", VF_WARN);
  // YEN keeps the plain text when DOLLAR reports a loss.
  expect_put(zfmyen, 1234.5, 5, 2, " 1235", VF_WARN);
}

TEST(Punctuated, HugeMagnitudesTakeFsScientificText) {
  expect_put(zfmcma, 1e15, 32, 2, "        1,000,000,000,000,000.00");
  expect_put(zfmcma, 1e15, 12, 2, "        1E15", VF_WARN);
  expect_put(zfmerx, -1e308, 12, 0, "      -1E308", VF_WARN);
  expect_put(zfmnprn, 1e100, 12, 0, "       1E100", VF_WARN);
  // Code 99 lays out scientific text with status 0: no sign goes on it.
  expect_put(zfmdlr, 1e20, 8, 99, "    1E20");
}

TEST(Punctuated, NegparenNeedsAFreeColumnOnTheLeft) {
  expect_put(zfmnprn, -0.0, 6, 2, " 0.00 ");
  // A status of COMMA comes back unchanged.
  expect_put(zfmnprn, 1234567, 6, 0, "1.23E6", VF_WARN);
}

// Values k.3 and k.7 units of the last decimal never sit on a
// rounding tie, so snprintf's "%.*f" is the text F shows whenever it fits.

std::string fixed_text(double v, int32_t d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(d), v);
  return buf;
}

std::string right(const std::string &s, int32_t w) {
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// The text with its integer digits grouped by sep (and the decimal point
// turned into point), or the text unchanged when it has three integer
// digits or fewer.
std::string grouped(const std::string &text, char sep, char point) {
  const bool neg = text[0] == '-';
  const std::string body = neg ? text.substr(1) : text;
  const std::size_t dot = body.find('.');
  const std::string digits = body.substr(0, dot);
  std::string frac = dot == std::string::npos ? "" : body.substr(dot);
  if (!frac.empty()) frac[0] = point;
  std::string g;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) g += sep;
    g += digits[i];
  }
  return (neg ? "-" : "") + g + frac;
}

std::string swap_marks(std::string s) {
  for (char &c : s) c = c == '.' ? ',' : c == ',' ? '.' : c;
  return s;
}

// The text F shows in x columns when it shows all the digits: the fixed
// text itself, or without its leading "0" when only that does not fit.
// A one-column field has no room for the sign of a negative value that
// rounds to zero.  Empty when nothing fits.
std::string fit(const std::string &f, int32_t x) {
  const auto n = static_cast<int32_t>(f.size());
  if (x == 1 && f == "-0") return "0";
  if (n <= x) return right(f, x);
  if (n - 1 <= x && f.rfind("0.", 0) == 0) return f.substr(1);
  if (n - 1 <= x && f.rfind("-0.", 0) == 0) return "-" + f.substr(2);
  return "";
}

std::string trimmed(const std::string &s) {
  return s.substr(s.find_first_not_of(' '));
}

std::string oracle_comma(const std::string &f, int32_t w) {
  const std::string g = grouped(f, ',', '.');
  return static_cast<int32_t>(g.size()) <= w ? right(g, w) : fit(f, w);
}

std::string oracle_dollar(const std::string &f, int32_t w) {
  if (fit(f, w - 1).empty()) return fit(f, w);
  return right("$" + trimmed(oracle_comma(f, w - 1)), w);
}

std::string oracle_eurox(const std::string &f, int32_t w) {
  const std::string shown = trimmed(fit(f, w));
  const std::string g = grouped(shown, '.', ',');
  const auto n = static_cast<int32_t>(g.size());
  if (n > w) return right(swap_marks(shown), w); // F has no ',' to swap
  return right(n < w ? "E" + g : g, w);
}

std::string oracle_negparen(const std::string &comma, int32_t &status) {
  status = VF_OK;
  const std::size_t p = comma.find_first_not_of(' ');
  std::string s = comma;
  if (p == 0 || (p == 1 && s[p] != '-')) {
    status = VF_ERR_NO_ROOM;
    return s;
  }
  if (s[p] == '-') {
    s[p] = '(';
    return s.substr(1) + ")";
  }
  return s.substr(1) + " ";
}

TEST(PunctuatedOracle, FitsGroupsAndSignsAgreeWithHandGrouping) {
  std::mt19937_64 rng(20240611);
  int checked = 0;
  for (int i = 0; i < 8000; ++i) {
    const auto d = static_cast<int32_t>(rng() % 5);
    const auto w = static_cast<int32_t>(2 + rng() % 31);
    const auto digits = static_cast<int>(rng() % 10);
    double k = static_cast<double>(rng() % 10000000000ull);
    for (int j = digits; j < 10; ++j) k = std::floor(k / 10);
    double v = (k + (rng() % 2 ? 0.3 : 0.7)) / std::pow(10.0, d);
    if (rng() % 3 == 0) v = -v;
    const std::string f = fixed_text(v, d);
    if (fit(f, w).empty()) continue;
    ++checked;
    const std::string why =
        "w=" + std::to_string(w) + " d=" + std::to_string(d) + " f=" + f;
    const std::string comma = oracle_comma(f, w);
    EXPECT_EQ(vftest::put(zfmcma, v, w, d).text, comma) << why;
    EXPECT_EQ(vftest::put(zfmcmax, v, w, d).text, swap_marks(comma)) << why;
    const std::string dollar = oracle_dollar(f, w);
    EXPECT_EQ(vftest::put(zfmdlr, v, w, d).text, dollar) << why;
    EXPECT_EQ(vftest::put(zfmdlrx, v, w, d).text, swap_marks(dollar)) << why;
    std::string yen = dollar;
    if (yen.find('$') != std::string::npos) yen[yen.find('$')] = '\\';
    EXPECT_EQ(vftest::put(zfmyen, v, w, d).text, yen) << why;
    const std::string eurox = oracle_eurox(f, w);
    EXPECT_EQ(vftest::put(zfmerx, v, w, d).text, eurox) << why;
    EXPECT_EQ(vftest::put(zfmeuro, v, w, d).text, swap_marks(eurox)) << why;
    int32_t status = 0;
    const std::string paren = oracle_negparen(comma, status);
    const vftest::Run r = vftest::put(zfmnprn, v, w, d);
    EXPECT_EQ(r.text, paren) << why;
    EXPECT_EQ(r.status, status) << why;
  }
  EXPECT_GT(checked, 4000);
}

} // namespace
