// The basic ISO 8601 forms: the extended text of a wider field with its
// delimiters deleted ("-" and ":" of the date and time, the ":" of the
// offset), right-aligned in the caller's width.
//
// Choices where the forms leave room:
//  - The decimal point of the seconds stays: ISO 8601 needs a decimal sign
//    in the basic form as well, and "12345678" would read as other
//    seconds.  B8601TM8.2 of 45296.78 is "123456.8" (the point takes the
//    column of the second decimal), B8601TM9.2 "123456.78".
//  - The sign of a local offset is not a delimiter: B8601LZ west of UTC
//    ends in "-0500", never in a bare "0500".
//  - The widening is the most the basic text may use.  When the deleted
//    delimiters are fewer than the columns added (a "Z" has no ":" to
//    lose, so B8601TZ9.3 would come to eleven characters), the extended twin
//    runs one column narrower until the basic text fits, which shows
//    fewer decimals instead of overrunning the field.
//  - A missing value shows the extended field's missing text without its
//    leading blanks, right-aligned: its "." stays, at w - 1 - d in the
//    datetime form (w - 1 in the date and time forms, whose missing
//    display takes no decimals), followed by the designator's blanks in
//    the zone forms.
//  - A value outside the range gives w asterisks, as the extended twin
//    does at the caller's width.
#include <cstring>

#include "core/call.h"
#include "datetime/iso8601/iso_forms.h"

namespace valfmt {
namespace {

bool is_delimiter(char c) {
  return c == '-' || c == ':';
}

// Deletes the delimiters of text[0, len): every one before the zone, only
// ":" inside it (its sign stays).  A missing text is kept whole.  Returns
// the new length; the blanks of the right-aligned field stay leading.
int32_t delete_delimiters(char *text, int32_t len, IsoField f) {
  int32_t k = 0;
  for (int32_t i = 0; i < len; ++i) {
    const char c = text[i];
    const bool drop = f.shown == IsoShown::kMissing
                          ? false
                          : (i < f.zone ? is_delimiter(c) : c == ':');
    if (!drop) text[k++] = c;
  }
  return k;
}

int32_t leading_blanks(const char *text, int32_t len) {
  int32_t i = 0;
  while (i < len && text[i] == ' ') ++i;
  return i;
}

} // namespace

IsoField write_basic(IsoForm form, double v, int32_t w, int32_t d,
                     int32_t widen, int32_t maxw, char *out) {
  int32_t wide = w + widen + (d > 0 ? 1 : 0);
  if (wide > maxw) wide = maxw;
  for (; wide >= w; --wide) {
    char ext[kIsoMaxWidth];
    const IsoField f = write_extended(form, v, wide, d, ext);
    if (f.shown == IsoShown::kStars) break;
    const int32_t from = leading_blanks(ext, wide);
    const IsoField shifted{f.shown, f.zone - from};
    const int32_t len = delete_delimiters(ext + from, wide - from, shifted);
    if (len > w) continue;
    put_blanks(out, w - len);
    std::memmove(out + (w - len), ext + from, static_cast<std::size_t>(len));
    return {f.shown, w}; // the zone's place is not needed after this
  }
  put_stars(out, w);
  return {IsoShown::kStars, w};
}

} // namespace valfmt
