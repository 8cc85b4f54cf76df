// Evaluation of user-defined formats: range searches (binary and in file
// order), excluded bounds, fuzz, missing values, OTHER, the default display,
// character ranges, encodings and outsize, multilabels, memory-resident
// range kinds and labels naming other formats.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "catalog_builder.h"
#include "core/missing.h"
#include "userfmt/userfmt.h"

using namespace uftest;

namespace {

std::u16string r_label(int i) {
  return u"r" + std::u16string(1, static_cast<char16_t>(u'0' + i));
}

TEST(UserfmtEval, LabelsDefaultDisplayAndOutsize) {
  Handle h(catalog({nrange("LH", "1", "5", "a long label"),
                    nrange("LH", "6", "10", "high")}),
           "LH");
  ASSERT_EQ(h.rc, 0);
  EXPECT_EQ(wide(h.h, 3, 6), u"a long"); // cut to w
  EXPECT_EQ(wide(h.h, 7, 0), u"");
  EXPECT_FALSE(shown_by_default(h.h, 7, 6));
  EXPECT_TRUE(shown_by_default(h.h, 11, 6));
  EXPECT_EQ(narrow(h.h, 11, 6), "    11");
  // Default display: BEST when d is 0, else d decimals; the number in the
  // last 32 positions of a wider field; the rightmost positions when
  // outsize is short; missing values as missing.
  EXPECT_EQ(number(h.h, 12.5, 8, VF_ENC_NARROW, 512, 0, 2).text, "   12.50");
  EXPECT_EQ(narrow(h.h, 11, 40), std::string(38, ' ') + "11");
  EXPECT_EQ(narrow(h.h, 123, 40, 5), "  123");
  EXPECT_EQ(narrow(h.h, valfmt::standard_missing(), 4), "   .");
  EXPECT_EQ(narrow(h.h, ZMISSV(0), 3), "  _");
}

TEST(UserfmtEval, SixteenBitLabelsForNarrowCallersAndShortBuffers) {
  Handle h(catalog({nrange("U", "1", "1",
                           "Gr\xC3\xB6\xC3\x9F"
                           "e\xE2\x82\xAC")}),
           "U");
  ASSERT_EQ(h.rc, 0);
  const std::string full = "Gr\xC3\xB6\xC3\x9F"
                           "e\xE2\x82\xAC ";
  // outsize below 2w: narrow callers get whole UTF-8 characters.
  for (int outsize : {7, 9, 11, 13, 512}) {
    const vftest::Run r = number(h.h, 1, 7, VF_ENC_NARROW, outsize);
    EXPECT_EQ(r.status, VF_OK);
    EXPECT_EQ(r.outenc, VF_ENC_NARROW);
    EXPECT_EQ(r.text, full.substr(0, outsize < 11   ? 7
                                     : outsize < 13 ? 11
                                                    : 13))
        << outsize;
  }
  // 16-bit callers get as many units as fit.
  EXPECT_EQ(wide(h.h, 1, 7, 9), u"Gr\u00F6\u00DF");
}

TEST(UserfmtEval, FuzzWidensRanges) {
  Row a = nrange("FZ", "1", "5", "low");
  a.fuzz = "0.5";
  for (const char *hlo : {"", "S"}) {
    Handle h(catalog({a, nrange("FZ", "6", "10", "high", hlo)}), "FZ");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(wide(h.h, 5.4, 4), u"low ") << hlo;
    EXPECT_EQ(wide(h.h, 5.6, 4), u"high") << hlo;
    EXPECT_EQ(narrow(h.h, 0.4, 4), " 0.4") << hlo;
  }
}

TEST(UserfmtEval, SharedBoundsGoToTheRangeThatIncludesThem) {
  for (const char *hlo : {"", "S"}) {
    for (bool exclude_end : {true, false}) {
      // 0-10, 10-20, ..., 90-100, each shared bound excluded on one side.
      std::vector<Row> rows;
      for (int i = 0; i < 10; ++i) {
        Row r =
            nrange("SB", std::to_string(10 * i), std::to_string(10 * i + 10),
                   "r" + std::to_string(i), hlo);
        (exclude_end ? r.eexcl : r.sexcl) =
            (exclude_end ? i < 9 : i > 0) ? "Y" : "N";
        rows.push_back(r);
      }
      Handle h(catalog(rows), "SB");
      ASSERT_EQ(h.rc, 0);
      EXPECT_EQ(h.user()->evaluator, *hlo ? &yfpfnfn : &yfpfnfm);
      for (int b = 10; b < 100; b += 10) {
        EXPECT_EQ(wide(h.h, b, 2), r_label(exclude_end ? b / 10 : b / 10 - 1))
            << b << " '" << hlo << "' " << exclude_end;
        EXPECT_EQ(wide(h.h, b + 0.5, 2), r_label(b / 10));
      }
      EXPECT_EQ(wide(h.h, 0, 2), u"r0");
      EXPECT_EQ(wide(h.h, 100, 2), u"r9");
      EXPECT_EQ(narrow(h.h, 100.5, 5), "100.5");
    }
  }
  // Excluded on both sides: the bound belongs to neither.
  Row a = nrange("BX", "1", "5", "a");
  a.eexcl = "Y";
  Row b = nrange("BX", "5", "10", "b");
  b.sexcl = "Y";
  for (const char *hlo : {"", "S"}) {
    b.hlo = hlo;
    Handle h(catalog({a, b}), "BX");
    EXPECT_TRUE(shown_by_default(h.h, 5, 3)) << hlo;
    EXPECT_EQ(narrow(h.h, 4.999, 1), "a");
  }
}

TEST(UserfmtEval, BinarySearchAgreesWithTheScanInFileOrder) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    // Sorted ranges with random gaps, shared bounds and exclusions; a
    // shared bound belongs to at most one of its two ranges.
    std::vector<Row> rows;
    int at = static_cast<int>(rng() % 5);
    const int n = 1 + static_cast<int>(rng() % 40);
    bool shared = false;
    for (int i = 0; i < n; ++i) {
      const int len = 1 + static_cast<int>(rng() % 4);
      Row r = nrange("BL", std::to_string(at), std::to_string(at + len),
                     std::to_string(i));
      const auto pick = static_cast<unsigned>(rng() % 3);
      if (shared) {
        if (pick != 1) r.sexcl = "Y";
        if (pick != 0) rows.back().eexcl = "Y";
      } else if (pick == 0) {
        r.sexcl = "Y";
      }
      if (rng() % 4 == 0) r.eexcl = "Y";
      rows.push_back(r);
      shared = rng() % 2 == 0;
      at += len + (shared ? 0 : 1);
      if (shared) rows.back().eexcl = "N";
    }
    Handle bin(catalog(rows), "BL");
    for (Row &r : rows) r.hlo = "S";
    Handle lin(catalog(rows), "BL");
    ASSERT_EQ(bin.rc, 0);
    ASSERT_EQ(lin.rc, 0);
    for (double v = -1; v <= at + 1; v += 0.5)
      ASSERT_EQ(narrow(bin.h, v, 4), narrow(lin.h, v, 4))
          << "round " << round << " value " << v;
  }
}

