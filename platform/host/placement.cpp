#include "host/placement.h"

#include <cstdint>

namespace host {

Placement FitPicture(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight) {
  Placement placement;
  if (pictureWidth <= 0 || pictureHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) {
    return placement;
  }
  // Compare the two aspect ratios exactly: wide screens get bars left and right.
  const std::int64_t widthAtFullHeight =
      static_cast<std::int64_t>(pictureWidth) * screenHeight / pictureHeight;
  if (widthAtFullHeight <= screenWidth) {
    placement.width = static_cast<int>(widthAtFullHeight);
    placement.height = screenHeight;
  } else {
    placement.width = screenWidth;
    placement.height =
        static_cast<int>(static_cast<std::int64_t>(pictureHeight) * screenWidth / pictureWidth);
  }
  if (placement.width <= 0 || placement.height <= 0) return Placement{};
  placement.x = (screenWidth - placement.width) / 2;
  placement.y = (screenHeight - placement.height) / 2;
  placement.wholeScale = placement.width % pictureWidth == 0 &&
                         placement.height % pictureHeight == 0 &&
                         placement.width / pictureWidth == placement.height / pictureHeight;
  return placement;
}

}  // namespace host
