// The standard numeric reader, the missing-notation reader and the
// cleaning readers built on them.
#include <cmath>
#include <cstdlib>
#include <string>

#include "registry/functions.h"
#include "helpers.h"
#include "informats/informats.h"

namespace {

using informat_test::bits_of;
using informat_test::kUntouched;
using informat_test::missing_bits;
using informat_test::Num;
using informat_test::read;

const uint64_t kStd = valfmt::kStandardMissingBits;

struct Case {
  const char *text;
  int32_t w; // -1: the text's length
  int32_t d;
  double expected;
};

void expect_values(fmtfn fn, std::initializer_list<Case> cases) {
  for (const Case &c : cases) {
    const Num r = read(fn, c.text, c.w, c.d);
    EXPECT_EQ(r.status, VF_OK) << '"' << c.text << "\" d=" << c.d;
    EXPECT_EQ(r.bits, bits_of(c.expected))
        << '"' << c.text << "\" w=" << c.w << " d=" << c.d << " got "
        << r.value();
    EXPECT_EQ(r.outlen, 8);
  }
}

void expect_status(fmtfn fn, std::initializer_list<const char *> texts,
                   int32_t status, uint64_t bits, int32_t d = 0) {
  for (const char *t : texts) {
    const Num r = read(fn, t, -1, d);
    EXPECT_EQ(r.status, status) << '"' << t << '"';
    EXPECT_EQ(r.bits, bits) << '"' << t << '"';
    EXPECT_EQ(r.outlen, 8) << '"' << t << '"';
  }
}

TEST(InformatReader, ReadsDecimalTexts) {
  expect_values(wzifmn, {{"12.5", -1, 0, 12.5},
                         {"  -12.5e3  ", -1, 0, -12500.0},
                         {"+7", -1, 0, 7.0},
                         {"\t42\t", -1, 0, 42.0},
                         {"007.50", -1, 0, 7.5},
                         {".5", -1, 0, 0.5},
                         {"100.5", -1, 0, 100.5},
                         {"100.", -1, 0, 100.0},
                         {"1.5E3", -1, 0, 1500.0},
                         {"1.5e+3", -1, 0, 1500.0},
                         {"1D2", -1, 0, 100.0},
                         {"25d-2", -1, 0, 0.25},
                         {"0.005", -1, 0, 0.005},
                         {"0.000000000123", -1, 0, 1.23e-10},
                         {"123456789012345", -1, 0, 123456789012345.0},
                         {"1000000000000000000000", -1, 0, 1e21}});
}

TEST(InformatReader, ImpliedDecimalsApplyOnlyWithoutAPoint) {
  expect_values(wzifmn, {{"1200", -1, 2, 12.0},
                         {"12.", -1, 2, 12.0},
                         {"12.5", -1, 2, 12.5},
                         {"15E3", -1, 1, 1500.0},
                         {"5", -1, 20, 5e-20},
                         {"1200", -1, 98, 1200.0},
                         {"1200", -1, 99, 1200.0}});
}

TEST(InformatReader, ZeroIsPositiveZero) {
  expect_values(wzifmn, {{"0", -1, 0, 0.0},
                         {"000", -1, 0, 0.0},
                         {"-0", -1, 0, 0.0},
                         {"-0.000", -1, 3, 0.0},
                         {"0E99999", -1, 0, 0.0}});
  EXPECT_EQ(read(wzifmn, "-0").bits, 0u) << "no sign on zero";
}

TEST(InformatReader, WidthShorterThanText) {
  expect_values(wzifmn, {{"12345", 3, 0, 123.0},
                         {"1.5E3", 3, 0, 1.5},
                         {"12 x", 2, 0, 12.0},
                         {"9x", 1, 0, 9.0}});
  const Num r = read(wzifmn, "  7", 2);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.bits, kStd) << "the two bytes read are blank";
}

