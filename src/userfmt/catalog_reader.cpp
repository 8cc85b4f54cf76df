// The format catalogue reader.
//
// A catalogue is the XML export of a format control table: a LIBRARY holding
// one TABLE whose header declares the columns (name, type, length and
// offset in a row record) and whose ROW elements hold one value range each.
// The reader parses it line by line (one element per line), keeps only the
// rows of the requested format and builds one catalogue entry with its
// ranges and labels, everything allocated in the caller's block list.
// The steps live beside this driver: catalog_lexer (units and elements),
// catalog_header (the header state machine), catalog_rows (which rows are
// kept, their column values), catalog_entries and catalog_labels (entries,
// ranges and labels built from the rows).
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
//  - A column description that changes after a row (TYPE, LENGTH, Offset,
//    a new COLUMN, the record length or the column count) has the layout
//    checked again at the next ROW.
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
#include <cstdio>
#include <cstring>

#include "userfmt/catalog.h"

namespace valfmt {
namespace {

// One unit: a row that is not kept gets only a cheap look; everything else
// is read as an element, by the row reader inside a row and by the header
// state machine outside.
int parse_unit(ParseState &s, const char *p, int len, bool last) {
  if (len > kMaxLine) return VF_CAT_BAD_LINE;
  s.lastunit = last;
  if (s.inrow && !s.nameflag && !s.typeflag) {
    bool handled = false;
    const int rc = skip_row_unit(s, p, len, &handled);
    if (handled || rc != 0) return rc;
  }
  Element el;
  int rc = 0;
  if (!tokenize(p, len, s.inrow, el, &rc)) return 0;
  s.sawelement = true;
  if (rc != 0) return rc;
  return s.inrow ? read_row_element(s, el) : read_header_element(s, el);
}

// Reads the in-memory text, or else "cntlout.xml" from the working
// directory.
int read_catalog(ParseState &s, const fmtcontext *ctx) {
  auto unit = [&s](const char *p, int len, bool last) {
    return parse_unit(s, p, len, last);
  };
  const fmtinmemory *mem = ctx->inmemory;
  if (mem != nullptr && std::memcmp(mem->marker, "INMEMORY", 8) == 0) {
    if (mem->text == nullptr || mem->length <= 0) return VF_CAT_NOT_OPENED;
    s.memory = true;
    return split_memory_units(mem->text, mem->length, unit);
  }
  std::FILE *f = std::fopen("cntlout.xml", "r");
  if (f == nullptr) {
    std::printf("Open failed\n");
    return VF_CAT_NOT_OPENED;
  }
  const int rc = split_file_lines(f, unit);
  std::fclose(f);
  return rc;
}

bool request_name(const fmtrequest *req) {
  return req != nullptr && req->namelen >= 1 && req->namelen <= kMaxName;
}

// The request a name stands for: "@$" character informat, "@" numeric
// informat, "$" character format, else numeric format.  False when the
// name without its prefix is empty or too long.
bool request_of(const char *name, int32_t len, fmtrequest *req) {
  req->kind = VF_REQ_NUMERIC;
  int skip = 0;
  if (name[0] == '@' && len >= 2 && name[1] == '$') {
    req->kind = VF_REQ_CHAR_INFORMAT;
    skip = 2;
  } else if (name[0] == '@') {
    req->kind = VF_REQ_NUM_INFORMAT;
    skip = 1;
  } else if (name[0] == '$') {
    req->kind = VF_REQ_CHARACTER;
    skip = 1;
  }
  if (len - skip < 1 || len - skip > kMaxName) return false;
  req->namelen = len - skip;
  std::memset(req->name, ' ', sizeof req->name);
  std::memcpy(req->name, name + skip, static_cast<std::size_t>(req->namelen));
  return true;
}

// The entry of a memory-resident array whose full name and kind match.
bool resident_match(const fmtentry *e, const fmtrequest *req) {
  const bool character = e->type == kEntryCharacter;
  const auto n = static_cast<std::size_t>(req->namelen);
  if (character != (req->kind == VF_REQ_CHARACTER) ||
      std::memcmp(e->fullname, req->name, n) != 0)
    return false;
  for (std::size_t i = n; i < sizeof e->fullname; ++i)
    if (e->fullname[i] != ' ') return false;
  return true;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t xfrdfmt(void *, const char *name, int32_t len, fmtcontext *ctx,
                       void ***tail) {
  if (name == nullptr || ctx == nullptr || len <= 0) return VF_CAT_NOT_FOUND;
  fmtrequest req{};
  if (!request_of(name, len, &req)) {
    ctx->catkind = 0;
    return VF_CAT_NOT_FOUND;
  }
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

// Catalogue kinds without a reader.
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
  const int rc = read_catalog(s, ctx);
  if (rc == 0) {
    if (!s.sawelement) return VF_CAT_NOT_OPENED;
    if (!s.libraryclosed) return VF_CAT_BAD_LINE;
  } else if (rc != VF_CAT_STOP) {
    return rc;
  }
  return hand_out_entry(s, ctx);
}

VF_API int32_t xfrdmnr(const fmtrequest *req, fmtcontext *ctx) {
  if (!request_name(req) || ctx == nullptr || ctx->entry == nullptr)
    return VF_CAT_NOT_FOUND;
  if (req->kind != VF_REQ_NUMERIC && req->kind != VF_REQ_CHARACTER)
    return VF_CAT_NOT_FOUND; // user-defined informats are never found
  const auto *e = static_cast<const fmtentry *>(ctx->entry);
  void *const *ranges = ctx->ranges;
  for (;; ++e) {
    if (e->shortname[0] == ' ') return 1;
    if (resident_match(e, req)) {
      ctx->entry = e;
      ctx->ranges = ranges;
      return 0;
    }
    if (ranges != nullptr && e->nranges > 0) ranges += e->nranges;
  }
}

} // extern "C"
