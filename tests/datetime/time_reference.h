// Reference texts of the clock formats for values on a grid of 1/8 second,
// worked out in whole units of 10^-n seconds.  On that grid no rounding
// tolerance decides anything: every rounding is half up and every carry
// follows from the rounded count, so the expected text of any width and
// decimals can be computed here independently of the library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace timeref {

inline constexpr int64_t kDayEighths = 86400 * 8;

inline int64_t pow10(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

inline std::string two(int64_t v) {
  return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

inline std::string right(const std::string &t, int w) {
  const auto n = static_cast<std::size_t>(w);
  return t.size() >= n ? t : std::string(n - t.size(), ' ') + t;
}

inline int64_t face12(int64_t h) {
  return h % 12 == 0 ? 12 : h % 12;
}

struct Rounded {
  int64_t hours = 0; // elapsed hours after rounding
  int minutes = 0, seconds = 0;
  std::string fraction; // the decimals shown
};

// u/8 seconds rounded half up at the decimals a clock field of width w
// leaves beside its hours (decided before rounding; a carry that widens
// the hours only drops decimals, which are zeros by then).
inline Rounded round_clock(int64_t u, int w, int d, bool neg, bool twelve) {
  auto decimals = [&](int64_t h) {
    const auto digits =
        static_cast<int>(std::to_string(twelve ? face12(h) : h).size());
    return std::clamp(std::min(d, w - (neg ? 1 : 0) - digits - 7), 0, 99);
  };
  const int n0 = decimals(u / 8 / 3600);
  const int64_t p = pow10(n0);
  const int64_t units = (u * p + 4) / 8;
  const int64_t secs = units / p;
  Rounded r;
  r.hours = secs / 3600;
  r.minutes = static_cast<int>(secs % 3600 / 60);
  r.seconds = static_cast<int>(secs % 60);
  std::string f = n0 > 0 ? std::to_string(units % p) : "";
  f.insert(0, static_cast<std::size_t>(n0) - f.size(), '0');
  r.fraction = f.substr(0, static_cast<std::size_t>(decimals(r.hours)));
  return r;
}

inline std::string clock_text(const Rounded &r, int w, bool neg,
                              int64_t hours_shown) {
  std::string t = (neg ? "-" : "") + std::to_string(hours_shown);
  const auto lead = static_cast<int>(t.size());
  if (w < lead) return std::string(static_cast<std::size_t>(w), '*');
  if (w >= lead + 3) t += ":" + two(r.minutes);
  if (w >= lead + 6) {
    t += ":" + two(r.seconds);
    if (!r.fraction.empty()) t += "." + r.fraction;
  }
  return right(t, w);
}

// TIME of eighths/8 seconds.
inline std::string time_text(int64_t eighths, int w, int d) {
  const bool neg = eighths < 0;
  const Rounded r = round_clock(neg ? -eighths : eighths, w, d, neg, false);
  return clock_text(r, w, neg, r.hours);
}

// TOD: the time of day, a one-digit hour given its zero where a column is
// free.
inline std::string tod_text(int64_t eighths, int w, int d) {
  const int64_t e = (eighths % kDayEighths + kDayEighths) % kDayEighths;
  const Rounded r = round_clock(e, w, d, false, false);
  std::string t = clock_text(r, w, false, r.hours);
  const auto at = t.find_first_not_of(' ');
  if (r.hours < 10 && at != std::string::npos && at > 0) t[at - 1] = '0';
  return t;
}

// TIMEAMPM of a time of day (0 <= eighths < kDayEighths).
inline std::string ampm_text(int64_t eighths, int w, int d) {
  if (w < 5) {
    // The marker alone, from the time rounded to d decimals.
    const int64_t secs = d == 0 ? (eighths + 4) / 8 : eighths / 8;
    return right(secs / 3600 % 24 >= 12 ? "PM" : "AM", w);
  }
  const Rounded r = round_clock(eighths, w - 3, d, false, true);
  return clock_text(r, w - 3, false, face12(r.hours)) +
         (r.hours % 24 >= 12 ? " PM" : " AM");
}

} // namespace timeref
