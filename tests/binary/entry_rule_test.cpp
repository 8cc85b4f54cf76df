// The one entry rule of the binary family, member by member: widths and
// decimals a format or informat refuses, and the codes 98 and 99 that count
// as no decimals.  The limits below are the rows' own (min w, max w), typed
// in here from the format tables rather than read from the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binary/binary_test_util.h"

namespace {

using bintest::kStandardMissing;
using vftest::input;
using vftest::put;

struct Pair {
  const char *name;
  fmtfn format;
  int32_t minw, maxw; // the format's row
  fmtfn informat;
  int32_t in_maxw; // the informat's row
  int32_t w;       // a width both accept
};

// Every writer/reader pair that scales by 10^d, integer and floating
// halves alike.
const std::vector<Pair> &pairs() {
  static const std::vector<Pair> v = {
      {"IB", wzfmib, 1, 8, wzifmib, 8, 4},
      {"PIB", wzfmpib, 1, 8, wzifmpb, 8, 4},
      {"PD", wzfmpd, 1, 16, wzifmpd, 16, 6},
      {"ZD", wzfmzd, 1, 32, wzifmzd, 32, 8},
      {"S370FPD", zf7pd, 1, 16, zif7pd, 16, 6},
      {"S370FZD", zf7zd, 1, 32, zif7zd, 32, 8},
      {"S370FIB", zf7ib, 1, 8, zif7ib, 8, 4},
      {"S370FPIB", zf7pib, 1, 8, zif7pib, 8, 4},
      {"S370FIBU", zf7ibu, 1, 8, zif7ibu, 8, 4},
      {"PCPIB", zfmpcpi, 1, 8, zifmpcp, 8, 4},
      {"IBR", zfmibr, 1, 8, zifmir, 8, 4},
      {"PIBR", zfmpibr, 1, 8, zifmpir, 8, 4},
      {"PK", zfmpk, 1, 16, zifmpk, 16, 6},
      {"S370FPDU", zf7pdu, 1, 16, zif7pdu, 16, 6},
      {"S370FZDU", zf7zdu, 1, 32, zif7zdu, 32, 8},
      {"S370FZDL", zf7zdl, 1, 32, zif7zdl, 32, 8},
      {"S370FZDS", zf7zds, 2, 32, zif7zds, 32, 8},
      {"S370FZDT", zf7zdt, 2, 32, zif7zdt, 32, 8},
      {"RB", wzfmrb, 2, 8, wzifmrb, 8, 8},
      {"IEEE", zfmieee, 2, 8, zifmiee, 8, 8},
      {"IEEER", zfmieer, 2, 8, zifmier, 8, 8},
      {"FLOAT", zfmflt, 4, 4, zifmflt, 4, 4},
      {"VAXRB", vaxrbfm, 2, 8, zifmvrb, 8, 8},
      {"MRB", zfmmrb, 2, 8, zifmmrb, 8, 8},
      {"S370FRB", zf7rb, 2, 8, zif7rb, 8, 8},
      {"XPORTFLT", xprtffl, 2, 8, xprtifl, 8, 8},
      {"BINARY", zfmbtn, 1, 64, zifmbtn, 64, 32},
      {"OCTAL", zfmocn, 1, 24, zifmocn, 24, 12},
      {"HEX", zfmhex, 1, 16, zifmhex, 16, 8},
      {"S370FHEX", zf7hex, 1, 16, zif7hex, 16, 8},
  };
  return v;
}

TEST(EntryRule, FormatsRefuseWidthsAndDecimalsAlike) {
  for (const Pair &p : pairs()) {
    SCOPED_TRACE(p.name);
    for (const auto &[w, d] : {std::pair{p.minw - 1, 0},
                               {p.maxw + 1, 0},
                               {p.w, -1},
                               {p.w, 32},
                               {p.w, 97},
                               {p.w, 100}}) {
      const vftest::Run r = put(p.format, 12.0, w, d, 64);
      EXPECT_EQ(r.status, VF_ERR_WIDTH) << w << "." << d;
      EXPECT_EQ(r.outlen, 0) << w << "." << d;
      EXPECT_EQ(r.buffer, std::string(64, '#')) << w << "." << d;
    }
    // 98 and 99 scale by nothing: the same field as d = 0, unlike d = 1
    // (HEX shows the integer unscaled whatever d).
    const vftest::Run plain = put(p.format, 12.0, p.w, 0);
    if (p.format != zfmhex) {
      EXPECT_NE(put(p.format, 12.0, p.w, 1).text, plain.text);
    }
    for (int32_t code : {98, 99}) {
      const vftest::Run r = put(p.format, 12.0, p.w, code);
      EXPECT_EQ(r.status, plain.status) << code;
      EXPECT_EQ(r.text, plain.text) << code;
    }
    // The edges of the rule are accepted.
    EXPECT_NE(put(p.format, 1.0, p.minw, 0).status, VF_ERR_WIDTH);
    EXPECT_NE(put(p.format, 1.0, p.maxw, 31).status, VF_ERR_WIDTH);
  }
}

TEST(EntryRule, InformatsRefuseWithTheStandardMissingValue) {
  for (const Pair &p : pairs()) {
    SCOPED_TRACE(p.name);
    const std::string field = put(p.format, 12.0, p.w, 0).text;
    ASSERT_FALSE(field.empty());
    const auto n = static_cast<int32_t>(field.size());
    for (const auto &[w, d] :
         {std::pair{-2, 0}, {p.in_maxw + 1, 0}, {n, -1}, {n, 32}, {n, 100}}) {
      const vftest::Run r = input(p.informat, field, w, d);
      EXPECT_EQ(r.status, VF_ERR_WD_LIMITS) << w << "." << d;
      EXPECT_EQ(r.bits(), kStandardMissing) << w << "." << d;
    }
    // 98 and 99 divide by nothing: the value written at d = 0 comes back.
    for (int32_t code : {0, 98, 99}) {
      const vftest::Run r = input(p.informat, field, n, code);
      EXPECT_EQ(r.status, VF_OK) << code;
      EXPECT_EQ(r.number(), 12.0) << code;
    }
    // Widths from 0 up to the row's minimum are read, never refused.
    EXPECT_NE(input(p.informat, field, 0).status, VF_ERR_WD_LIMITS);
    EXPECT_NE(input(p.informat, field, 1).status, VF_ERR_WD_LIMITS);
  }
}

TEST(EntryRule, RowAndBitReadersUseTheirRowsLimits) {
  const std::string card = bintest::bytes("2000 0000"); // row 12 punched
  EXPECT_EQ(input(zifmpnc, card, 0, 99).number(), 0.0); // row 0
  EXPECT_EQ(input(zifmrow, card, -2, 1).bits(), kStandardMissing);
  const std::string ones(16, '\xFF');
  EXPECT_EQ(input(zifmbit, ones, 8, 63).number(), 255.0);
  // The character transforms never read d.
  EXPECT_EQ(input(zfmhexc, "AB", 4, -5, 4).text, "4142");
  EXPECT_EQ(input(zfmasc, "AB", 2, 1000, 2).text, "AB");
}

} // namespace
