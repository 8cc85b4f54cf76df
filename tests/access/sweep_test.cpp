// Every built-in name, invoked through xffmt with hostile widths, decimals
// and values, must stay inside its output buffer, never read past its input
// and keep outlen within outsize.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "valfmt.h"

namespace {

constexpr unsigned char kGuard = 0xA5;

struct Probe {
  std::string name;
  bool informat;
  bool character; // character value in (formats) / character result (inf.)
  fmthandle handle;
};

std::vector<Probe> built_names() {
  std::vector<Probe> v;
  for (const fmtposs_row &r : fmtposs) {
    std::string full(r.fmtname, r.fmtnamelen);
    if (full[0] == '-') continue;
    const bool informat = full[0] == '@';
    const std::string name = informat ? full.substr(1) : full;
    Probe p{name, informat, name[0] == '$', {}};
    fmthandle *h = &p.handle;
    fmthandle_storage st;
    h = &st.builtin;
    if (xfname3(name.data(), static_cast<int32_t>(name.size()),
                informat ? VF_KIND_INFORMAT : 'F', nullptr, &h, nullptr) != 0)
      continue;
    if (h->desc.fn == nullptr) continue;
    p.handle = *h;
    p.handle.self = nullptr; // fixed up by the caller when it copies
    v.push_back(p);
  }
  return v;
}

// Input bytes live at the end of a page-sized buffer followed by guard bytes
// the callee must not change; the output is followed by guard bytes too.
void probe_once(const Probe &p, int32_t w, int32_t d, const void *value,
                int32_t valuelen, int32_t outsize, uint32_t inenc,
                uint32_t reqenc) {
  fmthandle h = p.handle;
  h.self = &h;
  std::vector<unsigned char> out(static_cast<std::size_t>(outsize) + 64,
                                 kGuard);
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = value;
  c.valuelen = valuelen;
  c.out = out.data();
  c.outsize = outsize;
  c.inenc = inenc;
  c.reqenc = reqenc;
  xffmt(&c, &h);
  for (std::size_t i = static_cast<std::size_t>(outsize); i < out.size(); ++i)
    ASSERT_EQ(out[i], kGuard)
        << p.name << " w=" << w << " d=" << d << " outsize=" << outsize
        << " wrote past outsize at " << i;
  ASSERT_GE(c.outlen, 0) << p.name << " w=" << w << " d=" << d;
  ASSERT_LE(c.outlen, outsize) << p.name << " w=" << w << " d=" << d;
}

TEST(Sweep, EveryBuiltNameStaysInsideItsBuffers) {
  const std::vector<Probe> probes = built_names();
  const double numbers[] = {0.0,
                            -0.0,
                            1.0,
                            -1.5,
                            0.125,
                            123456789.987654321,
                            -9.87654321e-7,
                            1e15,
                            -1e300,
                            9007199254740993.0,
                            1e-320,
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(),
                            std::bit_cast<double>(0xFFFFFE0000000000ull),
                            std::bit_cast<double>(0xFFFFE40000000000ull),
                            std::bit_cast<double>(0xFFFF100000000000ull),
                            6589335.0,
                            -138062.0,
                            86399.999,
                            2e9};
  const std::string texts[] = {"",
                               "1",
                               "  -12.5e3  ",
                               "1,234,567.89",
                               "(12)",
                               ".A",
                               "01JAN1960",
                               "abc\0def",
                               "\xFF\xFE\x80\x00",
                               std::string(200, '9'),
                               "12:34:56.789",
                               "..",
                               "$$$"};
  const int32_t widths[] = {-5, 0, 1, 2, 3, 8, 16, 17, 32, 33, 64, 200, 5000};
  const int32_t decimals[] = {-999, -3, 0, 2, 31, 32, 80, 98, 99, 200};

  for (const Probe &p : probes) {
    SCOPED_TRACE(p.name);
    for (int32_t w : widths) {
      for (int32_t d : decimals) {
        for (int32_t outsize : {0, 1, w > 0 ? w : 1, w > 0 ? 2 * w : 2}) {
          if (!p.informat && !p.character) {
            for (double v : numbers) probe_once(p, w, d, &v, 8, outsize, 0, 0);
          } else {
            for (const std::string &t : texts) {
              // The text sits at the very end of its buffer.
              std::vector<char> in(t.begin(), t.end());
              probe_once(p, w, d, in.data(), static_cast<int32_t>(in.size()),
                         outsize, 0, 0);
            }
          }
          if (HasFatalFailure()) return;
        }
      }
      // 16-bit results and 16-bit character input.
      const double one = 1.0;
      const uint16_t units[] = {'a', 0xE9, 0x20AC, ' '};
      const int32_t os = w > 0 ? 2 * w : 2;
      if (!p.informat && !p.character)
        probe_once(p, w, 0, &one, 8, os, 0, VF_ENC_UCS2);
      else
        probe_once(p, w, 0, units, 4, os, VF_ENC_UCS2, VF_ENC_UCS2);
      if (HasFatalFailure()) return;
    }
  }
}

} // namespace
