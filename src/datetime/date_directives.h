// Percent directives for date, time and datetime values: "%Y-%0m-%0d",
// "%A %d %B", "%0H:%0M:%0S %p" and the like, expanded into a caller's
// buffer.  Shared by picture formats and by formats that lay out dates from
// a template.
#pragma once

#include <cstdint>
#include <string_view>

namespace valfmt {

// What a value holds: a date (days), a time of day or a datetime
// (seconds).  Any other kind has neither part: only literal text and "%%"
// come out.
enum class DateKind : uint8_t {
  kNone = 0,
  kDate = 1,
  kTime = 2,
  kDatetime = 3,
};

// Expands `picture` for `value` into out, writing at most `size` bytes, and
// returns the count written.  Characters other than '%' are copied; after
// '%' an optional '0' asks for leading zeros, then one letter selects:
//   A a  weekday name, full or 3 letters      B b  month name (b upper case)
//   d m  day, month                            y Y  year mod 100, full year
//   j    day of the year                       q    quarter 1..4
//   w    weekday 1 (Sunday) .. 7               U    week of the year
//   H I  hour 0..23, 12-hour clock             M S  minute, whole seconds
//   p    AM or PM                              %    a percent sign
// Date directives produce nothing for a time, time directives nothing for
// a date; unknown letters produce nothing.  A date or time that is missing
// or outside the calendar gives "ERROR" (cut to size).  Names are English.
int32_t expand_date_directives(double value, DateKind kind, const char *picture,
                               int32_t piclen, char *out, int32_t size);

// The English weekday (letter A or a, number 1 Sunday .. 7) or month
// (letter B or b, number 1..12) name: the full name for an upper-case
// letter, its first 3 letters otherwise; empty for anything else.
std::string_view date_name(int32_t number, char letter);

} // namespace valfmt
