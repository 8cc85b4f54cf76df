// Data rows: which rows belong to the requested format, and the storing of
// their column values into the row record.  Rows of other formats are
// skipped with a cheap look at each unit.
#include "userfmt/catalog.h"

namespace valfmt {
namespace {

// XML character references: the five named ones and "&#xHH;".  Returns the
// bytes written, or -1 when they exceed cap.
int decode_references(const char *src, int n, char *dst, int64_t cap) {
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
  Column *c = find_column(t, el.name, el.namelen);
  if (c == nullptr) return VF_CAT_NO_COLUMN;
  const char *text = el.hastext ? el.text : "";
  const int len = el.hastext ? el.textlen : 0;
  uint8_t *at = t->row + c->offset;
  if (c->type == kColNumeric) {
    if (c->datatype == kDtDate || c->datatype == kDtTime ||
        c->datatype == kDtDatetime)
      return VF_CAT_REFUSED;
    const double v = catalog_number(text, len);
    std::memcpy(at, &v, sizeof v);
    c->last = v;
    c->vlen = 8;
    return 0;
  }
  std::memset(at, ' ', static_cast<std::size_t>(c->length));
  const int n =
      decode_references(text, len, reinterpret_cast<char *>(at), c->length);
  if (n < 0) return VF_CAT_VALUE_LONG;
  c->vlen = n;
  return 0;
}

// True when a one-letter TYPE agrees with the kind requested.
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

// FMTNAME and TYPE decide whether the row is kept.  Returns false when the
// element is not to be stored.
bool notes_row_owner(ParseState &s, const Element &el, int *rc) {
  if (same_text(el.name, el.namelen, "FMTNAME")) {
    const bool match = el.hastext && el.textlen == s.req->namelen &&
                       std::memcmp(el.text, s.req->name,
                                   static_cast<std::size_t>(el.textlen)) == 0;
    if (!match) {
      // The requested format was read and another one begins.
      if (s.nameflag && s.typeflag && s.entries != nullptr && el.textlen > 0)
        *rc = VF_CAT_STOP;
      s.nameflag = s.typeflag = false;
      return false;
    }
    s.nameflag = true;
  } else if (el.tag == kTagType && (s.nameflag || s.typeflag) && el.hastext &&
             el.textlen == 1) {
    if (!request_agrees(s.req->kind, el.text[0])) {
      s.nameflag = s.typeflag = false;
      return false;
    }
    s.typeflag = true;
  }
  return s.nameflag || s.typeflag;
}

} // namespace

Column *find_column(const Table *t, const char *name, int len) {
  if (t == nullptr || len > kMaxName) return nullptr;
  for (Column *c = t->first; c != nullptr; c = c->next)
    if (c->namelen == len &&
        std::memcmp(c->name, name, static_cast<std::size_t>(len)) == 0)
      return c;
  return nullptr;
}

int read_row_element(ParseState &s, const Element &el) {
  if (el.tag == kTagRow)
    return el.closing ? finish_row(s) : VF_CAT_OUT_OF_PLACE;
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
  int rc = 0;
  if (!notes_row_owner(s, el, &rc)) return rc;
  return store_column(s, el);
}

int skip_row_unit(ParseState &s, const char *p, int len, bool *handled) {
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
  if (same_text(name, n, "ROW")) {
    if (!closing) return start_row(s);
    return 0; // not registered: the reader stays in the row state
  }
  if (!closing && same_text(name, n, "FMTNAME")) {
    *handled = false;
    return 0;
  }
  if (closing &&
      (same_text(name, n, "TABLE") || same_text(name, n, "LIBRARY"))) {
    s.inrow = false;
    *handled = false;
  }
  return 0;
}

} // namespace valfmt
