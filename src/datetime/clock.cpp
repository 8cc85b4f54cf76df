// The clock writer: rounding a count of seconds for the field it is shown
// in, and laying out "h:mm:ss.fff".
//
// Rounding happens in three places, in this order, and every later part
// of the text follows from the earlier ones:
//  1. carry rounding: a time within r = 5 / 10^(d+1) + 1e-8 of the next
//     whole hour (else minute) is cut down to it and the unit carried;
//  2. fraction carry: with no decimals shown a fraction of half a second
//     or more rounds the seconds up; with n decimals shown, a fraction f
//     above 0.9 whose f * 10^n lies within one unit of 10^n and has a
//     fractional part above 0.4999999 rounds them up;
//  3. the seconds field itself, laid out like F(n+3).n: half a unit of the
//     last decimal is added and the sum lifted by one unit in the last
//     place.  When that reaches 60 (possible just below the thresholds of
//     1 and 2, where the lift decides), the minute is carried as well, so
//     the text never shows 60 seconds.
// Whole seconds, days and remainders are split with integer arithmetic,
// so a time just below a day, hour or minute boundary is never moved
// across it by a rounded division.
#include "datetime/clock.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"

namespace valfmt {
namespace {

using namespace clock_detail;

constexpr double kPow10[32] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23,
                               1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31};

// Half a unit of the i-th decimal place.
constexpr double kHalfUnit[32] = {
    5e-1,  5e-2,  5e-3,  5e-4,  5e-5,  5e-6,  5e-7,  5e-8,  5e-9,  5e-10, 5e-11,
    5e-12, 5e-13, 5e-14, 5e-15, 5e-16, 5e-17, 5e-18, 5e-19, 5e-20, 5e-21, 5e-22,
    5e-23, 5e-24, 5e-25, 5e-26, 5e-27, 5e-28, 5e-29, 5e-30, 5e-31, 5e-32};

// One unit in the last place above 1: the fixed renderer's lift.
constexpr double kFixedFuzz = 1.0000000000000002;
constexpr double kCarryFuzz = 1e-8;
constexpr int32_t kMaxCarryDecimals = 30;

// The carry increment of d decimals: 5 / 10^(d+1) + 1e-8.
constexpr auto kCarryIncrement = [] {
  std::array<double, kMaxCarryDecimals + 1> t{};
  for (int32_t d = 0; d <= kMaxCarryDecimals; ++d)
    t[static_cast<std::size_t>(d)] = 5.0 / kPow10[d + 1] + kCarryFuzz;
  return t;
}();
constexpr double kFractionCarryEdge = 0.4999999;
// Most significant digits taken from a non-integer seconds value.
constexpr int32_t kSignificant = 15;

// Below 2^62 seconds the whole seconds fit an int64; up to 2^70 they are
// whole numbers that a 128-bit integer splits exactly; beyond that the
// hours are far past kClockMaxHours.
constexpr double kInt64Split = 4611686018427387904.0;   // 2^62
constexpr double kWideSplit = 1180591620717411303424.0; // 2^70

// The floor of 0 <= x < 2^62.
inline double floor_of(double x) {
  return static_cast<double>(static_cast<int64_t>(x));
}

// The binary exponent e of x > 0 with x = m * 2^e, 0.5 <= m < 1.
inline int binary_exponent(double x) {
  const auto biased =
      static_cast<int>(std::bit_cast<uint64_t>(x) >> 52 & 0x7FF);
  if (biased != 0) return biased - 1022;
  int e = 0;
  std::frexp(x, &e); // subnormal
  return e;
}

// Exact, truncated decimal digits of frac (0 <= frac < 1): frac is held
// as a 192-bit binary fraction and multiplied by ten digit by digit.
void fraction_digits(double frac, int32_t n, char *out) {
  std::memset(out, '0', static_cast<std::size_t>(n));
  if (frac <= 0) return;
  // Below 2^-128 the first 38 digits are zeros.
  const int e = binary_exponent(frac);
  if (e < -127) return;
  // frac = mant * 2^(e - 53), mant holding the 53 significant bits.
  const uint64_t mant =
      (std::bit_cast<uint64_t>(frac) & 0xFFFFFFFFFFFFFull) | 1ull << 52;
  // frac * 2^192 = mant << (139 + e), with 139 + e in 12..139.
  const int shift = 139 + e;
  uint64_t limb[3] = {0, 0, 0};
  const int word = shift / 64;
  const int bit = shift % 64;
  limb[word] = mant << bit;
  if (bit > 0 && word < 2) limb[word + 1] = mant >> (64 - bit);
  for (int32_t i = 0; i < n; ++i) {
    unsigned __int128 carry = 0;
    for (uint64_t &l : limb) {
      const unsigned __int128 t =
          static_cast<unsigned __int128>(l) * 10 + carry;
      l = static_cast<uint64_t>(t);
      carry = t >> 64;
    }
    out[i] = static_cast<char>('0' + static_cast<int>(carry));
  }
}

// A time of day after carry rounding.
struct Carried {
  int64_t sod;    // whole seconds, cut down to the unit carried
  double frac;    // 0 after a carry
  int64_t hour;   // 1 when an hour was carried
  int32_t minute; // 1 when a minute was carried
};

// 1. Carry rounding: a time within 5 / 10^(d+1) + 1e-8 of the next whole
// hour, else of the next whole minute, is cut down to the unit and the
// unit carried.
Carried carry_round(int64_t sod, double frac, int32_t d) {
  const double r = kCarryIncrement[static_cast<std::size_t>(
      d < 0 ? 0 : (d > kMaxCarryDecimals ? kMaxCarryDecimals : d))];
  const int64_t in_hour = sod % 3600;
  if (static_cast<double>(in_hour) + frac + r >= 3600)
    return Carried{sod - in_hour, 0, 1, 0};
  const int64_t in_minute = sod % 60;
  if (static_cast<double>(in_minute) + frac + r >= 60)
    return Carried{sod - in_minute, 0, 0, 1};
  return Carried{sod, frac, 0, 0};
}

// Adds one second and lets it run on into the minutes and hours.
void carry_second(Clock &c) {
  if (++c.seconds < 60) return;
  c.seconds = 0;
  if (++c.minutes < 60) return;
  c.minutes = 0;
  ++c.hours;
}

} // namespace

