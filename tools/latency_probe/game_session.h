// The game under test on the probe's display: started, brought into play, started again after
// a game over.
#pragma once

#include <string>
#include <vector>

#include "child_process.h"
#include "pointer.h"
#include "row_watch.h"

namespace probe {

// The paddle's rows of a 1024 x 768 screen, and how wide a change there must be to be the
// paddle's (both its edges move) rather than the ball's passing through.
constexpr int kPaddleTop = 628;
constexpr int kPaddleRows = 40;
constexpr int kPaddleSpan = 120;

struct GameCommand {
  std::vector<std::string> argv;
  std::string directory;
  std::string displayName;
  std::string logPath;
};

class GameSession {
 public:
  GameSession(GameCommand command, Pointer& pointer, RowWatch& watch)
      : command_(std::move(command)), pointer_(pointer), watch_(watch) {}

  // Starts the game when it is not running and holds the button until the paddle follows
  // the mouse; false when it never gets there.
  bool EnsurePlaying();
  bool Running() { return game_.Running(); }
  // Ends the game, so that another may have the display.
  void Stop() { game_.Stop(); }
  // What the running game has used of the processor, in seconds.
  double CpuSeconds() const { return game_.CpuSeconds(); }
  int starts() const { return starts_; }

 private:
  bool WaitForPicture();
  bool PaddleFollows();

  GameCommand command_;
  Pointer& pointer_;
  RowWatch& watch_;
  private_x::ChildProcess game_;
  int starts_ = 0;
};

}  // namespace probe
