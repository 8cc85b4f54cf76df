// Bad input for every text date and time informat: long garbage, bytes
// above 0x7F, NUL bytes, inputs shorter than w or empty, widths outside the
// row, and a result buffer too small.  The runner fences the input before
// an unreadable page, so a read past valuelen faults.
#include <cmath>
#include <random>
#include <set>

#include "informats/date_helpers.h"
#include "registry/limits.h"

namespace {

using date_test::fails;
using namespace std::string_literals;
using date_test::kStandardMissing;
using date_test::kUnwritten;
using date_test::read;
using date_test::reads_date;

struct Reader {
  const char *row;
  fmtfn fn;
  int32_t maxw;
};

#define VF_READER(name, fn)                                                    \
  { name, fn, valfmt::row_limits(name).maxw }
const Reader kReaders[] = {
    VF_READER("@DATE", zifmdat),    VF_READER("@DATETIME", zifmdtm),
    VF_READER("@DDMMYY", zifmdmy),  VF_READER("@JULIAN", zifmjul),
    VF_READER("@MDYAMPM", zifmdya), VF_READER("@MMDDYY", zifmmdy),
    VF_READER("@MONYY", zifmmyy),   VF_READER("@NENGO", zifmnen),
    VF_READER("@TIME", zifmtim),    VF_READER("@YYMMDD", zifmymd),
    VF_READER("@YYQ", zifmyyq),     VF_READER("@MINGUO", zifmmng),
    VF_READER("@XYYMMDD", zifmxym), VF_READER("@YMDDTTM", ymddttm),
    VF_READER("@YYMMN", zifmymn),   VF_READER("@YYQZ", zifmyqz),
};
#undef VF_READER

// clang-format off
const std::set<int32_t> kReaderStatuses = {
    VF_OK, VF_ERR_DATE_TEXT, VF_ERR_DATE_NO_DIGIT, VF_ERR_DATE_DAY,
    VF_ERR_DATE_YEAR, VF_ERR_TIME_TEXT, VF_ERR_TIME_HOURS,
    VF_ERR_TIME_MINUTES_EMPTY, VF_ERR_TIME_MINUTES, VF_ERR_AMPM, VF_ERR_WIDTH};
// clang-format on

// Random texts: raw bytes, or bytes drawn from what dates are made of.
std::string random_text(std::mt19937 &rng, bool datelike, int32_t len) {
  static const char kParts[] = "0123456789:/-. JANFEBMARQqAPMHST\xE9\x80";
  std::string s;
  for (int32_t i = 0; i < len; ++i)
    s += datelike ? kParts[rng() % (sizeof kParts - 1)]
                  : static_cast<char>(rng() % 256);
  return s;
}

TEST(DateBadInput, RandomTextsGiveAReaderStatusAndADefinedResult) {
  std::mt19937 rng(20000);
  for (const Reader &r : kReaders) {
    for (int i = 0; i < 600; ++i) {
      const auto len = static_cast<int32_t>(rng() % 45);
      const std::string text = random_text(rng, i % 3 != 0, len);
      const auto w =
          static_cast<int32_t>(rng() % static_cast<uint32_t>(r.maxw + 1));
      const date_test::Read got = read(r.fn, text, w);
      ASSERT_EQ(got.outlen, 8) << r.row;
      ASSERT_TRUE(kReaderStatuses.count(got.status))
          << r.row << " " << date_test::hex(got.status);
      if (got.status == VF_OK) {
        ASSERT_NE(got.bits, kUnwritten) << r.row;
        ASSERT_FALSE(std::isnan(got.value()) && (got.bits >> 48) != 0xFFFF)
            << r.row;
      } else if (r.fn == zifmdtm && got.status == VF_ERR_TIME_TEXT) {
        ASSERT_EQ(got.bits >> 48, 0xFFFFu) << r.row; // a missing value
      } else {
        ASSERT_EQ(got.bits, kStandardMissing) << r.row << " " << text;
      }
    }
  }
}

TEST(DateBadInput, LongGarbageIsRejected) {
  const std::string garbage(32, '#');
  for (const Reader &r : kReaders) {
    const int32_t w = r.maxw < 32 ? r.maxw : 32;
    const date_test::Read got = read(r.fn, garbage, w);
    EXPECT_NE(got.status, VF_OK) << r.row;
  }
}

// Octal escapes: \240 is 0xA0, \311 0xC9, \267 0xB7, \304 0xC4.
TEST(DateBadInput, HighBytesAndNulBytesAreDelimitersNotLetters) {
  EXPECT_TRUE(reads_date(zifmmdy, "12\24031\24060", 1960, 12, 31));
  EXPECT_TRUE(reads_date(zifmdat, "01JAN\0001960"s, 1960, 1, 1));
  EXPECT_TRUE(fails(zifmdat, "01\311\311\31160", VF_ERR_DATE_DAY));
  EXPECT_TRUE(fails(zifmmyy, "\304JAN60", VF_ERR_DATE_TEXT));
  for (const std::string &t : {"12\26730"s, "12\00030"s})
    EXPECT_TRUE(fails(zifmtim, t, VF_ERR_TIME_TEXT));
  EXPECT_TRUE(fails(zifmjul, "1960\00001"s, VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmmdy, "12/31/60\000"s, VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmdtm, "01JAN1960:12\00000"s, VF_ERR_TIME_TEXT));
}

TEST(DateBadInput, InputShorterThanWidthOrEmpty) {
  EXPECT_TRUE(reads_date(zifmdat, "01JAN60", 1960, 1, 1, 32));
  EXPECT_TRUE(reads_date(zifmymd, "1960-01-01", 1960, 1, 1, 32));
  EXPECT_TRUE(fails(zifmtim, "12", VF_ERR_TIME_TEXT, 32));
  for (const Reader &r : kReaders) {
    EXPECT_TRUE(fails(r.fn, "", VF_OK, r.maxw)) << r.row;
    EXPECT_TRUE(fails(r.fn, "01JAN1960", VF_OK, 0)) << r.row;
  }
  // A value pointer with valuelen 0 reads nothing.
  const vftest::FencedBytes in("12/31/60");
  double out = 1;
  fmtcall c{};
  c.w = 8;
  c.value = in.data();
  c.valuelen = 0;
  c.out = &out;
  c.outsize = 8;
  EXPECT_EQ(zifmmdy(&c), VF_OK);
  EXPECT_EQ(std::bit_cast<uint64_t>(out), kStandardMissing);
}

TEST(DateBadInput, WidthsOutsideTheRowAndSmallBuffers) {
  for (const Reader &r : kReaders) {
    EXPECT_TRUE(fails(r.fn, "01JAN1960", VF_ERR_WD_LIMITS, r.maxw + 1))
        << r.row;
    EXPECT_TRUE(fails(r.fn, "01JAN1960", VF_ERR_WD_LIMITS, -5)) << r.row;
    const vftest::Run small = vftest::input(r.fn, "01JAN1960", 9, 0, 4);
    EXPECT_EQ(small.status, VF_ERR_OUTSIZE) << r.row;
    EXPECT_EQ(small.outlen, 0) << r.row;
    EXPECT_EQ(small.buffer, "####") << r.row;
    EXPECT_EQ(r.fn(nullptr), VF_ERR_BAD_CALL) << r.row;
  }
}

} // namespace
