// The calendar and clock routines, checked against independent calendars.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <fstream>
#include <limits>
#include <string>

#include "core/missing.h"
#include "datetime/calendar.h"
#include "valfmt.h"

namespace {

using valfmt::is_missing;
using valfmt::missing_value;

double std_missing() {
  return valfmt::standard_missing();
}

bool is_std_missing(double x) {
  return valfmt::double_bits(x) == valfmt::kStandardMissingBits;
}

// A second, independent proleptic Gregorian calendar (civil days from
// 1970-01-01 by era arithmetic), without the 4000-year rule.
int64_t gregorian_days(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void gregorian_civil(int64_t z, int64_t &y, int64_t &m, int64_t &d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

constexpr int64_t kEpoch1960 = -3653; // 1960-01-01 in days from 1970-01-01

// Feb 29 of years divisible by 4000 that lie before (y, m): the days the
// 4000-year rule removes.
int64_t removed_leap_days(int64_t y, int64_t m) {
  int64_t k = (y - 1) / 4000;
  if (y % 4000 == 0 && m > 2) ++k;
  return k;
}

TEST(CalendarCore, LeapRules) {
  EXPECT_TRUE(valfmt::is_leap(2000));
  EXPECT_TRUE(valfmt::is_leap(2400));
  EXPECT_TRUE(valfmt::is_leap(1996));
  EXPECT_FALSE(valfmt::is_leap(1900));
  EXPECT_FALSE(valfmt::is_leap(2100));
  EXPECT_FALSE(valfmt::is_leap(1999));
  for (int y : {4000, 8000, 12000, 16000, 20000}) {
    EXPECT_FALSE(valfmt::is_leap(y)) << y;
    EXPECT_TRUE(is_std_missing(zjulymd(y, 2, 29))) << y;
    EXPECT_EQ(zjuldat(zmdy(12, 31, y)), y * 1000.0 + 365) << y;
  }
  EXPECT_EQ(zjulymd(2000, 2, 29), 2000060);
  EXPECT_EQ(zjulymd(2400, 2, 29), 2400060);
  EXPECT_TRUE(is_std_missing(zjulymd(1900, 2, 29)));
  EXPECT_EQ(zjulymd(4004, 2, 29), 4004060);
}

// Every day of the valid range, in both directions.  Up to 28 February
// 4000 the independent calendar must agree as it is; beyond, after
// subtracting the leap days the 4000-year rule removed.
TEST(CalendarCore, MatchesIndependentGregorianOverWholeRange) {
  const int64_t plain_end = gregorian_days(4000, 2, 29) - kEpoch1960;
  for (int64_t day = valfmt::kFirstDate; day < valfmt::kDateLimit; ++day) {
    const valfmt::CivilDate c = valfmt::civil_from_day(day);
    ASSERT_EQ(valfmt::day_from_civil(c.year, c.month, c.day), day);
    ASSERT_EQ(valfmt::day_number(c.year, c.yday), day);
    ASSERT_EQ(gregorian_days(c.year, c.month, c.day) - kEpoch1960 -
                  removed_leap_days(c.year, c.month),
              day)
        << c.year << "-" << c.month << "-" << c.day;
    if (day < plain_end) {
      int64_t y, m, d;
      gregorian_civil(day + kEpoch1960, y, m, d);
      ASSERT_EQ(y, c.year) << day;
      ASSERT_EQ(m, c.month) << day;
      ASSERT_EQ(d, c.day) << day;
    }
  }
  EXPECT_EQ(zmdy(2, 28, 4000), static_cast<double>(plain_end - 1));
  EXPECT_EQ(zmdy(3, 1, 4000), static_cast<double>(plain_end));
  EXPECT_EQ(zmdy(12, 31, 20000), 6589335.0);
}

TEST(CalendarCore, MatchesPythonReferenceRows) {
  std::ifstream in(VALFMT_SOURCE_DIR
                   "/tests/datetime/data/calendar_samples.txt");
  ASSERT_TRUE(in.good());
  int rows = 0;
  double date;
  int y, m, d, yday, wd;
  std::string date9, ymd10;
  while (in >> date >> y >> m >> d >> yday >> wd >> date9 >> ymd10) {
    ++rows;
    ASSERT_EQ(zyear(date), y) << date;
    ASSERT_EQ(zmonth(date), m) << date;
    ASSERT_EQ(zday(date), d) << date;
    ASSERT_EQ(zjuldat(date), y * 1000.0 + yday) << date;
    ASSERT_EQ(zwekday(date), wd) << date;
    ASSERT_EQ(zmdy(m, d, y), date);
    ASSERT_EQ(zdatjul(y * 1000.0 + yday), date);
  }
  EXPECT_GT(rows, 2000);
}

TEST(CalendarCore, RangeEdges) {
  EXPECT_EQ(zmdy(1, 1, 1582), -138061.0);
  EXPECT_EQ(zmdy(1, 1, 1960), 0.0);
  EXPECT_EQ(zmdy(12, 31, 20000), 6589335.0);
  EXPECT_EQ(zjuldat(-138061), 1582001.0);
  EXPECT_EQ(zjuldat(6589335), 20000365.0);
  EXPECT_EQ(zjuldat(6589335.999), 20000365.0);
  EXPECT_TRUE(is_std_missing(zjuldat(6589336)));
  EXPECT_TRUE(is_std_missing(zjuldat(-138061.5)));
  EXPECT_TRUE(is_std_missing(zyear(6589336)));
  EXPECT_TRUE(is_std_missing(zwekday(-138062)));
  EXPECT_TRUE(is_std_missing(zjulymd(1581, 12, 31)));
  EXPECT_TRUE(is_std_missing(zjulymd(20001, 1, 1)));
  EXPECT_TRUE(is_std_missing(zjulymd(20000.5, 1, 1)));
  EXPECT_TRUE(is_std_missing(zjulymd(99.5, 1, 1)));
}

TEST(CalendarCore, FractionalAndNegativeDatesUseTheFloor) {
  EXPECT_EQ(zday(0.999), 1.0);
  EXPECT_EQ(zday(-0.25), 31.0);
  EXPECT_EQ(zyear(-0.25), 1959.0);
  EXPECT_EQ(zwekday(-0.5), 5.0); // 1959-12-31 was a Thursday
  EXPECT_EQ(zjuldat(-1), 1959365.0);
  EXPECT_EQ(zqtr(-1), 4.0);
  EXPECT_EQ(zqtr(91), 2.0); // 1960-03-31 is day 90, day 91 is April 1
  EXPECT_EQ(zqtr(90.9), 1.0);
}

TEST(CalendarCore, TwoDigitWindowAndJulianChecks) {
  EXPECT_EQ(zjulymd(49, 1, 1), 2049001.0);
  EXPECT_EQ(zjulymd(50, 1, 1), 1950001.0);
  EXPECT_EQ(zjulymd(0, 12, 31), 2000366.0);
  EXPECT_EQ(zjulymd(1960.9, 3.7, 1.2), 1960061.0); // truncation, leap year
  EXPECT_EQ(zdatjul(60001), 0.0);
  EXPECT_EQ(zdatjul(49365), zmdy(12, 31, 2049));
  EXPECT_EQ(zdatjul(50001), zmdy(1, 1, 1950));
  EXPECT_EQ(zdatjul(20000365), 6589335.0);
  EXPECT_EQ(zdatjul(1960001.75), 0.0);
  for (double bad : {1581365.0, 100001.0, 1960367.0, 1961366.0, 20000366.0, 0.0,
                     -1.0, 1960000.0, 0.5}) {
    EXPECT_TRUE(is_std_missing(zdatjul(bad))) << bad;
  }
  for (double bad : {0.0, 13.0, 12.5, 0.999}) {
    EXPECT_TRUE(is_std_missing(zjulymd(1960, bad, 1))) << bad;
  }
  for (double bad : {0.0, 32.0, 31.5}) {
    EXPECT_TRUE(is_std_missing(zjulymd(1960, 1, bad))) << bad;
  }
  EXPECT_TRUE(is_std_missing(zjulymd(1961, 4, 31)));
  EXPECT_TRUE(is_std_missing(zjulymd(-1, 1, 1)));
}

TEST(CalendarCore, YmdFromJulian) {
  double y, m, d;
  EXPECT_EQ(zymdjul(&y, &m, &d, 2000366), 0);
  EXPECT_EQ(y, 2000);
  EXPECT_EQ(m, 12);
  EXPECT_EQ(d, 31);
  zymdjul(&y, &m, &d, 1960060);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(d, 29);
  zymdjul(&y, &m, &d, 1961060);
  EXPECT_EQ(m, 3);
  EXPECT_EQ(d, 1);
  zymdjul(&y, &m, &d, 49032);
  EXPECT_EQ(y, 2049);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(zymdjul(&y, &m, &d, 1961366), 0);
  EXPECT_TRUE(is_std_missing(y) && is_std_missing(m) && is_std_missing(d));
  zymdjul(&y, &m, &d, 1960000);
  EXPECT_TRUE(is_std_missing(d));
  EXPECT_EQ(zymdjul(nullptr, nullptr, &d, 1960032), 0); // null outputs
  EXPECT_EQ(d, 1);
  double parts[3];
  EXPECT_EQ(zfmcymd(&parts[0], &parts[1], &parts[2], 6589335), 1);
  EXPECT_EQ(parts[0], 20000);
  EXPECT_EQ(zfmcymd(&parts[0], &parts[1], &parts[2], missing_value(0xE4)), -1);
  EXPECT_TRUE(is_std_missing(parts[0]) && is_std_missing(parts[2]));
  EXPECT_EQ(zfmcymd(&parts[0], &parts[1], &parts[2], 6589336), -1);
}

TEST(CalendarCore, WeekdaysAndQuarters) {
  EXPECT_EQ(zwekday(0), 6.0);
  EXPECT_EQ(zwekday(-138061), 6.0);            // 1582-01-01 Friday
  EXPECT_EQ(zwekday(zmdy(12, 31, 1599)), 6.0); // Friday
  EXPECT_EQ(zwekday(zmdy(1, 1, 1600)), 7.0);   // Saturday
  EXPECT_EQ(zwekday(zmdy(7, 20, 1969)), 1.0);  // a Sunday
  EXPECT_EQ(zyyq(1960, 4), zmdy(10, 1, 1960));
  EXPECT_EQ(zyyq(2005, 1), zmdy(1, 1, 2005));
  EXPECT_TRUE(is_std_missing(zyyq(1960, 5)));
  EXPECT_TRUE(is_std_missing(zyyq(1960, 0)));
}

TEST(CalendarCore, MissingInputs) {
  const double a = missing_value(0xFD); // .A
  // Propagated unchanged, code included.
  for (double r : {zjuldat(a), zyear(a), zmonth(a), zday(a), zqtr(a)}) {
    EXPECT_EQ(valfmt::double_bits(r), valfmt::double_bits(a));
  }
  // Replaced by the standard missing value.
  for (double r :
       {zwekday(a), zdatjul(a), zjulymd(a, 1, 1), zjulymd(1960, a, 1),
        zmdy(1, 1, a), zhms(1, a, 0), zdhms(a, 0, 0, 0), zdhms(0, 0, 0, a),
        zhour(a), zminute(a), zsecond(a), zdatprt(a), ztimprt(a)}) {
    EXPECT_TRUE(is_std_missing(r));
  }
}

TEST(CalendarCore, BadNumbersGiveMissing) {
  const double bads[] = {std::numeric_limits<double>::quiet_NaN(),
                         -std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         1e301,
                         -1e301};
  for (double b : bads) {
    EXPECT_TRUE(is_std_missing(zjuldat(b))) << b;
    EXPECT_TRUE(is_std_missing(zyear(b))) << b;
    EXPECT_TRUE(is_std_missing(zwekday(b))) << b;
    EXPECT_TRUE(is_std_missing(zdatjul(b))) << b;
    EXPECT_TRUE(is_std_missing(zjulymd(b, 1, 1))) << b;
    EXPECT_TRUE(is_std_missing(zjulymd(1960, b, 1))) << b;
    EXPECT_TRUE(is_std_missing(zhour(b))) << b;
    EXPECT_TRUE(is_std_missing(zsecond(b))) << b;
    EXPECT_TRUE(is_std_missing(zdatprt(b))) << b;
    EXPECT_TRUE(is_std_missing(ztimprt(b))) << b;
    EXPECT_TRUE(is_std_missing(zdhms(b, 0, 0, 0))) << b;
    double y = 0;
    EXPECT_EQ(zfmcymd(&y, nullptr, nullptr, b), -1);
  }
}

TEST(CalendarClock, PartsOfTimesAndDatetimes) {
  EXPECT_EQ(zhour(-1), 23.0);
  EXPECT_EQ(zminute(-1), 59.0);
  EXPECT_EQ(zsecond(-1), 59.0);
  EXPECT_EQ(ztimprt(-1), 86399.0);
  EXPECT_EQ(zdatprt(-1), -1.0);
  EXPECT_EQ(zhour(-3600), 23.0);
  EXPECT_EQ(zsecond(59.75), 59.75);
  EXPECT_EQ(zhour(90061.5), 1.0);
  EXPECT_EQ(zminute(90061.5), 1.0);
  EXPECT_EQ(zsecond(90061.5), 1.5);
  EXPECT_EQ(zdatprt(90061.5), 1.0);
  EXPECT_EQ(ztimprt(90061.5), 3661.5);
  EXPECT_EQ(zhour(-86400), 0.0);
  EXPECT_EQ(zminute(-86400), 0.0);
  EXPECT_EQ(zdatprt(-86400), -1.0);
  EXPECT_EQ(ztimprt(-86400), 0.0);
  // A negative remainder too small to subtract from a day is midnight,
  // never hour 24.
  EXPECT_EQ(zhour(-1e-12), 0.0);
  EXPECT_EQ(zminute(-1e-12), 0.0);
  EXPECT_EQ(zsecond(-1e-12), 0.0);
  // Datetime range edges.
  EXPECT_EQ(zdatprt(-11928470400.0), -138061.0);
  EXPECT_EQ(zhour(569318630399.0), 23.0);
  EXPECT_TRUE(is_std_missing(zhour(569318630400.0)));
  EXPECT_TRUE(is_std_missing(zdatprt(-11928470400.5)));
}

TEST(CalendarClock, Compose) {
  EXPECT_EQ(zhms(1, 2, 3.5), 3723.5);
  EXPECT_EQ(zhms(-1, 0, 0), -3600.0); // no range checks
  EXPECT_EQ(zdhms(1, 1, 0, 0), 90000.0);
  EXPECT_EQ(zdhms(-1, 23, 0, 0), -3600.0);
  EXPECT_TRUE(is_std_missing(zdhms(6589336, 0, 0, 0)));
  EXPECT_TRUE(is_std_missing(zdhms(-138062, 0, 0, 0)));
}

TEST(CalendarRoutines, RangeStepWritesMissingOrAsterisks) {
  char out[16];
  double v = 0;
  fmtcall c{};
  c.w = 8;
  c.d = 3;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  EXPECT_EQ(zdatrng(&c, 1), 0);

  v = missing_value(0xFD);
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(zdatrng(&c, 1), 2);
  EXPECT_EQ(c.d, 3); // restored
  EXPECT_EQ(c.outlen, 8);
  EXPECT_EQ(std::string(out, 8), "       A"); // decimals ignored

  v = 6589336;
  EXPECT_EQ(zdatrng(&c, 1), 1);
  EXPECT_EQ(std::string(out, 8), "********");
  EXPECT_EQ(c.outlen, 8);
  EXPECT_EQ(zdatrng(&c, 2), 0); // in range as a time
  EXPECT_EQ(zdatrng(&c, 7), 0); // unknown kinds are not checked

  v = 569318630400.0;
  EXPECT_EQ(zdatrng(&c, 3), 1);
  v = -11928470400.0;
  EXPECT_EQ(zdatrng(&c, 3), 0);
  v = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(zdatrng(&c, 1), 1);
  EXPECT_EQ(zdatrng(&c, 3), 1);

  // Never more than outsize bytes.
  char small[4] = {'x', 'x', 'x', 'x'};
  c.out = small;
  c.outsize = 3;
  v = 1e300;
  EXPECT_EQ(zdatrng(&c, 1), 1);
  EXPECT_EQ(c.outlen, 3);
  EXPECT_EQ(small[3], 'x');
  EXPECT_EQ(zdatrng(nullptr, 1), 1);
}

// The exported name table and the formats' abbreviations agree.
TEST(CalendarRoutines, Tables) {
  EXPECT_EQ(dpm[1], 0);
  for (int m = 1; m <= 12; ++m) {
    EXPECT_STREQ(datestgs[m + 11], valfmt::kMonthAbbrev[m - 1]);
    EXPECT_EQ(std::strncmp(datestgs[m - 1], datestgs[m + 11], 1), 0);
    if (m != 2) {
      EXPECT_EQ(dpm[m - 1], valfmt::month_length(1961, m));
    }
  }
  EXPECT_STREQ(datestgs[24], "Sunday");
  EXPECT_STREQ(datestgs[30], "Saturday");
}

TEST(CalendarRoutines, WordParts) {
  char mon[10], day[3], year[6];
  EXPECT_EQ(zwrdmdy(mon, day, year, 9, 7, 1960), 0);
  EXPECT_STREQ(mon, "September");
  EXPECT_STREQ(day, "7");
  EXPECT_STREQ(year, "1960");
  zwrdmdy(mon, day, year, 12, 31, 5);
  EXPECT_STREQ(day, "31");
  EXPECT_STREQ(year, "05");
  zwrdmdy(mon, day, year, 1, 1, 20000);
  EXPECT_STREQ(year, "20000");
  zwrdmdy(mon, day, year, 13, 100, 100000);
  EXPECT_STREQ(mon, "");
  EXPECT_STREQ(day, "**");
  EXPECT_STREQ(year, "*****");
  zwrdmdy(mon, day, year, std_missing(), -1, -5);
  EXPECT_STREQ(mon, "");
  EXPECT_STREQ(year, "*****");
}

TEST(CalendarRoutines, BrokenDownTime) {
  std::tm tm{};
  tm.tm_hour = 5;
  tm.tm_isdst = 1;
  EXPECT_EQ(zpxdate(&tm, zmdy(3, 1, 2000) + 0.7), 0);
  EXPECT_EQ(tm.tm_hour, 0);
  EXPECT_EQ(tm.tm_isdst, 0);
  EXPECT_EQ(tm.tm_mday, 1);
  EXPECT_EQ(tm.tm_mon, 2);
  EXPECT_EQ(tm.tm_year, 100);
  EXPECT_EQ(tm.tm_wday, 3); // Wednesday
  EXPECT_EQ(tm.tm_yday, 60);
  // Agrees with the platform for a spread of dates.
  for (int64_t day = -3653; day < 40000; day += 37) {
    std::tm mine{};
    zpxdate(&mine, static_cast<double>(day));
    const std::time_t t = static_cast<std::time_t>(day + kEpoch1960) * 86400;
    std::tm ref{};
    gmtime_r(&t, &ref);
    ASSERT_EQ(mine.tm_year, ref.tm_year);
    ASSERT_EQ(mine.tm_yday, ref.tm_yday);
    ASSERT_EQ(mine.tm_mon, ref.tm_mon);
    ASSERT_EQ(mine.tm_mday, ref.tm_mday);
    ASSERT_EQ(mine.tm_wday, ref.tm_wday);
  }
  EXPECT_EQ(zpxdate(&tm, std_missing()), 1);
  EXPECT_EQ(zpxdate(nullptr, 0), 1);
}

TEST(CalendarRoutines, DateDifference) {
  int64_t days = 0;
  double years = 0;
  EXPECT_EQ(zdatdif(nullptr, &days, &years, zmdy(7, 1, 1959), zmdy(7, 1, 1960)),
            0);
  EXPECT_EQ(days, 366);
  EXPECT_DOUBLE_EQ(years, 184.0 / 365 + 182.0 / 366);
  zdatdif(nullptr, &days, &years, zmdy(7, 1, 1960), zmdy(7, 1, 1959));
  EXPECT_EQ(days, -366);
  EXPECT_DOUBLE_EQ(years, -(184.0 / 365 + 182.0 / 366));
  zdatdif(nullptr, &days, &years, zmdy(12, 31, 1960), zmdy(1, 1, 1961));
  EXPECT_EQ(days, 1);
  EXPECT_DOUBLE_EQ(years, 1.0 / 366);
  zdatdif(nullptr, &days, &years, 5, 5.9);
  EXPECT_EQ(days, 0);
  EXPECT_EQ(years, 0.0);
  // Whole years in between count one each.
  zdatdif(nullptr, &days, &years, zmdy(1, 1, 1990), zmdy(1, 1, 2010));
  EXPECT_EQ(days, 7305);
  EXPECT_DOUBLE_EQ(years, 20.0);
  // 4000 has 365 days, each weighed 1/366 by the plain rule.
  zdatdif(nullptr, &days, &years, zmdy(1, 1, 3999), zmdy(1, 1, 4002));
  EXPECT_EQ(days, 365 * 3);
  EXPECT_DOUBLE_EQ(years, 2 + 365.0 / 366);
  zdatdif(nullptr, &days, &years, zmdy(1, 1, 4000), zmdy(12, 31, 4000));
  EXPECT_DOUBLE_EQ(years, 364.0 / 366);
  // Null outputs are skipped; invalid dates are reported.
  EXPECT_EQ(zdatdif(nullptr, nullptr, nullptr, 0, 10), 0);
  EXPECT_EQ(zdatdif(nullptr, &days, &years, 0, 6589336), 1);
  EXPECT_EQ(days, 0);
  EXPECT_TRUE(is_std_missing(years));
}

} // namespace
