#include "Progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBarWidth = 40;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

Progress::Progress(std::int64_t totalFrames, int sampleRate) : totalFrames_(totalFrames), sampleRate_(sampleRate) {
  enabled_ = ::isatty(STDERR_FILENO) == 1 && totalFrames > 0 &&
             static_cast<double>(totalFrames) / sampleRate > kMinimumSeconds;
}

Progress::~Progress() { finish(); }

void Progress::update(std::int64_t framesDone) {
  if (!enabled_) {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - lastDraw_ < kRedrawInterval) {
    return;
  }
  lastDraw_ = now;
  drawn_ = true;
  const double fraction = std::clamp(static_cast<double>(framesDone) / static_cast<double>(totalFrames_), 0.0, 1.0);
  const int filled = static_cast<int>(fraction * kBarWidth);
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) {
    bar[i] = i < filled ? '#' : '-';
  }
  bar[kBarWidth] = '\0';
  std::fprintf(stderr, "\r[%s] %3d%%  %.1f / %.1f s", bar, static_cast<int>(fraction * 100.0),
               static_cast<double>(framesDone) / sampleRate_, static_cast<double>(totalFrames_) / sampleRate_);
  std::fflush(stderr);
}

void Progress::finish() {
  if (drawn_) {
    // Carriage return and erase to the end of the line.
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
  }
  enabled_ = false;
}
