// The numeric date formats: every layout family at every width, range and
// missing handling, the datetime adapters and hostile call blocks.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <string>

#include "core/missing.h"
#include "datetime/date_formats.h"
#include "datetime/format_checks.h"
#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

using dtcheck::stars;
using vftest::put;

using dtcheck::text;

// f of v at the widths first, first + 1, ... gives the texts in turn.
void expect_widths(fmtfn f, double v, int32_t first,
                   std::initializer_list<const char *> texts) {
  int32_t w = first;
  for (const char *want : texts) {
    EXPECT_EQ(text(f, v, w), want) << "w=" << w;
    ++w;
  }
}

const double kJul4 = zmdy(7, 4, 2005), kJan15 = 14, kMay1 = zmdy(5, 1, 2005);
const double kQ3 = zmdy(7, 1, 1960), kQ4 = zmdy(10, 1, 1960);
const double kLastDay = 6589335; // 20000-12-31
const double kMissingA = valfmt::missing_value(0xFD);

TEST(DateThreePart, EveryWidthOfEachOrder) {
  expect_widths(zfmddmmyy, kJul4, 2,
                {"04", " 04", "0407", "04/07", "040705", " 040705", "04/07/05",
                 " 04/07/05", "04/07/2005"});
  expect_widths(zfmyymmdd, kJul4, 2,
                {"05", " 05", "0507", "05-07", "050704", " 050704", "05-07-04",
                 " 05-07-04", "2005-07-04"});
  expect_widths(
      zfmddmmyyn, kJul4, 2,
      {"04", " 04", "0407", " 0407", "040705", " 040705", "04072005"});
  expect_widths(zfmxymd, 0, 6,
                {"600101", " 600101", "60-01-01", " 60-01-01", "1960-01-01",
                 " 1960-01-01", "  1960-01-01"});
}

TEST(DateThreePart, SeparatorVariantsAndYearEdges) {
  const std::pair<fmtfn, const char *> rows[] = {{zfmddmmyyb, "04 07 2005"},
                                                 {zfmmmddyyc, "07:04:2005"},
                                                 {zfmyymmddd, "2005-07-04"},
                                                 {zfmddmmyyp, "04.07.2005"},
                                                 {zfmyymmdds, "2005/07/04"}};
  for (const auto &[fn, want] : rows) EXPECT_EQ(text(fn, kJul4, 10), want);
  // A five-digit year does not fit its four-character place.
  EXPECT_EQ(text(zfmddmmyy, kLastDay, 10), "31/12/****");
  EXPECT_EQ(text(zfmyymmddn, kLastDay, 8), "****1231");
  EXPECT_EQ(text(zfmxymd, kLastDay, 12), "  ****-12-31");
  EXPECT_EQ(text(zfmddmmyy, kLastDay, 8), "31/12/00");
}

TEST(DateThreePart, LayoutRoutineAtAnyWidth) {
  char buf[48];
  for (int32_t w : {0, -40, 1, 40}) {
    std::memset(buf, '#', sizeof buf);
    valfmt::write_three_part_date(buf, w, 4, 7, 2005, '/');
    const std::string want = w <= 0   ? ""
                             : w == 1 ? "4"
                                      : std::string(30, ' ') + "04/07/2005";
    EXPECT_EQ(std::string(buf, sizeof buf),
              want + std::string(sizeof buf - want.size(), '#'))
        << w;
  }
}

TEST(DateMonthYear, BothFamiliesAtTheirWidths) {
  expect_widths(zfmmmyy, kJan15, 5, {"01M60", " 01M60", "01M1960", " 01M1960"});
  expect_widths(zfmmmyyn, kJan15, 4, {"0160", " 0160", "011960"});
  expect_widths(zfmyymm, kJul4, 5, {"05M07", " 05M07", "2005M07"});
  expect_widths(zfmyymmn, kJan15, 4, {"6001", " 6001", "196001"});
  expect_widths(zfmmmyy, kLastDay, 7, {"12M****", " 12M****"});
  expect_widths(zfmyymm, kLastDay, 7, {"****M12", "20000M12"});
  EXPECT_EQ(text(zfmmmyyc, kJul4, 7) + text(zfmmmyyd, kJul4, 7) +
                text(zfmmmyyp, kJul4, 5) + text(zfmmmyys, kJul4, 7),
            "07:200507-200507.0507/2005");
  EXPECT_EQ(text(zfmyymmc, kJul4, 7) + text(zfmyymmd, kJul4, 7) +
                text(zfmyymmp, kJul4, 7) + text(zfmyymms, kJul4, 10),
            "2005:072005-072005.07   2005/07");
}

