// @TIME, @DATETIME, @MDYAMPM and @YMDDTTM: delimiters, seconds with
// fractions, the AM/PM rules, signs and the statuses of each step.
#include "informats/date_helpers.h"

namespace {

using date_test::all_fail;
using date_test::day_of;
using date_test::fails;
using date_test::missing_bits;
using date_test::reads;

constexpr double hms(double h, double m, double s) {
  return h * 3600 + m * 60 + s;
}
constexpr double at(int64_t y, int64_t m, int64_t d, double seconds) {
  return static_cast<double>(day_of(y, m, d)) * 86400 + seconds;
}

struct Timed {
  const char *text;
  double value;
};
void all_reads(fmtfn fn, std::initializer_list<Timed> cases) {
  for (const Timed &c : cases) EXPECT_TRUE(reads(fn, c.text, c.value));
}

TEST(TimeInformat, ReadsHoursMinutesAndSeconds) {
  all_reads(zifmtim, {{"1:02", hms(1, 2, 0)},
                      {"1.02.03.5", hms(1, 2, 3.5)},
                      {"  12 34 56", hms(12, 34, 56)},
                      {"12:34 :56", hms(12, 34, 56)},
                      {"12:34   ", hms(12, 34, 0)},
                      {"25:61", hms(25, 61, 0)},
                      {"100:00:99", hms(100, 0, 99)},
                      {"-0:30", -hms(0, 30, 0)},
                      {" -1:00:01", -hms(1, 0, 1)}});
}

TEST(TimeInformat, AmAndPm) {
  all_reads(zifmtim, {{"12:30 AM", hms(0, 30, 0)},
                      {"12:59:59am", hms(0, 59, 59)},
                      {"1:30 PM", hms(13, 30, 0)},
                      {"1:30 p", hms(13, 30, 0)},
                      {"1:30:00 A  ", hms(1, 30, 0)},
                      {"12:00 PM", hms(12, 0, 0)},
                      {"13:00 PM", hms(13, 0, 0)},
                      {"13:00 AM", hms(13, 0, 0)},
                      {"11:59 PM", hms(23, 59, 0)},
                      {"-1:30 PM", -hms(13, 30, 0)}});
}

// "12:30.45" changes delimiter; a point after the seconds without a digit
// is not part of them.
TEST(TimeInformat, StatusOfEachFailure) {
  all_fail(zifmtim, VF_ERR_TIME_TEXT,
           {"12", "12.x", "12-30", "12:", "x12:30", "+12:30",
            "12:30:", "12:30.45", "12:30::45", "12 30  45"});
  all_fail(zifmtim, VF_ERR_AMPM,
           {"1:30 AX", "1:30 PM x", "1:30:00 M", "1:02:03."});
  all_fail(zifmtim, VF_ERR_TIME_MINUTES, {"1:30 XM", "1:30 -AM"});
  all_fail(zifmtim, VF_OK, {""});
  EXPECT_TRUE(fails(zifmtim, "p", VF_OK, -1, missing_bits('P')));
}

TEST(DatetimeInformat, ReadsDateDelimiterAndTime) {
  all_reads(zifmdtm, {{"01jan60 1:30 PM", hms(13, 30, 0)},
                      {"15-Mar-2044 T 06:07", at(2044, 3, 15, hms(6, 7, 0))},
                      {"01JAN1582 0:0", at(1582, 1, 1, 0)}});
}

TEST(DatetimeInformat, Failures) {
  all_fail(zifmdtm, VF_ERR_DATE_DAY, {"12345678", "32JAN1960:10:00"});
  all_fail(zifmdtm, VF_ERR_DATE_YEAR, {"01JAN"});
  all_fail(zifmdtm, VF_ERR_DATE_TEXT, {"01JAN1960", "30FEB1960:10:00"});
  all_fail(zifmdtm, VF_ERR_TIME_TEXT,
           {"01JAN1960:10", "01JAN1960:1:30 QM", "01JAN1960   "});
  // A missing time part leaves what the time reader stored.
  EXPECT_TRUE(
      fails(zifmdtm, "01JAN1960:.C", VF_ERR_TIME_TEXT, -1, missing_bits('C')));
  EXPECT_TRUE(fails(zifmdtm, "   ", VF_OK));
}

TEST(MdyampmInformat, DateTimeAndMeridiem) {
  all_reads(zifmdya, {{" 1/1/60:12:30 am", at(1960, 1, 1, hms(0, 30, 0))},
                      {"1-1-60\t12:30:15\tPM", at(1960, 1, 1, hms(12, 30, 15))},
                      {"010160 1:00 pm", at(1960, 1, 1, hms(13, 0, 0))},
                      {"7/4/2001 9:15PM", at(2001, 7, 4, hms(21, 15, 0))},
                      {"7/4/2001 9:15 XX", at(2001, 7, 4, hms(9, 15, 0))}});
  EXPECT_TRUE(fails(zifmdya, "12/31/1960", VF_OK));
  all_fail(zifmdya, VF_ERR_DATE_TEXT, {"2/30/1960 10:00", "2/3 10:00"});
  EXPECT_TRUE(fails(zifmdya, "2/3/60 10", VF_ERR_TIME_TEXT));
  EXPECT_TRUE(fails(zifmdya, "2/3/60 10:00:00x", VF_ERR_AMPM));
}

TEST(YmddttmInformat, DateAndTimeWithAnyDelimiters) {
  all_reads(ymddttm,
            {{"1960-01-01 12:00:00", hms(12, 0, 0)},
             {"60/1/1:12:00", hms(12, 0, 0)},
             {"2019-04-30T23:05:01.25", at(2019, 4, 30, hms(23, 5, 1.25))},
             {"20000/12/31", at(20000, 12, 31, 0)},
             {"1999-12-31 -- ", at(1999, 12, 31, 0)},
             {"1960-01-01 .", 0}}); // no digit: midnight
  EXPECT_TRUE(fails(ymddttm, "1960-02-30 12:00", VF_ERR_DATE_TEXT));
  all_fail(ymddttm, VF_ERR_TIME_TEXT, {"1960-01-01 12", "1960-01-01 1:2 ZZ"});
  EXPECT_TRUE(fails(ymddttm, "1/1", VF_ERR_WIDTH));
  EXPECT_TRUE(fails(ymddttm, "._", VF_OK, -1, missing_bits('_')));
}

} // namespace
