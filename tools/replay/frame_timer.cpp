#include "frame_timer.h"

#include <algorithm>
#include <cstdio>

void FrameTimer::Add(Clock::duration elapsed, long framesPresented) {
  total_ += elapsed;
  frames_ += framesPresented;
  if (framesPresented > 0) {
    const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
    tickMilliseconds_.push_back(ms / static_cast<double>(framesPresented));
  }
}

double FrameTimer::FramesPerSecond() const {
  const double seconds = std::chrono::duration<double>(total_).count();
  return seconds > 0 ? static_cast<double>(frames_) / seconds : 0.0;
}

double FrameTimer::MedianMilliseconds() const {
  if (tickMilliseconds_.empty()) return 0.0;
  std::vector<double> sorted = tickMilliseconds_;
  const std::size_t middle = sorted.size() / 2;
  std::nth_element(sorted.begin(), sorted.begin() + middle, sorted.end());
  if (sorted.size() % 2 == 1) return sorted[middle];
  const double upper = sorted[middle];
  const double lower = *std::max_element(sorted.begin(), sorted.begin() + middle);
  return (lower + upper) / 2;
}

std::string FrameTimer::Summary() const {
  char text[160];
  std::snprintf(text, sizeof(text),
                "timedemo: %ld frames in %.3f s: %.1f frames/s, median %.3f ms/frame", frames_,
                std::chrono::duration<double>(total_).count(), FramesPerSecond(),
                MedianMilliseconds());
  return text;
}
