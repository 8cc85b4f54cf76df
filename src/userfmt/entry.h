// The catalogue entry and the records hanging off it.
//
// One 184-byte entry per user-defined format, built by the catalogue reader
// into a handle's block list (or handed in by a host as a memory-resident
// array), with one range record per value row and one label record per
// label.  The evaluators read these records and nothing else.
//
// Layouts of the records that only memory-resident catalogues carry:
//  - numeric single value (type 2): a numrange whose key is in `start`;
//  - character single value (type 3): a charrange with its text as START
//    (`startlen` units) and no END;
//  - fixed-length single value (type 10) and range (type 11): a charrange
//    whose START (and END) are exactly 16 units;
//  - a range with kMultiLabel in its flags points, instead of at one label,
//    at a multilabel list {i32 count; label pointers};
//  - a format label (any label type other than 6 and 12): formatlabel below.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace valfmt {

enum : int16_t {
  kEntryNumeric = 1,
  kEntryPicture = 3,
  kEntryCharacter = 11,
};

struct fmtentry {
  uint16_t version;     //   0 1
  char shortname[8];    //   2 first 8 characters of FMTNAME
  int16_t type;         //  10 kEntryNumeric, kEntryPicture, kEntryCharacter
  int16_t minw;         //  12 MIN
  int16_t maxw;         //  14 MAX
  int16_t defw;         //  16 DEFAULT
  int16_t pad18[3];     //  18
  int64_t nranges;      //  24 value rows
  int64_t nlabels;      //  32 labels built
  double fuzz;          //  40 FUZZ
  uint8_t flags[5];     //  48 0, 0, 4, 0, 0
  uint8_t pad53[3];     //  53
  int64_t hasother;     //  56 1 when an OTHER row exists
  const void *other;    //  64 label of the OTHER row
  int16_t longest;      //  72 longest LABEL in bytes
  uint8_t sflag;        //  74 ranges are searched in file order
  uint8_t rflag;        //  75 pictures round to the nearest integer
  uint8_t consts[2];    //  76 3, 1
  uint8_t work;         //  78 1 when multilabel collection is allowed
  char fullname[32];    //  79 FMTNAME, blank padded
  uint8_t pad111;       // 111
  uint32_t origin;      // 112 kOriginXml for entries built by the XML reader
  uint32_t pad116;      // 116
  const void *index;    // 120 XML reader: search index of numeric ranges
  uint8_t reserved[56]; // 128
};
static_assert(sizeof(fmtentry) == 184);
static_assert(offsetof(fmtentry, type) == 10);
static_assert(offsetof(fmtentry, nranges) == 24);
static_assert(offsetof(fmtentry, fuzz) == 40);
static_assert(offsetof(fmtentry, hasother) == 56);
static_assert(offsetof(fmtentry, sflag) == 74);
static_assert(offsetof(fmtentry, fullname) == 79);

// Marks entries that the XML reader built: they never sit in a
// memory-resident array, so nothing may walk back from them.
inline constexpr uint32_t kOriginXml = 0x4C4D5846; // "FXML"

// One node of the search tree: the fuzzed bounds of one range.
struct boundnode {
  uint64_t low;  // start minus fuzz
  uint64_t high; // end plus fuzz
};

// What a search that stops at a node needs next: the node's range record
// and its 1-based position in the table (0 for a slot outside the tree).
struct treeslot {
  const void *range;
  int64_t position;
};

struct starttree;

// The search index the XML reader adds to numeric entries: the fuzzed
// bounds of every range in table order, side by side, and the same bounds
// laid out as the tree that the binary search over positions walks (root
// the middle position, children the middles of the two halves), stored
// level by level: node i has its children at 2i and 2i + 1, the root is
// node 1, and slots that the search never reaches hold bounds no key lies
// in.  It belongs to the range table it was built for.
struct numindex {
  void *const *ranges;   // the range table
  int64_t n;             // its length
  const boundnode *tree; // 2^levels nodes (slot 0 unused), or null
  const treeslot *slots; // the range of each node, position 0 when empty
  int32_t levels;        // depth of the tree
  int32_t pad;
  // The starts alone in a B-tree when the ranges form an ordered chain
  // (start_tree.h); the tree above is then not built.  Null otherwise.
  const starttree *starts;
  uint64_t keys[1]; // 2n keys: start minus fuzz, end plus fuzz
};

// Range kinds (type byte of a range record).
enum : uint8_t {
  kRangeNumeric = 1,
  kRangeNumSingle = 2,
  kRangeCharSingle = 3,
  kRangeChar = 4,
  kRangeFixedSingle = 10,
  kRangeFixed = 11,
};

// Range flags.
enum : uint8_t {
  kLow = 1,
  kHigh = 2,
  kStartExcluded = 4,
  kEndExcluded = 8,
  kMultiLabel = 16,
};

