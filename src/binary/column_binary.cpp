// Column binary (punched cards): @CB, @$CB, @PUNCH and @ROW.  A card
// column is two bytes: bits 5..0 of the first are rows 12, 11, 0, 1, 2, 3,
// bits 5..0 of the second rows 4, 5, 6, 7, 8, 9; the two high bits of each
// byte carry nothing.  A column's character is the EBCDIC byte `table`
// gives for its punch combination (no punch is the EBCDIC blank).
//
// Choices where the representation leaves room:
//   - Bytes the input does not hold count as unpunched: a lone last byte is
//     a column whose rows 4..9 are empty (as @$CB reads it), and @PUNCH and
//     @ROW read empty rows where the input ends (@PUNCH 0.0, @ROW the
//     standard missing value with status 0).
//   - @PUNCH takes d 0..12 and @ROW w 0..12 and d 0..25, their rows'
//     limits, by the family's entry rule (98 and 99 count as 0); other
//     values store the standard missing value and return VF_ERR_WD_LIMITS.
//   - @$CB writes at most min(w, outsize) characters; on a column with two
//     punches in rows 1..7 it stops there with outlen the characters
//     written and returns VF_ERR_SIGN.
#include <algorithm>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/ebcdic.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

// Punch combination -> EBCDIC byte.  Index: 128 row 12, 64 row 11, 32 row
// 0, 16 row 8, 8 row 9, plus the one punched row among 1..7.
constexpr uint8_t table[256] = {
    0x40, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF9, 0x31, 0x32, 0x33,
    0x34, 0x35, 0x36, 0x37, 0xF8, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F,
    0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0xF0, 0x61, 0xE2, 0xE3,
    0xE4, 0xE5, 0xE6, 0xE7, 0xE9, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,
    0xE8, 0x69, 0xE0, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x28, 0x29, 0x2A, 0x2B,
    0x2C, 0x2D, 0x2E, 0x2F, 0x60, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7,
    0xD9, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0xD8, 0x59, 0x5A, 0x5B,
    0x5C, 0x5D, 0x5E, 0x5F, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,
    0xD0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA9, 0xE1, 0x62, 0x63,
    0x64, 0x65, 0x66, 0x67, 0xA8, 0xA0, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF,
    0x68, 0x20, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0x50, 0xC1, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC9, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
    0xC8, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x08, 0x09, 0x0A, 0x0B,
    0x0C, 0x0D, 0x0E, 0x0F, 0xC0, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87,
    0x89, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x88, 0x80, 0x8A, 0x8B,
    0x8C, 0x8D, 0x8E, 0x8F, 0x48, 0x00, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,
    0x6A, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x99, 0x51, 0x52, 0x53,
    0x54, 0x55, 0x56, 0x57, 0x98, 0x90, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F,
    0x58, 0x10, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0x70, 0xB1, 0xB2, 0xB3,
    0xB4, 0xB5, 0xB6, 0xB7, 0xB9, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77,
    0xB8, 0xB0, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0x78, 0x30, 0xFA, 0xFB,
    0xFC, 0xFD, 0xFE, 0xFF};

