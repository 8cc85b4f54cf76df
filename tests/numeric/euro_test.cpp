// The euro conversion formats, by name and from several threads.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "registry/functions.h"
#include "support/call_runner.h"
#include "valfmt.h"

namespace {

// The fixed rates, units of the currency per euro, and whether the
// currency's EURFR format shows English punctuation (EURO) instead of the
// European one (EUROX).
struct Currency {
  const char *code;
  double rate;
  bool english;
};

constexpr Currency kCurrencies[25] = {
    {"ATS", 13.7603, false}, {"BEF", 40.3399, false}, {"FIM", 5.94573, false},
    {"FRF", 6.55957, false}, {"DEM", 1.95583, false}, {"IEP", 0.787564, true},
    {"ITL", 1936.27, false}, {"LUF", 40.3399, false}, {"NLG", 2.20371, false},
    {"PTE", 200.482, false}, {"ESP", 166.386, false}, {"CHF", 1.6043, false},
    {"DKK", 7.49009, false}, {"GBP", 0.700132, true}, {"GRD", 340.885, false},
    {"SEK", 9.36591, false}, {"CZK", 34.8563, false}, {"HUF", 260.325, false},
    {"NOK", 9.1977, false},  {"RUR", 19.768, false},  {"TRL", 336.912, false},
    {"PLZ", 4.2, false},     {"ROL", 13.71, false},   {"YUD", 13.0644, false},
    {"SIT", 191.0, false},
};

fmthandle *resolve(const std::string &name, fmthandle_storage *st) {
  fmthandle *h = &st->builtin;
  EXPECT_EQ(xfname3(name.c_str(), static_cast<int32_t>(name.size()), 'F',
                    nullptr, &h, nullptr),
            VF_OK)
      << name;
  return h;
}

vftest::Run run_named(const std::string &name, double v, int32_t w, int32_t d) {
  fmthandle_storage st;
  fmthandle *h = resolve(name, &st);
  return vftest::invoke(h, vftest::bytes_of(v), w, d, w);
}

std::string fixed(double v, int32_t w, int32_t d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*.*f", static_cast<int>(w),
                static_cast<int>(d), v);
  return buf;
}

TEST(Euro, FallbackKeepsTheFTextAndStatus) {
  // 1000 euros in ITL need F6.2 to give up a decimal: the F text and its
  // status pass through, without grouping or euro character.
  const vftest::Run r = vftest::put(zfmfitl, 1936270, 6, 2);
  EXPECT_EQ(r.text, "1000.0");
  EXPECT_EQ(r.status, VF_WARN);
}

TEST(Euro, BothDirectionsForEveryCurrency) {
  for (const Currency &c : kCurrencies) {
    const std::string from = std::string("EURFR") + c.code;
    const std::string to = std::string("EURTO") + c.code;
    // A thousand euros' worth of the currency.
    vftest::Run r = run_named(from, c.rate * 1000, 12, 2);
    EXPECT_EQ(r.text, c.english ? "   E1,000.00" : "   E1.000,00") << from;
    EXPECT_EQ(r.status, VF_OK) << from;
    r = run_named(from, -c.rate * 1234.56, 13, 2);
    EXPECT_EQ(r.text, c.english ? "   E-1,234.56" : "   E-1.234,56") << from;
    // Euros into the currency: one multiplication, shown as plain F.
    r = run_named(to, 1000, 12, 2);
    EXPECT_EQ(r.text, fixed(c.rate * 1000, 12, 2)) << to;
    EXPECT_EQ(r.status, VF_OK) << to;
    r = run_named(to, 1, 12, 6);
    EXPECT_EQ(r.text, fixed(c.rate, 12, 6)) << to;
  }
}

// Every thread formats the same values with every euro format and the
// euro printers and compares with what one thread produced first.
TEST(Euro, ManyThreadsFormatAtOnce) {
  const std::vector<fmtfn> fns = {zfmfats,    zfmfiep,    zfmfgbp,
                                  zfmfsit,    zfmfats_to, zfmfgbp_to,
                                  zfmfsur_to, zfmerx,     zfmeuro};
  const double values[] = {1955.83, -1234.5, 0.01, 1e9, 700.132};
  auto render_all = [&] {
    std::string all;
    for (fmtfn fn : fns) {
      for (double v : values) {
        char out[16];
        fmtcall c{};
        c.w = 16;
        c.d = 2;
        c.value = &v;
        c.out = out;
        c.outsize = sizeof out;
        const int32_t st = fn(&c);
        all.append(out, static_cast<std::size_t>(c.outlen));
        all += static_cast<char>('0' + st);
      }
    }
    return all;
  };
  const std::string expected = render_all();
  EXPECT_NE(expected.find("E1.955,83"), std::string::npos);
  std::vector<std::thread> threads;
  std::vector<int> mismatches(8, 0);
  for (std::size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i)
        if (render_all() != expected) ++mismatches[t];
    });
  }
  for (std::thread &th : threads) th.join();
  for (int m : mismatches) EXPECT_EQ(m, 0);
}

} // namespace
