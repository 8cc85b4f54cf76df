// libFuzzer target: every built-in name of the name table, format or
// informat, through xfname3 and xffmt with hostile call blocks.
//
// Input layout: u16 row of the name table; w choice; d choice; outsize
// choice; input encoding; requested encoding; locale ID; options; a flags
// byte (bit 0 library-allocated handle, bit 1 numeric value from the value
// table, bit 2 null output when outsize <= 0, bits 4-7 the output fill);
// then, for a numeric format, 8 bytes of double (or an index into the
// value table); the rest is the input text of character formats and
// informats.
//
// Checked on every run: the input (placed right before an unreadable page,
// read-only during the call) is neither read past nor written; nothing is
// written after outsize; the status is one the library documents; a
// successful call reports an outlen inside the buffer.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "fuzz_support.h"
#include "valfmt.h"

namespace {

// Values that reach the edges of the numeric families: signed zeros,
// rounding ties, the ends of the date and datetime ranges, the largest
// integers a double holds exactly, infinities, NaNs with and without a
// payload, and missing values with every kind of code byte.
uint64_t value_bits(uint8_t k) {
  constexpr uint64_t kBits[] = {
      0x0000000000000000, 0x8000000000000000, 0x7FF0000000000000,
      0xFFF0000000000000, 0x7FF8000000000000, 0x7FF8000000000001,
      0x7FF0000000000001, 0xFFFFFE0000000000, 0xFFFFFF0000000000,
      0xFFFFE40000000000, 0xFFFF000000000000, 0xFFFF800000000000,
      0xFFFF7F0000000000, 0xFFFFFE0000000001, 0x0000000000000001,
      0x8000000000000001, 0x7FEFFFFFFFFFFFFF, 0xFFEFFFFFFFFFFFFF,
      0x0010000000000000,
  };
  constexpr double kDoubles[] = {
      1,
      -1,
      0.5,
      -0.5,
      0.49999999999999994,
      1.5,
      2.5,
      9.5,
      99.5,
      999999.5,
      -138061,
      -138062,
      6589335,
      6589336,
      -1e-20,
      86399.5,
      86400,
      43199.5,
      -11928470400.,
      569318591999.,
      1e15,
      1e16,
      9007199254740993.,
      1e300,
      -1e300,
      123456.789,
      -0.001,
      0.05,
      1e-7,
      3723.25,
      2147483648.,
      4294967296.,
      1e21,
      -1e21,
      59.999999999,
  };
  constexpr std::size_t nb = sizeof kBits / sizeof kBits[0];
  constexpr std::size_t nd = sizeof kDoubles / sizeof kDoubles[0];
  const std::size_t i = k % (nb + nd);
  if (i < nb) return kBits[i];
  uint64_t b;
  std::memcpy(&b, &kDoubles[i - nb], 8);
  return b;
}

// A width or decimals count in and around [lo, hi].
int32_t around(uint8_t k, int32_t lo, int32_t hi, int32_t def) {
  switch (k % 12) {
  case 0:
    return lo;
  case 1:
    return hi;
  case 2:
    return def;
  case 3:
    return lo - 1;
  case 4:
    return hi + 1;
  case 5:
    return 0;
  case 6:
    return -1;
  case 7:
    return k & 0x80 ? std::numeric_limits<int32_t>::max()
                    : std::numeric_limits<int32_t>::min();
  case 8:
    return 98 + (k >> 7);
  default: {
    const int32_t span = hi - lo + 3;
    return lo - 1 + static_cast<int32_t>(k) % (span > 0 ? span : 1);
  }
  }
}

int32_t pick_outsize(uint8_t k, int32_t w) {
  const int32_t ww = w > 0 && w < 40000 ? w : 64;
  switch (k % 8) {
  case 0:
    return ww;
  case 1:
    return 2 * ww;
  case 2:
    return ww - 1;
  case 3:
    return 0;
  case 4:
    return -1;
  case 5:
    return 8;
  case 6:
    return static_cast<int32_t>(k);
  default:
    return 2 * ww + static_cast<int32_t>(k % 7) - 3;
  }
}

uint32_t pick_encoding(uint8_t k) {
  constexpr uint32_t kEnc[] = {
      VF_ENC_NARROW, VF_ENC_UTF8, VF_ENC_UCS2BE, VF_ENC_UCS2, 1, 29, 62,
      0xFFFFFFFF};
  return kEnc[k % 8];
}

int32_t pick_locale(uint8_t k) {
  if (k < 141) return k;
  if (k < 250) return -static_cast<int32_t>(k - 140);
  return k & 1 ? std::numeric_limits<int32_t>::min()
               : std::numeric_limits<int32_t>::max();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 11) return 0;
  vffuzz::Reader in(data, size);
  const fmtposs_row *table = nullptr;
  int32_t rows = 0;
  get_fmt_poss_table(&table, &rows);
  const fmtposs_row &row = table[in.u16() % static_cast<uint16_t>(rows)];

