// libFuzzer target: an in-memory catalogue from the fuzzer's bytes, resolved
// and evaluated.  The first byte picks the requested name; the rest is the
// catalogue text.  Whatever resolves is evaluated on numbers (missing
// values included) or on texts in every input encoding, with every
// requested encoding, several widths and buffer sizes; inputs sit right
// before an unreadable page and outputs are followed by guard bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "valfmt.h"

namespace {

const char *const kNames[] = {"AGEGRP", "$GRADE", "AMOUNT", "ISODAY",
                              "A",      "$A",     "@A",     "X"};

void check(const vffuzz::Output &out, int32_t st, const fmtcall &c,
           const char *name) {
  if (!out.guard_intact()) vffuzz::fail("wrote past outsize", name, c.w, 0);
  if (!vffuzz::documented(st))
    vffuzz::fail("undocumented status", name, st, c.w);
  if ((st == VF_OK || st == VF_WARN) && (c.outlen < 0 || c.outlen > c.outsize))
    vffuzz::fail("outlen outside the buffer", name, c.outlen, c.outsize);
}

void call_once(fmthandle *h, fmtcall c, const uint8_t *bytes, std::size_t n,
               const char *name) {
  vffuzz::Output out(c.outsize, '#');
  c.out = out.data();
  c.value = vffuzz::Fence::get().place(bytes, n);
  const bool wide = c.inenc == VF_ENC_UCS2 || c.inenc == VF_ENC_UCS2BE;
  c.valuelen = static_cast<int32_t>(wide ? n / 2 : n);
  const int32_t st = xffmt(&c, h);
  check(out, st, c, name);
}

void evaluate_numbers(fmthandle *h, const char *name) {
  const uint64_t bits[] = {
      0x0000000000000000, 0x402A000000000000, 0xBFF8000000000000,
      0x7E37E43C8800759C, 0xFE37E43C8800759C, 0x4045200000000000,
      0xFFFFFE0000000000, 0xFFFFFD0000000000, 0xFFFFFF0000000000,
      0x7FF8000000000000, 0x7FF0000000000000, 0x41D0000000000000,
  };
  for (int32_t w : {0, 1, 8, 40, 200}) {
    for (uint32_t reqenc : {VF_ENC_NARROW, VF_ENC_UTF8, VF_ENC_UCS2}) {
      for (uint32_t options : {0u, static_cast<uint32_t>(VF_OPT_MULTILABEL)}) {
        fmtcall c{};
        c.w = w;
        c.outsize = (w & 1) ? 2 * w + 1 : w + 3;
        c.reqenc = reqenc;
        c.options = options;
        for (uint64_t b : bits)
          call_once(h, c, reinterpret_cast<const uint8_t *>(&b), 8, name);
      }
    }
  }
}

void evaluate_texts(fmthandle *h, const char *name) {
  // Narrow and UTF-8 bytes, then 16-bit texts in both byte orders.
  const std::string narrow[] = {"",
                                "A",
                                "B  ",
                                "caf\xE9",
                                "caf\xC3\xA9",
                                "\xE2\x82",
                                "ZZZZZZZZZZZZZZZZZZ",
                                std::string(300, 'q')};
  const std::string wide[] = {std::string("A\0", 2), std::string("B\0 \0", 4),
                              std::string("\0A", 2),
                              std::string("\xE9\0\x00\xD8", 4)};
  for (int32_t w : {1, 8, 40}) {
    for (uint32_t reqenc : {VF_ENC_NARROW, VF_ENC_UTF8, VF_ENC_UCS2}) {
      for (uint32_t options : {0u, static_cast<uint32_t>(VF_OPT_MULTILABEL)}) {
        fmtcall c{};
        c.w = w;
        c.outsize = (w & 1) ? 2 * w : w + 5;
        c.reqenc = reqenc;
        c.options = options;
        for (uint32_t inenc : {VF_ENC_NARROW, VF_ENC_UTF8, 1u, 62u}) {
          c.inenc = inenc;
          for (const std::string &t : narrow)
            call_once(h, c, reinterpret_cast<const uint8_t *>(t.data()),
                      t.size(), name);
        }
        for (uint32_t inenc : {VF_ENC_UCS2, VF_ENC_UCS2BE}) {
          c.inenc = inenc;
          for (const std::string &t : wide)
            call_once(h, c, reinterpret_cast<const uint8_t *>(t.data()),
                      t.size(), name);
        }
      }
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const char *name = kNames[data[0] % (sizeof kNames / sizeof kNames[0])];
  // An exact-size copy: a read past the catalogue's end is reported.
  std::vector<char> text(data + 1, data + size);
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
    if (name[0] == '$')
      evaluate_texts(h, name);
    else
      evaluate_numbers(h, name);
    xfdel(h);
  } else if (rc != VF_NOT_FOUND) {
    vffuzz::fail("resolution status neither 0 nor 1", name, rc, 0);
  }
  return 0;
}
