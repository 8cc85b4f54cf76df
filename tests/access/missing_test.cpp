// Missing values: the test for one, the catalogue reader's table of them,
// and the writer that places the missing character in a field.
#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <string>

#include "core/missing.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

double from_bits(uint64_t bits) {
  return std::bit_cast<double>(bits);
}

TEST(MissingValues, TestAndTable) {
  EXPECT_EQ(zmiss(from_bits(0xFFFFFE0000000000ull)), 1);
  EXPECT_EQ(zmiss(from_bits(0xFFFF000000000000ull)), 1); // code byte 0
  EXPECT_EQ(zmiss(from_bits(0xFFFE000000000000ull)), 0);
  EXPECT_EQ(zmiss(from_bits(0xFFFFFE0000000001ull)), 0);
  EXPECT_EQ(zmiss(std::numeric_limits<double>::quiet_NaN()), 0);
  for (int k = 0; k < 28; ++k) // entry k carries code byte 0xFF - k
    EXPECT_EQ(valfmt::double_bits(ZMISSV(k)),
              0xFFFF000000000000ull |
                  (uint64_t{0xFFu - static_cast<unsigned>(k)} << 40))
        << k;
}

TEST(MissingValues, WriterPlacesTheCharacterInsideOutsize) {
  struct Case {
    uint64_t bits;
    int32_t w, d, outsize;
    const char *field; // all outsize bytes afterwards
  } cases[] = {
      {0xFFFFFE0000000000ull, 8, 2, 8, "     .  "},
      {0xFFFFFE0000000000ull, 8, 99, 8, "       ."},
      {0xFFFFE40000000000ull, 4, 0, 4, "   Z"},
      {0xFFFFFD0000000000ull, 4, 1, 4, "  A "},
      {0xFFFF000000000000ull, 4, 0, 4, "    "},
      {0xFFFF100000000000ull, 4, 0, 4, "    "},  // a code without character
      {0xFFFFFE0000000000ull, 40, 0, 4, "    "}, // w over outsize
      {0xFFFFFE0000000000ull, 3, 10, 4, "    "}, // before the field
  };
  for (const Case &c : cases) {
    const vftest::Run r =
        vftest::put(zfmmiss, from_bits(c.bits), c.w, c.d, c.outsize);
    EXPECT_EQ(r.status, VF_OK);
    EXPECT_EQ(r.buffer, c.field) << c.w << "." << c.d;
    EXPECT_EQ(r.outlen, std::min(c.w, c.outsize));
  }
}

} // namespace
