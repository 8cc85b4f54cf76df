// The clock, word, name and era formats under hostile calls: missing,
// out-of-range and non-numeric values, bad widths, small buffers, null
// pointers, and the caller's block left as it was.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/missing.h"
#include "datetime/format_checks.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using dtcheck::stars;
using vftest::put;

enum class Kind { kTime, kDate };
enum class Short { kStars, kCut, kWarn }; // a buffer smaller than w

struct Format {
  const char *name;
  fmtfn fn;
  int minw, maxw, defw, maxd;
  Kind kind;       // which range the value is checked against
  int32_t range;   // status of a value out of range
  int32_t missing; // status of a missing value
  Short small;
};

constexpr int32_t kRange = VF_ERR_DATE_RANGE;
const Format kFormats[] = {
    {"TIME", zfmtime, 2, 20, 8, 19, Kind::kTime, kRange, 0, Short::kStars},
    {"TOD", zfmtod, 2, 20, 8, 19, Kind::kTime, kRange, 0, Short::kStars},
    {"TIMEAMPM", zfmtimm, 2, 20, 11, 19, Kind::kTime, kRange, 0, Short::kStars},
    {"HHMM", zfmhhmm, 2, 20, 5, 19, Kind::kTime, kRange, 0, Short::kCut},
    {"MMSS", zfmmmss, 2, 20, 5, 19, Kind::kTime, kRange, 0, Short::kCut},
    {"HOUR", zfmhour, 2, 20, 2, 19, Kind::kTime, kRange, 0, Short::kStars},
    {"DATETIME", zfmdttm, 7, 40, 16, 39, Kind::kTime, kRange, 0, Short::kStars},
    {"DATEAMPM", zfmdtmm, 7, 40, 19, 39, Kind::kTime, kRange, 0, Short::kStars},
    {"MDYAMPM", zfmdyam, 8, 40, 19, 39, Kind::kTime, kRange, 0, Short::kCut},
    {"DTWKDATX", zfmdtwk, 3, 37, 29, 0, Kind::kTime, kRange, 0, Short::kStars},
    {"DOWNAME", zfmdowname, 1, 32, 9, 31, Kind::kDate, 0, 0, Short::kStars},
    {"MONNAME", zfmmonname, 1, 32, 9, 31, Kind::kDate, 0, 0, Short::kStars},
    {"WEEKDATE", zfmweekdate, 3, 37, 29, 36, Kind::kDate, kRange, 0,
     Short::kStars},
    {"WEEKDATX", zfmweekdatx, 3, 37, 29, 36, Kind::kDate, kRange, 0,
     Short::kStars},
    {"WORDDATE", zfmworddate, 3, 32, 18, 31, Kind::kDate, kRange, 0,
     Short::kStars},
    {"WORDDATX", zfmworddatx, 3, 32, 18, 31, Kind::kDate, kRange, 0,
     Short::kStars},
    {"NENGO", zfmnengo, 2, 10, 10, 9, Kind::kDate, kRange, 0, Short::kStars},
    {"MINGUO", zfmmng, 1, 10, 8, 0, Kind::kDate, kRange, kRange, Short::kWarn},
};

const double kNotNumbers[] = {
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(),
    std::bit_cast<double>(0xFFF8000000000001ull),
    std::bit_cast<double>(0x7FF0000000000001ull),
    std::bit_cast<double>(0xFFFFFE0000000001ull), // not a missing pattern
};

TEST(TimeWordCalls, LimitsAsResolvedAndWidenedThroughXffmt) {
  for (const Format &f : kFormats) {
    fmthandle_storage storage;
    fmthandle *h = &storage.builtin;
    fmtattr attrs{};
    const auto len = static_cast<int32_t>(std::strlen(f.name));
    ASSERT_EQ(xfname3(f.name, len, 'F', &attrs, &h, nullptr), 0) << f.name;
    EXPECT_EQ(attrs.minw, f.minw) << f.name;
    EXPECT_EQ(attrs.maxw, f.maxw) << f.name;
    EXPECT_EQ(attrs.defw, f.defw) << f.name;
    EXPECT_EQ(attrs.maxd, f.maxd) << f.name;
    const double v = 23000;
    const std::string narrow = put(f.fn, v, f.defw).text;
    const vftest::Run r =
        vftest::invoke(h, vftest::bytes_of(v), f.defw, 0, 2 * f.defw,
                       VF_ENC_NARROW, VF_ENC_UCS2);
    std::string wide;
    for (const char ch : narrow) wide += {ch, '\0'};
    EXPECT_EQ(r.text, wide) << f.name;
    EXPECT_EQ(r.outenc, VF_ENC_UCS2) << f.name;
    xfdel(h);
  }
}

