// The parsed locale patterns and their runner.  The lists are built once,
// during static initialisation, from the constant locale table; the
// runner only reads them.
//
// Equivalence with expanding to narrow text and converting: every piece
// (literal run, name, number, marker) is converted on its own at build
// time, which gives the same units as converting the joined text as long
// as no escape can span two pieces; a locale whose pieces hold a '<' that
// does not begin a complete escape is left to the general expander.  The
// narrow length of the joined text is kept beside the units, since the
// conversion's limits (320 expanded characters, 256 converted bytes) are
// limits on it.
#include "nls/nl_date_program.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "core/call.h"
#include "datetime/calendar.h"
#include "nls/expand.h"
#include "nls/locale_db.h"
#include "nls/nl_output.h"

namespace valfmt {
namespace {

constexpr int32_t kConvertMax = 256; // narrow bytes converted
constexpr int32_t kFirstName = 50;   // months, weekdays, markers,
constexpr int32_t kNameCount = 48;   // quarters: fields 50..97
constexpr int32_t kAbbrevWeekday = 74;
constexpr int32_t kFullWeekday = 81;
constexpr int32_t kAbbrevMonth = 50;
constexpr int32_t kFullMonth = 62;
constexpr int32_t kMorning = 88;
constexpr int32_t kAbbrevQuarter = 90;
constexpr int32_t kFullQuarter = 94;
constexpr int32_t kRecords = kLocaleCount + 1; // index kLocaleCount: default

enum class Code : uint8_t {
  Literal,
  Number,
  WeekdayName, // arg: first field; pad: pad to the longest (%f)
  MonthName,
  QuarterName,
  Marker,
  Zone,
};

enum class Source : uint8_t {
  Day,
  Month,
  Yday,
  Year,
  Year2,
  IsoYear,
  IsoYear2,
  IsoWeek,
  WeekSunday,
  WeekMonday,
  WeekdayMon1,
  WeekdaySun0,
  Hour,
  Hour12,
  Minute,
  Second,
};

struct Op {
  Code code;
  Source source;   // numbers
  uint8_t digits;  // numbers: places
  char pad;        // numbers: '0', ' ', or 0 for no padding
  bool date;       // shows a part of the date
  bool pad_names;  // names: padded to the longest name (%f, %c)
  uint16_t count;  // literals: units
  uint16_t narrow; // literals: narrow bytes
  uint32_t first;  // names: first field; literals: unit offset
};

struct Program {
  uint32_t first_op = 0;
  uint16_t op_count = 0;
  bool usable = false; // false: unreadable field or unknown directive
};

struct Name {
  uint32_t offset = 0; // into the unit pool
  uint16_t count = 0;  // units
  uint16_t narrow = 0; // narrow bytes
  uint16_t shown = 0;  // display characters (escapes count one)
  bool readable = false;
};

struct Record {
  bool safe = true;
  Program programs[kSlotCount];
  Name names[kNameCount];
  uint16_t longest_weekday = 0;
  uint16_t longest_month = 0;
};

struct Tables {
  std::vector<Op> ops;
  std::vector<uint16_t> units;
  Record records[kRecords];
};

unsigned hex_digit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return 0;
}

// Converts one piece of narrow text into the pool; false when a '<' in
// it does not begin a complete escape.
bool convert_piece(std::string_view s, std::vector<uint16_t> &pool) {
  const auto n = static_cast<int32_t>(s.size());
  bool safe = true;
  for (int32_t i = 0; i < n;) {
    auto u = static_cast<uint16_t>(
        static_cast<uint8_t>(s[static_cast<std::size_t>(i)]));
    const char *t = s.data() + i;
    if (n - i >= 7 && u == '<' && (t[1] == 'u' || t[1] == 'U') && t[6] == '>') {
      unsigned v = 0;
      for (int k = 2; k < 6; ++k) v = v * 16 + hex_digit(t[k]);
      u = static_cast<uint16_t>(v == 0xA4 ? 0x0001 : v);
      i += 7;
    } else {
      if (u == '<') safe = false;
      ++i;
    }
    pool.push_back(u);
  }
  return safe;
}

Source number_source(char c, uint8_t &digits, char &pad) {
  digits = 2;
  pad = '0';
  switch (c) {
  case 'd':
    return Source::Day;
  case 'e':
    pad = ' ';
    return Source::Day;
  case 'g':
    return Source::IsoYear2;
  case 'G':
    digits = 4;
    return Source::IsoYear;
  case 'j':
    digits = 3;
    return Source::Yday;
  case 'm':
    return Source::Month;
  case 'o':
    pad = ' ';
    return Source::Month;
  case 'U':
    return Source::WeekSunday;
  case 'u':
    digits = 1;
    return Source::WeekdayMon1;
  case 'V':
    return Source::IsoWeek;
  case 'W':
    return Source::WeekMonday;
  case 'w':
    digits = 1;
    return Source::WeekdaySun0;
  case 'Y':
    digits = 4;
    return Source::Year;
  case 'y':
    return Source::Year2;
  case 'H':
    return Source::Hour;
  case 'I':
    return Source::Hour12;
  case 'M':
    return Source::Minute;
  default: // 'S'
    return Source::Second;
  }
}

class Builder {
public:
  Builder(Tables &t, Record &r) : t_(t), r_(r) {}

