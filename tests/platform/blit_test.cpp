// Blt: clipping with the source mapped as if unclipped, colour keys and nearest scaling.
#include <optional>

#include "platform_fixture.h"

namespace {

constexpr std::uint16_t kUntouched = 0xAAAA;

using BltTest = PlatformTest;

// Each pixel inside the rectangle (or the whole target) takes the source pixel under its centre,
// the source mapped as if unclipped; no other pixel changes. Empty, outside or overflowing
// rectangles draw nothing. The largest copy is big enough for the cache-bypassing block copy.
// Every source has a key, honoured only when asked for (unscaled keys: scene drawing's).
TEST_F(BltTest, EachPixelInsideTakesTheSourcePixelUnderItsCentre) {
  const struct {
    int from, to;  // square sides
    std::optional<RECT> rect;
    bool keyed = false, drawn = true;
  } draws[] = {
      {4, 2, {}},
      {600, 600, {}},
      {4, 10, RECT{1, 1, 9, 9}, true},
      {4, 10, RECT{-2, -2, 2, 2}},  // off the top-left corner
      {4, 10, RECT{2, 6, 10, 14}},  // its lower half below the target
      {4, 10, RECT{3, 3, 3, 7}},
      {4, 10, RECT{10, 0, 14, 4}},
      {4, 10, RECT{0, -9, 4, -5}},
      {4, 10, RECT{-2147483647 - 1, 0, 2147483647, 4}, false, false},
  };
  for (const auto& draw : draws) {
    IDirectDrawSurface* source = MakeSurface(draw.from, draw.from);
    IDirectDrawSurface* target = MakeSurface(draw.to, draw.to);
    std::vector<std::uint16_t> pattern;  // scattered values, row after row
    ASSERT_TRUE(ForEachPixel(source, [&pattern](int, int, std::uint16_t& pixel) {
      pixel = pattern.emplace_back(pattern.size() * 2654435761u >> 7);
    }));
    DDCOLORKEY key{pattern[0], pattern[0]};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    Fill(target, kUntouched);
    RECT rect = draw.rect.value_or(RECT{0, 0, draw.to, draw.to});
    const DWORD flags = draw.keyed ? DDBLT_KEYSRC | DDBLT_WAIT : DDBLT_WAIT;
    ASSERT_EQ(target->Blt(draw.rect ? &rect : nullptr, source, nullptr, flags, nullptr), DD_OK);
    const std::vector<std::uint16_t> pixels = Read(target);
    for (int i = 0; i < draw.to * draw.to; ++i) {
      const int x = i % draw.to, y = i / draw.to;
      std::uint16_t expected = kUntouched;
      if (draw.drawn && x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) {
        const int sx = (2 * (x - rect.left) + 1) * draw.from / (2 * (rect.right - rect.left));
        const int sy = (2 * (y - rect.top) + 1) * draw.from / (2 * (rect.bottom - rect.top));
        expected = pattern[sy * draw.from + sx];
        if (draw.keyed && expected == pattern[0]) expected = kUntouched;
      }
      ASSERT_EQ(pixels[i], expected) << draw.from << " on " << draw.to << ", rect left "
                                     << rect.left << ", pixel " << x << "," << y;
    }
  }
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
  IDirectDrawSurface* dot = MakeSurface(1, 1);
  Fill(dot, 0x0303);
  RECT corner{0, 0, 1, 1};
  picture->Blt(&corner, dot, nullptr, DDBLT_WAIT, nullptr);
  EXPECT_EQ(drawnTopLeft(), 0x0303);
}

}  // namespace
