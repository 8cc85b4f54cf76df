// The header state machine: LIBRARY, TABLE, TABLE-HEADER and COLUMN
// elements and the column descriptions inside them, one small handler per
// tag and direction, looked up by tag class.  The layout they describe is
// checked at the next ROW start tag.
#include <array>
#include <cstdio>

#include "userfmt/catalog.h"

namespace valfmt {
namespace {

using HeaderHandler = int (*)(ParseState &, const Element &);

int ignore(ParseState &, const Element &) {
  return 0;
}

int copy_limited(char *dst, int cap, const Attr *a) {
  if (a->valuelen > cap) return VF_CAT_TOO_LONG;
  std::memcpy(dst, a->value, static_cast<std::size_t>(a->valuelen));
  dst[a->valuelen] = '\0';
  return a->valuelen;
}

// A column description changed: the record layout and the columns a row
// needs are checked again at the next ROW.
void column_changed(ParseState &s) {
  s.table->checked = false;
  s.table->need = Needed{};
}

// Prints a TYPE or DATATYPE text that is none of the known ones.
void print_unknown(const char *text, int len) {
  std::printf("%.*s\n", len, text);
}

// --- structure ---------------------------------------------------------------

int open_library(ParseState &s, const Element &el) {
  if (s.inlibrary) return VF_CAT_OUT_OF_PLACE;
  const Attr *type = find_attribute(el, "type");
  if (type == nullptr) return VF_CAT_NO_ATTRIBUTE;
  if (!same_text(type->value, type->valuelen, "EXPORT"))
    return VF_CAT_NOT_EXPORT;
  s.inlibrary = true;
  return 0;
}

int close_library(ParseState &s, const Element &) {
  if (!s.inlibrary) return VF_CAT_OUT_OF_PLACE;
  s.inlibrary = false;
  s.libraryclosed = true;
  return 0;
}

int open_table(ParseState &s, const Element &el) {
  if (!s.inlibrary || s.tableopen) return VF_CAT_OUT_OF_PLACE;
  const Attr *name = find_attribute(el, "name");
  if (name == nullptr) return VF_CAT_NO_ATTRIBUTE;
  auto *t = allocate_record<Table>(s);
  if (t == nullptr) return VF_CAT_NO_MEMORY;
  int n = copy_limited(t->name, kMaxName, name);
  if (n < 0) return n;
  t->namelen = n;
  if (const Attr *label = find_attribute(el, "label")) {
    n = copy_limited(t->label, kMaxLabel, label);
    if (n < 0) return n;
    t->labellen = n;
  }
  t->declared = -1;
  s.table = t;
  s.tableopen = true;
  return 0;
}

int close_table(ParseState &s, const Element &) {
  if (s.table == nullptr || !s.tableopen) return VF_CAT_NO_TABLE;
  s.tableopen = s.intableheader = s.incolumn = false;
  s.table = nullptr;
  s.column = nullptr;
  return 0;
}

int open_table_header(ParseState &s, const Element &) {
  if (!s.tableopen || s.intableheader) return VF_CAT_OUT_OF_PLACE;
  s.intableheader = true;
  return 0;
}

int close_table_header(ParseState &s, const Element &) {
  if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
  s.intableheader = false;
  return 0;
}

int open_column(ParseState &s, const Element &el) {
  if (!s.tableopen || s.incolumn) return VF_CAT_OUT_OF_PLACE;
  const Attr *order = find_attribute(el, "order");
  const Attr *name = find_attribute(el, "name");
  if (order == nullptr || name == nullptr) return VF_CAT_NO_ATTRIBUTE;
  auto *c = allocate_record<Column>(s);
  if (c == nullptr) return VF_CAT_NO_MEMORY;
  int n = copy_limited(c->name, kMaxName, name);
  if (n < 0) return n;
  c->namelen = n;
  if (const Attr *label = find_attribute(el, "label")) {
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
  column_changed(s);
  s.column = c;
  s.incolumn = true;
  return 0;
}

int close_column(ParseState &s, const Element &) {
  if (!s.incolumn) return VF_CAT_OUT_OF_PLACE;
  s.incolumn = false;
  return 0;
}

// --- column descriptions -----------------------------------------------------

// The common checks of a column description: inside a COLUMN, with text.
int column_text_check(const ParseState &s, const Element &el) {
  if (!s.incolumn) return VF_CAT_OUT_OF_PLACE;
  if (!el.hastext || el.textlen == 0) return VF_CAT_EMPTY_TEXT;
  return 0;
}

int column_type(ParseState &s, const Element &el) {
  if (const int rc = column_text_check(s, el)) return rc;
  column_changed(s);
  if (same_text(el.text, el.textlen, "numeric")) {
    s.column->type = kColNumeric;
  } else if (same_text(el.text, el.textlen, "character")) {
    s.column->type = kColCharacter;
  } else {
    if (el.textlen != 7 && el.textlen != 9) print_unknown(el.text, el.textlen);
    return VF_CAT_BAD_VALUE;
  }
  return 0;
}

int column_datatype(ParseState &s, const Element &el) {
  if (const int rc = column_text_check(s, el)) return rc;
  static constexpr struct {
    const char *text;
    int code;
  } kTypes[] = {{"float", 1},      {"integer", 1},
                {"string", 2},     {"date", kDtDate},
                {"time", kDtTime}, {"datetime", kDtDatetime}};
  for (const auto &t : kTypes) {
    if (same_text(el.text, el.textlen, t.text)) {
      s.column->datatype = t.code;
      return 0;
    }
  }
  if (el.textlen < 4 || el.textlen > 8) print_unknown(el.text, el.textlen);
  return VF_CAT_BAD_VALUE;
}

int column_length(ParseState &s, const Element &el) {
  if (const int rc = column_text_check(s, el)) return rc;
  s.column->length = read_integer(el.text, el.textlen);
  column_changed(s);
  return 0;
}

int column_offset(ParseState &s, const Element &el) {
  if (const int rc = column_text_check(s, el)) return rc;
  s.column->offset = read_integer(el.text, el.textlen);
  column_changed(s);
  return 0;
}

// --- table header ------------------------------------------------------------

int record_length(ParseState &s, const Element &el) {
  if (!s.tableopen) return VF_CAT_OUT_OF_PLACE;
  const Attr *len = find_attribute(el, "length");
  if (len == nullptr) return VF_CAT_NO_ATTRIBUTE;
  s.table->reclen = read_integer(len->value, len->valuelen);
  s.table->checked = false;
  return 0;
}

int compression(ParseState &s, const Element &el) {
  if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
  const Attr *c = find_attribute(el, "compressed");
  if (c != nullptr && !same_text(c->value, c->valuelen, "No"))
    return VF_CAT_COMPRESSED;
  return 0;
}

int sort_assertion(ParseState &s, const Element &el) {
  if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
  const Attr *c = find_attribute(el, "sorted");
  if (c == nullptr) return VF_CAT_NO_ATTRIBUTE;
  if (!same_text(c->value, c->valuelen, "No")) return VF_CAT_SORTED;
  s.table->sorted = true;
  return 0;
}

int variables(ParseState &s, const Element &el) {
  if (!s.intableheader) return VF_CAT_OUT_OF_PLACE;
  const Attr *n = find_attribute(el, "number");
  if (n == nullptr) return VF_CAT_NO_ATTRIBUTE;
  s.table->declared = read_integer(n->value, n->valuelen);
  s.table->checked = false;
  return 0;
}

int open_row(ParseState &s, const Element &) {
  return start_row(s);
}

// A ROW end tag here is not inside a row.
int out_of_place(ParseState &, const Element &) {
  return VF_CAT_OUT_OF_PLACE;
}

// --- the table of handlers ---------------------------------------------------

struct HeaderTag {
  Tag tag;
  HeaderHandler start; // start tag (or empty element)
  HeaderHandler end;   // end tag
};

constexpr HeaderTag kHeaderTags[] = {
    {kTagLibrary, open_library, close_library},
    {kTagTable, open_table, close_table},
    {kTagTableHeader, open_table_header, close_table_header},
    {kTagColumn, open_column, close_column},
    {kTagType, column_type, ignore},
    {kTagDatatype, column_datatype, ignore},
    {kTagLength, column_length, ignore},
    {kTagOffset, column_offset, ignore},
    {kTagObservations, record_length, ignore},
    {kTagCompression, compression, ignore},
    {kTagSortAssertion, sort_assertion, ignore},
    {kTagVariables, variables, ignore},
    {kTagRow, open_row, out_of_place},
};

// Handlers by tag class; every other tag is ignored.
constexpr std::array<HeaderTag, kTagCount> kHandlerOf = [] {
  std::array<HeaderTag, kTagCount> t{};
  for (int i = 0; i < kTagCount; ++i)
    t[static_cast<std::size_t>(i)] = {static_cast<Tag>(i), ignore, ignore};
  for (const HeaderTag &h : kHeaderTags) t[static_cast<std::size_t>(h.tag)] = h;
  return t;
}();

} // namespace

int read_header_element(ParseState &s, const Element &el) {
  const HeaderTag &h = kHandlerOf[static_cast<std::size_t>(el.tag)];
  return el.closing ? h.end(s, el) : h.start(s, el);
}

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

} // namespace valfmt
