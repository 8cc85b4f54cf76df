// The numeric date formats: day-month-year layouts with their separator
// families, month-year, year-quarter, single components, Julian forms and
// the datetime adapters.  Every format writes exactly w narrow bytes into
// the caller's buffer, never more than outsize, and allocates nothing.
#include <cmath>
#include <cstring>

#include "registry/functions.h"
#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/date_formats.h"
#include "numeric/fixed.h"

namespace valfmt {
namespace {

constexpr char kRomanQuarter[5][4] = {"", "I", "II", "III", "IV"};

// A year in a four-character field: asterisks for a five-digit year.
inline void put_year4(char *p, int32_t y) {
  if (y <= 9999) {
    put_two_digits(p, y / 100);
    put_two_digits(p + 2, y % 100);
  } else {
    write_int_field(y, p, 4);
  }
}

// A two-digit year right-aligned in n >= 2 characters.
inline void put_year2_field(char *p, int32_t n, int32_t year) {
  put_blanks(p, n - 2);
  put_two_digits(p + n - 2, year % 100);
}

// A year right-aligned in n characters: two digits with a leading zero,
// or the full year (asterisks when it does not fit).
inline void put_year_field(char *p, int32_t n, int32_t year, bool two) {
  if (two)
    put_year2_field(p, n, year);
  else
    write_int_field(year, p, n);
}

// The missing display with the decimals taken as 0.
int32_t write_missing(fmtcall *c) {
  const int32_t saved = c->d;
  c->d = 0;
  zfmmiss(c);
  c->d = saved;
  c->outenc = 0;
  return VF_OK;
}

// The common first step: a missing value shows its display (status 0); a
// value outside the date range fills asterisks (VF_ERR_DATE_RANGE).
int32_t cold_range(fmtcall *c) {
  c->outenc = 0;
  return zdatrng(c, 1) == 2 ? VF_OK : VF_ERR_DATE_RANGE;
}

// Runs body(out, w, civil date) for a date in range after the common
// checks.  Body writes exactly w bytes.
template <typename Body>
inline int32_t date_format(fmtcall *c, int32_t minw, int32_t maxw, Body body) {
  int32_t status;
  if (!date_call_ok(c, minw, maxw, &status)) return status;
  const double v = call_value(c);
  if (is_missing(v) || !date_in_range(v)) return cold_range(c);
  const int64_t day = static_cast<int64_t>(std::floor(v));
  body(static_cast<char *>(c->out), c->w, day);
  c->outlen = c->w;
  c->outenc = 0;
  return VF_OK;
}

enum class Order { DMY, MDY, YMD };

int32_t three_part(fmtcall *c, Order order, char sep) {
  const int32_t maxw = sep ? 10 : 8;
  return date_format(c, 2, maxw, [&](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    const int32_t y = w < maxw ? cd.year % 100 : cd.year;
    switch (order) {
    case Order::DMY:
      zfmcprt(out, w, cd.day, cd.month, y, sep);
      break;
    case Order::MDY:
      zfmcprt(out, w, cd.month, cd.day, y, sep);
      break;
    case Order::YMD:
      zfmcprt(out, w, y, cd.month, cd.day, sep);
      break;
    }
  });
}

// MONYY at w 5 or 7 (6 is a blank and 5).
void monyy(char *out, int32_t w, const CivilDate &cd) {
  if (w == 6) {
    *out++ = ' ';
    w = 5;
  }
  std::memcpy(out, kMonthAbbrev[cd.month - 1], 3);
  if (w == 5)
    put_two_digits(out + 3, cd.year % 100);
  else
    put_year4(out + 3, cd.year);
}

// JULIAN and JULDATE: yyyyddd, or yyddd below width 7; blanks among the
// last five characters become zeros.
int32_t julian_date(fmtcall *c, int32_t maxw) {
  return date_format(c, 5, maxw, [](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    int64_t j = static_cast<int64_t>(cd.year) * 1000 + cd.yday;
    if (w < 7) j %= 100000;
    write_int_field(j, out, w);
    for (int32_t i = w - 5; i < w; ++i)
      if (out[i] == ' ') out[i] = '0';
  });
}

// Applies a date format to the day of a datetime value, through a private
// call block: the caller's value is never touched.
int32_t datetime_adapter(fmtcall *c, int32_t minw, int32_t maxw,
                         fmtfn date_fn) {
  int32_t status;
  if (!date_call_ok(c, minw, maxw, &status)) return status;
  const double v = call_value(c);
  if (is_missing(v)) return write_missing(c);
  // A NaN that is not a missing value has no day: show it as out of range.
  const double day = std::isnan(v) ? HUGE_VAL : std::floor(v / kSecondsPerDay);
  fmtcall inner = *c;
  inner.value = &day;
  status = date_fn(&inner);
  c->outlen = inner.outlen;
  c->outenc = inner.outenc;
  return status;
}

} // namespace

bool date_call_ok(fmtcall *c, int32_t minw, int32_t maxw, int32_t *status) {
  if (c == nullptr) {
    *status = VF_ERR_BAD_CALL;
    return false;
  }
  if (c->out == nullptr || c->value == nullptr) {
    fill_stars(c, c->w);
    *status = VF_ERR_BAD_CALL;
    return false;
  }
  if (c->w < minw || c->w > maxw) {
    fill_stars(c, c->w);
    *status = VF_ERR_WIDTH;
    return false;
  }
  if (c->w > c->outsize) {
    fill_stars(c, c->w);
    *status = VF_ERR_OUTSIZE;
    return false;
  }
  return true;
}

void zfmcprt(char *out, int32_t w, int32_t left, int32_t middle, int32_t right,
             char sep) {
  constexpr int32_t kCap = 32;
  if (w <= 0) return;
  if (w > kCap) {
    put_blanks(out, w - kCap);
    out += w - kCap;
    w = kCap;
  }
  char buf[kCap];
  std::memset(buf, ' ', sizeof buf);
  char *p = buf + kCap;
  auto part = [&p](int32_t v) {
    if (v > 99) {
      p -= 4;
      put_year4(p, v);
    } else {
      p -= 2;
      put_two_digits(p, v);
    }
  };
  if (w > 5) part(right);
  if (w > 3) {
    if (w >= 8 && sep) *--p = sep;
    part(middle);
  }
  if ((w == 5 || w >= 8) && sep) *--p = sep;
  part(left);
  std::memcpy(out, buf + kCap - w, static_cast<std::size_t>(w));
}

int32_t zfmdlmy(fmtcall *call, char sep) {
  return date_format(call, sep ? 5 : 4, 32,
                     [sep](char *out, int32_t w, int64_t day) {
                       const CivilDate cd = civil_from_day(day);
                       const bool two = w < (sep ? 7 : 6);
                       int32_t pos = w - (two ? 2 : 4);
                       if (two)
                         put_two_digits(out + pos, cd.year % 100);
                       else
                         put_year4(out + pos, cd.year);
                       if (sep) out[--pos] = sep;
                       put_blanks(out, pos - 2);
                       put_two_digits(out + pos - 2, cd.month);
                     });
}

int32_t zfmdlym(fmtcall *call, char sep) {
  return date_format(call, sep ? 5 : 4, 32,
                     [sep](char *out, int32_t w, int64_t day) {
                       const CivilDate cd = civil_from_day(day);
                       const bool two = w < (sep ? 7 : 6);
                       int32_t pos = w - 2;
                       put_two_digits(out + pos, cd.month);
                       if (sep) out[--pos] = sep;
                       put_year_field(out, pos, cd.year, two);
                     });
}

int32_t zfmdlqy(fmtcall *call, char sep) {
  return date_format(
      call, sep ? 4 : 3, 32, [sep](char *out, int32_t w, int64_t day) {
        const CivilDate cd = civil_from_day(day);
        const bool two = w < (sep ? 6 : 5);
        int32_t pos = w - 1;
        out[pos] = static_cast<char>('0' + (cd.month - 1) / 3 + 1);
        if (sep) out[--pos] = sep;
        put_year_field(out, pos, cd.year, two);
      });
}

int32_t zfmdlyq(fmtcall *call, char sep) {
  return date_format(
      call, sep ? 6 : 5, 32, [sep](char *out, int32_t w, int64_t day) {
        const CivilDate cd = civil_from_day(day);
        const char *numeral = kRomanQuarter[(cd.month - 1) / 3 + 1];
        const int32_t len = static_cast<int32_t>(std::strlen(numeral));
        const bool two = w < len + (sep ? 5 : 4);
        int32_t pos = w - len;
        std::memcpy(out + pos, numeral, static_cast<std::size_t>(len));
        if (sep) out[--pos] = sep;
        put_year_field(out, pos, cd.year, two);
      });
}

} // namespace valfmt

