// The canvas's copy of the game's picture: RGB565 frames turned into the page's RGBA bytes,
// redoing only the part that changed since the frame before.
#pragma once

#include <cstdint>
#include <vector>

#include "host/change_tracker.h"
#include "host/host.h"

namespace host {

class CanvasImage {
 public:
  // Takes a frame in; a frame of another size than the last one changes every row. A frame
  // no screen could show changes nothing.
  ChangedRect Update(const Frame& frame);

  // The rectangle's RGBA bytes, row after row with nothing between; valid until the next
  // call. Handing the page only these keeps its copy as small as the change.
  const std::uint8_t* Pixels(const ChangedRect& rect);

  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  ChangeTracker changes_;
  std::vector<std::uint8_t> rgba_;
  std::vector<std::uint8_t> packed_;
};

}  // namespace host
