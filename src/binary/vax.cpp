// VAX real binary, both directions: VAXRB and @VAXRB.  A VAX D-floating
// value is 0.1f * 2^(e - 128) with an 8-bit excess-128 exponent e and a
// 55-bit fraction f, stored as four 16-bit little-endian words from the
// most significant down: word 3 holds the sign (bit 15), e (bits 14..7)
// and the top 7 fraction bits.  The IEEE double's 52 fraction bits fit
// exactly, so VAXRB8 keeps every double of the VAX range (2^-128 up to
// below 2^127).
//
// Choices where the representation leaves room:
//   - VAXRB scales by 10^d like the other real writers, so that @VAXRB with
//     the same d reads the value back.
//   - A field of odd width ends in the high byte of the next word (its
//     more significant half); @VAXRB reads the lone last byte of an odd
//     input the same way, so every width reads back what was written.
//   - Overflow (and infinities) write the largest VAX magnitude with the
//     value's sign and return VF_ERR_BINARY_FIT; magnitudes below 2^-128
//     write the smallest one with the value's sign (status 0).
//   - A buffer smaller than w: nothing is written, VF_ERR_OUTSIZE.
//   - @VAXRB: a missing-value pattern whose code byte is below 0xE4 is no
//     missing value; its bytes are read as the VAX number they encode.
//     Eight such bytes FF FF FF FF FF FF E3 FF are exactly the negative
//     overflow field VAXRB8 writes, and read back as that largest
//     negative value.
#include <bit>
#include <cstring>

#include "binary/binary_call.h"
#include "registry/functions.h"

namespace valfmt {
namespace {

constexpr uint8_t kLargest[8] = {0xFF, 0x7F, 0xFF, 0xFF,
                                 0xFF, 0xFF, 0xE3, 0xFF};
constexpr uint8_t kLargestNegative[8] = {0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0xE3, 0xFF};
constexpr uint8_t kSmallest[8] = {0x80, 0x00, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kSmallestNegative[8] = {0x80, 0x80, 0, 0, 0, 0, 0, 0};

// Lays out a VAX word: word 3 first, each word low byte first.
void put_words(uint64_t word, uint8_t bytes[8]) {
  for (int32_t k = 0; k < 4; ++k) {
    const auto w16 = static_cast<uint16_t>(word >> (48 - 16 * k));
    bytes[2 * k] = static_cast<uint8_t>(w16);
    bytes[2 * k + 1] = static_cast<uint8_t>(w16 >> 8);
  }
}

// The eight VAX bytes of v (not missing); the status tells an overflow.
int32_t vax_bytes(double v, uint8_t bytes[8]) {
  if (v == 0.0) {
    std::memset(bytes, 0, 8);
    return VF_OK;
  }
  const uint64_t bits = double_bits(v);
  const bool negative = bits >> 63;
  const int32_t e = static_cast<int32_t>((bits >> 52) & 0x7FF) - 1022;
  if (e >= 128) {
    std::memcpy(bytes, negative ? kLargestNegative : kLargest, 8);
    return VF_ERR_BINARY_FIT;
  }
  if (e < -127) {
    std::memcpy(bytes, negative ? kSmallestNegative : kSmallest, 8);
    return VF_OK;
  }
  const uint64_t word = (bits & (1ull << 63)) |
                        static_cast<uint64_t>(e + 128) << 55 |
                        (bits & ((1ull << 52) - 1)) << 3;
  put_words(word, bytes);
  return VF_OK;
}

// The field of a missing value with code byte c.
void vax_missing(uint8_t code, int32_t w, uint8_t bytes[8]) {
  if (w == 8) {
    std::memset(bytes, 0xFF, 8);
    bytes[6] = code;
    return;
  }
  std::memset(bytes, 0, 8);
  bytes[0] = code & 0x7F;
  bytes[1] = 0x80;
}

// The double of a complete 8-byte VAX field (word 3 not zero).
double vax_value(const uint8_t bytes[8]) {
  uint64_t word = 0;
  for (int32_t k = 0; k < 4; ++k)
    word = word << 16 |
           static_cast<uint64_t>(bytes[2 * k] | bytes[2 * k + 1] << 8);
  const uint64_t e = (word >> 55) & 0xFF;
  const uint64_t fraction = (word & ((1ull << 55) - 1)) >> 3;
  return std::bit_cast<double>((word & (1ull << 63)) | (e + 894) << 52 |
                               fraction);
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t vaxrbfm(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("VAXRB");
  int32_t d;
  if (const int32_t st = begin_format(call, kLimits, true, &d)) return st;
  const int32_t w = call->w;
  if (out_capacity(call) < w) return VF_ERR_OUTSIZE;
  const double v = call_value(call);
  uint8_t bytes[8];
  int32_t status = VF_OK;
  if (is_missing(v)) {
    vax_missing(static_cast<uint8_t>(double_bits(v) >> 40), w, bytes);
  } else {
    status = vax_bytes(scale_real(v, d), bytes);
  }
  uint8_t *out = out_bytes(call);
  std::memcpy(out, bytes, static_cast<std::size_t>(w));
  if (w % 2 == 1 && w < 8) out[w - 1] = bytes[w];
  return finish_narrow(call, w, status);
}

VF_API int32_t zifmvrb(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("@VAXRB");
  double divisor;
  if (const int32_t st = begin_reader(call, kLimits, &divisor)) return st;
  const ReaderInput in = reader_input(call);
  uint8_t bytes[8] = {};
  if (in.n > 0) std::memcpy(bytes, in.p, static_cast<std::size_t>(in.n));
  if (in.n % 2 == 1 && in.n < 8) {
    bytes[in.n] = bytes[in.n - 1];
    bytes[in.n - 1] = 0;
  }
  // Missing values: eight bytes FF .. FF c FF, or a first word with the
  // sign set and exponent 0 carrying c in its low byte.
  int32_t code = -1;
  if (in.n == 8) {
    bool ones = bytes[7] == 0xFF;
    for (int32_t i = 0; i < 6; ++i) ones = ones && bytes[i] == 0xFF;
    if (ones) code = bytes[6];
  } else if (bytes[1] == 0x80 && (bytes[0] & 0x80) == 0) {
    code = bytes[0] | 0x80;
  }
  if (code >= 0xE4) {
    store_double(call->out, missing_value(static_cast<uint8_t>(code)));
    return VF_OK;
  }
  if (bytes[0] == 0 && bytes[1] == 0) {
    store_double(call->out, 0.0);
    return VF_OK;
  }
  store_double(call->out, unscale(vax_value(bytes), divisor));
  return VF_OK;
}

} // extern "C"
