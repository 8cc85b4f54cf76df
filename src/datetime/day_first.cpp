// The day-first word dates: WORDDATX ("1 January 1960"), WEEKDATX
// ("Friday, 1 January 1960") and DTWKDATX, which shows the day of a
// datetime value as WEEKDATX does.
//
// Each runs its month-first base format and rewrites "Month d, yyyy" in the
// result as "d Month yyyy" (swap_to_day_first).  Widths whose layout has no
// comma (WORDDATX below 12, WEEKDATX below 15) and the missing and asterisk
// displays come out as the base format gives them.
//
// The day of a datetime is the floor of value / 86400, taken exactly: a
// moment before midnight belongs to the day before even where the division
// rounds up onto the whole day (a value just below zero does).
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/word_dates.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// Characters of the text after the comma that the rewrite keeps.
constexpr int32_t kTailKeep = 10;

int32_t trimmed_end(const char *p, int32_t begin, int32_t end) {
  while (end > begin && p[end - 1] == ' ') --end;
  return end;
}

// WEEKDATE text "Friday, January 1, 1960" right-aligned in out[0..w):
// the part after the weekday, without the last character (which stays
// where it is), is rewritten day-first; the rewrite drops the comma, so
// the weekday part moves one place right to close the gap.
void weekday_first(char *out, int32_t w) {
  const void *comma = std::memchr(out, ',', static_cast<std::size_t>(w));
  if (comma == nullptr) return;
  const auto k = static_cast<int32_t>(static_cast<const char *>(comma) - out);
  const int32_t start = k + 2;
  if (!swap_to_day_first(out + start, w - 1 - start)) return;
  std::memmove(out + 1, out, static_cast<std::size_t>(start));
  out[0] = ' ';
}

} // namespace

bool swap_to_day_first(char *region, int32_t n) {
  if (n <= 0 || n > kWordTextMax) return false;
  const void *found = std::memchr(region, ',', static_cast<std::size_t>(n));
  if (found == nullptr) return false;
  // The region's text, left-aligned: t[0..len).
  int32_t s = 0;
  while (s < n && region[s] == ' ') ++s;
  const char *t = region + s;
  const int32_t len = trimmed_end(region, s, n) - s;
  const auto comma = static_cast<int32_t>(static_cast<const char *>(found) - t);
  // One day digit when the character two places before the comma is a
  // blank ("Jan 1,"), else two ("Jan 30,").
  const int32_t day_len = comma >= 2 && t[comma - 2] != ' ' ? 2
                          : comma >= 1                      ? 1
                                                            : 0;
  const int32_t before = comma - day_len;
  int32_t tail = comma + 1;
  if (tail < len && t[tail] == ' ') ++tail;
  int32_t tail_len = len - tail;
  if (tail_len > kTailKeep) tail_len = kTailKeep;
  if (tail_len < 0) tail_len = 0;
  // day, blank, "Month ", tail: never longer than the text, as the comma
  // is dropped.
  char buf[kWordTextMax];
  int32_t m = 0;
  std::memcpy(buf, t + before, static_cast<std::size_t>(day_len));
  m += day_len;
  buf[m++] = ' ';
  std::memcpy(buf + m, t, static_cast<std::size_t>(before));
  m += before;
  std::memcpy(buf + m, t + tail, static_cast<std::size_t>(tail_len));
  m += tail_len;
  put_right(region, n, buf, trimmed_end(buf, 0, m));
  return true;
}

namespace {

// A day-first format: the call checks against its own row, its month-first
// base format, then the rewrite of a complete field.
template <typename Rewrite>
int32_t day_first(fmtcall *call, const RowLimits &limits, fmtfn base,
                  Rewrite rewrite) {
  int32_t status;
  if (!narrow_call_ok(call, limits, ShortBuffer::kRefuse, &status))
    return status;
  status = base(call);
  if (status == VF_OK) rewrite(static_cast<char *>(call->out), call->outlen);
  return status;
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmworddatx(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("WORDDATX");
  return day_first(call, kLimits, zfmworddate, swap_to_day_first);
}

VF_API int32_t zfmweekdatx(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("WEEKDATX");
  return day_first(call, kLimits, zfmweekdate, weekday_first);
}

VF_API int32_t zfmdtwk(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("DTWKDATX");
  int32_t status;
  if (!narrow_call_ok(call, kLimits, ShortBuffer::kRefuse, &status))
    return status;
  const double v = call_value(call);
  if (is_missing(v)) return show_missing_date(call);
  return format_on_day(call, day_of_datetime(v), zfmweekdatx);
}

} // extern "C"
