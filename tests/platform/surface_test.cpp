// Surfaces: creation limits, lost surfaces and refused calls. What a flip shows, and when, is
// the display suite's and the refresh hold's.
#include <map>
#include <vector>

#include "platform_fixture.h"

namespace {

using portable::Call;

class SurfaceTest : public PlatformTest {
 protected:
  // The game's own chain: 1024 x 768 x 16, a primary surface with one back buffer.
  void MakeChain(IDirectDrawSurface*& front, IDirectDrawSurface*& back) {
    ASSERT_EQ(directDraw_->SetDisplayMode(1024, 768, 16), DD_OK);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    ASSERT_EQ(directDraw_->CreateSurface(&desc, &front, nullptr), DD_OK);
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
  }
};

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
  IDirectDrawSurface* front = nullptr;
  IDirectDrawSurface* back = nullptr;
  ASSERT_NO_FATAL_FAILURE(MakeChain(front, back));
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

// Every row shown with a known origin, by origin: two with the same must hold the same pixels.
class OriginCheckingHost : public host::HeadlessHost {
 public:
  void ShowFrame(const host::Frame& frame) override {
    for (int y = 0; y < frame.height; ++y) {
      if (frame.rowOrigins[y] == 0) continue;
      ++knownRows;
      const std::vector<std::uint16_t> row(frame.Row(y), frame.Row(y) + frame.width);
      const auto [seen, first] = rows.try_emplace(frame.rowOrigins[y], row);
      if (!first && seen->second != row) ++mismatched;
    }
    HeadlessHost::ShowFrame(frame);
  }
  std::map<std::uint64_t, std::vector<std::uint16_t>> rows;
  int knownRows = 0;
  int mismatched = 0;
};

// The background is copied only over rows not already holding it; every other way of drawing
// on the back buffer, and a change to the background itself, must be seen by that skip.
TEST_F(SurfaceTest, RowsNamedAsCopiesOfThePictureHoldIt) {
  OriginCheckingHost checking;
  host::Install(&checking);
  IDirectDrawSurface* front = nullptr;
  IDirectDrawSurface* back = nullptr;
  ASSERT_NO_FATAL_FAILURE(MakeChain(front, back));
  IDirectDrawSurface* background = MakeSurface(8, 6);
  ASSERT_TRUE(ForEachPixel(background, [](int x, int y, std::uint16_t& p) { p = x * 8 + y; }));
  IDirectDrawSurface* sprite = MakeSurface(4, 4);
  Fill(sprite, 0xFFFF);
  const auto drawOnDc = [back](const auto& draw) {
    HDC dc = nullptr;
    ASSERT_EQ(back->GetDC(&dc), DD_OK);
    draw(dc);
    back->ReleaseDC(dc);
  };
  RECT spriteAt{100, 300, 140, 340};
  RECT textAt{10, 500, 300, 768};
  const std::function<void()> writers[] = {
      [] {},
      [&] { back->Blt(&spriteAt, sprite, nullptr, DDBLT_WAIT, nullptr); },
      [&] { drawOnDc([&](HDC dc) { DrawTextA(dc, "SCORE: 100", -1, &textAt, DT_LEFT); }); },
      [&] { drawOnDc([](HDC dc) { SetPixel(dc, 5, 700, RGB(255, 0, 0)); }); },
      [&] { drawOnDc([&](HDC dc) { StretchBlt(dc, 0, 20, 9, 9, dc, 0, 300, 9, 9, SRCCOPY); }); },
      [&] { Fill(back, 0x1234); },
      [&] { Fill(background, 0x4321); },
  };
  for (const auto& write : writers) {
    // Each buffer of the pair takes every writer once, and the background over it afterwards.
    for (int frame = 0; frame < 3; ++frame) {
      ASSERT_EQ(back->Blt(nullptr, background, nullptr, DDBLT_WAIT, nullptr), DD_OK);
      if (frame == 0) write();
      ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    }
  }
  EXPECT_EQ(checking.mismatched, 0);
  EXPECT_GT(checking.knownRows, 0);
  EXPECT_EQ(PixelAt(front, 0, 0), 0x4321) << "the changed background was not shown";
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
