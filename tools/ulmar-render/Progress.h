// A one-line progress bar on standard error, redrawn at most ten times a
// second and erased at the end. Shown only when standard error is a
// terminal and the render is long enough for the wait to be noticed.
#pragma once

#include <chrono>
#include <cstdint>

class Progress {
 public:
  // Inputs shorter than this many seconds render without a bar.
  static constexpr double kMinimumSeconds = 3.0;

  Progress(std::int64_t totalFrames, int sampleRate);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void update(std::int64_t framesDone);
  // Erases the bar.
  void finish();

 private:
  bool enabled_ = false;
  bool drawn_ = false;
  std::int64_t totalFrames_;
  int sampleRate_;
  std::chrono::steady_clock::time_point lastDraw_{};
};
