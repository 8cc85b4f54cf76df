// Whether a built-in handle's result is text that the access layer may
// widen for a 16-bit caller, decided once at resolution.
//
// The decision is kept in the handle's own padding: the module-name field
// holds a name of at most eight characters and its terminating NUL in 16
// bytes, so its last byte is never part of the name.  A handle whose byte
// is 0 (one the host copied together itself) is decided on each call as
// before; the layout, size and offsets of the handle do not change.
#pragma once

#include <cstddef>

#include "registry/byte_results.h"
#include "valfmt.h"

namespace valfmt {

inline constexpr std::size_t kResultKindByte = sizeof(fmthandle{}.modname) - 1;

enum : char {
  kResultUndecided = 0,
  kResultText = 'T', // narrow text: widened for a 16-bit caller
  kResultRaw = 'R',  // a stored double or machine bytes: never widened
};

// Numeric informats store a double at `out`; that result is not text.
inline bool stores_double(const fmtinfo_eachfmt &d) {
  return d.name[0] == '@' && d.name[1] != '$';
}

inline char decide_result_kind(const fmtinfo_eachfmt &d) {
  return stores_double(d) || yields_bytes(d.fn) ? kResultRaw : kResultText;
}

// Records the decision in a handle built by resolution.
inline void remember_result_kind(fmthandle *h) {
  h->modname[kResultKindByte] = decide_result_kind(h->desc);
}

inline bool result_is_text(const fmthandle *h) {
  const char k = h->modname[kResultKindByte];
  if (k == kResultText) return true;
  if (k == kResultRaw) return false;
  return decide_result_kind(h->desc) == kResultText;
}

} // namespace valfmt
