// Reference texts of TIME, TOD and TIMEAMPM for values on a grid of 1/8
// second, worked out in whole units of 10^-n seconds.  On that grid no
// rounding tolerance decides anything: every rounding is half up and every
// carry follows from the rounded count, so the expected text of any width
// and decimals can be computed here independently of the library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace timeref {

inline constexpr int64_t kDayEighths = 86400 * 8;

inline std::string two(int64_t v) {
  return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

inline std::string right(const std::string &t, int w) {
  const auto n = static_cast<std::size_t>(w);
  return t.size() >= n ? t : std::string(n - t.size(), ' ') + t;
}

enum class Clock { kTime, kTod, kAmPm };

// The clock text of eighths/8 seconds in w columns with up to d decimals.
// The decimals shown are decided by the hour digits before rounding; a
// carry that widens the hours only drops decimals, which are zeros by then.
inline std::string clock_text(int64_t eighths, int w, int d, Clock kind) {
  const bool neg = kind == Clock::kTime && eighths < 0;
  int64_t u = neg ? -eighths : eighths;
  if (kind != Clock::kTime) u = (u % kDayEighths + kDayEighths) % kDayEighths;
  const bool twelve = kind == Clock::kAmPm;
  if (twelve && w < 5) {
    // The marker alone, from the time rounded to d decimals.
    const int64_t secs = d == 0 ? (u + 4) / 8 : u / 8;
    return right(secs / 3600 % 24 >= 12 ? "PM" : "AM", w);
  }
  const int cw = twelve ? w - 3 : w;
  auto shown = [&](int64_t h) {
    return !twelve ? h : (h % 12 == 0 ? 12 : h % 12);
  };
  auto decimals = [&](int64_t h) {
    const auto digits = static_cast<int>(std::to_string(shown(h)).size());
    return std::clamp(std::min(d, cw - (neg ? 1 : 0) - digits - 7), 0, 99);
  };
  const int n0 = decimals(u / 8 / 3600);
  int64_t p = 1;
  for (int i = 0; i < n0; ++i) p *= 10;
  const int64_t units = (u * p + 4) / 8;
  const int64_t secs = units / p, hours = secs / 3600;
  std::string f = n0 > 0 ? std::to_string(units % p) : "";
  f.insert(0, static_cast<std::size_t>(n0) - f.size(), '0');
  f = f.substr(0, static_cast<std::size_t>(decimals(hours)));
  std::string t = (neg ? "-" : "") + std::to_string(shown(hours));
  const auto lead = static_cast<int>(t.size());
  if (cw < lead) return std::string(static_cast<std::size_t>(cw), '*');
  if (cw >= lead + 3) t += ":" + two(secs % 3600 / 60);
  if (cw >= lead + 6) t += ":" + two(secs % 60) + (f.empty() ? "" : "." + f);
  t = right(t, cw);
  // TOD: a one-digit hour takes a leading zero where a column is free.
  const auto at = t.find_first_not_of(' ');
  if (kind == Clock::kTod && hours < 10 && at > 0) t[at - 1] = '0';
  if (twelve) t += hours % 24 >= 12 ? " PM" : " AM";
  return t;
}

} // namespace timeref
