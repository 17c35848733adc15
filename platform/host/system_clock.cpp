#include "host/system_clock.h"

#include <cerrno>
#include <ctime>

#include "host/host_clock.h"

namespace host {
namespace {

constexpr std::int64_t kMicrosPerSecond = 1'000'000;
constexpr std::int64_t kNanosPerMicro = 1000;

}  // namespace

std::int64_t MonotonicMicros() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * kMicrosPerSecond + now.tv_nsec / kNanosPerMicro;
}

void SleepUntilMicros(std::int64_t wakeMicros) {
  // An absolute wake-up: time lost to being scheduled late, or to a signal, is not slept again.
  timespec wake{};
  wake.tv_sec = static_cast<std::time_t>(wakeMicros / kMicrosPerSecond);
  wake.tv_nsec = static_cast<long>(wakeMicros % kMicrosPerSecond * kNanosPerMicro);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
  }
}

HostClock SystemClock() { return {MonotonicMicros, SleepUntilMicros}; }

}  // namespace host
