// Packed ISO 8601 values: the readers and the $N8601 formats against each
// other and against the layout (digits worked out by hand from it), bad
// hexadecimal text, absurd counts, and widths 1 and 200.
#include <string>
#include <thread>
#include <vector>

#include "datetime/iso8601/iso_calls.h"
#include "registry/functions.h"

namespace {

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Texts the readers take and $N8601E writes back unchanged.
TEST(IsoPacked, ExtendedTextsRoundTrip) {
  const char *points[] = {"2024-01-31T12:34:56.789",
                          "1582-01-01T00:00:00.000",
                          "9999-12-31T23:59:59.999",
                          "2024-02-29",
                          "2024-01",
                          "2024",
                          "2024-01-31T12",
                          "2024-01-31T12:30"};
  for (const char *p : points) {
    const vftest::Run r = isotest::run("is8601pdi", p);
    ASSERT_EQ(r.status, 0) << p;
    EXPECT_EQ(rtrim(isotest::run("$N8601E50.", r.text).text), p);
  }
  const char *durations[] = {"PT0.5S", "P12M",  "PT1M", "P3W",
                             "-PT26H", "P1.5D", "-P14M"};
  for (const char *d : durations) {
    const vftest::Run r = isotest::run("is8601dui", d);
    ASSERT_EQ(r.status, 0) << d;
    EXPECT_EQ(rtrim(isotest::run("$N8601E50.", r.text).text), d);
  }
}

TEST(IsoPacked, ReaderPacking) {
  // Mixed units of one group go to the smallest; negative ones too.
  EXPECT_EQ(isotest::run("is8601dui", "-P1Y2M").text, "000000FFFFFFF206");
  EXPECT_EQ(isotest::run("is8601dui", "P1W2D").text, "000000000000090E");
  // Omitted ordinary components stay omitted; fractions are cut, not
  // rounded (59.9999 stays in its second).
  EXPECT_EQ(isotest::run("is8601dui", "P2D").text, "FFFFF02FFFFFFFFC");
  EXPECT_EQ(isotest::run("is8601pdi", "2024-12-31T23:59:59.9999").text,
            "2024C31235959F9D");
  // A missing notation is read only in mode 256.
  EXPECT_EQ(vftest::input(is8601pdi, ".", -1, 256, 16).text,
            std::string(16, 'F'));
  EXPECT_EQ(vftest::input(is8601pdi, ".", -1, 0, 16).status, VF_ERR_DATE_TEXT);
  EXPECT_EQ(vftest::input(is8601vli, "   ", -1, 0, 32).text,
            std::string(32, 'F'));
}

TEST(IsoPacked, BadReaderInput) {
  // Too small an output, garbage, absurd counts, mixed month and day units,
  // offsets, leap seconds, the other kind, an over-long text.
  EXPECT_EQ(vftest::input(is8601dui, "P1D", -1, 0, 15).status, VF_ISO_SHORT);
  EXPECT_EQ(vftest::input(is8601vli, "2024/P1D", -1, 0, 31).status,
            VF_ISO_SHORT);
  const char *bad[] = {"P",
                       "PT",
                       "P1",
                       "P1S",
                       "PT1D",
                       "P1.5Y2M",
                       "P1M1Y",
                       "P1DT",
                       "P99999999999999999999D",
                       "P2147483648D",
                       "-P1Y1D",
                       "P0.5Y3D"};
  for (const char *t : bad)
    EXPECT_EQ(vftest::input(is8601dui, t, -1, 0, 16).status, VF_ERR_DATE_TEXT)
        << t;
  const char *bad_points[] = {"2024-13-01",          "2023-02-29",
                              "2024-01-31T24:00",    "2024-01-31T12:60",
                              "2024-01-31T12:00:60", "2024-01-31T12:00+05:30",
                              "2024-01-31x",         "24-01-31",
                              "2024-1-31",           "T12:00:00.",
                              "2024-01-31T12.5"};
  for (const char *t : bad_points) {
    const vftest::Run r = vftest::input(is8601pdi, t, -1, 0, 16);
    EXPECT_EQ(r.status, VF_ERR_DATE_TEXT) << t;
    EXPECT_EQ(r.text, std::string(16, 'F')) << t;
  }
  EXPECT_EQ(vftest::input(is8601pdi, "P1D", -1, 0, 16).outlen, 0);
  EXPECT_EQ(vftest::input(is8601pdi, std::string(300, '1'), -1, 0, 16).status,
            VF_ERR_DATE_TEXT);
  // w limits what is read: "2024-01-31T12" read as "2024-01-31".
  EXPECT_EQ(vftest::input(is8601pdi, "2024-01-31T12", 10, 0, 16).text,
            "2024131FFFFFFFFD");
}

TEST(IsoPacked, IntervalArithmetic) {
  struct Case {
    const char *text, *shown;
  } cases[] = {
      {"2024-12-31T23:00:00/PT2H", "2024-12-31T23:00:00/2025-01-01T01:00:00"},
      {"2024-03-01/-P1D", "2024-03-01/2024-02-29"},
      {"2024-01-31/2024-02-05", "2024-01-31/2024-02-05"},
      {"1582-01-01/P8417Y11M30D", "1582-01-01/9999-12-31"}};
  for (const Case &k : cases) {
    const vftest::Run r = isotest::run("is8601vli", k.text);
    ASSERT_EQ(r.status, 0) << k.text;
    EXPECT_EQ(rtrim(isotest::run("$N8601E50.", r.text).text), k.shown)
        << k.text;
  }
  // Past the year 9999, before the year 1, finer than the point.
  EXPECT_EQ(isotest::run("is8601vli", "9999-12-31/P1D").status,
            VF_ERR_DATE_RANGE);
  EXPECT_EQ(isotest::run("is8601vli", "0001-01-01/-P1D").status,
            VF_ERR_DATE_RANGE);
  EXPECT_EQ(isotest::run("is8601vli", "2024-01/P1D").status, VF_ERR_DATE_RANGE);
  EXPECT_EQ(isotest::run("is8601vli", "2024-01-31/").status, VF_ERR_DATE_TEXT);
}

TEST(IsoPacked, FormatBadInputAndWidths) {
  // Wrong lengths, bad digits, blanks around a good value, 16-bit input.
  EXPECT_EQ(isotest::run("$N8601E10.", "2024131FFFFFFFF").text,
            std::string(10, '*'));
  EXPECT_EQ(isotest::run("$N8601E10.", "2024131FFFFFFFFD1").text,
            std::string(10, '*'));
  EXPECT_EQ(isotest::run("$N8601E10.", "2024131FFFFFFF D").text,
            std::string(10, '*'));
  EXPECT_EQ(isotest::run("$N8601E12.", "  2024131FFFFFFFFD  ").text,
            "2024-01-31  ");
  const std::u16string wide = u"2024131FFFFFFFFD";
  fmthandle_storage st{};
  fmthandle *h = &st.builtin;
  fmtattr a{};
  ASSERT_EQ(xfname3("$N8601E", 7, 0, &a, &h, nullptr), 0);
  const vftest::Run r = vftest::invoke(
      h,
      std::string_view(reinterpret_cast<const char *>(wide.data()),
                       wide.size() * 2),
      10, 0, 10, VF_ENC_UCS2);
  EXPECT_EQ(r.text, "2024-01-31");
  xfdel(h);
  // Malformed packed values: blanks and the status.
  for (const char *hx :
       {"20A4131FFFFFFFFD", "2024031FFFFFFFFD", "20F4131FFFFFFFFD",
        "2024131FFFFFFFAD", "0000000000000022"}) {
    const vftest::Run m = isotest::run("$N8601E10.", hx);
    EXPECT_EQ(m.status, VF_ERR_BAD_PACKED) << hx;
    EXPECT_EQ(m.text, std::string(10, ' ')) << hx;
  }
  // Width 1 and 200: asterisks with 27, and a padded field.
  const vftest::Run one = isotest::run("$N8601E1.", "2024131FFFFFFFFD");
  EXPECT_EQ(one.text, "*");
  EXPECT_EQ(one.status, VF_ISO_UNFIT);
  const vftest::Run wide_field =
      isotest::run("$N8601E200.", "2024131FFFFFFFFD");
  EXPECT_EQ(wide_field.text, "2024-01-31" + std::string(190, ' '));
  // An interval whose end is missing is blank.
  EXPECT_EQ(isotest::run("$N8601E12.", "2024131FFFFFFFFDFFFFFFFFFFFFFFFF").text,
            std::string(12, ' '));
}

// The local-offset text is built per thread: concurrent callers never see
// each other's buffer, and every one reads the process's offset.
TEST(IsoLocalZone, ConcurrentCallersGetWholeTexts) {
  const std::string expected = vftest::put(f8601lz, 0, 14).text;
  std::vector<std::thread> threads;
  std::vector<int> bad(8, 0);
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        char out[14];
        const double v = 0;
        fmtcall c{};
        c.w = 14;
        c.value = &v;
        c.out = out;
        c.outsize = 14;
        f8601lz(&c);
        if (std::string(out, 14) != expected)
          ++bad[static_cast<std::size_t>(t)];
      }
    });
  for (auto &th : threads) th.join();
  for (int b : bad) EXPECT_EQ(b, 0);
}

} // namespace
