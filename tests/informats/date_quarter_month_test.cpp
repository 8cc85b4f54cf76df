// @YYQ, @YYQZ, @YYMMN and @XYYMMDD: year lengths, quarter and month
// positions, and the clamping and splitting rules of @XYYMMDD.
#include "informats/date_helpers.h"

namespace {

using date_test::fails;
using date_test::missing_bits;
using date_test::reads_date;

TEST(YyqInformat, ReadsTheFirstDayOfTheQuarter) {
  EXPECT_TRUE(reads_date(zifmyyq, "1960Q1", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmyyq, "60q1", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmyyq, "  1960Q4", 1960, 10, 1));
  EXPECT_TRUE(reads_date(zifmyyq, "49Q2", 2049, 4, 1));
  EXPECT_TRUE(reads_date(zifmyyq, "50Q3 ", 1950, 7, 1));
  // A year has at most four bytes: "2000" is followed by "0", not "Q".
  EXPECT_TRUE(fails(zifmyyq, "20000Q4", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "1960Q5", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "1960Q0", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "1960X1", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "1960Q", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "1960Qx", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "1960Q.", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "6Q1", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "Q1", VF_ERR_WIDTH));
  EXPECT_TRUE(fails(zifmyyq, "1200Q1", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyyq, "q", VF_OK, -1, missing_bits('Q')));
}

TEST(YyqzInformat, YearLengthFollowsTheBytesLeft) {
  EXPECT_TRUE(reads_date(zifmyqz, "196001", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmyqz, "6003", 1960, 7, 1));
  EXPECT_TRUE(reads_date(zifmyqz, " 6004", 1960, 10, 1));
  EXPECT_TRUE(reads_date(zifmyqz, "6002  ", 1960, 4, 1));
  EXPECT_TRUE(reads_date(zifmyqz, "4904", 2049, 10, 1));
  EXPECT_TRUE(fails(zifmyqz, "196011", VF_ERR_DATE_TEXT)); // no "0"
  EXPECT_TRUE(fails(zifmyqz, "196005", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmyqz, "19600", VF_ERR_DATE_TEXT)); // no quarter
  EXPECT_TRUE(fails(zifmyqz, "601", VF_ERR_WIDTH));
}

TEST(YymmnInformat, ReadsTheFirstDayOfTheMonth) {
  EXPECT_TRUE(reads_date(zifmymn, "196001", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmymn, "6012", 1960, 12, 1));
  EXPECT_TRUE(reads_date(zifmymn, "19609", 1960, 9, 1));
  EXPECT_TRUE(reads_date(zifmymn, "  6001", 1960, 1, 1));
  EXPECT_TRUE(fails(zifmymn, "196013", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmymn, "196000", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmymn, "60x1", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmymn, "601", VF_ERR_WIDTH));
  EXPECT_TRUE(fails(zifmymn, "   6", VF_ERR_DATE_TEXT));
}

TEST(XyymmddInformat, AcceptsAnyDelimitersAndSplits) {
  for (const char *t :
       {"1960-01-15", "60/1/15", "19600115", "6001/15", "60 0115", "1960x01y15",
        "  1960.1.15  ", "196001-15", "1960 115"})
    EXPECT_TRUE(reads_date(zifmxym, t, 1960, 1, 15));
  EXPECT_TRUE(reads_date(zifmxym, "60115", 2006, 1, 15));  // 6, 01, 15
  EXPECT_TRUE(reads_date(zifmxym, "601/15", 1960, 1, 15)); // 3 digits: y, m
  EXPECT_TRUE(reads_date(zifmxym, "19601/5", 1960, 1, 5)); // 5 digits
  EXPECT_TRUE(reads_date(zifmxym, "2000-12-31-99", 2000, 12, 31));
}

TEST(XyymmddInformat, ClampsMonthAndDayButNotTheMonthLength) {
  EXPECT_TRUE(reads_date(zifmxym, "1960-13-40", 1960, 12, 31));
  EXPECT_TRUE(reads_date(zifmxym, "1960-00-00", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmxym, "1960-99-01", 1960, 12, 1));
  EXPECT_TRUE(fails(zifmxym, "1960-02-30", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmxym, "1900-02-29", VF_ERR_DATE_TEXT));
}

TEST(XyymmddInformat, RejectsUnsplittableTexts) {
  // With a one- or two-digit day, four digits before it are yymm.
  EXPECT_TRUE(reads_date(zifmxym, "1960/15", 2019, 12, 15));
  EXPECT_TRUE(fails(zifmxym, "19/15", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmxym, "1960101/15", VF_ERR_DATE_TEXT)); // 7 digits
  EXPECT_TRUE(fails(zifmxym, "1960/12345", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmxym, "ab-cd-ef", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(reads_date(zifmxym, "1/1/1", 2001, 1, 1));
  EXPECT_TRUE(fails(zifmxym, "1500-01-01", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmxym, "1/1", VF_ERR_WIDTH));
}

TEST(XyymmddInformat, BlanksAndZerosAreMissing) {
  EXPECT_TRUE(fails(zifmxym, "00000000", VF_OK));
  EXPECT_TRUE(fails(zifmxym, "  0 0   ", VF_OK));
  EXPECT_TRUE(fails(zifmxym, "", VF_OK));
  EXPECT_TRUE(fails(zifmxym, ".x", VF_OK, -1, missing_bits('X')));
  EXPECT_TRUE(reads_date(zifmxym, "0000001", 2000, 1, 1));
}

} // namespace