  void literal(char c) {
    if (open_ < 0) {
      open_ = static_cast<int32_t>(t_.ops.size());
      Op op{};
      op.code = Code::Literal;
      op.first = static_cast<uint32_t>(t_.units.size());
      t_.ops.push_back(op);
      run_.clear();
    }
    run_.push_back(c);
  }

  void op(const Op &o) {
    close();
    t_.ops.push_back(o);
  }

  void close() {
    if (open_ < 0) return;
    Op &o = t_.ops[static_cast<std::size_t>(open_)];
    const std::size_t before = t_.units.size();
    if (!convert_piece(run_, t_.units)) r_.safe = false;
    o.count = static_cast<uint16_t>(t_.units.size() - before);
    o.narrow = static_cast<uint16_t>(run_.size());
    open_ = -1;
  }

private:
  Tables &t_;
  Record &r_;
  int32_t open_ = -1;
  std::string run_;
};

// Parses a pattern the way the expander reads it; false for a directive
// outside the table.
bool parse(Builder &b, std::string_view pattern) {
  auto len = static_cast<int32_t>(pattern.size());
  const char *p = pattern.data();
  while (len > 0 && p[len - 1] == ' ') --len;
  for (int32_t i = 0; i < len; ++i) {
    if (p[i] != '%') {
      b.literal(p[i]);
      continue;
    }
    char pad_flag = 0;
    bool lower = false;
    if (++i < len && (p[i] == '#' || p[i] == '0')) pad_flag = p[i++];
    if (i < len && p[i] == '?') {
      lower = true;
      ++i;
    }
    if (i >= len) return false;
    const char raw = p[i];
    if (raw == '%') {
      b.literal('%');
      continue;
    }
    const char c = fold_directive(raw, lower || (raw >= 'a' && raw <= 'z'));
    if (c == '\0') return false;
    Op o{};
    o.date = is_date_directive(c);
    switch (c) {
    case 'a':
    case 'A':
    case 'f':
      o.code = Code::WeekdayName;
      o.first = static_cast<uint32_t>(c == 'a' ? kAbbrevWeekday : kFullWeekday);
      o.pad_names = c == 'f';
      break;
    case 'b':
    case 'B':
    case 'c':
      o.code = Code::MonthName;
      o.first = static_cast<uint32_t>(c == 'b' ? kAbbrevMonth : kFullMonth);
      o.pad_names = c == 'c';
      break;
    case 'q':
    case 'Q':
      o.code = Code::QuarterName;
      o.first = static_cast<uint32_t>(c == 'q' ? kAbbrevQuarter : kFullQuarter);
      break;
    case 'p':
      o.code = Code::Marker;
      break;
    case 'z':
      o.code = Code::Zone;
      break;
    case 'Z':
      for (const char x : {'X', 'S', 'T'}) b.literal(x);
      continue;
    case 'v':
      continue;
    default:
      o.code = Code::Number;
      o.source = number_source(c, o.digits, o.pad);
      // %Y is always zero-padded; '#' drops the padding of the others.
      if (pad_flag == '#' && c != 'Y') o.pad = 0;
      break;
    }
    b.op(o);
  }
  b.close();
  return true;
}

void build_names(Tables &t, Record &r, int32_t locid) {
  for (int32_t k = 0; k < kNameCount; ++k) {
    Name &n = r.names[k];
    std::string_view s;
    n.readable = read_locale_field(locid, kFirstName + k, s);
    if (!n.readable) continue;
    n.offset = static_cast<uint32_t>(t.units.size());
    if (!convert_piece(s, t.units)) r.safe = false;
    n.count = static_cast<uint16_t>(t.units.size() - n.offset);
    n.narrow = static_cast<uint16_t>(s.size());
    n.shown = static_cast<uint16_t>(
        escaped_length(s.data(), static_cast<int32_t>(s.size())));
  }
  for (int32_t k = 0; k < 7; ++k) {
    const Name &n = r.names[kFullWeekday - kFirstName + k];
    if (n.readable) r.longest_weekday = std::max(r.longest_weekday, n.shown);
  }
  for (int32_t k = 0; k < 12; ++k) {
    const Name &n = r.names[kFullMonth - kFirstName + k];
    if (n.readable) r.longest_month = std::max(r.longest_month, n.shown);
  }
}

void build_program(Tables &t, Record &r, Program &prog, std::string_view text,
                   bool readable) {
  prog.first_op = static_cast<uint32_t>(t.ops.size());
  if (!readable) return;
  Builder b(t, r);
  if (!parse(b, text)) {
    t.ops.resize(prog.first_op);
    return;
  }
  prog.op_count = static_cast<uint16_t>(t.ops.size() - prog.first_op);
  prog.usable = true;
}

void build_record(Tables &t, Record &r, int32_t locid) {
  build_names(t, r, locid);
  for (int32_t f = kFirstPatternField; f <= kLastPatternField; ++f) {
    std::string_view s;
    const bool ok = read_locale_field(locid, f, s);
    build_program(t, r, r.programs[slot_of_field(f, false)], s, ok);
    const int32_t zone_slot = slot_of_field(f, true);
    if (zone_slot < 0) continue;
    std::string zoned(s);
    zoned += " %z";
    build_program(t, r, r.programs[zone_slot], zoned, ok);
  }
  build_program(t, r, r.programs[kSlotFullMonth], "%B", true);
  build_program(t, r, r.programs[kSlotAbbrevMonth], "%b", true);
  build_program(t, r, r.programs[kSlotFullWeekday], "%A", true);
  build_program(t, r, r.programs[kSlotAbbrevWeekday], "%a", true);
}

Tables build_tables() {
  Tables t;
  for (int32_t i = 0; i < kLocaleCount; ++i)
    build_record(t, t.records[i], i + 1);
  build_record(t, t.records[kLocaleCount], 0); // the default record
  t.units.resize(t.units.size() + 4);          // slack for block copies
  return t;
}

const Tables kTables = build_tables();

// Date value of 1 January of each year from kFirstYear to kLastYear, the
// years around the valid date range.
constexpr int64_t kFirstYear = 1580;
constexpr int64_t kLastYear = 20003;
const std::vector<int32_t> kYearStarts = [] {
  std::vector<int32_t> v;
  for (int64_t y = kFirstYear; y <= kLastYear; ++y)
    v.push_back(static_cast<int32_t>(day_number(y, 1)));
  return v;
}();

int32_t year_start(int64_t y) {
  return kYearStarts[static_cast<std::size_t>(y - kFirstYear)];
}

const Record &record_of(int32_t locid) {
  return kTables
      .records[locid >= 1 && locid <= kLocaleCount ? locid - 1 : kLocaleCount];
}

// Text under construction: units and the narrow length they stand for.
struct Units {
  uint16_t u[kConvertMax + 16]; // slack for block copies
  int32_t count = 0;
  int32_t narrow = 0;

