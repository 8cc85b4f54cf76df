// Column mode of stream: CSV read and written as RFC 4180 describes it,
// several formatted columns per pass, bad cells reported with line and
// column, rows of any length, the progress line.
#include <gtest/gtest.h>

#include <chrono>

#include "tools/tool_run.h"

namespace {

using tooltest::has;
using tooltest::run_split;

// Day number of a civil date counted from 1 January 1960, worked out with
// the standard calendar rather than with the library.
long day_number(int y, unsigned m, unsigned d) {
  using namespace std::chrono;
  return (sys_days{year{y} / month{m} / day{d}} -
          sys_days{year{1960} / January / 1})
      .count();
}

TEST(ToolCsv, FormatsSeveralColumnsAndCopiesTheOthers) {
  const std::string in = "id,amount,day,note\n"
                         "1,1234.5,0,plain\n"
                         "2,-0.125,366,\"quoted, with comma\"\n";
  auto r =
      run_split("stream --csv --header --col 2=COMMA10.2 --col 3=DATE9.", in);
  EXPECT_EQ(r.status, 0) << r.err;
  // COMMA output holds the delimiter, so the writer quotes it; the padding
  // of the fields stays unless --trim.
  EXPECT_EQ(r.out, "id,amount,day,note\n"
                   "1,\"  1,234.50\",01JAN1960,plain\n"
                   "2,     -0.13,01JAN1961,\"quoted, with comma\"\n");
  r = run_split("stream --csv --header --trim --col 2=COMMA10.2 "
                "--col 3=DATE9.",
                in);
  EXPECT_EQ(r.out, "id,amount,day,note\n"
                   "1,\"1,234.50\",01JAN1960,plain\n"
                   "2,-0.13,01JAN1961,\"quoted, with comma\"\n");
}

TEST(ToolCsv, InformatColumnsReadTheirText) {
  const auto r = run_split("stream --csv --col 1=@DATE9. --col 2=@COMMA10.",
                           "21DEC2022,\"1,234.5\"\n01JAN1960,7\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::to_string(day_number(2022, 12, 21)) + ",1234.5\n0,7\n");
}

TEST(ToolCsv, BadCellsAreReportedAndTheRowIsKept) {
  // The quoted cell of line 2 runs over two lines, so the bad cell of the
  // next row is on line 4.
  const std::string in = "a,1\n\"two\nlines\",2\nb,x\n";
  auto r = run_split("stream --csv --col 2=F4.1", in);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "a, 1.0\n\"two\nlines\", 2.0\nb,x\n");
  EXPECT_TRUE(has(r.err, "line 4, column 2: F4.1: \"x\" not a number"))
      << r.err;
  EXPECT_TRUE(has(r.err, "3 rows, 1 cells failed")) << r.err;
  r = run_split("stream --csv --bad-as-empty --col 2=F4.1", in);
  EXPECT_EQ(r.out, "a, 1.0\n\"two\nlines\", 2.0\nb,\n");
}

TEST(ToolCsv, EmptyCellsAreBadOrMissing) {
  auto r = run_split("stream --csv --col 2=F4.1", "a,\n");
  EXPECT_EQ(r.status, 1);
  r = run_split("stream --csv --empty-as-missing --trim --col 2=F4.1 "
                "--col 3=@F8.",
                "a,,\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a,.,.\n");
}

TEST(ToolCsv, QuotesLineEndsAndDelimiters) {
  // Doubled quotes stay doubled, CR LF rows stay CR LF, and a cell the
  // tool writes is quoted when it holds a quote.
  auto r = run_split("stream --csv --col 2='$CHAR4.'",
                     "\"say \"\"hi\"\"\",ab\r\nx,a\"b\r\n");
  EXPECT_EQ(r.out, "\"say \"\"hi\"\"\",ab  \r\nx,\"a\"\"b \"\r\n");
  r = run_split("stream --csv --delimiter ';' --col 2=F5.1", "a;1,5\nb;2\n");
  EXPECT_EQ(r.status, 1) << "1,5 is not a number with ';' cells";
  EXPECT_TRUE(has(r.out, "b;  2.0\n")) << r.out;
  r = run_split("stream --csv --delimiter tab --trim --col 1=F5.1", "2\tx,y\n");
  EXPECT_EQ(r.out, "2.0\tx,y\n");
  // The last row needs no line end.
  EXPECT_EQ(run_split("stream --csv --col 1=F3.", "1,2").out, "  1,2\n");
}

TEST(ToolCsv, LongRowsStream) {
  // A 300 000-byte cell that no format reads is copied whole; one that a
  // format reads is used up to 64 KiB, with a warning.
  const std::string big(300000, 'z');
  auto r = run_split("stream --csv --col 1=F3.", "1," + big + "\n");
  EXPECT_EQ(r.out, "  1," + big + "\n");
  r = run_split("stream '$CHAR3.'", big + "\n");
  EXPECT_EQ(r.out, "zzz\n");
  EXPECT_TRUE(has(r.err, "only its first 65536")) << r.err;
}

TEST(ToolCsv, ProgressLineOnRequest) {
  std::string in;
  for (int i = 0; i < 5000; ++i) in += std::to_string(i) + "\n";
  auto r = run_split("stream --progress F8.", in);
  EXPECT_TRUE(has(r.err, "5000 rows")) << r.err;
  EXPECT_TRUE(has(r.err, "rows/s")) << r.err;
  r = run_split("stream --no-progress F8.", in);
  EXPECT_EQ(r.err, "");
  // Not a terminal: no progress line by default.
  EXPECT_EQ(run_split("stream F8.", in).err, "");
}

TEST(ToolCsv, UsageErrors) {
  EXPECT_EQ(run_split("stream --csv").status, 2);
  EXPECT_EQ(run_split("stream --col 0=F8.").status, 2);
  EXPECT_EQ(run_split("stream --col 2=F8. --col 2=F3.").status, 2);
  EXPECT_EQ(run_split("stream --col 2=NOSUCH.").status, 2);
  EXPECT_EQ(run_split("stream --header F8.").status, 2);
  EXPECT_EQ(run_split("put --col 2=F8. F8. 1").status, 2);
  EXPECT_EQ(run_split("stream --delimiter '\"' --col 1=F8.").status, 2);
  EXPECT_EQ(run_split("stream F8. /nonexistent/file").status, 2);
}

TEST(ToolCsv, ARowWithoutAFormattedColumnIsAWarning) {
  auto r =
      run_split("stream --csv --col 2=F4.1 --col 4=F2.", "a,1\nb\nc,2,3,4\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "a, 1.0\nb\nc, 2.0,3, 4\n");
  EXPECT_TRUE(has(r.err, "line 1: row of 2 cells has no column 4")) << r.err;
  EXPECT_TRUE(has(r.err, "line 2: row of 1 cells has no column 2")) << r.err;
  EXPECT_TRUE(has(r.err, "3 rows, 0 cells failed, 2 warnings")) << r.err;
  EXPECT_EQ(run_split("stream --csv --strict --col 2=F4.1", "b\n").status, 1);
}

} // namespace
