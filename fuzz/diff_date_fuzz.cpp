// libFuzzer target: DATE's fast calendar split against the reference
// civil_from_day, and DATE's text at every width against one composed from
// the reference split.  Input: a date value (8 bytes) and a width byte.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "datetime/calendar.h"
#include "datetime/civil_fast.h"
#include "registry/functions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 9) return 0;
  double v;
  std::memcpy(&v, data, sizeof v);
  const int32_t w = 5 + data[8] % 7;
  char out[16];
  std::memset(out, '#', sizeof out);
  fmtcall c{};
  c.w = w;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  const int32_t st = zfmdate(&c);
  if (!valfmt::date_in_range(v)) return 0; // missing or out of range
  const int64_t day = valfmt::day_of_date(v);
  const valfmt::YearMonthDay f = valfmt::civil_fast(day);
  const valfmt::CivilDate r = valfmt::civil_from_day(day);
  if (f.year != r.year || f.month != r.month || f.day != r.day)
    __builtin_trap();
  // Day, month abbreviation, two- or four-digit year ("****" above 9999),
  // dashes at 11; even widths lead with a blank.
  char year[8];
  if (r.year <= 9999)
    std::snprintf(year, sizeof year, "%04d", r.year);
  else
    std::memcpy(year, "****", 5);
  char text[24];
  const int32_t odd = w % 2 == 0 ? w - 1 : w;
  const char *mon = valfmt::kMonthAbbrev[r.month - 1];
  if (odd == 5) std::snprintf(text, sizeof text, "%02d%s", r.day, mon);
  if (odd == 7)
    std::snprintf(text, sizeof text, "%02d%s%02d", r.day, mon, r.year % 100);
  if (odd == 9) std::snprintf(text, sizeof text, "%02d%s%s", r.day, mon, year);
  if (odd == 11)
    std::snprintf(text, sizeof text, "%02d-%s-%s", r.day, mon, year);
  char expected[24];
  std::snprintf(expected, sizeof expected, "%s%s", w % 2 == 0 ? " " : "", text);
  if (st != VF_OK || c.outlen != w ||
      std::memcmp(out, expected, static_cast<size_t>(w)) != 0)
    __builtin_trap();
  return 0;
}
