// The built-in vocabulary: descriptor arrays per module, the global name
// table and lookups over them.  The data lives in vocab/*.def, one X-macro
// file per module, which is the single source of every built-in name.
#pragma once

#include <cstddef>
#include <cstdint>

#include "valfmt.h"

namespace valfmt {

inline constexpr int kModuleCount = 10;
inline constexpr int kPossRows = 518;
inline constexpr int kMaxBuiltinName = 16;

// The fmtposs row whose name equals name/len, or null.
const fmtposs_row *find_poss_row(const char *name, std::size_t len);

// The descriptor named name/len inside a module record, or null.
const fmtinfo_eachfmt *find_descriptor(const fmtinfo *module, const char *name,
                                       std::size_t len);

// The constant pseudo-format records (80 bytes each, kind byte blank).
extern const fmthandle kPseudoCrash;
extern const fmthandle kPseudoCrdate;
extern const fmthandle kPseudoIntrinsic;
bool is_pseudo_record(const fmthandle *h);
const fmthandle *find_pseudo(const char *name, std::size_t len);

// Trailing-blank-stripped length of a blank-padded table name.
constexpr std::size_t padded_len(const char *s, std::size_t n) {
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

} // namespace valfmt
