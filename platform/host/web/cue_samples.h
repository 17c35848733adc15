// A cue's samples as the browser's audio takes them: floats from -1 to 1, channel by channel.
#pragma once

#include <cstdint>
#include <vector>

#include "host/wav_file.h"

namespace host {

// The whole sample frames of the cue's data, all of the first channel, then the next; empty
// unless the layout is 8- or 16-bit PCM lying inside `bytes`.
std::vector<float> PlanarCueSamples(const std::vector<std::uint8_t>& bytes,
                                    const WavLayout& layout);

}  // namespace host
