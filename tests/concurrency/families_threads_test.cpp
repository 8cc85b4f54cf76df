// One handle per format family, resolved once and used from eight threads at
// once: every thread must get exactly what a single thread got before.  The
// set covers the state that is easy to share by mistake: the euro rates, the
// user-format catalogue entries, the local-offset text of the ISO local-zone
// formats, the locale records (several locale IDs through one handle), the
// widening and narrowing work areas of the access layer, and the informats.
// Built once more under ThreadSanitizer by tools/ci/tsan.sh.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <latch>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "valfmt.h"

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 12;

std::string bytes_of(double v) {
  return {reinterpret_cast<const char *>(&v), sizeof v};
}

std::vector<std::string> numbers(std::initializer_list<double> vs) {
  std::vector<std::string> out;
  for (double v : vs) out.push_back(bytes_of(v));
  out.push_back(bytes_of(std::bit_cast<double>(0xFFFFFE0000000000ull)));
  return out;
}

std::vector<std::string> texts(std::initializer_list<const char *> ts) {
  return {ts.begin(), ts.end()};
}

struct Family {
  const char *name;
  bool informat;
  bool user; // from the sample catalogue
  int32_t w, d;
  std::vector<std::string> inputs;
  uint32_t inenc = VF_ENC_NARROW;
  uint32_t reqenc = VF_ENC_NARROW;
  std::vector<int32_t> locales = {0};
};

struct Result {
  int32_t status = 0;
  int32_t outlen = 0;
  uint32_t outenc = 0;
  std::string out;
  bool operator==(const Result &) const = default;
};

// Days 0, 21 December 2022 and 29 February 2000; 13:14:15.25; 21 December
// 2022 at 10:11:12.5.
const std::vector<Family> &families() {
  static const std::vector<Family> f = {
      {"F", false, false, 12, 2, numbers({0, -1234.567, 1e15, 0.005})},
      {"BEST", false, false, 12, 0, numbers({1.0 / 3, 123456789012.0, -2e-9})},
      {"COMMA", false, false, 12, 2, numbers({1234567.891, -0.5})},
      {"DOLLAR", false, false, 12, 2, numbers({1234567.891, -42})},
      {"EURFRDEM", false, false, 12, 2, numbers({100, 1.95583, -7})},
      {"EURTOFRF", false, false, 12, 2, numbers({100, 6.55957})},
      {"PD", false, false, 8, 2, numbers({-123.45, 99999999.99})},
      {"HEX", false, false, 16, 0, numbers({-1, 255})},
      {"DATE", false, false, 9, 0, numbers({0, 22999, 14669})},
      {"WEEKDATE", false, false, 29, 0, numbers({0, 22999})},
      {"TIME", false, false, 11, 2, numbers({47655.25, 0, 86399.999})},
      {"DATETIME", false, false, 22, 1, numbers({1987150272.5, -1, 0})},
      {"E8601DT", false, false, 21, 1, numbers({1987150272.5, 0})},
      {"E8601LZ", false, false, 14, 0, numbers({47655.25, 0})},
      {"B8601LZ", false, false, 12, 0, numbers({47655.25})},
      {"$N8601E", false, false, 40, 0,
       texts({"0001000200030004", "2022121210111201"})},
      {"NLDATE",
       false,
       false,
       30,
       0,
       numbers({22999, 0}),
       VF_ENC_NARROW,
       VF_ENC_NARROW,
       {1, 52, 69, 100, 133}},
      {"NLNUM",
       false,
       false,
       16,
       2,
       numbers({1234567.891, -0.5}),
       VF_ENC_NARROW,
       VF_ENC_UCS2,
       {1, 52, 69, 100}},
      {"NLMNY",
       false,
       false,
       20,
       2,
       numbers({1234567.891, -12}),
       VF_ENC_NARROW,
       VF_ENC_NARROW,
       {52, 30, 69}},
      {"NLDATM",
       false,
       false,
       40,
       0,
       numbers({1987150272.5}),
       VF_ENC_NARROW,
       VF_ENC_NARROW,
       {52, 20}},
      {"NLDATMTZ",
       false,
       false,
       40,
       0,
       numbers({1987150272.5}),
       VF_ENC_NARROW,
       VF_ENC_NARROW,
       {52, 63}},
      {"AGEGRP", false, true, 12, 0, numbers({5, 15, 42, 99, -3})},
      {"AMOUNT", false, true, 16, 2, numbers({1234.5, -7})},
      {"ISODAY", false, true, 12, 0, numbers({22999, 0})},
      {"$GRADE", false, true, 12, 0, texts({"A", "B", "C", "F", "caf\xE9"})},
      {"$GRADE", false, true, 12, 0, texts({"A", "caf\xC3\xA9", "\xC3"}),
       VF_ENC_UTF8},
      {"$GRADE",
       false,
       true,
       12,
       0,
       {std::string("B\0", 2), std::string("\xE9\0x\0", 4)},
       VF_ENC_UCS2,
       VF_ENC_UCS2},
      {"$CHAR", false, false, 8, 0, texts({"caf\xE9", "\x80\x81"}),
       VF_ENC_NARROW, VF_ENC_UCS2},
      {"DATE", true, false, 9, 0,
       texts({"21DEC2022", "29FEB2000", "31FEB2000"})},
      {"COMMA", true, false, 14, 2, texts({"$1,234.56", "(12)", "1,2x"})},
      {"DATETIME", true, false, 20, 0,
       texts({"21DEC2022:10:11:12.5", "01JAN1960:00:00:00"})},
      {"S370FPD",
       true,
       false,
       3,
       0,
       {std::string("\x00\x12\x3D", 3), std::string("\x12\x34\x5F", 3)}},
  };
  return f;
}

