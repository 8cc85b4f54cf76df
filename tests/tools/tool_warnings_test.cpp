// The tool never loses data silently: warnings for every status 2 and every
// text cut to a width, fields the library fills when a value does not fit,
// input bytes handed over unchanged, --quiet and --strict, exit statuses.
#include <gtest/gtest.h>

#include "tools/tool_run.h"

namespace {

using tooltest::has;
using tooltest::run_split;

TEST(ToolWarnings, FewerDigitsThanAskedIsAWarning) {
  // Five digits cannot stand in three columns: the library answers with
  // its scientific form and status 2.
  auto r = run_split("put F3. 12345");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1E4\n");
  EXPECT_TRUE(has(r.err, "F3.: \"12345\" shown as \"1E4\" (fewer digits"))
      << r.err;
  // Sixteen integer digits exceed what F shows exactly.
  r = run_split("put F12.2 1234567890123456");
  EXPECT_TRUE(has(r.err, "fewer digits than asked")) << r.err;

  EXPECT_EQ(run_split("put --strict F3. 12345").status, 1);
  r = run_split("put --quiet F3. 12345");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // --quiet never hides a failure, and --strict with no warning is fine.
  EXPECT_EQ(run_split("put --quiet F8. abc").status, 1);
  EXPECT_EQ(run_split("put --strict F8.2 1.5").status, 0);
}

TEST(ToolWarnings, AFieldThatCannotHoldTheValueIsPrinted) {
  const auto r = run_split("put F2. 123");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "**\n");
  EXPECT_TRUE(has(r.err, "F2.: \"123\" shown as \"**\"")) << r.err;
  EXPECT_EQ(run_split("put --strict F2. 123").status, 1);
}

TEST(ToolWarnings, APictureTooSmallForTheValueIsAWarning) {
  // AMOUNT's picture 000,000,009.99 has eleven digit positions: 1e12 needs
  // fifteen, and is shown as asterisks instead of its last eleven digits.
  const std::string cat =
      std::string("--catalog ") + VALFMT_SOURCE_DIR + "/examples/cntlout.xml ";
  const std::string stars(15, '*');
  auto r = run_split("put " + cat + "AMOUNT15. 1e12 123456789.5");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, stars + "\n 123,456,789.50\n");
  EXPECT_TRUE(has(r.err, "AMOUNT15.: \"1e12\" shown as \"" + stars +
                             "\": no form of the value fits"))
      << r.err;
  EXPECT_EQ(run_split("put --strict " + cat + "AMOUNT15. 1e12").status, 1);
}

TEST(ToolWarnings, InformatWidths) {
  // Without a width the whole text is read.
  auto r = run_split("input F. 123456789012345");
  EXPECT_EQ(r.out, "123456789012345\n");
  EXPECT_EQ(r.err, "");
  // A shorter explicit width is honoured, and reported.
  r = run_split("input F3. 12345");
  EXPECT_EQ(r.out, "123\n");
  EXPECT_TRUE(has(r.err, "read only its first 3 of 5 characters")) << r.err;
  // Trailing blanks are not text that was cut.
  EXPECT_EQ(run_split("input F3. '12  '").err, "");
  // Forty nines: longer than the informat's largest width (32), so only
  // 32 of them are read, with a warning either way.
  const std::string nines(40, '9');
  r = run_split("input F. " + nines);
  EXPECT_TRUE(has(r.err, "longer than the informat's largest width")) << r.err;
  EXPECT_EQ(r.out, "1e+32\n");
  r = run_split("input F32. " + nines);
  EXPECT_TRUE(has(r.err, "read only its first 32 of 40")) << r.err;
}

TEST(ToolWarnings, CharacterTextCutToTheWidth) {
  auto r = run_split("put '$CHAR3.' abcdef");
  EXPECT_EQ(r.out, "abc\n");
  EXPECT_TRUE(has(r.err, "(text cut to width 3)")) << r.err;
  // Characters, not bytes: three accented letters fit three columns.
  r = run_split("put --encoding utf8 '$CHAR3.' 'éèê'");
  EXPECT_EQ(r.out, "éèê\n");
  EXPECT_EQ(r.err, "");
}

TEST(ToolWarnings, StreamHandsBytesOverUnchanged) {
  // 0xE9 is no UTF-8 but a byte like any other; NUL is inside the value.
  auto r = run_split("stream '$CHAR6.'", std::string("caf\xE9\n", 5));
  EXPECT_EQ(r.out, std::string("caf\xE9  \n", 7));
  r = run_split("stream '$CHAR5.'", std::string("a\0b\n", 4));
  EXPECT_EQ(r.out, std::string("a\0b  \n", 6));
  EXPECT_EQ(r.status, 0);
  // Asked for UTF-8, the narrow byte is shown as the character it stands
  // for in Windows-1252.
  r = run_split("stream --encoding utf8 '$CHAR4.'", "caf\xE9\n");
  EXPECT_EQ(r.out, "caf\xC3\xA9\n");
}

TEST(ToolWarnings, FailedValuesAreEscapedAndCapped) {
  auto r = run_split("input F8. \"$(printf '\\3771')\"");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(has(r.err, "F8.: \"\\xFF1\" invalid numeric data")) << r.err;
  // A long bad line is echoed with at most 80 of its bytes.
  const std::string junk(500, 'x');
  r = run_split("stream F8.", junk + "\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(has(r.err, "\"" + std::string(80, 'x') + "...\"")) << r.err;
  EXPECT_FALSE(has(r.err, std::string(81, 'x')));
}

TEST(ToolWarnings, MessagesSayInformatForInformats) {
  const auto r = run_split("input 'F8.x' 1");
  EXPECT_TRUE(has(r.err, "not an informat name")) << r.err;
}

TEST(ToolWarnings, Version) {
  const auto r = run_split("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("valfmt ", 0), 0U) << r.out;
}

} // namespace
