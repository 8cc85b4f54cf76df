// Text of packed ISO 8601 values under the style flags.
//
// Choices where the style words leave room (docs/iso8601.md shows each
// with examples):
//  - Points: 2 writes the basic form, 8 the extended one.  The text runs
//    from the year to the last component present; a wholly omitted date
//    starts the text at "T", a wholly omitted time ends it after the date.
//    An omitted component inside that run is "-" under 32 and x's (one per
//    digit) under 16; without either the text stops before it (reduced
//    precision), and an omitted year is shown as "-" all the same.
//  - Fractions are ".fff" in thousandths after written seconds; the forms
//    without delimiters (basic points, designators, the basic alternative
//    duration) drop trailing zeros.  The basic point keeps its decimal
//    point: digits run together with the seconds would read as other
//    seconds.
//  - Durations: 1 writes designators in the order Y M D T H M S.  Omitted
//    components are not written; zero ones only under 64.  A duration with
//    nothing to write is "PT0S" (or "P0D" without time components).
//    4 writes the extended alternative form Pyyyy-mm-ddThh:mm:ss, 4096 the
//    basic one; omitted components there are "-" (32), x's (16) or zeros.
//    A duration past a carry-over point of that form (more than 30 days,
//    24 hours, 59 minutes or 59 seconds, as the designator readers give)
//    is written with designators instead, which say the same length.
//    The single-unit layout is always written with its designator ("W"
//    for weeks), a negative count with a leading "-".
#include "datetime/iso8601/iso_text.h"

#include <cstring>

#include "core/digits.h"

