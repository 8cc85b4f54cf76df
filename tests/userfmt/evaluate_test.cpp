// Evaluation of user-defined formats through resolution and xffmt: range
// searches, excluded bounds, fuzz, missing values, labels, OTHER, default
// display, character ranges, encodings, multilabels and format labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/missing.h"
#include "catalog_builder.h"
#include "userfmt/userfmt.h"
#include "userfmt/catalog.h"

using namespace uftest;

namespace {

std::string narrow(const Out &o) {
  return o.bytes;
}
std::u16string wide(const Out &o) {
  return units(o);
}

std::string lowhigh() {
  return catalog(
      {nrange("LH", "1", "5", "low"), nrange("LH", "6", "10", "high")});
}

TEST(UserfmtEval, LabelsAndDefaultDisplay) {
  Handle h(lowhigh(), "LH");
  ASSERT_EQ(h.rc, 0);
  Out o = put_number(h.h, 3, 6);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(o.enc, VF_ENC_UCS2);
  EXPECT_EQ(wide(o), u"low   ");
  EXPECT_EQ(o.bytes.size(), 12u);
  EXPECT_EQ(o.options & VF_OPT_DEFAULT_SHOWN, 0u);
  o = put_number(h.h, 11, 6, 0, VF_ENC_NARROW, 512, VF_OPT_DEFAULT_SHOWN);
  EXPECT_EQ(narrow(o), "    11");
  EXPECT_EQ(o.enc, VF_ENC_NARROW);
  EXPECT_NE(o.options & VF_OPT_DEFAULT_SHOWN, 0u);
  // The flag is cleared again by a match.
  o = put_number(h.h, 7, 6, 0, VF_ENC_NARROW, 512, VF_OPT_DEFAULT_SHOWN);
  EXPECT_EQ(narrow(o), "high  ");
  EXPECT_EQ(o.options & VF_OPT_DEFAULT_SHOWN, 0u);
  // Default display with decimals, and BEST when d is 0.
  EXPECT_EQ(narrow(put_number(h.h, 12.5, 8, 2, VF_ENC_NARROW)), "   12.50");
  EXPECT_EQ(narrow(put_number(h.h, 12.25, 8, 0, VF_ENC_NARROW)), "   12.25");
  // Wider than 32: blanks, then the number in the last 32 positions.
  o = put_number(h.h, 11, 40, 0, VF_ENC_NARROW);
  EXPECT_EQ(narrow(o), std::string(38, ' ') + "11");
  // The field never passes outsize; the rightmost positions are kept.
  o = put_number(h.h, 123, 40, 0, VF_ENC_NARROW, 5);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(narrow(o), "  123");
  // A missing value with no range of its own is shown as missing.
  EXPECT_EQ(
      narrow(put_number(h.h, valfmt::standard_missing(), 4, 0, VF_ENC_NARROW)),
      "   .");
}

TEST(UserfmtEval, LabelsLongerAndShorterThanW) {
  Handle h(catalog({nrange("L", "1", "1", "a long label")}), "L");
  ASSERT_EQ(h.rc, 0);
  EXPECT_EQ(wide(put_number(h.h, 1, 6)), u"a long");
  EXPECT_EQ(wide(put_number(h.h, 1, 14)), u"a long label  ");
  EXPECT_EQ(wide(put_number(h.h, 1, 0)), u"");
  EXPECT_EQ(narrow(put_number(h.h, 1, 3, 0, VF_ENC_NARROW)), "a l");
}

TEST(UserfmtEval, Utf8NarrowingAndSmallOutsize) {
  Handle h(catalog({nrange("U", "1", "1",
                           "Gr\xC3\xB6\xC3\x9F"
                           "e\xE2\x82\xAC")}),
           "U");
  ASSERT_EQ(h.rc, 0);
  Out o = put_number(h.h, 1, 7, 0, VF_ENC_NARROW);
  EXPECT_EQ(o.enc, VF_ENC_NARROW);
  EXPECT_EQ(narrow(o), "Gr\xC3\xB6\xC3\x9F"
                       "e\xE2\x82\xAC ");
  // outsize below 2w: narrow callers still get whole UTF-8 characters.
  o = put_number(h.h, 1, 7, 0, VF_ENC_NARROW, 7);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(narrow(o), "Gr\xC3\xB6\xC3\x9F"
                       "e");
  o = put_number(h.h, 1, 7, 0, VF_ENC_NARROW, 9);
  EXPECT_EQ(narrow(o), "Gr\xC3\xB6\xC3\x9F"
                       "e");
  o = put_number(h.h, 1, 7, 0, VF_ENC_NARROW, 11);
  EXPECT_EQ(narrow(o), "Gr\xC3\xB6\xC3\x9F"
                       "e\xE2\x82\xAC ");
  // 16-bit callers get as many units as fit.
  o = put_number(h.h, 1, 7, 0, VF_ENC_UCS2, 9);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(wide(o), u"Gr\u00F6\u00DF");
}

TEST(UserfmtEval, FuzzWidensRanges) {
  Row a = nrange("FZ", "1", "5", "low");
  a.fuzz = "0.5";
  Row b = nrange("FZ", "6", "10", "high");
  for (const char *hlo : {"", "S"}) {
    std::vector<Row> rows = {a, b};
    rows.back().hlo = hlo;
    Handle h(catalog(rows), "FZ");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(wide(put_number(h.h, 5.4, 4)), u"low ") << hlo;
    EXPECT_EQ(wide(put_number(h.h, 5.6, 4)), u"high") << hlo;
    EXPECT_EQ(wide(put_number(h.h, 0.5, 4)), u"low ") << hlo;
    EXPECT_EQ(narrow(put_number(h.h, 0.4, 4, 0, VF_ENC_NARROW)), " 0.4");
  }
}

// Ranges 0-10, 10-20, ..., 90-100 with the shared bounds excluded on one
// side, searched both ways.
std::string shared_bounds(bool exclude_end, bool linear) {
  std::vector<Row> rows;
  for (int i = 0; i < 10; ++i) {
    Row r = nrange("SB", std::to_string(10 * i), std::to_string(10 * i + 10),
                   "r" + std::to_string(i));
    if (exclude_end && i < 9) r.eexcl = "Y";
    if (!exclude_end && i > 0) r.sexcl = "Y";
    if (linear) r.hlo = "S";
    rows.push_back(r);
  }
  return catalog(rows);
}

TEST(UserfmtEval, SharedBoundsWithExcludedEnds) {
  for (bool linear : {false, true}) {
    for (bool exclude_end : {true, false}) {
      Handle h(shared_bounds(exclude_end, linear), "SB");
      ASSERT_EQ(h.rc, 0);
      EXPECT_EQ(h.user()->evaluator, linear ? &yfpfnfn : &yfpfnfm);
      for (int b = 10; b < 100; b += 10) {
        // The shared bound goes to the range that includes it.
        const int owner = exclude_end ? b / 10 : b / 10 - 1;
        EXPECT_EQ(wide(put_number(h.h, b, 2)),
                  u"r" + std::u16string(1, u'0' + owner))
            << b << " linear " << linear << " end " << exclude_end;
        EXPECT_EQ(wide(put_number(h.h, b + 0.5, 2)),
                  u"r" + std::u16string(1, u'0' + b / 10));
      }
      EXPECT_EQ(wide(put_number(h.h, 0, 2)), u"r0");
      EXPECT_EQ(wide(put_number(h.h, 100, 2)), u"r9");
      EXPECT_EQ(narrow(put_number(h.h, 100.5, 5, 0, VF_ENC_NARROW)), "100.5");
    }
  }
}

TEST(UserfmtEval, BothSidesExcludedLeavesTheBoundUnmatched) {
  Row a = nrange("BX", "1", "5", "a");
  a.eexcl = "Y";
  Row b = nrange("BX", "5", "10", "b");
  b.sexcl = "Y";
  for (const char *hlo : {"", "S"}) {
    b.hlo = hlo;
    Handle h(catalog({a, b}), "BX");
    ASSERT_EQ(h.rc, 0);
    Out o = put_number(h.h, 5, 3, 0, VF_ENC_NARROW);
    EXPECT_EQ(narrow(o), "  5") << hlo;
    EXPECT_NE(o.options & VF_OPT_DEFAULT_SHOWN, 0u);
    EXPECT_EQ(narrow(put_number(h.h, 4.999, 1, 0, VF_ENC_NARROW)), "a");
  }
}

TEST(UserfmtEval, BinaryAndLinearSearchAgree) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    // Sorted ranges with random gaps, shared bounds and exclusions.
    std::vector<Row> rows;
    int at = static_cast<int>(rng() % 5);
    const int n = 1 + static_cast<int>(rng() % 40);
    bool shared = false;
    for (int i = 0; i < n; ++i) {
      const int len = 1 + static_cast<int>(rng() % 4);
      Row r = nrange("BL", std::to_string(at), std::to_string(at + len),
                     std::to_string(i));
      // A bound shared with the previous range belongs to at most one of
      // them: one side (or both) excludes it.
      const unsigned pick = rng() % 3;
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
    for (double v = -1; v <= at + 1; v += 0.5) {
      Out x = put_number(bin.h, v, 4, 0, VF_ENC_NARROW);
      Out y = put_number(lin.h, v, 4, 0, VF_ENC_NARROW);
      EXPECT_EQ(x.bytes, y.bytes) << "round " << round << " value " << v;
    }
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
  const valfmt::fmtentry *e = rd.entry();
  ASSERT_NE(e->index, nullptr);
  valfmt::fmtentry copy = *e;
  copy.origin = 0;
  valfmt::fmtentry stale = *e; // an index of another table is ignored
  for (double v = -2; v < 905; v += 0.25) {
    char a[64], b[64];
    fmtcall ca{}, cb{};
    ca.w = cb.w = 4;
    ca.value = cb.value = &v;
    ca.out = a;
    cb.out = b;
    ca.outsize = cb.outsize = sizeof a;
    yfpfnfm(&ca, e, rd.ctx.ranges);
    yfpfnfm(&cb, &copy, rd.ctx.ranges);
    ASSERT_EQ(std::string(a, static_cast<size_t>(ca.outlen)),
              std::string(b, static_cast<size_t>(cb.outlen)))
        << v;
  }
  stale.nranges = 1; // the index holds 300: only the first range is seen
  double v = 1;
  char out[16];
  fmtcall c{};
  c.w = 2;
  c.value = &v;
  c.out = out;
  c.outsize = sizeof out;
  EXPECT_EQ(yfpfnfm(&c, &stale, rd.ctx.ranges), VF_OK);
  EXPECT_EQ(std::string(out, 4), std::string("0\0 \0", 4));
  v = 4;
  EXPECT_EQ(yfpfnfm(&c, &stale, rd.ctx.ranges), VF_OK);
  EXPECT_EQ(std::string(out, 2), " 4");
}

TEST(UserfmtEval, MissingValuesHaveTheirOwnRanges) {
  Row dot = nrange("MV", ".", ".", "dot");
  Row az = nrange("MV", ".A", ".Z", "letters");
  Row low = nrange("MV", "", "0", "low");
  low.hlo = "L";
  Row high = nrange("MV", "1", "", "high");
  high.hlo = "H";
  for (const char *hlo : {"", "S"}) {
    high.hlo = std::string("H") + hlo;
    Handle h(catalog({dot, az, low, high}), "MV");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(wide(put_number(h.h, valfmt::standard_missing(), 7)), u"dot    ");
    EXPECT_EQ(wide(put_number(h.h, ZMISSV(2), 7)), u"letters");
    EXPECT_EQ(wide(put_number(h.h, ZMISSV(27), 7)), u"letters");
    EXPECT_EQ(wide(put_number(h.h, -1e300, 7)), u"low    ");
    EXPECT_EQ(wide(put_number(h.h, -HUGE_VAL, 7)), u"low    ");
    EXPECT_EQ(wide(put_number(h.h, 1e300, 7)), u"high   ");
    // The underscore missing value has no range: LOW does not take it.
    Out o = put_number(h.h, ZMISSV(0), 3, 0, VF_ENC_NARROW);
    EXPECT_EQ(narrow(o), "  _");
    EXPECT_NE(o.options & VF_OPT_DEFAULT_SHOWN, 0u);
  }
}

TEST(UserfmtEval, OtherLabelTakesEverythingElse) {
  Row o = nrange("OT", "", "", "other");
  o.hlo = "O";
  Handle h(catalog({nrange("OT", "1", "2", "one"), o}), "OT");
  ASSERT_EQ(h.rc, 0);
  EXPECT_EQ(wide(put_number(h.h, 1.5, 5)), u"one  ");
  for (double v : {-5.0, 3.0, valfmt::standard_missing(), ZMISSV(0)}) {
    Out r = put_number(h.h, v, 5);
    EXPECT_EQ(wide(r), u"other");
    EXPECT_EQ(r.options & VF_OPT_DEFAULT_SHOWN, 0u);
  }
}

// --- character formats
// --------------------------------------------------------

TEST(UserfmtEval, CharacterRanges) {
  for (const char *hlo : {"", "S"}) {
    Row r = crange("AC", "A", "C", "x");
    r.hlo = hlo;
    Handle h(catalog({r}), "$AC");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(h.user()->evaluator, *hlo ? &yfpfcfn : &yfpfcfm);
    auto show = [&](const char *t) {
      return narrow(put_text(h.h, t, static_cast<int>(std::strlen(t)),
                             VF_ENC_NARROW, 1, VF_ENC_NARROW));
    };
    EXPECT_EQ(show("B"), "x");
    EXPECT_EQ(show("Bx"), "x");
    EXPECT_EQ(show("A"), "x");
    EXPECT_EQ(show("C "), "x");
    EXPECT_EQ(show("C"), "x");
    EXPECT_EQ(show("Ca"), "C"); // above C: the input itself, cut to w
    EXPECT_EQ(show("0"), "0");
    EXPECT_EQ(show(""), " ");
  }
}

TEST(UserfmtEval, CharacterBoundsWithTrailingBlanksAndExclusions) {
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
    auto show = [&](const char *t) {
      Out o = put_text(h.h, t, static_cast<int>(std::strlen(t)), VF_ENC_NARROW,
                       6, VF_ENC_NARROW);
      return narrow(o);
    };
    EXPECT_EQ(show("A"), "first ");
    EXPECT_EQ(show("Lzz"), "first ");
    EXPECT_EQ(show("M"), "M     ") << hlo; // excluded on both sides
    EXPECT_EQ(show("M   "), "M     ") << hlo;
    EXPECT_EQ(show("Ma"), "second");
    EXPECT_EQ(show("Z"), "second");
    EXPECT_EQ(show("Z "), "second");
    EXPECT_EQ(show("ZA"), "third ");
  }
}

