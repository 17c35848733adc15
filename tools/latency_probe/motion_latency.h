// Motion to screen: from a relative mouse move to the first read of the screen that shows the
// paddle moved, with the move made at a random phase of the frame.
#pragma once

#include <vector>

#include "draw_watch.h"
#include "game_session.h"

namespace probe {

struct LatencySamples {
  std::vector<double> millis;
  std::vector<double> grabMillis;  // what one read of the paddle's rows costs
  int inPauses = 0;                // moves made while the game waited for a synchronous cue
  int unseen = 0;                  // moves the paddle never showed (a wall in the way)

  void Add(const LatencySamples& more);
};

LatencySamples MeasureMotionToScreen(GameSession& game, Pointer& pointer, RowWatch& watch,
                                     DrawWatch& draws, int samples);

}  // namespace probe
