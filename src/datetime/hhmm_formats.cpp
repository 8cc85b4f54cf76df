// HHMM (hours and minutes, the minutes with decimals) and MMSS (minutes and
// seconds, the seconds with decimals): one pattern with two fields.  The
// first field is the whole count of the larger unit, the second the rest
// in the smaller unit, rendered by the fixed renderer with d decimals and
// leading zeros; a second field that rounds to 60 carries into the first.
//
// The text is laid out in min(w, outsize) columns: an outsize below w
// still gets a complete, shorter layout, with status VF_ERR_OUTSIZE (also
// for the missing display cut to the buffer).  A first field wider than
// those columns shows "**" at their end.
//
// Choices where the format's definition leaves room:
//  - When the columns left after "h:" cannot hold the second field with d
//    decimals, it is rendered with as many decimals as fit (none when
//    fewer than four columns are left), rounded, never cut: HHMM5.2 of
//    3723 reads " 1:02", not "1:02.".  With no decimals shown, HHMM rounds
//    the minute as it does at d = 0 (up when more than 30 s remain).
//  - Widths outside the row's limits give asterisks and VF_ERR_WIDTH;
//    decimals below 0 count as 0, above the row's maximum as that maximum.
#include <cmath>
#include <cstring>

#include "core/call.h"
#include "core/digits.h"
#include "datetime/clock.h"
#include "datetime/call_checks.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr RowLimits kHhmm = row_limits("HHMM");
constexpr RowLimits kMmss = row_limits("MMSS");

// Widest second field the renderer is asked for.
constexpr int32_t kMaxSecondField = 18;
constexpr int32_t kTextCap = 48;

enum class Pair { kHoursMinutes, kMinutesSeconds };

struct Fields {
  int64_t first;   // whole hours (HHMM) or whole minutes (MMSS)
  int32_t minutes; // HHMM: whole minutes into the hour
  double rest;     // HHMM: seconds into the minute; MMSS: the seconds
};

Fields split(double a, Pair pair) {
  Seconds s;
  split_seconds(a, s);
  Fields f{};
  f.rest = static_cast<double>(s.sod % 60) + s.frac;
  if (pair == Pair::kHoursMinutes) {
    f.first = s.days * 24 + s.sod / 3600;
    f.minutes = static_cast<int32_t>(s.sod % 3600 / 60);
  } else {
    f.first = s.days * 1440 + s.sod / 60;
  }
  return f;
}

int32_t field_width(int32_t d) {
  const int32_t k = d + 2 + (d > 0 ? 1 : 0);
  return k > kMaxSecondField ? kMaxSecondField : k;
}

// Decimals of the second field that fit `room` columns.
int32_t fitting_decimals(int32_t d, int32_t room) {
  if (room <= 1 || field_width(d) <= room) return d;
  return room >= 4 ? room - 3 : 0;
}

// The second field rendered by the fixed renderer into k columns, leading
// blanks as zeros.
void render_second(const fmtcall *c, double x, int32_t k, int32_t d,
                   char *out) {
  fmtcall inner = *c;
  inner.w = k;
  inner.d = d;
  inner.value = &x;
  inner.out = out;
  inner.outsize = k;
  zfmt(&inner);
  for (int32_t i = 0; i < k; ++i)
    if (out[i] == ' ') out[i] = '0';
}

// "prefix:field" right-aligned in width columns, the second field cut to
// the room left; "**" at the end when the prefix alone does not fit.
void lay_out(char *out, int32_t width, const char *prefix, int32_t plen,
             const char *field, int32_t k) {
  put_blanks(out, width);
  if (width < plen) {
    const int32_t n = width < 2 ? width : 2;
    put_stars(out + width - n, n);
    return;
  }
  char text[kTextCap];
  std::memcpy(text, prefix, static_cast<std::size_t>(plen));
  int32_t len = plen;
  const int32_t room = width - plen - 1;
  if (room > 1) {
    const int32_t shown = k < room ? k : room;
    text[len++] = ':';
    std::memcpy(text + len, field, static_cast<std::size_t>(shown));
    len += shown;
  }
  std::memcpy(out + width - len, text, static_cast<std::size_t>(len));
}

int32_t two_fields(fmtcall *c, const RowLimits &limits, Pair pair) {
  int32_t status;
  if (!narrow_call_ok(c, limits, ShortBuffer::kCut, &status)) return status;
  const int32_t cap = out_capacity(c);
  const bool cut = cap < c->w;
  const int32_t width = cut ? cap : c->w;
  double v = 0;
  if (!clock_value(c, &v, &status))
    return status == VF_OK && cut ? VF_ERR_OUTSIZE : status;
  const int32_t d = clock_decimals(c, limits.maxd);
  const bool negative = v < 0;
  Fields f = split(std::fabs(v), pair);

  // The prefix: the sign and the first field's digits.
  char prefix[24];
  int32_t plen = 0;
  auto make_prefix = [&] {
    plen = 0;
    if (negative) prefix[plen++] = '-';
    const auto u = static_cast<uint64_t>(f.first);
    const int32_t nd = digit_count(u);
    write_digits_backward(prefix + plen + nd, u, nd);
    plen += nd;
  };
  make_prefix();
  const int32_t de = fitting_decimals(d, width - plen - 1);
  double second;
  if (pair == Pair::kHoursMinutes && de == 0) {
    // The minute rounds up when the seconds are nearer 60 than 0.
    f.minutes += f.rest > 30 ? 1 : 0;
    if (f.minutes == 60) {
      f.minutes = 0;
      ++f.first;
      make_prefix();
    }
    second = f.minutes;
  } else if (pair == Pair::kHoursMinutes) {
    second = f.minutes + f.rest / 60;
  } else {
    second = f.rest;
  }
  int32_t k = field_width(de);
  char field[kMaxSecondField];
  render_second(c, second, k, de, field);
  if (second > 59 && field[0] == '6') {
    ++f.first;
    make_prefix();
    const int32_t de2 = fitting_decimals(de, width - plen - 1);
    k = field_width(de2);
    render_second(c, 0.0, k, de2, field);
  }

  lay_out(static_cast<char *>(c->out), width, prefix, plen, field, k);
  return finish_narrow(c, width, cut ? VF_ERR_OUTSIZE : VF_OK);
}

} // namespace
} // namespace valfmt

extern "C" {

VF_API int32_t zfmhhmm(fmtcall *call) {
  return valfmt::two_fields(call, valfmt::kHhmm, valfmt::Pair::kHoursMinutes);
}

VF_API int32_t zfmmmss(fmtcall *call) {
  return valfmt::two_fields(call, valfmt::kMmss, valfmt::Pair::kMinutesSeconds);
}

} // extern "C"
