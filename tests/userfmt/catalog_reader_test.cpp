// The format catalogue reader: entries, ranges, labels, row filtering,
// result codes for malformed catalogues, file and memory forms.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

#include "core/missing.h"
#include "catalog_builder.h"
#include "userfmt/userfmt.h"
#include "userfmt/catalog.h"

using namespace uftest;
using valfmt::charrange;
using valfmt::fmtentry;
using valfmt::numrange;

namespace {

uint64_t key_of(const uint8_t k[8]) {
  return valfmt::load_key(k);
}
uint64_t key_of(double v) {
  uint8_t k[8];
  valfmt::write_order_key(v, k);
  return key_of(k);
}

std::u16string plain(const void *label) {
  const auto *l = static_cast<const valfmt::plainlabel *>(label);
  EXPECT_EQ(l->type, valfmt::kLabelPlain);
  return std::u16string(
      reinterpret_cast<const char16_t *>(valfmt::label_text(l)), l->len);
}

std::vector<Row> agegrp() {
  Row low = nrange("AGEGRP", "", "13", "child");
  low.hlo = "L";
  low.eexcl = "Y";
  Row teen = nrange("AGEGRP", "13", "20", "teenager");
  teen.eexcl = "Y";
  Row adult = nrange("AGEGRP", "20", "65", "adult");
  adult.eexcl = "Y";
  Row old = nrange("AGEGRP", "65", "", "senior");
  old.hlo = "H";
  Row other = nrange("AGEGRP", "", "", "unknown");
  other.hlo = "O";
  return {low, teen, adult, old, other};
}

TEST(UserfmtReader, BuildsEntryRangesAndLabels) {
  const std::string text = catalog(agegrp());
  Read r(text, "AGEGRP");
  ASSERT_EQ(r.rc, 0);
  const fmtentry *e = r.entry();
  EXPECT_EQ(e->version, 1);
  EXPECT_EQ(std::string(e->shortname, 8), "AGEGRP  ");
  EXPECT_EQ(std::string(e->fullname, 32), "AGEGRP" + std::string(26, ' '));
  EXPECT_EQ(e->type, valfmt::kEntryNumeric);
  EXPECT_EQ(e->minw, 1);
  EXPECT_EQ(e->maxw, 40);
  EXPECT_EQ(e->defw, 10);
  EXPECT_EQ(e->nranges, 4);
  EXPECT_EQ(e->nlabels, 5);
  EXPECT_EQ(e->longest, 8); // "teenager"
  EXPECT_EQ(e->hasother, 1);
  EXPECT_EQ(plain(e->other), u"unknown");
  EXPECT_EQ(e->flags[2], 4);
  EXPECT_EQ(e->consts[0], 3);
  EXPECT_EQ(e->consts[1], 1);
  EXPECT_EQ(e->sflag, 0);
  EXPECT_EQ(e->work, 0);

  const auto *r0 = static_cast<const numrange *>(r.range(0));
  const auto *r1 = static_cast<const numrange *>(r.range(1));
  const auto *r3 = static_cast<const numrange *>(r.range(3));
  EXPECT_EQ(r0->type, valfmt::kRangeNumeric);
  EXPECT_EQ(r0->flags, valfmt::kLow | valfmt::kEndExcluded);
  const uint8_t lowkey[8] = {0, 1, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(r0->start, lowkey, 8), 0);
  EXPECT_EQ(std::memcmp(r0->startfz, lowkey, 8), 0);
  EXPECT_EQ(key_of(r0->end), key_of(13.0));
  EXPECT_EQ(plain(r0->label), u"child");
  EXPECT_EQ(key_of(r1->start), key_of(13.0));
  EXPECT_EQ(plain(r1->label), u"teenager");
  EXPECT_EQ(r3->flags, valfmt::kHigh);
  const uint8_t highkey[8] = {255, 255, 255, 255, 255, 255, 255, 255};
  EXPECT_EQ(std::memcmp(r3->end, highkey, 8), 0);
  EXPECT_EQ(std::memcmp(r3->endfz, highkey, 8), 0);
}

TEST(UserfmtReader, FuzzWidensKeysButNotMissingValues) {
  Row a = nrange("F", "1", "5", "a");
  a.fuzz = "0.5";
  Row b = nrange("F", ".", ".A", "miss");
  Row c = nrange("F", "6", "10", "c");
  Row bad = nrange("G", "1", "2", "g");
  bad.fuzz = "-3"; // a negative fuzz widens nothing
  std::string text = catalog({a, b, c, bad});
  Read r(text, "F");
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(r.entry()->fuzz, 0.5);
  const auto *ra = static_cast<const numrange *>(r.range(0));
  EXPECT_EQ(key_of(ra->startfz), key_of(0.5));
  EXPECT_EQ(key_of(ra->endfz), key_of(5.5));
  const auto *rb = static_cast<const numrange *>(r.range(1));
  EXPECT_EQ(key_of(rb->startfz), key_of(valfmt::standard_missing()));
  EXPECT_EQ(key_of(rb->endfz), key_of(ZMISSV(2)));
  Read g(text, "G");
  ASSERT_EQ(g.rc, 0);
  const auto *rg = static_cast<const numrange *>(g.range(0));
  EXPECT_EQ(key_of(rg->startfz), key_of(1.0));
  EXPECT_EQ(key_of(rg->endfz), key_of(2.0));
}

TEST(UserfmtReader, KeysFollowNumericOrder) {
  const double values[] = {ZMISSV(0), ZMISSV(1), ZMISSV(2), ZMISSV(27)};
  for (int i = 0; i + 1 < 4; ++i)
    EXPECT_LT(key_of(values[i]), key_of(values[i + 1])) << i;
  // LOW lies above every missing value and below every number.
  EXPECT_LT(key_of(ZMISSV(27)), valfmt::kLowKey);
  const double numbers[] = {-HUGE_VAL, -1e300, -2.5, -1e-300, 0.0,
                            1e-300,    1.0,    2.5,  1e300,   HUGE_VAL};
  EXPECT_LT(valfmt::kLowKey, key_of(numbers[0]));
  for (int i = 0; i + 1 < 10; ++i)
    EXPECT_LT(key_of(numbers[i]), key_of(numbers[i + 1])) << numbers[i];
  EXPECT_EQ(key_of(-0.0), key_of(0.0));
  uint8_t k[8];
  valfmt::write_order_key(1.0,
                          k); // 0x3FF0... with the sign bit set, big-endian
  const uint8_t one[8] = {0xBF, 0xF0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(k, one, 8), 0);
  valfmt::write_order_key(-1.0, k); // all bits of 0xBFF0... inverted
  const uint8_t minus[8] = {0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(k, minus, 8), 0);
}

TEST(UserfmtReader, AtofReadsMissingValueNotation) {
  auto bits = [](double v) { return std::bit_cast<uint64_t>(v); };
  EXPECT_EQ(bits(valfmt::catalog_number(".B", 2)), 0xFFFFFC0000000000ull);
  EXPECT_EQ(bits(valfmt::catalog_number(".b", 2)), 0xFFFFFC0000000000ull);
  EXPECT_EQ(bits(valfmt::catalog_number(".", 1)), 0xFFFFFE0000000000ull);
  EXPECT_EQ(bits(valfmt::catalog_number(". ", 2)), 0xFFFFFE0000000000ull);
  EXPECT_EQ(bits(valfmt::catalog_number("._", 2)), 0xFFFFFF0000000000ull);
  EXPECT_EQ(bits(valfmt::catalog_number(".Z", 2)), 0xFFFFE40000000000ull);
  EXPECT_EQ(valfmt::catalog_number(".5", 2), 0.5);
  EXPECT_EQ(valfmt::catalog_number(" +12.25xyz", 10), 12.25);
  EXPECT_EQ(valfmt::catalog_number("-3e2", 4), -300.0);
  EXPECT_EQ(valfmt::catalog_number("abc", 3), 0.0);
  EXPECT_EQ(valfmt::catalog_number("", 0), 0.0);
  EXPECT_EQ(valfmt::catalog_number("1e999", 5), HUGE_VAL);
  EXPECT_EQ(valfmt::catalog_number("-1e999", 6), -HUGE_VAL);
  EXPECT_EQ(valfmt::catalog_number("1e-999", 6), 0.0);
  // The length bounds the text: no terminator is needed.
  EXPECT_EQ(valfmt::catalog_number("12345", 2), 12.0);
}

TEST(UserfmtReader, DecodesCharacterReferences) {
  Row r = nrange("REF", "1", "2",
                 "A&amp;B &lt;&gt;&apos;&quot; &#x41;&#x4a; &x; &#x4g;");
  std::string text = catalog({r});
  Read rd(text, "REF");
  ASSERT_EQ(rd.rc, 0);
  EXPECT_EQ(plain(static_cast<const numrange *>(rd.range(0))->label),
            u"A&B <>'\" AJ &x; &#x4g;");
}

TEST(UserfmtReader, LabelsAreDecodedFromUtf8) {
  Row r = nrange("U", "1", "2",
                 "Gr\xC3\xB6\xC3\x9F"
                 "e \xE2\x82\xAC");
  std::string text = catalog({r});
  Read rd(text, "U");
  ASSERT_EQ(rd.rc, 0);
  EXPECT_EQ(plain(static_cast<const numrange *>(rd.range(0))->label),
            u"Gr\u00F6\u00DFe \u20AC");
  EXPECT_EQ(rd.entry()->longest, 11); // bytes of the UTF-8 text
}

TEST(UserfmtReader, CharacterRangesKeepBothTexts) {
  Row a = crange("GRADE", "A", "C", "top");
  a.sexcl = "Y";
  Row b = crange("GRADE", "D  ", "F\xC3\xA9", "rest");
  std::string text = catalog({a, b});
  Read rd(text, "$GRADE");
  ASSERT_EQ(rd.rc, 0);
  EXPECT_EQ(rd.entry()->type, valfmt::kEntryCharacter);
  const auto *r0 = static_cast<const charrange *>(rd.range(0));
  EXPECT_EQ(r0->type, valfmt::kRangeChar);
  EXPECT_EQ(r0->flags, valfmt::kStartExcluded);
  EXPECT_EQ(r0->startlen, 1);
  EXPECT_EQ(r0->endlen, 1);
  EXPECT_EQ(valfmt::range_start(r0)[0], u'A');
  EXPECT_EQ(valfmt::range_end(r0)[0], u'C');
  const auto *r1 = static_cast<const charrange *>(rd.range(1));
  EXPECT_EQ(r1->startlen, 3); // trailing blanks are kept
  EXPECT_EQ(r1->endlen, 2);
  EXPECT_EQ(valfmt::range_end(r1)[1], 0xE9);
  EXPECT_EQ(plain(r1->label), u"rest");
}

TEST(UserfmtReader, PictureLabelRecord) {
  Row p = nrange("PIC", "0", "", "000,009.99");
  p.type = "P";
  p.hlo = "H";
  p.prefix = "$";
  p.fill = "*";
  p.mult = "100";
  p.language = "English";
  p.decsep = ".";
  p.dig3sep = ",";
  Row d = nrange("PIC", "", "0", "%Y-%0m-%0d");
  d.type = "P";
  d.hlo = "LR";
  d.datatype = "DATE";
  d.noedit = "1.7";
  std::string text = catalog({p, d});
  Read rd(text, "PIC");
  ASSERT_EQ(rd.rc, 0);
  EXPECT_EQ(rd.entry()->type, valfmt::kEntryPicture);
  EXPECT_EQ(rd.entry()->rflag, 1); // from the last row
  const auto *l = static_cast<const valfmt::picturelabel *>(
      static_cast<const numrange *>(rd.range(0))->label);
  EXPECT_EQ(l->type, valfmt::kLabelPicture);
  EXPECT_EQ(l->datatype, 0);
  EXPECT_EQ(l->fill, '*');
  EXPECT_EQ(l->decsep, '.');
  EXPECT_EQ(l->dig3sep, ',');
  EXPECT_EQ(l->piclen, 10);
  EXPECT_EQ(l->ndigits, 8);
  EXPECT_EQ(l->prefixoff, 10);
  EXPECT_EQ(l->prefixlen, 1);
  EXPECT_EQ(l->langoff, 11);
  EXPECT_EQ(l->langlen, 7);
  EXPECT_EQ(l->textlen, 19);
  EXPECT_EQ(valfmt::picture_mult(l), 100.0);
  EXPECT_EQ(l->multrev[0], 0x40); // 100.0 is 0x4059000000000000
  EXPECT_EQ(std::string(valfmt::picture_text(l), 19), "000,009.99$English*");
  const auto *dl = static_cast<const valfmt::picturelabel *>(
      static_cast<const numrange *>(rd.range(1))->label);
  EXPECT_EQ(dl->datatype, 1);
  EXPECT_EQ(dl->fill, ' ');
  EXPECT_EQ(dl->noedit, 1);
  // A picture format answers a numeric request only.
  Read c(text, "$PIC");
  EXPECT_EQ(c.rc, VF_CAT_NOT_FOUND);
}

TEST(UserfmtReader, PictureDatatypeMustBeKnown) {
  Row p = nrange("PIC", "0", "1", "%d");
  p.type = "P";
  for (const char *dt : {"DAY", "date", "DATETIMX", "TIMES"}) {
    p.datatype = dt;
    Read rd(catalog({p}), "PIC");
    EXPECT_EQ(rd.rc, VF_CAT_BAD_VALUE) << dt;
  }
  for (const char *dt : {"TIME", "DATETIME"}) {
    p.datatype = dt;
    Read rd(catalog({p}), "PIC");
    EXPECT_EQ(rd.rc, 0) << dt;
  }
}

TEST(UserfmtReader, KeepsOnlyRowsOfTheRequestedFormat) {
  Row informat = nrange("X", "1", "2", "informat");
  informat.type = "I";
  Row odd = nrange("X", "7", "8", "odd"); // TYPE of another length: skipped
  odd.type = "";
  std::vector<Row> rows = {nrange("A", "1", "2", "a"),
                           crange("X", "a", "b", "char-ab"),
                           crange("X", "c", "d", "char-cd"),
                           informat,
                           nrange("X", "1", "2", "one"),
                           nrange("X", "3", "4", "three"),
                           odd,
                           nrange("X", "5", "6", "five"),
                           nrange("Y", "1", "9", "y"),
                           crange("Z", "1", "9", "z")};
  const std::string text = catalog(rows);
  {
    Read r(text, "X");
    ASSERT_EQ(r.rc, 0);
    EXPECT_EQ(r.entry()->type, valfmt::kEntryNumeric);
    ASSERT_EQ(r.entry()->nranges, 3);
    EXPECT_EQ(plain(static_cast<const numrange *>(r.range(0))->label), u"one");
    EXPECT_EQ(plain(static_cast<const numrange *>(r.range(2))->label), u"five");
  }
  {
    Read r(text, "$X");
    ASSERT_EQ(r.rc, 0);
    EXPECT_EQ(r.entry()->type, valfmt::kEntryCharacter);
    ASSERT_EQ(r.entry()->nranges, 2);
    EXPECT_EQ(plain(static_cast<const charrange *>(r.range(1))->label),
              u"char-cd");
  }
  EXPECT_EQ(Read(text, "@X").rc, VF_CAT_NOT_FOUND);
  EXPECT_EQ(Read(text, "@$X").rc, VF_CAT_NOT_FOUND);
  EXPECT_EQ(Read(text, "Z").rc, VF_CAT_NOT_FOUND);
  EXPECT_EQ(Read(text, "$Z").rc, 0);
  EXPECT_EQ(Read(text, "x").rc, VF_CAT_NOT_FOUND); // names are exact
  EXPECT_EQ(Read(text, "XX").rc, VF_CAT_NOT_FOUND);
  EXPECT_EQ(Read(text, "$").rc, VF_CAT_NOT_FOUND);
  Read y(text, "Y");
  ASSERT_EQ(y.rc, 0);
  EXPECT_EQ(y.entry()->nranges, 1);
}

TEST(UserfmtReader, StopsReadingOnceTheFormatIsBehind) {
  // The text after Y's rows is cut: a request for X stops at Y and never
  // sees the cut, a request for Y reaches it.
  std::string text = header() + row_xml(nrange("X", "1", "2", "x")) +
                     row_xml(nrange("Y", "1", "2", "y")) + "<ROW>\n";
  EXPECT_EQ(Read(text, "X").rc, 0);
  EXPECT_EQ(Read(text, "Y").rc, VF_CAT_BAD_LINE);
}

TEST(UserfmtReader, SAndRFlagsComeFromTheLastRow) {
  Row a = nrange("S", "1", "2", "a");
  Row b = nrange("S", "3", "4", "b");
  b.hlo = "S";
  Read r(catalog({a, b}), "S");
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(r.entry()->sflag, 1);
  EXPECT_EQ(r.entry()->rflag, 0);
  a.hlo = "SR";
  b.hlo = "";
  Read r2(catalog({a, b}), "S");
  ASSERT_EQ(r2.rc, 0);
  EXPECT_EQ(r2.entry()->sflag, 0);
  EXPECT_EQ(r2.entry()->rflag, 0);
}

TEST(UserfmtReader, MultilabelRowsSearchInFileOrder) {
  Row a = nrange("ML", "1", "10", "wide");
  a.hlo = "M";
  Row b = nrange("ML", "3", "4", "narrow");
  b.hlo = "M";
  Read r(catalog({a, b}), "ML");
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(r.entry()->nranges, 2);
  EXPECT_EQ(r.entry()->sflag, 1);
  EXPECT_EQ(r.entry()->work, 1);
}

TEST(UserfmtReader, FormatLabelRowsAreRefused) {
  Row a = nrange("FL", "1", "2", "[DATE9.]");
  a.hlo = "F";
  EXPECT_EQ(Read(catalog({a}), "FL").rc, VF_CAT_REFUSED);
}

TEST(UserfmtReader, EmptyElementsAndAbsentColumns) {
  // "<START/>" is ignored, "<END />" stores an empty text, and a column
  // missing from a row does not keep the previous row's value.
  std::string rows =
      "<ROW>\n<FMTNAME>E</FMTNAME>\n<START>1</START>\n<END>2</END>\n"
      "<LABEL>first</LABEL>\n<TYPE>N</TYPE>\n<HLO>H</HLO>\n</ROW>\n"
      "<ROW>\n<FMTNAME>E</FMTNAME>\n<START/>\n<END />\n<TYPE>N</TYPE>\n"
      "</ROW>\n";
  Read r(header() + rows + footer(), "E");
  ASSERT_EQ(r.rc, 0);
  ASSERT_EQ(r.entry()->nranges, 2);
  const auto *r1 = static_cast<const numrange *>(r.range(1));
  EXPECT_EQ(r1->flags, 0);
  EXPECT_EQ(key_of(r1->start), key_of(0.0));
  EXPECT_EQ(plain(r1->label), u"");
}

// Each result code from a catalogue text.
struct Bad {
  const char *what;
  std::string text;
  int32_t rc;
};

std::string replace(std::string s, const std::string &from,
                    const std::string &to) {
  const size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

TEST(UserfmtReader, ResultCodesFromMalformedCatalogues) {
  const std::string good = catalog(agegrp());
  const std::string row = row_xml(nrange("AGEGRP", "1", "2", "x"));
  const std::string head = header();
  const std::vector<Bad> cases = {
      {"nested LIBRARY", replace(good, "<HEADER>", "<LIBRARY type=\"EXPORT\">"),
       VF_CAT_OUT_OF_PLACE},
      {"TABLE outside LIBRARY",
       replace(good, "<LIBRARY type=\"EXPORT\" version=\"1\">", ""),
       VF_CAT_OUT_OF_PLACE},
      {"TYPE outside COLUMN",
       replace(good, "<TABLE-HEADER>", "<TABLE-HEADER>\n<TYPE>numeric</TYPE>"),
       VF_CAT_OUT_OF_PLACE},
      {"COLUMN end without COLUMN",
       replace(good, "<TABLE-HEADER>", "<TABLE-HEADER>\n</COLUMN>"),
       VF_CAT_OUT_OF_PLACE},
      {"ROW end outside a row",
       replace(good, "</TABLE-HEADER>", "</TABLE-HEADER>\n</ROW>"),
       VF_CAT_OUT_OF_PLACE},
      {"nested TABLE", replace(good, "<TABLE-HEADER>", "<TABLE name=\"T2\">"),
       VF_CAT_OUT_OF_PLACE},
      {"column name too long",
       replace(good, "name=\"FUZZ\"", "name=\"" + std::string(33, 'F') + "\""),
       VF_CAT_TOO_LONG},
      {"table label too long",
       replace(good, "label=\"Format control\"",
               "label=\"" + std::string(208, 'L') + "\""),
       VF_CAT_TOO_LONG},
      {"attribute name too long",
       replace(good, "number=\"1\"", std::string(41, 'a') + "=\"1\""),
       VF_CAT_TOO_LONG},
      {"LIBRARY without type",
       replace(good, "type=\"EXPORT\"", "kind=\"EXPORT\""),
       VF_CAT_NO_ATTRIBUTE},
      {"TABLE without name", replace(good, "name=\"CNTLOUT\"", ""),
       VF_CAT_NO_ATTRIBUTE},
      {"COLUMN without order", replace(good, "order=\"3\"", ""),
       VF_CAT_NO_ATTRIBUTE},
      {"Observations without length",
       replace(good, "<Observations length=", "<Observations size="),
       VF_CAT_NO_ATTRIBUTE},
      {"SortAssertion without sorted",
       replace(good, "sorted=\"No\"", "order=\"No\""), VF_CAT_NO_ATTRIBUTE},
      {"Variables without number",
       replace(good, "<Variables number=", "<Variables count="),
       VF_CAT_NO_ATTRIBUTE},
      {"LIBRARY not EXPORT", replace(good, "\"EXPORT\"", "\"EXPORTS\""),
       VF_CAT_NOT_EXPORT},
      {"column beyond the record",
       replace(good, "<Offset>227</Offset>", "<Offset>228</Offset>"),
       VF_CAT_BAD_LAYOUT},
      {"negative offset",
       replace(good, "<Offset>0</Offset>", "<Offset>-1</Offset>"),
       VF_CAT_BAD_LAYOUT},
      {"huge LENGTH",
       replace(good, "<LENGTH>80</LENGTH>",
               "<LENGTH>99999999999999999999</LENGTH>"),
       VF_CAT_BAD_LAYOUT},
      {"huge record length",
       replace(good, "length=\"235\"", "length=\"4000000000\""),
       VF_CAT_BAD_LAYOUT},
      {"record length zero", replace(good, "length=\"235\"", "length=\"0\""),
       VF_CAT_BAD_LAYOUT},
      {"column without TYPE",
       replace(good, "<TYPE>numeric</TYPE>\n<DATATYPE>float",
               "<DATATYPE>float"),
       VF_CAT_BAD_LAYOUT},
      {"line over 255 bytes",
       replace(good, "<Provider>valfmt tests</Provider>",
               "<Provider>" + std::string(250, 'p') + "</Provider>"),
       VF_CAT_BAD_LINE},
      {"cut before the LIBRARY end", good.substr(0, good.size() - 11),
       VF_CAT_BAD_LINE},
      {"unterminated quote", replace(good, "sorted=\"No\"", "sorted=\"No"),
       VF_CAT_BAD_LINE},
      {"empty TYPE", replace(good, "<TYPE>numeric</TYPE>", "<TYPE></TYPE>"),
       VF_CAT_EMPTY_TEXT},
      {"empty DATATYPE", replace(good, "<DATATYPE>float", "<DATATYPE>"),
       VF_CAT_EMPTY_TEXT},
      {"empty LENGTH",
       replace(good, "<LENGTH>32</LENGTH>", "<LENGTH></LENGTH>"),
       VF_CAT_EMPTY_TEXT},
      {"empty Offset", replace(good, "<Offset>0</Offset>", "<Offset />"),
       VF_CAT_EMPTY_TEXT},
      {"unknown TYPE", replace(good, ">numeric<", ">numerik<"),
       VF_CAT_BAD_VALUE},
      {"unknown DATATYPE", replace(good, ">float<", ">blob<"),
       VF_CAT_BAD_VALUE},
      {"compressed", replace(good, "compressed=\"No\"", "compressed=\"Yes\""),
       VF_CAT_COMPRESSED},
      {"sorted", replace(good, "sorted=\"No\"", "sorted=\"Yes\""),
       VF_CAT_SORTED},
      {"column count",
       replace(good, "<Variables number=\"21\"", "<Variables number=\"22\""),
       VF_CAT_COLUMN_COUNT},
      {"ROW without TABLE",
       replace(good, "<TABLE name=\"CNTLOUT\" label=\"Format control\">",
               "</TABLE>"),
       VF_CAT_NO_TABLE},
      {"ROW after the table", replace(good, "<ROW>", "</TABLE>\n<ROW>"),
       VF_CAT_NO_TABLE},
      {"undeclared column in a kept row",
       replace(good, "<FUZZ>0</FUZZ>", "<FUZZY>0</FUZZY>"), VF_CAT_NO_COLUMN},
      {"required column not declared",
       replace(replace(good, "name=\"HLO\"", "name=\"HLOX\""), "<HLO>L</HLO>",
               "<HLOX>L</HLOX>"),
       VF_CAT_NO_COLUMN},
      {"value longer than its column",
       replace(good, "<LABEL>child</LABEL>",
               "<LABEL>" + std::string(81, 'c') + "</LABEL>"),
       VF_CAT_VALUE_LONG},
      {"date numeric column",
       replace(good,
               "<DATATYPE>float</DATATYPE>\n<LENGTH>8</LENGTH>\n<Offset>144",
               "<DATATYPE>date</DATATYPE>\n<LENGTH>8</LENGTH>\n<Offset>144"),
       VF_CAT_REFUSED},
      {"empty text", "", VF_CAT_NOT_OPENED},
      {"only blanks", "  \n \r\n", VF_CAT_NOT_OPENED},
      {"no element", "plain text without markup", VF_CAT_NOT_OPENED},
      {"header only", head + footer(), VF_CAT_NOT_FOUND},
  };
  for (const Bad &b : cases) {
    Read r(b.text, "AGEGRP");
    EXPECT_EQ(r.rc, b.rc) << b.what;
  }
  // The unchanged catalogue is fine.
  EXPECT_EQ(Read(good, "AGEGRP").rc, 0);
}

TEST(UserfmtReader, UnknownTypeTextIsPrintedWithItsLength) {
  const std::string good = catalog(agegrp());
  testing::internal::CaptureStdout();
  Read r(replace(good, ">numeric<", ">numer<"), "AGEGRP");
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(r.rc, VF_CAT_BAD_VALUE);
  EXPECT_EQ(printed, "numer\n");
}

TEST(UserfmtReader, InMemoryUnitsParseLikeLines) {
  const std::string text = catalog(agegrp());
  std::string oneline;
  for (char c : text)
    if (c != '\n') oneline += c;
  Read a(text, "AGEGRP");
  Read b(oneline, "AGEGRP");
  ASSERT_EQ(a.rc, 0);
  ASSERT_EQ(b.rc, 0);
  EXPECT_EQ(a.entry()->nranges, b.entry()->nranges);
  for (int i = 0; i < 4; ++i) {
    const auto *x = static_cast<const numrange *>(a.range(i));
    const auto *y = static_cast<const numrange *>(b.range(i));
    EXPECT_EQ(std::memcmp(x, y, 2), 0);
    EXPECT_EQ(std::memcmp(x->start, y->start, 32), 0);
    EXPECT_EQ(plain(x->label), plain(y->label));
  }
  // CRLF line ends and indentation parse the same too.
  std::string crlf;
  for (char c : text) {
    if (c == '\n')
      crlf += "\r\n   ";
    else
      crlf += c;
  }
  Read c(crlf, "AGEGRP");
  ASSERT_EQ(c.rc, 0);
  EXPECT_EQ(c.entry()->nranges, 4);
}

TEST(UserfmtReader, NegativeOrMissingInMemoryText) {
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = nullptr;
  mem.length = 10;
  fmtcontext ctx{};
  ctx.inmemory = &mem;
  void *head = nullptr;
  void **tail = &head;
  EXPECT_EQ(xfrdfmt(nullptr, "A", 1, &ctx, &tail), VF_CAT_NOT_OPENED);
  mem.text = "<x>";
  mem.length = -5;
  EXPECT_EQ(xfrdfmt(nullptr, "A", 1, &ctx, &tail), VF_CAT_NOT_OPENED);
  EXPECT_EQ(head, nullptr);
}

// Runs `fn` with a fresh temporary directory as the working directory.
template <class Fn> void in_temp_dir(Fn fn) {
  char tmpl[] = "/tmp/valfmt_userfmt_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(tmpl), 0);
  fn();
  std::remove("cntlout.xml");
  ASSERT_EQ(chdir(old), 0);
  rmdir(tmpl);
}

int32_t read_file(const char *name, fmtcontext &ctx, void *&head) {
  void **tail = &head;
  return xfrdfmt(nullptr, name, static_cast<int32_t>(std::strlen(name)), &ctx,
                 &tail);
}

void free_list(void *head) {
  while (head) {
    void *next = *static_cast<void **>(head);
    std::free(head);
    head = next;
  }
}

TEST(UserfmtReader, ReadsCntloutXmlFromTheWorkingDirectory) {
  in_temp_dir([] {
    fmtcontext ctx{};
    void *head = nullptr;
    testing::internal::CaptureStdout();
    EXPECT_EQ(read_file("AGEGRP", ctx, head), VF_CAT_NOT_OPENED);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Open failed\n");

    std::ofstream(("cntlout.xml")) << catalog(agegrp());
    head = nullptr;
    ASSERT_EQ(read_file("AGEGRP", ctx, head), 0);
    EXPECT_EQ(static_cast<const fmtentry *>(ctx.entry)->nranges, 4);
    free_list(head);

    // A line of exactly 255 bytes is fine, one of 256 is not.
    std::string text = catalog(agegrp());
    const std::string pad = "<Provider>valfmt tests</Provider>";
    std::string line255 =
        "<Provider>" + std::string(255 - 21, 'p') + "</Provider>";
    std::ofstream("cntlout.xml") << replace(text, pad, line255);
    head = nullptr;
    EXPECT_EQ(read_file("AGEGRP", ctx, head), 0);
    free_list(head);
    std::string line256 =
        "<Provider>" + std::string(256 - 21, 'p') + "</Provider>";
    std::ofstream("cntlout.xml") << replace(text, pad, line256);
    head = nullptr;
    EXPECT_EQ(read_file("AGEGRP", ctx, head), VF_CAT_BAD_LINE);
    free_list(head);

    std::ofstream("cntlout.xml") << "";
    head = nullptr;
    EXPECT_EQ(read_file("AGEGRP", ctx, head), VF_CAT_NOT_OPENED);
    free_list(head);
  });
}

TEST(UserfmtReader, MemoryResidentCatalogue) {
  // head, numeric AGE (2 ranges), character AGE (1 range), end.
  fmtentry arr[4]{};
  auto name = [](fmtentry &e, const char *n, int16_t type, int64_t nr) {
    std::memset(e.shortname, ' ', 8);
    std::memset(e.fullname, ' ', 32);
    std::memcpy(e.shortname, n, std::min<size_t>(8, std::strlen(n)));
    std::memcpy(e.fullname, n, std::strlen(n));
    e.type = type;
    e.nranges = nr;
  };
  name(arr[0], "00000000", 0, 0);
  name(arr[1], "AGE", valfmt::kEntryNumeric, 2);
  name(arr[2], "AGE", valfmt::kEntryCharacter, 1);
  name(arr[3], "", 0, 0);
  void *ranges[3] = {&arr[0], &arr[1], &arr[2]}; // never dereferenced here
  fmtcontext ctx{};
  auto read = [&](const char *n) {
    ctx.entry = arr;
    ctx.ranges = ranges;
    ctx.catkind = VF_CATALOG_RESIDENT;
    void *head = nullptr;
    void **tail = &head;
    const int32_t rc =
        xfrdfmt(nullptr, n, static_cast<int32_t>(std::strlen(n)), &ctx, &tail);
    EXPECT_EQ(ctx.catkind, 0);
    EXPECT_EQ(head, nullptr);
    return rc;
  };
  ASSERT_EQ(read("AGE"), 0);
  EXPECT_EQ(ctx.entry, &arr[1]);
  EXPECT_EQ(ctx.ranges, &ranges[0]);
  ASSERT_EQ(read("$AGE"), 0);
  EXPECT_EQ(ctx.entry, &arr[2]);
  EXPECT_EQ(ctx.ranges, &ranges[2]);
  EXPECT_EQ(read("AG"), 1);
  EXPECT_EQ(read("AGES"), 1);
  EXPECT_EQ(read("@AGE"), VF_CAT_NOT_FOUND);
  // Kinds 3 and 4 have no reader.
  ctx.catkind = 3;
  void *head = nullptr;
  void **tail = &head;
  EXPECT_EQ(xfrdfmt(nullptr, "AGE", 3, &ctx, &tail), VF_CAT_NOT_FOUND);
  ctx.catkind = 4;
  EXPECT_EQ(xfrdfmt(nullptr, "AGE", 3, &ctx, &tail), VF_CAT_NOT_FOUND);
}

TEST(UserfmtReader, ResolutionBuildsUserHandles) {
  std::vector<Row> rows = agegrp();
  rows.push_back(crange("GRADE", "A", "A", "excellent"));
  Row s = nrange("LIN", "1", "2", "x");
  s.hlo = "S";
  rows.push_back(s);
  rows.back().min = "3";
  rows.back().max = "9";
  rows.back().def = "5";
  const std::string text = catalog(rows);
  {
    Handle h(text, "AGEGRP");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(h.user()->kind, '-');
    EXPECT_EQ(h.user()->evaluator, &yfpfnfm);
    EXPECT_EQ(h.attrs.maxw, 40);
    EXPECT_NE(h.user()->blockhead, nullptr);
  }
  {
    Handle h(text, "$GRADE");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(h.user()->kind, '+');
    EXPECT_EQ(h.user()->evaluator, &yfpfcfm);
    EXPECT_EQ(std::string(h.user()->name, 6), "$GRADE");
  }
  {
    Handle h(text, "LIN");
    ASSERT_EQ(h.rc, 0);
    EXPECT_EQ(h.user()->evaluator, &yfpfnfn);
    EXPECT_EQ(h.attrs.minw, 3);
    EXPECT_EQ(h.attrs.maxw, 9);
    EXPECT_EQ(h.attrs.defw, 5);
  }
  EXPECT_EQ(Handle(text, "NOPE").rc, VF_NOT_FOUND);
  EXPECT_EQ(Handle(text + "<", "AGEGRP").rc, 0);
  EXPECT_EQ(Handle(text.substr(0, 300), "AGEGRP").rc, VF_NOT_FOUND);
}

// --- untrusted input ---------------------------------------------------------

bool valid_code(int32_t rc) {
  return rc == 0 || (rc >= -20 && rc <= -1);
}

// Reads `name` from `text` with the reader's diagnostics kept off the test
// output; a found entry must be usable.
int32_t quiet_read(const std::string &text, const char *name) {
  testing::internal::CaptureStdout();
  int32_t rc;
  bool usable = true;
  {
    Read r(text, name);
    rc = r.rc;
    if (rc == 0)
      usable = r.entry() != nullptr && r.entry()->nranges >= 0 &&
               (r.entry()->nranges == 0 || r.ctx.ranges != nullptr);
  }
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(usable);
  return rc;
}

TEST(UserfmtReader, MutatedCataloguesGiveResultCodes) {
  std::vector<Row> rows = agegrp();
  Row p = nrange("PIC", "0", "", "009.99");
  p.type = "P";
  p.hlo = "H";
  rows.push_back(p);
  rows.push_back(crange("GRADE", "A", "C", "abc"));
  const std::string base = catalog(rows);
  std::mt19937 rng(12345);
  const char *names[] = {"AGEGRP", "$GRADE", "PIC"};
  const char alphabet[] = "<>/=\"' &#;xX0123456789.-LHOMSRFNCP\n\r\t\xC3\xFF";
  for (int iter = 0; iter < 3000; ++iter) {
    std::string t = base;
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int k = 0; k < edits; ++k) {
      const size_t at = rng() % (t.size() + 1);
      switch (rng() % 4) {
      case 0:
        if (at < t.size()) t[at] = alphabet[rng() % (sizeof alphabet - 1)];
        break;
      case 1:
        t.insert(at, 1, alphabet[rng() % (sizeof alphabet - 1)]);
        break;
      case 2:
        if (at < t.size()) t.erase(at, 1 + rng() % 40);
        break;
      default:
        t = t.substr(0, at); // truncation
        break;
      }
    }
    for (const char *n : names) ASSERT_TRUE(valid_code(quiet_read(t, n)));
  }
}

TEST(UserfmtReader, TruncationsAndGarbageGiveResultCodes) {
  const std::string base = catalog(agegrp());
  // Every cut before the final "LIBRARY" ends loses part of its end tag.
  for (size_t n = 0; n + 2 < base.size(); n += 3) {
    const int32_t rc = quiet_read(base.substr(0, n), "AGEGRP");
    ASSERT_TRUE(valid_code(rc)) << n;
    ASSERT_NE(rc, 0) << n; // never a format from a cut catalogue
  }
  std::mt19937 rng(99);
  for (int iter = 0; iter < 200; ++iter) {
    std::string g(1 + rng() % 2000, '\0');
    for (char &c : g) c = static_cast<char>(rng());
    ASSERT_TRUE(valid_code(quiet_read(g, "AGEGRP")));
    ASSERT_TRUE(valid_code(quiet_read(header() + g + footer(), "AGEGRP")));
  }
}

} // namespace
