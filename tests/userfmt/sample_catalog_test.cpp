// The sample catalogue in examples/, read as "cntlout.xml" from the
// working directory the way a host reads it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>

#include "core/missing.h"
#include "catalog_builder.h"

using namespace uftest;

namespace {

class UserfmtSample : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(getcwd(old_, sizeof old_), nullptr);
    ASSERT_EQ(chdir(VALFMT_SOURCE_DIR "/examples"), 0);
  }
  void TearDown() override { ASSERT_EQ(chdir(old_), 0); }

  // Resolves from the file: a context without in-memory text.
  int32_t resolve(const char *name, fmthandle **h) {
    fmtcontext ctx{};
    *h = nullptr;
    return xfname2(name, static_cast<int32_t>(std::strlen(name)), 'F', nullptr,
                   h, &ctx);
  }
  char old_[4096];
};

TEST_F(UserfmtSample, NumericCharacterAndPictureFormats) {
  fmthandle *h = nullptr;
  ASSERT_EQ(resolve("AGEGRP", &h), 0);
  EXPECT_EQ(put_number(h, 42, 8, 0, VF_ENC_NARROW).bytes, "adult   ");
  EXPECT_EQ(put_number(h, 12.9, 8, 0, VF_ENC_NARROW).bytes, "child   ");
  EXPECT_EQ(put_number(h, 13, 8, 0, VF_ENC_NARROW).bytes, "teenager");
  EXPECT_EQ(put_number(h, 65, 8, 0, VF_ENC_NARROW).bytes, "senior  ");
  EXPECT_EQ(
      put_number(h, valfmt::standard_missing(), 8, 0, VF_ENC_NARROW).bytes,
      "unknown ");
  xfdel(h);

  ASSERT_EQ(resolve("$GRADE", &h), 0);
  EXPECT_EQ(put_text(h, "B", 1, VF_ENC_NARROW, 12, VF_ENC_NARROW).bytes,
            "good        ");
  EXPECT_EQ(put_text(h, "E", 1, VF_ENC_NARROW, 12, VF_ENC_NARROW).bytes,
            "insufficient");
  EXPECT_EQ(put_text(h, "Z", 1, VF_ENC_NARROW, 12, VF_ENC_NARROW).bytes,
            "no grade    ");
  xfdel(h);

  ASSERT_EQ(resolve("AMOUNT", &h), 0);
  EXPECT_EQ(put_number(h, 1234567.891, 15, 0, VF_ENC_NARROW).bytes,
            "   1,234,567.89");
  EXPECT_EQ(put_number(h, -0.5, 15, 0, VF_ENC_NARROW).bytes, "          -0.50");
  xfdel(h);

  ASSERT_EQ(resolve("ISODAY", &h), 0);
  EXPECT_EQ(put_number(h, 0, 10, 0, VF_ENC_NARROW).bytes, "1960-01-01");
  xfdel(h);

  EXPECT_EQ(resolve("GRADE", &h), VF_NOT_FOUND);
  EXPECT_EQ(resolve("$AGEGRP", &h), VF_NOT_FOUND);
}

} // namespace
