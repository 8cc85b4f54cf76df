// Evaluator choice for user-format handles.
#include "userfmt/entry.h"
#include "valfmt.h"

extern "C" VF_API int32_t setfptr(const void *entry, fmtuhandle *handle) {
  if (handle == nullptr) return 0;
  handle->evaluator = nullptr;
  if (entry == nullptr) return 0;
  // Numeric and picture entries take the numeric evaluators, character
  // entries the character ones; the S flag selects the variant.  Entries of
  // any other type keep a null evaluator, which invocation refuses.
  // The evaluators arrive with the user-format evaluation family.
  return 0;
}
