// Rows into catalogue content: the entry a row continues or starts, its
// range record and label, and at the end the entry handed out with its
// range table and search index.
#include <initializer_list>

#include "core/missing.h"
#include "userfmt/catalog.h"
#include "userfmt/range_search.h"
#include "userfmt/search_tree.h"
#include "userfmt/start_tree.h"

namespace valfmt {
namespace {

// n bytes (a multiple of 8) from a slab, zero-filled; null without memory.
void *carve(ParseState &s, Slab &slab, std::size_t n) {
  if (n > slab.left) {
    std::size_t size = slab.next;
    if (slab.next < 65536) slab.next *= 2;
    if (size < n) size = n;
    slab.at = static_cast<char *>(xfmalloc(s.tail, static_cast<int64_t>(size)));
    if (slab.at == nullptr) {
      slab.left = 0;
      return nullptr;
    }
    slab.left = size;
  }
  void *p = slab.at;
  slab.at += n;
  slab.left -= n;
  return p;
}

// Looks up the columns a row needs; `character` ones must hold text.
struct ColumnNeed {
  Column **slot;
  const char *name;
  bool character;
};
int resolve_columns(const Table *t, std::initializer_list<ColumnNeed> cols) {
  for (const ColumnNeed &c : cols) {
    *c.slot = find_column(t, c.name, static_cast<int>(std::strlen(c.name)));
    if (*c.slot == nullptr || (c.character && (*c.slot)->type != kColCharacter))
      return VF_CAT_NO_COLUMN;
  }
  return 0;
}

int resolve_needed(Table *t) {
  Needed &n = t->need;
  if (n.resolved) return 0;
  const int rc = resolve_columns(t, {{&n.fmtname, "FMTNAME", true},
                                     {&n.type, "TYPE", true},
                                     {&n.hlo, "HLO", true},
                                     {&n.start, "START", false},
                                     {&n.end, "END", false},
                                     {&n.label, "LABEL", true},
                                     {&n.min, "MIN", false},
                                     {&n.max, "MAX", false},
                                     {&n.def, "DEFAULT", false},
                                     {&n.fuzz, "FUZZ", false},
                                     {&n.sexcl, "SEXCL", true},
                                     {&n.eexcl, "EEXCL", true}});
  n.resolved = rc == 0;
  return rc;
}

int resolve_picture(Table *t) {
  Needed &n = t->need;
  if (n.picresolved) return 0;
  const int rc = resolve_columns(t, {{&n.prefix, "PREFIX", true},
                                     {&n.language, "LANGUAGE", true},
                                     {&n.datatype, "DATATYPE", true},
                                     {&n.fill, "FILL", true},
                                     {&n.decsep, "DECSEP", true},
                                     {&n.dig3sep, "DIG3SEP", true},
                                     {&n.mult, "MULT", false},
                                     {&n.noedit, "NOEDIT", false}});
  n.picresolved = rc == 0;
  return rc;
}

int16_t to_width(double v) {
  if (!(v == v)) return 0;
  if (v < 0) return 0;
  if (v > 32767) return 32767;
  return static_cast<int16_t>(v);
}

// The letters of HLO.
struct HloFlags {
  bool low, high, other, multi, round, linear, format;
};

HloFlags read_hlo(const Table *t, const Column *c) {
  HloFlags h{};
  const char *p = column_text(t, c);
  for (int i = 0; i < c->vlen; ++i) {
    const char ch = p[i];
    h.low |= ch == 'L';
    h.high |= ch == 'H';
    h.other |= ch == 'O';
    h.multi |= ch == 'M';
    h.round |= ch == 'R';
    h.linear |= ch == 'S';
    h.format |= ch == 'F';
  }
  return h;
}

// TYPE: N numeric, C character, P picture; 0 for anything else.
int16_t entry_type(const Table *t, const Column *c) {
  if (column_length(c) != 1) return 0;
  switch (column_text(t, c)[0]) {
  case 'N':
    return kEntryNumeric;
  case 'C':
    return kEntryCharacter;
  case 'P':
    return kEntryPicture;
  default:
    return 0;
  }
}

// LOW, HIGH and the excluded bounds of the current row.
uint8_t range_flags(const Table *t, const HloFlags &h) {
  const Needed &n = t->need;
  uint8_t flags = 0;
  if (h.low) flags |= kLow;
  if (h.high) flags |= kHigh;
  if (column_length(n.sexcl) > 0 && column_text(t, n.sexcl)[0] == 'Y')
    flags |= kStartExcluded;
  if (column_length(n.eexcl) > 0 && column_text(t, n.eexcl)[0] == 'Y')
    flags |= kEndExcluded;
  return flags;
}

void fill_numeric(const Table *t, const HloFlags &h, double fuzz, numrange *r) {
  const Needed &n = t->need;
  r->type = kRangeNumeric;
  r->flags = range_flags(t, h);
  const double start = column_number(t, n.start);
  const double end = column_number(t, n.end);
  const double f = (fuzz > 0) ? fuzz : 0.0; // NaN and missing give 0
  write_order_key(start, r->start);
  write_order_key(end, r->end);
  write_order_key(is_missing(start) ? start : start - f, r->startfz);
  write_order_key(is_missing(end) ? end : end + f, r->endfz);
  if (h.low) {
    store_key(r->start, kLowKey);
    store_key(r->startfz, kLowKey);
  }
  if (h.high) {
    store_key(r->end, kHighKey);
    store_key(r->endfz, kHighKey);
  }
}

void fill_character(const Table *t, const HloFlags &h, charrange *r) {
  const Needed &n = t->need;
  r->type = kRangeChar;
  r->flags = range_flags(t, h);
  auto *units = const_cast<uint16_t *>(range_start(r));
  const int s =
      widen_utf8(column_text(t, n.start), column_length(n.start), units);
  r->startlen = static_cast<uint16_t>(s);
  r->endlen = static_cast<uint16_t>(
      widen_utf8(column_text(t, n.end), column_length(n.end), units + s));
}

std::size_t range_size(const Table *t, int16_t type) {
  if (type != kEntryCharacter) return sizeof(numrange);
  const Needed &n = t->need;
  return round8(sizeof(charrange) +
                2 * static_cast<std::size_t>(column_length(n.start) +
                                             column_length(n.end)));
}

// Rows naming another format as their label are not read.
int build_row_label(const Table *t, const HloFlags &h, int16_t type,
                    fmtentry *e, void *at) {
  if (type != kEntryPicture && h.format) return VF_CAT_REFUSED;
  return build_label(t, type, e, at);
}

EntryNode *new_entry(ParseState &s, const Table *t, int16_t type,
                     const char *name, int namelen) {
  auto *node = allocate_record<EntryNode>(s);
  auto *e = allocate_record<fmtentry>(s);
  if (node == nullptr || e == nullptr) return nullptr;
  const Needed &n = t->need;
  e->version = 1;
  std::memset(e->shortname, ' ', sizeof e->shortname);
  std::memcpy(e->shortname, name,
              static_cast<std::size_t>(namelen < 8 ? namelen : 8));
  std::memset(e->fullname, ' ', sizeof e->fullname);
  std::memcpy(e->fullname, name, static_cast<std::size_t>(namelen));
  e->type = type;
  e->minw = to_width(column_number(t, n.min));
  e->maxw = to_width(column_number(t, n.max));
  e->defw = to_width(column_number(t, n.def));
  e->fuzz = column_number(t, n.fuzz);
  e->flags[2] = 4;
  e->consts[0] = 3;
  e->consts[1] = 1;
  e->origin = kOriginXml;
  node->table = const_cast<Table *>(t);
  node->entry = e;
  node->namelen = namelen;
  std::memcpy(node->name, name, static_cast<std::size_t>(namelen));
  node->next = s.entries;
  s.entries = node;
  return node;
}

// The entry the row continues (the one built last, same name and type),
// or a new one.
EntryNode *entry_for_row(ParseState &s, const Table *t, int16_t type) {
  const char *name = column_text(t, t->need.fmtname);
  const int namelen = column_length(t->need.fmtname);
  EntryNode *node = s.entries;
  if (node != nullptr && node->entry->type == type &&
      node->namelen == namelen &&
      std::memcmp(node->name, name, static_cast<std::size_t>(namelen)) == 0)
    return node;
  return new_entry(s, t, type, name, namelen);
}

// The range of a row with its label, appended to the entry's list.
int add_range(ParseState &s, const Table *t, const HloFlags &h, int16_t type,
              EntryNode *node) {
  fmtentry *e = node->entry;
  auto *rn = static_cast<RangeNode *>(carve(s, s.other, sizeof(RangeNode)));
  void *label = carve(s, s.other, label_size(t, type));
  void *range = carve(s, s.ranges, range_size(t, type));
  if (rn == nullptr || label == nullptr || range == nullptr)
    return VF_CAT_NO_MEMORY;
  const int rc = build_row_label(t, h, type, e, label);
  if (rc != 0) return rc;
  if (type == kEntryCharacter)
    fill_character(t, h, static_cast<charrange *>(range));
  else
    fill_numeric(t, h, e->fuzz, static_cast<numrange *>(range));
  ++e->nranges;
  // The label pointer sits at offset 8 of both range layouts.
  static_cast<numrange *>(range)->label = label;
  rn->range = range;
  if (node->last)
    node->last->next = rn;
  else
    node->first = rn;
  node->last = rn;
  return 0;
}

// The table of range pointers in file order (null for no ranges).
int build_range_table(ParseState &s, const EntryNode *node, void ***table) {
  const fmtentry *e = node->entry;
  *table = nullptr;
  if (e->nranges <= 0) return 0;
  auto **t = static_cast<void **>(
      xfmalloc(s.tail, e->nranges * static_cast<int64_t>(sizeof(void *))));
  if (t == nullptr) return VF_CAT_NO_MEMORY;
  int64_t i = 0;
  for (const RangeNode *r = node->first; r != nullptr && i < e->nranges;
       r = r->next)
    t[i++] = const_cast<void *>(r->range);
  *table = t;
  return 0;
}

// The dense index of the fuzzed bounds of a numeric entry's ranges, and
// the search tree over them.
int build_search_index(ParseState &s, fmtentry *e, void **table) {
  auto *index = static_cast<numindex *>(xfmalloc(
      s.tail, static_cast<int64_t>(sizeof(numindex)) + 16 * e->nranges));
  if (index == nullptr) return VF_CAT_NO_MEMORY;
  index->ranges = table;
  index->n = e->nranges;
  for (int64_t i = 0; i < e->nranges; ++i) {
    const auto *r = static_cast<const numrange *>(table[i]);
    index->keys[2 * i] = load_key(r->startfz);
    index->keys[2 * i + 1] = load_key(r->endfz);
  }
  index->tree = nullptr;
  index->slots = nullptr;
  index->starts = nullptr;
  e->index = index;
  if (ranges_form_chain(index)) {
    if (const int64_t bytes = start_tree_bytes(e->nranges); bytes > 0) {
      void *area = xfmalloc(s.tail, bytes);
      if (area == nullptr) return VF_CAT_NO_MEMORY;
      index->starts = build_start_tree(index, area);
      // Where two ranges meet, the binary search may settle on either;
      // the start tree serves only when it agrees at every such key.
      if (start_tree_agrees_at_touches(e, table, e->nranges)) return 0;
      index->starts = nullptr;
    }
  }
  if (const int64_t bytes = search_tree_bytes(e->nranges); bytes > 0) {
    void *area = xfmalloc(s.tail, bytes);
    if (area == nullptr) return VF_CAT_NO_MEMORY;
    build_search_tree(index, area);
  }
  return 0;
}

bool answers_request(const EntryNode *node, const fmtrequest *req) {
  const fmtentry *e = node->entry;
  if (node->namelen != req->namelen ||
      std::memcmp(node->name, req->name,
                  static_cast<std::size_t>(req->namelen)) != 0)
    return false;
  return req->kind == VF_REQ_NUMERIC
             ? (e->type == kEntryNumeric || e->type == kEntryPicture)
             : e->type == req->kind;
}

} // namespace

int finish_row(ParseState &s) {
  s.inrow = false;
  Table *t = s.table;
  int rc = resolve_needed(t);
  if (rc != 0) return rc;
  const Needed &n = t->need;
  const int16_t type = entry_type(t, n.type);
  if (type == 0) return VF_CAT_SKIPPED;
  const int namelen = column_length(n.fmtname);
  if (namelen != s.req->namelen ||
      std::memcmp(column_text(t, n.fmtname), s.req->name,
                  static_cast<std::size_t>(namelen)) != 0)
    return VF_CAT_SKIPPED;
  if (type == kEntryPicture && (rc = resolve_picture(t)) != 0) return rc;
  if (column_length(n.label) > kMaxText || column_length(n.start) > kMaxText ||
      column_length(n.end) > kMaxText)
    return VF_CAT_TOO_LONG;

  EntryNode *node = entry_for_row(s, t, type);
  if (node == nullptr) return VF_CAT_NO_MEMORY;
  fmtentry *e = node->entry;
  const HloFlags h = read_hlo(t, n.hlo);
  e->rflag = h.round ? 1 : 0;
  e->sflag = h.linear ? 1 : 0;
  if (h.multi) node->multilabel = true;
  if (!h.other) return add_range(s, t, h, type, node);
  void *label = xfmalloc(s.tail, static_cast<int64_t>(label_size(t, type)));
  if (label == nullptr) return VF_CAT_NO_MEMORY;
  rc = build_row_label(t, h, type, e, label);
  if (rc != 0) return rc;
  e->other = label;
  e->hasother = 1;
  return 0;
}

int hand_out_entry(ParseState &s, fmtcontext *ctx) {
  for (EntryNode *node = s.entries; node != nullptr; node = node->next) {
    if (!answers_request(node, s.req)) continue;
    fmtentry *e = node->entry;
    void **table = nullptr;
    int rc = build_range_table(s, node, &table);
    if (rc != 0) return rc;
    if (node->multilabel) {
      e->sflag = 1;
      e->work = 1;
    }
    if (e->type != kEntryCharacter && e->nranges > 0 &&
        (rc = build_search_index(s, e, table)) != 0)
      return rc;
    ctx->entry = e;
    ctx->ranges = table;
    return 0;
  }
  return VF_CAT_NOT_FOUND;
}

} // namespace valfmt