TEST(InformatReader, MissingValueNotations) {
  const struct {
    const char *text;
    char code;
  } cases[] = {{".", '.'},  {"..", '.'},  {".A", 'A'},   {".a", 'A'},
               {"a", 'A'},  {"Z", 'Z'},   {"_", '_'},    {"._", '_'},
               {"-.", '.'}, {"+.B", 'B'}, {" .c ", 'C'}, {"e", 'E'},
               {"d", 'D'},  {"", '.'},    {"    ", '.'}, {"\t \t", '.'}};
  for (const auto &c : cases) {
    const Num r = read(wzifmn, c.text);
    EXPECT_EQ(r.status, VF_OK) << '"' << c.text << '"';
    EXPECT_EQ(r.bits, missing_bits(c.code)) << '"' << c.text << '"';
    EXPECT_EQ(r.outlen, 8);
  }
}

TEST(InformatReader, InvalidDataStoresStandardMissing) {
  expect_status(wzifmn,
                {"+",   "-",  "1 2", "1,2",   "1-",   "--1",    "ab",   "1..2",
                 ".5.", "1E", "1E+", "1e-",   "1E5x", "1E+-5",  "1E 5", "$5",
                 "..A", "_5", "12a", "1\xA0", "\xB9", "1.2.3e4"},
                VF_ERR_INVALID_DATA, kStd);
  // A NUL inside the field is not the end of the text.
  const Num r = read(wzifmn, std::string("1\0002", 3));
  EXPECT_EQ(r.status, VF_ERR_INVALID_DATA);
  EXPECT_EQ(r.bits, kStd);
}

TEST(InformatReader, OutOfRangeStoresStandardMissing) {
  expect_status(wzifmn,
                {"1E309", "1E-400", "1E-617", "5E999999999999",
                 "1E-999999999999", "2E308", "1234E306", "1E-330"},
                VF_WARN_RANGE, kStd);
  // The scale limits are inclusive; below 10^-308 the scale is applied in
  // two steps, so subnormal results survive.
  expect_values(wzifmn, {{"1E308", -1, 0, 1e308}});
  for (const char *t : {"1E-308", "1E-320", "100E-310", "4.9E-324"}) {
    const Num r = read(wzifmn, t);
    EXPECT_EQ(r.status, VF_OK) << t;
    const double want = std::strtod(t, nullptr);
    EXPECT_NEAR(r.value(), want, want * 1e-3) << t;
  }
}

TEST(InformatReader, WidthAndDecimalLimits) {
  // Negative width: standard missing; bad decimals: out unchanged.
  Num r = read(wzifmn, "12", -3, 0);
  EXPECT_EQ(r.status, VF_ERR_WD_LIMITS);
  EXPECT_EQ(r.bits, kStd);
  for (int32_t d : {32, 97, 100, -1}) {
    r = read(wzifmn, "12", -1, d);
    EXPECT_EQ(r.status, VF_ERR_WD_LIMITS) << d;
    EXPECT_EQ(r.bits, kUntouched) << d;
    EXPECT_EQ(r.outlen, 8);
  }
  // An empty field is read before the decimals are looked at.
  r = read(wzifmn, "", -1, 50);
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.bits, kStd);
}

