// The calendar and clock routines, checked against independent arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "core/missing.h"
#include "datetime/calendar.h"
#include "valfmt.h"

namespace {

using valfmt::missing_value;

bool is_std_missing(double x) {
  return valfmt::double_bits(x) == valfmt::kStandardMissingBits;
}

// A second, independent proleptic Gregorian calendar (days from 1970-01-01
// by era arithmetic), without the 4000-year rule.
int64_t gregorian_days(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

void gregorian_civil(int64_t z, int64_t &y, int64_t &m, int64_t &d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = yoe + era * 400 + (m <= 2);
}

constexpr int64_t kEpoch1960 = -3653; // 1960-01-01 in days from 1970-01-01

// 29 February of the years divisible by 4000 before (y, m): the days the
// 4000-year rule removes from the plain Gregorian count.
int64_t removed_leap_days(int64_t y, int64_t m) {
  return (y - 1) / 4000 + (y % 4000 == 0 && m > 2 ? 1 : 0);
}

// Every day of the valid range, through the internal calendar and the
// exported routines.  Up to 28 February 4000 the independent calendar must
// agree as it is; beyond, after subtracting the days the 4000-year rule
// removed.  Weekdays are counted from 1 January 1582, a Friday.
TEST(CalendarSweep, EveryDayAgainstIndependentArithmetic) {
  const int64_t plain_end = gregorian_days(4000, 2, 29) - kEpoch1960;
  int weekday = 6;
  for (int64_t day = valfmt::kFirstDate; day < valfmt::kDateLimit; ++day) {
    const valfmt::CivilDate c = valfmt::civil_from_day(day);
    const int64_t jan1 = gregorian_days(c.year, 1, 1) - kEpoch1960 -
                         removed_leap_days(c.year, 1);
    ASSERT_EQ(gregorian_days(c.year, c.month, c.day) - kEpoch1960 -
                  removed_leap_days(c.year, c.month),
              day)
        << c.year << "-" << c.month << "-" << c.day;
    ASSERT_EQ(c.yday, day - jan1 + 1) << day;
    if (day < plain_end) {
      int64_t y, m, d;
      gregorian_civil(day + kEpoch1960, y, m, d);
      ASSERT_TRUE(y == c.year && m == c.month && d == c.day) << day;
    }
    const double v = static_cast<double>(day);
    const double julian = c.year * 1000.0 + c.yday;
    double y, m, d, jy, jm, jd;
    ASSERT_TRUE(zfmcymd(&y, &m, &d, v) == 1 && y == c.year && m == c.month &&
                d == c.day && zymdjul(&jy, &jm, &jd, julian) == 0 && jy == y &&
                jm == m && jd == d)
        << day;
    ASSERT_TRUE(zwekday(v) == weekday && zyear(v) == y && zmonth(v) == m &&
                zday(v) == d && zjuldat(v) == julian && zdatjul(julian) == v &&
                zmdy(m, d, y) == v)
        << day;
    weekday = weekday % 7 + 1;
  }
  EXPECT_EQ(zmdy(3, 1, 4000), static_cast<double>(plain_end));
}

// What the sweep cannot reach: dates that do not exist, parts outside their
// ranges, two-digit years and truncated parts.
TEST(CalendarCore, InvalidDatesTwoDigitYearsAndTruncation) {
  for (int y : {1900, 4000, 8000, 12000, 16000, 20000})
    EXPECT_TRUE(is_std_missing(zjulymd(y, 2, 29))) << y;
  for (double out : {6589336.0, -138061.5})
    EXPECT_TRUE(is_std_missing(zjuldat(out))) << out;
  EXPECT_EQ(zjuldat(6589335.999), 20000365.0);
  EXPECT_EQ(zjulymd(49, 1, 1), 2049001.0);
  EXPECT_EQ(zjulymd(50, 1, 1), 1950001.0);
  EXPECT_EQ(zjulymd(1960.9, 3.7, 1.2), 1960061.0);
  EXPECT_EQ(zdatjul(60001), 0.0);
  // Checked on the doubles before truncation.
  for (double y : {1581.0, 20001.0, 20000.5, 99.5, -1.0})
    EXPECT_TRUE(is_std_missing(zjulymd(y, 1, 1))) << y;
  for (double m : {0.0, 13.0, 12.5, 0.999})
    EXPECT_TRUE(is_std_missing(zjulymd(1960, m, 1))) << m;
  for (double d : {0.0, 32.0, 31.5})
    EXPECT_TRUE(is_std_missing(zjulymd(1960, 1, d))) << d;
  EXPECT_TRUE(is_std_missing(zjulymd(1961, 4, 31)));
  for (double j : {1581365.0, 100001.0, 1960367.0, 1961366.0, 20000366.0, 0.0,
                   -1.0, 1960000.0, 0.5})
    EXPECT_TRUE(is_std_missing(zdatjul(j))) << j;
  double y, m, d;
  zymdjul(&y, &m, &d, 49032);
  EXPECT_TRUE(y == 2049 && m == 2 && d == 1);
  zymdjul(&y, &m, &d, 1961366);
  EXPECT_TRUE(is_std_missing(y) && is_std_missing(m) && is_std_missing(d));
  EXPECT_EQ(zymdjul(nullptr, nullptr, &d, 1960032), 0);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(zfmcymd(&y, &m, &d, missing_value(0xE4)), -1);
  EXPECT_TRUE(is_std_missing(y) && is_std_missing(d));
  EXPECT_EQ(zfmcymd(&y, nullptr, nullptr, 6589336), -1);
}

TEST(CalendarCore, FractionalDatesUseTheFloor) {
  EXPECT_TRUE(zday(-0.25) == 31 && zyear(-0.25) == 1959 && zwekday(-0.5) == 5);
  EXPECT_TRUE(zqtr(90.9) == 1 && zqtr(91) == 2); // 1960-03-31, 04-01
  EXPECT_EQ(zyyq(1960, 4), zmdy(10, 1, 1960));
  EXPECT_TRUE(is_std_missing(zyyq(1960, 5)));
}

TEST(CalendarCore, MissingAndBadInputs) {
  const double a = missing_value(0xFD); // .A, propagated with its code
  for (double r : {zjuldat(a), zyear(a), zmonth(a), zday(a), zqtr(a)})
    EXPECT_EQ(valfmt::double_bits(r), valfmt::double_bits(a));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double b : {a, nan, -nan, inf, -inf, 1e301}) {
    for (double r : {zwekday(b), zdatjul(b), zjulymd(b, 1, 1),
                     zjulymd(1960, b, 1), zhour(b), zminute(b), zsecond(b),
                     zdatprt(b), ztimprt(b), zdhms(b, 0, 0, 0)})
      EXPECT_TRUE(is_std_missing(r)) << b;
    if (!valfmt::is_missing(b)) {
      EXPECT_TRUE(is_std_missing(zyear(b))) << b;
    }
  }
  EXPECT_TRUE(is_std_missing(zhms(1, a, 0)));
  EXPECT_TRUE(is_std_missing(zdhms(0, 0, 0, a)));
  EXPECT_TRUE(is_std_missing(zdhms(6589336, 0, 0, 0)));
}

TEST(CalendarClock, PartsWrapNegativeValuesIntoThePreviousDay) {
  EXPECT_TRUE(zhour(-1) == 23 && zminute(-1) == 59 && zsecond(-1) == 59);
  EXPECT_TRUE(ztimprt(-1) == 86399 && zdatprt(-1) == -1);
  EXPECT_TRUE(ztimprt(-86400) == 0 && zdatprt(-86400) == -1);
  EXPECT_TRUE(zsecond(90061.5) == 1.5 && zminute(90061.5) == 1 &&
              ztimprt(90061.5) == 3661.5);
  // A negative remainder too small to subtract from a day is midnight.
  EXPECT_TRUE(zhour(-1e-12) == 0 && zsecond(-1e-12) == 0);
  EXPECT_EQ(zdatprt(-11928470400.0), -138061.0);
  EXPECT_EQ(zhour(569318630399.0), 23.0);
  EXPECT_TRUE(is_std_missing(zhour(569318630400.0)));
  EXPECT_TRUE(is_std_missing(zdatprt(-11928470400.5)));
  EXPECT_TRUE(zhms(-1, 0, 0) == -3600 && zdhms(-1, 23, 0, 0) == -3600);
}

TEST(CalendarRoutines, RangeStepKeepsTheCallersDecimalsAndOutsize) {
  char out[16];
  double v = missing_value(0xFD);
  fmtcall c{};
  c.w = 8;
  c.d = 3;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  EXPECT_EQ(zdatrng(&c, 1), 2);
  EXPECT_EQ(c.d, 3);
  EXPECT_EQ(std::string(out, static_cast<size_t>(c.outlen)), "       A");
  const struct {
    double value;
    int32_t kind, want;
  } rows[] = {{0, 1, 0},
              {6589336, 1, 1},
              {6589336, 2, 0},
              {6589336, 7, 0},
              {569318630400.0, 3, 1},
              {-11928470400.0, 3, 0},
              {std::nan(""), 1, 1},
              {std::nan(""), 3, 1}};
  for (const auto &row : rows) {
    v = row.value;
    EXPECT_EQ(zdatrng(&c, row.kind), row.want) << v << " kind " << row.kind;
  }
  char small[4] = {'x', 'x', 'x', 'x'};
  c.out = small;
  c.outsize = 3;
  v = 1e300;
  EXPECT_EQ(zdatrng(&c, 1), 1);
  EXPECT_EQ(std::string(small, 4), "***x");
  EXPECT_EQ(zdatrng(nullptr, 1), 1);
}

TEST(CalendarRoutines, BrokenDownTimeAgreesWithThePlatform) {
  std::tm tm{};
  tm.tm_hour = 5;
  tm.tm_isdst = 1;
  EXPECT_EQ(zpxdate(&tm, zmdy(3, 1, 2000) + 0.7), 0);
  EXPECT_TRUE(tm.tm_hour == 0 && tm.tm_isdst == 0 && tm.tm_yday == 60);
  for (int64_t day = -3653; day < 40000; day += 37) {
    std::tm mine{}, ref{};
    zpxdate(&mine, static_cast<double>(day));
    const std::time_t t = static_cast<std::time_t>(day + kEpoch1960) * 86400;
    gmtime_r(&t, &ref);
    ASSERT_TRUE(mine.tm_year == ref.tm_year && mine.tm_yday == ref.tm_yday &&
                mine.tm_mon == ref.tm_mon && mine.tm_mday == ref.tm_mday &&
                mine.tm_wday == ref.tm_wday)
        << day;
  }
  EXPECT_EQ(zpxdate(&tm, valfmt::standard_missing()), 1);
  EXPECT_EQ(zpxdate(nullptr, 0), 1);
}

TEST(CalendarRoutines, DateDifference) {
  int64_t days = 0;
  double years = 0;
  auto diff = [&](double a, double b) {
    zdatdif(nullptr, &days, &years, a, b);
  };
  diff(zmdy(7, 1, 1959), zmdy(7, 1, 1960));
  EXPECT_EQ(days, 366);
  EXPECT_DOUBLE_EQ(years, 184.0 / 365 + 182.0 / 366);
  diff(zmdy(7, 1, 1960), zmdy(7, 1, 1959));
  EXPECT_EQ(days, -366);
  EXPECT_DOUBLE_EQ(years, -(184.0 / 365 + 182.0 / 366));
  diff(zmdy(12, 31, 1960), zmdy(1, 1, 1961));
  EXPECT_DOUBLE_EQ(years, 1.0 / 366);
  diff(5, 5.9);
  EXPECT_TRUE(days == 0 && years == 0.0);
  // 4000 has 365 days, each weighed 1/366 by the plain rule.
  diff(zmdy(1, 1, 3999), zmdy(1, 1, 4002));
  EXPECT_EQ(days, 365 * 3);
  EXPECT_DOUBLE_EQ(years, 2 + 365.0 / 366);
  EXPECT_EQ(zdatdif(nullptr, nullptr, nullptr, 0, 10), 0);
  EXPECT_EQ(zdatdif(nullptr, &days, &years, 0, 6589336), 1);
  EXPECT_TRUE(days == 0 && is_std_missing(years));
}

} // namespace