bool split_wide_seconds(double v, Seconds &s) {
  if (!(v < kWideSplit)) return false;
  // v is a whole number here.
  const auto u = static_cast<unsigned __int128>(v);
  s.days = static_cast<int64_t>(u / kWholeSecondsPerDay);
  s.sod = static_cast<int64_t>(u % kWholeSecondsPerDay);
  s.frac = 0;
  return true;
}

int32_t seconds_field(double x, int32_t n, char *digits) {
  if (n > 0) std::memset(digits, '0', static_cast<std::size_t>(n));
  const double whole_x = floor_of(x);
  if (x == whole_x) return static_cast<int32_t>(whole_x);
  const int32_t ndig = binary_exponent(x) * 77 / 256; // integer digits, about
  const double y = n <= kSignificant - ndig ? (kHalfUnit[n] + x) * kFixedFuzz
                                            : x * kFixedFuzz;
  const double whole = floor_of(y);
  const int32_t int_digits = whole >= 10 ? 2 : 1; // "0" counts as one
  const int32_t lead = ndig < 0 ? 1 - ndig : 0;
  int32_t nf = n;
  if (n + int_digits - lead > kSignificant)
    nf = lead - int_digits + kSignificant;
  if (nf > 0) fraction_digits(y - whole, nf, digits);
  return static_cast<int32_t>(whole);
}

