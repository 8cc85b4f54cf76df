// read_date_or_duration: ISO 8601 points in time and durations.
//
// Accepted (docs/iso8601.md lists examples):
//  - points: yyyy, yyyy-mm, yyyy-mm-dd, yyyymmdd, each optionally followed
//    by "T" and hh, hh:mm, hh:mm:ss, hhmm or hhmmss, seconds optionally
//    with a fraction after "." or ","; a time alone as "Thh:mm:ss",
//    "hh:mm:ss" or "Thhmmss"; "x" digits (either case) for an omitted
//    component; a final "Z".  Other zone offsets are refused: the packed
//    value has no room for them, and dropping one would move the instant.
//    Months 1..12, days within the month (year and month known), hours
//    0..23, minutes and seconds 0..59 (leap seconds are not represented).
//  - durations: [-]P with designators in the order Y M W D, then T and
//    H M S, integer counts, a fraction on the last one only; or the
//    alternative form Pyyyy-mm-ddThh:mm:ss / PyyyymmddThhmmss.
// Fractions are kept to thousandths; further digits are cut, never
// rounded, so a value never moves into the next second.
// Packing: a duration goes to the ordinary layout when it is not
// negative, has no weeks, a fraction on its seconds at most, and fits the
// fields (years up to 9999, months up to 12, the others up to 99).  Any
// other goes to the single-unit layout, counted in its smallest unit
// (weeks as 7 days, days as 24 hours, hours as 60 minutes, minutes as 60
// seconds; years as 12 months), in thousandths when it has a fraction;
// years and months cannot be mixed with days or smaller units there
// (their length varies), and the count must fit 32 bits.
#include "datetime/iso8601/iso_reader.h"

#include <cstring>

#include "datetime/calendar.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr int64_t kMaxCount = 2147483647;
constexpr int32_t kMaxCountDigits = 18;
// Designators in order; index = unit code of the single-unit layout.
constexpr int32_t kDesignators = 7;
constexpr char kDateLetters[] = "YMWD";
constexpr char kTimeLetters[] = "HMS";
constexpr int64_t kDownFactor[kDesignators] = {12, 1, 7, 24, 60, 60, 1};

struct Cursor {
  const char *p;
  const char *end;
  bool at_end() const { return p == end; }
  char peek() const { return p < end ? *p : '\0'; }
  bool take(char c) {
    if (peek() != c) return false;
    ++p;
    return true;
  }
  bool digit_at(int32_t k) const {
    return p + k < end && p[k] >= '0' && p[k] <= '9';
  }
};

bool is_x(char c) {
  return c == 'x' || c == 'X';
}

// n digits (the number) or n x's (kOmitted); false for anything else.
bool read_field(Cursor &c, int32_t n, int32_t &value) {
  if (c.end - c.p < n) return false;
  if (is_x(*c.p)) {
    for (int32_t i = 0; i < n; ++i)
      if (!is_x(c.p[i])) return false;
    value = kOmitted;
  } else {
    value = 0;
    for (int32_t i = 0; i < n; ++i) {
      if (!c.digit_at(i)) return false;
      value = value * 10 + (c.p[i] - '0');
    }
  }
  c.p += n;
  return true;
}

bool field_follows(const Cursor &c) {
  return c.digit_at(0) || is_x(c.peek());
}

// Thousandths of a fraction after "." or ",", cut after three digits.
bool read_fraction(Cursor &c, int32_t &thousandths) {
  if (!c.take('.') && !c.take(',')) return false;
  if (!c.digit_at(0)) return false;
  thousandths = 0;
  int32_t n = 0;
  for (; c.digit_at(0); ++c.p, ++n)
    if (n < 3) thousandths = thousandths * 10 + (*c.p - '0');
  for (; n < 3; ++n) thousandths *= 10;
  return true;
}

bool read_time(Cursor &c, IsoValue &v) {
  if (!read_field(c, 2, v.part[kHour])) return false;
  const bool extended = c.peek() == ':';
  for (int32_t p = kMinute; p <= kSecond; ++p) {
    if (extended ? !c.take(':') : !field_follows(c)) break;
    if (!read_field(c, 2, v.part[p])) return false;
  }
  if (c.peek() == '.' || c.peek() == ',') {
    if (v.part[kSecond] == kOmitted) return false;
    if (!read_fraction(c, v.fraction)) return false;
  }
  return true;
}

bool read_date(Cursor &c, IsoValue &v) {
  if (!read_field(c, 4, v.part[kYear])) return false;
  if (c.take('-')) {
    if (!read_field(c, 2, v.part[kMonth])) return false;
    if (c.take('-') && !read_field(c, 2, v.part[kDay])) return false;
    return true;
  }
  if (!field_follows(c)) return true;
  return read_field(c, 2, v.part[kMonth]) && read_field(c, 2, v.part[kDay]);
}

bool in_limits(int32_t value, int32_t lo, int32_t hi) {
  return value == kOmitted || (value >= lo && value <= hi);
}

// Limits of a point's components, or of an alternative-form duration's
// (which carries over at 12 months, 30 days, 24 hours).
bool valid_parts(const IsoValue &v, bool duration) {
  const int32_t *p = v.part;
  if (duration)
    return in_limits(p[kMonth], 0, 12) && in_limits(p[kDay], 0, 30) &&
           in_limits(p[kHour], 0, 24) && in_limits(p[kMinute], 0, 59) &&
           in_limits(p[kSecond], 0, 59);
  if (!in_limits(p[kMonth], 1, 12) || !in_limits(p[kDay], 1, 31) ||
      !in_limits(p[kHour], 0, 23) || !in_limits(p[kMinute], 0, 59) ||
      !in_limits(p[kSecond], 0, 59))
    return false;
  if (p[kYear] != kOmitted && p[kMonth] != kOmitted && p[kDay] != kOmitted)
    return p[kDay] <= month_length(p[kYear], p[kMonth]);
  return true;
}