TEST(UserfmtEval, Ucs2InputAndWidenedNarrowInput) {
  Row r = crange("UC", "\xC3\xA0", "\xC3\xA0", "a-grave");
  Row o = crange("UC", "", "", "?");
  o.hlo = "O";
  Handle h(catalog({r, o}), "$UC");
  ASSERT_EQ(h.rc, 0);
  const char16_t agrave[] = u"\u00E0";
  Out x = put_text(h.h, agrave, 1, VF_ENC_UCS2, 8);
  EXPECT_EQ(wide(x), u"a-grave ");
  const char latin[] = "\xE0";
  EXPECT_EQ(wide(put_text(h.h, latin, 1, VF_ENC_NARROW, 8)), u"a-grave ");
  // Unaligned 16-bit input is read unit by unit.
  alignas(2) char buf[8] = {0, static_cast<char>(0xE0), 0, ' ', 0};
  EXPECT_EQ(wide(put_text(h.h, buf + 1, 2, VF_ENC_UCS2, 7)), u"a-grave");
  EXPECT_EQ(wide(put_text(h.h, u"b", 1, VF_ENC_UCS2, 1)), u"?");
}

TEST(UserfmtEval, CharacterDefaultDisplayNarrowsToUtf8) {
  Handle h(catalog({crange("CD", "A", "B", "ab")}), "$CD");
  ASSERT_EQ(h.rc, 0);
  const char text[] = "caf\xE9 !"; // six bytes, one Latin-1 letter
  Out o = put_text(h.h, text, 6, VF_ENC_NARROW, 6, VF_ENC_NARROW);
  EXPECT_EQ(o.bytes, "caf\xC3\xA9 !");
  EXPECT_EQ(o.bytes.size(), 7u);
  EXPECT_NE(o.options & VF_OPT_DEFAULT_SHOWN, 0u);
  Out w = put_text(h.h, text, 6, VF_ENC_NARROW, 8, VF_ENC_UCS2);
  EXPECT_EQ(wide(w), u"caf\u00E9 !  ");
}

