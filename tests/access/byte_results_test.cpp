// Results that are bytes of a machine representation reach a 16-bit
// caller unchanged through xffmt, while text results are still widened.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "registry/byte_results.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

using vftest::bytes_of;
using vftest::invoke;

struct Resolved {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  explicit Resolved(const char *name, int32_t kind = 'F') {
    EXPECT_EQ(xfname3(name, static_cast<int32_t>(std::strlen(name)), kind,
                      nullptr, &h, nullptr),
              VF_OK)
        << name;
  }
};

std::string hex_of(const std::string &s) {
  static const char *digits = "0123456789ABCDEF";
  std::string h;
  for (const char c : s) {
    const auto ch = static_cast<unsigned char>(c);
    h += digits[ch >> 4];
    h += digits[ch & 15];
  }
  return h;
}

TEST(ByteResults, KeepTheirBytesForSixteenBitCallers) {
  struct Case {
    const char *name;
    double v;
    int32_t w, d;
    const char *hex; // expected field, worked out from the representation
  };
  const Case cases[] = {
      {"PD", 12.34, 4, 2, "00001234"},   // sign byte 00, digits 001234
      {"S370FPD", -123, 3, 0, "00123D"}, // sign nibble D
      {"S370FZD", 12, 3, 0, "F0F1C2"},   // EBCDIC zoned, zone C last
      {"IB", -1, 4, 0, "FFFFFFFF"},      // bytes 0x80..0x9F would change
      {"IEEE", 1.0, 8, 0, "3FF0000000000000"},
      {"S370FHEX", 1, 2, 0, "F0F1"}, // EBCDIC digits "01"
  };
  for (const Case &k : cases) {
    Resolved r(k.name);
    const auto run = invoke(r.h, bytes_of(k.v), k.w, k.d, 2 * k.w + 4,
                            VF_ENC_NARROW, VF_ENC_UCS2);
    EXPECT_EQ(run.status, VF_OK) << k.name;
    EXPECT_EQ(hex_of(run.text), k.hex) << k.name;
    EXPECT_EQ(run.outlen, k.w) << k.name;
    EXPECT_EQ(run.outenc, VF_ENC_NARROW) << k.name;
  }
}

TEST(ByteResults, CharacterInformatsThatYieldRawBytesAreNotWidened) {
  Resolved r("$HEX", VF_KIND_INFORMAT);
  // "8141" is the bytes 0x81 0x41: widening would map them to two units.
  const auto run = invoke(r.h, "8141", 4, 0, 16, VF_ENC_NARROW, VF_ENC_UCS2);
  EXPECT_EQ(run.status, VF_OK);
  EXPECT_EQ(hex_of(run.text), "8141");
  EXPECT_EQ(run.outenc, VF_ENC_NARROW);
}

TEST(ByteResults, TextResultsAreStillWidened) {
  Resolved hex("HEX");
  const auto run =
      invoke(hex.h, bytes_of(255.0), 4, 0, 8, VF_ENC_NARROW, VF_ENC_UCS2);
  EXPECT_EQ(run.outenc, VF_ENC_UCS2);
  EXPECT_EQ(run.text, std::string("0\0000\000F\000F\000", 8));
}

TEST(ByteResults, EveryListedFunctionIsARowFunction) {
  std::set<fmtfn> rows;
  for (const fmtposs_row &p : fmtposs) {
    const std::string full(p.fmtname, p.fmtnamelen);
    if (full.empty() || full[0] == '-') continue;
    const bool informat = full[0] == '@';
    const std::string name = full.substr(informat ? 1 : 0);
    fmthandle_storage st;
    fmthandle *h = &st.builtin;
    if (xfname3(name.data(), static_cast<int32_t>(name.size()),
                informat ? VF_KIND_INFORMAT : 'F', nullptr, &h,
                nullptr) == VF_OK)
      rows.insert(h->desc.fn);
  }
  for (const fmtfn fn : valfmt::kByteResultFns)
    EXPECT_TRUE(rows.count(fn) == 1) << reinterpret_cast<const void *>(fn);
  // And the check itself tells listed from unlisted functions.
  EXPECT_TRUE(valfmt::yields_bytes(&wzfmpd));
  EXPECT_FALSE(valfmt::yields_bytes(&zfmhex));
}

} // namespace
