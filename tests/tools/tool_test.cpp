// The valfmt tool: commands, options, output and exit codes, and how it
// behaves as a host (case of names, limits of w and d, unbuilt formats).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct ToolRun {
  int status;
  std::string out; // standard output and standard error together
};

ToolRun run(const std::string &args, const std::string &stdin_text = "") {
  std::string cmd = std::string("printf '%b' '") + stdin_text + "' | " +
                    VALFMT_TOOL_PATH + " " + args + " 2>&1";
  FILE *p = popen(cmd.c_str(), "r");
  ToolRun r{-1, {}};
  if (p == nullptr) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

TEST(Tool, PutRendersValues) {
  EXPECT_EQ(run("put '$CHAR5.' abc").out, "abc  \n");
  EXPECT_EQ(run("put --encoding ucs2 --hex '$CHAR3.' 'é'").out,
            "é    [E9 00 20 00 20 00]\n");
  EXPECT_EQ(run("put '$IS-INTRINSIC3.' DATE nosuch").out, "YES\nNO \n");
  EXPECT_EQ(run("put DATE9. 0 366 .").out, "01JAN1960\n01JAN1961\n        .\n");
  EXPECT_EQ(run("put F6.2 1 -2.5").out, "  1.00\n -2.50\n");
  // The descriptor's default width when none is given.
  EXPECT_EQ(run("put BEST. 1234.5").out, "      1234.5\n");
  EXPECT_EQ(run("put --hex '$CHAR2.' ab").out, "ab  [61 62]\n");
}

TEST(Tool, InputReadsTexts) {
  EXPECT_EQ(run("input F8. 1,234").status, 1) << "plain F has no commas";
  EXPECT_EQ(run("input COMMA10. 1,234.5 .A .").out, "1234.5\n.A\n.\n");
  EXPECT_EQ(run("put @F8.2 12345").out, "123.45\n");
  EXPECT_EQ(run("put --informat '$UPCASE4.' abcd").out, "ABCD\n");
}

TEST(Tool, InputShowRerendersEachValueRead) {
  EXPECT_EQ(run("input --show DATE9. YYMMDD10. 2022-12-21").out, "21DEC2022\n");
  // 1960-01-01 is day 0 and 1961-01-01 day 366; a missing value stays one.
  EXPECT_EQ(run("input --show yymmdd10. date9. 01JAN1960 01jan61 .").out,
            "1960-01-01\n1961-01-01\n         .\n");
  EXPECT_EQ(run("input --show TIME8. TIME10. 1:30PM").out, "13:30:00\n");
  // A text that does not read fails alone; the others still print.
  const ToolRun bad = run("input --show DATE9. MMDDYY10. 02/30/60 12/31/60");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("0x8001D814"), std::string::npos) << bad.out;
  EXPECT_NE(bad.out.find("31DEC1960\n"), std::string::npos) << bad.out;
  EXPECT_EQ(run("input --show NOSUCH. DATE9. 01JAN60").status, 2);
  EXPECT_EQ(run("input --show DATE9. '$CHAR5.' abc").status, 2);
  EXPECT_EQ(run("put --show DATE9. F8. 1").status, 2);
  EXPECT_EQ(run("input --show").status, 2);
}

TEST(Tool, StreamAppliesOneFormatToEveryLine) {
  const ToolRun r = run("stream YYMMDD10.", "0\\n-1\\nxyz\\n23000\\n");
  EXPECT_EQ(r.status, 1) << "a line that is not a number fails the run";
  EXPECT_NE(r.out.find("1960-01-01\n1959-12-31\n"), std::string::npos);
  EXPECT_NE(r.out.find("line 3: YYMMDD10.: \"xyz\" not a number"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("2022-12-21\n"), std::string::npos);
}

TEST(Tool, ErrorsNameTheStatus) {
  const ToolRun r = run("put NOSUCH9. 1");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "valfmt: NOSUCH9.: name not found (status 0x00000001)\n");
  EXPECT_EQ(run("put F8.x 1").status, 2);
  EXPECT_EQ(run("put F8.2").status, 2);
  EXPECT_EQ(run("put --encoding latin9 F8.2 1").status, 2);
  EXPECT_EQ(run("frobnicate").status, 2);
  EXPECT_EQ(run("put --bogus F8. 1").status, 2);
  EXPECT_EQ(run("put --catalog /nonexistent/cntlout.xml AGEGRP. 1").status, 2);
  EXPECT_EQ(run("put AGEGRP. 42").status, 2) << "no catalogue, no format";
  EXPECT_EQ(run("list NOPE").status, 2);
}

