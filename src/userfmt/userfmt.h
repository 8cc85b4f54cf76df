// Internal routines of the user-defined formats: the catalogue reader's
// value conversions, the evaluators' text helpers, label output and the
// picture engine.
#pragma once

#include <cstdint>

#include "userfmt/entry.h"
#include "valfmt.h"

namespace valfmt {

// --- catalogue reader -------------------------------------------------------

// Longest line (file) or unit (in-memory text) the reader accepts.
inline constexpr int kMaxLine = 255;
// Limits of the parse records.
inline constexpr int kMaxName = 32;     // table and column names
inline constexpr int kMaxLabel = 207;   // table and column labels
inline constexpr int kMaxAttrName = 40; // attribute names
inline constexpr int kMaxTag = 32;      // tag names kept
// Largest record length a catalogue may declare.
inline constexpr int64_t kMaxRecord = int64_t{1} << 20;

// A catalogue value as a double: "." and ".<c>" are missing values (c one of
// "_ ABCDEFGHIJKLMNOPQRSTUVWXYZ", upper-cased), anything else is read as a
// decimal number the way the C runtime's atof reads it in the POSIX locale.
double ATOF(const char *text, int32_t len);

// --- evaluation -------------------------------------------------------------

// Copies min(n, width) units of src to dst and blank-pads dst to width units.
void MPTLU(const uint16_t *src, int32_t n, uint16_t *dst, int32_t width);

// Compares two 16-bit texts as signed units; a longer text equals a shorter
// one when its remainder is all blanks, else it is the greater.
int zstrcomu(const uint16_t *a, int32_t la, const uint16_t *b, int32_t lb);

// Writes the labels of `count` noted ranges one after another, each in a
// field of w characters: all labels of a multilabel range under collection,
// else its first.  Too much for outsize gives min(w, outsize) '*' and -1.
int32_t getmulti(bool collect, fmtcall *call, int64_t count,
                 const void *const *noted, const fmtentry *entry,
                 void *const *ranges);

// Applies a label naming another format.
int32_t yfmtlbl(fmtcall *call, const fmtentry *entry, void *const *ranges,
                const void *label);

// --- pictures ---------------------------------------------------------------

// Renders `value` through a picture label into exactly w bytes at out.
void yfpict(double value, int32_t w, char *out, const picturelabel *label,
            uint8_t rflag);

// Expands a date, time or datetime picture; returns the bytes written (at
// most size).
int32_t datefmt(double value, const char *lang, int32_t langlen,
                int32_t datatype, const char *pic, int32_t piclen, char *buf,
                int32_t size);

// English weekday (letters A, a) or month (B, b) name of a 1-based number:
// the full name for an upper-case letter, its first 3 letters otherwise.
void getname(int32_t number, char letter, const char **text, int32_t *len);

} // namespace valfmt
