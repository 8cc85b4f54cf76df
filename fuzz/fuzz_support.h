// What the libFuzzer targets share: input bytes placed right before an
// unreadable page (one mapping per process, reused by every run), an
// output buffer with guard bytes after outsize, a byte reader over the
// fuzzer's data, and the check that a status is one the library documents.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/status.h"
#include "valfmt.h"

namespace vffuzz {

// Stops the run with a message; libFuzzer keeps the input as a crash.
[[noreturn]] inline void fail(const char *what, const char *name, long a,
                              long b) {
  std::fprintf(stderr, "FINDING: %s (%s; %ld, %ld)\n", what, name, a, b);
  std::abort();
}

inline bool documented(int32_t status) {
  return std::strcmp(valfmt::status_name(status), "unknown status") != 0;
}

// kFenceBytes of writable memory followed by a page without access.  The
// input is copied to its end and the page is made read-only for the call,
// so a read past the input faults and a write into it faults as well.
class Fence {
public:
  static constexpr std::size_t kFenceBytes = 16384;

  static Fence &get() {
    static Fence f;
    return f;
  }

  // Copies n bytes so that they end at the unreadable page.
  const uint8_t *place(const uint8_t *bytes, std::size_t n) {
    if (n > kFenceBytes) n = kFenceBytes;
    writable(true);
    uint8_t *p = base_ + kFenceBytes - n;
    if (n > 0) std::memcpy(p, bytes, n);
    writable(false);
    return p;
  }

private:
  Fence() {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void *m = mmap(nullptr, kFenceBytes + page, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m == MAP_FAILED) std::abort();
    base_ = static_cast<uint8_t *>(m);
    if (mprotect(base_ + kFenceBytes, page, PROT_NONE) != 0) std::abort();
  }
  void writable(bool yes) {
    if (mprotect(base_, kFenceBytes,
                 yes ? PROT_READ | PROT_WRITE : PROT_READ) != 0)
      std::abort();
  }
  uint8_t *base_ = nullptr;
};

inline constexpr uint8_t kGuard = 0xA5;
inline constexpr std::size_t kGuardBytes = 32;

// An output buffer of outsize bytes (none when outsize <= 0) followed by
// guard bytes; on the heap, so AddressSanitizer sees wild writes as well.
class Output {
public:
  explicit Output(int32_t outsize, uint8_t fill)
      : size_(outsize > 0 ? static_cast<std::size_t>(outsize) : 0),
        bytes_(size_ + kGuardBytes, kGuard) {
    std::memset(bytes_.data(), fill, size_);
  }
  void *data() { return bytes_.data(); }
  bool guard_intact() const {
    for (std::size_t i = size_; i < bytes_.size(); ++i)
      if (bytes_[i] != kGuard) return false;
    return true;
  }

private:
  std::size_t size_;
  std::vector<uint8_t> bytes_;
};

// Takes typed values off the front of the fuzzer's data; zeros once it is
// used up.
class Reader {
public:
  Reader(const uint8_t *data, std::size_t size) : p_(data), n_(size) {}
  uint8_t byte() {
    if (n_ == 0) return 0;
    --n_;
    return *p_++;
  }
  uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
  uint64_t u64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(byte()) << (8 * i);
    return v;
  }
  const uint8_t *rest() const { return p_; }
  std::size_t left() const { return n_; }

private:
  const uint8_t *p_;
  std::size_t n_;
};

} // namespace vffuzz
