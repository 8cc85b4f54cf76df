// Conversions between narrow bytes (read as Windows-1252), UTF-8 and UCS-2
// units, and how many units fit a byte budget in an encoding.
//
// All routines are stateless and allocate nothing.  Bad arguments never
// lead to a read or write outside the caller's buffers:
//  - A null source, or a negative source length, is an empty source.
//  - A null destination, or a negative capacity, is a capacity of 0:
//    nothing is written, and a conversion that had something to write
//    reports "no room" (2), exactly as a full buffer does.
//  - Null count pointers (units, bytes) are not written.
//  - NLSNUMCHAR returns 0 for null units, a count <= 0 or a budget <= 0;
//    identifiers outside the table count as one byte per character.
//  - UTF8ToUNICODE never reads past srclen: a sequence whose announced
//    length runs past the end stops the conversion with 1 before any of its
//    bytes is read.
#include "access/encoding.h"
#include "valfmt.h"

namespace valfmt {
namespace {

// Results of the converters.
constexpr int32_t kConvOk = VF_OK;
constexpr int32_t kConvSourceCut = 1;    // UTF-8 source ends inside a sequence
constexpr int32_t kConvNoRoom = VF_WARN; // destination full, text cut

constexpr int32_t non_negative(int32_t n) {
  return n < 0 ? 0 : n;
}

// One UTF-8 sequence of 1 + `continuation` bytes as one unit.  Continuation
// bytes give their low six bits, any other byte its bits under the lead
// mask; sequences are not validated and the value keeps its low 16 bits.
uint16_t decode_utf8_sequence(const uint8_t *seq, int32_t continuation) {
  uint32_t value = 0;
  for (int32_t i = 0; i <= continuation; ++i) {
    const uint8_t b = seq[i];
    value += (b & 0xC0) == 0x80
                 ? (b & 0x3Fu)
                 : (b & kUtf8LeadMask[static_cast<std::size_t>(continuation)]);
    if (i < continuation) value <<= 6;
  }
  return static_cast<uint16_t>(value);
}

// Bytes one unit takes in a shift-out / shift-in encoding: a double-byte
// unit after ASCII pays the shift-out byte, ASCII after a double-byte unit
// the shift-in byte; the first unit of the text opens in ASCII.
int32_t shifted_unit_cost(bool ascii, bool first, bool after_double) {
  if (first) return ascii ? 1 : 3;
  if (ascii) return after_double ? 2 : 1;
  return after_double ? 2 : 3;
}

int32_t variable_unit_cost(uint32_t method, uint16_t unit, bool first,
                           bool after_double) {
  const bool ascii = unit < 0x80;
  if (method == kEncMethodUtf8) return utf8_unit_length(unit);
  if (method == kEncMethodDbcs) return ascii ? 1 : 2;
  return shifted_unit_cost(ascii, first, after_double);
}

// Leading units whose bytes in a variable-width encoding fit the budget.
int32_t variable_units_within(const uint16_t *units, int32_t count,
                              uint32_t method, int32_t budget) {
  int64_t used = 0;
  bool after_double = false; // the previous unit was double-byte
  int32_t n = 0;
  for (; n < count; ++n) {
    const int32_t cost =
        variable_unit_cost(method, units[n], n == 0, after_double);
    if (used + cost > budget) break;
    used += cost;
    after_double = units[n] >= 0x80;
  }
  return n;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t LATIN1ToUNICODE(const uint8_t *src, int32_t srclen,
                               uint16_t *dst, int32_t dstcap, int32_t *nunits) {
  const int32_t have = src ? non_negative(srclen) : 0;
  const int32_t room = dst ? non_negative(dstcap) / 2 : 0;
  const int32_t n = have < room ? have : room;
  for (int32_t i = 0; i < n; ++i) dst[i] = kCp1252ToUcs2[src[i]];
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
    const int32_t continuation = kUtf8Continuations[src[pos]];
    if (continuation + 1 > have - pos) {
      status = kConvSourceCut;
      break;
    }
    if (units >= room) {
      status = kConvNoRoom;
      break;
    }
    dst[units++] = decode_utf8_sequence(src + pos, continuation);
    pos += continuation + 1;
  }
  if (nunits) *nunits = units;
  if (nbytes) *nbytes = 2 * units;
  return status;
}

VF_API int32_t NLSNUMCHAR(const uint16_t *units, int32_t count, uint32_t enc,
                          int32_t budget) {
  if (!units || count <= 0 || budget <= 0) return 0;
  auto at_most = [count](int32_t n) { return n < count ? n : count; };
  const uint32_t method = EncodingMethod(enc);
  switch (method) {
  case kEncMethodUtf16:
    return at_most(budget / 2);
  case kEncMethodUtf32:
    return at_most(budget / 4);
  case kEncMethodSingle:
    return at_most(budget);
  default:
    return variable_units_within(units, count, method, budget);
  }
}

} // extern "C"
