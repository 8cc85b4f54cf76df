// Locale date patterns parsed once.  For every locale record and every
// pattern the date, datetime and time formats use, the pattern is turned
// into a list of operations (literal units, numbers, names, clock parts)
// when the library is loaded; the list is built from the constant locale
// table, never changes afterwards and needs no lock.  Running a list
// writes one value's text straight as UCS-2 units, with the same bytes,
// fit tests and outcomes as expanding the pattern into narrow text and
// converting that.
//
// The tables are in nl_date_tables.h, built by nl_date_program_build.cpp.
//
// Only calls whose host encoding counts two bytes per unit (16-bit hosts,
// and an unset or unknown encoding) and locales whose texts carry no
// stray '<' (which could begin an escape across two pieces) take this
// road; `show_parsed_patterns` tells by returning NotServed.
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
  int64_t day = 0; // date value of the day
  int32_t year = 0, month = 0, mday = 0;
  int32_t hour = 0, minute = 0, second = 0;
};

// The parts of a day in the valid date range.
void set_date_parts(ValueParts &p, int64_t day);

// How the parsed patterns served a call.
enum class ParsedOutcome {
  Shown,     // one pattern written, outlen and outenc set
  Fallback,  // neither pattern could be shown: the plain format's turn
  NotServed, // the call's encoding or locale needs the general expander
};

// Renders the long pattern of the call's locale for the value and, when
// it fits, writes it left-aligned with the rest of outsize in 16-bit
// blanks; otherwise the short one (slot -1: none).  A pattern that is too
// wide (longer than the work text, wider than w or beyond outsize) passes
// to the short one; an unusable one (unreadable field or unknown
// directive) ends the search.
ParsedOutcome show_parsed_patterns(fmtcall *call, int32_t long_slot,
                                   int32_t short_slot, const ValueParts &parts);

} // namespace valfmt
