#include "host/sdl/frame_pacer.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace host {
namespace {
// The sleep's own lateness; the last stretch before the deadline is spun instead.
constexpr std::uint64_t kSpinMicros = 100;
// Short sleeps, so events are still taken while a frame is held.
constexpr std::uint64_t kLongestSleepMicros = 8000;
constexpr std::uint64_t kMicrosPerSecond = 1000000;
}  // namespace

PacerClock SystemClock() {
  return {
      SDL_GetPerformanceFrequency(), [] { return SDL_GetPerformanceCounter(); },
      [](std::uint64_t micros) { std::this_thread::sleep_for(std::chrono::microseconds(micros)); }};
}

FramePacer::FramePacer(int framesPerSecond, PacerClock clock)
    : clock_(std::move(clock)),
      period_(clock_.ticksPerSecond / static_cast<std::uint64_t>(std::max(framesPerSecond, 1))) {}

void FramePacer::Show(const std::function<void()>& present,
                      const std::function<void()>& whileWaiting) {
  // Holding before the present would show every frame a whole refresh after its input.
  present();
  HoldUntilNextSlot(whileWaiting);
}

void FramePacer::HoldUntilNextSlot(const std::function<void()>& whileWaiting) {
  std::uint64_t now = clock_.now();
  // A running deadline keeps the rate exact; the first frame, and the first after a long
  // hold (a sound playing to its end), start afresh instead of rushing to catch up.
  if (!started_ || now > deadline_ + period_) deadline_ = now + period_;
  started_ = true;
  const std::uint64_t spin = kSpinMicros * clock_.ticksPerSecond / kMicrosPerSecond;
  while (now + spin < deadline_) {
    const std::uint64_t ticks = deadline_ - spin - now;
    clock_.sleepMicros(
        std::min(ticks * kMicrosPerSecond / clock_.ticksPerSecond, kLongestSleepMicros));
    if (whileWaiting) whileWaiting();
    now = clock_.now();
  }
  while (now < deadline_) now = clock_.now();
  deadline_ += period_;
}

}  // namespace host
