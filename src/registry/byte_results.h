// The row functions whose result is bytes rather than host text (listed in
// byte_results.def).  The access layer asks only when it is about to widen
// a narrow result for a 16-bit caller, so the common path never looks.
#pragma once

#include <cstddef>

#include "registry/functions.h"
#include "valfmt.h"

namespace valfmt {

#define VF_BYTES(fn) &(fn), // NOLINT(bugprone-macro-parentheses)
inline constexpr fmtfn kByteResultFns[] = {
#include "registry/byte_results.def"
};
#undef VF_BYTES

// True when fn writes a machine representation that must reach the caller
// byte for byte.
inline bool yields_bytes(fmtfn fn) {
  for (const fmtfn f : kByteResultFns)
    if (f == fn) return true;
  return false;
}

} // namespace valfmt
