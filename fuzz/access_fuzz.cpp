// libFuzzer target for the access layer: arbitrary names through
// resolution, arbitrary bytes through the encoding converters and the
// in-database widening routine.
#include <cstdint>
#include <cstring>
#include <vector>

#include "valfmt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const auto n = static_cast<int32_t>(size > 4096 ? 4096 : size);
  const char *text = reinterpret_cast<const char *>(data);

  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  fmtattr a;
  if (xfname3(text, n, data[0] & 1 ? VF_KIND_INFORMAT : 'F', &a, &h, nullptr) ==
      0)
    xfdel(h);
  h = nullptr;
  if (xfname(text, n, 'F', &a, &h) == 0) xfdel(h);

  std::vector<uint16_t> units(static_cast<size_t>(n) + 1);
  int32_t nu = 0, nb = 0;
  UTF8ToUNICODE(data, n, units.data(), n * 2, &nu, &nb);
  std::vector<uint8_t> utf8(static_cast<size_t>(n) * 3 + 3);
  UNICODEToUTF8(units.data(), nu * 2, utf8.data(),
                static_cast<int32_t>(utf8.size()), &nu, &nb);
  UPCASE(units.data(), nu);
  LOWCASE(units.data(), nu);
  NLSNUMCHAR(units.data(), nu, data[0], n);

  std::vector<char> name(text, text + n);
  uint32_t id = 0;
  EncnameToID(name.data(), n, &id);

  std::vector<char> buf(520);
  int32_t len = n > 256 ? 256 : n;
  std::memcpy(buf.data(), text, static_cast<size_t>(len));
  uint32_t enc = 0;
  getUCS2ResultFromNarrowCharBufForInDB(data[0], 0, &enc, buf.data(), &len, n,
                                        static_cast<int32_t>(buf.size()));

  h = &st.builtin;
  if (xfname3("$IS-INTRINSIC", 13, 'F', nullptr, &h, nullptr) == 0) {
    char out[4];
    fmtcall c{};
    c.w = 3;
    c.value = data;
    c.valuelen = n / 2;
    c.inenc = data[0] & 2 ? VF_ENC_UCS2 : 0;
    c.out = out;
    c.outsize = 4;
    xffmt(&c, h);
  }
  return 0;
}
