// Finding the range that holds a value: numeric keys and 16-bit texts,
// by binary search over ranges sorted by their bounds or by a scan in
// table order.  A mask of range kinds limits what a search may match.
#pragma once

#include <cstdint>

#include "userfmt/userfmt.h"

namespace valfmt {

constexpr unsigned kind_bit(int type) {
  return 1u << type;
}

inline bool accepts(unsigned mask, uint8_t type) {
  return type < 32 && (mask & kind_bit(type)) != 0;
}

// Inside the fuzzed bounds and not on an excluded exact bound; a single
// value matches its key only.
inline bool numeric_range_matches(const numrange *r, uint64_t key,
                                  unsigned mask) {
  if (!accepts(mask, r->type)) return false;
  if (r->type == kRangeNumSingle) return key == load_key(r->start);
  if (r->type != kRangeNumeric) return false;
  if (key < load_key(r->startfz) || key > load_key(r->endfz)) return false;
  if ((r->flags & kStartExcluded) && key == load_key(r->start)) return false;
  if ((r->flags & kEndExcluded) && key == load_key(r->end)) return false;
  return true;
}

// Binary search of the n ranges for key; null when none holds it.  Uses
// the entry's start tree when it has one (start_tree.h), else walks its
// search tree when it has one (search_tree.h); both find the same range
// as the binary search over positions.
const void *search_numeric(const fmtentry *e, uint64_t key, void *const *ranges,
                           int64_t n, unsigned mask);

// Whether the start tree of the entry's index finds the same range as the
// binary search over positions at every key where two ranges meet (the
// end of one equal to the start of the next); those are the only keys two
// ranges of an ordered chain both hold (start_tree.h).
bool start_tree_agrees_at_touches(const fmtentry *e, void *const *ranges,
                                  int64_t n);

// The binary search over positions itself, halving the span at each step;
// the walk of the search tree must agree with it for every key.
const void *search_numeric_by_halving(const fmtentry *e, uint64_t key,
                                      void *const *ranges, int64_t n,
                                      unsigned mask);

// The input text, and its fixed-length (16-unit) form on demand.
struct CharInput {
  const void *text;
  int32_t len;
  uint16_t fixed[kFixedUnits];
  bool hasfixed = false;

  const uint16_t *fixed_text() {
    if (!hasfixed) {
      for (int i = 0; i < kFixedUnits; ++i)
        fixed[i] = i < len ? unit_at(text, i) : kBlankUnit;
      hasfixed = true;
    }
    return fixed;
  }
};

// The text of a character call (empty for a null value pointer).
CharInput char_input_of(const fmtcall *c);

bool character_range_matches(CharInput &in, const charrange *r, unsigned mask);

// Binary search of the n ranges for the text; null when none holds it.
const void *search_character(CharInput &in, void *const *ranges, int64_t n,
                             unsigned mask);

} // namespace valfmt
