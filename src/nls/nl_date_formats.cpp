// The NLDATE, NLDATM and NLTIME families.  Each member names its value
// kind, a long and a short pattern (a locale field, a field with " %z"
// appended, or a fixed pattern) and the plain format it falls back on.
//
// Flow: the w/d check (bit 0 of options); a missing value as the missing
// display (d 0, narrow); a value outside the date or datetime range as
// asterisks.  Otherwise the long pattern is expanded (at most 320
// characters) and converted; when it expands too long or is wider than w
// columns (or its units do not fit outsize) the short pattern is tried.
// An expansion failure (unreadable field, unknown directive) skips the
// short pattern and goes to the fallback format, which runs on a private
// block with w limited to its own maximum width; its narrow text is
// converted like the locale text.  The last resort is the asterisk text.
//
// Calls whose host encoding counts two bytes a unit take the patterns
// parsed at load time (nl_date_program.h), which write UCS-2 directly;
// other calls expand the pattern text and convert it.  Both give the same
// bytes and statuses.
//
// Range: a date is shown for -138061 to 6589335 and a datetime for
// -11928470400 to 569318630399 seconds, both ends included; a fraction
// beyond the last whole day or second is out of range.
//
// Result length: a locale text is as long as its expansion (outlen =
// 2 * its units), left-aligned; the rest of outsize is filled with 16-bit
// blanks.  It is not padded to w.  Time values wrap into one day (a
// negative t counts back from midnight; -86400 is midnight, not 24:00:00).
#include <cmath>
#include <cstring>
#include <string_view>

#include "core/call.h"
#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/clock.h"
#include "nls/nl_date.h"
#include "nls/nl_date_program.h"
#include "nls/nl_output.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

enum class Kind { Date, Datetime, Time };

struct Pattern {
  int32_t field;    // locale field (with kWithZone), 0 for a fixed text
  const char *text; // fixed pattern, or null
  int32_t slot;     // its parsed pattern
};

struct NlDateMember {
  RowLimits limits;
  Kind kind;
  Pattern long_pattern;
  Pattern short_pattern;
  fmtfn fallback;
  RowLimits fallback_limits;
};

constexpr Pattern F(int32_t field) {
  return {field, nullptr, slot_of_field(field, false)};
}
constexpr Pattern Z(int32_t field) {
  return {field | kWithZone, nullptr, slot_of_field(field, true)};
}
constexpr Pattern T(const char *text, int32_t slot) {
  return {0, text, slot};
}
constexpr Pattern kNone{-1, nullptr, -1};

bool has_pattern(const Pattern &p) {
  return p.field >= 0;
}

int32_t expand_pattern(const NlDateMember &s, const Pattern &p, int32_t locid,
                       double v, char *text, int32_t &width) {
  const char *pattern = p.text;
  const int32_t arg =
      pattern != nullptr
          ? static_cast<int32_t>(std::string_view(pattern).size())
          : p.field;
  switch (s.kind) {
  case Kind::Date:
    return zkfdate(locid, text, width, pattern, arg, v);
  case Kind::Datetime:
    return zkfdttm(locid, text, width, pattern, arg, v);
  case Kind::Time:
    break;
  }
  return zkftime(locid, text, width, pattern, arg, v);
}

constexpr double kLastDate = 6589335;
constexpr double kLastDatetime = 569318630399.0;

bool in_range(Kind kind, double v) {
  switch (kind) {
  case Kind::Date:
    return date_in_range(v) && v <= kLastDate;
  case Kind::Datetime:
    return datetime_in_range(v) && v <= kLastDatetime;
  case Kind::Time:
    break;
  }
  return std::isfinite(v);
}

