// Name resolution into handles, the block allocator and handle release.
//
// Resolution order: a catalogue entry the caller already holds, the built-in
// name table, the three pseudo-formats, then the format catalogue.  Every
// failure is "not found" (1) and leaves the caller's slot untouched.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "access/pseudo.h"
#include "registry/vocab.h"
#include "userfmt/entry.h"

namespace valfmt {
namespace {

constexpr std::size_t kMaxUserName = 32;

// The first row of names_and_entries whose name starts with the first len
// bytes of modname, or null.
const fmtmodule_row *find_module(const char *modname, int32_t len) {
  if (modname == nullptr || len <= 0) return nullptr;
  for (const fmtmodule_row &m : names_and_entries)
    if (std::strncmp(m.name, modname, static_cast<std::size_t>(len)) == 0)
      return &m;
  return nullptr;
}

void fill_builtin(fmthandle *h, const void *row, const fmtinfo_eachfmt &d) {
  std::memcpy(h, row, sizeof(fmthandle));
  std::memcpy(&h->desc, &d, sizeof d);
}

void fill_attrs(fmtattr *a, const fmtinfo_eachfmt &d) {
  if (a == nullptr) return;
  a->minw = d.minw;
  a->maxw = d.maxw;
  a->defw = d.defw;
  a->flag1 = d.flag1;
  a->flag2 = d.flag2;
  a->maxd = d.maxd;
  a->aux_lo = static_cast<uint16_t>(d.aux & 0xFFFFu);
  a->aux_hi = static_cast<uint16_t>((d.aux >> 16) & 0xFFFFu);
}

void fill_user_attrs(fmtattr *a, const fmtuhandle &h) {
  if (a == nullptr) return;
  *a = fmtattr{h.minw, h.maxw, h.defw, 0, 0, 0, 0, 0};
}

// Built-in or pseudo handle, in caller storage or in a fresh block.
// False (slot untouched) when the block cannot be allocated.
bool hand_out(const void *row, const fmtinfo_eachfmt &d, bool pseudo,
              fmthandle **slot) {
  if (*slot != nullptr) {
    fill_builtin(*slot, row, d);
    (*slot)->self = *slot;
    return true;
  }
  if (pseudo) {
    *slot = const_cast<fmthandle *>(static_cast<const fmthandle *>(row));
    return true;
  }
  void *head = nullptr;
  void **tail = &head;
  auto *h = static_cast<fmthandle *>(xfmalloc(&tail, sizeof(fmthandle)));
  if (h == nullptr) return false;
  fill_builtin(h, row, d);
  h->self = nullptr;
  *slot = h;
  return true;
}

// User-format handle for `entry`; `head`/`tail` is the block list that the
// catalogue reader filled (empty for an entry held by the caller).  False
// (slot untouched) when the handle's block cannot be allocated.
bool hand_out_user(const void *entry, void *const *ranges, bool character,
                   const char *name, std::size_t len, void *head, void **tail,
                   fmthandle **slot) {
  fmtuhandle *h = reinterpret_cast<fmtuhandle *>(*slot);
  if (h == nullptr) {
    h = static_cast<fmtuhandle *>(xfmalloc(&tail, sizeof(fmtuhandle)));
    if (h == nullptr) return false;
    if (head == nullptr)
      head = static_cast<char *>(static_cast<void *>(h)) - 16;
  }
  std::memset(h, 0, sizeof *h);
  h->self = h;
  h->kind = character ? '+' : '-';
  h->marker = 1;
  std::memcpy(h->name, name, len);
  h->namelen = static_cast<int32_t>(len);
  h->entry = entry;
  h->ranges = ranges;
  h->blockhead = head;
  h->blocktail = head ? static_cast<void *>(tail) : nullptr;
  setfptr(entry, h);
  const auto *e = static_cast<const fmtentry *>(entry);
  h->minw = static_cast<uint16_t>(e->minw);
  h->maxw = static_cast<uint16_t>(e->maxw);
  h->defw = static_cast<uint16_t>(e->defw);
  *slot = reinterpret_cast<fmthandle *>(h);
  return true;
}

void free_list(void *head) {
  while (head != nullptr) {
    void *next = *static_cast<void **>(head);
    std::free(head);
    head = next;
  }
}

} // namespace

const fmthandle *find_pseudo(const char *name, std::size_t len) {
  for (const fmthandle *p : {&kPseudoCrash, &kPseudoCrdate, &kPseudoIntrinsic})
    if (p->desc.namelen == len && std::memcmp(p->desc.name, name, len) == 0)
      return p;
  return nullptr;
}

bool is_pseudo_record(const fmthandle *h) {
  return h == &kPseudoCrash || h == &kPseudoCrdate || h == &kPseudoIntrinsic;
}

} // namespace valfmt

using namespace valfmt;

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

VF_API void *xfmalloc(void ***tail, int64_t size) {
  if (tail == nullptr || *tail == nullptr || size < 0 || size > INT64_MAX / 2)
    return nullptr;
  const auto bytes = static_cast<std::size_t>(size) + 24;
  auto *block = static_cast<char *>(std::calloc(1, bytes));
  if (block == nullptr) return nullptr;
  **tail = block;
  *tail = reinterpret_cast<void **>(block);
  return block + 16;
}

