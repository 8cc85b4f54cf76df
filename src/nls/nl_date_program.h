// Locale date patterns parsed once.  For every locale record and every
// pattern the date, datetime and time formats use, the pattern is turned
// into a list of operations (literal units, numbers, names, clock parts)
// when the library is loaded; the list is built from the constant locale
// table, never changes afterwards and needs no lock.  Running a list
// writes one value's text straight as UCS-2 units, with the same bytes,
// fit tests and outcomes as expanding the pattern into narrow text and
// converting that.
//
// Only calls whose host encoding counts two bytes per unit (16-bit hosts,
// and an unset or unknown encoding) and locales whose texts carry no
// stray '<' (which could begin an escape across two pieces) take this
// road; `parsed_patterns_apply` tells.
#pragma once

#include <cstdint>

#include "valfmt.h"

namespace valfmt {

// Pattern slots: locale fields 28..48, then fields 31, 32, 33, 34 and 36
// with " %z" appended, then the fixed patterns %B, %b, %A, %a.
inline constexpr int32_t kFirstPatternField = 28;
inline constexpr int32_t kLastPatternField = 48;
inline constexpr int32_t kSlotFullMonth = 26;
inline constexpr int32_t kSlotAbbrevMonth = 27;
inline constexpr int32_t kSlotFullWeekday = 28;
inline constexpr int32_t kSlotAbbrevWeekday = 29;
inline constexpr int32_t kSlotCount = 30;

// The slot of a locale field (with kWithZone added for " %z"), or -1.
constexpr int32_t slot_of_field(int32_t field, bool zone) {
  if (!zone)
    return field >= kFirstPatternField && field <= kLastPatternField
               ? field - kFirstPatternField
               : -1;
  switch (field) {
  case 31:
    return 21;
  case 32:
    return 22;
  case 33:
    return 23;
  case 34:
    return 24;
  case 36:
    return 25;
  default:
    return -1;
  }
}

// One value split into what the directives show.  Without a date the
// date directives show "**"; without a clock the clock directives do.
struct ValueParts {
  bool has_date = false;
  bool has_clock = false;
  int64_t day = 0;                                 // date value of the day
  int32_t year = 0, month = 0, mday = 0, yday = 0; // yday 1-based
  int32_t wday = 0;                                // 0 Sunday .. 6 Saturday
  int32_t hour = 0, minute = 0, second = 0;
};

// The parts of a day in the valid date range.
void set_date_parts(ValueParts &p, int64_t day);

// True when the call can be served by the parsed patterns.
bool parsed_patterns_apply(const fmtcall *call);

// How a pattern's text turned out.
enum class PatternOutcome {
  Shown,    // written to the call's output, outlen and outenc set
  TooWide,  // longer than the work text, wider than w or beyond outsize
  Unusable, // the pattern field cannot be read or has an unknown directive
};

// Renders slot `slot` of the call's locale for the value and, when it
// fits, writes it left-aligned with the rest of outsize in 16-bit blanks.
PatternOutcome show_parsed_pattern(fmtcall *call, int32_t slot,
                                   const ValueParts &parts);

} // namespace valfmt
