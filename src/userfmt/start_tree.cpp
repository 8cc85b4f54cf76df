// Building the start tree (start_tree.h).
//
// Level 0 is the n starts in table order, which the chain makes strictly
// increasing, cut into nodes of 16 and padded with all-ones keys.  Each
// higher level has one key per node of the level below, that node's first
// (smallest) start, and again 16 keys per node; the top level is a single
// node.  A search at a node takes the last child whose smallest start is
// at or below the key (the first child when none is): every start before
// that child is at or below the key and every start after it above, so
// the count at the leaf plus 16 per leaf node before it is the number of
// starts at or below the key.  Padding in an inner node is the all-ones
// key, which only the all-ones key reaches; the search clamps the child
// to the last real one, and the count to n, for that key.
//
// When the tree may serve.  The binary search over positions (range
// search) visits mid, goes left when key < s(mid), right when key >
// t(mid), and otherwise stops at mid and settles there (an excluded exact
// bound hands the key to the neighbour on that side).  The start tree
// instead takes p, the number of starts at or below the key, and settles
// at p when p > 0 and key <= t(p), answering nothing otherwise.  Both
// settle the same way at the same position, so they agree wherever they
// stop at the same position or both stop nowhere.  Under the chain
//   s1 < t1 <= s2 < t2 <= ... <= sn < tn
// (ranges_form_chain) a key lies in at most two ranges, and in two only
// when it is t(i) = s(i + 1) for some i:
//  - A key in no range: the search never stops; the start tree finds
//    s(p) <= key and, the key not being in range p, t(p) < key (or p = 0).
//  - A key in exactly one range i: while mid < i, t(mid) <= s(i) <= key
//    and t(mid) = key would put the key in range mid, so key > t(mid) and
//    the search goes right; while mid > i, s(mid) >= t(i) >= key and
//    s(mid) = key would put the key in range mid, so it goes left; i
//    stays inside the span until it is visited, where the search stops.
//    The starts strictly increase, s(i) <= key, and s(i + 1) >= t(i) >=
//    key with s(i + 1) = key excluded as before, so p = i.
//  - A key t(i) = s(i + 1): the search stops at whichever of i and i + 1
//    it visits first, the start tree at i + 1, and the two may differ.
//    There are at most n - 1 such keys; resolution runs both searches on
//    each of them (start_tree_agrees_at_touches) and keeps the start tree
//    only when all agree.  Unfuzzed half-open ranges [s, t) sharing their
//    bounds, the usual shape of a banded table, always agree.  Settling
//    reads the kind mask only as "ranges of type 1 count", which every
//    search the index serves has, so one check covers every mask.
// Missing values and infinities are plain keys here; LOW and HIGH are the
// smallest and largest keys.
#include "userfmt/start_tree.h"

#include <immintrin.h>

#include <cstddef>

namespace valfmt {
namespace {

constexpr std::size_t kLine = 64;
constexpr int64_t kMaxStarts = int64_t{1} << 40;

int64_t nodes_for(int64_t items) {
  return (items + kStartFan - 1) / kStartFan;
}

// Nodes on each level, bottom up; the number of levels.
int32_t plan_levels(int64_t n, int64_t *count) {
  int32_t levels = 0;
  int64_t items = n;
  do {
    count[levels] = nodes_for(items);
    items = count[levels];
    ++levels;
  } while (items > 1 && levels < kStartMaxLevels);
  return items > 1 ? 0 : levels;
}

} // namespace

bool ranges_form_chain(const numindex *index) {
  const uint64_t *k = index->keys;
  for (int64_t i = 0; i < index->n; ++i) {
    if (!(k[2 * i] < k[2 * i + 1])) return false;
    if (i + 1 < index->n && !(k[2 * i + 1] <= k[2 * i + 2])) return false;
  }
  return index->n > 0;
}

int64_t start_tree_bytes(int64_t n) {
  if (n < 1 || n > kMaxStarts) return 0;
  int64_t count[kStartMaxLevels];
  const int32_t levels = plan_levels(n, count);
  if (levels == 0) return 0;
  int64_t nodes = 0;
  for (int32_t h = 0; h < levels; ++h) nodes += count[h];
  return static_cast<int64_t>(sizeof(starttree) + kLine) +
         nodes * kStartFan * 8;
}

const starttree *build_start_tree(const numindex *index, void *area) {
  auto *t = static_cast<starttree *>(area);
  *t = starttree{};
  t->n = index->n;
  t->bounds = index->keys;
  t->ranges = index->ranges;
  t->levels = plan_levels(index->n, t->count);
  // Levels are stored top down so the first nodes a search reads sit
  // together.
  int64_t at = 0;
  for (int32_t h = t->levels - 1; h >= 0; --h) {
    t->base[h] = at;
    at += t->count[h];
  }
  const auto first = reinterpret_cast<std::uintptr_t>(t + 1);
  auto *nodes = reinterpret_cast<int64_t *>((first + kLine - 1) & ~(kLine - 1));
  for (int64_t i = 0; i < at * kStartFan; ++i) nodes[i] = signed_key(~0ull);
  int64_t *leaf = nodes + t->base[0] * kStartFan;
  for (int64_t i = 0; i < index->n; ++i)
    leaf[i] = signed_key(index->keys[2 * i]);
  for (int32_t h = 1; h < t->levels; ++h) {
    const int64_t *below = nodes + t->base[h - 1] * kStartFan;
    int64_t *level = nodes + t->base[h] * kStartFan;
    for (int64_t c = 0; c < t->count[h - 1]; ++c)
      level[c] = below[c * kStartFan];
  }
  t->nodes = nodes;
  t->vector = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")
                  ? 1
                  : 0;
  return t;
}

namespace {

// Number of the 16 keys of a node above key, by four 4-lane compares.
__attribute__((target("avx2,popcnt"))) int64_t count_above(const int64_t *node,
                                                           __m256i key) {
  const auto *v = reinterpret_cast<const __m256i *>(node);
  const __m256i a = _mm256_cmpgt_epi64(_mm256_load_si256(v), key);
  const __m256i b = _mm256_cmpgt_epi64(_mm256_load_si256(v + 1), key);
  const __m256i c = _mm256_cmpgt_epi64(_mm256_load_si256(v + 2), key);
  const __m256i d = _mm256_cmpgt_epi64(_mm256_load_si256(v + 3), key);
  const auto bits =
      static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(a)) |
                            (_mm256_movemask_pd(_mm256_castsi256_pd(b)) << 4) |
                            (_mm256_movemask_pd(_mm256_castsi256_pd(c)) << 8) |
                            (_mm256_movemask_pd(_mm256_castsi256_pd(d)) << 12));
  return __builtin_popcount(bits);
}

} // namespace

__attribute__((target("avx2,popcnt"))) int64_t
start_tree_rank_vector(const starttree *t, uint64_t key) {
  const __m256i sk = _mm256_set1_epi64x(signed_key(key));
  int64_t k = 0;
  for (int32_t h = t->levels - 1; h > 0; --h) {
    const int64_t c =
        kStartFan - count_above(t->nodes + (t->base[h] + k) * kStartFan, sk);
    const int64_t child = k * kStartFan + (c > 0 ? c - 1 : 0);
    const int64_t last = t->count[h - 1] - 1;
    k = child < last ? child : last;
  }
  prefetch_leaf_positions(t, k);
  const int64_t p =
      k * kStartFan +
      (kStartFan - count_above(t->nodes + (t->base[0] + k) * kStartFan, sk));
  return p < t->n ? p : t->n;
}

} // namespace valfmt
