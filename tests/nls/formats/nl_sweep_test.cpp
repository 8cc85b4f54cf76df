// Every locale number and currency format over the eight reference
// locales: the text shown at the full width fits exactly its own width,
// one column less gives a different text no wider than that, and the
// generated currency table matches its sources when they are installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "nls/formats/nl_test_util.h"
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

} // namespace
