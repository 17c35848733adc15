// The one frame deadline, and the desktop showing each frame before it holds for the next.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/frame_deadline.h"
#include "host/sdl/sdl_host.h"

namespace host {
namespace {

// The game is woken early by what recent frames took and its frame shown at the deadline,
// which keeps to the clock however late a present is, and starts afresh when far off;
// hand-backs come no sooner than a period less half a millisecond apart.
TEST(FrameDeadline, WakesTheGameEarlyAndShowsEachFrameAtTheDeadline) {
  FrameDeadline deadline(60);
  const struct {
    std::int64_t ready, showAt, lead, presented, next, wake, handedBack;
  } steps[] = {
      {1000, 1000, 500, 1000, 17666, 17166, 17166},      // the first is shown at once
      {17466, 17666, 800, 17666, 34332, 33532, 33532},   // took 300: woken 800 early
      {35532, 34332, 2500, 35532, 50998, 49698, 49698},  // took 2000: late, the lead grows...
      {49798, 50998, 2500, 50998, 67664, 65864, 68864},  // ...but hand-backs stay spaced
      {68964, 67664, 3600, 68964, 84330, 85030, 85030},  // after a late hand-back, even past it
      {105030, 84330, 3600, 105030, 121696, 118096, 118096},   // held: a fresh start
      {128096, 121696, 4166, 128096, 138362, 134262, 134262},  // at most a quarter frame early
      {500, 138362, 4166, 500, 17166, 13000, 13000},           // a clock that went back
      {13100, 17166, 4166, 17066, 33832, 29666, 29666},  // early within a slot: the pace holds
  };
  for (const auto& step : steps) {
    EXPECT_EQ(deadline.ReadyAt(step.ready), step.showAt) << step.ready;
    EXPECT_EQ(deadline.leadMicros(), step.lead) << step.ready;
    EXPECT_EQ(deadline.AfterPresent(step.presented), step.next) << step.ready;
    EXPECT_EQ(deadline.WakeMicros(), step.wake) << step.ready;
    deadline.HandedBack(step.handedBack);
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
