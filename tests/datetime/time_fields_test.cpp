// HHMM, MMSS and HOUR: every width, the carry of a second field that
// rounds to 60, decimals that must fit the columns left, and output
// buffers smaller than the field.
#include <gtest/gtest.h>

#include <string>

#include "core/missing.h"
#include "datetime/time_reference.h"
#include "registry/functions.h"
#include "datetime/format_checks.h"
#include "support/call_runner.h"

namespace {

using timeref::right;
using vftest::put;

using dtcheck::text;

// The text after "prefix:" in w columns when the second field is `full`
// with d decimals, or, with fewer columns, `one` (one decimal) or `none`.
std::string two_field(int w, const std::string &prefix, const std::string &full,
                      const std::string &one, const std::string &none) {
  const int room = w - static_cast<int>(prefix.size()) - 1;
  if (w < static_cast<int>(prefix.size()))
    return std::string(static_cast<std::size_t>(w - 2), ' ') + "**";
  if (room <= 1) return right(prefix, w);
  const std::string &second = room >= static_cast<int>(full.size()) ? full
                              : room >= 4                           ? one
                                                                    : none;
  return right(prefix + ":" + second, w);
}

TEST(TimeFieldsEveryWidth, HoursAndMinutes) {
  for (int w = 2; w <= 20; ++w) {
    // 1 h 2 min 3 s: minutes 2.05; at d = 0 the 3 s do not round up.
    EXPECT_EQ(text(zfmhhmm, 3723, w), two_field(w, "1", "02", "02", "02"));
    EXPECT_EQ(text(zfmhhmm, 3723, w, 2),
              two_field(w, "1", "02.05", "02.1", "02"));
    EXPECT_EQ(text(zfmhhmm, -3723, w, 1),
              two_field(w, "-1", "02.1", "02.1", "02"));
    // 12:34:56: the 56 s round the minute up whenever no decimals show.
    EXPECT_EQ(text(zfmhhmm, 45296, w, 2),
              two_field(w, "12", "34.93", "34.9", "35"));
    // 100 hours and 10 s beyond a day: the first field counts on.
    EXPECT_EQ(text(zfmhhmm, 360010, w), two_field(w, "100", "00", "00", "00"));
  }
}

TEST(TimeFieldsEveryWidth, MinutesAndSeconds) {
  for (int w = 2; w <= 20; ++w) {
    EXPECT_EQ(text(zfmmmss, 3723, w), two_field(w, "62", "03", "03", "03"));
    EXPECT_EQ(text(zfmmmss, 3723.25, w, 2),
              two_field(w, "62", "03.25", "03.3", "03"));
    EXPECT_EQ(text(zfmmmss, 90061.5, w, 1),
              two_field(w, "1501", "01.5", "01.5", "02"));
    EXPECT_EQ(text(zfmmmss, -59.25, w, 1),
              two_field(w, "-0", "59.3", "59.3", "59"));
  }
}

TEST(TimeFieldsEveryWidth, HourAgreesWithFixedPoint) {
  // HOUR shows the hours as F does; at d = 0 the hour rounds half up.
  for (double v :
       {0.0, 1799.0, 1800.0, 5400.0, 3723.0, -7200.0, 90000.0, 360000.0, 1e9}) {
    const double a = v < 0 ? -v : v;
    for (int w = 2; w <= 20; ++w)
      for (int d = 0; d <= 6; ++d) {
        const double hours =
            d == 0 ? static_cast<double>(static_cast<int64_t>(a / 3600 + 0.5))
                   : a / 3600;
        EXPECT_EQ(text(zfmhour, v, w, d), put(zfmt, hours, w, d).text)
            << "HOUR" << w << "." << d << " of " << v;
      }
  }
}

TEST(TimeFieldsCarry, SecondFieldRoundingToSixty) {
  EXPECT_EQ(text(zfmhhmm, 3599.6, 5), " 1:00");
  EXPECT_EQ(text(zfmhhmm, 3599.9, 8, 2), " 1:00.00");
  // A carry that widens the first field leaves room for fewer decimals.
  EXPECT_EQ(text(zfmhhmm, 359999.9, 8, 2), "100:00.0");
  EXPECT_EQ(text(zfmmmss, 3599.996, 8, 2), "60:00.00");
  EXPECT_EQ(text(zfmmmss, 3599.6, 5), "60:00");
  EXPECT_EQ(text(zfmmmss, 3599.4, 5), "59:59");
  EXPECT_EQ(text(zfmmmss, 5999.7, 6, 2), "100:00");
}

// A buffer smaller than w: the layout fills the buffer, with
// VF_ERR_OUTSIZE, and nothing is written past it.
TEST(TimeFieldsOutsize, LaidOutInTheBuffer) {
  struct Case {
    fmtfn fn;
    double v;
    int w, d, outsize;
    const char *expect;
  } cases[] = {
      {zfmhhmm, 45296, 5, 0, 4, "  12"}, {zfmhhmm, 3723, 8, 2, 6, "1:02.1"},
      {zfmhhmm, 3723, 8, 2, 5, " 1:02"}, {zfmmmss, 3723, 5, 0, 3, " 62"},
      {zfmhhmm, 360000, 5, 0, 2, "**"},  {zfmhhmm, 3723, 5, 0, 1, "1"},
      {zfmmmss, 3723, 5, 0, 1, "*"},
  };
  for (const Case &c : cases) {
    const vftest::Run r = put(c.fn, c.v, c.w, c.d, c.outsize);
    EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
    EXPECT_EQ(r.outlen, c.outsize);
    EXPECT_EQ(r.text, c.expect) << c.v << " in " << c.outsize;
  }
  // The missing display, cut to the buffer.
  const vftest::Run m = put(zfmhhmm, valfmt::missing_value(0xFD), 6, 0, 4);
  EXPECT_EQ(m.status, VF_ERR_OUTSIZE);
  EXPECT_EQ(m.text, "    ");
}

} // namespace
