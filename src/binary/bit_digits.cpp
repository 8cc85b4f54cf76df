// Binary digit strings and bit fields, both directions: BINARY / @BINARY
// (the integer, or the double's bit pattern at widths above 60), $BINARY /
// @$BINARY (eight digits per byte), @BITS (an unsigned field of bits), and
// the BEST display the digit-string formats use for missing values.
//
// Choices where the representation leaves room:
//   - @BINARY reads more than 60 digits as the bit pattern of a double
//     (padded with '0' on the left to 64) and up to 60 as an unsigned
//     integer, the same boundary at which BINARY switches between the two,
//     so that every width reads back what BINARY wrote for values that fit.
//   - $BINARY writes straight into the field; it needs no work buffer.
//   - A non-missing NaN shows as 0 in BINARY below width 61.
//   - @BITS numbers bits from the top bit of the first byte for fields of
//     every length (up to 64 bits, spanning up to nine bytes), and reads
//     only the bytes its field covers; when valuelen does not
//     reach them it stores the standard missing value and returns
//     VF_ERR_NOTHING_TO_READ.  The offset d follows the family's entry
//     rule with the row's limit (0..63; 98 and 99 count as 0); any other
//     d is VF_ERR_WD_LIMITS.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "binary/binary_call.h"
#include "binary/int_value.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr int32_t kMaxBinaryInput = 4096; // $BINARY: bytes shown
constexpr int32_t kMaxBinaryText = 32775; // @$BINARY: digits read
constexpr int32_t kIntegerDigits = 60;    // BINARY's integer widths

// Trims blanks on both sides; returns the start, *end the end.
int32_t trim_blanks(const uint8_t *t, int32_t n, int32_t *end) {
  int32_t a = 0;
  while (a < n && t[a] == ' ') ++a;
  while (n > a && t[n - 1] == ' ') --n;
  *end = n;
  return a;
}

bool all_bits(const uint8_t *t, int32_t a, int32_t b) {
  for (int32_t i = a; i < b; ++i)
    if (t[i] != '0' && t[i] != '1') return false;
  return true;
}

} // namespace

int32_t best_field(fmtcall *c) {
  fmtcall inner = *c;
  inner.w = c->w < 32 ? c->w : 32;
  const int32_t status = zfmb(&inner);
  const int32_t room = field_room(c);
  int32_t len = inner.outlen;
  if (c->w > 32 && room > 32) {
    put_blanks(static_cast<char *>(c->out) + 32, room - 32);
    len = room;
  }
  return finish_narrow(c, len, room < c->w ? VF_ERR_OUTSIZE : status);
}

} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmbtn(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("BINARY");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const double v = call_value(call);
  if (is_missing(v)) return best_field(call);
  uint64_t word;
  if (call->w > kIntegerDigits)
    word = double_bits(v);
  else
    word = std::isnan(v) ? 0 : ib_scaled(std::trunc(v), 8, d).bits;
  const int32_t n = field_room(call);
  char *out = static_cast<char *>(call->out);
  for (int32_t k = 0; k < n; ++k)
    out[n - 1 - k] = static_cast<char>('0' + ((word >> k) & 1));
  return finish_narrow(call, n, n < call->w ? VF_ERR_OUTSIZE : VF_OK);
}

VF_API int32_t zfmbtc(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("$BINARY");
  if (const int32_t st = begin_format(call, kLimits, false)) return st;
  const CharInput in = char_input(call);
  const int32_t bytes = std::min(in.n, kMaxBinaryInput);
  const int32_t n = field_room(call);
  char *out = static_cast<char *>(call->out);
  for (int32_t col = 0; col < n; ++col) {
    const int32_t b = col / 8;
    if (b >= bytes) {
      put_blanks(out + col, n - col);
      break;
    }
    out[col] = static_cast<char>('0' + ((in.at(b) >> (7 - col % 8)) & 1));
  }
  return finish_narrow(call, n, n < call->w ? VF_ERR_OUTSIZE : VF_OK);
}

VF_API int32_t zifmbtn(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@BINARY");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  int32_t end;
  const int32_t start = trim_blanks(in.p, in.n, &end);
  if (start == end || !all_bits(in.p, start, end)) {
    store_double(call->out, standard_missing());
    return VF_ERR_BAD_INPUT;
  }
  uint64_t u = 0;
  for (int32_t i = start; i < end; ++i) u = u << 1 | (in.p[i] - '0');
  double x;
  if (end - start > kIntegerDigits)
    x = std::bit_cast<double>(u);
  else
    x = static_cast<double>(u);
  store_double(call->out, is_missing(x) ? x : unscale(x, divisor));
  return VF_OK;
}

VF_API int32_t zifmbtc(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  call->outlen = 0;
  call->outenc = VF_ENC_NARROW;
  const ReaderInput in = reader_input(call);
  const int32_t cap = out_capacity(call);
  int32_t end;
  const int32_t start = trim_blanks(in.p, in.n, &end);
  const int64_t most =
      std::min<int64_t>(8 * static_cast<int64_t>(cap), kMaxBinaryText);
  end = static_cast<int32_t>(std::min<int64_t>(end, start + most));
  if (start == end || !all_bits(in.p, start, end)) return VF_ERR_BAD_INPUT;
  const int32_t nbytes = std::min((end - start + 7) / 8, cap);
  uint8_t *out = out_bytes(call);
  for (int32_t k = 0; k < nbytes; ++k) {
    uint8_t byte = 0;
    for (int32_t j = 0; j < 8; ++j) {
      const int32_t i = start + 8 * k + j;
      byte = static_cast<uint8_t>(byte << 1 | (i < end ? in.p[i] - '0' : 0));
    }
    out[k] = byte;
  }
  return finish_narrow(call, nbytes);
}

VF_API int32_t zifmbit(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@BITS");
  if (const int32_t st = begin_numeric(call)) return st;
  const int32_t bits = call->w < 1 ? 1 : (call->w > 64 ? 64 : call->w);
  const int32_t d = binary_decimals(call->d, kLimits.maxd);
  const int64_t valuelen =
      call->value != nullptr && call->valuelen > 0 ? call->valuelen : 0;
  if (d < 0) {
    store_double(call->out, standard_missing());
    return VF_ERR_WD_LIMITS;
  }
  const int64_t first = d / 8;
  const int32_t skip = d % 8;
  const int32_t need = (skip + bits + 7) / 8; // at most 9 bytes
  if (first + need > valuelen) {
    store_double(call->out, standard_missing());
    return VF_ERR_NOTHING_TO_READ;
  }
  const auto *p = static_cast<const uint8_t *>(call->value) + first;
  unsigned __int128 acc = 0;
  for (int32_t i = 0; i < need; ++i) acc = acc << 8 | p[i];
  acc >>= 8 * need - skip - bits;
  const uint64_t mask = bits == 64 ? ~0ull : (1ull << bits) - 1;
  store_double(call->out,
               static_cast<double>(static_cast<uint64_t>(acc) & mask));
  return VF_OK;
}

} // extern "C"
