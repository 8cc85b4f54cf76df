// Module loading by name (xfload, getep), the start hooks that need no
// work, and the blank-stripping helper hosts call on table names.
#include <cstring>

#include "registry/vocab.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr int32_t kModuleFound = 0;
constexpr int32_t kModuleNotFound = 1;

// The first row of names_and_entries whose name starts with the first len
// bytes of modname, or null.
const fmtmodule_row *find_module(const char *modname, int32_t len) {
  if (modname == nullptr || len <= 0) return nullptr;
  for (const fmtmodule_row &m : names_and_entries)
    if (std::strncmp(m.name, modname, static_cast<std::size_t>(len)) == 0)
      return &m;
  return nullptr;
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t xfinit(void) {
  return 0;
}
VF_API int32_t xfinit2(void) {
  return 0;
}
VF_API void *get_fmt_cntl_anchor(void) {
  return nullptr;
}

VF_API const fmtinfo *xfload(void *, const char *modname, int32_t len,
                             int32_t *status) {
  const fmtmodule_row *m = valfmt::find_module(modname, len);
  if (status) *status = m ? valfmt::kModuleFound : valfmt::kModuleNotFound;
  return m ? m->entry() : nullptr;
}

VF_API int32_t getep(void *, const char *modname, int32_t len,
                     fmtmodule_entry *entry) {
  const fmtmodule_row *m = valfmt::find_module(modname, len);
  if (m == nullptr) return valfmt::kModuleNotFound;
  if (entry) *entry = m->entry;
  return valfmt::kModuleFound;
}

VF_API int32_t zstrip(const char *text, int32_t len) {
  if (text == nullptr || len <= 0) return 0;
  while (len > 0 && text[len - 1] == ' ') --len;
  return len;
}

} // extern "C"
