// NENGO and MINGUO: dates in the Japanese era and the Minguo year counts.
//
// NENGO writes era letter, era year, month and day in layouts chosen by w:
//   2 "31"  3 "H31"  4 "H.31"  5 "H3104"  6 "H31/04"  7 "H310430"
//   8 "H.310430"  9 "H31/04/30"  10 "H.31/04/30"          (2019-04-30)
// An era year outside 1..99 shows "**"; a date before the first era shows
// asterisks with status 0.
//
// MINGUO writes year, month and day with years counted from 1912:
//   1..3 the year alone in w digits, 4 "4901", 5 "49/01", 6 "490101",
//   7 " 490101", 8 "49/01/01", 9 " 49/01/01", 10 "0049/01/01"  (1960-01-01)
// At width 5 a year of 100 or more takes three digits and drops the
// separator ("10001"); elsewhere a year too long for its field shows
// asterisks there.  Missing values, dates out of range and dates before
// 1912 all return VF_ERR_DATE_RANGE, with the missing display or asterisks.
// MINGUO also serves a buffer shorter than w: the field is outlen =
// min(w, outsize) characters.  Separators and the year's width follow w,
// the leading blank follows outlen (7 or 9), and the text is cut to
// outlen; the status is then VF_WARN so that the shortened text is not
// taken for a complete one.
#include <cstdint>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/eras.h"
#include "datetime/call_checks.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

// Era letter, era year, month and day in the NENGO layout of width w; the
// text fills exactly w characters.
void nengo_text(char *out, int32_t w, int32_t era, const CivilDate &cd) {
  char *p = out;
  if (w > 2) {
    *p++ = kEraLetters[era];
    if (w == 4 || w == 8 || w == 10) *p++ = '.';
  }
  const int32_t year = era_year(era, cd.year);
  if (year >= 1 && year <= 99)
    put_two_digits(p, year);
  else
    put_stars(p, 2);
  p += 2;
  if (w < 5) return;
  if (w == 6 || w > 8) *p++ = '/';
  put_two_digits(p, cd.month);
  p += 2;
  if (w < 7) return;
  if (w > 8) *p++ = '/';
  put_two_digits(p, cd.day);
}

// v zero-filled to exactly n digits, or n asterisks when it needs more.
char *put_zero_filled(char *p, int64_t v, int32_t n) {
  if (v < 0 || digit_count(static_cast<uint64_t>(v)) > n) {
    put_stars(p, n);
  } else {
    for (int32_t i = n - 1; i >= 0; --i) {
      p[i] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
  }
  return p + n;
}

// The MINGUO text of width w for a field of outlen characters (at least
// outlen characters; the caller keeps the first outlen) for a Minguo year
// of 1 or more.
int32_t minguo_text(char *buf, int32_t w, int32_t outlen, int32_t year,
                    const CivilDate &cd) {
  bool sep = w == 5 || w > 7;
  int32_t year_width = 2;
  if (w < 4) {
    year_width = w;
  } else if (w == 10) {
    year_width = 4;
  } else if (w == 5 && year >= 100) {
    year_width = 3;
    sep = false;
  }
  char *p = buf;
  if (outlen == 7 || outlen == 9) *p++ = ' ';
  p = put_zero_filled(p, year, year_width);
  if (sep) *p++ = '/';
  put_two_digits(p, cd.month);
  p += 2;
  if (sep) *p++ = '/';
  put_two_digits(p, cd.day);
  p += 2;
  return static_cast<int32_t>(p - buf);
}

} // namespace
} // namespace valfmt

using namespace valfmt;

extern "C" {

VF_API int32_t zfmnengo(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("NENGO");
  int32_t status;
  if (!narrow_call_ok(call, kLimits, ShortBuffer::kRefuse, &status))
    return status;
  const double v = call_value(call);
  if (is_missing(v)) return show_missing_date(call);
  const int32_t w = call->w;
  if (!date_in_range(v)) {
    fill_stars(call, w);
    return VF_ERR_DATE_RANGE;
  }
  const int64_t day = day_of_date(v);
  const int32_t era = era_of_day(day);
  if (era == 0) {
    fill_stars(call, w);
    return VF_OK;
  }
  nengo_text(static_cast<char *>(call->out), w, era, civil_from_day(day));
  return finish_narrow(call, w);
}

VF_API int32_t zfmmng(fmtcall *call) {
  static constexpr RowLimits kLimits = row_limits("MINGUO");
  int32_t status;
  if (!narrow_call_ok(call, kLimits, ShortBuffer::kCut, &status)) return status;
  const int32_t w = call->w;
  const int32_t n = w < call->outsize ? w : call->outsize;
  const double v = call_value(call);
  if (is_missing(v)) {
    show_missing_date(call);
    return VF_ERR_DATE_RANGE;
  }
  fill_stars(call, n);
  if (!date_in_range(v)) return VF_ERR_DATE_RANGE;
  const CivilDate cd = civil_from_day(day_of_date(v));
  const int32_t year = minguo_year(cd.year);
  if (year < 1) return VF_ERR_DATE_RANGE;
  char buf[16];
  const int32_t len = minguo_text(buf, w, n, year, cd);
  // The text is never shorter than outlen; blanks pad it all the same.
  put_blanks(static_cast<char *>(call->out), n);
  std::memcpy(call->out, buf, static_cast<std::size_t>(len < n ? len : n));
  return finish_narrow(call, n, n < w ? VF_WARN : VF_OK);
}

} // extern "C"
