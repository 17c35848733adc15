// What the web host computes without a browser: the canvas's fit, the frame deadline, the
// relative mouse and the picture handed to the page.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "host/placement.h"
#include "host/web/canvas_image.h"
#include "host/web/frame_deadline.h"
#include "host/web/mouse_accumulator.h"

namespace host {
namespace {

struct FitCase {
  int areaWidth, areaHeight;
  Placement expected;
};

TEST(PictureFit, KeepsTheShapeWithBarsOnTheLongSide) {
  constexpr int kMost = std::numeric_limits<int>::max();
  const FitCase cases[] = {
      {1024, 768, {0, 0, 1024, 768}},      // exact
      {1920, 1080, {240, 0, 1440, 1080}},  // wide window: bars left and right
      {800, 1000, {0, 200, 800, 600}},     // tall window: bars above and below
      {1001, 700, {34, 0, 933, 700}},      // rounds down, never spills over
      {0, 768, {}},
      {1024, -1, {}},
      {kMost, kMost, {0, 268435456, kMost, 1610612735}},  // no overflow on the way
  };
  for (const FitCase& c : cases) {
    const Placement fit = FitPicture(1024, 768, c.areaWidth, c.areaHeight);
    SCOPED_TRACE(testing::Message() << c.areaWidth << "x" << c.areaHeight);
    EXPECT_EQ((std::vector<int>{fit.x, fit.y, fit.width, fit.height}),
              (std::vector<int>{c.expected.x, c.expected.y, c.expected.width, c.expected.height}));
  }
  EXPECT_EQ(FitPicture(0, 768, 640, 480).width, 0);
}

TEST(FrameDeadline, RunsOnTheClockAndStartsAfreshWhenFarOff) {
  FrameDeadline deadline(60);
  const std::int64_t p = deadline.periodMicros();
  ASSERT_EQ(p, 16666);
  struct Step {
    std::int64_t presentedAt, expected;
  };
  const Step steps[] = {
      {1000, 1000 + p},                // the first frame sets the pace
      {1000 + p + 900, 1000 + 2 * p},  // a late wake-up is not carried into the next slot
      {1000 + 2 * p, 1000 + 3 * p},
      {1000 + 5 * p, 1000 + 6 * p},  // held longer than a slot (a sound): no rush to catch up
      {500, 500 + p},                // a clock that went back
  };
  for (const Step& step : steps) {
    EXPECT_EQ(deadline.AfterPresent(step.presentedAt), step.expected) << step.presentedAt;
  }
}

TEST(MouseAccumulator, SumsMovementUntilTakenAndSeesShortClicksOnce) {
  MouseAccumulator mouse;
  mouse.Move(5, -3);
  mouse.Move(-2, 1);
  mouse.Wheel(1);
  mouse.Press(2);  // the page's right button is the device's second
  mouse.Release(2);
  mouse.Press(0);
  mouse.Press(7);  // no such button on the device
  MouseState taken = mouse.Take();
  EXPECT_EQ(taken.dx, 3);
  EXPECT_EQ(taken.dy, -2);
  EXPECT_EQ(taken.wheel, 1);
  EXPECT_EQ(std::vector<int>(taken.buttons, taken.buttons + 4),
            (std::vector<int>{0x80, 0x80, 0, 0}));

  taken = mouse.Take();
  EXPECT_EQ(taken.dx, 0);
  EXPECT_EQ(std::vector<int>(taken.buttons, taken.buttons + 4), (std::vector<int>{0x80, 0, 0, 0}));

  mouse.ReleaseAll();
  mouse.Move(std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min());
  mouse.Move(1, -1);
  taken = mouse.Take();
  EXPECT_EQ(taken.dx, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(taken.dy, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(taken.buttons[0], 0);
}

TEST(CanvasImage, HandsOverOnlyWhatChanged) {
  constexpr int kWidth = 6;
  constexpr int kHeight = 12;
  constexpr int kPitchPixels = 8;  // rows padded past the picture's width
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
  pixels[5 * kPitchPixels + 4] = 0xFFFF;
  pixels[9 * kPitchPixels + 1] = 0xF800;
  EXPECT_EQ(changed(frame), (std::vector<int>{1, 5, 4, 5}));
  // Packed row after row: the white pixel ends the first row, the red one starts the last;
  // each channel's top bits fill its low ones, so full intensity stays full.
  const std::uint8_t* packed = image.Pixels({1, 5, 4, 5});
  const auto pixelAt = [packed](int i) {
    return std::vector<int>(packed + i * 4, packed + i * 4 + 4);
  };
  EXPECT_EQ(pixelAt(3), (std::vector<int>{255, 255, 255, 255}));
  EXPECT_EQ(pixelAt(16), (std::vector<int>{255, 0, 0, 255}));

  for (const Frame& bad : {Frame{pixels.data(), kWidth, kHeight, kWidth * 2 - 2},
                           Frame{pixels.data(), kWidth, kHeight, kPitchPixels * 2 + 1},
                           Frame{nullptr, kWidth, kHeight, kWidth * 2}}) {
    EXPECT_EQ(changed(bad), nothing);
  }
  EXPECT_EQ(changed(Frame{pixels.data(), kWidth, 2, kPitchPixels * 2}),
            (std::vector<int>{0, 0, kWidth, 2}));
}

}  // namespace
}  // namespace host
