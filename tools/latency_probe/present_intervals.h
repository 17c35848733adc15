// Frame-time steadiness: the time between successive frames reaching the screen, as the X
// server reports each drawing.
#pragma once

#include <vector>

#include "draw_watch.h"
#include "game_session.h"

namespace probe {

struct IntervalSamples {
  std::vector<double> millis;
  double playSeconds = 0;  // pauses left out
  int pauses = 0;          // intervals long enough to be a synchronous cue's
};

IntervalSamples MeasurePresentIntervals(GameSession& game, DrawWatch& draws, double seconds);

}  // namespace probe
