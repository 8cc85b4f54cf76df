// An independent reference for the word date tests: calendar parts and
// English names of a date value from the C library (gmtime_r and strftime
// in the default "C" locale), and a spread of dates to try them on.
//
// The C library's calendar is the plain proleptic Gregorian one, so the
// reference holds for years 1582..3999; later dates are checked by hand.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace wordtest {

// 1 January 1970 as a date value.
inline constexpr int64_t kUnixEpochDay = 3653;

struct RefDate {
  int year;
  int month;
  int day;
  std::string weekday;    // "Friday"
  std::string month_name; // "January"
};

inline RefDate ref_date(int64_t day) {
  const auto t = static_cast<std::time_t>((day - kUnixEpochDay) * 86400);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char weekday[32];
  char month[32];
  std::strftime(weekday, sizeof weekday, "%A", &tm);
  std::strftime(month, sizeof month, "%B", &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, weekday, month};
}

// text right-aligned in w characters, or its first w characters.
inline std::string right(const std::string &text, int w) {
  const auto n = static_cast<std::size_t>(w);
  if (text.size() >= n) return text.substr(0, n);
  return std::string(n - text.size(), ' ') + text;
}

// Days from 1582 to 3999: the range edges, month and year ends, every
// weekday and month, two-digit days, and a fixed pseudo-random sample.
inline std::vector<int64_t> spread_days() {
  std::vector<int64_t> days = {
      -138061, // 1582-01-01, the first valid day
      0,       // 1960-01-01
      -1,      // 1959-12-31
      273,     // 1960-09-30, a Friday with the longest month name
      14669,   // 2000-02-29
      23000,   // 2022-12-21, a Wednesday
      740285,  // 3986-10-31
      745094,  // 3999-12-31
  };
  for (int64_t d = 266; d < 266 + 14; ++d)
    days.push_back(d); // 1960-09-23..10-06
  uint64_t x = 0x2545F4914F6CDD1Dull;
  for (int i = 0; i < 160; ++i) {
    x = x * 6364136223846793005ull + 1442695040888963407ull;
    days.push_back(-138061 + static_cast<int64_t>((x >> 33) % 883156));
  }
  return days;
}

} // namespace wordtest
