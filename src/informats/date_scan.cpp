// The shared scanners of the date and time informats (see date_scan.h).
#include "informats/date_scan.h"

#include "registry/functions.h"

namespace valfmt {

int32_t read_standard_number(const unsigned char *p, int32_t n, double &v) {
  fmtcall c{};
  c.w = n;
  c.value = p;
  c.valuelen = n;
  c.out = &v;
  c.outsize = sizeof v;
  return wzifmn(&c);
}

bool read_digit_run(const unsigned char *p, int32_t a, int32_t e, double &x) {
  constexpr int32_t kExactDigits = 15; // below 2^53
  if (e - a > kExactDigits)
    return read_standard_number(p + a, e - a, x) == VF_OK;
  int64_t v = 0;
  for (int32_t i = a; i < e; ++i) v = v * 10 + (p[i] - '0');
  x = static_cast<double>(v);
  return true;
}

int64_t digits_value(const unsigned char *p, int32_t from, int32_t to) {
  int64_t v = 0;
  for (int32_t i = from; i < to; ++i) {
    v = v * 10 + (p[i] - '0');
    if (v >= kDigitValueCap) return kDigitValueCap;
  }
  return v;
}

namespace {

void set_groups(const unsigned char *p, int32_t a, int32_t b, int32_t c,
                int32_t e, DateGroups &g) {
  g.first = digits_value(p, a, b);
  g.second = digits_value(p, b, c);
  g.third = digits_value(p, c, e);
}

// One run of digits [a, e) split by digit counts.
bool split_digit_run(const unsigned char *p, int32_t a, int32_t e,
                     bool year_first, DateGroups &g) {
  if (year_first) {
    if (e - a - 4 < 1) return false;
    set_groups(p, a, e - 4, e - 2, e, g);
    return true;
  }
  while (a < e && p[a] == '0') ++a;
  const int32_t k = e - a;
  if (k == 5 || k == 7) {
    set_groups(p, a, a + 1, a + 3, e, g);
    return true;
  }
  if (k < 6) return false;
  set_groups(p, a, a + 2, a + 4, e, g);
  return true;
}

} // namespace

bool split_date_groups(const unsigned char *p, int32_t n, bool year_first,
                       DateGroups &g) {
  const int32_t e = trim_trailing_blanks(p, n);
  const int32_t a0 = skip_blanks(p, e, 0);
  if (a0 >= e || !is_digit_byte(p[e - 1]) || !is_digit_byte(p[a0]))
    return false;
  const int32_t a1 = digit_run_end(p, e, a0);
  if (a1 == e) return split_digit_run(p, a0, e, year_first, g);

  // Delimited: the byte after each of the first two groups is the same
  // delimiter, and a digit follows it.
  const unsigned char delim = p[a1];
  if (is_letter_byte(delim) || a1 + 1 >= e || !is_digit_byte(p[a1 + 1]))
    return false;
  const int32_t b0 = a1 + 1;
  const int32_t b1 = digit_run_end(p, e, b0);
  if (b1 >= e || p[b1] != delim || b1 + 1 >= e || !is_digit_byte(p[b1 + 1]))
    return false;
  const int32_t c0 = b1 + 1;
  const int32_t c1 = digit_run_end(p, e, c0);
  g.first = digits_value(p, a0, a1);
  g.second = digits_value(p, b0, b1);
  g.third = digits_value(p, c0, c1); // anything after the third is ignored
  return true;
}

bool skip_delimiters(const unsigned char *p, int32_t n, int32_t limit,
                     int32_t &pos) {
  for (; pos < limit; ++pos) {
    const unsigned char c = pos < n ? p[pos] : ' ';
    if (is_digit_byte(c)) return true;
    if (is_letter_byte(c)) return false;
  }
  return false;
}

int32_t read_one_or_two_digits(const unsigned char *p, int32_t n,
                               int32_t &pos) {
  int32_t v = p[pos++] - '0';
  if (pos < n && is_digit_byte(p[pos])) v = v * 10 + (p[pos++] - '0');
  return v;
}

} // namespace valfmt
