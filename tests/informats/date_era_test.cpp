// Era and Minguo readers: era boundaries, delimiters and failures.
#include "informats/date_helpers.h"

namespace {

using date_test::all_fail;
using date_test::all_read;
using date_test::fails;
using date_test::missing_bits;
using date_test::reads_date;

TEST(NengoInformat, ReadsEraDates) {
  all_read(zifmnen, 1989, 1, 8,
           {"H01.01.08", "h1/1/8", "010108", "  H.01/01/08", "H 1 1 8",
            "H010108", "1.1.8"});
  // The first day of Meiji lies before the round trip sweep's range.
  EXPECT_TRUE(reads_date(zifmnen, "M01.04.06", 1868, 4, 6));
  EXPECT_TRUE(reads_date(zifmnen, "t15.12.24", 1926, 12, 24));
}

// Each era ends the day before the next begins; every failure stores the
// standard missing value, so a reused result buffer never keeps a stale
// date.  Era year, month and day take at most two digits each: 123108 is
// year 12, month 31, day 08.
TEST(NengoInformat, EraBoundariesAndFailures) {
  all_fail(zifmnen, VF_ERR_DATE_TEXT,
           {"S64.01.08", "T16.01.01", "M01.04.05", "H01.01.07", "T01.07.29",
            "X01.01.01", "H01.02.30", "H01.13.01", "H01.01", "H01.JAN.08",
            "H00.12.31", "H1", "H1.",
            "\xC8"
            "01.01.08",
            "H123108xyz"});
  // Short texts go through the missing notation first.
  all_fail(zifmnen, VF_OK, {"", "    "});
  EXPECT_TRUE(fails(zifmnen, " .K ", VF_OK, -1, missing_bits('K')));
}

TEST(MinguoInformat, ReadsMinguoAndGregorianYears) {
  all_read(zifmmng, 1960, 1, 1,
           {"49-1-1", "490101", "49.1", "0049/01/01", "1960/1/1", "19600101",
            "49 1 1 "});
  EXPECT_TRUE(reads_date(zifmmng, "1/1/1", 1912, 1, 1));
  EXPECT_TRUE(reads_date(zifmmng, "1000101", 2011, 1, 1)); // 100/01/01
  EXPECT_TRUE(reads_date(zifmmng, "108/2", 2019, 2, 1));
  EXPECT_TRUE(reads_date(zifmmng, "1960/12", 1960, 12, 1)); // 7 bytes
}

// Short digit runs are rejected, not guessed; "19600/12" has 8 bytes.
TEST(MinguoInformat, Failures) {
  all_fail(zifmmng, VF_ERR_DATE_NO_DIGIT, {"49/01/01/1", "/490101", "ab/cd"});
  all_fail(zifmmng, VF_ERR_DATE_TEXT,
           {"19600/12", "0/1/1", "49/0/1", "49/2/30", "1500/1/1", "123456789",
            "1", "49", "491", "4901", "10001", "1912"});
  all_fail(zifmmng, VF_OK, {"  "});
  EXPECT_TRUE(fails(zifmmng, "_", VF_OK, -1, missing_bits('_')));
}

} // namespace
