// Building blocks of the punctuated family (COMMA, DOLLAR, EUROX, PERCENT
// and the formats built on them): the shape of the renderer's text and
// the grouping engines.  Each engine writes an explicit field (out, capacity,
// width, decimals) so that a member can run another on part of its own
// field; it returns its status and reports what it wrote in a Shown.
#pragma once

#include <cstdint>

#include "numeric/field_call.h"
#include "registry/functions.h"
#include "valfmt.h"

namespace valfmt {

// The parts of a fixed-point text of the renderer: blanks, an optional
// '-', integer digits, an optional '.' with decimals, blanks.
struct FixedText {
  bool number;    // the text has exactly that shape, with a digit or '.'
  bool negative;  // it starts with '-'
  int32_t start;  // column after the blanks and the '-'
  int32_t digits; // integer digits, from start
  int32_t point;  // column of the '.', or -1
  int32_t end;    // column after the last non-blank
};

inline bool is_digit(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}

// Reads the shape of the w-column text in one pass.
inline FixedText read_fixed(const char *text, int32_t w) {
  int32_t i = 0;
  while (i < w && text[i] == ' ') ++i;
  const bool negative = i < w && text[i] == '-';
  if (negative) ++i;
  const int32_t start = i;
  while (i < w && is_digit(text[i])) ++i;
  const int32_t digits = i - start;
  int32_t point = -1;
  if (i < w && text[i] == '.') {
    point = i++;
    while (i < w && is_digit(text[i])) ++i;
  }
  const int32_t end = i;
  while (i < w && text[i] == ' ') ++i;
  return {i == w && end > start, negative, start, digits, point, end};
}

// The shape of the text the renderer wrote for F w.d with status 0.  With
// 0 <= d <= 32 all d decimals are shown: the point stands at column
// w - d - 1 (none for d = 0) and the digits end at the last column, so
// only the integer digits are read, from the point back.  A text that does
// not have that shape, and any other decimals code, is read in full.
inline FixedText read_rendered(const char *text, int32_t w, int32_t d) {
  if (d >= 0 && d < w && d <= 32) {
    const int32_t point = d > 0 ? w - d - 1 : -1;
    const int32_t int_end = d > 0 ? point : w;
    if (d == 0 || text[point] == '.') {
      int32_t i = int_end;
      while (i > 0 && is_digit(text[i - 1])) --i;
      const bool negative = i > 0 && text[i - 1] == '-';
      const int32_t lead = i - (negative ? 1 : 0);
      if ((lead == 0 || text[lead - 1] == ' ') && (i < int_end || d > 0))
        return {true, negative, i, int_end - i, point, w};
    }
  }
  return read_fixed(text, w);
}

// Rewrites the fixed-point text t of a w-column field with sep between
// groups of three of its first ndigits digits (counted from the last of
// them), so that it ends at the last column with blanks before it.  total
// is the new length: the text's length, its '-', and (ndigits - 1) / 3
// separators; it must not exceed w.  Returns the column where it starts.
int32_t group_digits(char *out, int32_t w, const FixedText &t, int32_t ndigits,
                     char sep, int32_t total);

// COMMA w.d of v: the F text with its integer digits grouped by ',' when
// the grouped text fits in w.  A missing value is laid out as F lays it
// out; a renderer status other than 0 comes back with the plain F text.
int32_t comma_field(char *out, int32_t cap, int32_t w, int32_t d, double v,
                    Shown &shown);

// DOLLAR w.d of v: COMMA in columns 1..w-1 with '$' before the text; when
// COMMA cannot lay the value out there, plain F w.d.  Needs w >= 1 and
// cap >= w.
int32_t dollar_field(char *out, int32_t cap, int32_t w, int32_t d, double v,
                     Shown &shown);

// EUROX w.d of v: the F text with a decimal ',', '.' grouping and the euro
// character in front, each only when it fits.  A renderer status other
// than 0 comes back with the plain F text.
int32_t eurox_field(char *out, int32_t cap, int32_t w, int32_t d, double v,
                    Shown &shown);

// A field writer of the punctuated family.
using FieldWriter = int32_t (*)(char *out, int32_t cap, int32_t w, int32_t d,
                                double v, Shown &shown);

// Runs `field` on the call's buffer, width, decimals and value.
inline int32_t write_field(fmtcall *c, FieldWriter field, Shown &shown) {
  return field(static_cast<char *>(c->out), out_capacity(c), c->w, c->d,
               call_value(c), shown);
}

// Exchanges '.' and ',' in n bytes.
void swap_marks(char *text, int32_t n);

} // namespace valfmt
