// input --iso: ISO 8601 points in time, durations and intervals read by the
// library's readers, printed as packed digits and extended text.
#include <gtest/gtest.h>

#include "tools/tool_run.h"

namespace {

using tooltest::has;
using tooltest::run_split;

// The packed form, nibble by nibble: year, month as one hexadecimal digit,
// day, hour, minute, second (FF when omitted), ten fraction bits (all set
// when omitted) and the point-in-time bit: FF then D for no fraction.
TEST(ToolIso, PointsInTimeArePackedAndShown) {
  auto r = run_split("input --iso 2022-12-21T12:34:56 2022-12-21");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string first = r.out.substr(0, r.out.find('\n'));
  EXPECT_EQ(first, "2022C21123456FFD  2022-12-21T12:34:56");
  EXPECT_TRUE(has(r.out, "\n2022C21FFFFFFFFD  ")) << r.out;
  EXPECT_EQ(r.err, "");
}

TEST(ToolIso, DurationsAndIntervals) {
  auto r = run_split("input --iso P1D 2022-01-01/P1D");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::size_t nl = r.out.find('\n');
  ASSERT_NE(nl, std::string::npos) << r.out;
  const std::string duration = r.out.substr(0, r.out.find(' '));
  ASSERT_EQ(duration.size(), 16u) << r.out;
  // A duration's last nibble has the point-in-time bit clear.
  EXPECT_EQ(std::stoi(duration.substr(15), nullptr, 16) % 2, 0) << duration;
  const std::string interval =
      r.out.substr(nl + 1, r.out.find(' ', nl) - nl - 1);
  ASSERT_EQ(interval.size(), 32u) << r.out;
  EXPECT_EQ(interval.substr(0, 16), "2022101FFFFFFFFD");
}

TEST(ToolIso, BadTextsAndUsage) {
  auto r = run_split("input --iso 2022-12-21 'no\"date'");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(has(r.out, "2022C21FFFFFFFFD")) << "the good text still prints";
  EXPECT_TRUE(has(r.err, "valfmt: input --iso \"no\\\"date\": ")) << r.err;
  EXPECT_EQ(run_split("input --iso").status, 2);
  EXPECT_EQ(run_split("put --iso 2022-12-21").status, 2);
  EXPECT_EQ(run_split("input --iso --show DATE9. 2022-12-21").status, 2);
}

} // namespace
