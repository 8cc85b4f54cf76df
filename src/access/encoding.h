// Internal interface of the encoding layer: encoding methods, the two-level
// case tables and the hashed encoding-name table.  The converters that use
// them are exported with C linkage (valfmt.h).
#pragma once

#include <array>
#include <cstdint>

#include "core/units.h"

namespace valfmt {

// Encoding identifiers run 0..kEncodingIdLimit-1; the method says how
// characters take bytes in an encoding.
inline constexpr uint32_t kEncodingIdLimit = 230;
inline constexpr uint32_t kEncMethodSingle = 0; // one byte per character
inline constexpr uint32_t kEncMethodUtf8 = 1;
inline constexpr uint32_t kEncMethodUtf16 = 2;
inline constexpr uint32_t kEncMethodUtf32 = 3;
inline constexpr uint32_t kEncMethodShifted = 4; // shift-out / shift-in DBCS
inline constexpr uint32_t kEncMethodDbcs = 5;    // one or two bytes

// Two-level case tables.  kCaseBlockIndex[unit >> 7] is -1 for a block of
// 128 units without case mapping, else the offset of the block in
// kUpcaseDeltas / kDowncaseDeltas.  Those hold signed deltas; the delta
// kCaseDeltaInList sends the unit to kUpcaseExceptions /
// kDowncaseExceptions, lists of (unit, mapped unit) pairs ended by a pair
// whose first unit is 0.
inline constexpr int kCaseBlockCount = 19;
inline constexpr int kCaseBlockUnits = 128;
inline constexpr int kCaseIndexSize = 0x10000 / kCaseBlockUnits;
inline constexpr int8_t kCaseDeltaInList = -128;
struct CasePair {
  uint16_t unit;
  uint16_t mapped;
};
using CaseIndex = std::array<int16_t, kCaseIndexSize>;
using CaseDeltas = std::array<int8_t, kCaseBlockCount * kCaseBlockUnits>;
extern const CaseIndex kCaseBlockIndex;
extern const CaseDeltas kUpcaseDeltas;
extern const CaseDeltas kDowncaseDeltas;
extern const std::array<CasePair, 21> kUpcaseExceptions;   // 20 + end mark
extern const std::array<CasePair, 20> kDowncaseExceptions; // 19 + end mark

// One unit through the case tables.
uint16_t upcase_unit(uint16_t unit);
uint16_t lowcase_unit(uint16_t unit);

// The encoding-name table: hash buckets of upper-case names.
struct EncNameEntry {
  const char *name; // upper case, NUL terminated
  uint32_t id;
  int32_t len;
};
struct EncNameBucket {
  const EncNameEntry *entries;
  int32_t count;
};
inline constexpr int kEncNameBucketCount = 121;
extern const std::array<EncNameBucket, kEncNameBucketCount> kEncNameTable;

// Bucket of an upper-cased name of len >= 4 bytes (bytes read unsigned).
constexpr int encname_bucket(const char *name, int32_t len) {
  auto c = [name](int32_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(name[i]));
  };
  return static_cast<int>(
      (c(0) + 3 * c(1) + 5 * c(len - 3) + 7 * c(len - 2) + 9 * c(len - 1)) %
      kEncNameBucketCount);
}

} // namespace valfmt