int32_t clock_round_fraction(const Seconds &s, bool negative, int32_t w,
                             int32_t d, HourStyle style, Clock &c) {
  c.negative = negative;
  c.pm = false;
  c.next_day = false;
  const bool twelve = style == HourStyle::kTwelve;
  const Carried k = carry_round(s.sod, s.frac, d);
  const int64_t hours = s.days * 24 + k.sod / 3600 + k.hour;
  if (hours > kClockMaxHours) return VF_ERR_TIME_HOURS;
  c.hours = hours;
  c.minutes = static_cast<int32_t>(k.sod % 3600 / 60) + k.minute;
  c.seconds = static_cast<int32_t>(k.sod % 60);
  if (c.minutes == 60) {
    c.minutes = 0;
    ++c.hours;
  }
  double f = k.frac;

  // The decimals shown follow from the columns the hours leave.
  auto lead = [&] {
    return lead_width(twelve ? twelve_hour(c.hours) : c.hours, c.negative);
  };
  const int32_t n = decimals_for(w, d, lead());

  // 2. Fraction carry.
  bool up = false;
  if (n == 0) {
    up = f >= 0.5;
  } else if (f > 0.9) {
    const double p = kPow10[n];
    const double fp = f * p;
    up = p - fp < 1 && fp - floor_of(fp) > kFractionCarryEdge;
  }
  if (up) {
    f = 0;
    carry_second(c);
  }

  // 3. The seconds field.
  const int32_t whole =
      seconds_field(static_cast<double>(c.seconds) + f, n, c.fraction);
  if (whole >= 60) {
    std::memset(c.fraction, '0', static_cast<std::size_t>(n));
    c.seconds = 59;
    carry_second(c);
  } else {
    c.seconds = whole;
  }

  // A carry may have widened the hours: drop decimals (zeros by now).
  c.decimals = decimals_for(w, n, lead());
  if (twelve) {
    const int64_t h = c.hours;
    c.next_day = h >= 24;
    c.pm = h % 24 >= 12;
    c.hours = twelve_hour(h);
  }
  return VF_OK;
}

void clock_write(const Clock &c, int32_t w, char *out, bool two_digit_hours) {
  if (w <= 0) return;
  if (!c.negative && c.hours < 100 && w >= 8) {
    // The common shape: "hh:mm:ss[.fff]" written from the right, the
    // leading zero of a one-digit hour a blank unless asked for.
    const int32_t n = c.decimals;
    const int32_t len = 8 + (n > 0 ? n + 1 : 0);
    if (len <= w && n <= w - (c.hours < 10 ? 8 : 9)) {
      char *p = out + (w - len);
      put_blanks(out, w - len);
      put_two_digits(p, static_cast<int32_t>(c.hours));
      if (c.hours < 10 && !two_digit_hours) p[0] = ' ';
      p[2] = ':';
      put_two_digits(p + 3, c.minutes);
      p[5] = ':';
      put_two_digits(p + 6, c.seconds);
      if (n > 0) {
        p[8] = '.';
        std::memcpy(p + 9, c.fraction, static_cast<std::size_t>(n));
      }
      return;
    }
  }
  const int32_t lead = lead_width(c.hours, c.negative);
  if (w < lead) {
    put_stars(out, w);
    return;
  }
  const bool minutes = w >= lead + 3;
  const bool seconds = w >= lead + 6;
  const int32_t n = decimals_for(w, c.decimals, lead);
  int32_t len = lead;
  if (minutes) len += 3;
  if (seconds) len += 3 + (n > 0 ? n + 1 : 0);
  put_blanks(out, w - len);
  char *p = out + (w - len);
  if (c.negative) *p++ = '-';
  const int32_t hd = lead - (c.negative ? 1 : 0);
  write_digits_backward(p + hd, static_cast<uint64_t>(c.hours), hd);
  if (two_digit_hours && hd == 1 && !c.negative && p > out) p[-1] = '0';
  p += hd;
  if (minutes) {
    *p++ = ':';
    put_two_digits(p, c.minutes);
    p += 2;
  }
  if (seconds) {
    *p++ = ':';
    put_two_digits(p, c.seconds);
    p += 2;
    if (n > 0) {
      *p++ = '.';
      std::memcpy(p, c.fraction, static_cast<std::size_t>(n));
    }
  }
}

double round_up_second(double x, int32_t d) {
  // Only a positive fraction can reach the thresholds.
  if (d > 1 || !(x > 0) || x >= kInt64Split) return x;
  const double whole = floor_of(x);
  if (x - whole >= (d == 0 ? 0.5 : 0.95)) return whole + 1;
  return x;
}

} // namespace valfmt
