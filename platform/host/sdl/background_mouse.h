// The desktop's pointer read while another window has the focus: the game's mouse is read in
// the background, so movement and clicks made elsewhere still reach it.
#pragma once

#include "host/host.h"

namespace host {

class BackgroundMouse {
 public:
  // Replaces the movement with the pointer's since the last read and the buttons with those
  // held now; the first read after focus went away finds no movement.
  void Read(MouseState& state);
  // While the window has the focus its own relative mouse speaks; the next read starts afresh.
  void Forget() { known_ = false; }

 private:
  bool known_ = false;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace host
