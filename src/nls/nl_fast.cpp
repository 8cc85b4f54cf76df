// The layout formats' common case, written without the narrow detour: the
// conventions of every locale and pattern field are derived once from the
// constant locale table (with their texts already converted to UCS-2
// units), the fixed-point digits come from the exact binary value in
// integer arithmetic, and the units go straight into the output.
//
// Whatever this writer declines (a text that does not fit at once, a
// value too large for 64-bit digits, a host encoding measured otherwise)
// goes through the general fitting path, which gives the same bytes for
// everything the writer accepts.
#include "nls/nl_fast.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "nls/nl_number.h"
#include "nls/nl_output.h"

namespace valfmt {
namespace {

constexpr int32_t kFields[] = {113, 114, 126, 127, 128, 129};
constexpr int32_t kFieldKinds = 6;
constexpr int32_t kDefaultLocale = 52;
constexpr int32_t kMaxDecimals = 17;
constexpr int32_t kMaxUnits = 64;
constexpr double kDigitLimit = 1e18;

int32_t field_kind(int32_t field) {
  for (int32_t i = 0; i < kFieldKinds; ++i)
    if (kFields[i] == field) return i;
  return -1;
}

// True when the scan of the result conversion, entering s at its first
// byte, reads every '<' of s as a whole escape inside s, and no escape
// stands for a blank (blanks are trimmed as bytes before conversion).
bool converts_alone(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] != '<') {
      ++i;
      continue;
    }
    if (s.size() - i < 7 || (s[i + 1] != 'u' && s[i + 1] != 'U') ||
        s[i + 6] != '>')
      return false;
    if (s.substr(i + 2, 4) == "0020") return false;
    i += 7;
  }
  return true;
}

bool widen(std::string_view s, WideText &t) {
  if (!converts_alone(s) || s.size() > 255) return false;
  fmtcall probe{};
  probe.inenc = VF_ENC_UCS2;
  uint16_t units[256];
  int32_t free_units = 0;
  const auto n = static_cast<int32_t>(s.size());
  const int32_t count =
      convert_units(&probe, s.data(), n, 1 << 16, 1 << 16, units, free_units);
  if (count < 0 || count > static_cast<int32_t>(std::size(t.unit)))
    return false;
  for (int32_t i = 0; i < count; ++i) t.unit[i] = units[i];
  t.units = static_cast<uint8_t>(count);
  t.narrow = static_cast<uint8_t>(n);
  return true;
}

NumberLayout derive(int32_t locid, int32_t field) {
  NumberLayout l;
  l.readable = locale_conventions(locid, field, l.conv);
  if (!l.readable) return l;
  const NumberConventions &c = l.conv;
  l.direct = widen(c.symbol, l.symbol) &&
             widen(c.decimal_point, l.decimal_point) &&
             widen(c.thousands_sep, l.thousands_sep) &&
             widen(c.positive_sign, l.positive_sign) &&
             widen(c.negative_sign, l.negative_sign);
  return l;
}

using LayoutTable = std::array<std::array<NumberLayout, kFieldKinds>,
                               static_cast<std::size_t>(kLocaleCount) + 1>;

// Indexed by locale ID (index 0 unused).
const LayoutTable kLayouts = [] {
  LayoutTable t{};
  for (int32_t loc = 1; loc <= kLocaleCount; ++loc)
    for (int32_t k = 0; k < kFieldKinds; ++k)
      t[static_cast<std::size_t>(loc)][static_cast<std::size_t>(k)] =
          derive(loc, kFields[k]);
  return t;
}();

// The units being composed, with the byte length of the narrow text they
// stand for (limited like the narrow composition).
struct Units {
  uint16_t *u;
  int32_t n = 0;
  int32_t narrow = 0;
  bool full = false;
  void add(const WideText &t) {
    if (n + t.units > kMaxUnits) {
      full = true;
      return;
    }
    for (int32_t i = 0; i < t.units; ++i) u[n + i] = t.unit[i];
    n += t.units;
    narrow += t.narrow;
  }
  void add(char c) {
    if (n + 1 > kMaxUnits) {
      full = true;
      return;
    }
    u[n++] = static_cast<uint8_t>(c);
    ++narrow;
  }
};

