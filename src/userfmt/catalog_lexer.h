// The catalogue lexer: cuts the text into units (file lines, or in-memory
// pieces ending at a '>') and reads the one element a unit holds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "valfmt.h"

namespace valfmt {

// Longest line (file) or unit (in-memory text) the reader accepts.
inline constexpr int kMaxLine = 255;
// Longest tag name that is classified, and longest attribute name.
inline constexpr int kMaxTag = 32;
inline constexpr int kMaxAttrName = 40;
inline constexpr int kMaxAttrs = 64;

// Tag classes of the catalogue's structure; data columns such as FMTNAME
// are kTagOther.
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
  kTagCount = 32,
};

inline bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

// True when the la bytes at a are the text b.
inline bool same_text(const char *a, int la, std::string_view b) {
  return static_cast<std::size_t>(la) == b.size() &&
         std::memcmp(a, b.data(), b.size()) == 0;
}

// A decimal integer the way atol reads one, saturated far beyond any
// usable value.
int64_t read_integer(const char *t, int len);

struct Attr {
  const char *name;
  int namelen;
  const char *value;
  int valuelen;
};

// One element of one unit.
struct Element {
  int tag = kTagOther;
  const char *name = nullptr;
  int namelen = 0; // full length; over kMaxTag never matches a column
  bool closing = false;
  bool hastext = false;
  bool textclosed = false; // the text ends at a '<' in the same unit
  const char *text = nullptr;
  int textlen = 0;
  Attr attrs[kMaxAttrs];
  int nattrs = 0;
};

// Reads the element of one unit.  Returns false when the unit holds none.
// An attribute name over kMaxAttrName bytes sets *rc to VF_CAT_TOO_LONG.
// Attributes are read after a name that ends in a blank, and always when
// `inrow` (row columns are not expected to carry any).
bool tokenize(const char *p, int len, bool inrow, Element &el, int *rc);

// The newest attribute of that name, or null.
const Attr *find_attribute(const Element &el, const char *name);

// Result of one unit: true to go on reading (nothing wrong, or a row of
// another type skipped).
inline bool continues_reading(int rc) {
  return rc == 0 || rc == VF_CAT_SKIPPED;
}

// Hands each unit of an in-memory text to unit(text, len, last) until it
// returns a code that stops the reading, which is returned (else 0).  A
// unit ends at a '>' outside double quotes that is the last byte or is
// followed by CR, LF or '<'; its leading blanks, CR and LF are skipped (a
// unit of only those keeps its last byte).  A unit over kMaxLine bytes is
// reported as kMaxLine + 1 bytes long.
template <class UnitFn>
int split_memory_units(const char *text, int64_t n, UnitFn &&unit) {
  auto deliver = [&](int64_t from, int64_t to) {
    while (from < to - 1 &&
           (text[from] == ' ' || text[from] == '\r' || text[from] == '\n'))
      ++from;
    const int64_t len = to - from;
    return unit(text + from,
                len > kMaxLine ? kMaxLine + 1 : static_cast<int>(len), to == n);
  };
  int64_t start = 0;
  bool quoted = false;
  for (int64_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '>' && !quoted &&
               (i + 1 == n || text[i + 1] == '\r' || text[i + 1] == '\n' ||
                text[i + 1] == '<')) {
      const int rc = deliver(start, i + 1);
      if (!continues_reading(rc)) return rc;
      start = i + 1;
    }
  }
  if (start < n) {
    const int rc = deliver(start, n);
    if (!continues_reading(rc)) return rc;
  }
  return 0;
}

// Hands each line of a file (at most kMaxLine bytes with its newline) to
// unit(line, len, false) the same way.  A line longer than that gives
// VF_CAT_BAD_LINE.
template <class UnitFn> int split_file_lines(std::FILE *f, UnitFn &&unit) {
  char line[kMaxLine + 1];
  while (true) {
    std::memset(line, 0, sizeof line);
    if (std::fgets(line, sizeof line, f) == nullptr) return 0;
    const auto len = static_cast<int>(std::strlen(line));
    if (len == kMaxLine && line[len - 1] != '\n') {
      const int next = std::fgetc(f);
      if (next != EOF && next != '\n') return VF_CAT_BAD_LINE;
    }
    const int rc = unit(line, len, false);
    if (!continues_reading(rc)) return rc;
  }
}

} // namespace valfmt
