// The start tree of numeric user formats against the binary search over
// positions.  Catalogues whose ranges form an ordered chain (neighbours
// touching or apart, excluded bounds, LOW and HIGH, fuzz) must find the
// same range for every probe key, with both the vector and the plain
// count inside a node; the rank the tree gives is checked against a plain
// count of the starts; the guard must refuse overlapping, duplicated,
// single-point and reversed ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "userfmt/catalog_builder.h"
#include "userfmt/range_search.h"
#include "userfmt/search_tree.h"
#include "userfmt/start_tree.h"

namespace {

using valfmt::fmtentry;
using valfmt::numindex;
using valfmt::numrange;
using valfmt::starttree;

constexpr unsigned kNumericKinds = valfmt::kind_bit(valfmt::kRangeNumeric) |
                                   valfmt::kind_bit(valfmt::kRangeNumSingle);

std::string number_text(double x) {
  char b[40];
  std::snprintf(b, sizeof b, "%.10g", x);
  return b;
}

// How the neighbours of a chain meet.
enum class Touch {
  kHalfOpen, // every range [s, e): touching keys belong to the upper one
  kAny,      // exclusions at random: the guard may or may not accept
};

// A chain of n ranges from -1000 on: widths 1..7, a gap of 0..2 after
// each (0 about half the time), fuzz below half the smallest gap.
std::string chain_catalogue(std::mt19937_64 &rng, int n, Touch touch,
                            double fuzz) {
  std::uniform_int_distribution<int> pick(0, 99);
  std::vector<uftest::Row> rows;
  double at = -1000.0;
  for (int i = 0; i < n; ++i) {
    const double s = at;
    const double e = at + 1 + pick(rng) % 7;
    at = pick(rng) < 50 ? e : e + 1 + pick(rng) % 2;
    std::string hlo;
    if (i == 0 && pick(rng) < 30) hlo += 'L';
    if (i == n - 1 && pick(rng) < 30) hlo += 'H';
    uftest::Row r = uftest::nrange("T", number_text(s), number_text(e),
                                   "r" + std::to_string(i), hlo);
    if (touch == Touch::kHalfOpen) {
      r.eexcl = "Y";
    } else {
      r.sexcl = pick(rng) < 30 ? "Y" : "N";
      r.eexcl = pick(rng) < 50 ? "Y" : "N";
    }
    r.fuzz = number_text(fuzz);
    rows.push_back(r);
  }
  return uftest::catalog(rows);
}

// Keys worth probing: each bound of each range and its neighbours, the
// extremes of the key space, missing values, random keys.
std::vector<uint64_t> probe_keys(std::mt19937_64 &rng, int64_t n,
                                 void *const *ranges) {
  std::vector<uint64_t> keys = {0,
                                1,
                                ~0ull,
                                ~0ull - 1,
                                uint64_t{1} << 63,
                                (uint64_t{1} << 63) - 1,
                                valfmt::order_key(0.0),
                                valfmt::order_key(-0.0),
                                valfmt::order_key(HUGE_VAL),
                                valfmt::order_key(-HUGE_VAL),
                                valfmt::order_key(std::nan(""))};
  for (int code : {'.', '_', 'A', 'Z'})
    keys.push_back(valfmt::order_key(std::bit_cast<double>(
        0xFFFF000000000000ull | (static_cast<uint64_t>(code) << 40))));
  for (int64_t i = 0; i < n; ++i) {
    const auto *r = static_cast<const numrange *>(ranges[i]);
    for (uint64_t k :
         {valfmt::load_key(r->start), valfmt::load_key(r->end),
          valfmt::load_key(r->startfz), valfmt::load_key(r->endfz)})
      for (uint64_t d : {k - 1, k, k + 1}) keys.push_back(d);
  }
  for (int i = 0; i < 1000; ++i) keys.push_back(rng());
  for (int i = 0; i < 1000; ++i)
    keys.push_back(valfmt::order_key(
        std::uniform_real_distribution<double>(-1200, 1200)(rng)));
  return keys;
}

// Number of starts at or below key, from the standard library's search
// over the starts copied out of the index and sorted afresh.
struct PlainRank {
  std::vector<uint64_t> starts;
  explicit PlainRank(const numindex *index) {
    for (int64_t i = 0; i < index->n; ++i) starts.push_back(index->keys[2 * i]);
    std::sort(starts.begin(), starts.end());
  }
  int64_t operator()(uint64_t key) const {
    return std::upper_bound(starts.begin(), starts.end(), key) - starts.begin();
  }
};

struct Outcome {
  bool served = false; // the start tree was built and kept
  int64_t matched = 0; // probes that found a range
};

// Every probe key finds the same range through search_numeric (with the
// vector and the plain node count) and through the halving search.
Outcome compare_searches(std::mt19937_64 &rng, const std::string &text) {
  Outcome out;
  uftest::Read r(text, "T");
  EXPECT_EQ(r.rc, 0);
  if (r.rc != 0) return out;
  const fmtentry *e = r.entry();
  const auto *index = static_cast<const numindex *>(e->index);
  EXPECT_NE(index, nullptr);
  if (index == nullptr) return out;
  auto *tree = const_cast<starttree *>(index->starts);
  out.served = tree != nullptr;
  // Exactly one of the two structures serves the entry.
  EXPECT_NE(tree == nullptr, index->tree == nullptr);
  const int32_t vector = tree != nullptr ? tree->vector : 0;
  const PlainRank plain_rank(index);
  for (uint64_t key : probe_keys(rng, e->nranges, r.ctx.ranges)) {
    const void *halving = valfmt::search_numeric_by_halving(
        e, key, r.ctx.ranges, e->nranges, kNumericKinds);
    for (int32_t v : {vector, 0}) {
      if (tree != nullptr) {
        tree->vector = v;
        const int64_t rank = valfmt::start_tree_rank(tree, key);
        EXPECT_EQ(rank, plain_rank(key)) << "key " << key << " vector " << v;
        if (rank != plain_rank(key)) return out;
      }
      const void *fast = valfmt::search_numeric(e, key, r.ctx.ranges,
                                                e->nranges, kNumericKinds);
      EXPECT_EQ(fast, halving)
          << "key " << key << " in " << e->nranges << " ranges, vector " << v;
      if (fast != halving) return out; // one report per catalogue
    }
    if (tree != nullptr) tree->vector = vector;
    if (halving != nullptr) ++out.matched;
  }
  return out;
}

TEST(StartTreeDiff, HalfOpenChainsAreServedAndAgree) {
  // Sizes around every node boundary, up to five levels.
  std::vector<int> sizes;
  for (int n = 1; n <= 40; ++n) sizes.push_back(n);
  for (int n : {255, 256, 257, 4095, 4096, 4097, 70000}) sizes.push_back(n);
  std::mt19937_64 rng(21);
  int64_t matched = 0;
  for (int n : sizes) {
    const Outcome o =
        compare_searches(rng, chain_catalogue(rng, n, Touch::kHalfOpen, 0.0));
    EXPECT_TRUE(o.served) << n;
    matched += o.matched;
  }
  EXPECT_GT(matched, 200000);
}

TEST(StartTreeDiff, FuzzedAndMixedExclusionChainsAgree) {
  // Fuzz 0.25 keeps ranges apart where a gap is; random exclusions make
  // the two searches part at some touching keys, where the guard must
  // fall back to the search tree.
  std::mt19937_64 rng(22);
  int served = 0, refused = 0;
  for (int n = 1; n <= 300; n += (n < 30 ? 1 : 11))
    for (double fuzz : {0.0, 0.25}) {
      const Outcome o =
          compare_searches(rng, chain_catalogue(rng, n, Touch::kAny, fuzz));
      (o.served ? served : refused) += 1;
    }
  EXPECT_GT(served, 0);
  EXPECT_GT(refused, 0);
}

// The guard on hand-made catalogues: [start, end] pairs in table order.
bool served(const std::vector<std::pair<double, double>> &ranges,
            const std::string &fuzz = "0") {
  std::vector<uftest::Row> rows;
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    uftest::Row r =
        uftest::nrange("T", number_text(ranges[i].first),
                       number_text(ranges[i].second), "r" + std::to_string(i));
    r.eexcl = "Y";
    r.fuzz = fuzz;
    rows.push_back(r);
  }
  uftest::Read rd(uftest::catalog(rows), "T");
  EXPECT_EQ(rd.rc, 0);
  if (rd.rc != 0) return false;
  const auto *index = static_cast<const numindex *>(rd.entry()->index);
  return index != nullptr && index->starts != nullptr;
}

