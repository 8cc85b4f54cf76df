// Every example row of docs/iso8601.md, run as written there: the format
// or reader on the value (under the row's TZ in a child process) must give
// the text and status of the row.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "datetime/iso8601/iso_calls.h"

namespace {

struct Example {
  int line;
  std::string call, value, zone, text;
  int32_t status;
};

// The cells of a table row "| `a` | `b` | | `c` | 0 |", backticks removed.
std::vector<std::string> cells(const std::string &row) {
  std::vector<std::string> out;
  std::size_t i = 1;
  while (i < row.size()) {
    const std::size_t bar = row.find(" |", i);
    if (bar == std::string::npos) break;
    std::string c = row.substr(i, bar - i);
    if (!c.empty() && c[0] == ' ') c.erase(0, 1);
    if (c.size() >= 2 && c.front() == '`' && c.back() == '`')
      c = c.substr(1, c.size() - 2);
    out.push_back(c);
    i = bar + 2;
  }
  return out;
}

std::vector<Example> examples() {
  std::ifstream in(VALFMT_SOURCE_DIR "/docs/iso8601.md");
  std::vector<Example> out;
  std::string row;
  bool in_examples = false;
  for (int line = 1; std::getline(in, row); ++line) {
    if (row.rfind("| format | value | zone | text | status |", 0) == 0) {
      in_examples = true;
      continue;
    }
    if (row.rfind("| `", 0) != 0) {
      if (row.empty()) in_examples = false;
      continue;
    }
    if (!in_examples) continue;
    const std::vector<std::string> c = cells(row);
    if (c.size() != 5) {
      ADD_FAILURE() << "docs/iso8601.md:" << line << " has " << c.size()
                    << " cells";
      continue;
    }
    out.push_back({line, c[0], c[1], c[2], c[3],
                   static_cast<int32_t>(std::stoll(c[4], nullptr, 0))});
  }
  return out;
}

std::string shown(const isotest::CallText &s, const vftest::Run &r) {
  std::string t = r.text;
  if (s.name[0] == '$')
    while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

TEST(IsoDocument, EveryExampleGivesItsTextAndStatus) {
  const std::vector<Example> all = examples();
  ASSERT_GE(all.size(), 100u) << "the example tables were not found";
  for (const Example &e : all) {
    const isotest::CallText call = isotest::parse_call(e.call);
    std::string got;
    int32_t status = 0;
    if (e.zone.empty()) {
      const vftest::Run r = isotest::run(e.call, e.value);
      got = shown(call, r);
      status = r.status;
    } else {
      const std::string child = isotest::in_zone(e.zone, [&] {
        const vftest::Run r = isotest::run(e.call, e.value);
        return std::to_string(r.status) + "|" + shown(call, r);
      });
      const std::size_t bar = child.find('|');
      ASSERT_NE(bar, std::string::npos) << child;
      status = std::stoi(child.substr(0, bar));
      got = child.substr(bar + 1);
    }
    EXPECT_EQ(got, e.text) << "docs/iso8601.md:" << e.line << " " << e.call
                           << " of " << e.value;
    EXPECT_EQ(status, e.status) << "docs/iso8601.md:" << e.line;
  }
}

} // namespace
