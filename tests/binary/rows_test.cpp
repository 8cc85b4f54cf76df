// The vocabulary rows of the binary members resolve to their functions and
// run end to end through xffmt, writers and readers paired.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "binary/binary_test_util.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

struct Row {
  const char *name;
  bool informat;
  fmtfn fn;
};

constexpr Row kRows[] = {
    {"RB", false, wzfmrb},        {"IEEE", false, zfmieee},
    {"IEEER", false, zfmieer},    {"FLOAT", false, zfmflt},
    {"VAXRB", false, vaxrbfm},    {"MRB", false, zfmmrb},
    {"S370FRB", false, zf7rb},    {"S370FF", false, zf7f},
    {"XPORTFLT", false, xprtffl}, {"$XPORTCH", false, xprtfch},
    {"$BYVAL", false, byval},     {"HEX", false, zfmhex},
    {"OCTAL", false, zfmocn},     {"BINARY", false, zfmbtn},
    {"S370FHEX", false, zf7hex},  {"$HEX", false, zfmhexc},
    {"$OCTAL", false, zfmocc},    {"$BINARY", false, zfmbtc},
    {"$EBCDIC", false, s370ebc},  {"$ASCII", false, zfmasc},
    {"$REVERS", false, reverse},  {"$REVERJ", false, reversj},
    {"$CSTR", false, cstr},       {"NUMX", false, zfmnumx},
    {"RB", true, wzifmrb},        {"IEEE", true, zifmiee},
    {"IEEER", true, zifmier},     {"FLOAT", true, zifmflt},
    {"VAXRB", true, zifmvrb},     {"MRB", true, zifmmrb},
    {"S370FRB", true, zif7rb},    {"S370FF", true, zif7f},
    {"S370FHEX", true, zif7hex},  {"HEX", true, zifmhex},
    {"$HEX", true, zifmhxc},      {"$PHEX", true, zifmphx},
    {"OCTAL", true, zifmocn},     {"$OCTAL", true, zifmocc},
    {"BINARY", true, zifmbtn},    {"$BINARY", true, zifmbtc},
    {"BITS", true, zifmbit},      {"$EBCDIC", true, s370ieb},
    {"CB", true, zifmcb},         {"$CB", true, zifmccb},
    {"PUNCH", true, zifmpnc},     {"ROW", true, zifmrow},
};

struct Resolved {
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  int32_t rc;
  Resolved(const char *name, bool informat)
      : rc(xfname3(name, static_cast<int32_t>(std::strlen(name)),
                   informat ? VF_KIND_INFORMAT : 'F', nullptr, &h, nullptr)) {}
};

TEST(BinaryRows, EveryNameResolvesToItsFunction) {
  for (const Row &r : kRows) {
    const Resolved res(r.name, r.informat);
    ASSERT_EQ(res.rc, VF_OK) << r.name;
    EXPECT_EQ(res.h->desc.fn, r.fn) << (r.informat ? "@" : "") << r.name;
  }
}

TEST(BinaryRows, WriterAndReaderPairsThroughTheAccessLayer) {
  const struct {
    const char *name;
    int32_t w, d;
    double v;
  } pairs[] = {{"RB", 8, 0, -1.25},      {"IEEE", 8, 2, 3.5},
               {"FLOAT", 4, 0, 0.75},    {"VAXRB", 8, 1, 12.5},
               {"MRB", 8, 0, 1e-3},      {"S370FRB", 8, 3, -0.001},
               {"HEX", 16, 0, 0.1},      {"OCTAL", 24, 0, 4095},
               {"BINARY", 64, 0, -7.25}, {"S370FHEX", 16, 0, 2.5}};
  for (const auto &p : pairs) {
    const Resolved fmt(p.name, false);
    const Resolved inf(p.name, true);
    ASSERT_EQ(fmt.rc, VF_OK);
    ASSERT_EQ(inf.rc, VF_OK);
    const double v = p.v;
    const vftest::Run f =
        vftest::invoke(fmt.h, bintest::memory_of(v), p.w, p.d, p.w);
    ASSERT_GE(f.status, 0) << p.name;
    const vftest::Run r = vftest::invoke(inf.h, f.text, p.w, p.d, 8);
    EXPECT_EQ(r.status, VF_OK) << p.name;
    const double want =
        std::string(p.name) == "FLOAT" ? static_cast<double>(0.75f) : v;
    EXPECT_EQ(r.number(), want) << p.name;
  }
}

} // namespace
