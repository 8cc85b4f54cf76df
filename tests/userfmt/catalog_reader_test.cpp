// The format catalogue reader: entries built from rows, row filtering, and
// result codes for malformed and hostile catalogues.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

#include "catalog_builder.h"
#include "core/missing.h"
#include "userfmt/catalog.h"

using namespace uftest;
using valfmt::fmtentry;

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
  Row low = nrange("AGEGRP", "", "13", "child", "L");
  low.eexcl = "Y";
  Row teen = nrange("AGEGRP", "13", "20", "teenager");
  teen.eexcl = "Y";
  return {low, teen, nrange("AGEGRP", "20", "65", "adult"),
          nrange("AGEGRP", "65", "", "senior", "H"),
          nrange("AGEGRP", "", "", "unknown", "O")};
}

std::string replace(std::string s, const std::string &from,
                    const std::string &to) {
  const size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

TEST(UserfmtReader, BuildsEntryRangesAndLabels) {
  Read r(catalog(agegrp()), "AGEGRP");
  ASSERT_EQ(r.rc, 0);
  const fmtentry *e = r.entry();
  EXPECT_EQ(std::string(e->shortname, 8), "AGEGRP  ");
  EXPECT_EQ(e->nranges, 4);
  EXPECT_EQ(e->nlabels, 5);
  EXPECT_EQ(e->longest, 8); // "teenager"
  EXPECT_EQ(e->hasother, 1);
  EXPECT_EQ(plain(e->other), u"unknown");
  EXPECT_EQ(r.num(0)->flags, valfmt::kLow | valfmt::kEndExcluded);
  // LOW starts just above the underscore missing value, HIGH ends at the
  // top of the key space.
  EXPECT_EQ(key_of(r.num(0)->start), 0x0001000000000000ull);
  EXPECT_EQ(key_of(r.num(0)->startfz), 0x0001000000000000ull);
  EXPECT_EQ(key_of(r.num(1)->start), key_of(13.0));
  EXPECT_EQ(r.num(3)->flags, valfmt::kHigh);
  EXPECT_EQ(key_of(r.num(3)->end), ~0ull);
  EXPECT_EQ(key_of(r.num(3)->endfz), ~0ull);
}

TEST(UserfmtReader, KeysFollowNumericOrderAndFuzzSparesMissingValues) {
  const double order[] = {ZMISSV(0), ZMISSV(1), ZMISSV(2), ZMISSV(27)};
  for (int i = 0; i + 1 < 4; ++i)
    EXPECT_LT(key_of(order[i]), key_of(order[i + 1])) << i;
  // LOW lies above every missing value and below every number.
  EXPECT_LT(key_of(ZMISSV(27)), valfmt::kLowKey);
  const double numbers[] = {-HUGE_VAL, -1e300, -2.5, -1e-300, 0.0,
                            1e-300,    1.0,    2.5,  1e300,   HUGE_VAL};
  EXPECT_LT(key_of(ZMISSV(27)), key_of(numbers[0]));
  for (int i = 0; i + 1 < 10; ++i)
    EXPECT_LT(key_of(numbers[i]), key_of(numbers[i + 1])) << numbers[i];
  EXPECT_EQ(key_of(-0.0), key_of(0.0));

  Row a = nrange("F", "1", "5", "a");
  a.fuzz = "0.5";
  Row bad = nrange("G", "1", "2", "g");
  bad.fuzz = "-3"; // a negative fuzz widens nothing
  const std::string text = catalog(
      {a, nrange("F", ".", ".A", "miss"), nrange("F", "6", "9", "c"), bad});
  Read r(text, "F");
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(key_of(r.num(0)->startfz), key_of(0.5));
  EXPECT_EQ(key_of(r.num(0)->endfz), key_of(5.5));
  EXPECT_EQ(key_of(r.num(1)->startfz), key_of(valfmt::standard_missing()));
  EXPECT_EQ(key_of(r.num(1)->endfz), key_of(ZMISSV(2)));
  Read g(text, "G");
  ASSERT_EQ(g.rc, 0);
  EXPECT_EQ(key_of(g.num(0)->startfz), key_of(1.0));
  EXPECT_EQ(key_of(g.num(0)->endfz), key_of(2.0));
}

TEST(UserfmtReader, CatalogueNumbers) {
  auto bits = [](const char *t, size_t n) {
    return std::bit_cast<uint64_t>(
        valfmt::catalog_number(t, static_cast<int32_t>(n)));
  };
  EXPECT_EQ(bits(".B", 2), 0xFFFFFC0000000000ull);
  EXPECT_EQ(bits(".", 1), 0xFFFFFE0000000000ull);
  EXPECT_EQ(bits(". ", 2), 0xFFFFFE0000000000ull);
  EXPECT_EQ(bits("._", 2), 0xFFFFFF0000000000ull);
  EXPECT_EQ(bits(".Z", 2), 0xFFFFE40000000000ull);
  const struct {
    const char *text;
    double value;
  } cases[] = {{" +12.25xyz", 12.25},
               {"-3e2", -300},
               {"..", 0},
               {"+-1", 0},
               {"1e999", HUGE_VAL}};
  for (const auto &c : cases)
    EXPECT_EQ(valfmt::catalog_number(c.text,
                                     static_cast<int32_t>(std::strlen(c.text))),
              c.value)
        << c.text;
  // The length bounds the text: no terminator is needed.
  EXPECT_EQ(valfmt::catalog_number("12345", 2), 12.0);
}

TEST(UserfmtReader, LabelTextsAreDecoded) {
  Row refs = nrange("REF", "1", "2",
                    "A&amp;B &lt;&gt;&apos;&quot; &#x41;&#x4a; &x; &#x4g;");
  Row utf8 = nrange("REF", "3", "4",
                    "Gr\xC3\xB6\xC3\x9F"
                    "e \xE2\x82\xAC");
  Read r(catalog({refs, utf8}), "REF");
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(plain(r.num(0)->label), u"A&B <>'\" AJ &x; &#x4g;");
  EXPECT_EQ(plain(r.num(1)->label), u"Gr\u00F6\u00DFe \u20AC");
  EXPECT_EQ(r.entry()->longest, 22); // bytes after the references
}

TEST(UserfmtReader, CharacterRangesKeepBothTexts) {
  Row a = crange("GRADE", "A", "C", "top");
  a.sexcl = "Y";
  Read r(catalog({a, crange("GRADE", "D  ", "F\xC3\xA9", "rest")}), "$GRADE");
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(r.chr(0)->flags, valfmt::kStartExcluded);
  EXPECT_EQ(r.chr(1)->startlen, 3); // trailing blanks are kept
  EXPECT_EQ(r.chr(1)->endlen, 2);
  EXPECT_EQ(valfmt::range_end(r.chr(1))[1], 0xE9);
  EXPECT_EQ(plain(r.chr(1)->label), u"rest");
}

TEST(UserfmtReader, PictureLabelRecord) {
  Row p = picture("PIC", "0", "", "000,009.99", "H");
  p.prefix = "$";
  p.fill = "*";
  p.mult = "100";
  p.language = "English";
  Row d = picture("PIC", "", "0", "%Y-%0m-%0d", "LR");
  d.datatype = "DATE";
  d.noedit = "1.7";
  const std::string text = catalog({p, d});
  Read r(text, "PIC");
  ASSERT_EQ(r.rc, 0);
  EXPECT_EQ(r.entry()->rflag, 1); // from the last row
  const auto *l = static_cast<const valfmt::picturelabel *>(r.num(0)->label);
  EXPECT_EQ(valfmt::picture_mult(l), 100.0);
  EXPECT_EQ(std::string(valfmt::picture_text(l), 19), "000,009.99$English*");
  const auto *dl = static_cast<const valfmt::picturelabel *>(r.num(1)->label);
  EXPECT_EQ(dl->datatype, 1);
  EXPECT_EQ(dl->noedit, 1);
  EXPECT_EQ(Read(text, "$PIC").rc, VF_CAT_NOT_FOUND); // numeric requests only
  for (const char *dt : {"DAY", "DATETIMX"}) {
    d.datatype = dt;
    EXPECT_EQ(Read(catalog({d}), "PIC").rc, VF_CAT_BAD_VALUE) << dt;
  }
}

TEST(UserfmtReader, KeepsOnlyRowsOfTheRequestedFormat) {
  Row informat = nrange("X", "1", "2", "informat");
  informat.type = "I";
  Row odd = nrange("X", "7", "8", "odd"); // TYPE of another length: skipped
  odd.type = "";
  const std::string text = catalog(
      {nrange("A", "1", "2", "a"), crange("X", "a", "b", "char-ab"),
       crange("X", "c", "d", "char-cd"), informat, nrange("X", "1", "2", "one"),
       nrange("X", "3", "4", "three"), odd, nrange("X", "5", "6", "five"),
       nrange("Y", "1", "9", "y"), crange("Z", "1", "9", "z")});
  Read x(text, "X");
  ASSERT_EQ(x.rc, 0);
  ASSERT_EQ(x.entry()->nranges, 3);
  EXPECT_EQ(plain(x.num(0)->label), u"one");
  EXPECT_EQ(plain(x.num(2)->label), u"five");
  Read cx(text, "$X");
  ASSERT_EQ(cx.rc, 0);
  ASSERT_EQ(cx.entry()->nranges, 2);
  EXPECT_EQ(plain(cx.chr(1)->label), u"char-cd");
  for (const char *name : {"@X", "@$X", "Z", "x", "XX", "$", ""})
    EXPECT_EQ(Read(text, name).rc, VF_CAT_NOT_FOUND) << name;
  EXPECT_EQ(Read(text, "$Z").rc, 0);
  EXPECT_EQ(Read(text, std::string(33, 'X')).rc, VF_CAT_NOT_FOUND);
}

TEST(UserfmtReader, StopsReadingOnceTheFormatIsBehind) {
  // The text after Y's rows is cut: a request for X stops at Y and never
  // sees the cut, a request for Y reaches it.
  std::string text = header() + row_xml(nrange("X", "1", "2", "x")) +
                     row_xml(nrange("Y", "1", "2", "y")) + "<ROW>\n";
  EXPECT_EQ(Read(text, "X").rc, 0);
  EXPECT_EQ(Read(text, "Y").rc, VF_CAT_BAD_LINE);
}

TEST(UserfmtReader, HloFlagsOfTheLastRowAndMultilabels) {
  Read s(
      catalog({nrange("S", "1", "2", "a", "SR"), nrange("S", "3", "4", "b")}),
      "S");
  EXPECT_EQ(s.entry()->sflag + s.entry()->rflag, 0);
  Read m(catalog({nrange("M", "1", "9", "a", "M"), nrange("M", "3", "4", "b")}),
         "M");
  EXPECT_EQ(m.entry()->sflag, 1); // any multilabel row: file order
}

TEST(UserfmtReader, EmptyElementsAndAbsentColumns) {
  // "<START/>" is ignored, "<END />" stores an empty text, and a column
  // missing from a row does not keep the previous row's value.
  std::string rows =
      "<ROW>\n<FMTNAME>E</FMTNAME>\n<START>1</START>\n<END>2</END>\n"
      "<LABEL>first</LABEL>\n<TYPE>N</TYPE>\n<HLO>H</HLO>\n</ROW>\n"
      "<ROW>\n<FMTNAME>E</FMTNAME>\n<START/>\n<END />\n<TYPE>N</TYPE>\n"
      "</ROW>\n";
  Read r(header() + rows + kFooter, "E");
  ASSERT_EQ(r.rc, 0);
  ASSERT_EQ(r.entry()->nranges, 2);
  EXPECT_EQ(r.num(1)->flags, 0);
  EXPECT_EQ(key_of(r.num(1)->start), key_of(0.0));
  EXPECT_EQ(plain(r.num(1)->label), u"");
}

TEST(UserfmtReader, ResultCodesFromMalformedCatalogues) {
  const std::string good = catalog(agegrp());
  const std::string l250 = "<Provider>" + std::string(250, 'p');
  // Each case replaces the first `from` of the good catalogue by `to`.
  const struct {
    std::string from, to;
    int32_t rc;
  } cases[] = {
      {"<HEADER>", "<LIBRARY type=\"EXPORT\">", VF_CAT_OUT_OF_PLACE},
      {"<TABLE-HEADER>", "<TYPE>numeric</TYPE>", VF_CAT_OUT_OF_PLACE},
      {"name=\"FUZZ\"", "name=\"" + std::string(33, 'F') + "\"",
       VF_CAT_TOO_LONG},
      {"number=\"1\"", std::string(41, 'a') + "=\"1\"", VF_CAT_TOO_LONG},
      {"type=\"EXPORT\"", "kind=\"EXPORT\"", VF_CAT_NO_ATTRIBUTE},
      {"\"EXPORT\"", "\"EXPORTS\"", VF_CAT_NOT_EXPORT},
      {"<Offset>227<", "<Offset>228<", VF_CAT_BAD_LAYOUT}, // past the record
      {"<LENGTH>80<", "<LENGTH>99999999999999999999<", VF_CAT_BAD_LAYOUT},
      {"length=\"235\"", "length=\"4000000000\"", VF_CAT_BAD_LAYOUT},
      {"<TYPE>numeric</TYPE>\n<DATATYPE>float", "<DATATYPE>float",
       VF_CAT_BAD_LAYOUT},
      {"<Provider>valfmt tests", l250, VF_CAT_BAD_LINE},
      {"</LIBRARY>", "", VF_CAT_BAD_LINE},
      {"<Offset>0</Offset>", "<Offset />", VF_CAT_EMPTY_TEXT},
      {">numeric<", ">numerik<", VF_CAT_BAD_VALUE},
      {"compressed=\"No\"", "compressed=\"Yes\"", VF_CAT_COMPRESSED},
      {"sorted=\"No\"", "sorted=\"Yes\"", VF_CAT_SORTED},
      {"number=\"21\"", "number=\"22\"", VF_CAT_COLUMN_COUNT},
      {"<ROW>", "</TABLE>\n<ROW>", VF_CAT_NO_TABLE},
      {"<FUZZ>0</FUZZ>", "<FUZZY>0</FUZZY>", VF_CAT_NO_COLUMN},
      {"<LABEL>child<", "<LABEL>" + std::string(81, 'c') + "<",
       VF_CAT_VALUE_LONG},
      {"float</DATATYPE>\n<LENGTH>8</LENGTH>\n<Offset>144",
       "date</DATATYPE>\n<LENGTH>8</LENGTH>\n<Offset>144", VF_CAT_REFUSED},
      {"<HLO>L</HLO>", "<HLO>LF</HLO>", VF_CAT_REFUSED}, // a format label
  };
  for (const auto &c : cases)
    EXPECT_EQ(Read(replace(good, c.from, c.to), "AGEGRP").rc, c.rc) << c.from;
  EXPECT_EQ(Read(good, "AGEGRP").rc, 0);
  for (const char *nothing : {"", "  \n \r\n", "plain text without markup"})
    EXPECT_EQ(Read(nothing, "AGEGRP").rc, VF_CAT_NOT_OPENED);
  EXPECT_EQ(Read(header() + kFooter, "AGEGRP").rc, VF_CAT_NOT_FOUND);
  // An unknown TYPE of another length is printed, bounded by its length.
  testing::internal::CaptureStdout();
  EXPECT_EQ(Read(replace(good, ">numeric<", ">numer<"), "AGEGRP").rc,
            VF_CAT_BAD_VALUE);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "numer\n");
}

