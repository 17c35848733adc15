// A way of getting the game's RGB565 frames onto the window.
#pragma once

#include "host/host.h"
#include "host/picture_limits.h"

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

}  // namespace host
