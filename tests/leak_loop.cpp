// Resolves, invokes and releases every built-in name in both handle kinds,
// plus the pseudo-formats, and the user-defined formats of the catalogue
// named on the command line (whole, and cut short at many places so that
// the reader gives up after it has allocated); run under valgrind
// --leak-check=full by CTest.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "valfmt.h"

namespace {

// Resolves `name` from the catalogue text in both handle kinds, invokes
// what resolves in narrow, UTF-8 and 16-bit input and output, and
// releases it.  Returns the number of handles resolved.
int user_format(const std::string &text, const char *name) {
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = text.data();
  mem.length = static_cast<int32_t>(text.size());
  fmtcontext ctx{};
  ctx.inmemory = &mem;
  int resolved = 0;
  for (int kind = 0; kind < 2; ++kind) {
    fmthandle_storage st;
    fmthandle *h = kind == 0 ? &st.builtin : nullptr;
    if (xfname3(name, static_cast<int32_t>(std::strlen(name)), 'F', nullptr, &h,
                &ctx) != 0)
      continue;
    ++resolved;
    const double values[] = {0, 15, 1234.5, 22999};
    const char texts[] = "B\0caf\xC3\xA9";
    char out[256];
    for (uint32_t enc : {VF_ENC_NARROW, VF_ENC_UTF8, VF_ENC_UCS2}) {
      fmtcall c{};
      c.w = 20;
      c.out = out;
      c.outsize = sizeof out;
      c.inenc = enc;
      c.reqenc = enc == VF_ENC_UTF8 ? VF_ENC_NARROW : enc;
      c.options = VF_OPT_MULTILABEL;
      if (name[0] == '$') {
        c.value = texts;
        c.valuelen = enc == VF_ENC_UCS2 ? 1 : 7;
        xffmt(&c, h);
      } else {
        for (double v : values) {
          c.value = &v;
          xffmt(&c, h);
        }
      }
    }
    xfdel(h);
  }
  return resolved;
}

int user_formats(const char *path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  const std::string text = s.str();
  if (text.empty()) return -1;
  const char *const names[] = {"AGEGRP", "$GRADE", "AMOUNT",
                               "ISODAY", "NOSUCH", "$AGEGRP"};
  int resolved = 0;
  for (const char *n : names) resolved += user_format(text, n);
  // Cut short: the reader stops part way through, after allocating.
  for (std::size_t cut = 97; cut < text.size(); cut += 389)
    for (const char *n : names) user_format(text.substr(0, cut), n);
  return resolved;
}

} // namespace

int main(int argc, char **argv) {
  if (argc > 1) {
    const int resolved = user_formats(argv[1]);
    // Four formats, each in both handle kinds.
    if (resolved != 8) {
      std::fprintf(stderr, "%d user-format handles resolved from %s\n",
                   resolved, argv[1]);
      return 1;
    }
  }
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
