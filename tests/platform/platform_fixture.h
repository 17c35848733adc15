// Test support for the portable layer: a fresh headless host and DirectDraw object per test,
// and helpers that make surfaces and fill and read them through the layer's own Lock.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/headless/headless_host.h"
#include "platform/platform.h"
#include "portable/fault_table.h"

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::Install(&host_);
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
  }
  void TearDown() override {
    portable::ClearFaults();
    host::Install(nullptr);
  }

  // Asks for an offscreen surface with a description of that size and those flags.
  HRESULT Create(DWORD width, DWORD height, IDirectDrawSurface** surface,
                 DWORD size = sizeof(DDSURFACEDESC),
                 DWORD flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT) {
    DDSURFACEDESC desc{};
    desc.dwSize = size;
    desc.dwFlags = flags;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    return directDraw_->CreateSurface(&desc, surface, nullptr);
  }
  // A new offscreen surface; fails the test when it cannot be made.
  IDirectDrawSurface* MakeSurface(int width, int height) {
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(Create(static_cast<DWORD>(width), static_cast<DWORD>(height), &surface), DD_OK);
    return surface;
  }

  // Every pixel of the surface, top row first.
  std::vector<std::uint16_t> Read(IDirectDrawSurface* surface) {
    const DDSURFACEDESC desc = Describe(surface, true);
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight);
    const auto* row = static_cast<const std::uint8_t*>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
      std::memcpy(&pixels[y * desc.dwWidth], row, desc.dwWidth * sizeof(std::uint16_t));
    }
    surface->Unlock(nullptr);
    return pixels;
  }
  std::uint16_t PixelAt(IDirectDrawSurface* surface, int x, int y) {
    return Read(surface)[static_cast<std::size_t>(y) * Describe(surface, false).dwWidth + x];
  }
  void Write(IDirectDrawSurface* surface, const std::vector<std::uint16_t>& pixels) {
    const DDSURFACEDESC desc = Describe(surface, true);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight);
    auto* row = static_cast<std::uint8_t*>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
      std::memcpy(row, &pixels[y * desc.dwWidth], desc.dwWidth * sizeof(std::uint16_t));
    }
    surface->Unlock(nullptr);
  }
  void Fill(IDirectDrawSurface* surface, std::uint16_t value) {
    const DDSURFACEDESC desc = Describe(surface, false);
    Write(surface, std::vector<std::uint16_t>(desc.dwWidth * desc.dwHeight, value));
  }

  host::HeadlessHost host_;
  IDirectDraw* directDraw_ = nullptr;

 private:
  // The surface's description, locking the surface first when asked.
  static DDSURFACEDESC Describe(IDirectDrawSurface* surface, bool lock) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(lock ? surface->Lock(nullptr, &desc, 0, nullptr) : surface->GetSurfaceDesc(&desc),
              DD_OK);
    return desc;
  }
};
