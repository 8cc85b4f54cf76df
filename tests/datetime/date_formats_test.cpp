// The numeric date formats: layouts at every width, range and missing
// handling, the datetime adapters and hostile call blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "registry/functions.h"
#include "core/missing.h"
#include "valfmt.h"

namespace {

constexpr char kGuard = '#';

struct Result {
  std::string text;
  int32_t status;
  int32_t outlen;
};

// Runs f at width w into a buffer of outsize bytes (w by default) and
// checks that nothing beyond outsize was touched.
Result run(fmtfn f, int32_t w, double v, int32_t outsize = -1) {
  char buf[80];
  std::memset(buf, kGuard, sizeof buf);
  if (outsize < 0) outsize = w < 0 ? 0 : w;
  fmtcall c{};
  c.w = w;
  c.d = 0;
  c.value = &v;
  c.out = buf;
  c.outsize = outsize;
  Result r;
  r.status = f(&c);
  r.outlen = c.outlen;
  for (int i = outsize; i < static_cast<int>(sizeof buf); ++i) {
    EXPECT_EQ(buf[i], kGuard) << "write beyond outsize at " << i;
  }
  r.text.assign(buf, c.outlen > 0 && c.outlen <= outsize ? c.outlen : 0);
  return r;
}

std::string text(fmtfn f, int32_t w, double v) {
  const Result r = run(f, w, v);
  EXPECT_EQ(r.status, VF_OK) << r.text;
  EXPECT_EQ(r.outlen, w) << r.text;
  return r.text;
}

std::string stars(int n) {
  return std::string(static_cast<size_t>(n), '*');
}

const double kJul4 = zmdy(7, 4, 2005); // 2005-07-04
const double kLastDay = 6589335;       // 20000-12-31
const double kMissingA = valfmt::missing_value(0xFD);

struct WidthRow {
  fmtfn fn;
  const char *name;
  std::vector<std::string> by_width; // from w = 2
};

TEST(DateFormatsThreePart, EveryWidthOfEveryOrder) {
  const WidthRow rows[] = {
      {zfmddmmyy,
       "DDMMYY",
       {"04", " 04", "0407", "04/07", "040705", " 040705", "04/07/05",
        " 04/07/05", "04/07/2005"}},
      {zfmmmddyy,
       "MMDDYY",
       {"07", " 07", "0704", "07/04", "070405", " 070405", "07/04/05",
        " 07/04/05", "07/04/2005"}},
      {zfmyymmdd,
       "YYMMDD",
       {"05", " 05", "0507", "05-07", "050704", " 050704", "05-07-04",
        " 05-07-04", "2005-07-04"}},
      {zfmddmmyyn,
       "DDMMYYN",
       {"04", " 04", "0407", " 0407", "040705", " 040705", "04072005"}},
      {zfmmmddyyn,
       "MMDDYYN",
       {"07", " 07", "0704", " 0704", "070405", " 070405", "07042005"}},
      {zfmyymmddn,
       "YYMMDDN",
       {"05", " 05", "0507", " 0507", "050704", " 050704", "20050704"}},
  };
  for (const WidthRow &row : rows) {
    for (size_t i = 0; i < row.by_width.size(); ++i) {
      const int w = static_cast<int>(i) + 2;
      EXPECT_EQ(text(row.fn, w, kJul4), row.by_width[i])
          << row.name << " w=" << w;
    }
  }
}

TEST(DateFormatsThreePart, SeparatorVariants) {
  const struct {
    fmtfn fn;
    const char *w8;
    const char *w10;
  } rows[] = {
      {zfmddmmyyb, "04 07 05", "04 07 2005"},
      {zfmddmmyyc, "04:07:05", "04:07:2005"},
      {zfmddmmyyd, "04-07-05", "04-07-2005"},
      {zfmddmmyyp, "04.07.05", "04.07.2005"},
      {zfmddmmyys, "04/07/05", "04/07/2005"},
      {zfmmmddyyb, "07 04 05", "07 04 2005"},
      {zfmmmddyyc, "07:04:05", "07:04:2005"},
      {zfmmmddyyd, "07-04-05", "07-04-2005"},
      {zfmmmddyyp, "07.04.05", "07.04.2005"},
      {zfmmmddyys, "07/04/05", "07/04/2005"},
      {zfmyymmddb, "05 07 04", "2005 07 04"},
      {zfmyymmddc, "05:07:04", "2005:07:04"},
      {zfmyymmddd, "05-07-04", "2005-07-04"},
      {zfmyymmddp, "05.07.04", "2005.07.04"},
      {zfmyymmdds, "05/07/04", "2005/07/04"},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(text(row.fn, 8, kJul4), row.w8);
    EXPECT_EQ(text(row.fn, 10, kJul4), row.w10);
    EXPECT_EQ(text(row.fn, 5, kJul4).substr(2, 1), std::string(row.w8, 2, 1));
  }
}

TEST(DateFormatsThreePart, ReferenceExamples) {
  EXPECT_EQ(text(zfmmmddyy, 8, 0), "01/01/60");
  EXPECT_EQ(text(zfmmmddyy, 10, 0), "01/01/1960");
  EXPECT_EQ(text(zfmmmddyy, 6, 0), "010160");
  EXPECT_EQ(text(zfmyymmdd, 8, 0), "60-01-01");
  EXPECT_EQ(text(zfmyymmddn, 8, 0), "19600101");
  EXPECT_EQ(text(zfmyymmddn, 6, 0), "600101");
  EXPECT_EQ(text(zfmddmmyy, 9, 0), " 01/01/60");
}

TEST(DateFormatsThreePart, TwoDigitYearsAndFiveDigitYears) {
  EXPECT_EQ(text(zfmyymmdd, 8, zmdy(1, 1, 2049)), "49-01-01");
  EXPECT_EQ(text(zfmyymmdd, 8, zmdy(1, 1, 1950)), "50-01-01");
  EXPECT_EQ(text(zfmyymmdd, 8, zmdy(3, 9, 2000)), "00-03-09");
  EXPECT_EQ(text(zfmyymmdd, 10, -138061), "1582-01-01");
  EXPECT_EQ(text(zfmddmmyy, 10, kLastDay), "31/12/****");
  EXPECT_EQ(text(zfmyymmdd, 10, kLastDay), "****-12-31");
  EXPECT_EQ(text(zfmyymmddn, 8, kLastDay), "****1231");
  EXPECT_EQ(text(zfmddmmyy, 8, kLastDay), "31/12/00");
  EXPECT_EQ(text(zfmmmddyy, 10, zmdy(2, 29, 2000)), "02/29/2000");
}

TEST(DateFormatsThreePart, WideLayout) {
  EXPECT_EQ(text(zfmxymd, 12, 0), "  1960-01-01");
  EXPECT_EQ(text(zfmxymd, 11, 0), " 1960-01-01");
  EXPECT_EQ(text(zfmxymd, 10, 0), "1960-01-01");
  EXPECT_EQ(text(zfmxymd, 8, 0), "60-01-01");
  EXPECT_EQ(text(zfmxymd, 6, 0), "600101");
  Result r = run(zfmxymd, 12, 6589336);
  EXPECT_EQ(r.status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(r.text, stars(12));
  r = run(zfmxymd, 12, kMissingA);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.text, "           A");
}

TEST(DateFormatsMonthYear, MonthYearFamily) {
  const double jan15 = 14;
  EXPECT_EQ(text(zfmmmyy, 7, jan15), "01M1960");
  EXPECT_EQ(text(zfmmmyy, 5, jan15), "01M60");
  EXPECT_EQ(text(zfmmmyy, 6, jan15), " 01M60");
  EXPECT_EQ(text(zfmmmyy, 8, jan15), " 01M1960");
  EXPECT_EQ(text(zfmmmyy, 32, jan15), std::string(25, ' ') + "01M1960");
  EXPECT_EQ(text(zfmmmyyn, 4, jan15), "0160");
  EXPECT_EQ(text(zfmmmyyn, 5, jan15), " 0160");
  EXPECT_EQ(text(zfmmmyyn, 6, jan15), "011960");
  EXPECT_EQ(text(zfmmmyyc, 7, kJul4), "07:2005");
  EXPECT_EQ(text(zfmmmyyd, 7, kJul4), "07-2005");
  EXPECT_EQ(text(zfmmmyyp, 5, kJul4), "07.05");
  EXPECT_EQ(text(zfmmmyys, 7, kJul4), "07/2005");
  // The four-digit year has a fixed four-character place.
  EXPECT_EQ(text(zfmmmyy, 7, kLastDay), "12M****");
  EXPECT_EQ(text(zfmmmyy, 9, kLastDay), "  12M****");
}

TEST(DateFormatsMonthYear, YearMonthFamily) {
  EXPECT_EQ(text(zfmyymm, 7, 14), "1960M01");
  EXPECT_EQ(text(zfmyymmn, 4, 14), "6001");
  EXPECT_EQ(text(zfmyymmn, 5, 14), " 6001");
  EXPECT_EQ(text(zfmyymmn, 6, 14), "196001");
  EXPECT_EQ(text(zfmyymm, 5, kJul4), "05M07");
  EXPECT_EQ(text(zfmyymm, 6, kJul4), " 05M07");
  EXPECT_EQ(text(zfmyymmc, 7, kJul4), "2005:07");
  EXPECT_EQ(text(zfmyymmd, 7, kJul4), "2005-07");
  EXPECT_EQ(text(zfmyymmp, 7, kJul4), "2005.07");
  EXPECT_EQ(text(zfmyymms, 10, kJul4), "   2005/07");
  // The year is right-aligned in all remaining columns.
  EXPECT_EQ(text(zfmyymm, 7, kLastDay), "****M12");
  EXPECT_EQ(text(zfmyymm, 8, kLastDay), "20000M12");
}

TEST(DateFormatsQuarter, DigitQuarters) {
  const double may1 = zmdy(5, 1, 2005);
  EXPECT_EQ(text(zfmyyq, 6, may1), "2005Q2");
  EXPECT_EQ(text(zfmyyq, 4, may1), "05Q2");
  EXPECT_EQ(text(zfmyyq, 5, may1), " 05Q2");
  EXPECT_EQ(text(zfmyyq, 7, may1), " 2005Q2");
  EXPECT_EQ(text(zfmyyq, 6, 0), "1960Q1");
  EXPECT_EQ(text(zfmyyqc, 6, may1), "2005:2");
  EXPECT_EQ(text(zfmyyqd, 6, may1), "2005-2");
  EXPECT_EQ(text(zfmyyqp, 5, may1), " 05.2");
  EXPECT_EQ(text(zfmyyqs, 4, may1), "05/2");
  EXPECT_EQ(text(zfmyyqn, 3, may1), "052");
  EXPECT_EQ(text(zfmyyqn, 4, may1), " 052");
  EXPECT_EQ(text(zfmyyqn, 5, may1), "20052");
  const double dec31 = zmdy(12, 31, 1960);
  EXPECT_EQ(text(zfmyyqz, 6, dec31), "196004");
  EXPECT_EQ(text(zfmyyqz, 5, dec31), " 6004");
  EXPECT_EQ(text(zfmyyqz, 4, 0), "6001");
  EXPECT_EQ(run(zfmyyqz, 7, 0, 16).status, VF_ERR_WIDTH);
  EXPECT_EQ(text(zfmyyq, 6, kLastDay), "****Q4");
  EXPECT_EQ(text(zfmyyq, 7, kLastDay), "20000Q4");
}

TEST(DateFormatsQuarter, RomanQuarters) {
  const double q1 = 0, q3 = zmdy(7, 1, 1960), q4 = zmdy(10, 1, 1960);
  EXPECT_EQ(text(zfmyyqr, 8, q3), "1960QIII");
  EXPECT_EQ(text(zfmyyqr, 8, q1), "  1960QI");
  EXPECT_EQ(text(zfmyyqr, 7, q3), " 60QIII");
  EXPECT_EQ(text(zfmyyqr, 6, q3), "60QIII");
  EXPECT_EQ(text(zfmyyqr, 6, q4), " 60QIV");
  EXPECT_EQ(text(zfmyyqr, 7, q4), "1960QIV");
  EXPECT_EQ(text(zfmyyqr, 6, q1), "1960QI");
  EXPECT_EQ(text(zfmyyqrn, 5, q3), "60III");
  EXPECT_EQ(text(zfmyyqrn, 7, q1), "  1960I");
  EXPECT_EQ(text(zfmyyqrc, 8, q4), " 1960:IV");
  EXPECT_EQ(text(zfmyyqrd, 7, q3), " 60-III");
  EXPECT_EQ(text(zfmyyqrp, 8, q3), "1960.III");
  EXPECT_EQ(text(zfmyyqrs, 6, zmdy(4, 1, 1960)), " 60/II");
  EXPECT_EQ(text(zfmyyqrs, 7, zmdy(4, 1, 1960)), "1960/II");
}

TEST(DateFormatsNamed, DateAtEveryWidth) {
  const char *want[] = {"01JAN",     " 01JAN",     "01JAN60",    " 01JAN60",
                        "01JAN1960", " 01JAN1960", "01-JAN-1960"};
  for (int w = 5; w <= 11; ++w) EXPECT_EQ(text(zfmdate, w, 0), want[w - 5]);
  EXPECT_EQ(text(zfmdate, 9, kLastDay), "31DEC****");
  EXPECT_EQ(text(zfmdate, 11, kLastDay), "31-DEC-****");
  EXPECT_EQ(text(zfmdate, 7, kLastDay), "31DEC00");
  EXPECT_EQ(text(zfmdate, 9, -138061), "01JAN1582");
  EXPECT_EQ(text(zfmdate, 9, -0.001), "31DEC1959");
  EXPECT_EQ(text(zfmdate, 9, 0.999), "01JAN1960");
}

TEST(DateFormatsNamed, MonthYearAndYearMonth) {
  EXPECT_EQ(text(zfmmonyy, 5, 0), "JAN60");
  EXPECT_EQ(text(zfmmonyy, 6, 0), " JAN60");
  EXPECT_EQ(text(zfmmonyy, 7, 0), "JAN1960");
  EXPECT_EQ(text(zfmmonyy, 7, kLastDay), "DEC****");
  EXPECT_EQ(text(zfmyymon, 7, 0), "1960JAN");
  EXPECT_EQ(text(zfmyymon, 5, 0), "60JAN");
  EXPECT_EQ(text(zfmyymon, 6, kJul4), " 05JUL");
  EXPECT_EQ(text(zfmyymon, 8, 0), " 1960JAN");
  EXPECT_EQ(text(zfmyymon, 7, kLastDay), "****DEC");
  EXPECT_EQ(text(zfmyymon, 8, kLastDay), "20000DEC");
  EXPECT_EQ(text(zfmyymon, 7, -138061), "1582JAN");
  // Its own range check and status: above the last day is out.
  for (double bad : {6589335.5, 6589336.0, -138061.5, std::nan("")}) {
    const Result r = run(zfmyymon, 7, bad);
    EXPECT_EQ(r.status, VF_ERR_DATE_TEXT) << bad;
    EXPECT_EQ(r.text, stars(7));
  }
  const Result r = run(zfmyymon, 7, kMissingA);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.text, "      A");
}

