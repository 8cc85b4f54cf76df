// Call blocks a careless or hostile host may send, each one a case that
// once went wrong: the call must stay inside its buffers, report a defined
// status and leave a defined output.  Run under the sanitizers in CI, where
// undefined behaviour on the way fails as well.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/call_runner.h"
#include "valfmt.h"

namespace {

fmthandle *resolve(fmthandle_storage *st, const char *name, bool informat) {
  fmthandle *h = &st->builtin;
  EXPECT_EQ(xfname3(name, static_cast<int32_t>(std::strlen(name)),
                    informat ? VF_KIND_INFORMAT : 'F', nullptr, &h, nullptr),
            VF_OK)
      << name;
  return h;
}

// A caller with no output buffer at all, in every requested encoding: an
// empty result is empty in each, and nothing is copied anywhere.
TEST(HostileCalls, NoBuffer) {
  const struct {
    const char *name;
    bool informat;
  } cases[] = {{"$REVERS", true}, {"$CHAR", false}, {"$UPCASE", false},
               {"$BYVAL", false}, {"$CSTR", false}, {"$REVERS", false}};
  for (const auto &k : cases) {
    for (const uint32_t reqenc : {VF_ENC_NARROW, VF_ENC_UTF8, VF_ENC_UCS2}) {
      fmthandle_storage st;
      fmthandle *h = resolve(&st, k.name, k.informat);
      const vftest::FencedBytes in("abc");
      fmtcall c{};
      c.w = 2;
      c.value = in.data();
      c.valuelen = 3;
      c.out = nullptr;
      c.outsize = 0;
      c.reqenc = reqenc;
      const int32_t status = xffmt(&c, h);
      EXPECT_TRUE(status == VF_OK || status < 0) << k.name;
      EXPECT_EQ(c.outlen, 0) << k.name << " reqenc " << reqenc;
    }
  }
}

// Locale money formats on values whose text has empty pieces (no sign, no
// whole digits to group): they render within w, without touching storage
// they do not have.
TEST(HostileCalls, LocaleMoneyOnTinyValues) {
  fmthandle_storage st;
  fmthandle *h = resolve(&st, "NLMNIHUF", false);
  for (const uint64_t bits :
       {0x0000003FF0000000ull, 0ull, 0x8000000000000000ull}) {
    const vftest::Run r = vftest::invoke(
        h, std::string_view(reinterpret_cast<const char *>(&bits), 8), 12, 0,
        12, 1);
    EXPECT_EQ(r.status, VF_OK);
    EXPECT_GT(r.outlen, 0);
    EXPECT_LE(r.outlen, 12);
  }
}

// Any locale ID outside the records reads en_US (ID 52), the extremes of
// the field included.
TEST(HostileCalls, ExtremeLocaleIdsReadEnUs) {
  for (const char *name : {"NLDATE", "NLNUM", "NLMNY"}) {
    fmthandle_storage st;
    fmthandle *h = resolve(&st, name, false);
    const double v = 22999.5;
    const auto run = [&](int32_t loc) {
      char out[64];
      fmtcall c{};
      c.w = 20;
      c.d = 0;
      c.value = &v;
      c.out = out;
      c.outsize = sizeof out;
      c.localeid = loc;
      const int32_t status = xffmt(&c, h);
      return std::to_string(status) + ":" +
             std::string(out, static_cast<std::size_t>(c.outlen));
    };
    const std::string en_us = run(52);
    EXPECT_EQ(run(INT32_MIN), en_us) << name;
    EXPECT_EQ(run(INT32_MAX), en_us) << name;
    EXPECT_EQ(run(0), en_us) << name;
    EXPECT_EQ(run(134), en_us) << name;
  }
}

// Widths of zero and below, down to the bottom of the field, give an empty
// field: no text, nothing written, no arithmetic that overflows on the way.
TEST(HostileCalls, LocaleNumbersWithoutWidth) {
  for (const char *name : {"NLNUM", "NLMNY", "NLPCT", "NLPCTN", "NLBEST"}) {
    fmthandle_storage st;
    fmthandle *h = resolve(&st, name, false);
    const uint64_t missing = 0xFFFFFE0000000000;
    for (const double v : {1234.5, std::bit_cast<double>(missing)}) {
      for (const int32_t w : {0, -1, INT32_MIN}) {
        const vftest::Run r = vftest::invoke(h, vftest::bytes_of(v), w, 2, 16);
        EXPECT_EQ(r.outlen, 0) << name << " w " << w << " of " << v;
        // A missing value blanks the buffer, as the missing display does.
        if (v == v) {
          EXPECT_EQ(r.buffer, std::string(16, '#')) << name << " w " << w;
        }
      }
    }
  }
}

// A decimals count far beyond what a field can show acts like any other
// count too large for the field: 12.25 needs four significant digits, so
// every precision past the width gives the same text, with its digits
// (a fixed form too long for the digit area once lost them).
TEST(HostileCalls, LocaleNumbersWithHugeDecimals) {
  for (const char *name : {"NLNUM", "NLPCTI", "NLMNY"}) {
    fmthandle_storage st;
    fmthandle *h = resolve(&st, name, false);
    const double v = 12.25;
    const auto run = [&](int32_t d) {
      const vftest::Run r = vftest::invoke(h, vftest::bytes_of(v), 20, d, 64);
      return std::to_string(r.status) + ":" + r.text;
    };
    const std::string beyond = run(21);
    EXPECT_EQ(run(INT32_MAX), beyond) << name;
    EXPECT_EQ(run(1 << 20), beyond) << name;
    EXPECT_EQ(run(600), beyond) << name;
    EXPECT_NE(beyond.find(std::string("2\0"
                                      "5\0",
                                      4)),
              std::string::npos)
        << name;
  }
}

} // namespace