TEST(UserfmtEval, Zstrcomu) {
  auto cmp = [](std::u16string a, std::u16string b) {
    return valfmt::compare_units(reinterpret_cast<const uint16_t *>(a.data()),
                                 static_cast<int32_t>(a.size()),
                                 reinterpret_cast<const uint16_t *>(b.data()),
                                 static_cast<int32_t>(b.size()));
  };
  EXPECT_EQ(cmp(u"abc", u"abc"), 0);
  EXPECT_EQ(cmp(u"abc", u"abd"), -1);
  EXPECT_EQ(cmp(u"abd", u"abc"), 1);
  EXPECT_EQ(cmp(u"ab  ", u"ab"), 0);
  EXPECT_EQ(cmp(u"ab", u"ab  "), 0);
  EXPECT_EQ(cmp(u"ab!", u"ab"), 1);
  EXPECT_EQ(cmp(u"ab", u"ab!"), -1);
  EXPECT_EQ(cmp(u"", u""), 0);
  EXPECT_EQ(cmp(u"", u"  "), 0);
  // Units compare as signed 16-bit numbers: U+8000 and above sort first.
  EXPECT_EQ(cmp(u"\u8000", u"A"), -1);
  EXPECT_EQ(cmp(u"\u00E9", u"A"), 1);
}

