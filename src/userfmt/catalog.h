// The catalogue reader's parse state and the steps that share it: the
// header state machine, the row reader, and the building of entries,
// ranges and labels from the rows kept.
#pragma once

#include <cstddef>
#include <cstdint>

#include "userfmt/catalog_lexer.h"
#include "userfmt/entry.h"
#include "valfmt.h"

namespace valfmt {

// Limits of the parse records.
inline constexpr int kMaxName = 32;    // table and column names
inline constexpr int kMaxLabel = 207;  // table and column labels
inline constexpr int kMaxText = 32767; // LABEL, START and END texts
// Largest record length a catalogue may declare.
inline constexpr int64_t kMaxRecord = int64_t{1} << 20;

// Column types and the data types a numeric column may not carry.
inline constexpr int kColNumeric = 1;
inline constexpr int kColCharacter = 2;
inline constexpr int kDtDate = 15, kDtTime = 16, kDtDatetime = 18;

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

// Columns a row needs, looked up once per table layout.
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
  bool checked; // the layout was checked and the row record allocated
  Needed need;
};

struct RangeNode {
  RangeNode *next;
  const void *range;
};

// One entry read, with its ranges in file order.
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
  bool inlibrary, tableopen, intableheader, incolumn, inrow;
  bool libraryclosed;
  bool sawelement;
  bool memory;             // units cut at '>' from an in-memory text
  bool lastunit;           // the unit runs to the end of the in-memory text
  bool nameflag, typeflag; // the row belongs to the requested format
  Table *table;
  Column *column;
  EntryNode *entries;
};

// One zero-filled record of type T (plus extra bytes) from the block list.
template <class T> T *allocate_record(ParseState &s, std::size_t extra = 0) {
  return static_cast<T *>(
      xfmalloc(s.tail, static_cast<int64_t>(sizeof(T) + extra)));
}

inline std::size_t round8(std::size_t n) {
  return (n + 7) & ~std::size_t{7};
}

// --- header (catalog_header.cpp) ---------------------------------------------

// One element outside a data row: the header state machine.
int read_header_element(ParseState &s, const Element &el);

// A ROW start: checks the declared layout once per layout, then clears the
// row record and the column value lengths.
int start_row(ParseState &s);

// --- rows (catalog_rows.cpp) -------------------------------------------------

// One element inside a data row.
int read_row_element(ParseState &s, const Element &el);

// A cheap look at a unit of a row that is not kept.  Sets *handled to false
// when the unit still has to be read as an element.
int skip_row_unit(ParseState &s, const char *p, int len, bool *handled);

Column *find_column(const Table *t, const char *name, int len);

// --- entries (catalog_entries.cpp) -------------------------------------------

// The ROW end of a kept row: its range and label join the entry.
int finish_row(ParseState &s);

// Hands the requested entry out with its range table and search index.
int hand_out_entry(ParseState &s, fmtcontext *ctx);

// --- values of the row record (catalog_number.cpp, catalog_labels.cpp) -------

inline const char *column_text(const Table *t, const Column *c) {
  return reinterpret_cast<const char *>(t->row + c->offset);
}
// Characters stored in a character column (0 for a numeric one).
inline int column_length(const Column *c) {
  return c->type == kColCharacter ? c->vlen : 0;
}
// A numeric value of the row: numeric columns directly, character columns
// read as catalogue numbers.
double column_number(const Table *t, const Column *c);

// Units of a UTF-8 text; dst holds at least len units.
int widen_utf8(const char *src, int len, uint16_t *dst);

// Size of the label record of the current row, and the record built at
// `at` (the entry's label count and longest label follow it).
std::size_t label_size(const Table *t, int16_t type);
int build_label(const Table *t, int16_t type, fmtentry *e, void *at);

// A catalogue value as a double: "." and ".<c>" are missing values (c one of
// "_ ABCDEFGHIJKLMNOPQRSTUVWXYZ", upper-cased), anything else is read as a
// decimal number the way the C runtime's atof reads it in the POSIX locale.
double catalog_number(const char *text, int32_t len);

} // namespace valfmt