// The exact digits of |v| * 10^d rounded half to even, as the fixed-point
// text of the C library has them; false when they need more than 18.
bool scaled_digits(double v, int32_t d, uint64_t &q) {
  const double a = std::fabs(v);
  if (!(a * static_cast<double>(kPow10U64[d]) < kDigitLimit)) return false;
  if (a == 0) {
    q = 0;
    return true;
  }
  // a = m * 2^e exactly, from the bits of the double.
  const auto bits = std::bit_cast<uint64_t>(a);
  const auto biased = static_cast<int>(bits >> 52);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t m = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int e = (biased == 0 ? 1 : biased) - 1075;
  const unsigned __int128 n = static_cast<unsigned __int128>(m) * kPow10U64[d];
  if (e >= 0) {
    q = static_cast<uint64_t>(n << e);
    return true;
  }
  const int s = -e;
  if (s >= 127) {
    q = 0;
    return true;
  }
  const unsigned __int128 one = 1;
  const unsigned __int128 r = n & ((one << s) - 1);
  const unsigned __int128 half = one << (s - 1);
  q = static_cast<uint64_t>(n >> s);
  if (r > half || (r == half && (q & 1) != 0)) ++q;
  return true;
}

// The digits: the integer part grouped when it is longer than a group,
// then the decimal point and d fraction digits.
void add_digits(Units &o, const NumberLayout &l, const char *text,
                int32_t whole, int32_t d) {
  const int32_t g = l.conv.grouping;
  if (g > 0 && whole > g) {
    int32_t first = whole % g;
    if (first == 0) first = g;
    for (int32_t i = 0; i < whole; ++i) {
      if (i >= first && (i - first) % g == 0) o.add(l.thousands_sep);
      o.add(text[i]);
    }
  } else {
    for (int32_t i = 0; i < whole; ++i) o.add(text[i]);
  }
  if (d == 0) return;
  o.add(l.decimal_point);
  for (int32_t i = 0; i < d; ++i) o.add(text[whole + i]);
}

void put_unit(char *p, uint16_t u) {
  p[0] = static_cast<char>(u & 0xFF);
  p[1] = static_cast<char>(u >> 8);
}

bool host_counts_units(uint32_t inenc) {
  const auto e = static_cast<int32_t>(inenc);
  return e < 1 || e >= 230 || e == VF_ENC_UCS2 || e == VF_ENC_UCS2BE;
}

} // namespace

const NumberLayout *number_layout(int32_t locid, int32_t field) {
  const int32_t k = field_kind(field);
  if (k < 0) return nullptr;
  const int32_t loc =
      locid >= 1 && locid <= kLocaleCount ? locid : kDefaultLocale;
  return &kLayouts[static_cast<std::size_t>(loc)][static_cast<std::size_t>(k)];
}

bool write_number_direct(fmtcall *call, const NumberLayout &l, double v,
                         int32_t w, int32_t d) {
  if (!l.direct || !host_counts_units(call->inenc) || !std::isfinite(v))
    return false;
  if (l.conv.decimal_point.empty()) d = 0;
  if (d < 0 || d > kMaxDecimals) return false;
  uint64_t q = 0;
  if (!scaled_digits(v, d, q)) return false;
  // The fixed text: at least one integer digit, d fraction digits.
  char text[24];
  const int32_t count = std::max(digit_count(q), d + 1);
  write_digits_backward(text + count, q, count);
  const int32_t whole = count - d;
  const int32_t printed = count + (d > 0 ? 1 : 0) + (std::signbit(v) ? 1 : 0);
  if (printed > w) return false;

  const bool negative = v < 0;
  uint16_t buf[kMaxUnits + 1];
  Units o{buf};
  for (const char *p = currency_layout(l.conv, negative); *p != '\0'; ++p) {
    switch (*p) {
    case 'V':
      add_digits(o, l, text, whole, d);
      break;
    case '$':
      o.add(l.symbol);
      break;
    case '-':
      o.add(negative ? l.negative_sign : l.positive_sign);
      break;
    case '(':
    case ')':
      if (negative) o.add(*p);
      break;
    default:
      o.add(*p);
      break;
    }
  }
  if (o.full || o.narrow >= kComposeMax) return false;
  int32_t start = 0;
  int32_t end = o.n;
  while (start < end && buf[start] == ' ') ++start;
  while (end > start && buf[end - 1] == ' ') --end;
  if (!negative && l.conv.n_sign_posn == 0) buf[end++] = ' ';
  const int32_t units = end - start;
  const int32_t cap = out_capacity(call);
  if (units > w || 2 * units > cap) return false;
  const int32_t pad = std::min(w - units, cap / 2 - units);
  char *out = static_cast<char *>(call->out);
  for (int32_t i = 0; i < pad; ++i) put_unit(out + 2 * i, kWideBlank);
  for (int32_t i = 0; i < units; ++i)
    put_unit(out + 2 * (pad + i), buf[start + i]);
  call->outlen = 2 * (pad + units);
  call->outenc = VF_ENC_UCS2;
  return true;
}

} // namespace valfmt
