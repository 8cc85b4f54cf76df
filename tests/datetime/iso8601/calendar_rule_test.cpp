// The ISO forms on the library's calendar (no leap day in years divisible
// by 4000), packed values naming no instant, and random-input fencing.
#include <cstdio>
#include <random>
#include <string>

#include "datetime/iso8601/iso_calls.h"
#include "registry/functions.h"

namespace {

bool leap(int y) {
  if (y % 4000 == 0) return false;
  if (y % 400 == 0) return true;
  if (y % 100 == 0) return false;
  return y % 4 == 0;
}

int days_in(int y, int m) {
  static const int kLen[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kLen[m - 1] + (m == 2 && leap(y) ? 1 : 0);
}

std::string ymd(int y, int m, int d, const char *sep) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%s%02d%s%02d", y, sep, m, sep, d);
  return buf;
}

// A direct call on a plain block (the sweep is too long for the fenced
// runner); the text of w bytes.
std::string call(fmtfn fn, double v, int32_t w) {
  char out[40];
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.out = out;
  c.outsize = w;
  if (fn(&c) != 0) return "status";
  return std::string(out, static_cast<std::size_t>(w));
}

// Day -138061 is 1582-01-01; counting on month by month must give the
// library's texts for the first and last day of every month to
// 9999-12-31, and that last day must be the last one the forms accept.
TEST(IsoCalendar, EveryMonthEndFollowsTheLibraryCalendar) {
  int64_t day = -138061;
  for (int y = 1582; y <= 9999; ++y)
    for (int m = 1; m <= 12; ++m) {
      const int n = days_in(y, m);
      for (int d : {1, n}) {
        const double v = static_cast<double>(day + d - 1);
        ASSERT_EQ(call(f8601da, v, 10), ymd(y, m, d, "-")) << v;
        ASSERT_EQ(call(b8601da, v, 10), "  " + ymd(y, m, d, "")) << v;
        ASSERT_EQ(call(f8601dt, v * 86400 + 43200, 19),
                  ymd(y, m, d, "-") + "T12:00:00")
            << v;
      }
      day += n;
    }
  EXPECT_EQ(day, 2936548); // 10000-01-01: the first day outside
  EXPECT_EQ(call(f8601da, static_cast<double>(day), 10), "**********");
}

// The years 4000 and 8000 have no 29 February here, as in every other
// date format of the library; the readers and the interval arithmetic
// agree.
TEST(IsoCalendar, NoLeapDayIn4000And8000Anywhere) {
  for (int y : {4000, 8000}) {
    // Day number of 1 March of y from the counting rule.
    int64_t day = -138061;
    for (int k = 1582; k < y; ++k) day += leap(k) ? 366 : 365;
    day += 31 + 28;
    const double v = static_cast<double>(day);
    const std::string march = ymd(y, 3, 1, "-");
    // The library's own yyyy-mm-dd date format says the same.
    EXPECT_EQ(call(zfmyymmdd, v - 1, 10), ymd(y, 2, 28, "-"));
    EXPECT_EQ(call(zfmyymmdd, v, 10), march);
    const std::string leap_day = ymd(y, 2, 29, "-");
    EXPECT_EQ(isotest::run("is8601pdi", leap_day).status, VF_ERR_DATE_TEXT);
    const std::string start = ymd(y, 2, 28, "-");
    const vftest::Run r = isotest::run("is8601vli", start + "/P1D");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.text.substr(16), std::to_string(y) + "301FFFFFFFFD");
    const vftest::Run jan =
        isotest::run("is8601vli", ymd(y, 1, 31, "-") + "/P1M");
    ASSERT_EQ(jan.status, 0);
    EXPECT_EQ(jan.text.substr(16), std::to_string(y) + "228FFFFFFFFD");
    // A packed 29 February of y names no day.
    const std::string hex = std::to_string(y) + "229FFFFFFFFD";
    EXPECT_EQ(isotest::run("$N8601E20.", hex).status, VF_ERR_BAD_PACKED);
  }
  // Other centuries follow the Gregorian rule.
  EXPECT_EQ(isotest::run("is8601pdi", "2000-02-29").status, 0);
  EXPECT_EQ(isotest::run("is8601pdi", "2100-02-29").status, VF_ERR_DATE_TEXT);
}