TEST(DateFormatsNamed, SingleComponents) {
  const double nov1 = zmdy(11, 1, 1960);
  EXPECT_EQ(text(zfmday, 2, 0), " 1");
  EXPECT_EQ(text(zfmday, 2, zmdy(1, 31, 1960)), "31");
  EXPECT_EQ(text(zfmday, 5, 0), "    1");
  EXPECT_EQ(text(zfmmonth, 1, nov1), "B");
  EXPECT_EQ(text(zfmmonth, 1, zmdy(10, 1, 1960)), "A");
  EXPECT_EQ(text(zfmmonth, 1, zmdy(12, 1, 1960)), "C");
  EXPECT_EQ(text(zfmmonth, 1, zmdy(9, 1, 1960)), "9");
  EXPECT_EQ(text(zfmmonth, 2, nov1), "11");
  EXPECT_EQ(text(zfmmonth, 3, 0), "  1");
  EXPECT_EQ(text(zfmyear, 4, 0), "1960");
  EXPECT_EQ(text(zfmyear, 2, kJul4), "05");
  EXPECT_EQ(text(zfmyear, 3, kJul4), " 05");
  EXPECT_EQ(text(zfmyear, 6, kJul4), "  2005");
  EXPECT_EQ(text(zfmyear, 4, kLastDay), "****");
  EXPECT_EQ(text(zfmyear, 5, kLastDay), "20000");
  EXPECT_EQ(text(zfmqtr, 1, nov1), "4");
  EXPECT_EQ(text(zfmqtr, 3, kJul4), "  3");
  EXPECT_EQ(text(zfmqtrr, 3, nov1), " IV");
  EXPECT_EQ(text(zfmqtrr, 3, kJul4), "III");
  EXPECT_EQ(text(zfmqtrr, 4, 0), "   I");
  EXPECT_EQ(text(zfmqtrr, 3, zmdy(4, 1, 1960)), " II");
  EXPECT_EQ(text(zfmweekday, 1, 0), "6");
  EXPECT_EQ(text(zfmweekday, 3, zmdy(7, 20, 1969)), "  1");
  EXPECT_EQ(text(zfmjulday, 3, 0), "  1");
  EXPECT_EQ(text(zfmjulday, 3, zmdy(12, 31, 1960)), "366");
  EXPECT_EQ(text(zfmjulday, 3, zmdy(12, 31, 4000)), "365");
}