TEST(UserfmtEval, IndexedSearchAgreesWithTheRecordSearch) {
  // Entries of the XML reader carry an index of their bounds; the same
  // entry without it (as a host's copy would be) searches the records.
  std::vector<Row> rows;
  for (int i = 0; i < 300; ++i) {
    Row r = nrange("IX", std::to_string(3 * i), std::to_string(3 * i + 3),
                   std::to_string(i));
    if (i % 3 == 0) r.eexcl = "Y";
    if (i % 7 == 0) r.fuzz = "0.25";
    rows.push_back(r);
  }
  Read rd(catalog(rows), "IX");
  ASSERT_EQ(rd.rc, 0);
  ASSERT_NE(rd.entry()->index, nullptr);
  valfmt::fmtentry copy = *rd.entry();
  copy.origin = 0;
  auto show = [&](const valfmt::fmtentry *e, double v) {
    char out[64];
    fmtcall c{};
    c.w = 4;
    c.value = &v;
    c.out = out;
    c.outsize = sizeof out;
    EXPECT_EQ(yfpfnfm(&c, e, rd.ctx.ranges), VF_OK);
    return std::string(out, static_cast<size_t>(c.outlen));
  };
  for (double v = -2; v < 905; v += 0.25)
    ASSERT_EQ(show(rd.entry(), v), show(&copy, v)) << v;
  // An index built for another table length is not used.
  valfmt::fmtentry stale = *rd.entry();
  stale.nranges = 1;
  EXPECT_EQ(show(&stale, 1), std::string("0\0 \0 \0 \0", 8));
  EXPECT_EQ(show(&stale, 4), "   4");
}

