// Blt: clipping with the source mapped as if unclipped, colour keys and nearest scaling.
#include <numeric>

#include "platform_fixture.h"

namespace {

constexpr std::uint16_t kUntouched = 0xAAAA;

class BltTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    target_ = MakeSurface(10, 10);
    Fill(target_, kUntouched);
    // Pixel (x, y) of the 4 x 4 source holds 1 + 4y + x: never 0, all distinct.
    source_ = MakeSurface(4, 4);
    std::vector<std::uint16_t> pixels(16);
    std::iota(pixels.begin(), pixels.end(), std::uint16_t{1});
    Write(source_, pixels);
  }

  static std::uint16_t Source(int x, int y) { return static_cast<std::uint16_t>(1 + 4 * y + x); }

  HRESULT Draw(RECT rect) { return target_->Blt(&rect, source_, nullptr, DDBLT_WAIT, nullptr); }

  // Every target pixel outside the rectangle must be untouched.
  void ExpectOnlyInside(const RECT& in) {
    const std::vector<std::uint16_t> pixels = Read(target_);
    for (int i = 0; i < 100; ++i) {
      const int x = i % 10, y = i / 10;
      if (x >= in.left && x < in.right && y >= in.top && y < in.bottom) continue;
      EXPECT_EQ(pixels[i], kUntouched) << x << "," << y;
    }
  }

  IDirectDrawSurface* target_ = nullptr;
  IDirectDrawSurface* source_ = nullptr;
};

TEST_F(BltTest, ClippedRectanglesDrawOnlyInsideWithTheSourceMappedAsIfWhole) {
  // Off the top-left corner: only the source's bottom-right quarter shows.
  ASSERT_EQ(Draw({-2, -2, 2, 2}), DD_OK);
  EXPECT_EQ(PixelAt(target_, 0, 0), Source(2, 2));
  EXPECT_EQ(PixelAt(target_, 1, 1), Source(3, 3));
  ExpectOnlyInside({0, 0, 2, 2});
  // Stretched to 8 x 8 with its lower half below the target.
  Fill(target_, kUntouched);
  ASSERT_EQ(Draw({2, 6, 10, 14}), DD_OK);
  EXPECT_EQ(PixelAt(target_, 2, 6), Source(0, 0));
  EXPECT_EQ(PixelAt(target_, 3, 7), Source(0, 0));
  EXPECT_EQ(PixelAt(target_, 4, 8), Source(1, 1));
  EXPECT_EQ(PixelAt(target_, 9, 9), Source(3, 1));
  ExpectOnlyInside({2, 6, 10, 10});
  // Empty, inverted or wholly outside: nothing at all.
  Fill(target_, kUntouched);
  for (RECT rect :
       {RECT{3, 3, 3, 7}, RECT{3, 3, 7, 3}, RECT{7, 7, 3, 3}, RECT{10, 0, 14, 4}, RECT{-4, 0, 0, 4},
        RECT{0, -9, 4, -5}, RECT{-2147483647 - 1, 0, 2147483647, 4}}) {
    EXPECT_EQ(Draw(rect), DD_OK) << rect.left << "," << rect.top << "," << rect.right;
  }
  ExpectOnlyInside({0, 0, 0, 0});
}

// Without rectangles each target pixel takes the source pixel under its centre: stretched,
// shrunk, and copied in blocks big enough for the copy whose stores bypass the cache.
TEST_F(BltTest, NullRectanglesSampleTheSourceUnderEachTargetPixelsCentre) {
  for (const auto& [from, to] : {std::pair{4, 8}, std::pair{4, 2}, std::pair{600, 600}}) {
    IDirectDrawSurface* source = MakeSurface(from, from);
    IDirectDrawSurface* target = MakeSurface(to, to);
    std::vector<std::uint16_t> pattern(from * from);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      pattern[i] = static_cast<std::uint16_t>(i * 2654435761u >> 7);
    }
    Write(source, pattern);
    ASSERT_EQ(target->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    const std::vector<std::uint16_t> pixels = Read(target);
    for (int i = 0; i < to * to; ++i) {
      const int x = (2 * (i % to) + 1) * from / (2 * to), y = (2 * (i / to) + 1) * from / (2 * to);
      ASSERT_EQ(pixels[i], pattern[y * from + x]) << from << " to " << to << ", pixel " << i;
    }
  }
}

// Drawn unscaled, the ball's key is the scene drawing suite's; here, drawn scaled.
TEST_F(BltTest, SourceKeyLeavesKeyedPixelsOfTheTargetAlone) {
  IDirectDrawSurface* checker = MakeSurface(2, 2);
  Write(checker, {0, 0x1234, 0x1234, 0});
  DDCOLORKEY key{0, 0};
  ASSERT_EQ(checker->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  RECT doubled{4, 4, 8, 8};
  ASSERT_EQ(target_->Blt(&doubled, checker, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(target_, 5, 5), kUntouched);
  EXPECT_EQ(PixelAt(target_, 6, 5), 0x1234);
  EXPECT_EQ(PixelAt(target_, 7, 7), kUntouched);
  // Without the flag the key's pixels are copied like any other.
  ASSERT_EQ(target_->Blt(&doubled, checker, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(target_, 5, 5), 0);
}

TEST_F(BltTest, ScaledDrawsFollowEveryChangeToTheSource) {
  IDirectDrawSurface* picture = MakeSurface(2, 2);
  IDirectDrawSurface* screen = MakeSurface(4, 4);
  auto drawnTopLeft = [&] {
    screen->Blt(nullptr, picture, nullptr, DDBLT_WAIT, nullptr);
    return PixelAt(screen, 1, 1);
  };
  Fill(picture, 0x0101);
  EXPECT_EQ(drawnTopLeft(), 0x0101);
  Fill(picture, 0x0202);  // through Lock
  EXPECT_EQ(drawnTopLeft(), 0x0202);
  HDC dc = nullptr;
  ASSERT_EQ(picture->GetDC(&dc), DD_OK);
  SetPixel(dc, 0, 0, RGB(255, 255, 255));
  picture->ReleaseDC(dc);
  EXPECT_EQ(drawnTopLeft(), 0xFFFF);
  RECT corner{0, 0, 1, 1};
  picture->Blt(&corner, source_, nullptr, DDBLT_WAIT, nullptr);
  EXPECT_EQ(drawnTopLeft(), Source(2, 2));
}

}  // namespace
