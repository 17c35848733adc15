// Times the frames of a timedemo run: frames per second and the median frame time.
#pragma once

#include <chrono>
#include <string>
#include <vector>

class FrameTimer {
 public:
  using Clock = std::chrono::steady_clock;

  // Adds the time one tick took and how many frames it presented.
  void Add(Clock::duration elapsed, long framesPresented);
  // "N frames in S s: F frames/s, median M ms/frame"; frames from all ticks, the
  // median over ticks that presented at least one frame.
  std::string Summary() const;

  long frames() const { return frames_; }
  double FramesPerSecond() const;
  double MedianMilliseconds() const;

 private:
  Clock::duration total_{};
  long frames_ = 0;
  std::vector<double> tickMilliseconds_;
};
