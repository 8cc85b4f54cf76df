// Label records built from the row record: plain labels (LABEL as 16-bit
// text) and picture labels (the picture with its fill, separators, prefix,
// language, MULT and NOEDIT).
#include "core/units.h"
#include "userfmt/catalog.h"

namespace valfmt {
namespace {

// One character of a UTF-8 text kept as its low byte; a blank when empty.
uint8_t low_byte_char(const char *src, int len) {
  if (len <= 0) return ' ';
  uint16_t u[4];
  const int n = widen_utf8(src, len < 4 ? len : 4, u);
  return n > 0 ? static_cast<uint8_t>(u[0]) : static_cast<uint8_t>(' ');
}

// Each character of a UTF-8 text kept as its low byte; returns the count.
int low_bytes(const char *src, int len, char *dst) {
  int i = 0, n = 0;
  while (i < len) {
    uint16_t u;
    int32_t units = 0;
    const int c = kUtf8Continuations[static_cast<uint8_t>(src[i])];
    if (c + 1 > len - i) break;
    UTF8ToUNICODE(reinterpret_cast<const uint8_t *>(src + i), c + 1, &u, 2,
                  &units, nullptr);
    if (units != 1) break;
    dst[n++] = static_cast<char>(u & 0xFF);
    i += c + 1;
  }
  return n;
}

std::size_t plain_size(const Table *t) {
  return round8(sizeof(plainlabel) +
                2 * static_cast<std::size_t>(column_length(t->need.label)));
}

void build_plain(const Table *t, void *at) {
  auto *l = static_cast<plainlabel *>(at);
  l->type = kLabelPlain;
  auto *units = const_cast<uint16_t *>(label_text(l));
  l->len = static_cast<uint16_t>(widen_utf8(
      column_text(t, t->need.label), column_length(t->need.label), units));
}

// Columns resolved, including the picture ones.
std::size_t picture_size(const Table *t) {
  const Needed &n = t->need;
  return round8(kPictureText +
                static_cast<std::size_t>(column_length(n.label)) +
                static_cast<std::size_t>(column_length(n.prefix)) +
                static_cast<std::size_t>(column_length(n.language)) + 1);
}

// DATATYPE: empty 0 (numeric), DATE 1, TIME 2, DATETIME 3; -1 otherwise.
int picture_datatype(const Table *t) {
  const Column *c = t->need.datatype;
  const int len = column_length(c);
  const char *text = column_text(t, c);
  if (len == 0) return 0;
  if (same_text(text, len, "DATE")) return 1;
  if (same_text(text, len, "TIME")) return 2;
  if (same_text(text, len, "DATETIME")) return 3;
  return -1;
}

// The text area: picture, prefix, language, fill character.
void fill_picture_text(const Table *t, picturelabel *l) {
  const Needed &n = t->need;
  char *text = reinterpret_cast<char *>(l) + kPictureText;
  const int piclen = column_length(n.label);
  std::memcpy(text, column_text(t, n.label), static_cast<std::size_t>(piclen));
  int digits = 0;
  for (int i = 0; i < piclen; ++i)
    if (text[i] >= '0' && text[i] <= '9') ++digits;
  const int prefixlen = low_bytes(column_text(t, n.prefix),
                                  column_length(n.prefix), text + piclen);
  const int langlen =
      low_bytes(column_text(t, n.language), column_length(n.language),
                text + piclen + prefixlen);
  text[piclen + prefixlen + langlen] = static_cast<char>(l->fill);
  l->piclen = static_cast<int16_t>(piclen);
  l->ndigits = static_cast<int16_t>(digits);
  l->prefixoff = static_cast<int16_t>(piclen);
  l->prefixlen = static_cast<int16_t>(prefixlen);
  l->langoff = static_cast<int16_t>(piclen + prefixlen);
  l->langlen = static_cast<int16_t>(langlen);
  l->textlen = static_cast<int16_t>(piclen + prefixlen + 1 + langlen);
}

int build_picture(const Table *t, void *at) {
  const Needed &n = t->need;
  auto *l = static_cast<picturelabel *>(at);
  l->type = kLabelPicture;
  const int datatype = picture_datatype(t);
  if (datatype < 0) return VF_CAT_BAD_VALUE;
  l->datatype = static_cast<uint8_t>(datatype);
  l->fill = low_byte_char(column_text(t, n.fill), column_length(n.fill));
  l->decsep = low_byte_char(column_text(t, n.decsep), column_length(n.decsep));
  l->dig3sep =
      low_byte_char(column_text(t, n.dig3sep), column_length(n.dig3sep));
  fill_picture_text(t, l);
  const double mult = column_number(t, n.mult);
  uint8_t b[8];
  std::memcpy(b, &mult, 8);
  for (int i = 0; i < 8; ++i) l->multrev[i] = b[7 - i];
  const double noedit = column_number(t, n.noedit);
  l->noedit =
      (noedit >= 1 && noedit < 256) ? static_cast<uint8_t>(noedit) : uint8_t{0};
  return 0;
}

} // namespace

int widen_utf8(const char *src, int len, uint16_t *dst) {
  int32_t units = 0;
  UTF8ToUNICODE(reinterpret_cast<const uint8_t *>(src), len, dst, 2 * len,
                &units, nullptr);
  return units;
}

std::size_t label_size(const Table *t, int16_t type) {
  return type == kEntryPicture ? picture_size(t) : plain_size(t);
}

int build_label(const Table *t, int16_t type, fmtentry *e, void *at) {
  const int len = column_length(t->need.label);
  if (type == kEntryPicture) {
    const int rc = build_picture(t, at);
    if (rc != 0) return rc;
  } else {
    build_plain(t, at);
  }
  ++e->nlabels;
  if (len > e->longest) e->longest = static_cast<int16_t>(len);
  return 0;
}

} // namespace valfmt
