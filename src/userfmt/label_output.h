// Writing what a search found: a range's label (plain text, picture, or the
// output of a named format), all labels of the matching ranges under
// multilabel collection, the OTHER label, or the value itself.
#pragma once

#include <cstdint>

#include "userfmt/userfmt.h"

namespace valfmt {

// True when the caller asks for every matching label and the entry allows
// it.
inline bool collecting(const fmtcall *c, const fmtentry *e) {
  return e->work != 0 && (c->options & VF_OPT_MULTILABEL) != 0;
}

// The result of a search: the label of `range` (null for no match), else
// the OTHER label, else the default display of the value.  `character`
// tells a character entry's text from a number.
int32_t show_search_result(fmtcall *c, const fmtentry *e, void *const *ranges,
                           const void *range, bool character);

// Writes labels one after another, each in a field of w characters, as the
// search finds them; nothing is allocated.  Too much for outsize gives
// min(w, outsize) asterisks and VF_NO_FIT.
class LabelWriter {
public:
  LabelWriter(fmtcall *c, const fmtentry *e, void *const *ranges, bool collect);

  // The label of a range; all labels of a multilabel range under
  // collection, else its first.
  void add_range(const void *range);

  // Sets outlen and outenc and returns the status.
  int32_t finish();

private:
  void add_label(const void *label);
  void add_nested_label(char *at, const void *label);

  fmtcall *c_;
  const fmtentry *e_;
  void *const *ranges_;
  bool collect_;
  int32_t w_;
  int64_t cap_;
  int64_t used_ = 0;
  bool overflow_ = false;
  bool unfit_ = false; // a picture had too few digit positions
  uint32_t enc_ = VF_ENC_UCS2;
};

} // namespace valfmt