TEST(StartTreeGuard, AcceptsOnlyOrderedChains) {
  EXPECT_TRUE(served({{1, 2}}));
  EXPECT_TRUE(served({{1, 2}, {2, 3}, {5, 9}}));
  EXPECT_TRUE(served({{-5, -1}, {0, 0.5}, {0.5, 1e300}}));
  EXPECT_FALSE(served({{1, 3}, {2, 4}}));         // overlapping
  EXPECT_FALSE(served({{1, 2}, {1, 2}}));         // duplicated
  EXPECT_FALSE(served({{1, 2}, {3, 3}, {4, 5}})); // a single point
  EXPECT_FALSE(served({{1, 2}, {5, 3}}));         // reversed
  EXPECT_FALSE(served({{3, 4}, {1, 2}}));         // out of order
  // Fuzz widens every range: neighbours 1 apart overlap under fuzz 1.
  EXPECT_TRUE(served({{1, 2}, {3, 4}}, "0.25"));
  EXPECT_FALSE(served({{1, 2}, {3, 4}}, "1"));
}

TEST(StartTreeGuard, TouchingClosedRangesFallBackWhereTheSearchesPart) {
  // Closed neighbours [1,2] [2,3] [3,4]: the halving search answers a key
  // on a shared bound with whichever range it visits first (the middle one
  // for both shared bounds here), the start tree with the upper one.
  std::vector<uftest::Row> rows;
  for (int i = 0; i < 3; ++i)
    rows.push_back(uftest::nrange("T", std::to_string(i + 1),
                                  std::to_string(i + 2),
                                  "r" + std::to_string(i)));
  uftest::Read rd(uftest::catalog(rows), "T");
  ASSERT_EQ(rd.rc, 0);
  const fmtentry *e = rd.entry();
  const auto *index = static_cast<const numindex *>(e->index);
  ASSERT_NE(index, nullptr);
  EXPECT_EQ(index->starts, nullptr);
  ASSERT_NE(index->tree, nullptr);
  EXPECT_EQ(valfmt::search_numeric(e, valfmt::order_key(2.0), rd.ctx.ranges, 3,
                                   kNumericKinds),
            rd.ctx.ranges[1]);
  EXPECT_EQ(valfmt::search_numeric(e, valfmt::order_key(3.0), rd.ctx.ranges, 3,
                                   kNumericKinds),
            rd.ctx.ranges[1]);
}

TEST(StartTreeGuard, MemoryStaysBelowTheBound) {
  // The start tree holds about 8 bytes per start (16 per 15 with its inner
  // levels) plus one node of padding per level and its header.
  for (int64_t n : {1, 15, 16, 17, 1000, 100000, 1000000}) {
    const int64_t bytes = valfmt::start_tree_bytes(n);
    EXPECT_GT(bytes, 8 * n) << n;
    EXPECT_LE(bytes, 8 * (n + 16) * 16 / 15 + 16 * 8 * valfmt::kStartMaxLevels +
                         static_cast<int64_t>(sizeof(starttree)) + 64)
        << n;
  }
  EXPECT_EQ(valfmt::start_tree_bytes(0), 0);
}

} // namespace
