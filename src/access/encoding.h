// encoding.h - internal interface of the encoding converters: the
// case tables and the encoding-name table.
#ifndef VALFMT_ACCESS_ENCODING_H
#define VALFMT_ACCESS_ENCODING_H

#include <array>
#include <cstdint>

#include "core/units.h"

namespace valfmt {

// Encoding identifiers and the ways characters take bytes in them.
inline constexpr uint32_t encoding_id_limit = 230; // identifiers 0..229
inline constexpr uint32_t enc_method_single = 0;   // one byte per character
inline constexpr uint32_t enc_method_utf8 = 1;
inline constexpr uint32_t enc_method_utf16 = 2;
inline constexpr uint32_t enc_method_utf32 = 3;
inline constexpr uint32_t enc_method_dbcs_shift = 4; // shift-out / shift-in
inline constexpr uint32_t enc_method_dbcs = 5;       // one or two bytes

// Two-level case tables.  skz_metatable[unit >> 7] is -1 for a block of
// 128 units without case mapping, else the offset of the block in
// skz_upshift / skz_downshift.  Those hold signed deltas; the delta
// case_delta_in_list sends the unit to skz_upaux / skz_downaux, lists of
// (unit, mapped unit) pairs ended by a pair whose first unit is 0.
inline constexpr int case_block_count = 19;
inline constexpr int8_t case_delta_in_list = -128;
struct CasePair {
  uint16_t unit;
  uint16_t mapped;
};
extern const std::array<int16_t, 512> skz_metatable;
extern const std::array<int8_t, case_block_count * 128> skz_upshift;
extern const std::array<int8_t, case_block_count * 128> skz_downshift;
extern const std::array<CasePair, 21> skz_upaux;   // 20 pairs + end mark
extern const std::array<CasePair, 20> skz_downaux; // 19 pairs + end mark

// One unit through the case tables.
uint16_t upcase_unit(uint16_t unit);
uint16_t lowcase_unit(uint16_t unit);

// The encoding-name table: 121 hash buckets of upper-case names.
struct EncNameEntry {
  const char *name; // upper case, NUL terminated
  uint32_t id;
  int32_t len;
};
struct EncNameBucket {
  const EncNameEntry *entries;
  int32_t count;
};
inline constexpr int encname_bucket_count = 121;
inline constexpr int encname_entry_count = 394;
extern const std::array<EncNameBucket, encname_bucket_count> etable;

// Bucket of an upper-cased name of len >= 4 bytes (bytes read unsigned).
constexpr int encname_bucket(const char *name, int32_t len) {
  auto c = [name](int32_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(name[i]));
  };
  return static_cast<int>(
      (c(0) + 3 * c(1) + 5 * c(len - 3) + 7 * c(len - 2) + 9 * c(len - 1)) %
      encname_bucket_count);
}

} // namespace valfmt

#endif // VALFMT_ACCESS_ENCODING_H
