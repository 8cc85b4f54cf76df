// TIME, TOD and TIMEAMPM: every width and decimals against the reference
// texts, the carries at minute, hour and day boundaries, and the seconds
// field against the fixed renderer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "datetime/clock.h"
#include "datetime/time_reference.h"
#include "registry/functions.h"
#include "datetime/format_checks.h"
#include "support/call_runner.h"

namespace {

using vftest::put;

using dtcheck::text;

// Values on the 1/8-second grid: inside a minute, at minute, hour and day
// boundaries, beyond a day, negative, and near the ends of the range.
const double kSpread[] = {
    0,         0.125,    1,          59.5,      59.875,     61.625,
    3599.5,    3599.875, 3723.375,   45296.25,  46799.5,    86399.5,
    86399.875, 90000,    360000.625, 3600000.5, 1e9 + 0.75, -0.5,
    -1,        -3600,    -86399.875, -90000.25, -1e10,      569318630399.875};

TEST(TimeEveryWidth, MatchesTheReference) {
  using timeref::Clock;
  const struct {
    const char *name;
    fmtfn fn;
    Clock kind;
  } formats[] = {{"TIME", zfmtime, Clock::kTime},
                 {"TOD", zfmtod, Clock::kTod},
                 {"TIMEAMPM", zfmtimm, Clock::kAmPm}};
  for (const auto &f : formats)
    for (const double v : kSpread)
      for (int w = 2; w <= 20; ++w)
        for (int d = 0; d <= 7; ++d)
          EXPECT_EQ(
              text(f.fn, v, w, d),
              timeref::clock_text(static_cast<int64_t>(v * 8), w, d, f.kind))
              << f.name << w << "." << d << " of " << v;
}

TEST(TimeLayouts, OffGridAndOverlongHours) {
  EXPECT_EQ(text(zfmtime, 3723.456, 11, 2), " 1:02:03.46");
  // Hours wider than the field: asterisks, status 0.
  EXPECT_EQ(text(zfmtime, 1e10, 7), "2777777");
  EXPECT_EQ(text(zfmtime, 1e10, 6), "******");
}

// Hour and day carries off the 1/8-second grid, decimals 0..6, at the
// widest field and at TIME8.
TEST(TimeCarries, MinuteHourAndDayBoundaries) {
  for (int d = 0; d <= 6; ++d) {
    const std::string zeros(static_cast<std::size_t>(d > 0 ? d - 1 : 0), '0');
    // 3599.99 s: carried to the hour while half a unit of d covers 0.01.
    const std::string z2(static_cast<std::size_t>(d > 1 ? d - 2 : 0), '0');
    EXPECT_EQ(text(zfmtime, 3599.99, 20, d),
              timeref::right(d == 0   ? "1:00:00"
                             : d == 1 ? "1:00:00.0"
                                      : "0:59:59.99" + z2,
                             20));
    // 86399.6 s: 24 hours at d = 0, for TIME and TOD alike.
    const std::string day = d == 0 ? "24:00:00" : "23:59:59.6" + zeros;
    EXPECT_EQ(text(zfmtime, 86399.6, 20, d), timeref::right(day, 20));
    EXPECT_EQ(text(zfmtod, 86399.6, 20, d), timeref::right(day, 20));
    EXPECT_EQ(text(zfmtime, 3599.99, 8, d), " 1:00:00") << d;
    EXPECT_EQ(text(zfmtime, 86399.6, 8, d), "24:00:00") << d;
  }
  EXPECT_EQ(text(zfmtime, 86399.96, 10, 1), "24:00:00.0");
  // A carry that widens the hours keeps the text within w.
  EXPECT_EQ(text(zfmtime, 35999.96, 10, 1), "10:00:00.0");
  EXPECT_EQ(text(zfmtime, 35999.996, 10, 3), "10:00:00.0");
  EXPECT_EQ(text(zfmtime, 35999.6, 8, 1), "10:00:00");
  EXPECT_EQ(text(zfmtime, 35999.6, 9, 1), "9:59:59.6");
}

// Just below the fraction-carry thresholds the renderer's lift of one unit
// in the last place reaches 60 seconds; the minute is carried instead.
TEST(TimeCarries, SecondsNeverShowSixty) {
  const double below_half = std::nextafter(59.5, 0.0);
  const double below_edge = std::nextafter(59.9999999999995, 0.0);
  // The fixed renderer itself takes both to 60.
  EXPECT_EQ(put(zfmt, below_half, 2, 0).text, "60");
  EXPECT_EQ(put(zfmt, below_edge, 15, 12).text, "60.000000000000");
  EXPECT_EQ(text(zfmtime, below_half, 8, 2), " 0:01:00");
  EXPECT_EQ(text(zfmtime, below_edge, 20, 12), "0:01:00.000000000000");
  EXPECT_EQ(text(zfmtime, 3540 + below_edge, 20, 12), "1:00:00.000000000000");
}

TEST(TimeSecondsField, AgreesWithTheFixedRenderer) {
  char digits[valfmt::kClockMaxDecimals];
  uint64_t x = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 20000; ++i) {
    x = x * 6364136223846793005ull + 1442695040888963407ull;
    // Spread over [0, 60), with a share of values just below a rounding
    // boundary of some decimal place.
    double s = static_cast<double>(x >> 11) * 0x1p-53 * 60;
    const int n = static_cast<int>((x >> 3) % 24);
    if (i % 3 == 0)
      s = std::nextafter(std::floor(s) + 1 - 0.5 * std::pow(10.0, -n), 0.0);
    const int32_t whole = valfmt::seconds_field(s, n, digits);
    std::string mine = timeref::two(whole);
    if (n > 0) mine += "." + std::string(digits, static_cast<std::size_t>(n));
    std::string f = put(zfmt, s, n + 2 + (n > 0 ? 1 : 0), n).text;
    for (char &ch : f)
      if (ch == ' ') ch = '0';
    ASSERT_EQ(mine, f) << std::hexfloat << s << " n=" << n;
  }
}

} // namespace
