// The cross-check against independent ISO 8601 parsers, from the rows of
// tests/datetime/data/iso_crosscheck.tsv (tools/gen_iso_crosscheck.py):
//  - instant and packed rows: the library still writes the text that
//    Python's fromisoformat and isodate read back to the value that went
//    in (the generator refused any disagreement), and for instants the
//    value Python read is that value to the millisecond;
//  - interval rows: the point is8601vli derives for start/duration or
//    duration/end is the one Python's calendar arithmetic gives.
#include <cmath>
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
      const double v = std::strtod(r.value.c_str(), nullptr);
      const double read = std::strtod(r.python.c_str(), nullptr);
      EXPECT_NEAR(read, std::round(v * 1000) / 1000,
                  1e-6 + std::fabs(v) * 0x1p-50)
          << r.format << " " << r.text;
    } else if (r.kind == "packed") {
      ++packed;
      const vftest::Run run = isotest::run(r.format, r.value);
      EXPECT_EQ(run.status, 0) << r.format << " " << r.value;
      EXPECT_EQ(rtrim(run.text), r.text) << r.format << " " << r.value;
    }
  }
  EXPECT_GE(instants, 400);
  EXPECT_GE(packed, 150);
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
