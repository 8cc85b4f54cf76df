// SSN: a nine-digit number as ddd-dd-dddd, with leading zeros.  A missing
// value, a value outside 0 <= v < 1e9 and a NaN show the template
// "...-..-....".  The field is always 11 columns whatever w says; a buffer
// smaller than that gets '*' in its bytes and VF_ERR_OUTSIZE.
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "numeric/punctuated.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr int32_t kSsnWidth = row_limits("SSN").maxw;
constexpr int32_t kSsnDigits = 9;
constexpr double kSsnLimit = 1e9;

int32_t ssn(fmtcall *c) {
  char *out = static_cast<char *>(c->out);
  std::memcpy(out, "...-..-....", kSsnWidth);
  const double v = call_value(c);
  if (!is_missing(v) && v >= 0 && v < kSsnLimit) {
    char digits[kSsnDigits];
    write_int_field(static_cast<int64_t>(v), digits, kSsnDigits);
    for (char &ch : digits)
      if (ch == ' ') ch = '0';
    std::memcpy(out, digits, 3);
    std::memcpy(out + 4, digits + 3, 2);
    std::memcpy(out + 7, digits + 5, 4);
  }
  return finish_narrow(c, kSsnWidth);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmssn(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = valfmt::refuse_field(call, valfmt::kSsnWidth))
    return refused;
  return valfmt::ssn(call);
}

} // extern "C"
