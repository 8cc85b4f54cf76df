// Informats resolved by name (kind 73) and invoked through xffmt, as a
// host would use them.
#include <cstring>
#include <string>

#include "helpers.h"

namespace {

using informat_test::bits_of;

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
    int32_t w, d;
    double want;
  } cases[] = {{"F", "1,234", 5, 0, 0},
               {"F", " 12.5e1", 7, 0, 125.0},
               {"E", "-1.5E-3", 7, 0, -0.0015},
               {"COMMA", "1,234", 5, 2, 12.34},
               {"DOLLAR", "$(5)", 4, 0, -5.0},
               {"NEGPAREN", "(12)", 4, 0, -12},
               {"COMMAX", "1.234,5", 7, 0, 1234.5},
               {"DOLLARX", "$2,5", 4, 0, 2.5},
               {"PERCENT", "12%", 3, 0, 0.12},
               {"BZ", "1 ", 2, 0, 10.0},
               {"NUMX", "3,25", 4, 0, 3.25},
               {"YEN", "\\(7)", 4, 0, -7.0},
               {"SIZEKMG", "4K", 2, 0, 4096.0}};
  for (const auto &c : cases) {
    Host host(c.name);
    ASSERT_EQ(host.rc, VF_OK) << c.name;
    ASSERT_NE(host.h->desc.fn, nullptr) << c.name;
    for (uint32_t reqenc : {VF_ENC_NARROW, VF_ENC_UCS2, VF_ENC_UTF8}) {
      alignas(8) unsigned char out[32];
      std::memset(out, 0xA5, sizeof out);
      fmtcall call{};
      call.w = c.w;
      call.d = c.d;
      call.value = c.text;
      call.valuelen = static_cast<int32_t>(std::strlen(c.text));
      call.out = out;
      call.outsize = sizeof out;
      call.reqenc = reqenc;
      const int32_t st = xffmt(&call, host.h);
      double got;
      std::memcpy(&got, out, 8);
      EXPECT_EQ(call.outlen, 8) << c.name;
      EXPECT_EQ(out[8], 0xA5) << c.name << ": the double is not widened";
      if (std::strcmp(c.text, "1,234") == 0 && c.name[0] == 'F') {
        EXPECT_EQ(st, VF_ERR_INVALID_DATA);
        EXPECT_EQ(bits_of(got), valfmt::kStandardMissingBits);
      } else {
        EXPECT_EQ(st, VF_OK) << c.name;
        EXPECT_EQ(got, c.want) << c.name << " reqenc " << reqenc;
      }
    }
  }
}

TEST(InformatResolve, CharacterInformatsAreText) {
  Host upcase("$UPCASE");
  ASSERT_EQ(upcase.rc, VF_OK);
  EXPECT_EQ(upcase.attrs.defw, 8);
  char out[16];
  fmtcall call{};
  call.w = 4;
  call.value = "ab\xE9";
  call.valuelen = 3;
  call.out = out;
  call.outsize = sizeof out;
  call.reqenc = VF_ENC_UCS2;
  ASSERT_EQ(xffmt(&call, upcase.h), VF_OK);
  // Narrow result widened to 16-bit units for a 16-bit caller.
  EXPECT_EQ(call.outlen, 8);
  EXPECT_EQ(call.outenc, VF_ENC_UCS2);
  EXPECT_EQ(std::string(out, 8), std::string("A\0B\0\xE9\0 \0", 8));

  // "$F" and "$" name the plain character informat.
  for (const char *name : {"$F", "$CHAR", "$"}) {
    Host h(name);
    ASSERT_EQ(h.rc, VF_OK) << name;
    call.reqenc = VF_ENC_NARROW;
    call.outenc = 77;
    ASSERT_EQ(xffmt(&call, h.h), VF_OK);
    EXPECT_EQ(call.outlen, 4);
    EXPECT_EQ(call.outenc, VF_ENC_NARROW);
    EXPECT_EQ(std::string(out, 4), "ab\xE9 ");
  }

  // Every character informat of these modules resolves to a function.
  for (const char *name : {"$CHARZB", "$QUOTE", "$ASCII", "$REVERS", "$REVERJ",
                           "$CSTR", "$BYVAL"}) {
    Host h(name);
    ASSERT_EQ(h.rc, VF_OK) << name;
    EXPECT_NE(h.h->desc.fn, nullptr) << name;
  }
}

} // namespace
