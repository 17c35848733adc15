// The machine's monotonic clock, and a sleep to a time on it that wakes well within a
// millisecond without spinning.
#pragma once

#include <cstdint>

namespace host {

std::int64_t MonotonicMicros();
// Returns once MonotonicMicros() has reached `wakeMicros` (at once if it has).
void SleepUntilMicros(std::int64_t wakeMicros);

}  // namespace host
