// The progress line of long runs on standard error: rows, rows per second
// and elapsed time, redrawn at most four times a second.  By default it
// appears only when standard error is a terminal and the run has taken
// more than a second; --progress forces it, --no-progress suppresses it.
#pragma once

#include <chrono>
#include <cstddef>

#include "options.h"

namespace valfmt_tool {

class ProgressLine {
public:
  explicit ProgressLine(Progress mode);
  // Called once per row; cheap (looks at the clock every 4096 rows).
  void row() {
    if (++rows_ % kCheckEvery == 0 && enabled_) tick(false);
  }
  // The final figures, and the line ended, when it was ever shown.
  void finish();

private:
  static constexpr std::size_t kCheckEvery = 4096;
  void tick(bool last);

  bool enabled_;
  bool forced_;
  bool shown_ = false;
  std::size_t rows_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_draw_;
};

} // namespace valfmt_tool
