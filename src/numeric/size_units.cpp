// Storage sizes: a byte count shown in kilobytes, megabytes or gigabytes,
// the number as F shows it followed by its unit.
//
//   SIZEK9.     1     "       1K"   any part of a kilobyte counts as one
//   SIZEKB10.2  1536  "    1.50KB"
//   SIZEKMG6.1  512   " 0.5KB"      1536 " 1.5KB"     1048576 " 1.0MB"
//
// SIZEK and SIZEKB always count kilobytes (1024 bytes); without decimals
// they round up to the next whole kilobyte.  SIZEKMG picks the unit: the
// count is divided by 1024 once, which gives kilobytes, and while the
// result is still 1024 or more it is divided again and the unit moves on
// to megabytes, then gigabytes; there is no rounding up.  So 1536 bytes are
// " 1.5KB" and 1024^2 bytes " 1.0MB" at SIZEKMG6.1.  Counts of
// 1024^4 bytes and more (and infinities) show w '*' with status 0.
//
// The number takes the first w - 1 (SIZEK) or w - 2 columns and keeps the
// renderer's status; a number the renderer cannot show is '*' before the
// unit.  The missing value is shown as F shows it in the whole field.
#include <cmath>

#include "core/call.h"
#include "core/missing.h"
#include "numeric/field_call.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kSizeK = row_limits("SIZEK");
constexpr RowLimits kSizeKB = row_limits("SIZEKB");
constexpr RowLimits kSizeKMG = row_limits("SIZEKMG");

constexpr double kKilo = 1024.0;
constexpr double kSizeLimit = 1099511627776.0; // 1024^4

// Renders x as F with the call's d in the first w - unit_len columns and
// puts the unit after it.  outlen covers both.
int32_t put_with_unit(fmtcall *call, double x, const char *unit,
                      int32_t unit_len) {
  char *out = static_cast<char *>(call->out);
  Shown shown;
  const int32_t status =
      render_f(out, out_capacity(call), call->w - unit_len, call->d, x, shown);
  std::memcpy(out + shown.len, unit, static_cast<std::size_t>(unit_len));
  return finish_narrow(call, shown.len + unit_len, status);
}

// The missing value in the whole field, at the column F w.d uses.
int32_t show_missing(fmtcall *call) {
  fmtcall inner = *call;
  zfmmiss(&inner);
  return finish_narrow(call, inner.outlen);
}

// SIZEK and SIZEKB: kilobytes, rounded up when no decimals are asked.
int32_t kilobytes(fmtcall *call, RowLimits limits, const char *unit,
                  int32_t unit_len) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = refuse_call(call, limits)) return refused;
  const double v = call_value(call);
  if (is_stray_nan(v)) return refuse_stray_nan(call, call->w);
  if (is_missing(v)) return show_missing(call);
  double x = std::fabs(v) / kKilo;
  if (call->d == 0) x = std::ceil(x);
  return put_with_unit(call, v < 0 ? -x : x, unit, unit_len);
}

int32_t zfmtk(fmtcall *call) {
  return kilobytes(call, kSizeK, "K", 1);
}

int32_t zfmtkb(fmtcall *call) {
  return kilobytes(call, kSizeKB, "KB", 2);
}

// SIZEKMG: the unit that keeps the number below 1024.
int32_t zfmtkmg(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = refuse_call(call, kSizeKMG)) return refused;
  const int32_t w = call->w;
  const double v = call_value(call);
  if (is_stray_nan(v)) return refuse_stray_nan(call, w);
  if (is_missing(v)) return show_missing(call);
  double x = std::fabs(v);
  if (x >= kSizeLimit) {
    put_stars(static_cast<char *>(call->out), w);
    return finish_narrow(call, w);
  }
  constexpr char kUnits[] = "KMG";
  int32_t unit = 0;
  x /= kKilo;
  while (x >= kKilo) {
    x /= kKilo;
    ++unit;
  }
  const char text[2] = {kUnits[unit], 'B'};
  return put_with_unit(call, v < 0 ? -x : x, text, 2);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t sizek(fmtcall *call) {
  return valfmt::zfmtk(call);
}

VF_API int32_t sizekb(fmtcall *call) {
  return valfmt::zfmtkb(call);
}

VF_API int32_t sizekmg(fmtcall *call) {
  return valfmt::zfmtkmg(call);
}

} // extern "C"
