// stream in its plain mode: every kind of line gives the same result
// whether it takes the quick road of plain numbers or the general one, and
// lines that straddle the pieces the input is read in are whole.
#include <gtest/gtest.h>

#include "tools/tool_run.h"

namespace {

using tooltest::has;
using tooltest::run_split;

TEST(ToolStream, EveryKindOfLine) {
  const std::string in = "1\r\n"    // CR LF kept
                         " 2.5\t\n" // blanks and tabs around
                         "+3\n"     // sign, hexadecimal: read as before
                         "0x10\n"
                         ".5\n"     // a number, not a missing notation
                         ".a\n"     // a missing value, any case
                         "1e400\n"  // too large: asterisks and a warning
                         "abc\n"    // not a number: an empty line
                         "x\ry\n"   // a lone CR is data
                         "\n"       // an empty line is no number either
                         "-0.125\n" // half a cent rounds away from zero
                         "7";       // last line without its end
  const auto r = run_split("stream F8.2", in);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "    1.00\r\n"
                   "    2.50\n"
                   "    3.00\n"
                   "   16.00\n"
                   "    0.50\n"
                   "     A  \n"
                   "********\n"
                   "\n"
                   "\n"
                   "\n"
                   "   -0.13\n"
                   "    7.00\n");
  EXPECT_TRUE(has(r.err, "line 7: F8.2: \"1e400\" shown as \"********\""))
      << r.err;
  EXPECT_TRUE(has(r.err, "line 8: F8.2: \"abc\" not a number")) << r.err;
  EXPECT_TRUE(has(r.err, "line 9: F8.2: \"x\\x0Dy\" not a number")) << r.err;
  EXPECT_TRUE(has(r.err, "line 10: F8.2: \"\" not a number")) << r.err;
  EXPECT_TRUE(has(r.err, "12 rows, 3 lines failed, 1 warnings")) << r.err;
}

TEST(ToolStream, LinesAcrossReadPiecesStayWhole) {
  // 400000 lines of 5 bytes (2 MB) cross the 1 MiB pieces in mid-line;
  // every tenth line is a missing value to mix in the general road.
  std::string in, want;
  for (int i = 0; i < 400000; ++i) {
    in += i % 10 == 9 ? "   .\n" : "12.5\n";
    want += i % 10 == 9 ? "       .  \n" : "     12.50\n";
  }
  const auto r = run_split("stream F10.2", in);
  EXPECT_EQ(r.status, 0) << r.err.substr(0, 200);
  EXPECT_TRUE(r.out == want) << "output of " << r.out.size() << " bytes, "
                             << want.size() << " expected";
  EXPECT_EQ(r.err, "");
}

TEST(ToolStream, UserFormatsTakeTheSameRoad) {
  const std::string cat =
      std::string("--catalog ") + VALFMT_SOURCE_DIR + "/examples/cntlout.xml ";
  const auto r = run_split("stream " + cat + "AMOUNT15.", "1234.5\n-2\n1e12\n");
  // The picture 000,000,009.99 holds at most 999,999,999.99.
  EXPECT_EQ(r.out, "       1,234.50\n"
                   "          -2.00\n"
                   "***************\n");
  EXPECT_TRUE(has(r.err, "line 3: AMOUNT15.: \"1e12\" shown as "
                         "\"***************\""))
      << r.err;
  EXPECT_EQ(r.status, 0);
}

} // namespace
