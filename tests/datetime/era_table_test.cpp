// The era table both ways: the era and era year of a day, and the day of an
// era date, at every era boundary; the Minguo year count.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "datetime/calendar.h"
#include "datetime/eras.h"

namespace {

using valfmt::day_of_era_date;
using valfmt::era_date_of_day;
using valfmt::era_of_day;

struct Boundary {
  int64_t first_day; // the era's first day
  int32_t era;
  int32_t prev_year; // era year of the day before, in the era before
};

// First days from the era table's dates, worked out independently:
// 1868-04-06, 1912-07-30, 1926-12-25, 1989-01-08.
constexpr Boundary kBoundaries[] = {
    {-33506, 1, 0}, {-17321, 2, 45}, {-12060, 3, 15}, {10600, 4, 64}};

TEST(EraTable, DayToEraAtEveryBoundary) {
  for (const Boundary &b : kBoundaries) {
    EXPECT_EQ(era_of_day(b.first_day), b.era);
    EXPECT_EQ(era_of_day(b.first_day - 1), b.era - 1);
    const valfmt::EraDate first = era_date_of_day(b.first_day);
    EXPECT_EQ(first.era, b.era);
    EXPECT_EQ(first.year, 1);
    if (b.era > 1) {
      const valfmt::EraDate before = era_date_of_day(b.first_day - 1);
      EXPECT_EQ(before.era, b.era - 1);
      EXPECT_EQ(before.year, b.prev_year);
    }
  }
  EXPECT_EQ(era_of_day(valfmt::kFirstDate), 0);
  EXPECT_EQ(era_date_of_day(valfmt::kFirstDate).era, 0);
  EXPECT_EQ(era_date_of_day(0).year, 35);      // Showa 35 is 1960
  EXPECT_EQ(era_date_of_day(21669).year, 31);  // 2019-04-30
  EXPECT_EQ(era_date_of_day(46752).year, 100); // 2088-01-01
  EXPECT_EQ(era_date_of_day(6589335).era, 4);  // no era after Heisei
  EXPECT_EQ(era_date_of_day(6589335).year, 18012);
}

TEST(EraTable, EraDateToDayWithinTheEraOnly) {
  EXPECT_EQ(day_of_era_date(1, 1, 4, 6), std::optional<int64_t>(-33506));
  EXPECT_EQ(day_of_era_date(1, 1, 4, 5), std::nullopt);
  EXPECT_EQ(day_of_era_date(1, 45, 7, 29), std::optional<int64_t>(-17322));
  EXPECT_EQ(day_of_era_date(1, 45, 7, 30), std::nullopt);
  EXPECT_EQ(day_of_era_date(2, 1, 7, 30), std::optional<int64_t>(-17321));
  EXPECT_EQ(day_of_era_date(2, 1, 7, 29), std::nullopt);
  EXPECT_EQ(day_of_era_date(2, 16, 1, 1), std::nullopt); // 1927 is Showa
  EXPECT_EQ(day_of_era_date(3, 1, 12, 25), std::optional<int64_t>(-12060));
  EXPECT_EQ(day_of_era_date(3, 64, 1, 7), std::optional<int64_t>(10599));
  EXPECT_EQ(day_of_era_date(3, 64, 1, 8), std::nullopt);
  EXPECT_EQ(day_of_era_date(4, 1, 1, 8), std::optional<int64_t>(10600));
  EXPECT_EQ(day_of_era_date(4, 1, 1, 7), std::nullopt);
  EXPECT_EQ(day_of_era_date(4, 12, 2, 29), std::optional<int64_t>(14669));
  EXPECT_EQ(day_of_era_date(4, 13, 2, 29), std::nullopt); // 2001
  EXPECT_EQ(day_of_era_date(4, 18012, 12, 31), std::optional<int64_t>(6589335));
  EXPECT_EQ(day_of_era_date(4, 18013, 1, 1), std::nullopt); // year 20001
  for (const auto &bad :
       {std::array<int32_t, 4>{0, 1, 1, 1}, std::array<int32_t, 4>{5, 1, 1, 1},
        std::array<int32_t, 4>{4, 0, 1, 1},
        std::array<int32_t, 4>{4, -400, 1, 1},
        std::array<int32_t, 4>{4, 5, 13, 1}, std::array<int32_t, 4>{4, 5, 0, 1},
        std::array<int32_t, 4>{4, 5, 4, 31},
        std::array<int32_t, 4>{4, 5, 4, 0}}) {
    EXPECT_EQ(day_of_era_date(bad[0], bad[1], bad[2], bad[3]), std::nullopt)
        << bad[0] << " " << bad[1] << " " << bad[2] << " " << bad[3];
  }
}

// Both directions agree on every day from the first era to the year 2100.
TEST(EraTable, RoundTripOverEveryDay) {
  for (int64_t day = -33506; day < 51136; ++day) {
    const valfmt::EraDate e = era_date_of_day(day);
    const valfmt::CivilDate c = valfmt::civil_from_day(day);
    ASSERT_EQ(day_of_era_date(e.era, e.year, c.month, c.day),
              std::optional<int64_t>(day))
        << day;
  }
}

TEST(EraTable, LettersAndMinguoYears) {
  EXPECT_EQ(valfmt::era_of_letter('M'), 1);
  EXPECT_EQ(valfmt::era_of_letter('t'), 2);
  EXPECT_EQ(valfmt::era_of_letter('S'), 3);
  EXPECT_EQ(valfmt::era_of_letter('h'), 4);
  for (char c : {'R', 'n', '.', ' ', '\0', '1'})
    EXPECT_EQ(valfmt::era_of_letter(c), 0) << c;
  EXPECT_EQ(std::string(valfmt::letters), " MTSH");
  EXPECT_EQ(valfmt::minguo_year(1912), 1);
  EXPECT_EQ(valfmt::minguo_year(1911), 0);
  EXPECT_EQ(valfmt::minguo_year(1960), 49);
  EXPECT_EQ(valfmt::gregorian_year_of_minguo(100), 2011);
}

} // namespace
