// DOWNAME and MONNAME: weekday and month names at every width, cut names,
// and the displays for missing and unshowable values.
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
using wordtest::right;

std::string stars(int n) {
  return std::string(static_cast<std::size_t>(n), '*');
}

TEST(WordNames, ReferenceExamples) {
  EXPECT_EQ(put(zfmdowname, 0, 9).text, "   Friday");
  EXPECT_EQ(put(zfmdowname, 0, 2).text, "Fr");
  EXPECT_EQ(put(zfmdowname, 0, 3).text, "Fri");
  EXPECT_EQ(put(zfmmonname, 244, 9).text, "September"); // 1960-09-01
  EXPECT_EQ(put(zfmmonname, 244, 5).text, "Septe");
  EXPECT_EQ(put(zfmmonname, 0, 3).text, "Jan");
  EXPECT_EQ(put(zfmmonname, 0, 1).text, "J");
  EXPECT_EQ(put(zfmdowname, 271, 32).text,
            std::string(23, ' ') + "Wednesday"); // 1960-09-28
}

// Every width of both formats over a spread of dates, against the C
// library's names.
TEST(WordNames, EveryWidthOverSpreadOfDates) {
  for (const int64_t day : wordtest::spread_days()) {
    const wordtest::RefDate ref = ref_date(day);
    const auto v = static_cast<double>(day);
    for (int w = 1; w <= 32; ++w) {
      const vftest::Run dow = put(zfmdowname, v, w);
      ASSERT_EQ(dow.status, VF_OK) << day << " w=" << w;
      ASSERT_EQ(dow.text, right(ref.weekday, w)) << day << " w=" << w;
      const vftest::Run mon = put(zfmmonname, v, w);
      ASSERT_EQ(mon.status, VF_OK) << day << " w=" << w;
      ASSERT_EQ(mon.text, right(ref.month_name, w)) << day << " w=" << w;
      ASSERT_EQ(mon.outenc, VF_ENC_NARROW);
    }
  }
}

TEST(WordNames, FractionsAndYearsBeyondTheCLibrary) {
  // The day is the floor: -0.5 is 31 December 1959, a Thursday.
  EXPECT_EQ(put(zfmdowname, -0.5, 9).text, " Thursday");
  EXPECT_EQ(put(zfmmonname, -0.5, 9).text, " December");
  EXPECT_EQ(put(zfmdowname, 0.999, 9).text, "   Friday");
  // 31 December 20000 is a Tuesday; 1 March 4000 follows 28 February.
  EXPECT_EQ(put(zfmdowname, 6589335, 9).text, "  Tuesday");
  EXPECT_EQ(put(zfmmonname, 6589335, 9).text, " December");
  EXPECT_EQ(put(zfmmonname, 745153, 8).text, "February"); // 4000-02-28
  EXPECT_EQ(put(zfmdowname, 745153, 9).text, "   Monday");
  EXPECT_EQ(put(zfmmonname, 745154, 5).text, "March"); // 4000-03-01
  EXPECT_EQ(put(zfmdowname, 745154, 9).text, "  Tuesday");
}

// Out of range and NaN: asterisks, but status 0 for these two formats.
TEST(WordNames, UnshowableValuesGiveAsterisksAndSuccess) {
  const double unshowable[] = {
      6589336,
      -138062,
      -138061.5,
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      std::numeric_limits<double>::quiet_NaN(),
      std::bit_cast<double>(0xFFFF000000000001ull), // not a missing pattern
      std::bit_cast<double>(0xFFF8000000000000ull),
  };
  for (const double v : unshowable) {
    for (const fmtfn fn : {zfmdowname, zfmmonname}) {
      for (int w : {1, 9, 32}) {
        const vftest::Run r = put(fn, v, w);
        EXPECT_EQ(r.status, VF_OK) << v << " w=" << w;
        EXPECT_EQ(r.text, stars(w)) << v << " w=" << w;
      }
    }
  }
  // The first valid day still has a name.
  EXPECT_EQ(put(zfmdowname, -138061, 6).text, "Friday");
}

TEST(WordNames, MissingValuesShowTheirCharacterIgnoringDecimals) {
  for (const fmtfn fn : {zfmdowname, zfmmonname}) {
    EXPECT_EQ(put(fn, valfmt::standard_missing(), 9).text, "        .");
    EXPECT_EQ(put(fn, valfmt::missing_value(0xFD), 4, 3).text, "   A");
    EXPECT_EQ(put(fn, valfmt::missing_value(0xFF), 1, 31).text, "_");
    EXPECT_EQ(put(fn, valfmt::missing_value(0x00), 3).text, "   ");
    EXPECT_EQ(put(fn, valfmt::missing_value(0xE4), 2).status, VF_OK);
  }
}

} // namespace
