// Digits, grouping and the sign/symbol layouts of the locale number and
// currency formats.  Digits come from std::to_chars, which gives the same
// text as printf's %.*f and %.*G in the POSIX locale (a '.' point), with
// no locale lookup and no allocation.
#include "nls/nl_compose.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace valfmt {
namespace {

struct Out {
  char *p;
  int32_t len = 0;
  bool overflow = false;
  void add(const char *s, std::size_t n) {
    if (n == 0) return; // an empty piece may have no storage at all
    if (len + static_cast<int32_t>(n) > kComposeMax) {
      overflow = true;
      return;
    }
    std::memcpy(p + len, s, n);
    len += static_cast<int32_t>(n);
  }
  void add(std::string_view s) { add(s.data(), s.size()); }
  void add(char c) { add(&c, 1); }
};

// More significant digits than any double's exact decimal expansion holds
// (767): a larger precision shows nothing more.
constexpr int32_t kMaxPrecision = 800;

int32_t to_text(double v, std::chars_format f, int32_t d, char *out,
                int32_t room) {
  // A precision out of all proportion overflows the conversion's own
  // length arithmetic: fixed digits after the point cannot fit in fewer
  // bytes than there are digits, and a general form stops at the exact
  // expansion.
  if (f == std::chars_format::fixed && d > room) return 0;
  if (d > kMaxPrecision) d = kMaxPrecision;
  const auto r = std::to_chars(out, out + room, v, f, d);
  if (r.ec != std::errc()) return 0;
  return static_cast<int32_t>(r.ptr - out);
}

// The digits written with separators: the first group holds len % g
// digits (g when that is 0), every further group g digits.
void add_grouped(Out &o, std::string_view digits, int32_t g,
                 std::string_view sep) {
  const auto n = static_cast<int32_t>(digits.size());
  int32_t first = n % g;
  if (first == 0) first = g;
  o.add(digits.substr(0, static_cast<std::size_t>(first)));
  for (int32_t i = first; i < n; i += g) {
    o.add(sep);
    o.add(digits.substr(static_cast<std::size_t>(i),
                        static_cast<std::size_t>(g)));
  }
}

// The integer part is the digits before the point; without a point the
// digits before the padding blanks of the general form, which then follow
// the (grouped) digits as they stand.
void add_digits(Out &o, const NumberConventions &c, const ComposeRequest &r,
                bool &grouped) {
  std::string_view d = r.digits;
  std::string_view padding;
  std::size_t point = d.find('.');
  if (point == std::string_view::npos) {
    const std::size_t blank = d.find(' ');
    if (blank != std::string_view::npos) {
      padding = d.substr(blank);
      d = d.substr(0, blank);
    }
  }
  const bool exponent = d.find('E') != std::string_view::npos;
  const std::string_view whole = d.substr(0, point);
  grouped = false;
  if (exponent && point != std::string_view::npos) {
    o.add(whole);
    o.add(c.decimal_point);
    o.add(d.substr(point + 1));
    return;
  }
  if (r.group && c.grouping > 0 && !exponent &&
      static_cast<int32_t>(whole.size()) > c.grouping) {
    add_grouped(o, whole, c.grouping, c.thousands_sep);
    grouped = true;
  } else {
    o.add(whole);
  }
  if (point != std::string_view::npos) {
    o.add(c.decimal_point);
    o.add(d.substr(point + 1));
  }
  o.add(padding);
}

int32_t flag(int32_t v) {
  return v != 0 ? 1 : 0;
}

} // namespace

const char *currency_layout(const NumberConventions &c, bool negative) {
  const int32_t precedes = flag(negative ? c.n_cs_precedes : c.p_cs_precedes);
  const int32_t separated =
      flag(negative ? c.n_sep_by_space : c.p_sep_by_space);
  int32_t position = negative ? c.n_sign_posn : c.p_sign_posn;
  if (position < 0 || position > 4) position = 1;
  return kCurrencyFormatPatterns[(precedes + 2 * separated) * 5 + position];
}

int32_t fixed_text(double v, int32_t d, char *out, int32_t room) {
  return to_text(v, std::chars_format::fixed, d, out, room);
}

int32_t general_text(double v, int32_t d, int32_t width, char *out,
                     int32_t room) {
  int32_t n = to_text(v, std::chars_format::general, d, out, room);
  if (n == 0) return 0;
  for (int32_t i = 0; i < n; ++i)
    if (out[i] == 'e') out[i] = 'E';
  if (width > room) return 0;
  while (n < width) out[n++] = ' ';
  return n;
}

std::string_view unsigned_digits(const char *text, int32_t n) {
  std::string_view s(text, static_cast<std::size_t>(n < 0 ? 0 : n));
  if (!s.empty() && s[0] == '-') s.remove_prefix(1);
  return s;
}

int32_t compose_number(const NumberConventions &c, const ComposeRequest &r,
                       char *out, bool &grouped) {
  Out o{out};
  grouped = false;
  for (const char *l = currency_layout(c, r.negative); *l != '\0'; ++l) {
    switch (*l) {
    case 'V':
      add_digits(o, c, r, grouped);
      break;
    case '$':
      if (r.symbol) o.add(c.symbol);
      break;
    case '-':
      o.add(r.negative ? c.negative_sign : c.positive_sign);
      break;
    case '(':
    case ')':
      if (r.negative) o.add(*l);
      break;
    default:
      o.add(*l);
      break;
    }
  }
  if (o.overflow) return -1;
  int32_t start = 0;
  int32_t end = o.len;
  while (start < end && out[start] == ' ') ++start;
  while (end > start && out[end - 1] == ' ') --end;
  const int32_t n = end - start;
  std::memmove(out, out + start, static_cast<std::size_t>(n));
  if (!r.negative && c.n_sign_posn == 0) {
    if (n + 1 > kComposeMax) return -1;
    out[n] = ' ';
    return n + 1;
  }
  return n;
}

} // namespace valfmt
