// libFuzzer target: the name lookups (locale names, encoding names) and the
// ISO 8601 readers on arbitrary text.  The readers and the locale lookup
// are referenced weakly, so the target builds and runs with whatever part
// of them the library holds and covers the rest as it lands.
//
// Input layout: a selector byte (which entry; w, d mode and outsize), then
// the text, placed right before an unreadable page.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "valfmt.h"

extern "C" {
#pragma weak LocnameToID
VF_API int32_t is8601dui(fmtcall *call) __attribute__((weak));
VF_API int32_t is8601pdi(fmtcall *call) __attribute__((weak));
VF_API int32_t is8601vli(fmtcall *call) __attribute__((weak));
}

namespace {

using vffuzz::fail;

void locale_name(const uint8_t *text, int32_t n) {
  if (&LocnameToID == nullptr) return;
  int32_t id = -1;
  const int32_t st = LocnameToID(reinterpret_cast<const char *>(text), n, &id);
  if (st == 0 && (id < 1 || id > VF_LOC_RECORDS))
    fail("LocnameToID identifier", "", id, n);
  if (st != 0 && (st != 5 || id != 0)) fail("LocnameToID status", "", st, id);
  if (st == 0 && n != 5)
    fail("LocnameToID found a name not five long", "", n, id);
}

void encoding_name(const uint8_t *text, int32_t n) {
  std::vector<char> name(text, text + n);
  uint32_t id = 0;
  const int32_t st = EncnameToID(name.data(), n, &id);
  if (st != 0 && st != 4) fail("EncnameToID status", "", st, n);
}

void iso_reader(fmtfn fn, const char *which, const uint8_t *text, int32_t n,
                uint8_t sel) {
  if (fn == nullptr) return;
  constexpr int32_t kOutsize[] = {0, 8, 15, 16, 17, 31, 32, 64};
  fmtcall c{};
  c.w = sel & 0x10 ? n : (sel & 0x20 ? 200 : n / 2);
  c.d = sel & 0x40 ? 256 : 0;
  c.value = text;
  c.valuelen = n;
  c.outsize = kOutsize[(sel >> 1) & 7];
  vffuzz::Output out(c.outsize, '#');
  c.out = out.data();
  const int32_t st = fn(&c);
  if (!out.guard_intact()) fail("wrote past outsize", which, n, c.outsize);
  if (!vffuzz::documented(st)) fail("undocumented status", which, st, n);
  if ((st == VF_OK || st == VF_WARN) && (c.outlen < 0 || c.outlen > c.outsize))
    fail("outlen outside the buffer", which, c.outlen, c.outsize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const uint8_t sel = data[0];
  const auto n = static_cast<int32_t>(size - 1 > 4096 ? 4096 : size - 1);
  const uint8_t *text =
      vffuzz::Fence::get().place(data + 1, static_cast<std::size_t>(n));
  locale_name(text, n);
  encoding_name(text, n);
  iso_reader(is8601dui, "is8601dui", text, n, sel);
  iso_reader(is8601pdi, "is8601pdi", text, n, sel);
  iso_reader(is8601vli, "is8601vli", text, n, sel);
  return 0;
}
