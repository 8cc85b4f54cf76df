// Descriptor arrays, module entry functions, the global name table fmtposs
// and the module-entry table, all built at compile time from vocab/*.def.
#include <algorithm>
#include <array>
#include <cstring>

#include "access/vocab.h"

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
  static_assert(M - 1 < 16 && N - 1 <= 16);
  fmtposs_row r{};
  for (std::size_t i = 0; i < M - 1; ++i) r.modname[i] = module[i];
  r.modnamelen = M - 1;
  for (std::size_t i = 0; i < 16; ++i) r.fmtname[i] = i < N - 1 ? name[i] : ' ';
  r.fmtnamelen = static_cast<uint32_t>(N - 1);
  return r;
}

// A name whose function is still to be built resolves but has no function.
#define VF_TODO(fn) nullptr
#define VF_NONE nullptr

#define VF_ROW(...) desc(__VA_ARGS__),
#define VF_ROW_UNLISTED(...) desc(__VA_ARGS__),

constexpr fmtinfo_eachfmt k_JAZWFBIN[] = {
#include "access/vocab/JAZWFBIN.def"
};
constexpr fmtinfo_eachfmt k_JAZWFDTE[] = {
#include "access/vocab/JAZWFDTE.def"
};
constexpr fmtinfo_eachfmt k_JAZWFMSC[] = {
#include "access/vocab/JAZWFMSC.def"
};
constexpr fmtinfo_eachfmt k_JAZWFNLS[] = {
#include "access/vocab/JAZWFNLS.def"
};
constexpr fmtinfo_eachfmt k_JAZWFTME[] = {
#include "access/vocab/JAZWFTME.def"
};
constexpr fmtinfo_eachfmt k_JAZWFUWF[] = {
#include "access/vocab/JAZWFUWF.def"
};
constexpr fmtinfo_eachfmt k_JAZWIBIN[] = {
#include "access/vocab/JAZWIBIN.def"
};
constexpr fmtinfo_eachfmt k_JAZWIDTE[] = {
#include "access/vocab/JAZWIDTE.def"
};
constexpr fmtinfo_eachfmt k_JAZWIMSC[] = {
#include "access/vocab/JAZWIMSC.def"
};
constexpr fmtinfo_eachfmt k_JAZWIUWI[] = {
#include "access/vocab/JAZWIUWI.def"
};
#undef VF_ROW
#undef VF_ROW_UNLISTED

template <std::size_t N>
constexpr uint32_t count(const fmtinfo_eachfmt (&)[N]) {
  return static_cast<uint32_t>(N);
}

static_assert(count(k_JAZWFBIN) == 15);
static_assert(count(k_JAZWFDTE) == 99);
static_assert(count(k_JAZWFMSC) == 76);
static_assert(count(k_JAZWFNLS) == 120);
static_assert(count(k_JAZWFTME) == 10);
static_assert(count(k_JAZWFUWF) == 40);
static_assert(count(k_JAZWIBIN) == 32);
static_assert(count(k_JAZWIDTE) == 11);
static_assert(count(k_JAZWIMSC) == 13);
static_assert(count(k_JAZWIUWI) == 104);

constexpr fmtinfo kInfo[kModuleCount] = {
    {count(k_JAZWFBIN), k_JAZWFBIN}, {count(k_JAZWFDTE), k_JAZWFDTE},
    {count(k_JAZWFMSC), k_JAZWFMSC}, {count(k_JAZWFNLS), k_JAZWFNLS},
    {count(k_JAZWFTME), k_JAZWFTME}, {count(k_JAZWFUWF), k_JAZWFUWF},
    {count(k_JAZWIBIN), k_JAZWIBIN}, {count(k_JAZWIDTE), k_JAZWIDTE},
    {count(k_JAZWIMSC), k_JAZWIMSC}, {count(k_JAZWIUWI), k_JAZWIUWI},
};

} // namespace
} // namespace valfmt

using valfmt::kInfo;

extern "C" {
VF_API const fmtinfo *jazwfbin(void) {
  return &kInfo[0];
}
VF_API const fmtinfo *jazwfdte(void) {
  return &kInfo[1];
}
VF_API const fmtinfo *jazwfmsc(void) {
  return &kInfo[2];
}
VF_API const fmtinfo *jazwfnls(void) {
  return &kInfo[3];
}
VF_API const fmtinfo *jazwftme(void) {
  return &kInfo[4];
}
VF_API const fmtinfo *jazwfuwf(void) {
  return &kInfo[5];
}
VF_API const fmtinfo *jazwibin(void) {
  return &kInfo[6];
}
VF_API const fmtinfo *jazwidte(void) {
  return &kInfo[7];
}
VF_API const fmtinfo *jazwimsc(void) {
  return &kInfo[8];
}
VF_API const fmtinfo *jazwiuwi(void) {
  return &kInfo[9];
}

const fmtmodule_row names_and_entries[10] = {
    {"JAZWFBIN", jazwfbin}, {"JAZWFDTE", jazwfdte}, {"JAZWFMSC", jazwfmsc},
    {"JAZWFNLS", jazwfnls}, {"JAZWFTME", jazwftme}, {"JAZWFUWF", jazwfuwf},
    {"JAZWIBIN", jazwibin}, {"JAZWIDTE", jazwidte}, {"JAZWIMSC", jazwimsc},
    {"JAZWIUWI", jazwiuwi},
};

// Rows in name-table order: the format modules with JAZWFNLS after
// JAZWFUWF, then the informat modules.  Two descriptors have no row.
#define VF_ROW(name, ...) valfmt::poss(VF_MODULE, name),
#define VF_ROW_UNLISTED(...)
constexpr fmtposs_row fmtposs[518] = {
#define VF_MODULE "JAZWFBIN"
#include "access/vocab/JAZWFBIN.def"
#undef VF_MODULE
#define VF_MODULE "JAZWFDTE"
#include "access/vocab/JAZWFDTE.def"
#undef VF_MODULE
#define VF_MODULE "JAZWFMSC"
#include "access/vocab/JAZWFMSC.def"
#undef VF_MODULE
#define VF_MODULE "JAZWFTME"
#include "access/vocab/JAZWFTME.def"
#undef VF_MODULE
#define VF_MODULE "JAZWFUWF"
#include "access/vocab/JAZWFUWF.def"
#undef VF_MODULE
#define VF_MODULE "JAZWFNLS"
#include "access/vocab/JAZWFNLS.def"
#undef VF_MODULE
#define VF_MODULE "JAZWIBIN"
#include "access/vocab/JAZWIBIN.def"
#undef VF_MODULE
#define VF_MODULE "JAZWIDTE"
#include "access/vocab/JAZWIDTE.def"
#undef VF_MODULE
#define VF_MODULE "JAZWIMSC"
#include "access/vocab/JAZWIMSC.def"
#undef VF_MODULE
#define VF_MODULE "JAZWIUWI"
#include "access/vocab/JAZWIUWI.def"
#undef VF_MODULE
};
#undef VF_ROW
#undef VF_ROW_UNLISTED

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
  for (int i = 0; i < kPossRows; ++i) idx[i] = static_cast<uint16_t>(i);
  std::sort(idx.begin(), idx.end(), [](uint16_t a, uint16_t b) {
    return compare_padded(fmtposs[a].fmtname, fmtposs[b].fmtname) < 0;
  });
  return idx;
}();

constexpr bool names_unique() {
  for (int i = 1; i < kPossRows; ++i)
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
