// Packing and unpacking of ISO 8601 values, and their hexadecimal text.
#include "datetime/iso8601/packed.h"

#include "datetime/calendar.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int32_t kUnitCodeShift = 2;
constexpr uint8_t kPointBit = 0x1;
constexpr uint8_t kSingleBit = 0x2;

int32_t nibble(const uint8_t *bytes, int32_t i) { // i counts from 0
  const uint8_t b = bytes[i / 2];
  return i % 2 == 0 ? b >> 4 : b & 0xF;
}

void set_nibble(uint8_t *bytes, int32_t i, int32_t v) {
  uint8_t &b = bytes[i / 2];
  b = i % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | (v << 4))
                 : static_cast<uint8_t>((b & 0xF0) | (v & 0xF));
}

// Decimal digits in nibbles [first, first + n): the number, kOmitted when
// all are F, or -2 when malformed.
int32_t decimal_field(const uint8_t *bytes, int32_t first, int32_t n) {
  int32_t value = 0;
  int32_t fs = 0;
  for (int32_t i = first; i < first + n; ++i) {
    const int32_t x = nibble(bytes, i);
    if (x == 0xF)
      ++fs;
    else if (x > 9)
      return -2;
    value = value * 10 + x;
  }
  if (fs == n) return kOmitted;
  return fs == 0 ? value : -2;
}

bool valid_unit(int32_t code) {
  const int32_t base = code & ~kThousandths;
  return (code & ~(kThousandths | 0x7)) == 0 && base <= kUnitSeconds;
}

bool within(int32_t value, int32_t lo, int32_t hi) {
  return value == kOmitted || (value >= lo && value <= hi);
}

// A point's day lies in its month (in 1..31 when the month or year is
// omitted), its hour in 0..23 and its minute and second in 0..59: a text
// written from anything else would name no instant.
bool valid_clock_and_day(const IsoValue &v) {
  const int32_t *p = v.part;
  if (!within(p[kHour], 0, 23) || !within(p[kMinute], 0, 59) ||
      !within(p[kSecond], 0, 59) || !within(p[kDay], 1, 31))
    return false;
  if (p[kDay] == kOmitted || p[kMonth] == kOmitted || p[kYear] == kOmitted)
    return true;
  return p[kDay] <= month_length(p[kYear], p[kMonth]);
}

} // namespace

int32_t convert_from_bcd(const uint8_t *bytes, IsoValue &v) {
  v = IsoValue{};
  bool all_ff = true;
  for (int32_t i = 0; i < kPackedBytes; ++i)
    all_ff = all_ff && bytes[i] == 0xFF;
  if (all_ff) {
    v.missing = true;
    return VF_OK;
  }
  const uint8_t last = bytes[kPackedBytes - 1];
  v.point = (last & kPointBit) != 0;
  v.single = !v.point && (last & kSingleBit) != 0;
  if (v.single) {
    const auto u = static_cast<uint32_t>(bytes[3]) << 24 |
                   static_cast<uint32_t>(bytes[4]) << 16 |
                   static_cast<uint32_t>(bytes[5]) << 8 | bytes[6];
    v.count = static_cast<int32_t>(u);
    v.unit = last >> kUnitCodeShift;
    return valid_unit(v.unit) ? VF_OK : VF_ERR_BAD_PACKED;
  }
  v.part[kYear] = decimal_field(bytes, 0, 4);
  const int32_t month = nibble(bytes, 4);
  v.part[kMonth] = month == 0xF ? kOmitted : month;
  if (month != 0xF && (month > 12 || (v.point && month == 0)))
    return VF_ERR_BAD_PACKED;
  for (int32_t p = kDay; p <= kSecond; ++p) {
    v.part[p] = decimal_field(bytes, 5 + 2 * (p - kDay), 2);
    if (v.part[p] == -2) return VF_ERR_BAD_PACKED;
  }
  if (v.part[kYear] == -2) return VF_ERR_BAD_PACKED;
  if (v.point && !valid_clock_and_day(v)) return VF_ERR_BAD_PACKED;
  const int32_t fraction = (bytes[6] & 0xF) << 6 | last >> 2;
  if (fraction >= 1000 && fraction != kFractionOmitted)
    return VF_ERR_BAD_PACKED;
  v.fraction = fraction == kFractionOmitted ? kOmitted : fraction;
  return VF_OK;
}

void convert_to_bcd(const IsoValue &v, uint8_t *bytes) {
  for (int32_t i = 0; i < kPackedBytes; ++i) bytes[i] = 0xFF;
  if (v.missing) return;
  if (v.single) {
    const auto u = static_cast<uint32_t>(static_cast<int32_t>(v.count));
    bytes[0] = bytes[1] = bytes[2] = 0;
    bytes[3] = static_cast<uint8_t>(u >> 24);
    bytes[4] = static_cast<uint8_t>(u >> 16);
    bytes[5] = static_cast<uint8_t>(u >> 8);
    bytes[6] = static_cast<uint8_t>(u);
    bytes[7] = static_cast<uint8_t>(v.unit << kUnitCodeShift | kSingleBit);
    return;
  }
  auto put_decimal = [&](int32_t first, int32_t n, int32_t value) {
    for (int32_t i = first + n - 1; i >= first; --i) {
      set_nibble(bytes, i, value == kOmitted ? 0xF : value % 10);
      if (value != kOmitted) value /= 10;
    }
  };
  put_decimal(0, 4, v.part[kYear]);
  set_nibble(bytes, 4, v.part[kMonth] == kOmitted ? 0xF : v.part[kMonth]);
  for (int32_t p = kDay; p <= kSecond; ++p)
    put_decimal(5 + 2 * (p - kDay), 2, v.part[p]);
  const int32_t fraction =
      v.fraction == kOmitted ? kFractionOmitted : v.fraction;
  set_nibble(bytes, 13, fraction >> 6);
  bytes[7] =
      static_cast<uint8_t>((fraction & 0x3F) << 2 | (v.point ? kPointBit : 0));
}

bool unhexify(const char *text, int32_t n, uint8_t *bytes) {
  for (int32_t i = 0; i < n; ++i) {
    const char c = text[i];
    int32_t x;
    if (c >= '0' && c <= '9')
      x = c - '0';
    else if (c >= 'A' && c <= 'F')
      x = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      x = c - 'a' + 10;
    else
      return false;
    if (i % 2 == 0)
      bytes[i / 2] = static_cast<uint8_t>(x << 4);
    else
      bytes[i / 2] = static_cast<uint8_t>(bytes[i / 2] | x);
  }
  return true;
}

void hexify(const uint8_t *bytes, int32_t n, char *text) {
  for (int32_t i = 0; i < n; ++i) {
    text[2 * i] = kHexDigits[bytes[i] >> 4];
    text[2 * i + 1] = kHexDigits[bytes[i] & 0xF];
  }
}

} // namespace valfmt
