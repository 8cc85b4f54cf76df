// ROMAN: the whole part of a number as a Roman numeral, left-aligned.
//
//   1999  "MCMXCIX"     -4  "-IV"     0  "0"     9999  "MMMMMMMMMCMXCIX"
//
// The numeral is built digit by digit from the thousands down, each digit
// by its own row of the numeral table, so thousands repeat 'M' (up to nine
// of them).  Fractions are dropped (toward zero).  A value whose whole part
// reaches 10000, an infinity, or a numeral (with its '-') wider than the
// field shows w '*' with status 0.  The missing value shows its character
// in column 0.
//
// outlen is the length of the numeral (with its '-'); the columns after it
// up to w are blank.  Zero is the one-character numeral "0", so its outlen
// is 1 as well.
#include <cmath>
#include <string_view>

#include "core/call.h"
#include "core/missing.h"
#include "core/text.h"
#include "numeric/field_call.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kRoman = row_limits("ROMAN");

// One row per decimal place, units first, indexed by the digit.
constexpr std::string_view kNumeralRows[4][10] = {
    {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"},
    {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"},
    {"", "C", "CC", "CCC", "CD", "D", "DC", "DCC", "DCCC", "CM"},
    {"", "M", "MM", "MMM", "MMMM", "MMMMM", "MMMMMM", "MMMMMMM", "MMMMMMMM",
     "MMMMMMMMM"}};

constexpr int32_t kLimit = 10000;
constexpr double kIntLimit = 2147483647.0;

// The numeral of 1 <= n < 10000 into buf (room for 21 characters, the
// length of 9888's numeral).  Returns its length.
int32_t roman_numeral(int32_t n, char *buf) {
  const int32_t digits[4] = {n / 1000, n / 100 % 10, n / 10 % 10, n % 10};
  int32_t len = 0;
  for (int32_t place = 3; place >= 0; --place) {
    const std::string_view s = kNumeralRows[place][digits[3 - place]];
    std::memcpy(buf + len, s.data(), s.size());
    len += static_cast<int32_t>(s.size());
  }
  return len;
}

// The missing value's display, moved to the left edge.
int32_t show_missing(fmtcall *call) {
  fmtcall inner = *call;
  zfmmiss(&inner);
  char *out = static_cast<char *>(call->out);
  const int32_t w = call->w;
  for (int32_t i = 0; i < w; ++i) {
    if (out[i] != ' ') {
      out[0] = out[i];
      if (i > 0) out[i] = ' ';
      break;
    }
  }
  return finish_narrow(call, w);
}

} // namespace
} // namespace valfmt

extern "C" VF_API int32_t zfmromn(fmtcall *call) {
  using namespace valfmt;
  if (call == nullptr) return VF_ERR_BAD_CALL;
  if (const int32_t refused = refuse_call(call, kRoman)) return refused;
  const int32_t w = call->w;
  char *out = static_cast<char *>(call->out);
  const double v = call_value(call);
  if (is_stray_nan(v)) return refuse_stray_nan(call, w);
  if (is_missing(v)) return show_missing(call);
  if (std::fabs(v) > kIntLimit || std::fabs(std::trunc(v)) >= kLimit) {
    put_stars(out, w);
    return finish_narrow(call, w);
  }
  const int32_t whole = static_cast<int32_t>(v);
  const int32_t n = whole < 0 ? -whole : whole;
  if (n == 0) {
    copy_padded(out, w, "0", 1);
    return finish_narrow(call, 1);
  }
  char text[24];
  const int32_t sign = whole < 0 ? 1 : 0;
  text[0] = '-';
  const int32_t len = sign + roman_numeral(n, text + sign);
  if (len > w) {
    put_stars(out, w);
    return finish_narrow(call, w);
  }
  copy_padded(out, w, text, len);
  return finish_narrow(call, len);
}
