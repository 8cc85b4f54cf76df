// The locale formats' last step for hosts inside a database: narrow text
// (with "<uXXXX>" escapes for characters it cannot hold) becomes 16-bit
// units in place, after its display length has been measured in the host's
// encoding against the field width.
#include "access/encoding.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr int32_t kMaxUnits = 256;  // the work area, and the length cap
constexpr int32_t kEscapeBytes = 7; // "<uXXXX>"
constexpr uint16_t kCurrencySign = 0xA4;
constexpr uint16_t kCurrencyStandIn = 0x0001;

// Results besides the (non-positive) free positions.
constexpr int32_t kWiderThanField = 1;
constexpr int32_t kNoRoom = 2;

// Host encodings whose length counts differ from one per unit.
constexpr int32_t kHostUtf16Be = 24;
constexpr int32_t kHostUtf16Le = 25;
constexpr int32_t kHostUtf32Be = 26;
constexpr int32_t kHostUtf32Le = 27;

bool is_utf16(int32_t e) {
  return e == kHostUtf16Be || e == kHostUtf16Le;
}
bool is_utf32(int32_t e) {
  return e == kHostUtf32Be || e == kHostUtf32Le;
}
bool is_double_byte(int32_t e) {
  return (e >= 117 && e <= 160) || (e >= 165 && e <= 169) || e == 172 ||
         e == 205 || e == 206;
}

// A hexadecimal digit's value; any other character counts as 0.
unsigned hex_value(unsigned ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return 0;
}

// True when the `left` bytes at p begin with "<u....>" or "<U....>".
bool starts_escape(const uint8_t *p, int32_t left) {
  return left >= kEscapeBytes && p[0] == '<' && (p[1] == 'u' || p[1] == 'U') &&
         p[kEscapeBytes - 1] == '>';
}

uint16_t escaped_unit(const uint8_t *p) {
  unsigned v = 0;
  for (int k = 2; k < 6; ++k) v = v * 16 + hex_value(p[k]);
  return static_cast<uint16_t>(v == kCurrencySign ? kCurrencyStandIn : v);
}

// Bytes to units: an escape gives the unit it names, any other byte the
// unit of the same value (no code-page mapping).  Returns the unit count.
int32_t bytes_to_units(const uint8_t *src, int32_t n, uint16_t *units) {
  int32_t count = 0;
  for (int32_t i = 0; i < n;) {
    if (starts_escape(src + i, n - i)) {
      units[count++] = escaped_unit(src + i);
      i += kEscapeBytes;
    } else {
      units[count++] = src[i++];
    }
  }
  return count;
}

int32_t host_unit_length(uint16_t u, int32_t e) {
  if (is_double_byte(e)) return u >= 128 ? 2 : 1;
  if (e == VF_ENC_UTF8) return utf8_unit_length(u);
  if (is_utf16(e)) return 2;
  if (is_utf32(e)) return 4;
  return 1;
}

// The display length of the units in host encoding e, capped at 256.
int32_t host_length(const uint16_t *units, int32_t count, int32_t e) {
  int32_t length = 0;
  for (int32_t i = 0; i < count && length < kMaxUnits; ++i)
    length += host_unit_length(units[i], e);
  return length > kMaxUnits ? kMaxUnits : length;
}

// Free positions (length - width <= 0) in characters of the host encoding.
int32_t free_positions(int32_t length, int32_t width, int32_t e) {
  const int32_t r = length - width;
  if (is_utf32(e)) return r / 4;
  if (is_utf16(e)) return r / 2;
  return r;
}

void store_units_le(const uint16_t *units, int32_t count, uint8_t *dst) {
  for (int32_t i = 0; i < count; ++i) {
    dst[2 * i] = static_cast<uint8_t>(units[i] & 0xFF);
    dst[2 * i + 1] = static_cast<uint8_t>(units[i] >> 8);
  }
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t getUCS2ResultFromNarrowCharBufForInDB(int32_t hostenc, uint32_t,
                                                     uint32_t *outenc,
                                                     void *text, int32_t *len,
                                                     int32_t width,
                                                     int32_t capacity) {
  using namespace valfmt;
  if (len == nullptr) return kNoRoom;
  const int32_t n = *len;
  if (n > kMaxUnits || (n > 0 && text == nullptr)) return kNoRoom;
  uint16_t units[kMaxUnits];
  const int32_t count =
      bytes_to_units(static_cast<const uint8_t *>(text), n, units);
  const int32_t e =
      hostenc < 1 || hostenc >= static_cast<int32_t>(kEncodingIdLimit)
          ? static_cast<int32_t>(VF_ENC_UCS2)
          : hostenc;
  const int32_t length = host_length(units, count, e);
  if (length > width) return kWiderThanField;
  const int32_t result = free_positions(length, width, e);
  if (count * 2 > capacity) return kNoRoom;
  store_units_le(units, count, static_cast<uint8_t *>(text));
  *len = count * 2;
  if (outenc) *outenc = VF_ENC_UCS2;
  return result;
}

} // extern "C"
