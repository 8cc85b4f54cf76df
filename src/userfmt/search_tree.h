// The static search tree of a numeric entry's range bounds: the binary
// search over positions laid out level by level, built once when the
// format is resolved and walked without branches.
#pragma once

#include <cstdint>

#include "userfmt/entry.h"

namespace valfmt {

// Bytes a tree over n ranges needs (0 when n is outside what a tree
// serves; the binary search then reads the keys directly).
int64_t search_tree_bytes(int64_t n);

// Lays the tree of index->keys out in `area` (search_tree_bytes bytes,
// zero-filled) and hangs it on the index.
void build_search_tree(numindex *index, void *area);

// The range that the binary search over positions stops at for key (the
// first range on its path whose fuzzed bounds hold the key), with its
// position; position 0 when it holds none.
inline const treeslot &search_tree_slot(const numindex *index, uint64_t key) {
  const boundnode *tree = index->tree;
  uint64_t i = 1;
  uint64_t found = 0;
  for (int32_t level = 0; level < index->levels; ++level) {
    // The four nodes two levels down share one cache line.
    __builtin_prefetch(reinterpret_cast<const char *>(tree + 4 * i));
    const boundnode node = tree[i];
    const uint64_t right = key >= node.low ? 1 : 0;
    const uint64_t hit = right & (key <= node.high ? 1 : 0);
    // Only the first node that holds the key counts: the search stops there.
    found = (found == 0 && hit != 0) ? i : found;
    i = 2 * i + right;
  }
  return index->slots[found];
}

} // namespace valfmt
