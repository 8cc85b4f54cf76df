// Host time stamp informats: raw bytes written by mainframe system
// software read into time or datetime values.
//
//   @TODSTAMP  64-bit clock, big-endian (w 1..8 bytes: its high-order
//              part); bit 51 counts microseconds from 1900-01-01.
//   @MSEC      the same clock read as a time of day in seconds.
//   @TU        unsigned 32-bit count of 1/38400 second timer units.
//   @PDTIME    signed packed 0hhmmss.
//   @RMFDUR    signed packed mmssttt (minutes, seconds, thousandths).
//   @SMFSTAMP  hundredths of a second (unsigned 32-bit), packed 0cyyddd.
//   @RMFSTAMP  packed 0hhmmss, packed 0cyyddd.
//   @SHRSTAMP  packed 0cyyddd, unsigned packed hhmmssth.
//
// A signed packed field is four bytes: three bytes of packed digits read
// by the @PK reader, then the units digit (high half of the last byte) and
// a sign nibble of A to F (B and D negative).  A packed date 0cyyddd is the
// Julian date 1900000 + that number (c counts centuries from 1900).
//
// No missing-value notation applies.  A zero clock, an invalid packed time
// and an empty stamp (@SMFSTAMP) read as the standard missing value with
// status 0; an invalid packed date as the standard missing value with
// VF_ERR_DATE_TEXT; @MSEC beyond one day with VF_ERR_TIME_TEXT.
//
// Decisions taken here:
// - w outside the row's limits is VF_ERR_WD_LIMITS, and an input shorter
//   than w (valuelen < w) is VF_ERR_WIDTH, both with the standard missing
//   value: the stamp's bytes are never taken from beyond the input, nor
//   guessed.
// - @RMFSTAMP with a valid date and an invalid packed time stores the
//   standard missing value with status 0, as @PDTIME does for that time
//   (the date plus a missing time is no datetime).
// - @SHRSTAMP whose first three time bytes are not packed digits is
//   treated like a bad last time byte: standard missing value, status 0.
#include "binary/packed.h"
#include "datetime/calendar.h"
#include "informats/date_scan.h"
#include "registry/functions.h"
#include "registry/limits.h"

