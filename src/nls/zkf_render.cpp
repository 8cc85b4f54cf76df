// zkfdate, zkfdttm and zkftime: the value split into the parts the pattern
// expander shows, and the pattern taken from the call or the locale.
#include <cmath>
#include <cstring>
#include <string_view>

#include "core/missing.h"
#include "datetime/calendar.h"
#include "datetime/clock.h"
#include "nls/expand.h"
#include "nls/nl_date.h"
#include "nls/nl_output.h"

namespace valfmt {
namespace {

constexpr char kZoneSuffix[] = " %z";
constexpr int32_t kPatternMax = VF_LOC_TEXT + 4;

// The pattern of a call: the caller's bytes, or the locale field (with
// " %z" when the index carries kWithZone).  False when the field cannot
// be read.
bool pattern_of(int32_t locid, const char *pattern, int32_t pattern_or_field,
                char *buffer, std::string_view &out) {
  if (pattern != nullptr) {
    out = std::string_view(
        pattern,
        static_cast<std::size_t>(pattern_or_field > 0 ? pattern_or_field : 0));
    return true;
  }
  const bool zone = (pattern_or_field & kWithZone) != 0;
  const int32_t field = pattern_or_field & ~kWithZone;
  std::string_view text;
  if (field <= 0 || field >= VF_LOC_FIELDS ||
      !read_locale_field(locid, field, text))
    return false;
  std::size_t n = text.size();
  std::memcpy(buffer, text.data(), n);
  if (zone) {
    std::memcpy(buffer + n, kZoneSuffix, sizeof kZoneSuffix - 1);
    n += sizeof kZoneSuffix - 1;
  }
  out = std::string_view(buffer, n);
  return true;
}

int32_t render(int32_t locid, char *text, int32_t &width, const char *pattern,
               int32_t pattern_or_field, double date, double hour,
               double minute, double second) {
  char buffer[kPatternMax];
  std::string_view p;
  if (!pattern_of(locid, pattern, pattern_or_field, buffer, p))
    return kZkfNoField;
  const int32_t rc = expand(date, hour, minute, second, locid, p.data(),
                            static_cast<int32_t>(p.size()), text, width);
  if (rc == kExpandTooLong) return kZkfTooLong;
  return rc == kExpandOk ? kZkfOk : kZkfBadDirective;
}

} // namespace

double wrap_time_of_day(double t) {
  double r = std::fmod(std::fabs(t), kSecondsPerDay);
  if (t < 0 && r > 0) r = kSecondsPerDay - r;
  return r >= kSecondsPerDay ? 0.0 : r;
}

// Inclusive last date and datetime the locale formats show.
constexpr double kLastDate = 6589335;
constexpr double kLastDatetime = 569318630399.0;

int32_t zkfdate(int32_t locid, char *text, int32_t &width, const char *pattern,
                int32_t pattern_or_field, double date) {
  if (is_missing(date) || !date_in_range(date) || date > kLastDate)
    return kZkfBadValue;
  const double none = standard_missing();
  return render(locid, text, width, pattern, pattern_or_field, date, none, none,
                none);
}

int32_t zkfdttm(int32_t locid, char *text, int32_t &width, const char *pattern,
                int32_t pattern_or_field, double datetime) {
  if (is_missing(datetime) || !datetime_in_range(datetime) ||
      datetime > kLastDatetime)
    return kZkfBadValue;
  const DayTime dt = split_day_time(datetime);
  const int64_t sod = dt.time.sod; // seconds truncated
  const int64_t hour = sod / 3600;
  const int64_t minute = (sod / 60) % 60;
  return render(locid, text, width, pattern, pattern_or_field,
                static_cast<double>(dt.day), static_cast<double>(hour),
                static_cast<double>(minute), static_cast<double>(sod % 60));
}

int32_t zkftime(int32_t locid, char *text, int32_t &width, const char *pattern,
                int32_t pattern_or_field, double time) {
  if (is_missing(time) || !std::isfinite(time)) return kZkfBadValue;
  const auto t = static_cast<int64_t>(wrap_time_of_day(time));
  const int64_t hour = t / 3600;
  const int64_t minute = (t / 60) % 60;
  return render(locid, text, width, pattern, pattern_or_field,
                standard_missing(), static_cast<double>(hour),
                static_cast<double>(minute), static_cast<double>(t % 60));
}

} // namespace valfmt
