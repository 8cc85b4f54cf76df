// Every locale number and currency format over the eight reference
// locales: the text shown at the full width fits exactly its own width,
// one column less gives a different text no wider than that, and the
// generated currency table matches its sources when they are installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "nls/formats/nl_test_util.h"
#include "nls/nl_number.h"
#include "nls/nl_output.h"
#include "registry/functions.h"

namespace {

using namespace nltest;

struct Member {
  const char *name;
  fmtfn fn;
  int32_t minw;
};

const Member kMembers[] = {
    {"NLNUM", nlnum, 1},       {"NLNUMI", nlnumi, 1},
    {"NLMNY", nlmny, 1},       {"NLMNYI", nlmnyi, 1},
    {"NLPCT", nlpct, 4},       {"NLPCTI", nlpcti, 4},
    {"NLMNIEUR", nlmnieur, 8}, {"NLMNLEUR", nlmnleur, 8},
    {"NLMNLINR", nlmnlinr, 8}, {"NLMNLJPY", nlmnljpy, 8},
    {"NLMNLAED", nlmnlaed, 8}, {"NLMNIBRL", nlmnibrl, 8}};

TEST(NlNumberSweep, FullTextJustFitsAndOneColumnLessDoesNot) {
  for (const int32_t loc : kLocales) {
    for (const Member &m : kMembers) {
      for (const double v : {-98765.4321, 1234.5, 0.5}) {
        // Leading blanks are the alignment; a trailing blank (positive
        // money beside parenthesised negatives) belongs to the text.
        const Result at32 = run(m.fn, v, 32, 2, loc);
        ASSERT_EQ(chars(at32.text), 32) << m.name << " " << loc;
        const std::string shown =
            at32.text.substr(at32.text.find_first_not_of(' '));
        const int32_t width = chars(shown);
        if (width < m.minw) continue;
        EXPECT_EQ(run(m.fn, v, width, 2, loc).text, shown)
            << m.name << " " << loc << " " << v;
        if (width - 1 < m.minw) continue;
        const Result narrow = run(m.fn, v, width - 1, 2, loc);
        EXPECT_NE(narrow.text, shown) << m.name << " " << loc;
        EXPECT_EQ(chars(narrow.text), width - 1) << m.name << " " << loc;
      }
    }
  }
}

std::string slurp(std::FILE *f) {
  std::string s;
  char buf[4096];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  return s;
}

TEST(CurrencyTable, RegeneratesFromTheLocaleSources) {
  if (std::FILE *probe = std::fopen("/usr/share/i18n/locales/de_DE", "r")) {
    std::fclose(probe);
  } else {
    GTEST_SKIP() << "locale sources not installed";
  }
  if (std::system("command -v python3 >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3 not installed";
  const std::string dir = VALFMT_SOURCE_DIR;
  std::FILE *p =
      popen(("python3 " + dir + "/tools/gen_currency_table.py").c_str(), "r");
  ASSERT_NE(p, nullptr);
  const std::string generated = slurp(p);
  ASSERT_EQ(pclose(p), 0);
  std::ifstream in(dir + "/src/nls/currency_table.cpp");
  std::stringstream committed;
  committed << in.rdbuf();
  EXPECT_EQ(generated, committed.str());
}

// The formats read the conventions straight from the record; the public
// conventions record of the database must say the same for every locale
// and every pattern field.
TEST(NlConventions, AgreeWithTheDatabaseRecord) {
  auto view = [](const zoxltext &t) {
    return std::string(t.bytes, static_cast<std::size_t>(t.len));
  };
  for (int32_t loc = 1; loc <= 133; ++loc) {
    for (const int32_t field : {113, 114, 126, 127, 128, 129}) {
      zoxlfield h{};
      ASSERT_EQ(wzssglc(loc, field, &h), 0);
      valfmt::NumberConventions c;
      ASSERT_TRUE(valfmt::locale_conventions(loc, field, c));
      const std::string where =
          std::to_string(loc) + "/" + std::to_string(field);
      EXPECT_EQ(std::string(c.symbol), view(h.conv.currency_symbol)) << where;
      EXPECT_EQ(std::string(c.decimal_point), view(h.conv.decimal_point))
          << where;
      EXPECT_EQ(std::string(c.thousands_sep), view(h.conv.thousands_sep))
          << where;
      EXPECT_EQ(c.grouping, h.conv.grouping) << where;
      EXPECT_EQ(std::string(c.negative_sign), view(h.conv.negative_sign))
          << where;
      EXPECT_EQ(c.p_cs_precedes, h.conv.p_cs_precedes) << where;
      EXPECT_EQ(c.p_sep_by_space, h.conv.p_sep_by_space) << where;
      EXPECT_EQ(c.p_sign_posn, h.conv.p_sign_posn) << where;
      EXPECT_EQ(c.n_cs_precedes, h.conv.n_cs_precedes) << where;
      EXPECT_EQ(c.n_sep_by_space, h.conv.n_sep_by_space) << where;
      EXPECT_EQ(c.n_sign_posn, h.conv.n_sign_posn) << where;
    }
  }
}

// The formats' own conversion agrees with the access layer's routine for
// every host encoding class, width and text kind.
TEST(NlConversion, AgreesWithTheAccessLayer) {
  const std::string texts[] = {"",
                               "abc",
                               "ab<U20AC>",
                               "<u00a4>12,5",
                               "<U4E00><U4E8C>x",
                               "x<U00E9>",
                               "<U12>zz",
                               "1<UZZZZ>9",
                               std::string(250, 'q')};
  for (const std::string &t : texts) {
    for (const uint32_t enc : {0u, 1u, 20u, 24u, 25u, 27u, 130u, 231u}) {
      for (const int32_t w : {0, 1, 3, 5, 9, 40, 300}) {
        fmtcall c{};
        c.inenc = enc;
        const int32_t scale = enc == 0 || enc == 24 || enc == 25 || enc >= 230
                                  ? 2
                              : enc == 27 ? 4
                                          : 1;
        std::string work = t;
        work.resize(512);
        int32_t len = static_cast<int32_t>(t.size());
        uint32_t produced = 0;
        const int32_t ref = getUCS2ResultFromNarrowCharBufForInDB(
            static_cast<int32_t>(enc), 25, &produced, work.data(), &len,
            w * scale, 64);
        uint16_t units[256];
        int32_t free_units = 0;
        const int32_t got =
            valfmt::convert_units(&c, t.data(), static_cast<int32_t>(t.size()),
                                  w, 64, units, free_units);
        const std::string where =
            t + " enc " + std::to_string(enc) + " w " + std::to_string(w);
        if (ref == 1) {
          EXPECT_EQ(got, -1) << where;
        } else if (ref > 0) {
          EXPECT_EQ(got, -2) << where;
        } else {
          ASSERT_EQ(got, len / 2) << where;
          EXPECT_EQ(free_units, -ref) << where;
          for (int32_t i = 0; i < got; ++i)
            EXPECT_EQ(
                units[i],
                static_cast<uint8_t>(work[2 * static_cast<size_t>(i)]) |
                    (static_cast<uint8_t>(work[2 * static_cast<size_t>(i) + 1])
                     << 8))
                << where;
        }
      }
    }
  }
}

} // namespace