TEST(DateFormatsNamed, JulianDates) {
  EXPECT_EQ(text(zfmjulian, 5, 0), "60001");
  EXPECT_EQ(text(zfmjulian, 7, 0), "1960001");
  EXPECT_EQ(text(zfmjulian, 6, 0), " 60001");
  EXPECT_EQ(text(zfmjulian, 5, zmdy(1, 1, 2005)), "05001");
  EXPECT_EQ(text(zfmjulian, 6, zmdy(1, 1, 2005)), " 05001");
  EXPECT_EQ(text(zfmjulian, 5, zmdy(1, 1, 2000)), "00001");
  EXPECT_EQ(text(zfmjuldate, 7, zmdy(2, 10, 2005)), "2005041");
  EXPECT_EQ(text(zfmjuldate, 10, 0), "   1960001");
  EXPECT_EQ(text(zfmjulian, 7, kLastDay), "*******");
  EXPECT_EQ(text(zfmjuldate, 8, kLastDay), "20000365");
  EXPECT_EQ(text(zfmjulian, 5, kLastDay), "00365");
  EXPECT_EQ(run(zfmjulian, 8, 0, 16).status, VF_ERR_WIDTH);
}

TEST(DateFormatsRange, OutOfRangeAndMissing) {
  const fmtfn common[] = {zfmddmmyy,  zfmmmddyyn, zfmyymmdds, zfmmmyy,
                          zfmyymmn,   zfmyyq,     zfmyyqrn,   zfmdate,
                          zfmmonyy,   zfmday,     zfmmonth,   zfmqtr,
                          zfmqtrr,    zfmweekday, zfmjulday,  zfmjulian,
                          zfmjuldate, zfmyyqz,    zfmxymd};
  const double bad[] = {6589336,
                        -138062,
                        -138061.001,
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        std::numeric_limits<double>::quiet_NaN(),
                        std::bit_cast<double>(0x7FF0000000000001ull),
                        std::bit_cast<double>(0xFFF7FE0000000000ull),
                        1e301,
                        -1e301};
  for (fmtfn f : common) {
    for (double v : bad) {
      const Result r = run(f, 6, v);
      EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << v;
      EXPECT_EQ(r.text, stars(6)) << v;
    }
    Result r = run(f, 6, kMissingA);
    EXPECT_EQ(r.status, VF_OK);
    EXPECT_EQ(r.text, "     A");
    r = run(f, 6, valfmt::standard_missing());
    EXPECT_EQ(r.text, "     .");
    EXPECT_EQ(run(f, 6, -138061).status, VF_OK);
    EXPECT_EQ(run(f, 6, 6589335.999).status, VF_OK);
  }
  // YEAR shows out-of-range dates but does not report them.
  Result r = run(zfmyear, 4, 6589336);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.text, "****");
  r = run(zfmyear, 4, std::nan(""));
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.text, "****");
  r = run(zfmyear, 4, valfmt::missing_value(0xE4));
  EXPECT_EQ(r.text, "   Z");
}