TEST(DateQuarter, DigitAndRomanQuarters) {
  expect_widths(zfmyyq, kMay1, 4, {"05Q2", " 05Q2", "2005Q2", " 2005Q2"});
  expect_widths(zfmyyqn, kMay1, 3, {"052", " 052", "20052"});
  expect_widths(zfmyyqz, zmdy(12, 31, 1960), 4, {"6004", " 6004", "196004"});
  expect_widths(zfmyyq, kLastDay, 6, {"****Q4", "20000Q4"});
  EXPECT_EQ(text(zfmyyqc, kMay1, 6) + text(zfmyyqd, kMay1, 6) +
                text(zfmyyqp, kMay1, 5) + text(zfmyyqs, kMay1, 4),
            "2005:22005-2 05.205/2");
  // The year's digits depend on the numeral's length at narrow widths.
  expect_widths(zfmyyqr, kQ3, 6, {"60QIII", " 60QIII", "1960QIII"});
  expect_widths(zfmyyqr, kQ4, 6, {" 60QIV", "1960QIV"});
  expect_widths(zfmyyqr, 0, 6, {"1960QI", " 1960QI", "  1960QI"});
  expect_widths(zfmyyqrn, kQ3, 5, {"60III", " 60III", "1960III"});
  EXPECT_EQ(text(zfmyyqrc, kQ4, 8) + text(zfmyyqrd, kQ3, 7) +
                text(zfmyyqrp, kQ3, 8) + text(zfmyyqrs, zmdy(4, 1, 1960), 7),
            " 1960:IV 60-III1960.III1960/II");
}

TEST(DateMonthNames, DateMonyyAndYymon) {
  expect_widths(zfmdate, 0, 5,
                {"01JAN", " 01JAN", "01JAN60", " 01JAN60", "01JAN1960",
                 " 01JAN1960", "01-JAN-1960"});
  expect_widths(zfmdate, kLastDay, 9,
                {"31DEC****", " 31DEC****", "31-DEC-****"});
  EXPECT_EQ(text(zfmdate, -0.001, 9), "31DEC1959");
  expect_widths(zfmmonyy, 0, 5, {"JAN60", " JAN60", "JAN1960"});
  EXPECT_EQ(text(zfmmonyy, kLastDay, 7), "DEC****");
  expect_widths(zfmyymon, kJul4, 5, {"05JUL", " 05JUL", "2005JUL", " 2005JUL"});
  expect_widths(zfmyymon, kLastDay, 7, {"****DEC", "20000DEC"});
  // YYMON's own range check: whole valid days only (its status is checked
  // with the other formats').
  EXPECT_EQ(put(zfmyymon, 6589335.5, 7).text, stars(7));
  EXPECT_EQ(put(zfmyymon, -138061.5, 7).text, stars(7));
}

TEST(DateComponents, SingleNumbersAndJulianDates) {
  const double nov1 = zmdy(11, 1, 1960), dec31 = zmdy(12, 31, 1960);
  expect_widths(zfmday, dec31, 2, {"31", " 31"});
  expect_widths(zfmmonth, nov1, 1, {"B", "11", " 11"});
  EXPECT_EQ(text(zfmmonth, dec31, 1) + text(zfmmonth, zmdy(9, 1, 1960), 1),
            "C9");
  expect_widths(zfmyear, kJul4, 2, {"05", " 05", "2005", " 2005"});
  expect_widths(zfmyear, kLastDay, 4, {"****", "20000"});
  expect_widths(zfmqtrr, nov1, 3, {" IV", "  IV"});
  EXPECT_EQ(text(zfmqtrr, kJul4, 3) + text(zfmqtrr, 0, 3), "III  I");
  expect_widths(zfmweekday, zmdy(7, 20, 1969), 1, {"1", " 1"}); // a Sunday
  expect_widths(zfmjulday, dec31, 3, {"366", " 366"});
  EXPECT_EQ(text(zfmjulday, zmdy(12, 31, 4000), 3), "365");
  expect_widths(zfmjulian, zmdy(1, 1, 2005), 5, {"05001", " 05001", "2005001"});
  expect_widths(zfmjulian, kLastDay, 5, {"00365", " 00365", "*******"});
  expect_widths(zfmjuldate, kLastDay, 7, {"*******", "20000365"});
  EXPECT_EQ(text(zfmjuldate, 0, 10), "   1960001");
}