TEST(Tool, HelpOnEveryCommand) {
  for (const char *args : {"--help", "put --help", "input --help",
                           "stream --help", "list --help", "describe -h"}) {
    const ToolRun r = run(args);
    EXPECT_EQ(r.status, 0) << args;
    EXPECT_NE(r.out.find("usage: valfmt"), std::string::npos) << args;
  }
}

TEST(ToolHost, NamesInAnyCase) {
  EXPECT_EQ(run("put date9. 0").out, "01JAN1960\n");
  EXPECT_EQ(run("put '$char5.' ab").out, "ab   \n");
  EXPECT_EQ(run("input comma10. 1,234.5").out, "1234.5\n");
  EXPECT_NE(run("list jazwftme").out.find("(10 names)"), std::string::npos);
}

TEST(ToolHost, WidthAndDecimalsStayInsideTheLimits) {
  ToolRun r = run("put DATE20. 0");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "valfmt: DATE20.: width 20 outside 5..11\n");
  r = run("put F8.40 1");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "valfmt: F8.40: decimals 40 outside 0..31\n");
  // A width too large to be a number at all is not a format reference.
  EXPECT_EQ(run("put F99999999999. 1").status, 2);
  EXPECT_EQ(run("put F8.123 1").status, 2);
  // The limits themselves are accepted.
  EXPECT_EQ(run("put DATE11. 0").out, "01-JAN-1960\n");
  EXPECT_EQ(run("put F32.31 0").status, 0);
}

TEST(ToolHost, UnbuiltFormatIsOneErrorBeforeAnyValue) {
  const ToolRun r = run("input AFRDFDE. 01.02.2003 02.03.2004 03.04.2005");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out,
            "valfmt: AFRDFDE.: informat not implemented (status 0x8001D830)\n");
}

TEST(ToolHost, DoubleDashEndsTheOptions) {
  const ToolRun r = run("put F6.2 -- -2.5 --hex");
  EXPECT_EQ(r.status, 1) << "--hex after -- is a value, not a number";
  EXPECT_NE(r.out.find(" -2.50\n"), std::string::npos);
  EXPECT_NE(r.out.find("F6.2: \"--hex\" not a number"), std::string::npos);
}

TEST(ToolHost, PaddedNumbersAndInformatBytes) {
  EXPECT_EQ(run("put F6.2 '  3.5  ' '.b '").out, "  3.50\n   B  \n");
  ToolRun r = run("put F6.2 ''");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "valfmt: F6.2: \"\" not a number\n");
  // --hex shows the stored double of a numeric informat, missing code too.
  EXPECT_EQ(run("input --hex F8. 1.5 .A").out,
            "1.5  [00 00 00 00 00 00 F8 3F]\n.A  [00 00 00 00 00 FD FF FF]\n");
}

TEST(ToolHost, DescribeReachesTheCatalogue) {
  const std::string cat =
      std::string("--catalog ") + VALFMT_SOURCE_DIR + "/examples/cntlout.xml ";
  const ToolRun r = run("describe " + cat + "'$GRADE'");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("kind:     user-defined character format"),
            std::string::npos);
  EXPECT_EQ(run("describe AGEGRP").status, 2) << "no catalogue, no format";
}

// Binary representations are bytes, not text: shown in hex, and read from
// hex with --hex.
TEST(Tool, BinaryFormatsShowAndReadBytes) {
  EXPECT_EQ(run("put S370FPD3. -123 123").out, "00 12 3D\n00 12 3C\n");
  EXPECT_EQ(run("put IB4. 1").out, "01 00 00 00\n");
  EXPECT_EQ(run("input --hex S370FPD3. 00123D '00 12 3C'").out, "-123\n123\n");
  const ToolRun bad = run("input --hex S370FPD3. 0012G");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "valfmt: S370FPD3.: \"0012G\" not hexadecimal bytes\n");
  // Zoned decimal with an ASCII overpunched sign is text and stays text.
  EXPECT_EQ(run("put ZD4. 12").out, "001B\n");
}

} // namespace