using namespace valfmt;

extern "C" {

// Day-month-year families.
VF_API int32_t zfmddmmyy(fmtcall *c) {
  return three_part(c, Order::DMY, '/');
}
VF_API int32_t zfmddmmyyb(fmtcall *c) {
  return three_part(c, Order::DMY, ' ');
}
VF_API int32_t zfmddmmyyc(fmtcall *c) {
  return three_part(c, Order::DMY, ':');
}
VF_API int32_t zfmddmmyyd(fmtcall *c) {
  return three_part(c, Order::DMY, '-');
}
VF_API int32_t zfmddmmyyn(fmtcall *c) {
  return three_part(c, Order::DMY, 0);
}
VF_API int32_t zfmddmmyyp(fmtcall *c) {
  return three_part(c, Order::DMY, '.');
}
VF_API int32_t zfmddmmyys(fmtcall *c) {
  return three_part(c, Order::DMY, '/');
}
VF_API int32_t zfmmmddyy(fmtcall *c) {
  return three_part(c, Order::MDY, '/');
}
VF_API int32_t zfmmmddyyb(fmtcall *c) {
  return three_part(c, Order::MDY, ' ');
}
VF_API int32_t zfmmmddyyc(fmtcall *c) {
  return three_part(c, Order::MDY, ':');
}
VF_API int32_t zfmmmddyyd(fmtcall *c) {
  return three_part(c, Order::MDY, '-');
}
VF_API int32_t zfmmmddyyn(fmtcall *c) {
  return three_part(c, Order::MDY, 0);
}
VF_API int32_t zfmmmddyyp(fmtcall *c) {
  return three_part(c, Order::MDY, '.');
}
VF_API int32_t zfmmmddyys(fmtcall *c) {
  return three_part(c, Order::MDY, '/');
}
VF_API int32_t zfmyymmdd(fmtcall *c) {
  return three_part(c, Order::YMD, '-');
}
VF_API int32_t zfmyymmddb(fmtcall *c) {
  return three_part(c, Order::YMD, ' ');
}
VF_API int32_t zfmyymmddc(fmtcall *c) {
  return three_part(c, Order::YMD, ':');
}
VF_API int32_t zfmyymmddd(fmtcall *c) {
  return three_part(c, Order::YMD, '-');
}
VF_API int32_t zfmyymmddn(fmtcall *c) {
  return three_part(c, Order::YMD, 0);
}
VF_API int32_t zfmyymmddp(fmtcall *c) {
  return three_part(c, Order::YMD, '.');
}
VF_API int32_t zfmyymmdds(fmtcall *c) {
  return three_part(c, Order::YMD, '/');
}

VF_API int32_t zfmxymd(fmtcall *c) {
  int32_t status;
  if (!date_call_ok(c, 6, 12, &status)) return status;
  if (c->w <= 10) return zfmyymmdd(c);
  // Missing and out-of-range values fill the whole field.
  const int32_t r = zdatrng(c, 1);
  if (r != 0) {
    c->outenc = 0;
    return r == 2 ? VF_OK : VF_ERR_DATE_RANGE;
  }
  const int32_t lead = c->w - 10;
  fmtcall inner = *c;
  inner.w = 10;
  inner.out = static_cast<char *>(c->out) + lead;
  inner.outsize = c->outsize - lead;
  status = zfmyymmdd(&inner);
  put_blanks(static_cast<char *>(c->out), lead);
  c->outlen = c->w;
  c->outenc = 0;
  return status;
}

// Month-year and year-month.
VF_API int32_t zfmmmyy(fmtcall *c) {
  return zfmdlmy(c, 'M');
}
VF_API int32_t zfmmmyyc(fmtcall *c) {
  return zfmdlmy(c, ':');
}
VF_API int32_t zfmmmyyd(fmtcall *c) {
  return zfmdlmy(c, '-');
}
VF_API int32_t zfmmmyyn(fmtcall *c) {
  return zfmdlmy(c, 0);
}
VF_API int32_t zfmmmyyp(fmtcall *c) {
  return zfmdlmy(c, '.');
}
VF_API int32_t zfmmmyys(fmtcall *c) {
  return zfmdlmy(c, '/');
}
VF_API int32_t zfmyymm(fmtcall *c) {
  return zfmdlym(c, 'M');
}
VF_API int32_t zfmyymmc(fmtcall *c) {
  return zfmdlym(c, ':');
}
VF_API int32_t zfmyymmd(fmtcall *c) {
  return zfmdlym(c, '-');
}
VF_API int32_t zfmyymmn(fmtcall *c) {
  return zfmdlym(c, 0);
}
VF_API int32_t zfmyymmp(fmtcall *c) {
  return zfmdlym(c, '.');
}
VF_API int32_t zfmyymms(fmtcall *c) {
  return zfmdlym(c, '/');
}

// Year and quarter.
VF_API int32_t zfmyyq(fmtcall *c) {
  return zfmdlqy(c, 'Q');
}
VF_API int32_t zfmyyqc(fmtcall *c) {
  return zfmdlqy(c, ':');
}
VF_API int32_t zfmyyqd(fmtcall *c) {
  return zfmdlqy(c, '-');
}
VF_API int32_t zfmyyqn(fmtcall *c) {
  return zfmdlqy(c, 0);
}
VF_API int32_t zfmyyqp(fmtcall *c) {
  return zfmdlqy(c, '.');
}
VF_API int32_t zfmyyqs(fmtcall *c) {
  return zfmdlqy(c, '/');
}
VF_API int32_t zfmyyqz(fmtcall *c) {
  int32_t status;
  if (!date_call_ok(c, 4, 6, &status)) return status;
  return zfmdlqy(c, '0');
}
VF_API int32_t zfmyyqr(fmtcall *c) {
  return zfmdlyq(c, 'Q');
}
VF_API int32_t zfmyyqrc(fmtcall *c) {
  return zfmdlyq(c, ':');
}
VF_API int32_t zfmyyqrd(fmtcall *c) {
  return zfmdlyq(c, '-');
}
VF_API int32_t zfmyyqrn(fmtcall *c) {
  return zfmdlyq(c, 0);
}
VF_API int32_t zfmyyqrp(fmtcall *c) {
  return zfmdlyq(c, '.');
}
VF_API int32_t zfmyyqrs(fmtcall *c) {
  return zfmdlyq(c, '/');
}

// Day, month abbreviation and year.
VF_API int32_t zfmdate(fmtcall *c) {
  return date_format(c, 5, 11, [](char *out, int32_t w, int64_t day) {
    const CivilDate cd = civil_from_day(day);
    if (w == 6 || w == 8 || w == 10) {
      *out++ = ' ';
      --w;
    }
    put_two_digits(out, cd.day);
    if (w == 11) {
      out[2] = '-';
      std::memcpy(out + 3, kMonthAbbrev[cd.month - 1], 3);
      out[6] = '-';
      put_year4(out + 7, cd.year);
      return;
    }
    if (w == 5) {
      std::memcpy(out + 2, kMonthAbbrev[cd.month - 1], 3);
      return;
    }
    monyy(out + 2, w < 9 ? 5 : 7, cd);
  });
}

VF_API int32_t zfmmonyy(fmtcall *c) {
  return date_format(c, 5, 7, [](char *out, int32_t w, int64_t day) {
    monyy(out, w, civil_from_day(day));
  });
}

VF_API int32_t zfmyymon(fmtcall *c) {
  int32_t status;
  if (!date_call_ok(c, 5, 32, &status)) return status;
  char *out = static_cast<char *>(c->out);
  const int32_t w = c->w;
  put_blanks(out, w);
  c->outenc = 0;
  const double v = call_value(c);
  if (is_missing(v)) return write_missing(c);
  // This format checks the closed range of whole valid days.
  if (!(v >= static_cast<double>(kFirstDate) &&
        v <= static_cast<double>(kDateLimit - 1))) {
    fill_stars(c, w);
    return VF_ERR_DATE_TEXT;
  }
  const CivilDate cd = civil_from_day(static_cast<int64_t>(std::floor(v)));
  put_year_field(out, w - 3, cd.year, w < 7);
  std::memcpy(out + w - 3, kMonthAbbrev[cd.month - 1], 3);
  c->outlen = w;
  return VF_OK;
}

// Single components.
VF_API int32_t zfmday(fmtcall *c) {
  return date_format(c, 2, 32, [](char *out, int32_t w, int64_t day) {
    write_int_field(civil_from_day(day).day, out, w);
  });
}

VF_API int32_t zfmmonth(fmtcall *c) {
  return date_format(c, 1, 32, [](char *out, int32_t w, int64_t day) {
    const int32_t m = civil_from_day(day).month;
    if (w == 1)
      out[0] = kMonthDigits[m];
    else
      write_int_field(m, out, w);
  });
}

VF_API int32_t zfmyear(fmtcall *c) {
  int32_t status;
  if (!date_call_ok(c, 2, 32, &status)) return status;
  const double v = call_value(c);
  if (is_missing(v)) return write_missing(c);
  c->outenc = 0;
  if (!date_in_range(v)) {
    // Out of range is shown, not reported, by this format.
    fill_stars(c, c->w);
    return VF_OK;
  }
  const int32_t year = civil_from_day(static_cast<int64_t>(std::floor(v))).year;
  put_year_field(static_cast<char *>(c->out), c->w, year, c->w < 4);
  c->outlen = c->w;
  return VF_OK;
}

VF_API int32_t zfmqtr(fmtcall *c) {
  return date_format(c, 1, 32, [](char *out, int32_t w, int64_t day) {
    write_int_field((civil_from_day(day).month - 1) / 3 + 1, out, w);
  });
}

VF_API int32_t zfmqtrr(fmtcall *c) {
  return date_format(c, 3, 32, [](char *out, int32_t w, int64_t day) {
    const char *numeral =
        kRomanQuarter[(civil_from_day(day).month - 1) / 3 + 1];
    const int32_t len = static_cast<int32_t>(std::strlen(numeral));
    put_blanks(out, w - len);
    std::memcpy(out + w - len, numeral, static_cast<std::size_t>(len));
  });
}

VF_API int32_t zfmweekday(fmtcall *c) {
  return date_format(c, 1, 32, [](char *out, int32_t w, int64_t day) {
    write_int_field(weekday_of(day), out, w);
  });
}

VF_API int32_t zfmjulday(fmtcall *c) {
  return date_format(c, 3, 32, [](char *out, int32_t w, int64_t day) {
    write_int_field(civil_from_day(day).yday, out, w);
  });
}

VF_API int32_t zfmjulian(fmtcall *c) {
  return julian_date(c, 7);
}
VF_API int32_t zfmjuldate(fmtcall *c) {
  return julian_date(c, 32);
}

// Datetime adapters.
VF_API int32_t zfmdtda(fmtcall *c) {
  return datetime_adapter(c, 5, 9, zfmdate);
}
VF_API int32_t zfmdtmo(fmtcall *c) {
  return datetime_adapter(c, 5, 7, zfmmonyy);
}
VF_API int32_t zfmdtye(fmtcall *c) {
  return datetime_adapter(c, 2, 4, zfmyear);
}
VF_API int32_t zfmdtyy(fmtcall *c) {
  return datetime_adapter(c, 4, 6, zfmyyqc);
}

} // extern "C"
