// Building the static search tree (search_tree.h).  The binary search over
// positions 1..n visits the middle position mid = lo + (hi - lo) / 2 of its
// current span, then the middle of the lower or the upper half: those
// middles form a fixed binary tree of depth bit_width(n).  The tree is
// stored level by level with node i's children at 2i and 2i + 1, each node
// holding the fuzzed bounds of its position, so a search reads one dense,
// cache-line-aligned array whose next levels can be fetched ahead, and
// compares without branching.  Slots below the leaves hold the bounds
// (all ones, 0): no key is both at least the one and at most the other, so
// a walk that has left the real tree never matches again.
#include "userfmt/search_tree.h"

#include <bit>
#include <cstddef>

namespace valfmt {
namespace {

constexpr std::size_t kLine = 64;
// Trees beyond this depth are not built.
constexpr int32_t kMaxLevels = 30;

int32_t tree_levels(int64_t n) {
  return static_cast<int32_t>(std::bit_width(static_cast<uint64_t>(n)));
}

std::size_t tree_slots(int32_t levels) {
  return std::size_t{1} << levels;
}

struct TreeBuilder {
  const uint64_t *keys;
  boundnode *tree;
  void *const *ranges;
  treeslot *slots;

  // Places the middle of positions lo..hi at slot `at`, then both halves.
  void place(int64_t lo, int64_t hi, std::size_t at) {
    while (lo <= hi) {
      const int64_t mid = lo + (hi - lo) / 2;
      const auto k = static_cast<std::size_t>(mid - 1);
      tree[at] = boundnode{keys[2 * k], keys[2 * k + 1]};
      slots[at] = treeslot{ranges[k], mid};
      place(lo, mid - 1, 2 * at);
      lo = mid + 1;
      at = 2 * at + 1;
    }
  }
};

} // namespace

int64_t search_tree_bytes(int64_t n) {
  if (n < 1) return 0;
  const int32_t levels = tree_levels(n);
  if (levels > kMaxLevels) return 0;
  const std::size_t slots = tree_slots(levels);
  return static_cast<int64_t>(kLine + slots * sizeof(boundnode) +
                              slots * sizeof(treeslot));
}

void build_search_tree(numindex *index, void *area) {
  const int32_t levels = tree_levels(index->n);
  const std::size_t slots = tree_slots(levels);
  const auto base = reinterpret_cast<std::uintptr_t>(area);
  auto *tree = reinterpret_cast<boundnode *>((base + kLine - 1) & ~(kLine - 1));
  auto *slot = reinterpret_cast<treeslot *>(tree + slots);
  for (std::size_t i = 0; i < slots; ++i) tree[i] = boundnode{~0ull, 0};
  for (std::size_t i = 0; i < slots; ++i) slot[i] = treeslot{nullptr, 0};
  TreeBuilder b{index->keys, tree, index->ranges, slot};
  b.place(1, index->n, 1);
  index->tree = tree;
  index->slots = slot;
  index->levels = levels;
}

} // namespace valfmt
