// Character transforms: $EBCDIC / @$EBCDIC (translation to and from code
// page 1047), $ASCII (a plain copy), $REVERS and $REVERJ (reversal),
// $CSTR (NUL-terminated), $BYVAL (the code of the first character as an
// integer) and NUMX (the F text with a decimal comma).
//
// Every format here writes at most min(w, outsize) bytes; a buffer smaller
// than w cuts the field and returns VF_ERR_OUTSIZE ($BYVAL, an integer
// field, returns VF_ERR_OVERFLOW).  16-bit input (inenc 25 or 24) is read a
// character at a time; a character above 0xFF stands as '?', except in
// $BYVAL, which takes the code of the first character as it is.
#include <algorithm>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/ebcdic.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

inline int32_t cut_status(const fmtcall *c, int32_t n) {
  return n < c->w ? VF_ERR_OUTSIZE : VF_OK;
}

// Characters of the input without its trailing blanks.
int32_t stripped_length(const CharInput &in) {
  int32_t n = in.n;
  while (n > 0 && in.unit(n - 1) == ' ') --n;
  return n;
}

// The first k input characters reversed at the start of the field, blanks
// after them; outlen is the count of reversed characters written.
int32_t put_reversed(fmtcall *call, const CharInput &in, int32_t len) {
  const int32_t room = field_room(call);
  const int32_t k = std::min(call->w, len);
  const int32_t shown = std::min(k, room);
  uint8_t *out = out_bytes(call);
  for (int32_t i = 0; i < shown; ++i) out[i] = in.at(k - 1 - i);
  put_blanks(reinterpret_cast<char *>(out) + shown, room - shown);
  return finish_narrow(call, shown, cut_status(call, room));
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t s370ebc(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$EBCDIC");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  const int32_t n = field_room(call);
  const int32_t k = std::min(in.n, n);
  uint8_t *out = out_bytes(call);
  for (int32_t i = 0; i < k; ++i) out[i] = as2eb[in.at(i)];
  if (n > k) std::memset(out + k, 0x40, static_cast<std::size_t>(n - k));
  return finish_narrow(call, n, cut_status(call, n));
}

VF_API int32_t s370ieb(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const ReaderInput in = reader_input(call);
  const int32_t n = field_room(call);
  const int32_t k = std::min(in.n, n);
  uint8_t *out = out_bytes(call);
  for (int32_t i = 0; i < k; ++i) out[i] = eb2as[in.p[i]];
  put_blanks(reinterpret_cast<char *>(out) + k, n - k);
  return finish_narrow(call, n);
}

VF_API int32_t zfmasc(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$ASCII");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  const int32_t n = field_room(call);
  const int32_t k = std::min(in.n, n);
  uint8_t *out = out_bytes(call);
  for (int32_t i = 0; i < k; ++i) out[i] = in.at(i);
  put_blanks(reinterpret_cast<char *>(out) + k, n - k);
  return finish_narrow(call, n, cut_status(call, n));
}

VF_API int32_t reversj(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$REVERJ");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  return put_reversed(call, in, in.n);
}

VF_API int32_t reverse(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$REVERS");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  return put_reversed(call, in, stripped_length(in));
}

VF_API int32_t cstr(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$CSTR");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  const int32_t n = field_room(call);
  int32_t len = stripped_length(in);
  if (len >= n) len = n > 0 ? n - 1 : 0;
  uint8_t *out = out_bytes(call);
  for (int32_t i = 0; i < len; ++i) out[i] = in.at(i);
  if (n > len) std::memset(out + len, 0, static_cast<std::size_t>(n - len));
  return finish_narrow(call, n, cut_status(call, n));
}

VF_API int32_t byval(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$BYVAL");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, false, &d)) return st;
  const CharInput in = char_input(call);
  const int32_t w = call->w;
  double x = in.n > 0 ? in.unit(0) : 0;
  x /= kPow10Scale[d];
  uint64_t v = static_cast<uint64_t>(x);
  if (w == 4)
    v &= 0xFFFFFFFFull;
  else if (w == 2)
    v &= 0xFFFF;
  else if (w != 8)
    v &= 0xFF;
  uint8_t bytes[8];
  for (int32_t i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(v >> (8 * i));
  const int32_t n = field_room(call);
  if (n > 0) std::memcpy(out_bytes(call), bytes, static_cast<std::size_t>(n));
  return finish_narrow(call, n, n < w ? VF_ERR_OVERFLOW : VF_OK);
}

VF_API int32_t zfmnumx(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("NUMX");
  if (const int32_t st = begin_format(call, kLimits, true)) return st;
  const int32_t status = zfmt(call);
  if (is_missing(call_value(call))) return status;
  const int32_t n = std::min(call->outlen, out_capacity(call));
  char *out = static_cast<char *>(call->out);
  for (int32_t i = 0; i < n; ++i)
    if (out[i] == '.') out[i] = ',';
  return status;
}

} // extern "C"