// The bare time shows a missing value as the time formats do, decimals
// taken as 0; the datetime keeps the "." d places from the end.
TEST(IsoMissing, DisplayPositions) {
  const double dot = std::bit_cast<double>(0xFFFFFE0000000000ull);
  EXPECT_EQ(vftest::put(f8601tm, dot, 11, 2).text, std::string(10, ' ') + ".");
  EXPECT_EQ(vftest::put(b8601tm, dot, 9, 2).text, std::string(8, ' ') + ".");
  EXPECT_EQ(vftest::put(f8601dt, dot, 22, 2).text,
            std::string(19, ' ') + ".  ");
  EXPECT_EQ(vftest::put(b8601dt, dot, 22, 2).text,
            std::string(19, ' ') + ".  ");
  EXPECT_EQ(vftest::put(f8601tz, dot, 14, 2).text,
            std::string(7, ' ') + "." + std::string(6, ' '));
}

// Packed points whose day is not in the month or whose clock is past
// 23:59:59 give blanks and the packed-value status, never a text that no
// ISO 8601 reader takes.
TEST(IsoPacked, PointsThatNameNoInstantAreRefused) {
  for (const char *hx :
       {"2024100FFFFFFFFD", "2024132FFFFFFFFD", "2023229FFFFFFFFD",
        "2024631FFFFFFFFD", "2024131FFFFFFFFD2024631FFFFFFFFD",
        "2024131240000FFD", "2024131236000FFD", "2024131235960FFD",
        "FFFFFFF24FFFFFFD"}) {
    const vftest::Run r = isotest::run("$N8601E24.", hx);
    EXPECT_EQ(r.status, VF_ERR_BAD_PACKED) << hx;
    EXPECT_EQ(r.text, std::string(24, ' ')) << hx;
  }
  // The last valid values of each component still render.
  EXPECT_EQ(isotest::run("$N8601E24.", "2024229235959FFD").text,
            "2024-02-29T23:59:59     ");
}

// Durations past a carry-over point of the alternative form are written
// with designators; those within it keep the alternative form.
TEST(IsoPacked, AlternativeFormOnlyWithinCarryOver) {
  struct Case {
    const char *text, *ea, *ba;
  } cases[] = {{"P45D", "P45D", "P45D"},
               {"PT36H", "PT36H", "PT36H"},
               {"P1DT99M", "P1DT99M", "P1DT99M"},
               {"P30DT24H", "P0000-00-30T24:00:00", "P00000030T240000"},
               {"P1Y2M10DT2H30M", "P0001-02-10T02:30:00", "P00010210T023000"}};
  for (const Case &k : cases) {
    const vftest::Run r = isotest::run("is8601dui", k.text);
    ASSERT_EQ(r.status, 0) << k.text;
    EXPECT_EQ(isotest::run("$N8601EA30.", r.text).text,
              k.ea + std::string(30 - std::string(k.ea).size(), ' '))
        << k.text;
    EXPECT_EQ(isotest::run("$N8601BA30.", r.text).text,
              k.ba + std::string(30 - std::string(k.ba).size(), ' '))
        << k.text;
  }
}

// Random hexadecimal and random ISO-like text into every packed format
// and reader at widths 1..200 and outsizes at and around the field: the
// fenced runner fails on any read past the value or write past outsize.
TEST(IsoBounds, RandomInputStaysInsideItsBuffers) {
  const fmtfn formats[] = {n8601b,  n8601ba, n8601e, n8601ea,
                           n8601eh, n8601ex, n8601h, n8601x};
  const fmtfn readers[] = {is8601dui, is8601pdi, is8601vli};
  const char alphabet[] = "0123456789ABCDEFabcdefPTYMWDHS-:.,/Zx +G";
  std::mt19937 rng(8601);
  for (int i = 0; i < 4000; ++i) {
    const int len = static_cast<int>(rng() % 40);
    std::string text;
    for (int k = 0; k < len; ++k)
      text += alphabet[rng() % (sizeof alphabet - 1)];
    const int32_t w = 1 + static_cast<int32_t>(rng() % 200);
    const vftest::Run f = vftest::input(formats[i % 8], text, w, 0, w);
    EXPECT_EQ(f.outlen, w) << text;
    // Random packed bytes of the right length, so that unpacking runs.
    std::string hex;
    for (int k = 0; k < (i % 2 == 0 ? 16 : 32); ++k)
      hex += "0123456789ABCDEF"[rng() % 16];
    const vftest::Run p = vftest::input(formats[i % 8], hex, w, 0, w);
    EXPECT_EQ(p.outlen, w) << hex;
    // A text that was written starts at the left edge of the field.
    if (p.status == 0 && p.text.find_first_not_of(" *") != std::string::npos) {
      EXPECT_NE(p.text[0], ' ') << hex;
    }
    const int32_t outsize = 14 + static_cast<int32_t>(rng() % 22);
    const vftest::Run r =
        vftest::input(readers[i % 3], text, -1, i % 5 == 0 ? 256 : 0, outsize);
    EXPECT_LE(r.outlen, outsize) << text;
  }
}

} // namespace
