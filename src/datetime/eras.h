// The Japanese era table and the Minguo year count, shared by the era date
// formats and the era date informats.
//
// An era begins on its first day and lasts until the day before the next
// era begins; the last era of the table runs to the end of the date range.
// Era years count from 1 in the Gregorian year in which the era began, so
// the first (partial) calendar year of an era is its year 1.
//
// The table holds exactly the four eras Meiji, Taisho, Showa and Heisei.
// No later era is defined: dates after the start of Heisei belong to it,
// whatever their year, and a writer that has two digits for the era year
// shows years above 99 as "**".
//
// Minguo years count from 1912 (year 1); there is no Minguo year before it.
#pragma once

#include <cstdint>
#include <optional>

#include "datetime/calendar.h"

namespace valfmt {

struct Reign {
  char letter;        // era letter of the short written form
  int64_t first_day;  // date value of the era's first day
  int32_t first_year; // Gregorian year of that day (era year 1)
  int32_t month;      // month and day of the first day, for review
  int32_t day;
};

// Era numbers run 1..kReignCount in table order; 0 means "no era".
inline constexpr int32_t kReignCount = 4;
inline constexpr Reign kReigns[kReignCount] = {
    {'M', -33506, 1868, 4, 6},   // Meiji
    {'T', -17321, 1912, 7, 30},  // Taisho
    {'S', -12060, 1926, 12, 25}, // Showa
    {'H', 10600, 1989, 1, 8},    // Heisei
};
// The era letters indexed by era number (index 0 is "no era").
inline constexpr char kEraLetters[] = " MTSH";

static_assert([] {
  for (int32_t i = 0; i < kReignCount; ++i) {
    const Reign &r = kReigns[i];
    if (day_from_civil(r.first_year, r.month, r.day) != r.first_day)
      return false;
    if (kEraLetters[i + 1] != r.letter) return false;
    if (i > 0 && kReigns[i - 1].first_day >= r.first_day) return false;
  }
  return true;
}());

inline constexpr int32_t kMinguoFirstYear = 1912; // Minguo year 1

constexpr const Reign &reign(int32_t era) {
  return kReigns[era - 1];
}

// The era (1..kReignCount) that contains day, or 0 before the first era.
constexpr int32_t era_of_day(int64_t day) {
  for (int32_t era = kReignCount; era >= 1; --era)
    if (day >= reign(era).first_day) return era;
  return 0;
}

// The era of a written era letter (either case), or 0 for any other
// character.
constexpr int32_t era_of_letter(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (int32_t era = 1; era <= kReignCount; ++era)
    if (reign(era).letter == c) return era;
  return 0;
}

// First day after era (exclusive end); the last era ends with the range.
constexpr int64_t era_end_day(int32_t era) {
  return era < kReignCount ? reign(era + 1).first_day : kDateLimit;
}

constexpr bool era_contains(int32_t era, int64_t day) {
  return era >= 1 && era <= kReignCount && day >= reign(era).first_day &&
         day < era_end_day(era);
}

// Era year of a Gregorian year in era (may be below 1 or above 99 when the
// year lies outside the era).
constexpr int32_t era_year(int32_t era, int32_t gregorian_year) {
  return gregorian_year - (reign(era).first_year - 1);
}

constexpr int64_t gregorian_year_of_era(int32_t era, int64_t year_of_era) {
  return year_of_era - 1 + reign(era).first_year;
}

struct EraDate {
  int32_t era;  // 1..kReignCount, 0 before the first era
  int32_t year; // era year (meaningless when era is 0)
};

// Era and era year of a day in the valid date range.
constexpr EraDate era_date_of_day(int64_t day) {
  const int32_t era = era_of_day(day);
  if (era == 0) return {0, 0};
  return {era, era_year(era, civil_from_day(day).year)};
}

// The day of era year / month / day, when that calendar date exists, lies
// in the valid range and belongs to the era; nothing otherwise.
constexpr std::optional<int64_t>
day_of_era_date(int32_t era, int64_t year_of_era, int32_t month, int32_t day) {
  if (era < 1 || era > kReignCount) return std::nullopt;
  const int64_t y = gregorian_year_of_era(era, year_of_era);
  if (y < kFirstYear || y > kLastYear) return std::nullopt;
  if (month < 1 || month > 12) return std::nullopt;
  const auto year = static_cast<int32_t>(y);
  if (day < 1 || day > month_length(year, month)) return std::nullopt;
  const int64_t date = day_from_civil(year, month, day);
  if (!era_contains(era, date)) return std::nullopt;
  return date;
}

// Minguo year of a Gregorian year (below 1 before 1912).
constexpr int32_t minguo_year(int32_t gregorian_year) {
  return gregorian_year - (kMinguoFirstYear - 1);
}

constexpr int64_t gregorian_year_of_minguo(int64_t year) {
  return year + (kMinguoFirstYear - 1);
}

} // namespace valfmt
