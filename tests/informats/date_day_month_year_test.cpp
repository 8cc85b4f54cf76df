// @DATE, @MONYY, @MMDDYY, @DDMMYY, @YYMMDD and @JULIAN: accepted layouts,
// the two-digit year window, impossible dates, the year range and the
// status of each kind of failure.
#include "informats/date_helpers.h"

namespace {

using date_test::fails;
using date_test::missing_bits;
using date_test::reads;
using date_test::reads_date;

TEST(DateInformat, ReadsDayMonthNameYearLayouts) {
  for (const char *t :
       {"01JAN1960", "1jan60", "01-Jan-1960", "01 JAN 60", "   01JAN1960",
        "01JAN1960   ", "x01JAN1960", "01/jAn/1960", "01JANUARY1960"})
    EXPECT_TRUE(reads_date(zifmdat, t, 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmdat, "29FEB2000", 2000, 2, 29));
  EXPECT_TRUE(reads_date(zifmdat, "15OCT1582", 1582, 10, 15));
  EXPECT_TRUE(reads_date(zifmdat, "31DEC20000", 20000, 12, 31));
  // Only the first min(w, valuelen) bytes are read.
  EXPECT_TRUE(reads_date(zifmdat, "01JAN60XYZ", 1960, 1, 1, 7));
}

TEST(DateInformat, TwoDigitYearsUseTheFixedWindow) {
  EXPECT_TRUE(reads_date(zifmdat, "01JAN49", 2049, 1, 1));
  EXPECT_TRUE(reads_date(zifmdat, "01JAN50", 1950, 1, 1));
  EXPECT_TRUE(reads_date(zifmdat, "01JAN0", 2000, 1, 1));
}

TEST(DateInformat, RejectsWithTheStatusOfEachStep) {
  EXPECT_TRUE(fails(zifmdat, "1JAN", VF_ERR_WIDTH));
  EXPECT_TRUE(fails(zifmdat, "ABCDEFG", VF_ERR_DATE_NO_DIGIT));
  EXPECT_TRUE(fails(zifmdat, "32JAN60", VF_ERR_DATE_DAY));
  EXPECT_TRUE(fails(zifmdat, "00JAN60", VF_ERR_DATE_DAY));
  EXPECT_TRUE(fails(zifmdat, "0101960", VF_ERR_DATE_DAY)); // no letter
  EXPECT_TRUE(fails(zifmdat, "01XYZ60", VF_ERR_DATE_DAY));
  EXPECT_TRUE(fails(zifmdat, "0001JA", VF_ERR_DATE_DAY)); // two bytes left
  EXPECT_TRUE(fails(zifmdat, "01JAN1200", VF_ERR_DATE_YEAR));
  EXPECT_TRUE(fails(zifmdat, "01JAN1581", VF_ERR_DATE_YEAR));
  EXPECT_TRUE(fails(zifmdat, "01JAN20001", VF_ERR_DATE_YEAR));
  EXPECT_TRUE(fails(zifmdat, "01JAN----", VF_ERR_DATE_YEAR));
  EXPECT_TRUE(fails(zifmdat, "01JAN19x0", VF_ERR_DATE_YEAR));
  // The year is checked before the month name.
  EXPECT_TRUE(fails(zifmdat, "01XYZ1200", VF_ERR_DATE_YEAR));
  EXPECT_TRUE(fails(zifmdat, "30FEB1960", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmdat, "29FEB1900", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmdat, "29FEB4000", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmdat, "31APR60", VF_ERR_DATE_TEXT));
}

TEST(DateInformat, BlankAndMissingNotations) {
  EXPECT_TRUE(fails(zifmdat, "       ", VF_OK));
  EXPECT_TRUE(fails(zifmdat, "", VF_OK));
  EXPECT_TRUE(fails(zifmdat, "  .    ", VF_OK));
  EXPECT_TRUE(fails(zifmdat, ".a", VF_OK, -1, missing_bits('A')));
  EXPECT_TRUE(fails(zifmdat, "Z", VF_OK, -1, missing_bits('Z')));
  EXPECT_TRUE(fails(zifmdat, "._", VF_OK, -1, missing_bits('_')));
  EXPECT_TRUE(fails(zifmdat, "..", VF_ERR_WIDTH));
}

TEST(MonyyInformat, ReadsTheFirstOfTheMonth) {
  EXPECT_TRUE(reads_date(zifmmyy, "JAN60", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmmyy, "  feb1960", 1960, 2, 1));
  EXPECT_TRUE(reads_date(zifmmyy, "Dec-2049", 2049, 12, 1));
  EXPECT_TRUE(fails(zifmmyy, "60JAN", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmyy, "XYZ60", VF_ERR_DATE_DAY));
  EXPECT_TRUE(fails(zifmmyy, "JAN", VF_ERR_DATE_YEAR));
  EXPECT_TRUE(fails(zifmmyy, "JAN1000", VF_ERR_DATE_YEAR));
  // Bytes beyond the 30 read must be blank.
  const std::string tail30 = "JAN1960" + std::string(23, ' ');
  EXPECT_TRUE(reads_date(zifmmyy, tail30 + "  ", 1960, 1, 1));
  EXPECT_TRUE(fails(zifmmyy, tail30 + " 7", VF_ERR_DATE_TEXT));
}

TEST(NumericDateInformats, ReadTheirOrderWithOrWithoutDelimiters) {
  for (const char *t : {"12/31/60", "12-31-1960", "123160", "12311960",
                        " 12 31 60 ", "12.31.1960"})
    EXPECT_TRUE(reads_date(zifmmdy, t, 1960, 12, 31));
  EXPECT_TRUE(reads_date(zifmmdy, "1/5/60", 1960, 1, 5));
  EXPECT_TRUE(reads_date(zifmmdy, "10560", 1960, 1, 5));
  // Leading zeros are dropped before the split: 105960 is 10/59/60.
  EXPECT_TRUE(fails(zifmmdy, "0105960", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(reads_date(zifmdmy, "010160", 1960, 1, 1));
  EXPECT_TRUE(reads_date(zifmdmy, "31/12/49", 2049, 12, 31));
  EXPECT_TRUE(reads_date(zifmdmy, "31/12/50", 1950, 12, 31));
  EXPECT_TRUE(reads_date(zifmymd, "1960-12-31", 1960, 12, 31));
  EXPECT_TRUE(reads_date(zifmymd, "200001231", 20000, 12, 31));
  EXPECT_TRUE(reads_date(zifmymd, "1582/1/1", 1582, 1, 1));
}

TEST(NumericDateInformats, RejectSplitsAndImpossibleDates) {
  EXPECT_TRUE(fails(zifmmdy, "02/30/60", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "12/31", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "1/1", VF_ERR_WIDTH));
  EXPECT_TRUE(fails(zifmmdy, ".", VF_OK));
  EXPECT_TRUE(fails(zifmmdy, "13/01/60", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "00/01/60", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "12/31-60", VF_ERR_DATE_TEXT)); // two delimiters
  EXPECT_TRUE(fails(zifmmdy, "12a31a60", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "12/31/60x", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "12//31/60", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "00000", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "1231", VF_ERR_WIDTH));
  EXPECT_TRUE(fails(zifmmdy, "01/01/1000", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "01/01/20001", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmymd, "0101", VF_ERR_WIDTH));
  EXPECT_TRUE(fails(zifmymd, "40000229", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmdmy, "29/02/1900", VF_ERR_DATE_TEXT));
}

TEST(JulianInformat, ReadsYearAndDayOfYear) {
  EXPECT_TRUE(reads(zifmjul, "60001", 0));
  EXPECT_TRUE(reads(zifmjul, "1960001", 0));
  EXPECT_TRUE(reads_date(zifmjul, "  2000366  ", 2000, 12, 31));
  EXPECT_TRUE(reads_date(zifmjul, "20000365", 20000, 12, 31));
  EXPECT_TRUE(fails(zifmjul, "1961366", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmjul, "1581365", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmjul, "00000", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmjul, "1960-001", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmjul, "1960 001", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmjul, "b", VF_OK, -1, missing_bits('B')));
}

} // namespace
