// The SDL host at its boundary: SDL events in, host events out; the mouse and the pace are the
// host core's tables.
#include "host/sdl/sdl_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../support/scoped_env.h"
#include "host/sdl/virtual_keys.h"
#include "host/sdl/window_mode.h"
#include "platform/platform.h"

// Bytes that are no font stand in for the built-in one here: nothing in this program draws text.
extern const unsigned char kEmbeddedFont[16] = {};
extern const std::size_t kEmbeddedFontSize = sizeof kEmbeddedFont;

namespace host {
namespace {

class SdlHostTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    sdl_ = SdlHost::Create(error, SdlHost::Presentation::kWindowSurface);
    ASSERT_NE(sdl_, nullptr) << error;
  }

  static void PushKey(SDL_Keycode key, bool pressed, Uint16 modifiers = KMOD_NONE) {
    SDL_Event event{pressed ? SDL_KEYDOWN : SDL_KEYUP};
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    SDL_PushEvent(&event);
  }
  static void PushWindow(Uint32 type, Uint8 windowEvent = 0) {
    SDL_Event event{type};
    event.window.event = windowEvent;
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

TEST_F(SdlHostTest, EventsArriveInOrderAsTheGameKnowsThemAndAFloodIsCapped) {
  // F4 without Alt is an ordinary key; keys with no code of their own still arrive. Alt+F4 is
  // a system key like any other, left to the default window procedure to close with.
  const struct {
    SDL_Keycode key;
    Uint16 modifiers;
    std::uint32_t virtualKey;
  } keys[] = {
      {SDLK_ESCAPE, KMOD_NONE, 0x1B}, {SDLK_z, KMOD_SHIFT, 'Z'},
      {SDLK_F4, KMOD_NONE, 0x73},     {SDLK_KP_ENTER, KMOD_NONE, 0x0D},
      {SDLK_KP_9, KMOD_NONE, 0x69},   {SDLK_AUDIOPLAY, KMOD_NONE, kUnknownKey},
      {SDLK_ESCAPE, KMOD_LALT, 0x1B}, {SDLK_F4, KMOD_RALT, 0x73},
  };
  for (const auto& key : keys) {
    PushKey(key.key, true, key.modifiers);
    PushKey(key.key, false, key.modifiers);
  }
  PushWindow(SDL_QUIT);  // each way of closing the window asks to close
  PushWindow(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
  PushWindow(SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED);
  const std::vector<Event> events = DrainEvents();
  ASSERT_EQ(events.size(), 2 * std::size(keys) + 3);
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    SCOPED_TRACE(SDL_GetKeyName(keys[i].key));
    const bool system = keys[i].modifiers != KMOD_NONE && keys[i].modifiers != KMOD_SHIFT;
    EXPECT_EQ(events[2 * i].kind, system ? Event::Kind::kSysKeyDown : Event::Kind::kKeyDown);
    EXPECT_EQ(events[2 * i + 1].kind, system ? Event::Kind::kSysKeyUp : Event::Kind::kKeyUp);
    EXPECT_EQ(events[2 * i].virtualKey, keys[i].virtualKey);
  }
  const Event::Kind window[] = {Event::Kind::kClose, Event::Kind::kClose, Event::Kind::kExpose};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(events[2 * std::size(keys) + i].kind, window[i]) << i;

  for (int i = 0; i < 2000; ++i) PushKey(SDLK_SPACE, i % 2 == 0);
  EXPECT_LE(DrainEvents().size(), 256u) << "a flood of keys is capped, not queued for ever";
}

TEST(WindowedSize, TheLargestWholeMultipleThatFitsOrTheShapeScaledDown) {
  const struct {
    int areaWidth, areaHeight, width, height;
  } cases[] = {
      {1920, 1040, 1024, 768}, {3840, 2100, 2048, 1536}, {3100, 3100, 3072, 2304},
      {5120, 1400, 1024, 768}, {1366, 728, 970, 728},    {0, 768, 0, 0},
  };
  for (const auto& c : cases) {
    const WindowSize size = WindowedSize(1024, 768, c.areaWidth, c.areaHeight);
    EXPECT_EQ(size.width, c.width) << c.areaWidth << " x " << c.areaHeight;
    EXPECT_EQ(size.height, c.height) << c.areaWidth << " x " << c.areaHeight;
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

TEST_F(SdlHostTest, AFontThatCannotBeReadIsNamedWhenTheWindowIsMade) {
  Install(sdl_.get());
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "font test";
  ASSERT_NE(RegisterClassExA(&windowClass), 0);
  testing::internal::CaptureStderr();
  EXPECT_NE(CreateWindowExA(0, "font test", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "paddleball: the built-in text font cannot be read; text will not show\n");
  Install(nullptr);
}

}  // namespace
}  // namespace host
