// The SDL host at its boundary: SDL events in, host events and mouse states out, frames paced.
#include "host/sdl/sdl_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace host {
namespace {

class SdlHostTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    sdl_ = SdlHost::Create(error, SdlHost::Presentation::kWindowSurface);
    ASSERT_NE(sdl_, nullptr) << error;
  }

  static void PushMotion(int xrel, int yrel) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = xrel;
    event.motion.yrel = yrel;
    SDL_PushEvent(&event);
  }
  static void PushButton(std::uint8_t button, bool pressed) {
    SDL_Event event{};
    event.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
  }
  static void PushKey(SDL_Keycode key, bool pressed, Uint16 modifiers = KMOD_NONE) {
    SDL_Event event{};
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    SDL_PushEvent(&event);
  }
  static void PushWindowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    SDL_PushEvent(&event);
  }
  std::vector<Event> DrainEvents() {
    std::vector<Event> events;
    Event event;
    while (sdl_->PollEvent(event)) events.push_back(event);
    return events;
  }

  std::unique_ptr<SdlHost> sdl_;
};

TEST_F(SdlHostTest, MouseMovementIsSummedUntilTakenThenStartsAgainFromZero) {
  PushMotion(5, -3);
  PushMotion(7, 1);
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = 2;
  SDL_PushEvent(&wheel);
  const MouseState first = sdl_->TakeMouse();
  EXPECT_EQ(first.dx, 12);
  EXPECT_EQ(first.dy, -2);
  EXPECT_EQ(first.wheel, 2);

  const MouseState still = sdl_->TakeMouse();
  EXPECT_EQ(still.dx, 0);
  EXPECT_EQ(still.dy, 0);
  EXPECT_EQ(still.wheel, 0);

  PushMotion(-4, 0);
  EXPECT_EQ(sdl_->TakeMouse().dx, -4);
}

TEST_F(SdlHostTest, ButtonsReportWhatIsHeldAtTheTake) {
  PushButton(SDL_BUTTON_LEFT, true);
  MouseState taken = sdl_->TakeMouse();
  EXPECT_EQ(taken.buttons[0], 0x80);
  EXPECT_EQ(taken.buttons[1], 0);

  PushButton(SDL_BUTTON_RIGHT, true);
  PushButton(SDL_BUTTON_MIDDLE, true);
  taken = sdl_->TakeMouse();
  EXPECT_EQ(taken.buttons[0], 0x80) << "a held button stays held across takes";
  EXPECT_EQ(taken.buttons[1], 0x80);
  EXPECT_EQ(taken.buttons[2], 0x80);

  PushButton(SDL_BUTTON_LEFT, false);
  taken = sdl_->TakeMouse();
  EXPECT_EQ(taken.buttons[0], 0);
  EXPECT_EQ(taken.buttons[1], 0x80);
}

TEST_F(SdlHostTest, KeysArriveAsVirtualKeysInOrder) {
  PushKey(SDLK_ESCAPE, true);
  PushKey(SDLK_a, false);
  PushKey(SDLK_F4, true);  // F4 alone is just a key
  const std::vector<Event> events = DrainEvents();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, Event::Kind::kKeyDown);
  EXPECT_EQ(events[0].virtualKey, 0x1Bu);
  EXPECT_EQ(events[1].kind, Event::Kind::kKeyUp);
  EXPECT_EQ(events[1].virtualKey, static_cast<std::uint32_t>('A'));
  EXPECT_EQ(events[2].kind, Event::Kind::kKeyDown);
  EXPECT_EQ(events[2].virtualKey, 0x73u);
}

TEST_F(SdlHostTest, EveryWayOfClosingTheWindowAsksToClose) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  PushKey(SDLK_F4, true, KMOD_LALT);
  PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
  const std::vector<Event> events = DrainEvents();
  ASSERT_EQ(events.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(events[i].kind, Event::Kind::kClose) << i;
  EXPECT_EQ(events[3].kind, Event::Kind::kExpose);
}

TEST_F(SdlHostTest, AFloodOfKeysIsCappedNotQueuedForEver) {
  for (int i = 0; i < 2000; ++i) PushKey(SDLK_SPACE, i % 2 == 0);
  const std::size_t delivered = DrainEvents().size();
  EXPECT_GT(delivered, 0u);
  EXPECT_LE(delivered, 256u);
}

TEST_F(SdlHostTest, FramesAreNeverShownFasterThanSixtyASecond) {
  constexpr int kWidth = 1024;
  constexpr int kHeight = 768;
  constexpr int kFrames = 30;
  ASSERT_TRUE(sdl_->OpenScreen(kWidth, kHeight, 16));
  std::vector<std::uint16_t> pixels(kWidth * kHeight, 0x07E0);
  const Frame frame{pixels.data(), kWidth, kHeight, kWidth * 2};

  const Uint64 start = SDL_GetPerformanceCounter();
  for (int i = 0; i < kFrames; ++i) sdl_->ShowFrame(frame);
  const double seconds =
      static_cast<double>(SDL_GetPerformanceCounter() - start) / SDL_GetPerformanceFrequency();

  std::printf("%d frames in %.4f s: %.2f frames a second\n", kFrames, seconds,
              (kFrames - 1) / seconds);
  // The first frame is shown at once; each later one waits out a whole refresh.
  EXPECT_GE(seconds, (kFrames - 1) / 60.0);
}

TEST_F(SdlHostTest, APacedFrameIsStillShownAfterALongHold) {
  constexpr int kSide = 8;
  ASSERT_TRUE(sdl_->OpenScreen(1024, 768, 16));
  std::vector<std::uint16_t> pixels(kSide * kSide, 0xFFFF);
  const Frame frame{pixels.data(), kSide, kSide, kSide * 2};
  sdl_->ShowFrame(frame);
  SDL_Delay(100);  // as a synchronous sound holds the game
  // After the hold the pacer starts afresh: two frames take one refresh, not zero.
  const Uint64 start = SDL_GetPerformanceCounter();
  sdl_->ShowFrame(frame);
  sdl_->ShowFrame(frame);
  const double seconds =
      static_cast<double>(SDL_GetPerformanceCounter() - start) / SDL_GetPerformanceFrequency();
  EXPECT_GE(seconds, 1 / 60.0);
}

TEST_F(SdlHostTest, AMessageThatNoBoxCanShowGoesToStandardErrorAtOnce) {
  // With no display to put a box on, the call must neither hang nor lose the message.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  testing::internal::CaptureStderr();
  sdl_->ShowMessage("SetDisplayMode Failed!", "SetDisplayMode Failed!");
  sdl_->ShowMessage(nullptr, nullptr);
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_NE(written.find("SetDisplayMode Failed!: SetDisplayMode Failed!"), std::string::npos)
      << written;
}

}  // namespace
}  // namespace host
