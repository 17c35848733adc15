// Pictures on every host: the fit on a screen or page, the frames any host refuses, and the
// changed part handed on, widened to full intensity or as runs of 16-bit rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "host/picture_limits.h"
#include "host/placement.h"
#include "host/web/canvas_image.h"
#include "host/web/texture_rows.h"

namespace host {
namespace {

TEST(PictureFit, KeepsTheShapeWithBarsOnTheLongSide) {
  constexpr int kMost = std::numeric_limits<int>::max();
  const struct {
    int areaWidth, areaHeight;
    std::vector<int> expected;  // x, y, width, height
  } cases[] = {
      {1920, 1080, {240, 0, 1440, 1080}},                 // wide window: bars left and right
      {800, 1000, {0, 200, 800, 600}},                    // tall window: bars above and below
      {1001, 700, {34, 0, 933, 700}},                     // rounds down, never spills over
      {1, 700, {0, 0, 0, 0}},                             // too narrow for a whole row
      {kMost, kMost, {0, 268435456, kMost, 1610612735}},  // no overflow on the way
  };
  for (const auto& c : cases) {
    const Placement fit = FitPicture(1024, 768, c.areaWidth, c.areaHeight);
    EXPECT_EQ((std::vector<int>{fit.x, fit.y, fit.width, fit.height}), c.expected)
        << c.areaWidth << "x" << c.areaHeight;
  }
  EXPECT_EQ(FitPicture(1024, 0, 640, 480).width, 0);
}

// One check for every picture, surface, bitmap file and frame, exact at its bounds.
TEST(PictureLimits, FramesNoScreenCouldShowAreRefused) {
  std::vector<std::uint16_t> pixels(8);
  const struct {
    Frame frame;
    bool drawable;
  } cases[] = {
      {{pixels.data(), 4, 2, 8}, true},
      {{pixels.data(), 4, 2, 10}, true},  // rows padded
      {{nullptr, 4, 2, 8}, false},
      {{pixels.data(), 4, 2, 6}, false},  // pitch shorter than a row
      {{pixels.data(), 4, 2, 9}, false},  // odd pitch
      {{pixels.data(), 0, 2, 8}, false},
      {{pixels.data(), 4, -1, 8}, false},
      {{pixels.data(), kLargestPictureSide + 1, 1, 1 << 20}, false},
      {{pixels.data(), 1, kLargestPictureSide + 1, 2}, false},
      {{pixels.data(), kLargestPictureSide, kLargestPictureSide, 1 << 14}, false},  // too many
      {{pixels.data(), kLargestPictureSide, 1, 1 << 14}, true},                     // the sides
      {{pixels.data(), 1, kLargestPictureSide, 2}, true},                           // at most
      {{pixels.data(), 4096, 4096, 8192}, true},   // the most pixels, exactly
      {{pixels.data(), 4096, 4097, 8192}, false},  // one row more
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDrawable(c.frame), c.drawable)
        << c.frame.width << "x" << c.frame.height << " pitch " << c.frame.pitchBytes;
  }
}

TEST(ChangedPicture, OnlyWhatChangedIsHandedOn) {
  constexpr int kWidth = 70, kHeight = 12;  // rows compared in blocks, then pixel by pixel
  constexpr int kPitchPixels = 72;          // rows padded past the picture's width
  std::vector<std::uint16_t> pixels(kPitchPixels * kHeight, 0);
  const Frame frame{pixels.data(), kWidth, kHeight, kPitchPixels * 2};
  CanvasImage image;
  const auto changed = [&image](const Frame& f) {
    const ChangedRect rect = image.Update(f);
    return std::vector<int>{rect.x, rect.y, rect.width, rect.height};
  };
  const std::vector<int> nothing{0, 0, 0, 0};

  EXPECT_EQ(changed(frame), (std::vector<int>{0, 0, kWidth, kHeight}));
  EXPECT_EQ(changed(frame), nothing);
  pixels[5 * kPitchPixels + kWidth] = 0xFFFF;  // padding only
  EXPECT_EQ(changed(frame), nothing);
  pixels[5 * kPitchPixels + 40] = 0xFFFF;
  pixels[9 * kPitchPixels + 1] = 0xF800;
  EXPECT_EQ(changed(frame), (std::vector<int>{1, 5, 40, 5}));
  // Packed row after row: the white pixel ends the first row, the red one starts the last;
  // each channel's top bits fill its low ones, so full intensity stays full.
  const std::uint8_t* packed = image.Pixels({1, 5, 40, 5});
  const auto pixelAt = [packed](int i) {
    return std::vector<int>(packed + i * 4, packed + i * 4 + 4);
  };
  EXPECT_EQ(pixelAt(39), (std::vector<int>{255, 255, 255, 255}));
  EXPECT_EQ(pixelAt(160), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(changed(frame), nothing) << "what changed was not all kept";

  EXPECT_EQ(changed(Frame{nullptr, kWidth, kHeight, kWidth * 2}), nothing);
  EXPECT_EQ(changed(Frame{pixels.data(), kWidth, 2, kPitchPixels * 2}),
            (std::vector<int>{0, 0, kWidth, 2}));
}

TEST(ChangedPicture, ChangedRowsGoUpInRunsBridgingShortGaps) {
  constexpr int kWidth = 4, kHeight = 40, kPitchPixels = 6;
  std::vector<std::uint16_t> pixels(kPitchPixels * kHeight, 0);
  const Frame frame{pixels.data(), kWidth, kHeight, kPitchPixels * 2};
  TextureRows rows;
  const auto runs = [&rows](const Frame& f) {
    std::vector<int> flat;
    for (const RowRun& run : rows.Take(f)) flat.insert(flat.end(), {run.first, run.count});
    return flat;
  };
  const auto mark = [&pixels](int row, int x) { ++pixels[row * kPitchPixels + x]; };

  EXPECT_EQ(runs(frame), (std::vector<int>{0, kHeight}));
  mark(3, kWidth);  // padding only
  EXPECT_EQ(runs(frame), std::vector<int>{});
  mark(3, 0);
  mark(20, 3);  // sixteen rows between: one upload
  EXPECT_EQ(runs(frame), (std::vector<int>{3, 18}));
  mark(2, 1);
  mark(20, 0);  // seventeen between: two
  EXPECT_EQ(runs(frame), (std::vector<int>{2, 1, 20, 1}));
  rows.Forget();
  EXPECT_EQ(runs(frame), (std::vector<int>{0, kHeight}));
  EXPECT_EQ(runs(Frame{nullptr, kWidth, kHeight, kWidth * 2}), std::vector<int>{});
}

}  // namespace
}  // namespace host
