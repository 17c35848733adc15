#include "host/sdl/frame_pacer.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace host {
namespace {
// The sleep's own lateness; the last stretch before the deadline is spun instead.
constexpr std::uint64_t kSpinMicros = 100;
// Short sleeps, so events are still taken while a frame is held.
constexpr std::uint64_t kLongestSleepMicros = 8000;
constexpr std::uint64_t kMicrosPerSecond = 1000000;
}  // namespace

FramePacer::FramePacer(int framesPerSecond)
    : frequency_(SDL_GetPerformanceFrequency()),
      period_(frequency_ / static_cast<std::uint64_t>(std::max(framesPerSecond, 1))) {}

void FramePacer::WaitForSlot(const std::function<void()>& whileWaiting) {
  std::uint64_t now = SDL_GetPerformanceCounter();
  if (!started_) {
    deadline_ = now;
    started_ = true;
  }
  const std::uint64_t spin = kSpinMicros * frequency_ / kMicrosPerSecond;
  while (now + spin < deadline_) {
    const std::uint64_t sleepTicks = std::min(deadline_ - spin - now, period_);
    const std::uint64_t micros =
        std::min(sleepTicks * kMicrosPerSecond / frequency_, kLongestSleepMicros);
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
    if (whileWaiting) whileWaiting();
    now = SDL_GetPerformanceCounter();
  }
  while (now < deadline_) now = SDL_GetPerformanceCounter();
  // A running deadline keeps the rate exact; after a long hold (a sound playing to its end)
  // start afresh instead of rushing to catch up.
  deadline_ = now - deadline_ > period_ ? now + period_ : deadline_ + period_;
}

}  // namespace host
