// Descriptor arrays, module entry functions, the global name table fmtposs
// and the module-entry table, all built at compile time from modules.def.
#include <algorithm>
#include <array>
#include <cstring>

#include "registry/functions.h"
#include "registry/vocab.h"

namespace valfmt {
namespace {

template <std::size_t N>
constexpr fmtinfo_eachfmt
desc(const char (&name)[N], unsigned minw, unsigned maxw, unsigned defw,
     unsigned maxd, unsigned flag1, unsigned flag2, uint64_t aux, fmtfn fn) {
  static_assert(N - 1 <= 16, "descriptor names hold at most 16 bytes");
  fmtinfo_eachfmt d{};
  for (std::size_t i = 0; i < 16; ++i) d.name[i] = i < N - 1 ? name[i] : ' ';
  d.namelen = static_cast<uint32_t>(N - 1);
  d.minw = static_cast<uint16_t>(minw);
  d.maxw = static_cast<uint16_t>(maxw);
  d.defw = static_cast<uint16_t>(defw);
  d.flag1 = static_cast<uint16_t>(flag1);
  d.flag2 = static_cast<uint16_t>(flag2);
  d.maxd = static_cast<uint16_t>(maxd);
  d.aux = aux;
  d.fn = fn;
  return d;
}

template <std::size_t M, std::size_t N>
constexpr fmtposs_row poss(const char (&module)[M], const char (&name)[N]) {
  // The module name leaves its last byte free: a handle keeps its
  // result kind there (access/result_kind.h).
  static_assert(M - 1 < 15 && N - 1 <= 16);
  fmtposs_row r{};
  for (std::size_t i = 0; i < M - 1; ++i) r.modname[i] = module[i];
  r.modnamelen = M - 1;
  for (std::size_t i = 0; i < 16; ++i) r.fmtname[i] = i < N - 1 ? name[i] : ' ';
  r.fmtnamelen = static_cast<uint32_t>(N - 1);
  return r;
}

// One descriptor array per module.
#define VF_TODO(fn) nullptr
#define VF_NONE nullptr
#define VF_MODULE_BEGIN(module, entry, row, n)                                 \
  constexpr fmtinfo_eachfmt k_##module[] = {
#define VF_MODULE_END(module)                                                  \
  }                                                                            \
  ;
#define VF_ROW(module, ...) desc(__VA_ARGS__),
#define VF_ROW_UNLISTED(module, ...) desc(__VA_ARGS__),
#include "registry/modules.def"
#undef VF_MODULE_BEGIN
#undef VF_MODULE_END
#undef VF_ROW
#undef VF_ROW_UNLISTED

// Each module holds the number of descriptors its row announces.
#define VF_MODULE_BEGIN(module, entry, row, n)                                 \
  static_assert(std::size(k_##module) == (n), #module " descriptor count");
#define VF_MODULE_END(module)
#define VF_ROW(...)
#define VF_ROW_UNLISTED(...)
#include "registry/modules.def"
#undef VF_MODULE_BEGIN

// The module records in names_and_entries order.
constexpr std::array<fmtinfo, kModuleCount> kInfo = [] {
  std::array<fmtinfo, kModuleCount> info{};
#define VF_MODULE_BEGIN(module, entry, row, n)                                 \
  info[row] = {static_cast<uint32_t>(std::size(k_##module)), k_##module};
#include "registry/modules.def"
#undef VF_MODULE_BEGIN
  return info;
}();

struct ModuleEntry {
  const char *name;
  const fmtinfo *(*entry)(void);
};

} // namespace
} // namespace valfmt

extern "C" {

#define VF_MODULE_BEGIN(module, entry, row, n)                                 \
  VF_API const fmtinfo *entry(void) {                                          \
    return &valfmt::kInfo[row];                                                \
  }
#include "registry/modules.def"
#undef VF_MODULE_BEGIN

} // extern "C"

namespace valfmt {
namespace {

constexpr std::array<ModuleEntry, kModuleCount> kEntries = [] {
  std::array<ModuleEntry, kModuleCount> e{};
#define VF_MODULE_BEGIN(module, entry, row, n) e[row] = {#module, entry};
#include "registry/modules.def"
#undef VF_MODULE_BEGIN
  return e;
}();

constexpr bool entries_complete() {
  for (const ModuleEntry &e : kEntries)
    if (e.name == nullptr) return false;
  return true;
}
static_assert(entries_complete(), "every names_and_entries row is set once");

} // namespace
} // namespace valfmt

extern "C" {

const fmtmodule_row names_and_entries[valfmt::kModuleCount] = {
    {valfmt::kEntries[0].name, valfmt::kEntries[0].entry},
    {valfmt::kEntries[1].name, valfmt::kEntries[1].entry},
    {valfmt::kEntries[2].name, valfmt::kEntries[2].entry},
    {valfmt::kEntries[3].name, valfmt::kEntries[3].entry},
    {valfmt::kEntries[4].name, valfmt::kEntries[4].entry},
    {valfmt::kEntries[5].name, valfmt::kEntries[5].entry},
    {valfmt::kEntries[6].name, valfmt::kEntries[6].entry},
    {valfmt::kEntries[7].name, valfmt::kEntries[7].entry},
    {valfmt::kEntries[8].name, valfmt::kEntries[8].entry},
    {valfmt::kEntries[9].name, valfmt::kEntries[9].entry},
};

// Rows in name-table order; descriptors marked unlisted have no row.
#undef VF_ROW
#undef VF_ROW_UNLISTED
#define VF_MODULE_BEGIN(module, entry, row, n)
#define VF_ROW(module, name, ...) valfmt::poss(#module, name),
#define VF_ROW_UNLISTED(...)
constexpr fmtposs_row fmtposs[valfmt::kPossRows] = {
#include "registry/modules.def"
};
#undef VF_MODULE_BEGIN
#undef VF_MODULE_END
#undef VF_ROW
#undef VF_ROW_UNLISTED
#undef VF_TODO
#undef VF_NONE

VF_API int32_t get_fmt_poss_table(const fmtposs_row **table, int32_t *count) {
  if (table) *table = fmtposs;
  if (count) *count = valfmt::kPossRows;
  return 0;
}

} // extern "C"

namespace valfmt {

namespace {

// Orders rows by their blank-padded 16-byte names (unsigned bytes).
constexpr int compare_padded(const char *a, const char *b) {
  for (int i = 0; i < 16; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

// The name table's row numbers sorted by name, built at compile time, so a
// lookup is a binary search instead of a scan of 518 rows.  Names are
// unique, so the row found is the one a scan in table order would find.
constexpr std::array<uint16_t, kPossRows> kPossByName = [] {
  std::array<uint16_t, kPossRows> idx{};
  for (std::size_t i = 0; i < idx.size(); ++i)
    idx[i] = static_cast<uint16_t>(i);
  std::sort(idx.begin(), idx.end(), [](uint16_t a, uint16_t b) {
    return compare_padded(fmtposs[a].fmtname, fmtposs[b].fmtname) < 0;
  });
  return idx;
}();

constexpr bool names_unique() {
  for (std::size_t i = 1; i < kPossByName.size(); ++i)
    if (compare_padded(fmtposs[kPossByName[i - 1]].fmtname,
                       fmtposs[kPossByName[i]].fmtname) == 0)
      return false;
  return true;
}
static_assert(names_unique(), "every name appears once in the name table");

} // namespace

const fmtposs_row *find_poss_row(const char *name, std::size_t len) {
  if (name == nullptr || len == 0 || len > kMaxBuiltinName) return nullptr;
  char key[16];
  std::memset(key, ' ', sizeof key);
  std::memcpy(key, name, len);
  std::size_t lo = 0;
  std::size_t hi = kPossRows;
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    const fmtposs_row &r = fmtposs[kPossByName[mid]];
    const int c = compare_padded(r.fmtname, key);
    if (c == 0) return r.fmtnamelen == len ? &r : nullptr;
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return nullptr;
}

const fmtinfo_eachfmt *find_descriptor(const fmtinfo *module, const char *name,
                                       std::size_t len) {
  if (module == nullptr || module->first == nullptr) return nullptr;
  for (uint32_t i = 0; i < module->count; ++i) {
    const fmtinfo_eachfmt &d = module->first[i];
    if (d.namelen == len && std::memcmp(d.name, name, len) == 0) return &d;
  }
  return nullptr;
}

} // namespace valfmt
