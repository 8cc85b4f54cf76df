// Name lookup, field fetch and the conventions record of the locale
// database, through the exported entry points.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "nls/locale_db.h"
#include "valfmt.h"

namespace {

int32_t id_of(const char *name, int32_t len) {
  int32_t id = -7;
  const int32_t rc = LocnameToID(name, len, &id);
  EXPECT_EQ(rc == 0, id > 0) << name;
  return rc == 0 ? id : -rc;
}

TEST(LocaleNames, CaseAndAliases) {
  const std::pair<const char *, int32_t> cases[] = {
      {"eN_uS", 52}, {"iw_IL", 69},  {"he_il", 69},  {"sr_cs", 98},
      {"SR_RS", 98}, {"sh_yu", 102}, {"SH_CS", 102}, {"sh_rs", 102}};
  for (const auto &[name, id] : cases) EXPECT_EQ(id_of(name, 5), id) << name;
}

TEST(LocaleNames, RejectsWithStatusFiveAndIdZero) {
  // Record 133 has no name; wrong lengths and near misses are not found.
  for (const char *n : {"zh_XX", "en_U", "en_USA", "en-US", "xx_YY", "en_UT"}) {
    int32_t id = -7;
    EXPECT_EQ(LocnameToID(n, static_cast<int32_t>(std::strlen(n)), &id), 5)
        << n;
    EXPECT_EQ(id, 0) << n;
  }
  int32_t id = -7;
  EXPECT_EQ(LocnameToID("en_US", 4, &id), 5); // only four characters read
  EXPECT_EQ(LocnameToID(nullptr, 5, &id), 5);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(LocnameToID("en_US", 5, nullptr), 0);
}

TEST(LocaleNames, EveryNamedRecordAgreesWithItsCodes) {
  // The name of record n is its language code (field 2) and country code
  // (field 5) in upper case.
  for (int32_t n = 1; n <= 132; ++n) {
    std::string name(valfmt::locale_field(n, 2));
    name += '_';
    name += valfmt::locale_field(n, 5);
    ASSERT_EQ(name.size(), 5u) << n;
    for (char &c : name) c = static_cast<char>(std::toupper(c));
    EXPECT_EQ(id_of(name.c_str(), 5), n) << name;
  }
}

std::string fetch(int32_t locid, int32_t field, int32_t size, int32_t *rc) {
  std::string buf(static_cast<std::size_t>(size) + 8, 'x');
  *rc = getZOXLocDB(buf.data(), size, field, locid);
  // Nothing beyond the buffer size is written.
  EXPECT_EQ(buf.substr(static_cast<std::size_t>(size)), std::string(8, 'x'));
  return buf.substr(0, static_cast<std::size_t>(size));
}

TEST(LocaleFetch, FieldBytesThenZeros) {
  int32_t rc = 0;
  const std::string b = fetch(52, 0, 160, &rc);
  EXPECT_EQ(rc, 20);
  EXPECT_EQ(b.substr(0, 20), "English_UnitedStates");
  EXPECT_EQ(b.substr(20), std::string(140, '\0'));
  EXPECT_EQ(fetch(63, 62, 160, &rc).substr(0, 6), "Januar");
  EXPECT_EQ(rc, 6);
  // An empty field: length 0, buffer cleared.
  EXPECT_EQ(fetch(52, 103, 16, &rc), std::string(16, '\0'));
  EXPECT_EQ(rc, 0);
}

TEST(LocaleFetch, OutOfRangeIdsReadEnUs) {
  for (int32_t id : {0, 134, -1, 1000, INT32_MIN, INT32_MAX}) {
    for (int32_t field : {0, 28, 99, 113}) {
      int32_t rc = 0, rc52 = 0;
      EXPECT_EQ(fetch(id, field, 160, &rc), fetch(52, field, 160, &rc52));
      EXPECT_EQ(rc, rc52) << id << " " << field;
    }
  }
}

TEST(LocaleFetch, TooSmallBufferOrBadFieldFails) {
  int32_t rc = 0;
  EXPECT_EQ(fetch(52, 0, 10, &rc), std::string(10, '\0'));
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(fetch(52, 0, 19, &rc), std::string(19, '\0'));
  EXPECT_EQ(rc, -1);
  fetch(52, 0, 20, &rc);
  EXPECT_EQ(rc, 20); // exactly fits
  for (int32_t field : {-1, 143, 1 << 20}) {
    EXPECT_EQ(fetch(52, field, 32, &rc), std::string(32, '\0'));
    EXPECT_EQ(rc, -1);
  }
  EXPECT_EQ(getZOXLocDB(nullptr, 160, 0, 52), -1);
  char one[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(getZOXLocDB(one, -3, 0, 52), -1);
  EXPECT_EQ(one[0], 'x');
}

std::string text(const zoxltext &t) {
  return std::string(t.bytes, static_cast<std::size_t>(t.len));
}

struct Expected {
  const char *symbol, *point, *sep;
  int32_t grouping;
  const char *pos, *neg;
  int32_t ints[7]; // frac, p_cs, p_sep, p_sign, n_cs, n_sep, n_sign
};

void expect_conv(int32_t locid, int32_t field, const Expected &e) {
  zoxlfield h{};
  ASSERT_EQ(wzssglc(locid, field, &h), 0) << field;
  const zoxlconv &c = h.conv;
  EXPECT_EQ(text(c.currency_symbol), e.symbol) << field;
  EXPECT_EQ(text(c.decimal_point), e.point) << field;
  EXPECT_EQ(text(c.thousands_sep), e.sep) << field;
  EXPECT_EQ(c.grouping, e.grouping) << field;
  EXPECT_EQ(text(c.positive_sign), e.pos) << field;
  EXPECT_EQ(text(c.negative_sign), e.neg) << field;
  const int32_t got[7] = {c.frac_digits, c.p_cs_precedes, c.p_sep_by_space,
                          c.p_sign_posn, c.n_cs_precedes, c.n_sep_by_space,
                          c.n_sign_posn};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(got[k], e.ints[k]) << field << " " << k;
}

TEST(LocaleConventions, EnUsByRequestedField) {
  expect_conv(52, 113, {"$", ".", ",", 3, "", "-", {2, 1, 0, 1, 1, 0, 0}});
  expect_conv(52, 114, {"USD", ".", ",", 3, "", "-", {2, 1, 0, 1, 1, 0, 0}});
  expect_conv(52, 126, {"", ".", ",", 3, "", "-", {0, 0, 0, 1, 0, 0, 1}});
  expect_conv(52, 128, {"%", ".", ",", 3, "", "-", {0, 0, 0, 1, 0, 0, 1}});
  // The default record answers for an unknown ID.
  expect_conv(0, 113, {"$", ".", ",", 3, "", "-", {2, 1, 0, 1, 1, 0, 0}});
  zoxlfield h{};
  ASSERT_EQ(wzssglc(52, 113, &h), 0);
  EXPECT_EQ(std::string(h.text, static_cast<std::size_t>(h.len)),
            "<u00a4>#,##0.00;(<u00a4>#,##0.00)");
}

TEST(LocaleConventions, InternationalFormsIgnoreLocalSeparators) {
  // de_DE writes 1.234,5: its local forms carry those separators, the
  // international number and percent forms always ".", "," and 3.
  expect_conv(63, 126, {"", ",", ".", 3, "", "-", {0, 0, 0, 1, 0, 0, 1}});
  expect_conv(63, 127, {"", ".", ",", 3, "", "-", {0, 0, 0, 1, 0, 0, 1}});
  expect_conv(63, 129, {"%", ".", ",", 3, "", "-", {0, 0, 0, 1, 0, 0, 1}});
  zoxlfield h{};
  ASSERT_EQ(wzssglc(63, 114, &h), 0);
  EXPECT_EQ(text(h.conv.currency_symbol), "EUR");
  EXPECT_EQ(text(h.conv.decimal_point), ",");
  ASSERT_EQ(wzssglc(76, 113, &h), 0);
  EXPECT_EQ(text(h.conv.currency_symbol), "<UFFE5>");
}

TEST(LocaleConventions, OtherFieldsLeaveConventionsAlone) {
  zoxlfield h{};
  std::memset(&h.conv, 0x5A, sizeof h.conv);
  ASSERT_EQ(wzssglc(52, 62, &h), 0);
  EXPECT_EQ(std::string(h.text, static_cast<std::size_t>(h.len)), "January");
  EXPECT_EQ(h.conv.grouping, 0x5A5A5A5A);
  EXPECT_EQ(wzssglc(52, 113, nullptr), 1);
}

TEST(LocaleConventions, FailedFetchLeavesAnEmptyText) {
  // A field that cannot be fetched reports 1 and leaves length 0 and a
  // cleared text, never a negative length a careless caller could copy.
  zoxlfield h{};
  std::memset(&h, 0x5A, sizeof h);
  EXPECT_EQ(wzssglc(52, 143, &h), 1);
  EXPECT_EQ(h.len, 0);
  EXPECT_EQ(std::string(h.text, sizeof h.text),
            std::string(sizeof h.text, '\0'));
  std::memset(&h, 0x5A, sizeof h);
  EXPECT_EQ(wzssglc(52, -1, &h), 1);
  EXPECT_EQ(h.len, 0);
}

TEST(LocaleConventions, NumericFieldReading) {
  // Digits are read from the start up to the first other byte; the group
  // size is the last digit of the field.
  using valfmt::locale_field_grouping;
  using valfmt::locale_field_number;
  EXPECT_EQ(locale_field_number(""), 0);
  EXPECT_EQ(locale_field_number("0"), 0);
  EXPECT_EQ(locale_field_number("2"), 2);
  EXPECT_EQ(locale_field_number("279"), 279);
  EXPECT_EQ(locale_field_number("3;3"), 3);
  EXPECT_EQ(locale_field_number("1 "), 1);
  EXPECT_EQ(locale_field_number("-1"), 0);
  EXPECT_GT(locale_field_number("99999999999999999999"), 100000000);
  EXPECT_EQ(locale_field_grouping(""), 0);
  EXPECT_EQ(locale_field_grouping("3"), 3);
  EXPECT_EQ(locale_field_grouping("3;2"), 2);
  EXPECT_EQ(locale_field_grouping("3;2;"), 2);
  EXPECT_EQ(locale_field_grouping(";"), 0);
}

} // namespace
