// Character informats: they copy or rearrange the bytes of the input into
// the output buffer without translating encodings.  Each writes at most
// `outsize` bytes, reads at most `valuelen` bytes and returns 0; a result
// field wider than the buffer is cut to the buffer.
#include <bit>
#include <cmath>
#include <cstring>

#include "registry/functions.h"
#include "registry/limits.h"
#include "core/call.h"
#include "core/pow10.h"
#include "core/text.h"
#include "valfmt.h"

namespace valfmt {
namespace {

// Longest input @$CHARZB reads.
constexpr int32_t kMaxCharInput = row_limits("@$CHARZB").maxw;

struct CharIo {
  const unsigned char *in; // input bytes (null when there are none)
  int32_t inlen;           // >= 0
  unsigned char *out;      // output bytes (null when there is no room)
  int32_t cap;             // >= 0
  int32_t width;           // min(w, cap), >= 0
};

CharIo char_io(const fmtcall *c) {
  CharIo io{};
  io.in = static_cast<const unsigned char *>(c->value);
  io.inlen = io.in != nullptr && c->valuelen > 0 ? c->valuelen : 0;
  io.out = static_cast<unsigned char *>(c->out);
  io.cap = out_capacity(c);
  const int32_t w = c->w > 0 ? c->w : 0;
  io.width = w < io.cap ? w : io.cap;
  return io;
}

// Copies the input into `width` output bytes with blank padding.
void copy_into_field(const CharIo &io, int32_t inlen, int32_t width) {
  copy_padded(reinterpret_cast<char *>(io.out), width,
              reinterpret_cast<const char *>(io.in), inlen);
}

// Reverses the first min(n, cap) input bytes into the output and blanks
// the rest of the buffer.
void reverse_into(const CharIo &io, int32_t n) {
  const int32_t k = n < io.cap ? n : io.cap;
  for (int32_t i = 0; i < k; ++i) io.out[i] = io.in[k - 1 - i];
  if (io.cap > k) std::memset(io.out + k, ' ', static_cast<size_t>(io.cap - k));
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zifmc(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  valfmt::copy_into_field(io, io.inlen, io.width);
  return valfmt::finish_narrow(call, io.width);
}

VF_API int32_t zifmzbc(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  valfmt::CharIo io = valfmt::char_io(call);
  if (io.inlen > valfmt::kMaxCharInput) io.inlen = valfmt::kMaxCharInput;
  // Copy first, then blank the NUL bytes of the copied part: the padding
  // is blank already, so no temporary copy of the input is needed.
  valfmt::copy_into_field(io, io.inlen, io.width);
  const int32_t k = io.inlen < io.width ? io.inlen : io.width;
  for (int32_t i = 0; i < k; ++i)
    if (io.out[i] == 0) io.out[i] = ' ';
  return valfmt::finish_narrow(call, io.width);
}

VF_API int32_t zifmupc(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  valfmt::copy_into_field(io, io.inlen, io.width);
  valfmt::upcase_ascii(reinterpret_cast<char *>(io.out), io.width);
  return valfmt::finish_narrow(call, io.width);
}

VF_API int32_t zifmasc(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  const int32_t k = io.inlen < io.width ? io.inlen : io.width;
  if (k > 0) std::memmove(io.out, io.in, static_cast<size_t>(k));
  return valfmt::finish_narrow(call, k);
}

VF_API int32_t zifmcq(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  if (io.inlen == 0 || (io.in[0] != '\'' && io.in[0] != '"')) {
    valfmt::copy_into_field(io, io.inlen, io.cap);
    return valfmt::finish_narrow(call, io.inlen < io.cap ? io.inlen : io.cap);
  }
  const unsigned char quote = io.in[0];
  int32_t k = 0;
  for (int32_t i = 1; i < io.inlen && k < io.cap; ++i) {
    if (io.in[i] == quote) {
      if (i + 1 < io.inlen && io.in[i + 1] == quote)
        ++i;
      else
        break;
    }
    io.out[k++] = io.in[i];
  }
  if (io.cap > k) std::memset(io.out + k, ' ', static_cast<size_t>(io.cap - k));
  return valfmt::finish_narrow(call, k);
}

VF_API int32_t ireverj(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  valfmt::reverse_into(io, io.inlen);
  return valfmt::finish_narrow(call, io.width);
}

VF_API int32_t irevers(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  valfmt::reverse_into(
      io,
      valfmt::trimmed_length(reinterpret_cast<const char *>(io.in), io.inlen));
  return valfmt::finish_narrow(call, io.width);
}

VF_API int32_t icstr(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  int32_t n = 0;
  if (io.inlen > 0) {
    const void *nul = std::memchr(io.in, 0, static_cast<size_t>(io.inlen));
    n = nul ? static_cast<int32_t>(static_cast<const unsigned char *>(nul) -
                                   io.in)
            : io.inlen;
  }
  valfmt::copy_into_field(io, n, io.width);
  return valfmt::finish_narrow(call, io.width);
}

VF_API int32_t ibyval(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const valfmt::CharIo io = valfmt::char_io(call);
  // The bytes as a little-endian unsigned number.  An empty input, and a
  // missing value, NaN or infinity in the eight-byte form, have no byte
  // value and give a blank.
  double number = 0.0;
  bool none = io.inlen == 0;
  if (io.inlen == 2) {
    number = static_cast<double>(io.in[0] | (io.in[1] << 8));
  } else if (io.inlen == 4) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | io.in[i];
    number = static_cast<double>(v);
  } else if (io.inlen == 8) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | io.in[i];
    const double x = std::bit_cast<double>(bits);
    if (std::isfinite(x)) {
      // Truncated to the low 32 bits of its integral magnitude.
      number = std::fmod(std::trunc(std::fabs(x)), 4294967296.0);
    } else {
      none = true;
    }
  } else if (io.inlen > 0) {
    number = io.in[0];
  }
  unsigned char first = ' ';
  if (!none) {
    const int32_t d = call->d;
    if (d > 0 && d <= 308) number /= valfmt::kPow10Pos[d];
    first = static_cast<unsigned char>(
        static_cast<uint32_t>(std::trunc(number)) & 0xFFu);
  }
  if (io.width > 0) {
    io.out[0] = first;
    std::memset(io.out + 1, ' ', static_cast<size_t>(io.width - 1));
  }
  return valfmt::finish_narrow(call, io.width);
}

} // extern "C"
