// The player's hand: relative mouse motion and the left button, injected through XTest.
#pragma once

#include <X11/Xlib.h>

namespace probe {

class Pointer {
 public:
  explicit Pointer(Display* display) : display_(display) {}

  static bool Available(Display* display);
  // Each call reaches the server before it returns.
  void Move(int dx);
  void MoveTo(int x, int y);
  void LeftButton(bool pressed);

 private:
  Display* display_;
};

}  // namespace probe
