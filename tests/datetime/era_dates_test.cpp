// NENGO and MINGUO against references built from the C library's
// calendar, the era boundaries, overlong years and short buffers.
#include <gtest/gtest.h>

#include <string>

#include "datetime/format_checks.h"
#include "datetime/word_oracle.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using dtcheck::stars;
using dtcheck::text;
using vftest::put;
using wordtest::ref_date;
using wordtest::RefDate;

// v zero-filled to n digits, or n asterisks when it needs more.
std::string digits(long v, int n) {
  std::string s = std::to_string(v);
  if (static_cast<int>(s.size()) > n) return stars(n);
  return std::string(static_cast<std::size_t>(n) - s.size(), '0') + s;
}

// The eras' first days (1868-04-06, 1912-07-30, 1926-12-25, 1989-01-08)
// worked out by hand.
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
  if (w >= 5) s += (w == 6 || w > 8 ? "/" : "") + digits(r.month, 2);
  if (w >= 7) s += (w > 8 ? "/" : "") + digits(r.day, 2);
  return s;
}

// MINGUO of width w in a field of outlen characters: the year's width and
// the separators follow w, the leading blank follows outlen.
std::string minguo(int64_t day, int w, int outlen) {
  const RefDate r = ref_date(day);
  const int year = r.year - 1911;
  if (year < 1) return stars(outlen);
  const bool three = w == 5 && year >= 100;
  const std::string sep = (w == 5 || w > 7) && !three ? "/" : "";
  const int yw = w < 4 ? w : w == 10 ? 4 : three ? 3 : 2;
  std::string s = outlen == 7 || outlen == 9 ? " " : "";
  s += digits(year, yw) + sep + digits(r.month, 2) + sep + digits(r.day, 2);
  return s.substr(0, static_cast<std::size_t>(outlen));
}

TEST(EraDates, NengoLayoutsAtEveryWidth) {
  for (const int64_t day : wordtest::spread_days())
    for (int w = 2; w <= 10; ++w)
      ASSERT_EQ(text(zfmnengo, static_cast<double>(day), w), nengo(day, w))
          << day << " w=" << w;
}

TEST(EraDates, NengoEraBoundaries) {
  for (const Era &e : kEras) {
    const auto first = static_cast<double>(e.first_day);
    EXPECT_EQ(text(zfmnengo, first, 10), nengo(e.first_day, 10));
    EXPECT_EQ(text(zfmnengo, first - 1, 10), nengo(e.first_day - 1, 10));
    EXPECT_EQ(text(zfmnengo, first - 0.01, 3), nengo(e.first_day - 1, 3));
  }
  // Before the first era: asterisks, but success; the first valid day too.
  EXPECT_EQ(text(zfmnengo, -33507, 10), "**********");
  EXPECT_EQ(text(zfmnengo, -138061, 2), "**");
  // No era follows Heisei in the table: era years beyond 99 show "**".
  EXPECT_EQ(text(zfmnengo, 46751, 10), "H.99/12/31");
  EXPECT_EQ(text(zfmnengo, 46752, 10), "H.**/01/01");
  EXPECT_EQ(text(zfmnengo, 6589335, 9), "H**/12/31");
}

TEST(EraDates, MinguoLayoutsAtEveryWidth) {
  for (const int64_t day : wordtest::spread_days())
    for (int w = 1; w <= 10; ++w) {
      const vftest::Run r = put(zfmmng, static_cast<double>(day), w);
      ASSERT_EQ(r.text, minguo(day, w, w)) << day << " w=" << w;
      ASSERT_EQ(r.status, day < -17532 ? VF_ERR_DATE_RANGE : VF_OK) << day;
    }
}

TEST(EraDates, MinguoYearOneAndLongYears) {
  EXPECT_EQ(text(zfmmng, -17532, 10), "0001/01/01"); // 1912-01-01
  EXPECT_EQ(text(zfmmng, -17532, 1), "1");
  for (const double v : {-17533.0, -17532.5, -138061.0}) {
    const vftest::Run r = put(zfmmng, v, 8);
    EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << v;
    EXPECT_EQ(r.text, stars(8)) << v;
  }
  EXPECT_EQ(text(zfmmng, 18627, 5), "99/12");    // 2010-12-31
  EXPECT_EQ(text(zfmmng, 18628, 8), "**/01/01"); // 2011-01-01, year 100
  EXPECT_EQ(text(zfmmng, 18628, 5), "10001");
  EXPECT_EQ(text(zfmmng, 6589335, 10), "****/12/31"); // year 18089
}

// A buffer shorter than w: outlen is outsize, the leading blank comes with
// an outlen of 7 or 9, the text is cut to outlen, and the status warns.
TEST(EraDates, MinguoShortBuffers) {
  for (const int64_t day : {int64_t{0}, int64_t{18628}, int64_t{-17533}})
    for (int w = 2; w <= 10; ++w)
      for (int size = 1; size < w; ++size) {
        const vftest::Run r = put(zfmmng, static_cast<double>(day), w, 0, size);
        EXPECT_EQ(r.status, day < -17532 ? VF_ERR_DATE_RANGE : VF_WARN);
        EXPECT_EQ(r.text, minguo(day, w, size))
            << day << " w=" << w << " in " << size;
      }
  EXPECT_EQ(put(zfmmng, 0, 9, 0, 8).text, "49/01/01");
  EXPECT_EQ(put(zfmmng, 0, 8, 0, 7).text, " 49/01/");
}

} // namespace