  const char *name = row.fmtname;
  auto len = static_cast<int32_t>(row.fmtnamelen);
  const bool informat = name[0] == '@';
  if (informat) ++name, --len;
  const bool character = name[0] == '$';
  const bool numeric_in = !informat && !character;

  fmthandle_storage storage;
  fmthandle *h = &storage.builtin;
  const uint8_t wk = in.byte(), dk = in.byte(), ok = in.byte();
  const uint8_t ek = in.byte(), rk = in.byte(), lk = in.byte();
  const uint8_t optk = in.byte(), flags = in.byte();
  if (flags & 1) h = nullptr;
  fmtattr a{};
  if (xfname3(name, len, informat ? VF_KIND_INFORMAT : 'F', &a, &h, nullptr) !=
      VF_OK)
    vffuzz::fail("a name of the table does not resolve", row.fmtname, len, 0);

  fmtcall c{};
  c.w = around(wk, a.minw, a.maxw, a.defw);
  c.d = around(dk, 0, a.maxd, 0);
  c.outsize = pick_outsize(ok, c.w);
  c.inenc = pick_encoding(ek);
  c.reqenc = pick_encoding(rk);
  c.localeid = pick_locale(lk);
  c.options = optk & 0x0F;
  c.hostword = 0x0123456789ABCDEF;

  uint8_t number[8];
  const uint8_t *value;
  std::size_t bytes;
  if (numeric_in) {
    const uint64_t bits = flags & 2 ? value_bits(in.byte()) : in.u64();
    std::memcpy(number, &bits, 8);
    value = number;
    bytes = 8;
  } else {
    value = in.rest();
    bytes = in.left();
  }
  // The fence holds at most kFenceBytes; a longer input is cut to that,
  // so that valuelen never reaches before the fenced bytes.
  if (bytes > vffuzz::Fence::kFenceBytes) bytes = vffuzz::Fence::kFenceBytes;
  vffuzz::Fence &fence = vffuzz::Fence::get();
  c.value = fence.place(value, bytes);
  const bool wide = c.inenc == VF_ENC_UCS2 || c.inenc == VF_ENC_UCS2BE;
  c.valuelen = static_cast<int32_t>(wide ? bytes / 2 : bytes);
  if (wide && (bytes & 1)) c.value = static_cast<const uint8_t *>(c.value) + 1;

  vffuzz::Output out(c.outsize, static_cast<uint8_t>(0x20 + (flags >> 4)));
  c.out = (flags & 4) && c.outsize <= 0 ? nullptr : out.data();
  const fmtcall before = c;
  const int32_t st = xffmt(&c, h);

  if (!out.guard_intact())
    vffuzz::fail("wrote past outsize", row.fmtname, c.w, before.outsize);
  if (!vffuzz::documented(st))
    vffuzz::fail("undocumented status", row.fmtname, st, c.w);
  if ((st == VF_OK || st == VF_WARN) && before.out != nullptr &&
      (c.outlen < 0 || c.outlen > (before.outsize > 0 ? before.outsize : 0)))
    vffuzz::fail("outlen outside the buffer", row.fmtname, c.outlen,
                 before.outsize);
  if (c.w != before.w || c.d != before.d || c.value != before.value ||
      c.valuelen != before.valuelen || c.out != before.out ||
      c.outsize != before.outsize || c.hostword != before.hostword ||
      c.localeid != before.localeid || c.inenc != before.inenc ||
      c.reqenc != before.reqenc)
    vffuzz::fail("caller's call block changed", row.fmtname, c.w, c.d);
  xfdel(h);
  return 0;
}
