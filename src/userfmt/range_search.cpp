// Range searches.  The binary searches assume ranges sorted by their
// bounds; a value on an excluded exact bound belongs, if anywhere, to the
// neighbouring range on that side.
#include "userfmt/range_search.h"

#include "userfmt/search_tree.h"
#include "userfmt/start_tree.h"

namespace valfmt {
namespace {

// The range r at position mid (1-based) holds key within its fuzzed bounds:
// a key on an excluded exact bound belongs, if anywhere, to the neighbour
// on that side.
const void *settle_range(uint64_t key, void *const *ranges, int64_t n,
                         unsigned mask, int64_t mid, const numrange *r) {
  if ((r->flags & kStartExcluded) && key == load_key(r->start)) {
    if (mid == 1) return nullptr;
    const auto *p = static_cast<const numrange *>(ranges[mid - 2]);
    return numeric_range_matches(p, key, mask) ? p : nullptr;
  }
  if ((r->flags & kEndExcluded) && key == load_key(r->end)) {
    if (mid == n) return nullptr;
    const auto *p = static_cast<const numrange *>(ranges[mid]);
    return numeric_range_matches(p, key, mask) ? p : nullptr;
  }
  return r;
}

// Binary search over positions 1..n.  `bounds` gives the fuzzed bounds of
// the range at a position when it is a range (type 1) of the searched
// kinds, else false.
template <class Bounds>
const void *binary_search_numeric(uint64_t key, void *const *ranges, int64_t n,
                                  unsigned mask, Bounds bounds) {
  int64_t lo = 1, hi = n;
  while (lo <= hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    uint64_t s, t;
    if (bounds(mid, s, t)) {
      if (key < s) {
        hi = mid - 1;
        continue;
      }
      if (key > t) {
        lo = mid + 1;
        continue;
      }
      return settle_range(key, ranges, n, mask, mid,
                          static_cast<const numrange *>(ranges[mid - 1]));
    }
    const auto *r = static_cast<const numrange *>(ranges[mid - 1]);
    const uint64_t st = load_key(r->start);
    if (key == st && r->type == kRangeNumSingle && accepts(mask, r->type))
      return r;
    if (key < st)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return nullptr;
}

bool is_fixed(uint8_t type) {
  return type == kRangeFixed || type == kRangeFixedSingle;
}
bool is_single(uint8_t type) {
  return type == kRangeCharSingle || type == kRangeFixedSingle;
}
bool is_char_range(uint8_t type) {
  return type == kRangeChar || type == kRangeFixed;
}

int compare_start(CharInput &in, const charrange *r) {
  if (is_fixed(r->type))
    return compare_units(in.fixed_text(), kFixedUnits, range_start(r),
                         kFixedUnits);
  return compare_units(static_cast<const uint16_t *>(in.text), in.len,
                       range_start(r), r->startlen);
}

int compare_end(CharInput &in, const charrange *r) {
  if (is_fixed(r->type))
    return compare_units(in.fixed_text(), kFixedUnits, range_end(r),
                         kFixedUnits);
  return compare_units(static_cast<const uint16_t *>(in.text), in.len,
                       range_end(r), r->endlen);
}

// The neighbour at position `at` (1-based) when it holds the text.
const void *neighbour_match(CharInput &in, void *const *ranges, int64_t at,
                            unsigned mask) {
  const auto *p = static_cast<const charrange *>(ranges[at - 1]);
  return character_range_matches(in, p, mask) ? p : nullptr;
}

} // namespace

namespace {

// The index of the entry when it serves this search: ranges read by the
// XML reader are all of type 1 and come with a dense index of their bounds.
const numindex *usable_index(const fmtentry *e, void *const *ranges, int64_t n,
                             unsigned mask) {
  const auto *index = e->origin == kOriginXml
                          ? static_cast<const numindex *>(e->index)
                          : nullptr;
  if (index != nullptr && index->ranges == ranges && index->n == n &&
      accepts(mask, kRangeNumeric))
    return index;
  return nullptr;
}

} // namespace

namespace {

// The last range starting at or below key, settled, when its fuzzed end
// reaches the key; null otherwise.
const void *search_by_starts(const numindex *index, uint64_t key,
                             void *const *ranges, int64_t n, unsigned mask) {
  const int64_t p = start_tree_rank(index->starts, key);
  if (p == 0 || key > index->keys[2 * p - 1]) return nullptr;
  return settle_range(key, ranges, n, mask, p,
                      static_cast<const numrange *>(ranges[p - 1]));
}

} // namespace

bool start_tree_agrees_at_touches(const fmtentry *e, void *const *ranges,
                                  int64_t n) {
  const numindex *index = usable_index(e, ranges, n, kind_bit(kRangeNumeric));
  if (index == nullptr || index->starts == nullptr) return false;
  constexpr unsigned kMask = kind_bit(kRangeNumeric);
  for (int64_t i = 0; i + 1 < n; ++i) {
    const uint64_t key = index->keys[2 * i + 1];
    if (key != index->keys[2 * i + 2]) continue;
    if (search_by_starts(index, key, ranges, n, kMask) !=
        search_numeric_by_halving(e, key, ranges, n, kMask))
      return false;
  }
  return true;
}

const void *search_numeric(const fmtentry *e, uint64_t key, void *const *ranges,
                           int64_t n, unsigned mask) {
  const numindex *index = usable_index(e, ranges, n, mask);
  if (index != nullptr && index->starts != nullptr)
    return search_by_starts(index, key, ranges, n, mask);
  if (index != nullptr && index->tree != nullptr) {
    const treeslot &at = search_tree_slot(index, key);
    return at.position == 0
               ? nullptr
               : settle_range(key, ranges, n, mask, at.position,
                              static_cast<const numrange *>(at.range));
  }
  return search_numeric_by_halving(e, key, ranges, n, mask);
}

const void *search_numeric_by_halving(const fmtentry *e, uint64_t key,
                                      void *const *ranges, int64_t n,
                                      unsigned mask) {
  const numindex *index = usable_index(e, ranges, n, mask);
  if (index != nullptr) {
    const uint64_t *keys = index->keys;
    return binary_search_numeric(key, ranges, n, mask,
                                 [keys](int64_t mid, uint64_t &s, uint64_t &t) {
                                   s = keys[2 * mid - 2];
                                   t = keys[2 * mid - 1];
                                   return true;
                                 });
  }
  return binary_search_numeric(
      key, ranges, n, mask,
      [ranges, mask](int64_t mid, uint64_t &s, uint64_t &t) {
        const auto *r = static_cast<const numrange *>(ranges[mid - 1]);
        if (r->type != kRangeNumeric || !accepts(mask, r->type)) return false;
        s = load_key(r->startfz);
        t = load_key(r->endfz);
        return true;
      });
}

CharInput char_input_of(const fmtcall *c) {
  CharInput in;
  in.text = c->value;
  in.len = (c->value != nullptr && c->valuelen > 0) ? c->valuelen : 0;
  if (in.text == nullptr) in.text = in.fixed; // empty, never read
  return in;
}

bool character_range_matches(CharInput &in, const charrange *r, unsigned mask) {
  if (!accepts(mask, r->type)) return false;
  if (is_single(r->type)) return compare_start(in, r) == 0;
  if (!is_char_range(r->type)) return false;
  if (!(r->flags & kLow)) {
    const int s = compare_start(in, r);
    if (s < 0) return false;
    if (s == 0) return !(r->flags & kStartExcluded);
  }
  if (!(r->flags & kHigh)) {
    const int t = compare_end(in, r);
    if (t > 0 || (t == 0 && (r->flags & kEndExcluded))) return false;
  }
  return true;
}

const void *search_character(CharInput &in, void *const *ranges, int64_t n,
                             unsigned mask) {
  int64_t lo = 1, hi = n;
  while (lo <= hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    const auto *r = static_cast<const charrange *>(ranges[mid - 1]);
    if (!accepts(mask, r->type) || is_single(r->type) ||
        !is_char_range(r->type)) {
      // Not a searched range: its start steers, a single value may match.
      const int s = compare_start(in, r);
      if (s == 0 && is_single(r->type) && accepts(mask, r->type)) return r;
      if (s < 0)
        hi = mid - 1;
      else
        lo = mid + 1;
      continue;
    }
    const int s = (r->flags & kLow) ? 1 : compare_start(in, r);
    if (s < 0) {
      hi = mid - 1;
      continue;
    }
    const int t = (r->flags & kHigh) ? -1 : compare_end(in, r);
    if (t > 0) {
      lo = mid + 1;
      continue;
    }
    if (s == 0 && (r->flags & kStartExcluded))
      return mid == 1 ? nullptr : neighbour_match(in, ranges, mid - 1, mask);
    if (t == 0 && (r->flags & kEndExcluded))
      return mid == n ? nullptr : neighbour_match(in, ranges, mid + 1, mask);
    return r;
  }
  return nullptr;
}

int compare_units(const uint16_t *a, int32_t la, const uint16_t *b,
                  int32_t lb) {
  if (la < 0) la = 0;
  if (lb < 0) lb = 0;
  const int32_t n = la < lb ? la : lb;
  for (int32_t i = 0; i < n; ++i) {
    const auto ua = static_cast<int16_t>(unit_at(a, i));
    const auto ub = static_cast<int16_t>(unit_at(b, i));
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  for (int32_t i = n; i < la; ++i)
    if (unit_at(a, i) != kBlankUnit) return 1;
  for (int32_t i = n; i < lb; ++i)
    if (unit_at(b, i) != kBlankUnit) return -1;
  return 0;
}

} // namespace valfmt
