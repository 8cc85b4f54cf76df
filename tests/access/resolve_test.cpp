// Name resolution into handles, attribute records and release.
#include <gtest/gtest.h>

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

TEST(Resolve, EveryNameInCallerAndLibraryStorage) {
  int resolved = 0;
  for (const fmtposs_row &r : fmtposs) {
    const bool informat = r.fmtname[0] == '@';
    std::string name(r.fmtname + (informat ? 1 : 0),
                     r.fmtnamelen - (informat ? 1 : 0));
    const int32_t kind = informat ? VF_KIND_INFORMAT : 'F';

    fmthandle_storage st;
    std::memset(&st, 0xAB, sizeof st);
    fmthandle *h = &st.builtin;
    fmtattr a{};
    ASSERT_EQ(resolve(name, kind, &a, &h), VF_OK) << name;
    const std::string full(r.fmtname, r.fmtnamelen);
    EXPECT_EQ(h, &st.builtin);
    EXPECT_EQ(h->self, h);
    EXPECT_EQ(h->modname[0], 'J');
    EXPECT_STREQ(h->modname, r.modname);
    if (full != "$F") {
      EXPECT_EQ(desc_name(h), full);
    }
    EXPECT_EQ(a.minw, h->desc.minw);
    EXPECT_EQ(a.maxw, h->desc.maxw);
    EXPECT_EQ(a.defw, h->desc.defw);
    EXPECT_EQ(a.maxd, h->desc.maxd);
    EXPECT_EQ(a.aux_lo, h->desc.aux & 0xFFFF);
    EXPECT_EQ(xfdel(h), 0);

    fmthandle *lib = nullptr;
    ASSERT_EQ(resolve(name, kind, nullptr, &lib), VF_OK) << name;
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(lib->self, nullptr);
    EXPECT_EQ(std::memcmp(&lib->desc, &h->desc, sizeof h->desc), 0);
    EXPECT_EQ(xfdel(lib), 0);
    ++resolved;
  }
  EXPECT_EQ(resolved, 518);
}

TEST(Resolve, AttributeRecords) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  fmtattr a{};
  ASSERT_EQ(resolve("BEST", 'F', &a, &h), VF_OK);
  EXPECT_EQ((std::array<uint16_t, 8>{a.minw, a.maxw, a.defw, a.flag1, a.flag2,
                                     a.maxd, a.aux_lo, a.aux_hi}),
            (std::array<uint16_t, 8>{1, 32, 12, 0, 0, 32, 0, 0}));
  ASSERT_EQ(resolve("MMDDYY", VF_KIND_INFORMAT, &a, &h), VF_OK);
  EXPECT_STREQ(h->modname, "JAZWIDTE");
  EXPECT_EQ(a.minw, 6);
  EXPECT_EQ(a.maxw, 32);
  EXPECT_EQ(a.defw, 6);
  EXPECT_EQ(a.maxd, 31);
  ASSERT_EQ(resolve("PVALUE", 'F', &a, &h), VF_OK);
  EXPECT_EQ(a.flag2, 1);
  EXPECT_EQ(a.aux_lo, 4);
  ASSERT_EQ(resolve("D", 'F', &a, &h), VF_OK);
  EXPECT_EQ(a.aux_lo, 3);
  ASSERT_EQ(resolve("NLMNIJPY", 'F', &a, &h), VF_OK);
  EXPECT_EQ(a.aux_lo, 0);
  ASSERT_EQ(resolve("NLMNLCZK", 'F', &a, &h), VF_OK);
  EXPECT_EQ(a.aux_lo, 4);
  ASSERT_EQ(resolve("NLMNIUSD", 'F', &a, &h), VF_OK);
  EXPECT_EQ(a.aux_lo, 2);
  ASSERT_EQ(resolve("NLDATE", 'F', &a, &h), VF_OK);
  EXPECT_EQ(a.flag1, 1);
  EXPECT_EQ(a.minw, 10);
  EXPECT_EQ(a.maxw, 200);
  EXPECT_EQ(a.defw, 20);
}

TEST(Resolve, PibrAlwaysFindsTheBinaryModuleRow) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  fmtattr a{};
  ASSERT_EQ(resolve("PIBR", 'F', &a, &h), VF_OK);
  EXPECT_STREQ(h->modname, "JAZWFBIN");
  EXPECT_EQ(a.minw, 1);
  EXPECT_EQ(a.maxw, 8);
  EXPECT_EQ(a.defw, 1);
  EXPECT_EQ(a.maxd, 10);
}

