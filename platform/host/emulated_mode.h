// The refresh rate of the mode every host presents, whatever the machine's own: the portable
// layer reports it to the game and every host paces its frames by it.
#pragma once

#include <cstdint>

namespace host {

// Every host shows one frame per refresh of a 60 Hz clock.
constexpr int kEmulatedHertz = 60;
// One refresh of it, to the nearest microsecond.
constexpr std::int64_t kEmulatedRefreshMicros = (1'000'000 + kEmulatedHertz / 2) / kEmulatedHertz;

}  // namespace host
