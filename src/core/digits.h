// Decimal digit writers shared by every family: digit pairs, digit counts
// and the right-aligned integer field.
#pragma once

#include <cstdint>
#include <cstring>

namespace valfmt {

// "00" .. "99".
inline constexpr char kDigitPairs[] = "00010203040506070809"
                                      "10111213141516171819"
                                      "20212223242526272829"
                                      "30313233343536373839"
                                      "40414243444546474849"
                                      "50515253545556575859"
                                      "60616263646566676869"
                                      "70717273747576777879"
                                      "80818283848586878889"
                                      "90919293949596979899";

// 10^0 .. 10^19 as exact integers.
inline constexpr uint64_t kPow10U64[20] = {1ull,
                                           10ull,
                                           100ull,
                                           1000ull,
                                           10000ull,
                                           100000ull,
                                           1000000ull,
                                           10000000ull,
                                           100000000ull,
                                           1000000000ull,
                                           10000000000ull,
                                           100000000000ull,
                                           1000000000000ull,
                                           10000000000000ull,
                                           100000000000000ull,
                                           1000000000000000ull,
                                           10000000000000000ull,
                                           100000000000000000ull,
                                           1000000000000000000ull,
                                           10000000000000000000ull};

// Two digits with a leading zero, v in 0..99.
inline void put_two_digits(char *p, int32_t v) {
  std::memcpy(p, kDigitPairs + 2 * v, 2);
}

// Decimal digit count of u (1 for 0).
inline int32_t digit_count(uint64_t u) {
  int32_t n = 1;
  while (n < 20 && u >= kPow10U64[n]) ++n;
  return n;
}

// Writes the n digits of u so that the last one lands at end[-1].
inline void write_digits_backward(char *end, uint64_t u, int32_t n) {
  while (n >= 2) {
    const auto pair = static_cast<std::size_t>(u % 100) * 2;
    u /= 100;
    end -= 2;
    end[0] = kDigitPairs[pair];
    end[1] = kDigitPairs[pair + 1];
    n -= 2;
  }
  if (n == 1) *--end = static_cast<char>('0' + u % 10);
}

// Writes v right-aligned in w bytes, '-' directly before the digits and
// blanks to the left.  If digits and sign do not fit, fills the w bytes
// with '*' and returns VF_ERR_OVERFLOW; else 0.  Nothing is written for a
// null buffer or w <= 0 (VF_ERR_OVERFLOW).
int32_t write_int_field(int64_t v, char *out, int32_t w);

} // namespace valfmt
