// Helpers shared by the rules tests: placing the ball and steering the random draws.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/platform.h"

// A generator state whose next draws give these remainders modulo 7, in order.
std::uint32_t StateDrawing(std::initializer_list<int> remainders);

// Puts the ball at `bounds` with velocity (vx, vy), and the paddle at its serve place
// already widened to its 144-pixel surface.
void PlaceBall(RECT bounds, int vx, int vy);
