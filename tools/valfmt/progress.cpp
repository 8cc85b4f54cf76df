// The progress line on standard error.
#include "progress.h"

#include <cstdio>
#include <unistd.h>

namespace valfmt_tool {
namespace {

constexpr double kQuietSeconds = 1.0;
constexpr double kRedrawSeconds = 0.25;

} // namespace

ProgressLine::ProgressLine(Progress mode)
    : enabled_(mode == Progress::kOn ||
               (mode == Progress::kAuto && isatty(STDERR_FILENO) == 1)),
      forced_(mode == Progress::kOn), start_(std::chrono::steady_clock::now()),
      last_draw_(start_) {}

void ProgressLine::tick(bool last) {
  const auto now = std::chrono::steady_clock::now();
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  if (!forced_ && elapsed < kQuietSeconds) return;
  if (!last && shown_ &&
      std::chrono::duration<double>(now - last_draw_).count() < kRedrawSeconds)
    return;
  last_draw_ = now;
  shown_ = true;
  const double rate = elapsed > 0 ? static_cast<double>(rows_) / elapsed : 0;
  std::fprintf(stderr, "\rvalfmt: %zu rows, %.0f rows/s, %.1f s", rows_, rate,
               elapsed);
  std::fflush(stderr);
}

void ProgressLine::finish() {
  if (!enabled_) return;
  tick(true);
  if (shown_) std::fputc('\n', stderr);
}

} // namespace valfmt_tool
