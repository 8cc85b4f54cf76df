// Name resolution: the order of the steps, what each kind of handle holds,
// who owns its memory, and that a failure leaves the caller's slot alone.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "userfmt/entry.h"
#include "valfmt.h"

namespace {

int32_t resolve(const std::string &name, int32_t kind, fmtattr *a,
                fmthandle **slot, const fmtcontext *ctx = nullptr) {
  return xfname3(name.data(), static_cast<int32_t>(name.size()), kind, a, slot,
                 ctx);
}

std::string desc_name(const fmthandle *h) {
  return std::string(h->desc.name, h->desc.namelen);
}

std::array<uint16_t, 8> attrs_of(const fmtattr &a) {
  return {a.minw, a.maxw, a.defw, a.flag1, a.flag2, a.maxd, a.aux_lo, a.aux_hi};
}

TEST(Resolve, EveryNameInCallerAndLibraryStorage) {
  for (const fmtposs_row &r : fmtposs) {
    const std::string full(r.fmtname, r.fmtnamelen);
    const bool informat = full[0] == '@';
    const std::string name = full.substr(informat ? 1 : 0);
    const int32_t kind = informat ? VF_KIND_INFORMAT : 'F';
    fmthandle_storage st;
    std::memset(&st, 0xAB, sizeof st);
    fmthandle *h = &st.builtin;
    fmtattr a{};
    ASSERT_EQ(resolve(name, kind, &a, &h), VF_OK) << name;
    EXPECT_EQ(h->self, &st.builtin);
    EXPECT_STREQ(h->modname, r.modname);
    EXPECT_EQ(desc_name(h), full == "$F" ? "$CHAR" : full);
    const fmtinfo_eachfmt &d = h->desc;
    EXPECT_EQ(attrs_of(a), (std::array<uint16_t, 8>{
                               d.minw, d.maxw, d.defw, d.flag1, d.flag2, d.maxd,
                               static_cast<uint16_t>(d.aux & 0xFFFF),
                               static_cast<uint16_t>(d.aux >> 16)}));
    fmthandle *lib = nullptr;
    ASSERT_EQ(resolve(name, kind, nullptr, &lib), VF_OK) << name;
    EXPECT_EQ(lib->self, nullptr);
    EXPECT_EQ(std::memcmp(&lib->desc, &h->desc, sizeof h->desc), 0);
    EXPECT_EQ(xfdel(lib), 0);
    EXPECT_EQ(xfdel(h), 0);
  }
}

TEST(Resolve, CharacterAliases) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  for (const char *n : {"$", "$f"}) {
    ASSERT_EQ(resolve(n, 'F', nullptr, &h), VF_OK) << n;
    EXPECT_EQ(desc_name(h), "$CHAR");
  }
  // The informat request for $F becomes @$CHAR, never the unlisted @$F.
  ASSERT_EQ(resolve("$F", VF_KIND_INFORMAT, nullptr, &h), VF_OK);
  EXPECT_EQ(desc_name(h), "@$CHAR");
}

