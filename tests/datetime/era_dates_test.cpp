// NENGO and MINGUO: every layout, the era boundaries, Minguo year 1 and
// the years before it, long era and Minguo years, and MINGUO's short
// buffers.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "core/missing.h"
#include "datetime/word_oracle.h"
#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

using vftest::put;
using wordtest::ref_date;
using wordtest::RefDate;

std::string stars(int n) {
  return std::string(static_cast<std::size_t>(n), '*');
}

std::string digits(long v, int n) {
  std::string s = std::to_string(v);
  if (static_cast<int>(s.size()) > n) return stars(n);
  return std::string(static_cast<std::size_t>(n) - s.size(), '0') + s;
}

// The eras, from their first days: 1868-04-06, 1912-07-30, 1926-12-25,
// 1989-01-08.
struct Era {
  int64_t first_day;
  char letter;
  int first_year;
};
constexpr Era kEras[] = {{-33506, 'M', 1868},
                         {-17321, 'T', 1912},
                         {-12060, 'S', 1926},
                         {10600, 'H', 1989}};

std::string nengo(int64_t day, int w) {
  const Era *era = nullptr;
  for (const Era &e : kEras)
    if (day >= e.first_day) era = &e;
  if (era == nullptr) return stars(w);
  const RefDate r = ref_date(day);
  std::string s;
  if (w > 2) s += era->letter;
  if (w == 4 || w == 8 || w == 10) s += '.';
  const int year = r.year - era->first_year + 1;
  s += year >= 1 && year <= 99 ? digits(year, 2) : "**";
  if (w < 5) return s;
  if (w == 6 || w > 8) s += '/';
  s += digits(r.month, 2);
  if (w < 7) return s;
  if (w > 8) s += '/';
  return s + digits(r.day, 2);
}

std::string minguo(int64_t day, int w) {
  const RefDate r = ref_date(day);
  const int year = r.year - 1911;
  if (year < 1) return stars(w);
  const std::string mm = digits(r.month, 2), dd = digits(r.day, 2);
  std::string s;
  switch (w) {
  case 1:
  case 2:
  case 3:
    return digits(year, w);
  case 4:
    return digits(year, 2) + mm;
  case 5:
    return year >= 100 ? digits(year, 3) + mm : digits(year, 2) + "/" + mm;
  case 6:
    return digits(year, 2) + mm + dd;
  case 7:
    return " " + digits(year, 2) + mm + dd;
  case 8:
    return digits(year, 2) + "/" + mm + "/" + dd;
  case 9:
    return " " + digits(year, 2) + "/" + mm + "/" + dd;
  default:
    return digits(year, 4) + "/" + mm + "/" + dd;
  }
}

std::string text_ok(fmtfn fn, double v, int w) {
  const vftest::Run r = put(fn, v, w);
  EXPECT_EQ(r.status, VF_OK) << v << " w=" << w;
  EXPECT_EQ(r.outlen, w) << v << " w=" << w;
  return r.text;
}

TEST(EraDates, NengoLayoutsAtEveryWidth) {
  const char *const by_width[] = {"31",       "H31",       "H.31",
                                  "H3104",    "H31/04",    "H310430",
                                  "H.310430", "H31/04/30", "H.31/04/30"};
  for (int w = 2; w <= 10; ++w)
    EXPECT_EQ(text_ok(zfmnengo, 21669, w), by_width[w - 2]); // 2019-04-30
}

TEST(EraDates, NengoEraBoundaries) {
  EXPECT_EQ(text_ok(zfmnengo, -33506, 10), "M.01/04/06");
  EXPECT_EQ(text_ok(zfmnengo, -17322, 10), "M.45/07/29");
  EXPECT_EQ(text_ok(zfmnengo, -17321, 10), "T.01/07/30");
  EXPECT_EQ(text_ok(zfmnengo, -12061, 10), "T.15/12/24");
  EXPECT_EQ(text_ok(zfmnengo, -12060, 10), "S.01/12/25");
  EXPECT_EQ(text_ok(zfmnengo, 10599, 10), "S.64/01/07");
  EXPECT_EQ(text_ok(zfmnengo, 10599.99, 10), "S.64/01/07");
  EXPECT_EQ(text_ok(zfmnengo, 10600, 10), "H.01/01/08");
  EXPECT_EQ(text_ok(zfmnengo, 0, 10), "S.35/01/01");
  // Before the first era: asterisks, but success.
  EXPECT_EQ(text_ok(zfmnengo, -33507, 10), "**********");
  EXPECT_EQ(text_ok(zfmnengo, -33506.5, 3), "***");
  EXPECT_EQ(text_ok(zfmnengo, -138061, 2), "**");
  // Era years beyond 99: no era follows Heisei in the table.
  EXPECT_EQ(text_ok(zfmnengo, 46751, 10), "H.99/12/31");
  EXPECT_EQ(text_ok(zfmnengo, 46752, 10), "H.**/01/01");
  EXPECT_EQ(text_ok(zfmnengo, 6589335, 9), "H**/12/31");
  EXPECT_EQ(text_ok(zfmnengo, 6589335, 2), "**");
}

