// The catalogue entry: one per user-defined format, 184 bytes, built by the
// catalogue reader into a handle's block list (or handed in by a host as a
// memory-resident array) and read by the evaluators.
#pragma once

#include <cstddef>
#include <cstdint>

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
  uint8_t sflag;        //  74 HLO of the last row has S
  uint8_t rflag;        //  75 HLO of the last row has R
  uint8_t consts[2];    //  76 3, 1
  uint8_t work;         //  78 0
  char fullname[32];    //  79 FMTNAME, blank padded
  uint8_t pad111;       // 111
  uint8_t reserved[72]; // 112 reader-private (range list while loading)
};
static_assert(sizeof(fmtentry) == 184);
static_assert(offsetof(fmtentry, type) == 10);
static_assert(offsetof(fmtentry, nranges) == 24);
static_assert(offsetof(fmtentry, fuzz) == 40);
static_assert(offsetof(fmtentry, hasother) == 56);
static_assert(offsetof(fmtentry, sflag) == 74);
static_assert(offsetof(fmtentry, fullname) == 79);

} // namespace valfmt
