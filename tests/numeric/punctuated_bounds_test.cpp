// Punctuated, currency and euro formats on odd values, widths and buffers:
// nothing past outsize, the caller's block kept, the stated statuses.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/missing.h"
#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

struct Format {
  const char *name;
  fmtfn fn;
  bool plain_f_errors; // NaN and infinity give F's stars and status
};

const Format kFormats[] = {
    {"COMMA", zfmcma, true},        {"COMMAX", zfmcmax, true},
    {"DOLLAR", zfmdlr, true},       {"DOLLARX", zfmdlrx, true},
    {"YEN", zfmyen, true},          {"EUROX", zfmerx, true},
    {"EURO", zfmeuro, true},        {"NEGPAREN", zfmnprn, true},
    {"EURFRATS", zfmfats, true},    {"EURFRGBP", zfmfgbp, true},
    {"EURTOITL", zfmfitl_to, true}, {"EURTORUR", zfmfsur_to, true},
    {"PERCENT", zfmpct, false},     {"PERCENTN", pctn, false},
    {"PVALUE", zfmpval, false},     {"LOGPROB", zfmlprb, false},
    {"SSN", zfmssn, false},
};

double from_bits(uint64_t b) {
  return std::bit_cast<double>(b);
}

std::vector<double> odd_values() {
  std::vector<double> v = {
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::signaling_NaN(),
      from_bits(0xFFF8000000000000ull), // NaN with the sign bit
      from_bits(0xFFFF000000000001ull), // missing pattern with a low bit
      from_bits(0xFFFE000000000000ull), // top byte pair not all ones
      -0.0,
      1e16,
      -1e100,
      -DBL_MAX,
      DBL_MIN,
      -5e-324,
      -0.5,
      999999999999999.9};
  // Every code byte: the 28 missing characters, code 0, and codes that
  // name no character.
  for (int code = 0; code < 256; ++code)
    v.push_back(valfmt::missing_value(static_cast<uint8_t>(code)));
  return v;
}

struct Outcome {
  int32_t status;
  int32_t outlen;
  std::string text;
};

// Each value once behind a fenced page: a read past its eight bytes
// faults.
const char *fenced(double v) {
  static std::vector<std::unique_ptr<vftest::FencedBytes>> pages;
  static std::vector<uint64_t> bits;
  const uint64_t b = std::bit_cast<uint64_t>(v);
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i] == b) return pages[i]->data();
  pages.push_back(std::make_unique<vftest::FencedBytes>(vftest::bytes_of(v)));
  bits.push_back(b);
  return pages.back()->data();
}

// Runs fn with the value behind a fenced page and guard bytes after
// outsize, and checks that the caller's block keeps every field but
// outlen and outenc.
Outcome call(fmtfn fn, double v, int32_t w, int32_t d, int32_t outsize,
             bool null_out = false) {
  const std::size_t size = outsize > 0 ? static_cast<std::size_t>(outsize) : 0;
  std::vector<unsigned char> out(size + vftest::kGuardBytes, vftest::kGuard);
  std::memset(out.data(), '#', size);
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = fenced(v);
  c.valuelen = 8;
  c.out = null_out ? nullptr : out.data();
  c.outsize = outsize;
  c.outlen = -7;
  c.reserved40 = 0x0102030405060708ull;
  c.hostword = 0x1122334455667788ull;
  c.localeid = 7;
  fmtcall before = c;
  const int32_t status = fn(&c);
  for (std::size_t i = size; i < out.size(); ++i)
    EXPECT_EQ(out[i], vftest::kGuard) << "wrote past outsize " << outsize;
  before.outlen = c.outlen;
  before.outenc = c.outenc;
  EXPECT_EQ(std::memcmp(&before, &c, sizeof c), 0) << "caller's block changed";
  EXPECT_GE(c.outlen, 0);
  EXPECT_LE(c.outlen, null_out ? 0 : outsize);
  const auto n = static_cast<std::size_t>(
      c.outlen >= 0 && c.outlen <= outsize ? c.outlen : 0);
  return {status, c.outlen,
          std::string(reinterpret_cast<const char *>(out.data()), n)};
}

bool is_error(int32_t status) {
  return status < 0;
}

