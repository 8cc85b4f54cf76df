// Reading locale fields, the width and decimals check, and the delivery of
// narrow locale text as UCS-2 units: left-aligned (dates and names),
// right-aligned in the field (numbers), or as the asterisk text.
#include "nls/nl_output.h"

#include <algorithm>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "nls/locale_db.h"

namespace valfmt {
namespace {

constexpr int32_t kConvertMax = 256; // narrow bytes the measuring step takes
constexpr int32_t kHostEncodingLimit = 230;

// Bytes per character of the host encoding in the measuring routine's
// length count (1 for the byte-counted and double-byte encodings).
int32_t host_unit_bytes(uint32_t inenc) {
  const auto e = static_cast<int32_t>(inenc);
  if (e < 1 || e >= kHostEncodingLimit || e == 24 || e == 25) return 2;
  if (e == 26 || e == 27) return 4;
  return 1;
}

void put_unit(char *p, uint16_t u) {
  p[0] = static_cast<char>(u & 0xFF);
  p[1] = static_cast<char>(u >> 8);
}

void fill_wide_blanks(char *p, int32_t bytes) {
  int32_t i = 0;
  for (; i + 1 < bytes; i += 2) put_unit(p + i, kWideBlank);
  if (i < bytes) p[i] = ' ';
}

} // namespace

int32_t check_width_decimals(const fmtcall *call, RowLimits limits) {
  if ((call->options & VF_OPT_CHECK_WD) == 0) return VF_OK;
  if (call->w < limits.minw) return VF_NL_W_SMALL;
  if (call->w > limits.maxw) return VF_NL_W_LARGE;
  if (call->d < 0) return VF_NL_D_NEG;
  if (call->d > limits.maxd) return VF_NL_D_LARGE;
  return VF_OK;
}

namespace {

// The host encoding's length of one unit, in the measuring step's terms.
int32_t host_unit_length(uint16_t u, int32_t e) {
  if ((e >= 117 && e <= 160) || (e >= 165 && e <= 169) || e == 172 ||
      e == 205 || e == 206)
    return u >= 128 ? 2 : 1;
  if (e == 20) return u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
  if (e == 24 || e == 25) return 2;
  if (e == 26 || e == 27) return 4;
  return 1;
}

unsigned hex_digit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return 0;
}

} // namespace

// The conversion of getUCS2ResultFromNarrowCharBufForInDB, writing the
// units to a caller's array instead of back over the text: escapes of
// seven bytes (only in texts of seven bytes or more) become their unit
// (U+00A4 becomes 0x0001), every other byte its own value; the display
// length is measured in the host encoding and capped at 256.
int32_t convert_units(const fmtcall *call, const char *text, int32_t n,
                      int32_t w, int32_t capacity, uint16_t *units,
                      int32_t &free_units) {
  if (n < 0 || n > kConvertMax) return -2;
  auto e = static_cast<int32_t>(call->inenc);
  if (e < 1 || e >= kHostEncodingLimit) e = 25;
  const bool escapes = n >= 7;
  int32_t count = 0;
  int32_t length = 0;
  for (int32_t i = 0; i < n;) {
    uint16_t u = static_cast<uint8_t>(text[i]);
    if (escapes && n - i >= 7 && u == '<' &&
        (text[i + 1] == 'u' || text[i + 1] == 'U') && text[i + 6] == '>') {
      unsigned v = 0;
      for (int k = 2; k < 6; ++k) v = v * 16 + hex_digit(text[i + k]);
      u = static_cast<uint16_t>(v == 0xA4 ? 0x0001 : v);
      i += 7;
    } else {
      ++i;
    }
    units[count++] = u;
    if (length < kConvertMax) length += host_unit_length(u, e);
  }
  if (length > kConvertMax) length = kConvertMax;
  const int64_t width = std::min<int64_t>(static_cast<int64_t>(std::max(w, 0)) *
                                              host_unit_bytes(call->inenc),
                                          1 << 20);
  if (length > width) return -1;
  if (2 * count > capacity) return -2;
  const auto r = static_cast<int32_t>(length - width);
  free_units = -(e == 26 || e == 27 ? r / 4 : e == 24 || e == 25 ? r / 2 : r);
  return count;
}

Delivery deliver_left(fmtcall *call, const char *text, int32_t n, int32_t w) {
  uint16_t units[kConvertMax];
  int32_t free_units = 0;
  const int32_t count =
      convert_units(call, text, n, w, out_capacity(call), units, free_units);
  if (count == -1) return Delivery::TooWide;
  if (count < 0) return Delivery::NoRoom;
  char *out = static_cast<char *>(call->out);
  fill_wide_blanks(out, out_capacity(call));
  for (int32_t i = 0; i < count; ++i) put_unit(out + 2 * i, units[i]);
  call->outlen = 2 * count;
  call->outenc = VF_ENC_UCS2;
  return Delivery::Done;
}

Delivery deliver_right(fmtcall *call, const char *text, int32_t n, int32_t w) {
  uint16_t units[kConvertMax];
  int32_t free_units = 0;
  const int32_t cap = out_capacity(call);
  const int32_t count = convert_units(call, text, n, w, cap, units, free_units);
  if (count == -1) return Delivery::TooWide;
  if (count < 0) return Delivery::NoRoom;
  const int32_t pad = std::min(free_units, cap / 2 - count);
  char *out = static_cast<char *>(call->out);
  fill_wide_blanks(out, 2 * pad);
  for (int32_t i = 0; i < count; ++i) put_unit(out + 2 * (pad + i), units[i]);
  call->outlen = 2 * (pad + count);
  call->outenc = VF_ENC_UCS2;
  return Delivery::Done;
}

int32_t write_wide_stars(fmtcall *call, int32_t w) {
  const int32_t count = std::clamp(w, 0, out_capacity(call) / 2);
  char *out = static_cast<char *>(call->out);
  for (int32_t i = 0; i < count; ++i) put_unit(out + 2 * i, '*');
  call->outlen = 2 * count;
  call->outenc = VF_ENC_UCS2;
  return VF_OK;
}

int32_t write_missing(fmtcall *call, int32_t w, int32_t d) {
  write_missing_field(call, w, d);
  call->outenc = VF_ENC_NARROW;
  return VF_OK;
}

int32_t run_base_format(fmtcall *call, fmtfn fn, int32_t w, int32_t d,
                        int32_t outsize) {
  fmtcall inner = *call;
  inner.w = w;
  inner.d = d;
  inner.outsize = outsize;
  inner.outenc = VF_ENC_NARROW;
  const int32_t status = fn(&inner);
  call->outlen = inner.outlen;
  call->outenc = inner.outenc;
  return status;
}

} // namespace valfmt
