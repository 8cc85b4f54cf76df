// Review cases for the user-defined formats: catalogue layout changes after
// the first row, and evaluator and picture corner cases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/missing.h"
#include "catalog_builder.h"
#include "userfmt/userfmt.h"
#include "userfmt/catalog.h"

using namespace uftest;

namespace {

// The header with its last COLUMN element left open, so that column
// elements after a row still reach that column.
std::string header_last_column_open() {
  std::string h = header();
  const std::string close = "</COLUMN>\n";
  const size_t at = h.rfind(close);
  h.erase(at, close.size());
  return h;
}

// A kept row followed by a column description that moves the (open) last
// column beyond the record, then a second kept row.
std::string moved_column(const std::string &change) {
  Row a = nrange("A", "1", "2", "one");
  a.language = "EN";
  Row b = nrange("A", "3", "4", "two");
  b.language = "FR";
  return header_last_column_open() + row_xml(a) + change + row_xml(b) +
         footer();
}

TEST(UserfmtReviewReader, ColumnLayoutChangedAfterARowIsRecheckedOrRefused) {
  // Offset and LENGTH of a column change after the record layout was
  // checked: the next row must not write outside the row record.
  for (const char *change :
       {"<Offset>1000000000</Offset>\n", "<LENGTH>100000000</LENGTH>\n",
        "<Offset>-1000000</Offset>\n"}) {
    Read r(moved_column(change), "A");
    EXPECT_EQ(r.rc, VF_CAT_BAD_LAYOUT) << change;
  }
  // A change that still fits the record is accepted.
  Read ok(moved_column("<LENGTH>8</LENGTH>\n"), "A");
  ASSERT_EQ(ok.rc, 0);
  EXPECT_EQ(ok.entry()->nranges, 2);
  // A column turned numeric is 8 bytes wide from its Offset on: still
  // checked against the record.
  Read num(moved_column("<TYPE>numeric</TYPE>\n<Offset>100000</Offset>\n"),
           "A");
  EXPECT_EQ(num.rc, VF_CAT_BAD_LAYOUT);
}

TEST(UserfmtReviewReader, InMemoryTextEndingInGreaterThanIsKept) {
  // In memory a unit ends at a '>' followed by '<', so a text whose last
  // character is an unescaped '>' arrives without its end tag: it is still
  // the element's text.
  std::string text = catalog({nrange("A", "1", "2", "&lt;5>")});
  Read r(text, "A");
  ASSERT_EQ(r.rc, 0);
  const auto *l = static_cast<const valfmt::plainlabel *>(
      static_cast<const valfmt::numrange *>(r.range(0))->label);
  EXPECT_EQ(
      std::u16string(reinterpret_cast<const char16_t *>(valfmt::label_text(l)),
                     l->len),
      u"<5>");
  // A catalogue cut inside a value is still refused, also right after such
  // a '>' and inside the name of the format that follows.
  std::string two =
      catalog({nrange("A", "1", "2", "&lt;5>"), nrange("B", "1", "2", "x")});
  const size_t label = two.find("&lt;5>");
  const size_t next = two.find("<FMTNAME>B");
  for (size_t cut : {label + 3, label + 6, next + 10})
    EXPECT_NE(Read(two.substr(0, cut), "A").rc, 0) << cut;
  EXPECT_EQ(Read(two, "A").rc, 0);
}

} // namespace
