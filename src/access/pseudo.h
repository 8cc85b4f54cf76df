// The three pseudo-formats that report on the library itself.
#pragma once

#include <cstddef>

#include "valfmt.h"

namespace valfmt {

// The constant pseudo-format records (80 bytes each, kind byte blank).
extern const fmthandle kPseudoCrash;
extern const fmthandle kPseudoCrdate;
extern const fmthandle kPseudoIntrinsic;
bool is_pseudo_record(const fmthandle *h);
const fmthandle *find_pseudo(const char *name, std::size_t len);

} // namespace valfmt
