#include "platform_fixture.h"

#include <cstring>

namespace {

DDSURFACEDESC Describe(IDirectDrawSurface* surface, bool lock) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof(desc);
  EXPECT_EQ(lock ? surface->Lock(nullptr, &desc, 0, nullptr) : surface->GetSurfaceDesc(&desc),
            DD_OK);
  return desc;
}

}  // namespace

void PlatformTest::SetUp() {
  host::Install(&host_);
  ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
}

void PlatformTest::TearDown() { host::Install(nullptr); }

IDirectDrawSurface* PlatformTest::MakeSurface(int width, int height) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw_->CreateSurface(&desc, &surface, nullptr), DD_OK);
  return surface;
}

std::vector<std::uint16_t> PlatformTest::Read(IDirectDrawSurface* surface) {
  const DDSURFACEDESC desc = Describe(surface, true);
  std::vector<std::uint16_t> pixels(static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight);
  const auto* row = static_cast<const std::uint8_t*>(desc.lpSurface);
  for (DWORD y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
    std::memcpy(&pixels[y * desc.dwWidth], row, desc.dwWidth * sizeof(std::uint16_t));
  }
  surface->Unlock(nullptr);
  return pixels;
}

std::uint16_t PlatformTest::PixelAt(IDirectDrawSurface* surface, int x, int y) {
  return Read(surface)[static_cast<std::size_t>(y) * Describe(surface, false).dwWidth + x];
}

void PlatformTest::Write(IDirectDrawSurface* surface, const std::vector<std::uint16_t>& pixels) {
  const DDSURFACEDESC desc = Describe(surface, true);
  ASSERT_EQ(pixels.size(), static_cast<std::size_t>(desc.dwWidth) * desc.dwHeight);
  auto* row = static_cast<std::uint8_t*>(desc.lpSurface);
  for (DWORD y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
    std::memcpy(row, &pixels[y * desc.dwWidth], desc.dwWidth * sizeof(std::uint16_t));
  }
  surface->Unlock(nullptr);
}

void PlatformTest::Fill(IDirectDrawSurface* surface, std::uint16_t value) {
  const DDSURFACEDESC desc = Describe(surface, false);
  Write(surface, std::vector<std::uint16_t>(desc.dwWidth * desc.dwHeight, value));
}
