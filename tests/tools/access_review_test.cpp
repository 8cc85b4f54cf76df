// The valfmt tool as a host: case of names, limits of w and d, formats
// without an implementation, the end-of-options marker, and user formats
// in describe.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct ToolRun {
  int status;
  std::string out; // standard output and standard error together
};

ToolRun run(const std::string &args) {
  const std::string cmd =
      std::string(VALFMT_TOOL_PATH) + " " + args + " 2>&1 </dev/null";
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

TEST(AccessReviewTool, NamesInAnyCase) {
  EXPECT_EQ(run("put date9. 0").out, "01JAN1960\n");
  EXPECT_EQ(run("put '$char5.' ab").out, "ab   \n");
  EXPECT_EQ(run("input comma10. 1,234.5").out, "1234.5\n");
  EXPECT_NE(run("list jazwftme").out.find("JAZWFTME (10 names)"),
            std::string::npos);
}

TEST(AccessReviewTool, WidthAndDecimalsStayInsideTheLimits) {
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

TEST(AccessReviewTool, UnbuiltFormatIsOneErrorBeforeAnyValue) {
  const ToolRun r = run("input AFRDFDE. 01.02.2003 02.03.2004 03.04.2005");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out,
            "valfmt: AFRDFDE.: format not implemented (status 0x8001D830)\n");
}

TEST(AccessReviewTool, DoubleDashEndsTheOptions) {
  const ToolRun r = run("put F6.2 -- -2.5 --hex");
  EXPECT_EQ(r.status, 1) << "--hex after -- is a value, not a number";
  EXPECT_NE(r.out.find(" -2.50\n"), std::string::npos);
  EXPECT_NE(r.out.find("--hex: not a number"), std::string::npos);
}

TEST(AccessReviewTool, PaddedNumbersAndInformatBytes) {
  EXPECT_EQ(run("put F6.2 '  3.5  ' '.b '").out, "  3.50\n   B  \n");
  ToolRun r = run("put F6.2 ''");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "valfmt: empty value: not a number\n");
  // --hex shows the stored double of a numeric informat, missing code too.
  EXPECT_EQ(run("input --hex F8. 1.5 .A").out,
            "1.5  [00 00 00 00 00 00 F8 3F]\n.A  [00 00 00 00 00 FD FF FF]\n");
}

TEST(AccessReviewTool, DescribeReachesTheCatalogue) {
  const std::string cat =
      std::string("--catalog ") + VALFMT_SOURCE_DIR + "/examples/cntlout.xml ";
  const ToolRun r = run("describe " + cat + "'$GRADE'");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("kind:     user-defined character format"),
            std::string::npos);
  EXPECT_EQ(run("describe AGEGRP").status, 2) << "no catalogue, no format";
}

} // namespace
