// The word date formats and DTWKDATX at every width against the C
// library's calendar and names, five-digit years and the day-first rewrite.
#include <gtest/gtest.h>

#include <string>

#include "datetime/word_dates.h"
#include "datetime/format_checks.h"
#include "datetime/word_oracle.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using dtcheck::text;
using vftest::put;
using wordtest::ref_date;
using wordtest::RefDate;
using wordtest::right;

std::string first3(const std::string &name) {
  return name.substr(0, 3);
}

// The year after the text that precedes it: in full when it fits in w,
// else asterisks in the room left.
std::string year_in_room(const std::string &before, int year, int w) {
  const std::string full = std::to_string(year);
  const auto room = static_cast<std::size_t>(w) - before.size();
  return full.size() <= room ? full : std::string(room, '*');
}

std::string weekdate(const RefDate &r, int w, bool day_first) {
  if (w < 9) return right(first3(r.weekday), w);
  if (w < 15) return right(r.weekday, w);
  const std::string wk = w <= 22 ? first3(r.weekday) : r.weekday;
  const std::string mo = w <= 28 ? first3(r.month_name) : r.month_name;
  const std::string day = std::to_string(r.day);
  const std::string before = wk + ", " + mo + " " + day + ", ";
  const std::string year = w <= 16
                               ? std::to_string(r.year % 100 + 100).substr(1)
                               : year_in_room(before, r.year, w);
  if (day_first) return right(wk + ", " + day + " " + mo + " " + year, w);
  return right(before + year, w);
}

std::string worddate(const RefDate &r, int w, bool day_first) {
  if (w < 9) return right(first3(r.month_name), w);
  if (w < 12) return right(r.month_name, w);
  const std::string mo = w <= 17 ? first3(r.month_name) : r.month_name;
  const std::string day = std::to_string(r.day);
  const std::string before = mo + " " + day + ", ";
  const std::string year = year_in_room(before, r.year, w);
  if (day_first) return right(day + " " + mo + " " + year, w);
  return right(before + year, w);
}

// Every width of the six formats over a spread of dates.
TEST(WordDates, EveryWidthOverSpreadOfDates) {
  for (const int64_t day : wordtest::spread_days()) {
    const RefDate ref = ref_date(day);
    const auto v = static_cast<double>(day);
    for (int w = 1; w <= 37; ++w) {
      if (w <= 32) {
        ASSERT_EQ(text(zfmdowname, v, w), right(ref.weekday, w)) << day;
        ASSERT_EQ(text(zfmmonname, v, w), right(ref.month_name, w)) << day;
      }
      if (w < 3) continue;
      ASSERT_EQ(text(zfmweekdate, v, w), weekdate(ref, w, false))
          << day << " w=" << w;
      ASSERT_EQ(text(zfmweekdatx, v, w), weekdate(ref, w, true))
          << day << " w=" << w;
      if (w > 32) continue;
      ASSERT_EQ(text(zfmworddate, v, w), worddate(ref, w, false))
          << day << " w=" << w;
      ASSERT_EQ(text(zfmworddatx, v, w), worddate(ref, w, true))
          << day << " w=" << w;
    }
  }
}

