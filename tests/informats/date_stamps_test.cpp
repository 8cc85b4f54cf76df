// Time stamp readers: clock values, timer units, packed times, dates and
// durations, with bad signs, bad digits, zero stamps and short inputs.
#include <cmath>
#include <random>

#include "informats/date_helpers.h"

namespace {

using date_test::day_of;
using date_test::fails;
using date_test::reads;

std::string bytes(std::initializer_list<unsigned> b) {
  std::string s;
  for (unsigned x : b) s += static_cast<char>(x);
  return s;
}

// The eight big-endian bytes of a clock counting `micros` microseconds
// from 1900-01-01 (bit 51 is one microsecond).
std::string clock_bytes(uint64_t micros) {
  const uint64_t v = micros << 12;
  std::string s;
  for (int i = 7; i >= 0; --i) s += static_cast<char>(v >> (8 * i));
  return s;
}

constexpr uint64_t kMicrosTo1960 = 21914ull * 86400 * 1000000;

TEST(TodstampInformat, ClockValuesAsDatetimes) {
  EXPECT_TRUE(fails(zifmtod, std::string(8, '\0'), VF_OK));
  EXPECT_TRUE(reads(zifmtod, clock_bytes(kMicrosTo1960), 0));
  const auto y2k = static_cast<uint64_t>(day_of(2000, 1, 1)) * 86400;
  EXPECT_TRUE(reads(zifmtod,
                    clock_bytes(kMicrosTo1960 + y2k * 1000000 + 500000),
                    static_cast<double>(y2k) + 0.5));
  // A shorter field is the high-order part of the clock.
  const std::string full = clock_bytes(kMicrosTo1960 + 123456789);
  const uint64_t high = (uint64_t{static_cast<unsigned char>(full[0])} << 24 |
                         uint64_t{static_cast<unsigned char>(full[1])} << 16 |
                         uint64_t{static_cast<unsigned char>(full[2])} << 8 |
                         uint64_t{static_cast<unsigned char>(full[3])})
                        << 20;
  EXPECT_TRUE(reads(zifmtod, full.substr(0, 4),
                    static_cast<double>(high) / 1e6 - 1893369600.0));
}

TEST(MsecInformat, TimeOfDayUpToOneDay) {
  EXPECT_TRUE(reads(zifmmse, clock_bytes(0), 0));
  EXPECT_TRUE(reads(zifmmse, clock_bytes(3600000000ull), 3600));
  EXPECT_TRUE(reads(zifmmse, clock_bytes(86399999999ull), 86399.999999));
  EXPECT_TRUE(fails(zifmmse, clock_bytes(86400000000ull), VF_ERR_TIME_TEXT));
  EXPECT_TRUE(fails(zifmmse, clock_bytes(kMicrosTo1960), VF_ERR_TIME_TEXT));
}

TEST(TuInformat, TimerUnits) {
  EXPECT_TRUE(reads(zifmtu, bytes({0, 0, 0x96, 0}), 1));
  EXPECT_TRUE(
      reads(zifmtu, bytes({0xFF, 0xFF, 0xFF, 0xFF}), 4294967295.0 / 38400.0));
}

TEST(PackedTimeInformats, SignsDigitsAndDurations) {
  for (unsigned sign : {0x6Fu, 0x6Cu, 0x6Du, 0x6Bu}) // D and B are minus
    EXPECT_TRUE(reads(zifmpdt, bytes({0x01, 0x23, 0x45, sign}),
                      sign == 0x6D || sign == 0x6B ? -45296 : 45296));
  EXPECT_TRUE(
      reads(zifmpdt, bytes({0x00, 0x99, 0x99, 0x9F}), 9 * 3600 + 99 * 60 + 99));
  for (unsigned last : {0x69u, 0x60u, 0xAFu, 0xFCu})
    EXPECT_TRUE(fails(zifmpdt, bytes({0x01, 0x23, 0x45, last}), VF_OK));
  EXPECT_TRUE(fails(zifmpdt, bytes({0x0A, 0x23, 0x45, 0x6F}), VF_OK));
  EXPECT_TRUE(fails(zifmpdt, bytes({0x01, 0xF3, 0x45, 0x6F}), VF_OK));

  EXPECT_TRUE(reads(zifmrmd, bytes({0x01, 0x23, 0x45, 0x6F}), 60 + 23.456));
  EXPECT_TRUE(reads(zifmrmd, bytes({0x01, 0x23, 0x45, 0x6D}), -(60 + 23.456)));
  EXPECT_TRUE(
      reads(zifmrmd, bytes({0x99, 0x99, 0x99, 0x9C}), 99 * 60 + 99.999));
  EXPECT_TRUE(fails(zifmrmd, bytes({0x01, 0x23, 0x45, 0x67}), VF_OK));
}

const std::string kNoon = bytes({0x00, 0x41, 0xEB, 0x00}); // 4320000 / 100
const std::string kDay0 = bytes({0x00, 0x60, 0x00, 0x1F}); // 1960001

TEST(SmfstampInformat, HundredthsAndPackedDate) {
  EXPECT_TRUE(reads(zifmsms, kNoon + kDay0, 43200));
  EXPECT_TRUE(reads(zifmsms,
                    bytes({0, 0, 0, 1}) + bytes({0x01, 0x00, 0x36, 0x5C}),
                    static_cast<double>(day_of(2000, 12, 30)) * 86400 + 0.01));
  EXPECT_TRUE(fails(zifmsms, std::string(8, '\0'), VF_OK));
  EXPECT_TRUE(fails(zifmsms, bytes({0, 0, 0, 0, 0, 0, 0, 0x0F}), VF_OK));
  EXPECT_TRUE(fails(zifmsms, kNoon + bytes({0, 0, 0, 0x0F}), VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmsms, kNoon + bytes({0x00, 0x60, 0x00, 0x12}),
                    VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmsms, kNoon + bytes({0x00, 0x60, 0x00, 0xAF}),
                    VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmsms, kNoon + bytes({0x00, 0x6A, 0x00, 0x1F}),
                    VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmsms, kNoon + bytes({0x00, 0x60, 0x36, 0x7F}),
                    VF_ERR_DATE_TEXT)); // day 367
}

TEST(RmfstampInformat, PackedTimeThenPackedDate) {
  EXPECT_TRUE(reads(zifmrms,
                    bytes({0x01, 0x23, 0x45, 0x6F, 0x01, 0x19, 0x36, 0x5F}),
                    static_cast<double>(day_of(2019, 12, 31)) * 86400 + 45296));
  // An invalid time gives the standard missing value, not a sum.
  EXPECT_TRUE(fails(zifmrms, bytes({0x01, 0x23, 0x45, 0x69}) + kDay0, VF_OK));
  EXPECT_TRUE(fails(zifmrms, bytes({0x01, 0x23, 0x45, 0x6F, 0, 0, 0, 0x0F}),
                    VF_ERR_DATE_TEXT));
  EXPECT_TRUE(fails(zifmrms,
                    bytes({0x01, 0x23, 0x45, 0x6F, 0x00, 0x60, 0x00, 0x18}),
                    VF_ERR_DATE_TEXT));
}

TEST(ShrstampInformat, PackedDateThenHundredths) {
  EXPECT_TRUE(reads(zifmshr, kDay0 + bytes({0x12, 0x00, 0x00, 0x00}), 43200));
  EXPECT_TRUE(reads(zifmshr, kDay0 + bytes({0x23, 0x59, 0x59, 0x99}),
                    23 * 3600 + 59 * 60 + 59 + 9 / 10.0 + 9 / 100.0));
  EXPECT_TRUE(fails(zifmshr, kDay0 + bytes({0x12, 0x00, 0x00, 0x0A}), VF_OK));
  EXPECT_TRUE(fails(zifmshr, kDay0 + bytes({0x12, 0x00, 0x00, 0xA0}), VF_OK));
  EXPECT_TRUE(fails(zifmshr, kDay0 + bytes({0x1B, 0x00, 0x00, 0x00}), VF_OK));
  EXPECT_TRUE(fails(zifmshr, bytes({0x00, 0x60, 0x00, 0x10}) + kNoon,
                    VF_ERR_DATE_TEXT));
}

TEST(TimeStampInformats, WidthsAndShortInput) {
  EXPECT_TRUE(fails(zifmtu, bytes({0, 0, 0x96}), VF_ERR_WD_LIMITS));
  EXPECT_TRUE(fails(zifmtu, bytes({0, 0, 0x96}), VF_ERR_WIDTH, 4));
  EXPECT_TRUE(fails(zifmsms, kNoon, VF_ERR_WIDTH, 8));
  EXPECT_TRUE(fails(zifmtod, "", VF_ERR_WD_LIMITS));
  EXPECT_TRUE(fails(zifmtod, std::string(9, '\x01'), VF_ERR_WD_LIMITS));
  EXPECT_TRUE(fails(zifmtod, "", VF_ERR_WIDTH, 8));
  EXPECT_TRUE(fails(zifmpdt, std::string(8, '\x01'), VF_ERR_WD_LIMITS));
}

// Any eight bytes give one of the stamp statuses, and every failure the
// standard missing value.
TEST(TimeStampInformats, RandomBytesGiveADefinedResult) {
  const fmtfn stamps[] = {zifmtod, zifmmse, zifmtu,  zifmpdt,
                          zifmrmd, zifmsms, zifmrms, zifmshr};
  const int32_t widths[] = {8, 8, 4, 4, 4, 8, 8, 8};
  std::mt19937 rng(1900);
  for (int k = 0; k < 8; ++k) {
    for (int i = 0; i < 2000; ++i) {
      std::string b(8, '\0');
      for (char &c : b) c = static_cast<char>(rng() % (i % 2 ? 256 : 0x9A));
      const date_test::Read r = date_test::read(stamps[k], b, widths[k]);
      ASSERT_TRUE(r.status == VF_OK || r.status == VF_ERR_DATE_TEXT ||
                  r.status == VF_ERR_TIME_TEXT)
          << k << " " << date_test::hex(r.status);
      if (r.status != VF_OK)
        ASSERT_EQ(r.bits, date_test::kStandardMissing) << k;
      else
        ASSERT_TRUE(r.bits == date_test::kStandardMissing ||
                    !std::isnan(r.value()))
            << k;
    }
  }
}

} // namespace
