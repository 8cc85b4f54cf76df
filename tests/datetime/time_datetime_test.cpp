// DATETIME, DATEAMPM and MDYAMPM at every width with decimals, near
// midnight, with five-digit years, and at 12-hour rounding boundaries.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "datetime/time_reference.h"
#include "registry/functions.h"
#include "datetime/format_checks.h"
#include "support/call_runner.h"

namespace {

using timeref::right;
using vftest::put;

using dtcheck::text;

constexpr double kDay = 86400;
const double kLastDay = 6589335; // 20000-12-31

// With decimals, the text shows min(d, w - 17) of them and always fits:
// the date has four-digit years when w - decimals >= 19, and the time is
// the widest of hh, hh:mm and hh:mm:ss[.f] that the columns hold.  The
// date part reads as DATE of the day, the time part as TOD of the value.
TEST(DatetimeLayouts, DecimalsAtEveryWidth) {
  const double values[] = {45296.0 + 0x1.23456789abcdep-1, -1.5, 3723.25,
                           1e9 + 0.75, kLastDay * kDay + 86399.75};
  for (double v : values)
    for (int w = 7; w <= 40; ++w)
      for (int d = 0; d <= 39; ++d) {
        const std::string t = text(zfmdttm, v, w, d);
        const std::string body = t.substr(t.find_first_not_of(' '));
        const int shown = std::max(0, std::min(d, w - 17));
        const bool four = w - shown >= 19 || w == 9;
        const std::string date =
            put(zfmdate, std::floor(v / kDay), four ? 9 : 7).text;
        ASSERT_EQ(body.substr(0, date.size()), date) << w << "." << d;
        if (w < 10) {
          EXPECT_EQ(body, date);
          continue;
        }
        const int room = w - static_cast<int>(date.size()) - 1;
        const int full = 8 + shown + (shown > 0 ? 1 : 0);
        const int tw = room >= full ? full : room >= 5 ? 5 : 2;
        ASSERT_EQ(body, date + ":" + body.substr(date.size() + 1))
            << w << "." << d;
        const std::string time = body.substr(date.size() + 1);
        ASSERT_EQ(time.size(), static_cast<std::size_t>(tw)) << w << "." << d;
        if (tw <= 20) {
          EXPECT_EQ(time, text(zfmtod, v, tw, shown)) << w << "." << d;
        } else {
          // Beyond TOD's widths: the seconds as F(shown + 3).shown.
          std::string secs =
              put(zfmt, std::fmod(v - std::floor(v / kDay) * kDay, 60), tw - 6,
                  shown)
                  .text;
          for (char &ch : secs)
            if (ch == ' ') ch = '0';
          const std::string tod = text(zfmtod, v, 20, 10);
          const std::string hh_mm = tod.substr(tod.find_first_not_of(' '), 6);
          EXPECT_EQ(time, hh_mm + secs) << w << "." << d;
        }
      }
  EXPECT_EQ(text(zfmdttm, 45296.125, 18, 2), "01JAN60:12:34:56.1");
  EXPECT_EQ(text(zfmdttm, 45296.125, 40, 39),
            "01JAN60:12:34:56.12500000000000000000000");
}

TEST(DatetimeDays, FloorOfTheValueByOneDay) {
  // A time just below midnight stays on its day, at 24:00:00 once rounded.
  EXPECT_EQ(text(zfmdttm, -1e-20, 16), "31DEC59:24:00:00");
  EXPECT_EQ(text(zfmdttm, -0.25, 20, 2), " 31DEC59:23:59:59.75");
  EXPECT_EQ(text(zfmdttm, kDay - 0.4, 16), "01JAN60:24:00:00");
  EXPECT_EQ(text(zfmdttm, kDay - 0.4, 18, 1), "01JAN60:23:59:59.6");
  EXPECT_EQ(text(zfmdttm, kDay, 16), "02JAN60:00:00:00");
  // The date part agrees with DATE of the day, over the whole range.
  for (double day = -138061; day < 6589336; day += 7919.5) {
    const double v = std::floor(day) * kDay + 3600 * (day - std::floor(day));
    const std::string t = text(zfmdttm, v, 19);
    EXPECT_EQ(t.substr(1, 9), put(zfmdate, std::floor(day), 9).text) << day;
    EXPECT_EQ(text(zfmdttm, v, 16).substr(0, 7),
              put(zfmdate, std::floor(day), 7).text);
  }
}

TEST(DatetimeDays, FiveDigitYears) {
  const double v = kLastDay * kDay + 3600;
  EXPECT_EQ(text(zfmdttm, v, 19), " 31DEC****:01:00:00");
  EXPECT_EQ(text(zfmdttm, v, 16), "31DEC00:01:00:00");
  EXPECT_EQ(text(zfmdtmm, v, 19), "31DEC00:01:00:00 AM");
  EXPECT_EQ(text(zfmdtmm, v, 24, 1), " 31DEC****:01:00:00.0 AM");
  EXPECT_EQ(text(zfmdyam, v, 19), "12/31/****  1:00 AM");
  EXPECT_EQ(text(zfmdyam, v, 18), " 12/31/00  1:00 AM");
}

// DATEAMPM is DATETIME three columns narrower on the 12-hour clock, plus
// the marker; below 13 columns it is DATETIME of the same value.
TEST(DatetimeAmPm, EveryWidthAgainstDatetime) {
  const double pm = 13 * 3600 + 30 * 60 + 15.25; // 13:30:15.25
  const double am = 9 * 3600 + 5.5;              // 09:00:05.5
  for (int w = 7; w <= 40; ++w)
    for (int d = 2; d <= 8; d += 3) {
      if (w < 13) {
        EXPECT_EQ(text(zfmdtmm, pm, w, d), text(zfmdttm, pm, w, d));
        continue;
      }
      EXPECT_EQ(text(zfmdtmm, pm, w, d),
                text(zfmdttm, pm - 43200, w - 3, d) + " PM")
          << w << "." << d;
      EXPECT_EQ(text(zfmdtmm, am, w, d), text(zfmdttm, am, w - 3, d) + " AM")
          << w << "." << d;
    }
}

TEST(DatetimeAmPm, MdyEveryWidth) {
  const double v = 304 * kDay + 13.5 * 3600 + 15; // 1960-10-31 13:30:15
  for (int w = 8; w <= 40; ++w) {
    std::string expect = w < 17   ? right("10/31/60", w)
                         : w < 19 ? right("10/31/60", w - 9) + "  1:30 PM"
                                  : right("10/31/1960", w - 9) + "  1:30 PM";
    EXPECT_EQ(text(zfmdyam, v, w, w % 4), expect) << w;
  }
  EXPECT_EQ(text(zfmdyam, 303 * kDay + 43200, 19), "10/30/1960 12:00 PM");
  EXPECT_EQ(text(zfmdyam, 48600, 19), "  1/1/1960  1:30 PM");
  EXPECT_EQ(text(zfmdyam, 16437 * kDay, 8), "  1/1/05");
  EXPECT_EQ(text(zfmdyam, 86399.4, 19), "  1/1/1960 11:59 PM");
  // A smaller buffer holds the first outsize characters of the field.
  const vftest::Run cut = put(zfmdyam, 48600, 19, 0, 12);
  EXPECT_EQ(cut.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(cut.text, "  1/1/1960  ");
}

// Hour, marker and date all follow the one rounded time.
TEST(DatetimeAmPm, BoundariesWithDecimalsZeroToSix) {
  struct Boundary {
    double v;
    const char *whole; // TIMEAMPM11 (no decimals fit)
    const char *date;  // DATEAMPM19 (no decimals fit)
    const char *mdy;   // MDYAMPM19 (whole minutes)
    const char *exact; // the time with its decimals
  } rows[] = {
      {0, "12:00:00 AM", "01JAN60:12:00:00 AM", "  1/1/1960 12:00 AM",
       "12:00:00.0 AM"},
      {43199.5, "12:00:00 PM", "01JAN60:12:00:00 PM", "  1/1/1960 12:00 PM",
       "11:59:59.5 AM"},
      {43200, "12:00:00 PM", "01JAN60:12:00:00 PM", "  1/1/1960 12:00 PM",
       "12:00:00.0 PM"},
      {46799.6, " 1:00:00 PM", "01JAN60:01:00:00 PM", "  1/1/1960  1:00 PM",
       "12:59:59.6 PM"},
      {86399.5, "12:00:00 AM", "02JAN60:12:00:00 AM", "  1/2/1960 12:00 AM",
       "11:59:59.5 PM"},
  };
  for (const Boundary &b : rows)
    for (int d = 0; d <= 6; ++d) {
      EXPECT_EQ(text(zfmtimm, b.v, 11, d), b.whole) << b.v << " d=" << d;
      EXPECT_EQ(text(zfmdtmm, b.v, 19, d), b.date) << b.v << " d=" << d;
      EXPECT_EQ(text(zfmdyam, b.v, 19, d), b.mdy) << b.v << " d=" << d;
      // Wide enough for every decimal: nothing rounds, except at d = 0.
      std::string exact(b.exact);
      exact.insert(10, static_cast<std::size_t>(d > 0 ? d - 1 : 0), '0');
      std::string date9(b.date);
      date9.replace(5, 2, "1960");
      const std::string whole(b.whole + (b.whole[0] == ' ' ? 1 : 0));
      EXPECT_EQ(text(zfmtimm, b.v, 20, d), right(d == 0 ? whole : exact, 20))
          << b.v << " d=" << d;
      EXPECT_EQ(text(zfmdtmm, b.v, 22 + d, d),
                d == 0 ? " " + date9 : "01JAN1960:" + exact)
          << b.v << " d=" << d;
    }
}

// The 12-hour forms split a negative value into its day and time exactly,
// as DATETIME does: no digit of the time comes from a sum rounded to a
// double.  The double nearest -31648.45 lies just below it, so its time
// of day is 15:12:31.5499999999992724...; the double nearest -0.4 gives
// 23:59:59.5999999999999999778, shown to 13 decimals as .6000000000000.
TEST(DatetimeAmPm, NegativeValuesKeepTheirDigits) {
  EXPECT_EQ(text(zfmdttm, -31648.45, 18, 3), "31DEC59:15:12:31.5");
  EXPECT_EQ(text(zfmdtmm, -31648.45, 21, 3), "31DEC59:03:12:31.5 PM");
  EXPECT_EQ(text(zfmdttm, -0.4, 30, 29), "31DEC59:23:59:59.6000000000000");
  EXPECT_EQ(text(zfmdtmm, -0.4, 33, 29), "31DEC59:11:59:59.6000000000000 PM");
}

TEST(DatetimeAmPm, WholeSecondPreRounding) {
  // Half a second (d = 0) or 0.95 s (d = 1) below a second moves up to
  // that second, and no further.
  EXPECT_EQ(text(zfmtimm, 3.9999999999995, 11), "12:00:04 AM");
  EXPECT_EQ(text(zfmtimm, 3.49, 11), "12:00:03 AM");
  EXPECT_EQ(text(zfmtimm, 3.96, 13, 1), "12:00:04.0 AM");
  EXPECT_EQ(text(zfmtimm, 3.94, 13, 1), "12:00:03.9 AM");
  EXPECT_EQ(text(zfmdtmm, 86399.5, 12), "  02JAN60:00");
  EXPECT_EQ(text(zfmdtmm, -0.5, 19), "01JAN60:12:00:00 AM");
  // The marker alone below five columns, from the time rounded to d.
  EXPECT_EQ(text(zfmtimm, 86399.998, 4, 2), "  AM");
  EXPECT_EQ(text(zfmtimm, -43200.25, 3, 2), " AM");
}

} // namespace
