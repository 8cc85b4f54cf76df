// Missing values: the display character of a code byte and the exported
// test, constructor and field writer, and the private-block writer the
// families share.
#include <cstring>

#include "core/call.h"
#include "core/missing.h"

namespace valfmt {

char missing_char(double x) {
  // Index -c of the code byte read as a signed byte; index 0 is a blank.
  static constexpr char kChars[] = " _.ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const uint64_t bits = double_bits(x);
  if ((bits >> 48) != 0xFFFFu) return ' ';
  // The code byte is read as a signed byte: 0xFF is -1, 0xE4 is -28.
  const int c = static_cast<int>((bits >> 40) & 0xFFu) - 256;
  if (c == -256) return ' '; // code byte 0
  if (c < -28) return ' ';
  return kChars[-c];
}

void write_missing_field(fmtcall *call, int32_t w, int32_t d) {
  fmtcall field = *call;
  field.w = w;
  field.d = d;
  zfmmiss(&field);
  call->outlen = field.outlen;
}

} // namespace valfmt

extern "C" {

VF_API int32_t zmiss(double x) {
  return valfmt::is_missing(x) ? 1 : 0;
}

VF_API double ZMISSV(int32_t k) {
  // Entry k carries the code byte 0xFF - k: '_', '.', then 'A'..'Z'.
  if (k < 0 || k > 27) k = 1;
  return valfmt::missing_value(static_cast<uint8_t>(0xFF - k));
}

VF_API int32_t zfmmiss(fmtcall *call) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
  const int32_t size = valfmt::out_capacity(call);
  char *out = static_cast<char *>(call->out);
  valfmt::put_blanks(out, size);
  const int32_t w = call->w;
  call->outlen = w < 0 ? 0 : (w > size ? size : w);
  const int32_t d = (call->d == 98 || call->d == 99) ? 0 : call->d;
  const int64_t pos = static_cast<int64_t>(w) - 1 - d;
  const double x = call->value ? valfmt::call_value(call) : 0.0;
  if (pos >= 0 && pos < size) out[pos] = valfmt::missing_char(x);
  return VF_OK;
}

} // extern "C"
