// The built-in vocabulary: descriptor arrays per module, the global name
// table and lookups over them.  The rows live in modules.def and vocab/,
// the single source of every built-in name; the counts below are derived
// from them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "valfmt.h"

namespace valfmt {

// Each module and each listed row adds one to a sum.
#define VF_MODULE_BEGIN(...) +1 // NOLINT(bugprone-macro-parentheses)
#define VF_MODULE_END(...)
#define VF_ROW(...)
#define VF_ROW_UNLISTED(...)
inline constexpr int kModuleCount = 0
#include "registry/modules.def"
    ;
#undef VF_MODULE_BEGIN
#undef VF_ROW

// Rows of fmtposs: every descriptor but the unlisted ones.
#define VF_MODULE_BEGIN(...)
#define VF_ROW(...) +1 // NOLINT(bugprone-macro-parentheses)
inline constexpr int kPossRows = 0
#include "registry/modules.def"
    ;
#undef VF_MODULE_BEGIN
#undef VF_MODULE_END
#undef VF_ROW
#undef VF_ROW_UNLISTED

inline constexpr int kMaxBuiltinName = 16;

// The fmtposs row whose name equals name/len, or null.
const fmtposs_row *find_poss_row(const char *name, std::size_t len);

// The descriptor named name/len inside a module record, or null.
const fmtinfo_eachfmt *find_descriptor(const fmtinfo *module, const char *name,
                                       std::size_t len);

// Trailing-blank-stripped length of a blank-padded table name.
constexpr std::size_t padded_len(const char *s, std::size_t n) {
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

} // namespace valfmt
