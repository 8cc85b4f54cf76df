// Name resolution into handles.
//
// Resolution order: a catalogue entry the caller already holds, the built-in
// name table, the three pseudo-formats, then the format catalogue.  Every
// failure is "not found" (1) and leaves the caller's slot untouched.
#include <cctype>
#include <cstring>

#include "access/handle_memory.h"
#include "access/pseudo.h"
#include "access/result_kind.h"
#include "registry/vocab.h"
#include "userfmt/entry.h"

namespace valfmt {
namespace {

constexpr std::size_t kMaxUserName = 32;
constexpr int32_t kNextStep = -1; // this step does not know the name

constexpr char kCharacterFormat[] = "$CHAR";
constexpr char kInformatPrefix = '@';

// One request: the name as given (after the "$" / "$F" rewrite), and the
// key looked up in the tables (with the informat prefix).
struct Request {
  const char *name;
  std::size_t len;
  bool character;
  const char *key;
  std::size_t keylen;
  char work[kMaxUserName + 2];
};

void copy_builtin(fmthandle *h, const void *row, const fmtinfo_eachfmt &d) {
  std::memcpy(h, row, sizeof(fmthandle));
  std::memcpy(&h->desc, &d, sizeof d);
  remember_result_kind(h);
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

void fill_user_attrs(fmtattr *a, const fmthandle *h) {
  if (a == nullptr) return;
  const auto *u = reinterpret_cast<const fmtuhandle *>(h);
  *a = fmtattr{u->minw, u->maxw, u->defw, 0, 0, 0, 0, 0};
}

// Built-in handle, in caller storage or in a block of its own.  False
// (slot untouched) when the block cannot be allocated.
bool hand_out_builtin(const fmtposs_row *row, const fmtinfo_eachfmt &d,
                      fmthandle **slot) {
  if (*slot != nullptr) {
    copy_builtin(*slot, row, d);
    (*slot)->self = *slot;
    return true;
  }
  void *head = nullptr;
  void **tail = &head;
  auto *h = static_cast<fmthandle *>(xfmalloc(&tail, sizeof(fmthandle)));
  if (h == nullptr) return false;
  copy_builtin(h, row, d);
  h->self = nullptr;
  *slot = h;
  return true;
}

// A pseudo-format: copied into caller storage, or the constant record
// itself when the library is to provide the handle.
void hand_out_pseudo(const fmthandle *record, fmthandle **slot) {
  if (*slot == nullptr) {
    *slot = const_cast<fmthandle *>(record);
    return;
  }
  copy_builtin(*slot, record, record->desc);
  (*slot)->self = *slot;
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
    if (head == nullptr) head = block_of(h);
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

// "$" and "$F" (either case) name the $CHAR format.
void rewrite_character_name(Request *r) {
  if (r->len == 1 || (r->len == 2 && std::toupper(static_cast<unsigned char>(
                                         r->name[1])) == 'F')) {
    r->name = kCharacterFormat;
    r->len = sizeof kCharacterFormat - 1;
  }
}

// Informat names carry the '@' prefix in the tables.
bool prefix_informat(Request *r) {
  if (r->len + 1 > sizeof r->work) return false;
  r->work[0] = kInformatPrefix;
  std::memcpy(r->work + 1, r->name, r->len);
  r->key = r->work;
  r->keylen = r->len + 1;
  return true;
}

// A context whose entry is set and whose range table is not: the caller
// hands in the catalogue entry itself, and no lookup takes place.
bool holds_entry(const fmtcontext *ctx) {
  return ctx != nullptr && ctx->entry != nullptr && ctx->ranges == nullptr;
}

int32_t resolve_held_entry(const fmtcontext &ctx, const Request &r,
                           fmtattr *attrs, fmthandle **slot) {
  void *head = nullptr;
  if (!hand_out_user(ctx.entry, nullptr, r.character, r.name, 0, head, &head,
                     slot))
    return VF_NOT_FOUND;
  fill_user_attrs(attrs, *slot);
  return VF_OK;
}

int32_t resolve_builtin(const Request &r, fmtattr *attrs, fmthandle **slot) {
  const fmtposs_row *row = find_poss_row(r.key, r.keylen);
  if (row == nullptr) return kNextStep;
  int32_t st = VF_NOT_FOUND;
  const fmtinfo *module =
      xfload(nullptr, row->modname, static_cast<int32_t>(row->modnamelen), &st);
  const fmtinfo_eachfmt *d =
      st == VF_OK ? find_descriptor(module, r.key, r.keylen) : nullptr;
  if (d == nullptr || !hand_out_builtin(row, *d, slot)) return VF_NOT_FOUND;
  fill_attrs(attrs, *d);
  return VF_OK;
}

int32_t resolve_pseudo(const Request &r, fmtattr *attrs, fmthandle **slot) {
  const fmthandle *record = find_pseudo(r.key, r.keylen);
  if (record == nullptr) return kNextStep;
  hand_out_pseudo(record, slot);
  fill_attrs(attrs, record->desc);
  return VF_OK;
}

// User-defined formats: the catalogue key drops the '$' but the handle
// keeps the name as requested.  Names must fit the 32-byte name field.
int32_t resolve_from_catalogue(const fmtcontext *ctx, const Request &r,
                               fmtattr *attrs, fmthandle **slot) {
  if (ctx == nullptr || r.len > kMaxUserName) return VF_NOT_FOUND;
  fmtcontext copy = *ctx;
  void *head = nullptr;
  void **tail = &head;
  const int32_t rc =
      xfrdfmt(nullptr, r.key, static_cast<int32_t>(r.keylen), &copy, &tail);
  if (rc != 0 || copy.entry == nullptr ||
      !hand_out_user(copy.entry, copy.ranges, r.character, r.name, r.len, head,
                     tail, slot)) {
    free_block_list(head);
    return VF_NOT_FOUND;
  }
  fill_user_attrs(attrs, *slot);
  return VF_OK;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t xfname3(const char *name, int32_t namelen, int32_t kind,
                       fmtattr *attrs, fmthandle **slot,
                       const fmtcontext *ctx) {
  if (name == nullptr || slot == nullptr || namelen <= 0 ||
      namelen > static_cast<int32_t>(kMaxUserName) + 1)
    return VF_NOT_FOUND;
  Request r{};
  r.name = name;
  r.len = static_cast<std::size_t>(namelen);
  r.character = name[0] == '$';
  if (r.character) rewrite_character_name(&r);
  if (holds_entry(ctx)) return resolve_held_entry(*ctx, r, attrs, slot);
  r.key = r.name;
  r.keylen = r.len;
  if (kind == VF_KIND_INFORMAT && !prefix_informat(&r)) return VF_NOT_FOUND;

  int32_t st = resolve_builtin(r, attrs, slot);
  if (st == kNextStep) st = resolve_pseudo(r, attrs, slot);
  if (st == kNextStep) st = resolve_from_catalogue(ctx, r, attrs, slot);
  return st;
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

} // extern "C"
