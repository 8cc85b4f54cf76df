// Picture templates: numeric pictures and date, time and datetime
// directives, directly and through picture formats of a catalogue.
#include <gtest/gtest.h>

#include <cmath>

#include "core/missing.h"
#include "catalog_builder.h"
#include "userfmt/userfmt.h"
#include "userfmt/catalog.h"
#include "datetime/date_directives.h"

using namespace uftest;

namespace {

// A picture label record built in memory.
struct Pic {
  alignas(8) char bytes[512]{};
  Pic(const std::string &picture, char fill = ' ', double mult = 0,
      const std::string &prefix = "", int datatype = 0, int noedit = 0) {
    auto *l = reinterpret_cast<valfmt::picturelabel *>(bytes);
    l->type = valfmt::kLabelPicture;
    l->datatype = static_cast<uint8_t>(datatype);
    l->fill = static_cast<uint8_t>(fill);
    l->piclen = static_cast<int16_t>(picture.size());
    l->prefixoff = l->piclen;
    l->prefixlen = static_cast<int16_t>(prefix.size());
    l->langoff = static_cast<int16_t>(picture.size() + prefix.size());
    l->noedit = static_cast<uint8_t>(noedit);
    int digits = 0;
    for (char c : picture) digits += c >= '0' && c <= '9';
    l->ndigits = static_cast<int16_t>(digits);
    uint8_t b[8];
    std::memcpy(b, &mult, 8);
    for (int i = 0; i < 8; ++i) l->multrev[i] = b[7 - i];
    char *t = bytes + valfmt::kPictureText;
    std::memcpy(t, picture.data(), picture.size());
    std::memcpy(t + picture.size(), prefix.data(), prefix.size());
  }
  const valfmt::picturelabel *label() const {
    return reinterpret_cast<const valfmt::picturelabel *>(bytes);
  }
};

std::string render(const Pic &p, double v, int w, bool r = false) {
  std::string out(static_cast<size_t>(w) + 8, '#');
  valfmt::render_picture(v, w, out.data(), p.label(), r ? 1 : 0);
  EXPECT_EQ(out.substr(static_cast<size_t>(w)), "########") << "overrun";
  return out.substr(0, static_cast<size_t>(w));
}

TEST(UserfmtPicture, DigitSelectorsAndSignificance) {
  EXPECT_EQ(render(Pic("009.99", ' ', 100), 1.5, 6), "  1.50");
  EXPECT_EQ(render(Pic("000,009"), 1234, 7), "  1,234");
  EXPECT_EQ(render(Pic("000,009"), 5, 7), "      5");
  EXPECT_EQ(render(Pic("999"), 4, 3), "004");
  EXPECT_EQ(render(Pic("009"), 0, 3), "  0");
  EXPECT_EQ(render(Pic("000"), 0, 3), "   ");
  // The sign is dropped: negative values take their range's prefix.
  EXPECT_EQ(render(Pic("009"), -42, 3), " 42");
  // Only the last k digits of the value are used.
  EXPECT_EQ(render(Pic("09"), 12345, 2), "45");
}

TEST(UserfmtPicture, RoundingFlag) {
  EXPECT_EQ(render(Pic("9"), 2.5, 1, true), "3");
  EXPECT_EQ(render(Pic("9"), 2.5, 1, false), "2");
  EXPECT_EQ(render(Pic("9"), 2.4999, 1, true), "2");
  // 1e-07 is added before truncation.
  EXPECT_EQ(render(Pic("9"), 2.99999999, 1), "3");
}

TEST(UserfmtPicture, FillAndFieldWidth) {
  // Before significance every position shows the fill character, and one
  // more fill character stands left of the used part in a wider field.
  EXPECT_EQ(render(Pic("000,009", '*'), 5, 7), "******5");
  EXPECT_EQ(render(Pic("000,009", '*'), 5, 9), " *******5");
  EXPECT_EQ(render(Pic("009.99", ' ', 100), 1.5, 9), "     1.50");
  // A field narrower than the picture keeps its right end.
  EXPECT_EQ(render(Pic("000,009"), 1234, 4), ",234");
}

TEST(UserfmtPicture, Prefix) {
  EXPECT_EQ(render(Pic("009.99", ' ', 100, "-"), -1.5, 8), "   -1.50");
  EXPECT_EQ(render(Pic("000,009", ' ', 0, "$"), 1234, 8), "  $1,234");
  EXPECT_EQ(render(Pic("000,009", ' ', 0, "$"), 1234, 9), "   $1,234");
  // A prefix longer than the blanks before the digits runs left of the
  // picture.
  EXPECT_EQ(render(Pic("99", ' ', 0, "EUR "), 7, 8), "  EUR 07");
  // With a fill character the prefix replaces fill positions.
  EXPECT_EQ(render(Pic("00009", '*', 0, "$"), 42, 7), " ***$42");
  // Nothing significant and a blank fill: no prefix.
  EXPECT_EQ(render(Pic("000", ' ', 0, "$"), 0, 5), "     ");
  // Nothing significant and a fill: the prefix ends the picture.
  EXPECT_EQ(render(Pic("000", '*', 0, "$"), 0, 5), " ***$");
}

TEST(UserfmtPicture, NoeditAndPicturesWithoutDigits) {
  EXPECT_EQ(render(Pic("N/A"), 12, 5), "  N/A");
  EXPECT_EQ(render(Pic("009", ' ', 0, "", 0, 1), 12, 5), "  009");
  // The first w characters when the picture is wider.
  EXPECT_EQ(render(Pic("ABCDEF"), 1, 4), "ABCD");
}

TEST(UserfmtPicture, FallbacksToFixedPoint) {
  // Missing values go to the fixed renderer: the code in the last column.
  EXPECT_EQ(render(Pic("009.99"), valfmt::standard_missing(), 6), "     .");
  EXPECT_EQ(render(Pic("009.99"), ZMISSV(2), 3), "  A");
  // 16 digits do not hold 1e16 or more.
  EXPECT_EQ(render(Pic("0000000000000009"), 1e16, 18), " 10000000000000000");
  EXPECT_EQ(render(Pic("0000000000000009"), 9999999999999998.0, 16),
            "9999999999999998");
  EXPECT_EQ(render(Pic("09"), 3e20, 6), "  3E20");
  EXPECT_EQ(render(Pic("09"), 1e20, 40),
            std::string(19, ' ') + "100000000000000000000");
  // A NaN that is not a missing value does not reach the digits.
  const std::string nan = render(Pic("09"), std::nan(""), 4);
  EXPECT_EQ(nan.size(), 4u);
}

std::string date(double v, const std::string &pic, int w, int datatype = 1) {
  return render(Pic(pic, ' ', 0, "", datatype), v, w);
}

TEST(UserfmtPicture, DateDirectives) {
  EXPECT_EQ(date(0, "%Y-%0m-%0d", 10), "1960-01-01");
  EXPECT_EQ(date(0, "%d/%m", 5), "  1/1");
  EXPECT_EQ(date(0, "%b", 3), "JAN");
  EXPECT_EQ(date(0, "%B", 7), "January");
  EXPECT_EQ(date(0, "%a", 3), "Fri");
  EXPECT_EQ(date(0, "%A", 6), "Friday");
  EXPECT_EQ(date(0, "%w", 1), "6");
  EXPECT_EQ(date(0, "%0w", 2), "06");
  EXPECT_EQ(date(0, "%q", 1), "1");
  EXPECT_EQ(date(0, "%y", 2), "60");
  EXPECT_EQ(date(0, "%j", 1), "1");
  EXPECT_EQ(date(0, "%0j", 3), "001");
  EXPECT_EQ(date(0, "100%%", 4), "100%");
  // 2000-12-31: day 366 of a leap year, a Sunday, quarter 4.
  const double d = 14975;
  EXPECT_EQ(date(d, "%Y%m%d %j %q %a", 18), "20001231 366 4 Sun");
  EXPECT_EQ(date(d, "%0y", 2), "00");
  EXPECT_EQ(date(d, "%y", 2), " 0");
  // Weeks start on Sunday; days before the first Sunday are week 0.
  EXPECT_EQ(date(0, "%U", 2), " 0");  // Friday 1 January 1960
  EXPECT_EQ(date(2, "%0U", 2), "01"); // Sunday 3 January 1960
  EXPECT_EQ(date(d, "%U", 2), "53");
  // A five-digit year.
  EXPECT_EQ(date(6589335, "%Y/%m/%d", 11), "20000/12/31");
  // Unknown directives and a final lone percent produce nothing.
  EXPECT_EQ(date(0, "%k%Y%", 6), "  1960");
  // Output is right-aligned and cut to w.
  EXPECT_EQ(date(0, "%A %B", 9), "Friday Ja");
}

TEST(UserfmtPicture, TimeAndDatetimeDirectives) {
  EXPECT_EQ(date(3600, "%0H:%0M", 5, 2), "01:00");
  EXPECT_EQ(date(valfmt::standard_missing(), "%0H:%0M", 5, 2), "ERROR");
  EXPECT_EQ(date(valfmt::standard_missing(), "%0H:%0M", 8, 2), "   ERROR");
  EXPECT_EQ(date(valfmt::standard_missing(), "%0H", 3, 2), "ERR");
  EXPECT_EQ(date(valfmt::standard_missing(), "%Y", 6, 1), " ERROR");
  const double t = 13 * 3600 + 5 * 60 + 9.75;
  EXPECT_EQ(date(t, "%H %I %M %S %p", 11, 2), "13 1 5 9 PM");
  EXPECT_EQ(date(t, "%0I:%0M:%0S", 8, 2), "01:05:09");
  EXPECT_EQ(date(0, "%I %p", 4, 2), "0 AM");
  EXPECT_EQ(date(12 * 3600, "%I %p", 5, 2), "12 PM");
  // A time picture has no date: date directives produce nothing.
  EXPECT_EQ(date(3600, "%Y%H", 2, 2), " 1");
  const double dt = 14975.0 * 86400 + 23 * 3600 + 59 * 60 + 58;
  EXPECT_EQ(date(dt, "%Y-%0m-%0d %0H:%0M:%0S", 19, 3), "2000-12-31 23:59:58");
  EXPECT_EQ(date(valfmt::standard_missing(), "%Y", 5, 3), "ERROR");
  // Out of the calendar's range.
  EXPECT_EQ(date(1e12, "%Y", 5, 1), "ERROR");
}

TEST(UserfmtPicture, Getname) {
  EXPECT_EQ(valfmt::date_name(4, 'A'), "Wednesday");
  EXPECT_EQ(valfmt::date_name(4, 'a'), "Wed");
  EXPECT_EQ(valfmt::date_name(9, 'B'), "September");
  EXPECT_EQ(valfmt::date_name(9, 'b'), "Sep");
  EXPECT_EQ(valfmt::date_name(13, 'B'), "");
  EXPECT_EQ(valfmt::date_name(1, 'x'), "");
}

TEST(UserfmtPicture, PictureFormatsFromACatalogue) {
  Row neg = nrange("AMT", "", "0", "000,009.99");
  neg.type = "P";
  neg.hlo = "L";
  neg.eexcl = "Y";
  neg.prefix = "-";
  neg.mult = "100";
  Row pos = nrange("AMT", "0", "", "000,009.99");
  pos.type = "P";
  pos.hlo = "H";
  pos.mult = "100";
  Row day = nrange("EUDAY", "", "", "%0d.%0m.%Y");
  day.type = "P";
  day.hlo = "LH";
  day.datatype = "DATE";
  Handle amt(catalog({neg, pos, day}), "AMT");
  ASSERT_EQ(amt.rc, 0);
  Out o = put_number(amt.h, 1234.5, 10, 0, VF_ENC_NARROW);
  EXPECT_EQ(o.enc, VF_ENC_NARROW);
  EXPECT_EQ(o.bytes, "  1,234.50");
  EXPECT_EQ(put_number(amt.h, -0.25, 10, 0, VF_ENC_NARROW).bytes, "     -0.25");
  // A picture result is widened for a 16-bit caller.
  EXPECT_EQ(units(put_number(amt.h, 7, 6)), u"  7.00");
  // Narrower outsize: the rightmost positions.
  EXPECT_EQ(put_number(amt.h, 1234.5, 10, 0, VF_ENC_NARROW, 6).bytes, "234.50");
  Handle day_h(catalog({neg, pos, day}), "EUDAY");
  ASSERT_EQ(day_h.rc, 0);
  EXPECT_EQ(put_number(day_h.h, 14975, 10, 0, VF_ENC_NARROW).bytes,
            "31.12.2000");
}

} // namespace
