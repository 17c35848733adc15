// Test support for the portable layer: a fresh headless host and DirectDraw object per test,
// and helpers that fill and read surfaces through the layer's own Lock.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/headless/headless_host.h"
#include "platform/platform.h"

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new offscreen surface; fails the test when it cannot be made.
  IDirectDrawSurface* MakeSurface(int width, int height);
  // Every pixel of the surface, top row first.
  std::vector<std::uint16_t> Read(IDirectDrawSurface* surface);
  std::uint16_t PixelAt(IDirectDrawSurface* surface, int x, int y);
  void Write(IDirectDrawSurface* surface, const std::vector<std::uint16_t>& pixels);
  void Fill(IDirectDrawSurface* surface, std::uint16_t value);

  host::HeadlessHost host_;
  IDirectDraw* directDraw_ = nullptr;
};
