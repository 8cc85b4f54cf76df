// What the word, name and era date formats share: the run of the call
// checks and the first step around a field, right-aligned texts, and the
// texts of the month-first formats (WEEKDATE, WORDDATE) that their
// day-first variants rewrite.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/call_checks.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

// Runs field(out, w, day) for a call whose value is a date in range, after
// the call checks (call_checks.h) and the missing display; a date out of
// range shows w asterisks with status `out_of_range`.  field writes
// exactly w bytes.
template <typename Field>
int32_t run_word_format(fmtcall *c, const RowLimits &limits,
                        int32_t out_of_range, Field field) {
  int32_t status;
  if (!narrow_call_ok(c, limits, ShortBuffer::kRefuse, &status)) return status;
  const double v = call_value(c);
  if (is_missing(v)) return show_missing_date(c);
  if (!date_in_range(v)) {
    fill_stars(c, c->w);
    return out_of_range;
  }
  field(static_cast<char *>(c->out), c->w, day_of_date(v));
  return finish_narrow(c, c->w);
}

// Writes text[0..n) right-aligned in out[0..w), blanks on the left; a text
// longer than w keeps its first w characters.
inline void put_right(char *out, int32_t w, const char *text, int32_t n) {
  if (n > w) n = w;
  put_blanks(out, w - n);
  std::memcpy(out + (w - n), text, static_cast<std::size_t>(n));
}

// Room for the longest text, "Wednesday, September 30, 20000".
inline constexpr int32_t kWordTextMax = 40;

// Writes the WEEKDATE field of a valid day: exactly w characters (w in
// 3..37), the text right-aligned.
void week_date_field(char *out, int32_t w, int64_t day);

// Writes the WORDDATE field of a valid day likewise (w in 3..32).
void word_date_field(char *out, int32_t w, int64_t day);

// Rewrites "Month d, yyyy" in region[0..n) as "d Month yyyy", right-aligned
// in the region.  Returns false (region unchanged) when it holds no comma.
bool swap_to_day_first(char *region, int32_t n);

} // namespace valfmt
