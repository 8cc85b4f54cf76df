// The ISO forms and readers against rows checked by independent parsers
// (tests/datetime/data/iso_crosscheck.tsv, tools/gen_iso_crosscheck.py).
#include <cctype>
#include <cmath>
#include <map>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "datetime/iso8601/iso_calls.h"

namespace {

struct Row {
  std::string kind, format, value, text, python;
};

std::vector<Row> rows() {
  std::ifstream in(VALFMT_SOURCE_DIR "/tests/datetime/data/iso_crosscheck.tsv");
  std::vector<Row> out;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string cell;
    while (std::getline(ss, cell, '\t')) f.push_back(cell);
    if (f.size() == 4) f.emplace_back(); // a row ending in an empty cell
    if (f.size() != 5) {
      ADD_FAILURE() << "bad row: " << line;
      continue;
    }
    out.push_back({f[0], f[1], f[2], f[3], f[4]});
  }
  return out;
}

// Decimals after the seconds' point of a text.
int decimals_of(const std::string &text) {
  const std::size_t dot = text.find('.');
  int n = 0;
  if (dot == std::string::npos) return 0;
  for (std::size_t i = dot + 1;
       i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
       ++i)
    ++n;
  return n;
}

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

TEST(IsoCrossCheck, TextsReadBackByIndependentParsers) {
  const std::vector<Row> all = rows();
  int instants = 0;
  int packed = 0;
  for (const Row &r : all) {
    if (r.kind == "instant") {
      ++instants;
      const vftest::Run run = isotest::run(r.format, r.value);
      EXPECT_EQ(run.status, 0) << r.format << " " << r.value;
      EXPECT_EQ(run.text, r.text) << r.format << " " << r.value;
      // What Python read lies within half a unit of the last decimal the
      // text shows (the rounding of the value to that many decimals).
      const double v = std::strtod(r.value.c_str(), nullptr);
      const double read = std::strtod(r.python.c_str(), nullptr);
      const double unit = std::pow(10.0, -decimals_of(r.text));
      if (r.format.rfind("E8601DN", 0) == 0) {
        // The date of a datetime: Python read the midnight starting it.
        EXPECT_EQ(read, std::floor(v / 86400) * 86400) << r.text;
        continue;
      }
      EXPECT_LE(std::fabs(read - v), unit / 2 + 1e-6 + std::fabs(v) * 0x1p-50)
          << r.format << " " << r.text;
    } else if (r.kind == "packed") {
      ++packed;
      const vftest::Run run = isotest::run(r.format, r.value);
      EXPECT_EQ(run.status, 0) << r.format << " " << r.value;
      EXPECT_EQ(rtrim(run.text), r.text) << r.format << " " << r.value;
    }
  }
  EXPECT_GE(instants, 2000);
  EXPECT_GE(packed, 500);
}

// The local-offset rows, each zone's in one child process under that TZ.
TEST(IsoCrossCheck, LocalOffsetTextsUnderFixedZones) {
  std::map<std::string, std::vector<Row>> by_zone;
  for (const Row &r : rows())
    if (r.kind == "zoned") {
      const std::size_t at = r.format.find('@');
      ASSERT_NE(at, std::string::npos) << r.format;
      Row k = r;
      k.format = r.format.substr(0, at);
      by_zone[r.format.substr(at + 1)].push_back(k);
    }
  EXPECT_GE(by_zone.size(), 4u);
  for (const auto &[zone, zone_rows] : by_zone) {
    const std::string got = isotest::in_zone(zone, [&] {
      std::string out;
      for (const Row &r : zone_rows)
        out += isotest::run(r.format, r.value).text + "\n";
      return out;
    });
    std::string want;
    for (const Row &r : zone_rows) want += r.text + "\n";
    EXPECT_EQ(got, want) << zone;
  }
}

TEST(IsoCrossCheck, IntervalEndsMatchCalendarArithmetic) {
  int n = 0;
  for (const Row &r : rows()) {
    if (r.kind != "interval") continue;
    ++n;
    const vftest::Run digits = isotest::run("is8601vli", r.value);
    ASSERT_EQ(digits.status, 0) << r.value;
    ASSERT_EQ(digits.text.size(), 32u) << r.value;
    // start/duration derives the end, duration/end the start.
    const bool derived_end = r.value[0] != 'P';
    const std::string half = digits.text.substr(derived_end ? 16 : 0, 16);
    const vftest::Run shown = isotest::run("$N8601E40.", half);
    EXPECT_EQ(rtrim(shown.text), r.python) << r.value;
  }
  EXPECT_GE(n, 200);
}

} // namespace
