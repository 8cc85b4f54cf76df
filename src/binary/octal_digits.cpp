// Octal digit strings, both directions: OCTAL / @OCTAL (the integer) and
// $OCTAL / @$OCTAL (three digits per byte).
//
// Choices where the representation leaves room:
//   - $OCTAL fills exactly w columns (the three digits of each input byte,
//     the last byte's cut to the field, blanks once the input is used up)
//     and reports outlen min(w, outsize); it never shows more columns than
//     the width asked for.
//   - A non-missing NaN shows as 0 in OCTAL.
//   - @$OCTAL reads valuelen characters (w is the number of bytes it
//     delivers); a text that is not valid leaves the output untouched with
//     outlen 0.
#include <cmath>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/int_value.h"
#include "informats/informats.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr int32_t kOctalDigits = 24; // 72 bits
constexpr int32_t kMaxOctalText = 32770;
constexpr double kTruncationNudge = 1e-11;

inline bool is_octal(uint8_t c) {
  return c >= '0' && c <= '7';
}

// The 72-bit field OCTAL shows: a leading byte (0xFF for a negative value,
// else 0) and the 8-byte IB of the value; a value the IB cannot hold gives
// the leading byte 1 and 0xFF in its most significant byte.
unsigned __int128 octal_field(double v, int32_t d) {
  double s = vvzscal(d, v);
  if (is_missing(s) || std::isnan(s)) s = 0.0;
  const double t =
      std::copysign(std::trunc(std::fabs(s) + kTruncationNudge), s);
  IntField f = ib_value(t, 8);
  uint64_t lead = t < 0 ? 0xFF : 0;
  if (f.status != VF_OK) {
    lead = 0x01;
    f.bits |= 0xFFull << 56;
  }
  return static_cast<unsigned __int128>(lead) << 64 | f.bits;
}

// Trims blanks on both sides of t[0..n); returns the new start, *end the
// new end.
int32_t trim(const uint8_t *t, int32_t n, int32_t *end) {
  int32_t a = 0;
  while (a < n && t[a] == ' ') ++a;
  while (n > a && t[n - 1] == ' ') --n;
  *end = n;
  return a;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmocn(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("OCTAL");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const double v = call_value(call);
  if (is_missing(v)) return best_field(call);
  const unsigned __int128 field = octal_field(v, d);
  const int32_t n = field_room(call);
  char *out = static_cast<char *>(call->out);
  for (int32_t k = 0; k < n && k < kOctalDigits; ++k)
    out[n - 1 - k] = static_cast<char>('0' + ((field >> (3 * k)) & 7));
  return finish_narrow(call, n, n < call->w ? VF_ERR_OUTSIZE : VF_OK);
}

VF_API int32_t zfmocc(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$OCTAL");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  const int32_t n = field_room(call);
  char *out = static_cast<char *>(call->out);
  for (int32_t col = 0; col < n; ++col) {
    const int32_t b = col / 3;
    if (b >= in.n) {
      put_blanks(out + col, n - col);
      break;
    }
    const int32_t shift = 6 - 3 * (col % 3);
    out[col] = static_cast<char>('0' + ((in.at(b) >> shift) & 7));
  }
  return finish_narrow(call, n, n < call->w ? VF_ERR_OUTSIZE : VF_OK);
}

VF_API int32_t zifmocn(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@OCTAL");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  double missing;
  if (read_missing_notation(reinterpret_cast<const char *>(in.p), in.n,
                            &missing) == 1) {
    store_double(call->out, missing);
    return VF_OK;
  }
  int32_t end;
  const int32_t start = trim(in.p, in.n, &end);
  // Sum the low and the high twelve positions apart: each part is exact.
  double low = 0, high = 0;
  for (int32_t i = start; i < end; ++i) {
    if (!is_octal(in.p[i])) {
      store_double(call->out, standard_missing());
      return VF_ERR_BAD_OCTAL;
    }
    const double digit = in.p[i] - '0';
    if (end - i > 12)
      high = high * 8 + digit;
    else
      low = low * 8 + digit;
  }
  store_double(call->out, unscale(high * 68719476736.0 + low, divisor)); // 8^12
  return VF_OK;
}

VF_API int32_t zifmocc(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  call->outlen = 0;
  call->outenc = VF_ENC_NARROW;
  const auto *text = static_cast<const uint8_t *>(call->value);
  const int32_t cap = out_capacity(call);
  int64_t n = text != nullptr && call->valuelen > 0 ? call->valuelen : 0;
  const int64_t most = 3 * static_cast<int64_t>(cap);
  n = std::min<int64_t>(n, std::min<int64_t>(most, kMaxOctalText));
  int32_t end;
  const int32_t start = trim(text, static_cast<int32_t>(n), &end);
  const int32_t len = end - start;
  const int32_t w = call->w > 0 ? call->w : 0;
  // Bytes converted: three digits each (the last padded with '0').
  const int32_t nbytes = std::min((len + 2) / 3, w);
  for (int32_t i = start; i < end; ++i)
    if (!is_octal(text[i])) return VF_ERR_BAD_OCTAL;
  for (int32_t k = 0; k < nbytes; ++k)
    if (text[start + 3 * k] > '3') return VF_ERR_OCTAL_BYTE;
  const int32_t room = std::min(w, cap);
  uint8_t *out = out_bytes(call);
  for (int32_t k = 0; k < room; ++k) {
    if (k >= nbytes) {
      put_blanks(reinterpret_cast<char *>(out + k), room - k);
      break;
    }
    int32_t byte = 0;
    for (int32_t j = 0; j < 3; ++j) {
      const int32_t i = start + 3 * k + j;
      byte = byte * 8 + (i < end ? text[i] - '0' : 0);
    }
    out[k] = static_cast<uint8_t>(byte);
  }
  return finish_narrow(call, room);
}

} // extern "C"