namespace valfmt {
namespace {

constexpr double kEpoch1900 = 1893369600.0; // seconds 1900-01-01..1960-01-01
constexpr double kMicrosPerSecond = 1000000.0;
constexpr uint64_t kMicrosPerDay = 86400000000ull;
constexpr int kClockShift = 12; // bit 51 is one microsecond
constexpr double kTimerUnitsPerSecond = 38400.0;
constexpr double kCenturyBase = 1900000.0;
constexpr int32_t kPackedField = 4;

uint32_t big_endian_32(const unsigned char *p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// The first w (1..8) bytes as the high-order end of a 64-bit clock,
// shifted down to microseconds.
uint64_t clock_micros(const unsigned char *p, int32_t w) {
  uint64_t x = 0;
  for (int32_t i = 0; i < 8; ++i) x = x << 8 | (i < w ? p[i] : 0u);
  return x >> kClockShift;
}

// A signed packed field of four bytes: true with its number.
bool read_signed_packed(const unsigned char *p, double &x) {
  const unsigned units = p[3] >> 4;
  const unsigned sign = p[3] & 0x0Fu;
  double head;
  if (units > 9 || sign < 0x0A || read_pk(p, 3, &head) != VF_OK) return false;
  x = head * 10 + units;
  if (sign == 0x0B || sign == 0x0D) x = -x;
  return true;
}

// The packed date 0cyyddd: VF_OK with its date value, or VF_ERR_DATE_TEXT.
// A date number of 0 is reported through `zero`.
int32_t read_packed_date(const unsigned char *p, double &date, bool &zero) {
  double number;
  if (!read_signed_packed(p, number)) return VF_ERR_DATE_TEXT;
  zero = number == 0;
  date = zdatjul(kCenturyBase + number);
  return is_missing(date) ? VF_ERR_DATE_TEXT : VF_OK;
}

// Seconds of the digits hhmmss of n (hours, minutes, seconds).
int64_t hhmmss_seconds(int64_t n) {
  return n / 10000 * 3600 + n % 10000 / 100 * 60 + n % 100;
}

// Seconds of a signed packed 0hhmmss: true with the time.
bool read_packed_time(const unsigned char *p, double &time) {
  double number;
  if (!read_signed_packed(p, number)) return false;
  const auto n = static_cast<int64_t>(number < 0 ? -number : number);
  const auto seconds = static_cast<double>(hhmmss_seconds(n));
  time = number < 0 ? -seconds : seconds;
  return true;
}

// Runs read(p, w, v) on a stamp of exactly w bytes, storing the value it
// leaves (the standard missing value unless it sets another).
template <class Reader>
int32_t run_stamp(fmtcall *c, RowLimits limits, Reader read) {
  InputText t;
  if (const int32_t st = begin_text_informat(c, limits.minw, limits.maxw, t)) {
    if (st == VF_ERR_WD_LIMITS) store_value(c->out, standard_missing());
    return st;
  }
  double v = standard_missing();
  const int32_t st = t.n < c->w ? VF_ERR_WIDTH : read(t.p, c->w, v);
  store_value(c->out, v);
  return st;
}

int32_t read_tod(const unsigned char *p, int32_t w, double &v) {
  const uint64_t micros = clock_micros(p, w);
  if (micros != 0)
    v = static_cast<double>(micros) / kMicrosPerSecond - kEpoch1900;
  return VF_OK;
}

int32_t read_msec(const unsigned char *p, int32_t w, double &v) {
  const uint64_t micros = clock_micros(p, w);
  if (micros >= kMicrosPerDay) return VF_ERR_TIME_TEXT;
  v = static_cast<double>(micros) / kMicrosPerSecond;
  return VF_OK;
}

int32_t read_tu(const unsigned char *p, int32_t, double &v) {
  v = big_endian_32(p) / kTimerUnitsPerSecond;
  return VF_OK;
}

int32_t read_pdtime(const unsigned char *p, int32_t, double &v) {
  double time;
  if (read_packed_time(p, time)) v = time;
  return VF_OK;
}

int32_t read_rmfdur(const unsigned char *p, int32_t, double &v) {
  double number;
  if (!read_signed_packed(p, number)) return VF_OK;
  const auto n = static_cast<int64_t>(number < 0 ? -number : number);
  const int64_t minute_seconds = n / 100000 * 60; // mm of mmssttt
  const double seconds = static_cast<double>(minute_seconds) +
                         static_cast<double>(n % 100000) / 1000.0;
  v = number < 0 ? -seconds : seconds;
  return VF_OK;
}

int32_t read_smfstamp(const unsigned char *p, int32_t, double &v) {
  const uint32_t hundredths = big_endian_32(p);
  if (hundredths == 0 && big_endian_32(p + kPackedField) == 0) return VF_OK;
  double date;
  bool zero = false;
  const int32_t st = read_packed_date(p + kPackedField, date, zero);
  if (zero) return hundredths == 0 ? VF_OK : VF_ERR_DATE_TEXT;
  if (st != VF_OK) return st;
  v = date * kSecondsPerDay + hundredths / 100.0;
  return VF_OK;
}

int32_t read_rmfstamp(const unsigned char *p, int32_t, double &v) {
  double date;
  bool zero = false;
  const int32_t st = read_packed_date(p + kPackedField, date, zero);
  if (zero) return VF_ERR_DATE_TEXT;
  if (st != VF_OK) return st;
  double time;
  if (read_packed_time(p, time)) v = date * kSecondsPerDay + time;
  return VF_OK;
}

int32_t read_shrstamp(const unsigned char *p, int32_t, double &v) {
  double date;
  bool zero = false;
  if (const int32_t st = read_packed_date(p, date, zero)) return st;
  const unsigned char *t = p + kPackedField;
  const unsigned tenths = t[3] >> 4;
  const unsigned hundredths = t[3] & 0x0Fu;
  double hhmmss;
  if (tenths > 9 || hundredths > 9 || read_pk(t, 3, &hhmmss) != VF_OK)
    return VF_OK;
  const auto n = static_cast<int64_t>(hhmmss);
  const double time = static_cast<double>(hhmmss_seconds(n)) + tenths / 10.0 +
                      hundredths / 100.0;
  v = date * kSecondsPerDay + time;
  return VF_OK;
}

} // namespace
} // namespace valfmt

extern "C" {

// Each stamp differs only in its row and its reader.
#define VF_TIME_STAMPS(X)                                                      \
  X(zifmtod, "@TODSTAMP", read_tod)                                            \
  X(zifmmse, "@MSEC", read_msec)                                               \
  X(zifmtu, "@TU", read_tu)                                                    \
  X(zifmpdt, "@PDTIME", read_pdtime)                                           \
  X(zifmrmd, "@RMFDUR", read_rmfdur)                                           \
  X(zifmsms, "@SMFSTAMP", read_smfstamp)                                       \
  X(zifmrms, "@RMFSTAMP", read_rmfstamp)                                       \
  X(zifmshr, "@SHRSTAMP", read_shrstamp)

#define VF_TIME_STAMP(fn, row, reader)                                         \
  VF_API int32_t fn(fmtcall *call) {                                           \
    constexpr valfmt::RowLimits kLimits = valfmt::row_limits(row);             \
    return valfmt::run_stamp(call, kLimits, valfmt::reader);                   \
  }
VF_TIME_STAMPS(VF_TIME_STAMP)
#undef VF_TIME_STAMP
#undef VF_TIME_STAMPS

} // extern "C"
