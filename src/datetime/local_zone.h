#pragma once
// The process's standard offset from UTC, shared by every format that shows
// the local zone (the ISO local-zone forms and the locale patterns' zone
// directive).  The C library's zone is read once, on the first such call;
// the calls that follow neither lock nor read the environment.  A later
// change of TZ is seen only after refresh_local_offset().
#include <cstdint>

namespace valfmt {

// Seconds west of UTC (the C library's `timezone`), read once per process.
int64_t local_seconds_west();

// Reads the zone of the process again (tzset) for the calls that follow.
void refresh_local_offset();

} // namespace valfmt
