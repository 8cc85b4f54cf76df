// encoding.cpp - conversions between narrow bytes (read as Windows-1252),
// UTF-8 and UCS-2 units; 16-bit case mapping; encoding names to
// identifiers; and how many units fit a byte budget in an encoding.
//
// All routines are stateless and allocate nothing.  Bad arguments never
// lead to a read or write outside the caller's buffers:
//  - A null source, or a negative source length, is an empty source.
//  - A null destination, or a negative capacity, is a capacity of 0:
//    nothing is written, and a conversion that had something to write
//    reports "no room" (2), exactly as a full buffer does.
//  - Null count pointers (units, bytes, identifier) are not written.
//  - UPCASE / LOWCASE with a null pointer or a count <= 0 do nothing.
//  - EncnameToID refuses a null name or a length below 4 with 4 before
//    touching the buffer.  Name bytes hash as unsigned values, so any byte
//    lands in a valid bucket.  With a null identifier pointer the status is
//    returned and nothing is stored.
//  - NLSNUMCHAR returns 0 for null units, a count <= 0 or a budget <= 0;
//    identifiers outside 0..229 count as one byte per character.
//  - UTF8ToUNICODE never reads past srclen: a sequence whose announced
//    length runs past the end stops the conversion with 1 before any of its
//    bytes is read.

#include "access/encoding.h"

#include <cstring>
#include <iterator>
#include <string_view>

#include "valfmt.h"

