// Second look at the date layouts: the shared three-part layout routine
// used outside the formats' own width checks, and the wide year-month-day
// layout at its narrow widths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry/functions.h"
#include "core/missing.h"
#include "datetime/date_formats.h"
#include "valfmt.h"

namespace {

TEST(DatesReviewLayout, ThreePartRoutineAtAnyWidth) {
  char buf[48];
  // Nothing is written for a width of zero or below.
  for (int32_t w : {0, -1, -40}) {
    std::memset(buf, '#', sizeof buf);
    valfmt::write_three_part_date(buf, w, 4, 7, 2005, '/');
    EXPECT_EQ(std::string(buf, sizeof buf), std::string(sizeof buf, '#'))
        << "w=" << w;
  }
  // Narrow: the last w characters of the built text.
  std::memset(buf, '#', sizeof buf);
  valfmt::write_three_part_date(buf, 1, 4, 7, 5, '/');
  EXPECT_EQ(std::string(buf, 2), "4#");
  // Wider than any text: blanks on the left, exactly w bytes written.
  std::memset(buf, '#', sizeof buf);
  valfmt::write_three_part_date(buf, 40, 4, 7, 2005, '/');
  EXPECT_EQ(std::string(buf, 40), std::string(30, ' ') + "04/07/2005");
  EXPECT_EQ(buf[40], '#');
}

TEST(DatesReviewLayout, WideYearMonthDayAtNarrowWidths) {
  char out[16];
  double v = 0;
  fmtcall c{};
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  for (int32_t w : {6, 8, 10, 11}) {
    c.w = w;
    v = 6589336;
    EXPECT_EQ(zfmxymd(&c), VF_ERR_DATE_RANGE) << w;
    EXPECT_EQ(std::string(out, static_cast<size_t>(c.outlen)),
              std::string(static_cast<size_t>(w), '*'));
    v = valfmt::missing_value(0xFD); // .A
    c.d = 3;                         // decimals play no part
    EXPECT_EQ(zfmxymd(&c), VF_OK) << w;
    EXPECT_EQ(std::string(out, static_cast<size_t>(c.outlen)),
              std::string(static_cast<size_t>(w - 1), ' ') + "A");
    EXPECT_EQ(c.d, 3);
    c.d = 0;
  }
}

} // namespace
