// Notices every drawing on the screen through the Damage extension, so that a move the game
// took only after one of its pauses (a synchronous cue) is told from a slow frame.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

namespace probe {

class DrawWatch {
 public:
  explicit DrawWatch(Display* display);
  ~DrawWatch();
  DrawWatch(const DrawWatch&) = delete;
  DrawWatch& operator=(const DrawWatch&) = delete;

  bool ready() const { return damage_ != 0; }
  // Reads the draws that came since the last call; true if there were any.
  bool Take();
  // From now on the longest gap counts from the latest draw.
  void RestartGap() { longestGapMs_ = 0; }
  // The longest time without a draw, by the server's clock, in milliseconds.
  unsigned long longestGapMs() const { return longestGapMs_; }

 private:
  Display* display_;
  int eventBase_ = 0;
  Damage damage_ = 0;
  Time lastDraw_ = 0;
  unsigned long longestGapMs_ = 0;
};

}  // namespace probe