namespace valfmt {
namespace {

// Results of the converters.
constexpr int32_t kConvOk = VF_OK;
constexpr int32_t kConvSourceCut = 1;    // UTF-8 source ends inside a sequence
constexpr int32_t kConvNoRoom = VF_WARN; // destination full, text cut
constexpr int32_t kEncNameFound = VF_OK;
constexpr int32_t kEncNameNotFound = 4;

// ---------------------------------------------------------------------------
// Case tables, built at compile time from runs of units.  A run covers
// first..last (every unit, or every second one) and adds one delta to each;
// kList sends its units to the exception list instead.

struct CaseRun {
  uint16_t first;
  uint16_t last;
  uint8_t step;
  int16_t delta;
};
constexpr int16_t kList = int16_t{case_delta_in_list};

// The blocks of 128 units that hold any mapping; all others map to self.
constexpr uint16_t kCaseBlocks[case_block_count] = {
    0x0000, 0x0080, 0x0100, 0x0180, 0x0200, 0x0280, 0x0380,
    0x0400, 0x0480, 0x0500, 0x0580, 0x1080, 0x1E00, 0x1E80,
    0x1F00, 0x1F80, 0x2100, 0x2480, 0xFF00};

// Upper-casing: Latin, Greek, Cyrillic, Armenian, Latin Extended
// Additional, Greek Extended, Roman numerals, circled and full-width
// letters.
constexpr CaseRun kUpRuns[] = {
    {0x0061, 0x007A, 1, -32},   {0x00E0, 0x00F6, 1, -32},
    {0x00F8, 0x00FE, 1, -32},   {0x00FF, 0x00FF, 1, 121},
    {0x0101, 0x012F, 2, -1},    {0x0133, 0x0137, 2, -1},
    {0x013A, 0x0148, 2, -1},    {0x014B, 0x0177, 2, -1},
    {0x017A, 0x017E, 2, -1},    {0x017F, 0x017F, 1, kList},
    {0x0183, 0x0183, 1, -1},    {0x0185, 0x0185, 1, -1},
    {0x0188, 0x0188, 1, -1},    {0x018C, 0x018C, 1, -1},
    {0x0192, 0x0192, 1, -1},    {0x0199, 0x0199, 1, -1},
    {0x01A1, 0x01A5, 2, -1},    {0x01A8, 0x01A8, 1, -1},
    {0x01AD, 0x01AD, 1, -1},    {0x01B0, 0x01B0, 1, -1},
    {0x01B4, 0x01B4, 1, -1},    {0x01B6, 0x01B6, 1, -1},
    {0x01B9, 0x01B9, 1, -1},    {0x01BD, 0x01BD, 1, -1},
    {0x01C5, 0x01C5, 1, -1},    {0x01C6, 0x01C6, 1, -2},
    {0x01C8, 0x01C8, 1, -1},    {0x01C9, 0x01C9, 1, -2},
    {0x01CB, 0x01CB, 1, -1},    {0x01CC, 0x01CC, 1, -2},
    {0x01CE, 0x01DC, 2, -1},    {0x01DF, 0x01EF, 2, -1},
    {0x01F2, 0x01F2, 1, -1},    {0x01F3, 0x01F3, 1, -2},
    {0x01F5, 0x01F5, 1, -1},    {0x01FB, 0x0217, 2, -1},
    {0x0253, 0x0254, 1, kList}, {0x0257, 0x0259, 1, kList},
    {0x025B, 0x025B, 1, kList}, {0x0260, 0x0260, 1, kList},
    {0x0263, 0x0263, 1, kList}, {0x0268, 0x0269, 1, kList},
    {0x026F, 0x026F, 1, kList}, {0x0272, 0x0272, 1, kList},
    {0x0283, 0x0283, 1, kList}, {0x0288, 0x0288, 1, kList},
    {0x028A, 0x028B, 1, kList}, {0x0292, 0x0292, 1, kList},
    {0x03AC, 0x03AC, 1, -38},   {0x03AD, 0x03AF, 1, -37},
    {0x03B1, 0x03C1, 1, -32},   {0x03C3, 0x03CB, 1, -32},
    {0x03CC, 0x03CC, 1, -64},   {0x03CD, 0x03CE, 1, -63},
    {0x03D0, 0x03D0, 1, -62},   {0x03D1, 0x03D1, 1, -57},
    {0x03D5, 0x03D5, 1, -47},   {0x03D6, 0x03D6, 1, -54},
    {0x03E3, 0x03EF, 2, -1},    {0x03F0, 0x03F0, 1, -86},
    {0x03F1, 0x03F1, 1, -80},   {0x0430, 0x044F, 1, -32},
    {0x0451, 0x045C, 1, -80},   {0x045E, 0x045F, 1, -80},
    {0x0461, 0x0481, 2, -1},    {0x0491, 0x04BF, 2, -1},
    {0x04C2, 0x04C2, 1, -1},    {0x04C4, 0x04C4, 1, -1},
    {0x04C8, 0x04C8, 1, -1},    {0x04CC, 0x04CC, 1, -1},
    {0x04D1, 0x04EB, 2, -1},    {0x04EF, 0x04F5, 2, -1},
    {0x04F9, 0x04F9, 1, -1},    {0x0561, 0x0586, 1, -48},
    {0x1E01, 0x1E95, 2, -1},    {0x1EA1, 0x1EF9, 2, -1},
    {0x1F00, 0x1F07, 1, 8},     {0x1F10, 0x1F15, 1, 8},
    {0x1F20, 0x1F27, 1, 8},     {0x1F30, 0x1F37, 1, 8},
    {0x1F40, 0x1F45, 1, 8},     {0x1F51, 0x1F57, 2, 8},
    {0x1F60, 0x1F67, 1, 8},     {0x1F70, 0x1F71, 1, 74},
    {0x1F72, 0x1F75, 1, 86},    {0x1F76, 0x1F77, 1, 100},
    {0x1F78, 0x1F79, 1, kList}, {0x1F7A, 0x1F7B, 1, 112},
    {0x1F7C, 0x1F7D, 1, 126},   {0x1F80, 0x1F87, 1, 8},
    {0x1F90, 0x1F97, 1, 8},     {0x1FA0, 0x1FA7, 1, 8},
    {0x1FB0, 0x1FB1, 1, 8},     {0x1FB3, 0x1FB3, 1, 9},
    {0x1FC3, 0x1FC3, 1, 9},     {0x1FD0, 0x1FD1, 1, 8},
    {0x1FE0, 0x1FE1, 1, 8},     {0x1FE5, 0x1FE5, 1, 7},
    {0x1FF3, 0x1FF3, 1, 9},     {0x2170, 0x217F, 1, -16},
    {0x24D0, 0x24E9, 1, -26},   {0xFF41, 0xFF5A, 1, -32},
};

// Lower-casing: the same scripts plus Georgian capitals.
constexpr CaseRun kDownRuns[] = {
    {0x0041, 0x005A, 1, 32},    {0x00C0, 0x00D6, 1, 32},
    {0x00D8, 0x00DE, 1, 32},    {0x0100, 0x012E, 2, 1},
    {0x0132, 0x0136, 2, 1},     {0x0139, 0x0147, 2, 1},
    {0x014A, 0x0176, 2, 1},     {0x0178, 0x0178, 1, -121},
    {0x0179, 0x017D, 2, 1},     {0x0181, 0x0181, 1, kList},
    {0x0182, 0x0182, 1, 1},     {0x0184, 0x0184, 1, 1},
    {0x0186, 0x0186, 1, kList}, {0x0187, 0x0187, 1, 1},
    {0x018A, 0x018A, 1, kList}, {0x018B, 0x018B, 1, 1},
    {0x018E, 0x0190, 1, kList}, {0x0191, 0x0191, 1, 1},
    {0x0193, 0x0194, 1, kList}, {0x0196, 0x0197, 1, kList},
    {0x0198, 0x0198, 1, 1},     {0x019C, 0x019D, 1, kList},
    {0x01A0, 0x01A4, 2, 1},     {0x01A7, 0x01A7, 1, 1},
    {0x01A9, 0x01A9, 1, kList}, {0x01AC, 0x01AC, 1, 1},
    {0x01AE, 0x01AE, 1, kList}, {0x01AF, 0x01AF, 1, 1},
    {0x01B1, 0x01B2, 1, kList}, {0x01B3, 0x01B3, 1, 1},
    {0x01B5, 0x01B5, 1, 1},     {0x01B7, 0x01B7, 1, kList},
    {0x01B8, 0x01B8, 1, 1},     {0x01BC, 0x01BC, 1, 1},
    {0x01C4, 0x01C4, 1, 2},     {0x01C5, 0x01C5, 1, 1},
    {0x01C7, 0x01C7, 1, 2},     {0x01C8, 0x01C8, 1, 1},
    {0x01CA, 0x01CA, 1, 2},     {0x01CB, 0x01DB, 2, 1},
    {0x01DE, 0x01EE, 2, 1},     {0x01F1, 0x01F1, 1, 2},
    {0x01F2, 0x01F2, 1, 1},     {0x01F4, 0x01F4, 1, 1},
    {0x01FA, 0x0216, 2, 1},     {0x0386, 0x0386, 1, 38},
    {0x0388, 0x038A, 1, 37},    {0x038C, 0x038C, 1, 64},
    {0x038E, 0x038F, 1, 63},    {0x0391, 0x03A1, 1, 32},
    {0x03A3, 0x03AB, 1, 32},    {0x03DA, 0x03EE, 2, 1},
    {0x0401, 0x040C, 1, 80},    {0x040E, 0x040F, 1, 80},
    {0x0410, 0x042F, 1, 32},    {0x0460, 0x0480, 2, 1},
    {0x0490, 0x04BE, 2, 1},     {0x04C1, 0x04C1, 1, 1},
    {0x04C3, 0x04C3, 1, 1},     {0x04C7, 0x04C7, 1, 1},
    {0x04CB, 0x04CB, 1, 1},     {0x04D0, 0x04EA, 2, 1},
    {0x04EE, 0x04F4, 2, 1},     {0x04F8, 0x04F8, 1, 1},
    {0x0531, 0x0556, 1, 48},    {0x10A0, 0x10C5, 1, 48},
    {0x1E00, 0x1E94, 2, 1},     {0x1EA0, 0x1EF8, 2, 1},
    {0x1F08, 0x1F0F, 1, -8},    {0x1F18, 0x1F1D, 1, -8},
    {0x1F28, 0x1F2F, 1, -8},    {0x1F38, 0x1F3F, 1, -8},
    {0x1F48, 0x1F4D, 1, -8},    {0x1F59, 0x1F5F, 2, -8},
    {0x1F68, 0x1F6F, 1, -8},    {0x1F88, 0x1F8F, 1, -8},
    {0x1F98, 0x1F9F, 1, -8},    {0x1FA8, 0x1FAF, 1, -8},
    {0x1FB8, 0x1FB9, 1, -8},    {0x1FBA, 0x1FBB, 1, -74},
    {0x1FBC, 0x1FBC, 1, -9},    {0x1FC8, 0x1FCB, 1, -86},
    {0x1FCC, 0x1FCC, 1, -9},    {0x1FD8, 0x1FD9, 1, -8},
    {0x1FDA, 0x1FDB, 1, -100},  {0x1FE8, 0x1FE9, 1, -8},
    {0x1FEA, 0x1FEB, 1, -112},  {0x1FEC, 0x1FEC, 1, -7},
    {0x1FF8, 0x1FF9, 1, kList}, {0x1FFA, 0x1FFB, 1, -126},
    {0x1FFC, 0x1FFC, 1, -9},    {0x2160, 0x216F, 1, 16},
    {0x24B6, 0x24CF, 1, 26},    {0xFF21, 0xFF3A, 1, 32},
};

constexpr std::array<int16_t, 512> make_metatable() {
  std::array<int16_t, 512> meta{};
  for (auto &e : meta) e = -1;
  for (int b = 0; b < case_block_count; ++b) {
    if (kCaseBlocks[b] % 128 != 0) throw "case block not aligned";
    meta[kCaseBlocks[b] >> 7] = static_cast<int16_t>(b * 128);
  }
  return meta;
}

template <size_t N>
constexpr std::array<int8_t, case_block_count * 128>
make_shift(const CaseRun (&runs)[N]) {
  const auto meta = make_metatable();
  std::array<int8_t, case_block_count * 128> shift{};
  for (const CaseRun &r : runs) {
    if (r.last < r.first || (r.last - r.first) % r.step != 0)
      throw "malformed run";
    if (r.delta == 0 || r.delta < -128 || r.delta > 127)
      throw "delta does not fit a signed byte";
    for (uint32_t u = r.first; u <= r.last; u += r.step) {
      const int16_t block = meta[u >> 7];
      if (block < 0) throw "run outside the case blocks";
      const int mapped = static_cast<int>(u) + r.delta;
      if (r.delta != kList && (mapped < 0 || mapped > 0xFFFF))
        throw "mapping leaves the 16-bit range";
      int8_t &slot = shift[static_cast<size_t>(block) + (u & 127)];
      if (slot != 0) throw "unit mapped twice";
      slot = static_cast<int8_t>(r.delta);
    }
  }
  return shift;
}

// Every unit marked kList must have a pair in the list and every pair a
// marked unit; the list ends with a zero pair.
template <size_t M>
constexpr bool
list_matches(const std::array<int8_t, case_block_count * 128> &shift,
             const std::array<CasePair, M> &aux) {
  const auto meta = make_metatable();
  if (aux[M - 1].unit != 0) return false;
  size_t marked = 0;
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    const int16_t block = meta[u >> 7];
    if (block < 0 || shift[static_cast<size_t>(block) + (u & 127)] != kList)
      continue;
    ++marked;
    bool found = false;
    for (size_t i = 0; i + 1 < M; ++i) found = found || aux[i].unit == u;
    if (!found) return false;
  }
  return marked == M - 1;
}

// ---------------------------------------------------------------------------
// Encoding methods by identifier.

struct MethodRange {
  uint16_t first;
  uint16_t last;
  uint8_t method;
};

constexpr MethodRange kMethodRanges[] = {
    {20, 20, enc_method_utf8},
    {161, 161, enc_method_utf8},
    {19, 19, enc_method_utf16},
    {24, 25, enc_method_utf16},
    {26, 27, enc_method_utf32},
    // double-byte with shift-out / shift-in
    {1, 5, enc_method_dbcs_shift},
    {8, 8, enc_method_dbcs_shift},
    {12, 12, enc_method_dbcs_shift},
    {17, 18, enc_method_dbcs_shift},
    {21, 23, enc_method_dbcs_shift},
    {117, 117, enc_method_dbcs_shift},
    {124, 124, enc_method_dbcs_shift},
    {129, 132, enc_method_dbcs_shift},
    {139, 139, enc_method_dbcs_shift},
    {144, 158, enc_method_dbcs_shift},
    {165, 169, enc_method_dbcs_shift},
    {172, 172, enc_method_dbcs_shift},
    {206, 206, enc_method_dbcs_shift},
    // one or two bytes without shifts
    {6, 7, enc_method_dbcs},
    {9, 11, enc_method_dbcs},
    {13, 16, enc_method_dbcs},
    {118, 123, enc_method_dbcs},
    {125, 128, enc_method_dbcs},
    {133, 138, enc_method_dbcs},
    {140, 143, enc_method_dbcs},
    {159, 160, enc_method_dbcs},
    {162, 162, enc_method_dbcs},
    {205, 205, enc_method_dbcs},
};

constexpr std::array<uint8_t, encoding_id_limit> make_methods() {
  std::array<uint8_t, encoding_id_limit> methods{};
  std::array<bool, encoding_id_limit> set{};
  for (const MethodRange &r : kMethodRanges) {
    for (uint32_t id = r.first; id <= r.last; ++id) {
      if (id >= encoding_id_limit || set[id]) throw "bad method range";
      set[id] = true;
      methods[id] = r.method;
    }
  }
  return methods;
}
constexpr auto kMethods = make_methods();

// ---------------------------------------------------------------------------
// Encoding names: every long and short name with its identifier, in
// identifier order.  The hashed table etable is derived from this list.

struct EncName {
  const char *name;
  uint16_t id;
};

constexpr EncName kEncNames[] = {
    // clang-format off
    {"UTF-8", 20}, {"UTF8", 20},
    {"UTF-16BE", 24}, {"U16B", 24},
    {"UTF-16LE", 25}, {"U16L", 25},
    {"UTF-32BE", 26}, {"U32B", 26},
    {"UTF-32LE", 27}, {"U32L", 27},
    {"US-ASCII", 28}, {"ANSI", 28},
    {"LATIN1", 29}, {"LAT1", 29},
    {"LATIN2", 30}, {"LAT2", 30},
    {"LATIN3", 31}, {"LAT3", 31},
    {"LATIN4", 32}, {"LAT4", 32},
    {"CYRILLIC", 33}, {"CYRL", 33},
    {"ARABIC", 34}, {"ARAB", 34},
    {"GREEK", 35}, {"GREK", 35},
    {"HEBREW", 36}, {"HEBR", 36},
    {"LATIN5", 37}, {"LAT5", 37},
    {"LATIN6", 38}, {"LAT6", 38},
    {"THAI", 39},
    {"LATIN9", 40}, {"LAT9", 40},
    {"PCOEM437", 41}, {"P437", 41},
    {"PCOEM850", 42}, {"P850", 42},
    {"PCOEM852", 43}, {"P852", 43},
    {"PCOEM857", 44}, {"P857", 44},
    {"PCOEM858", 45}, {"P858", 45},
    {"PCOEM862", 46}, {"P862", 46},
    {"PCOEM864", 47}, {"P864", 47},
    {"PCOEM865", 48}, {"P865", 48},
    {"PCOEM866", 49}, {"P866", 49},
    {"PCOEM869", 50}, {"P869", 50},
    {"PCOEM874", 51}, {"P874", 51},
    {"PCOEM921", 52}, {"P921", 52},
    {"PCOEM922", 53}, {"P922", 53},
    {"PCOEM1129", 54}, {"PVIE", 54},
    {"MSDOS720", 55}, {"P720", 55},
    {"MSDOS737", 56}, {"P737", 56},
    {"MSDOS775", 57}, {"P775", 57},
    {"PCOEM860", 58}, {"P860", 58},
    {"PCOEM863", 59}, {"P863", 59},
    {"WLATIN2", 60}, {"WLT2", 60},
    {"WCYRILLIC", 61}, {"WCYR", 61},
    {"WLATIN1", 62}, {"WLT1", 62},
    {"WGREEK", 63}, {"WGRK", 63},
    {"WTURKISH", 64}, {"WTUR", 64},
    {"WHEBREW", 65}, {"WHEB", 65},
    {"WARABIC", 66}, {"WARA", 66},
    {"WBALTIC", 67}, {"WBAL", 67},
    {"WVIETNAMESE", 68}, {"WVIE", 68},
    {"AROMAN", 69}, {"AROM", 69},
    {"AARABIC", 70}, {"AARA", 70},
    {"AHEBREW", 71}, {"AHEB", 71},
    {"AGREEK", 72}, {"AGRK", 72},
    {"ATHAI", 73}, {"ATHA", 73},
    {"AEASTEURO", 74}, {"ALT2", 74},
    {"ATURKISH", 75}, {"ATUR", 75},
    {"AUKRAINIAN", 76}, {"AUKR", 76},
    {"ETPC", 77},
    {"EBCDIC037", 78}, {"E037", 78},
    {"EBCDIC273", 79}, {"E273", 79},
    {"EBCDIC277", 80}, {"E277", 80},
    {"EBCDIC278", 81}, {"E278", 81},
    {"EBCDIC280", 82}, {"E280", 82},
    {"EBCDIC284", 83}, {"E284", 83},
    {"EBCDIC285", 84}, {"E285", 84},
    {"EBCDIC297", 85}, {"E297", 85},
    {"EBCDIC420", 86}, {"E420", 86},
    {"EBCDIC424", 87}, {"E424", 87},
    {"EBCDIC500", 88}, {"E500", 88},
    {"EBCDIC838", 89}, {"E838", 89},
    {"EBCDIC870", 90}, {"E870", 90},
    {"EBCDIC875", 91}, {"E875", 91},
    {"EBCDIC880", 92}, {"E880", 92},
    {"EBCDIC924", 93}, {"E924", 93},
    {"EBCDIC1025", 95}, {"ECYR", 95},
    {"EBCDIC1026", 96}, {"ETUR", 96},
    {"EBCDIC1047", 97}, {"ELAT", 97},
    {"EBCDIC1112", 98}, {"EBAL", 98},
    {"EBCDIC1122", 99}, {"EEST", 99},
    {"EBCDIC1130", 100}, {"EVIE", 100},
    {"OPEN_ED-420", 101}, {"EOAR", 101},
    {"OPEN_ED-424", 102}, {"EOIW", 102},
    {"OPEN_ED-838", 103}, {"EOTH", 103},
    {"OPEN_ED-870", 104}, {"EOL2", 104},
    {"OPEN_ED-875", 105}, {"EOEL", 105},
    {"OPEN_ED-924", 106}, {"EOLT", 106},
    {"OPEN_ED-1025", 108}, {"EOCY", 108},
    {"OPEN_ED-1026", 109}, {"EOTR", 109},
    {"OPEN_ED-1047", 110}, {"EOL1", 110},
    {"OPEN_ED-1112", 111}, {"EOBL", 111},
    {"OPEN_ED-1122", 112}, {"EOET", 112},
    {"OPEN_ED-1130", 113}, {"EOVI", 113},
    {"ROMAN8", 114}, {"ROM8", 114},
    {"IBM-937", 117}, {"YIBM", 117},
    {"MS-950", 118}, {"YWIN", 118},
    {"EUC-TW", 119}, {"YEUC", 119},
    {"HP15-TW", 120}, {"YHPX", 120},
    {"MACOS-2", 121}, {"YMAC", 121},
    {"IBM-950", 122}, {"YPCE", 122},
    {"BIG5", 123},
    {"IBM-935", 124}, {"ZIBM", 124},
    {"EUC-CN", 125}, {"ZEUC", 125},
    {"MS-936", 126}, {"ZWIN", 126},
    {"MACOS-25", 127}, {"ZMAC", 127},
    {"IBM-1381", 128}, {"ZPCE", 128},
    {"IBM-939", 129}, {"JIBM", 129},
    {"IBM-930", 130}, {"J930", 130},
    {"FUJITSU-JP", 131}, {"JFUJ", 131},
    {"HITACHI-JP", 132}, {"JHIT", 132},
    {"DEC-JP", 133}, {"JVMS", 133},
    {"EUC-JP", 134}, {"JEUC", 134},
    {"MACOS-1", 135}, {"JMAC", 135},
    {"MS-932", 136}, {"J932", 136},
    {"IBM-942", 137}, {"J942", 137},
    {"SHIFT-JIS", 138}, {"SJIS", 138},
    {"IBM-933", 139}, {"KIBM", 139},
    {"EUC-KR", 140}, {"KEUC", 140},
    {"MS-949", 141}, {"KWIN", 141},
    {"IBM-949", 142}, {"KPCE", 142},
    {"MACOS-3", 143}, {"KMAC", 143},
    {"FUJITSU-TW", 144}, {"YFUJ", 144},
    {"FUJITSU-CN", 145}, {"ZFUJ", 145},
    {"FUJITSU-KO", 146}, {"KFUJ", 146},
    {"HITACHI-TW", 147}, {"YHIT", 147},
    {"HITACHI-CN", 148}, {"ZHIT", 148},
    {"HITACHI-KO", 149}, {"KHIT", 149},
    {"HITZOX-TW", 150}, {"YHTS", 150},
    {"HITZOX-CN", 151}, {"ZHTS", 151},
    {"HITZOX-JP", 152}, {"JHTS", 152},
    {"HITZOX-KO", 153}, {"KHTS", 153},
    {"HITZOX-KANA", 154}, {"JHTK", 154},
    {"NEC-JP", 155}, {"JNEC", 155},
    {"NEC-KANA", 156}, {"JNEK", 156},
    {"PCJIS", 157}, {"JSPC", 157},
    {"JIS-7", 158}, {"JIS7", 158},
    {"DEC-TW", 159}, {"YVMS", 159},
    {"DEC-CN", 160}, {"ZVMS", 160},
    {"AICELAND", 163}, {"AICE", 163},
    {"EBCDIC275", 164}, {"E275", 164},
    {"FUJITSU-KANA", 165}, {"JFUK", 165},
    {"HITACHI-KANA", 166}, {"JHIK", 166},
    {"ISO2022JP", 167}, {"JISO", 167},
    {"ISO2022KR", 168}, {"KISO", 168},
    {"ISO2022CNGB", 169}, {"ZISO", 169},
    {"ZOX1047", 170}, {"SELT", 170},
    {"USER", 171},
    {"ISO2022CNCNS", 172}, {"ZIST", 172},
    {"OPEN_ED-037", 173}, {"EOUS", 173},
    {"OPEN_ED-273", 174}, {"EODE", 174},
    {"OPEN_ED-275", 175}, {"EOBR", 175},
    {"OPEN_ED-277", 176}, {"EODA", 176},
    {"OPEN_ED-278", 177}, {"EOFI", 177},
    {"OPEN_ED-280", 178}, {"EOIT", 178},
    {"OPEN_ED-284", 179}, {"EOES", 179},
    {"OPEN_ED-285", 180}, {"EOUK", 180},
    {"OPEN_ED-297", 181}, {"EOFR", 181},
    {"OPEN_ED-500", 182}, {"EOSW", 182},
    {"EBCDIC1140", 183}, {"E140", 183},
    {"EBCDIC1141", 184}, {"E141", 184},
    {"EBCDIC1142", 185}, {"E142", 185},
    {"EBCDIC1143", 186}, {"E143", 186},
    {"EBCDIC1144", 187}, {"E144", 187},
    {"EBCDIC1145", 188}, {"E145", 188},
    {"EBCDIC1146", 189}, {"E146", 189},
    {"EBCDIC1147", 190}, {"E147", 190},
    {"EBCDIC1148", 191}, {"E148", 191},
    {"OPEN_ED-1140", 192}, {"EO40", 192},
    {"OPEN_ED-1141", 193}, {"EO41", 193},
    {"OPEN_ED-1142", 194}, {"EO42", 194},
    {"OPEN_ED-1143", 195}, {"EO43", 195},
    {"OPEN_ED-1144", 196}, {"EO44", 196},
    {"OPEN_ED-1145", 197}, {"EO45", 197},
    {"OPEN_ED-1146", 198}, {"EO46", 198},
    {"OPEN_ED-1147", 199}, {"EO47", 199},
    {"OPEN_ED-1148", 200}, {"EO48", 200},
    {"EBCDIC425", 201}, {"E425", 201},
    {"OPEN_ED-425", 202}, {"EOA2", 202},
    {"GB18030", 205}, {"GBKE", 205},
    {"IBM-939E", 206}, {"939E", 206},
    {"EBCDIC1097", 207}, {"E097", 207},
    {"OPEN_ED-1097", 208}, {"EOFA", 208},
    {"EBCDIC1137", 209}, {"E137", 209},
    {"OPEN_ED-1137", 210}, {"EOIN", 210},
    {"EBCDIC1149", 211}, {"E149", 211},
    {"OPEN_ED-1149", 212}, {"EOIS", 212},
    {"EBCDIC1153", 213}, {"E153", 213},
    {"OPEN_ED-1153", 214}, {"EO53", 214},
    {"EBCDIC1154", 215}, {"E154", 215},
    {"OPEN_ED-1154", 216}, {"EO54", 216},
    {"EBCDIC1155", 217}, {"E155", 217},
    {"OPEN_ED-1155", 218}, {"EO55", 218},
    {"EBCDIC1156", 219}, {"E156", 219},
    {"OPEN_ED-1156", 220}, {"EO56", 220},
    {"EBCDIC1157", 221}, {"E157", 221},
    {"OPEN_ED-1157", 222}, {"EO57", 222},
    {"EBCDIC1158", 223}, {"E158", 223},
    {"OPEN_ED-1158", 224}, {"EO58", 224},
    {"EBCDIC905", 225}, {"E905", 225},
    {"OPEN_ED-905", 226}, {"EOL3", 226},
    {"LATIN8", 227}, {"LAT8", 227},
    {"PCISCII806", 228}, {"P806", 228},
    {"PC1098", 229}, {"P098", 229},
    // clang-format on
};
static_assert(std::size(kEncNames) == encname_entry_count);

constexpr int32_t name_length(const char *s) {
  int32_t n = 0;
  while (s[n] != '\0') ++n;
  return n;
}

constexpr bool same_name(const char *a, const char *b) {
  for (; *a != '\0' || *b != '\0'; ++a, ++b)
    if (*a != *b) return false;
  return true;
}

// The entries grouped by bucket, buckets in ascending order, and within a
// bucket in list order.
constexpr std::array<EncNameEntry, encname_entry_count> make_entries() {
  std::array<EncNameEntry, encname_entry_count> out{};
  size_t k = 0;
  for (int b = 0; b < encname_bucket_count; ++b) {
    for (const EncName &e : kEncNames) {
      const int32_t len = name_length(e.name);
      if (len < 4) throw "encoding name shorter than 4";
      if (encname_bucket(e.name, len) != b) continue;
      for (char c : std::string_view(e.name))
        if (c >= 'a' && c <= 'z') throw "encoding name not upper case";
      out[k++] = EncNameEntry{e.name, e.id, len};
    }
  }
  for (size_t i = 0; i < std::size(kEncNames); ++i)
    for (size_t j = i + 1; j < std::size(kEncNames); ++j)
      if (same_name(kEncNames[i].name, kEncNames[j].name))
        throw "encoding name listed twice";
  return out;
}
constexpr auto kEncEntries = make_entries();

} // namespace

