// The canvas's copy of the game's picture: RGB565 frames turned into the page's RGBA bytes,
// redoing only the rows that changed since the frame before.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host.h"

namespace host {

// Rows [first, first + count) changed; count 0 when nothing did.
struct ChangedRows {
  int first = 0;
  int count = 0;
};

class CanvasImage {
 public:
  // Takes a frame in; a frame of another size than the last one changes every row.
  ChangedRows Update(const Frame& frame);

  const std::uint8_t* rgba() const { return rgba_.data(); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  bool SameRow(const Frame& frame, int row) const;
  void ConvertRow(const Frame& frame, int row);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint16_t> last_;
  std::vector<std::uint8_t> rgba_;
};

// One RGB565 pixel as 8-bit red, green, blue and opaque alpha, each channel's top bits
// repeated into its low ones so that white stays white.
void Rgb565ToRgba(std::uint16_t pixel, std::uint8_t* rgba);

}  // namespace host
