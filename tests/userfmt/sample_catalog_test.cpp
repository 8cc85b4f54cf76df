// The sample catalogue in examples/, read as "cntlout.xml" from the
// working directory the way a host reads it.
#include <gtest/gtest.h>

#include <unistd.h>

#include "catalog_builder.h"
#include "core/missing.h"

using namespace uftest;

namespace {

TEST(UserfmtSample, NumericCharacterAndPictureFormats) {
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(VALFMT_SOURCE_DIR "/examples"), 0);
  // Resolves from the file: a context without in-memory text.
  auto resolve = [](const char *name, fmthandle **h) {
    fmtcontext ctx{};
    *h = nullptr;
    return xfname2(name, static_cast<int32_t>(std::strlen(name)), 'F', nullptr,
                   h, &ctx);
  };
  fmthandle *h = nullptr;
  ASSERT_EQ(resolve("AGEGRP", &h), 0);
  EXPECT_EQ(narrow(h, 42, 8), "adult   ");
  EXPECT_EQ(narrow(h, 12.9, 8), "child   ");
  EXPECT_EQ(narrow(h, 13, 8), "teenager");
  EXPECT_EQ(narrow(h, 65, 8), "senior  ");
  EXPECT_EQ(narrow(h, valfmt::standard_missing(), 8), "unknown ");
  xfdel(h);
  ASSERT_EQ(resolve("$GRADE", &h), 0);
  EXPECT_EQ(text(h, "B", 12), "good        ");
  EXPECT_EQ(text(h, "E", 12), "insufficient");
  EXPECT_EQ(text(h, "Z", 12), "no grade    ");
  xfdel(h);
  ASSERT_EQ(resolve("AMOUNT", &h), 0);
  EXPECT_EQ(narrow(h, 1234567.891, 15), "   1,234,567.89");
  EXPECT_EQ(narrow(h, -0.5, 15), "          -0.50");
  xfdel(h);
  ASSERT_EQ(resolve("ISODAY", &h), 0);
  EXPECT_EQ(narrow(h, 0, 10), "1960-01-01");
  xfdel(h);
  EXPECT_EQ(resolve("GRADE", &h), VF_NOT_FOUND);
  EXPECT_EQ(resolve("$AGEGRP", &h), VF_NOT_FOUND);
  ASSERT_EQ(chdir(old), 0);
}

} // namespace