TEST(Resolve, CharacterNameRewrites) {
  for (const char *n : {"$", "$f", "$F"}) {
    fmthandle_storage st;
    fmthandle *h = &st.builtin;
    ASSERT_EQ(resolve(n, 'F', nullptr, &h), VF_OK) << n;
    EXPECT_EQ(desc_name(h), "$CHAR");
    EXPECT_STREQ(h->modname, "JAZWFMSC");
    EXPECT_EQ(h->modname[0], 'J');
  }
  fmthandle *h = nullptr;
  EXPECT_EQ(resolve("$FF", 'F', nullptr, &h), VF_NOT_FOUND);
  EXPECT_EQ(h, nullptr);
  // The informat request for $F becomes @$CHAR, never the unlisted @$F.
  fmthandle_storage st;
  h = &st.builtin;
  ASSERT_EQ(resolve("$F", VF_KIND_INFORMAT, nullptr, &h), VF_OK);
  EXPECT_EQ(desc_name(h), "@$CHAR");
}

TEST(Resolve, NotFoundLeavesTheSlotAlone) {
  fmthandle_storage st;
  std::memset(&st, 0x5A, sizeof st);
  const fmthandle_storage before = st;
  fmthandle *h = &st.builtin;
  const std::string cases[] = {
      "date",                                 // names are compared as given
      "DATE ",                                // no trimming
      std::string("DA\0E", 4),                // embedded NUL
      "D\xC3\x84TE",                          // non-ASCII
      "---NUMFMT",                            // partial separator
      "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ", // over-long
  };
  for (const std::string &n : cases) {
    EXPECT_EQ(resolve(n, 'F', nullptr, &h), VF_NOT_FOUND) << n;
    EXPECT_EQ(h, &st.builtin);
    EXPECT_EQ(std::memcmp(&st, &before, sizeof st), 0);
  }
  // An informat request never finds a format and vice versa.
  EXPECT_EQ(resolve("COMMAX", 'F', nullptr, &h), VF_OK);
  EXPECT_EQ(resolve("WORDDATE", VF_KIND_INFORMAT, nullptr, &h), VF_NOT_FOUND);
  // Informat names over 15 bytes cannot take the prefix.
  EXPECT_EQ(resolve("ABCDEFGHIJKLMNOP", VF_KIND_INFORMAT, nullptr, &h),
            VF_NOT_FOUND);
}

