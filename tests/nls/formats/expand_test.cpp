// The pattern expander against the C library's strftime in the POSIX
// locale (numbers, English names, clock parts), and its own directives,
// flags, alignment and failures.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "datetime/local_zone.h"
#include "nls/expand.h"
#include "nls/nl_date.h"
#include "nls/formats/nl_test_util.h"

namespace {

using namespace std::chrono;
constexpr int32_t kEnUS = nltest::kEnUS;
const double kNone = nltest::missing();

// Date value (days from 1960-01-01) of a civil date, from <chrono>.
double date_value(int y, unsigned m, unsigned d) {
  const sys_days day =
      std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d};
  const sys_days epoch = year{1960} / January / 1;
  return static_cast<double>((day - epoch).count());
}

std::tm tm_of(double date, int hour = 0, int minute = 0, int second = 0) {
  const sys_days day =
      sys_days(year{1960} / January / 1) + days{static_cast<int>(date)};
  const year_month_day ymd{day};
  std::tm t{};
  t.tm_year = static_cast<int>(ymd.year()) - 1900;
  t.tm_mon = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
  t.tm_mday = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.tm_wday = static_cast<int>(weekday{day}.c_encoding());
  t.tm_yday =
      static_cast<int>((day - sys_days(ymd.year() / January / 1)).count());
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

std::string strftime_of(const char *pattern, const std::tm &t) {
  char buf[256];
  const std::size_t n = std::strftime(buf, sizeof buf, pattern, &t);
  return std::string(buf, n);
}

std::string expanded(const std::string &pattern, double date, double h = 0,
                     double m = 0, double s = 0, int32_t loc = kEnUS,
                     int32_t *rc = nullptr) {
  char text[400];
  int32_t width = 320;
  const int32_t r =
      valfmt::expand(date, h, m, s, loc, pattern.data(),
                     static_cast<int32_t>(pattern.size()), text, width);
  if (rc != nullptr) *rc = r;
  if (r != valfmt::kExpandOk) return "<rc " + std::to_string(r) + ">";
  return std::string(text, static_cast<std::size_t>(width));
}

TEST(Expand, NumericDirectivesAgreeWithStrftime) {
  const char *pattern = "%d|%e|%j|%m|%U|%W|%V|%G|%g|%u|%w|%Y|%y";
  // Every 13th day over 1582..2600 plus each year's first and last week.
  std::vector<double> dates;
  for (double v = date_value(1582, 1, 1); v < date_value(2600, 1, 1); v += 13)
    dates.push_back(v);
  for (int y = 1990; y < 2040; ++y)
    for (double k = -4; k < 5; ++k) dates.push_back(date_value(y, 1, 1) + k);
  for (const double v : dates)
    ASSERT_EQ(expanded(pattern, v), strftime_of(pattern, tm_of(v))) << v;
}

TEST(Expand, EnglishNamesAndClockAgreeWithStrftime) {
  const char *pattern = "%A %a %B %b %H:%M:%S %I %p";
  for (int k = 0; k < 24 * 14; ++k) {
    const double v = date_value(2023, 12, 20) + k / 24;
    const int h = k % 24, m = (k * 7) % 60, s = (k * 11) % 60;
    ASSERT_EQ(expanded(pattern, v, h, m, s),
              strftime_of(pattern, tm_of(v, h, m, s)))
        << k;
  }
}

TEST(Expand, FlagsCaseVariantsAndPadding) {
  const double v = date_value(2024, 3, 5); // a Tuesday, day 65
  EXPECT_EQ(expanded("%#d/%#m/%#j %o|%e", v), "5/3/65  3| 5");
  EXPECT_EQ(expanded("%0d %D %N %n", v), "05 05 03 03");
  // '?' and a lower-case letter select the abbreviated variant.
  EXPECT_EQ(expanded("%?B %?A %b", v), "Mar Tue Mar");
  // Letters listed in one case mean the same in the other.
  EXPECT_EQ(expanded("%h %i %s %J %P", v, 15, 4, 9), "15 03 09 065 PM");
  // %f and %c pad to the longest full weekday (Wednesday) and month
  // (September) name of the locale.
  EXPECT_EQ(expanded("[%f][%c]", v), "[Tuesday  ][March    ]");
  EXPECT_EQ(expanded("%q|%Q|%v|%Z|%%", v), "1st quarter|1st quarter||XST|%");
  // %Y is always zero-padded, even with '#'.
  EXPECT_EQ(expanded("%#Y", date_value(1600, 1, 1)), "1600");
  // An hour above 99 keeps all its digits.
  EXPECT_EQ(expanded("%H", v, 123), "123");
}

TEST(Expand, MissingPartsShowAsStars) {
  EXPECT_EQ(expanded("%H:%M:%S %p", 0, kNone, kNone, kNone), "**:**:** **");
  EXPECT_EQ(expanded("%d %B %Y|%H", kNone, 7), "** ** **|07");
}

TEST(Expand, UnknownDirectiveAndDanglingPercentFail) {
  for (const char *p : {"%B %K", "abc %", "%#", "%1"}) {
    int32_t rc = 0;
    expanded(p, 0, 0, 0, 0, kEnUS, &rc);
    EXPECT_EQ(rc, valfmt::kExpandBadDirective) << p;
  }
}

TEST(Expand, AlignmentTrailingBlanksAndTruncation) {
  const std::string p = "%Y   ";
  char text[16];
  int32_t width = 8;
  ASSERT_EQ(valfmt::expand(0, 0, 0, 0, kEnUS, p.data(), 5, text, width), 0);
  EXPECT_EQ(width, 4);
  EXPECT_EQ(std::string(text, 8), "1960    ");
  width = -8;
  ASSERT_EQ(valfmt::expand(0, 0, 0, 0, kEnUS, p.data(), 5, text, width), 0);
  EXPECT_EQ(std::string(text, 8), "    1960");
  const std::string long_pattern = "%B %d, %Y";
  width = 5;
  EXPECT_EQ(valfmt::expand(0, 0, 0, 0, kEnUS, long_pattern.data(),
                           static_cast<int32_t>(long_pattern.size()), text,
                           width),
            valfmt::kExpandTooLong);
  EXPECT_EQ(std::string(text, 5), "Janua");
}

TEST(Expand, ZoneOffsetFollowsTheTimeZone) {
  const char *old = std::getenv("TZ");
  const std::string saved = old != nullptr ? old : "";
  setenv("TZ", "XST-5:30", 1);
  valfmt::refresh_local_offset();
  EXPECT_EQ(expanded("%z", 0), "+0530");
  setenv("TZ", "XST3", 1);
  valfmt::refresh_local_offset();
  EXPECT_EQ(expanded("%z", 0), "-0300");
  if (old != nullptr)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  valfmt::refresh_local_offset();
}

TEST(Expand, RendererEntriesRefuseMissingAndOutOfRangeValues) {
  char text[320];
  int32_t width = 320;
  EXPECT_EQ(valfmt::zkfdate(kEnUS, text, width, nullptr, 28, kNone),
            valfmt::kZkfBadValue);
  EXPECT_EQ(valfmt::zkfdate(kEnUS, text, width, nullptr, 28, -138062),
            valfmt::kZkfBadValue);
  EXPECT_EQ(valfmt::zkfdttm(kEnUS, text, width, nullptr, 31, 5.7e11),
            valfmt::kZkfBadValue);
  EXPECT_EQ(valfmt::zkfdate(kEnUS, text, width, "%K", 2, 0),
            valfmt::kZkfBadDirective);
  EXPECT_EQ(valfmt::zkfdate(kEnUS, text, width, nullptr, 400, 0),
            valfmt::kZkfNoField);
  width = 320;
  ASSERT_EQ(valfmt::zkfdttm(kEnUS, text, width, "%d %H:%M:%S", 11,
                            86400.0 * 3 + 3723.9),
            0);
  EXPECT_EQ(std::string(text, static_cast<std::size_t>(width)),
            "04 01:02:03"); // seconds truncated
}

TEST(Expand, TimeOfDayWraps) {
  EXPECT_EQ(valfmt::wrap_time_of_day(-1), 86399);
  EXPECT_EQ(valfmt::wrap_time_of_day(90000), 3600);
  EXPECT_EQ(valfmt::wrap_time_of_day(-86400), 0);
  EXPECT_EQ(valfmt::wrap_time_of_day(-90000), 82800);
}

} // namespace
