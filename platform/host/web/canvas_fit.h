// Where the game's picture goes in the page: the largest copy of its shape that fits.
#pragma once

namespace host {

struct CanvasRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The picture scaled to fill as much of the area as its shape allows, centred, the rest
// left as bars; empty when the area or the picture is.
CanvasRect FitCanvas(int areaWidth, int areaHeight, int pictureWidth, int pictureHeight);

}  // namespace host
