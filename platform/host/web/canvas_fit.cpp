#include "host/web/canvas_fit.h"

#include <cstdint>

namespace host {

CanvasRect FitCanvas(int areaWidth, int areaHeight, int pictureWidth, int pictureHeight) {
  if (areaWidth <= 0 || areaHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
  // Compare the shapes in 64 bits: a window's size times a picture's may not fit in int.
  const std::int64_t widthByHeight = std::int64_t{areaWidth} * pictureHeight;
  const std::int64_t heightByWidth = std::int64_t{areaHeight} * pictureWidth;
  CanvasRect fit;
  if (widthByHeight <= heightByWidth) {
    fit.width = areaWidth;
    fit.height = static_cast<int>(widthByHeight / pictureWidth);
  } else {
    fit.height = areaHeight;
    fit.width = static_cast<int>(heightByWidth / pictureHeight);
  }
  fit.x = (areaWidth - fit.width) / 2;
  fit.y = (areaHeight - fit.height) / 2;
  return fit;
}

}  // namespace host
