// Frames reach the window with the right colours, in the right place, at any scale, each before
// the host holds for the next, and are drawn again after the window or device loses them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/sdl/sdl_host.h"
#include "host/sdl/surface_presenter.h"
#include "host/sdl/texture_presenter.h"

namespace host {
namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kPitchPixels = kWidth + 8;  // rows padded past the picture's width
constexpr std::uint16_t kRed = 0xF800, kGreen = 0x07E0, kBlue = 0x001F, kWhite = 0xFFFF,
                        kGrey = 0x8410;
constexpr Uint32 kBlack888 = 0x000000, kRed888 = 0xFF0000, kGreen888 = 0x00FF00;
constexpr Uint32 kBlue888 = 0x0000FF, kWhite888 = 0xFFFFFF, kGrey888 = 0x848284;

// The one window the host made: the test's own way to it, the host shows none.
SDL_Window* HostWindow() {
  constexpr Uint32 kFewIds = 64;
  for (Uint32 id = 1; id < kFewIds; ++id) {
    if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
  }
  return nullptr;
}

// The window surface's pixel as 0xRRGGBB; on the dummy driver the renderer draws there too.
Uint32 PixelAt(SDL_Window* window, int x, int y) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
  Uint32 value = 0;
  std::memcpy(&value, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(value, surface->format, &r, &g, &b);
  return (Uint32{r} << 16) | (Uint32{g} << 8) | b;
}

class PresenterTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_ = SDL_CreateWindow("test", 0, 0, kWidth, kHeight, 0);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    presenter_ = std::make_unique<SurfacePresenter>(window_);
  }
  void TearDown() override {
    presenter_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  bool Present() {
    return presenter_->Present(Frame{pixels_.data(), kWidth, kHeight, kPitchPixels * 2});
  }
  Uint32 At(int x, int y) const { return PixelAt(window_, x, y); }

  SDL_Window* window_ = nullptr;
  std::unique_ptr<SurfacePresenter> presenter_;
  std::vector<std::uint16_t> pixels_ = std::vector<std::uint16_t>(kPitchPixels * kHeight, 0);
};

// Colours widened to full intensity, rows read by their pitch, only changed rows drawn again
// until the surface is lost, and at each window size the whole picture in its place (the fit's
// own table): twice the size in 2 x 2 blocks, wider between black bars, smaller shrunk whole.
TEST_F(PresenterTest, AnyWindowSizeShowsTheWholePictureInFullColourRedrawingWhatChanged) {
  std::fill(pixels_.begin(), pixels_.end(), kGrey);
  const std::uint16_t firstRow[] = {kRed, kGreen, kBlue, kWhite, 0};
  std::copy(std::begin(firstRow), std::end(firstRow), pixels_.begin());
  for (int y = 1; y < kHeight; ++y) pixels_[y * kPitchPixels] = kRed;
  pixels_[kPitchPixels + 1] = kRed;
  pixels_[kPitchPixels * (kHeight - 2) + kWidth - 2] = kBlue;
  const struct {
    int width, height, x, y;
    Uint32 rgb;
  } checks[] = {
      {1024, 768, 0, 0, kRed888},         {1024, 768, 1, 0, kGreen888},
      {1024, 768, 2, 0, kBlue888},        {1024, 768, 3, 0, kWhite888},
      {1024, 768, 4, 0, kBlack888},       {1024, 768, 5, 0, kGrey888},
      {1024, 768, 0, 767, kRed888},       {1024, 768, 1, 767, kGrey888},
      {2048, 1536, 3, 3, kRed888},        {2048, 1536, 4, 2, kGrey888},
      {1920, 1080, 239, 540, kBlack888},  {1920, 1080, 240, 0, kRed888},
      {1920, 1080, 1679, 1079, kGrey888}, {1920, 1080, 1680, 540, kBlack888},
      {512, 384, 0, 0, kRed888},          {512, 384, 511, 383, kBlue888},
  };
  ASSERT_TRUE(Present());
  // Only changed rows are converted again, until the surface is lost.
  pixels_[500 * kPitchPixels + 10] = kGreen;
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  SDL_Rect dot = {20, 100, 1, 1};  // stands for a pixel the window lost
  SDL_FillRect(surface, &dot, SDL_MapRGB(surface->format, 1, 2, 3));
  ASSERT_TRUE(Present());
  EXPECT_EQ(At(10, 500), kGreen888);
  EXPECT_EQ(At(20, 100), 0x010203u) << "an unchanged row is not converted again";
  for (const auto& c : checks) {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (width != c.width || height != c.height) {
      // A resized window is filled again at its new size.
      SDL_SetWindowSize(window_, c.width, c.height);
      presenter_->Invalidate();
      ASSERT_TRUE(Present());
    }
    EXPECT_EQ(At(c.x, c.y), c.rgb) << c.width << "x" << c.height << " at " << c.x << "," << c.y;
  }
}