std::string sample_catalog() {
  std::ifstream in(std::string(VALFMT_SOURCE_DIR) + "/examples/cntlout.xml");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Handle {
  fmthandle_storage storage{};
  fmthandle *h = nullptr;
};

bool resolve(const Family &f, const std::string &catalog, Handle *out) {
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = catalog.data();
  mem.length = static_cast<int32_t>(catalog.size());
  fmtcontext ctx{};
  ctx.inmemory = &mem;
  out->h = &out->storage.builtin;
  return xfname3(f.name, static_cast<int32_t>(std::strlen(f.name)),
                 f.informat ? VF_KIND_INFORMAT : 'F', nullptr, &out->h,
                 f.user ? &ctx : nullptr) == VF_OK;
}

Result run(const Family &f, fmthandle *h, const std::string &input,
           int32_t locale) {
  const bool wide = f.inenc == VF_ENC_UCS2 || f.inenc == VF_ENC_UCS2BE;
  char out[256];
  std::memset(out, '#', sizeof out);
  fmtcall c{};
  c.w = f.w;
  c.d = f.d;
  c.value = input.data();
  c.valuelen = static_cast<int32_t>(wide ? input.size() / 2 : input.size());
  c.out = out;
  c.outsize =
      f.informat && f.name[0] != '$' ? 8 : static_cast<int32_t>(sizeof out);
  c.inenc = f.inenc;
  c.reqenc = f.reqenc;
  c.localeid = locale;
  Result r;
  r.status = xffmt(&c, h);
  r.outlen = c.outlen;
  r.outenc = c.outenc;
  if (c.outlen > 0 && c.outlen <= c.outsize)
    r.out.assign(out, static_cast<std::size_t>(c.outlen));
  return r;
}

TEST(Concurrency, EveryFamilyFromEightThreadsMatchesOneThread) {
  const std::string catalog = sample_catalog();
  ASSERT_FALSE(catalog.empty());
  const std::vector<Family> &fams = families();
  std::vector<Handle> handles(fams.size());
  // What one thread gets, per family, input and locale.
  for (std::size_t i = 0; i < fams.size(); ++i)
    ASSERT_TRUE(resolve(fams[i], catalog, &handles[i])) << fams[i].name;

  // The very first calls come from eight threads at once, so that state
  // set up on first use (the local offset, locale records) is set up under
  // contention; what they got is compared below as well.
  using PerFamily = std::vector<std::vector<Result>>;
  std::vector<PerFamily> first(kThreads, PerFamily(fams.size()));
  {
    std::latch go(kThreads);
    std::vector<std::thread> firsts;
    for (int t = 0; t < kThreads; ++t) {
      firsts.emplace_back([&, t] {
        PerFamily &mine = first[static_cast<std::size_t>(t)];
        go.arrive_and_wait();
        for (std::size_t k = 0; k < fams.size(); ++k) {
          const std::size_t i =
              (k + static_cast<std::size_t>(t) * 3) % fams.size();
          for (const std::string &in : fams[i].inputs)
            for (int32_t loc : fams[i].locales)
              mine[i].push_back(run(fams[i], handles[i].h, in, loc));
        }
      });
    }
    for (std::thread &th : firsts) th.join();
  }

  std::vector<std::vector<Result>> expected(fams.size());
  for (std::size_t i = 0; i < fams.size(); ++i) {
    bool worked = false;
    for (const std::string &in : fams[i].inputs)
      for (int32_t loc : fams[i].locales) {
        expected[i].push_back(run(fams[i], handles[i].h, in, loc));
        const int32_t st = expected[i].back().status;
        worked |= st == VF_OK || st == VF_WARN;
        EXPECT_NE(st, VF_ERR_NO_FUNCTION) << fams[i].name;
      }
    // A family whose every call fails would make the comparison empty.
    EXPECT_TRUE(worked) << fams[i].name << " produced nothing";
    for (int t = 0; t < kThreads; ++t)
      EXPECT_TRUE(first[static_cast<std::size_t>(t)][i] == expected[i])
          << fams[i].name << " differed on a first concurrent call";
  }

  std::atomic<int> mismatches{0};
  std::vector<std::string> first_miss(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      for (int round = 0; round < kRounds; ++round) {
        // Each thread walks the families from a different place, so that
        // different families and the same handle overlap in time.
        for (std::size_t k = 0; k < fams.size(); ++k) {
          const std::size_t i =
              (k + static_cast<std::size_t>(t) * 3) % fams.size();
          std::size_t j = 0;
          for (const std::string &in : fams[i].inputs)
            for (int32_t loc : fams[i].locales) {
              if (!(run(fams[i], handles[i].h, in, loc) == expected[i][j])) {
                if (mismatches.fetch_add(1) == 0)
                  first_miss[static_cast<std::size_t>(t)] = fams[i].name;
              }
              ++j;
            }
        }
      }
    });
  }
  for (std::thread &th : threads) th.join();
  std::string names;
  for (const std::string &n : first_miss) names += n + " ";
  EXPECT_EQ(mismatches.load(), 0) << "first differing family: " << names;
  for (Handle &h : handles) xfdel(h.h);
}

} // namespace
