// Resolves, invokes and releases every built-in name in both handle kinds,
// plus the pseudo-formats; run under valgrind --leak-check=full by CTest.
#include <cstdio>
#include <cstring>
#include <string>

#include "valfmt.h"

int main() {
  int count = 0;
  for (int round = 0; round < 2; ++round) {
    for (const fmtposs_row &r : fmtposs) {
      std::string name(r.fmtname, r.fmtnamelen);
      if (name[0] == '-') continue;
      const bool informat = name[0] == '@';
      if (informat) name.erase(0, 1);
      fmthandle_storage st;
      fmthandle *h = round == 0 ? &st.builtin : nullptr;
      if (xfname3(name.data(), static_cast<int32_t>(name.size()),
                  informat ? VF_KIND_INFORMAT : 'F', nullptr, &h,
                  nullptr) != 0) {
        std::fprintf(stderr, "%s not resolved\n", name.c_str());
        return 1;
      }
      const double one = 1.0;
      const char text[] = "12";
      double stored = 0;
      char out[512];
      fmtcall c{};
      c.w = h->desc.defw ? h->desc.defw : 1;
      c.value = (informat || name[0] == '$') ? static_cast<const void *>(text)
                                             : static_cast<const void *>(&one);
      c.valuelen = 2;
      c.out = informat && name[0] != '$' ? static_cast<void *>(&stored)
                                         : static_cast<void *>(out);
      c.outsize =
          informat && name[0] != '$' ? 8 : static_cast<int32_t>(sizeof out);
      xffmt(&c, h);
      xfdel(h);
      ++count;
    }
    for (const char *p : {"_C_R_A_S_H_", "INTRINSIC-CRDATE", "$IS-INTRINSIC"}) {
      fmthandle_storage st;
      fmthandle *h = round == 0 ? &st.builtin : nullptr;
      if (xfname3(p, static_cast<int32_t>(std::strlen(p)), 'F', nullptr, &h,
                  nullptr) != 0)
        return 1;
      xfdel(h);
    }
  }
  std::printf("%d handles resolved, invoked and released\n", count);
  return 0;
}
