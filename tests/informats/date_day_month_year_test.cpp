// Date readers: layouts the round trip sweep does not produce, and the
// status of each kind of failure.
#include "informats/date_helpers.h"

namespace {

using date_test::all_fail;
using date_test::all_read;
using date_test::fails;
using date_test::missing_bits;
using date_test::reads;
using date_test::reads_date;

TEST(DateInformat, ReadsLayoutsAndTheTwoDigitYearWindow) {
  all_read(zifmdat, 1960, 1, 1,
           {"1jan60", "01-Jan-1960", "01 JAN 60", "   01JAN1960",
            "01JAN1960   ", "x01JAN1960", "01/jAn/1960", "01JANUARY1960"});
  // Only the first min(w, valuelen) bytes are read.
  EXPECT_TRUE(reads_date(zifmdat, "01JAN60XYZ", 1960, 1, 1, 7));
  EXPECT_TRUE(reads_date(zifmdat, "01JAN0", 2000, 1, 1));
}

TEST(DateInformat, RejectsWithTheStatusOfEachStep) {
  all_fail(zifmdat, VF_ERR_WIDTH, {"1JAN", ".."});
  all_fail(zifmdat, VF_ERR_DATE_NO_DIGIT, {"ABCDEFG"});
  // "0101960" has no letter; "0001JA" leaves two bytes.
  all_fail(zifmdat, VF_ERR_DATE_DAY,
           {"32JAN60", "00JAN60", "0101960", "01XYZ60", "0001JA"});
  // The year is checked before the month name.
  all_fail(zifmdat, VF_ERR_DATE_YEAR,
           {"01JAN1200", "01JAN1581", "01JAN20001", "01JAN----", "01JAN19x0",
            "01XYZ1200"});
  all_fail(zifmdat, VF_ERR_DATE_TEXT,
           {"30FEB1960", "29FEB1900", "29FEB4000", "31APR60"});
  all_fail(zifmdat, VF_OK, {"       ", "", "  .    "});
  EXPECT_TRUE(fails(zifmdat, ".a", VF_OK, -1, missing_bits('A')));
  EXPECT_TRUE(fails(zifmdat, "Z", VF_OK, -1, missing_bits('Z')));
  EXPECT_TRUE(fails(zifmdat, "._", VF_OK, -1, missing_bits('_')));
}

TEST(MonyyInformat, ReadsTheFirstOfTheMonth) {
  EXPECT_TRUE(reads_date(zifmmyy, "  feb1960", 1960, 2, 1));
  EXPECT_TRUE(reads_date(zifmmyy, "Dec-2049", 2049, 12, 1));
  all_fail(zifmmyy, VF_ERR_DATE_TEXT, {"60JAN"});
  all_fail(zifmmyy, VF_ERR_DATE_DAY, {"XYZ60"});
  all_fail(zifmmyy, VF_ERR_DATE_YEAR, {"JAN", "JAN1000"});
  // Bytes beyond the 30 read must be blank.
  const std::string tail30 = "JAN1960" + std::string(23, ' ');
  EXPECT_TRUE(reads_date(zifmmyy, tail30 + "  ", 1960, 1, 1));
  EXPECT_TRUE(fails(zifmmyy, tail30 + " 7", VF_ERR_DATE_TEXT));
}

TEST(NumericDateInformats, ReadTheirOrderWithOrWithoutDelimiters) {
  all_read(zifmmdy, 1960, 12, 31,
           {"12/31/60", "12-31-1960", " 12 31 60 ", "12.31.1960"});
  all_read(zifmmdy, 1960, 1, 5, {"1/5/60", "10560"});
  EXPECT_TRUE(reads_date(zifmymd, "200001231", 20000, 12, 31));
  EXPECT_TRUE(reads_date(zifmymd, "1582/1/1", 1582, 1, 1));
}

TEST(NumericDateInformats, RejectSplitsAndImpossibleDates) {
  // Leading zeros are dropped before the split: 105960 is 10/59/60.
  all_fail(zifmmdy, VF_ERR_DATE_TEXT,
           {"0105960", "02/30/60", "12/31", "13/01/60", "00/01/60", "12/31-60",
            "12a31a60", "12/31/60x", "12//31/60", "00000", "01/01/1000",
            "01/01/20001"});
  all_fail(zifmmdy, VF_ERR_WIDTH, {"1/1", "1231"});
  all_fail(zifmmdy, VF_OK, {"."});
  all_fail(zifmymd, VF_ERR_WIDTH, {"0101"});
  all_fail(zifmymd, VF_ERR_DATE_TEXT, {"40000229"});
  all_fail(zifmdmy, VF_ERR_DATE_TEXT, {"29/02/1900"});
}

TEST(JulianInformat, ReadsYearAndDayOfYear) {
  EXPECT_TRUE(reads_date(zifmjul, "  2000366  ", 2000, 12, 31));
  EXPECT_TRUE(reads_date(zifmjul, "20000365", 20000, 12, 31));
  all_fail(zifmjul, VF_ERR_DATE_TEXT,
           {"1961366", "1581365", "00000", "1960-001", "1960 001"});
  EXPECT_TRUE(fails(zifmjul, "b", VF_OK, -1, missing_bits('B')));
}

} // namespace
