// WEEKDATE, WORDDATE, their day-first variants WEEKDATX and WORDDATX, and
// the datetime adapter DTWKDATX: every layout at every width, five-digit
// years, the rewrite's edges, and the day of a datetime.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "core/missing.h"
#include "datetime/word_dates.h"
#include "datetime/word_oracle.h"
#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

using vftest::put;
using wordtest::ref_date;
using wordtest::RefDate;
using wordtest::right;

std::string first3(const std::string &name) {
  return name.substr(0, 3);
}

std::string two_digits(int v) {
  return std::string{static_cast<char>('0' + v / 10 % 10),
                     static_cast<char>('0' + v % 10)};
}

// The year after the text that precedes it: in full when it fits in w,
// else asterisks in the room left.
std::string year_in_room(const std::string &before, int year, int w) {
  const std::string full = std::to_string(year);
  const auto room = static_cast<std::size_t>(w) - before.size();
  return full.size() <= room ? full : std::string(room, '*');
}

// The layouts, built from the C library's calendar and names.
std::string weekdate(const RefDate &r, int w, bool day_first) {
  if (w < 9) return right(first3(r.weekday), w);
  if (w < 15) return right(r.weekday, w);
  const std::string wk = w <= 22 ? first3(r.weekday) : r.weekday;
  const std::string mo = w <= 28 ? first3(r.month_name) : r.month_name;
  const std::string day = std::to_string(r.day);
  const std::string before = wk + ", " + mo + " " + day + ", ";
  const std::string year =
      w <= 16 ? two_digits(r.year % 100) : year_in_room(before, r.year, w);
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

std::string text_ok(fmtfn fn, double v, int w) {
  const vftest::Run r = put(fn, v, w);
  EXPECT_EQ(r.status, VF_OK) << v << " w=" << w;
  EXPECT_EQ(r.outlen, w) << v << " w=" << w;
  EXPECT_EQ(r.outenc, VF_ENC_NARROW);
  return r.text;
}

TEST(WordDates, ReferenceExamples) {
  EXPECT_EQ(text_ok(zfmweekdate, 0, 3), "Fri");
  EXPECT_EQ(text_ok(zfmweekdate, 0, 9), "   Friday");
  EXPECT_EQ(text_ok(zfmweekdate, 0, 15), " Fri, Jan 1, 60");
  EXPECT_EQ(text_ok(zfmweekdate, 0, 17), " Fri, Jan 1, 1960");
  EXPECT_EQ(text_ok(zfmweekdate, 0, 23), "    Friday, Jan 1, 1960");
  EXPECT_EQ(text_ok(zfmweekdate, 0, 29), "      Friday, January 1, 1960");
  EXPECT_EQ(text_ok(zfmweekdate, 273, 17), "Fri, Sep 30, 1960");
  EXPECT_EQ(text_ok(zfmweekdate, -93, 29), "Wednesday, September 30, 1959");
  EXPECT_EQ(text_ok(zfmworddate, 0, 12), " Jan 1, 1960");
  EXPECT_EQ(text_ok(zfmworddate, 244, 9), "September");
  EXPECT_EQ(text_ok(zfmworddate, 0, 18), "   January 1, 1960");
  EXPECT_EQ(text_ok(zfmworddate, 0, 3), "Jan");
  EXPECT_EQ(text_ok(zfmworddatx, 0, 18), "    1 January 1960");
  EXPECT_EQ(text_ok(zfmweekdatx, 0, 29), "       Friday, 1 January 1960");
  EXPECT_EQ(text_ok(zfmweekdatx, 0, 15), "  Fri, 1 Jan 60");
  EXPECT_EQ(text_ok(zfmweekdatx, 273, 37),
            std::string(12, ' ') + "Friday, 30 September 1960");
  EXPECT_EQ(text_ok(zfmworddatx, 273, 12), " 30 Sep 1960");
  // Without a comma the day-first variants equal their base.
  EXPECT_EQ(text_ok(zfmweekdatx, 0, 14), "        Friday");
  EXPECT_EQ(text_ok(zfmworddatx, 244, 11), "  September");
}

// Every width of the four formats over a spread of dates.
TEST(WordDates, EveryWidthOverSpreadOfDates) {
  for (const int64_t day : wordtest::spread_days()) {
    const RefDate ref = ref_date(day);
    const auto v = static_cast<double>(day);
    for (int w = 3; w <= 37; ++w) {
      ASSERT_EQ(text_ok(zfmweekdate, v, w), weekdate(ref, w, false))
          << day << " w=" << w;
      ASSERT_EQ(text_ok(zfmweekdatx, v, w), weekdate(ref, w, true))
          << day << " w=" << w;
      if (w > 32) continue;
      ASSERT_EQ(text_ok(zfmworddate, v, w), worddate(ref, w, false))
          << day << " w=" << w;
      ASSERT_EQ(text_ok(zfmworddatx, v, w), worddate(ref, w, true))
          << day << " w=" << w;
    }
  }
}

// Five-digit years at the narrowest width of each layout: the year's room
// shows asterisks, never the first digits of the year.
TEST(WordDates, FiveDigitYears) {
  const double dec31 = 6589335; // 20000-12-31, a Tuesday
  const double sep25 = 6589238; // 20000-09-25, a Wednesday
  EXPECT_EQ(text_ok(zfmweekdate, dec31, 29), "  Tuesday, December 31, 20000");
  EXPECT_EQ(text_ok(zfmweekdate, dec31, 23), " Tuesday, Dec 31, 20000");
  EXPECT_EQ(text_ok(zfmweekdate, dec31, 18), "Tue, Dec 31, 20000");
  EXPECT_EQ(text_ok(zfmweekdate, dec31, 17), "Tue, Dec 31, ****");
  EXPECT_EQ(text_ok(zfmweekdate, dec31, 15), "Tue, Dec 31, 00");
  EXPECT_EQ(text_ok(zfmweekdate, sep25, 29), "Wednesday, September 25, ****");
  EXPECT_EQ(text_ok(zfmweekdate, sep25, 30), "Wednesday, September 25, 20000");
  EXPECT_EQ(text_ok(zfmweekdate, sep25, 23), "Wednesday, Sep 25, ****");
  EXPECT_EQ(text_ok(zfmworddate, dec31, 18), "December 31, 20000");
  EXPECT_EQ(text_ok(zfmworddate, dec31, 13), "Dec 31, 20000");
  EXPECT_EQ(text_ok(zfmworddate, dec31, 12), "Dec 31, ****");
  EXPECT_EQ(text_ok(zfmworddate, sep25, 18), "September 25, ****");
  EXPECT_EQ(text_ok(zfmworddate, sep25, 19), "September 25, 20000");
  EXPECT_EQ(text_ok(zfmweekdatx, dec31, 29), "   Tuesday, 31 December 20000");
  EXPECT_EQ(text_ok(zfmweekdatx, sep25, 29), " Wednesday, 25 September ****");
  EXPECT_EQ(text_ok(zfmweekdatx, dec31, 17), " Tue, 31 Dec ****");
  EXPECT_EQ(text_ok(zfmworddatx, dec31, 18), " 31 December 20000");
  EXPECT_EQ(text_ok(zfmworddatx, dec31, 12), " 31 Dec ****");
  EXPECT_EQ(text_ok(zfmworddatx, sep25, 18), " 25 September ****");
  // 1 March 4000 follows 28 February: no 29 February in year 4000.
  EXPECT_EQ(text_ok(zfmweekdate, 745154, 29), "       Tuesday, March 1, 4000");
}

TEST(WordDates, RangeEdgesFractionsMissingAndNaN) {
  for (const fmtfn fn : {zfmweekdate, zfmweekdatx, zfmworddate, zfmworddatx}) {
    EXPECT_EQ(put(fn, -138062, 18).status, VF_ERR_DATE_RANGE);
    EXPECT_EQ(put(fn, -138062, 18).text, std::string(18, '*'));
    EXPECT_EQ(put(fn, -138061.25, 3).status, VF_ERR_DATE_RANGE);
    EXPECT_EQ(put(fn, 6589336, 18).status, VF_ERR_DATE_RANGE);
    for (const double v : {std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(),
                           std::bit_cast<double>(0xFFFF00000000FF00ull)}) {
      const vftest::Run r = put(fn, v, 20);
      EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << v;
      EXPECT_EQ(r.text, std::string(20, '*'));
    }
    const vftest::Run m = put(fn, valfmt::missing_value(0xE4), 20, 7);
    EXPECT_EQ(m.status, VF_OK);
    EXPECT_EQ(m.text, std::string(19, ' ') + "Z");
  }
  EXPECT_EQ(text_ok(zfmworddate, -138061, 18), "   January 1, 1582");
  EXPECT_EQ(text_ok(zfmweekdate, 6589335.75, 3), "Tue");
  EXPECT_EQ(text_ok(zfmworddatx, -0.25, 18), "  31 December 1959");
  EXPECT_EQ(text_ok(zfmweekdate, -4.9e-324, 9), " Thursday");
}

// The rewrite on its own: the one- and two-digit day, leading and trailing
// blanks, the kept tail, and regions it leaves alone.
TEST(WordDates, DayFirstRewrite) {
  auto swap = [](std::string s) {
    const bool changed =
        valfmt::zfmswap(s.data(), static_cast<int32_t>(s.size()));
    return std::make_pair(changed, s);
  };
  EXPECT_EQ(swap("   January 1, 1960"),
            std::make_pair(true, std::string("    1 January 1960")));
  EXPECT_EQ(swap("Sep 30, 60  "),
            std::make_pair(true, std::string("   30 Sep 60")));
  EXPECT_EQ(swap("  Friday"), std::make_pair(false, std::string("  Friday")));
  EXPECT_EQ(swap("        ."), std::make_pair(false, std::string("        .")));
  // Only ten characters after the comma are kept.
  EXPECT_EQ(swap("May 7, 0123456789abc"),
            std::make_pair(true, std::string("    7 May 0123456789")));
  // A comma at the very start or without a blank after it.
  EXPECT_EQ(swap(",x"), std::make_pair(true, std::string(" x")));
  EXPECT_EQ(swap("7,1960"), std::make_pair(true, std::string("7 1960")));
  EXPECT_FALSE(valfmt::zfmswap(nullptr, 0));
}

// DTWKDATX: WEEKDATX of the day of a datetime value.
TEST(WordDates, DatetimeAdapter) {
  EXPECT_EQ(text_ok(zfmdtwk, 0, 29), "       Friday, 1 January 1960");
  EXPECT_EQ(text_ok(zfmdtwk, 86399.999, 29), "       Friday, 1 January 1960");
  EXPECT_EQ(text_ok(zfmdtwk, 86400, 29), "     Saturday, 2 January 1960");
  EXPECT_EQ(text_ok(zfmdtwk, -1, 29), "   Thursday, 31 December 1959");
  // A moment before midnight stays on the day before, even where the
  // division by 86400 rounds to the whole day.
  EXPECT_EQ(text_ok(zfmdtwk, -4.9e-324, 29), "   Thursday, 31 December 1959");
  EXPECT_EQ(text_ok(zfmdtwk, -0.0, 3), "Fri");
  EXPECT_EQ(text_ok(zfmdtwk, -11928470400.0, 29),
            "       Friday, 1 January 1582");
  EXPECT_EQ(text_ok(zfmdtwk, 569318630399.5, 29),
            "   Tuesday, 31 December 20000");
  for (const double v : {-11928470400.5, 569318630400.0, 1e300,
                         std::numeric_limits<double>::quiet_NaN(),
                         -std::numeric_limits<double>::infinity()}) {
    const vftest::Run r = put(zfmdtwk, v, 29);
    EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << v;
    EXPECT_EQ(r.text, std::string(29, '*')) << v;
  }
  const vftest::Run m = put(zfmdtwk, valfmt::standard_missing(), 10, 4);
  EXPECT_EQ(m.status, VF_OK);
  EXPECT_EQ(m.text, "         .");
  for (const int64_t day : wordtest::spread_days()) {
    const RefDate ref = ref_date(day);
    const double v = static_cast<double>(day) * 86400 + 43210.5;
    for (int w = 3; w <= 37; ++w)
      ASSERT_EQ(text_ok(zfmdtwk, v, w), weekdate(ref, w, true)) << day;
  }
}

} // namespace
