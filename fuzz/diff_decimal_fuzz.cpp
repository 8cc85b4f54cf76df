// libFuzzer target: the standard numeric reader's one-pass reading of
// plain decimal texts against its chunk folding.  Input: a decimals byte,
// then the text (at most 40 bytes); status and stored bits must agree.
#include <cstdint>
#include <cstring>
#include <vector>

#include "informats/informats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const int32_t decimals[] = {0, 1, 2, 3, 10, 22, 23, 31, 32, 98, 99, -1};
  const int32_t d = decimals[data[0] % (sizeof decimals / sizeof *decimals)];
  const size_t n = size - 1 > 40 ? 40 : size - 1;
  // An exact-size copy, so a read past the text is caught.
  const std::vector<char> text(data + 1, data + 1 + n);
  uint64_t a = 0x5A5A5A5A5A5A5A5Aull, b = a;
  const int32_t sa =
      valfmt::read_number(text.data(), static_cast<int32_t>(n), d, &a);
  const int32_t sb = valfmt::read_number_by_folding(
      text.data(), static_cast<int32_t>(n), d, &b);
  if (sa != sb || a != b) __builtin_trap();
  return 0;
}
