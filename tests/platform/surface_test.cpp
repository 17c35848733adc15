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

// The retry loop of a caller that trusts "still drawing" to clear; the cap only keeps a broken
// layer from hanging the test run. Gives the number of retries.
int LockUntilNotStillDrawing(IDirectDrawSurface* surface, HRESULT& result) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof(desc);
  int attempts = 0;
  while ((result = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING &&
         ++attempts < 1000000) {
  }
  return attempts;
}

// A refused Lock answers "still drawing" only a bounded number of times; the start-up calls
// are refused through the game's own start-up in the display tests.
TEST_F(SurfaceTest, ARefusedLockEndsWhenAllowedAgainOrGivesUp) {
  IDirectDrawSurface* surface = MakeSurface(4, 4);
  HRESULT result = DD_OK;
  portable::FailNext(Call::kLock, 3);
  EXPECT_EQ(LockUntilNotStillDrawing(surface, result), 3);
  EXPECT_EQ(result, DD_OK);
  EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
  portable::FailNext(Call::kLock, portable::kForever);
  EXPECT_LT(LockUntilNotStillDrawing(surface, result), 100);
  EXPECT_NE(result, DD_OK);
  portable::FailNext(Call::kLock, 0);
  EXPECT_EQ(LockUntilNotStillDrawing(surface, result), 0);
  EXPECT_EQ(result, DD_OK);
}

}  // namespace
