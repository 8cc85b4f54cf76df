// The nine clock formats under hostile and unusual calls: missing values,
// values outside the datetime range, NaN patterns and infinities, widths
// outside the descriptor limits, buffers smaller than w, null pointers;
// and the caller's call block, which only outlen and outenc may change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/missing.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using vftest::put;

struct Format {
  const char *name;
  fmtfn fn;
  int minw, maxw, maxd;
  bool cut_to_buffer; // a smaller buffer gets a shorter text
};

const Format kFormats[] = {
    {"TIME", zfmtime, 2, 20, 19, false},
    {"TOD", zfmtod, 2, 20, 19, false},
    {"TIMEAMPM", zfmtimm, 2, 20, 19, false},
    {"HHMM", zfmhhmm, 2, 20, 19, true},
    {"MMSS", zfmmmss, 2, 20, 19, true},
    {"HOUR", zfmhour, 2, 20, 19, false},
    {"DATETIME", zfmdttm, 7, 40, 39, false},
    {"DATEAMPM", zfmdtmm, 7, 40, 39, false},
    {"MDYAMPM", zfmdyam, 8, 40, 39, true},
};

std::string stars(int n) {
  return std::string(static_cast<std::size_t>(n), '*');
}

TEST(TimeCalls, MissingValuesShowTheirCharacter) {
  for (const Format &f : kFormats)
    for (uint8_t code : {uint8_t{0xFE}, uint8_t{0xFD}, uint8_t{0xFF}})
      for (int d : {0, 3}) {
        const vftest::Run r =
            put(f.fn, valfmt::missing_value(code), f.minw + 2, d);
        EXPECT_EQ(r.status, VF_OK) << f.name;
        const char ch = code == 0xFE ? '.' : code == 0xFD ? 'A' : '_';
        EXPECT_EQ(r.text,
                  std::string(static_cast<std::size_t>(f.minw + 1), ' ') + ch)
            << f.name << " d=" << d;
      }
}

TEST(TimeCalls, OutOfRangeNanAndInfinity) {
  const double bad[] = {569318630400.0,
                        -11928470400.0 - 0.5,
                        1e20,
                        HUGE_VAL,
                        -HUGE_VAL,
                        std::numeric_limits<double>::quiet_NaN(),
                        std::bit_cast<double>(0xFFF8000000000001ull),
                        std::bit_cast<double>(0x7FF0000000000001ull),
                        std::bit_cast<double>(0xFFFFFE0000000001ull)};
  for (const Format &f : kFormats)
    for (double v : bad) {
      const vftest::Run r = put(f.fn, v, f.maxw, 2);
      EXPECT_EQ(r.status, VF_ERR_DATE_RANGE) << f.name << " " << v;
      EXPECT_EQ(r.text, stars(f.maxw)) << f.name;
    }
  // Both ends of the range are shown.
  for (const Format &f : kFormats) {
    EXPECT_EQ(put(f.fn, -11928470400.0, f.maxw).status, VF_OK) << f.name;
    EXPECT_EQ(put(f.fn, 569318630399.5, f.maxw).status, VF_OK) << f.name;
  }
  EXPECT_EQ(put(zfmdttm, -11928470400.0, 16).text, "01JAN82:00:00:00");
  EXPECT_EQ(put(zfmtime, -11928470400.0, 11).text, "-3313464:00");
}

TEST(TimeCalls, WidthsOutsideTheLimitsAndSmallBuffers) {
  for (const Format &f : kFormats) {
    for (int w : {f.minw - 1, f.maxw + 1, 0, -5}) {
      const vftest::Run r = put(f.fn, 3723, w, 0, 48);
      EXPECT_EQ(r.status, VF_ERR_WIDTH) << f.name << " w=" << w;
      EXPECT_EQ(r.text, stars(w > 0 ? w : 0)) << f.name;
    }
    const int w = f.minw + 9;
    for (int outsize : {w - 1, 1, 0}) {
      const vftest::Run r = put(f.fn, 3723, w, 0, outsize);
      EXPECT_EQ(r.status, VF_ERR_OUTSIZE) << f.name << " in " << outsize;
      EXPECT_EQ(r.outlen, outsize) << f.name;
      if (!f.cut_to_buffer) {
        EXPECT_EQ(r.text, stars(outsize)) << f.name;
      }
    }
  }
  // The cut forms: the first outsize characters (MDYAMPM), or the
  // layout of the smaller field (HHMM, MMSS; see the fields suite).
  EXPECT_EQ(put(zfmdyam, 48600, 19, 0, 12).text, "  1/1/1960  ");
}

TEST(TimeCalls, NullPointers) {
  for (const Format &f : kFormats) {
    EXPECT_EQ(f.fn(nullptr), VF_ERR_BAD_CALL) << f.name;
    char out[48];
    std::memset(out, '#', sizeof out);
    fmtcall c{};
    c.w = f.minw;
    c.out = out;
    c.outsize = sizeof out;
    EXPECT_EQ(f.fn(&c), VF_ERR_BAD_CALL) << f.name; // no value
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(c.outlen)),
              stars(f.minw));
    const double v = 0;
    c.value = &v;
    c.out = nullptr;
    EXPECT_EQ(f.fn(&c), VF_ERR_BAD_CALL) << f.name;
    EXPECT_EQ(c.outlen, 0);
  }
}

// Every format, every width, a few decimals and values: the call block
// comes back as it went in, apart from outlen and outenc, and the value
// is untouched.
TEST(TimeCalls, CallerBlockIsLeftAsItWas) {
  const double values[] = {
      0, 43199.5, 86399.6, -1, 1e9, -0.4, valfmt::standard_missing(), 1e300};
  for (const Format &f : kFormats)
    for (int w = f.minw; w <= f.maxw; w += 3)
      for (int d : {0, 1, 2, 7, f.maxd})
        for (double v : values) {
          double value = v;
          char out[64];
          fmtcall c{};
          c.w = w;
          c.d = d;
          c.value = &value;
          c.valuelen = 8;
          c.out = out;
          c.outsize = w + (w % 2);
          c.hostword = 0x1122334455667788ull;
          c.options = 0x5;
          c.localeid = 7;
          c.reqenc = VF_ENC_UCS2;
          c.outenc = 99;
          fmtcall before = c;
          f.fn(&c);
          EXPECT_EQ(c.outenc, VF_ENC_NARROW) << f.name;
          EXPECT_EQ(c.outlen, w) << f.name;
          before.outlen = c.outlen;
          before.outenc = c.outenc;
          ASSERT_EQ(std::memcmp(&before, &c, sizeof c), 0)
              << f.name << " " << w << "." << d << " of " << v;
          ASSERT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(v));
        }
}

} // namespace