// The header with its last COLUMN (LANGUAGE) left open, so that column
// descriptions after a row still reach that column.
std::string moved_column(const std::string &change) {
  std::string h = header();
  h.erase(h.rfind("</COLUMN>\n"), 10);
  Row a = nrange("A", "1", "2", "one");
  a.language = "EN";
  Row b = nrange("A", "3", "4", "two");
  b.language = "FR";
  return h + row_xml(a) + change + row_xml(b) + kFooter;
}

TEST(UserfmtReader, LayoutChangedAfterARowIsCheckedAgain) {
  // The next row must not write outside the row record.
  for (const char *change :
       {"<Offset>1000000000</Offset>\n", "<LENGTH>100000000</LENGTH>\n",
        "<Offset>-1000000</Offset>\n",
        "<TYPE>numeric</TYPE>\n<Offset>100000</Offset>\n"})
    EXPECT_EQ(Read(moved_column(change), "A").rc, VF_CAT_BAD_LAYOUT) << change;
  Read ok(moved_column("<LENGTH>8</LENGTH>\n"), "A");
  ASSERT_EQ(ok.rc, 0);
  EXPECT_EQ(ok.entry()->nranges, 2);
}

TEST(UserfmtReader, InMemoryUnitsParseLikeLines) {
  const std::string text = catalog(agegrp());
  std::string oneline, crlf;
  for (char c : text) {
    if (c != '\n') oneline += c;
    crlf += c == '\n' ? std::string("\r\n   ") : std::string(1, c);
  }
  Read a(text, "AGEGRP");
  ASSERT_EQ(a.rc, 0);
  for (const std::string *t : {&oneline, &crlf}) {
    Read b(*t, "AGEGRP");
    ASSERT_EQ(b.rc, 0);
    ASSERT_EQ(b.entry()->nranges, 4);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(std::memcmp(a.num(i)->start, b.num(i)->start, 32), 0);
      EXPECT_EQ(plain(a.num(i)->label), plain(b.num(i)->label));
    }
  }
  // A unit ends at a '>' followed by '<', so a text ending in an unescaped
  // '>' arrives without its end tag and is still the element's text.
  Read gt(catalog({nrange("A", "1", "2", "&lt;5>")}), "A");
  ASSERT_EQ(gt.rc, 0);
  EXPECT_EQ(plain(gt.num(0)->label), u"<5>");
  // A catalogue cut inside a value is still refused, also right after such
  // a '>' and inside the name of the format that follows.
  const std::string two =
      catalog({nrange("A", "1", "2", "&lt;5>"), nrange("B", "1", "2", "x")});
  const size_t label = two.find("&lt;5>");
  for (size_t cut : {label + 3, label + 6, two.find("<FMTNAME>B") + 10})
    EXPECT_NE(Read(two.substr(0, cut), "A").rc, 0) << cut;
  // No text, or a negative length.
  fmtinmemory mem = in_memory("<x>");
  mem.length = -5;
  fmtcontext ctx{};
  ctx.inmemory = &mem;
  void *head = nullptr;
  void **tail = &head;
  EXPECT_EQ(xfrdfmt(nullptr, "A", 1, &ctx, &tail), VF_CAT_NOT_OPENED);
  mem.text = nullptr;
  mem.length = 10;
  EXPECT_EQ(xfrdfmt(nullptr, "A", 1, &ctx, &tail), VF_CAT_NOT_OPENED);
  EXPECT_EQ(head, nullptr);
}

