// The built-in vocabulary: module tables, the name table and missing values.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/missing.h"
#include "valfmt.h"

namespace {

std::string name_of(const char (&n)[16], uint32_t len) {
  return std::string(n, len);
}

TEST(Vocabulary, ModuleCountsAndOrder) {
  const uint32_t counts[10] = {15, 99, 76, 120, 10, 40, 32, 11, 13, 104};
  const char *names[10] = {"JAZWFBIN", "JAZWFDTE", "JAZWFMSC", "JAZWFNLS",
                           "JAZWFTME", "JAZWFUWF", "JAZWIBIN", "JAZWIDTE",
                           "JAZWIMSC", "JAZWIUWI"};
  uint32_t total = 0;
  for (int i = 0; i < 10; ++i) {
    EXPECT_STREQ(names_and_entries[i].name, names[i]);
    const fmtinfo *m = names_and_entries[i].entry();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->count, counts[i]) << names[i];
    EXPECT_EQ(m, names_and_entries[i].entry()) << "entries return one record";
    total += m->count;
  }
  EXPECT_EQ(total, 520u);
}

TEST(Vocabulary, DescriptorsAreBlankPaddedUpperCase) {
  for (const fmtmodule_row &m : names_and_entries) {
    const fmtinfo *info = m.entry();
    const bool informats = m.name[4] == 'I';
    for (uint32_t i = 0; i < info->count; ++i) {
      const fmtinfo_eachfmt &d = info->first[i];
      ASSERT_GE(d.namelen, 1u);
      ASSERT_LE(d.namelen, 16u);
      for (uint32_t k = d.namelen; k < 16; ++k) EXPECT_EQ(d.name[k], ' ');
      for (uint32_t k = 0; k < d.namelen; ++k)
        EXPECT_FALSE(d.name[k] >= 'a' && d.name[k] <= 'z')
            << name_of(d.name, d.namelen);
      EXPECT_EQ(d.name[0] == '@', informats) << name_of(d.name, d.namelen);
      if (d.name[0] != '-') {
        EXPECT_LE(d.minw, d.maxw) << name_of(d.name, d.namelen);
        EXPECT_LE(d.minw, d.defw) << name_of(d.name, d.namelen);
        EXPECT_LE(d.defw, d.maxw) << name_of(d.name, d.namelen);
      }
    }
  }
}

TEST(Vocabulary, NameTableOrderAndContents) {
  const fmtposs_row *t = nullptr;
  int32_t n = 0;
  EXPECT_EQ(get_fmt_poss_table(&t, &n), 0);
  ASSERT_EQ(n, 518);
  ASSERT_EQ(t, fmtposs);
  // Rows follow the modules in name-table order, each in array order.
  const char *order[10] = {"JAZWFBIN", "JAZWFDTE", "JAZWFMSC", "JAZWFTME",
                           "JAZWFUWF", "JAZWFNLS", "JAZWIBIN", "JAZWIDTE",
                           "JAZWIMSC", "JAZWIUWI"};
  int row = 0;
  for (const char *mod : order) {
    const fmtinfo *info = xfload(nullptr, mod, 8, nullptr);
    ASSERT_NE(info, nullptr);
    for (uint32_t i = 0; i < info->count; ++i) {
      const fmtinfo_eachfmt &d = info->first[i];
      const std::string nm = name_of(d.name, d.namelen);
      if ((nm == "PIBR" && std::strcmp(mod, "JAZWFUWF") == 0) ||
          (nm == "@$F" && std::strcmp(mod, "JAZWIMSC") == 0))
        continue;
      ASSERT_LT(row, 518);
      const fmtposs_row &r = t[row++];
      EXPECT_EQ(r.link, 0u);
      EXPECT_STREQ(r.modname, mod);
      EXPECT_EQ(r.modnamelen, 8u);
      EXPECT_EQ(name_of(r.fmtname, r.fmtnamelen), nm);
      EXPECT_EQ(std::memcmp(r.fmtname, d.name, 16), 0);
      for (uint8_t b : r.rest) EXPECT_EQ(b, 0);
    }
  }
  EXPECT_EQ(row, 518);
}