// ---------------------------------------------------------------------------
// Tables.

constexpr std::array<int16_t, 512> skz_metatable = make_metatable();
constexpr std::array<int8_t, case_block_count * 128> skz_upshift =
    make_shift(kUpRuns);
constexpr std::array<int8_t, case_block_count * 128> skz_downshift =
    make_shift(kDownRuns);

constexpr std::array<CasePair, 21> skz_upaux = {{
    {0x017F, 0x0053}, {0x0253, 0x0181}, {0x0254, 0x0186}, {0x0257, 0x018A},
    {0x0258, 0x018E}, {0x0259, 0x018F}, {0x025B, 0x0190}, {0x0260, 0x0193},
    {0x0263, 0x0194}, {0x0268, 0x0197}, {0x0269, 0x0196}, {0x026F, 0x019C},
    {0x0272, 0x019D}, {0x0283, 0x01A9}, {0x0288, 0x01AE}, {0x028A, 0x01B1},
    {0x028B, 0x01B2}, {0x0292, 0x01B7}, {0x1F78, 0x1FF8}, {0x1F79, 0x1FF9},
    {0, 0},
}};

constexpr std::array<CasePair, 20> skz_downaux = {{
    {0x0181, 0x0253}, {0x0186, 0x0254}, {0x018A, 0x0257}, {0x018E, 0x0258},
    {0x018F, 0x0259}, {0x0190, 0x025B}, {0x0193, 0x0260}, {0x0194, 0x0263},
    {0x0196, 0x0269}, {0x0197, 0x0268}, {0x019C, 0x026F}, {0x019D, 0x0272},
    {0x01A9, 0x0283}, {0x01AE, 0x0288}, {0x01B1, 0x028A}, {0x01B2, 0x028B},
    {0x01B7, 0x0292}, {0x1FF8, 0x1F78}, {0x1FF9, 0x1F79}, {0, 0},
}};