TEST(DateFormatsAdapters, DatetimeValues) {
  const double dt = 1.5 * 86400; // 1960-01-02 12:00
  EXPECT_EQ(text(zfmdtda, 9, dt), "02JAN1960");
  EXPECT_EQ(text(zfmdtda, 7, -1), "31DEC59");
  EXPECT_EQ(text(zfmdtda, 5, dt), "02JAN");
  EXPECT_EQ(text(zfmdtmo, 7, dt), "JAN1960");
  EXPECT_EQ(text(zfmdtmo, 5, dt), "JAN60");
  EXPECT_EQ(text(zfmdtye, 4, dt), "1960");
  EXPECT_EQ(text(zfmdtye, 2, dt), "60");
  EXPECT_EQ(text(zfmdtyy, 6, kJul4 * 86400), "2005:3");
  EXPECT_EQ(text(zfmdtyy, 4, kJul4 * 86400), "05:3");
  EXPECT_EQ(text(zfmdtda, 9, 569318630399.0), "31DEC****");
}

TEST(DateFormatsAdapters, LeaveTheCallersValueAlone) {
  const double inputs[] = {1.5 * 86400, 569318630400.0, -1e300, std::nan(""),
                           kMissingA};
  const struct {
    fmtfn fn;
    int32_t w;
  } adapters[] = {{zfmdtda, 5}, {zfmdtmo, 5}, {zfmdtye, 4}, {zfmdtyy, 4}};
  for (const auto &[f, w] : adapters) {
    for (double v : inputs) {
      double value = v;
      const uint64_t before = std::bit_cast<uint64_t>(value);
      char out[16];
      fmtcall c{};
      c.w = w;
      c.value = &value;
      c.out = out;
      c.outsize = sizeof out;
      const int32_t st = f(&c);
      EXPECT_EQ(std::bit_cast<uint64_t>(value), before);
      EXPECT_EQ(c.value, &value);
      EXPECT_EQ(c.w, w);
      EXPECT_EQ(c.outlen, w);
      if (!std::isnan(v) && v < 569318630400.0 && v > -1e300) {
        EXPECT_EQ(st, VF_OK);
      }
    }
  }
  // Out of range: the date format's own status.
  EXPECT_EQ(run(zfmdtda, 9, 569318630400.0).status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(run(zfmdtda, 9, std::nan("")).status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(run(zfmdtye, 4, 569318630400.0).status, VF_OK);
  const Result r = run(zfmdtmo, 5, kMissingA);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.text, "    A");
}

TEST(DateFormatsCalls, WidthsOutsideLimitsAndSmallBuffers) {
  Result r = run(zfmdate, 4, 0);
  EXPECT_EQ(r.status, VF_ERR_WIDTH);
  EXPECT_EQ(r.text, "****");
  r = run(zfmdate, 12, 0);
  EXPECT_EQ(r.status, VF_ERR_WIDTH);
  EXPECT_EQ(r.text, stars(12));
  r = run(zfmddmmyyn, 9, 0);
  EXPECT_EQ(r.status, VF_ERR_WIDTH);
  for (int w : {0, -1, -100000}) {
    r = run(zfmyymmdd, w, 0);
    EXPECT_EQ(r.status, VF_ERR_WIDTH);
    EXPECT_EQ(r.outlen, 0);
  }
  // w beyond the buffer: asterisks up to outsize only.
  r = run(zfmdate, 9, 0, 5);
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(r.text, "*****");
  r = run(zfmyymon, 32, 0, 3);
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  r = run(zfmdtda, 9, 0, 0);
  EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(r.outlen, 0);
  for (int32_t size : {-5, 0}) {
    char one[1] = {kGuard};
    double v = 0;
    fmtcall c{};
    c.w = 9;
    c.value = &v;
    c.out = one;
    c.outsize = size;
    EXPECT_EQ(zfmdate(&c), VF_ERR_OUTSIZE);
    EXPECT_EQ(c.outlen, 0);
    EXPECT_EQ(one[0], kGuard);
  }
  r = run(zfmdate, 1000000, 0, 40);
  EXPECT_EQ(r.status, VF_ERR_WIDTH);
  EXPECT_EQ(r.outlen, 40);
  // Null pieces of the call block.
  EXPECT_EQ(zfmdate(nullptr), VF_ERR_BAD_CALL);
  fmtcall c{};
  c.w = 9;
  EXPECT_EQ(zfmdate(&c), VF_ERR_BAD_CALL);
  char out[9];
  c.out = out;
  c.outsize = 9;
  EXPECT_EQ(zfmdate(&c), VF_ERR_BAD_CALL); // no value
}

// Every date format resolves by name and, at every width its descriptor
// allows and one beyond each end, writes a defined field within outsize.
TEST(DateFormatsCalls, EveryDescriptorWidthStaysInBounds) {
  const std::set<fmtfn> ours = {
      zfmddmmyy,  zfmddmmyyb, zfmddmmyyc, zfmddmmyyd, zfmddmmyyn, zfmddmmyyp,
      zfmddmmyys, zfmmmddyy,  zfmmmddyyb, zfmmmddyyc, zfmmmddyyd, zfmmmddyyn,
      zfmmmddyyp, zfmmmddyys, zfmyymmdd,  zfmyymmddb, zfmyymmddc, zfmyymmddd,
      zfmyymmddn, zfmyymmddp, zfmyymmdds, zfmxymd,    zfmmmyy,    zfmmmyyc,
      zfmmmyyd,   zfmmmyyn,   zfmmmyyp,   zfmmmyys,   zfmyymm,    zfmyymmc,
      zfmyymmd,   zfmyymmn,   zfmyymmp,   zfmyymms,   zfmyyq,     zfmyyqc,
      zfmyyqd,    zfmyyqn,    zfmyyqp,    zfmyyqs,    zfmyyqz,    zfmyyqr,
      zfmyyqrc,   zfmyyqrd,   zfmyyqrn,   zfmyyqrp,   zfmyyqrs,   zfmdate,
      zfmmonyy,   zfmyymon,   zfmday,     zfmmonth,   zfmyear,    zfmqtr,
      zfmqtrr,    zfmweekday, zfmjulday,  zfmjulian,  zfmjuldate, zfmdtda,
      zfmdtmo,    zfmdtye,    zfmdtyy};
  const double values[] = {0,     -138061,        6589335,   6589336,
                           -0.5,  kJul4,          kMissingA, std::nan(""),
                           1e300, 86400.0 * 20000};
  std::set<fmtfn> seen;
  for (const fmtinfo *m : {jazwfdte(), jazwfuwf()}) {
    for (uint32_t i = 0; i < m->count; ++i) {
      const fmtinfo_eachfmt &d = m->first[i];
      if (ours.count(d.fn) == 0) continue;
      seen.insert(d.fn);
      const std::string name(d.name, d.namelen);
      for (int w = d.minw - 1; w <= d.maxw + 1; ++w) {
        for (double v : values) {
          const Result r = run(d.fn, w, v, w < 0 ? 0 : w);
          const bool inside = w >= d.minw && w <= d.maxw;
          if (!inside) {
            EXPECT_EQ(r.status, VF_ERR_WIDTH) << name << w;
            continue;
          }
          EXPECT_EQ(r.outlen, w) << name << " w=" << w << " v=" << v;
          EXPECT_TRUE(r.status == VF_OK || r.status == VF_ERR_DATE_RANGE ||
                      r.status == VF_ERR_DATE_TEXT)
              << name << " w=" << w << " v=" << v;
          for (char ch : r.text) {
            EXPECT_TRUE(ch >= ' ' && ch <= '~') << name << " w=" << w;
          }
        }
      }
    }
  }
  EXPECT_EQ(seen.size(), ours.size());
}

TEST(DateFormatsCalls, ResolvedByNameAndWidened) {
  fmthandle_storage storage;
  fmthandle *h = &storage.builtin;
  fmtattr attrs{};
  ASSERT_EQ(xfname3("DATE", 4, 'F', &attrs, &h, nullptr), 0);
  EXPECT_EQ(attrs.minw, 5);
  EXPECT_EQ(attrs.maxw, 11);
  double v = 0;
  uint16_t out[9];
  fmtcall c{};
  c.w = 9;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  c.reqenc = VF_ENC_UCS2;
  ASSERT_EQ(xffmt(&c, h), VF_OK);
  ASSERT_EQ(c.outlen, 18);
  std::string narrow;
  for (uint16_t u : out) narrow += static_cast<char>(u);
  EXPECT_EQ(narrow, "01JAN1960");
  EXPECT_EQ(c.outenc, VF_ENC_UCS2);
  xfdel(h);

  h = &storage.builtin;
  ASSERT_EQ(xfname3("DTYYQC", 6, 'F', &attrs, &h, nullptr), 0);
  v = kJul4 * 86400;
  char narrow_out[6];
  c = fmtcall{};
  c.w = 6;
  c.value = &v;
  c.out = narrow_out;
  c.outsize = sizeof narrow_out;
  ASSERT_EQ(xffmt(&c, h), VF_OK);
  EXPECT_EQ(std::string(narrow_out, 6), "2005:3");
  xfdel(h);
}

} // namespace
