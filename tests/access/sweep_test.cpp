// Every built name, invoked through xffmt with hostile widths, decimals,
// values and output sizes, stays inside its output buffer, never reads past
// its fenced input and keeps outlen within outsize.
#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "support/call_runner.h"
#include "valfmt.h"

namespace {

using vftest::FencedBytes;

// clang-format off
constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNumbers[] = {
    0.0, -0.0, 1.0, -1.5, 0.125, 123456789.987654321, -9.87654321e-7, 1e15,
    -1e300, 9007199254740993.0, 1e-320, kInf, -kInf,
    std::numeric_limits<double>::quiet_NaN(),
    std::bit_cast<double>(0xFFFFFE0000000000ull), // '.'
    std::bit_cast<double>(0xFFFFE40000000000ull), // 'Z'
    std::bit_cast<double>(0xFFFF100000000000ull), // a code without character
    6589335.0, -138062.0, 86399.999, 2e9};
const std::string kTexts[] = {
    "", "1", "  -12.5e3  ", "1,234,567.89", "(12)", ".A", "01JAN1960",
    std::string("abc\0def", 7), std::string("\xFF\xFE\x80\x00", 4),
    std::string(200, '9'), "12:34:56.789", "..", "$$$"};
// clang-format on
constexpr int32_t kWidths[] = {-5, 0,  1,  2,  3,   8,   16,
                               17, 32, 33, 64, 200, 5000};
constexpr int32_t kDecimals[] = {-999, -3, 0, 2, 31, 32, 80, 98, 99, 200};

// The inputs, each fenced once: numbers for numeric formats, texts for
// character formats and informats.
struct Inputs {
  std::vector<std::unique_ptr<FencedBytes>> numbers, texts;
  Inputs() {
    for (const double &v : kNumbers)
      numbers.push_back(std::make_unique<FencedBytes>(vftest::bytes_of(v)));
    for (const std::string &t : kTexts)
      texts.push_back(std::make_unique<FencedBytes>(t));
  }
};

// One call; false (with the failure reported) when it left its buffers.
bool stays_inside(fmthandle *h, fmtcall c, int32_t outsize) {
  const vftest::Run r = vftest::run_block(nullptr, h, c, outsize);
  if (!r.overrun && r.outlen >= 0 && r.outlen <= outsize) return true;
  ADD_FAILURE() << std::string(h->desc.name, h->desc.namelen) << " w=" << c.w
                << " d=" << c.d << " outsize=" << outsize
                << " outlen=" << r.outlen << (r.overrun ? " overran" : "");
  return false;
}

bool sweep_one(fmthandle *h, const Inputs &in, bool character) {
  const auto &values = character ? in.texts : in.numbers;
  for (int32_t w : kWidths) {
    for (int32_t d : kDecimals) {
      for (int32_t outsize : {0, 1, w > 0 ? w : 1, w > 0 ? 2 * w : 2}) {
        for (std::size_t i = 0; i < values.size(); ++i) {
          fmtcall c{};
          c.w = w;
          c.d = d;
          c.value = values[i]->data();
          c.valuelen = character ? static_cast<int32_t>(kTexts[i].size()) : 8;
          if (!stays_inside(h, c, outsize)) return false;
        }
      }
    }
    // 16-bit results, and 16-bit character input.
    const std::u16string units = u"a\u00E9\u20AC ";
    const FencedBytes wide(std::string_view(
        reinterpret_cast<const char *>(units.data()), units.size() * 2));
    fmtcall c{};
    c.w = w;
    c.value = character ? wide.data() : in.numbers[2]->data(); // 1.0
    c.valuelen = character ? 4 : 8;
    c.inenc = character ? VF_ENC_UCS2 : VF_ENC_NARROW;
    c.reqenc = VF_ENC_UCS2;
    if (!stays_inside(h, c, w > 0 ? 2 * w : 2)) return false;
  }
  return true;
}

TEST(Sweep, EveryBuiltNameStaysInsideItsBuffers) {
  const Inputs in;
  int swept = 0;
  for (const fmtposs_row &r : fmtposs) {
    const std::string full(r.fmtname, r.fmtnamelen);
    if (full[0] == '-') continue;
    const bool informat = full[0] == '@';
    const std::string name = full.substr(informat ? 1 : 0);
    fmthandle_storage st;
    fmthandle *h = &st.builtin;
    ASSERT_EQ(xfname3(name.data(), static_cast<int32_t>(name.size()),
                      informat ? VF_KIND_INFORMAT : 'F', nullptr, &h, nullptr),
              VF_OK)
        << name;
    if (h->desc.fn == nullptr) continue;
    ++swept;
    if (!sweep_one(h, in, informat || name[0] == '$')) return;
  }
  EXPECT_GT(swept, 0);
}

} // namespace