TEST(UserfmtEval, MissingValuesOtherAndLowHigh) {
  Row low = nrange("MV", "", "0", "low", "L");
  for (const char *s : {"", "S"}) {
    Handle h(catalog({nrange("MV", ".", ".", "dot"),
                      nrange("MV", ".A", ".Z", "letters"), low,
                      nrange("MV", "1", "", "high", std::string("H") + s)}),
             "MV");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(wide(h.h, valfmt::standard_missing(), 7), u"dot    ");
    EXPECT_EQ(wide(h.h, ZMISSV(2), 7), u"letters");
    EXPECT_EQ(wide(h.h, -HUGE_VAL, 7), u"low    ");
    EXPECT_EQ(wide(h.h, 1e300, 7), u"high   ");
    // The underscore missing value lies below LOW.
    EXPECT_TRUE(shown_by_default(h.h, ZMISSV(0), 3));
  }
  Handle o(catalog({nrange("OT", "1", "2", "one"),
                    nrange("OT", "", "", "other", "O")}),
           "OT");
  ASSERT_EQ(o.rc, 0);
  EXPECT_EQ(wide(o.h, 1.5, 5), u"one  ");
  for (double v : {-5.0, 3.0, valfmt::standard_missing(), ZMISSV(0)}) {
    EXPECT_EQ(wide(o.h, v, 5), u"other");
    EXPECT_FALSE(shown_by_default(o.h, v, 5));
  }
}

TEST(UserfmtEval, CharacterRangesCompareBlankPadded) {
  Row a = crange("CB", "A  ", "M", "first");
  a.eexcl = "Y";
  Row b = crange("CB", "M ", "Z", "second");
  b.sexcl = "Y";
  Row c = crange("CB", "Z", "ZZ", "third");
  c.sexcl = "Y";
  for (const char *hlo : {"", "S"}) {
    c.hlo = hlo;
    Handle h(catalog({a, b, c}), "$CB");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(h.user()->evaluator, *hlo ? &yfpfcfn : &yfpfcfm);
    const std::pair<const char *, const char *> cases[] = {
        {"Lzz", "first "}, {"M   ", "M     "}, {"Ma", "second"},
        {"Z ", "second"},  {"ZA", "third "},   {"", "      "}};
    for (const auto &[in, out] : cases)
      EXPECT_EQ(text(h.h, in, 6), out) << in << " '" << hlo << "'";
  }
  // Units compare as signed 16-bit numbers: U+8000 and above sort first.
  const std::u16string high = u"\u8000", low = u"A";
  EXPECT_EQ(
      valfmt::compare_units(reinterpret_cast<const uint16_t *>(high.data()), 1,
                            reinterpret_cast<const uint16_t *>(low.data()), 1),
      -1);
}

