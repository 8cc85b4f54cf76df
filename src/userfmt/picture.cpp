// Picture templates: numeric pictures (digit selectors, fill, prefix) and
// date, time and datetime pictures (percent directives).
//
// Decisions taken here:
//  - The result is composed directly in the caller's w-byte field; nothing
//    is allocated whatever the widths.
//  - A number of 1e16 or more (or a NaN that is not a missing value) takes
//    the plain fixed-point fallback: 16 digit positions cannot hold it.
//  - Fixed-point fallbacks wider than the renderer's 32 columns are
//    right-aligned in the field with blanks on the left.
//  - Pictures with more than 16 digit positions take '0' for the positions
//    beyond the 16 digits of the value.
//  - Date directives in a time picture and time directives in a date
//    picture produce nothing.
//  - The language text is accepted but the names are always English.
#include <cmath>
#include <cstring>

#include "registry/functions.h"
#include "core/missing.h"
#include "userfmt/userfmt.h"

namespace valfmt {
namespace {

constexpr const char *kWeekdays[7] = {"Sunday",    "Monday",   "Tuesday",
                                      "Wednesday", "Thursday", "Friday",
                                      "Saturday"};
constexpr const char *kMonths[12] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

constexpr double kPictureLimit = 1e16;

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The plain fixed-point rendering of v with no decimals in a w-byte field.
void fixed_fallback(double v, int32_t w, char *out) {
  const int32_t ww = w < 32 ? w : 32;
  std::memset(out, ' ', static_cast<std::size_t>(w - ww));
  fmtcall sub{};
  sub.w = ww;
  sub.d = 0;
  sub.value = &v;
  sub.out = out + (w - ww);
  sub.outsize = ww;
  zfmt(&sub);
}

// Output buffer of datefmt: bytes stop at the size.
struct Sink {
  char *buf;
  int32_t size;
  int32_t n = 0;
  void put(char c) {
    if (n < size) buf[n++] = c;
  }
  void put(const char *s, int32_t len) {
    for (int32_t i = 0; i < len; ++i) put(s[i]);
  }
  // Right-aligned decimal of a non-negative v in at least `digits` columns
  // filled with `pad`.
  void number(int64_t v, int digits, char pad) {
    char tmp[24];
    int k = 0;
    do {
      tmp[k++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v > 0 && k < 20);
    for (int i = k; i < digits; ++i) put(pad);
    while (k > 0) put(tmp[--k]);
  }
  // The two-digit rule: one digit below 10 without the zero flag.
  void two(int64_t v, bool zero) {
    if (v < 10 && !zero)
      number(v, 1, '0');
    else
      number(v, 2, '0');
  }
};

int64_t whole(double x) {
  return static_cast<int64_t>(std::floor(x));
}

} // namespace

void getname(int32_t number, char letter, const char **text, int32_t *len) {
  const char *name = nullptr;
  if ((letter == 'A' || letter == 'a') && number >= 1 && number <= 7)
    name = kWeekdays[number - 1];
  else if ((letter == 'B' || letter == 'b') && number >= 1 && number <= 12)
    name = kMonths[number - 1];
  if (text) *text = name;
  if (len) {
    if (name == nullptr)
      *len = 0;
    else if (letter == 'A' || letter == 'B')
      *len = static_cast<int32_t>(std::strlen(name));
    else
      *len = 3;
  }
}

int32_t datefmt(double value, const char *, int32_t, int32_t datatype,
                const char *pic, int32_t piclen, char *buf, int32_t size) {
  if (buf == nullptr || size <= 0) return 0;
  const bool hasdate = datatype == 1 || datatype == 3;
  const bool hastime = datatype == 2 || datatype == 3;
  double date = standard_missing();
  double time = standard_missing();
  if (datatype == 1) {
    date = value;
  } else if (datatype == 2) {
    time = value;
  } else if (datatype == 3 && !is_missing(value) && !std::isnan(value)) {
    date = zdatprt(value);
    time = ztimprt(value);
  }
  double y = 0, m = 0, d = 0;
  int64_t yday = 0, wday = 0, hour = 0, minute = 0, second = 0;
  bool error = false;
  if (hasdate) {
    if (is_missing(date) || std::isnan(date) ||
        zfmcymd(&y, &m, &d, date) != 1) {
      error = true;
    } else {
      const double jan1 = zmdy(1, 1, y);
      yday = whole(date) - whole(jan1) + 1;
      wday = whole(zwekday(date));
    }
  }
  if (hastime && !error) {
    const double h = is_missing(time) || std::isnan(time) ? time : zhour(time);
    if (is_missing(h) || std::isnan(h)) {
      error = true;
    } else {
      hour = whole(h);
      minute = whole(zminute(time));
      second = whole(zsecond(time));
    }
  }
  if (error) {
    static constexpr char kError[] = "ERROR";
    for (int32_t i = 0; i < size; ++i) buf[i] = i < 5 ? kError[i] : ' ';
    return size < 5 ? size : 5;
  }
  const int64_t year = static_cast<int64_t>(y);
  const int64_t month = static_cast<int64_t>(m);
  const int64_t day = static_cast<int64_t>(d);

  Sink out{buf, size};
  for (int32_t i = 0; i < piclen && out.n < size; ++i) {
    if (pic[i] != '%') {
      out.put(pic[i]);
      continue;
    }
    if (++i >= piclen) break;
    bool zero = false;
    if (pic[i] == '0') {
      zero = true;
      if (++i >= piclen) break;
    }
    const char c = pic[i];
    const bool datepart = c == 'A' || c == 'a' || c == 'B' || c == 'b' ||
                          c == 'd' || c == 'm' || c == 'y' || c == 'Y' ||
                          c == 'j' || c == 'q' || c == 'w' || c == 'U';
    const bool timepart =
        c == 'H' || c == 'I' || c == 'M' || c == 'S' || c == 'p';
    if ((datepart && !hasdate) || (timepart && !hastime)) continue;
    switch (c) {
    case '%':
      out.put('%');
      break;
    case 'A':
    case 'a':
    case 'B':
    case 'b': {
      const char *name = nullptr;
      int32_t len = 0;
      getname(static_cast<int32_t>(c == 'A' || c == 'a' ? wday : month), c,
              &name, &len);
      for (int32_t k = 0; k < len; ++k) {
        char ch = name[k];
        if (c == 'b' && ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
        out.put(ch);
      }
      break;
    }
    case 'd':
      out.two(day, zero);
      break;
    case 'm':
      out.two(month, zero);
      break;
    case 'y':
      out.two(year % 100, zero);
      break;
    case 'Y':
      out.number(year, 4, '0');
      break;
    case 'j':
      out.number(yday, zero ? 3 : 1, '0');
      break;
    case 'H':
      out.two(hour, zero);
      break;
    case 'I':
      out.two(hour > 12 ? hour - 12 : hour, zero);
      break;
    case 'M':
      out.two(minute, zero);
      break;
    case 'S':
      out.two(second, zero);
      break;
    case 'p':
      out.put(hour < 12 ? "AM" : "PM", 2);
      break;
    case 'q':
      out.number((month - 1) / 3 + 1, 1, '0');
      break;
    case 'w':
      out.two(wday, zero);
      break;
    case 'U': {
      const int64_t jan1 = whole(date) - yday + 1;
      const int64_t wd1 = whole(zwekday(static_cast<double>(jan1)));
      const int64_t sunday = jan1 + (8 - wd1) % 7;
      const int64_t today = whole(date);
      out.two(today < sunday ? 0 : (today - sunday) / 7 + 1, zero);
      break;
    }
    default:
      break;
    }
  }
  return out.n;
}

void yfpict(double value, int32_t w, char *out, const picturelabel *l,
            uint8_t rflag) {
  if (w <= 0 || out == nullptr || l == nullptr) return;
  const char *text = picture_text(l);
  const int32_t p = l->piclen > 0 ? l->piclen : 0;

  if (l->datatype != 0) {
    const char *lang = l->langlen > 0 ? text + l->langoff : " ";
    const int32_t langlen = l->langlen > 0 ? l->langlen : 1;
    const int32_t n =
        datefmt(value, lang, langlen, l->datatype, text, p, out, w);
    std::memmove(out + (w - n), out, static_cast<std::size_t>(n));
    std::memset(out, ' ', static_cast<std::size_t>(w - n));
    return;
  }

  const char fill = static_cast<char>(l->fill);
  const int32_t k = l->ndigits;
  std::memset(out, ' ', static_cast<std::size_t>(w));
  // Picture position i stands at field position w - p + i.
  auto at = [&](int64_t i) -> char * {
    const int64_t f = static_cast<int64_t>(w) - p + i;
    return (f >= 0 && f < w) ? out + f : nullptr;
  };

  int64_t used = 0;
  if (l->noedit || k == 0) {
    // The picture text itself: its first min(p, w) characters.
    const int32_t m = p < w ? p : w;
    std::memcpy(out + (w - m), text, static_cast<std::size_t>(m));
    used = m;
  } else {
    if (is_missing(value)) {
      fixed_fallback(value, w, out);
      return;
    }
    const double mult = picture_mult(l);
    double v = mult != 0 ? value * mult : value;
    const double a = std::fabs(v) + 1e-07;
    double n = std::floor(a);
    if (rflag && a - n >= 0.5) n += 1;
    if (!(n < kPictureLimit)) {
      fixed_fallback(a, w, out);
      return;
    }
    char digits[17];
    auto u = static_cast<uint64_t>(n);
    for (int i = 15; i >= 0; --i) {
      digits[i] = static_cast<char>('0' + u % 10);
      u /= 10;
    }
    bool sig = false;
    int64_t firstsig = p;
    int64_t firstnonblank = -1;
    int64_t di = 16 - static_cast<int64_t>(k);
    for (int32_t i = 0; i < p; ++i) {
      const char pc = text[i];
      char ch;
      if (is_digit(pc)) {
        const char dch = (di >= 0 && di < 16) ? digits[di] : '0';
        ++di;
        if (!sig && (dch != '0' || pc != '0')) {
          sig = true;
          firstsig = i;
        }
        ch = sig ? dch : fill;
      } else {
        ch = sig ? pc : fill;
      }
      if (char *o = at(i)) *o = ch;
      if (ch != ' ' && firstnonblank < 0) firstnonblank = i;
    }
    used = firstnonblank >= 0 ? p - firstnonblank : p;
    // The prefix goes right before the first significant position.
    if (l->prefixlen > 0 && (sig || fill != ' ')) {
      const char *prefix = text + l->prefixoff;
      for (int32_t j = 0; j < l->prefixlen; ++j) {
        const int64_t pos = firstsig - 1 - j;
        char *o = at(pos);
        if (pos < 0 || (o != nullptr && *o == ' ')) ++used;
        if (o != nullptr) *o = prefix[l->prefixlen - 1 - j];
      }
    }
  }
  const int64_t u = used > p ? used : p;
  if (w > u) out[w - u - 1] = fill;
}

} // namespace valfmt
