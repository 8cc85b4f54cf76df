// The evaluators of user-defined formats: find the range holding the
// value, then show its label (label_output.cpp).  The default members
// search by binary search; entries whose rows asked for file order (HLO
// 'S', or multilabel rows) scan the ranges in table order, and only the
// scan can collect every matching label.  The specialised members search
// only some range kinds.
//
// Host texts (the input value) are read unit by unit with memcpy, so they
// need no alignment.  A null value pointer reads as the standard missing
// value (numeric) or an empty text (character).
#include "userfmt/label_output.h"
#include "userfmt/range_search.h"

namespace valfmt {
namespace {

constexpr unsigned kNumericKinds =
    kind_bit(kRangeNumeric) | kind_bit(kRangeNumSingle);
constexpr unsigned kCharacterKinds =
    kind_bit(kRangeCharSingle) | kind_bit(kRangeChar);
constexpr unsigned kAllCharacterKinds =
    kCharacterKinds | kind_bit(kRangeFixedSingle) | kind_bit(kRangeFixed);

const fmtentry *entry_of(const void *entry) {
  return static_cast<const fmtentry *>(entry);
}

// Ranges to search: none without a range table.
int64_t range_count(const fmtentry *e, void *const *ranges) {
  return ranges != nullptr ? e->nranges : 0;
}

// Search in table order: the first match, or every match under collection.
template <class Matches>
int32_t scan_in_order(fmtcall *c, const fmtentry *e, void *const *ranges,
                      bool character, Matches matches) {
  const int64_t n = range_count(e, ranges);
  if (!collecting(c, e)) {
    for (int64_t i = 0; i < n; ++i)
      if (matches(ranges[i]))
        return show_search_result(c, e, ranges, ranges[i], character);
    return show_search_result(c, e, ranges, nullptr, character);
  }
  LabelWriter lw(c, e, ranges, true);
  bool any = false;
  for (int64_t i = 0; i < n; ++i) {
    if (matches(ranges[i])) {
      any = true;
      lw.add_range(ranges[i]);
    }
  }
  if (!any) return show_search_result(c, e, ranges, nullptr, character);
  c->options &= ~VF_OPT_DEFAULT_SHOWN;
  return lw.finish();
}

int32_t numeric_binary(fmtcall *c, const void *entry, void *const *ranges,
                       unsigned mask) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  const uint64_t key = order_key(call_number(c));
  const void *found =
      search_numeric(e, key, ranges, range_count(e, ranges), mask);
  return show_search_result(c, e, ranges, found, false);
}

int32_t numeric_in_order(fmtcall *c, const void *entry, void *const *ranges,
                         unsigned mask) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  const uint64_t key = order_key(call_number(c));
  return scan_in_order(c, e, ranges, false, [key, mask](const void *r) {
    return numeric_range_matches(static_cast<const numrange *>(r), key, mask);
  });
}

int32_t character_binary(fmtcall *c, const void *entry, void *const *ranges,
                         unsigned mask) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  CharInput in = char_input_of(c);
  const void *found =
      search_character(in, ranges, range_count(e, ranges), mask);
  return show_search_result(c, e, ranges, found, true);
}

int32_t character_in_order(fmtcall *c, const void *entry, void *const *ranges,
                           unsigned mask) {
  if (c == nullptr || entry == nullptr) return VF_ERR_BAD_CALL;
  const fmtentry *e = entry_of(entry);
  CharInput in = char_input_of(c);
  return scan_in_order(c, e, ranges, true, [&in, mask](const void *r) {
    return character_range_matches(in, static_cast<const charrange *>(r), mask);
  });
}

} // namespace
} // namespace valfmt

using namespace valfmt;

// The exported members: name, search, and the range kinds it may match.
#define VF_USER_EVALUATORS(X)                                                  \
  X(yfpfnfm, numeric_binary, kNumericKinds)                                    \
  X(yfpfnfn, numeric_in_order, kNumericKinds)                                  \
  X(yfpfnfs, numeric_binary, kind_bit(kRangeNumSingle))                        \
  X(yfpfnfr, numeric_binary, kind_bit(kRangeNumeric))                          \
  X(yfpfcfm, character_binary, kCharacterKinds)                                \
  X(yfpfcfn, character_in_order, kAllCharacterKinds)                           \
  X(yfpfcfs, character_binary, kind_bit(kRangeCharSingle))                     \
  X(yfpfcfr, character_binary, kind_bit(kRangeChar))                           \
  X(yfpfcfx, character_binary, kind_bit(kRangeFixedSingle))                    \
  X(yfpfcfy, character_binary, kind_bit(kRangeFixed))                          \
  X(yfpfcfz, character_binary,                                                 \
    kind_bit(kRangeFixedSingle) | kind_bit(kRangeFixed))

#define VF_DEFINE_EVALUATOR(name, search, kinds)                               \
  VF_API int32_t name(fmtcall *c, const void *e, void *const *r) {             \
    return search(c, e, r, kinds);                                             \
  }

extern "C" {
VF_USER_EVALUATORS(VF_DEFINE_EVALUATOR)
} // extern "C"

#undef VF_DEFINE_EVALUATOR
#undef VF_USER_EVALUATORS
