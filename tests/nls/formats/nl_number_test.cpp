// The locale number, currency and separator formats: worked examples, the
// twenty sign/symbol layouts, the fitting attempts, every currency format,
// the C library's own texts for the same locales, and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "nls/currency_table.h"
#include "nls/formats/nl_test_util.h"
#include "nls/nl_compose.h"
#include "registry/functions.h"

namespace {

using namespace nltest;

std::string right(const std::string &s, int32_t w) {
  return std::string(static_cast<std::size_t>(w - chars(s)), ' ') + s;
}

TEST(NlNumber, WorkedExamples) {
  EXPECT_EQ(run(nlnum, 1234.5, 12, 2, kDeDE).text, right("1.234,50", 12));
  EXPECT_EQ(run(nlmny, -1234.5, 12, 2, kEnUS).text, " ($1,234.50)");
  EXPECT_EQ(run(nlmny, 1234.5, 12, 2, kEnUS).text, right("$1,234.50 ", 12));
  // Fixed 123456.78 is too long, 1.2E+05 too, one decimal less fits.
  EXPECT_EQ(run(nlnum, 123456.78, 5, 2, kEnUS).text, "1E+05");
  EXPECT_EQ(run(nlmniusd, 1234.5, 12, 2, kDeDE).text, "1.234,50 USD");
  EXPECT_EQ(run(nlbest, 1234.5, 12, 0, kDeDE).text, right("1234,5", 12));
  EXPECT_EQ(run(nlpct, 0.1234, 8, 1, kEnUS).text, right("12.3%", 8));
  EXPECT_EQ(run(nlpct, -0.5, 8, 0, kDeDE).text, right("-50%", 8));
  EXPECT_EQ(run(nlnumi, 1234.5, 12, 2, kDeDE).text, right("1,234.50", 12));
}

TEST(NlNumber, ResultIsRightAlignedInWUnits) {
  const Result r = run(nlnum, 7, 6, 0, kEnUS);
  EXPECT_EQ(r.text, "     7");
  EXPECT_EQ(r.outlen, 12);
  EXPECT_EQ(r.outenc, VF_ENC_UCS2);
}

// The layouts, each on a synthetic convention set with symbol "S" and
// signs "+" / "~"; expected texts follow the layout table by hand.
TEST(NlNumber, AllTwentyLayouts) {
  const char *expected[20] = {"(1S)",  "~1S",  "1S~",  "1~S",  "1S~",
                              "(S1)",  "~S1",  "S1~",  "~S1",  "S~1",
                              "(1 S)", "~1 S", "1 S~", "1~ S", "1 S~",
                              "(S 1)", "~S 1", "S 1~", "~S 1", "S ~1"};
  for (int i = 0; i < 20; ++i) {
    valfmt::NumberConventions c;
    c.symbol = "S";
    c.positive_sign = "+";
    c.negative_sign = "~";
    c.decimal_point = ".";
    c.n_cs_precedes = (i / 5) % 2;
    c.n_sep_by_space = i / 10;
    c.n_sign_posn = i % 5;
    c.p_cs_precedes = c.n_cs_precedes;
    c.p_sep_by_space = c.n_sep_by_space;
    c.p_sign_posn = c.n_sign_posn;
    char out[valfmt::kComposeMax];
    bool grouped = false;
    const valfmt::ComposeRequest neg{"1", true, true, true};
    const int32_t n = valfmt::compose_number(c, neg, out, grouped);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), expected[i]) << i;
    // The positive value: '+' for the sign, no parentheses, one trailing
    // blank when negative values take parentheses.
    std::string pos = expected[i];
    for (char &ch : pos) ch = ch == '~' ? '+' : ch;
    if (i % 5 == 0) pos = pos.substr(1, pos.size() - 2) + " ";
    const valfmt::ComposeRequest p{"1", false, true, true};
    const int32_t m = valfmt::compose_number(c, p, out, grouped);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(m)), pos) << i;
  }
}