namespace valfmt {
namespace {

constexpr char kUnitLetters[] = "YMDHMS";
constexpr char kSingleLetters[] = "YMWDHMS";

struct Writer {
  char *out;
  int32_t len = 0;
  void put(char c) { out[len++] = c; }
  void put(const char *s) {
    while (*s != '\0') put(*s++);
  }
  void number(uint64_t u) {
    const int32_t n = digit_count(u);
    write_digits_backward(out + len + n, u, n);
    len += n;
  }
  void digits(int32_t v, int32_t n) {
    write_digits_backward(out + len + n, static_cast<uint64_t>(v), n);
    len += n;
  }
  // ".fff", or fewer digits without trailing zeros when trim is set.
  void fraction(int32_t thousandths, bool trim) {
    int32_t n = 3;
    int32_t f = thousandths;
    if (trim) {
      if (f == 0) return;
      while (f % 10 == 0) {
        f /= 10;
        --n;
      }
    }
    put('.');
    digits(f, n);
  }
};

int32_t part_width(int32_t p) {
  return p == kYear ? 4 : 2;
}

// Writes the omitted marker of component p; false when there is none.
bool omitted_marker(Writer &w, int32_t p, uint32_t flags) {
  if ((flags & kIsoOmittedX) != 0) {
    for (int32_t i = 0; i < part_width(p); ++i) w.put('x');
    return true;
  }
  if ((flags & kIsoOmittedHyphen) != 0) {
    w.put('-');
    return true;
  }
  return false;
}

int32_t last_present(const IsoValue &v, int32_t from, int32_t to) {
  int32_t last = -1;
  for (int32_t p = from; p <= to; ++p)
    if (v.part[p] != kOmitted) last = p;
  return last;
}

// Components from..last of a point; false when an omission cut it short.
bool point_run(Writer &w, const IsoValue &v, int32_t from, int32_t last,
               uint32_t flags, char delimiter) {
  for (int32_t p = from; p <= last; ++p) {
    const bool marked =
        v.part[p] == kOmitted && (flags & (kIsoOmittedX | kIsoOmittedHyphen));
    if (v.part[p] == kOmitted && !marked && p != from) return false;
    if (p > from && delimiter != 0) w.put(delimiter);
    if (v.part[p] != kOmitted)
      w.digits(v.part[p], part_width(p));
    else if (!omitted_marker(w, p, flags))
      w.put('-'); // nothing before it: the omitted lead is shown
  }
  return true;
}

void point_text(Writer &w, const IsoValue &v, uint32_t flags) {
  const bool extended = (flags & kIsoPointExtended) != 0;
  const int32_t last_date = last_present(v, kYear, kDay);
  const int32_t last_time = last_present(v, kHour, kSecond);
  if (last_date >= 0 &&
      !point_run(w, v, kYear, last_date, flags, extended ? '-' : 0))
    return;
  if (last_time < 0) return;
  w.put('T');
  if (!point_run(w, v, kHour, last_time, flags, extended ? ':' : 0)) return;
  if (last_time == kSecond && v.fraction != kOmitted)
    w.fraction(v.fraction, !extended);
}

void single_unit_text(Writer &w, const IsoValue &v) {
  const int32_t base = v.unit & ~kThousandths;
  if (v.count < 0) w.put('-');
  w.put('P');
  if (base >= kUnitHours) w.put('T');
  const uint64_t mag = static_cast<uint64_t>(v.count < 0 ? -v.count : v.count);
  if ((v.unit & kThousandths) != 0) {
    w.number(mag / 1000);
    w.fraction(static_cast<int32_t>(mag % 1000), true);
  } else {
    w.number(mag);
  }
  w.put(kSingleLetters[base]);
}

void designator_text(Writer &w, const IsoValue &v, uint32_t flags) {
  const bool zeros = (flags & kIsoZeros) != 0;
  w.put('P');
  const int32_t start = w.len;
  bool time_started = false;
  for (int32_t p = kYear; p <= kSecond; ++p) {
    const bool fraction = p == kSecond && v.fraction != kOmitted;
    if (v.part[p] == kOmitted && !fraction) continue;
    const int32_t value = v.part[p] == kOmitted ? 0 : v.part[p];
    if (value == 0 && (!fraction || v.fraction == 0) && !zeros) continue;
    if (p >= kHour && !time_started) {
      w.put('T');
      time_started = true;
    }
    w.number(static_cast<uint64_t>(value));
    if (fraction) w.fraction(v.fraction, true);
    w.put(kUnitLetters[p]);
  }
  if (w.len == start)
    w.put(last_present(v, kHour, kSecond) >= 0 || v.fraction != kOmitted
              ? "T0S"
              : "0D");
}

void alternative_text(Writer &w, const IsoValue &v, uint32_t flags) {
  const bool extended = (flags & kIsoAlternative) != 0;
  w.put('P');
  for (int32_t p = kYear; p <= kSecond; ++p) {
    if (p == kHour) w.put('T');
    if (v.part[p] != kOmitted)
      w.digits(v.part[p], part_width(p));
    else if (!omitted_marker(w, p, flags))
      w.digits(0, part_width(p));
    if (extended && (p == kYear || p == kMonth)) w.put('-');
    if (extended && (p == kHour || p == kMinute)) w.put(':');
  }
  if (v.fraction != kOmitted) w.fraction(v.fraction, !extended);
}

// The alternative form holds components up to their carry-over points
// only (30 days, 24 hours, 59 minutes and seconds; months stop at 12 in
// the layout already).
bool within_carry_over(const IsoValue &v) {
  auto at_most = [&](int32_t p, int32_t hi) {
    return v.part[p] == kOmitted || v.part[p] <= hi;
  };
  return at_most(kDay, 30) && at_most(kHour, 24) && at_most(kMinute, 59) &&
         at_most(kSecond, 59);
}

} // namespace

int32_t convert_to_text(const IsoValue &v, uint32_t flags, char *out) {
  Writer w{out};
  if (v.point)
    point_text(w, v, flags);
  else if (v.single)
    single_unit_text(w, v);
  else if ((flags & (kIsoAlternative | kIsoAlternativeBasic)) != 0 &&
           within_carry_over(v))
    alternative_text(w, v, flags);
  else
    designator_text(w, v, flags);
  return w.len;
}

bool fit_to_target(char *text, int32_t len, char *out, int32_t w) {
  while (len > w) {
    // The last fraction: a point followed by at least one digit.
    int32_t dot = -1;
    for (int32_t i = len - 1; i >= 0 && dot < 0; --i)
      if (text[i] == '.' && i + 1 < len && text[i + 1] >= '0' &&
          text[i + 1] <= '9')
        dot = i;
    if (dot < 0) {
      std::memset(out, '*', static_cast<std::size_t>(w));
      return false;
    }
    int32_t end = dot + 1;
    while (end < len && text[end] >= '0' && text[end] <= '9') ++end;
    // Drop the last digit, and the point with it when it was the only one.
    const int32_t from = end - 1 == dot + 1 ? dot : end - 1;
    std::memmove(text + from, text + end, static_cast<std::size_t>(len - end));
    len -= end - from;
  }
  std::memcpy(out, text, static_cast<std::size_t>(len));
  std::memset(out + len, ' ', static_cast<std::size_t>(w - len));
  return true;
}

} // namespace valfmt