bool read_point(Cursor &c, IsoValue &v, bool duration) {
  const bool time_only = c.peek() == 'T' || (c.end - c.p > 2 && c.p[2] == ':');
  if (!time_only && !read_date(c, v)) return false;
  if ((c.take('T') || (time_only && !duration)) && !read_time(c, v))
    return false;
  if (!duration) c.take('Z');
  return c.at_end() && valid_parts(v, duration);
}

// Designator counts (kOmitted when absent), the fraction and where it is.
struct Designators {
  int64_t count[kDesignators] = {kOmitted, kOmitted, kOmitted, kOmitted,
                                 kOmitted, kOmitted, kOmitted};
  int32_t fraction = 0;
  int32_t fraction_at = -1;
  bool negative = false;
};

bool read_designators(Cursor &c, Designators &d) {
  int32_t next = 0; // the first designator still allowed
  bool time = false;
  bool any = false;
  while (!c.at_end()) {
    if (!time && c.take('T')) {
      time = true;
      next = 4;
      if (c.at_end()) return false;
      continue;
    }
    if (d.fraction_at >= 0 || !c.digit_at(0)) return false;
    int64_t n = 0;
    for (int32_t k = 0; c.digit_at(0); ++c.p, ++k) {
      if (k == kMaxCountDigits) return false;
      n = n * 10 + (*c.p - '0');
    }
    int32_t frac = -1;
    if ((c.peek() == '.' || c.peek() == ',') && !read_fraction(c, frac))
      return false;
    const char *letters = time ? kTimeLetters : kDateLetters;
    const char *hit = std::strchr(letters, c.peek());
    if (c.peek() == '\0' || hit == nullptr) return false;
    const int32_t at = static_cast<int32_t>(hit - letters) + (time ? 4 : 0);
    if (at < next) return false;
    ++c.p;
    d.count[at] = n;
    if (frac >= 0) {
      d.fraction = frac;
      d.fraction_at = at;
    }
    next = at + 1;
    any = true;
  }
  return any;
}

bool pack_ordinary(const Designators &d, IsoValue &v) {
  constexpr int32_t kFrom[kPartCount] = {0, 1, 3, 4, 5, 6};
  constexpr int64_t kMax[kPartCount] = {9999, 12, 99, 99, 99, 99};
  if (d.negative || d.count[2] != kOmitted) return false;
  if (d.fraction_at >= 0 && d.fraction_at != 6) return false;
  for (int32_t p = 0; p < kPartCount; ++p)
    if (d.count[kFrom[p]] > kMax[p]) return false;
  for (int32_t p = 0; p < kPartCount; ++p)
    v.part[p] = static_cast<int32_t>(d.count[kFrom[p]]);
  v.fraction = d.fraction_at == 6 ? d.fraction : kOmitted;
  return true;
}

bool pack_single_unit(const Designators &d, IsoValue &v) {
  int32_t first = -1;
  int32_t last = -1;
  for (int32_t i = 0; i < kDesignators; ++i)
    if (d.count[i] != kOmitted) {
      if (first < 0) first = i;
      last = i;
    }
  // Years and months cannot be counted in days or smaller units.
  if (first <= kUnitMonths && last > kUnitMonths) return false;
  int64_t total = 0;
  for (int32_t i = first; i <= last; ++i) {
    const int64_t n = d.count[i] == kOmitted ? 0 : d.count[i];
    if (n > kMaxCount || total > kMaxCount) return false;
    total += n;
    if (i < last) total *= kDownFactor[i];
  }
  if (d.fraction_at >= 0) total = total * 1000 + d.fraction;
  if (total > kMaxCount) return false;
  v.single = true;
  v.count = d.negative ? -total : total;
  v.unit = last | (d.fraction_at >= 0 ? kThousandths : 0);
  return true;
}

bool read_duration(Cursor &c, IsoValue &v) {
  Designators d;
  d.negative = c.take('-');
  if (!c.take('P')) return false;
  // The alternative form: a date of 4 digits and "-", or of 8 digits.
  int32_t k = 0;
  while (c.digit_at(k)) ++k;
  const char after = c.p + k < c.end ? c.p[k] : '\0';
  const bool alternative =
      (k == 4 && after == '-') || (k == 8 && (after == 'T' || after == '\0')) ||
      (k == 0 && after == 'T' && c.end - c.p > 3 && c.p[3] == ':');
  if (alternative) {
    if (d.negative) return false;
    return read_point(c, v, true);
  }
  if (!read_designators(c, d)) return false;
  return pack_ordinary(d, v) || pack_single_unit(d, v);
}

} // namespace

int32_t read_date_or_duration(const char *text, int32_t len, IsoValue &v) {
  v = IsoValue{};
  Cursor c{text, text + (len > 0 ? len : 0)};
  while (c.p < c.end && *c.p == ' ') ++c.p;
  while (c.end > c.p && c.end[-1] == ' ') --c.end;
  if (c.at_end()) {
    v.missing = true;
    return VF_OK;
  }
  const bool duration =
      c.peek() == 'P' || (c.peek() == '-' && c.end - c.p > 1 && c.p[1] == 'P');
  v.point = !duration;
  const bool ok = duration ? read_duration(c, v) : read_point(c, v, false);
  if (!ok) {
    v = IsoValue{};
    return VF_ERR_DATE_TEXT;
  }
  return VF_OK;
}

} // namespace valfmt
