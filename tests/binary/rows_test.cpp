// Binary members resolved by name and run end to end through xffmt, each
// writer's field read back by its informat.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "binary/binary_test_util.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

struct Resolved {
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  int32_t rc;
  Resolved(const char *name, bool informat)
      : rc(xfname3(name, static_cast<int32_t>(std::strlen(name)),
                   informat ? VF_KIND_INFORMAT : 'F', nullptr, &h, nullptr)) {}
};

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
