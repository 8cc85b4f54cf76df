// Packed decimal and binary integers beside the hand-written converters a
// host would otherwise call: a BCD packer and unpacker for PD8.2,
// S370FPD8.2 and @S370FPD8.2, and a byte-swapped integer copy for IB8. and
// @IB8.  The peers sit behind a call boundary of their own, as a host's
// converter would.  Every benchmark handles the same 4096 values per
// iteration; items/s counts values.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr int kCount = 4096;

// Money amounts with two decimals, up to 10^9, a fifth of them negative.
const std::vector<double> &amounts() {
  static const std::vector<double> v = [] {
    std::vector<double> a;
    std::mt19937_64 rng(42);
    for (int i = 0; i < kCount; ++i) {
      const int digits = 1 + static_cast<int>(rng() % 11);
      auto cents = static_cast<int64_t>(
          rng() % static_cast<uint64_t>(std::pow(10.0, digits)));
      if (rng() % 5 == 0) cents = -cents;
      a.push_back(static_cast<double>(cents) / 100.0);
    }
    return a;
  }();
  return v;
}

// Whole numbers across the 64-bit range a double holds exactly.
const std::vector<double> &integers() {
  static const std::vector<double> v = [] {
    std::vector<double> a;
    std::mt19937_64 rng(7);
    for (int i = 0; i < kCount; ++i)
      a.push_back(static_cast<double>(static_cast<int64_t>(rng()) >> 11));
    return a;
  }();
  return v;
}

// The peer packer: |v| * 100 rounded, one digit a nibble from the right,
// sign nibble C or D last (S370FPD8.2 layout).
__attribute__((noinline)) void hand_pack(double v, unsigned char *out) {
  auto n = static_cast<uint64_t>(std::llround(std::fabs(v) * 100.0));
  out[7] = static_cast<unsigned char>((n % 10) << 4 | (v < 0 ? 0xD : 0xC));
  n /= 10;
  for (int i = 6; i >= 0; --i) {
    const unsigned lo = static_cast<unsigned>(n % 10);
    n /= 10;
    const unsigned hi = static_cast<unsigned>(n % 10);
    n /= 10;
    out[i] = static_cast<unsigned char>(hi << 4 | lo);
  }
}

// The peer unpacker: nibbles left to right, sign nibble last.
__attribute__((noinline)) double hand_unpack(const unsigned char *in) {
  uint64_t n = 0;
  for (int i = 0; i < 7; ++i) n = n * 100 + (in[i] >> 4) * 10 + (in[i] & 15);
  n = n * 10 + (in[7] >> 4);
  const double x = static_cast<double>(n) / 100.0;
  const unsigned sign = in[7] & 15;
  return sign == 0xD || sign == 0xB ? -x : x;
}

// The peer integer writer and reader: a byte-swapped 64-bit copy.
__attribute__((noinline)) void hand_int_out(double v, unsigned char *out) {
  const uint64_t u = __builtin_bswap64(static_cast<uint64_t>(std::llround(v)));
  std::memcpy(out, &u, 8);
}
__attribute__((noinline)) double hand_int_in(const unsigned char *in) {
  uint64_t u;
  std::memcpy(&u, in, 8);
  return static_cast<double>(static_cast<int64_t>(__builtin_bswap64(u)));
}

void run_format(benchmark::State &state, fmtfn fn, const std::vector<double> &v,
                int32_t w, int32_t d) {
  unsigned char out[16];
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.valuelen = 8;
  c.out = out;
  c.outsize = sizeof out;
  for (auto _ : state) {
    for (const double &x : v) {
      c.value = &x;
      benchmark::DoNotOptimize(fn(&c));
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}

// The fields fn writes for v, one after another, w bytes each.
std::vector<unsigned char> fields(fmtfn fn, const std::vector<double> &v,
                                  int32_t w, int32_t d) {
  std::vector<unsigned char> b(v.size() * static_cast<std::size_t>(w));
  for (std::size_t i = 0; i < v.size(); ++i) {
    fmtcall c{};
    c.w = w;
    c.d = d;
    c.value = &v[i];
    c.out = b.data() + i * static_cast<std::size_t>(w);
    c.outsize = w;
    fn(&c);
  }
  return b;
}

void run_informat(benchmark::State &state, fmtfn fn,
                  const std::vector<unsigned char> &in, int32_t w, int32_t d) {
  double out;
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.valuelen = w;
  c.out = &out;
  c.outsize = 8;
  for (auto _ : state) {
    for (std::size_t i = 0; i < in.size(); i += static_cast<std::size_t>(w)) {
      c.value = in.data() + i;
      benchmark::DoNotOptimize(fn(&c));
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_PD8_2(benchmark::State &s) {
  run_format(s, wzfmpd, amounts(), 8, 2);
}
void BM_S370FPD8_2(benchmark::State &s) {
  run_format(s, zf7pd, amounts(), 8, 2);
}
void BM_PeerBcdPack8_2(benchmark::State &state) {
  unsigned char out[8];
  for (auto _ : state) {
    for (const double x : amounts()) {
      hand_pack(x, out);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_InS370FPD8_2(benchmark::State &s) {
  static const auto in = fields(zf7pd, amounts(), 8, 2);
  run_informat(s, zif7pd, in, 8, 2);
}
void BM_PeerBcdUnpack8_2(benchmark::State &state) {
  static const auto in = fields(zf7pd, amounts(), 8, 2);
  for (auto _ : state) {
    for (std::size_t i = 0; i < in.size(); i += 8)
      benchmark::DoNotOptimize(hand_unpack(in.data() + i));
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_IB8(benchmark::State &s) {
  run_format(s, wzfmib, integers(), 8, 0);
}
void BM_PeerSwappedIntOut(benchmark::State &state) {
  unsigned char out[8];
  for (auto _ : state) {
    for (const double x : integers()) {
      hand_int_out(x, out);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_InIB8(benchmark::State &s) {
  static const auto in = fields(wzfmib, integers(), 8, 0);
  run_informat(s, wzifmib, in, 8, 0);
}
void BM_PeerSwappedIntIn(benchmark::State &state) {
  static const auto in = fields(zf7ib, integers(), 8, 0);
  for (auto _ : state) {
    for (std::size_t i = 0; i < in.size(); i += 8)
      benchmark::DoNotOptimize(hand_int_in(in.data() + i));
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}

BENCHMARK(BM_PD8_2);
BENCHMARK(BM_S370FPD8_2);
BENCHMARK(BM_PeerBcdPack8_2);
BENCHMARK(BM_InS370FPD8_2);
BENCHMARK(BM_PeerBcdUnpack8_2);
BENCHMARK(BM_IB8);
BENCHMARK(BM_PeerSwappedIntOut);
BENCHMARK(BM_InIB8);
BENCHMARK(BM_PeerSwappedIntIn);

} // namespace
