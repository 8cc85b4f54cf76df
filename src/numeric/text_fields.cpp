// Field routines over narrow and UCS-2 text.  Each routine is written once
// against a small accessor (unit at i, set unit at i) and instantiated for
// both forms, so the two behave identically.  The public entry points
// check for a null field or a length <= 0 and then call the shared body.
#include "numeric/text_fields.h"

namespace valfmt {
namespace {

struct NarrowText {
  const char *p;
  uint16_t at(int32_t i) const { return static_cast<unsigned char>(p[i]); }
};

struct NarrowField {
  char *p;
  uint16_t at(int32_t i) const { return static_cast<unsigned char>(p[i]); }
  void set(int32_t i, uint16_t u) const { p[i] = static_cast<char>(u); }
};

inline uint16_t unit_of(char c) {
  return static_cast<unsigned char>(c);
}

inline bool empty(const void *p, int32_t len) {
  return p == nullptr || len <= 0;
}

template <class Text> int32_t find_unit(Text t, int32_t len, uint16_t c) {
  for (int32_t i = 0; i < len; ++i)
    if (t.at(i) == c) return i;
  return -1;
}

template <class Text> int32_t find_other(Text t, int32_t len, uint16_t c) {
  for (int32_t i = 0; i < len; ++i)
    if (t.at(i) != c) return i;
  return -1;
}

template <class Text, class Set>
int32_t find_outside(Text t, int32_t len, Set set, int32_t setlen) {
  for (int32_t i = 0; i < len; ++i) {
    const uint16_t u = t.at(i);
    bool member = false;
    for (int32_t k = 0; k < setlen && !member; ++k) member = set.at(k) == u;
    if (!member) return i;
  }
  return -1;
}

template <class Field>
int32_t replace_units(Field f, int32_t len, uint16_t from, uint16_t to) {
  int32_t count = 0;
  for (int32_t i = 0; i < len; ++i) {
    if (f.at(i) == from) {
      f.set(i, to);
      ++count;
    }
  }
  return count;
}

template <class Text> TextSpan span_of(Text t, int32_t len) {
  int32_t first = 0;
  while (first < len && t.at(first) == kUcs2Blank) ++first;
  if (first == len) return {0, 0};
  int32_t last = len - 1;
  while (t.at(last) == kUcs2Blank) --last;
  return {first, last - first + 1};
}

// Moves the span's units to column to (either direction) and blanks the
// columns they left.
template <class Field>
void move_span(Field f, int32_t len, TextSpan s, int32_t to) {
  if (to < s.start) {
    for (int32_t i = 0; i < s.length; ++i) f.set(to + i, f.at(s.start + i));
  } else if (to > s.start) {
    for (int32_t i = s.length - 1; i >= 0; --i)
      f.set(to + i, f.at(s.start + i));
  }
  for (int32_t i = 0; i < to; ++i) f.set(i, kUcs2Blank);
  for (int32_t i = to + s.length; i < len; ++i) f.set(i, kUcs2Blank);
}

template <class Field> TextSpan justify(Field f, int32_t len, char mode) {
  TextSpan s = span_of(f, len);
  if (s.length == 0) return s;
  const int32_t spare = len - s.length;
  int32_t to = s.start;
  switch (mode) {
  case 'L':
  case 'l':
    to = 0;
    break;
  case 'R':
  case 'r':
    to = spare;
    break;
  case 'C':
  case 'c':
    to = spare / 2;
    break;
  default:
    return s;
  }
  move_span(f, len, s, to);
  return {to, s.length};
}

} // namespace

int32_t wzstpos(const char *text, int32_t len, char c) {
  return empty(text, len) ? -1 : find_unit(NarrowText{text}, len, unit_of(c));
}
int32_t wzstpos(Ucs2Text text, int32_t len, uint16_t c) {
  return empty(text.bytes, len) ? -1 : find_unit(text, len, c);
}

int32_t wzstnot(const char *text, int32_t len, char c) {
  return empty(text, len) ? -1 : find_other(NarrowText{text}, len, unit_of(c));
}
int32_t wzstnot(Ucs2Text text, int32_t len, uint16_t c) {
  return empty(text.bytes, len) ? -1 : find_other(text, len, c);
}

int32_t wzstver(const char *text, int32_t len, const char *set,
                int32_t setlen) {
  if (empty(text, len)) return -1;
  if (empty(set, setlen)) return 0;
  return find_outside(NarrowText{text}, len, NarrowText{set}, setlen);
}
int32_t wzstver(Ucs2Text text, int32_t len, const uint16_t *set,
                int32_t setlen) {
  if (empty(text.bytes, len)) return -1;
  if (empty(set, setlen)) return 0;
  struct Units {
    const uint16_t *p;
    uint16_t at(int32_t i) const { return p[i]; }
  };
  return find_outside(text, len, Units{set}, setlen);
}

bool vzabl(const char *text, int32_t len, char c) {
  return empty(text, len) || find_other(NarrowText{text}, len, unit_of(c)) < 0;
}
bool vzabl(Ucs2Text text, int32_t len, uint16_t c) {
  return empty(text.bytes, len) || find_other(text, len, c) < 0;
}

void vzfbl(char *text, int32_t len) {
  if (!empty(text, len)) std::memset(text, ' ', static_cast<std::size_t>(len));
}
void vzfbl(Ucs2Field text, int32_t len) {
  if (empty(text.bytes, len)) return;
  for (int32_t i = 0; i < len; ++i) text.set(i, kUcs2Blank);
}

int32_t wzstrnc(char *text, int32_t len, char from, char to) {
  if (empty(text, len)) return 0;
  return replace_units(NarrowField{text}, len, unit_of(from), unit_of(to));
}
int32_t wzstrnc(Ucs2Field text, int32_t len, uint16_t from, uint16_t to) {
  return empty(text.bytes, len) ? 0 : replace_units(text, len, from, to);
}

TextSpan wzstjls(char *text, int32_t len, char mode) {
  return empty(text, len) ? TextSpan{0, 0}
                          : justify(NarrowField{text}, len, mode);
}
TextSpan wzstjls(Ucs2Field text, int32_t len, char mode) {
  return empty(text.bytes, len) ? TextSpan{0, 0} : justify(text, len, mode);
}

TextSpan text_span(const char *text, int32_t len) {
  return empty(text, len) ? TextSpan{0, 0} : span_of(NarrowText{text}, len);
}
TextSpan text_span(Ucs2Text text, int32_t len) {
  return empty(text.bytes, len) ? TextSpan{0, 0} : span_of(text, len);
}

void copy_padded(Ucs2Field dst, int32_t w, Ucs2Text src, int32_t n) {
  if (empty(dst.bytes, w)) return;
  if (src.bytes == nullptr || n < 0) n = 0;
  const int32_t k = n < w ? n : w;
  if (k > 0)
    std::memmove(dst.bytes, src.bytes, 2 * static_cast<std::size_t>(k));
  for (int32_t i = k; i < w; ++i) dst.set(i, kUcs2Blank);
}

int32_t trimmed_length(Ucs2Text text, int32_t len) {
  if (empty(text.bytes, len)) return 0;
  while (len > 0 && text.at(len - 1) == kUcs2Blank) --len;
  return len;
}

void upcase_ascii(Ucs2Field text, int32_t len) {
  if (empty(text.bytes, len)) return;
  for (int32_t i = 0; i < len; ++i) {
    const uint16_t u = text.at(i);
    if (u >= 'a' && u <= 'z') text.set(i, static_cast<uint16_t>(u - 32));
  }
}

} // namespace valfmt