TEST(InformatReader, BadCallBlocks) {
  EXPECT_EQ(wzifmn(nullptr), VF_ERR_BAD_CALL);
  // valuelen 0, negative, and a null text with a positive length.
  double out = 3.0;
  fmtcall c{};
  c.w = 8;
  c.value = "12345678";
  c.out = &out;
  c.outsize = 8;
  c.valuelen = 0;
  EXPECT_EQ(wzifmn(&c), VF_OK);
  EXPECT_EQ(bits_of(out), kStd);
  out = 3.0;
  c.valuelen = -1;
  EXPECT_EQ(wzifmn(&c), VF_ERR_WD_LIMITS);
  EXPECT_EQ(bits_of(out), kStd);
  out = 3.0;
  c.value = nullptr;
  c.valuelen = 8;
  EXPECT_EQ(wzifmn(&c), VF_OK);
  EXPECT_EQ(bits_of(out), kStd);
  // A result buffer too small for the double receives nothing.
  unsigned char small[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  c.value = "5";
  c.valuelen = 1;
  c.out = small;
  for (int32_t size : {-1, 0, 7}) {
    c.outsize = size;
    c.outlen = 99;
    EXPECT_EQ(wzifmn(&c), VF_ERR_OUTSIZE);
    EXPECT_EQ(c.outlen, 0);
    EXPECT_EQ(small[0], 1);
    EXPECT_EQ(small[7], 8);
    EXPECT_EQ(zifmcma(&c), VF_ERR_OUTSIZE);
    EXPECT_EQ(sizkmgi(&c), VF_ERR_OUTSIZE);
    EXPECT_EQ(small[0], 1);
  }
  c.out = nullptr;
  c.outsize = 8;
  EXPECT_EQ(wzifmn(&c), VF_ERR_OUTSIZE);
  // Unaligned result buffers are fine.
  alignas(8) unsigned char buf[16] = {};
  c.out = buf + 3;
  EXPECT_EQ(wzifmn(&c), VF_OK);
  double x;
  std::memcpy(&x, buf + 3, 8);
  EXPECT_EQ(x, 5.0);
}

TEST(InformatReader, LongFields) {
  // A 32767-byte field: blanks around one number, a number that overflows,
  // and a fraction whose scale passes every limit.
  std::string t(32766, ' ');
  t += '5';
  expect_values(wzifmn, {{t.c_str(), -1, 0, 5.0}});
  Num r = read(wzifmn, std::string(32767, '9'));
  EXPECT_EQ(r.status, VF_WARN_RANGE);
  EXPECT_EQ(r.bits, kStd);
  r = read(wzifmn, "0." + std::string(32763, '0') + "1");
  EXPECT_EQ(r.status, VF_WARN_RANGE);
  EXPECT_EQ(r.bits, kStd);
  r = read(wzifmn, std::string(32767, '0'));
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.bits, 0u);
  r = read(wzifmn, "1" + std::string(300, '0') + "E-300");
  EXPECT_EQ(r.status, VF_OK);
  EXPECT_EQ(r.value(), 1.0);
}

TEST(InformatNotation, Wzifmch) {
  const struct {
    const char *text;
    int ok;
    char code;
  } cases[] = {
      {"", 1, '.'},     {"   ", 1, '.'}, {".", 1, '.'},  {"  . ", 1, '.'},
      {"A", 1, 'A'},    {"b ", 1, 'B'},  {"_", 1, '_'},  {".c", 1, 'C'},
      {"._  ", 1, '_'}, {" .Z", 1, 'Z'}, {"..", 0, '.'}, {"AB", 0, '.'},
      {".A x", 0, '.'}, {"A B", 0, '.'}, {"12", 0, '.'}, {"1", 0, '.'},
      {".5", 0, '.'},   {"\t", 0, '.'},  {"-", 0, '.'},  {"\xC1", 0, '.'}};
  for (const auto &c : cases) {
    const std::string text(c.text);
    double out = 42.0;
    EXPECT_EQ(
        valfmt::wzifmch(text.data(), static_cast<int32_t>(text.size()), &out),
        c.ok)
        << '"' << c.text << '"';
    EXPECT_EQ(bits_of(out), missing_bits(c.code)) << '"' << c.text << '"';
  }
  double out = 42.0;
  EXPECT_EQ(valfmt::wzifmch("A", -4, &out), 1);
  EXPECT_EQ(bits_of(out), kStd);
  // Only `len` bytes count: the A after them is never looked at.
  EXPECT_EQ(valfmt::wzifmch(".A", 1, &out), 1);
  EXPECT_EQ(bits_of(out), kStd);
}

TEST(InformatNotation, ReadNumberHelper) {
  double out = 0;
  EXPECT_EQ(valfmt::read_number("1234", 4, 2, &out), VF_OK);
  EXPECT_EQ(out, 12.34);
  EXPECT_EQ(valfmt::read_number("12x", 3, 0, &out), VF_ERR_INVALID_DATA);
  EXPECT_EQ(bits_of(out), kStd);
  EXPECT_EQ(valfmt::read_number(nullptr, 3, 0, &out), VF_OK);
  EXPECT_EQ(bits_of(out), kStd);
}

