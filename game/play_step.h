// One step of play: paddle, bounces, catches, lost balls, score, level and the frame.
#pragma once

#include <cstdint>

// Clears `playing` and takes one from `lives` when the ball is lost.
void PlayStep(bool& playing, std::int32_t& lives);
