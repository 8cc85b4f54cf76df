// encoding.h - internal interface of the encoding converters: the
// Windows-1252 widening table, the case tables, the encoding-name table and
// small per-unit helpers shared by the access layer and the locale formats.
#ifndef VALFMT_ACCESS_ENCODING_H
#define VALFMT_ACCESS_ENCODING_H

#include <array>
#include <cstdint>

namespace valfmt {

// Byte -> UCS-2 unit, reading narrow text as Windows-1252.  The five bytes
// that code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the code points of the same value, so every byte round-trips.
inline constexpr uint16_t cp1252_to_ucs2[256] = {
    // 0x00..0x7F: identity
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,
    0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
    0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23,
    0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B,
    0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47,
    0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53,
    0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B,
    0x6C, 0x6D, 0x6E, 0x6F, 0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77,
    0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F,
    // 0x80..0x9F: the Windows-1252 assignments
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
    // 0xA0..0xFF: identity
    0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB,
    0xAC, 0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7,
    0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xC1, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,
    0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB,
    0xDC, 0xDD, 0xDE, 0xDF, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7,
    0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF2, 0xF3,
    0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};

// Bytes one UCS-2 unit takes in UTF-8.  Surrogates are encoded one by one,
// like any other unit, so nothing takes four bytes.
constexpr int utf8_unit_length(uint16_t unit) {
  return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
}

// Writes the UTF-8 bytes of one 16-bit unit (utf8_unit_length(unit) of
// them; surrogates are encoded one by one like any other unit).
inline void put_utf8_unit(uint16_t u, uint8_t *out) {
  if (u < 0x80) {
    out[0] = static_cast<uint8_t>(u);
  } else if (u < 0x800) {
    out[0] = static_cast<uint8_t>(0xC0 | (u >> 6));
    out[1] = static_cast<uint8_t>(0x80 | (u & 0x3F));
  } else {
    out[0] = static_cast<uint8_t>(0xE0 | (u >> 12));
    out[1] = static_cast<uint8_t>(0x80 | ((u >> 6) & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 | (u & 0x3F));
  }
}

// Encoding identifiers and the ways characters take bytes in them.
inline constexpr uint32_t encoding_id_limit = 230; // identifiers 0..229
inline constexpr uint32_t enc_method_single = 0;   // one byte per character
inline constexpr uint32_t enc_method_utf8 = 1;
inline constexpr uint32_t enc_method_utf16 = 2;
inline constexpr uint32_t enc_method_utf32 = 3;
inline constexpr uint32_t enc_method_dbcs_shift = 4; // shift-out / shift-in
inline constexpr uint32_t enc_method_dbcs = 5;       // one or two bytes

// UTF-8 decoding tables: continuation bytes that follow a lead byte, and
// the payload mask of a lead byte by that count.
extern const std::array<uint8_t, 256> bytesFromUTF8;
extern const std::array<uint16_t, 6> utf8_mask;

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
