// Test support for the portable layer: a fresh headless host and DirectDraw object per test,
// and helpers that make surfaces.
#pragma once

#include <gtest/gtest.h>

#include "../support/surface_pixels.h"
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

  host::HeadlessHost host_;
  IDirectDraw* directDraw_ = nullptr;
};
