// The direct UCS-2 writer of the layout formats against the general
// fitting path: for every locale (and IDs outside the table), every layout
// format, boundary and random values, widths, decimals, host encodings and
// output sizes, the format call must leave the same bytes, length,
// encoding and status as the general path fed with conventions read from
// the locale fields.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "nls/locale_db.h"
#include "nls/nl_fast.h"
#include "nls/nl_number.h"
#include "registry/functions.h"
#include "valfmt.h"

namespace {

struct Member {
  fmtfn fn;
  int32_t field;
};

constexpr Member kMembers[] = {{nlnum, 126},  {nlnumi, 127}, {nlmny, 113},
                               {nlmnyi, 114}, {nlpct, 128},  {nlpcti, 129}};

constexpr int32_t kGuard = 16;
constexpr int32_t kBuffer = 128;

struct Outcome {
  int32_t status = 0;
  int32_t outlen = 0;
  uint32_t outenc = 0;
  std::vector<unsigned char> bytes; // the whole buffer, guards included
};

fmtcall block(double *v, char *out, int32_t w, int32_t d, int32_t loc,
              uint32_t inenc, int32_t outsize) {
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = v;
  c.valuelen = 8;
  c.out = out;
  c.outsize = outsize;
  c.localeid = loc;
  c.inenc = inenc;
  c.reqenc = VF_ENC_UCS2;
  return c;
}

Outcome finish(int32_t status, const fmtcall &c, const char *buf) {
  Outcome o;
  o.status = status;
  o.outlen = c.outlen;
  o.outenc = c.outenc;
  o.bytes.assign(buf, buf + kBuffer);
  return o;
}

// The general path: conventions read field by field, then the fitting
// loop, as the layout formats ran before the direct writer existed.
Outcome general(const Member &m, double v, int32_t w, int32_t d, int32_t loc,
                uint32_t inenc, int32_t outsize) {
  char buf[kBuffer];
  std::memset(buf, 0x5A, sizeof buf);
  fmtcall c = block(&v, buf + kGuard, w, d, loc, inenc, outsize);
  valfmt::NumberConventions conv;
  EXPECT_TRUE(valfmt::locale_conventions(loc, m.field, conv));
  const bool percent = m.field == 128 || m.field == 129;
  const double x = percent && v != 0 ? v * 100 : v;
  c.outlen = 0;
  const int32_t status = valfmt::fit_number(&c, conv, x, w, d < 0 ? 0 : d);
  return finish(status, c, buf);
}

Outcome through_format(const Member &m, double v, int32_t w, int32_t d,
                       int32_t loc, uint32_t inenc, int32_t outsize) {
  char buf[kBuffer];
  std::memset(buf, 0x5A, sizeof buf);
  fmtcall c = block(&v, buf + kGuard, w, d, loc, inenc, outsize);
  const int32_t status = m.fn(&c);
  return finish(status, c, buf);
}

void compare(const Member &m, double v, int32_t w, int32_t d, int32_t loc,
             uint32_t inenc, int32_t outsize, int &failures) {
  const Outcome a = through_format(m, v, w, d, loc, inenc, outsize);
  const Outcome b = general(m, v, w, d, loc, inenc, outsize);
  const bool same = a.status == b.status && a.outlen == b.outlen &&
                    a.outenc == b.outenc && a.bytes == b.bytes;
  if (!same && ++failures <= 20)
    ADD_FAILURE() << "field " << m.field << " locale " << loc << " value " << v
                  << " w " << w << " d " << d << " inenc " << inenc
                  << " outsize " << outsize << ": outlen " << a.outlen << " vs "
                  << b.outlen;
}

const double kEdges[] = {0.0,
                         -0.0,
                         0.5,
                         1.5,
                         2.5,
                         -2.5,
                         0.25,
                         0.75,
                         0.125,
                         0.375,
                         -0.625,
                         0.875,
                         0.005,
                         0.015,
                         0.045,
                         1.005,
                         2.675,
                         -0.001,
                         -0.004,
                         9.995,
                         99.995,
                         999.995,
                         999999.995,
                         1234.5,
                         -1234.5,
                         123456.78,
                         1234567.891,
                         -9999999.99,
                         123456789.125,
                         1e15,
                         1e16 - 2,
                         1e17,
                         9.999999999999998e17,
                         1e18,
                         1e19,
                         -1e22,
                         4503599627370495.5,
                         9007199254740993.0,
                         5e-324,
                         -1e-300,
                         DBL_MIN,
                         DBL_MAX,
                         0.1,
                         0.2,
                         0.3};

TEST(NlDirectWriter, SameBytesAsTheGeneralPath) {
  std::vector<int32_t> locales = {0, -1, 134, 1000};
  for (int32_t loc = 1; loc <= valfmt::kLocaleCount; ++loc)
    locales.push_back(loc);
  const int32_t widths[] = {1, 5, 12, 32};
  const int32_t decimals[] = {0, 2, 3, 17, 31};
  const uint32_t encodings[] = {
      0, VF_ENC_UCS2, VF_ENC_UCS2BE, VF_ENC_UTF8, 121, 26, 300};
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> magnitude(-8, 19);
  int failures = 0;
  int direct = 0;
  for (const int32_t loc : locales) {
    for (const Member &m : kMembers) {
      for (const double v : kEdges)
        for (const int32_t w : widths)
          for (const int32_t d : decimals)
            compare(m, v, w, d, loc, 0, 2 * w + 8, failures);
      for (int i = 0; i < 100; ++i) {
        double v = std::pow(10.0, magnitude(rng));
        if (i % 3 == 0) v = std::round(v * 100) / 100; // cents
        if (i % 4 == 0) v = -v;
        const auto w = static_cast<int32_t>(1 + rng() % 32);
        const auto d =
            static_cast<int32_t>(rng() % 6 == 0 ? rng() % 32 : rng() % 4);
        const uint32_t enc = i % 5 == 0 ? encodings[rng() % 7] : 0;
        int32_t outsize = 2 * w + 8;
        if (i % 7 == 0)
          outsize =
              static_cast<int32_t>(rng() % static_cast<uint64_t>(2 * w + 2));
        compare(m, v, w, d, loc, enc, outsize, failures);
        const valfmt::NumberLayout *l = valfmt::number_layout(loc, m.field);
        if (l != nullptr && l->direct) ++direct;
      }
    }
  }
  EXPECT_EQ(failures, 0);
  // The comparison is only worth something when the direct writer is the
  // one answering for most locales.
  EXPECT_GT(direct, 136 * 6 * 100 * 3 / 4);
}

} // namespace