// The missing character stands in the last column whatever d says.
TEST(TimeWordCalls, MissingValuesShowTheirCharacter) {
  for (const Format &f : kFormats)
    for (const uint8_t code : {uint8_t{0xFE}, uint8_t{0xFD}, uint8_t{0xE4}})
      for (const int d : {0, 3, 98}) {
        const int w = f.minw + 2;
        const vftest::Run r = put(f.fn, valfmt::missing_value(code), w, d);
        EXPECT_EQ(r.status, f.missing) << f.name;
        const char ch = code == 0xFE ? '.' : code == 0xFD ? 'A' : 'Z';
        EXPECT_EQ(r.text,
                  std::string(static_cast<std::size_t>(w - 1), ' ') + ch)
            << f.name << " d=" << d;
      }
}

TEST(TimeWordCalls, ValuesOutOfRangeNanAndInfinity) {
  for (const Format &f : kFormats) {
    const bool time = f.kind == Kind::kTime;
    const double below = time ? -11928470400.0 : -138061.0;
    const double limit = time ? 569318630400.0 : 6589336.0;
    const double bad[] = {std::nextafter(below, -HUGE_VAL), limit, 1e300};
    for (const double v : bad) {
      const vftest::Run r = put(f.fn, v, f.maxw, 2);
      EXPECT_EQ(r.status, f.range) << f.name << " " << v;
      EXPECT_EQ(r.text, stars(f.maxw)) << f.name << " " << v;
    }
    for (const double v : kNotNumbers) {
      const vftest::Run r = put(f.fn, v, f.defw);
      EXPECT_EQ(r.status, f.range) << f.name << " " << v;
      EXPECT_EQ(r.text, stars(f.defw)) << f.name << " " << v;
    }
    // Both ends of the range are shown (a five-digit year may show
    // asterisks in its own field; the era formats' suite covers their ends:
    // no era and no Minguo year reaches back to the first day).
    if (f.fn == zfmnengo || f.fn == zfmmng) continue;
    for (const double v : {below, std::nextafter(limit, 0.0)}) {
      const vftest::Run r = put(f.fn, v, f.maxw);
      EXPECT_EQ(r.status, VF_OK) << f.name << " " << v;
      EXPECT_NE(r.text, stars(f.maxw)) << f.name << " " << v;
    }
  }
}

TEST(TimeWordCalls, WidthsOutsideTheLimits) {
  constexpr int kSize = 48;
  for (const Format &f : kFormats)
    for (const int w : {f.minw - 1, f.maxw + 1, 0, -3, 200}) {
      const vftest::Run r = put(f.fn, 0, w, 0, kSize);
      EXPECT_EQ(r.status, VF_ERR_WIDTH) << f.name << " w=" << w;
      const int n = w < 0 ? 0 : (w < kSize ? w : kSize);
      EXPECT_EQ(r.buffer,
                stars(n) +
                    std::string(static_cast<std::size_t>(kSize - n), '#'))
          << f.name << " w=" << w;
    }
}

// A buffer smaller than w: asterisks and VF_ERR_OUTSIZE, or for the
// formats that lay out a shorter field, outsize characters of text (their
// own suites check the text) with VF_ERR_OUTSIZE, or VF_WARN for MINGUO.
TEST(TimeWordCalls, BuffersSmallerThanTheWidth) {
  for (const Format &f : kFormats)
    for (const int size : {f.defw - 1, 1, 0}) {
      const vftest::Run r = put(f.fn, 3723, f.defw, 0, size);
      EXPECT_EQ(r.outlen, size) << f.name << " in " << size;
      if (f.small == Short::kStars || size == 0) {
        EXPECT_EQ(r.status, VF_ERR_OUTSIZE) << f.name << " in " << size;
        EXPECT_EQ(r.text, stars(size)) << f.name << " in " << size;
      } else {
        EXPECT_EQ(r.status, f.small == Short::kCut ? VF_ERR_OUTSIZE : VF_WARN)
            << f.name << " in " << size;
      }
    }
}

TEST(TimeWordCalls, NullPointers) {
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

// Every format over its widths, with decimals and values that send it
// down its inner calls: the block comes back as it went in, apart from
// outlen and outenc, and the value is untouched.
TEST(TimeWordCalls, CallerBlockIsLeftAsItWas) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double values[] = {0,     43199.5, 86399.6,
                           -1,    -0.4,    1e9,
                           1e300, nan,     valfmt::standard_missing()};
  for (const Format &f : kFormats)
    for (int w = f.minw - 1; w <= f.maxw + 1; w += 3)
      for (const int d : {0, 1, 7, f.maxd, 98})
        for (const double v : values) {
          double value = v;
          char out[64];
          fmtcall c;
          std::memset(&c, 0x5A, sizeof c);
          c.w = w;
          c.d = d;
          c.value = &value;
          c.valuelen = 8;
          c.out = out;
          c.outsize = w + (w % 2);
          c.options = 0x5;
          c.localeid = 7;
          c.reqenc = VF_ENC_UCS2;
          fmtcall before = c;
          f.fn(&c);
          EXPECT_EQ(c.outenc, VF_ENC_NARROW) << f.name;
          before.outlen = c.outlen;
          before.outenc = c.outenc;
          ASSERT_EQ(std::memcmp(&before, &c, sizeof c), 0)
              << f.name << " " << w << "." << d << " of " << v;
          ASSERT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(v));
        }
}

} // namespace
