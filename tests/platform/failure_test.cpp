// Failure injection: every examined call can be refused, and refusals end.
#include "platform_fixture.h"

namespace {

using host::Call;

class FailureTest : public PlatformTest {};

// The start-up calls are refused through the game's own start-up in the display tests.
TEST_F(FailureTest, RefusedSurfaceCallsFailAndTheNextCallSucceeds) {
  host_.Fail(Call::kSetDisplayMode);
  EXPECT_NE(directDraw_->SetDisplayMode(1024, 768, 16), DD_OK);
  EXPECT_FALSE(host_.screenOpen());
  host_.Fail(Call::kCreateSurface);
  DDSURFACEDESC offscreen{};
  offscreen.dwSize = sizeof(offscreen);
  offscreen.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  offscreen.dwWidth = offscreen.dwHeight = 4;
  IDirectDrawSurface* surface = nullptr;
  EXPECT_NE(directDraw_->CreateSurface(&offscreen, &surface, nullptr), DD_OK);
  surface = MakeSurface(4, 4);
  host_.Fail(Call::kGetDC);
  HDC dc = nullptr;
  EXPECT_NE(surface->GetDC(&dc), DD_OK);
  EXPECT_EQ(surface->GetDC(&dc), DD_OK);
  EXPECT_EQ(surface->ReleaseDC(dc), DD_OK);
}

HRESULT LockUntilNotStillDrawing(IDirectDrawSurface* surface, int& attempts) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof(desc);
  HRESULT result;
  attempts = 0;
  // The retry loop of a caller that trusts "still drawing" to clear; the cap only keeps a
  // broken layer from hanging the test run.
  constexpr int kGiveUp = 1000000;
  do {
    result = surface->Lock(nullptr, &desc, 0, nullptr);
  } while (result == DDERR_WASSTILLDRAWING && ++attempts < kGiveUp);
  return result;
}

TEST_F(FailureTest, RefusedLockAnswersStillDrawingOnlyABoundedNumberOfTimes) {
  IDirectDrawSurface* surface = MakeSurface(4, 4);
  int attempts = 0;
  host_.Fail(Call::kLock, 3);
  EXPECT_EQ(LockUntilNotStillDrawing(surface, attempts), DD_OK);
  EXPECT_EQ(attempts, 3);
  EXPECT_EQ(surface->Unlock(nullptr), DD_OK);

  host_.Fail(Call::kLock, host::HeadlessHost::kForever);
  const HRESULT result = LockUntilNotStillDrawing(surface, attempts);
  EXPECT_NE(result, DD_OK);
  EXPECT_LT(attempts, 100);
  // Once the host allows it again the surface locks at once.
  host_.Fail(Call::kLock, 0);
  EXPECT_EQ(LockUntilNotStillDrawing(surface, attempts), DD_OK);
  EXPECT_EQ(attempts, 0);
}

}  // namespace
