// The format catalogue reader.
//
// A catalogue is the XML export of a format control table: a LIBRARY holding
// one TABLE whose header declares the columns (name, type, length and
// offset in a row record) and whose ROW elements hold one value range each.
// The reader parses it line by line (one element per line), keeps only the
// rows of the requested format and builds one catalogue entry with its
// ranges and labels, everything allocated in the caller's block list.
//
// The catalogue is untrusted input; besides the codes of valfmt.h the
// reader refuses, instead of storing or guessing:
//  - VF_CAT_TOO_LONG: table or column names over 32 bytes, table or column
//    labels over 207 bytes, attribute names over 40 bytes, LABEL/START/END
//    texts over 32767 bytes;
//  - VF_CAT_BAD_LAYOUT: a record length outside 1..1 MiB, a column without
//    a TYPE, a negative Offset or LENGTH, or a column whose Offset plus
//    LENGTH (8 bytes for a numeric column) lies beyond the record length;
//  - VF_CAT_BAD_LINE: a line (or in-memory unit) longer than 255 bytes, a
//    value in a row without an end tag on its file line, and a catalogue that
//    ends before the end tag of its LIBRARY (cut input), unless the
//    requested rows were complete and the reader stopped early.
// Further decisions:
//  - Every ROW start resets the row record and the column value lengths, so
//    a column absent from a row never carries the previous row's value.
//  - A row is turned into content only when its own FMTNAME is the
//    requested name.
//  - FUZZ values that are not positive numbers (negative, missing, NaN)
//    widen nothing.
//  - Multilabel rows (HLO 'M') become ordinary ranges in file order; an
//    entry with any such row is searched linearly (first match in file
//    order without collection) and allows collection of every matching
//    label (work byte 1) when the caller sets VF_OPT_MULTILABEL.
//  - An unknown TYPE or DATATYPE text is printed with its length as the
//    precision, never read beyond it.
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/missing.h"
#include "core/units.h"
#include "userfmt/userfmt.h"

