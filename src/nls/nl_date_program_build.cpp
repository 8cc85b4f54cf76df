// Building the parsed locale date patterns: every date pattern field of
// every locale record, and the fixed month and weekday patterns, parsed
// the way the expander reads them into operations over a pool of UCS-2
// units.  Each literal run and each name is converted on its own; a
// record whose pieces hold a '<' that does not begin a complete escape is
// marked unsafe and left to the expander.  Each program also records how
// long its text can get at most, so that a call whose width and buffer
// hold that much can write straight into its output.
#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/calendar.h"
#include "nls/expand.h"
#include "nls/locale_db.h"
#include "nls/nl_date_tables.h"
#include "nls/nl_output.h"

namespace valfmt::date_tables {
namespace {

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

// The common number shapes get their own operations.
void specialise(Op &o) {
  if (o.pad != '0') return;
  if (o.digits == 2 && o.source == Source::Day) o.code = Code::Day2;
  if (o.digits == 2 && o.source == Source::Month) o.code = Code::Month2;
  if (o.digits == 4 && o.source == Source::Year) o.code = Code::Year4;
}

struct Bound {
  int32_t units = 0;
  int32_t narrow = 0;
};

// Places of a number in the valid range: years have at most five digits,
// days of the year three, weekdays one, the other parts two.
int32_t number_places(const Op &o) {
  int32_t most = 2;
  switch (o.source) {
  case Source::Year:
  case Source::IsoYear:
    most = 5;
    break;
  case Source::Yday:
    most = 3;
    break;
  case Source::WeekdayMon1:
  case Source::WeekdaySun0:
    most = 1;
    break;
  default:
    break;
  }
  return std::max<int32_t>(most, o.digits);
}

// The longest of `count` names from `first`, padded to pad_to.
Bound names_bound(const Record &r, int32_t first, int32_t count,
                  int32_t pad_to) {
  Bound b;
  for (int32_t k = 0; k < count; ++k) {
    const Name &n = r.names[first + k - kFirstName];
    if (!n.readable) {
      b.units = std::max(b.units, 2);
      b.narrow = std::max(b.narrow, 2);
      continue;
    }
    const int32_t fill = pad_to > n.shown ? pad_to - n.shown : 0;
    b.units = std::max(b.units, n.count + fill);
    b.narrow = std::max(b.narrow, n.narrow + fill);
  }
  return b;
}

Bound op_bound(const Record &r, const Op &o) {
  const auto first = static_cast<int32_t>(o.first);
  switch (o.code) {
  case Code::Literal:
    return {o.count, o.narrow};
  case Code::WeekdayName:
    return names_bound(r, first, 7, o.pad_names ? r.longest_weekday : 0);
  case Code::MonthName:
    return names_bound(r, first, 12, o.pad_names ? r.longest_month : 0);
  case Code::QuarterName:
    return names_bound(r, first, 4, 0);
  case Code::Marker: {
    Bound b = names_bound(r, kMorning, 2, 0);
    b.units = std::max(b.units, 2); // "AM" / "PM"
    b.narrow = std::max(b.narrow, 2);
    return b;
  }
  case Code::Zone: // sign, hours (any count of digits), two of minutes
    return {14, 14};
  default:
    break;
  }
  const int32_t places = number_places(o);
  return {places, places};
}

void set_bounds(const Tables &t, const Record &r, Program &prog) {
  Bound total;
  for (uint32_t i = 0; i < prog.op_count; ++i) {
    const Op &o = t.ops[prog.first_op + i];
    const Bound b = op_bound(r, o);
    total.units += b.units + o.tail_count;
    total.narrow += b.narrow + o.tail_narrow;
    if (o.date) prog.needs = static_cast<uint8_t>(prog.needs | kNeedsDate);
    if (o.clock) prog.needs = static_cast<uint8_t>(prog.needs | kNeedsClock);
  }
  constexpr int32_t kCap = 0xFFFF;
  prog.most_units = static_cast<uint16_t>(std::min(total.units, kCap));
  prog.most_narrow = static_cast<uint16_t>(std::min(total.narrow, kCap));
  prog.direct_w = prog.most_units;
  prog.direct_cap = prog.most_narrow <= kConvertMax
                        ? 2 * (prog.most_units + kSlack)
                        : std::numeric_limits<int32_t>::max();
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
    o.clock = c == 'H' || c == 'I' || c == 'M' || c == 'S' || c == 'p';
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
      specialise(o);
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

// Folds each literal run that follows another operation into that
// operation's tail, so that running a program takes fewer steps.
void fold_literals(Tables &t, uint32_t first) {
  std::size_t kept = first;
  for (std::size_t i = first; i < t.ops.size(); ++i) {
    const Op o = t.ops[i];
    if (o.code == Code::Literal && kept > first &&
        t.ops[kept - 1].code != Code::Literal &&
        t.ops[kept - 1].tail_count == 0) {
      Op &prev = t.ops[kept - 1];
      prev.tail_count = o.count;
      prev.tail_narrow = o.narrow;
      prev.tail_first = o.first;
      continue;
    }
    t.ops[kept++] = o;
  }
  t.ops.resize(kept);
}

void build_program(Tables &t, Record &r, Program &prog, std::string_view text,
                   bool readable) {
  prog = Program{};
  prog.first_op = static_cast<uint32_t>(t.ops.size());
  if (!readable) return;
  Builder b(t, r);
  if (!parse(b, text)) {
    t.ops.resize(prog.first_op);
    return;
  }
  fold_literals(t, prog.first_op);
  prog.op_count = static_cast<uint16_t>(t.ops.size() - prog.first_op);
  prog.usable = true;
  set_bounds(t, r, prog);
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
  t.units.resize(t.units.size() + kSlack);     // slack for block copies
  return t;
}

} // namespace

const Tables kTables = build_tables();

const std::vector<int32_t> kYearStarts = [] {
  std::vector<int32_t> v;
  for (int64_t y = kFirstStartYear; y <= kLastStartYear; ++y)
    v.push_back(static_cast<int32_t>(day_number(y, 1)));
  return v;
}();

} // namespace valfmt::date_tables