static_assert(list_matches(skz_upshift, skz_upaux));
static_assert(list_matches(skz_downshift, skz_downaux));

constexpr std::array<EncNameBucket, encname_bucket_count> etable = [] {
  std::array<EncNameBucket, encname_bucket_count> t{};
  size_t k = 0;
  for (int b = 0; b < encname_bucket_count; ++b) {
    const size_t start = k;
    while (k < kEncEntries.size() &&
           encname_bucket(kEncEntries[k].name, kEncEntries[k].len) == b)
      ++k;
    t[b] = EncNameBucket{kEncEntries.data() + start,
                         static_cast<int32_t>(k - start)};
  }
  return t;
}();

// ---------------------------------------------------------------------------
// Internal helpers.

namespace {

template <size_t M>
uint16_t map_unit(uint16_t unit,
                  const std::array<int8_t, case_block_count * 128> &shift,
                  const std::array<CasePair, M> &aux) {
  const int16_t block = skz_metatable[unit >> 7];
  if (block < 0) return unit;
  const int8_t delta = shift[static_cast<size_t>(block) + (unit & 127)];
  if (delta != case_delta_in_list) return static_cast<uint16_t>(unit + delta);
  for (const CasePair *p = aux.data(); p->unit != 0; ++p)
    if (p->unit == unit) return p->mapped;
  return unit;
}

} // namespace