TEST(UserfmtEval, CharacterInputEncodings) {
  Handle h(catalog({crange("UC", "\xC3\xA0", "\xC3\xA0", "a-grave"),
                    crange("UC", "", "", "?", "O")}),
           "$UC");
  ASSERT_EQ(h.rc, 0);
  EXPECT_EQ(ucs2_text(h.h, u"\u00E0", 8), u"a-grave ");
  // Narrow input is read as Windows-1252.
  EXPECT_EQ(
      units(vftest::invoke(h.h, "\xE0", 8, 0, 512, VF_ENC_NARROW, VF_ENC_UCS2)),
      u"a-grave ");
  // The default display of a text narrows to UTF-8 when 2w bytes do not
  // fit, and is widened otherwise.
  Handle d(catalog({crange("CD", "A", "B", "ab")}), "$CD");
  ASSERT_EQ(d.rc, 0);
  vftest::Run r =
      vftest::invoke(d.h, "caf\xE9 !", 6, 0, 11, VF_ENC_NARROW, VF_ENC_NARROW);
  EXPECT_EQ(r.text, "caf\xC3\xA9 !");
  r = vftest::invoke(d.h, "caf\xE9 !", 8, 0, 512, VF_ENC_NARROW, VF_ENC_UCS2);
  EXPECT_EQ(units(r), u"caf\u00E9 !  ");
}

TEST(UserfmtEval, MultilabelCollection) {
  Handle h(catalog({nrange("ML", "1", "10", "wide", "M"),
                    nrange("ML", "3", "4", "narrow", "M")}),
           "ML");
  ASSERT_EQ(h.rc, 0);
  EXPECT_EQ(h.user()->evaluator, &yfpfnfn);
  // Without collection the first range in file order wins; with it every
  // matching label, each in a field of w.
  EXPECT_EQ(wide(h.h, 3.5, 6), u"wide  ");
  EXPECT_EQ(units(number(h.h, 3.5, 6, VF_ENC_UCS2, 512, VF_OPT_MULTILABEL)),
            u"wide  narrow");
  // Too much for outsize: asterisks and VF_NO_FIT, within the buffer.
  vftest::Run r = number(h.h, 3.5, 6, VF_ENC_UCS2, 20, VF_OPT_MULTILABEL);
  EXPECT_EQ(r.status, VF_NO_FIT);
  EXPECT_EQ(r.text, "******");
  r = number(h.h, 3.5, 6, VF_ENC_UCS2, 4, VF_OPT_MULTILABEL);
  EXPECT_EQ(r.text, "****");
  EXPECT_TRUE(shown_by_default(h.h, 20, 6, VF_OPT_MULTILABEL));
  // An entry without multilabel rows ignores the option.
  Handle plain(catalog({nrange("P", "1", "5", "low")}), "P");
  EXPECT_EQ(units(number(plain.h, 3, 4, VF_ENC_UCS2, 512, VF_OPT_MULTILABEL)),
            u"low ");
}

// --- memory-resident catalogues: the other range and label kinds ------------

struct Resident {
  valfmt::fmtentry entries[5]{};
  std::vector<void *> table;
  std::vector<std::vector<uint64_t>> blocks; // 8-aligned storage

