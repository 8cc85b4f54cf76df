// libFuzzer target: the encoding converters on arbitrary bytes.  Sources
// sit right before an unreadable page, destinations have exactly the
// capacity passed plus guard bytes.  Besides memory safety it checks what
// the converters promise: counts inside the capacity, results from the
// documented set, and that 16-bit text without surrogates survives the trip
// through UTF-8 unchanged.
//
// Input layout: a byte of destination capacity, a byte selecting the
// encoding for NLSNUMCHAR and the host encoding of the in-database
// widening, then the bytes to convert.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "valfmt.h"

namespace {

using vffuzz::fail;

struct Dest {
  explicit Dest(int32_t cap)
      : bytes(static_cast<std::size_t>(cap > 0 ? cap : 0) + vffuzz::kGuardBytes,
              vffuzz::kGuard),
        capacity(cap) {}
  bool intact() const {
    for (std::size_t i = static_cast<std::size_t>(capacity > 0 ? capacity : 0);
         i < bytes.size(); ++i)
      if (bytes[i] != vffuzz::kGuard) return false;
    return true;
  }
  std::vector<uint8_t> bytes;
  int32_t capacity;
};

void latin1(const uint8_t *src, int32_t n, int32_t cap) {
  Dest d(cap);
  int32_t units = -1;
  const int32_t st = LATIN1ToUNICODE(
      src, n, reinterpret_cast<uint16_t *>(d.bytes.data()), cap, &units);
  if (!d.intact()) fail("LATIN1ToUNICODE wrote past capacity", "", n, cap);
  const int32_t expect = n < cap / 2 ? n : cap / 2;
  if (units != expect) fail("LATIN1ToUNICODE unit count", "", units, expect);
  if (st != (expect < n ? 2 : 0)) fail("LATIN1ToUNICODE status", "", st, n);
}

// UTF-8 to units; then the units back to UTF-8 and once more to units.
void utf8_round_trip(const uint8_t *src, int32_t n, int32_t cap) {
  Dest d(cap);
  int32_t units = -1, bytes = -1;
  auto *u = reinterpret_cast<uint16_t *>(d.bytes.data());
  const int32_t st = UTF8ToUNICODE(src, n, u, cap, &units, &bytes);
  if (!d.intact()) fail("UTF8ToUNICODE wrote past capacity", "", n, cap);
  if (st < 0 || st > 2) fail("UTF8ToUNICODE status", "", st, n);
  if (units < 0 || 2 * units > (cap > 0 ? cap : 0) || bytes != 2 * units)
    fail("UTF8ToUNICODE counts", "", units, bytes);

  // The units, fenced, back to UTF-8 into a buffer that always fits.
  const uint8_t *fenced = vffuzz::Fence::get().place(
      reinterpret_cast<const uint8_t *>(u), static_cast<std::size_t>(bytes));
  std::vector<uint16_t> units_copy(static_cast<std::size_t>(units));
  if (units > 0)
    std::memcpy(units_copy.data(), fenced, static_cast<std::size_t>(bytes));
  const int32_t cap8 = 3 * units;
  Dest e(cap8);
  int32_t n16 = -1, n8 = -1;
  const int32_t st8 =
      UNICODEToUTF8(units_copy.data(), bytes, e.bytes.data(), cap8, &n16, &n8);
  if (!e.intact()) fail("UNICODEToUTF8 wrote past capacity", "", bytes, cap8);
  if (st8 != 0 || n16 != units || n8 < units || n8 > cap8)
    fail("UNICODEToUTF8 with room to spare", "", st8, n8);

  // Without surrogates, those bytes read back to the same units.
  bool surrogate = false;
  for (uint16_t x : units_copy) surrogate |= x >= 0xD800 && x <= 0xDFFF;
  if (!surrogate && units > 0) {
    std::vector<uint16_t> back(static_cast<std::size_t>(units));
    int32_t nb = -1;
    const int32_t stb =
        UTF8ToUNICODE(e.bytes.data(), n8, back.data(), 2 * units, &nb, nullptr);
    if (stb != 0 || nb != units || back != units_copy)
      fail("16-bit text changed through UTF-8", "", stb, nb);
  }

  // A short destination: never past it, never a split character.
  const int32_t small = cap8 / 3;
  Dest s(small);
  int32_t sn16 = -1, sn8 = -1;
  const int32_t sts = UNICODEToUTF8(units_copy.data(), bytes, s.bytes.data(),
                                    small, &sn16, &sn8);
  if (!s.intact()) fail("UNICODEToUTF8 wrote past capacity", "", bytes, small);
  if ((sts != 0 && sts != 2) || sn8 > small || sn16 > units ||
      (sts == 0 && sn16 != units) ||
      (sn8 > 0 && std::memcmp(s.bytes.data(), e.bytes.data(),
                              static_cast<std::size_t>(sn8)) != 0))
    fail("UNICODEToUTF8 into a short buffer", "", sts, sn8);

  // Case mapping in place, and the budget measure.
  UPCASE(units_copy.data(), units);
  LOWCASE(units_copy.data(), units);
}

void measures(const uint8_t *src, int32_t n, uint8_t enc) {
  const auto *units = reinterpret_cast<const uint16_t *>(src);
  const int32_t count = n / 2;
  for (int32_t budget : {0, 1, 3, n, 3 * n}) {
    const int32_t k = NLSNUMCHAR(units, count, enc, budget);
    if (k < 0 || k > count) fail("NLSNUMCHAR count", "", k, count);
  }
}

void names(const uint8_t *src, int32_t n) {
  std::vector<char> name(src, src + n);
  uint32_t id = 0xFFFFFFFF;
  const int32_t st = EncnameToID(name.data(), n, &id);
  if (st != 0 && st != 4) fail("EncnameToID status", "", st, n);
  if (st == 0 && (id < 20 || id > 229))
    fail("EncnameToID identifier", "", static_cast<long>(id), n);
}

void in_db(const uint8_t *src, int32_t n, uint8_t enc, int32_t width) {
  // In place: the text buffer holds the 16-bit result when it fits.
  const int32_t capacity = 2 * (n < 256 ? n : 256);
  Dest d(capacity);
  const int32_t len0 = n < 256 ? n : 256;
  if (len0 > 0)
    std::memcpy(d.bytes.data(), src, static_cast<std::size_t>(len0));
  int32_t len = len0;
  uint32_t outenc = 0;
  const int32_t r = getUCS2ResultFromNarrowCharBufForInDB(
      enc, 0, &outenc, d.bytes.data(), &len, width, capacity);
  if (!d.intact()) fail("in-database widening past capacity", "", n, capacity);
  if (r <= 0 && (len < 0 || len > capacity || outenc != VF_ENC_UCS2))
    fail("in-database widening result", "", r, len);
  if (r > 0 && len != len0) fail("refused widening changed length", "", r, len);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  const int32_t cap = data[0];
  const uint8_t enc = data[1];
  const auto n = static_cast<int32_t>(size - 2 > 4096 ? 4096 : size - 2);
  const uint8_t *src =
      vffuzz::Fence::get().place(data + 2, static_cast<std::size_t>(n));
  latin1(src, n, cap);
  measures(src + (n & 1), n - (n & 1), enc);
  names(src, n);
  in_db(src, n, enc, cap / 4);
  // Last: it reuses the fence for the units it produced.
  utf8_round_trip(src, n, cap);
  return 0;
}
