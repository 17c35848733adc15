// Frame-time steadiness: the time between successive frames reaching the screen, as the X
// server reports each drawing; and what the game's processor time is over those frames.
#pragma once

#include <vector>

#include "draw_watch.h"
#include "game_session.h"

namespace probe {

struct IntervalSamples {
  std::vector<double> millis;
  double playSeconds = 0;  // pauses left out
  int pauses = 0;          // intervals long enough to be a synchronous cue's
  double cpuSeconds = 0;   // what the game used of the processor in the intervals counted

  void Add(const IntervalSamples& more);
};

IntervalSamples MeasurePresentIntervals(GameSession& game, DrawWatch& draws, double seconds);

}  // namespace probe
