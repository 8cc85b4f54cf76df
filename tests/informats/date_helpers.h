// Helpers for the date and time informat suites: a guarded call (input
// fenced before an unreadable page, guard bytes after the 8-byte result),
// assertions on the status and the stored double, and an independent
// day count to state expected dates by their calendar date.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace date_test {

inline constexpr uint64_t kStandardMissing = 0xFFFFFE0000000000ull;
// What the runner leaves in a result that was never written.
inline constexpr uint64_t kUnwritten = 0x2323232323232323ull;

// Days from 1960-01-01 of a proleptic Gregorian date in which years
// divisible by 4000 are common years: a civil-day count from the
// era-based algorithm of the plain Gregorian calendar, minus one day for
// each 29 February of a multiple of 4000 that lies before the date.
constexpr int64_t days_from_civil_plain(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = y / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
constexpr int64_t day_of(int64_t y, int64_t m, int64_t d) {
  int64_t skipped = 0;
  for (int64_t k = 4000; k <= y; k += 4000)
    if (k < y || m > 2) ++skipped;
  return days_from_civil_plain(y, m, d) - days_from_civil_plain(1960, 1, 1) -
         skipped;
}
static_assert(day_of(1960, 1, 1) == 0);
static_assert(day_of(1582, 1, 1) == -138061);
static_assert(day_of(20000, 12, 31) == 6589335);

struct Read {
  int32_t status = 0;
  uint64_t bits = 0;
  int32_t outlen = 0;
  double value() const { return std::bit_cast<double>(bits); }
};

inline Read read(fmtfn fn, std::string_view text, int32_t w = -1) {
  const vftest::Run r = vftest::input(fn, text, w);
  Read out;
  out.status = r.status;
  out.outlen = r.outlen;
  if (r.buffer.size() >= 8) std::memcpy(&out.bits, r.buffer.data(), 8);
  return out;
}

inline std::string hex(int32_t status) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%08X", static_cast<uint32_t>(status));
  return b;
}

// Reads `text` with status 0 and exactly the double `expected`.
inline ::testing::AssertionResult reads(fmtfn fn, std::string_view text,
                                        double expected, int32_t w = -1) {
  const Read r = read(fn, text, w);
  if (r.status != VF_OK)
    return ::testing::AssertionFailure()
           << "\"" << text << "\": status " << hex(r.status);
  if (r.bits != std::bit_cast<uint64_t>(expected) || r.outlen != 8)
    return ::testing::AssertionFailure()
           << "\"" << text << "\": read " << r.value() << ", expected "
           << expected;
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult reads_date(fmtfn fn, std::string_view text,
                                             int64_t y, int64_t m, int64_t d,
                                             int32_t w = -1) {
  return reads(fn, text, static_cast<double>(day_of(y, m, d)), w);
}

// Fails with `status` and leaves `bits` (the standard missing value by
// default) in the result.
inline ::testing::AssertionResult fails(fmtfn fn, std::string_view text,
                                        int32_t status, int32_t w = -1,
                                        uint64_t bits = kStandardMissing) {
  const Read r = read(fn, text, w);
  if (r.status != status || r.bits != bits)
    return ::testing::AssertionFailure()
           << "\"" << text << "\": status " << hex(r.status) << " bits "
           << std::hex << r.bits << ", expected " << hex(status) << " bits "
           << bits;
  return ::testing::AssertionSuccess();
}

// The bits of the missing value with notation code c ('.', '_', 'A'..'Z').
constexpr uint64_t missing_bits(char c) {
  const uint64_t code = c == '_'   ? 0xFFu
                        : c == '.' ? 0xFEu
                                   : 0xFDu - static_cast<unsigned>(c - 'A');
  return 0xFFFF000000000000ull | code << 40;
}

// Every text fails with `status` and leaves the standard missing value.
inline void all_fail(fmtfn fn, int32_t status,
                     std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) EXPECT_TRUE(fails(fn, t, status));
}

// Every text reads as the date y-m-d.
inline void all_read(fmtfn fn, int64_t y, int64_t m, int64_t d,
                     std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) EXPECT_TRUE(reads_date(fn, t, y, m, d));
}

} // namespace date_test