TEST(InformatComma, PunctuationSignsAndParentheses) {
  expect_values(zifmcma,
                {{"(1,234.50)", -1, 0, -1234.5},
                 {"-$1,234.50", -1, 0, -1234.5},
                 {"$1,234", -1, 2, 12.34},
                 {"12-", -1, 0, 12.0},
                 {"1-2", -1, 0, 12.0},
                 {"(12)", -1, 0, -12.0},
                 {"--5", -1, 0, -5.0},
                 {"1 2 3", -1, 0, 123.0},
                 {"50%", -1, 0, 50.0},
                 {"1,234,567", 5, 0, 1234.0},
                 {"-.A", -1, 0, std::bit_cast<double>(missing_bits('A'))}});
  // Only the first 32 bytes are read.
  expect_values(zifmcma,
                {{("1" + std::string(31, ',') + "2").c_str(), -1, 0, 1.0}});
  expect_status(zifmcma, {"", "$,, ", ")"}, VF_OK, kStd);
  expect_status(zifmcma, {"-.", "(.)", "(-."}, VF_OK, kStd);
  expect_status(zifmcma, {"1(2)", "((1)", "-(5"}, VF_ERR_PAREN_TWICE, kStd);
  expect_status(zifmcma, {"-", "(-", "(--", "-$"}, VF_ERR_SIGN, kStd);
  expect_status(zifmcma, {"12x", "1.2.3", "(1E)"}, VF_ERR_INVALID_DATA, kStd);
  expect_status(zifmcma, {"1E999"}, VF_WARN_RANGE, kStd);
  expect_status(zifmcma, {"(5)"}, VF_ERR_WD_LIMITS, kStd, 40);
}

TEST(InformatComma, CommaDecimalFamily) {
  expect_values(zifmcmx, {{"1.234,50", -1, 0, 1234.5},
                          {"-1.234,5", -1, 0, -1234.5},
                          {"(1.234,5)", -1, 0, -1234.5},
                          {"$1.000", -1, 0, 1000.0},
                          {"12345", -1, 2, 123.45},
                          {"1,5%", -1, 0, 1.5}});
  expect_status(zifmcmx, {"", ". . $"}, VF_OK, kStd);
  expect_status(zifmcmx, {"1,2,3"}, VF_ERR_INVALID_DATA, kStd);
  expect_status(zifmcmx, {"1(2"}, VF_ERR_PAREN_TWICE, kStd);
}

TEST(InformatComma, Percent) {
  expect_values(zifmpct, {{"25%", -1, 0, 0.25},
                          {"25", -1, 0, 25.0},
                          {"(25%)", -1, 0, -0.25},
                          {"-1,250%", -1, 0, -12.5},
                          {"25 %", 3, 0, 25.0}}); // the % lies beyond w
  expect_status(zifmpct, {"%", ".%"}, VF_OK, kStd);
  expect_status(zifmpct, {"2x%"}, VF_ERR_INVALID_DATA, kStd);
}

TEST(InformatCleaning, BlanksAreZeros) {
  expect_values(zifmbz, {{"1 2 ", -1, 0, 1020.0},
                         {"  1 2", -1, 0, 102.0},
                         {"   ", -1, 0, 0.0},
                         {"1 2 ", -1, 1, 102.0},
                         {" -1 ", -1, 0, -10.0}});
  expect_status(zifmbz, {""}, VF_OK, kStd);
  expect_status(zifmbz, {"1\t2"}, VF_ERR_INVALID_DATA, kStd);
}

TEST(InformatCleaning, CommaAsDecimalPoint) {
  expect_values(
      zifmnmx,
      {{"12,5", -1, 0, 12.5}, {"12.5", -1, 0, 12.5}, {"-0,25", -1, 0, -0.25}});
  expect_status(zifmnmx, {" . ", "", "."}, VF_OK, kStd);
  expect_status(zifmnmx, {"1,234.5"}, VF_ERR_INVALID_DATA, kStd);
}

