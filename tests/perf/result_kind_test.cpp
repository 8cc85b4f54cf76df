// The widening decision that resolution stores in a built-in handle: for
// every name of the table it equals the decision taken from the descriptor
// on each call, leaves the handle's name fields readable as before, and a
// handle without the stored decision (copied together by a host) is still
// served the same way.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "access/result_kind.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

TEST(ResultKind, StoredAtResolutionForEveryName) {
  const fmtposs_row *table = nullptr;
  int32_t count = 0;
  ASSERT_EQ(get_fmt_poss_table(&table, &count), 0);
  int texts = 0, raws = 0;
  for (int32_t i = 0; i < count; ++i) {
    const fmtposs_row &row = table[i];
    if (row.fmtname[0] == '-') continue;
    fmthandle_storage st{};
    fmthandle *h = &st.builtin;
    const bool informat = row.fmtname[0] == '@';
    const char *name = row.fmtname + (informat ? 1 : 0);
    const auto len = static_cast<int32_t>(row.fmtnamelen) - (informat ? 1 : 0);
    if (xfname3(name, len, informat ? VF_KIND_INFORMAT : 'F', nullptr, &h,
                nullptr) != 0)
      continue;
    const std::string label(row.fmtname, row.fmtnamelen);
    EXPECT_STREQ(h->modname, row.modname) << label;
    const char stored = h->modname[valfmt::kResultKindByte];
    ASSERT_TRUE(stored == valfmt::kResultText || stored == valfmt::kResultRaw)
        << label;
    // Informats that store a double, and byte results, are raw.
    const bool raw =
        (informat && row.fmtname[1] != '$') || valfmt::yields_bytes(h->desc.fn);
    EXPECT_EQ(stored == valfmt::kResultRaw, raw) << label;
    (stored == valfmt::kResultText ? texts : raws) += 1;
  }
  EXPECT_GT(texts, 200);
  EXPECT_GT(raws, 20);
}

// A 16-bit caller gets DATE widened and IB's integer bytes as they are,
// whether or not the handle carries the stored decision.
TEST(ResultKind, WideningFollowsTheDecisionWithAndWithoutTheStoredByte) {
  for (bool stored : {true, false}) {
    fmthandle_storage st{};
    fmthandle *h = &st.builtin;
    ASSERT_EQ(xfname3("DATE", 4, 'F', nullptr, &h, nullptr), 0);
    if (!stored) h->modname[valfmt::kResultKindByte] = 0;
    double day = 0;
    const vftest::Run r = vftest::invoke(
        h, std::string_view(reinterpret_cast<const char *>(&day), 8), 9, 0, 18,
        VF_ENC_NARROW, VF_ENC_UCS2);
    EXPECT_EQ(r.outenc, static_cast<uint32_t>(VF_ENC_UCS2));
    EXPECT_EQ(r.text, std::string("0\0001\0J\0A\0N\0001\0009\0006\0000\0", 18));

    fmthandle_storage ps{};
    fmthandle *p = &ps.builtin;
    ASSERT_EQ(xfname3("IB", 2, 'F', nullptr, &p, nullptr), 0);
    if (!stored) p->modname[valfmt::kResultKindByte] = 0;
    double v = 12;
    const vftest::Run q = vftest::invoke(
        p, std::string_view(reinterpret_cast<const char *>(&v), 8), 4, 0, 8,
        VF_ENC_NARROW, VF_ENC_UCS2);
    EXPECT_EQ(q.outenc, static_cast<uint32_t>(VF_ENC_NARROW));
    // 12 as a four-byte little-endian integer; widened it would be eight.
    EXPECT_EQ(q.text, std::string("\x0C\0\0\0", 4));
  }
}

} // namespace
