// The exported calendar and clock routines and their shared tables.
#include <cmath>
#include <cstring>
#include <ctime>
#include <utility>

#include "core/call.h"
#include "core/missing.h"
#include "datetime/calendar.h"

namespace valfmt {
namespace {

// Julian date yyyyddd split into a widened year and a valid day of year.
bool split_julian(double julian, int32_t &year, int32_t &ddd) {
  if (is_missing(julian) || !(julian > 0 && julian <= kLargestJulian))
    return false;
  const int32_t j = static_cast<int32_t>(julian);
  const int32_t y = j / 1000;
  if (y >= 100 && y < kFirstYear) return false;
  const int32_t n = j - 1000 * y;
  // Day 0 of a year names no calendar day; it is refused like day 367.
  if (n < 1 || n > 366) return false;
  year = widen_year(y);
  if (n > 365 + (is_leap(year) ? 1 : 0)) return false;
  ddd = n;
  return true;
}

bool is_valid_date(double date) {
  return !is_missing(date) && date_in_range(date);
}

CivilDate civil_of_date(double date) {
  return civil_from_day(day_of_date(date));
}

// Date value to a calendar part, with missing input propagated.
template <typename Part> double calendar_part(double date, Part part) {
  if (is_missing(date)) return date;
  if (!date_in_range(date)) return standard_missing();
  return part(civil_of_date(date));
}

bool is_valid_clock_value(double x) {
  return !is_missing(x) && datetime_in_range(x);
}

bool is_plain_gregorian_leap(int32_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Writes v as exactly `digits` decimal digits followed by a terminator.
void put_digits_terminated(char *out, int32_t v, int digits) {
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  out[digits] = '\0';
}

// n asterisks followed by a terminator.
void put_stars_terminated(char *out, int n) {
  put_stars(out, n);
  out[n] = '\0';
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

const int32_t dpm[12] = {31, 0, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

const char *const datestgs[31] = {
    "January", "February", "March",     "April",     "May",      "June",
    "July",    "August",   "September", "October",   "November", "December",
    "JAN",     "FEB",      "MAR",       "APR",       "MAY",      "JUN",
    "JUL",     "AUG",      "SEP",       "OCT",       "NOV",      "DEC",
    "Sunday",  "Monday",   "Tuesday",   "Wednesday", "Thursday", "Friday",
    "Saturday"};

VF_API double zjulymd(double year, double month, double day) {
  // Checked on the doubles before truncation; NaN fails every test.
  if (!(month >= 1 && month <= 12) || !(day >= 1 && day <= 31) || !(year >= 0))
    return standard_missing();
  if (year > 99 && !(year >= kFirstYear && year <= kLastYear))
    return standard_missing();
  const int32_t y = widen_year(static_cast<int32_t>(year));
  const int32_t m = static_cast<int32_t>(month);
  const int32_t d = static_cast<int32_t>(day);
  if (d > month_length(y, m)) return standard_missing();
  return static_cast<double>(y) * 1000 + day_of_year(y, m, d);
}

VF_API double zdatjul(double julian) {
  int32_t y = 0, n = 0;
  if (!split_julian(julian, y, n)) return standard_missing();
  return static_cast<double>(day_number(y, n));
}

VF_API int32_t zymdjul(double *year, double *month, double *day,
                       double julian) {
  int32_t y = 0, n = 0;
  double oy = standard_missing(), om = standard_missing(),
         od = standard_missing();
  if (split_julian(julian, y, n)) {
    int32_t m = 0, d = 0;
    month_day(n - 1, is_leap(y), m, d);
    oy = y;
    om = m;
    od = d;
  }
  if (year) *year = oy;
  if (month) *month = om;
  if (day) *day = od;
  return 0;
}

VF_API double zjuldat(double date) {
  return calendar_part(date, [](const CivilDate &c) {
    return static_cast<double>(c.year) * 1000 + c.yday;
  });
}

VF_API double zmdy(double month, double day, double year) {
  return zdatjul(zjulymd(year, month, day));
}

VF_API double zyyq(double year, double quarter) {
  return zmdy((quarter - 1) * 3 + 1, 1, year);
}

VF_API double zyear(double date) {
  return calendar_part(date, [](const CivilDate &c) { return double(c.year); });
}

VF_API double zmonth(double date) {
  return calendar_part(date,
                       [](const CivilDate &c) { return double(c.month); });
}

VF_API double zday(double date) {
  return calendar_part(date, [](const CivilDate &c) { return double(c.day); });
}

VF_API double zqtr(double date) {
  return calendar_part(date, [](const CivilDate &c) {
    const int quarter = (c.month - 1) / 3 + 1; // integer quarter 1..4
    return double(quarter);
  });
}

VF_API double zwekday(double date) {
  if (!is_valid_date(date)) return standard_missing();
  return weekday_of(day_of_date(date));
}

VF_API double zhms(double hour, double minute, double second) {
  if (is_missing(hour) || is_missing(minute) || is_missing(second))
    return standard_missing();
  return (hour * 60 + minute) * 60 + second;
}

VF_API double zdhms(double date, double hour, double minute, double second) {
  if (!is_valid_date(date)) return standard_missing();
  const double t = zhms(hour, minute, second);
  if (is_missing(t)) return standard_missing();
  return date * kSecondsPerDay + t;
}

VF_API double zhour(double x) {
  if (!is_valid_clock_value(x)) return standard_missing();
  return std::trunc(seconds_of_day(x) / 3600);
}

VF_API double zminute(double x) {
  if (!is_valid_clock_value(x)) return standard_missing();
  return std::trunc(std::trunc(std::fmod(seconds_of_day(x), 3600)) / 60);
}

VF_API double zsecond(double x) {
  if (!is_valid_clock_value(x)) return standard_missing();
  return std::fmod(seconds_of_day(x), 60);
}

VF_API double zdatprt(double x) {
  if (!is_valid_clock_value(x)) return standard_missing();
  // Shifted to a positive count first, so truncation is the floor.
  return std::trunc((x - kFirstDatetime) / kSecondsPerDay) +
         static_cast<double>(kFirstDate);
}

VF_API double ztimprt(double x) {
  if (!is_valid_clock_value(x)) return standard_missing();
  return std::fmod(x <= 0 ? x - kFirstDatetime : x, kSecondsPerDay);
}

VF_API int32_t zfmcymd(double *year, double *month, double *day, double date) {
  const bool ok = is_valid_date(date);
  CivilDate c{};
  if (ok) c = civil_of_date(date);
  if (year) *year = ok ? c.year : standard_missing();
  if (month) *month = ok ? c.month : standard_missing();
  if (day) *day = ok ? c.day : standard_missing();
  return ok ? 1 : -1;
}

VF_API int32_t zdatrng(fmtcall *call, int32_t kind) {
  if (call == nullptr) return 1;
  double v = std::nan("");
  if (call->value) std::memcpy(&v, call->value, sizeof v);
  if (call->value && is_missing(v)) {
    // The missing display ignores decimals; the caller's block keeps its
    // own.
    write_missing_field(call, call->w, 0);
    return 2;
  }
  bool ok = true;
  if (kind == 1)
    ok = date_in_range(v);
  else if (kind == 2 || kind == 3)
    ok = datetime_in_range(v);
  if (ok && call->value) return 0;
  fill_stars(call, call->w);
  return 1;
}

VF_API int32_t zwrdmdy(char *monthbuf, char *daybuf, char *yearbuf,
                       double month, double day, double year) {
  if (monthbuf) {
    if (month >= 1 && month < 13) {
      const char *name = datestgs[static_cast<int>(month) - 1];
      std::memcpy(monthbuf, name, std::strlen(name) + 1);
    } else {
      monthbuf[0] = '\0';
    }
  }
  if (daybuf) {
    if (day >= 0 && day < 10)
      put_digits_terminated(daybuf, static_cast<int32_t>(day), 1);
    else if (day >= 10 && day < 100)
      put_digits_terminated(daybuf, static_cast<int32_t>(day), 2);
    else
      put_stars_terminated(daybuf, 2);
  }
  if (yearbuf) {
    if (year >= 0 && year < 100)
      put_digits_terminated(yearbuf, static_cast<int32_t>(year), 2);
    else if (year >= 100 && year < 10000)
      put_digits_terminated(yearbuf, static_cast<int32_t>(year), 4);
    else if (year >= 10000 && year < 100000)
      put_digits_terminated(yearbuf, static_cast<int32_t>(year), 5);
    else
      put_stars_terminated(yearbuf, 5);
  }
  return 0;
}

VF_API int32_t zpxdate(struct tm *tm, double date) {
  if (tm == nullptr) return 1;
  tm->tm_sec = tm->tm_min = tm->tm_hour = 0;
  tm->tm_isdst = 0;
  if (!is_valid_date(date)) {
    tm->tm_mday = 1;
    tm->tm_mon = tm->tm_year = tm->tm_yday = 0;
    tm->tm_wday = 1; // 1 January 1900 was a Monday
    return 1;
  }
  const int64_t fl = day_of_date(date);
  const CivilDate c = civil_from_day(fl);
  tm->tm_mday = c.day;
  tm->tm_mon = c.month - 1;
  tm->tm_year = c.year - 1900;
  tm->tm_wday = weekday_of(fl) - 1;
  tm->tm_yday = c.yday - 1;
  return 0;
}

VF_API int32_t zdatdif(const void *ignored, int64_t *days, double *years,
                       double date1, double date2) {
  (void)ignored;
  if (!is_valid_date(date1) || !is_valid_date(date2)) {
    if (days) *days = 0;
    if (years) *years = standard_missing();
    return 1;
  }
  int64_t a = day_of_date(date1);
  int64_t b = day_of_date(date2);
  const bool negate = a > b;
  if (negate) std::swap(a, b);
  double frac = 0;
  if (a != b) {
    const CivilDate lo = civil_from_day(a), hi = civil_from_day(b);
    // Days are weighed by the plain Gregorian length of their year; a
    // year's own day count still follows the calendar.
    auto basis = [](int32_t y) {
      return is_plain_gregorian_leap(y) ? 366.0 : 365.0;
    };
    if (lo.year == hi.year) {
      frac = static_cast<double>(b - a) / basis(lo.year);
    } else {
      const int32_t lo_len = 365 + (is_leap(lo.year) ? 1 : 0);
      frac = (lo_len - lo.yday + 1) / basis(lo.year) +
             (hi.yday - 1) / basis(hi.year);
      // Whole years between weigh 1, except a year divisible by 4000:
      // 365 calendar days on a 366-day basis.
      const int32_t first = lo.year + 1, last = hi.year - 1;
      if (last >= first) {
        const int32_t k4000 = last / 4000 - (first - 1) / 4000;
        frac += (last - first + 1) - k4000 / 366.0;
      }
    }
  }
  if (days) *days = negate ? a - b : b - a;
  if (years) *years = negate ? -frac : frac;
  return 0;
}

} // extern "C"
