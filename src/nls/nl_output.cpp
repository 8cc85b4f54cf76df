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

bool read_locale_field(int32_t locid, int32_t field, std::string_view &text) {
  text = locale_field(locid, field);
  return text.size() <= VF_LOC_TEXT;
}

int32_t check_width_decimals(const fmtcall *call, RowLimits limits) {
  if ((call->options & VF_OPT_CHECK_WD) == 0) return VF_OK;
  if (call->w < limits.minw) return VF_NL_W_SMALL;
  if (call->w > limits.maxw) return VF_NL_W_LARGE;
  if (call->d < 0) return VF_NL_D_NEG;
  if (call->d > limits.maxd) return VF_NL_D_LARGE;
  return VF_OK;
}

int32_t convert_units(const fmtcall *call, const char *text, int32_t n,
                      int32_t w, int32_t capacity, uint16_t *units,
                      int32_t &free_units) {
  if (n < 0 || n > kConvertMax) return -2;
  char work[2 * kConvertMax];
  if (n > 0) std::memcpy(work, text, static_cast<std::size_t>(n));
  const int64_t scaled = std::min<int64_t>(
      static_cast<int64_t>(std::max(w, 0)) * host_unit_bytes(call->inenc),
      1 << 20);
  int32_t len = n;
  uint32_t enc = 0;
  const int32_t r = getUCS2ResultFromNarrowCharBufForInDB(
      static_cast<int32_t>(call->inenc), call->reqenc, &enc, work, &len,
      static_cast<int32_t>(scaled), std::max(capacity, 0));
  if (r == 1) return -1;
  if (r > 0) return -2;
  const int32_t count = len / 2;
  for (int32_t i = 0; i < count; ++i)
    units[i] = static_cast<uint16_t>(
        static_cast<uint8_t>(work[2 * i]) |
        (static_cast<uint16_t>(static_cast<uint8_t>(work[2 * i + 1])) << 8));
  free_units = -r;
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
  fill_wide_blanks(out, cap);
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
