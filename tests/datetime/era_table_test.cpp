// The era table both ways: the era and era year of a day, and the day of an
// era date, at every era boundary.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "datetime/calendar.h"
#include "datetime/eras.h"

namespace {

using valfmt::day_of_era_date;
using valfmt::era_date_of_day;

// First days from the era table's dates, worked out independently:
// 1868-04-06, 1912-07-30, 1926-12-25, 1989-01-08; and the era year of the
// day before each, in the era before.
struct Boundary {
  int64_t first_day;
  int32_t era;
  int32_t prev_year;
};
constexpr Boundary kBoundaries[] = {
    {-33506, 1, 0}, {-17321, 2, 45}, {-12060, 3, 15}, {10600, 4, 64}};

TEST(EraTable, BothWaysAtEveryBoundary) {
  for (const Boundary &b : kBoundaries) {
    const valfmt::EraDate first = era_date_of_day(b.first_day);
    EXPECT_EQ(first.era, b.era);
    EXPECT_EQ(first.year, 1);
    const valfmt::EraDate before = era_date_of_day(b.first_day - 1);
    EXPECT_EQ(before.era, b.era - 1);
    if (b.era > 1) {
      EXPECT_EQ(before.year, b.prev_year);
    }
    // The first day belongs to its era only; the day before to the era
    // before.
    const valfmt::CivilDate c = valfmt::civil_from_day(b.first_day);
    EXPECT_EQ(day_of_era_date(b.era, 1, c.month, c.day), b.first_day);
    const valfmt::CivilDate p = valfmt::civil_from_day(b.first_day - 1);
    EXPECT_EQ(day_of_era_date(b.era, 1, p.month, p.day), std::nullopt);
    if (b.era > 1) {
      EXPECT_EQ(day_of_era_date(b.era - 1, b.prev_year, p.month, p.day),
                b.first_day - 1);
    }
  }
  EXPECT_EQ(era_date_of_day(valfmt::kFirstDate).era, 0);
  EXPECT_EQ(era_date_of_day(6589335).year, 18012); // no era after Heisei
  EXPECT_EQ(day_of_era_date(4, 18012, 12, 31), 6589335);
  EXPECT_EQ(day_of_era_date(4, 18013, 1, 1), std::nullopt); // year 20001
  EXPECT_EQ(day_of_era_date(4, 13, 2, 29), std::nullopt);   // 2001
  EXPECT_EQ(day_of_era_date(5, 1, 1, 1), std::nullopt);
  EXPECT_EQ(day_of_era_date(4, 5, 4, 31), std::nullopt);
}

// Both directions agree on every day from the first era to the year 2100.
TEST(EraTable, RoundTripOverEveryDay) {
  for (int64_t day = -33506; day < 51136; ++day) {
    const valfmt::EraDate e = era_date_of_day(day);
    const valfmt::CivilDate c = valfmt::civil_from_day(day);
    ASSERT_EQ(day_of_era_date(e.era, e.year, c.month, c.day), day) << day;
  }
}

} // namespace
