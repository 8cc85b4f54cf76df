// libFuzzer target: the fixed renderer's fast path against its digit
// generators.  Input: a double (8 bytes), a width byte and a code byte
// (decimals 0..32 or the best code); the text, outlen and status of both
// must agree.
#include <cstdint>
#include <cstring>

#include "numeric/fixed.h"

namespace {

struct Rendered {
  int32_t status;
  int32_t outlen;
  char text[32];
};

Rendered render(int32_t (*renderer)(fmtcall *, int32_t, int32_t), double v,
                int32_t w, int32_t code) {
  Rendered r{};
  std::memset(r.text, '#', sizeof r.text);
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.out = r.text;
  c.outsize = sizeof r.text;
  r.status = renderer(&c, w, code);
  r.outlen = c.outlen;
  return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 10) return 0;
  double v;
  std::memcpy(&v, data, sizeof v);
  const int32_t w = 1 + data[8] % 32;
  const int32_t code = data[9] % 34 == 33 ? valfmt::kCodeBest : data[9] % 34;
  const Rendered a = render(valfmt::render_fixed, v, w, code);
  const Rendered b = render(valfmt::render_fixed_by_generators, v, w, code);
  if (a.status != b.status || a.outlen != b.outlen ||
      std::memcmp(a.text, b.text, sizeof a.text) != 0)
    __builtin_trap();
  return 0;
}
