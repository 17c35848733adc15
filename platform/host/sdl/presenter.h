// A way of getting the game's RGB565 frames onto the window.
#pragma once

#include "host/host.h"

namespace host {

class Presenter {
 public:
  virtual ~Presenter() = default;

  // False when the frame could not be shown and the presenter cannot recover by itself.
  virtual bool Present(const Frame& frame) = 0;
  // The window's pixels or the device behind them were lost (resize, exposure, reset):
  // the next frame is drawn whole on fresh resources.
  virtual void Invalidate() = 0;
};

// Frames with a size or pitch no window could show are refused before any work is done.
bool IsDrawable(const Frame& frame);

}  // namespace host
