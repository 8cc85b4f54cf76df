// Buffered output to a file descriptor: results are collected in a 64 KiB
// buffer and written in large pieces, bytes as they are (NUL included).
// A failed write (a full disk, a closed pipe) is remembered and reported
// once, so that no lost output passes for success.
#pragma once

#include <cstddef>
#include <string>

namespace valfmt_tool {

class Output {
public:
  explicit Output(int fd = 1) : fd_(fd) {}
  ~Output() { flush(); }
  Output(const Output &) = delete;
  Output &operator=(const Output &) = delete;

  void put(const char *p, std::size_t n);
  void put(const std::string &s) { put(s.data(), s.size()); }
  void put(char c) {
    if (used_ == sizeof buf_) flush();
    buf_[used_++] = c;
  }
  // Writes what is buffered; false once any write has failed.
  bool flush();
  bool failed() const { return failed_; }
  const std::string &error() const { return error_; }

private:
  int fd_;
  char buf_[1 << 16];
  std::size_t used_ = 0;
  bool failed_ = false;
  std::string error_;
};

} // namespace valfmt_tool
