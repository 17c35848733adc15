#include "pointer.h"

#include <X11/extensions/XTest.h>

namespace probe {

bool Pointer::Available(Display* display) {
  int event = 0, error = 0, major = 0, minor = 0;
  return XTestQueryExtension(display, &event, &error, &major, &minor) == True;
}

void Pointer::Move(int dx) {
  XTestFakeRelativeMotionEvent(display_, dx, 0, CurrentTime);
  XFlush(display_);
}

void Pointer::MoveTo(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XFlush(display_);
}

void Pointer::LeftButton(bool pressed) {
  XTestFakeButtonEvent(display_, 1, pressed ? True : False, CurrentTime);
  XFlush(display_);
}

}  // namespace probe
