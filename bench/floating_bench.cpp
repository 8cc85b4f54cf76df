// Real binary and hexadecimal members beside what a host would otherwise
// write: memcpy and a byte swap for native and IEEE big-endian fields, a
// frexp/ldexp conversion for IBM hexadecimal floating point, and
// snprintf / strtoull for hexadecimal digits.  Every benchmark handles the
// same 4096 values per iteration; items/s counts values.
#include <benchmark/benchmark.h>

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "registry/functions.h"
#include "valfmt.h"

namespace {

constexpr std::size_t kCount = 4096;

// Amounts, measurements and ratios of many magnitudes, both signs.
const std::vector<double> &values() {
  static const std::vector<double> v = [] {
    std::vector<double> k;
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> exp10(-30, 30);
    for (std::size_t i = 0; i < kCount; ++i) {
      const double x = mant(rng) * std::pow(10.0, exp10(rng));
      k.push_back(rng() & 1 ? -x : x);
    }
    return k;
  }();
  return v;
}

// The values' fields as one writer produced them, 8 bytes each.
std::vector<unsigned char> fields(fmtfn fn, int32_t w) {
  std::vector<unsigned char> out(kCount * 8);
  fmtcall c{};
  c.w = w;
  c.outsize = 8;
  for (std::size_t i = 0; i < kCount; ++i) {
    c.value = &values()[i];
    c.out = out.data() + 8 * i;
    fn(&c);
  }
  return out;
}

void finish(benchmark::State &state) {
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kCount));
}

// Runs a writer over all values into one 16-byte slot.
void write_all(benchmark::State &state, fmtfn fn, int32_t w) {
  unsigned char out[16];
  fmtcall c{};
  c.w = w;
  c.out = out;
  c.outsize = sizeof out;
  for (auto _ : state) {
    for (const double &v : values()) {
      c.value = &v;
      fn(&c);
      benchmark::DoNotOptimize(out);
    }
  }
  finish(state);
}

// Runs a reader over fields of `width` bytes laid out 8 apart.
void read_all(benchmark::State &state, fmtfn fn,
              const std::vector<unsigned char> &in, int32_t width,
              std::size_t stride = 8) {
  double out = 0;
  fmtcall c{};
  c.w = width;
  c.valuelen = width;
  c.out = &out;
  c.outsize = 8;
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < kCount; ++i) {
      c.value = in.data() + stride * i;
      fn(&c);
      sum += out;
    }
    benchmark::DoNotOptimize(sum);
  }
  finish(state);
}

void BM_IEEE8_write(benchmark::State &s) {
  write_all(s, zfmieee, 8);
}
BENCHMARK(BM_IEEE8_write);

void BM_peer_bswap_write(benchmark::State &state) {
  unsigned char out[8];
  for (auto _ : state) {
    for (const double &v : values()) {
      const uint64_t be = __builtin_bswap64(std::bit_cast<uint64_t>(v));
      std::memcpy(out, &be, 8);
      benchmark::DoNotOptimize(out);
    }
  }
  finish(state);
}
BENCHMARK(BM_peer_bswap_write);

void BM_IEEE8_read(benchmark::State &s) {
  static const std::vector<unsigned char> in = fields(zfmieee, 8);
  read_all(s, zifmiee, in, 8);
}
BENCHMARK(BM_IEEE8_read);

void BM_peer_bswap_read(benchmark::State &state) {
  static const std::vector<unsigned char> in = fields(zfmieee, 8);
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < kCount; ++i) {
      uint64_t be;
      std::memcpy(&be, in.data() + 8 * i, 8);
      sum += std::bit_cast<double>(__builtin_bswap64(be));
    }
    benchmark::DoNotOptimize(sum);
  }
  finish(state);
}
BENCHMARK(BM_peer_bswap_read);

void BM_RB8_write(benchmark::State &s) {
  write_all(s, wzfmrb, 8);
}
BENCHMARK(BM_RB8_write);

void BM_RB8_read(benchmark::State &s) {
  static const std::vector<unsigned char> in = fields(wzfmrb, 8);
  read_all(s, wzifmrb, in, 8);
}
BENCHMARK(BM_RB8_read);

