// The search tree of numeric user formats against the binary search over
// positions it replaces: for random catalogues (sorted and unsorted,
// overlapping ranges, fuzz, excluded bounds, LOW and HIGH, ranges whose
// start lies above their end) every probe key must find the same range.
// Probes: every exact and fuzzed bound and its neighbours, the extremes of
// the key space, special missing values and random keys.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "userfmt/catalog_builder.h"
#include "userfmt/range_search.h"
#include "userfmt/search_tree.h"

namespace {

using valfmt::fmtentry;
using valfmt::numindex;
using valfmt::numrange;

constexpr unsigned kNumericKinds = valfmt::kind_bit(valfmt::kRangeNumeric) |
                                   valfmt::kind_bit(valfmt::kRangeNumSingle);

std::string number_text(double x) {
  char b[40];
  std::snprintf(b, sizeof b, "%.10g", x);
  return b;
}

// A random catalogue of n ranges: a staircase of neighbouring ranges when
// `sorted`, else ranges anywhere, of any width, some reversed.
std::string random_catalogue(std::mt19937_64 &rng, int n, bool sorted,
                             double fuzz) {
  std::uniform_int_distribution<int> pick(0, 99);
  std::vector<uftest::Row> rows;
  double at = -1000.0;
  for (int i = 0; i < n; ++i) {
    double s, e;
    if (sorted) {
      s = at;
      e = at + 1 + pick(rng) % 7;
      at = pick(rng) < 30 ? e : e + pick(rng) % 3;
    } else {
      s = (pick(rng) - 50) * 3.0 + pick(rng) / 10.0;
      e = pick(rng) < 10 ? s - 2 : s + pick(rng) % 20;
    }
    std::string hlo;
    if (i == 0 && pick(rng) < 30) hlo += 'L';
    if (i == n - 1 && pick(rng) < 30) hlo += 'H';
    uftest::Row r = uftest::nrange("T", number_text(s), number_text(e),
                                   "r" + std::to_string(i), hlo);
    r.sexcl = pick(rng) < 25 ? "Y" : "N";
    r.eexcl = pick(rng) < 40 ? "Y" : "N";
    r.fuzz = number_text(fuzz);
    rows.push_back(r);
  }
  return uftest::catalog(rows);
}

// Keys worth probing: each bound of each range, one below and one above.
std::vector<uint64_t> probe_keys(std::mt19937_64 &rng, const numindex *index,
                                 void *const *ranges) {
  std::vector<uint64_t> keys = {0,
                                1,
                                ~0ull,
                                ~0ull - 1,
                                valfmt::order_key(0.0),
                                valfmt::order_key(-0.0),
                                valfmt::order_key(HUGE_VAL),
                                valfmt::order_key(-HUGE_VAL)};
  // Special missing values ('.', '_', 'A'..'Z').
  for (int code : {'.', '_', 'A', 'Z'})
    keys.push_back(valfmt::order_key(std::bit_cast<double>(
        0xFFFF000000000000ull | (static_cast<uint64_t>(code) << 40))));
  for (int64_t i = 0; i < index->n; ++i) {
    const auto *r = static_cast<const numrange *>(ranges[i]);
    for (uint64_t k :
         {valfmt::load_key(r->start), valfmt::load_key(r->end),
          valfmt::load_key(r->startfz), valfmt::load_key(r->endfz)})
      for (uint64_t d : {k - 1, k, k + 1}) keys.push_back(d);
  }
  for (int i = 0; i < 2000; ++i) keys.push_back(rng());
  for (int i = 0; i < 2000; ++i)
    keys.push_back(valfmt::order_key(
        std::uniform_real_distribution<double>(-1200, 1200)(rng)));
  return keys;
}

// Every probe key finds the same range through the tree and through the
// halving search; returns the number of keys that matched a range.
int64_t compare_searches(std::mt19937_64 &rng, const std::string &text) {
  uftest::Read r(text, "T");
  EXPECT_EQ(r.rc, 0);
  if (r.rc != 0) return 0;
  const fmtentry *e = r.entry();
  const auto *index = static_cast<const numindex *>(e->index);
  EXPECT_NE(index, nullptr);
  if (index == nullptr) return 0;
  // Ordered chains are served by the start tree (start_tree_diff_test),
  // every other catalogue by the search tree.
  EXPECT_NE(index->tree == nullptr, index->starts == nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(index->tree) % 64, 0u);
  int64_t matched = 0;
  for (uint64_t key : probe_keys(rng, index, r.ctx.ranges)) {
    const void *tree =
        valfmt::search_numeric(e, key, r.ctx.ranges, e->nranges, kNumericKinds);
    const void *halving = valfmt::search_numeric_by_halving(
        e, key, r.ctx.ranges, e->nranges, kNumericKinds);
    EXPECT_EQ(tree, halving)
        << "key " << key << " in " << e->nranges << " ranges";
    if (tree != halving) return matched; // one report per catalogue
    if (tree != nullptr) ++matched;
  }
  return matched;
}

TEST(RangeTreeDiff, SortedStaircasesOfEverySizeUpTo300) {
  std::mt19937_64 rng(11);
  int64_t matched = 0;
  for (int n = 1; n <= 300; n += (n < 40 ? 1 : 13))
    for (double fuzz : {0.0, 0.5, 3.0})
      matched += compare_searches(rng, random_catalogue(rng, n, true, fuzz));
  // The probes are mostly inside ranges: a search that never matched would
  // make the comparison empty.
  EXPECT_GT(matched, 100000);
}

TEST(RangeTreeDiff, UnsortedOverlappingAndReversedRanges) {
  std::mt19937_64 rng(12);
  int64_t matched = 0;
  for (int n = 1; n <= 200; n += (n < 20 ? 1 : 17))
    for (double fuzz : {0.0, 1.0, 25.0})
      matched += compare_searches(rng, random_catalogue(rng, n, false, fuzz));
  EXPECT_GT(matched, 10000);
}

TEST(RangeTreeDiff, TreeDepthAndEmptySlots) {
  // A tree over n ranges has bit_width(n) levels and holds every position
  // exactly once; slots outside the walk never hold a key.
  // Fuzz 3 makes neighbouring steps overlap, so the search tree serves.
  for (int n : {2, 3, 4, 7, 8, 9, 100, 1023, 1024, 1025}) {
    std::mt19937_64 rng(static_cast<uint64_t>(n));
    uftest::Read r(random_catalogue(rng, n, true, 3.0), "T");
    ASSERT_EQ(r.rc, 0);
    const auto *index = static_cast<const numindex *>(r.entry()->index);
    ASSERT_NE(index, nullptr);
    int levels = 0;
    while ((1 << levels) <= n) ++levels;
    EXPECT_EQ(index->levels, levels) << n;
    std::vector<int> seen(static_cast<size_t>(n) + 1, 0);
    for (size_t i = 1; i < (size_t{1} << levels); ++i) {
      const int64_t p = index->slots[i].position;
      if (p == 0) {
        EXPECT_EQ(index->slots[i].range, nullptr);
        EXPECT_GT(index->tree[i].low, index->tree[i].high) << n << " " << i;
        continue;
      }
      ASSERT_LE(p, n);
      EXPECT_EQ(index->slots[i].range, r.ctx.ranges[p - 1]);
      ++seen[static_cast<size_t>(p)];
      EXPECT_EQ(index->tree[i].low, index->keys[2 * (p - 1)]);
      EXPECT_EQ(index->tree[i].high, index->keys[2 * (p - 1) + 1]);
    }
    for (int p = 1; p <= n; ++p) EXPECT_EQ(seen[static_cast<size_t>(p)], 1);
  }
}

} // namespace
