// The renderer path shows frames letterboxed and comes back after its device is lost.
#include "host/sdl/texture_presenter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/sdl/sdl_host.h"

namespace host {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr std::uint16_t kRed = 0xF800;

// On the dummy driver the renderer is SDL's software one, drawing into the window surface.
Uint32 PixelAt(SDL_Window* window, int x, int y) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
  Uint32 value = 0;
  std::memcpy(&value, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(value, surface->format, &r, &g, &b);
  return (Uint32{r} << 16) | (Uint32{g} << 8) | b;
}

TEST(TexturePresenter, LetterboxesTheFrameAndRecoversFromALostDevice) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("test", 0, 0, 1280, 768, 0);
  ASSERT_NE(window, nullptr);
  {
    TexturePresenter presenter(window);
    ASSERT_TRUE(presenter.Ready()) << SDL_GetError();
    std::vector<std::uint16_t> pixels(kWidth * kHeight, kRed);
    const Frame frame{pixels.data(), kWidth, kHeight, kWidth * 2};
    ASSERT_TRUE(presenter.Present(frame));
    EXPECT_EQ(PixelAt(window, 127, 400), 0x000000u) << "bar";
    EXPECT_EQ(PixelAt(window, 128, 400), 0xFF0000u);
    EXPECT_EQ(PixelAt(window, 1151, 400), 0xFF0000u);
    EXPECT_EQ(PixelAt(window, 1152, 400), 0x000000u) << "bar";

    presenter.Invalidate();
    std::fill(pixels.begin(), pixels.end(), 0x001F);
    ASSERT_TRUE(presenter.Present(frame));
    EXPECT_EQ(PixelAt(window, 640, 400), 0x0000FFu);
    EXPECT_TRUE(presenter.Ready());
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
}

TEST(TexturePresenter, TheHostRebuildsItsRendererWhenTheDeviceIsReset) {
  std::string error;
  auto sdl = SdlHost::Create(error, SdlHost::Presentation::kRenderer);
  ASSERT_NE(sdl, nullptr) << error;
  ASSERT_TRUE(sdl->OpenScreen(kWidth, kHeight, 16));
  ASSERT_TRUE(sdl->usesRenderer());
  std::vector<std::uint16_t> pixels(kWidth * kHeight, kRed);
  const Frame frame{pixels.data(), kWidth, kHeight, kWidth * 2};
  sdl->ShowFrame(frame);

  SDL_Event reset{};
  reset.type = SDL_RENDER_DEVICE_RESET;
  SDL_PushEvent(&reset);
  std::fill(pixels.begin(), pixels.end(), 0x001F);
  sdl->ShowFrame(frame);  // takes the reset while it waits for the refresh
  sdl->ShowFrame(frame);
  EXPECT_EQ(PixelAt(sdl->window(), 500, 500), 0x0000FFu);
}

}  // namespace
}  // namespace host
