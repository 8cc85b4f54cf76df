// The percent-directive engine: the value is split once into the calendar
// and clock parts it holds, then each directive letter is looked up in a
// table of small writers that read those parts.
#include "datetime/date_directives.h"

#include <array>
#include <cmath>

#include "core/missing.h"
#include "datetime/calendar.h"

namespace valfmt {
namespace {

constexpr std::string_view kWeekdayNames[7] = {
    "Sunday",   "Monday", "Tuesday", "Wednesday",
    "Thursday", "Friday", "Saturday"};
constexpr std::string_view kMonthNames[12] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The parts of one value that the directives print.
struct DateParts {
  bool has_date = false;
  bool has_time = false;
  int64_t day = 0; // the date value in whole days
  CivilDate civil{};
  int32_t weekday = 0; // 1 Sunday .. 7 Saturday
  int64_t hour = 0;
  int64_t minute = 0;
  int64_t second = 0;
};

bool split_date(double date, DateParts &p) {
  if (is_missing(date) || !date_in_range(date)) return false;
  p.day = day_of_date(date);
  p.civil = civil_from_day(p.day);
  p.weekday = weekday_of(p.day);
  return true;
}

// A time of day; the clock accepts the whole datetime range.
bool split_time(double time, DateParts &p) {
  if (is_missing(time) || !datetime_in_range(time)) return false;
  const double s = seconds_of_day(time);
  p.hour = static_cast<int64_t>(s / 3600);
  p.minute = static_cast<int64_t>(std::trunc(std::fmod(s, 3600)) / 60);
  p.second = static_cast<int64_t>(std::fmod(s, 60));
  return true;
}

bool split_datetime(double x, DateParts &p) {
  if (is_missing(x) || !datetime_in_range(x)) return false;
  // Counted from the first valid second, so that truncation is the floor.
  const double date = std::trunc((x - kFirstDatetime) / kSecondsPerDay) +
                      static_cast<double>(kFirstDate);
  const double time =
      std::fmod(x <= 0 ? x - kFirstDatetime : x, kSecondsPerDay);
  return split_date(date, p) && split_time(time, p);
}

// False when a part the kind needs is missing or out of range.
bool split_value(double value, DateKind kind, DateParts &p) {
  switch (kind) {
  case DateKind::kDate:
    p.has_date = true;
    return split_date(value, p);
  case DateKind::kTime:
    p.has_time = true;
    return split_time(value, p);
  case DateKind::kDatetime:
    p.has_date = p.has_time = true;
    return split_datetime(value, p);
  default:
    return true;
  }
}

// The caller's buffer: bytes past its size are dropped.
struct Sink {
  char *buf;
  int32_t size;
  int32_t n = 0;

  void put(char c) {
    if (n < size) buf[n++] = c;
  }
  void put(std::string_view s) {
    for (char c : s) put(c);
  }
  // A non-negative v in at least `digits` columns, zeros on the left.
  void number(int64_t v, int digits) {
    char tmp[24];
    int k = 0;
    do {
      tmp[k++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v > 0 && k < 20);
    for (int i = k; i < digits; ++i) put('0');
    while (k > 0) put(tmp[--k]);
  }
  // Two-digit quantities: one digit below 10 unless zeros were asked for.
  void two(int64_t v, bool zero) { number(v, v < 10 && !zero ? 1 : 2); }
};

// --- the directive writers ---------------------------------------------------

using DirectiveWriter = void (*)(const DateParts &, char letter, bool zero,
                                 Sink &);

void put_percent(const DateParts &, char, bool, Sink &out) {
  out.put('%');
}

void put_name(const DateParts &p, char letter, bool, Sink &out) {
  const bool weekday = letter == 'A' || letter == 'a';
  const std::string_view name =
      date_name(weekday ? p.weekday : p.civil.month, letter);
  for (char c : name) {
    if (letter == 'b' && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    out.put(c);
  }
}

void put_day(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.civil.day, zero);
}
void put_month(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.civil.month, zero);
}
void put_short_year(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.civil.year % 100, zero);
}
void put_year(const DateParts &p, char, bool, Sink &out) {
  out.number(p.civil.year, 4);
}
void put_day_of_year(const DateParts &p, char, bool zero, Sink &out) {
  out.number(p.civil.yday, zero ? 3 : 1);
}
void put_quarter(const DateParts &p, char, bool, Sink &out) {
  out.number((p.civil.month - 1) / 3 + 1, 1);
}
void put_weekday_number(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.weekday, zero);
}

