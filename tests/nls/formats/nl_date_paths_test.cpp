// The parsed-pattern road of the locale date formats against the road
// that expands each pattern as text and converts it: every member, every
// locale record (and IDs outside the table), dates across the calendar,
// clock times around noon and midnight, widths from 1 to 200 and buffers
// smaller than 2*w must give the same status and the same bytes in the
// whole output buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "datetime/local_zone.h"
#include "nls/formats/nl_test_util.h"
#include "nls/nl_date.h"
#include "registry/functions.h"

namespace {

struct Member {
  const char *name;
  fmtfn fn;
  int kind; // 0 date, 1 datetime, 2 time
};

const Member kMembers[] = {
    {"NLDATE", nldate, 0},     {"NLDATEMN", nldatemn, 0},
    {"NLDATEW", nldatew, 0},   {"NLDATEWN", nldatewn, 0},
    {"NLDATEYM", nldateym, 0}, {"NLDATEMD", nldatemd, 0},
    {"NLDATEYQ", nldateyq, 0}, {"NLDATEYR", nldateyr, 0},
    {"NLDATEYW", nldateyw, 0}, {"NLDATM", nldatm, 1},
    {"NLDATMZ", nldatmz, 1},   {"NLDATMAP", nldatmap, 1},
    {"NLDATMMN", nldatmmn, 1}, {"NLDATMTM", nldatmtm, 1},
    {"NLDATMTZ", nldatmtz, 1}, {"NLDATMW", nldatmw, 1},
    {"NLDATMWZ", nldatmwz, 1}, {"NLDATMWN", nldatmwn, 1},
    {"NLDATMDT", nldatmdt, 1}, {"NLDATMYM", nldatmym, 1},
    {"NLDATMMD", nldatmmd, 1}, {"NLDATMYQ", nldatmyq, 1},
    {"NLDATMYR", nldatmyr, 1}, {"NLDATMYW", nldatmyw, 1},
    {"NLTIME", nltime, 2},     {"NLTIMAP", nltimeap, 2},
};

// Days: the first and last day, year ends and starts (ISO weeks), leap
// days, days of every weekday and month, and the far years.
std::vector<double> days() {
  std::vector<double> v = {-138061, -138060, -1,     0,      59,    365,
                           366,     3652,    10956,  15705,  23440, 23800,
                           29220,   36524,   730000, 6589335};
  for (int k = 0; k < 24; ++k) v.push_back(17000 + k * 31 + k % 7);
  return v;
}

const double kClock[] = {0, 1, 3599, 43199, 43200, 46923.75, 86399.9};

struct Out {
  int32_t status;
  int32_t outlen;
  uint32_t outenc;
  std::string bytes;
};

Out call(fmtfn fn, bool parsed, double v, int32_t w, int32_t loc,
         int32_t outsize) {
  std::vector<char> buf(static_cast<std::size_t>(outsize) + 1, '\x5a');
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.valuelen = 8;
  c.localeid = loc;
  c.reqenc = VF_ENC_UCS2;
  c.out = buf.data();
  c.outsize = outsize;
  Out o;
  o.status = parsed ? fn(&c) : valfmt::nl_date_through_expander(&c, fn);
  o.outlen = c.outlen;
  o.outenc = c.outenc;
  o.bytes.assign(buf.data(), buf.size());
  return o;
}

std::vector<double> values_of(int kind) {
  std::vector<double> out;
  for (const double d : days()) {
    if (kind == 0) {
      out.push_back(d);
    } else if (kind == 1) {
      for (const double t : kClock) {
        const double v = d * 86400 + t;
        if (v <= 569318630399.0) out.push_back(v);
      }
    }
  }
  if (kind == 2)
    for (const double t : {0.0, 1.0, 43199.0, 43200.0, 46923.5, 86399.0, -1.0,
                           -86400.0, 90000.0, 1e12})
      out.push_back(t);
  return out;
}

class ZoneGuard {
public:
  ZoneGuard() {
    const char *old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) saved_ = old;
    setenv("TZ", "XST-5:30", 1);
    valfmt::refresh_local_offset();
  }
  ~ZoneGuard() {
    if (had_)
      setenv("TZ", saved_.c_str(), 1);
    else
      unsetenv("TZ");
    valfmt::refresh_local_offset();
  }

private:
  bool had_ = false;
  std::string saved_;
};

