#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>

#include "tools/tool_run.h"

namespace {

using tooltest::has;
using tooltest::run_split;

std::string guide_catalogue() {
  const std::string doc =
      tooltest::slurp(std::string(VALFMT_SOURCE_DIR) + "/docs/catalog.md");
  const std::size_t a = doc.find("```xml\n");
  const std::size_t b = doc.find("```", a + 7);
  return a == std::string::npos || b == std::string::npos
             ? std::string()
             : doc.substr(a + 7, b - a - 7);
}

TEST(ToolList, FamiliesSeparatorsPseudoFormatsAndBuilt) {
  auto r = run_split("list");
  EXPECT_TRUE(has(r.out, "JAZWFTME  time and datetime formats (10 names)"));
  for (const char *p : {"$IS-INTRINSIC", "INTRINSIC-CRDATE", "_C_R_A_S_H_"})
    EXPECT_TRUE(has(r.out, p)) << p;
  // The language date informats have no function by definition.
  EXPECT_TRUE(has(r.out, "@AFRDFDE"));
  r = run_split("list --built");
  EXPECT_FALSE(has(r.out, "@AFRDFDE"));
  EXPECT_FALSE(has(r.out, "  no\n"));
  r = run_split("list --markdown JAZWFTME");
  EXPECT_EQ(r.out.rfind("| name | family |", 0), 0U) << r.out;
  EXPECT_TRUE(has(r.out, "| `TIME` | time and datetime formats | JAZWFTME |"));
}

TEST(ToolList, DescribeShowsExamplesRenderedByTheLibrary) {
  using namespace std::chrono;
  const long day =
      (sys_days{2022y / December / 21} - sys_days{1960y / January / 1}).count();
  auto r = run_split("describe DATE");
  EXPECT_TRUE(has(r.out, "about:    one of the date formats")) << r.out;
  EXPECT_TRUE(
      has(r.out, "DATE7. \"" + std::to_string(day) + "\" -> \"21DEC22\""))
      << r.out;
  r = run_split("describe @DATE");
  EXPECT_TRUE(has(r.out, "\"21DEC22\" -> " + std::to_string(day))) << r.out;
}

TEST(ToolCatalog, TheGuideExampleWorksAndChecksClean) {
  const std::string path = tooltest::temp_path("guide.xml");
  tooltest::write_file(path, guide_catalogue());
  auto r = run_split("put --catalog " + path + " SIZECLASS. 5 10 250 .");
  EXPECT_EQ(r.out, "small  \nmedium \nlarge  \nunknown\n") << r.err;
  r = run_split("put --catalog " + path + " '$YESNO.' Y N");
  EXPECT_EQ(r.out, "yes\nno \n");
  r = run_split("catalog check " + path + " '$YESNO'");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(has(r.out, "0 errors, 0 warnings")) << r.out;
  // The character format is not found as a numeric one, and says why.
  r = run_split("catalog check " + path + " YESNO");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(has(r.out, "ask for $YESNO")) << r.out;
}

// One row of the guide's catalogue changed at a time: each fault is
// reported on its own line number.
TEST(ToolCatalog, FaultsAreReportedWithTheirLines) {
  const std::string good = guide_catalogue();
  ASSERT_FALSE(good.empty());
  struct Case {
    std::string from, to, expect;
  };
  const Case cases[] = {
      {"<FMTNAME>SIZECLASS</FMTNAME>\n<START>10<",
       "<FMTNAME>sizeclass</FMTNAME>\n<START>10<", "lower-case letters"},
      {"<FMTNAME>YESNO</FMTNAME>", "<FMTNAME>$YESNO</FMTNAME>",
       "begins with '$'"},
      {"<START>10</START>\n<END>100</END>", "<START>10</START>\n<END>5</END>",
       "reversed range"},
      {"<START>10</START>\n<END>100</END>", "<START>5</START>\n<END>100</END>",
       "overlaps the range of line"},
      {"<LABEL>medium</LABEL>", "<LABEL>" + std::string(300, 'm') + "</LABEL>",
       "at most 255 bytes"},
      {"<LABEL>medium</LABEL>", "<LABEL>med\xFFium</LABEL>", "not valid UTF-8"},
      {"<Variables number=\"20\"/>", "<Variables number=\"21\"/>",
       "but 20 COLUMN elements"},
      {"<COLUMN order=\"20\" name=\"LANGUAGE\">",
       "<COLUMN order=\"20\" name=\"LANGUAGX\">",
       "column LANGUAGE is not declared"},
      {"<TYPE>N</TYPE>", "<TYPE>Q</TYPE>", "TYPE \"Q\""},
  };
  for (const Case &c : cases) {
    std::string text = good;
    const std::size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    text.replace(at, c.from.size(), c.to);
    const std::string path = tooltest::temp_path("bad.xml");
    tooltest::write_file(path, text);
    const auto r = run_split("catalog check " + path);
    EXPECT_EQ(r.status, c.expect == "overlaps the range of line" ? 0 : 1)
        << c.expect << "\n"
        << r.out;
    EXPECT_TRUE(has(r.out, c.expect)) << c.expect << "\n" << r.out;
    if (c.expect == "at most 255 bytes") {
      // Reported on the line that is too long.
      const auto line =
          std::count(text.begin(), text.begin() + static_cast<long>(at), '\n') +
          1;
      EXPECT_TRUE(has(r.out, ":" + std::to_string(line) + ": error")) << r.out;
    }
  }
  EXPECT_EQ(run_split("catalog check /nonexistent.xml").status, 2);
  EXPECT_EQ(run_split("catalog frobnicate x").status, 2);
}

TEST(ToolCatalog, Utf8LabelsPrintAsUtf8) {
  // A label with an en dash (three UTF-8 bytes) and an o with umlaut (two):
  // eleven characters, padded to the default width of 12.
  std::string text =
      tooltest::slurp(std::string(VALFMT_SOURCE_DIR) + "/examples/cntlout.xml");
  const std::string from = "<LABEL>good</LABEL>";
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, from.size(), "<LABEL>gut \xE2\x80\x93 sch\xC3\xB6n</LABEL>");
  const std::string path = tooltest::temp_path("utf8.xml");
  tooltest::write_file(path, text);
  const std::string want = "gut \xE2\x80\x93 sch\xC3\xB6n \n";
  auto r = run_split("put --catalog " + path + " '$GRADE.' B");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, want);
  r = run_split("stream --catalog " + path + " '$GRADE.'", "B\n");
  EXPECT_EQ(r.out, want);
  // A picture of the same catalogue still shows its own characters.
  EXPECT_EQ(run_split("put --catalog " + path + " AMOUNT15. -1234.5").out,
            "      -1,234.50\n");
}

TEST(ToolLocale, NamesAndNumbers) {
  EXPECT_EQ(run_split("put --locale 0 F3. 1").status, 2);
  EXPECT_EQ(run_split("put --locale 134 F3. 1").status, 2);
  EXPECT_EQ(run_split("put --locale 52 F3. 1").out, "  1\n");
  EXPECT_EQ(run_split("put --locale eN_uS F3. 1").status, 0);
  // The locale reaches the locale formats: German groups thousands with a
  // period and writes a decimal comma; en_US the other way round.
  EXPECT_EQ(run_split("put --locale de_DE NLNUM12.2 1234.5").out,
            "    1.234,50\n");
  EXPECT_EQ(run_split("put --locale en_US NLNUM12.2 1234.5").out,
            "    1,234.50\n");
  // One letter off: the German locales are offered, de_DE among them.
  auto r = run_split("put --locale de_DX F3. 1");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(has(r.err, "--locale de_DX: unknown locale name; close "
                         "matches:"))
      << r.err;
  EXPECT_TRUE(has(r.err, " de_DE")) << r.err;
  EXPECT_FALSE(has(r.err, " en_US")) << "too far from de_DX: " << r.err;
}

} // namespace