  void *block(size_t bytes) {
    blocks.emplace_back((bytes + 7) / 8 + 1, 0);
    return blocks.back().data();
  }
  void name(int i, const char *n, int16_t type, int64_t nranges) {
    name_entry(entries[i], n, type, nranges);
    entries[i].minw = 1;
    entries[i].maxw = 40;
  }
  const void *plain(const std::u16string &t) {
    auto *l = static_cast<valfmt::plainlabel *>(block(4 + 2 * t.size()));
    l->type = valfmt::kLabelPlain;
    l->len = static_cast<uint16_t>(t.size());
    std::memcpy(const_cast<uint16_t *>(valfmt::label_text(l)), t.data(),
                2 * t.size());
    return l;
  }
  const void *format(const char *n, int16_t width) {
    auto *l =
        static_cast<valfmt::formatlabel *>(block(sizeof(valfmt::formatlabel)));
    l->type = 7;
    l->width = width;
    std::memset(l->name, ' ', 32);
    std::memcpy(l->name, n, std::strlen(n));
    return l;
  }
  void *num(uint8_t type, double start, double end, const void *label) {
    auto *r = static_cast<valfmt::numrange *>(block(sizeof(valfmt::numrange)));
    r->type = type;
    r->label = label;
    valfmt::write_order_key(start, r->start);
    valfmt::write_order_key(start, r->startfz);
    valfmt::write_order_key(end, r->end);
    valfmt::write_order_key(end, r->endfz);
    return r;
  }
  // Fixed-length kinds take 16-unit texts.
  void *chr(uint8_t type, std::u16string s, std::u16string e,
            const void *label) {
    if (type >= valfmt::kRangeFixedSingle) {
      s.resize(16, u' ');
      e.resize(16, u' ');
    }
    auto *r = static_cast<valfmt::charrange *>(
        block(sizeof(valfmt::charrange) + 2 * (s.size() + e.size())));
    r->type = type;
    r->label = label;
    r->startlen = static_cast<uint16_t>(s.size());
    r->endlen = static_cast<uint16_t>(e.size());
    auto *u = const_cast<uint16_t *>(valfmt::range_start(r));
    std::memcpy(u, s.data(), 2 * s.size());
    std::memcpy(u + s.size(), e.data(), 2 * e.size());
    return r;
  }
  // An evaluator called directly, into a buffer with guard bytes after it.
  std::string eval(fmtevaluator f, int entry, const void *value, int32_t len,
                   int w, uint32_t options = 0) {
    std::vector<char> buf(64 + vftest::kGuardBytes, '#');
    fmtcall c{};
    c.w = w;
    c.value = value;
    c.valuelen = len;
    c.inenc = VF_ENC_UCS2;
    c.out = buf.data();
    c.outsize = 64;
    c.options = options;
    f(&c, &entries[entry], table.data());
    EXPECT_EQ(std::string(buf.data() + 64, vftest::kGuardBytes),
              std::string(vftest::kGuardBytes, '#'));
    return std::string(buf.data(), static_cast<size_t>(c.outlen));
  }
  std::string num_eval(fmtevaluator f, double v, int w, uint32_t opt = 0) {
    return eval(f, 0, &v, 8, w, opt);
  }
  std::string chr_eval(fmtevaluator f, const std::u16string &t, int w) {
    return eval(f, 0, t.data(), static_cast<int32_t>(t.size()), w);
  }
};

std::string w16(const std::u16string &s) {
  return std::string(reinterpret_cast<const char *>(s.data()), 2 * s.size());
}

TEST(UserfmtEval, SpecialisedMembersSearchTheirKindsOnly) {
  using namespace valfmt;
  Resident n;
  n.name(0, "N", kEntryNumeric, 3);
  n.table = {n.num(kRangeNumeric, 1, 3, n.plain(u"r13")),
             n.num(kRangeNumSingle, 5, 5, n.plain(u"s5")),
             n.num(kRangeNumeric, 7, 9, n.plain(u"r79"))};
  const struct {
    fmtevaluator f;
    double v;
    std::string out;
  } numeric[] = {{yfpfnfm, 5, w16(u"s5 ")}, {yfpfnfn, 5, w16(u"s5 ")},
                 {yfpfnfs, 5, w16(u"s5 ")}, {yfpfnfs, 2, "  2"},
                 {yfpfnfr, 8, w16(u"r79")}, {yfpfnfr, 5, "  5"}};
  for (const auto &c : numeric)
    EXPECT_EQ(n.num_eval(c.f, c.v, 3), c.out) << c.v;
  Resident ch;
  ch.name(0, "C", kEntryCharacter, 4);
  ch.table = {ch.chr(kRangeCharSingle, u"B", u"", ch.plain(u"single")),
              ch.chr(kRangeChar, u"C", u"D", ch.plain(u"range")),
              ch.chr(kRangeFixedSingle, u"E", u"", ch.plain(u"fixed1")),
              ch.chr(kRangeFixed, u"F", u"G", ch.plain(u"fixedr"))};
  const struct {
    fmtevaluator f;
    std::u16string in, out;
  } character[] = {
      {yfpfcfn, u"E", u"fixed1"},
      {yfpfcfn, u"Fz", u"fixedr"},
      {yfpfcfm, u"B", u"single"},
      {yfpfcfm, u"E", u"E     "},
      {yfpfcfs, u"C", u"C     "},
      {yfpfcfr, u"D", u"range "},
      {yfpfcfr, u"B", u"B     "},
      {yfpfcfx, u"E   ", u"fixed1"},
      {yfpfcfx, u"F", u"F     "},
      {yfpfcfy, u"G", u"fixedr"},
      {yfpfcfy, u"E", u"E     "},
      {yfpfcfz, u"F", u"fixedr"},
      // Fixed-length texts compare on their first 16 characters only.
      {yfpfcfx, u"E               tail", u"fixed1"}};
  for (const auto &c : character)
    EXPECT_EQ(ch.chr_eval(c.f, c.in, 6), w16(c.out));
  EXPECT_EQ(n.eval(yfpfnfm, 0, nullptr, 0, 2), " ."); // null value: missing
}

