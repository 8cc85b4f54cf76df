// libFuzzer target: an in-memory catalogue from the fuzzer's bytes, resolved
// and evaluated.  The first byte picks the requested name; the rest is the
// catalogue text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "valfmt.h"

namespace {

const char *const kNames[] = {"AGEGRP", "$GRADE", "AMOUNT", "ISODAY",
                              "A",      "$A",     "@A",     "X"};

void evaluate(fmthandle *h, bool character) {
  char out[96];
  const double values[] = {0, 13, -1.5, 1e300, -1e300, 42.25};
  const char *texts[] = {"", "A", "B  ", "caf\xE9", "ZZZZZZZZZZZZZZZZZZ"};
  for (int w : {0, 1, 8, 40}) {
    for (uint32_t reqenc : {VF_ENC_NARROW, VF_ENC_UCS2}) {
      for (uint32_t options : {0u, static_cast<uint32_t>(VF_OPT_MULTILABEL)}) {
        fmtcall c{};
        c.w = w;
        c.out = out;
        c.outsize = sizeof out;
        c.reqenc = reqenc;
        c.options = options;
        if (character) {
          for (const char *t : texts) {
            c.value = t;
            c.valuelen = static_cast<int32_t>(std::strlen(t));
            xffmt(&c, h);
          }
        } else {
          for (double v : values) {
            c.value = &v;
            xffmt(&c, h);
          }
        }
      }
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const char *name = kNames[data[0] % (sizeof kNames / sizeof kNames[0])];
  std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = text.data();
  mem.length = static_cast<int32_t>(text.size());
  fmtcontext ctx{};
  ctx.inmemory = &mem;
  fmthandle_storage storage;
  fmthandle *h = &storage.builtin;
  fmtattr attrs;
  const int32_t rc = xfname3(name, static_cast<int32_t>(std::strlen(name)), 'F',
                             &attrs, &h, &ctx);
  if (rc == 0) {
    evaluate(h, name[0] == '$');
    xfdel(h);
  }
  return 0;
}
