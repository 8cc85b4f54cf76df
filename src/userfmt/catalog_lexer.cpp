// Reading the one element of a catalogue unit: its tag, attributes and
// character data.  Nothing is copied; the element points into the unit.
#include "userfmt/catalog_lexer.h"

namespace valfmt {
namespace {

constexpr std::string_view kTagNames[kTagCount] = {{},
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

int classify_tag(const char *name, int len) {
  if (len > kMaxTag) return kTagOther;
  for (int i = 1; i < kTagCount; ++i)
    if (same_text(name, len, kTagNames[i])) return i;
  return kTagOther;
}

// Reads name="value" pairs from r up to the end of the tag.  Returns where
// the reading stopped (e when the list ended unusably).
const char *read_attributes(const char *r, const char *e, Element &el,
                            int *rc) {
  while (true) {
    while (r < e && is_space(*r)) ++r;
    if (r >= e || *r == '>' || *r == '/') return r;
    const char *an = r;
    while (r < e && *r != '=' && !is_space(*r) && *r != '>' && *r != '/') ++r;
    const int anlen = static_cast<int>(r - an);
    if (anlen > kMaxAttrName) {
      *rc = VF_CAT_TOO_LONG;
      return nullptr;
    }
    while (r < e && is_space(*r)) ++r;
    if (anlen == 0 || r >= e || *r != '=') return e; // no usable attribute
    ++r;
    while (r < e && is_space(*r)) ++r;
    if (r >= e || (*r != '"' && *r != '\'')) return e;
    const char quote = *r++;
    const char *val = r;
    while (r < e && *r != quote) ++r;
    if (r >= e) return r; // a missing quote ends the attribute list
    if (el.nattrs < kMaxAttrs)
      el.attrs[el.nattrs++] = {an, anlen, val, static_cast<int>(r - val)};
    ++r;
  }
}

} // namespace

int64_t read_integer(const char *t, int len) {
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
  el.tag = classify_tag(name, namelen);
  const bool ended_blank = q < e && is_space(*q);
  const char *r = q;
  while (r < e && is_space(*r)) ++r;
  if (r < e && *r == '/') return true; // empty element
  if (ended_blank || inrow) {
    r = read_attributes(r, e, el, rc);
    if (r == nullptr) return true;
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

const Attr *find_attribute(const Element &el, const char *name) {
  for (int i = el.nattrs - 1; i >= 0; --i)
    if (same_text(el.attrs[i].name, el.attrs[i].namelen, name))
      return &el.attrs[i];
  return nullptr;
}

} // namespace valfmt
