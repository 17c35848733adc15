// The SDL host at its boundary: SDL events in, host events and mouse states out, frames paced.
#include "host/sdl/sdl_host.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../support/scoped_env.h"
#include "host/sdl/virtual_keys.h"
#include "host/sdl/window_mode.h"

namespace host {
namespace {

class SdlHostTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    sdl_ = SdlHost::Create(error, SdlHost::Presentation::kWindowSurface);
    ASSERT_NE(sdl_, nullptr) << error;
  }

  static void Push(SDL_EventType type, const std::function<void(SDL_Event&)>& fill = nullptr) {
    SDL_Event event{};
    event.type = type;
    if (fill) fill(event);
    SDL_PushEvent(&event);
  }
  static void PushMotion(int xrel, int yrel) {
    Push(SDL_MOUSEMOTION, [&](SDL_Event& e) { e.motion.xrel = xrel, e.motion.yrel = yrel; });
  }
  static void PushButton(std::uint8_t button, bool pressed) {
    Push(pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, [&](SDL_Event& e) {
      e.button.button = button;
      e.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    });
  }
  static void PushKey(SDL_Keycode key, bool pressed, Uint16 modifiers = KMOD_NONE) {
    Push(pressed ? SDL_KEYDOWN : SDL_KEYUP, [&](SDL_Event& e) {
      e.key.keysym.sym = key;
      e.key.keysym.mod = modifiers;
    });
  }
  std::vector<Event> DrainEvents() {
    std::vector<Event> events;
    Event event;
    while (sdl_->PollEvent(event)) events.push_back(event);
    return events;
  }

  std::unique_ptr<SdlHost> sdl_;
};

TEST_F(SdlHostTest, MovementIsSummedUntilTakenAndButtonsReportWhatIsHeld) {
  auto expectTaken = [&](int dx, int dy, int wheel, std::array<int, 3> buttons, int take) {
    const MouseState taken = sdl_->TakeMouse();
    EXPECT_EQ(taken.dx, dx) << take;
    EXPECT_EQ(taken.dy, dy) << take;
    EXPECT_EQ(taken.wheel, wheel) << take;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(taken.buttons[i], buttons[i]) << take << ": " << i;
  };
  PushMotion(5, -3);
  PushMotion(7, 1);
  Push(SDL_MOUSEWHEEL, [](SDL_Event& e) { e.wheel.y = 2; });
  PushButton(SDL_BUTTON_LEFT, true);
  expectTaken(12, -2, 2, {0x80, 0, 0}, 1);
  // Nothing moved since; a held button stays held across takes.
  PushButton(SDL_BUTTON_RIGHT, true);
  PushButton(SDL_BUTTON_MIDDLE, true);
  expectTaken(0, 0, 0, {0x80, 0x80, 0x80}, 2);
  PushMotion(-4, 0);
  PushButton(SDL_BUTTON_LEFT, false);
  expectTaken(-4, 0, 0, {0, 0x80, 0x80}, 3);
}

TEST_F(SdlHostTest, KeysArriveInOrderAsVirtualKeysAndWithAltAsSystemKeys) {
  // F4 without Alt is an ordinary key; keys with no code of their own still arrive. Alt+F4 is
  // a system key like any other, left to the default window procedure to close with.
  const struct {
    SDL_Keycode key;
    Uint16 modifiers;
    std::uint32_t virtualKey;
  } keys[] = {
      {SDLK_ESCAPE, KMOD_NONE, 0x1B},
      {SDLK_a, KMOD_NONE, 'A'},
      {SDLK_z, KMOD_SHIFT, 'Z'},
      {SDLK_9, KMOD_NONE, '9'},
      {SDLK_F4, KMOD_NONE, 0x73},
      {SDLK_F13, KMOD_NONE, 0x7C},
      {SDLK_LEFT, KMOD_NONE, 0x25},
      {SDLK_KP_ENTER, KMOD_NONE, 0x0D},
      {SDLK_KP_0, KMOD_NONE, 0x60},
      {SDLK_KP_9, KMOD_NONE, 0x69},
      {SDLK_AUDIOPLAY, KMOD_NONE, kUnknownKey},
      {SDLK_ESCAPE, KMOD_LALT, 0x1B},
      {SDLK_F4, KMOD_RALT, 0x73},
  };
  for (const auto& key : keys) {
    PushKey(key.key, true, key.modifiers);
    PushKey(key.key, false, key.modifiers);
  }
  const std::vector<Event> events = DrainEvents();
  ASSERT_EQ(events.size(), 2 * std::size(keys));
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    SCOPED_TRACE(SDL_GetKeyName(keys[i].key));
    const bool system = keys[i].modifiers != KMOD_NONE && keys[i].modifiers != KMOD_SHIFT;
    EXPECT_EQ(events[2 * i].kind, system ? Event::Kind::kSysKeyDown : Event::Kind::kKeyDown);
    EXPECT_EQ(events[2 * i + 1].kind, system ? Event::Kind::kSysKeyUp : Event::Kind::kKeyUp);
    EXPECT_EQ(events[2 * i].virtualKey, keys[i].virtualKey);
  }
}

TEST_F(SdlHostTest, EveryWayOfClosingTheWindowAsksToClose) {
  Push(SDL_QUIT);
  Push(SDL_WINDOWEVENT, [](SDL_Event& e) { e.window.event = SDL_WINDOWEVENT_CLOSE; });
  Push(SDL_WINDOWEVENT, [](SDL_Event& e) { e.window.event = SDL_WINDOWEVENT_EXPOSED; });
  const std::vector<Event> events = DrainEvents();
  ASSERT_EQ(events.size(), 3u);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(events[i].kind, Event::Kind::kClose) << i;
  EXPECT_EQ(events[2].kind, Event::Kind::kExpose);
}

