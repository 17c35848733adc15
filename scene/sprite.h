// A picture on the screen: where it is drawn, how it moves and the surface it comes from.
#pragma once

#include <cstdint>

#include "platform/platform.h"

class Sprite {
 public:
  Sprite() = default;

  RECT GetBounds() const { return bounds; }
  void SetBounds(RECT r) { bounds = r; }
  std::int32_t GetWidth() const { return width; }
  std::int32_t GetVelocityX() const { return velocityX; }
  std::int32_t GetVelocityY() const { return velocityY; }
  void SetVelocityX(std::int32_t v) { velocityX = v; }
  void SetVelocityY(std::int32_t v) { velocityY = v; }

  // Makes the picture's surface and fills it from a bitmap resource or file.
  HRESULT Load(const char* path, std::int32_t surfaceWidth, std::int32_t surfaceHeight);
  // Blits the picture onto `target`: keyed into the bounds, or over all of it at left 0.
  void Draw(IDirectDrawSurface* target);

  IDirectDrawSurface* GetSurface() const { return surface; }

 private:
  std::int32_t velocityX = 0;
  std::int32_t velocityY = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  RECT bounds = {0, 0, 0, 0};
  IDirectDrawSurface* surface = nullptr;
};
