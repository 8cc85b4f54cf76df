// The locale pattern expander.  After '%' come an optional flag ('#' for
// numbers without padding, '0' for zero padding, the default), an optional
// '?' that selects the lower-case variant of the letter, and the directive
// letter.  A letter means the same in either case unless the table has
// both cases (a/A, b/B, g/G, m/M, q/Q, u/U, v/V, w/W, y/Y, z/Z).  Names,
// clock parts and markers that are missing or unreadable show as "**";
// so do date parts when the date is missing.
#include "nls/expand.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string_view>

#include "core/call.h"
#include "datetime/calendar.h"
#include "datetime/local_zone.h"
#include "nls/nl_output.h"

namespace valfmt {
namespace {

constexpr int32_t kWorkMax = 2048;
constexpr int32_t kAbbrevWeekday = 74;
constexpr int32_t kFullWeekday = 81;
constexpr int32_t kAbbrevMonth = 50;
constexpr int32_t kFullMonth = 62;
constexpr int32_t kMorning = 88;
constexpr int32_t kAbbrevQuarter = 90;
constexpr int32_t kFullQuarter = 94;

// Bounded text under construction; overflow only marks it too long.
struct Text {
  char bytes[kWorkMax];
  int32_t len = 0;
  bool overflow = false;
  void add(const char *p, int32_t n) {
    if (n <= 0) return;
    if (len + n > kWorkMax) {
      overflow = true;
      n = kWorkMax - len;
    }
    std::memcpy(bytes + len, p, static_cast<std::size_t>(n));
    len += n;
  }
  void add(char c) { add(&c, 1); }
  void add(std::string_view s) {
    add(s.data(), static_cast<int32_t>(s.size()));
  }
  void stars() { add("**", 2); }
};

// Parts of the value that the directives show.
struct Parts {
  bool has_date = false;
  int32_t year = 0, month = 0, day = 0, yday = 0; // yday 1-based
  int32_t wday = 0;                               // 0 Sunday .. 6 Saturday
  int64_t day_value = 0;
  bool has_hour = false, has_minute = false, has_second = false;
  int64_t hour = 0, minute = 0, second = 0;
};

bool usable(double v) {
  return v == v && v > -9.0e15 && v < 9.0e15; // NaN and missing fail
}

// The ISO 8601 week-numbering year and week of the date: those of the
// Thursday of its Monday-to-Sunday week.
struct IsoWeek {
  int32_t year;
  int32_t week;
};
IsoWeek iso_week(const Parts &p) {
  const int32_t iso_wd = p.wday == 0 ? 7 : p.wday; // Monday 1 .. Sunday 7
  const CivilDate t = civil_from_day(p.day_value - iso_wd + 4);
  return {t.year, (t.yday - 1) / 7 + 1};
}

Parts derive(double date, double hour, double minute, double second) {
  Parts p;
  if (usable(date) && date_in_range(date)) {
    const int64_t day = day_of_date(date);
    const CivilDate c = civil_from_day(day);
    p.has_date = true;
    p.year = c.year;
    p.month = c.month;
    p.day = c.day;
    p.yday = c.yday;
    p.wday = weekday_of(day) - 1;
    p.day_value = day;
  }
  p.has_hour = usable(hour);
  p.has_minute = usable(minute);
  p.has_second = usable(second);
  if (p.has_hour) p.hour = static_cast<int64_t>(hour);
  if (p.has_minute) p.minute = static_cast<int64_t>(minute);
  if (p.has_second) p.second = static_cast<int64_t>(second);
  return p;
}

// A number right-aligned in `digits` places: zeros (pad '0'), blanks
// (pad ' ') or, without padding, only the digits it needs.  More digits
// than places are all written.
void add_number(Text &t, int64_t v, int32_t digits, char pad, bool nopad) {
  char tmp[24];
  int32_t n = 0;
  const bool neg = v < 0;
  uint64_t u = neg ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  do {
    tmp[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (neg) tmp[n++] = '-';
  if (!nopad)
    for (int32_t i = n; i < digits; ++i) t.add(pad);
  while (n > 0) t.add(tmp[--n]);
}

void add_field(Text &t, int32_t locid, int32_t field, int32_t pad_to = 0) {
  std::string_view s;
  if (!read_locale_field(locid, field, s)) {
    t.stars();
    return;
  }
  t.add(s);
  const int32_t shown =
      escaped_length(s.data(), static_cast<int32_t>(s.size()));
  for (int32_t i = shown; i < pad_to; ++i) t.add(' ');
}

// Display length of the longest of `count` fields from `first`.
int32_t longest_field(int32_t locid, int32_t first, int32_t count) {
  int32_t most = 0;
  for (int32_t i = 0; i < count; ++i) {
    std::string_view s;
    if (read_locale_field(locid, first + i, s))
      most = std::max(most,
                      escaped_length(s.data(), static_cast<int32_t>(s.size())));
  }
  return most;
}

// The platform's zone offset east of UTC as +hhmm / -hhmm.
void add_zone_offset(Text &t) {
  const int64_t east = -local_seconds_west();
  const int64_t a = east < 0 ? -east : east;
  t.add(east < 0 ? '-' : '+');
  add_number(t, a / 3600, 2, '0', false);
  add_number(t, (a / 60) % 60, 2, '0', false);
}

// One directive (letter already folded to its variant).  False when the
// letter is not a directive.
bool directive(Text &t, const Parts &p, int32_t locid, char c, bool nopad) {
  if (!p.has_date && is_date_directive(c)) {
    t.stars();
    return true;
  }
  const int32_t quarter = (p.month - 1) / 3;
  switch (c) {
  case 'a':
    add_field(t, locid, kAbbrevWeekday + p.wday);
    return true;
  case 'A':
    add_field(t, locid, kFullWeekday + p.wday);
    return true;
  case 'f':
    add_field(t, locid, kFullWeekday + p.wday,
              longest_field(locid, kFullWeekday, 7));
    return true;
  case 'b':
    add_field(t, locid, kAbbrevMonth + p.month - 1);
    return true;
  case 'B':
    add_field(t, locid, kFullMonth + p.month - 1);
    return true;
  case 'c':
    add_field(t, locid, kFullMonth + p.month - 1,
              longest_field(locid, kFullMonth, 12));
    return true;
  case 'd':
    add_number(t, p.day, 2, '0', nopad);
    return true;
  case 'e':
    add_number(t, p.day, 2, ' ', nopad);
    return true;
  case 'g':
    add_number(t, iso_week(p).year % 100, 2, '0', nopad);
    return true;
  case 'G':
    add_number(t, iso_week(p).year, 4, '0', nopad);
    return true;
  case 'j':
    add_number(t, p.yday, 3, '0', nopad);
    return true;
  case 'm':
    add_number(t, p.month, 2, '0', nopad);
    return true;
  case 'o':
    add_number(t, p.month, 2, ' ', nopad);
    return true;
  case 'q':
    add_field(t, locid, kAbbrevQuarter + quarter);
    return true;
  case 'Q':
    add_field(t, locid, kFullQuarter + quarter);
    return true;
  case 'U':
    add_number(t, (p.yday - 1 + 7 - p.wday) / 7, 2, '0', nopad);
    return true;
  case 'u':
    add_number(t, p.wday == 0 ? 7 : p.wday, 1, '0', nopad);
    return true;
  case 'V':
    add_number(t, iso_week(p).week, 2, '0', nopad);
    return true;
  case 'v':
    return true;
  case 'W':
    add_number(t, (p.yday - 1 - (p.wday + 6) % 7 + 7) / 7, 2, '0', nopad);
    return true;
  case 'w':
    add_number(t, p.wday, 1, '0', nopad);
    return true;
  case 'Y':
    add_number(t, p.year, 4, '0', false);
    return true;
  case 'y':
    add_number(t, p.year % 100, 2, '0', nopad);
    return true;
  case 'Z':
    t.add("XST", 3);
    return true;
  case 'z':
    add_zone_offset(t);
    return true;
  case '%':
    t.add('%');
    return true;
  default:
    break;
  }
  return false;
}

// Clock directives: hour, 12-hour, minute, second, marker.
bool clock_directive(Text &t, const Parts &p, int32_t locid, char c,
                     bool nopad) {
  switch (c) {
  case 'H':
    if (p.has_hour)
      add_number(t, p.hour, 2, '0', nopad);
    else
      t.stars();
    return true;
  case 'I': {
    if (!p.has_hour) {
      t.stars();
      return true;
    }
    const int64_t h12 = p.hour <= 12 ? p.hour : p.hour % 12;
    add_number(t, h12 == 0 ? 12 : h12, 2, '0', nopad);
    return true;
  }
  case 'M':
    if (p.has_minute)
      add_number(t, p.minute, 2, '0', nopad);
    else
      t.stars();
    return true;
  case 'S':
    if (p.has_second)
      add_number(t, p.second, 2, '0', nopad);
    else
      t.stars();
    return true;
  case 'p': {
    if (!p.has_hour) {
      t.stars();
      return true;
    }
    const bool morning = ((p.hour % 24) + 24) % 24 <= 11;
    std::string_view s;
    if (read_locale_field(locid, kMorning + (morning ? 0 : 1), s))
      t.add(s);
    else
      t.add(morning ? "AM" : "PM");
    return true;
  }
  default:
    return false;
  }
}

int32_t expand_into(Text &t, const Parts &p, int32_t locid, const char *pattern,
                    int32_t len) {
  while (len > 0 && pattern[len - 1] == ' ') --len;
  for (int32_t i = 0; i < len; ++i) {
    if (pattern[i] != '%') {
      t.add(pattern[i]);
      continue;
    }
    bool nopad = false;
    bool lower = false;
    if (++i < len && (pattern[i] == '#' || pattern[i] == '0'))
      nopad = pattern[i++] == '#';
    if (i < len && pattern[i] == '?') {
      lower = true;
      ++i;
    }
    if (i >= len) return kExpandBadDirective;
    const char raw = pattern[i];
    if (raw == '%') {
      t.add('%');
      continue;
    }
    const bool is_lower = raw >= 'a' && raw <= 'z';
    const char c = fold_directive(raw, lower || is_lower);
    if (c == '\0') return kExpandBadDirective;
    if (!clock_directive(t, p, locid, c, nopad) &&
        !directive(t, p, locid, c, nopad))
      return kExpandBadDirective;
  }
  return kExpandOk;
}

} // namespace

// Directives that show a part of the date.
bool is_date_directive(char c) {
  switch (c) {
  case 'a':
  case 'A':
  case 'f':
  case 'b':
  case 'B':
  case 'c':
  case 'd':
  case 'e':
  case 'g':
  case 'G':
  case 'j':
  case 'm':
  case 'o':
  case 'q':
  case 'Q':
  case 'U':
  case 'u':
  case 'V':
  case 'W':
  case 'w':
  case 'Y':
  case 'y':
    return true;
  default:
    return false;
  }
}

// The letter a directive character stands for, in the case that selects
// its meaning: a letter listed in one case only means the same in both.
char fold_directive(char letter, bool lower) {
  const char lo = static_cast<char>(letter | 0x20);
  const auto up = static_cast<char>(lo - 32);
  switch (lo) {
  case 'a':
  case 'b':
  case 'g':
  case 'm':
  case 'q':
  case 'u':
  case 'v':
  case 'w':
  case 'y':
  case 'z':
    return lower ? lo : up;
  case 'c':
  case 'd':
  case 'e':
  case 'f':
  case 'j':
  case 'o':
  case 'p':
    return lo;
  case 'h':
  case 'i':
  case 's':
    return up;
  case 'n':
    return 'm'; // %n and %N: month number
  default:
    return '\0';
  }
}

int32_t escaped_length(const char *text, int32_t n) {
  int32_t count = 0;
  for (int32_t i = 0; i < n; ++count) {
    const bool escape = n - i >= 7 && text[i] == '<' &&
                        (text[i + 1] == 'u' || text[i + 1] == 'U') &&
                        text[i + 6] == '>';
    i += escape ? 7 : 1;
  }
  return count;
}

int32_t expand(double date, double hour, double minute, double second,
               int32_t locid, const char *pattern, int32_t len, char *text,
               int32_t &width) {
  Text t;
  const Parts p = derive(date, hour, minute, second);
  if (pattern == nullptr) len = 0;
  const int32_t rc = expand_into(t, p, locid, pattern, len);
  if (rc != kExpandOk) return rc;
  if (text == nullptr) return kExpandOk;
  const int32_t room = width < 0 ? -width : width;
  put_blanks(text, room);
  if (t.overflow || t.len > room) {
    std::memcpy(text, t.bytes, static_cast<std::size_t>(std::min(room, t.len)));
    return kExpandTooLong;
  }
  const int32_t at = width < 0 ? room - t.len : 0;
  std::memcpy(text + at, t.bytes, static_cast<std::size_t>(t.len));
  width = t.len;
  return kExpandOk;
}

} // namespace valfmt