TEST(Resolve, NotFoundLeavesTheSlotAlone) {
  fmthandle_storage st;
  std::memset(&st, 0x5A, sizeof st);
  const fmthandle_storage before = st;
  fmthandle *h = &st.builtin;
  for (const std::string &n :
       {std::string("DATE "), std::string("DA\0E", 4), std::string("---NUMFMT"),
        std::string("$FF"), std::string(36, 'A')}) {
    EXPECT_EQ(resolve(n, 'F', nullptr, &h), VF_NOT_FOUND) << n;
    EXPECT_EQ(h, &st.builtin);
    EXPECT_EQ(std::memcmp(&st, &before, sizeof st), 0) << n;
  }
  EXPECT_EQ(resolve("WORDDATE", VF_KIND_INFORMAT, nullptr, &h), VF_NOT_FOUND);
  EXPECT_EQ(resolve("_C_R_A_S_H_", VF_KIND_INFORMAT, nullptr, &h),
            VF_NOT_FOUND);
  EXPECT_EQ(resolve(std::string(16, 'A'), VF_KIND_INFORMAT, nullptr, &h),
            VF_NOT_FOUND); // no room for the prefix
  EXPECT_EQ(xfname3(nullptr, 4, 'F', nullptr, &h, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfname3("DATE", 4, 'F', nullptr, nullptr, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfname(nullptr, 4, 'F', nullptr, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfdel(nullptr), 0);
}

TEST(Resolve, PseudoFormatsComeAfterTheTable) {
  fmthandle *h = nullptr;
  fmtattr a{};
  ASSERT_EQ(resolve("_C_R_A_S_H_", 'F', &a, &h), VF_OK);
  EXPECT_EQ(h->self, nullptr);
  EXPECT_EQ(h->modname[0], ' ');
  fmthandle *again = nullptr;
  ASSERT_EQ(resolve("_C_R_A_S_H_", 'F', nullptr, &again), VF_OK);
  EXPECT_EQ(again, h) << "the constant record is handed out itself";
  EXPECT_EQ(xfdel(h), 0);
  EXPECT_EQ(h->modname[0], ' ') << "release leaves the record intact";
  fmthandle_storage st;
  h = &st.builtin;
  ASSERT_EQ(resolve("INTRINSIC-CRDATE", 'F', &a, &h), VF_OK);
  EXPECT_EQ(h->self, h);
  EXPECT_EQ(a.maxw, 20);
}

valfmt::fmtentry numeric_entry() {
  valfmt::fmtentry e{};
  e.version = 1;
  e.type = valfmt::kEntryNumeric;
  e.minw = 1;
  e.maxw = 40;
  e.defw = 9;
  return e;
}

TEST(Resolve, CallerHeldEntryComesFirst) {
  const valfmt::fmtentry e = numeric_entry();
  fmtcontext ctx{};
  ctx.entry = &e;
  const fmtcontext saved = ctx;
  fmthandle_storage st;
  std::memset(&st, 0xCD, sizeof st);
  fmthandle *h = &st.builtin;
  fmtattr a{};
  ASSERT_EQ(resolve("$CHAR", 'F', &a, &h, &ctx), VF_OK) << "before the table";
  const fmtuhandle &u = st.user;
  EXPECT_EQ(u.self, &st);
  EXPECT_EQ(u.kind, '+');
  EXPECT_EQ(u.entry, &e);
  EXPECT_NE(u.evaluator, nullptr);
  for (uint8_t b : u.pad90) EXPECT_EQ(b, 0);
  EXPECT_EQ(attrs_of(a), (std::array<uint16_t, 8>{1, 40, 9, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::memcmp(&ctx, &saved, sizeof ctx), 0) << "context untouched";
  EXPECT_EQ(xfdel(h), 0);
  // In library storage the handle is the first block of its own list.
  fmthandle *lib = nullptr;
  ASSERT_EQ(resolve("AGE", 'F', nullptr, &lib, &ctx), VF_OK);
  const auto *lu = reinterpret_cast<const fmtuhandle *>(lib);
  EXPECT_EQ(lu->kind, '-');
  EXPECT_EQ(lu->blockhead, reinterpret_cast<const char *>(lib) - 16);
  EXPECT_EQ(xfdel(lib), 0);
}

TEST(Resolve, CatalogueIsTheLastStep) {
  fmtcontext ctx{};
  fmthandle *h = nullptr;
  EXPECT_EQ(resolve("date", 'F', nullptr, &h, &ctx), VF_NOT_FOUND);
  ctx.catkind = 3; // a kind without a reader
  EXPECT_EQ(resolve("AGEGRP", 'F', nullptr, &h, &ctx), VF_NOT_FOUND);
  ctx.catkind = 0; // over the handle's 32-byte name field
  EXPECT_EQ(resolve(std::string(33, 'A'), 'F', nullptr, &h, &ctx),
            VF_NOT_FOUND);
  EXPECT_EQ(h, nullptr);
}

TEST(Resolve, BlockListChainsZeroedBlocks) {
  void *head = nullptr;
  void **tail = &head;
  auto *a = static_cast<unsigned char *>(xfmalloc(&tail, 40));
  auto *b = static_cast<unsigned char *>(xfmalloc(&tail, 0));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(head, a - 16);
  EXPECT_EQ(*static_cast<void **>(head), b - 16);
  EXPECT_EQ(static_cast<void *>(tail), b - 16);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(a[i], 0);
  EXPECT_EQ(xfmalloc(&tail, -1), nullptr);
  EXPECT_EQ(xfmalloc(nullptr, 8), nullptr);
  fmtuhandle u{}; // released the way a user-format handle releases its list
  u.kind = '-';
  u.blockhead = head;
  EXPECT_EQ(xfdel(reinterpret_cast<fmthandle *>(&u)), 0);
}

TEST(Resolve, ModuleLoaders) {
  int32_t st = -5;
  EXPECT_EQ(xfload(nullptr, "JAZWFTME", 8, &st), jazwftme());
  EXPECT_EQ(st, 0);
  EXPECT_EQ(xfload(nullptr, "JAZWQQQQ", 8, &st), nullptr);
  EXPECT_EQ(st, 1);
  fmtmodule_entry e = nullptr;
  EXPECT_EQ(getep(nullptr, "JAZWIUWI", 8, &e), 0);
  EXPECT_EQ(e, &jazwiuwi);
  EXPECT_EQ(getep(nullptr, "NOPE", 4, &e), 1);
  EXPECT_EQ(zstrip("AB  ", 4), 2);
}

} // namespace