  // False once the narrow text would exceed what the conversion takes.
  bool room(int32_t narrow_bytes) const {
    return narrow + narrow_bytes <= kConvertMax;
  }
  // Copies in blocks of four units: the work text and the unit pool
  // both keep slack behind their last unit.
  void put(const uint16_t *p, int32_t n, int32_t narrow_bytes) {
    for (int32_t i = 0; i < n; i += 4) std::memcpy(u + count + i, p + i, 8);
    count += n;
    narrow += narrow_bytes;
  }
};

// Writes v right-aligned in `digits` places padded with `pad` (none when
// pad is 0); more digits than places are all written.  False when the
// text would grow beyond the conversion's limit.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> a{};
  for (int i = 0; i < 100; ++i) {
    a[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    a[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return a;
}();

void put_pair(uint16_t *u, int32_t v) {
  u[0] = static_cast<uint8_t>(kDigitPairs[static_cast<std::size_t>(2 * v)]);
  u[1] = static_cast<uint8_t>(kDigitPairs[static_cast<std::size_t>(2 * v + 1)]);
}

bool put_number(Units &t, int32_t v, int32_t digits, char pad) {
  // The common shapes: two zero-padded digits, four-digit years.
  if (pad == '0' && digits == 2 && v >= 0 && v < 100 && t.room(2)) {
    put_pair(t.u + t.count, v);
    t.count += 2;
    t.narrow += 2;
    return true;
  }
  if (pad == '0' && digits == 4 && v >= 1000 && v < 10000 && t.room(4)) {
    put_pair(t.u + t.count, v / 100);
    put_pair(t.u + t.count + 2, v % 100);
    t.count += 4;
    t.narrow += 4;
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
  t.narrow += fill + n;
  for (int32_t i = 0; i < fill; ++i) t.u[t.count++] = static_cast<uint8_t>(pad);
  while (n > 0) t.u[t.count++] = static_cast<uint8_t>(tmp[--n]);
  return true;
}

struct IsoWeek {
  int32_t year;
  int32_t week;
};

IsoWeek iso_week(const ValueParts &p) {
  const int32_t iso_wd = p.wday == 0 ? 7 : p.wday;
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
    return p.yday;
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
    return (p.yday - 1 + 7 - p.wday) / 7;
  case Source::WeekMonday:
    return (p.yday - 1 - (p.wday + 6) % 7 + 7) / 7;
  case Source::WeekdayMon1:
    return p.wday == 0 ? 7 : p.wday;
  case Source::WeekdaySun0:
    return p.wday;
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

constexpr uint16_t kStars[4] = {'*', '*', 0, 0}; // padded for block copies

bool put_name(Units &t, const Record &r, const Tables &tab, uint32_t field,
              int32_t pad_to) {
  const Name &n = r.names[field - static_cast<uint32_t>(kFirstName)];
  if (!n.readable) {
    if (!t.room(2)) return false;
    t.put(kStars, 2, 2);
    return true;
  }
  const int32_t fill = pad_to > n.shown ? pad_to - n.shown : 0;
  if (!t.room(n.narrow + fill)) return false;
  t.put(tab.units.data() + n.offset, n.count, n.narrow);
  for (int32_t i = 0; i < fill; ++i) t.u[t.count++] = ' ';
  t.narrow += fill;
  return true;
}

bool put_zone(Units &t) {
  tzset();
  const long east = -timezone;
  const long a = east < 0 ? -east : east;
  if (!t.room(1)) return false;
  t.u[t.count++] = east < 0 ? '-' : '+';
  t.narrow += 1;
  return put_number(t, static_cast<int32_t>(a / 3600), 2, '0') &&
         put_number(t, static_cast<int32_t>((a / 60) % 60), 2, '0');
}

// Runs one operation; false when the text outgrows the conversion.
bool run_op(Units &t, const Op &o, const Record &r, const ValueParts &p) {
  const bool clock = (o.code == Code::Number && o.source >= Source::Hour) ||
                     o.code == Code::Marker;
  if ((o.date && !p.has_date) || (clock && !p.has_clock)) {
    if (!t.room(2)) return false;
    t.put(kStars, 2, 2);
    return true;
  }
  switch (o.code) {
  case Code::Literal:
    if (!t.room(o.narrow)) return false;
    t.put(kTables.units.data() + o.first, o.count, o.narrow);
    return true;
  case Code::Number:
    return put_number(t, number_of(o.source, p), o.digits, o.pad);
  case Code::WeekdayName:
    return put_name(t, r, kTables, o.first + static_cast<uint32_t>(p.wday),
                    o.pad_names ? r.longest_weekday : 0);
  case Code::MonthName:
    return put_name(t, r, kTables, o.first + static_cast<uint32_t>(p.month - 1),
                    o.pad_names ? r.longest_month : 0);
  case Code::QuarterName:
    return put_name(t, r, kTables,
                    o.first + static_cast<uint32_t>((p.month - 1) / 3), 0);
  case Code::Marker: {
    const bool morning = p.hour % 24 <= 11;
    const int32_t field = kMorning + (morning ? 0 : 1);
    if (r.names[field - kFirstName].readable)
      return put_name(t, r, kTables, static_cast<uint32_t>(field), 0);
    static constexpr uint16_t kAm[4] = {'A', 'M', 0, 0};
    static constexpr uint16_t kPm[4] = {'P', 'M', 0, 0};
    if (!t.room(2)) return false;
    t.put(morning ? kAm : kPm, 2, 2);
    return true;
  }
  case Code::Zone:
    break;
  }
  return put_zone(t);
}

} // namespace

void set_date_parts(ValueParts &p, int64_t day) {
  // The year from the estimate of civil_from_day, checked against the
  // table of year starts.
  int64_t y = (day + 715509) * 4000 / 1460969 + 1;
  int32_t start = year_start(y);
  int32_t next = year_start(y + 1);
  if (day < start) {
    next = start;
    start = year_start(--y);
  } else if (day >= next) {
    start = next;
    next = year_start(++y + 1);
  }
  const auto doy0 = static_cast<int32_t>(day - start);
  p.has_date = true;
  p.day = day;
  p.year = static_cast<int32_t>(y);
  p.yday = doy0 + 1;
  month_day(doy0, next - start == 366, p.month, p.mday);
  p.wday = weekday_of(day) - 1;
}

bool parsed_patterns_apply(const fmtcall *call) {
  const auto e = static_cast<int32_t>(call->inenc);
  const bool two_byte_units = e < 1 || e >= 230 || e == 24 || e == 25;
  return two_byte_units && record_of(call->localeid).safe;
}

PatternOutcome show_parsed_pattern(fmtcall *call, int32_t slot,
                                   const ValueParts &parts) {
  const Record &r = record_of(call->localeid);
  const Program &prog = r.programs[slot];
  if (!prog.usable) return PatternOutcome::Unusable;
  Units t;
  const Op *op = kTables.ops.data() + prog.first_op;
  for (const Op *end = op + prog.op_count; op != end; ++op)
    if (!run_op(t, *op, r, parts)) return PatternOutcome::TooWide;
  // The display length counts two bytes a unit, capped at 256; the width
  // two bytes a column.
  const int64_t width = std::min<int64_t>(
      static_cast<int64_t>(std::max(call->w, 0)) * 2, 1 << 20);
  const int32_t length = std::min(2 * t.count, kConvertMax);
  const int32_t cap = out_capacity(call);
  if (length > width || 2 * t.count > cap) return PatternOutcome::TooWide;
  char *out = static_cast<char *>(call->out);
  std::memcpy(out, t.u, static_cast<std::size_t>(t.count) * 2);
  int32_t at = 2 * t.count;
  // The rest of outsize: 16-bit blanks (an odd last byte a narrow blank).
  static constexpr uint64_t kFourBlanks = 0x0020002000200020ULL;
  for (; at + 8 <= cap; at += 8) std::memcpy(out + at, &kFourBlanks, 8);
  for (; at + 2 <= cap; at += 2) std::memcpy(out + at, &kFourBlanks, 2);
  if (at < cap) out[at] = ' ';
  call->outlen = 2 * t.count;
  call->outenc = VF_ENC_UCS2;
  return PatternOutcome::Shown;
}

} // namespace valfmt
