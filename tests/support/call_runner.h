// The one guarded call runner every suite uses.  Input bytes sit at the very
// end of a readable page followed by an unreadable one, so a read past the
// input faults; the output buffer is followed by guard bytes that must stay
// unchanged.  A run reports the status, the bytes the callee says it wrote
// and whether it stayed inside both buffers.
#pragma once

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "valfmt.h"

namespace vftest {

inline constexpr unsigned char kGuard = 0xA5;
inline constexpr int kGuardBytes = 32;

// Bytes placed directly before an unreadable page.  The mapping is made
// once per object; tests keep it on the stack for the length of one call.
class FencedBytes {
public:
  explicit FencedBytes(std::string_view bytes) {
    page_ = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t pages = (bytes.size() + page_ - 1) / page_ + 1;
    size_ = (pages + 1) * page_;
    void *m = mmap(nullptr, size_, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m == MAP_FAILED) {
      map_ = nullptr;
      return;
    }
    map_ = static_cast<char *>(m);
    mprotect(map_ + pages * page_, page_, PROT_NONE);
    data_ = map_ + pages * page_ - bytes.size();
    if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
  }
  ~FencedBytes() {
    if (map_ != nullptr) munmap(map_, size_);
  }
  FencedBytes(const FencedBytes &) = delete;
  FencedBytes &operator=(const FencedBytes &) = delete;
  const char *data() const { return data_; }

private:
  char *map_ = nullptr;
  char *data_ = nullptr;
  std::size_t page_ = 0;
  std::size_t size_ = 0;
};

struct Run {
  int32_t status = 0;
  std::string text;   // the outlen bytes the callee reports
  std::string buffer; // all outsize bytes of the output buffer
  int32_t outlen = 0;
  uint32_t outenc = 0;
  bool overrun = false; // a guard byte after outsize changed
  double number() const {
    double v = 0;
    if (text.size() == 8) std::memcpy(&v, text.data(), 8);
    return v;
  }
  uint64_t bits() const { return std::bit_cast<uint64_t>(number()); }
};

// Runs fn (or xffmt with handle h when fn is null) on call block c, whose
// value/valuelen already point at the input, into a fresh output buffer of
// outsize bytes pre-filled with `fill`.
inline Run run_block(fmtfn fn, fmthandle *h, fmtcall c, int32_t outsize,
                     char fill = '#') {
  const std::size_t size = outsize > 0 ? static_cast<std::size_t>(outsize) : 0;
  std::vector<unsigned char> out(size + kGuardBytes, kGuard);
  std::memset(out.data(), fill, size);
  c.out = out.data();
  c.outsize = outsize;
  c.outlen = -7;
  Run r;
  r.status = fn != nullptr ? fn(&c) : xffmt(&c, h);
  r.outlen = c.outlen;
  r.outenc = c.outenc;
  for (std::size_t i = size; i < out.size(); ++i)
    if (out[i] != kGuard) r.overrun = true;
  const auto *p = reinterpret_cast<const char *>(out.data());
  if (c.outlen >= 0 && static_cast<std::size_t>(c.outlen) <= size)
    r.text.assign(p, static_cast<std::size_t>(c.outlen));
  r.buffer.assign(p, size);
  EXPECT_FALSE(r.overrun) << "wrote past outsize " << outsize;
  return r;
}

// A format on a double: w.d, outsize w unless given.
inline Run put(fmtfn fn, double v, int32_t w, int32_t d = 0,
               int32_t outsize = -1) {
  const FencedBytes in(
      std::string_view(reinterpret_cast<const char *>(&v), sizeof v));
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = in.data();
  c.valuelen = 8;
  return run_block(fn, nullptr, c, outsize < 0 ? (w > 0 ? w : 0) : outsize);
}

// An informat (or a character format) on text: w defaults to the text's
// length; a numeric informat's result is the 8-byte double in text.
inline Run input(fmtfn fn, std::string_view text, int32_t w = -1, int32_t d = 0,
                 int32_t outsize = 8) {
  const FencedBytes in(text);
  fmtcall c{};
  c.w = w == -1 ? static_cast<int32_t>(text.size()) : w;
  c.d = d;
  c.value = text.empty() ? nullptr : in.data();
  c.valuelen = static_cast<int32_t>(text.size());
  return run_block(fn, nullptr, c, outsize);
}

// Through xffmt with a handle: value bytes (two per unit for 16-bit
// input), encodings, options.
inline Run invoke(fmthandle *h, std::string_view value, int32_t w, int32_t d,
                  int32_t outsize, uint32_t inenc = VF_ENC_NARROW,
                  uint32_t reqenc = VF_ENC_NARROW, uint32_t options = 0) {
  const FencedBytes in(value);
  fmtcall c{};
  c.w = w;
  c.d = d;
  c.value = value.empty() ? nullptr : in.data();
  // valuelen counts characters: 16-bit input has two bytes per unit.
  const bool wide = inenc == VF_ENC_UCS2 || inenc == VF_ENC_UCS2BE;
  c.valuelen = static_cast<int32_t>(wide ? value.size() / 2 : value.size());
  c.inenc = inenc;
  c.reqenc = reqenc;
  c.options = options;
  return run_block(nullptr, h, c, outsize);
}

inline std::string_view bytes_of(const double &v) {
  return {reinterpret_cast<const char *>(&v), sizeof v};
}

} // namespace vftest
