// Test support: a surface's pixels read and written through the platform's own Lock.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/platform.h"

// Calls `use` on each pixel of the locked surface, top row first; false if it does not lock.
inline bool ForEachPixel(IDirectDrawSurface* surface,
                         const std::function<void(int x, int y, std::uint16_t& pixel)>& use) {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof(desc);
  if (surface->Lock(nullptr, &desc, 0, nullptr) != DD_OK) return false;
  for (int y = 0; y < static_cast<int>(desc.dwHeight); ++y) {
    auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                                 static_cast<std::ptrdiff_t>(y) * desc.lPitch);
    for (int x = 0; x < static_cast<int>(desc.dwWidth); ++x) use(x, y, row[x]);
  }
  surface->Unlock(nullptr);
  return true;
}

inline std::vector<std::uint16_t> Read(IDirectDrawSurface* surface) {
  std::vector<std::uint16_t> pixels;
  EXPECT_TRUE(
      ForEachPixel(surface, [&](int, int, std::uint16_t& pixel) { pixels.push_back(pixel); }));
  return pixels;
}

inline void Fill(IDirectDrawSurface* surface, std::uint16_t value) {
  EXPECT_TRUE(ForEachPixel(surface, [&](int, int, std::uint16_t& pixel) { pixel = value; }));
}

inline std::uint16_t PixelAt(IDirectDrawSurface* surface, int x, int y) {
  std::uint16_t value = 0;
  EXPECT_TRUE(ForEachPixel(surface, [&](int px, int py, std::uint16_t& pixel) {
    if (px == x && py == y) value = pixel;
  }));
  return value;
}