TEST(EraDates, NengoEveryWidthOverSpreadOfDates) {
  for (const int64_t day : wordtest::spread_days())
    for (int w = 2; w <= 10; ++w)
      ASSERT_EQ(text_ok(zfmnengo, static_cast<double>(day), w), nengo(day, w))
          << day << " w=" << w;
}

TEST(EraDates, NengoRangeMissingAndNaN) {
  for (const double v :
       {-138062.0, 6589336.0, std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        std::bit_cast<double>(0xFFFE000000000000ull)}) {
    const vftest::Run r = put(zfmnengo, v, 10);
    EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << v;
    EXPECT_EQ(r.text, stars(10));
  }
  const vftest::Run m = put(zfmnengo, valfmt::missing_value(0xFD), 10, 9);
  EXPECT_EQ(m.status, VF_OK);
  EXPECT_EQ(m.text, "         A");
}

TEST(EraDates, MinguoLayoutsAtEveryWidth) {
  const char *const by_width[] = {
      "*",      "49",      "049",      "4901",      "49/01",
      "490101", " 490101", "49/01/01", " 49/01/01", "0049/01/01"};
  for (int w = 1; w <= 10; ++w)
    EXPECT_EQ(text_ok(zfmmng, 0, w), by_width[w - 1]);
}

TEST(EraDates, MinguoYearOneAndBefore) {
  EXPECT_EQ(text_ok(zfmmng, -17532, 8), "01/01/01"); // 1912-01-01
  EXPECT_EQ(text_ok(zfmmng, -17532, 10), "0001/01/01");
  EXPECT_EQ(text_ok(zfmmng, -17532, 1), "1");
  EXPECT_EQ(text_ok(zfmmng, -17532, 3), "001");
  for (const double v : {-17533.0, -17532.5, -138061.0, -33506.0}) {
    for (int w : {1, 5, 8, 10}) {
      const vftest::Run r = put(zfmmng, v, w);
      EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << v;
      EXPECT_EQ(r.text, stars(w)) << v;
    }
  }
}

TEST(EraDates, MinguoLongYears) {
  EXPECT_EQ(text_ok(zfmmng, 18627, 5), "99/12");    // 2010-12-31
  EXPECT_EQ(text_ok(zfmmng, 18628, 8), "**/01/01"); // 2011-01-01, year 100
  EXPECT_EQ(text_ok(zfmmng, 18628, 5), "10001");
  EXPECT_EQ(text_ok(zfmmng, 18628, 10), "0100/01/01");
  EXPECT_EQ(text_ok(zfmmng, 18628, 3), "100");
  EXPECT_EQ(text_ok(zfmmng, 18628, 2), "**");
  EXPECT_EQ(text_ok(zfmmng, 18628, 4), "**01");
  EXPECT_EQ(text_ok(zfmmng, 6589335, 10), "****/12/31"); // year 18089
  EXPECT_EQ(text_ok(zfmmng, 6589335, 5), "***12");
}

TEST(EraDates, MinguoEveryWidthOverSpreadOfDates) {
  for (const int64_t day : wordtest::spread_days()) {
    for (int w = 1; w <= 10; ++w) {
      const vftest::Run r = put(zfmmng, static_cast<double>(day), w);
      ASSERT_EQ(r.text, minguo(day, w)) << day << " w=" << w;
      ASSERT_EQ(r.status, day < -17532 ? VF_ERR_DATE_RANGE : VF_OK) << day;
    }
  }
}

// Missing values and dates out of range are errors for MINGUO.
TEST(EraDates, MinguoMissingAndOutOfRange) {
  const vftest::Run m = put(zfmmng, valfmt::standard_missing(), 8);
  EXPECT_EQ(m.status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(m.text, "       .");
  for (const double v :
       {-138062.0, 6589336.0, -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    const vftest::Run r = put(zfmmng, v, 8);
    EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << v;
    EXPECT_EQ(r.text, stars(8));
  }
}

// A buffer shorter than w: the layout of width w cut to the buffer, with a
// warning; nothing past the buffer.
TEST(EraDates, MinguoShortBuffers) {
  vftest::Run r = put(zfmmng, 0, 8, 0, 5);
  EXPECT_EQ(r.status, VF_WARN);
  EXPECT_EQ(r.text, "49/01");
  r = put(zfmmng, 0, 9, 0, 3);
  EXPECT_EQ(r.status, VF_WARN);
  EXPECT_EQ(r.text, " 49");
  r = put(zfmmng, 0, 10, 0, 9);
  EXPECT_EQ(r.status, VF_WARN);
  EXPECT_EQ(r.text, "0049/01/0");
  r = put(zfmmng, 0, 8, 0, 0);
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(r.outlen, 0);
  r = put(zfmmng, valfmt::standard_missing(), 8, 0, 4);
  EXPECT_EQ(r.status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(r.text, "    ");
  r = put(zfmmng, -17533, 8, 0, 3);
  EXPECT_EQ(r.status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(r.text, "***");
  r = put(zfmmng, 6589336, 10, 0, 2);
  EXPECT_EQ(r.status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(r.text, "**");
}

} // namespace
