// docs/formats.md is the output of `valfmt list --markdown`: this test
// fails as soon as a family lands (or a limit, family name or example
// changes) without the reference being regenerated, and names the one
// command that regenerates it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tools/tool_run.h"
#include "valfmt.h"

namespace {

std::string regenerate_command() {
  return std::string(VALFMT_TOOL_PATH) + " list --markdown > " +
         VALFMT_SOURCE_DIR + "/docs/formats.md";
}

// The first line where two texts differ, for the failure message.
std::string first_difference(const std::string &a, const std::string &b) {
  std::size_t line = 1, i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i])
    if (a[i++] == '\n') ++line;
  const auto line_at = [](const std::string &s, std::size_t at) {
    const std::size_t start = s.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from =
        start == std::string::npos || at == 0 ? 0 : start + 1;
    return s.substr(from, s.find('\n', from) - from);
  };
  return "line " + std::to_string(line) + ":\n  file:      " + line_at(a, i) +
         "\n  generated: " + line_at(b, i);
}

TEST(ToolDocs, FormatReferenceIsUpToDate) {
  const std::string file =
      tooltest::slurp(std::string(VALFMT_SOURCE_DIR) + "/docs/formats.md");
  ASSERT_FALSE(file.empty())
      << "docs/formats.md is missing; generate it with\n  "
      << regenerate_command();
  // Generated under another time zone: the reference must not depend on
  // where it is made.
  const auto r = tooltest::run_split("list --markdown", "", "TZ=XYZ-13:45");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(file == r.out)
      << "docs/formats.md is out of date with `valfmt list --markdown`; "
         "regenerate it with\n  "
      << regenerate_command() << "\nfirst difference at "
      << first_difference(file, r.out);
}

TEST(ToolDocs, ReferenceHasOneRowPerName) {
  // Independent of the tool's table: count the descriptor rows the
  // library announces (separators aside) plus the three pseudo-formats.
  std::size_t names = 0;
  for (const fmtmodule_row &m : names_and_entries) {
    const fmtinfo *info = m.entry();
    for (uint32_t i = 0; i < info->count; ++i)
      if (info->first[i].name[0] != '-') ++names;
  }
  const auto r = tooltest::run_split("list --markdown");
  std::size_t rows = 0;
  for (std::size_t at = r.out.find("\n| `"); at != std::string::npos;
       at = r.out.find("\n| `", at + 1))
    ++rows;
  EXPECT_EQ(rows, names + 3);
  EXPECT_FALSE(tooltest::has(r.out, "---NUMFMT")) << "separators are hidden";
}

} // namespace
