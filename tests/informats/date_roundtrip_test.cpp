// Round trips: a date rendered by a date format and read back by its
// informat gives the date again, at the format's resolution (day, first of
// the month, first of the quarter), over dates from 1582 to 9999 (the
// formats show larger years as asterisks) and, for layouts with two-digit
// years, over the window 1950-2049.  Also the cross-check against texts
// that an independent reader (Python's strptime) parsed, committed by
// tools/gen_date_texts.py.
#include <fstream>
#include <sstream>
#include <vector>

#include "informats/date_helpers.h"
#include "informats/date_scan.h"

namespace {

using date_test::day_of;

enum class Resolution { day, month, quarter };
using enum Resolution;

struct Years {
  int64_t first, last; // dates outside are not rendered
};
// Two-digit years: the fixed window.  Four digits: what the formats show.
constexpr Years kWindow{1950, 2049}, kFull{1582, 9999};
// Era years are shown with two digits: up to 99 years into an era.
constexpr Years kNengo{1869, 2087};
// Minguo years: two digits up to 2010, up to 999 at width 10.
constexpr Years kMinguo2{1912, 2010}, kMinguo3{1912, 2910};

struct Pair {
  const char *name;
  fmtfn format;
  int32_t w;
  fmtfn informat;
  Resolution resolution;
  Years years;
};

// One row per layout: each separator style, and each year length where
// the layout has two.
const Pair kPairs[] = {
    {"DATE7", zfmdate, 7, zifmdat, day, kWindow},
    {"DATE9", zfmdate, 9, zifmdat, day, kFull},
    {"DDMMYY6", zfmddmmyy, 6, zifmdmy, day, kWindow},
    {"DDMMYY10", zfmddmmyy, 10, zifmdmy, day, kFull},
    {"DDMMYYP10", zfmddmmyyp, 10, zifmdmy, day, kFull},
    {"DDMMYYN8", zfmddmmyyn, 8, zifmdmy, day, kFull},
    {"MMDDYY6", zfmmmddyy, 6, zifmmdy, day, kWindow},
    {"MMDDYYB10", zfmmmddyyb, 10, zifmmdy, day, kFull},
    {"MMDDYYN8", zfmmmddyyn, 8, zifmmdy, day, kFull},
    {"YYMMDD8", zfmyymmdd, 8, zifmymd, day, kWindow},
    {"YYMMDDD10", zfmyymmddd, 10, zifmymd, day, kFull},
    {"YYMMDDN8", zfmyymmddn, 8, zifmymd, day, kFull},
    {"MONYY5", zfmmonyy, 5, zifmmyy, month, kWindow},
    {"MONYY7", zfmmonyy, 7, zifmmyy, month, kFull},
    {"YYQ4", zfmyyq, 4, zifmyyq, quarter, kWindow},
    {"YYQ6", zfmyyq, 6, zifmyyq, quarter, kFull},
    {"YYQZ4", zfmyyqz, 4, zifmyqz, quarter, kWindow},
    {"YYQZ6", zfmyyqz, 6, zifmyqz, quarter, kFull},
    {"YYMMN4", zfmyymmn, 4, zifmymn, month, kWindow},
    {"YYMMN6", zfmyymmn, 6, zifmymn, month, kFull},
    {"JULIAN5", zfmjulian, 5, zifmjul, day, kWindow},
    {"JULIAN7", zfmjulian, 7, zifmjul, day, kFull},
    {"XYYMMDD6", zfmxymd, 6, zifmxym, day, kWindow},
    {"XYYMMDD10", zfmxymd, 10, zifmxym, day, kFull},
    {"NENGO8", zfmnengo, 8, zifmnen, day, kNengo},
    {"NENGO10", zfmnengo, 10, zifmnen, day, kNengo},
    {"MINGUO8", zfmmng, 8, zifmmng, day, kMinguo2},
    {"MINGUO10", zfmmng, 10, zifmmng, day, kMinguo3},
};

// Unfenced calls: the sweep makes hundreds of thousands of them, and the
// guarded runner's page mapping per call would dominate; the suites of
// each informat run the guarded checks.
int32_t call(fmtfn fn, const void *value, int32_t len, int32_t w, void *out,
             int32_t outsize, int32_t &outlen) {
  fmtcall c{};
  c.w = w;
  c.value = value;
  c.valuelen = len;
  c.out = out;
  c.outsize = outsize;
  const int32_t status = fn(&c);
  outlen = c.outlen;
  return status;
}

int64_t at_resolution(Resolution r, int64_t y, int64_t m, int64_t d) {
  if (r == Resolution::month) return day_of(y, m, 1);
  if (r == Resolution::quarter) return day_of(y, (m - 1) / 3 * 3 + 1, 1);
  return day_of(y, m, d);
}

constexpr int64_t month_days(int64_t y, int64_t m) {
  return day_of(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1) - day_of(y, m, 1);
}

TEST(DateRoundTrip, EveryFormatReadsBackThroughItsInformat) {
  for (const Pair &p : kPairs) {
    int checked = 0;
    const int64_t step = p.years.last - p.years.first > 400 ? 23 : 1;
    for (int64_t y = p.years.first; y <= p.years.last; y += step) {
      for (int64_t m = 1; m <= 12; ++m) {
        for (int64_t d :
             {int64_t{1}, (y * 7 + m * 3) % 27 + 2, month_days(y, m)}) {
          const auto date = static_cast<double>(day_of(y, m, d));
          char out[40];
          int32_t len = 0;
          ASSERT_EQ(call(p.format, &date, 8, p.w, out, 40, len), VF_OK)
              << p.name << " " << y << "-" << m << "-" << d;
          const std::string text(out, static_cast<std::size_t>(len));
          ASSERT_EQ(text.find('*'), std::string::npos) << p.name << " " << text;
          double back = 0;
          const auto tw = static_cast<int32_t>(text.size());
          ASSERT_EQ(call(p.informat, text.data(), tw, tw, &back, 8, len), VF_OK)
              << p.name << " \"" << text << "\"";
          ASSERT_EQ(back,
                    static_cast<double>(at_resolution(p.resolution, y, m, d)))
              << p.name << " \"" << text << "\"";
          ++checked;
        }
      }
    }
    EXPECT_GE(checked, 1500) << p.name;
  }
}

TEST(DateRoundTrip, FiveDigitYearsReadFromTheirTexts) {
  EXPECT_TRUE(date_test::reads_date(zifmdat, "15AUG12345", 12345, 8, 15));
  EXPECT_TRUE(date_test::reads_date(zifmmdy, "2/29/16400", 16400, 2, 29));
  EXPECT_TRUE(date_test::reads_date(zifmdmy, "28/02/8000", 8000, 2, 28));
  EXPECT_TRUE(date_test::fails(zifmdmy, "29/02/8000", VF_ERR_DATE_TEXT));
  EXPECT_TRUE(date_test::reads_date(zifmymd, "19999-03-01", 19999, 3, 1));
  EXPECT_TRUE(date_test::reads_date(zifmxym, "20000/6/30", 20000, 6, 30));
  // 12000 is a multiple of 4000, so a common year: day 60 is 1 March.
  EXPECT_TRUE(date_test::reads_date(zifmjul, "12000060", 12000, 3, 1));
}

struct Named {
  const char *name;
  fmtfn fn;
};
constexpr Named kByName[] = {
    {"DATE", zifmdat},    {"MMDDYY", zifmmdy},  {"DDMMYY", zifmdmy},
    {"YYMMDD", zifmymd},  {"JULIAN", zifmjul},  {"MONYY", zifmmyy},
    {"XYYMMDD", zifmxym}, {"TIME", zifmtim},    {"DATETIME", zifmdtm},
    {"MDYAMPM", zifmdya}, {"YMDDTTM", ymddttm},
};

TEST(DateCrossCheck, AgreesWithAnIndependentReader) {
  std::ifstream in(VALFMT_SOURCE_DIR "/tests/informats/data/date_texts.tsv");
  ASSERT_TRUE(in.good());
  std::string line;
  int rows = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, width, text, value;
    std::getline(fields, name, '\t');
    std::getline(fields, width, '\t');
    std::getline(fields, text, '\t');
    std::getline(fields, value, '\t');
    fmtfn fn = nullptr;
    for (const Named &n : kByName)
      if (name == n.name) fn = n.fn;
    ASSERT_NE(fn, nullptr) << line;
    ASSERT_EQ(std::stoul(width), text.size()) << line;
    EXPECT_TRUE(date_test::reads(fn, text, std::stod(value))) << name;
    ++rows;
  }
  EXPECT_GE(rows, 300);
}

} // namespace

// The readers build dates from whole numbers without the calendar's
// Julian detour; both must agree everywhere, invalid parts included.
TEST(DateParts, AgreeWithTheCalendar) {
  std::vector<int64_t> years = {-1,   0,    49,    50,    99,    100,
                                1581, 1582, 1600,  1900,  2000,  4000,
                                8000, 9999, 12000, 20000, 20001, 1000000};
  for (int64_t y = 1583; y < 20000; y += 97) years.push_back(y);
  int compared = 0;
  for (int64_t y : years)
    for (int64_t m = -1; m <= 14; ++m)
      for (int64_t d = -1; d <= 33; ++d) {
        const double want = zmdy(static_cast<double>(m), static_cast<double>(d),
                                 static_cast<double>(y));
        double got = 0;
        const bool ok = valfmt::date_of_parts(m, d, y, got);
        ASSERT_EQ(ok, !valfmt::is_missing(want)) << y << "-" << m << "-" << d;
        if (ok) {
          ASSERT_EQ(got, want) << y << "-" << m << "-" << d;
        }
        ++compared;
      }
  EXPECT_GT(compared, 100000);
}
