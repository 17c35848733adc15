// Where a picture goes on a larger or smaller screen or page: scaled to fit, aspect kept,
// centred.
#pragma once

namespace host {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool wholeScale = false;  // every source pixel becomes the same whole number of pixels
};

// An empty placement when either size is not positive.
Placement FitPicture(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight);

}  // namespace host
