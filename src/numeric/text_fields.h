// Field routines shared by the format families: find, verify, replace,
// trim and justify characters inside a fixed-width field.
//
// Every routine comes in two forms that behave alike:
//   narrow text   one byte per character (const char *, length in bytes);
//   UCS-2 text    16-bit little-endian units at any alignment, as the
//                 library carries wide input and output (Ucs2Text /
//                 Ucs2Field, length in units).
// They read and write exactly the length they are given and nothing else;
// a null pointer or a length <= 0 is an empty field.
//
// The narrow copy, strip and upper-case routines (copy_padded,
// trimmed_length, upcase_ascii) live in core/text.h; their UCS-2 forms are
// here.
#pragma once

#include <cstdint>
#include <cstring>

namespace valfmt {

// Read-only UCS-2 text: little-endian units at any alignment.
struct Ucs2Text {
  const void *bytes;
  uint16_t at(int32_t i) const {
    const auto *p = static_cast<const unsigned char *>(bytes) + 2 * i;
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
  }
};

// Writable UCS-2 field: little-endian units at any alignment.
struct Ucs2Field {
  void *bytes;
  uint16_t at(int32_t i) const { return Ucs2Text{bytes}.at(i); }
  void set(int32_t i, uint16_t u) const {
    auto *p = static_cast<unsigned char *>(bytes) + 2 * i;
    p[0] = static_cast<unsigned char>(u & 0xFF);
    p[1] = static_cast<unsigned char>(u >> 8);
  }
  operator Ucs2Text() const { return Ucs2Text{bytes}; }
};

inline constexpr uint16_t kUcs2Blank = 0x20;

// Position of the first c in the field, or -1.
int32_t wzstpos(const char *text, int32_t len, char c);
int32_t wzstpos(Ucs2Text text, int32_t len, uint16_t c);

// Position of the first character other than c, or -1.
int32_t wzstnot(const char *text, int32_t len, char c);
int32_t wzstnot(Ucs2Text text, int32_t len, uint16_t c);

// Position of the first character that is not one of the setlen
// characters of set, or -1 when every character is in the set.
int32_t wzstver(const char *text, int32_t len, const char *set, int32_t setlen);
int32_t wzstver(Ucs2Text text, int32_t len, const uint16_t *set,
                int32_t setlen);

// True when every character equals c, or the field is empty.
bool vzabl(const char *text, int32_t len, char c);
bool vzabl(Ucs2Text text, int32_t len, uint16_t c);

// Fills the field with blanks.
void vzfbl(char *text, int32_t len);
void vzfbl(Ucs2Field text, int32_t len);

// Replaces every from by to; returns the number replaced.
int32_t wzstrnc(char *text, int32_t len, char from, char to);
int32_t wzstrnc(Ucs2Field text, int32_t len, uint16_t from, uint16_t to);

// Where the text of a field stands once its blanks are trimmed.
struct TextSpan {
  int32_t start;  // column of the first non-blank (0 for an empty text)
  int32_t length; // characters from the first to the last non-blank
};

// Trims the field's blanks and places the text by mode: 'L'/'l' at
// column 0, 'R'/'r' ending at the last column, 'C'/'c' centred (an odd
// spare column goes to the right), any other mode leaves it in place.
// Freed columns become blanks.  Returns where the text stands afterwards.
TextSpan wzstjls(char *text, int32_t len, char mode);
TextSpan wzstjls(Ucs2Field text, int32_t len, char mode);

// Where the text of a field stands, without moving it.
TextSpan text_span(const char *text, int32_t len);
TextSpan text_span(Ucs2Text text, int32_t len);

// Copies min(n, w) units of src into dst and blank-pads dst to w units;
// src and dst may overlap.
void copy_padded(Ucs2Field dst, int32_t w, Ucs2Text src, int32_t n);

// Length without trailing blanks (0 for an all-blank text).
int32_t trimmed_length(Ucs2Text text, int32_t len);

// Upper-cases a..z in place; every other unit stays as it is.
void upcase_ascii(Ucs2Field text, int32_t len);

} // namespace valfmt
