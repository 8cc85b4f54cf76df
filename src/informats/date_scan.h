// Scanners shared by the date and time informats: character classes of the
// default locale, the entry checks of a text informat, the missing-value
// notation, the standard numeric reader on a piece of text, and the three
// small parsers the readers are built from (the day-month-year splitter,
// the delimiter skipper and the one-or-two digit reader).
//
// Every scanner takes the text as a pointer and a length and never looks
// at a byte outside it; bytes above 0x7F and NUL bytes are neither digits,
// letters nor blanks, so they count as delimiters or as invalid text.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/missing.h"
#include "datetime/calendar.h"
#include "informats/informats.h"
#include "registry/limits.h"
#include "valfmt.h"

namespace valfmt {

constexpr bool is_digit_byte(unsigned char c) {
  return c >= '0' && c <= '9';
}
constexpr bool is_letter_byte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
// White space of the default locale: blank, tab, newline, vertical tab,
// form feed, carriage return.
constexpr bool is_white_byte(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
constexpr unsigned char upper_byte(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

inline void store_value(void *out, double x) {
  std::memcpy(out, &x, sizeof x);
}

// The text an informat reads: the first min(w, valuelen) bytes.
struct InputText {
  const unsigned char *p = nullptr;
  int32_t n = 0;
};

// Entry checks of a numeric informat that reads text or bytes: a null
// block gives VF_ERR_BAD_CALL; a result buffer that cannot take the double
// gives VF_ERR_OUTSIZE with outlen 0; otherwise outlen becomes 8, and a w
// below minw or above maxw gives VF_ERR_WD_LIMITS.  Nothing is stored at
// out; on VF_OK `text` holds the bytes to read (none without a value).
inline int32_t begin_text_informat(fmtcall *c, int32_t minw, int32_t maxw,
                                   InputText &text) {
  if (c == nullptr) return VF_ERR_BAD_CALL;
  if (c->out == nullptr || c->outsize < 8) {
    c->outlen = 0;
    return VF_ERR_OUTSIZE;
  }
  c->outlen = 8;
  if (c->w < minw || c->w > maxw) return VF_ERR_WD_LIMITS;
  text.p = static_cast<const unsigned char *>(c->value);
  text.n = text.p == nullptr || c->valuelen <= 0
               ? 0
               : (c->w < c->valuelen ? c->w : c->valuelen);
  return VF_OK;
}

// Runs read(p, n, value) on the call's text and stores the value it leaves
// (the standard missing value unless the reader sets another); every
// failure thus leaves a defined value at out.  A w outside 0..maxw stores
// the standard missing value with VF_ERR_WD_LIMITS.
template <class Reader>
int32_t run_text_informat(fmtcall *c, int32_t maxw, Reader read) {
  InputText t;
  if (const int32_t st = begin_text_informat(c, 0, maxw, t)) {
    if (st == VF_ERR_WD_LIMITS) store_value(c->out, standard_missing());
    return st;
  }
  double v = standard_missing();
  const int32_t st = read(t.p, t.n, v);
  store_value(c->out, v);
  return st;
}

// The exported function `fn` of a text date informat: the reader runs on
// the call's text within the row's widths (see run_text_informat).
#define VF_DATE_TEXT_INFORMAT(fn, row, reader)                                 \
  VF_API int32_t fn(fmtcall *call) {                                           \
    constexpr valfmt::RowLimits kLimits = valfmt::row_limits(row);             \
    return valfmt::run_text_informat(call, kLimits.maxw, valfmt::reader);      \
  }

// The informats' missing-value notation reader on the bytes of a date
// text: true when the text is blank, a single code character ("A", "_",
// "."), or "." and a code ("._", ".a"), each followed only by blanks; v is
// then that missing value.  Otherwise false with v the standard missing
// value.
inline bool is_missing_notation(const unsigned char *p, int32_t n, double &v) {
  return read_missing_notation(reinterpret_cast<const char *>(p), n, &v) == 1;
}

// The standard numeric reader (wzifmn, no decimals) on n bytes; its
// status, with v the value it stored.
int32_t read_standard_number(const unsigned char *p, int32_t n, double &v);

// The value of the digits p[from..to) (all digits), saturating at
// kDigitValueCap so that a long run cannot overflow; every caller rejects
// numbers that large.
inline constexpr int64_t kDigitValueCap = 1000000000000; // 10^12
int64_t digits_value(const unsigned char *p, int32_t from, int32_t to);

// The number written by the digits p[a..e) (all digits), exactly as the
// standard numeric reader gives it: short runs are converted here, longer
// ones by the reader.  False only when the reader fails.
bool read_digit_run(const unsigned char *p, int32_t a, int32_t e, double &x);

// The date of month/day/year given as whole numbers, with the checks of
// the calendar's zmdy (two-digit years widened, years 1582..20000, the
// day within its month); false where zmdy gives a missing value.  The day
// count is the calendar's formula in unsigned 32-bit arithmetic, which is
// what keeps the common date readers fast.
inline bool date_of_parts(int64_t month, int64_t day, int64_t year,
                          double &date) {
  if (static_cast<uint64_t>(month - 1) > 11 ||
      static_cast<uint64_t>(day - 1) > 30 || year < 0)
    return false;
  if (year > 99 && (year < kFirstYear || year > kLastYear)) return false;
  const auto y = static_cast<uint32_t>(widen_year(static_cast<int32_t>(year)));
  const auto m = static_cast<uint32_t>(month);
  const auto d = static_cast<uint32_t>(day);
  const bool leap =
      y % 4 == 0 && (y % 100 != 0 || (y % 400 == 0 && y % 4000 != 0));
  constexpr uint8_t kLength[13] = {0,  31, 28, 31, 30, 31, 30,
                                   31, 31, 30, 31, 30, 31};
  if (d > kLength[m] + (m == 2 && leap ? 1u : 0u)) return false;
  const uint32_t k = y - 1; // leap days in years 1..y-1
  const uint32_t days = 365 * y + k / 4 - k / 100 + k / 400 - k / 4000 +
                        static_cast<uint32_t>(kDaysBeforeMonth[m]) +
                        (m > 2 && leap ? 1u : 0u) + d;
  date = static_cast<double>(static_cast<int64_t>(days) - 715875);
  return true;
}

// End of the run of digits that starts at i (i itself when p[i] is not a
// digit or i is n).
inline int32_t digit_run_end(const unsigned char *p, int32_t n, int32_t i) {
  while (i < n && is_digit_byte(p[i])) ++i;
  return i;
}

// First index at or after i whose byte is a digit, or n.
inline int32_t next_digit(const unsigned char *p, int32_t n, int32_t i) {
  while (i < n && !is_digit_byte(p[i])) ++i;
  return i;
}

inline int32_t skip_blanks(const unsigned char *p, int32_t n, int32_t i) {
  while (i < n && p[i] == ' ') ++i;
  return i;
}

inline int32_t trim_trailing_blanks(const unsigned char *p, int32_t n) {
  while (n > 0 && p[n - 1] == ' ') --n;
  return n;
}

// Three numbers of a day-month-year text, in the order written.
struct DateGroups {
  int64_t first = 0;
  int64_t second = 0;
  int64_t third = 0;
};

// The generic day-month-year splitter.  Blanks around the text are
// ignored; the text must start and end with a digit.  Groups are runs of
// digits separated by one repeated delimiter (any byte but a letter or a
// digit), or, for a single run, fixed digit counts: year_first splits n
// digits as n-4, 2, 2; otherwise leading zeros are dropped and 5 or 7
// digits split 1, 2, rest, 6 or more 2, 2, rest.  False when the text does
// not split.
bool split_date_groups(const unsigned char *p, int32_t n, bool year_first,
                       DateGroups &g);

// Advances pos over bytes that are neither digits nor letters, within a
// field of `limit` positions of which the first n hold text and the rest
// count as blanks.  False when a letter comes first or no digit comes
// before the end of the field; true with pos at a digit otherwise.
bool skip_delimiters(const unsigned char *p, int32_t n, int32_t limit,
                     int32_t &pos);

// Reads one digit at pos (which must be a digit), or two when the next
// byte is a digit too; advances pos past them.
int32_t read_one_or_two_digits(const unsigned char *p, int32_t n, int32_t &pos);

} // namespace valfmt
