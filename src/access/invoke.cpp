// Invocation: xffmt dispatches a call block to a format function or a
// user-format evaluator and brings the text result into the encoding the
// caller asked for.  All work areas live on the stack; nothing allocates.
//
// Results that are not text are never widened: a numeric informat's stored
// double, and the bytes of a machine representation (packed, zoned, binary
// and floating-point fields, EBCDIC, transport fields, raw bytes read from
// digit text), whose row functions registry/byte_results.def lists.  Such
// a result keeps its bytes and outenc 0 whatever reqenc asks for.  Which
// kind a handle's result is gets decided at resolution (result_kind.h).
#include <cstring>

#include "core/units.h"
#include "access/result_kind.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr int kWideUnits = 256;   // widened input of character user formats
constexpr int kResultBytes = 256; // converted result
constexpr std::size_t kOlderCallBytes = 64; // call blocks of older callers

bool is_user_kind(char k) {
  return k == '-' || k == '+';
}

// Clamp a callee's outlen to what the buffer can actually hold.
int32_t produced_bytes(const fmtcall *c) {
  if (c->out == nullptr || c->outlen <= 0) return 0;
  return c->outlen > c->outsize ? (c->outsize > 0 ? c->outsize : 0) : c->outlen;
}

// A user format's 16-bit result, narrowed to UTF-8 for a narrow caller.
void narrow_to_utf8(fmtcall *c) {
  uint8_t area[kResultBytes];
  int32_t bytes = 0;
  UNICODEToUTF8(static_cast<const uint16_t *>(c->out), produced_bytes(c) & ~1,
                area, kResultBytes, nullptr, &bytes);
  if (bytes > c->outsize) bytes = c->outsize;
  // A cut must not split a multi-byte sequence.
  if (bytes > 0) {
    int32_t lead = bytes - 1;
    while (lead > 0 && (area[lead] & 0xC0) == 0x80) --lead;
    const int32_t need = area[lead] < 0x80 ? 1 : (area[lead] < 0xE0 ? 2 : 3);
    if (lead + need > bytes) bytes = lead;
  }
  if (bytes > 0) std::memcpy(c->out, area, static_cast<std::size_t>(bytes));
  c->outlen = bytes;
  c->outenc = VF_ENC_NARROW;
}

// Narrow text widened through the Windows-1252 table for a 16-bit caller.
// Text over 256 bytes, or a result that would not fit `outsize`, stays
// narrow: the caller then sees outenc != reqenc.
void widen_result(fmtcall *c) {
  const int32_t n = produced_bytes(c);
  if (c->outlen > kResultBytes || n != c->outlen || 2 * n > c->outsize) return;
  uint16_t units[kResultBytes];
  const auto *src = static_cast<const uint8_t *>(c->out);
  for (int32_t i = 0; i < n; ++i) units[i] = kCp1252ToUcs2[src[i]];
  // An empty result may come without a buffer: nothing to copy then.
  if (n > 0) std::memcpy(c->out, units, static_cast<std::size_t>(n) * 2);
  c->outlen = 2 * n;
  c->outenc = VF_ENC_UCS2;
}

// Character user formats compare 16-bit text.  Input in any encoding but
// UCS-2 comes in bytes, valuelen of them: UTF-8 is decoded, any other
// encoding widened through the Windows-1252 table as narrow text is, into
// at most kWideUnits units.  Returns the number of units.
int32_t widen_input(const fmtcall *call, uint16_t *wide) {
  int32_t units = 0;
  if (call->value == nullptr || call->valuelen <= 0) return 0;
  const auto *bytes = static_cast<const uint8_t *>(call->value);
  if (call->inenc == VF_ENC_UTF8)
    UTF8ToUNICODE(bytes, call->valuelen, wide, 2 * kWideUnits, &units, nullptr);
  else
    LATIN1ToUNICODE(bytes, call->valuelen, wide, 2 * kWideUnits, &units);
  return units;
}

bool is_16bit(uint32_t enc) {
  return enc == VF_ENC_UCS2 || enc == VF_ENC_UCS2BE;
}

int32_t call_user(fmtcall *call, fmtuhandle *h) {
  if (h->evaluator == nullptr) return VF_ERR_NO_FUNCTION;
  int32_t st;
  if (h->kind == '+' && !is_16bit(call->inenc)) {
    // The evaluator reads the widened text from a private block; the
    // caller's block takes back what an evaluator sets.
    uint16_t wide[kWideUnits];
    fmtcall widened = *call;
    widened.valuelen = widen_input(call, wide);
    widened.value = wide;
    st = h->evaluator(&widened, h->entry, h->ranges);
    call->outlen = widened.outlen;
    call->outenc = widened.outenc;
    call->options = widened.options;
  } else {
    st = h->evaluator(call, h->entry, h->ranges);
  }
  if (st != VF_OK && st != VF_WARN) return st;
  if (call->outenc != VF_ENC_NARROW && call->reqenc == VF_ENC_NARROW)
    narrow_to_utf8(call);
  else if (call->outenc != call->reqenc && call->reqenc == VF_ENC_UCS2)
    widen_result(call);
  return st;
}

// Kept out of line so that xffmt itself needs no stack frame on its
// direct path.
[[gnu::noinline]] int32_t call_builtin(fmtcall *call, fmthandle *h) {
  const fmtfn fn = h->desc.fn;
  if (fn == nullptr) return VF_ERR_NO_FUNCTION;
  if (h->self != h) {
    // Older callers pass a 64-byte block and get narrow text back as is.
    fmtcall copy;
    std::memset(&copy, 0, sizeof copy);
    std::memcpy(&copy, call, kOlderCallBytes);
    const int32_t st = fn(&copy);
    call->outlen = copy.outlen;
    return st;
  }
  const int32_t st = fn(call);
  if (st != VF_OK && st != VF_WARN) return st;
  if (call->outenc != call->reqenc && call->reqenc == VF_ENC_UCS2 &&
      result_is_text(h))
    widen_result(call);
  return st;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t xffmt(fmtcall *call, fmthandle *handle) {
  if (call == nullptr || handle == nullptr) return VF_ERR_BAD_CALL;
  if (valfmt::is_user_kind(handle->modname[0]))
    return valfmt::call_user(call, reinterpret_cast<fmtuhandle *>(handle));
  // Only a caller asking for 16-bit text can have the result widened, and
  // formats never change reqenc: for any other caller of a handle in
  // place the format's own return is the answer, and the call is the last
  // thing done (no frame, no checks after it).
  const fmtfn fn = handle->desc.fn;
  if (fn != nullptr && handle->self == handle && call->reqenc != VF_ENC_UCS2)
    return fn(call);
  return valfmt::call_builtin(call, handle);
}

} // extern "C"
