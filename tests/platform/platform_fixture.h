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
  std::vector<std::uint16_t> Read(IDirectDrawSurface* surface) { return Copy(surface, nullptr); }
  void Write(IDirectDrawSurface* surface, const std::vector<std::uint16_t>& pixels) {
    ASSERT_EQ(Copy(surface, &pixels).size(), pixels.size());
  }
  void Fill(IDirectDrawSurface* surface, std::uint16_t value) {
    Write(surface, std::vector<std::uint16_t>(Read(surface).size(), value));
  }
  std::uint16_t PixelAt(IDirectDrawSurface* surface, int x, int y) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    return Read(surface)[static_cast<std::size_t>(y) * desc.dwWidth + x];
  }

  host::HeadlessHost host_;
  IDirectDraw* directDraw_ = nullptr;

 private:
  // Through the layer's own Lock: the surface's pixels, after writing `in` over them if given.
  static std::vector<std::uint16_t> Copy(IDirectDrawSurface* surface,
                                         const std::vector<std::uint16_t>* in) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight);
    if (in != nullptr && in->size() != pixels.size()) return {};
    auto* row = static_cast<std::uint8_t*>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
      if (in != nullptr) std::memcpy(row, &(*in)[y * desc.dwWidth], desc.dwWidth * 2);
      std::memcpy(&pixels[y * desc.dwWidth], row, desc.dwWidth * 2);
    }
    surface->Unlock(nullptr);
    return pixels;
  }
};