// DATE9 and YYMMDD10 over days spread through the whole range, against
// text built from the calendar parts.
TEST(DateSweep, Date9AndYymmdd10AcrossTheRange) {
  static const char *kMon[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                               "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  char want[16];
  for (double day = -138061; day < 6589336; day += 2003) {
    const int y = static_cast<int>(zyear(day));
    const int m = static_cast<int>(zmonth(day)),
              d = static_cast<int>(zday(day));
    const std::string year = y > 9999 ? "****" : std::to_string(y);
    std::snprintf(want, sizeof want, "%02d%s%s", d, kMon[m - 1], year.c_str());
    ASSERT_EQ(text(zfmdate, day, 9), want) << day;
    std::snprintf(want, sizeof want, "%s-%02d-%02d", year.c_str(), m, d);
    ASSERT_EQ(text(zfmyymmdd, day, 10), want) << day;
  }
}

TEST(DateAdapters, DayOfTheDatetime) {
  const double noon2 = 1.5 * 86400; // 1960-01-02 12:00
  expect_widths(zfmdtda, noon2, 5,
                {"02JAN", " 02JAN", "02JAN60", " 02JAN60", "02JAN1960"});
  EXPECT_EQ(text(zfmdtda, -1, 7), "31DEC59");
  EXPECT_EQ(text(zfmdtda, 569318630399.0, 9), "31DEC****");
  expect_widths(zfmdtye, noon2, 2, {"60", " 60", "1960"});
  expect_widths(zfmdtyy, kJul4 * 86400, 4, {"05:3", " 05:3", "2005:3"});
  // A moment before the epoch belongs to 31 December 1959 even where
  // v / 86400 underflows to zero; DTWKDATX agrees.
  for (double v : {-5e-324, -2e-319, -1e-300}) {
    EXPECT_EQ(text(zfmdtda, v, 9), "31DEC1959") << v;
    EXPECT_EQ(text(zfmdtye, v, 4), "1959") << v;
    EXPECT_EQ(text(zfmdtwk, v, 29), "   Thursday, 31 December 1959") << v;
  }
}

struct FnWidth {
  fmtfn fn;
  int32_t w;
};

// Formats that run another routine on a private block leave every field
// of the caller's block and its value as they were.
TEST(DateCalls, CallersBlockAndValueUnchanged) {
  const FnWidth calls[] = {{zfmdtda, 5}, {zfmdtmo, 5},  {zfmdtye, 4},
                           {zfmdtyy, 4}, {zfmxymd, 12}, {zfmyear, 4}};
  for (const FnWidth &call : calls) {
    for (double v : {1.5 * 86400, 569318630400.0, std::nan(""), kMissingA}) {
      double value = v;
      char out[16];
      fmtcall c{};
      c.w = call.w;
      c.d = 3;
      c.value = &value;
      c.out = out;
      c.outsize = sizeof out;
      call.fn(&c);
      EXPECT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(v));
      EXPECT_TRUE(c.value == &value && c.w == call.w && c.d == 3 &&
                  c.outlen == call.w);
    }
  }
}

