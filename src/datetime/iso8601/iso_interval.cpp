// derive_interval: the missing end of an interval given as start/duration
// or duration/end, in calendar arithmetic.
//
// A duration is applied in two steps, years and months first, then the
// exact part (weeks, days, hours, minutes, seconds and thousandths):
//  - years and months move the month; a day past the end of the new month
//    becomes its last day (2024-01-31 plus P1M is 2024-02-29, 2024-02-29
//    plus P1Y is 2025-02-28);
//  - the exact part moves the instant by its length on the calendar's
//    days of 86400 seconds (leap seconds are not represented).
// compute_start takes the same steps with the duration negated, so
// 2024-03-31 less P1M is 2024-02-29.  The derived point keeps the
// precision of the given one: a point down to the day can take P1M or
// P3D but not PT12H (VF_ERR_DATE_RANGE), and a point needs its year and
// every component down to its last one.  Years 1..9999 only.  Months and
// years in thousandths are refused unless whole.
#include <cstdint>

#include "datetime/calendar.h"
#include "datetime/iso8601/iso_reader.h"
#include "valfmt.h"

namespace valfmt {
namespace {

constexpr int64_t kMsPerSecond = 1000;
constexpr int64_t kMsPerDay = 86400 * kMsPerSecond;
// Length of one unit of each component (ms), and of the exact units of the
// single-unit layout by code.
constexpr int64_t kPartMs[kPartCount] = {0,       0,     kMsPerDay,
                                         3600000, 60000, kMsPerSecond};
constexpr int64_t kUnitMs[7] = {0,       0,     7 * kMsPerDay, kMsPerDay,
                                3600000, 60000, kMsPerSecond};

struct Shift {
  int64_t months = 0;
  int64_t ms = 0;
};

bool duration_shift(const IsoValue &d, Shift &s) {
  if (d.single) {
    const int32_t base = d.unit & ~kThousandths;
    const bool thousandths = (d.unit & kThousandths) != 0;
    if (base <= kUnitMonths) {
      if (thousandths && d.count % 1000 != 0) return false;
      const int64_t n = thousandths ? d.count / 1000 : d.count;
      s.months = base == kUnitYears ? 12 * n : n;
    } else {
      s.ms = d.count * kUnitMs[base] / (thousandths ? 1000 : 1);
    }
    return true;
  }
  auto part = [&](int32_t p) -> int64_t {
    return d.part[p] == kOmitted ? 0 : d.part[p];
  };
  s.months = 12 * part(kYear) + part(kMonth);
  for (int32_t p = kDay; p <= kSecond; ++p) s.ms += part(p) * kPartMs[p];
  if (d.fraction != kOmitted) s.ms += d.fraction;
  return true;
}

// The point moved by sign * s; false when it cannot carry the result.
bool shift_point(const IsoValue &at, const Shift &s, int32_t sign,
                 IsoValue &out) {
  int32_t last = -1;
  for (int32_t p = kYear; p <= kSecond; ++p) {
    if (at.part[p] == kOmitted) break;
    last = p;
  }
  for (int32_t p = last + 1; p <= kSecond; ++p)
    if (at.part[p] != kOmitted) return false; // a gap
  if (last < kYear || at.part[kYear] < 1) return false;
  if (s.months != 0 && last < kMonth) return false;
  const int64_t finest =
      at.fraction != kOmitted && last == kSecond ? 1 : kPartMs[last];
  if (s.ms != 0 && (finest == 0 || s.ms % finest != 0)) return false;
  out = at;
  int32_t y = at.part[kYear];
  int32_t m = last >= kMonth ? at.part[kMonth] : 1;
  int32_t d = last >= kDay ? at.part[kDay] : 1;
  const int64_t index = int64_t{y} * 12 + (m - 1) + sign * s.months;
  if (index < 12 || index >= 10000 * 12) return false;
  y = static_cast<int32_t>(index / 12);
  m = static_cast<int32_t>(index % 12) + 1;
  if (d > month_length(y, m)) d = month_length(y, m);
  int64_t ms = 0;
  if (s.ms != 0) {
    auto part = [&](int32_t p) -> int64_t {
      return at.part[p] == kOmitted ? 0 : at.part[p];
    };
    const int64_t t = day_from_civil(y, m, d) * kMsPerDay +
                      part(kHour) * 3600000 + part(kMinute) * 60000 +
                      part(kSecond) * kMsPerSecond +
                      (at.fraction == kOmitted ? 0 : at.fraction) + sign * s.ms;
    int64_t day = t / kMsPerDay;
    ms = t % kMsPerDay;
    if (ms < 0) {
      ms += kMsPerDay;
      --day;
    }
    if (day < day_from_civil(1, 1, 1) || day > day_from_civil(9999, 12, 31))
      return false;
    const CivilDate c = civil_from_day(day);
    y = c.year;
    m = c.month;
    d = c.day;
  }
  out.part[kYear] = y;
  if (last >= kMonth) out.part[kMonth] = m;
  if (last >= kDay) out.part[kDay] = d;
  if (s.ms != 0) {
    if (last >= kHour) out.part[kHour] = static_cast<int32_t>(ms / 3600000);
    if (last >= kMinute)
      out.part[kMinute] = static_cast<int32_t>(ms / 60000 % 60);
    if (last >= kSecond)
      out.part[kSecond] = static_cast<int32_t>(ms / 1000 % 60);
    if (at.fraction != kOmitted) out.fraction = static_cast<int32_t>(ms % 1000);
  }
  return true;
}

int32_t compute_end(const IsoValue &start, const IsoValue &duration,
                    IsoValue &end) {
  Shift s;
  if (!duration_shift(duration, s) || !shift_point(start, s, 1, end))
    return VF_ERR_DATE_RANGE;
  return VF_OK;
}

int32_t compute_start(const IsoValue &duration, const IsoValue &end,
                      IsoValue &start) {
  Shift s;
  if (!duration_shift(duration, s) || !shift_point(end, s, -1, start))
    return VF_ERR_DATE_RANGE;
  return VF_OK;
}

} // namespace

int32_t derive_interval(const IsoValue &first, const IsoValue &second,
                        IsoValue &start, IsoValue &end) {
  if (first.missing || second.missing) return VF_ERR_DATE_TEXT;
  if (first.point && second.point) {
    start = first;
    end = second;
    return VF_OK;
  }
  if (first.point) {
    start = first;
    return compute_end(first, second, end);
  }
  if (second.point) {
    end = second;
    return compute_start(first, second, start);
  }
  return VF_ERR_DATE_TEXT;
}

} // namespace valfmt
