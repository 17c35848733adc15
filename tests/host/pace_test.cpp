// The one frame deadline, and the desktop showing each frame before it holds for the next.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/frame_deadline.h"
#include "host/sdl/sdl_host.h"

namespace host {
namespace {

TEST(FrameDeadline, RunsOnTheClockAndStartsAfreshWhenFarOff) {
  FrameDeadline deadline(60);
  const std::int64_t p = deadline.periodMicros();
  ASSERT_EQ(p, 16666);
  const struct {
    std::int64_t presentedAt, expected;
  } steps[] = {
      {1000, 1000 + p},                // the first frame sets the pace
      {1000 + p + 900, 1000 + 2 * p},  // a late wake-up is not carried into the next slot
      {1000 + 2 * p, 1000 + 3 * p},
      {1000 + 5 * p, 1000 + 6 * p},  // held longer than a slot (a sound): no rush to catch up
      {500, 500 + p},                // a clock that went back
      {500 + p - 100, 500 + 2 * p},  // early, within a slot: the pace holds
  };
  for (const auto& step : steps) {
    EXPECT_EQ(deadline.AfterPresent(step.presentedAt), step.expected) << step.presentedAt;
  }
}

std::uint32_t FirstPixel(SDL_Window* window) {
  const SDL_Surface* surface = SDL_GetWindowSurface(window);
  std::uint32_t pixel = 0;
  std::memcpy(&pixel, surface->pixels, surface->format->BytesPerPixel);
  return pixel;
}

// A clock that moves only when read or slept on, so that the hold is seen without waiting.
TEST(FrameDeadline, TheDesktopShowsEachFrameBeforeHoldingItAndTakesEventsMeanwhile) {
  std::int64_t micros = 0;
  std::vector<std::uint32_t> shownWhileHeld;
  SDL_Window* window = nullptr;
  const SdlClock clock = {[&] { return ++micros; },
                          [&](std::int64_t sleep) {
                            micros += sleep;
                            shownWhileHeld.push_back(FirstPixel(window));
                            SDL_Event key{};
                            key.type = SDL_KEYDOWN;
                            SDL_PushEvent(&key);
                          }};
  std::string error;
  auto sdl = SdlHost::Create(error, SdlHost::Presentation::kWindowSurface, clock);
  ASSERT_NE(sdl, nullptr) << error;
  ASSERT_TRUE(sdl->OpenScreen(1024, 768, 16));
  window = sdl->window();
  std::vector<std::uint16_t> pixels(1024 * 768);
  for (const std::uint16_t colour : {0xF800, 0x07E0, 0x001F}) {
    std::fill(pixels.begin(), pixels.end(), colour);
    shownWhileHeld.clear();
    const std::int64_t before = micros;
    sdl->ShowFrame(Frame{pixels.data(), 1024, 768, 1024 * 2});
    ASSERT_GE(shownWhileHeld.size(), 2u) << "the frame was not held in short sleeps";
    EXPECT_EQ(shownWhileHeld.front(), FirstPixel(window)) << "held before shown: " << colour;
    EXPECT_LE(micros - before, 2 * 16667) << colour;
  }
  int keys = 0;
  for (Event event; sdl->PollEvent(event);) ++keys;
  EXPECT_GE(keys, 6) << "events were not taken while frames were held";
}

}  // namespace
}  // namespace host
