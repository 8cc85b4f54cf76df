// Informats resolved by name (kind 73) and invoked through xffmt, as a
// host would use them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/missing.h"
#include "support/call_runner.h"

namespace {

struct Host {
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  fmtattr attrs{};
  int32_t rc;
  explicit Host(const char *name)
      : rc(xfname3(name, static_cast<int32_t>(std::strlen(name)),
                   VF_KIND_INFORMAT, &attrs, &h, nullptr)) {}
};

TEST(InformatResolve, NumericInformatsStoreTheDoubleUnconverted) {
  const struct {
    const char *name;
    const char *text;
    int32_t d;
    double want;
  } cases[] = {{"F", " 12.5e1", 0, 125.0},   {"E", "-1.5E-3", 0, -0.0015},
               {"COMMA", "1,234", 2, 12.34}, {"DOLLAR", "$(5)", 0, -5.0},
               {"NEGPAREN", "(12)", 0, -12}, {"COMMAX", "1.234,5", 0, 1234.5},
               {"DOLLARX", "$2,5", 0, 2.5},  {"PERCENT", "12%", 0, 0.12},
               {"BZ", "1 ", 0, 10.0},        {"NUMX", "3,25", 0, 3.25},
               {"YEN", "\\(7)", 0, -7.0},    {"SIZEKMG", "4K", 0, 4096.0}};
  for (const auto &c : cases) {
    Host host(c.name);
    ASSERT_EQ(host.rc, VF_OK) << c.name;
    for (uint32_t reqenc : {VF_ENC_NARROW, VF_ENC_UCS2, VF_ENC_UTF8}) {
      const int32_t w = static_cast<int32_t>(std::strlen(c.text));
      const vftest::Run r =
          vftest::invoke(host.h, c.text, w, c.d, 32, VF_ENC_NARROW, reqenc);
      EXPECT_EQ(r.status, VF_OK) << c.name;
      EXPECT_EQ(r.outlen, 8) << c.name;
      EXPECT_EQ(r.number(), c.want) << c.name << " reqenc " << reqenc;
      EXPECT_EQ(r.buffer[8], '#') << c.name << ": the double is not widened";
    }
  }
  Host f("F");
  const vftest::Run bad = vftest::invoke(f.h, "1,234", 5, 0, 32);
  EXPECT_EQ(bad.status, VF_ERR_INVALID_DATA);
  EXPECT_EQ(bad.bits(), valfmt::kStandardMissingBits);
}

TEST(InformatResolve, CharacterInformatsAreText) {
  Host upcase("$UPCASE");
  ASSERT_EQ(upcase.rc, VF_OK);
  EXPECT_EQ(upcase.attrs.defw, 8);
  // Narrow result widened to 16-bit units for a 16-bit caller.
  const vftest::Run wide =
      vftest::invoke(upcase.h, "ab\xE9", 4, 0, 16, VF_ENC_NARROW, VF_ENC_UCS2);
  EXPECT_EQ(wide.status, VF_OK);
  EXPECT_EQ(wide.outenc, VF_ENC_UCS2);
  EXPECT_EQ(wide.text, std::string("A\0B\0\xE9\0 \0", 8));
  // "$F" and "$" name the plain character informat.
  for (const char *name : {"$F", "$CHAR", "$"}) {
    Host h(name);
    ASSERT_EQ(h.rc, VF_OK) << name;
    const vftest::Run r = vftest::invoke(h.h, "ab\xE9", 4, 0, 16);
    EXPECT_EQ(r.outenc, VF_ENC_NARROW);
    EXPECT_EQ(r.text, "ab\xE9 ");
  }
  for (const char *name : {"$CHARZB", "$QUOTE", "$ASCII", "$REVERS", "$REVERJ",
                           "$CSTR", "$BYVAL"}) {
    Host h(name);
    ASSERT_EQ(h.rc, VF_OK) << name;
    EXPECT_NE(h.h->desc.fn, nullptr) << name;
  }
}

} // namespace