TEST(Vocabulary, FlagsAndAux) {
  std::set<std::string> flag2;
  int flag1 = 0;
  for (const fmtmodule_row &m : names_and_entries) {
    const fmtinfo *info = m.entry();
    for (uint32_t i = 0; i < info->count; ++i) {
      const fmtinfo_eachfmt &d = info->first[i];
      if (d.flag2) flag2.insert(name_of(d.name, d.namelen));
      if (d.flag1) {
        ++flag1;
        EXPECT_STREQ(m.name, "JAZWFNLS");
        EXPECT_LT(i, 40u);
      }
    }
  }
  EXPECT_EQ(flag1, 40);
  EXPECT_EQ(flag2, (std::set<std::string>{"PVALUE", "NLPVALUE", "@PUNCH"}));
}

TEST(MissingValues, CodesAndWriter) {
  EXPECT_EQ(zmiss(valfmt::standard_missing()), 1);
  EXPECT_EQ(zmiss(std::bit_cast<double>(0xFFFF000000000000ull)), 1);
  EXPECT_EQ(zmiss(std::bit_cast<double>(0xFFFE000000000000ull)), 0);
  EXPECT_EQ(zmiss(std::bit_cast<double>(0xFFFFFE0000000001ull)), 0);
  EXPECT_EQ(zmiss(1.0), 0);
  EXPECT_EQ(zmiss(std::numeric_limits<double>::quiet_NaN()), 0);

  EXPECT_EQ(valfmt::double_bits(ZMISSV(0)), 0xFFFFFF0000000000ull);
  EXPECT_EQ(valfmt::double_bits(ZMISSV(1)), 0xFFFFFE0000000000ull);
  EXPECT_EQ(valfmt::double_bits(ZMISSV(2)), 0xFFFFFD0000000000ull);
  EXPECT_EQ(valfmt::double_bits(ZMISSV(27)), 0xFFFFE40000000000ull);

  struct Case {
    uint64_t bits;
    int w, d, pos;
    char ch;
  } cases[] = {
      {0xFFFFFE0000000000ull, 8, 2, 5, '.'},
      {0xFFFFFE0000000000ull, 8, 99, 7, '.'},
      {0xFFFFFE0000000000ull, 8, 98, 7, '.'},
      {0xFFFFE40000000000ull, 4, 0, 3, 'Z'},
      {0xFFFFFF0000000000ull, 4, 0, 3, '_'},
      {0xFFFFFD0000000000ull, 4, 1, 2, 'A'},
      {0xFFFF000000000000ull, 4, 0, 3, ' '},
      {0xFFFF100000000000ull, 4, 0, 3, ' '}, // code without a character
  };
  for (const Case &c : cases) {
    double v = std::bit_cast<double>(c.bits);
    char out[16];
    std::memset(out, '#', sizeof out);
    fmtcall call{};
    call.w = c.w;
    call.d = c.d;
    call.value = &v;
    call.out = out;
    call.outsize = c.w;
    EXPECT_EQ(zfmmiss(&call), 0);
    EXPECT_EQ(call.outlen, c.w);
    for (int i = 0; i < c.w; ++i)
      EXPECT_EQ(out[i], i == c.pos ? c.ch : ' ') << i;
    EXPECT_EQ(out[c.w], '#') << "nothing past outsize";
  }
}

TEST(MissingValues, WriterStaysInsideOutsize) {
  double v = valfmt::standard_missing();
  char out[8];
  std::memset(out, '#', sizeof out);
  fmtcall call{};
  call.w = 40;
  call.d = 0;
  call.value = &v;
  call.out = out;
  call.outsize = 4;
  EXPECT_EQ(zfmmiss(&call), 0);
  EXPECT_EQ(call.outlen, 4);
  EXPECT_EQ(std::string(out, 8), "    ####");
  call.w = 3;
  call.d = 10; // position before the field: only blanks
  EXPECT_EQ(zfmmiss(&call), 0);
  EXPECT_EQ(std::string(out, 4), "    ");
}

} // namespace
