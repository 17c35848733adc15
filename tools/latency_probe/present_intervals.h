// Frame-time steadiness: the time between successive changes of the paddle's rows while the
// mouse moves without pause, so that every frame moves the paddle.
#pragma once

#include <vector>

#include "game_session.h"

namespace probe {

struct IntervalSamples {
  std::vector<double> millis;
  double playSeconds = 0;  // pauses left out
  int pauses = 0;          // intervals long enough to be a synchronous cue's
};

IntervalSamples MeasurePresentIntervals(GameSession& game, Pointer& pointer, RowWatch& watch,
                                        double seconds);

}  // namespace probe
