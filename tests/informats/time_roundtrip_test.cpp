// Round trips of the time and datetime formats through their informats:
// a value rendered by TIME, TOD, DATETIME or MDYAMPM and read back by
// @TIME, @DATETIME or @MDYAMPM gives the value again at the format's
// resolution (its last shown decimal, or the minute).  Values are whole
// counts of that resolution, stated by calendar date and clock time, so
// the expected value never comes from the code under test.
#include <cmath>
#include <string>
#include <vector>

#include "informats/date_helpers.h"

namespace {

using date_test::day_of;

std::string render(fmtfn fn, double v, int32_t w, int32_t d) {
  char out[48];
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = &v;
  c.valuelen = 8;
  c.out = out;
  c.outsize = sizeof out;
  if (fn(&c) != VF_OK || c.outlen <= 0) return "<status>";
  return std::string(out, static_cast<std::size_t>(c.outlen));
}

// Reads the text at its own width; the count of `units` per second it
// holds, or -1 when the informat refuses it.
int64_t read_units(fmtfn fn, const std::string &text, double units) {
  const date_test::Read r =
      date_test::read(fn, text, static_cast<int32_t>(text.size()));
  if (r.status != VF_OK || std::isnan(r.value())) return -1;
  return std::llround(r.value() * units);
}

// A spread of clock times in units of 10^-d second below `limit` seconds:
// every hour, with minutes, seconds and fractions that change with it.
template <class Check>
void for_each_time(int32_t d, int64_t limit_seconds, Check check) {
  const auto scale = static_cast<int64_t>(std::pow(10.0, d));
  for (int64_t h = 0; h * 3600 < limit_seconds; ++h) {
    const int64_t m = (h * 7) % 60, s = (h * 13 + 59) % 60;
    const int64_t frac = scale > 1 ? (h * 7919) % scale : 0;
    check(((h * 60 + m) * 60 + s) * scale + frac, scale);
    check(h * 3600 * scale, scale); // on the hour
  }
  check((limit_seconds - 1) * scale + (scale - 1), scale);
}

TEST(TimeRoundTrip, TimeAndTodReadBackThroughTime) {
  struct Case {
    fmtfn fn;
    const char *name;
    int32_t w, d;
    int64_t limit; // seconds
  };
  // clang-format off
  const Case cases[] = {
      {zfmtime, "TIME8", 8, 0, 100 * 3600}, {zfmtime, "TIME15.6", 15, 6, 86400},
      {zfmtime, "TIME13.3", 13, 3, 400000}, {zfmtod, "TOD8", 8, 0, 86400},
      {zfmtod, "TOD10.1", 10, 1, 86400},    {zfmtod, "TOD18.6", 18, 6, 86400},
  };
  // clang-format on
  for (const Case &c : cases) {
    int checked = 0;
    for_each_time(c.d, c.limit, [&](int64_t n, int64_t scale) {
      const double v = static_cast<double>(n) / static_cast<double>(scale);
      const std::string text = render(c.fn, v, c.w, c.d);
      ASSERT_EQ(read_units(zifmtim, text, static_cast<double>(scale)), n)
          << c.name << " " << v << " \"" << text << "\"";
      ++checked;
    });
    EXPECT_GE(checked, 49) << c.name;
  }
}

// Dates from 1582 to 9999 (four-digit years) or in the two-digit window.
template <class Check>
void for_each_date(int64_t first, int64_t last, Check check) {
  for (int64_t y = first; y <= last; y += (last - first > 200 ? 101 : 3))
    for (int64_t m = 1; m <= 12; m += 5) check(day_of(y, m, (y + m) % 28 + 1));
  check(day_of(last, 12, 31));
}

TEST(TimeRoundTrip, DatetimeReadsBackThroughDatetime) {
  struct Case {
    const char *name;
    int32_t w, d;
    int64_t first, last;
  };
  const Case cases[] = {{"DATETIME16", 16, 0, 1950, 2049},
                        {"DATETIME19", 19, 0, 1582, 9999},
                        {"DATETIME23.3", 23, 3, 1582, 9999}};
  for (const Case &c : cases) {
    int checked = 0;
    for_each_date(c.first, c.last, [&](int64_t day) {
      for_each_time(c.d, 86400, [&](int64_t n, int64_t scale) {
        if (n % (scale * 3600) > scale * 60 && (n / scale) % 5 != 0)
          return; // a lighter spread of times per date
        const int64_t units = day * 86400 * scale + n;
        const double v =
            static_cast<double>(units) / static_cast<double>(scale);
        const std::string text = render(zfmdttm, v, c.w, c.d);
        ASSERT_EQ(read_units(zifmdtm, text, static_cast<double>(scale)), units)
            << c.name << " \"" << text << "\"";
        ++checked;
      });
    });
    EXPECT_GE(checked, 300) << c.name;
  }
}

TEST(TimeRoundTrip, MdyampmReadsBackThroughMdyampm) {
  int checked = 0;
  std::vector<int64_t> minutes = {
      0, 59, 11 * 60 + 59, 12 * 60, 12 * 60 + 59, 13 * 60, 23 * 60 + 59};
  for (int64_t m = 1; m < 24 * 60; m += 37) minutes.push_back(m);
  for_each_date(1582, 9999, [&](int64_t day) {
    for (int64_t at : minutes) {
      const double v = static_cast<double>(day * 86400 + at * 60);
      const std::string text = render(zfmdyam, v, 19, 0);
      ASSERT_EQ(read_units(zifmdya, text, 1.0), day * 86400 + at * 60)
          << "\"" << text << "\"";
      ++checked;
    }
  });
  EXPECT_GE(checked, 3000);
}

} // namespace