TEST(UserfmtReader, ReadsCntloutXmlFromTheWorkingDirectory) {
  char dir[] = "/tmp/valfmt_userfmt_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(dir), 0);
  auto read = [](const std::string *text) {
    if (text != nullptr) std::ofstream("cntlout.xml") << *text;
    fmtcontext ctx{};
    void *head = nullptr;
    void **tail = &head;
    const int32_t rc = xfrdfmt(nullptr, "AGEGRP", 6, &ctx, &tail);
    if (rc == 0) {
      EXPECT_EQ(static_cast<const fmtentry *>(ctx.entry)->nranges, 4);
    }
    free_blocks(head);
    return rc;
  };
  testing::internal::CaptureStdout();
  EXPECT_EQ(read(nullptr), VF_CAT_NOT_OPENED);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Open failed\n");
  const std::string text = catalog(agegrp());
  EXPECT_EQ(read(&text), 0);
  // A line of exactly 255 bytes is fine, one of 256 is not.
  const std::string pad = "<Provider>valfmt tests</Provider>";
  const std::string l255 = replace(
      text, pad, "<Provider>" + std::string(255 - 21, 'p') + "</Provider>");
  const std::string l256 = replace(
      text, pad, "<Provider>" + std::string(256 - 21, 'p') + "</Provider>");
  EXPECT_EQ(read(&l255), 0);
  EXPECT_EQ(read(&l256), VF_CAT_BAD_LINE);
  const std::string empty;
  EXPECT_EQ(read(&empty), VF_CAT_NOT_OPENED);
  std::remove("cntlout.xml");
  ASSERT_EQ(chdir(old), 0);
  rmdir(dir);
}