// Beyond the C library's calendar: the year 4000 has no 29 February, and
// five-digit years show asterisks where their room is too small, never
// the first digits of the year.
TEST(WordDates, YearsFrom4000AndFiveDigitYears) {
  EXPECT_EQ(text(zfmmonname, 745153, 8), "February"); // 4000-02-28
  EXPECT_EQ(text(zfmweekdate, 745154, 29), "       Tuesday, March 1, 4000");
  const double dec31 = 6589335; // 20000-12-31, a Tuesday
  const double sep25 = 6589238; // 20000-09-25, a Wednesday
  EXPECT_EQ(text(zfmweekdate, dec31, 29), "  Tuesday, December 31, 20000");
  EXPECT_EQ(text(zfmweekdate, dec31, 17), "Tue, Dec 31, ****");
  EXPECT_EQ(text(zfmweekdate, dec31, 15), "Tue, Dec 31, 00");
  EXPECT_EQ(text(zfmweekdate, sep25, 29), "Wednesday, September 25, ****");
  EXPECT_EQ(text(zfmweekdate, sep25, 30), "Wednesday, September 25, 20000");
  EXPECT_EQ(text(zfmworddate, dec31, 12), "Dec 31, ****");
  EXPECT_EQ(text(zfmworddate, sep25, 18), "September 25, ****");
  EXPECT_EQ(text(zfmweekdatx, sep25, 29), " Wednesday, 25 September ****");
  EXPECT_EQ(text(zfmweekdatx, dec31, 17), " Tue, 31 Dec ****");
  EXPECT_EQ(text(zfmworddatx, dec31, 18), " 31 December 20000");
}

// The day is the floor of the value; the first and last valid days have
// names, the days beyond them asterisks (status 0 for the two name
// formats, VF_ERR_DATE_RANGE for the others).
TEST(WordDates, FractionsAndRangeEdges) {
  EXPECT_EQ(text(zfmdowname, -0.5, 9), " Thursday");
  EXPECT_EQ(text(zfmworddatx, -0.25, 18), "  31 December 1959");
  EXPECT_EQ(text(zfmweekdate, -4.9e-324, 9), " Thursday");
  EXPECT_EQ(text(zfmweekdate, 6589335.75, 3), "Tue");
  EXPECT_EQ(text(zfmworddate, -138061, 18), "   January 1, 1582");
  for (const fmtfn fn : {zfmdowname, zfmmonname, zfmweekdate, zfmworddatx}) {
    const vftest::Run r = put(fn, -138061.25, 5);
    EXPECT_EQ(r.text, "*****");
    EXPECT_EQ(r.status,
              fn == zfmdowname || fn == zfmmonname ? VF_OK : VF_ERR_DATE_RANGE);
  }
}

// The rewrite on its own: the one- and two-digit day, leading and trailing
// blanks, the kept tail of ten characters, and regions it leaves alone.
TEST(WordDates, DayFirstRewrite) {
  auto swap = [](std::string s) {
    return valfmt::swap_to_day_first(s.data(), static_cast<int32_t>(s.size()))
               ? s
               : "unchanged";
  };
  EXPECT_EQ(swap("   January 1, 1960"), "    1 January 1960");
  EXPECT_EQ(swap("Sep 30, 60  "), "   30 Sep 60");
  EXPECT_EQ(swap("  Friday"), "unchanged");
  EXPECT_EQ(swap("May 7, 0123456789abc"), "    7 May 0123456789");
  EXPECT_EQ(swap(",x"), " x");
  EXPECT_EQ(swap("7,1960"), "7 1960");
  EXPECT_FALSE(valfmt::swap_to_day_first(nullptr, 0));
}

// DTWKDATX: WEEKDATX of the floor of the datetime by one day.
TEST(WordDates, DatetimeAdapter) {
  EXPECT_EQ(text(zfmdtwk, 86399.999, 29), "       Friday, 1 January 1960");
  // A moment before midnight stays on the day before, even where the
  // division by 86400 rounds to the whole day.
  EXPECT_EQ(text(zfmdtwk, -4.9e-324, 29), "   Thursday, 31 December 1959");
  EXPECT_EQ(text(zfmdtwk, 569318630399.5, 29), "   Tuesday, 31 December 20000");
  for (const int64_t day : wordtest::spread_days()) {
    const RefDate ref = ref_date(day);
    const double v = static_cast<double>(day) * 86400 + 43210.5;
    for (int w = 3; w <= 37; w += 2)
      ASSERT_EQ(text(zfmdtwk, v, w), weekdate(ref, w, true)) << day;
  }
}

} // namespace
