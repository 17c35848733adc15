// Frames reach the window surface with the right colours, in the right place, at any scale.
#include "host/sdl/surface_presenter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace host {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr std::uint16_t kRed = 0xF800;
constexpr std::uint16_t kGreen = 0x07E0;
constexpr std::uint16_t kBlue = 0x001F;
constexpr std::uint16_t kWhite = 0xFFFF;
constexpr std::uint16_t kGrey = 0x8410;

struct Rgb {
  Uint8 r, g, b;
  bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& rgb, std::ostream* out) {
  *out << "(" << int{rgb.r} << "," << int{rgb.g} << "," << int{rgb.b} << ")";
}

class SurfacePresenterTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
  void TearDown() override {
    presenter_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  void OpenWindow(int width, int height) {
    window_ = SDL_CreateWindow("test", 0, 0, width, height, 0);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    presenter_ = std::make_unique<SurfacePresenter>(window_);
  }

  Frame FrameOf(std::vector<std::uint16_t>& pixels) const {
    return Frame{pixels.data(), kWidth, kHeight, kWidth * 2};
  }

  Rgb At(int x, int y) const {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
    Uint32 value = 0;
    std::memcpy(&value, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
    Rgb rgb{};
    SDL_GetRGB(value, surface->format, &rgb.r, &rgb.g, &rgb.b);
    return rgb;
  }

  void Scribble(int x, int y) const {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    SDL_Rect dot = {x, y, 1, 1};
    SDL_FillRect(surface, &dot, SDL_MapRGB(surface->format, 1, 2, 3));
  }

  SDL_Window* window_ = nullptr;
  std::unique_ptr<SurfacePresenter> presenter_;
  std::vector<std::uint16_t> pixels_ = std::vector<std::uint16_t>(kWidth * kHeight, 0);
};

TEST_F(SurfacePresenterTest, ColoursAreWidenedToFullIntensity) {
  OpenWindow(kWidth, kHeight);
  pixels_[0] = kRed;
  pixels_[1] = kGreen;
  pixels_[2] = kBlue;
  pixels_[3] = kWhite;
  pixels_[kWidth * (kHeight - 1) + kWidth - 1] = kGrey;
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  EXPECT_EQ(At(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(At(1, 0), (Rgb{0, 255, 0}));
  EXPECT_EQ(At(2, 0), (Rgb{0, 0, 255}));
  EXPECT_EQ(At(3, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(At(4, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(At(kWidth - 1, kHeight - 1), (Rgb{132, 130, 132}));
}

TEST_F(SurfacePresenterTest, AWholeScaleRepeatsEveryPixelAsABlock) {
  OpenWindow(2 * kWidth, 2 * kHeight);
  pixels_[kWidth + 1] = kRed;  // (1, 1)
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  for (int y = 2; y <= 3; ++y) {
    for (int x = 2; x <= 3; ++x) EXPECT_EQ(At(x, y), (Rgb{255, 0, 0})) << x << "," << y;
  }
  EXPECT_EQ(At(4, 2), (Rgb{0, 0, 0}));
  EXPECT_EQ(At(2, 4), (Rgb{0, 0, 0}));
}

TEST_F(SurfacePresenterTest, AWideScreenGetsBlackBarsAndACentredPicture) {
  OpenWindow(1920, 1080);  // 1440 x 1080 picture, bars 240 wide
  std::fill(pixels_.begin(), pixels_.end(), kWhite);
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  EXPECT_EQ(At(239, 540), (Rgb{0, 0, 0}));
  EXPECT_EQ(At(240, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(At(1679, 1079), (Rgb{255, 255, 255}));
  EXPECT_EQ(At(1680, 540), (Rgb{0, 0, 0}));
}

TEST_F(SurfacePresenterTest, ASmallerScreenShowsTheWholePictureShrunk) {
  OpenWindow(512, 384);
  pixels_[0] = kRed;
  pixels_[kWidth * (kHeight - 2) + kWidth - 2] = kBlue;
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  EXPECT_EQ(At(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(At(511, 383), (Rgb{0, 0, 255}));
}

TEST_F(SurfacePresenterTest, ChangedRowsAreRedrawnAndALostSurfaceIsRedrawnWhole) {
  OpenWindow(kWidth, kHeight);
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  pixels_[500 * kWidth + 10] = kGreen;
  Scribble(20, 100);  // stands for pixels the window lost
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  EXPECT_EQ(At(10, 500), (Rgb{0, 255, 0}));
  EXPECT_EQ(At(20, 100), (Rgb{1, 2, 3})) << "an unchanged row is not converted again";

  presenter_->Invalidate();
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  EXPECT_EQ(At(20, 100), (Rgb{0, 0, 0}));
  EXPECT_EQ(At(10, 500), (Rgb{0, 255, 0}));
}

TEST_F(SurfacePresenterTest, AResizedWindowIsFilledAgainAtItsNewSize) {
  OpenWindow(kWidth, kHeight);
  pixels_[0] = kRed;
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  SDL_SetWindowSize(window_, 2 * kWidth, 2 * kHeight);
  presenter_->Invalidate();
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  EXPECT_EQ(At(1, 1), (Rgb{255, 0, 0}));
  EXPECT_EQ(At(2, 2), (Rgb{0, 0, 0}));
}

TEST_F(SurfacePresenterTest, FramesNoScreenCouldShowAreSkippedUntouched) {
  OpenWindow(kWidth, kHeight);
  ASSERT_TRUE(presenter_->Present(FrameOf(pixels_)));
  Scribble(0, 0);
  const Frame refused[] = {
      {nullptr, kWidth, kHeight, kWidth * 2},
      {pixels_.data(), kWidth, kHeight, kWidth},          // pitch shorter than a row
      {pixels_.data(), kWidth, kHeight, kWidth * 2 + 1},  // odd pitch
      {pixels_.data(), 0, kHeight, kWidth * 2},
      {pixels_.data(), kWidth, -1, kWidth * 2},
      {pixels_.data(), 1 << 20, 1, 1 << 21},
  };
  for (const Frame& frame : refused) EXPECT_TRUE(presenter_->Present(frame));
  EXPECT_EQ(At(0, 0), (Rgb{1, 2, 3}));
}

TEST_F(SurfacePresenterTest, AFrameWithPaddedRowsIsReadByItsPitch) {
  OpenWindow(kWidth, kHeight);
  constexpr int kPitchPixels = kWidth + 8;
  std::vector<std::uint16_t> padded(kPitchPixels * kHeight, kGrey);
  for (int y = 0; y < kHeight; ++y) padded[y * kPitchPixels] = kRed;
  ASSERT_TRUE(presenter_->Present(Frame{padded.data(), kWidth, kHeight, kPitchPixels * 2}));
  EXPECT_EQ(At(0, 767), (Rgb{255, 0, 0}));
  EXPECT_EQ(At(1, 767), (Rgb{132, 130, 132}));
}

}  // namespace
}  // namespace host