void BM_peer_memcpy_read(benchmark::State &state) {
  static const std::vector<unsigned char> in = fields(wzfmrb, 8);
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < kCount; ++i) {
      double x;
      std::memcpy(&x, in.data() + 8 * i, 8);
      sum += x;
    }
    benchmark::DoNotOptimize(sum);
  }
  finish(state);
}
BENCHMARK(BM_peer_memcpy_read);

void BM_S370FRB8_write(benchmark::State &s) {
  write_all(s, zf7rb, 8);
}
BENCHMARK(BM_S370FRB8_write);

// The textbook conversion: frexp, a base-16 exponent, ldexp the fraction.
void BM_peer_frexp_hfp_write(benchmark::State &state) {
  unsigned char out[8];
  for (auto _ : state) {
    for (const double &v : values()) {
      int e2;
      const double f = std::frexp(std::fabs(v), &e2);  // [0.5, 1)
      const int e16 = (e2 + 3) >> 2;                   // ceil(e2 / 4)
      const double frac = std::ldexp(f, e2 - 4 * e16); // [1/16, 1)
      const auto bits = static_cast<uint64_t>(std::ldexp(frac, 56));
      const uint64_t word = (v < 0 ? 1ull << 63 : 0) |
                            static_cast<uint64_t>(e16 + 64) << 56 | bits;
      const uint64_t be = __builtin_bswap64(word);
      std::memcpy(out, &be, 8);
      benchmark::DoNotOptimize(out);
    }
  }
  finish(state);
}
BENCHMARK(BM_peer_frexp_hfp_write);

void BM_S370FRB8_read(benchmark::State &s) {
  static const std::vector<unsigned char> in = fields(zf7rb, 8);
  read_all(s, zif7rb, in, 8);
}
BENCHMARK(BM_S370FRB8_read);

void BM_peer_ldexp_hfp_read(benchmark::State &state) {
  static const std::vector<unsigned char> in = fields(zf7rb, 8);
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < kCount; ++i) {
      uint64_t be;
      std::memcpy(&be, in.data() + 8 * i, 8);
      const uint64_t word = __builtin_bswap64(be);
      const int e = static_cast<int>((word >> 56) & 0x7F);
      const double mag = std::ldexp(
          static_cast<double>(word & ((1ull << 56) - 1)), 4 * (e - 64) - 56);
      sum += (word >> 63) ? -mag : mag;
    }
    benchmark::DoNotOptimize(sum);
  }
  finish(state);
}
BENCHMARK(BM_peer_ldexp_hfp_read);

void BM_HEX16_write(benchmark::State &s) {
  write_all(s, zfmhex, 16);
}
BENCHMARK(BM_HEX16_write);

void BM_peer_snprintf_hex(benchmark::State &state) {
  char out[17];
  for (auto _ : state) {
    for (const double &v : values()) {
      std::snprintf(out, sizeof out, "%016" PRIX64, std::bit_cast<uint64_t>(v));
      benchmark::DoNotOptimize(out);
    }
  }
  finish(state);
}
BENCHMARK(BM_peer_snprintf_hex);

const std::vector<unsigned char> &hex_texts() {
  static const std::vector<unsigned char> t = [] {
    std::vector<unsigned char> k(kCount * 17, 0);
    for (std::size_t i = 0; i < kCount; ++i)
      std::snprintf(reinterpret_cast<char *>(k.data() + 17 * i), 17,
                    "%016" PRIX64, std::bit_cast<uint64_t>(values()[i]));
    return k;
  }();
  return t;
}

void BM_HEX16_read(benchmark::State &s) {
  read_all(s, zifmhex, hex_texts(), 16, 17);
}
BENCHMARK(BM_HEX16_read);

void BM_peer_strtoull_hex(benchmark::State &state) {
  const std::vector<unsigned char> &t = hex_texts();
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < kCount; ++i)
      sum += std::bit_cast<double>(static_cast<uint64_t>(std::strtoull(
          reinterpret_cast<const char *>(t.data() + 17 * i), nullptr, 16)));
    benchmark::DoNotOptimize(sum);
  }
  finish(state);
}
BENCHMARK(BM_peer_strtoull_hex);

} // namespace
