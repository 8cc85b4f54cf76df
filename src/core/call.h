// The call-block view every format shares: the value it carries, the room
// the caller gave, and the fills that end a field.  All of these respect
// outsize and write nothing without a buffer.
#pragma once

#include <cstdint>
#include <cstring>

#include "valfmt.h"

namespace valfmt {

// The double a numeric call block carries (8 bytes at value, any
// alignment).  The caller has checked that value is not null.
inline double call_value(const fmtcall *c) {
  double v;
  std::memcpy(&v, c->value, sizeof v);
  return v;
}

// Stores a double at p (8 bytes, any alignment): the result of a numeric
// informat.
inline void store_double(void *p, double v) {
  std::memcpy(p, &v, sizeof v);
}

// Bytes the caller's buffer holds: outsize, or 0 without a buffer.
inline int32_t out_capacity(const fmtcall *c) {
  return c->out != nullptr && c->outsize > 0 ? c->outsize : 0;
}

inline void put_blanks(char *p, int32_t n) {
  if (n > 0) std::memset(p, ' ', static_cast<std::size_t>(n));
}

inline void put_stars(char *p, int32_t n) {
  if (n > 0) std::memset(p, '*', static_cast<std::size_t>(n));
}

// Fills the first n bytes of the call's output with '*' (never more than
// the buffer holds) and sets outlen to the count written.
inline void fill_stars(fmtcall *c, int32_t n) {
  const int32_t cap = out_capacity(c);
  if (n > cap) n = cap;
  if (n < 0) n = 0;
  put_stars(static_cast<char *>(c->out), n);
  c->outlen = n;
}

// Ends a narrow result of n bytes: outlen n, outenc narrow.
inline int32_t finish_narrow(fmtcall *c, int32_t n, int32_t status = VF_OK) {
  c->outlen = n;
  c->outenc = VF_ENC_NARROW;
  return status;
}

} // namespace valfmt
