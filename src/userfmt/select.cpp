// Evaluator choice for user-format handles.
#include "userfmt/entry.h"
#include "valfmt.h"

extern "C" VF_API int32_t setfptr(const void *entry, fmtuhandle *handle) {
  if (handle == nullptr) return 0;
  handle->evaluator = nullptr;
  if (entry == nullptr) return 0;
  // Numeric and picture entries take the numeric evaluators, character
  // entries the character ones; the S flag asks for the search in file
  // order instead of the binary search.  Entries of any other type keep a
  // null evaluator, which invocation refuses.
  const auto *e = static_cast<const valfmt::fmtentry *>(entry);
  switch (e->type) {
  case valfmt::kEntryNumeric:
  case valfmt::kEntryPicture:
    handle->evaluator = e->sflag ? yfpfnfn : yfpfnfm;
    break;
  case valfmt::kEntryCharacter:
    handle->evaluator = e->sflag ? yfpfcfn : yfpfcfm;
    break;
  default:
    break;
  }
  return 0;
}
