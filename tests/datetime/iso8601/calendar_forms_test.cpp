// The ISO calendar forms against a gmtime_r/strftime oracle (below the
// year 4000), and the refusals of bad call blocks.
#include <time.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "datetime/iso8601/iso_calls.h"
#include "registry/functions.h"

namespace {

constexpr int64_t kUnixFrom1960 = 315619200; // 1960-01-01 to 1970-01-01

// The text of S + f seconds since 1960 rounded to n decimals, strftime
// layout `layout`, the decimals after `point` (f is never near a half).
std::string oracle(int64_t s, double f, int n, const char *layout) {
  int64_t scale = 1;
  for (int i = 0; i < n; ++i) scale *= 10;
  const int64_t units =
      s * scale + std::llround(f * static_cast<double>(scale));
  int64_t sec = units / scale;
  int64_t frac = units % scale;
  if (frac < 0) {
    frac += scale;
    --sec;
  }
  const time_t t = static_cast<time_t>(sec - kUnixFrom1960);
  struct tm tm {};
  gmtime_r(&t, &tm);
  char buf[64];
  strftime(buf, sizeof buf, layout, &tm);
  std::string out = buf;
  if (n > 0) {
    std::string digits = std::to_string(frac);
    out += "." + std::string(static_cast<std::size_t>(n) - digits.size(), '0') +
           digits;
  }
  return out;
}

std::string num(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string right(const std::string &t, int w) {
  return std::string(static_cast<std::size_t>(w) - t.size(), ' ') + t;
}

std::string with_zone(const std::string &t, int w) {
  const int room = w - static_cast<int>(t.size());
  return right(t + (room >= 6 ? "+00:00" : "Z"), w);
}

const int64_t kSeconds[] = {-11928470400, -1,         0,          45296,
                            951868799,    1000000000, 63000000000};
const double kFractions[] = {0.0, 0.3, 0.97};

TEST(IsoExtended, EveryWidthAndDecimalsMatchTheCalendar) {
  for (int64_t s : kSeconds)
    for (double f : kFractions)
      for (int d = 0; d <= 6; ++d) {
        const double v = static_cast<double>(s) + f;
        const std::string val = num(static_cast<double>(s) + f);
        // The fraction the double really carries (exact: v and s are close).
        const double exact =
            (static_cast<double>(s) + f) - static_cast<double>(s);
        for (int w = 19; w <= 26; ++w) {
          const int n = std::min(d, w - 20 < 0 ? 0 : w - 20);
          EXPECT_EQ(isotest::run("E8601DT" + std::to_string(w) + "." +
                                     std::to_string(d),
                                 val)
                        .text,
                    right(oracle(s, exact, n, "%Y-%m-%dT%H:%M:%S"), w))
              << w << "." << d << " of " << v;
        }
        for (int w = 20; w <= 35; ++w) {
          const int n = std::min({d, std::max(w - 21, 0), 6});
          EXPECT_EQ(isotest::run("E8601DZ" + std::to_string(w) + "." +
                                     std::to_string(d),
                                 val)
                        .text,
                    with_zone(oracle(s, exact, n, "%Y-%m-%dT%H:%M:%S"), w))
              << w << "." << d << " of " << v;
        }
        // The basic twin shows the most decimals that fit, point kept.
        for (int w = 19; w <= 26; ++w) {
          int n = d;
          while (n > 0 && 15 + n + 1 > w) --n;
          EXPECT_EQ(isotest::run("B8601DT" + std::to_string(w) + "." +
                                     std::to_string(d),
                                 val)
                        .text,
                    right(oracle(s, exact, n, "%Y%m%dT%H%M%S"), w))
              << w << "." << d << " of " << val;
        }
        // The date of the datetime ignores the fraction.
        EXPECT_EQ(isotest::run("E8601DN10.", val).text,
                  oracle(s, 0, 0, "%Y-%m-%d"));
        // The time of day, away from the rounding into the next day.
        const int64_t sod = ((s % 86400) + 86400) % 86400;
        if (sod == 86399) continue;
        const std::string tval = num(static_cast<double>(sod) + f);
        const double exact_tod =
            (static_cast<double>(sod) + f) - static_cast<double>(sod);
        for (int w = 8; w <= 15; ++w) {
          const int n = std::min(d, std::max(w - 9, 0));
          EXPECT_EQ(isotest::run("E8601TM" + std::to_string(w) + "." +
                                     std::to_string(d),
                                 tval)
                        .text,
                    right(oracle(sod, exact_tod, n, "%H:%M:%S"), w))
              << w << "." << d << " of " << tval;
        }
        for (int w = 9; w <= 20; ++w) {
          const int n = std::min(d, std::max(w - 10, 0));
          EXPECT_EQ(isotest::run("E8601TZ" + std::to_string(w) + "." +
                                     std::to_string(d),
                                 tval)
                        .text,
                    with_zone(oracle(sod, exact_tod, n, "%H:%M:%S"), w))
              << w << "." << d << " of " << tval;
        }
      }
}

TEST(IsoExtended, RangeEdgesMissingAndDesignatorLimits) {
  // Times 0 and 86400, the first instant after 9999-12-31.
  EXPECT_EQ(isotest::run("E8601TZ9.", "86400").text, "*********");
  EXPECT_EQ(isotest::run("E8601DZ20.", "253717747200").text,
            std::string(20, '*'));
  EXPECT_EQ(isotest::run("E8601DN10.", "-11928470401").text,
            std::string(10, '*'));
  // "Z" just fits at 9, "+00:00" needs six free columns: 13 still "Z".
  EXPECT_EQ(isotest::run("E8601TZ13.", "0").text, "    00:00:00Z");
  EXPECT_EQ(isotest::run("E8601DZ24.", "0").text, "    1960-01-01T00:00:00Z");
  // Other missing codes keep their character; basic forms keep it too.
  const std::string a = std::string(1, 'A');
  fmtcall c{};
  const double miss_a = std::bit_cast<double>(0xFFFFFD0000000000ull);
  char out[26];
  c.w = 19;
  c.value = &miss_a;
  c.out = out;
  c.outsize = 26;
  EXPECT_EQ(b8601dt(&c), 0);
  EXPECT_EQ(std::string(out, 19), std::string(18, ' ') + "A");
}

TEST(IsoCalls, BadBlocksAreRefusedWithinTheBuffer) {
  // Widths outside the row, a short buffer, a null value.
  EXPECT_EQ(vftest::put(f8601dt, 0, 1).status, VF_ERR_WIDTH);
  EXPECT_EQ(vftest::put(f8601dt, 0, 200).status, VF_ERR_WIDTH);
  EXPECT_EQ(vftest::put(b8601tz, 0, 14, 0, 5).status, VF_ERR_OUTSIZE);
  fmtcall c{};
  char out[8];
  c.w = 10;
  c.out = out;
  c.outsize = 8;
  EXPECT_EQ(f8601da(&c), VF_ERR_BAD_CALL);
  // Decimals beyond the row count as its maximum, negative ones as 0.
  EXPECT_EQ(vftest::put(f8601tm, 45296.5, 15, 40).text, "12:34:56.500000");
  EXPECT_EQ(vftest::put(f8601tm, 45296.5, 15, -3).text, "       12:34:57");
}

// Local offsets in zones of every kind, each in a child process.
TEST(IsoLocalZone, OffsetsOfFixedZones) {
  struct Case {
    const char *zone, *extended, *basic;
  } cases[] = {{"Asia/Kolkata", "12:00:00+05:30", "   120000+0530"},
               {"America/St_Johns", "12:00:00-03:30", "   120000-0330"},
               {"America/New_York", "12:00:00-05:00", "   120000-0500"},
               {"CET-1CEST", "12:00:00+01:00", "   120000+0100"}};
  for (const Case &k : cases) {
    const std::string got = isotest::in_zone(k.zone, [] {
      return vftest::put(f8601lz, 43200, 14).text + "|" +
             vftest::put(b8601lz, 43200, 14).text;
    });
    EXPECT_EQ(got, std::string(k.extended) + "|" + k.basic) << k.zone;
  }
}

} // namespace