uint16_t upcase_unit(uint16_t unit) {
  return map_unit(unit, skz_upshift, skz_upaux);
}

uint16_t lowcase_unit(uint16_t unit) {
  return map_unit(unit, skz_downshift, skz_downaux);
}

} // namespace valfmt

// ---------------------------------------------------------------------------
// Exported routines.

using namespace valfmt;

namespace {

constexpr int32_t non_negative(int32_t n) {
  return n < 0 ? 0 : n;
}

} // namespace

extern "C" {

VF_API int32_t LATIN1ToUNICODE(const uint8_t *src, int32_t srclen,
                               uint16_t *dst, int32_t dstcap, int32_t *nunits) {
  const int32_t have = src ? non_negative(srclen) : 0;
  const int32_t room = dst ? non_negative(dstcap) / 2 : 0;
  const int32_t n = have < room ? have : room;
  for (int32_t i = 0; i < n; ++i) dst[i] = cp1252_to_ucs2[src[i]];
  if (nunits) *nunits = n;
  return n < have ? kConvNoRoom : kConvOk;
}

VF_API int32_t UNICODEToUTF8(const uint16_t *src, int32_t srcbytes,
                             uint8_t *dst, int32_t dstcap, int32_t *nunits,
                             int32_t *nbytes) {
  const int32_t count = src ? non_negative(srcbytes) / 2 : 0;
  const int32_t cap = dst ? non_negative(dstcap) : 0;
  int32_t units = 0;
  int32_t used = 0;
  int32_t status = kConvOk;
  for (; units < count; ++units) {
    const uint16_t u = src[units];
    const int32_t len = utf8_unit_length(u);
    if (len > cap - used) {
      status = kConvNoRoom;
      break;
    }
    put_utf8_unit(u, dst + used);
    used += len;
  }
  if (nunits) *nunits = units;
  if (nbytes) *nbytes = used;
  return status;
}

VF_API int32_t UTF8ToUNICODE(const uint8_t *src, int32_t srclen, uint16_t *dst,
                             int32_t dstcap, int32_t *nunits, int32_t *nbytes) {
  const int32_t have = src ? non_negative(srclen) : 0;
  const int32_t room = dst ? non_negative(dstcap) / 2 : 0;
  int32_t pos = 0;
  int32_t units = 0;
  int32_t status = kConvOk;
  while (pos < have) {
    const int32_t c = bytesFromUTF8[src[pos]];
    if (c + 1 > have - pos) {
      status = kConvSourceCut;
      break;
    }
    if (units >= room) {
      status = kConvNoRoom;
      break;
    }
    // Continuation bytes give their low six bits, any other byte its bits
    // under the lead mask; sequences are not validated.
    uint32_t value = 0;
    for (int32_t i = 0; i <= c; ++i) {
      const uint8_t b = src[pos + i];
      value += (b & 0xC0) == 0x80 ? (b & 0x3Fu) : (b & utf8_mask[c]);
      if (i < c) value <<= 6;
    }
    dst[units++] = static_cast<uint16_t>(value);
    pos += c + 1;
  }
  if (nunits) *nunits = units;
  if (nbytes) *nbytes = 2 * units;
  return status;
}

VF_API void UPCASE(uint16_t *units, int32_t count) {
  if (!units) return;
  for (int32_t i = 0; i < count; ++i) units[i] = upcase_unit(units[i]);
}

VF_API void LOWCASE(uint16_t *units, int32_t count) {
  if (!units) return;
  for (int32_t i = 0; i < count; ++i) units[i] = lowcase_unit(units[i]);
}

VF_API int32_t EncnameToID(char *name, int32_t len, uint32_t *id) {
  if (!name || len < 4) return kEncNameNotFound;
  for (int32_t i = 0; i < len; ++i)
    if (name[i] >= 'a' && name[i] <= 'z')
      name[i] = static_cast<char>(name[i] - 'a' + 'A');
  const EncNameBucket &bucket = etable[encname_bucket(name, len)];
  for (int32_t i = 0; i < bucket.count; ++i) {
    const EncNameEntry &e = bucket.entries[i];
    if (e.len == len &&
        std::memcmp(e.name, name, static_cast<size_t>(len)) == 0) {
      if (id) *id = e.id;
      return kEncNameFound;
    }
  }
  return kEncNameNotFound;
}

VF_API uint32_t EncodingMethod(uint32_t id) {
  return id < encoding_id_limit ? kMethods[id] : enc_method_single;
}

VF_API int32_t NLSNUMCHAR(const uint16_t *units, int32_t count, uint32_t enc,
                          int32_t budget) {
  if (!units || count <= 0 || budget <= 0) return 0;
  auto at_most = [count](int32_t n) { return n < count ? n : count; };
  switch (EncodingMethod(enc)) {
  case enc_method_utf16:
    return at_most(budget / 2);
  case enc_method_utf32:
    return at_most(budget / 4);
  case enc_method_single:
    return at_most(budget);
  default:
    break;
  }
  const uint32_t method = EncodingMethod(enc);
  int64_t used = 0;
  bool after_double = false; // the previous unit was double-byte
  int32_t n = 0;
  for (; n < count; ++n) {
    const uint16_t u = units[n];
    const bool ascii = u < 0x80;
    int32_t cost;
    if (method == enc_method_utf8) {
      cost = utf8_unit_length(u);
    } else if (method == enc_method_dbcs) {
      cost = ascii ? 1 : 2;
    } else if (n == 0) { // shift-out / shift-in encodings
      cost = ascii ? 1 : 3;
    } else if (ascii) {
      cost = after_double ? 2 : 1; // shift back in, then the byte
    } else {
      cost = after_double ? 2 : 3; // shift out, then two bytes
    }
    if (used + cost > budget) break;
    used += cost;
    after_double = !ascii;
  }
  return n;
}

} // extern "C"
