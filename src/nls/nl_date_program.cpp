// Running the parsed locale date patterns.  The tables are built once
// (nl_date_program_build.cpp); the runner only reads them.
//
// A program runs on one of two roads.  When the value has every part the
// program shows and the call's width and buffer hold the longest text the
// program can give, the text cannot turn out too wide: it is written
// straight into the output without length checks.  Otherwise it is built
// in a work text with the conversion's limits (256 narrow bytes) checked
// piece by piece, and copied out only when it fits.  Both roads run the
// same operations and give the same bytes.
#include "nls/nl_date_program.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>

#include "core/call.h"
#include "datetime/calendar.h"
#include "datetime/civil_fast.h"
#include "datetime/local_zone.h"
#include "nls/nl_date_tables.h"

namespace valfmt {
namespace {

using namespace date_tables;

// How one pattern turned out.
enum class PatternOutcome {
  Shown,    // written to the call's output, outlen and outenc set
  TooWide,  // longer than the work text, wider than w or beyond outsize
  Unusable, // the pattern field cannot be read or has an unknown directive
};

int32_t year_start(int64_t y) {
  return kYearStarts[static_cast<std::size_t>(y - kFirstStartYear)];
}

const Record &record_of(int32_t locid) {
  return kTables
      .records[locid >= 1 && locid <= kLocaleCount ? locid - 1 : kLocaleCount];
}

// Text under construction, in native 16-bit units at `b` (any alignment),
// with the narrow length it stands for when kChecked.  The checked text
// refuses to grow beyond what the conversion takes; the unchecked one is
// only used where the text is known to fit.
template <bool kChecked> struct Sink {
  char *b;
  const uint16_t *pool; // the unit pool, read once per call
  int32_t count = 0;
  int32_t narrow = 0;

  bool room(int32_t narrow_bytes) const {
    if constexpr (kChecked) return narrow + narrow_bytes <= kConvertMax;
    return true;
  }
  void add(int32_t units, int32_t narrow_bytes) {
    count += units;
    if constexpr (kChecked) narrow += narrow_bytes;
  }
  void unit(uint16_t u) {
    std::memcpy(b + 2 * count, &u, 2);
    add(1, 1);
  }
  // Copies 16 units at once (and more in blocks of eight when needed):
  // the unit pool keeps slack behind its last unit and the destination
  // has room for kSlack more.
  void put(const uint16_t *p, int32_t n, int32_t narrow_bytes) {
    std::memcpy(b + 2 * count, p, 32);
    for (int32_t i = 16; i < n; i += 8)
      std::memcpy(b + 2 * (count + i), p + i, 16);
    add(n, narrow_bytes);
  }
};

// The units of "00" .. "99", two per number.
constexpr auto kPairUnits = [] {
  std::array<uint16_t, 200> a{};
  for (std::size_t i = 0; i < 100; ++i) {
    a[2 * i] = static_cast<uint16_t>('0' + i / 10);
    a[2 * i + 1] = static_cast<uint16_t>('0' + i % 10);
  }
  return a;
}();

// Two digits of v in 0..99.
template <bool kChecked> void put_pair(Sink<kChecked> &t, int32_t v) {
  std::memcpy(t.b + 2 * t.count, &kPairUnits[2 * static_cast<std::size_t>(v)],
              4);
  t.add(2, 2);
}

// Writes v right-aligned in `digits` places padded with `pad` (none when
// pad is 0); more digits than places are all written.  False when the
// text would grow beyond the conversion's limit.
template <bool kChecked>
bool put_number(Sink<kChecked> &t, int32_t v, int32_t digits, char pad) {
  // The common shapes: two zero-padded digits, four-digit years.
  if (pad == '0' && digits == 2 && v >= 0 && v < 100 && t.room(2)) {
    put_pair(t, v);
    return true;
  }
  if (pad == '0' && digits == 4 && v >= 1000 && v < 10000 && t.room(4)) {
    put_pair(t, v / 100);
    put_pair(t, v % 100);
    return true;
  }
  char tmp[12];
  int32_t n = 0;
  const bool neg = v < 0;
  uint32_t m = neg ? 0U - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
  do {
    tmp[n++] = static_cast<char>('0' + m % 10);
    m /= 10;
  } while (m != 0);
  if (neg) tmp[n++] = '-';
  const int32_t fill = pad != 0 && digits > n ? digits - n : 0;
  if (!t.room(fill + n)) return false;
  for (int32_t i = 0; i < fill; ++i) t.unit(static_cast<uint8_t>(pad));
  while (n > 0) t.unit(static_cast<uint8_t>(tmp[--n]));
  return true;
}

// Four digits of a year from 1000 to 9999, otherwise the general writer.
template <bool kChecked> bool put_year4(Sink<kChecked> &t, int32_t v) {
  if (v < 1000 || v > 9999 || !t.room(4)) return put_number(t, v, 4, '0');
  put_pair(t, v / 100);
  put_pair(t, v % 100);
  return true;
}

// Weekday 0 (Sunday) .. 6 and day of the year (1-based) of the value.
int32_t wday_of(const ValueParts &p) {
  return weekday_of(p.day) - 1;
}
int32_t yday_of(const ValueParts &p) {
  return static_cast<int32_t>(p.day - year_start(p.year)) + 1;
}

struct IsoWeek {
  int32_t year;
  int32_t week;
};

IsoWeek iso_week(const ValueParts &p) {
  const int32_t iso_wd = wday_of(p) == 0 ? 7 : wday_of(p);
  const CivilDate t = civil_from_day(p.day - iso_wd + 4);
  return {t.year, (t.yday - 1) / 7 + 1};
}

int32_t number_of(Source s, const ValueParts &p) {
  switch (s) {
  case Source::Day:
    return p.mday;
  case Source::Month:
    return p.month;
  case Source::Yday:
    return yday_of(p);
  case Source::Year:
    return p.year;
  case Source::Year2:
    return p.year % 100;
  case Source::IsoYear:
    return iso_week(p).year;
  case Source::IsoYear2:
    return iso_week(p).year % 100;
  case Source::IsoWeek:
    return iso_week(p).week;
  case Source::WeekSunday:
    return (yday_of(p) - 1 + 7 - wday_of(p)) / 7;
  case Source::WeekMonday:
    return (yday_of(p) - 1 - (wday_of(p) + 6) % 7 + 7) / 7;
  case Source::WeekdayMon1:
    return wday_of(p) == 0 ? 7 : wday_of(p);
  case Source::WeekdaySun0:
    return wday_of(p);
  case Source::Hour:
    return p.hour;
  case Source::Hour12: {
    const int32_t h = p.hour <= 12 ? p.hour : p.hour % 12;
    return h == 0 ? 12 : h;
  }
  case Source::Minute:
    return p.minute;
  case Source::Second:
    break;
  }
  return p.second;
}

constexpr uint16_t kStars[16] = {'*', '*'}; // padded for block copies

template <bool kChecked>
[[gnu::always_inline]] inline bool put_name(Sink<kChecked> &t, const Record &r,
                                            uint32_t field, int32_t pad_to) {
  const Name &n = r.names[field - static_cast<uint32_t>(kFirstName)];
  if (!n.readable) {
    if (!t.room(2)) return false;
    t.put(kStars, 2, 2);
    return true;
  }
  const int32_t fill = pad_to > n.shown ? pad_to - n.shown : 0;
  if (!t.room(n.narrow + fill)) return false;
  t.put(t.pool + n.offset, n.count, n.narrow);
  for (int32_t i = 0; i < fill; ++i) t.unit(' ');
  return true;
}

template <bool kChecked> bool put_zone(Sink<kChecked> &t) {
  const int64_t east = -local_seconds_west();
  const int64_t a = east < 0 ? -east : east;
  if (!t.room(1)) return false;
  t.unit(east < 0 ? '-' : '+');
  return put_number(t, static_cast<int32_t>(a / 3600), 2, '0') &&
         put_number(t, static_cast<int32_t>((a / 60) % 60), 2, '0');
}

template <bool kChecked>
bool put_marker(Sink<kChecked> &t, const Record &r, const ValueParts &p) {
  const bool morning = p.hour % 24 <= 11;
  const int32_t field = kMorning + (morning ? 0 : 1);
  if (r.names[field - kFirstName].readable)
    return put_name(t, r, static_cast<uint32_t>(field), 0);
  static constexpr uint16_t kAm[16] = {'A', 'M'};
  static constexpr uint16_t kPm[16] = {'P', 'M'};
  if (!t.room(2)) return false;
  t.put(morning ? kAm : kPm, 2, 2);
  return true;
}

// Writes one operation's own text; false when the text outgrows the
// conversion.  The unchecked road is only taken when the value has every
// part shown.
template <bool kChecked>
bool run_main(Sink<kChecked> &t, const Op &o, const Record &r,
              const ValueParts &p) {
  if constexpr (kChecked) {
    if ((o.date && !p.has_date) || (o.clock && !p.has_clock)) {
      if (!t.room(2)) return false;
      t.put(kStars, 2, 2);
      return true;
    }
  }
  switch (o.code) {
  case Code::Literal:
    if (!t.room(o.narrow)) return false;
    t.put(t.pool + o.first, o.count, o.narrow);
    return true;
  case Code::Day2: // 1..31
    if (!t.room(2)) return false;
    put_pair(t, p.mday);
    return true;
  case Code::Month2: // 1..12
    if (!t.room(2)) return false;
    put_pair(t, p.month);
    return true;
  case Code::Year4:
    return put_year4(t, p.year);
  case Code::Number:
    return put_number(t, number_of(o.source, p), o.digits, o.pad);
  case Code::WeekdayName:
    return put_name(t, r, o.first + static_cast<uint32_t>(wday_of(p)),
                    o.pad_names ? r.longest_weekday : 0);
  case Code::MonthName:
    return put_name(t, r, o.first + static_cast<uint32_t>(p.month - 1),
                    o.pad_names ? r.longest_month : 0);
  case Code::QuarterName:
    return put_name(t, r, o.first + static_cast<uint32_t>((p.month - 1) / 3),
                    0);
  case Code::Marker:
    return put_marker(t, r, p);
  case Code::Zone:
    break;
  }
  return put_zone(t);
}

// Runs one operation and its literal tail; false when the text outgrows
// the conversion.
template <bool kChecked>
bool run_op(Sink<kChecked> &t, const Op &o, const Record &r,
            const ValueParts &p) {
  if (!run_main(t, o, r, p)) return false;
  if (o.tail_count == 0) return true;
  if (!t.room(o.tail_narrow)) return false;
  t.put(t.pool + o.tail_first, o.tail_count, o.tail_narrow);
  return true;
}

// The rest of outsize from `at` (even): 16-bit blanks, an odd last byte
// a narrow blank.  Stored in blocks of 16 units, the last block ending at
// the last whole unit and overlapping the one before it.
constexpr uint16_t kBlanks[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                  ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};

[[gnu::always_inline]] inline void fill_blanks(char *out, int32_t at,
                                               int32_t cap) {
  const int32_t n = cap - at;
  char *p = out + at;
  const int32_t whole = n & ~1; // bytes of whole units
  if (whole >= 32) {
    char *const last = p + whole - 32;
    for (; p < last; p += 32) std::memcpy(p, kBlanks, 32);
    std::memcpy(last, kBlanks, 32);
  } else if (whole >= 16) {
    std::memcpy(p, kBlanks, 16);
    std::memcpy(p + whole - 16, kBlanks, 16);
  } else if (whole >= 8) {
    std::memcpy(p, kBlanks, 8);
    std::memcpy(p + whole - 8, kBlanks, 8);
  } else {
    for (int32_t i = 0; i < whole; i += 2) std::memcpy(p + i, kBlanks, 2);
  }
  if (n > 0 && (n & 1) != 0) out[cap - 1] = ' ';
}

// The direct road: true when the value has every part the program shows
// and the width and the buffer hold its longest text, the slack of the
// block copies and the fixed blank blocks.
bool fits_surely(const Program &prog, const fmtcall *call, int32_t cap,
                 const ValueParts &parts) {
  const int32_t has =
      (parts.has_date ? kNeedsDate : 0) | (parts.has_clock ? kNeedsClock : 0);
  return (prog.needs & ~has) == 0 && call->w >= prog.direct_w &&
         cap >= prog.direct_cap;
}

PatternOutcome finish(fmtcall *call, int32_t count, int32_t cap) {
  fill_blanks(static_cast<char *>(call->out), 2 * count, cap);
  call->outlen = 2 * count;
  call->outenc = VF_ENC_UCS2;
  return PatternOutcome::Shown;
}

// Renders one program for the value and, when it fits, writes it.
PatternOutcome show_program(fmtcall *call, const Record &r, const Program &prog,
                            int32_t cap, const ValueParts &parts) {
  if (!prog.usable) return PatternOutcome::Unusable;
  const Op *op = kTables.ops.data() + prog.first_op;
  const Op *const end = op + prog.op_count;
  if (fits_surely(prog, call, cap, parts)) {
    char *out = static_cast<char *>(call->out);
    Sink<false> t{out, kTables.units.data()};
    for (; op != end; ++op) run_op(t, *op, r, parts);
    fill_blanks(out, 2 * t.count, cap);
    call->outlen = 2 * t.count;
    call->outenc = VF_ENC_UCS2;
    return PatternOutcome::Shown;
  }
  uint16_t units[kConvertMax + kSlack];
  Sink<true> t{reinterpret_cast<char *>(units), kTables.units.data()};
  for (; op != end; ++op)
    if (!run_op(t, *op, r, parts)) return PatternOutcome::TooWide;
  // The display length counts two bytes a unit, capped at 256; the width
  // two bytes a column.
  const int64_t width = std::min<int64_t>(
      static_cast<int64_t>(std::max(call->w, 0)) * 2, 1 << 20);
  const int32_t length = std::min(2 * t.count, kConvertMax);
  if (length > width || 2 * t.count > cap) return PatternOutcome::TooWide;
  std::memcpy(call->out, units, static_cast<std::size_t>(t.count) * 2);
  return finish(call, t.count, cap);
}

} // namespace

void set_date_parts(ValueParts &p, int64_t day) {
  // Year, month and day without branches; the day of the year and the
  // weekday are worked out where a pattern shows them.
  const YearMonthDay ymd = civil_fast(day);
  p.has_date = true;
  p.day = day;
  p.year = ymd.year;
  p.month = ymd.month;
  p.mday = ymd.day;
}

ParsedOutcome show_parsed_patterns(fmtcall *call, int32_t long_slot,
                                   int32_t short_slot,
                                   const ValueParts &parts) {
  const auto e = static_cast<int32_t>(call->inenc);
  const bool two_byte_units = e < 1 || e >= 230 || e == 24 || e == 25;
  const Record &r = record_of(call->localeid);
  if (!two_byte_units || !r.safe) return ParsedOutcome::NotServed;
  const int32_t cap = out_capacity(call);
  switch (show_program(call, r, r.programs[long_slot], cap, parts)) {
  case PatternOutcome::Shown:
    return ParsedOutcome::Shown;
  case PatternOutcome::Unusable:
    return ParsedOutcome::Fallback;
  case PatternOutcome::TooWide:
    break;
  }
  if (short_slot < 0) return ParsedOutcome::Fallback;
  return show_program(call, r, r.programs[short_slot], cap, parts) ==
                 PatternOutcome::Shown
             ? ParsedOutcome::Shown
             : ParsedOutcome::Fallback;
}

} // namespace valfmt