TEST(UserfmtEval, Mptlu) {
  uint16_t out[6];
  const uint16_t src[3] = {'a', 'b', 'c'};
  valfmt::copy_units_padded(src, 3, out, 5);
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t *>(out), 5), u"abc  ");
  valfmt::copy_units_padded(src, 3, out, 2);
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t *>(out), 2), u"ab");
  valfmt::copy_units_padded(nullptr, 7, out, 3);
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t *>(out), 3), u"   ");
}

// --- multilabels
// ----------------------------------------------------------------

TEST(UserfmtEval, MultilabelCollection) {
  Row a = nrange("ML", "1", "10", "wide");
  a.hlo = "M";
  Row b = nrange("ML", "3", "4", "narrow");
  b.hlo = "M";
  Handle h(catalog({a, b}), "ML");
  ASSERT_EQ(h.rc, 0);
  EXPECT_EQ(h.user()->evaluator, &yfpfnfn);
  // Without collection the first range in file order wins.
  EXPECT_EQ(wide(put_number(h.h, 3.5, 6)), u"wide  ");
  // With collection every matching label, each in a field of w.
  Out o = put_number(h.h, 3.5, 6, 0, VF_ENC_UCS2, 512, VF_OPT_MULTILABEL);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(wide(o), u"wide  narrow");
  o = put_number(h.h, 8, 6, 0, VF_ENC_UCS2, 512, VF_OPT_MULTILABEL);
  EXPECT_EQ(wide(o), u"wide  ");
  // Too much for outsize: asterisks and -1.
  o = put_number(h.h, 3.5, 6, 0, VF_ENC_UCS2, 20, VF_OPT_MULTILABEL);
  EXPECT_EQ(o.status, VF_NO_FIT);
  EXPECT_EQ(o.bytes, "******");
  // Default display when nothing matches.
  o = put_number(h.h, 20, 6, 0, VF_ENC_NARROW, 512, VF_OPT_MULTILABEL);
  EXPECT_EQ(o.bytes, "    20");
  EXPECT_NE(o.options & VF_OPT_DEFAULT_SHOWN, 0u);
  // An entry without multilabel rows ignores the option.
  Handle plain(lowhigh(), "LH");
  EXPECT_EQ(
      wide(put_number(plain.h, 3, 4, 0, VF_ENC_UCS2, 512, VF_OPT_MULTILABEL)),
      u"low ");
}

