// The standard numeric reader, the missing-notation reader and the
// cleaning readers built on them.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <string>

#include "registry/functions.h"
#include "core/missing.h"
#include "informats/informats.h"
#include "support/call_runner.h"

namespace {

const uint64_t kStd = valfmt::kStandardMissingBits;

uint64_t bits_of(double x) {
  return std::bit_cast<uint64_t>(x);
}
// The missing value with code byte `code` ('A' is 0xFD, '_' 0xFF).
uint64_t missing(uint8_t code) {
  return bits_of(valfmt::missing_value(code));
}

struct Read {
  std::string text;
  double value;
  int32_t d = 0;
  int32_t w = -1; // the text's length
};

// Each text reads as its value with status 0, outlen 8.
void expect_values(fmtfn fn, std::initializer_list<Read> cases) {
  for (const Read &c : cases) {
    const vftest::Run r = vftest::input(fn, c.text, c.w, c.d);
    EXPECT_EQ(r.status, VF_OK) << '"' << c.text << "\" d=" << c.d;
    EXPECT_EQ(r.bits(), bits_of(c.value))
        << '"' << c.text << "\" d=" << c.d << " got " << r.number();
  }
}

// Each text gives `status` and stores `bits`.
void expect_status(fmtfn fn, std::initializer_list<std::string> texts,
                   int32_t status, uint64_t bits, int32_t d = 0) {
  for (const std::string &t : texts) {
    const vftest::Run r = vftest::input(fn, t, -1, d);
    EXPECT_EQ(r.status, status) << '"' << t << '"';
    EXPECT_EQ(r.outlen, 8) << '"' << t << '"';
    EXPECT_EQ(r.bits(), bits) << '"' << t << '"';
  }
}

TEST(InformatReader, DecimalTextsAndImpliedDecimals) {
  expect_values(wzifmn, {{"  -12.5e3  ", -12500.0},
                         {"+7", 7.0},
                         {"\t42\t", 42.0},
                         {"007.50", 7.5},
                         {"100.", 100.0},
                         {"1D2", 100.0},
                         {"25d-2", 0.25},
                         {"0.000000000123", 1.23e-10},
                         {"1000000000000000000000", 1e21},
                         {"1200", 12.0, 2},
                         {"12.", 12.0, 2}, // a point cancels implied decimals
                         {"15E3", 1500.0, 1},
                         {"5", 5e-20, 20},
                         {"1200", 1200.0, 98},
                         {"1200", 1200.0, 99},
                         {"000", 0.0},
                         {"-0.000", 0.0, 3}, // zero has no sign
                         {"0E99999", 0.0},
                         {"12345", 123.0, 0, 3},
                         {"12 x", 12.0, 0, 2}});
}

TEST(InformatReader, MissingValueNotations) {
  const struct {
    const char *text;
    uint8_t code;
  } cases[] = {{".", 0xFE},  {"..", 0xFE},   {".A", 0xFD},   {".a", 0xFD},
               {"a", 0xFD},  {"Z", 0xE4},    {"_", 0xFF},    {"._", 0xFF},
               {"-.", 0xFE}, {"+.B", 0xFC},  {" .c ", 0xFB}, {"e", 0xF9},
               {"", 0xFE},   {"    ", 0xFE}, {"\t \t", 0xFE}};
  for (const auto &c : cases) {
    const vftest::Run r = vftest::input(wzifmn, c.text);
    EXPECT_EQ(r.status, VF_OK) << '"' << c.text << '"';
    EXPECT_EQ(r.bits(), missing(c.code)) << '"' << c.text << '"';
  }
  EXPECT_EQ(vftest::input(wzifmn, "  7", 2).bits(), kStd); // 2 blanks read
}

TEST(InformatReader, InvalidAndOutOfRange) {
  expect_status(wzifmn,
                {"+", "-", "1 2", "1,2", "1-", "--1", "1..2", "1E", "1E+",
                 "1e-", "1E5x", "1E+-5", "1E 5", "..A", "_5", "12a", "1\xA0",
                 std::string("1\0002", 3)},
                VF_ERR_INVALID_DATA, kStd);
  expect_status(wzifmn,
                {"1E309", "1E-400", "1E-617", "5E999999999999",
                 "1E-999999999999", "2E308", "1234E306", "1E-330",
                 std::string(400, '9'), "0." + std::string(700, '0') + "1"},
                VF_WARN_RANGE, kStd);
  // The scale limits are inclusive; below 10^-308 the scale is applied in
  // two steps, so subnormal results survive.
  for (const char *t : {"1E308", "1E-308", "1E-320", "100E-310", "4.9E-324"}) {
    const vftest::Run r = vftest::input(wzifmn, t);
    EXPECT_EQ(r.status, VF_OK) << t;
    const double want = std::strtod(t, nullptr);
    EXPECT_NEAR(r.number(), want, want * 1e-3) << t;
  }
  expect_values(wzifmn, {{std::string(32766, ' ') + "5", 5.0},
                         {"1" + std::string(300, '0') + "E-300", 1.0}});
}

TEST(InformatReader, WidthDecimalsAndCallBlockLimits) {
  const vftest::Run neg = vftest::input(wzifmn, "12", -3);
  EXPECT_EQ(neg.status, VF_ERR_WD_LIMITS);
  EXPECT_EQ(neg.bits(), kStd);
  for (int32_t d : {32, 97, 100, -1}) { // result left as it was
    const vftest::Run r = vftest::input(wzifmn, "12", -1, d);
    EXPECT_EQ(r.status, VF_ERR_WD_LIMITS) << d;
    EXPECT_EQ(r.text, "########") << d;
  }
  EXPECT_EQ(vftest::input(wzifmn, "", -1, 50).status, VF_OK);
  // valuelen 0, negative, and a null text with a positive length.
  fmtcall c{};
  c.w = 8;
  c.value = "12345678";
  for (int32_t len : {0, -1}) {
    c.valuelen = len;
    const vftest::Run r = vftest::run_block(wzifmn, nullptr, c, 8);
    EXPECT_EQ(r.status, len == 0 ? VF_OK : VF_ERR_WD_LIMITS);
    EXPECT_EQ(r.bits(), kStd);
  }
  c.value = nullptr;
  c.valuelen = 8;
  EXPECT_EQ(vftest::run_block(wzifmn, nullptr, c, 8).bits(), kStd);
  // A result buffer too small for the double receives nothing.
  const fmtfn readers[] = {wzifmn, zifmcma, zifmcmx, zifmpct,
                           zifmbz, zifmnmx, zifmyen, sizkmgi};
  for (fmtfn fn : readers) {
    for (int32_t size : {0, 7}) {
      const vftest::Run r = vftest::input(fn, "5", 1, 0, size);
      EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
      EXPECT_EQ(r.outlen, 0);
      EXPECT_EQ(r.buffer, std::string(static_cast<std::size_t>(size), '#'));
    }
    EXPECT_EQ(fn(nullptr), VF_ERR_BAD_CALL);
  }
}

TEST(InformatNotation, BlankFieldsAndCodes) {
  const struct {
    const char *text;
    int ok;
    uint8_t code;
  } cases[] = {{"", 1, 0xFE},   {"  . ", 1, 0xFE}, {"b ", 1, 0xFC},
               {"_", 1, 0xFF},  {"._  ", 1, 0xFF}, {" .Z", 1, 0xE4},
               {"..", 0, 0xFE}, {"AB", 0, 0xFE},   {".A x", 0, 0xFE},
               {"1", 0, 0xFE},  {"\t", 0, 0xFE},   {"\xC1", 0, 0xFE}};
  for (const auto &c : cases) {
    const std::string text(c.text);
    double out = 42.0;
    EXPECT_EQ(valfmt::read_missing_notation(
                  text.data(), static_cast<int32_t>(text.size()), &out),
              c.ok)
        << '"' << c.text << '"';
    EXPECT_EQ(bits_of(out), missing(c.code)) << '"' << c.text << '"';
  }
  // Only `len` bytes count.
  double out = 42.0;
  EXPECT_EQ(valfmt::read_missing_notation(".A", 1, &out), 1);
  EXPECT_EQ(bits_of(out), kStd);
  EXPECT_EQ(valfmt::read_number(nullptr, 3, 0, &out), VF_OK);
  EXPECT_EQ(bits_of(out), kStd);
}

TEST(InformatComma, PunctuationSignsAndParentheses) {
  expect_values(zifmcma, {{"(1,234.50)", -1234.5},
                          {"-$1,234.50", -1234.5},
                          {"$1,234", 12.34, 2},
                          {"12-", 12.0}, // a trailing minus is deleted
                          {"(12)", -12.0},
                          {"--5", -5.0},
                          {"1,234,567", 1234.0, 0, 5},
                          {"1" + std::string(31, ',') + "2", 1.0}, // 32 bytes
                          {"-.A", std::bit_cast<double>(missing(0xFD))}});
  expect_status(zifmcma, {"", "$,, ", "-.", "(.)"}, VF_OK, kStd);
  expect_status(zifmcma, {"1(2)", "((1)", "-(5"}, VF_ERR_PAREN_TWICE, kStd);
  expect_status(zifmcma, {"-", "(-", "-$"}, VF_ERR_SIGN, kStd);
  expect_status(zifmcma, {"12x", "(1E)"}, VF_ERR_INVALID_DATA, kStd);
  expect_status(zifmcma, {"(5)"}, VF_ERR_WD_LIMITS, kStd, 40);
  expect_values(
      zifmcmx,
      {{"1.234,50", 1234.5}, {"(1.234,5)", -1234.5}, {"12345", 123.45, 2}});
  expect_status(zifmcmx, {"1,2,3"}, VF_ERR_INVALID_DATA, kStd);
  expect_status(zifmcmx, {"1(2"}, VF_ERR_PAREN_TWICE, kStd);
}

TEST(InformatComma, PercentAndItsRange) {
  expect_values(zifmpct, {{"25%", 0.25},
                          {"25", 25.0},
                          {"(25%)", -0.25},
                          {"25 %", 25.0, 0, 3}, // the % lies beyond w
                          {"0%", 0.0},
                          {"1E-300%", 1e-300 / 100.0}});
  expect_status(zifmpct, {"%", ".%"}, VF_OK, kStd);
  // A division that underflows is out of range like any other result.
  expect_status(zifmpct, {"1E-322%", "-4E-323%"}, VF_WARN_RANGE, kStd);
}

TEST(InformatCleaning, BlanksAreZerosAndCommaPoints) {
  expect_values(
      zifmbz,
      {{"1 2 ", 1020.0}, {"  1 2", 102.0}, {"   ", 0.0}, {" -1 ", -10.0}});
  expect_status(zifmbz, {""}, VF_OK, kStd);
  expect_status(zifmbz, {"1\t2"}, VF_ERR_INVALID_DATA, kStd);
  expect_values(zifmnmx, {{"12,5", 12.5}, {"-0,25", -0.25}});
  expect_status(zifmnmx, {" . ", "."}, VF_OK, kStd);
  expect_status(zifmnmx, {"1,234.5"}, VF_ERR_INVALID_DATA, kStd);
}

TEST(InformatCleaning, Yen) {
  expect_values(zifmyen, {{"\\1,234", 1234.0},
                          {"(\\500)", -500.0},
                          {"5-", 5.0},
                          {"1234", 12.34, 2}});
  expect_status(zifmyen, {"", " \\ , "}, VF_OK, kStd);
  expect_status(zifmyen, {"1(2", "-(2"}, VF_ERR_PAREN_POSITION, kStd);
  expect_status(zifmyen, {"((1", "(1(2)"}, VF_ERR_PAREN_TWICE, kStd);
  expect_status(zifmyen, {"-", "(-)"}, VF_ERR_NOTHING_TO_READ, kStd);
}

TEST(InformatCleaning, SizeSuffixesAndTheirRange) {
  expect_values(sizkmgi, {{"10.5K", 10752.0},
                          {"2MB", 2097152.0},
                          {"3k  ", 3072.0},
                          {"7X", 7.0},
                          {"105K", 10752.0, 1},
                          {"1E299G", 1e299 * 1073741824.0},
                          {"0G", 0.0},
                          {"5K", 0.0, 0, 0}, // an empty field reads as 0
                          {"", 0.0}});
  expect_status(sizkmgi, {"    ", "."}, VF_OK, kStd);
  expect_status(sizkmgi, {".k"}, VF_OK, missing(0xF3));
  expect_status(sizkmgi, {"KB", "1 2K"}, VF_ERR_INVALID_DATA, kStd);
  expect_status(sizkmgi, {"1E308G", "-9E307M", "179769313486231E294K"},
                VF_WARN_RANGE, kStd);
}

TEST(InformatCleaning, EveryReaderHandlesHostileFields) {
  // NUL bytes, high bytes, long and empty fields: a defined value and no
  // read past valuelen (the input is fenced).
  const std::string texts[] = {
      std::string("1\0", 2),   std::string("\0\0\0", 3), "\x80\xFF\xFE",
      std::string(32767, '7'), std::string(32767, ' '),  ""};
  const fmtfn readers[] = {wzifmn, zifmcma, zifmcmx, zifmpct,
                           zifmbz, zifmnmx, zifmyen, sizkmgi};
  for (fmtfn fn : readers) {
    for (const std::string &t : texts) {
      for (int32_t w : {1, 8, 32, 35, 32767}) {
        const vftest::Run r = vftest::input(fn, t, w);
        EXPECT_EQ(r.outlen, 8);
        if (r.status != VF_OK) {
          EXPECT_EQ(r.bits(), kStd) << "a failure stores the standard missing";
        }
      }
    }
  }
}

} // namespace