TEST(NlNumber, GroupingAndItsRemoval) {
  valfmt::NumberConventions c;
  c.decimal_point = ",";
  c.thousands_sep = "'";
  c.grouping = 3;
  char out[valfmt::kComposeMax];
  bool grouped = false;
  auto compose = [&](const char *digits, bool group) {
    const valfmt::ComposeRequest r{digits, false, group, true};
    return std::string(out, static_cast<std::size_t>(
                                valfmt::compose_number(c, r, out, grouped)));
  };
  EXPECT_EQ(compose("1234567.25", true), "1'234'567,25");
  EXPECT_TRUE(grouped);
  EXPECT_EQ(compose("123456", true), "123'456");
  EXPECT_EQ(compose("123", true), "123");
  EXPECT_FALSE(grouped);
  EXPECT_EQ(compose("1234567.25", false), "1234567,25");
  EXPECT_EQ(compose("1.5E+10", true), "1,5E+10");
  EXPECT_EQ(compose("1E+10", true), "1E+10");
  c.grouping = 2;
  EXPECT_EQ(compose("1234567", true), "1'23'45'67");
}

TEST(NlNumber, FittingDropsGroupingThenDecimals) {
  // 1,234,567.89 needs 12 columns; without grouping 10 fit.
  EXPECT_EQ(run(nlnum, 1234567.891, 10, 2, kEnUS).text, "1234567.89");
  // The fixed text longer than w: the general form with d digits.
  EXPECT_EQ(run(nlnum, 1234567.891, 9, 2, kEnUS).text, "  1.2E+06");
  EXPECT_EQ(run(nlnum, 1234567.891, 7, 2, kEnUS).text, "1.2E+06");
  EXPECT_EQ(run(nlnum, 1234567.891, 6, 2, kEnUS).text, " 1E+06");
  // A value below one goes to the general form first.
  EXPECT_EQ(run(nlnum, 0.000123456, 6, 5, kEnUS).text, "0.0001");
  // Nothing fits one column for a two-digit number.
  EXPECT_EQ(run(nlnum, 42, 1, 0, kEnUS).text, "*");
  EXPECT_EQ(run(nlnum, 1e300, 32, 2, kEnUS).text, right("1E+300", 32));
}

// The fixed text is measured with its sign, and the general form is
// left-aligned in w - k columns, so its padding stays between the digits
// and whatever the layout puts after them.
TEST(NlNumber, FixedTextCountsTheSignAndGeneralFormIsPadded) {
  // "-12.35" is six characters for five columns: "%-5.2G" gives "-12  ",
  // the sign goes to the layout and the blanks are trimmed.
  EXPECT_EQ(run(nlnum, -12.345, 5, 2, kEnUS).text, "  -12");
  // Five columns hold "12.35" when the value is positive.
  EXPECT_EQ(run(nlnum, 12.345, 5, 2, kEnUS).text, "12.35");
  // de_DE money is "V <euro>": 1E+10 padded to w - k columns keeps its
  // blanks before " <euro>".  The grouped and plain fixed texts (16 and 13
  // columns) are too wide, the excess k = 1 leaves 13, k = 2 fits 12.
  EXPECT_EQ(run(nlmny, 1e10, 12, 2, kDeDE).text,
            "1E+10" + std::string(6, ' ') + "€");
  // Currency: "%-12.2G" of 1e13 is "1E+13" and seven blanks; with " USD"
  // after them that is too wide, without the symbol it fits (blanks
  // trimmed).
  EXPECT_EQ(run(nlmniusd, 1e13, 12, 2, kDeDE).text, right("1E+13", 12));
}

// da_DK stores 2 ("blank between sign and symbol") in its separated-by-
// space fields; it counts as 1, so the layout is "$ -V", never a row
// outside the twenty.
TEST(NlNumber, SeparatedBySpaceAboveOneCountsAsOne) {
  constexpr int32_t kDaDK = 35;
  EXPECT_EQ(run(nlmny, 1234.5, 14, 2, kDaDK).text, right("kr. 1.234,50", 14));
  EXPECT_EQ(run(nlmny, -1234.5, 14, 2, kDaDK).text, right("kr. -1.234,50", 14));
}

