// The parsed locale date patterns as data: operations, per-locale names
// and programs, and the pool of UCS-2 units they point into.  Built once
// during static initialisation (nl_date_program_build.cpp) and only read
// afterwards (nl_date_program.cpp).
#pragma once

#include <cstdint>
#include <vector>

#include "nls/locale_db.h"
#include "nls/nl_date_program.h"

namespace valfmt::date_tables {

inline constexpr int32_t kConvertMax = 256; // narrow bytes converted
inline constexpr int32_t kFirstName = 50;   // months, weekdays, markers,
inline constexpr int32_t kNameCount = 48;   // quarters: fields 50..97
inline constexpr int32_t kAbbrevWeekday = 74;
inline constexpr int32_t kFullWeekday = 81;
inline constexpr int32_t kAbbrevMonth = 50;
inline constexpr int32_t kFullMonth = 62;
inline constexpr int32_t kMorning = 88;
inline constexpr int32_t kAbbrevQuarter = 90;
inline constexpr int32_t kFullQuarter = 94;
inline constexpr int32_t kRecords = kLocaleCount + 1; // last: the default
// Units of slack behind the pool and behind a text under construction,
// so that pieces can be copied in whole blocks of sixteen units.
inline constexpr int32_t kSlack = 16;

enum class Code : uint8_t {
  Literal,
  Number,
  WeekdayName, // first: first field; pad_names: pad to the longest (%f)
  MonthName,
  QuarterName,
  Marker,
  Zone,
  Day2,   // day of the month, two digits zero-padded
  Month2, // month, two digits zero-padded
  Year4,  // year, at least four digits zero-padded
};

enum class Source : uint8_t {
  Day,
  Month,
  Yday,
  Year,
  Year2,
  IsoYear,
  IsoYear2,
  IsoWeek,
  WeekSunday,
  WeekMonday,
  WeekdayMon1,
  WeekdaySun0,
  Hour,
  Hour12,
  Minute,
  Second,
};

struct Op {
  Code code;
  Source source;   // numbers
  uint8_t digits;  // numbers: places
  char pad;        // numbers: '0', ' ', or 0 for no padding
  bool date;       // shows a part of the date
  bool clock;      // shows a part of the clock
  bool pad_names;  // names: padded to the longest name (%f, %c)
  uint16_t count;  // literals: units
  uint16_t narrow; // literals: narrow bytes
  uint32_t first;  // names: first field; literals: unit offset
  // A literal run that follows any other operation is folded into it and
  // written after its text: units, narrow bytes and offset (count 0: none).
  uint16_t tail_count;
  uint16_t tail_narrow;
  uint32_t tail_first;
};

inline constexpr int32_t kNeedsDate = 1;
inline constexpr int32_t kNeedsClock = 2;

struct Program {
  uint32_t first_op = 0;
  uint16_t op_count = 0;
  bool usable = false; // false: unreadable field or unknown directive
  uint8_t needs = 0;   // kNeedsDate, kNeedsClock: parts shown
  // Upper bounds of the units and narrow bytes of the text for any value
  // in range that has the parts the program shows.
  uint16_t most_units = 0;
  uint16_t most_narrow = 0;
  // Least width and buffer that take the text without any length check
  // (an unreachable buffer size when the text can outgrow the conversion).
  uint16_t direct_w = 0;
  int32_t direct_cap = 0;
};

struct Name {
  uint32_t offset = 0; // into the unit pool
  uint16_t count = 0;  // units
  uint16_t narrow = 0; // narrow bytes
  uint16_t shown = 0;  // display characters (escapes count one)
  bool readable = false;
};

struct Record {
  bool safe = true;
  Program programs[kSlotCount];
  Name names[kNameCount];
  uint16_t longest_weekday = 0;
  uint16_t longest_month = 0;
};

struct Tables {
  std::vector<Op> ops;
  std::vector<uint16_t> units;
  Record records[kRecords];
};

// The tables of every locale record; valid once static initialisation of
// the library is done.
extern const Tables kTables;

// Date value of 1 January of year y, for y from kFirstStartYear to
// kLastStartYear (the years around the valid date range).
inline constexpr int64_t kFirstStartYear = 1580;
inline constexpr int64_t kLastStartYear = 20003;
extern const std::vector<int32_t> kYearStarts;

} // namespace valfmt::date_tables