TEST(InformatCleaning, Yen) {
  expect_values(zifmyen, {{"\\1,234", -1, 0, 1234.0},
                          {"(\\500)", -1, 0, -500.0},
                          {"-\\5", -1, 0, -5.0},
                          {"5-", -1, 0, 5.0},
                          {"1234", -1, 2, 12.34}});
  expect_status(zifmyen, {"", " \\ , "}, VF_OK, kStd);
  expect_status(zifmyen, {"1(2", "-(2"}, VF_ERR_PAREN_POSITION, kStd);
  expect_status(zifmyen, {"((1", "(1(", "(1(2)"}, VF_ERR_PAREN_TWICE, kStd);
  expect_status(zifmyen, {"-", "(", "(-)", "--"}, VF_ERR_NOTHING_TO_READ, kStd);
  expect_status(zifmyen, {"1x"}, VF_ERR_INVALID_DATA, kStd);
}

TEST(InformatCleaning, SizeSuffixes) {
  expect_values(sizkmgi, {{"10.5K", -1, 0, 10752.0},
                          {"2MB", -1, 0, 2097152.0},
                          {"1G", -1, 0, 1073741824.0},
                          {"3k  ", -1, 0, 3072.0},
                          {"512", -1, 0, 512.0},
                          {"7X", -1, 0, 7.0},
                          {"105K", -1, 1, 10752.0},
                          {"1E3K", -1, 0, 1024000.0}});
  // Empty fields give 0.0; blank ones the standard missing value.
  for (int32_t w : {0, -2}) {
    const Num r = read(sizkmgi, "5K", w);
    EXPECT_EQ(r.status, VF_OK);
    EXPECT_EQ(r.bits, 0u);
    EXPECT_EQ(r.outlen, 8);
  }
  EXPECT_EQ(read(sizkmgi, "").bits, 0u);
  expect_status(sizkmgi, {"    ", "."}, VF_OK, kStd);
  expect_status(sizkmgi, {".k"}, VF_OK, missing_bits('K'));
  expect_status(sizkmgi, {"KB", "--", "1 2K"}, VF_ERR_INVALID_DATA, kStd);
  expect_status(sizkmgi, {"1E999K"}, VF_WARN_RANGE, kStd);

  // A field without digits never looks at the bytes before it.
  const char buffer[] = "9KB";
  double out = 0;
  fmtcall c{};
  c.w = 2;
  c.value = buffer + 1;
  c.valuelen = 2;
  c.out = &out;
  c.outsize = 8;
  EXPECT_EQ(sizkmgi(&c), VF_ERR_INVALID_DATA);
  EXPECT_EQ(bits_of(out), kStd);
}

TEST(InformatCleaning, EveryReaderHandlesHostileFields) {
  // NUL bytes, high bytes, long and empty fields: a defined value, no read
  // past valuelen (buffers are exact-size), guard bytes intact.
  const std::string texts[] = {std::string("1\0", 2),
                               std::string("\0\0\0", 3),
                               "\x80\xFF\xFE",
                               "12\xE9",
                               std::string(32767, '7'),
                               std::string(32767, ' '),
                               ""};
  const fmtfn fns[] = {wzifmn, zifmcma, zifmcmx, zifmpct,
                       zifmbz, zifmnmx, zifmyen, sizkmgi};
  for (fmtfn fn : fns) {
    for (const std::string &t : texts) {
      for (int32_t w : {1, 8, 32, 35, 32767}) {
        const Num r = read(fn, t, w);
        EXPECT_NE(r.bits, kUntouched);
        EXPECT_EQ(r.outlen, 8);
        if (r.status != VF_OK) {
          EXPECT_EQ(r.bits, kStd) << "a failure leaves the standard missing";
        }
      }
    }
  }
}

} // namespace