TEST(NlNumber, MissingNonFiniteAndBadInput) {
  EXPECT_EQ(run(nlnum, missing(), 6, 2, kEnUS).text, "   .  ");
  EXPECT_EQ(run(nlnum, missing(), 6, 9, kEnUS).text, "     .");
  EXPECT_EQ(run(nlpct, missing(), 8, 2, kEnUS).text, "   .  ");
  EXPECT_EQ(run(nlnum, INFINITY, 6, 2, kEnUS).text, "******");
  // An unchecked d far above the limit is read as 31 decimals: too long
  // for 12 columns, so the general form "%-12.31G" gives "1234.5" and
  // blanks, its integer part grouped.
  EXPECT_EQ(run(nlnum, 1234.5, 12, 1000, kEnUS).text, right("1,234.5", 12));
  EXPECT_EQ(run(nlmny, 1234.5, 12, 1000, kEnUS).text, right("$1,234.5 ", 12));
  EXPECT_EQ(run(nlmny, NAN, 6, 2, kEnUS).text, "******");
  for (const int32_t loc : {0, -5, 134, 1 << 30})
    EXPECT_EQ(run(nlnum, 1234.5, 12, 2, loc).text,
              run(nlnum, 1234.5, 12, 2, kEnUS).text)
        << loc;
  EXPECT_EQ(run(nlnum, 1, 33, 0, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_W_LARGE);
  EXPECT_EQ(run(nlpct, 1, 3, 0, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_W_SMALL);
  EXPECT_EQ(run(nlmny, 1, 9, 32, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_D_LARGE);
}

TEST(NlNumber, OutsizeBelowTwiceWidth) {
  // 12 columns asked, 16 bytes given: the text right-aligned in 8 units.
  const Result r = run(nlnum, 1234.5, 12, 2, kEnUS, 16);
  EXPECT_EQ(r.text, "1,234.50");
  EXPECT_EQ(r.outlen, 16);
  // Too small for the text: asterisks in what fits.
  EXPECT_EQ(run(nlnum, 1234.5, 12, 2, kEnUS, 9).text, "****");
  EXPECT_EQ(run(nlnum, 1234.5, 12, 2, kEnUS, 0).outlen, 0);
}

TEST(NlCurrency, EveryCodeHasARecordAndBothFormatsRun) {
  struct Pair {
    const char *code;
    fmtfn intl;
    fmtfn local;
  };
  const Pair pairs[] = {
      {"AED", nlmniaed, nlmnlaed}, {"AUD", nlmniaud, nlmnlaud},
      {"BGN", nlmnibgn, nlmnlbgn}, {"BRL", nlmnibrl, nlmnlbrl},
      {"CAD", nlmnicad, nlmnlcad}, {"CHF", nlmnichf, nlmnlchf},
      {"CNY", nlmnicny, nlmnlcny}, {"CZK", nlmniczk, nlmnlczk},
      {"DKK", nlmnidkk, nlmnldkk}, {"EEK", nlmnieek, nlmnleek},
      {"EGP", nlmniegp, nlmnlegp}, {"EUR", nlmnieur, nlmnleur},
      {"GBP", nlmnigbp, nlmnlgbp}, {"HKD", nlmnihkd, nlmnlhkd},
      {"HRK", nlmnihrk, nlmnlhrk}, {"HUF", nlmnihuf, nlmnlhuf},
      {"IDR", nlmniidr, nlmnlidr}, {"ILS", nlmniils, nlmnlils},
      {"INR", nlmniinr, nlmnlinr}, {"JPY", nlmnijpy, nlmnljpy},
      {"KRW", nlmnikrw, nlmnlkrw}, {"LTL", nlmniltl, nlmnlltl},
      {"LVL", nlmnilvl, nlmnllvl}, {"MOP", nlmnimop, nlmnlmop},
      {"MXN", nlmnimxn, nlmnlmxn}, {"MYR", nlmnimyr, nlmnlmyr},
      {"NOK", nlmninok, nlmnlnok}, {"NZD", nlmninzd, nlmnlnzd},
      {"PLN", nlmnipln, nlmnlpln}, {"ROL", nlmnirol, nlmnlrol},
      {"RUB", nlmnirub, nlmnlrub}, {"RUR", nlmnirur, nlmnlrur},
      {"SEK", nlmnisek, nlmnlsek}, {"SGD", nlmnisgd, nlmnlsgd},
      {"SKK", nlmniskk, nlmnlskk}, {"THB", nlmnithb, nlmnlthb},
      {"TRY", nlmnitry, nlmnltry}, {"TWD", nlmnitwd, nlmnltwd},
      {"USD", nlmniusd, nlmnlusd}, {"ZAR", nlmnizar, nlmnlzar}};
  for (const Pair &p : pairs) {
    const valfmt::LconvMonetary *rec = valfmt::find_currency(p.code);
    ASSERT_NE(rec, nullptr) << p.code;
    // en_US: symbol before the amount, no space, parentheses when negative.
    EXPECT_EQ(run(p.intl, -12.5, 20, 2, kEnUS).text,
              right(std::string("(") + p.code + "12.50)", 20))
        << p.code;
    const Result local = run(p.local, 12.5, 20, 2, kEnUS);
    EXPECT_NE(local.text.find("12.50 "), std::string::npos) << p.code;
    EXPECT_EQ(chars(local.text), 20) << p.code;
    for (const int32_t loc : kLocales) {
      for (const int32_t w : {8, 12, 32}) {
        const Result r = run(p.local, -9876543.21, w, 2, loc);
        EXPECT_EQ(r.status, 0);
        EXPECT_LE(chars(r.text), w) << p.code << " " << loc << " " << w;
      }
    }
  }
}

TEST(NlCurrency, LocalSymbols) {
  EXPECT_EQ(run(nlmnlusd, 5, 12, 2, kEnUS).text, right("US$5.00 ", 12));
  EXPECT_EQ(run(nlmnleur, 5, 12, 2, kDeDE).text, right("5,00 €", 12));
  EXPECT_EQ(run(nlmnljpy, 5, 12, 0, kEnUS).text, right("￥5 ", 12));
  EXPECT_EQ(run(nlmnlgbp, 5, 12, 2, kEnUS).text, right("£5.00 ", 12));
  // A narrow result cannot hold the yen sign: the code stands in; the
  // pound sign is a Windows-1252 character and stays.
  EXPECT_EQ(run(nlmnljpy, 5, 12, 0, kEnUS, -1, 0, VF_ENC_NARROW).text,
            right("JPY5 ", 12));
  EXPECT_EQ(run(nlmnlgbp, 5, 12, 2, kEnUS, -1, 0, VF_ENC_NARROW).text,
            right("£5.00 ", 12));
}

TEST(NlCurrency, FittingAttemptsInOrder) {
  // US$1,234,567.00 and the parenthesis blank need 16 columns.
  EXPECT_EQ(run(nlmnlusd, 1234567, 16, 2, kEnUS).text, "US$1,234,567.00 ");
  // Without grouping.
  EXPECT_EQ(run(nlmnlusd, 1234567, 15, 2, kEnUS).text, " US$1234567.00 ");
  // Without the symbol.
  EXPECT_EQ(run(nlmniusd, 1234567, 11, 2, kEnUS).text, "1234567.00 ");
  // "-1.5000000000" is longer than 12: "%-12.10G" pads "-1.5" to 12, so
  // " USD" after the blanks is too wide and the symbol goes.
  EXPECT_EQ(run(nlmniusd, -1.5, 12, 10, kDeDE).text, right("-1,5", 12));
  // General form with the symbol, then without.
  EXPECT_EQ(run(nlmnleur, -1234567.5, 11, 2, kEnUS).text, " (€1.2E+06)");
  EXPECT_EQ(run(nlmniusd, 1234567, 10, 2, kEnUS).text, "  1.2E+06 ");
  EXPECT_EQ(run(nlmniusd, 1e20, 8, 6, kEnUS).text, "  1E+20 ");
  // Parentheses do not fit: the bare number, then asterisks.
  EXPECT_EQ(run(nlmniusd, -12345, 8, 1, kEnUS).text, " (1E+04)");
  EXPECT_EQ(run(nlmniusd, -0.5, 8, 1, kEnUS).text, "(USD0.5)");
  EXPECT_EQ(run(nlmniusd, -0.5, 4, 1, kEnUS).text, "-0.5");
  EXPECT_EQ(run(nlmniusd, -1234567, 8, 2, kEnUS).text, "********");
  // General digits alone wider than w: asterisks at once.
  EXPECT_EQ(run(nlmniusd, 1.23456789e-300, 8, 9, kEnUS).text, "********");
  EXPECT_EQ(run(nlmniusd, missing(), 8, 2, kEnUS).text, "       .");
  EXPECT_EQ(run(nlmniusd, 1, 7, 2, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_W_SMALL);
  EXPECT_EQ(run(nlmniusd, 1, 12, 29, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_D_LARGE);
}

TEST(NlSeparators, LocaleSeparatorsReplaceThePlainOnes) {
  const vftest::Run best = vftest::put(zfmb, 1234.5, 12, 99);
  std::string expect = best.text;
  for (char &c : expect) c = c == '.' ? ',' : c;
  EXPECT_EQ(run(nlbest, 1234.5, 12, 0, kDeDE).text, expect);
  EXPECT_EQ(run(nlbest, 1234.5, 12, 0, kEnUS).text, best.text);
  const vftest::Run pct = vftest::put(zfmpct, 0.125, 8, 1);
  std::string pexpect = pct.text;
  for (char &c : pexpect) c = c == '.' ? ',' : c;
  EXPECT_EQ(run(nlpctp, 0.125, 8, 1, kPtBR).text, pexpect);
  const vftest::Run d = vftest::put(zfmd, 3.14159, 12, 3);
  std::string dexpect = d.text;
  for (char &c : dexpect) c = c == '.' ? ',' : c;
  EXPECT_EQ(run(nldfmt, 3.14159, 12, 3, kFrFR).text, dexpect);
  EXPECT_EQ(run(nlpvalue, 0.0123, 8, 3, kDeDE).status,
            vftest::put(zfmpval, 0.0123, 8, 3).status);
  EXPECT_NE(run(nlpctn, -0.5, 8, 0, kDeDE).text.find('%'), std::string::npos);
}

// The C library's texts for the same locales (tools/gen_glibc_crosscheck.sh)
// agree with NLNUM, NLMNY and the name formats wherever the layout is the
// same: numbers with two decimals, money in the local layout (skipped for
// negative amounts where the locale puts them in parentheses), names.
TEST(NlCrossCheck, AgreesWithTheCLibrary) {
  const std::map<std::string, int32_t> ids = {
      {"en_US", kEnUS}, {"de_DE", kDeDE}, {"fr_FR", kFrFR}, {"ja_JP", kJaJP},
      {"ar_SA", kArSA}, {"zh_CN", kZhCN}, {"hi_IN", kHiIN}, {"pt_BR", kPtBR}};
  std::ifstream in(std::string(VALFMT_SOURCE_DIR) +
                   "/tests/nls/formats/data/glibc_texts.tsv");
  ASSERT_TRUE(in.good());
  std::string line;
  int compared = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    std::string loc, kind, arg, text;
    std::getline(f, loc, '\t');
    std::getline(f, kind, '\t');
    std::getline(f, arg, '\t');
    std::getline(f, text);
    const int32_t id = ids.at(loc);
    // Indian grouping (three digits, then twos) is not a single group
    // size: amounts of six digits and more are laid out differently.
    if (loc == "hi_IN" && (kind == "num" || kind == "mny") &&
        std::fabs(std::stod(arg)) >= 1e9)
      continue;
    zoxlfield money{};
    ASSERT_EQ(wzssglc(id, 113, &money), 0);
    if (kind == "num") {
      const double v = std::stod(arg) / 10000;
      EXPECT_EQ(trimmed(run(nlnum, v, 32, 2, id).text), text) << line;
    } else if (kind == "mny") {
      const double v = std::stod(arg) / 10000;
      if (v < 0 && money.conv.n_sign_posn == 0) continue;
      EXPECT_EQ(trimmed(run(nlmny, v, 32, money.conv.frac_digits, id).text),
                text)
          << line;
    } else {
      const int k = std::stoi(arg);
      const bool abbrev = kind == "mon" || kind == "wkd";
      const fmtfn fn = kind == "month" || kind == "mon" ? nlstrmon : nlstrwk;
      EXPECT_EQ(trimmed(run(fn, k, 60, abbrev ? 1 : 0, id).text), trimmed(text))
          << line;
    }
    ++compared;
  }
  EXPECT_GT(compared, 400);
}

} // namespace
