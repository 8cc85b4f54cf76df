// The start tree of a numeric entry whose ranges lie in order: the range
// starts alone in a static 16-way B-tree (16 keys of 8 bytes per node, two
// cache lines), built once when the format is resolved.  A search counts
// the starts at or below a key without branches inside a node; the range
// holding the key, if any, is the last one starting at or below it.
#pragma once

#include <cstdint>

#include "userfmt/entry.h"

namespace valfmt {

inline constexpr int32_t kStartFan = 16;
inline constexpr int32_t kStartMaxLevels = 12;

// Node k of level h sits at nodes + (base[h] + k) * 16; level 0 holds the
// sorted starts themselves (padded with all-ones keys), each node of
// level h + 1 the smallest start under each of its 16 children.
struct starttree {
  const int64_t *nodes; // keys as signed_key gives them
  int64_t n;            // starts held
  int32_t levels;       // levels, the root alone on the top one
  int32_t vector;       // 1 when 256-bit compares are available
  // What a search reads once it knows the leaf: the fuzzed bounds and
  // range pointers of the 16 positions under it are fetched ahead while
  // the leaf itself is counted.
  const uint64_t *bounds;         // numindex::keys
  void *const *ranges;            // numindex::ranges
  int64_t base[kStartMaxLevels];  // first node of each level
  int64_t count[kStartMaxLevels]; // nodes on each level
};

// Whether the fuzzed bounds of the index form the chain
//   s1 < t1 <= s2 < t2 <= ... <= sn < tn,
// the shape under which a start tree may serve the entry.
bool ranges_form_chain(const numindex *index);

// Bytes a start tree over n starts needs (0 when n is outside what a tree
// serves): 8 bytes per start, 16/15 of that with the inner levels, plus at
// most one node of padding per level, the header and a cache line for
// alignment; for 100 000 ranges about 0.85 MB, where the search tree
// over the same ranges takes 4.2 MB.
int64_t start_tree_bytes(int64_t n);

// Lays the tree of the starts of index->keys out in `area`
// (start_tree_bytes bytes) and returns it.
const starttree *build_start_tree(const numindex *index, void *area);

// Keys are held with their top bit flipped, so that signed comparisons
// (the only 64-bit ones vector units have) order them as unsigned ones.
inline int64_t signed_key(uint64_t key) {
  return static_cast<int64_t>(key ^ (uint64_t{1} << 63));
}

// Number of the 16 keys of a node at or below key.
inline int64_t count_at_most(const int64_t *node, int64_t key) {
  int64_t c = 0;
  for (int32_t i = 0; i < kStartFan; ++i) c += node[i] <= key ? 1 : 0;
  return c;
}

// Starts the loads of the bounds and range pointers of the positions
// under leaf node k (positions 16k + 1 .. 16k + 16).
// The last leaf may cover positions past n: a prefetch never faults, and
// the addresses are formed as integers, not as pointers past the arrays.
inline void prefetch_leaf_positions(const starttree *t, int64_t k) {
  const auto at = [](const void *base, int64_t bytes) {
    __builtin_prefetch(
        reinterpret_cast<const void *>(reinterpret_cast<std::uintptr_t>(base) +
                                       static_cast<std::uintptr_t>(bytes)));
  };
  const int64_t bounds = k * kStartFan * 16; // two keys of 8 bytes each
  for (int32_t line = 0; line < 4; ++line) at(t->bounds, bounds + 64 * line);
  const int64_t ranges = k * kStartFan * 8;
  at(t->ranges, ranges);
  at(t->ranges, ranges + 64);
}

// The same count with 256-bit vector compares, for processors that have
// them (starttree::vector).
int64_t start_tree_rank_vector(const starttree *t, uint64_t key);

// Number of starts at or below key (0..n): the 1-based position of the
// last range starting at or below key, 0 when there is none.
inline int64_t start_tree_rank(const starttree *t, uint64_t key) {
  if (t->vector != 0) return start_tree_rank_vector(t, key);
  const int64_t sk = signed_key(key);
  int64_t k = 0; // node on the current level
  for (int32_t h = t->levels - 1; h > 0; --h) {
    const int64_t c =
        count_at_most(t->nodes + (t->base[h] + k) * kStartFan, sk);
    const int64_t child = k * kStartFan + (c > 0 ? c - 1 : 0);
    // Padding keys are at or below the all-ones key only.
    const int64_t last = t->count[h - 1] - 1;
    k = child < last ? child : last;
  }
  prefetch_leaf_positions(t, k);
  const int64_t p = k * kStartFan +
                    count_at_most(t->nodes + (t->base[0] + k) * kStartFan, sk);
  return p < t->n ? p : t->n;
}

} // namespace valfmt