TEST(WindowedSize, TheLargestWholeMultipleThatFitsOrTheShapeScaledDown) {
  const struct {
    int areaWidth, areaHeight, width, height;
  } cases[] = {
      {1024, 768, 1024, 768},   {1920, 1040, 1024, 768}, {3840, 2100, 2048, 1536},
      {3100, 2400, 3072, 2304}, {5120, 1400, 1024, 768}, {1366, 728, 970, 728},
      {1000, 300, 400, 300},    {0, 768, 0, 0},
  };
  for (const auto& c : cases) {
    const WindowSize size = WindowedSize(1024, 768, c.areaWidth, c.areaHeight);
    EXPECT_EQ(size.width, c.width) << c.areaWidth << " x " << c.areaHeight;
    EXPECT_EQ(size.height, c.height) << c.areaWidth << " x " << c.areaHeight;
  }
}

TEST_F(SdlHostTest, AFloodOfKeysIsCappedNotQueuedForEver) {
  for (int i = 0; i < 2000; ++i) PushKey(SDLK_SPACE, i % 2 == 0);
  const std::size_t delivered = DrainEvents().size();
  EXPECT_GT(delivered, 0u);
  EXPECT_LE(delivered, 256u);
}

// A clock that moves only when read or slept on, so that pacing is checked without waiting.
PacerClock FakeClock(std::uint64_t& micros, const std::function<void()>& onSleep = nullptr) {
  return {1'000'000, [&micros] { return ++micros; },
          [&micros, onSleep](std::uint64_t sleep) {
            micros += sleep;
            if (onSleep) onSleep();
          }};
}

std::uint32_t FirstPixel(SDL_Window* window) {
  const SDL_Surface* surface = SDL_GetWindowSurface(window);
  std::uint32_t pixel = 0;
  std::memcpy(&pixel, surface->pixels, surface->format->BytesPerPixel);
  return pixel;
}

TEST(FrameOrder, EachFrameIsOnTheWindowBeforeTheHoldForTheNextBegins) {
  std::uint64_t micros = 0;
  std::vector<std::uint32_t> shownWhileHeld;
  SDL_Window* window = nullptr;
  std::string error;
  auto sdl =
      SdlHost::Create(error, SdlHost::Presentation::kWindowSurface,
                      FakeClock(micros, [&] { shownWhileHeld.push_back(FirstPixel(window)); }));
  ASSERT_NE(sdl, nullptr) << error;
  ASSERT_TRUE(sdl->OpenScreen(1024, 768, 16));
  window = sdl->window();
  std::vector<std::uint16_t> pixels(1024 * 768);
  for (const std::uint16_t colour : {0xF800, 0x07E0, 0x001F}) {
    std::fill(pixels.begin(), pixels.end(), colour);
    shownWhileHeld.clear();
    sdl->ShowFrame(Frame{pixels.data(), 1024, 768, 1024 * 2});
    ASSERT_FALSE(shownWhileHeld.empty()) << "the frame was not held";
    EXPECT_EQ(shownWhileHeld.front(), FirstPixel(window)) << "held before shown: " << colour;
  }
}

TEST(FrameOrder, FramesComeOneRefreshApartWithEventsTakenEvenAfterALongStep) {
  constexpr std::uint64_t kPeriod = 1'000'000 / 60;
  constexpr std::uint64_t kStep = 2000, kSoundToItsEnd = 500'000, kSlack = 50;
  std::uint64_t micros = 0;
  FramePacer pacer(60, FakeClock(micros));
  const std::uint64_t steps[] = {kStep, kStep, kStep, kSoundToItsEnd, kStep, kStep};
  std::vector<std::uint64_t> presents;
  std::vector<int> eventTakes;
  for (const std::uint64_t step : steps) {
    micros += step;
    pacer.Show([&] { presents.push_back(micros), eventTakes.push_back(0); },
               [&] { ++eventTakes.back(); });
  }
  EXPECT_LE(presents[0], kStep + kSlack) << "the first frame waited to be shown";
  for (std::size_t i = 1; i < presents.size(); ++i) {
    // Never rushed to catch up after the long step; otherwise the steps never slow the pace,
    // but for the first frame and the first after the long step, held from when shown.
    const std::uint64_t interval = presents[i] - presents[i - 1];
    EXPECT_GE(interval, kPeriod) << i;
    const std::uint64_t restart = i == 1 || steps[i - 1] == kSoundToItsEnd ? kStep : 0;
    if (steps[i] == kStep) {
      EXPECT_LE(interval, kPeriod + restart + kSlack) << i;
    }
    EXPECT_GE(eventTakes[i - 1], 2) << "events not taken while held: " << i;
  }
}

TEST_F(SdlHostTest, AMessageThatNoBoxCanShowGoesToStandardErrorAtOnce) {
  // With no display to put a box on, the call must neither hang nor lose the message.
  const ScopedEnv noX("DISPLAY", nullptr), noWayland("WAYLAND_DISPLAY", nullptr);
  testing::internal::CaptureStderr();
  sdl_->ShowMessage("SetDisplayMode Failed!", "SetDisplayMode Failed!");
  sdl_->ShowMessage(nullptr, nullptr);
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("SetDisplayMode Failed!: SetDisplayMode Failed!"), std::string::npos)
      << written;
}

}  // namespace
}  // namespace host
