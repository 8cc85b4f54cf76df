// The standard numeric reader, the missing-notation reader and the
// cleaning readers built on them.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <cstdlib>
#include <string>

#include "registry/functions.h"
#include "core/missing.h"
#include "informats/informats.h"
#include "support/call_runner.h"

namespace {

const uint64_t kStd = valfmt::kStandardMissingBits;

// The missing value with code byte `code` ('A' is 0xFD, '_' 0xFF).
double missing(uint8_t code) {
  return valfmt::missing_value(code);
}

struct Read {
  std::string text;
  double value;
  int32_t d = 0;
  int32_t w = -1; // the text's length
};

// Each text reads as its value (compared bit for bit) with status 0.
void expect_values(fmtfn fn, std::initializer_list<Read> cases) {
  for (const Read &c : cases) {
    const vftest::Run r = vftest::input(fn, c.text, c.w, c.d);
    EXPECT_EQ(r.status, VF_OK) << '"' << c.text << "\" d=" << c.d;
    EXPECT_EQ(r.bits(), std::bit_cast<uint64_t>(c.value))
        << '"' << c.text << "\" d=" << c.d << " got " << r.number();
  }
}

// Each text gives `status`, outlen 8 and the standard missing value.
void expect_status(fmtfn fn, std::initializer_list<std::string> texts,
                   int32_t status, int32_t d = 0) {
  for (const std::string &t : texts) {
    const vftest::Run r = vftest::input(fn, t, -1, d);
    EXPECT_EQ(r.status, status) << '"' << t << '"';
    EXPECT_EQ(r.outlen, 8) << '"' << t << '"';
    EXPECT_EQ(r.bits(), kStd) << '"' << t << '"';
  }
}

constexpr fmtfn kReaders[] = {wzifmn, zifmcma, zifmcmx, zifmpct,
                              zifmbz, zifmnmx, zifmyen, sizkmgi};

// Plain digit folding is swept against references in folding_test.cpp;
// here what that sweep does not generate ("12." with d=2: the point wins;
// "-0.000" reads without its sign).
TEST(InformatReader, DecimalTextsNotationsAndImpliedDecimals) {
  expect_values(wzifmn, {{"  -12.5e3  ", -12500.0},
                         {"\t+42\t", 42.0},
                         {"12.", 12.0, 2},
                         {"1200", 1200.0, 99},
                         {"-0.000", 0.0, 3},
                         {"0E99999", 0.0},
                         {"12 x", 12.0, 0, 2},
                         {"", missing(0xFE)},
                         {"\t \t", missing(0xFE)},
                         {"..", missing(0xFE)},
                         {"-.", missing(0xFE)},
                         {".a", missing(0xFD)},
                         {"Z", missing(0xE4)},
                         {"._", missing(0xFF)},
                         {"+.B", missing(0xFC)},
                         {" .c ", missing(0xFB)},
                         {"  7", missing(0xFE), 0, 2}});
}

TEST(InformatReader, InvalidAndOutOfRange) {
  expect_status(wzifmn,
                {"+", "-", "1 2", "1,2", "1-", "--1", "1..2", "1E", "1E+",
                 "1e-", "1E5x", "1E+-5", "1E 5", "..A", "_5", "12a", "1\xA0",
                 std::string("1\0002", 3)},
                VF_ERR_INVALID_DATA);
  expect_status(wzifmn,
                {"1E-617", "5E999999999999", "1E-999999999999",
                 std::string(400, '9'), "0." + std::string(700, '0') + "1"},
                VF_WARN_RANGE);
  // The scale limits are inclusive; below 10^-308 the scale is applied in
  // two steps, so subnormal results survive.
  for (const char *t : {"1E308", "1E-320", "100E-310", "4.9E-324"}) {
    const double want = std::strtod(t, nullptr);
    EXPECT_NEAR(vftest::input(wzifmn, t).number(), want, want * 1e-3) << t;
  }
  expect_values(wzifmn, {{std::string(32766, ' ') + "5", 5.0},
                         {"1" + std::string(300, '0') + "E-300", 1.0}});
}

TEST(InformatReader, WidthDecimalsAndCallBlockLimits) {
  EXPECT_EQ(vftest::input(wzifmn, "12", -3).status, VF_ERR_WD_LIMITS);
  for (int32_t d : {32, 97, 100, -1}) { // the result is left as it was
    const vftest::Run r = vftest::input(wzifmn, "12", -1, d);
    EXPECT_EQ(r.status, VF_ERR_WD_LIMITS) << d;
    EXPECT_EQ(r.text, "########") << d;
  }
  // valuelen 0 or negative, and a null text with a positive length.
  fmtcall c{};
  c.w = 8;
  c.value = "12345678";
  c.valuelen = -1;
  EXPECT_EQ(vftest::run_block(wzifmn, nullptr, c, 8).bits(), kStd);
  c.value = nullptr;
  c.valuelen = 8;
  EXPECT_EQ(vftest::run_block(wzifmn, nullptr, c, 8).bits(), kStd);
  // A result buffer too small for the double receives nothing.
  for (fmtfn fn : kReaders) {
    for (int32_t size : {0, 7}) {
      const vftest::Run r = vftest::input(fn, "5", 1, 0, size);
      EXPECT_EQ(r.status, VF_ERR_OUTSIZE);
      EXPECT_EQ(r.outlen, 0);
      EXPECT_EQ(r.buffer, std::string(static_cast<std::size_t>(size), '#'));
    }
    EXPECT_EQ(fn(nullptr), VF_ERR_BAD_CALL);
  }
}

// The codes themselves are read through wzifmn above; here the texts that
// are not a notation, and the byte count.
TEST(InformatNotation, NonNotationsAndTheByteCount) {
  for (const std::string t : {"..", "AB", ".A x", "1", "\t"}) {
    double out = 42.0;
    const auto len = static_cast<int32_t>(t.size());
    EXPECT_EQ(valfmt::read_missing_notation(t.data(), len, &out), 0) << t;
    EXPECT_EQ(std::bit_cast<uint64_t>(out), kStd) << t;
  }
  double out = 42.0;
  EXPECT_EQ(valfmt::read_missing_notation(".A", 1, &out), 1); // 1 byte counts
  EXPECT_EQ(std::bit_cast<uint64_t>(out), kStd);
}

TEST(InformatComma, PunctuationSignsAndParentheses) {
  expect_values(zifmcma, {{"(1,234.50)", -1234.5},
                          {"-$1,234.50", -1234.5},
                          {"$1,234", 12.34, 2},
                          {"12-", 12.0}, // a trailing minus is deleted
                          {"--5", -5.0},
                          {"1,234,567", 1234.0, 0, 5},
                          {"1" + std::string(31, ',') + "2", 1.0}, // 32 bytes
                          {"-.A", missing(0xFD)},
                          {"(.)", missing(0xFE)}});
  expect_status(zifmcma, {"1(2)", "((1)", "-(5"}, VF_ERR_PAREN_TWICE);
  expect_status(zifmcma, {"-", "(-", "-$"}, VF_ERR_SIGN);
  expect_status(zifmcma, {"12x", "(1E)"}, VF_ERR_INVALID_DATA);
  expect_status(zifmcma, {"(5)"}, VF_ERR_WD_LIMITS, 40);
  expect_values(zifmcmx, {{"(1.234,5)", -1234.5}, {"12345", 123.45, 2}});
  expect_status(zifmcmx, {"1,2,3"}, VF_ERR_INVALID_DATA);
  expect_status(zifmcmx, {"1(2"}, VF_ERR_PAREN_TWICE);
  expect_values(zifmpct, {{"25%", 0.25},
                          {"(25%)", -0.25},
                          {"25 %", 25.0, 0, 3}, // the % lies beyond w
                          {"1E-300%", 1e-300 / 100.0}});
  // A division that underflows is out of range like any other result.
  expect_status(zifmpct, {"1E-322%", "-4E-323%"}, VF_WARN_RANGE);
}

TEST(InformatCleaning, BlanksCommasYenAndSizes) {
  expect_values(
      zifmbz,
      {{"1 2 ", 1020.0}, {"  1 2", 102.0}, {"   ", 0.0}, {" -1 ", -10.0}});
  expect_status(zifmbz, {"1\t2"}, VF_ERR_INVALID_DATA);
  expect_values(zifmnmx, {{"-0,25", -0.25}, {" . ", missing(0xFE)}});
  expect_status(zifmnmx, {"1,234.5"}, VF_ERR_INVALID_DATA);
  expect_values(zifmyen, {{"(\\500)", -500.0}, {"5-", 5.0}});
  expect_status(zifmyen, {"1(2", "-(2"}, VF_ERR_PAREN_POSITION);
  expect_status(zifmyen, {"((1", "(1(2)"}, VF_ERR_PAREN_TWICE);
  expect_status(zifmyen, {"-", "(-)"}, VF_ERR_NOTHING_TO_READ);
  expect_values(sizkmgi, {{"10.5K", 10752.0},
                          {"2mB", 2097152.0},
                          {"7X", 7.0},
                          {"105K", 10752.0, 1},
                          {"1E299G", 1e299 * 1073741824.0},
                          {"5K", 0.0, 0, 0}, // an empty field reads as 0
                          {".k", missing(0xF3)}});
  expect_status(sizkmgi, {"KB", "1 2K"}, VF_ERR_INVALID_DATA);
  expect_status(sizkmgi, {"1E308G", "-9E307M"}, VF_WARN_RANGE);
}

TEST(InformatCleaning, EveryReaderHandlesHostileFields) {
  // NUL bytes, high bytes, long and empty fields: a defined value and no
  // read past valuelen (the input is fenced).
  const std::string texts[] = {std::string("1\0", 2), "\x80\xFF\xFE",
                               std::string(32767, '7'), std::string(32767, ' '),
                               ""};
  for (fmtfn fn : kReaders) {
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

// Resolved by name (kind 73) and invoked through xffmt as a host would:
// each name reaches its reader, and the double comes back unconverted
// whatever encoding the caller asks for.
TEST(InformatResolve, EachNameReadsItsNotation) {
  const struct {
    const char *name, *text;
    double want;
  } cases[] = {{"F", " 12.5e1", 125.0},   {"DOLLAR", "$(5)", -5.0},
               {"NEGPAREN", "(12)", -12}, {"DOLLARX", "$2,5", 2.5},
               {"PERCENT", "12%", 0.12},  {"BZ", "1 ", 10.0},
               {"NUMX", "3,25", 3.25},    {"YEN", "\\(7)", -7.0},
               {"SIZEKMG", "4K", 4096.0}};
  for (const auto &c : cases) {
    fmthandle_storage storage{};
    fmthandle *h = &storage.builtin;
    ASSERT_EQ(xfname3(c.name, static_cast<int32_t>(std::strlen(c.name)),
                      VF_KIND_INFORMAT, nullptr, &h, nullptr),
              VF_OK);
    const auto w = static_cast<int32_t>(std::strlen(c.text));
    const vftest::Run r =
        vftest::invoke(h, c.text, w, 0, 32, VF_ENC_NARROW, VF_ENC_UCS2);
    EXPECT_EQ(r.status, VF_OK) << c.name;
    EXPECT_EQ(r.number(), c.want) << c.name;
    EXPECT_EQ(r.buffer.substr(8), std::string(24, '#')) << "not widened";
  }
}

} // namespace