// --- memory-resident catalogues with the other range and label kinds
// ------------

struct Resident {
  valfmt::fmtentry entries[5]{};
  std::vector<void *> table;
  std::vector<std::vector<uint64_t>> blocks; // 8-aligned storage

  void *block(size_t bytes) {
    blocks.emplace_back((bytes + 7) / 8 + 1, 0);
    return blocks.back().data();
  }
  void name(int i, const char *n, int16_t type, int64_t nranges) {
    valfmt::fmtentry &e = entries[i];
    std::memset(e.shortname, ' ', 8);
    std::memset(e.fullname, ' ', 32);
    std::memcpy(e.shortname, n, std::min<size_t>(8, std::strlen(n)));
    std::memcpy(e.fullname, n, std::strlen(n));
    e.type = type;
    e.nranges = nranges;
    e.minw = 1;
    e.maxw = 40;
    e.defw = 8;
  }
  const void *plain(const std::u16string &t) {
    auto *l = static_cast<valfmt::plainlabel *>(block(4 + 2 * t.size()));
    l->type = valfmt::kLabelPlain;
    l->len = static_cast<uint16_t>(t.size());
    std::memcpy(const_cast<uint16_t *>(valfmt::label_text(l)), t.data(),
                2 * t.size());
    return l;
  }
  const void *format(const char *n, int16_t width, uint8_t dec) {
    auto *l =
        static_cast<valfmt::formatlabel *>(block(sizeof(valfmt::formatlabel)));
    l->type = 7;
    l->width = width;
    l->decimals = dec;
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
  void *chr(uint8_t type, const std::u16string &s, const std::u16string &e,
            const void *label) {
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
};

std::u16string pad16(const std::u16string &s) {
  return s + std::u16string(16 - s.size(), u' ');
}

// Calls an evaluator directly (no xffmt around it) with a prepared block.
Out eval_call(fmtevaluator f, const valfmt::fmtentry *e, void *const *r,
              fmtcall c) {
  char buf[256];
  c.out = buf;
  c.outsize = sizeof buf;
  Out o;
  o.status = f(&c, e, r);
  o.bytes.assign(buf, static_cast<size_t>(c.outlen));
  o.enc = c.outenc;
  o.options = c.options;
  return o;
}

Out eval_num(fmtevaluator f, const valfmt::fmtentry *e, void *const *r,
             double v, int w) {
  fmtcall c{};
  c.w = w;
  c.value = &v;
  return eval_call(f, e, r, c);
}

Out eval_chr(fmtevaluator f, const valfmt::fmtentry *e, void *const *r,
             const std::u16string &t, int w) {
  fmtcall c{};
  c.w = w;
  c.value = t.data();
  c.valuelen = static_cast<int32_t>(t.size());
  c.inenc = VF_ENC_UCS2;
  return eval_call(f, e, r, c);
}

TEST(UserfmtEval, SpecialisedNumericMembers) {
  Resident res;
  res.name(0, "N", valfmt::kEntryNumeric, 3);
  res.table = {res.num(valfmt::kRangeNumeric, 1, 3, res.plain(u"r13")),
               res.num(valfmt::kRangeNumSingle, 5, 5, res.plain(u"s5")),
               res.num(valfmt::kRangeNumeric, 7, 9, res.plain(u"r79"))};
  const auto *e = &res.entries[0];
  void *const *r = res.table.data();
  EXPECT_EQ(wide(eval_num(yfpfnfm, e, r, 2, 3)), u"r13");
  EXPECT_EQ(wide(eval_num(yfpfnfm, e, r, 5, 3)), u"s5 ");
  EXPECT_EQ(wide(eval_num(yfpfnfn, e, r, 5, 3)), u"s5 ");
  EXPECT_EQ(wide(eval_num(yfpfnfm, e, r, 8, 3)), u"r79");
  EXPECT_EQ(wide(eval_num(yfpfnfs, e, r, 5, 3)), u"s5 ");
  EXPECT_EQ(eval_num(yfpfnfs, e, r, 2, 3).bytes, "  2");
  EXPECT_EQ(eval_num(yfpfnfs, e, r, 8, 3).bytes, "  8");
  EXPECT_EQ(wide(eval_num(yfpfnfr, e, r, 8, 3)), u"r79");
  EXPECT_EQ(wide(eval_num(yfpfnfr, e, r, 2, 3)), u"r13");
  EXPECT_EQ(eval_num(yfpfnfr, e, r, 5, 3).bytes, "  5");
  // No ranges at all.
  EXPECT_EQ(eval_num(yfpfnfm, e, nullptr, 5, 2).bytes, " 5");
}

TEST(UserfmtEval, SpecialisedCharacterMembers) {
  Resident res;
  res.name(0, "C", valfmt::kEntryCharacter, 4);
  res.table = {
      res.chr(valfmt::kRangeCharSingle, u"B", u"", res.plain(u"single")),
      res.chr(valfmt::kRangeChar, u"C", u"D", res.plain(u"range")),
      res.chr(valfmt::kRangeFixedSingle, pad16(u"E"), pad16(u""),
              res.plain(u"fixed1")),
      res.chr(valfmt::kRangeFixed, pad16(u"F"), pad16(u"G"),
              res.plain(u"fixedr"))};
  const auto *e = &res.entries[0];
  void *const *r = res.table.data();
  EXPECT_EQ(wide(eval_chr(yfpfcfn, e, r, u"B", 6)), u"single");
  EXPECT_EQ(wide(eval_chr(yfpfcfn, e, r, u"Cx", 6)), u"range ");
  EXPECT_EQ(wide(eval_chr(yfpfcfn, e, r, u"E", 6)), u"fixed1");
  EXPECT_EQ(wide(eval_chr(yfpfcfn, e, r, u"Fz", 6)), u"fixedr");
  EXPECT_EQ(wide(eval_chr(yfpfcfm, e, r, u"B", 6)), u"single");
  EXPECT_EQ(wide(eval_chr(yfpfcfm, e, r, u"C", 6)), u"range ");
  EXPECT_EQ(wide(eval_chr(yfpfcfm, e, r, u"E", 6)), u"E     "); // not its kind
  EXPECT_EQ(wide(eval_chr(yfpfcfs, e, r, u"B", 6)), u"single");
  EXPECT_EQ(wide(eval_chr(yfpfcfs, e, r, u"C", 6)), u"C     ");
  EXPECT_EQ(wide(eval_chr(yfpfcfr, e, r, u"D", 6)), u"range ");
  EXPECT_EQ(wide(eval_chr(yfpfcfr, e, r, u"B", 6)), u"B     ");
  EXPECT_EQ(wide(eval_chr(yfpfcfx, e, r, u"E   ", 6)), u"fixed1");
  EXPECT_EQ(wide(eval_chr(yfpfcfx, e, r, u"F", 6)), u"F     ");
  EXPECT_EQ(wide(eval_chr(yfpfcfy, e, r, u"G", 6)), u"fixedr");
  EXPECT_EQ(wide(eval_chr(yfpfcfy, e, r, u"E", 6)), u"E     ");
  EXPECT_EQ(wide(eval_chr(yfpfcfz, e, r, u"E", 6)), u"fixed1");
  EXPECT_EQ(wide(eval_chr(yfpfcfz, e, r, u"F", 6)), u"fixedr");
  // Fixed-length texts compare on their first 16 characters only.
  EXPECT_EQ(wide(eval_chr(yfpfcfx, e, r, u"E               tail", 6)),
            u"fixed1");
}

TEST(UserfmtEval, MultilabelListsFromResidentCatalogues) {
  Resident res;
  res.name(0, "M", valfmt::kEntryNumeric, 1);
  res.entries[0].work = 1;
  auto *list = static_cast<valfmt::multilabel *>(res.block(8 + 3 * 8));
  list->count = 3;
  list->labels[0] = res.plain(u"one");
  const void *more[2] = {res.plain(u"two"), res.plain(u"three")};
  std::memcpy(&list->labels[1], more, sizeof more);
  auto *r = static_cast<valfmt::numrange *>(
      res.num(valfmt::kRangeNumeric, 1, 9, list));
  r->flags = valfmt::kMultiLabel;
  res.table = {r};
  const auto *e = &res.entries[0];
  EXPECT_EQ(wide(eval_num(yfpfnfm, e, res.table.data(), 5, 5)), u"one  ");
  char buf[64];
  double v = 5;
  fmtcall c{};
  c.w = 5;
  c.value = &v;
  c.out = buf;
  c.outsize = sizeof buf;
  c.options = VF_OPT_MULTILABEL;
  EXPECT_EQ(yfpfnfm(&c, e, res.table.data()), VF_OK);
  EXPECT_EQ(c.outlen, 30);
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t *>(buf), 15),
            u"one  two  three");
}