namespace valfmt {
namespace {

// Tag classes.
enum Tag : int {
  kTagOther = 0,
  kTagXml = 1,
  kTagLibrary = 2,
  kTagHeader = 3,
  kTagTable = 4,
  kTagTableHeader = 5,
  kTagColumn = 6,
  kTagType = 7,
  kTagDatatype = 8,
  kTagLength = 9,
  kTagFormat = 10,
  kTagInformat = 11,
  kTagOffset = 12,
  kTagRow = 13,
  kTagBuffer = 14,
  kTagObservations = 28,
  kTagCompression = 29,
  kTagSortAssertion = 30,
  kTagVariables = 31,
};

constexpr const char *kTagNames[32] = {nullptr,
                                       "?xml",
                                       "LIBRARY",
                                       "HEADER",
                                       "TABLE",
                                       "TABLE-HEADER",
                                       "COLUMN",
                                       "TYPE",
                                       "DATATYPE",
                                       "LENGTH",
                                       "FORMAT",
                                       "INFORMAT",
                                       "Offset",
                                       "ROW",
                                       "BUFFER",
                                       "Provider",
                                       "Version",
                                       "VersionLong",
                                       "CreationDateTime",
                                       "ModifiedDateTime",
                                       "AccessedDateTime",
                                       "Protection",
                                       "DataSetType",
                                       "DataRepresentation",
                                       "Encoding",
                                       "ReleaseCreated",
                                       "HostCreated",
                                       "FileName",
                                       "Observations",
                                       "Compression",
                                       "SortAssertion",
                                       "Variables"};

// Column types and data types.
constexpr int kColNumeric = 1;
constexpr int kColCharacter = 2;
constexpr int kDtDate = 15, kDtTime = 16, kDtDatetime = 18;

constexpr int kMaxAttrs = 64;
constexpr int kMaxText = 32767;

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool same(const char *a, int la, const char *b) {
  const auto lb = static_cast<int>(std::strlen(b));
  return la == lb && std::memcmp(a, b, static_cast<std::size_t>(la)) == 0;
}

struct Attr {
  const char *name;
  int namelen;
  const char *value;
  int valuelen;
};

// One element of one line.
struct Element {
  int tag = kTagOther;
  const char *name = nullptr;
  int namelen = 0; // full length; over kMaxTag never matches a column
  bool closing = false;
  bool hastext = false;
  bool textclosed = false; // the text ends at a '<' on the same line
  const char *text = nullptr;
  int textlen = 0;
  Attr attrs[kMaxAttrs];
  int nattrs = 0;
};

struct Column {
  Column *next;
  char name[kMaxName + 1];
  int namelen;
  char label[kMaxLabel + 1];
  int labellen;
  int type;     // kColNumeric, kColCharacter, 0 unknown
  int datatype; // 1, 2, 15, 16, 18
  int64_t length;
  int64_t offset;
  int32_t vlen; // characters of the value stored last
  double last;  // numeric value stored last
};

// Columns a row needs, looked up once per table.
struct Needed {
  bool resolved;
  Column *fmtname, *type, *hlo, *start, *end, *label, *min, *max, *def, *fuzz,
      *sexcl, *eexcl;
  bool picresolved;
  Column *prefix, *language, *datatype, *fill, *decsep, *dig3sep, *mult,
      *noedit;
};

struct Table {
  char name[kMaxName + 1];
  int namelen;
  char label[kMaxLabel + 1];
  int labellen;
  int ncolumns;
  int64_t declared; // Variables number, -1 when absent
  bool sorted;
  int64_t reclen;
  Column *first, *last;
  uint8_t *row;
  bool checked;
  Needed need;
};

struct RangeNode {
  RangeNode *next;
  const void *range;
};

struct EntryNode {
  EntryNode *next;
  Table *table;
  fmtentry *entry;
  RangeNode *first, *last;
  bool multilabel;
  int namelen;
  char name[kMaxName];
};

// Records carved from chunks of the block list: the range records of a
// format lie side by side (dense for the evaluators' searches), and a small
// format takes small chunks (sizes double from 1 KiB to 64 KiB).
struct Slab {
  char *at = nullptr;
  std::size_t left = 0;
  std::size_t next = 1024;
};

struct ParseState {
  const fmtrequest *req;
  void ***tail;
  Slab ranges; // range records
  Slab other;  // list nodes and labels
  void *cookie;
  bool inlibrary, tableopen, intableheader, incolumn, inrow;
  bool libraryclosed;
  bool sawelement;
  bool memory;   // units cut at '>' from an in-memory text
  bool lastunit; // the unit runs to the end of the in-memory text
  bool nameflag, typeflag;
  Table *table;
  Column *column;
  EntryNode *entries;
};

// n bytes (a multiple of 8) from a slab, zero-filled.
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

template <class T> T *alloc(ParseState &s, std::size_t extra = 0) {
  return static_cast<T *>(
      xfmalloc(s.tail, static_cast<int64_t>(sizeof(T) + extra)));
}

int classify(const char *name, int len) {
  if (len > kMaxTag) return kTagOther;
  for (int i = 1; i < 32; ++i)
    if (same(name, len, kTagNames[i])) return i;
  return kTagOther;
}

// A decimal integer the way atol reads one, saturated far beyond any
// usable value.
int64_t to_int(const char *t, int len) {
  int i = 0;
  while (i < len && is_space(t[i])) ++i;
  bool neg = false;
  if (i < len && (t[i] == '-' || t[i] == '+')) neg = t[i++] == '-';
  int64_t v = 0;
  for (; i < len && t[i] >= '0' && t[i] <= '9'; ++i) {
    v = v * 10 + (t[i] - '0');
    if (v > (int64_t{1} << 40)) v = int64_t{1} << 40;
  }
  return neg ? -v : v;
}

// The element on one line.  Returns false when the line holds none.
// Attribute names over 40 bytes set *rc.
bool tokenize(const char *p, int len, bool inrow, Element &el, int *rc) {
  const char *e = p + len;
  while (p < e && is_space(*p)) ++p;
  while (e > p && is_space(e[-1])) --e;
  const char *lt = static_cast<const char *>(
      std::memchr(p, '<', static_cast<std::size_t>(e - p)));
  if (lt == nullptr) return false;
  const char *q = lt + 1;
  el.closing = q < e && *q == '/';
  if (el.closing) ++q;
  const char *name = q;
  while (q < e && !is_space(*q) && *q != '>') ++q;
  const int namelen = static_cast<int>(q - name);
  // "<NAME/>" has no usable name.
  if (namelen == 0 || name[namelen - 1] == '/') return false;
  el.name = name;
  el.namelen = namelen;
  el.tag = classify(name, namelen);
  const bool ended_blank = q < e && is_space(*q);
  const char *r = q;
  while (r < e && is_space(*r)) ++r;
  if (r < e && *r == '/') return true; // empty element
  if (ended_blank || inrow) {
    while (true) {
      while (r < e && is_space(*r)) ++r;
      if (r >= e || *r == '>' || *r == '/') break;
      const char *an = r;
      while (r < e && *r != '=' && !is_space(*r) && *r != '>' && *r != '/') ++r;
      const int anlen = static_cast<int>(r - an);
      if (anlen > kMaxAttrName) {
        *rc = VF_CAT_TOO_LONG;
        return true;
      }
      while (r < e && is_space(*r)) ++r;
      if (anlen == 0 || r >= e || *r != '=') {
        r = e; // no usable attribute: the list ends
        break;
      }
      ++r;
      while (r < e && is_space(*r)) ++r;
      if (r >= e || (*r != '"' && *r != '\'')) {
        r = e;
        break;
      }
      const char quote = *r++;
      const char *val = r;
      while (r < e && *r != quote) ++r;
      if (r >= e) break; // a missing quote ends the attribute list
      if (el.nattrs < kMaxAttrs)
        el.attrs[el.nattrs++] = {an, anlen, val, static_cast<int>(r - val)};
      ++r;
    }
    if (r < e && *r == '/') return true;
  }
  if (r < e && *r == '>') {
    const char *t = r + 1;
    const char *end = t;
    while (end < e && *end != '<') ++end;
    el.hastext = true;
    el.textclosed = end < e;
    el.text = t;
    el.textlen = static_cast<int>(end - t);
  }
  return true;
}

// Newest attribute of that name, or null.
const Attr *findAttribute(const Element &el, const char *name) {
  for (int i = el.nattrs - 1; i >= 0; --i)
    if (same(el.attrs[i].name, el.attrs[i].namelen, name)) return &el.attrs[i];
  return nullptr;
}

Column *findColumn(const Table *t, const char *name, int len) {
  if (t == nullptr || len > kMaxName) return nullptr;
  for (Column *c = t->first; c != nullptr; c = c->next)
    if (c->namelen == len &&
        std::memcmp(c->name, name, static_cast<std::size_t>(len)) == 0)
      return c;
  return nullptr;
}

// Prints a TYPE or DATATYPE text that is none of the known ones.
void print_unknown(const char *text, int len) {
  std::printf("%.*s\n", len, text);
}

// A column description changed: the record layout and the columns a row
// needs are checked again at the next ROW.
void column_changed(ParseState &s) {
  s.table->checked = false;
  s.table->need = Needed{};
}

int column_type(ParseState &s, const Element &el) {
  if (!s.incolumn) return VF_CAT_OUT_OF_PLACE;
  if (!el.hastext || el.textlen == 0) return VF_CAT_EMPTY_TEXT;
  column_changed(s);
  if (same(el.text, el.textlen, "numeric")) {
    s.column->type = kColNumeric;
  } else if (same(el.text, el.textlen, "character")) {
    s.column->type = kColCharacter;
  } else {
    if (el.textlen != 7 && el.textlen != 9) print_unknown(el.text, el.textlen);
    return VF_CAT_BAD_VALUE;
  }
  return 0;
}

int column_datatype(ParseState &s, const Element &el) {
  if (!s.incolumn) return VF_CAT_OUT_OF_PLACE;
  if (!el.hastext || el.textlen == 0) return VF_CAT_EMPTY_TEXT;
  static constexpr struct {
    const char *text;
    int code;
  } kTypes[] = {{"float", 1},      {"integer", 1},
                {"string", 2},     {"date", kDtDate},
                {"time", kDtTime}, {"datetime", kDtDatetime}};
  for (const auto &t : kTypes) {
    if (same(el.text, el.textlen, t.text)) {
      s.column->datatype = t.code;
      return 0;
    }
  }
  const int n = el.textlen;
  if (n != 4 && n != 5 && n != 6 && n != 7 && n != 8)
    print_unknown(el.text, el.textlen);
  return VF_CAT_BAD_VALUE;
}

int copy_limited(char *dst, int cap, const Attr *a) {
  if (a->valuelen > cap) return VF_CAT_TOO_LONG;
  std::memcpy(dst, a->value, static_cast<std::size_t>(a->valuelen));
  dst[a->valuelen] = '\0';
  return a->valuelen;
}

// Checks the declared layout once per table, then gets the row record.
int start_row(ParseState &s) {
  Table *t = s.table;
  if (t == nullptr) return VF_CAT_NO_TABLE;
  if (!t->checked) {
    if (t->ncolumns != t->declared) return VF_CAT_COLUMN_COUNT;
    if (t->reclen < 1 || t->reclen > kMaxRecord) return VF_CAT_BAD_LAYOUT;
    for (const Column *c = t->first; c != nullptr; c = c->next) {
      if (c->type != kColNumeric && c->type != kColCharacter)
        return VF_CAT_BAD_LAYOUT;
      const int64_t size = c->type == kColNumeric ? 8 : c->length;
      if (c->offset < 0 || size < 0 || c->offset + size > t->reclen)
        return VF_CAT_BAD_LAYOUT;
    }
    t->row = static_cast<uint8_t *>(xfmalloc(s.tail, t->reclen));
    if (t->row == nullptr) return VF_CAT_NO_MEMORY;
    t->checked = true;
  }
  std::memset(t->row, 0, static_cast<std::size_t>(t->reclen));
  for (Column *c = t->first; c != nullptr; c = c->next) {
    c->vlen = 0;
    c->last = 0;
  }
  s.inrow = true;
  return 0;
}

// The header state machine.
int metadata(ParseState &s, const Element &el) {
  switch (el.tag) {
  case kTagLibrary: {
    if (el.closing) {
      if (!s.inlibrary) return VF_CAT_OUT_OF_PLACE;
      s.inlibrary = false;
      s.libraryclosed = true;
      return 0;
    }
    if (s.inlibrary) return VF_CAT_OUT_OF_PLACE;
    const Attr *type = findAttribute(el, "type");
    if (type == nullptr) return VF_CAT_NO_ATTRIBUTE;
    if (!same(type->value, type->valuelen, "EXPORT")) return VF_CAT_NOT_EXPORT;
    s.inlibrary = true;
    return 0;
  }
  case kTagTable: {
    if (el.closing) {
      if (s.table == nullptr || !s.tableopen) return VF_CAT_NO_TABLE;
      s.tableopen = s.intableheader = s.incolumn = false;
      s.table = nullptr;
      s.column = nullptr;
      return 0;
    }
    if (!s.inlibrary || s.tableopen) return VF_CAT_OUT_OF_PLACE;
    const Attr *name = findAttribute(el, "name");
    if (name == nullptr) return VF_CAT_NO_ATTRIBUTE;
    auto *t = alloc<Table>(s);
    if (t == nullptr) return VF_CAT_NO_MEMORY;
    int n = copy_limited(t->name, kMaxName, name);
    if (n < 0) return n;
    t->namelen = n;
    if (const Attr *label = findAttribute(el, "label")) {
      n = copy_limited(t->label, kMaxLabel, label);
      if (n < 0) return n;
      t->labellen = n;
    }
    t->declared = -1;
    s.table = t;
    s.tableopen = true;
    return 0;
  }
  case kTagTableHeader:
    if (el.closing) {
      if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
      s.intableheader = false;
      return 0;
    }
    if (!s.tableopen || s.intableheader) return VF_CAT_OUT_OF_PLACE;
    s.intableheader = true;
    return 0;
  case kTagColumn: {
    if (el.closing) {
      if (!s.incolumn) return VF_CAT_OUT_OF_PLACE;
      s.incolumn = false;
      return 0;
    }
    if (!s.tableopen || s.incolumn) return VF_CAT_OUT_OF_PLACE;
    const Attr *order = findAttribute(el, "order");
    const Attr *name = findAttribute(el, "name");
    if (order == nullptr || name == nullptr) return VF_CAT_NO_ATTRIBUTE;
    auto *c = alloc<Column>(s);
    if (c == nullptr) return VF_CAT_NO_MEMORY;
    int n = copy_limited(c->name, kMaxName, name);
    if (n < 0) return n;
    c->namelen = n;
    if (const Attr *label = findAttribute(el, "label")) {
      n = copy_limited(c->label, kMaxLabel, label);
      if (n < 0) return n;
      c->labellen = n;
    }
    Table *t = s.table;
    if (t->last)
      t->last->next = c;
    else
      t->first = c;
    t->last = c;
    ++t->ncolumns;
    t->checked = false;
    t->need = Needed{};
    s.column = c;
    s.incolumn = true;
    return 0;
  }
  case kTagType:
    return el.closing ? 0 : column_type(s, el);
  case kTagDatatype:
    return el.closing ? 0 : column_datatype(s, el);
  case kTagLength:
  case kTagOffset:
    if (el.closing) return 0;
    if (!s.incolumn) return VF_CAT_OUT_OF_PLACE;
    if (!el.hastext || el.textlen == 0) return VF_CAT_EMPTY_TEXT;
    (el.tag == kTagLength ? s.column->length : s.column->offset) =
        to_int(el.text, el.textlen);
    column_changed(s);
    return 0;
  case kTagObservations: {
    if (el.closing) return 0;
    if (!s.tableopen) return VF_CAT_OUT_OF_PLACE;
    const Attr *len = findAttribute(el, "length");
    if (len == nullptr) return VF_CAT_NO_ATTRIBUTE;
    s.table->reclen = to_int(len->value, len->valuelen);
    s.table->checked = false;
    return 0;
  }
  case kTagCompression: {
    if (el.closing) return 0;
    if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
    const Attr *c = findAttribute(el, "compressed");
    if (c != nullptr && !same(c->value, c->valuelen, "No"))
      return VF_CAT_COMPRESSED;
    return 0;
  }
  case kTagSortAssertion: {
    if (el.closing) return 0;
    if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
    const Attr *c = findAttribute(el, "sorted");
    if (c == nullptr) return VF_CAT_NO_ATTRIBUTE;
    if (!same(c->value, c->valuelen, "No")) return VF_CAT_SORTED;
    s.table->sorted = true;
    return 0;
  }
  case kTagVariables: {
    if (el.closing) return 0;
    if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
    const Attr *n = findAttribute(el, "number");
    if (n == nullptr) return VF_CAT_NO_ATTRIBUTE;
    s.table->declared = to_int(n->value, n->valuelen);
    s.table->checked = false;
    return 0;
  }
  case kTagRow:
    if (el.closing) return VF_CAT_OUT_OF_PLACE; // not inside a row
    return start_row(s);
  default:
    return 0;
  }
}

// XML character references: the five named ones and "&#xHH;".  Returns the
// bytes written, or -1 when they exceed cap.
int decode_refs(const char *src, int n, char *dst, int64_t cap) {
  static constexpr struct {
    const char *ref;
    int len;
    char ch;
  } kRefs[] = {{"&amp;", 5, '&'},
               {"&lt;", 4, '<'},
               {"&gt;", 4, '>'},
               {"&apos;", 6, '\''},
               {"&quot;", 6, '"'}};
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  int64_t out = 0;
  for (int i = 0; i < n;) {
    char ch = src[i];
    int used = 1;
    if (ch == '&') {
      for (const auto &r : kRefs) {
        if (n - i >= r.len &&
            std::memcmp(src + i, r.ref, static_cast<std::size_t>(r.len)) == 0) {
          ch = r.ch;
          used = r.len;
          break;
        }
      }
      if (used == 1 && n - i >= 6 && src[i + 1] == '#' && src[i + 2] == 'x' &&
          hex(src[i + 3]) >= 0 && hex(src[i + 4]) >= 0 && src[i + 5] == ';') {
        ch = static_cast<char>(hex(src[i + 3]) * 16 + hex(src[i + 4]));
        used = 6;
      }
    }
    if (out >= cap) return -1;
    dst[out++] = ch;
    i += used;
  }
  return static_cast<int>(out);
}

// Stores one column element of a kept row.
int store_column(ParseState &s, const Element &el) {
  Table *t = s.table;
  Column *c = findColumn(t, el.name, el.namelen);
  if (c == nullptr) return VF_CAT_NO_COLUMN;
  const char *text = el.hastext ? el.text : "";
  const int len = el.hastext ? el.textlen : 0;
  uint8_t *at = t->row + c->offset;
  if (c->type == kColNumeric) {
    if (c->datatype == kDtDate || c->datatype == kDtTime ||
        c->datatype == kDtDatetime)
      return VF_CAT_REFUSED;
    const double v = ATOF(text, len);
    std::memcpy(at, &v, sizeof v);
    c->last = v;
    c->vlen = 8;
    return 0;
  }
  std::memset(at, ' ', static_cast<std::size_t>(c->length));
  const int n = decode_refs(text, len, reinterpret_cast<char *>(at), c->length);
  if (n < 0) return VF_CAT_VALUE_LONG;
  c->vlen = n;
  return 0;
}

// --- turning a row into catalogue content ---------------------------------

const char *col_text(const Table *t, const Column *c) {
  return reinterpret_cast<const char *>(t->row + c->offset);
}
int col_len(const Column *c) {
  return c->type == kColCharacter ? c->vlen : 0;
}

// A numeric value of a row: numeric columns directly, character columns
// through ATOF.
double col_number(const Table *t, const Column *c) {
  if (c->type == kColNumeric) {
    double v;
    std::memcpy(&v, t->row + c->offset, sizeof v);
    return v;
  }
  return ATOF(col_text(t, c), c->vlen);
}

// Looks up the columns a row needs; `character` ones must hold text.
struct ColumnNeed {
  Column **slot;
  const char *name;
  bool character;
};
int resolve_columns(const Table *t, std::initializer_list<ColumnNeed> cols) {
  for (const ColumnNeed &c : cols) {
    *c.slot = findColumn(t, c.name, static_cast<int>(std::strlen(c.name)));
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

int16_t to_i16(double v) {
  if (!(v == v)) return 0;
  if (v < 0) return 0;
  if (v > 32767) return 32767;
  return static_cast<int16_t>(v);
}

struct HloFlags {
  bool low, high, other, multi, r, s, f;
};

HloFlags read_hlo(const Table *t, const Column *c) {
  HloFlags h{};
  const char *p = col_text(t, c);
  for (int i = 0; i < c->vlen; ++i) {
    switch (p[i]) {
    case 'L':
      h.low = true;
      break;
    case 'H':
      h.high = true;
      break;
    case 'O':
      h.other = true;
      break;
    case 'M':
      h.multi = true;
      break;
    case 'R':
      h.r = true;
      break;
    case 'S':
      h.s = true;
      break;
    case 'F':
      h.f = true;
      break;
    default:
      break;
    }
  }
  return h;
}

// Units of a UTF-8 text; dst holds at least len units.
int widen(const char *src, int len, uint16_t *dst) {
  int32_t units = 0;
  UTF8ToUNICODE(reinterpret_cast<const uint8_t *>(src), len, dst, 2 * len,
                &units, nullptr);
  return units;
}

// One character of a UTF-8 text kept as its low byte; `blank` when empty.
uint8_t low_byte_char(const char *src, int len) {
  if (len <= 0) return ' ';
  uint16_t u[4];
  const int n = widen(src, len < 4 ? len : 4, u);
  return n > 0 ? static_cast<uint8_t>(u[0]) : static_cast<uint8_t>(' ');
}

// Each character of a UTF-8 text kept as its low byte; returns the count.
int low_bytes(const char *src, int len, char *dst) {
  int i = 0, n = 0;
  while (i < len) {
    uint16_t u;
    int32_t units = 0;
    const int c = bytesFromUTF8[static_cast<uint8_t>(src[i])];
    if (c + 1 > len - i) break;
    UTF8ToUNICODE(reinterpret_cast<const uint8_t *>(src + i), c + 1, &u, 2,
                  &units, nullptr);
    if (units != 1) break;
    dst[n++] = static_cast<char>(u & 0xFF);
    i += c + 1;
  }
  return n;
}

std::size_t round8(std::size_t n) {
  return (n + 7) & ~std::size_t{7};
}

// Size of the plain label of the current row.
std::size_t plain_size(const Table *t) {
  return round8(sizeof(plainlabel) +
                2 * static_cast<std::size_t>(col_len(t->need.label)));
}

void build_plain(const Table *t, void *at) {
  auto *l = static_cast<plainlabel *>(at);
  l->type = kLabelPlain;
  auto *units = const_cast<uint16_t *>(label_text(l));
  l->len = static_cast<uint16_t>(
      widen(col_text(t, t->need.label), col_len(t->need.label), units));
}

// Size of the picture label of the current row (columns resolved).
std::size_t picture_size(const Table *t) {
  const Needed &n = t->need;
  return round8(kPictureText + static_cast<std::size_t>(col_len(n.label)) +
                static_cast<std::size_t>(col_len(n.prefix)) +
                static_cast<std::size_t>(col_len(n.language)) + 1);
}

int build_picture(const Table *t, void *at) {
  const Needed &n = t->need;
  auto *l = static_cast<picturelabel *>(at);
  l->type = kLabelPicture;
  const int dtlen = col_len(n.datatype);
  const char *dt = col_text(t, n.datatype);
  if (dtlen == 0)
    l->datatype = 0;
  else if (same(dt, dtlen, "DATE"))
    l->datatype = 1;
  else if (same(dt, dtlen, "TIME"))
    l->datatype = 2;
  else if (same(dt, dtlen, "DATETIME"))
    l->datatype = 3;
  else
    return VF_CAT_BAD_VALUE;
  l->fill = low_byte_char(col_text(t, n.fill), col_len(n.fill));
  l->decsep = low_byte_char(col_text(t, n.decsep), col_len(n.decsep));
  l->dig3sep = low_byte_char(col_text(t, n.dig3sep), col_len(n.dig3sep));
  char *text = reinterpret_cast<char *>(l) + kPictureText;
  const int piclen = col_len(n.label);
  std::memcpy(text, col_text(t, n.label), static_cast<std::size_t>(piclen));
  int digits = 0;
  for (int i = 0; i < piclen; ++i)
    if (text[i] >= '0' && text[i] <= '9') ++digits;
  const int prefixlen =
      low_bytes(col_text(t, n.prefix), col_len(n.prefix), text + piclen);
  const int langlen = low_bytes(col_text(t, n.language), col_len(n.language),
                                text + piclen + prefixlen);
  text[piclen + prefixlen + langlen] = static_cast<char>(l->fill);
  l->piclen = static_cast<int16_t>(piclen);
  l->ndigits = static_cast<int16_t>(digits);
  l->prefixoff = static_cast<int16_t>(piclen);
  l->prefixlen = static_cast<int16_t>(prefixlen);
  l->langoff = static_cast<int16_t>(piclen + prefixlen);
  l->langlen = static_cast<int16_t>(langlen);
  l->textlen = static_cast<int16_t>(piclen + prefixlen + 1 + langlen);
  const double mult = col_number(t, n.mult);
  uint8_t b[8];
  std::memcpy(b, &mult, 8);
  for (int i = 0; i < 8; ++i) l->multrev[i] = b[7 - i];
  const double noedit = col_number(t, n.noedit);
  l->noedit =
      (noedit >= 1 && noedit < 256) ? static_cast<uint8_t>(noedit) : uint8_t{0};
  return 0;
}

// The label of the current row: size, then build it at `at`.
std::size_t label_size(const Table *t, int16_t type) {
  return type == kEntryPicture ? picture_size(t) : plain_size(t);
}
int build_label(const Table *t, int16_t type, fmtentry *e, void *at) {
  const int len = col_len(t->need.label);
  if (type == kEntryPicture) {
    const int rc = build_picture(t, at);
    if (rc != 0) return rc;
  } else {
    build_plain(t, at);
  }
  ++e->nlabels;
  if (len > e->longest) e->longest = static_cast<int16_t>(len);
  return 0;
}

// LOW, HIGH and the excluded bounds of the current row.
uint8_t range_flags(const Table *t, const HloFlags &h) {
  const Needed &n = t->need;
  uint8_t flags = 0;
  if (h.low) flags |= kLow;
  if (h.high) flags |= kHigh;
  if (col_len(n.sexcl) > 0 && col_text(t, n.sexcl)[0] == 'Y')
    flags |= kStartExcluded;
  if (col_len(n.eexcl) > 0 && col_text(t, n.eexcl)[0] == 'Y')
    flags |= kEndExcluded;
  return flags;
}

void fill_numeric(const Table *t, const HloFlags &h, double fuzz, numrange *r) {
  const Needed &n = t->need;
  r->type = kRangeNumeric;
  r->flags = range_flags(t, h);
  const double start = col_number(t, n.start);
  const double end = col_number(t, n.end);
  const double f = (fuzz > 0) ? fuzz : 0.0; // NaN and missing give 0
  wzcsdbl(start, r->start);
  wzcsdbl(end, r->end);
  wzcsdbl(is_missing(start) ? start : start - f, r->startfz);
  wzcsdbl(is_missing(end) ? end : end + f, r->endfz);
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
  const int s = widen(col_text(t, n.start), col_len(n.start), units);
  r->startlen = static_cast<uint16_t>(s);
  r->endlen = static_cast<uint16_t>(
      widen(col_text(t, n.end), col_len(n.end), units + s));
}

int numericRange(const Table *t, const HloFlags &h, fmtentry *e, void *at) {
  fill_numeric(t, h, e->fuzz, static_cast<numrange *>(at));
  ++e->nranges;
  return 0;
}

int characterRange(const Table *t, const HloFlags &h, fmtentry *e, void *at) {
  fill_character(t, h, static_cast<charrange *>(at));
  ++e->nranges;
  return 0;
}

int ncfLabel(const Table *t, const HloFlags &h, int16_t type, fmtentry *e,
             void *at) {
  if (h.f) return VF_CAT_REFUSED;
  return build_label(t, type, e, at);
}

int picLabel(const Table *t, fmtentry *e, void *at) {
  return build_label(t, kEntryPicture, e, at);
}

EntryNode *new_entry(ParseState &s, const Table *t, int16_t type,
                     const char *name, int namelen) {
  auto *node = alloc<EntryNode>(s);
  auto *e = alloc<fmtentry>(s);
  if (node == nullptr || e == nullptr) return nullptr;
  const Needed &n = t->need;
  e->version = 1;
  std::memset(e->shortname, ' ', sizeof e->shortname);
  std::memcpy(e->shortname, name,
              static_cast<std::size_t>(namelen < 8 ? namelen : 8));
  std::memset(e->fullname, ' ', sizeof e->fullname);
  std::memcpy(e->fullname, name, static_cast<std::size_t>(namelen));
  e->type = type;
  e->minw = to_i16(col_number(t, n.min));
  e->maxw = to_i16(col_number(t, n.max));
  e->defw = to_i16(col_number(t, n.def));
  e->fuzz = col_number(t, n.fuzz);
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

// The ROW end of a kept row.
int dataTerm(ParseState &s) {
  s.inrow = false;
  Table *t = s.table;
  int rc = resolve_needed(t);
  if (rc != 0) return rc;
  const Needed &n = t->need;
  const char *typetext = col_text(t, n.type);
  int16_t type;
  if (col_len(n.type) != 1) return VF_CAT_SKIPPED;
  switch (typetext[0]) {
  case 'N':
    type = kEntryNumeric;
    break;
  case 'C':
    type = kEntryCharacter;
    break;
  case 'P':
    type = kEntryPicture;
    break;
  default:
    return VF_CAT_SKIPPED;
  }
  const char *name = col_text(t, n.fmtname);
  const int namelen = col_len(n.fmtname);
  if (namelen != s.req->namelen ||
      std::memcmp(name, s.req->name, static_cast<std::size_t>(namelen)) != 0)
    return VF_CAT_SKIPPED;
  if (type == kEntryPicture) {
    rc = resolve_picture(t);
    if (rc != 0) return rc;
  }
  if (col_len(n.label) > kMaxText || col_len(n.start) > kMaxText ||
      col_len(n.end) > kMaxText)
    return VF_CAT_TOO_LONG;

  EntryNode *node = s.entries;
  if (node == nullptr || node->entry->type != type ||
      node->namelen != namelen ||
      std::memcmp(node->name, name, static_cast<std::size_t>(namelen)) != 0) {
    node = new_entry(s, t, type, name, namelen);
    if (node == nullptr) return VF_CAT_NO_MEMORY;
  }
  fmtentry *e = node->entry;
  const HloFlags h = read_hlo(t, n.hlo);
  e->rflag = h.r ? 1 : 0;
  e->sflag = h.s ? 1 : 0;
  if (h.multi) node->multilabel = true;

  const std::size_t lsize = label_size(t, type);
  if (h.other) {
    void *label = xfmalloc(s.tail, static_cast<int64_t>(lsize));
    if (label == nullptr) return VF_CAT_NO_MEMORY;
    rc = type == kEntryPicture ? picLabel(t, e, label)
                               : ncfLabel(t, h, type, e, label);
    if (rc != 0) return rc;
    e->other = label;
    e->hasother = 1;
    return 0;
  }
  const std::size_t rsize =
      type == kEntryCharacter
          ? round8(
                sizeof(charrange) +
                2 * static_cast<std::size_t>(col_len(n.start) + col_len(n.end)))
          : sizeof(numrange);
  auto *rn = static_cast<RangeNode *>(carve(s, s.other, sizeof(RangeNode)));
  void *label = carve(s, s.other, lsize);
  void *range = carve(s, s.ranges, rsize);
  if (rn == nullptr || label == nullptr || range == nullptr)
    return VF_CAT_NO_MEMORY;
  rc = type == kEntryPicture ? picLabel(t, e, label)
                             : ncfLabel(t, h, type, e, label);
  if (rc != 0) return rc;
  rc = type == kEntryCharacter ? characterRange(t, h, e, range)
                               : numericRange(t, h, e, range);
  if (rc != 0) return rc;
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

bool request_agrees(int16_t kind, char type) {
  switch (type) {
  case 'N':
    return kind == VF_REQ_NUMERIC;
  case 'C':
    return kind == VF_REQ_CHARACTER;
  case 'P':
    return kind == VF_REQ_NUMERIC || kind == kEntryPicture;
  default:
    return false;
  }
}

// Elements inside a data row.
int data(ParseState &s, const Element &el) {
  if (el.tag == kTagRow) return el.closing ? dataTerm(s) : VF_CAT_OUT_OF_PLACE;
  if (el.closing) {
    // End tags of column elements standing alone are ignored; the table
    // and the library cannot end inside a row.
    return (el.tag == kTagTable || el.tag == kTagLibrary) ? VF_CAT_OUT_OF_PLACE
                                                          : 0;
  }
  // A value without its end tag was cut: on a file line, or in the last
  // unit of an in-memory text.  Other units end at a '>' followed by '<',
  // so "<X>a></X>" and "<X></X>" come as two units and the text stands
  // alone.
  if (el.hastext && el.textlen > 0 && !el.textclosed &&
      (!s.memory || s.lastunit))
    return VF_CAT_BAD_LINE;
  if (same(el.name, el.namelen, "FMTNAME")) {
    const bool match = el.hastext && el.textlen == s.req->namelen &&
                       std::memcmp(el.text, s.req->name,
                                   static_cast<std::size_t>(el.textlen)) == 0;
    if (!match) {
      if (s.nameflag && s.typeflag && s.entries != nullptr && el.textlen > 0)
        return VF_CAT_STOP;
      s.nameflag = s.typeflag = false;
      return 0;
    }
    s.nameflag = true;
  } else if (el.tag == kTagType && (s.nameflag || s.typeflag) && el.hastext &&
             el.textlen == 1) {
    if (!request_agrees(s.req->kind, el.text[0])) {
      s.nameflag = s.typeflag = false;
      return 0;
    }
    s.typeflag = true;
  }
  if (!s.nameflag && !s.typeflag) return 0;
  return store_column(s, el);
}

// Cheap look at a line of a row that is not kept: only the row's start and
// end, FMTNAME and the ends of the table and the library matter.
int skip_line(ParseState &s, const char *p, int len, bool *handled) {
  *handled = true;
  const char *e = p + len;
  const char *lt = static_cast<const char *>(
      std::memchr(p, '<', static_cast<std::size_t>(len)));
  if (lt == nullptr) return 0;
  const char *q = lt + 1;
  const bool closing = q < e && *q == '/';
  if (closing) ++q;
  const char *name = q;
  while (q < e && !is_space(*q) && *q != '>') ++q;
  const int n = static_cast<int>(q - name);
  s.sawelement = true;
  if (same(name, n, "ROW")) {
    if (!closing) return start_row(s);
    return 0; // not registered: the reader stays in the row state
  }
  if (!closing && same(name, n, "FMTNAME")) {
    *handled = false;
    return 0;
  }
  if (closing && (same(name, n, "TABLE") || same(name, n, "LIBRARY"))) {
    s.inrow = false;
    *handled = false;
  }
  return 0;
}

int parseLine(ParseState &s, const char *p, int len) {
  if (len > kMaxLine) return VF_CAT_BAD_LINE;
  if (s.inrow && !s.nameflag && !s.typeflag) {
    bool handled = false;
    const int rc = skip_line(s, p, len, &handled);
    if (handled || rc != 0) return rc;
  }
  Element el;
  int rc = 0;
  if (!tokenize(p, len, s.inrow, el, &rc)) return 0;
  s.sawelement = true;
  if (rc != 0) return rc;
  return s.inrow ? data(s, el) : metadata(s, el);
}

// Result of one line: true to go on reading.
bool go_on(int rc) {
  return rc == 0 || rc == VF_CAT_SKIPPED;
}

int read_memory(ParseState &s, const char *text, int64_t n) {
  int64_t start = 0;
  bool quoted = false;
  auto unit = [&](int64_t from, int64_t to) {
    while (from < to - 1 &&
           (text[from] == ' ' || text[from] == '\r' || text[from] == '\n'))
      ++from;
    const int64_t len = to - from;
    s.lastunit = to == n;
    return parseLine(s, text + from,
                     len > kMaxLine ? kMaxLine + 1 : static_cast<int>(len));
  };
  for (int64_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '>' && !quoted &&
               (i + 1 == n || text[i + 1] == '\r' || text[i + 1] == '\n' ||
                text[i + 1] == '<')) {
      const int rc = unit(start, i + 1);
      if (!go_on(rc)) return rc;
      start = i + 1;
    }
  }
  if (start < n) {
    const int rc = unit(start, n);
    if (!go_on(rc)) return rc;
  }
  return 0;
}

int read_file(ParseState &s, std::FILE *f) {
  char line[kMaxLine + 1];
  while (true) {
    std::memset(line, 0, sizeof line);
    if (std::fgets(line, sizeof line, f) == nullptr) return 0;
    const auto len = static_cast<int>(std::strlen(line));
    if (len == kMaxLine && line[len - 1] != '\n') {
      const int next = std::fgetc(f);
      if (next != EOF && next != '\n') return VF_CAT_BAD_LINE;
    }
    const int rc = parseLine(s, line, len);
    if (!go_on(rc)) return rc;
  }
}

// Hands the requested entry out with its range table.
int hand_out(ParseState &s, fmtcontext *ctx) {
  const fmtrequest *req = s.req;
  for (EntryNode *node = s.entries; node != nullptr; node = node->next) {
    fmtentry *e = node->entry;
    if (node->namelen != req->namelen ||
        std::memcmp(node->name, req->name,
                    static_cast<std::size_t>(req->namelen)) != 0)
      continue;
    const bool fits = req->kind == VF_REQ_NUMERIC ? (e->type == kEntryNumeric ||
                                                     e->type == kEntryPicture)
                                                  : e->type == req->kind;
    if (!fits) continue;
    void **table = nullptr;
    if (e->nranges > 0) {
      table = static_cast<void **>(
          xfmalloc(s.tail, e->nranges * static_cast<int64_t>(sizeof(void *))));
      if (table == nullptr) return VF_CAT_NO_MEMORY;
      int64_t i = 0;
      for (RangeNode *r = node->first; r != nullptr && i < e->nranges;
           r = r->next)
        table[i++] = const_cast<void *>(r->range);
    }
    if (node->multilabel) {
      e->sflag = 1;
      e->work = 1;
    }
    if (e->type != kEntryCharacter && e->nranges > 0) {
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
      e->index = index;
    }
    ctx->entry = e;
    ctx->ranges = table;
    return 0;
  }
  return VF_CAT_NOT_FOUND;
}

// Value of a decimal text that does not fit a double: infinity when its
// magnitude is above 1, else 0 (as strtod gives).
double overflow_value(const char *p, const char *end) {
  int64_t order = 0;
  bool seen_digit = false, after_point = false;
  for (; p < end && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') {
      after_point = true;
    } else if (*p != '0' || seen_digit) {
      seen_digit = true;
      if (!after_point) ++order;
    } else if (after_point) {
      --order; // leading zero after the point
    }
  }
  if (p < end) order += to_int(p + 1, static_cast<int>(end - p - 1));
  return order > 0 ? __builtin_inf() : 0.0;
}

bool request_name(const fmtrequest *req) {
  return req != nullptr && req->namelen >= 1 && req->namelen <= kMaxName;
}

} // namespace

double ATOF(const char *text, int32_t len) {
  if (text == nullptr || len <= 0) return 0.0;
  // "." and ". " are the standard missing value, "._" and ".A".."Z" (any
  // case) the special ones; ".." is not a notation and reads as 0.
  if (text[0] == '.') {
    if (len == 1 || text[1] == ' ') return standard_missing();
    const int code = missing_code(static_cast<unsigned char>(text[1]));
    if (code >= 0 && text[1] != '.')
      return missing_value(static_cast<uint8_t>(code));
  }
  int i = 0;
  while (i < len && is_space(text[i])) ++i;
  bool neg = false;
  if (i < len && (text[i] == '+' || text[i] == '-')) {
    neg = text[i] == '-';
    ++i;
  }
  if (i < len && (text[i] == '+' || text[i] == '-')) return 0.0;
  double v = 0.0;
  const auto r = std::from_chars(text + i, text + len, v);
  if (r.ec == std::errc::result_out_of_range) {
    v = overflow_value(text + i, r.ptr);
  } else if (r.ec != std::errc{}) {
    return 0.0;
  }
  return neg ? -v : v;
}

void wzcsdbl(double x, uint8_t key[8]) {
  store_key(key, numkey(x));
}

} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t xfrdfmt(void *, const char *name, int32_t len, fmtcontext *ctx,
                       void ***tail) {
  if (name == nullptr || ctx == nullptr || len <= 0) return VF_CAT_NOT_FOUND;
  fmtrequest req{};
  req.kind = VF_REQ_NUMERIC;
  int skip = 0;
  if (name[0] == '@' && len >= 2 && name[1] == '$') {
    req.kind = VF_REQ_CHAR_INFORMAT;
    skip = 2;
  } else if (name[0] == '@') {
    req.kind = VF_REQ_NUM_INFORMAT;
    skip = 1;
  } else if (name[0] == '$') {
    req.kind = VF_REQ_CHARACTER;
    skip = 1;
  }
  if (len - skip < 1 || len - skip > kMaxName) {
    ctx->catkind = 0;
    return VF_CAT_NOT_FOUND;
  }
  req.namelen = len - skip;
  std::memset(req.name, ' ', sizeof req.name);
  std::memcpy(req.name, name + skip, static_cast<std::size_t>(req.namelen));
  const int32_t rc = xfrdcom(&req, ctx, tail);
  ctx->catkind = 0;
  return rc;
}

VF_API int32_t xfrdcom(const fmtrequest *req, fmtcontext *ctx, void ***tail) {
  if (ctx == nullptr) return VF_CAT_NOT_FOUND;
  switch (ctx->catkind) {
  case VF_CATALOG_RESIDENT:
    return xfrdmnr(req, ctx);
  case 3:
    return xfrdzox(req, ctx, tail);
  case 4:
    return xfrdxpt(req, ctx, tail);
  default:
    return xfrdexp(req, ctx, tail);
  }
}

VF_API int32_t xfrdzox(const fmtrequest *, fmtcontext *, void ***) {
  return VF_CAT_NOT_FOUND;
}
VF_API int32_t xfrdxml(const fmtrequest *, fmtcontext *, void ***) {
  return VF_CAT_NOT_FOUND;
}
VF_API int32_t xfrdxpt(const fmtrequest *, fmtcontext *, void ***) {
  return VF_CAT_NOT_FOUND;
}

VF_API int32_t xfrdexp(const fmtrequest *req, fmtcontext *ctx, void ***tail) {
  if (!request_name(req) || ctx == nullptr || tail == nullptr ||
      *tail == nullptr)
    return VF_CAT_NOT_FOUND;
  ParseState s{};
  s.req = req;
  s.tail = tail;
  s.cookie = ctx->cookie;
  int rc;
  const fmtinmemory *mem = ctx->inmemory;
  if (mem != nullptr && std::memcmp(mem->marker, "INMEMORY", 8) == 0) {
    if (mem->text == nullptr || mem->length <= 0) return VF_CAT_NOT_OPENED;
    s.memory = true;
    rc = read_memory(s, mem->text, mem->length);
  } else {
    std::FILE *f = std::fopen("cntlout.xml", "r");
    if (f == nullptr) {
      std::printf("Open failed\n");
      return VF_CAT_NOT_OPENED;
    }
    rc = read_file(s, f);
    std::fclose(f);
  }
  if (rc == 0) {
    if (!s.sawelement) return VF_CAT_NOT_OPENED;
    if (!s.libraryclosed) return VF_CAT_BAD_LINE;
  } else if (rc != VF_CAT_STOP) {
    return rc;
  }
  return hand_out(s, ctx);
}

VF_API int32_t xfrdmnr(const fmtrequest *req, fmtcontext *ctx) {
  if (!request_name(req) || ctx == nullptr || ctx->entry == nullptr)
    return VF_CAT_NOT_FOUND;
  if (req->kind != VF_REQ_NUMERIC && req->kind != VF_REQ_CHARACTER)
    return VF_CAT_NOT_FOUND; // user-defined informats are never found
  const auto *e = static_cast<const fmtentry *>(ctx->entry);
  void *const *ranges = ctx->ranges;
  const auto n = static_cast<std::size_t>(req->namelen);
  for (;; ++e) {
    if (e->shortname[0] == ' ') return 1;
    const bool character = e->type == kEntryCharacter;
    if (character == (req->kind == VF_REQ_CHARACTER) &&
        std::memcmp(e->fullname, req->name, n) == 0) {
      bool blanks = true;
      for (std::size_t i = n; i < sizeof e->fullname; ++i)
        blanks = blanks && e->fullname[i] == ' ';
      if (blanks) {
        ctx->entry = e;
        ctx->ranges = ranges;
        return 0;
      }
    }
    if (ranges != nullptr && e->nranges > 0) ranges += e->nranges;
  }
}

} // extern "C"