// Numeric range (types 1 and 2): 48 bytes.  Keys are the order-preserving
// 8-byte forms of write_order_key, most significant byte first.
struct numrange {
  uint8_t type;       //  0
  uint8_t flags;      //  1
  uint8_t pad2[6];    //  2
  const void *label;  //  8
  uint8_t start[8];   // 16
  uint8_t end[8];     // 24
  uint8_t startfz[8]; // 32 start minus fuzz
  uint8_t endfz[8];   // 40 end plus fuzz
};
static_assert(sizeof(numrange) == 48);

// Character range (types 3, 4, 10, 11): 24 bytes, then START in 16-bit
// units and END directly after it.
struct charrange {
  uint8_t type;          //  0
  uint8_t flags;         //  1
  uint16_t startlen;     //  2 units
  uint16_t endlen;       //  4 units
  uint8_t pad6[2];       //  6
  const void *label;     //  8
  uint8_t reserved16[8]; // 16
};
static_assert(sizeof(charrange) == 24);

inline constexpr int kFixedUnits = 16; // texts of the fixed-length kinds

inline const uint16_t *range_start(const charrange *r) {
  return reinterpret_cast<const uint16_t *>(reinterpret_cast<const char *>(r) +
                                            sizeof(charrange));
}
inline const uint16_t *range_end(const charrange *r) {
  const int n = (r->type == kRangeFixed || r->type == kRangeFixedSingle)
                    ? kFixedUnits
                    : r->startlen;
  return range_start(r) + n;
}

// Multilabel list of a range flagged kMultiLabel.
struct multilabel {
  int32_t count;
  int32_t pad;
  const void *labels[1]; // `count` pointers
};

// Label kinds (first byte of a label record).
enum : uint8_t {
  kLabelPlain = 6,
  kLabelPicture = 12,
};

// Plain label: 16-bit text.
struct plainlabel {
  uint8_t type; // 0 kLabelPlain
  uint8_t pad1;
  uint16_t len; // 2 units
  // 4: the units
};
inline const uint16_t *label_text(const plainlabel *l) {
  return reinterpret_cast<const uint16_t *>(reinterpret_cast<const char *>(l) +
                                            sizeof(plainlabel));
}

// Picture label: 33 bytes, then the text area (picture, prefix, language,
// fill character).
struct picturelabel {
  uint8_t type;       //  0 kLabelPicture
  uint8_t datatype;   //  1 0 numeric, 1 date, 2 time, 3 datetime
  uint8_t fill;       //  2
  uint8_t decsep;     //  3
  uint8_t dig3sep;    //  4
  uint8_t pad5;       //  5
  int16_t prefixoff;  //  6 = piclen
  int16_t prefixlen;  //  8
  int16_t textlen;    // 10 picture + prefix + 1 + language
  int16_t piclen;     // 12
  int16_t ndigits;    // 14 digits 0-9 in the picture
  int16_t langoff;    // 16 = piclen + prefixlen
  int16_t langlen;    // 18
  uint8_t pad20[4];   // 20
  uint8_t multrev[8]; // 24 MULT, bytes in reverse order
  uint8_t noedit;     // 32
  // 33: the text area
};
static_assert(offsetof(picturelabel, multrev) == 24);
static_assert(offsetof(picturelabel, noedit) == 32);
inline constexpr std::size_t kPictureText = 33;

inline const char *picture_text(const picturelabel *l) {
  return reinterpret_cast<const char *>(l) + kPictureText;
}
inline double picture_mult(const picturelabel *l) {
  uint8_t b[8];
  for (int i = 0; i < 8; ++i) b[i] = l->multrev[7 - i];
  double m;
  std::memcpy(&m, b, sizeof m);
  return m;
}

// Format label: a label naming another format.
struct formatlabel {
  uint8_t type;     // 0 neither kLabelPlain nor kLabelPicture
  uint8_t decimals; // 1
  int16_t width;    // 2 absolute value used
  char name[32];    // 4 blank padded
};

// The order-preserving key of a double as an unsigned integer: all bits
// inverted for a negative value other than -0.0, else the sign bit set, so
// that keys compare as the numbers do (special missing values below every
// number).
inline uint64_t order_key(double x) {
  const uint64_t b = std::bit_cast<uint64_t>(x);
  constexpr uint64_t sign = 0x8000000000000000ull;
  return ((b & sign) && b != sign) ? ~b : (b | sign);
}
inline uint64_t load_key(const uint8_t k[8]) {
  uint64_t v;
  std::memcpy(&v, k, 8);
  return __builtin_bswap64(v);
}
inline void store_key(uint8_t k[8], uint64_t v) {
  v = __builtin_bswap64(v);
  std::memcpy(k, &v, 8);
}

// The 8-byte key of x (most significant byte first).
inline void write_order_key(double x, uint8_t key[8]) {
  store_key(key, order_key(x));
}

// Keys of LOW starts and HIGH ends.
inline constexpr uint64_t kLowKey = 0x0001000000000000ull;
inline constexpr uint64_t kHighKey = 0xFFFFFFFFFFFFFFFFull;

} // namespace valfmt