TEST(UserfmtEval, FormatLabelsResolveNamedFormats) {
  Resident res;
  res.name(0, "00000000", 0, 0);
  res.name(1, "OUTER", valfmt::kEntryNumeric, 3);
  res.name(2, "INNER", valfmt::kEntryNumeric, 1);
  res.name(3, "", 0, 0);
  res.table = {
      res.num(valfmt::kRangeNumeric, 1, 5, res.format("INNER", 6, 0)),
      res.num(valfmt::kRangeNumeric, 6, 9, res.format("OUTER", 6, 0)),
      res.num(valfmt::kRangeNumeric, 10, 20, res.format("NOSUCH", 6, 0)),
      res.num(valfmt::kRangeNumeric, 0, 10, res.plain(u"inner"))};
  const auto *outer = &res.entries[1];
  void *const *r = res.table.data();
  // A label naming a user format of the same catalogue.
  Out o = eval_num(yfpfnfm, outer, r, 3, 8);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(o.bytes, "inner "); // the label's width 6, narrow as asked
  // A label naming the format itself ends in asterisks, not a crash.
  o = eval_num(yfpfnfm, outer, r, 7, 8);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(o.bytes.find_first_not_of('*'), std::string::npos);
  // A name that does not resolve: asterisks, status 0.
  o = eval_num(yfpfnfm, outer, r, 15, 8);
  EXPECT_EQ(o.status, VF_OK);
  EXPECT_EQ(o.bytes, "********");
}

TEST(UserfmtEval, EntriesOfOtherTypesGetNoEvaluator) {
  valfmt::fmtentry e{};
  e.type = 20;
  fmtuhandle h{};
  setfptr(&e, &h);
  EXPECT_EQ(h.evaluator, nullptr);
  e.type = valfmt::kEntryPicture;
  setfptr(&e, &h);
  EXPECT_EQ(h.evaluator, &yfpfnfm);
  e.sflag = 1;
  setfptr(&e, &h);
  EXPECT_EQ(h.evaluator, &yfpfnfn);
  e.type = valfmt::kEntryCharacter;
  setfptr(&e, &h);
  EXPECT_EQ(h.evaluator, &yfpfcfn);
}

} // namespace
