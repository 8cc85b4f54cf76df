// Quarter and month readers and the free-form date reader.
#include "informats/date_helpers.h"

namespace {

using date_test::all_fail;
using date_test::all_read;
using date_test::fails;
using date_test::missing_bits;
using date_test::reads_date;

TEST(YyqInformat, ReadsTheFirstDayOfTheQuarter) {
  all_read(zifmyyq, 1960, 1, 1, {"60q1"});
  EXPECT_TRUE(reads_date(zifmyyq, "  1960Q4", 1960, 10, 1));
  // A year has at most four bytes: "2000" is followed by "0", not "Q".
  all_fail(zifmyyq, VF_ERR_DATE_TEXT,
           {"20000Q4", "1960Q5", "1960Q0", "1960X1", "1960Q", "1960Qx",
            "1960Q.", "6Q1", "1200Q1"});
  all_fail(zifmyyq, VF_ERR_WIDTH, {"Q1"});
  EXPECT_TRUE(fails(zifmyyq, "q", VF_OK, -1, missing_bits('Q')));
}

TEST(YyqzAndYymmnInformats, YearLengthFollowsTheBytesLeft) {
  EXPECT_TRUE(reads_date(zifmyqz, " 6004", 1960, 10, 1));
  EXPECT_TRUE(reads_date(zifmyqz, "6002  ", 1960, 4, 1));
  // "196011" has no "0" before the quarter; "19600" no quarter.
  all_fail(zifmyqz, VF_ERR_DATE_TEXT, {"196011", "196005", "19600"});
  all_fail(zifmyqz, VF_ERR_WIDTH, {"601"});
  all_read(zifmymn, 1960, 1, 1, {"  6001"});
  EXPECT_TRUE(reads_date(zifmymn, "19609", 1960, 9, 1));
  all_fail(zifmymn, VF_ERR_DATE_TEXT, {"196013", "196000", "60x1", "   6"});
  all_fail(zifmymn, VF_ERR_WIDTH, {"601"});
}

TEST(XyymmddInformat, AcceptsAnyDelimitersAndSplits) {
  all_read(zifmxym, 1960, 1, 15,
           {"60/1/15", "6001/15", "60 0115", "1960x01y15", "  1960.1.15  ",
            "196001-15", "1960 115", "601/15"});
  EXPECT_TRUE(reads_date(zifmxym, "60115", 2006, 1, 15));  // 6, 01, 15
  EXPECT_TRUE(reads_date(zifmxym, "19601/5", 1960, 1, 5)); // 5 digits
  EXPECT_TRUE(reads_date(zifmxym, "2000-12-31-99", 2000, 12, 31));
  // With a one- or two-digit day, four digits before it are yymm.
  EXPECT_TRUE(reads_date(zifmxym, "1960/15", 2019, 12, 15));
  EXPECT_TRUE(reads_date(zifmxym, "1/1/1", 2001, 1, 1));
  EXPECT_TRUE(reads_date(zifmxym, "0000001", 2000, 1, 1));
  all_fail(zifmxym, VF_ERR_DATE_TEXT,
           {"19/15", "1960101/15", "1960/12345", "ab-cd-ef", "1500-01-01"});
  all_fail(zifmxym, VF_ERR_WIDTH, {"1/1"});
  all_fail(zifmxym, VF_OK, {"00000000", "  0 0   ", ""});
  EXPECT_TRUE(fails(zifmxym, ".x", VF_OK, -1, missing_bits('X')));
}

TEST(XyymmddInformat, ClampsMonthAndDayButNotTheMonthLength) {
  EXPECT_TRUE(reads_date(zifmxym, "1960-13-40", 1960, 12, 31));
  EXPECT_TRUE(reads_date(zifmxym, "1960-00-00", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmxym, "1960-99-01", 1960, 12, 1));
  all_fail(zifmxym, VF_ERR_DATE_TEXT, {"1960-02-30", "1900-02-29"});
}

} // namespace
