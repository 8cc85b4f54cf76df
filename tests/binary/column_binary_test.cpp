// Column binary: card columns built row by row here, read back as
// characters (@$CB, @CB), as one punch (@PUNCH) and as a row position
// (@ROW), with the card code of the common keypunch characters.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "binary/binary_test_util.h"
#include "binary/ebcdic.h"
#include "registry/functions.h"
#include "support/call_runner.h"

namespace {

using vftest::input;

// Two bytes for the punched rows: bits 5..0 of the first byte are rows
// 12, 11, 0, 1, 2, 3; of the second rows 4 .. 9.
std::string col(std::initializer_list<int> rows) {
  unsigned char top = 0, bottom = 0;
  for (int r : rows) {
    switch (r) {
    case 12:
      top |= 0x20;
      break;
    case 11:
      top |= 0x10;
      break;
    case 0:
      top |= 0x08;
      break;
    case 1:
      top |= 0x04;
      break;
    case 2:
      top |= 0x02;
      break;
    case 3:
      top |= 0x01;
      break;
    default:
      bottom |= static_cast<unsigned char>(0x20 >> (r - 4));
      break;
    }
  }
  return {static_cast<char>(top), static_cast<char>(bottom)};
}

char ascii_of_column(const std::string &column) {
  const vftest::Run r = input(zifmccb, column, 1, 0, 1);
  EXPECT_EQ(r.status, VF_OK);
  return static_cast<char>(valfmt::eb2as[static_cast<uint8_t>(r.text[0])]);
}

TEST(ColumnBinary, KeypunchCharacters) {
  EXPECT_EQ(ascii_of_column(col({})), ' ');
  for (int d = 1; d <= 9; ++d) {
    EXPECT_EQ(ascii_of_column(col({d})), '0' + d);
    EXPECT_EQ(ascii_of_column(col({12, d})), 'A' + d - 1);
    EXPECT_EQ(ascii_of_column(col({11, d})), 'J' + d - 1);
    if (d >= 2) {
      EXPECT_EQ(ascii_of_column(col({0, d})), 'S' + d - 2);
    }
  }
  EXPECT_EQ(ascii_of_column(col({0})), '0');
  EXPECT_EQ(ascii_of_column(col({12})), '&');
  EXPECT_EQ(ascii_of_column(col({11})), '-');
  EXPECT_EQ(ascii_of_column(col({0, 1})), '/');
  EXPECT_EQ(ascii_of_column(col({12, 8, 3})), '.');
  EXPECT_EQ(ascii_of_column(col({11, 8, 3})), '$');
  EXPECT_EQ(ascii_of_column(col({0, 8, 3})), ',');
  EXPECT_EQ(ascii_of_column(col({12, 8, 5})), '(');
  EXPECT_EQ(ascii_of_column(col({12, 8, 6})), '+');
  EXPECT_EQ(ascii_of_column(col({11, 8, 4})), '*');
  EXPECT_EQ(ascii_of_column(col({11, 8, 5})), ')');
  EXPECT_EQ(ascii_of_column(col({8, 4})), '@');
  EXPECT_EQ(ascii_of_column(col({8, 3})), '#');
  EXPECT_EQ(ascii_of_column(col({0, 8, 4})), '%');
  // The two high bits of each byte carry nothing.
  EXPECT_EQ(ascii_of_column("\xC4\xC0"), '1');
}

TEST(ColumnBinary, CharacterInformat) {
  const std::string text = col({12, 1}) + col({0, 2}) + col({});
  const vftest::Run r = input(zifmccb, text, 5, 0, 8);
  EXPECT_EQ(bintest::hex(r.text), "C1E240"
                                  "4040");
  // A lone last byte is a column whose rows 4..9 are empty.
  EXPECT_EQ(
      bintest::hex(input(zifmccb, col({12, 1}).substr(0, 1), 1, 0, 1).text),
      "C1");
  // Two punches among rows 1..7 stop the reading there.
  const vftest::Run bad = input(zifmccb, col({5}) + col({1, 2}), 2, 0, 4);
  EXPECT_EQ(bad.status, VF_ERR_SIGN);
  EXPECT_EQ(bintest::hex(bad.text), "F5");
  // The buffer bounds the field.
  EXPECT_EQ(input(zifmccb, text, 5, 0, 2).text.size(), 2u);
}

TEST(ColumnBinary, NumericInformat) {
  EXPECT_EQ(input(zifmcb, col({1}) + col({2}), 2).number(), 12.0);
  EXPECT_EQ(input(zifmcb, col({1}) + col({2}) + col({3}), 3, 1).number(), 12.3);
  EXPECT_EQ(input(zifmcb, col({11}) + col({5}), 2).number(), -5.0);
  // Rows 12 and 1 are 'A': the missing value A.
  EXPECT_EQ(input(zifmcb, col({12, 1}), 1).bits(),
            bintest::bits(bintest::missing(0xFD)));
  const vftest::Run bad = input(zifmcb, col({0, 1, 2}), 1);
  EXPECT_EQ(bad.status, VF_ERR_SIGN);
  EXPECT_EQ(bad.bits(), bintest::kStandardMissing);
  // Only whole columns within valuelen and w are read.
  EXPECT_EQ(input(zifmcb, col({4}) + col({2}) + "\x04", 2).number(), 42.0);
  EXPECT_EQ(input(zifmcb, col({4}) + col({2}), 1).number(), 4.0);
  EXPECT_EQ(input(zifmcb, col({4}), 33).status, VF_ERR_WD_LIMITS);
}

TEST(ColumnBinary, Punch) {
  const std::string c = col({3, 9});
  EXPECT_EQ(input(zifmpnc, c, 0, 3).number(), 1.0);
  EXPECT_EQ(input(zifmpnc, c, 0, 9).number(), 1.0);
  EXPECT_EQ(input(zifmpnc, c, 0, 4).number(), 0.0);
  EXPECT_EQ(input(zifmpnc, col({0}), 0, 10).number(), 1.0);
  EXPECT_EQ(input(zifmpnc, col({0}), 0, 0).number(), 1.0);
  EXPECT_EQ(input(zifmpnc, col({12}), 0, 12).number(), 1.0);
  // Only the first column counts; missing bytes are unpunched.
  EXPECT_EQ(input(zifmpnc, col({}) + col({5}), 0, 5).number(), 0.0);
  EXPECT_EQ(input(zifmpnc, c.substr(0, 1), 0, 9).number(), 0.0);
  EXPECT_EQ(input(zifmpnc, "", 0, 9).number(), 0.0);
  EXPECT_EQ(input(zifmpnc, c, 0, 13).status, VF_ERR_WD_LIMITS);
  EXPECT_EQ(input(zifmpnc, c, 0, -1).status, VF_ERR_WD_LIMITS);
}

TEST(ColumnBinary, Row) {
  EXPECT_EQ(input(zifmrow, col({0}), 12, 3).number(), 3.0);
  EXPECT_EQ(input(zifmrow, col({9}), 12, 12).number(), 12.0);
  EXPECT_EQ(input(zifmrow, col({1}), 0, 2).number(), 2.0);
  // The field runs on into the next column after row 9.
  EXPECT_EQ(input(zifmrow, col({}) + col({11}), 9, 3).number(), 3.0);
  EXPECT_EQ(input(zifmrow, col({}) + col({}) + col({12}), 12, 25).number(),
            25.0);
  const vftest::Run none = input(zifmrow, col({5}), 12, 3);
  EXPECT_EQ(none.status, VF_OK);
  EXPECT_EQ(none.bits(), bintest::kStandardMissing);
  const vftest::Run two = input(zifmrow, col({1, 3}), 1, 5);
  EXPECT_EQ(two.status, VF_ERR_SIGN);
  EXPECT_EQ(two.bits(), bintest::kStandardMissing);
  // Rows outside the field do not count.
  EXPECT_EQ(input(zifmrow, col({1, 7}), 1, 5).number(), 1.0);
  EXPECT_EQ(input(zifmrow, "", 12, 5).bits(), bintest::kStandardMissing);
  EXPECT_EQ(input(zifmrow, col({1}), 13, 1).status, VF_ERR_WD_LIMITS);
  EXPECT_EQ(input(zifmrow, col({1}), 1, 26).status, VF_ERR_WD_LIMITS);
}

} // namespace
