// Picture templates: numeric pictures rendered directly, the date directive
// engine, and picture formats of a catalogue end to end.
#include <gtest/gtest.h>

#include <cmath>

#include "catalog_builder.h"
#include "core/missing.h"
#include "datetime/date_directives.h"
#include "userfmt/userfmt.h"

using namespace uftest;

namespace {

// A picture label record built in memory.
struct Pic {
  alignas(8) char bytes[512]{};
  Pic(const std::string &picture, char fill = ' ', double mult = 0,
      const std::string &prefix = "", int noedit = 0) {
    auto *l = reinterpret_cast<valfmt::picturelabel *>(bytes);
    l->type = valfmt::kLabelPicture;
    l->fill = static_cast<uint8_t>(fill);
    l->piclen = static_cast<int16_t>(picture.size());
    l->prefixoff = l->piclen;
    l->prefixlen = static_cast<int16_t>(prefix.size());
    l->noedit = static_cast<uint8_t>(noedit);
    l->ndigits = static_cast<int16_t>(
        std::count_if(picture.begin(), picture.end(),
                      [](char c) { return c >= '0' && c <= '9'; }));
    uint8_t b[8];
    std::memcpy(b, &mult, 8);
    for (int i = 0; i < 8; ++i) l->multrev[i] = b[7 - i];
    std::memcpy(bytes + valfmt::kPictureText, (picture + prefix).data(),
                picture.size() + prefix.size());
  }
};

// Exactly w bytes are written, never more.  *fits receives what
// render_picture answers.
std::string render(const Pic &p, double v, int w, bool round = false,
                   bool *fits = nullptr) {
  std::string out(static_cast<size_t>(w) + 8, '#');
  const bool ok = valfmt::render_picture(
      v, w, out.data(), reinterpret_cast<const valfmt::picturelabel *>(p.bytes),
      round ? 1 : 0);
  if (fits != nullptr) *fits = ok;
  EXPECT_EQ(out.substr(static_cast<size_t>(w)), "########") << "overrun";
  return out.substr(0, static_cast<size_t>(w));
}

TEST(UserfmtPicture, NumericPictures) {
  const struct {
    Pic pic;
    double value;
    int w;
    const char *out;
  } cases[] = {
      // Digit selectors and significance.
      {Pic("009.99", ' ', 100), 1.5, 6, "  1.50"},
      {Pic("000,009"), 1234, 7, "  1,234"},
      {Pic("999"), 4, 3, "004"},
      {Pic("000"), 0, 3, "   "},
      {Pic("009"), -42, 3, " 42"},    // the sign comes from the prefix
      {Pic("9"), 2.99999999, 1, "3"}, // 1e-07 added before truncation
      // Fill characters and field width.
      {Pic("000,009", '*'), 5, 7, "******5"},
      {Pic("000,009", '*'), 5, 9, " *******5"},
      {Pic("000,009"), 1234, 4, ",234"},
      // Prefixes.
      {Pic("009.99", ' ', 100, "-"), -1.5, 8, "   -1.50"},
      {Pic("99", ' ', 0, "EUR "), 7, 8, "  EUR 07"},
      {Pic("00009", '*', 0, "$"), 42, 7, " ***$42"},
      {Pic("000", '*', 0, "$"), 0, 5, " ***$"},
      // The picture text itself.
      {Pic("N/A"), 12, 5, "  N/A"},
      {Pic("009", ' ', 0, "", 1), 12, 5, "  009"},
      // Fixed-point fallbacks: missing values and 16 digits exceeded.
      {Pic("009.99"), valfmt::standard_missing(), 6, "     ."},
      {Pic("009.99"), ZMISSV(2), 3, "  A"},
      {Pic("0000000000000009"), 1e16, 18, " 10000000000000000"},
      {Pic("09"), 3e20, 6, "  3E20"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(render(c.pic, c.value, c.w), c.out) << c.value << " " << c.w;
  EXPECT_EQ(render(Pic("09"), 1e20, 40),
            std::string(19, ' ') + "100000000000000000000");
  EXPECT_EQ(render(Pic("9"), 2.5, 1, true), "3");
  EXPECT_EQ(render(Pic("9"), 2.4999, 1, true), "2");
  EXPECT_EQ(render(Pic("09"), std::nan(""), 4).size(), 4u);
}

// A value with more digits than the picture has digit positions is never
// cut to its last digits: the field is asterisks and the call says so.
TEST(UserfmtPicture, TooManyDigitsForThePicture) {
  const struct {
    Pic pic;
    double value;
    int w;
    const char *out; // nullptr: w asterisks
  } cases[] = {
      {Pic("999"), 999, 3, "999"}, // three digits fill three positions
      {Pic("999"), 1000, 3, nullptr},
      {Pic("09"), 12345, 2, nullptr},
      {Pic("09"), 12345, 6, nullptr}, // the whole field, not the picture
      // MULT counts: 999.99 is 99999 hundredths, 1000 is 100000.
      {Pic("009.99", ' ', 100), 999.99, 6, "999.99"},
      {Pic("009.99", ' ', 100), 1000, 6, nullptr},
      {Pic("009.99", ' ', 100, "-"), -1000, 8, nullptr},
      // Rounding up under the R flag can need one more digit.
      {Pic("99"), 99.4, 2, "99"},
      // Eleven positions hold at most 999,999,999.99.
      {Pic("000,000,009.99", ' ', 100), 123456789.5, 15, " 123,456,789.50"},
      {Pic("000,000,009.99", ' ', 100), 1e9, 15, nullptr},
      {Pic("000,000,009.99", ' ', 100), 1e12, 15, nullptr},
  };
  for (const auto &c : cases) {
    bool fits = true;
    const std::string got = render(c.pic, c.value, c.w, false, &fits);
    if (c.out == nullptr) {
      EXPECT_EQ(got, std::string(static_cast<size_t>(c.w), '*')) << c.value;
      EXPECT_FALSE(fits) << c.value;
    } else {
      EXPECT_EQ(got, c.out) << c.value;
      EXPECT_TRUE(fits) << c.value;
    }
  }
  bool fits = true;
  EXPECT_EQ(render(Pic("99"), 99.5, 2, true, &fits), "**");
  EXPECT_FALSE(fits) << "99.5 rounds to 100 under the R flag";
  // Beyond 16 digits the fixed-point fallback stays, and is no failure.
  EXPECT_EQ(render(Pic("09"), 3e20, 6, false, &fits), "  3E20");
  EXPECT_TRUE(fits);
}

std::string expand(double v, valfmt::DateKind kind, const std::string &pic,
                   int size = 40) {
  std::string out(static_cast<size_t>(size) + 8, '#');
  const int32_t n = valfmt::expand_date_directives(
      v, kind, pic.data(), static_cast<int32_t>(pic.size()), out.data(), size);
  EXPECT_EQ(out.substr(static_cast<size_t>(size)), "########") << "overrun";
  EXPECT_TRUE(n >= 0 && n <= size);
  return out.substr(0, static_cast<size_t>(n));
}

TEST(UserfmtPicture, DateDirectives) {
  using valfmt::DateKind;
  const DateKind d = DateKind::kDate;
  const struct {
    double value;
    const char *pic;
    const char *out;
  } dates[] = {
      {0, "%Y-%0m-%0d", "1960-01-01"},
      {0, "%w %0w %q %y %j %0j", "6 06 1 60 1 001"},
      // 2000-12-31: day 366 of a leap year, a Sunday, quarter 4.
      {14975, "%Y%m%d %j %q %a %0y %y", "20001231 366 4 Sun 00 0"},
      // Weeks start on Sunday; days before the first Sunday are week 0.
      {2, "%0U", "01"},
      {14975, "%U", "53"},
      {-138061, "%Y-%m-%d %a", "1582-1-1 Fri"},
      {6589335, "%Y/%m/%d", "20000/12/31"},
      // Unknown letters, a final lone percent or zero flag: nothing.
      {0, "%k%Y%", "1960"},
      // Time directives in a date produce nothing.
      {0, "%H%M%S%p%Y", "1960"},
  };
  for (const auto &c : dates)
    EXPECT_EQ(expand(c.value, d, c.pic), c.out) << c.pic;
  EXPECT_EQ(expand(0, d, "%A %B", 9), "Friday Ja"); // cut to size
  for (double bad :
       {valfmt::standard_missing(), -138062.0, 6589336.0, 1e12, std::nan("")})
    EXPECT_EQ(expand(bad, d, "%Y"), "ERROR") << bad;
  EXPECT_EQ(expand(valfmt::standard_missing(), d, "%Y", 3), "ERR");
}

TEST(UserfmtPicture, TimeAndDatetimeDirectives) {
  using valfmt::DateKind;
  const double t = 13 * 3600 + 5 * 60 + 9.75;
  EXPECT_EQ(expand(3600, DateKind::kTime, "%0H:%0M"), "01:00");
  EXPECT_EQ(expand(t, DateKind::kTime, "%H %I %M %S %p"), "13 1 5 9 PM");
  EXPECT_EQ(expand(t, DateKind::kTime, "%0I:%0M:%0S"), "01:05:09");
  EXPECT_EQ(expand(12 * 3600, DateKind::kTime, "%I %p"), "12 PM");
  EXPECT_EQ(expand(-1, DateKind::kTime, "%0H:%0M:%0S"), "23:59:59");
  EXPECT_EQ(expand(3600, DateKind::kTime, "%Y%H"), "1"); // no date part
  const double dt = 14975.0 * 86400 + 23 * 3600 + 59 * 60 + 58;
  EXPECT_EQ(expand(dt, DateKind::kDatetime, "%Y-%0m-%0d %0H:%0M:%0S"),
            "2000-12-31 23:59:58");
  // Before 1960 the day is the floor: one second before midnight.
  EXPECT_EQ(expand(-1, DateKind::kDatetime, "%Y-%m-%d %H:%M:%S"),
            "1959-12-31 23:59:59");
  EXPECT_EQ(expand(6e11, DateKind::kDatetime, "%Y"), "ERROR");
  // A kind without parts copies text and percent signs only.
  EXPECT_EQ(expand(0, DateKind::kNone, "a%Y%%%Hb"), "a%b");
}

TEST(UserfmtPicture, PictureFormatsFromACatalogue) {
  Row neg = picture("AMT", "", "0", "000,009.99", "L");
  neg.eexcl = "Y";
  neg.prefix = "-";
  neg.mult = "100";
  Row pos = picture("AMT", "0", "", "000,009.99", "H");
  pos.mult = "100";
  Row day = picture("EUDAY", "", "", "%0d.%0m.%Y", "LH");
  day.datatype = "DATE";
  Row clock = picture("CLOCK", "", "", "%0H:%0M", "LH");
  clock.datatype = "TIME";
  const std::string text = catalog({neg, pos, day, clock});
  Handle amt(text, "AMT");
  ASSERT_EQ(amt.rc, 0);
  EXPECT_EQ(narrow(amt.h, 1234.5, 10), "  1,234.50");
  EXPECT_EQ(narrow(amt.h, -0.25, 10), "     -0.25");
  EXPECT_EQ(wide(amt.h, 7, 6), u"  7.00"); // widened for a 16-bit caller
  EXPECT_EQ(narrow(amt.h, 1234.5, 10, 6), "234.50"); // rightmost positions
  // Eight digit positions cannot hold 1e6 (1e8 hundredths): asterisks and
  // the status of a value that does not fit, for narrow and wide callers.
  for (const uint32_t enc : {VF_ENC_NARROW, VF_ENC_UCS2}) {
    const vftest::Run r = number(amt.h, 1e6, 10, enc);
    EXPECT_EQ(r.status, VF_NO_FIT);
    EXPECT_EQ(r.text, "**********");
    EXPECT_EQ(number(amt.h, -1e6, 10, enc).text, "**********");
  }
  EXPECT_EQ(number(amt.h, 999999.99, 10, VF_ENC_NARROW).text, "999,999.99");
  Handle eu(text, "EUDAY");
  ASSERT_EQ(eu.rc, 0);
  EXPECT_EQ(narrow(eu.h, 14975, 12), "  31.12.2000");
  EXPECT_EQ(narrow(eu.h, 1e12, 8), "   ERROR");
  // Missing values are shown as missing before any picture is tried.
  EXPECT_EQ(narrow(eu.h, valfmt::standard_missing(), 8), "       .");
  Handle ck(text, "CLOCK");
  ASSERT_EQ(ck.rc, 0);
  EXPECT_EQ(narrow(ck.h, 3600, 5), "01:00");
  EXPECT_EQ(narrow(ck.h, 1e12, 3), "ERR");
}

} // namespace