// The plain format's text, converted; false when there is none or it
// cannot be shown.
bool run_fallback(fmtcall *call, const NlDateMember &s) {
  if (s.fallback == nullptr) return false;
  const int32_t cap = out_capacity(call);
  if (cap == 0) return false;
  const int32_t w =
      call->w > s.fallback_limits.maxw ? s.fallback_limits.maxw : call->w;
  const int32_t status = run_base_format(call, s.fallback, w, 0, cap);
  if ((status != VF_OK && status != VF_WARN) || call->outlen <= 0 ||
      call->outlen > cap)
    return false;
  char text[kNlTextMax];
  const int32_t n = call->outlen < kNlTextMax ? call->outlen : kNlTextMax;
  std::memcpy(text, call->out, static_cast<std::size_t>(n));
  return deliver_left(call, text, n, call->w) == Delivery::Done;
}

ValueParts parts_of(Kind kind, double v) {
  ValueParts p;
  int64_t t = 0;
  switch (kind) {
  case Kind::Date:
    set_date_parts(p, day_of_date(v));
    return p;
  case Kind::Datetime: {
    const DayTime dt = split_day_time(v);
    set_date_parts(p, dt.day);
    t = dt.time.sod; // seconds truncated
    break;
  }
  case Kind::Time:
    t = static_cast<int64_t>(wrap_time_of_day(v));
    break;
  }
  p.has_clock = true;
  p.hour = static_cast<int32_t>(t / 3600);
  p.minute = static_cast<int32_t>((t / 60) % 60);
  p.second = static_cast<int32_t>(t % 60);
  return p;
}

// The long and short patterns expanded as text and converted.
bool show_expanded(fmtcall *call, const NlDateMember &s, double v) {
  const Pattern *patterns[2] = {&s.long_pattern, &s.short_pattern};
  for (const Pattern *p : patterns) {
    if (!has_pattern(*p)) break;
    char text[kNlTextMax];
    int32_t width = kNlTextMax;
    const int32_t rc = expand_pattern(s, *p, call->localeid, v, text, width);
    if (rc == kZkfTooLong) continue;
    if (rc != kZkfOk) break;
    if (deliver_left(call, text, width, call->w) == Delivery::Done) return true;
  }
  return false;
}

int32_t format_nl_date(fmtcall *call, const NlDateMember &s, bool parsed) {
  const int32_t checked = check_width_decimals(call, s.limits);
  if (checked != VF_OK) return checked;
  if (call->value == nullptr) return write_wide_stars(call, call->w);
  const double v = call_value(call);
  if (is_missing(v)) return write_missing(call, call->w, 0);
  if (!in_range(s.kind, v)) return write_wide_stars(call, call->w);
  ParsedOutcome o = ParsedOutcome::NotServed;
  if (parsed)
    o = show_parsed_patterns(call, s.long_pattern.slot, s.short_pattern.slot,
                             parts_of(s.kind, v));
  const bool shown = o == ParsedOutcome::NotServed ? show_expanded(call, s, v)
                                                   : o == ParsedOutcome::Shown;
  if (shown || run_fallback(call, s)) return VF_OK;
  return write_wide_stars(call, call->w);
}