TEST(Resolve, BadArguments) {
  fmthandle *h = nullptr;
  EXPECT_EQ(xfname3(nullptr, 4, 'F', nullptr, &h, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfname3("DATE", -1, 'F', nullptr, &h, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfname3("DATE", 0, 'F', nullptr, &h, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfname3("DATE", 1 << 30, 'F', nullptr, &h, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfname3("DATE", 4, 'F', nullptr, nullptr, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(xfname(nullptr, 4, 'F', nullptr, nullptr), VF_NOT_FOUND);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(xfdel(nullptr), 0);
}

TEST(Resolve, InformatPrefixAndModules) {
  fmthandle_storage st;
  fmthandle *h = &st.builtin;
  ASSERT_EQ(resolve("DATE", VF_KIND_INFORMAT, nullptr, &h), VF_OK);
  EXPECT_EQ(desc_name(h), "@DATE");
  EXPECT_STREQ(h->modname, "JAZWIDTE");
  ASSERT_EQ(resolve("DATE", 'F', nullptr, &h), VF_OK);
  EXPECT_EQ(desc_name(h), "DATE");
  EXPECT_STREQ(h->modname, "JAZWFDTE");
  // The language date informats resolve although they have no function.
  fmtattr a{};
  ASSERT_EQ(resolve("FINDFDE", VF_KIND_INFORMAT, &a, &h), VF_OK);
  EXPECT_EQ(h->desc.fn, nullptr);
  EXPECT_EQ(a.minw, 10);
  EXPECT_EQ(a.defw, 10);
}

TEST(Resolve, PseudoFormats) {
  fmthandle *h = nullptr;
  fmtattr a{};
  ASSERT_EQ(resolve("_C_R_A_S_H_", 'F', &a, &h), VF_OK);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->self, nullptr);
  EXPECT_EQ(h->modname[0], ' ');
  EXPECT_EQ(h->modnamelen, 1u);
  EXPECT_EQ(a.minw, 1);
  fmthandle *again = nullptr;
  ASSERT_EQ(resolve("_C_R_A_S_H_", 'F', nullptr, &again), VF_OK);
  EXPECT_EQ(again, h) << "the constant record is handed out itself";
  EXPECT_EQ(xfdel(h), 0);
  EXPECT_EQ(h->modname[0], ' ') << "release leaves the record intact";

  fmthandle_storage st;
  h = &st.builtin;
  ASSERT_EQ(resolve("INTRINSIC-CRDATE", 'F', &a, &h), VF_OK);
  EXPECT_EQ(h->self, h);
  EXPECT_EQ(a.minw, 20);
  EXPECT_EQ(a.maxw, 20);
  ASSERT_EQ(resolve("$IS-INTRINSIC", 'F', &a, &h), VF_OK);
  EXPECT_EQ(a.defw, 3);
  // Prefixed informat forms never name a pseudo-format.
  EXPECT_EQ(resolve("_C_R_A_S_H_", VF_KIND_INFORMAT, nullptr, &h),
            VF_NOT_FOUND);
}

TEST(Resolve, ModuleLoaders) {
  int32_t st = -5;
  EXPECT_EQ(xfload(nullptr, "JAZWFTME", 8, &st), jazwftme());
  EXPECT_EQ(st, 0);
  EXPECT_EQ(xfload(nullptr, "JAZWQQQQ", 8, &st), nullptr);
  EXPECT_EQ(st, 1);
  EXPECT_EQ(xfload(nullptr, nullptr, 8, &st), nullptr);
  fmtmodule_entry e = nullptr;
  EXPECT_EQ(getep(nullptr, "JAZWIUWI", 8, &e), 0);
  EXPECT_EQ(e, &jazwiuwi);
  EXPECT_EQ(getep(nullptr, "NOPE", 4, &e), 1);
  EXPECT_EQ(get_fmt_cntl_anchor(), nullptr);
  EXPECT_EQ(xfinit(), 0);
  EXPECT_EQ(xfinit2(), 0);
  EXPECT_EQ(zstrip("AB  ", 4), 2);
  EXPECT_EQ(zstrip("    ", 4), 0);
  EXPECT_EQ(zstrip(" A", 2), 2);
}

TEST(BlockList, ChainsZeroedBlocks) {
  void *head = nullptr;
  void **tail = &head;
  auto *a = static_cast<unsigned char *>(xfmalloc(&tail, 40));
  auto *b = static_cast<unsigned char *>(xfmalloc(&tail, 0));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(head, a - 16);
  EXPECT_EQ(*static_cast<void **>(head), b - 16);
  EXPECT_EQ(static_cast<void *>(tail), b - 16);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(a[i], 0);
  EXPECT_EQ(xfmalloc(&tail, -1), nullptr);
  EXPECT_EQ(xfmalloc(nullptr, 8), nullptr);
  xffree(a); // single blocks are never released one by one
  // Release the chain the way a user-format handle does.
  fmtuhandle u{};
  u.kind = '-';
  u.blockhead = head;
  EXPECT_EQ(xfdel(reinterpret_cast<fmthandle *>(&u)), 0);
}

TEST(Resolve, CallerHeldEntry) {
  valfmt::fmtentry e{};
  e.version = 1;
  e.type = valfmt::kEntryNumeric;
  e.minw = 1;
  e.maxw = 40;
  e.defw = 9;
  fmtcontext ctx{};
  ctx.entry = &e;
  const fmtcontext saved = ctx;

  fmthandle_storage st;
  std::memset(&st, 0xCD, sizeof st);
  fmthandle *h = &st.builtin;
  fmtattr a{};
  ASSERT_EQ(resolve("$WHATEVER", 'F', &a, &h, &ctx), VF_OK);
  const fmtuhandle &u = st.user;
  EXPECT_EQ(u.self, &st);
  EXPECT_EQ(u.kind, '+');
  EXPECT_EQ(u.marker, 1);
  EXPECT_EQ(u.namelen, 0);
  EXPECT_EQ(u.entry, &e);
  EXPECT_EQ(u.ranges, nullptr);
  EXPECT_EQ(u.minw, 1);
  EXPECT_EQ(u.maxw, 40);
  EXPECT_EQ(u.defw, 9);
  for (uint8_t b : u.pad90) EXPECT_EQ(b, 0);
  EXPECT_EQ((std::array<uint16_t, 8>{a.minw, a.maxw, a.defw, a.flag1, a.flag2,
                                     a.maxd, a.aux_lo, a.aux_hi}),
            (std::array<uint16_t, 8>{1, 40, 9, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::memcmp(&ctx, &saved, sizeof ctx), 0) << "context untouched";
  EXPECT_EQ(xfdel(h), 0);

  // In library storage the handle is a block of its own list.
  fmthandle *lib = nullptr;
  ASSERT_EQ(resolve("AGE", 'F', nullptr, &lib, &ctx), VF_OK);
  const auto *lu = reinterpret_cast<const fmtuhandle *>(lib);
  EXPECT_EQ(lu->kind, '-');
  EXPECT_EQ(lu->self, lib);
  EXPECT_EQ(lu->blockhead, reinterpret_cast<const char *>(lib) - 16);
  EXPECT_EQ(xfdel(lib), 0);
}

TEST(Resolve, CatalogueStepWithoutCatalogue) {
  fmtcontext ctx{};
  fmthandle *h = nullptr;
  // "date" is not built in; with a context it goes to the catalogue, which
  // holds nothing here.
  EXPECT_EQ(resolve("date", 'F', nullptr, &h, &ctx), VF_NOT_FOUND);
  EXPECT_EQ(h, nullptr);
  ctx.catkind = 3;
  EXPECT_EQ(resolve("AGEGRP", 'F', nullptr, &h, &ctx), VF_NOT_FOUND);
  // Names beyond the handle's 32-byte name field are refused.
  ctx.catkind = 0;
  EXPECT_EQ(resolve(std::string(33, 'A'), 'F', nullptr, &h, &ctx),
            VF_NOT_FOUND);
}

} // namespace