// A clock that moves only when read or slept on, so that the hold is seen without waiting, and
// a hold that spins reads it over and over.
TEST(Pace, TheHostShowsEachFrameBeforeHoldingItAndTakesEventsMeanwhile) {
  std::int64_t micros = 0;
  int reads = 0, untaken = 0;  // untaken: keys still queued when the host sleeps again
  std::vector<Uint32> shownWhileHeld;
  SDL_Window* window = nullptr;
  const HostClock clock = {[&] { return ++reads, ++micros; },
                           [&](std::int64_t wake) {
                             micros = std::max(micros, wake);
                             shownWhileHeld.push_back(PixelAt(window, 0, 0));
                             untaken += SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN,
                                                       SDL_KEYDOWN);
                             SDL_Event key{SDL_KEYDOWN};
                             SDL_PushEvent(&key);
                           }};
  std::string error;
  auto sdl = SdlHost::Create(error, SdlHost::Presentation::kWindowSurface, clock);
  ASSERT_NE(sdl, nullptr) << error;
  ASSERT_TRUE(sdl->OpenScreen(kWidth, kHeight, 16));
  window = HostWindow();
  std::vector<std::uint16_t> pixels(kWidth * kHeight);
  for (const std::uint16_t colour : {kRed, kGreen, kBlue}) {
    std::fill(pixels.begin(), pixels.end(), colour);
    shownWhileHeld.clear();
    const int readsBefore = reads;
    sdl->ShowFrame(Frame{pixels.data(), kWidth, kHeight, kWidth * 2});
    ASSERT_GE(shownWhileHeld.size(), 2u) << "the frame was not held in short sleeps";
    EXPECT_LE(reads - readsBefore, 2 * static_cast<int>(shownWhileHeld.size()) + 2) << "spun";
    EXPECT_EQ(shownWhileHeld.front(), PixelAt(window, 0, 0)) << "held before shown: " << colour;
  }
  EXPECT_EQ(untaken, 0) << "events were not taken while frames were held";
  // A window uncovered is drawn whole again, though the frame is the same.
  SDL_FillRect(SDL_GetWindowSurface(window), nullptr, 0);
  SDL_Event exposed{SDL_WINDOWEVENT};
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&exposed);
  Event taken;
  sdl->PollEvent(taken);  // takes SDL's events, as the game does before each frame
  sdl->ShowFrame(Frame{pixels.data(), kWidth, kHeight, kWidth * 2});
  EXPECT_EQ(PixelAt(window, 0, 0), kBlue888);
}

// A reset device forgets all it held, and a renderer that cannot be made again gives way, in
// SDL's words, to the window surface.
TEST(Renderer, IsMadeAgainAfterAResetAndLetterboxesOrGivesWayToTheWindowSurface) {
  // Straight to SDL's software renderer: trying its GL ones on this driver remakes the window.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  std::string error;
  auto sdl = SdlHost::Create(error, SdlHost::Presentation::kRenderer);
  ASSERT_NE(sdl, nullptr) << error;
  ASSERT_TRUE(sdl->OpenScreen(kWidth, kHeight, 16));
  SDL_Window* window = HostWindow();
  std::vector<std::uint16_t> pixels(kWidth * kHeight);
  const auto show = [&](std::uint16_t colour) {
    std::fill(pixels.begin(), pixels.end(), colour);
    for (int i = 0; i < 2; ++i) sdl->ShowFrame(Frame{pixels.data(), kWidth, kHeight, kWidth * 2});
  };
  show(kRed);
  SDL_RenderSetScale(SDL_GetRenderer(window), 0.5f, 0.5f);  // state only a new renderer lacks
  SDL_Event reset{SDL_RENDER_DEVICE_RESET};
  SDL_PushEvent(&reset);
  show(kBlue);
  EXPECT_EQ(PixelAt(window, 1000, 700), kBlue888);

  SDL_SetWindowFullscreen(window, 0);
  SDL_SetWindowSize(window, 1280, 768);
  show(kRed);
  const int xs[] = {127, 128, 1151, 1152};
  const Uint32 expected[] = {kBlack888, kRed888, kRed888, kBlack888};  // bar, picture, bar
  for (int i = 0; i < 4; ++i) EXPECT_EQ(PixelAt(window, xs[i], 400), expected[i]) << xs[i];
  EXPECT_NE(SDL_GetRenderer(window), nullptr);

  SDL_SetWindowSize(window, 1 << 30, 1);  // no surface can be had this wide
  Event taken;
  sdl->PollEvent(taken);  // takes SDL's events: the renderer is lost before it draws again
  testing::internal::CaptureStderr();
  show(kGreen);
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_EQ(SDL_CreateRenderer(window, -1, 0), nullptr);  // the same failure, for SDL's reason
  EXPECT_EQ(said,
            "paddleball: drawing without the renderer: " + std::string(SDL_GetError()) + "\n");
  SDL_SetWindowSize(window, kWidth, kHeight);
  show(kGreen);
  EXPECT_EQ(SDL_GetRenderer(window), nullptr) << "the renderer was not given up";
  EXPECT_EQ(PixelAt(window, 500, 400), kGreen888);
}

}  // namespace
}  // namespace host