TEST(UserfmtEval, MultilabelListsOfResidentRanges) {
  Resident res;
  res.name(0, "M", valfmt::kEntryNumeric, 1);
  res.entries[0].work = 1;
  auto *list = static_cast<valfmt::multilabel *>(res.block(8 + 3 * 8));
  list->count = 3;
  const void *labels[3] = {res.plain(u"one"), res.plain(u"two"),
                           res.plain(u"three")};
  std::memcpy(&list->labels[0], labels, sizeof labels);
  auto *r = static_cast<valfmt::numrange *>(
      res.num(valfmt::kRangeNumeric, 1, 9, list));
  r->flags = valfmt::kMultiLabel;
  res.table = {r};
  EXPECT_EQ(res.num_eval(yfpfnfm, 5, 5), w16(u"one  "));
  EXPECT_EQ(res.num_eval(yfpfnfm, 5, 5, VF_OPT_MULTILABEL),
            w16(u"one  two  three"));
  EXPECT_EQ(res.num_eval(yfpfnfm, 5, 11, VF_OPT_MULTILABEL), "***********");
}

TEST(UserfmtEval, FormatLabelsResolveNamedFormatsWithinADepthLimit) {
  Resident res;
  res.name(0, "00000000", 0, 0);
  res.name(1, "OUTER", valfmt::kEntryNumeric, 3);
  res.name(2, "INNER", valfmt::kEntryNumeric, 1);
  res.name(3, "", 0, 0);
  res.table = {res.num(valfmt::kRangeNumeric, 1, 5, res.format("INNER", 6)),
               res.num(valfmt::kRangeNumeric, 6, 9, res.format("OUTER", 6)),
               res.num(valfmt::kRangeNumeric, 10, 20, res.format("NOSUCH", 6)),
               res.num(valfmt::kRangeNumeric, 0, 10, res.plain(u"inner"))};
  // A user format of the same catalogue, in the label's width, narrow as
  // asked.
  double v = 3;
  EXPECT_EQ(res.eval(yfpfnfm, 1, &v, 8, 8), "inner ");
  // A label naming its own format loops until the depth limit: asterisks.
  v = 7;
  const std::string loop = res.eval(yfpfnfm, 1, &v, 8, 8);
  EXPECT_FALSE(loop.empty());
  EXPECT_EQ(loop.find_first_not_of('*'), std::string::npos);
  // A name that does not resolve: asterisks.
  v = 15;
  EXPECT_EQ(res.eval(yfpfnfm, 1, &v, 8, 8), "********");
  // A built-in format named by a label.
  res.table[2] = res.num(valfmt::kRangeNumeric, 10, 20, res.format("Z", 5));
  EXPECT_EQ(res.eval(yfpfnfm, 1, &v, 8, 8), "00015");
}

} // namespace
