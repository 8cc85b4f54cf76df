// The local offset text of the local-zone formats: "+hh:mm" east of UTC
// or on it, "-hh:mm" west of it, from the C library's standard offset
// (`timezone`, seconds west of UTC; daylight saving time is not applied,
// since a time of day carries no date to decide it by).
//
// The zone is read once per process, on the first local-zone call: tzset()
// reads TZ there and then, and the offset is kept in one atomic word, so
// the calls that follow neither lock nor read the environment.  A change
// of TZ made later in the process is therefore not seen; a host that sets
// TZ does so before its first local-zone call (refresh_local_offset reads
// it again, for tests and tools).  Concurrent first calls wait for one
// of them to read the zone: tzset() rewrites the C library's zone
// variables, which another thread's tzset() must not see half done.  The
// text is built per call in a buffer of the calling thread, so concurrent
// callers never share it.
#include <time.h>

#include <atomic>
#include <cstdint>

#include "core/digits.h"
#include "datetime/iso8601/iso_forms.h"
#include "datetime/local_zone.h"

namespace valfmt {
namespace {

// Seconds west of UTC, or kUnread before the first call.
constexpr int64_t kUnread = INT64_MIN;
std::atomic<int64_t> g_seconds_west{kUnread};

int64_t read_zone() {
  tzset();
  return static_cast<int64_t>(timezone);
}

// The zone as the first local-zone call reads it, exactly once.
int64_t first_reading() {
  static const int64_t west = read_zone();
  return west;
}

} // namespace

void refresh_local_offset() {
  g_seconds_west.store(read_zone(), std::memory_order_relaxed);
}

int64_t local_seconds_west() {
  int64_t west = g_seconds_west.load(std::memory_order_relaxed);
  if (west == kUnread) {
    west = first_reading();
    g_seconds_west.store(west, std::memory_order_relaxed);
  }
  return west;
}

const char *get_gmt_offsetc() {
  thread_local char text[7];
  const int64_t west = local_seconds_west();
  text[0] = west <= 0 ? '+' : '-';
  const int64_t minutes = (west < 0 ? -west : west) / 60;
  put_two_digits(text + 1, static_cast<int32_t>(minutes / 60 % 100));
  text[3] = ':';
  put_two_digits(text + 4, static_cast<int32_t>(minutes % 60));
  text[6] = '\0';
  return text;
}

} // namespace valfmt
