// The ISO 8601 calendar forms: dates, times and datetimes in the extended
// form (with delimiters) and the basic form (without), bare, with the UTC
// designator or with the local offset.  The extended writer builds the
// text into a field; the basic forms run it on a wider field and delete
// the delimiters.
#pragma once

#include <cstdint>

#include "datetime/local_zone.h"

namespace valfmt {

// The value ranges of the ISO forms: years 1582 to 9999.
inline constexpr double kIsoFirstDate = -138061.0;          // 1582-01-01
inline constexpr double kIsoDateLimit = 2936548.0;          // 10000-01-01
inline constexpr double kIsoFirstDatetime = -11928470400.0; // its midnight
inline constexpr double kIsoDatetimeLimit = 253717747200.0; // 10000-01-01
inline constexpr int32_t kIsoMaxDecimals = 6;
// The widest extended field (E8601DZ35.).
inline constexpr int32_t kIsoMaxWidth = 35;

enum class IsoForm : uint8_t {
  kDate,        // yyyy-mm-dd of a date value
  kDatePart,    // yyyy-mm-dd of a datetime value
  kTime,        // hh:mm:ss[.f]
  kTimeUtc,     // hh:mm:ss[.f] and Z or +00:00
  kTimeLocal,   // hh:mm:ss[.f] and Z or the local offset
  kDatetime,    // yyyy-mm-ddThh:mm:ss[.f]
  kDatetimeUtc, // yyyy-mm-ddThh:mm:ss[.f] and Z or +00:00
};

enum class IsoShown : uint8_t { kText, kMissing, kStars };

// What a field holds, and where its zone designator starts (the field's
// width when there is none).
struct IsoField {
  IsoShown shown;
  int32_t zone;
};

// Writes the extended text of v right-aligned in the w bytes at out
// (1 <= w <= kIsoMaxWidth) with up to d decimals (0..6) of seconds.
IsoField write_extended(IsoForm form, double v, int32_t w, int32_t d,
                        char *out);

// Writes the basic text of v right-aligned in the w bytes at out: the
// extended text of a field widened by `widen` columns (one more when
// d > 0, never beyond maxw) without its delimiters.
IsoField write_basic(IsoForm form, double v, int32_t w, int32_t d,
                     int32_t widen, int32_t maxw, char *out);

// The local offset from UTC as "+hh:mm" or "-hh:mm" (six characters and a
// terminator) in a buffer of the calling thread, valid until its next call.
const char *get_gmt_offsetc();

} // namespace valfmt
