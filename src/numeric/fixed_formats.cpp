// The formats built directly on the fixed renderer: F, BEST, E (a decimals
// code each), BESTX (at most 32 rendered columns), D (the significance
// rule) and Z (zero fill).  None of them changes the caller's call block
// beyond the result fields.
#include <cstring>

#include "registry/functions.h"
#include "core/call.h"
#include "core/missing.h"
#include "numeric/fixed.h"

namespace valfmt {
namespace {

// True when the renderer refuses the field whatever the value.
inline bool field_unusable(const fmtcall *c) {
  return c->w < 1 || c->w > kMaxFixedWidth || out_capacity(c) < c->w;
}

inline bool value_missing(const fmtcall *c) {
  return c->value != nullptr && is_missing(call_value(c));
}

// D's decimals d select the significance rule with d digits (code 80 + d)
// for d < 10; 98 and 99 become codes of the best path, and codes beyond 99
// all act alike.
inline int32_t d_rule_code(int32_t d) {
  const int64_t code = static_cast<int64_t>(d) + kCodeDRuleBase;
  return code > 100 ? 100 : static_cast<int32_t>(code);
}

// Z: every blank of a rendered field becomes '0'; a negative value's '-'
// moves to column 0.  Fields without blanks, or with only blanks and '.',
// are left as rendered.
bool zero_fill(char *out, int32_t w, bool negative) {
  bool blank = false;
  bool other = false;
  for (int32_t i = 0; i < w; ++i) {
    if (out[i] == ' ')
      blank = true;
    else if (out[i] != '.')
      other = true;
  }
  if (!blank || !other) return false;
  for (int32_t i = 0; i < w; ++i)
    if (out[i] == ' ') out[i] = '0';
  if (negative) {
    // The sign moves to column 0; an exponent's '-' stays.
    for (int32_t i = 0; i < w; ++i) {
      if (out[i] == '-') {
        out[i] = '0';
        break;
      }
    }
    out[0] = '-';
  }
  return true;
}

} // namespace
} // namespace valfmt

extern "C" {

// The formats that are the renderer with one decimals code: name, code.
#define VF_FIXED_CODE_FORMATS(X)                                               \
  X(zfmt, call->d)           /* F: the caller's decimals */                    \
  X(zfmn, call->d)           /* the renderer under its second name */          \
  X(zfmb, valfmt::kCodeBest) /* BEST */                                        \
  X(zfmexp, valfmt::kCodeE)  /* E */

#define VF_DEFINE_FIXED_FORMAT(name, code)                                     \
  VF_API int32_t name(fmtcall *call) {                                         \
    if (call == nullptr) return VF_ERR_BAD_CALL;                               \
    return valfmt::render_fixed(call, call->w, code);                          \
  }
VF_FIXED_CODE_FORMATS(VF_DEFINE_FIXED_FORMAT)
#undef VF_DEFINE_FIXED_FORMAT
#undef VF_FIXED_CODE_FORMATS

VF_API int32_t zfmbx(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  constexpr int32_t kRendered = valfmt::kMaxFixedWidth;
  const int32_t w = call->w;
  if (w <= kRendered) return valfmt::render_fixed(call, w, call->d);
  // Rendered in the first 32 columns (outlen stays 32); the rest of the
  // field that the buffer holds is blank.
  const int32_t status = valfmt::render_fixed(call, kRendered, call->d);
  const int32_t cap = valfmt::out_capacity(call);
  const int32_t end = w < cap ? w : cap;
  if (end > kRendered)
    valfmt::put_blanks(static_cast<char *>(call->out) + kRendered,
                       end - kRendered);
  return status;
}

VF_API int32_t zfmd(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  // A field the renderer refuses is refused whatever the value; a missing
  // value otherwise shows its character in the last column.
  if (!valfmt::field_unusable(call) && valfmt::value_missing(call)) {
    valfmt::write_missing_field(call, call->w, 0);
    return VF_OK;
  }
  return valfmt::render_fixed(call, call->w, valfmt::d_rule_code(call->d));
}

VF_API int32_t zfmz(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (valfmt::field_unusable(call))
    return valfmt::render_fixed(call, call->w, call->d);
  if (valfmt::value_missing(call)) return zfmmiss(call);
  const int32_t status = valfmt::render_fixed(call, call->w, call->d);
  if (status < 0) return status;
  const bool negative = valfmt::call_value(call) < 0;
  if (!valfmt::zero_fill(static_cast<char *>(call->out), call->outlen,
                         negative))
    return status;
  return VF_OK;
}

} // extern "C"
