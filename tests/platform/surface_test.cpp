// Surfaces: creation limits, lost surfaces and refused calls. What a flip shows, and when, is
// the display suite's and the refresh hold's.
#include "platform_fixture.h"

namespace {

using portable::Call;

using SurfaceTest = PlatformTest;

TEST_F(SurfaceTest, OffscreenCreationRefusesBadRecordsAndWildSizes) {
  IDirectDrawSurface* surface = nullptr;
  constexpr DWORD kFull = sizeof(DDSURFACEDESC);
  EXPECT_EQ(Create(1, 1, &surface), DD_OK);
  EXPECT_EQ(Create(8192, 16, &surface), DD_OK);
  EXPECT_EQ(Create(8, 8, &surface, kFull - 4), DDERR_INVALIDPARAMS);
  EXPECT_EQ(Create(8, 8, &surface, kFull, DDSD_CAPS), DDERR_INVALIDPARAMS);
  // The size limits themselves are the host core's table.
  EXPECT_EQ(Create(0, 8, &surface), DDERR_INVALIDPARAMS);
  EXPECT_EQ(Create(8192, 8192, &surface), DDERR_INVALIDPARAMS);
  EXPECT_EQ(directDraw_->CreateSurface(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceTest, RefusedFlipLosesEverySurfaceUntilEachIsRestored) {
  // The game's own chain: 1024 x 768 x 16, a primary surface with one back buffer.
  ASSERT_EQ(directDraw_->SetDisplayMode(1024, 768, 16), DD_OK);
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.dwBackBufferCount = 1;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  IDirectDrawSurface* front = nullptr;
  ASSERT_EQ(directDraw_->CreateSurface(&desc, &front, nullptr), DD_OK);
  IDirectDrawSurface* back = nullptr;
  DDSCAPS caps{DDSCAPS_BACKBUFFER};
  ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
  ASSERT_NE(back, front);
  IDirectDrawSurface* sprite = MakeSurface(4, 4);
  portable::FailNext(Call::kFlip);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(sprite->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
  // Lost surfaces refuse work until restored, even once the host allows it again.
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(back->Blt(nullptr, sprite, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACELOST);
  HDC dc = nullptr;
  EXPECT_EQ(sprite->GetDC(&dc), DDERR_SURFACELOST);
  // Restoring the front restores its back buffer; the sprite stays lost until restored itself.
  EXPECT_EQ(front->Restore(), DD_OK);
  EXPECT_EQ(back->IsLost(), DD_OK);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(sprite->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(sprite->Restore(), DD_OK);
  EXPECT_EQ(sprite->IsLost(), DD_OK);
}

// A refused Lock answers "still drawing" only a bounded number of times; the caller's loop
// trusts it to clear (capped only so that a broken layer cannot hang the run).
TEST_F(SurfaceTest, ARefusedLockEndsWhenAllowedAgainOrGivesUp) {
  IDirectDrawSurface* surface = MakeSurface(4, 4);
  const struct {
    int refusals, retries;  // retries: -1, fewer than a hundred
    HRESULT result;
  } cases[] = {{3, 3, DD_OK}, {portable::kForever, -1, DDERR_GENERIC}, {0, 0, DD_OK}};
  for (const auto& c : cases) {
    portable::FailNext(Call::kLock, c.refusals);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    HRESULT result = DD_OK;
    int retries = 0;
    while ((result = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING &&
           ++retries < 1000000) {
    }
    EXPECT_TRUE(c.retries < 0 ? retries < 100 : retries == c.retries) << c.refusals;
    EXPECT_EQ(result, c.result) << c.refusals;
    if (result == DD_OK) surface->Unlock(nullptr);
  }
}

}  // namespace
