// The game's own random source: a fixed linear congruential generator, never reseeded.
#pragma once

#include <cstdint>

// Generator state; starts at 1 so that every run draws the same sequence.
extern std::uint32_t randomState;

// Returns the next value from 0 to 32767.
int NextRandom();
