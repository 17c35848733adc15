// One game played to its end or to a time limit: started with a click, the paddle kept under
// the ball, its memory sampled, its end and its log checked.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "draw_watch.h"
#include "field_view.h"
#include "pointer.h"
#include "row_watch.h"

namespace soak {

using Clock = std::chrono::steady_clock;

struct GameCommand {
  std::vector<std::string> argv;
  std::string directory;
  std::string displayName;
  std::string logPath;
};

struct GameOutcome {
  bool started = false;       // play began after the click
  bool stalled = false;       // running, but nothing drawn for too long
  std::optional<int> status;  // how it exited; nothing if it would not end
  double playSeconds = 0;     // from the first move of the ball
  int frames = 0;             // drawings seen in play
  int catches = 0;            // the ball turning upwards at the paddle
  long rssGrowthKb = 0;       // the most resident memory grew after the first minute
  int sanitizerReports = 0;
};

class GameRun {
 public:
  GameRun(Display* display, probe::RowWatch& screen, probe::DrawWatch& draws,
          probe::Pointer& pointer)
      : display_(display), screen_(screen), draws_(draws), pointer_(pointer) {}

  // Plays until the game ends by itself or `until` comes, when Escape ends it.
  GameOutcome Play(const GameCommand& command, Clock::time_point until);

 private:
  bool WaitForTitle(Clock::time_point until);
  bool ClickToStart(Clock::time_point until);
  void PlayUntil(Clock::time_point until, pid_t pid, GameOutcome& outcome);
  void Follow(const Box& ball, std::optional<int> paddle, GameOutcome& outcome);
  void PressEscape();
  bool Running();

  Display* display_;
  probe::RowWatch& screen_;
  probe::DrawWatch& draws_;
  probe::Pointer& pointer_;
  private_x::ChildProcess game_;
  std::optional<int> ended_;
  Box lastBall_ = {};
  bool ballLetGo_ = false;
};

}  // namespace soak