// Weeks start on Sunday; the days before the year's first Sunday are
// week 0.
void put_week_of_year(const DateParts &p, char, bool zero, Sink &out) {
  const int64_t jan1 = p.day - p.civil.yday + 1;
  const int64_t first_sunday = jan1 + (8 - weekday_of(jan1)) % 7;
  out.two(p.day < first_sunday ? 0 : (p.day - first_sunday) / 7 + 1, zero);
}

void put_hour(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.hour, zero);
}
void put_hour12(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.hour > 12 ? p.hour - 12 : p.hour, zero);
}
void put_minute(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.minute, zero);
}
void put_second(const DateParts &p, char, bool zero, Sink &out) {
  out.two(p.second, zero);
}
void put_meridiem(const DateParts &p, char, bool, Sink &out) {
  out.put(p.hour < 12 ? "AM" : "PM");
}

enum class Needs : uint8_t { kNothing, kDate, kTime };

struct Directive {
  char letter;
  Needs needs;
  DirectiveWriter write;
};

constexpr Directive kDirectives[] = {
    {'%', Needs::kNothing, put_percent},
    {'A', Needs::kDate, put_name},
    {'a', Needs::kDate, put_name},
    {'B', Needs::kDate, put_name},
    {'b', Needs::kDate, put_name},
    {'d', Needs::kDate, put_day},
    {'m', Needs::kDate, put_month},
    {'y', Needs::kDate, put_short_year},
    {'Y', Needs::kDate, put_year},
    {'j', Needs::kDate, put_day_of_year},
    {'q', Needs::kDate, put_quarter},
    {'w', Needs::kDate, put_weekday_number},
    {'U', Needs::kDate, put_week_of_year},
    {'H', Needs::kTime, put_hour},
    {'I', Needs::kTime, put_hour12},
    {'M', Needs::kTime, put_minute},
    {'S', Needs::kTime, put_second},
    {'p', Needs::kTime, put_meridiem},
};

// Position in kDirectives of each ASCII letter, -1 for none.
constexpr std::array<int8_t, 128> kDirectiveOf = [] {
  std::array<int8_t, 128> t{};
  t.fill(-1);
  for (std::size_t i = 0; i < std::size(kDirectives); ++i)
    t[static_cast<unsigned char>(kDirectives[i].letter)] =
        static_cast<int8_t>(i);
  return t;
}();

const Directive *directive_for(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= kDirectiveOf.size() || kDirectiveOf[u] < 0) return nullptr;
  return &kDirectives[kDirectiveOf[u]];
}

bool has_part(const DateParts &p, Needs needs) {
  return needs == Needs::kNothing || (needs == Needs::kDate && p.has_date) ||
         (needs == Needs::kTime && p.has_time);
}

} // namespace

std::string_view date_name(int32_t number, char letter) {
  std::string_view name;
  if ((letter == 'A' || letter == 'a') && number >= 1 && number <= 7)
    name = kWeekdayNames[number - 1];
  else if ((letter == 'B' || letter == 'b') && number >= 1 && number <= 12)
    name = kMonthNames[number - 1];
  else
    return {};
  return letter == 'A' || letter == 'B' ? name : name.substr(0, 3);
}

int32_t expand_date_directives(double value, DateKind kind, const char *picture,
                               int32_t piclen, char *out, int32_t size) {
  if (out == nullptr || size <= 0) return 0;
  DateParts parts;
  Sink sink{out, size};
  if (!split_value(value, kind, parts)) {
    sink.put("ERROR");
    return sink.n;
  }
  for (int32_t i = 0; i < piclen && sink.n < size; ++i) {
    if (picture[i] != '%') {
      sink.put(picture[i]);
      continue;
    }
    if (++i >= piclen) break;
    const bool zero = picture[i] == '0';
    if (zero && ++i >= piclen) break;
    const Directive *d = directive_for(picture[i]);
    if (d != nullptr && has_part(parts, d->needs))
      d->write(parts, picture[i], zero, sink);
  }
  return sink.n;
}

} // namespace valfmt