// The bit of each punch row 0..12 within its byte (row 10 is row 0).
constexpr uint8_t masks[13] = {8, 4, 2, 1, 32, 16, 8, 4, 2, 1, 8, 16, 32};
// Rows in card order; 10 stands for row 0.
constexpr uint8_t rowvals[12] = {12, 11, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr int32_t kRowsPerColumn = 12;

// One column: its two bytes, missing ones zero.
struct Column {
  uint8_t top = 0;    // rows 12, 11, 0, 1, 2, 3
  uint8_t bottom = 0; // rows 4 .. 9
  bool punched(int32_t row) const {
    const bool upper = row <= 3 || row >= 10;
    return ((upper ? top : bottom) & masks[row]) != 0;
  }
};

// Column k of the input (bytes beyond valuelen unpunched).
Column column_at(const uint8_t *p, int64_t len, int64_t k) {
  Column c;
  if (2 * k < len) c.top = p[2 * k];
  if (2 * k + 1 < len) c.bottom = p[2 * k + 1];
  return c;
}

// The EBCDIC character of a column, or -1 for two punches in rows 1..7.
int32_t column_char(const Column &c) {
  int32_t k = 0;
  for (int32_t row = 1; row <= 7; ++row) {
    if (!c.punched(row)) continue;
    if (k != 0) return -1;
    k = row;
  }
  const int32_t index = 128 * c.punched(12) + 64 * c.punched(11) +
                        32 * c.punched(0) + 16 * c.punched(8) +
                        8 * c.punched(9) + k;
  return table[index];
}

inline int64_t input_length(const fmtcall *c) {
  return c->value != nullptr && c->valuelen > 0 ? c->valuelen : 0;
}

int32_t refuse(fmtcall *call, int32_t status) {
  store_double(call->out, standard_missing());
  return status;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zifmcb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@CB");
  double divisor;
  int32_t d;
  if (const int32_t st = begin_reader(call, kLimits, &divisor, &d)) return st;
  const auto *p = static_cast<const uint8_t *>(call->value);
  const int64_t len = input_length(call);
  const auto columns =
      static_cast<int32_t>(std::min<int64_t>(len / 2, call->w));
  char text[32];
  for (int32_t k = 0; k < columns; ++k) {
    const int32_t ch = column_char(column_at(p, len, k));
    if (ch < 0) return refuse(call, VF_ERR_SIGN);
    text[k] = static_cast<char>(eb2as[static_cast<uint8_t>(ch)]);
  }
  return read_number(text, columns, d, call->out);
}

VF_API int32_t zifmccb(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  call->outenc = VF_ENC_NARROW;
  const auto *p = static_cast<const uint8_t *>(call->value);
  const int64_t len = input_length(call);
  const int32_t room = field_room(call);
  uint8_t *out = out_bytes(call);
  int32_t k = 0;
  for (; k < room && 2 * static_cast<int64_t>(k) < len; ++k) {
    const int32_t ch = column_char(column_at(p, len, k));
    if (ch < 0) {
      call->outlen = k;
      return VF_ERR_SIGN;
    }
    out[k] = static_cast<uint8_t>(ch);
  }
  if (room > k) std::memset(out + k, 0x40, static_cast<std::size_t>(room - k));
  call->outlen = room;
  return VF_OK;
}

VF_API int32_t zifmpnc(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@PUNCH");
  if (const int32_t st = begin_numeric(call)) return st;
  const int32_t row = binary_decimals(call->d, kLimits.maxd);
  if (row < 0) return refuse(call, VF_ERR_WD_LIMITS);
  const Column c = column_at(static_cast<const uint8_t *>(call->value),
                             input_length(call), 0);
  store_double(call->out, c.punched(row) ? 1.0 : 0.0);
  return VF_OK;
}

VF_API int32_t zifmrow(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@ROW");
  if (const int32_t st = begin_numeric(call)) return st;
  const int32_t first = call->w;
  const int32_t rows = binary_decimals(call->d, kLimits.maxd);
  if (!informat_width_ok(first, kLimits.maxw) || rows < 0)
    return refuse(call, VF_ERR_WD_LIMITS);
  const int32_t start_row = first == 0 ? 10 : first;
  int32_t start = 0;
  while (rowvals[start] != start_row) ++start;
  const auto *p = static_cast<const uint8_t *>(call->value);
  const int64_t len = input_length(call);
  int32_t found = 0;
  for (int32_t j = 0; j < rows; ++j) {
    const int32_t pos = start + j;
    const Column c = column_at(p, len, pos / kRowsPerColumn);
    if (!c.punched(rowvals[pos % kRowsPerColumn])) continue;
    if (found != 0) return refuse(call, VF_ERR_SIGN);
    found = j + 1;
  }
  store_double(call->out, found != 0 ? found : standard_missing());
  return VF_OK;
}

} // extern "C"