TEST(PunctuatedBounds, StatedStatusesForEveryWidthAndBuffer) {
  const std::vector<double> values = odd_values();
  const int32_t widths[] = {-1, 0, 1, 2, 4, 6, 11, 12, 32, 33, 32767};
  const int32_t decimals[] = {0, 2, 31, 98, 99, -5};
  for (const Format &f : kFormats) {
    for (int32_t w : widths) {
      for (int32_t d : decimals) {
        for (double v : values) {
          const std::string why =
              std::string(f.name) + " w=" + std::to_string(w) +
              " d=" + std::to_string(d) + " v=" + std::to_string(v);
          // The field the format writes: SSN always 11, PVALUE 6 for w < 1.
          const int32_t field = f.fn == zfmssn             ? 11
                                : f.fn == zfmpval && w < 1 ? 6
                                                           : w;
          if (field < 1) {
            const Outcome o = call(f.fn, v, w, d, 16);
            EXPECT_EQ(o.status, VF_ERR_WIDTH) << why;
            EXPECT_EQ(o.outlen, 0) << why;
            continue;
          }
          // A buffer one byte short, none at all, and no pointer.
          // EURTO is plain F, which refuses a width beyond 32 first.
          const bool plain_f = f.fn == zfmfitl_to || f.fn == zfmfsur_to;
          const int32_t refused = f.fn == zfmpval     ? VF_ERR_NO_ROOM
                                  : plain_f && w > 32 ? VF_ERR_WIDTH
                                                      : VF_ERR_OUTSIZE;
          for (int32_t small : {field - 1, 0}) {
            const Outcome o = call(f.fn, v, w, d, small);
            EXPECT_EQ(o.status, refused) << why << " outsize=" << small;
            const int32_t stars = small < 32 || !plain_f ? small : 32;
            EXPECT_EQ(o.text, std::string(static_cast<std::size_t>(stars), '*'))
                << why;
          }
          // No buffer pointer is a bad call, whatever outsize says (plain
          // F counts it as no room).
          EXPECT_EQ(call(f.fn, v, w, d, 64, true).status,
                    f.fn == zfmpval || plain_f ? refused : VF_ERR_BAD_CALL)
              << why;
          if (field > 64) continue;
          const Outcome o = call(f.fn, v, w, d, field + 8);
          if (!is_error(o.status)) {
            EXPECT_EQ(o.outlen, field) << why;
            EXPECT_EQ(o.text.find('\0'), std::string::npos) << why;
          }
        }
      }
    }
  }
}

TEST(PunctuatedBounds, NanAndInfinityShowStarsWithFsStatus) {
  const double nans[] = {std::numeric_limits<double>::quiet_NaN(),
                         from_bits(0xFFF8000000000000ull),
                         from_bits(0xFFFF000000000001ull)};
  for (const Format &f : kFormats) {
    if (!f.plain_f_errors) continue;
    for (int32_t w : {2, 6, 12, 32}) {
      for (double v : nans) {
        const Outcome o = call(f.fn, v, w, 2, w);
        EXPECT_EQ(o.status, VF_ERR_NOTHING_TO_READ) << f.name << " w=" << w;
        EXPECT_EQ(o.text, std::string(static_cast<std::size_t>(w), '*'))
            << f.name;
      }
      for (double v : {std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        const Outcome o = call(f.fn, v, w, 2, w);
        EXPECT_EQ(o.status, VF_ERR_WIDTH) << f.name << " w=" << w;
        EXPECT_EQ(o.text, std::string(static_cast<std::size_t>(w), '*'))
            << f.name;
      }
    }
  }
}

TEST(PunctuatedBounds, EveryMissingValueIsOneCharacterInBlanks) {
  for (const Format &f : kFormats) {
    for (int code = 0; code < 256; ++code) {
      const double v = valfmt::missing_value(static_cast<uint8_t>(code));
      const Outcome o = call(f.fn, v, 12, 2, 12);
      const std::string why =
          std::string(f.name) + " code " + std::to_string(code);
      EXPECT_EQ(o.status, VF_OK) << why;
      if (f.fn == zfmssn) {
        EXPECT_EQ(o.text, "...-..-....") << why;
        continue;
      }
      std::string expected(12, ' ');
      const char ch = f.fn == zfmlprb ? '.' : valfmt::missing_char(v);
      // F puts it under the last decimal; NEGPAREN moves it left with the
      // digits of positive values; PERCENT's number ends three columns
      // early and one column in; PVALUE and LOGPROB have their own places.
      const std::size_t col = f.fn == zfmnprn                  ? 8
                              : f.fn == zfmpct || f.fn == pctn ? 7
                              : f.fn == zfmpval                ? 9
                              : f.fn == zfmlprb                ? 11
                                                               : 9;
      expected[col] = ch;
      EXPECT_EQ(o.text, expected) << why;
    }
  }
  // Decimals the field cannot hold put the character in the last column,
  // as F does; NEGPAREN then has no free column left of it.
  const double dot = valfmt::standard_missing();
  EXPECT_EQ(call(zfmcma, dot, 4, 6, 4).text, "   .");
  EXPECT_EQ(call(zfmdlr, dot, 4, 6, 4).text, "   .");
  EXPECT_EQ(call(zfmerx, dot, 4, 6, 4).text, "   .");
  const Outcome paren = call(zfmnprn, dot, 1, 0, 1);
  EXPECT_EQ(paren.text, ".");
  EXPECT_EQ(paren.status, VF_ERR_NO_ROOM);
}

} // namespace
