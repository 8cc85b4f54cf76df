// User-defined formats: evaluation over large range tables and resolution
// from a large catalogue, each beside what a host would otherwise do (a
// sorted-array search with its own label copy; reading the text without
// parsing it).
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "catalog_header.h"
#include "valfmt.h"

namespace {

void row(std::string &s, const std::string &name, const std::string &start,
         const std::string &end, const std::string &label, char type,
         bool eexcl) {
  s += "<ROW>\n<FMTNAME>" + name + "</FMTNAME>\n<START>" + start +
       "</START>\n<END>" + end + "</END>\n<LABEL>" + label +
       "</LABEL>\n<MAX>40</MAX>\n<TYPE>";
  s += type;
  s += "</TYPE>\n";
  if (eexcl) s += "<EEXCL>Y</EEXCL>\n";
  s += "</ROW>\n";
}

constexpr const char *kFooter = "</TABLE>\n</LIBRARY>\n";

struct Resolved {
  std::string text;
  fmtinmemory mem{};
  fmtcontext ctx{};
  fmthandle_storage storage{};
  fmthandle *h = &storage.builtin;
  int32_t rc = 1;

  void resolve(const char *name) {
    std::memcpy(mem.marker, "INMEMORY", 8);
    mem.text = text.data();
    mem.length = static_cast<int32_t>(text.size());
    ctx.inmemory = &mem;
    rc = xfname3(name, static_cast<int32_t>(std::strlen(name)), 'F', nullptr,
                 &h, &ctx);
  }
  ~Resolved() {
    if (rc == 0) xfdel(h);
  }
};

constexpr int kNumRanges = 100000;
constexpr int kCharRanges = 10000;

Resolved &numeric_format() {
  static Resolved r;
  if (r.text.empty()) {
    r.text = benchinputs::catalog_header();
    for (int i = 0; i < kNumRanges; ++i)
      row(r.text, "BIG", std::to_string(10 * i), std::to_string(10 * i + 10),
          "label" + std::to_string(i), 'N', true);
    r.text += kFooter;
    r.resolve("BIG");
  }
  return r;
}

std::string key6(int i) {
  char b[8];
  std::snprintf(b, sizeof b, "%06d", i);
  return b;
}

Resolved &character_format() {
  static Resolved r;
  if (r.text.empty()) {
    r.text = benchinputs::catalog_header();
    for (int i = 0; i < kCharRanges; ++i)
      row(r.text, "CBIG", key6(2 * i) + "A", key6(2 * i + 1) + "Z",
          "c" + std::to_string(i), 'C', false);
    r.text += kFooter;
    r.resolve("$CBIG");
  }
  return r;
}

std::vector<double> random_values(int n, double hi) {
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> d(0, hi);
  std::vector<double> v(static_cast<size_t>(n));
  for (double &x : v) x = d(rng);
  return v;
}

void BM_NumericFormat100kRanges(benchmark::State &state) {
  Resolved &r = numeric_format();
  if (r.rc != 0) {
    state.SkipWithError("resolution failed");
    return;
  }
  const std::vector<double> values = random_values(4096, 10.0 * kNumRanges);
  char out[64];
  fmtcall c{};
  c.w = 12;
  c.out = out;
  c.outsize = sizeof out;
  c.reqenc = VF_ENC_UCS2;
  size_t i = 0;
  for (auto _ : state) {
    c.value = &values[i++ & 4095];
    benchmark::DoNotOptimize(xffmt(&c, r.h));
    benchmark::DoNotOptimize(out[0]);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_NumericFormat100kRanges);

// Peer: binary search in a sorted array of starts and a copy of the label.
void BM_Peer_SortedArray100kRanges(benchmark::State &state) {
  std::vector<double> starts(kNumRanges);
  std::vector<std::u16string> labels(kNumRanges);
  for (int i = 0; i < kNumRanges; ++i) {
    starts[static_cast<size_t>(i)] = 10.0 * i;
    std::string l = "label" + std::to_string(i);
    labels[static_cast<size_t>(i)] = std::u16string(l.begin(), l.end());
  }
  const std::vector<double> values = random_values(4096, 10.0 * kNumRanges);
  char16_t out[32];
  size_t i = 0;
  for (auto _ : state) {
    const double v = values[i++ & 4095];
    const auto it = std::upper_bound(starts.begin(), starts.end(), v);
    const auto &l = labels[static_cast<size_t>(it - starts.begin() - 1)];
    const size_t n = std::min<size_t>(l.size(), 12);
    std::memcpy(out, l.data(), 2 * n);
    std::fill(out + n, out + 12, u' ');
    benchmark::DoNotOptimize(out[0]);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_Peer_SortedArray100kRanges);

std::vector<std::u16string> random_keys(int n) {
  std::mt19937 rng(2);
  std::vector<std::u16string> v(static_cast<size_t>(n));
  for (auto &k : v) {
    const std::string s =
        key6(static_cast<int>(rng() % (2 * kCharRanges))) + "M";
    k.assign(s.begin(), s.end());
  }
  return v;
}

void BM_CharacterFormat10kRanges(benchmark::State &state) {
  Resolved &r = character_format();
  if (r.rc != 0) {
    state.SkipWithError("resolution failed");
    return;
  }
  const std::vector<std::u16string> keys = random_keys(4096);
  char out[64];
  fmtcall c{};
  c.w = 8;
  c.out = out;
  c.outsize = sizeof out;
  c.inenc = VF_ENC_UCS2;
  c.reqenc = VF_ENC_UCS2;
  size_t i = 0;
  for (auto _ : state) {
    const std::u16string &k = keys[i++ & 4095];
    c.value = k.data();
    c.valuelen = static_cast<int32_t>(k.size());
    benchmark::DoNotOptimize(xffmt(&c, r.h));
    benchmark::DoNotOptimize(out[0]);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_CharacterFormat10kRanges);

void BM_Peer_SortedStrings10kRanges(benchmark::State &state) {
  std::vector<std::u16string> starts(kCharRanges);
  for (int i = 0; i < kCharRanges; ++i) {
    const std::string s = key6(2 * i) + "A";
    starts[static_cast<size_t>(i)].assign(s.begin(), s.end());
  }
  const std::vector<std::u16string> keys = random_keys(4096);
  size_t i = 0;
  for (auto _ : state) {
    const auto it =
        std::upper_bound(starts.begin(), starts.end(), keys[i++ & 4095]);
    benchmark::DoNotOptimize(it);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_Peer_SortedStrings10kRanges);

// A catalogue of about 10 MB: 3050 formats of 20 ranges each.
const std::string &large_catalogue() {
  static const std::string text = [] {
    std::string s = benchinputs::catalog_header();
    for (int f = 0; f < 3050; ++f) {
      char name[16];
      std::snprintf(name, sizeof name, "FMT%05d", f);
      for (int i = 0; i < 20; ++i)
        row(s, name, std::to_string(100 * i), std::to_string(100 * i + 100),
            "range " + std::to_string(i) + " of format " + name, 'N', true);
    }
    return s + kFooter;
  }();
  return text;
}

// Resolves one format of the large catalogue per iteration; the counters
// give the catalogue's size and the heap that the handle holds.
void resolve_large(benchmark::State &state, const char *name, bool file) {
  const std::string &text = large_catalogue();
  char dir[] = "/tmp/valfmt_bench_XXXXXX";
  char old[4096] = {};
  if (file) {
    if (mkdtemp(dir) == nullptr || getcwd(old, sizeof old) == nullptr ||
        chdir(dir) != 0) {
      state.SkipWithError("no temporary directory");
      return;
    }
    std::ofstream("cntlout.xml") << text;
  }
  fmtinmemory mem{};
  std::memcpy(mem.marker, "INMEMORY", 8);
  mem.text = text.data();
  mem.length = static_cast<int32_t>(text.size());
  fmtcontext ctx{};
  if (!file) ctx.inmemory = &mem;
  size_t held = 0;
  for (auto _ : state) {
    const size_t before = mallinfo2().uordblks;
    fmthandle *h = nullptr;
    if (xfname2(name, static_cast<int32_t>(std::strlen(name)), 'F', nullptr, &h,
                &ctx) != 0) {
      state.SkipWithError("resolution failed");
      break;
    }
    held = mallinfo2().uordblks - before;
    xfdel(h);
  }
  state.counters["catalogue_MB"] = static_cast<double>(text.size()) / 1e6;
  state.counters["handle_bytes"] = static_cast<double>(held);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  if (file) {
    std::remove("cntlout.xml");
    if (chdir(old) != 0) state.SkipWithError("chdir back failed");
    rmdir(dir);
  }
}

void BM_Resolve10MB_Last_InMemory(benchmark::State &state) {
  resolve_large(state, "FMT03049", false);
}
BENCHMARK(BM_Resolve10MB_Last_InMemory)->Unit(benchmark::kMillisecond);

void BM_Resolve10MB_Middle_InMemory(benchmark::State &state) {
  resolve_large(state, "FMT01525", false);
}
BENCHMARK(BM_Resolve10MB_Middle_InMemory)->Unit(benchmark::kMillisecond);

void BM_Resolve10MB_Last_File(benchmark::State &state) {
  resolve_large(state, "FMT03049", true);
}
BENCHMARK(BM_Resolve10MB_Last_File)->Unit(benchmark::kMillisecond);

// Peer: one pass over the text that only finds the element boundaries.
void BM_Peer_ScanElements10MB(benchmark::State &state) {
  const std::string &text = large_catalogue();
  for (auto _ : state) {
    size_t n = 0;
    for (const char *p = text.data(), *e = p + text.size();
         (p = static_cast<const char *>(
              std::memchr(p, '>', static_cast<std::size_t>(e - p))));
         ++p)
      ++n;
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Peer_ScanElements10MB)->Unit(benchmark::kMillisecond);

} // namespace
