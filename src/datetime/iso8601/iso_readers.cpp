// The exported ISO 8601 readers: is8601dui (a duration), is8601pdi (a
// point in time) and is8601vli (an interval), each writing the packed
// value as hexadecimal digits.
//
// Call block: value/valuelen the text (narrow, or 16-bit units when inenc
// is 25), w the characters to read (at most min(w, valuelen); w <= 0 reads
// the whole value), d the mode, out/outsize the digits.  outenc is narrow.
//  - outsize below 16 (is8601vli: below 32): VF_ISO_SHORT, nothing
//    written, outlen 0.
//  - a blank text: the missing value, all "F", status 0; under mode 256 a
//    missing-value notation ("." or "." and one of _ A..Z) as well.
//  - a text that is not an accepted form: all "F" and VF_ERR_DATE_TEXT.
//  - a value of the other kind (a point given to is8601dui, a duration to
//    is8601pdi): nothing written, outlen 0, VF_ERR_DATE_TEXT.
//  - is8601vli: start/end, start/duration or duration/end; the derived end
//    outside the years 1..9999 or finer than its point: all "F" and
//    VF_ERR_DATE_RANGE.
// A text longer than 128 characters (blanks aside) is not an ISO value.
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "datetime/iso8601/iso_reader.h"
#include "datetime/iso8601/packed.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr int32_t kMaxText = 128;
constexpr int32_t kMissingMode = 256;
constexpr int32_t kIntervalDigits = 2 * kPackedDigits;

// The text to read, narrowed and stripped of blanks; false when too long.
bool take_text(const fmtcall *c, char *text, int32_t &len) {
  int32_t n = c->valuelen;
  if (c->w > 0 && c->w < n) n = c->w;
  if (n < 0 || c->value == nullptr) n = 0;
  const auto *b = static_cast<const unsigned char *>(c->value);
  const bool wide = c->inenc == VF_ENC_UCS2;
  len = 0;
  int32_t first = 0;
  auto at = [&](int32_t i) -> char {
    if (!wide) return static_cast<char>(b[i]);
    const int32_t u = b[2 * i] | b[2 * i + 1] << 8;
    return u < 0x80 ? static_cast<char>(u) : '\x7F';
  };
  while (first < n && at(first) == ' ') ++first;
  while (n > first && at(n - 1) == ' ') --n;
  if (n - first > kMaxText) return false;
  for (int32_t i = first; i < n; ++i) text[len++] = at(i);
  return true;
}

bool missing_notation(const char *text, int32_t len) {
  if (len == 1) return text[0] == '.';
  return len == 2 && text[0] == '.' &&
         missing_code(static_cast<unsigned char>(text[1])) >= 0 &&
         text[1] != '.';
}

int32_t write_digits(fmtcall *c, const uint8_t *bytes, int32_t n_bytes,
                     int32_t status) {
  hexify(bytes, n_bytes, static_cast<char *>(c->out));
  return finish_narrow(c, 2 * n_bytes, status);
}

int32_t write_missing(fmtcall *c, int32_t digits, int32_t status) {
  std::memset(c->out, 'F', static_cast<std::size_t>(digits));
  return finish_narrow(c, digits, status);
}

// is8601dui and is8601pdi.
int32_t read_single(fmtcall *c, bool want_point) {
  if (c == nullptr || c->out == nullptr) return VF_ERR_BAD_CALL;
  c->outenc = VF_ENC_NARROW;
  if (c->outsize < kPackedDigits) {
    c->outlen = 0;
    return VF_ISO_SHORT;
  }
  char text[kMaxText];
  int32_t len = 0;
  if (!take_text(c, text, len))
    return write_missing(c, kPackedDigits, VF_ERR_DATE_TEXT);
  if (c->d == kMissingMode && missing_notation(text, len))
    return write_missing(c, kPackedDigits, VF_OK);
  IsoValue v;
  if (read_date_or_duration(text, len, v) != VF_OK)
    return write_missing(c, kPackedDigits, VF_ERR_DATE_TEXT);
  if (v.missing) return write_missing(c, kPackedDigits, VF_OK);
  if (v.point != want_point) {
    c->outlen = 0;
    return VF_ERR_DATE_TEXT;
  }
  uint8_t bytes[kPackedBytes];
  convert_to_bcd(v, bytes);
  return write_digits(c, bytes, kPackedBytes, VF_OK);
}

int32_t read_interval(fmtcall *c) {
  if (c == nullptr || c->out == nullptr) return VF_ERR_BAD_CALL;
  c->outenc = VF_ENC_NARROW;
  if (c->outsize < kIntervalDigits) {
    c->outlen = 0;
    return VF_ISO_SHORT;
  }
  char text[kMaxText];
  int32_t len = 0;
  if (!take_text(c, text, len))
    return write_missing(c, kIntervalDigits, VF_ERR_DATE_TEXT);
  if (len == 0 || (c->d == kMissingMode && missing_notation(text, len)))
    return write_missing(c, kIntervalDigits, VF_OK);
  const char *slash = static_cast<const char *>(
      std::memchr(text, '/', static_cast<std::size_t>(len)));
  if (slash == nullptr)
    return write_missing(c, kIntervalDigits, VF_ERR_DATE_TEXT);
  const auto left = static_cast<int32_t>(slash - text);
  IsoValue first;
  IsoValue second;
  if (read_date_or_duration(text, left, first) != VF_OK ||
      read_date_or_duration(slash + 1, len - left - 1, second) != VF_OK)
    return write_missing(c, kIntervalDigits, VF_ERR_DATE_TEXT);
  IsoValue start;
  IsoValue end;
  const int32_t status = derive_interval(first, second, start, end);
  if (status != VF_OK) return write_missing(c, kIntervalDigits, status);
  uint8_t bytes[2 * kPackedBytes];
  convert_to_bcd(start, bytes);
  convert_to_bcd(end, bytes + kPackedBytes);
  return write_digits(c, bytes, 2 * kPackedBytes, VF_OK);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t is8601dui(fmtcall *call) {
  return valfmt::read_single(call, false);
}

VF_API int32_t is8601pdi(fmtcall *call) {
  return valfmt::read_single(call, true);
}

VF_API int32_t is8601vli(fmtcall *call) {
  return valfmt::read_interval(call);
}

} // extern "C"
