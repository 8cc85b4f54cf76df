// The fast calendar split behind DATE against the reference civil_from_day
// on every day of the valid range, and DATE itself against texts composed
// here from the reference split, at every width, around every boundary
// (years divisible by 4000, leap days, the range ends) and over a spread
// of days.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "datetime/calendar.h"
#include "datetime/civil_fast.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using valfmt::civil_fast;
using valfmt::civil_from_day;
using valfmt::kDateLimit;
using valfmt::kFirstDate;

TEST(DateFastDiff, EveryDayOfTheRangeSplitsAsTheReference) {
  int64_t mismatches = 0;
  for (int64_t day = kFirstDate; day < kDateLimit; ++day) {
    const valfmt::YearMonthDay f = civil_fast(day);
    const valfmt::CivilDate r = civil_from_day(day);
    if (f.year != r.year || f.month != r.month || f.day != r.day) {
      if (++mismatches <= 5)
        ADD_FAILURE() << "day " << day << ": " << f.year << "-" << f.month
                      << "-" << f.day << " vs " << r.year << "-" << r.month
                      << "-" << r.day;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// DATE's text at width w, composed from the reference split: the day, the
// month abbreviation, then a two-digit year (w 7, 8), a four-digit one
// (w 9, 10; asterisks for a five-digit year) or dashes and the year (w 11);
// even widths start with a blank.
std::string expected_date(int64_t day, int w) {
  const valfmt::CivilDate c = civil_from_day(day);
  char dd[16], yy[16], yyyy[16];
  std::snprintf(dd, sizeof dd, "%02d", c.day);
  std::snprintf(yy, sizeof yy, "%02d", c.year % 100);
  if (c.year <= 9999)
    std::snprintf(yyyy, sizeof yyyy, "%04d", c.year);
  else
    std::snprintf(yyyy, sizeof yyyy, "****");
  const std::string mon = valfmt::kMonthAbbrev[c.month - 1];
  std::string s = w % 2 == 0 ? " " : "";
  const int v = w % 2 == 0 ? w - 1 : w;
  if (v == 5) s += dd + mon;
  if (v == 7) s += dd + mon + yy;
  if (v == 9) s += dd + mon + yyyy;
  if (v == 11) s += dd + std::string("-") + mon + "-" + yyyy;
  return s;
}

void expect_date(int64_t day, int w) {
  const auto r = vftest::put(zfmdate, static_cast<double>(day), w, 0, 16);
  ASSERT_EQ(r.status, VF_OK) << day << " w " << w;
  ASSERT_EQ(r.text, expected_date(day, w)) << day << " w " << w;
}

TEST(DateFastDiff, DateTextsAroundEveryBoundary) {
  std::vector<int64_t> days = {kFirstDate, kFirstDate + 1, kDateLimit - 1, 0,
                               -1};
  for (int y : {1582, 1600, 1700, 1900, 1960, 2000, 2024, 3999, 4000, 4001,
                7999, 8000, 8001, 9999, 12000, 16000, 19999, 20000}) {
    for (auto [m, d] : {std::pair{1, 1}, {2, 28}, {3, 1}, {12, 31}}) {
      const int64_t at = valfmt::day_from_civil(y, m, d);
      for (int64_t k = at - 1; k <= at + 1; ++k)
        if (k >= kFirstDate && k < kDateLimit) days.push_back(k);
    }
  }
  for (int64_t day : days)
    for (int w = 5; w <= 11; ++w) expect_date(day, w);
}

TEST(DateFastDiff, DateTextsOverASpreadOfDays) {
  // Every 997th day of the range at the default width and at 9.
  for (int64_t day = kFirstDate; day < kDateLimit; day += 997) {
    expect_date(day, 9);
    expect_date(day, 7);
  }
}

} // namespace
