// The locale date, datetime, time and name formats: worked examples, the
// long -> short -> plain format -> asterisks chain at the widths where the
// long text just fits and just does not, and bad input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "datetime/local_zone.h"
#include "nls/formats/nl_test_util.h"
#include "registry/functions.h"

namespace {

using nltest::run;
using namespace nltest;

struct Member {
  const char *name;
  fmtfn fn;
  int32_t minw;
  double value; // a value of the member's kind
};

// 2024-03-05 (day 23440) and 2024-03-05 14:07:09 as a datetime.
constexpr double kDay = 23440;
constexpr double kMoment = kDay * 86400 + 14 * 3600 + 7 * 60 + 9;

const Member kMembers[] = {
    {"NLDATE", nldate, 10, kDay},        {"NLDATEMN", nldatemn, 4, kDay},
    {"NLDATEW", nldatew, 10, kDay},      {"NLDATEWN", nldatewn, 4, kDay},
    {"NLDATEYM", nldateym, 6, kDay},     {"NLDATEMD", nldatemd, 6, kDay},
    {"NLDATEYQ", nldateyq, 4, kDay},     {"NLDATEYR", nldateyr, 2, kDay},
    {"NLDATEYW", nldateyw, 5, kDay},     {"NLDATM", nldatm, 10, kMoment},
    {"NLDATMZ", nldatmz, 16, kMoment},   {"NLDATMAP", nldatmap, 16, kMoment},
    {"NLDATMMN", nldatmmn, 4, kMoment},  {"NLDATMTM", nldatmtm, 16, kMoment},
    {"NLDATMTZ", nldatmtz, 16, kMoment}, {"NLDATMW", nldatmw, 16, kMoment},
    {"NLDATMWZ", nldatmwz, 16, kMoment}, {"NLDATMWN", nldatmwn, 4, kMoment},
    {"NLDATMDT", nldatmdt, 10, kMoment}, {"NLDATMYM", nldatmym, 6, kMoment},
    {"NLDATMMD", nldatmmd, 6, kMoment},  {"NLDATMYQ", nldatmyq, 4, kMoment},
    {"NLDATMYR", nldatmyr, 2, kMoment},  {"NLDATMYW", nldatmyw, 5, kMoment},
    {"NLTIME", nltime, 10, 50829},       {"NLTIMAP", nltimeap, 4, 50829},
};

TEST(NlDate, WorkedExamplesForEnUS) {
  EXPECT_EQ(run(nldate, 0, 20, 0, kEnUS).text, "January 01, 1960");
  // Too narrow for the long text: the short pattern.
  EXPECT_EQ(run(nldate, 0, 10, 0, kEnUS).text, "01/01/1960");
  EXPECT_EQ(run(nltime, -1, 20, 0, kEnUS).text, "23:59:59");
  EXPECT_EQ(run(nltime, 90000, 20, 0, kEnUS).text, "01:00:00");
  EXPECT_EQ(run(nltime, -86400, 20, 0, kEnUS).text, "00:00:00");
  EXPECT_EQ(run(nltimeap, 0, 20, 0, kEnUS).text, "12:00:00 AM");
  EXPECT_EQ(run(nltimeap, 43200, 20, 0, kEnUS).text, "12:00:00 PM");
  EXPECT_EQ(run(nldatmap, kMoment, 40, 0, kEnUS).text,
            "March 05, 2024 02:07:09 PM");
  EXPECT_EQ(run(nldatew, kDay, 40, 0, kEnUS).text, "Tuesday, March 05, 2024");
  EXPECT_EQ(run(nldateyq, kDay, 16, 0, kEnUS).text, "1st quarter 2024");
  EXPECT_EQ(run(nldatmtm, kMoment, 16, 0, kEnUS).text, "14:07:09");
}

TEST(NlDate, GermanAndFrenchNames) {
  EXPECT_EQ(run(nldatemn, kDay, 20, 0, kDeDE).text, "März");
  EXPECT_EQ(run(nldatewn, kDay, 20, 0, kFrFR).text, "mardi");
  EXPECT_EQ(run(nldatemn, kDay, 20, 0, kFrFR).text, "mars");
}

// At the width of the long text it is shown; one column less and another
// (shorter) text is shown, never wider than w; the result always fits
// outsize and the guard bytes stay untouched.
TEST(NlDate, LongPatternJustFitsAndJustDoesNot) {
  for (const int32_t loc : kLocales) {
    for (const Member &m : kMembers) {
      const Result wide = run(m.fn, m.value, 200, 0, loc);
      ASSERT_EQ(wide.status, 0) << m.name << " " << loc;
      ASSERT_EQ(wide.outenc, VF_ENC_UCS2) << m.name << " " << loc;
      const int32_t n = chars(wide.text);
      ASSERT_GT(n, 0) << m.name;
      if (n < m.minw) continue;
      const Result fits = run(m.fn, m.value, n, 0, loc);
      EXPECT_EQ(fits.text, wide.text) << m.name << " " << loc;
      if (n - 1 < m.minw) continue;
      const Result narrow = run(m.fn, m.value, n - 1, 0, loc);
      EXPECT_NE(narrow.text, wide.text) << m.name << " " << loc;
      EXPECT_LE(chars(narrow.text), n - 1) << m.name << " " << loc;
    }
  }
}

TEST(NlDate, MissingAndOutOfRangeValues) {
  const Result miss = run(nldate, missing(), 12, 0, kEnUS);
  EXPECT_EQ(miss.text, "           .");
  EXPECT_EQ(miss.outenc, VF_ENC_NARROW);
  // Before 1 January 1582 and after 31 December 20000: asterisks.
  EXPECT_EQ(run(nldate, -138062, 12, 0, kEnUS).text, "************");
  EXPECT_EQ(run(nldate, 6589336, 12, 0, kEnUS).text, "************");
  EXPECT_EQ(run(nldatm, -11928470401.0, 12, 0, kEnUS).text, "************");
  EXPECT_NE(run(nldate, -138061, 20, 0, kEnUS).text.find("1582"),
            std::string::npos);
  EXPECT_NE(run(nldatm, 569318630399.0, 30, 0, kEnUS).text.find("23:59:59"),
            std::string::npos);
}

TEST(NlDate, BadLocaleIdsReadEnUS) {
  const std::string us = run(nldate, kDay, 30, 0, kEnUS).text;
  for (const int32_t loc : {0, -1, -1000000, 134, 9999})
    EXPECT_EQ(run(nldate, kDay, 30, 0, loc).text, us) << loc;
}

TEST(NlDate, FallsBackToThePlainFormat) {
  // Neither "Tuesday, March 05, 2024" nor "Tue, Mar 05, 24" fits 10
  // columns: NLDATEW shows WEEKDATE10. as that format writes it.
  const vftest::Run plain = vftest::put(zfmweekdate, kDay, 10);
  ASSERT_EQ(plain.status, 0);
  EXPECT_EQ(run(nldatew, kDay, 10, 0, kEnUS).text, plain.text);
  // NLDATM falls back to DATETIME, limited to DATETIME's widest form.
  const vftest::Run dt = vftest::put(zfmdttm, kMoment, 10);
  ASSERT_EQ(dt.status, 0);
  EXPECT_EQ(run(nldatm, kMoment, 10, 0, kEnUS).text, dt.text);
  // Members without a fallback end in asterisks.
  EXPECT_EQ(run(nldatmw, kMoment, 16, 0, kEnUS).text, "****************");
}

TEST(NlDate, WidthAndOutsizeLimits) {
  // Width 1: the long and short patterns cannot fit, nor can DATE1.
  EXPECT_EQ(run(nldate, 0, 1, 0, kEnUS).text, "*");
  // Width 200: the text keeps its own length.
  const Result r = run(nldate, 0, 200, 0, kEnUS, 400);
  EXPECT_EQ(r.text, "January 01, 1960");
  EXPECT_EQ(r.outlen, 32);
  // outsize below 2*w: the long text still fits 32 bytes.
  EXPECT_EQ(run(nldate, 0, 20, 0, kEnUS, 32).text, "January 01, 1960");
  // 31 bytes do not hold the long text; the short one fits.
  EXPECT_EQ(run(nldate, 0, 20, 0, kEnUS, 31).text, "01/01/1960");
  // Asterisks are cut to the whole units outsize holds.
  const Result stars = run(nldate, -200000, 20, 0, kEnUS, 7);
  EXPECT_EQ(stars.text, "***");
  EXPECT_EQ(stars.outlen, 6);
  const Result none = run(nldate, 0, 20, 0, kEnUS, 0);
  EXPECT_EQ(none.outlen, 0);
}

TEST(NlDate, WidthAndDecimalsCheck) {
  EXPECT_EQ(run(nldate, 0, 9, 0, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_W_SMALL);
  EXPECT_EQ(run(nldate, 0, 201, 0, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_W_LARGE);
  EXPECT_EQ(run(nldate, 0, 20, -1, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_D_NEG);
  EXPECT_EQ(run(nldate, 0, 20, 1, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_D_LARGE);
  EXPECT_EQ(run(nlstrmon, 1, 20, 3, kEnUS, -1, VF_OPT_CHECK_WD).status, 0);
  EXPECT_EQ(run(nlstrmon, 1, 20, 4, kEnUS, -1, VF_OPT_CHECK_WD).status,
            VF_NL_D_LARGE);
  EXPECT_EQ(run(nldateyr, 0, 2, 0, kEnUS, -1, VF_OPT_CHECK_WD).status, 0);
  // Without bit 0 nothing is checked.
  EXPECT_EQ(run(nldate, 0, 9, 0, kEnUS).status, 0);
}

TEST(NlNames, MonthQuarterAndWeekdayNames) {
  EXPECT_EQ(run(nlstrmon, 2, 10, 3, kEnUS).text, "FEB       ");
  EXPECT_EQ(run(nlstrmon, 2, 10, 0, kEnUS).text, "February  ");
  EXPECT_EQ(run(nlstrmon, 2, 10, 2, kEnUS).text, "FEBRUARY  ");
  EXPECT_EQ(run(nlstrmon, 12.9, 10, 1, kEnUS).text, "Dec       ");
  EXPECT_EQ(run(nlstrwk, 1, 9, 0, kEnUS).text, "Sunday   ");
  EXPECT_EQ(run(nlstrwk, 7, 3, 1, kEnUS).text, "Sat");
  EXPECT_EQ(run(nlstrqtr, 4, 11, 0, kEnUS).text, "4th quarter");
  EXPECT_EQ(run(nlstrmon, 3, 6, 2, kDeDE).text, "MÄRZ  ");
  for (const double bad : {0.0, 13.0, -1.0, 0.99})
    EXPECT_EQ(run(nlstrmon, bad, 5, 0, kEnUS).text, "*****") << bad;
  EXPECT_EQ(run(nlstrqtr, 5, 3, 0, kEnUS).text, "***");
  EXPECT_EQ(run(nlstrwk, 8, 3, 0, kEnUS).text, "***");
  // A name wider than w: asterisks.
  EXPECT_EQ(run(nlstrmon, 9, 8, 0, kEnUS).text, "********");
  EXPECT_EQ(run(nlstrmon, missing(), 4, 0, kEnUS).text, "   .");
}

} // namespace

namespace {

using namespace nltest;

// The last day and second are shown; a fraction beyond them is out of
// range.
TEST(NlDate, LastDayAndSecondAreInclusive) {
  // 6589335 is 31 December 20000.
  EXPECT_NE(run(nldate, 6589335, 30, 0, kEnUS).text.find("20000"),
            std::string::npos);
  EXPECT_EQ(run(nldate, 6589335.5, 12, 0, kEnUS).text, "************");
  EXPECT_EQ(run(nldatm, 569318630399.5, 16, 0, kEnUS).text, "****************");
  EXPECT_EQ(run(nldatmdt, 569318630399.5, 12, 0, kEnUS).text, "************");
}

// " %z" after the pattern under a fixed zone: the zone's offset east of
// UTC as +hhmm.
TEST(NlDate, ZoneFormsUnderAFixedZone) {
  const char *old = std::getenv("TZ");
  const std::string saved = old != nullptr ? old : "";
  setenv("TZ", "XST-5:30", 1);
  valfmt::refresh_local_offset();
  // 2024-03-05 14:07:09; en_US 24-hour pattern %d%b%y:%H:%M:%S.
  const double moment = 23440.0 * 86400 + 14 * 3600 + 7 * 60 + 9;
  EXPECT_EQ(run(nldatmz, moment, 40, 0, kEnUS).text, "05Mar24:14:07:09 +0530");
  EXPECT_EQ(run(nldatmtz, moment, 20, 0, kEnUS).text, "14:07:09 +0530");
  setenv("TZ", "XST8", 1);
  valfmt::refresh_local_offset();
  EXPECT_EQ(run(nldatmtz, moment, 20, 0, kEnUS).text, "14:07:09 -0800");
  if (old != nullptr)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  valfmt::refresh_local_offset();
}

} // namespace