#define VF_NL_DATE_FORMATS(X)                                                  \
  X(nldate, "NLDATE", Date, F(28), F(29), zfmdate, "DATE")                     \
  X(nldatemn, "NLDATEMN", Date, T("%B", kSlotFullMonth),                       \
    T("%b", kSlotAbbrevMonth), zfmmonname, "MONNAME")                          \
  X(nldatew, "NLDATEW", Date, F(37), F(38), zfmweekdate, "WEEKDATE")           \
  X(nldatewn, "NLDATEWN", Date, T("%A", kSlotFullWeekday),                     \
    T("%a", kSlotAbbrevWeekday), zfmdowname, "DOWNAME")                        \
  X(nldateym, "NLDATEYM", Date, F(39), F(40), nullptr, "NLDATEYM")             \
  X(nldatemd, "NLDATEMD", Date, F(41), F(42), nullptr, "NLDATEMD")             \
  X(nldateyr, "NLDATEYR", Date, F(43), F(44), nullptr, "NLDATEYR")             \
  X(nldateyq, "NLDATEYQ", Date, F(45), F(46), nullptr, "NLDATEYQ")             \
  X(nldateyw, "NLDATEYW", Date, F(47), F(48), nullptr, "NLDATEYW")             \
  X(nldatm, "NLDATM", Datetime, F(31), F(32), zfmdttm, "DATETIME")             \
  X(nldatmap, "NLDATMAP", Datetime, F(30), F(32), zfmdtmm, "DATEAMPM")         \
  X(nldatmw, "NLDATMW", Datetime, F(33), F(34), nullptr, "NLDATMW")            \
  X(nldatmz, "NLDATMZ", Datetime, Z(31), Z(32), nullptr, "NLDATMZ")            \
  X(nldatmwz, "NLDATMWZ", Datetime, Z(33), Z(34), nullptr, "NLDATMWZ")         \
  X(nldatmtm, "NLDATMTM", Datetime, F(36), kNone, zfmtod, "TOD")               \
  X(nldatmtz, "NLDATMTZ", Datetime, Z(36), kNone, zfmtod, "TOD")               \
  X(nldatmdt, "NLDATMDT", Datetime, F(28), F(29), zfmdtda, "DTDATE")           \
  X(nldatmmn, "NLDATMMN", Datetime, T("%B", kSlotFullMonth),                   \
    T("%b", kSlotAbbrevMonth), nullptr, "NLDATMMN")                            \
  X(nldatmwn, "NLDATMWN", Datetime, T("%A", kSlotFullWeekday),                 \
    T("%a", kSlotAbbrevWeekday), nullptr, "NLDATMWN")                          \
  X(nldatmym, "NLDATMYM", Datetime, F(39), F(40), nullptr, "NLDATMYM")         \
  X(nldatmmd, "NLDATMMD", Datetime, F(41), F(42), nullptr, "NLDATMMD")         \
  X(nldatmyr, "NLDATMYR", Datetime, F(43), F(44), nullptr, "NLDATMYR")         \
  X(nldatmyq, "NLDATMYQ", Datetime, F(45), F(46), nullptr, "NLDATMYQ")         \
  X(nldatmyw, "NLDATMYW", Datetime, F(47), F(48), nullptr, "NLDATMYW")         \
  X(nltime, "NLTIME", Time, F(36), kNone, zfmtime, "TIME")                     \
  X(nltimeap, "NLTIMAP", Time, F(35), kNone, zfmtimm, "TIMEAMPM")

#define VF_NL_DATE_MEMBER(fn, name, kind, lp, sp, fb, fbname)                  \
  constexpr NlDateMember k_##fn{row_limits(name),  Kind::kind, lp, sp, fb,     \
                                row_limits(fbname)};
VF_NL_DATE_FORMATS(VF_NL_DATE_MEMBER)
#undef VF_NL_DATE_MEMBER

} // namespace

int32_t nl_date_through_expander(fmtcall *call, fmtfn member) {
  if (call == nullptr) return VF_ERR_BAD_CALL;
#define VF_NL_DATE_EXPANDED(fn, ...)                                           \
  if (member == &::fn) return format_nl_date(call, k_##fn, false);
  VF_NL_DATE_FORMATS(VF_NL_DATE_EXPANDED)
#undef VF_NL_DATE_EXPANDED
  return VF_ERR_BAD_CALL;
}

} // namespace valfmt

extern "C" {
#define VF_NL_DATE_FN(fn, ...)                                                 \
  VF_API int32_t fn(fmtcall *call) {                                           \
    if (call == nullptr) return VF_ERR_BAD_CALL;                               \
    return valfmt::format_nl_date(call, valfmt::k_##fn, true);                 \
  }
VF_NL_DATE_FORMATS(VF_NL_DATE_FN)
#undef VF_NL_DATE_FN
} // extern "C"