TEST(NlDatePaths, ParsedPatternsMatchTheExpander) {
  const ZoneGuard zone;
  std::vector<int32_t> locales = {0, -3, 134};
  for (int32_t id = 1; id <= 133; ++id) locales.push_back(id);
  int64_t compared = 0;
  for (const Member &m : kMembers) {
    const std::vector<double> values = values_of(m.kind);
    for (const int32_t loc : locales) {
      for (std::size_t k = 0; k < values.size(); ++k) {
        const double v = values[k];
        // Full width first; its text length and one less decide the
        // interesting widths.
        const Out wide = call(m.fn, true, v, 200, loc, 400);
        const Out wide_ref = call(m.fn, false, v, 200, loc, 400);
        ASSERT_EQ(wide.bytes, wide_ref.bytes)
            << m.name << " " << loc << " " << v;
        ASSERT_EQ(wide.outlen, wide_ref.outlen) << m.name << " " << loc;
        const int32_t n = wide.outlen / 2;
        // Every value at the text's own width and one less; a few values
        // at fixed widths and with short buffers.
        std::vector<std::pair<int32_t, int32_t>> cases = {
            {n, 2 * n + 8}, {n - 1, 2 * n + 8}, {n, 2 * n}, {n, 2 * n - 1}};
        if (k % 5 == 0)
          for (const int32_t w : {1, 4, 8, 10, 16, 20, 30, 40})
            cases.push_back({w, 2 * w + 5});
        if (k % 7 == 0) cases.push_back({20, 0});
        for (const auto &[w, size] : cases) {
          if (w < 0 || size < 0) continue;
          const Out a = call(m.fn, true, v, w, loc, size);
          const Out b = call(m.fn, false, v, w, loc, size);
          ASSERT_EQ(a.status, b.status) << m.name << " " << loc << " " << v;
          ASSERT_EQ(a.outlen, b.outlen)
              << m.name << " " << loc << " " << v << " w " << w;
          ASSERT_EQ(a.outenc, b.outenc) << m.name << " " << loc << " " << v;
          ASSERT_EQ(a.bytes, b.bytes) << m.name << " " << loc << " " << v
                                      << " w " << w << " size " << size;
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 100000);
}

// The parsed road writes straight into the output when the width and the
// buffer surely hold the longest text of a pattern, and builds the text
// aside otherwise.  Sweeping the width up from the text's own length and
// the buffer up from twice that length crosses both thresholds for every
// member and locale, and walks the blank fill through every tail shape
// (none, a few units, whole blocks, an odd last byte, several blocks).
TEST(NlDatePaths, DirectAndCheckedRoadsAgreeAcrossThresholds) {
  const ZoneGuard zone;
  std::vector<int32_t> locales = {0, 134};
  for (const int32_t id : nltest::kLocales) locales.push_back(id);
  for (int32_t id = 3; id <= 133; id += 10) locales.push_back(id);
  int64_t compared = 0;
  for (const Member &m : kMembers) {
    const std::vector<double> all = values_of(m.kind);
    for (const int32_t loc : locales) {
      for (std::size_t k = 0; k < all.size(); k += 4) {
        const double v = all[k];
        const int32_t n = call(m.fn, false, v, 200, loc, 400).outlen / 2;
        std::vector<std::pair<int32_t, int32_t>> cases;
        for (int32_t extra = -3; extra <= 40; extra += (extra < 0 ? 1 : 3))
          cases.push_back({n + extra, 1200});
        for (int32_t size = 2 * n; size <= 2 * n + 90; ++size)
          cases.push_back({n + 30, size});
        cases.push_back({n, 2 * n + 1});
        for (const auto &[w, size] : cases) {
          if (w < 1 || size < 0) continue;
          const Out a = call(m.fn, true, v, w, loc, size);
          const Out b = call(m.fn, false, v, w, loc, size);
          ASSERT_EQ(a.status, b.status) << m.name << " " << loc << " " << v;
          ASSERT_EQ(a.outlen, b.outlen)
              << m.name << " " << loc << " " << v << " w " << w;
          ASSERT_EQ(a.bytes, b.bytes) << m.name << " " << loc << " " << v
                                      << " w " << w << " size " << size;
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 200000);
}

// The blank fill by hand: a German date in a buffer of odd size ends in
// 16-bit blanks and one narrow blank, with nothing written past outsize.
TEST(NlDatePaths, BlankFillEndsWithANarrowBlankOnAnOddBuffer) {
  double v = 23440; // 5 March 2024
  for (const int32_t size : {27, 28, 29, 45, 77, 131, 1101}) {
    std::vector<char> buf(static_cast<std::size_t>(size) + 1, '\x5a');
    fmtcall c{};
    c.w = 40;
    c.value = &v;
    c.localeid = nltest::kDeDE;
    c.out = buf.data();
    c.outsize = size;
    ASSERT_EQ(nldate(&c), 0) << size;
    // "05. M\u00e4rz 2024": thirteen units shown, 26 bytes.
    ASSERT_EQ(c.outlen, 26) << size;
    EXPECT_EQ(nltest::utf8_of_units(std::string(buf.data(), 26)),
              "05. M\xc3\xa4rz 2024");
    for (int32_t i = 26; i + 1 < size; i += 2) {
      ASSERT_EQ(buf[static_cast<std::size_t>(i)], ' ') << size << " " << i;
      ASSERT_EQ(buf[static_cast<std::size_t>(i + 1)], '\0') << size << " " << i;
    }
    if (size % 2 != 0) {
      EXPECT_EQ(buf[static_cast<std::size_t>(size - 1)], ' ');
    }
    EXPECT_EQ(buf[static_cast<std::size_t>(size)], '\x5a') << size;
  }
}

// A host whose character data is UTF-8 measures in bytes: both roads
// take the expander, and the result is measured in UTF-8 bytes.
TEST(NlDatePaths, Utf8HostMeasuresBytes) {
  double v = 23440 + 0.0; // 2024-03-05: "März" in German
  fmtcall c{};
  char buf[64];
  c.w = 4;
  c.value = &v;
  c.localeid = nltest::kDeDE;
  c.inenc = VF_ENC_UTF8;
  c.out = buf;
  c.outsize = sizeof buf;
  ASSERT_EQ(nldatemn(&c), 0);
  // Four characters, five UTF-8 bytes: the full name does not fit four
  // columns, the abbreviated one does.
  EXPECT_EQ(nltest::utf8_of_units(
                std::string(buf, static_cast<std::size_t>(c.outlen))),
            "Mär");
}

} // namespace