TEST(DateCalls, SmallBuffersAndNullPieces) {
  EXPECT_EQ(put(zfmyymmdd, 0, -100000, 0, 0).outlen, 0);
  EXPECT_EQ(put(zfmdate, 0, 1000000, 0, 40).text, stars(40));
  // w beyond the buffer: asterisks up to outsize only.
  const vftest::Run small = put(zfmdate, 0, 9, 0, 5);
  EXPECT_EQ(small.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(small.text, "*****");
  EXPECT_EQ(put(zfmyymon, 0, 32, 0, 3).status, VF_ERR_OUTSIZE);
  EXPECT_EQ(put(zfmdtda, 0, 9, 0, 0).outlen, 0);
  EXPECT_EQ(zfmdate(nullptr), VF_ERR_BAD_CALL);
  char out[9];
  double v = 0;
  fmtcall c{};
  c.w = 9;
  c.value = &v;
  c.outsize = -5;
  EXPECT_EQ(zfmdate(&c), VF_ERR_BAD_CALL); // no buffer
  c.out = out;
  c.value = nullptr;
  c.outsize = 9;
  EXPECT_EQ(zfmdate(&c), VF_ERR_BAD_CALL); // no value
}

// Every format at every width its descriptor allows and one beyond each
// end: a defined field of exactly w bytes within outsize, the missing
// display (decimals play no part), and asterisks for values outside the
// range, shown but not reported by YEAR and reported by YYMON as bad text.
TEST(DateCalls, EveryFormatAtEveryWidth) {
  const std::string ours =
      " DDMMYY DDMMYYB DDMMYYC DDMMYYD DDMMYYN DDMMYYP DDMMYYS MMDDYY MMDDYYB"
      " MMDDYYC MMDDYYD MMDDYYN MMDDYYP MMDDYYS YYMMDD YYMMDDB YYMMDDC YYMMDDD"
      " YYMMDDN YYMMDDP YYMMDDS XYYMMDD MMYY MMYYC MMYYD MMYYN MMYYP MMYYS YYMM"
      " YYMMC YYMMD YYMMN YYMMP YYMMS YYQ YYQC YYQD YYQN YYQP YYQS YYQZ YYQR"
      " YYQRC YYQRD YYQRN YYQRP YYQRS DATE MONYY YYMON DAY MONTH YEAR QTR QTRR"
      " WEEKDAY JULDAY JULIAN JULDATE DTDATE DTMONYY DTYEAR DTYYQC ";
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double snan = std::bit_cast<double>(0x7FF0000000000001ull);
  const double near_missing = std::bit_cast<double>(0xFFF7FE0000000000ull);
  // Outside the date range; all but the last two are outside the datetime
  // range too.
  const double bad[] = {
      569318630400.0, -11928470401.0, 1e300,   -inf,       nan,
      snan,           near_missing,   6589336, -138061.001};
  int seen = 0;
  for (const fmtinfo *m : {jazwfdte(), jazwfuwf()}) {
    for (uint32_t i = 0; i < m->count; ++i) {
      const fmtinfo_eachfmt &e = m->first[i];
      const std::string name(e.name, e.namelen);
      if (ours.find(" " + name + " ") == std::string::npos) continue;
      ASSERT_NE(e.fn, nullptr) << name;
      ++seen;
      const int32_t bad_status = name == "YEAR" || name == "DTYEAR" ? VF_OK
                                 : name == "YYMON" ? VF_ERR_DATE_TEXT
                                                   : VF_ERR_DATE_RANGE;
      for (int w = e.minw - 1; w <= e.maxw + 1; ++w) {
        if (w < e.minw || w > e.maxw) {
          const vftest::Run r = put(e.fn, 0, w);
          EXPECT_EQ(r.status, VF_ERR_WIDTH) << name << w;
          EXPECT_EQ(r.text, stars(w > 0 ? w : 0)) << name << w;
          continue;
        }
        for (double v : {0.0, -0.5, -138061.0, 6589335.0, kJul4}) {
          const vftest::Run r = put(e.fn, v, w);
          EXPECT_TRUE(r.status == VF_OK && r.outlen == w) << name << w << v;
          for (char ch : r.text)
            EXPECT_TRUE(ch >= ' ' && ch <= '~') << name << " w=" << w;
        }
        EXPECT_EQ(put(e.fn, kMissingA, w, 3).text,
                  std::string(static_cast<size_t>(w - 1), ' ') + "A")
            << name << w;
        for (double v : bad) {
          if (name.starts_with("DT") && std::abs(v) < 1e7) continue;
          const vftest::Run r = put(e.fn, v, w);
          EXPECT_EQ(r.status, bad_status) << name << w << " " << v;
          EXPECT_EQ(r.text, stars(w)) << name << w << " " << v;
        }
      }
    }
  }
  EXPECT_EQ(seen, 63);
}

} // namespace
