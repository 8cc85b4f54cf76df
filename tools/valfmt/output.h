// Buffered output to a file descriptor: results are collected in a 1 MiB
// buffer and written in large pieces, bytes as they are (NUL included).
// A failed write (a full disk, a closed pipe) is remembered and reported
// once, so that no lost output passes for success.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace valfmt_tool {

class Output {
public:
  explicit Output(int fd = 1) : fd_(fd), buf_(new char[kSize]) {}
  ~Output() { flush(); }
  Output(const Output &) = delete;
  Output &operator=(const Output &) = delete;

  void put(const char *p, std::size_t n);
  void put(const std::string &s) { put(s.data(), s.size()); }
  void put(char c) {
    if (used_ == kSize) flush();
    buf_[used_++] = c;
  }
  // Room for n bytes (n at most 1 MiB) written in place, then kept with
  // commit(k), k <= n.
  char *reserve(std::size_t n) {
    if (n > kSize - used_) flush();
    return buf_.get() + used_;
  }
  void commit(std::size_t k) { used_ += k; }
  // Writes what is buffered; false once any write has failed.
  bool flush();
  bool failed() const { return failed_; }
  const std::string &error() const { return error_; }

private:
  static constexpr std::size_t kSize = std::size_t{1} << 20;
  int fd_;
  std::unique_ptr<char[]> buf_;
  std::size_t used_ = 0;
  bool failed_ = false;
  std::string error_;
};

} // namespace valfmt_tool
