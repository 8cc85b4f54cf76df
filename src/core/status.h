// Status codes in words: one table for every status the library returns,
// used wherever a status is shown to a person (the tool, test messages).
#pragma once

#include <cstdint>

namespace valfmt {

// "VF_ERR_DATE_RANGE" for VF_ERR_DATE_RANGE; "unknown status" otherwise.
const char *status_name(int32_t status);

// "date or time out of range" for VF_ERR_DATE_RANGE; for a code outside the
// table, "warning" (positive) or "error" (negative).
const char *status_words(int32_t status);

} // namespace valfmt
