// GDI on surface contexts: pixel colour conversion and one-line text.
#include <algorithm>

#include "platform_fixture.h"

namespace {

constexpr std::uint16_t kBackdrop = 0x1234;

class GdiTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    surface_ = MakeSurface(kWidth, kHeight);
    Fill(surface_, kBackdrop);
  }

  // Draws the text the way the labels do: white on black character cells.
  int Draw(const char* text, RECT rect) {
    HDC dc = nullptr;
    EXPECT_EQ(surface_->GetDC(&dc), DD_OK);
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(255, 255, 255));
    const int height = DrawTextA(dc, text, -1, &rect, DT_LEFT | DT_TOP);
    surface_->ReleaseDC(dc);
    return height;
  }

  static constexpr int kWidth = 300, kHeight = 60;
  IDirectDrawSurface* surface_ = nullptr;
};

TEST_F(GdiTest, PixelsConvertBetweenColoursAndRgb565) {
  HDC dc = nullptr;
  ASSERT_EQ(surface_->GetDC(&dc), DD_OK);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SetPixel(dc, 1, 0, RGB(255, 255, 255));
  // Dark enough to become raw 0 in 16 bits, as the same colour in a bitmap does.
  SetPixel(dc, 2, 0, RGB(7, 3, 7));
  // The colour set is the one 16 bits hold: each channel's top bits repeated below.
  EXPECT_EQ(SetPixel(dc, 3, 0, RGB(0x84, 0x86, 0x88)), RGB(0x84, 0x86, 0x8C));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(SetPixel(dc, kWidth, 0, RGB(1, 2, 3)), CLR_INVALID);
  EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
  surface_->ReleaseDC(dc);
  EXPECT_EQ(PixelAt(surface_, 0, 0), 0xF800);
  EXPECT_EQ(PixelAt(surface_, 1, 0), 0xFFFF);
  EXPECT_EQ(PixelAt(surface_, 2, 0), 0x0000);
  EXPECT_EQ(PixelAt(surface_, 3, 0), 0x8431);
  // A released context draws nothing.
  EXPECT_EQ(SetPixel(dc, 5, 5, RGB(255, 255, 255)), CLR_INVALID);
  EXPECT_EQ(PixelAt(surface_, 5, 5), kBackdrop);
}

// A line too long for either rectangle: cut at its edges, never wrapped, in opaque cells.
TEST_F(GdiTest, TextIsOneOpaqueLineClippedToItsRectangle) {
  EXPECT_EQ(Draw("", {0, 0, kWidth, kHeight}), 0);
  const struct {
    RECT asked, touched;  // a touched bottom of 0: one line below the top
  } cases[] = {{{20, 10, 70, kHeight}, {20, 10, 70, 0}}, {{-30, -4, 40, 6}, {0, 0, 40, 6}}};
  for (const auto& c : cases) {
    Fill(surface_, kBackdrop);
    const int height = Draw("A line far too long for the rectangle it is given", c.asked);
    EXPECT_TRUE(height >= 14 && height <= 18) << height;
    // What is no longer the backdrop: its bounding box, all of it white or black.
    RECT box{kWidth, kHeight, 0, 0};
    int touched = 0, ink = 0, grey = 0;
    const std::vector<std::uint16_t> pixels = Read(surface_);
    for (int i = 0; i < kWidth * kHeight; ++i) {
      if (pixels[i] == kBackdrop) continue;
      const LONG x = i % kWidth, y = i / kWidth;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
             std::max(box.bottom, y + 1)};
      ++touched, ink += pixels[i] == 0xFFFF, grey += pixels[i] != 0xFFFF && pixels[i] != 0;
    }
    EXPECT_EQ(
        std::vector<LONG>({box.left, box.top, box.right, box.bottom}),
        std::vector<LONG>({c.touched.left, c.touched.top, c.touched.right,
                           c.touched.bottom == 0 ? c.touched.top + height : c.touched.bottom}));
    EXPECT_EQ(touched, (box.right - box.left) * (box.bottom - box.top)) << "cells not opaque";
    EXPECT_EQ(grey, 0) << c.asked.left;
    EXPECT_GT(ink, 0) << c.asked.left;
    EXPECT_LT(ink, (box.right - box.left) * (box.bottom - box.top) / 2) << c.asked.left;
  }
}

}  // namespace
