// Packed ISO 8601 values: a point in time with possibly omitted
// components, or a duration, in 8 bytes carried as 16 hexadecimal digits;
// an interval is two of them, start then end (32 digits).
//
// Ordinary layout, nibble by nibble from the first byte: the year as four
// decimal digits, the month as one hexadecimal nibble, day, hour, minute
// and second as two decimal digits each, then a 10-bit fraction in
// thousandths (the last nibble of byte 6 and the top six bits of byte 7),
// then bit 1 (single-unit layout) and bit 0 (point in time).  An omitted
// component has all its bits set.  The single-unit layout of a duration
// keeps a signed 32-bit big-endian count in bytes 3..6 and a unit code in
// the top six bits of byte 7; its first three bytes are zero.
#pragma once

#include <cstdint>

namespace valfmt {

inline constexpr int32_t kPackedBytes = 8;
inline constexpr int32_t kPackedDigits = 16;
inline constexpr int32_t kOmitted = -1;
inline constexpr int32_t kFractionOmitted = 1023;

// Components in the order they are written.
enum IsoPart : int32_t { kYear, kMonth, kDay, kHour, kMinute, kSecond };
inline constexpr int32_t kPartCount = 6;

// Units of the single-unit layout; kThousandths marks a count in
// thousandths of the unit.
enum IsoUnit : int32_t {
  kUnitYears = 0,
  kUnitMonths = 1,
  kUnitWeeks = 2,
  kUnitDays = 3,
  kUnitHours = 4,
  kUnitMinutes = 5,
  kUnitSeconds = 6,
};
inline constexpr int32_t kThousandths = 0x20;

struct IsoValue {
  bool missing = false; // every byte 0xFF
  bool point = false;   // a point in time; else a duration
  bool single = false;  // a duration in the single-unit layout
  // Ordinary layout: components (kOmitted when absent) and the fraction of
  // seconds in thousandths (kOmitted when absent).
  int32_t part[kPartCount] = {kOmitted, kOmitted, kOmitted,
                              kOmitted, kOmitted, kOmitted};
  int32_t fraction = kOmitted;
  // Single-unit layout.
  int64_t count = 0;
  int32_t unit = 0; // IsoUnit, possibly with kThousandths
};

// Unpacks 8 bytes; VF_ERR_BAD_PACKED when a decimal nibble is not a digit,
// a component is partly omitted, a month lies outside 1..12 (0..12 in a
// duration), a point's day is not in its month (on the library calendar,
// where 4000 and 8000 have no 29 February) or its hour, minute or second
// is past 23, 59 or 59, the fraction lies in 1000..1022 or the unit code
// is unknown.
int32_t convert_from_bcd(const uint8_t *bytes, IsoValue &v);

// Packs a value whose components are within the layout's limits.
void convert_to_bcd(const IsoValue &v, uint8_t *bytes);

// Reads n hexadecimal digits (either case) into n / 2 bytes; false on any
// other character.
bool unhexify(const char *text, int32_t n, uint8_t *bytes);

// Writes n bytes as 2n upper-case hexadecimal digits.
void hexify(const uint8_t *bytes, int32_t n, char *text);

} // namespace valfmt