VF_API void xffree(void *) {}

VF_API const fmtinfo *xfload(void *, const char *modname, int32_t len,
                             int32_t *status) {
  const fmtmodule_row *m = find_module(modname, len);
  if (status) *status = m ? 0 : 1;
  return m ? m->entry() : nullptr;
}

VF_API int32_t getep(void *, const char *modname, int32_t len,
                     fmtmodule_entry *entry) {
  const fmtmodule_row *m = find_module(modname, len);
  if (m == nullptr) return 1;
  if (entry) *entry = m->entry;
  return 0;
}

VF_API int32_t zstrip(const char *text, int32_t len) {
  if (text == nullptr || len <= 0) return 0;
  while (len > 0 && text[len - 1] == ' ') --len;
  return len;
}

VF_API int32_t xfname3(const char *name, int32_t namelen, int32_t kind,
                       fmtattr *attrs, fmthandle **slot,
                       const fmtcontext *ctx) {
  if (name == nullptr || slot == nullptr || namelen <= 0 ||
      namelen > static_cast<int32_t>(kMaxUserName) + 1)
    return VF_NOT_FOUND;
  auto len = static_cast<std::size_t>(namelen);
  const bool character = name[0] == '$';
  if (character &&
      (len == 1 || (len == 2 && std::toupper(static_cast<unsigned char>(
                                    name[1])) == 'F'))) {
    name = "$CHAR";
    len = 5;
  }

  // A catalogue entry that the caller already holds.
  if (ctx != nullptr && ctx->entry != nullptr && ctx->ranges == nullptr) {
    void *head = nullptr;
    if (!hand_out_user(ctx->entry, nullptr, character, name, 0, head, &head,
                       slot))
      return VF_NOT_FOUND;
    fill_user_attrs(attrs, *reinterpret_cast<fmtuhandle *>(*slot));
    return VF_OK;
  }

  // Informat names carry the '@' prefix in the tables.
  char work[kMaxUserName + 2];
  const char *key = name;
  std::size_t keylen = len;
  if (kind == VF_KIND_INFORMAT) {
    if (len + 1 > sizeof work) return VF_NOT_FOUND;
    work[0] = '@';
    std::memcpy(work + 1, name, len);
    key = work;
    keylen = len + 1;
  }

  if (const fmtposs_row *row = find_poss_row(key, keylen)) {
    int32_t st = 1;
    const fmtinfo *mod = xfload(nullptr, row->modname,
                                static_cast<int32_t>(row->modnamelen), &st);
    const fmtinfo_eachfmt *d =
        st == 0 ? find_descriptor(mod, key, keylen) : nullptr;
    if (d == nullptr || !hand_out(row, *d, false, slot)) return VF_NOT_FOUND;
    fill_attrs(attrs, *d);
    return VF_OK;
  }

  if (const fmthandle *p = find_pseudo(key, keylen)) {
    hand_out(p, p->desc, true, slot);
    fill_attrs(attrs, p->desc);
    return VF_OK;
  }

  // User-defined formats: the catalogue key drops the '$' but the handle
  // keeps the name as requested.  Names must fit the 32-byte name field.
  if (ctx == nullptr || len > kMaxUserName) return VF_NOT_FOUND;
  fmtcontext copy = *ctx;
  void *head = nullptr;
  void **tail = &head;
  const int32_t rc =
      xfrdfmt(nullptr, key, static_cast<int32_t>(keylen), &copy, &tail);
  if (rc != 0 || copy.entry == nullptr) {
    free_list(head);
    return VF_NOT_FOUND;
  }
  if (!hand_out_user(copy.entry, copy.ranges, character, name, len, head, tail,
                     slot)) {
    free_list(head);
    return VF_NOT_FOUND;
  }
  fill_user_attrs(attrs, *reinterpret_cast<fmtuhandle *>(*slot));
  return VF_OK;
}

VF_API int32_t xfname(const char *name, int32_t namelen, int32_t kind,
                      fmtattr *attrs, fmthandle **slot) {
  if (slot == nullptr) return VF_NOT_FOUND;
  *slot = nullptr;
  return xfname3(name, namelen, kind, attrs, slot, nullptr);
}

VF_API int32_t xfname2(const char *name, int32_t namelen, int32_t kind,
                       fmtattr *attrs, fmthandle **slot,
                       const fmtcontext *ctx) {
  if (slot == nullptr) return VF_NOT_FOUND;
  *slot = nullptr;
  return xfname3(name, namelen, kind, attrs, slot, ctx);
}

VF_API int32_t xfdel(fmthandle *handle) {
  if (handle == nullptr || is_pseudo_record(handle)) return 0;
  const char kindbyte = handle->modname[0];
  if (kindbyte == '-' || kindbyte == '+') {
    auto *u = reinterpret_cast<fmtuhandle *>(handle);
    void *head = u->blockhead;
    free_list(head);
    return 0;
  }
  if (handle->self == nullptr) std::free(reinterpret_cast<char *>(handle) - 16);
  return 0;
}

} // extern "C"
