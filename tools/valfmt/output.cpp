// Buffered writes to standard output.
#include "output.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace valfmt_tool {

void Output::put(const char *p, std::size_t n) {
  if (n > kSize - used_) {
    flush();
    if (n >= kSize) {
      used_ = 0;
      // Large pieces go out directly, without a copy.
      const char *q = p;
      std::size_t left = n;
      while (left > 0 && !failed_) {
        const ssize_t k = ::write(fd_, q, left);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) {
          failed_ = true;
          error_ = std::strerror(errno);
          break;
        }
        q += k;
        left -= static_cast<std::size_t>(k);
      }
      return;
    }
  }
  std::memcpy(buf_.get() + used_, p, n);
  used_ += n;
}

bool Output::flush() {
  std::size_t done = 0;
  while (done < used_ && !failed_) {
    const ssize_t k = ::write(fd_, buf_.get() + done, used_ - done);
    if (k < 0 && errno == EINTR) continue;
    if (k <= 0) {
      failed_ = true;
      error_ = std::strerror(errno);
      break;
    }
    done += static_cast<std::size_t>(k);
  }
  used_ = 0;
  return !failed_;
}

} // namespace valfmt_tool