TEST(UserfmtReader, MemoryResidentCatalogue) {
  // head, numeric AGE (2 ranges), character AGE (1 range), end.
  fmtentry arr[4]{};
  name_entry(arr[0], "00000000", 0, 0);
  name_entry(arr[1], "AGE", valfmt::kEntryNumeric, 2);
  name_entry(arr[2], "AGE", valfmt::kEntryCharacter, 1);
  name_entry(arr[3], "", 0, 0);
  void *ranges[3] = {}; // never dereferenced by the reader
  fmtcontext ctx{};
  auto read = [&](const char *n, uint8_t kind = VF_CATALOG_RESIDENT) {
    ctx.entry = arr;
    ctx.ranges = ranges;
    ctx.catkind = kind;
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
  EXPECT_EQ(read("AGES"), 1);
  EXPECT_EQ(read("@AGE"), VF_CAT_NOT_FOUND);
  EXPECT_EQ(read("AGE", 3), VF_CAT_NOT_FOUND); // a kind without a reader
}

TEST(UserfmtReader, ResolutionBuildsUserHandles) {
  std::vector<Row> rows = agegrp();
  rows.push_back(crange("GRADE", "A", "A", "excellent"));
  Row lin = nrange("LIN", "1", "2", "x", "S");
  lin.min = "3";
  lin.max = "9";
  lin.def = "5";
  rows.push_back(lin);
  const std::string text = catalog(rows);
  Handle chr(text, "$GRADE");
  ASSERT_EQ(chr.rc, 0);
  EXPECT_EQ(chr.user()->evaluator, &yfpfcfm);
  EXPECT_EQ(std::string(chr.user()->name, 6), "$GRADE");
  Handle h(text, "LIN");
  ASSERT_EQ(h.rc, 0);
  EXPECT_EQ(h.user()->evaluator, &yfpfnfn);
  EXPECT_EQ(h.attrs.minw, 3);
  EXPECT_EQ(h.attrs.maxw, 9);
  EXPECT_EQ(h.attrs.defw, 5);
  EXPECT_EQ(Handle(text, "NOPE").rc, VF_NOT_FOUND);
  EXPECT_EQ(Handle(text.substr(0, 300), "AGEGRP").rc, VF_NOT_FOUND);
}

// --- untrusted input ---------------------------------------------------------

// Reads `name` from `text` with the reader's diagnostics kept off the test
// output.  The result is a reader code, and a found entry is usable.
int32_t checked_read(const std::string &text, const char *name) {
  testing::internal::CaptureStdout();
  int32_t rc;
  {
    Read r(text, name);
    rc = r.rc;
    if (rc == 0) {
      EXPECT_NE(r.entry(), nullptr);
      EXPECT_GE(r.entry()->nranges, 0);
      EXPECT_TRUE(r.entry()->nranges == 0 || r.ctx.ranges != nullptr);
    }
  }
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(rc == 0 || (rc >= -20 && rc <= -1)) << rc;
  return rc;
}

TEST(UserfmtReader, MutatedCataloguesGiveResultCodes) {
  std::vector<Row> rows = agegrp();
  rows.push_back(picture("PIC", "0", "", "009.99", "H"));
  rows.push_back(crange("GRADE", "A", "C", "abc"));
  const std::string base = catalog(rows);
  std::mt19937 rng(12345);
  const char alphabet[] = "<>/=\"' &#;xX0123456789.-LHOMSRFNCP\n\r\t\xC3\xFF";
  for (int iter = 0; iter < 3000 && !HasFailure(); ++iter) {
    std::string t = base;
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int k = 0; k < edits; ++k) {
      const size_t at = rng() % (t.size() + 1);
      const char c = alphabet[rng() % (sizeof alphabet - 1)];
      switch (rng() % 4) {
      case 0:
        if (at < t.size()) t[at] = c;
        break;
      case 1:
        t.insert(at, 1, c);
        break;
      case 2:
        if (at < t.size()) t.erase(at, 1 + rng() % 40);
        break;
      default:
        t.resize(at); // truncation
        break;
      }
    }
    for (const char *n : {"AGEGRP", "$GRADE", "PIC"}) checked_read(t, n);
  }
}

TEST(UserfmtReader, TruncationsAndGarbageGiveResultCodes) {
  const std::string base = catalog(agegrp());
  // Every cut before the final "LIBRARY" ends loses part of its end tag:
  // never a format from a cut catalogue.
  for (size_t n = 0; n + 2 < base.size() && !HasFailure(); n += 3)
    EXPECT_NE(checked_read(base.substr(0, n), "AGEGRP"), 0) << n;
  std::mt19937 rng(99);
  for (int iter = 0; iter < 200 && !HasFailure(); ++iter) {
    std::string g(1 + rng() % 2000, '\0');
    for (char &c : g) c = static_cast<char>(rng());
    checked_read(g, "AGEGRP");
    checked_read(header() + g + kFooter, "AGEGRP");
  }
}

} // namespace
