// The SDL host at its boundary: SDL events in, host events out, beside the page's; the mouse,
// the pace and the interface's terms are the host core's tables.
#include "host/sdl/sdl_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "../support/scoped_env.h"
#include "host/key_translation.h"
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

// One key table, fed by SDL's events and by the page's reports: F4 without Alt is an ordinary
// key, Alt+F4 a system key like any other for the default window procedure to close with; a
// repeat is nobody's, Alt+Enter the desktop's, and a key with no code still arrives.
TEST_F(SdlHostTest, EveryHostTranslatesKeysByTheSameTable) {
  using enum Event::Kind;
  const struct {
    SDL_Keycode sdlKey;
    std::uint32_t pageKey;  // the browser's keyCode
    Uint16 modifiers;
    bool down, repeat;
    std::optional<Event::Kind> kind;  // none: the game sees nothing
    std::uint32_t virtualKey;
  } keys[] = {
      {SDLK_ESCAPE, 27, KMOD_NONE, true, false, kKeyDown, 0x1B},
      {SDLK_ESCAPE, 27, KMOD_NONE, true, true, std::nullopt, 0},
      {SDLK_ESCAPE, 27, KMOD_NONE, false, false, kKeyUp, 0x1B},
      {SDLK_z, 90, KMOD_SHIFT, true, false, kKeyDown, 'Z'},
      {SDLK_F4, 115, KMOD_NONE, true, false, kKeyDown, 0x73},
      {SDLK_F4, 115, KMOD_RALT, true, false, kSysKeyDown, 0x73},
      {SDLK_ESCAPE, 27, KMOD_LALT, false, false, kSysKeyUp, 0x1B},
      {SDLK_RETURN, 13, KMOD_LALT, true, false, std::nullopt, 0},
      {SDLK_RETURN, 13, KMOD_LALT, false, false, std::nullopt, 0},
      {SDLK_KP_9, 105, KMOD_NONE, true, false, kKeyDown, 0x69},
      {SDLK_AUDIOPLAY, 0, KMOD_NONE, true, false, kKeyDown, kUnknownKey},
  };
  std::vector<std::uint32_t> expected;  // kind and code of each event the game gets
  for (const auto& key : keys) {
    SDL_Event event{key.down ? SDL_KEYDOWN : SDL_KEYUP};
    event.key.keysym.sym = key.sdlKey;
    event.key.keysym.mod = key.modifiers;
    event.key.repeat = key.repeat ? 1 : 0;
    SDL_PushEvent(&event);
    Event page;
    const bool alt = (key.modifiers & KMOD_ALT) != 0;
    const bool toGame =
        TranslateKey({key.pageKey, key.down, alt, key.repeat}, page) == KeyUse::kGame;
    ASSERT_EQ(toGame, key.kind.has_value()) << "page: " << SDL_GetKeyName(key.sdlKey);
    if (!key.kind) continue;
    expected.insert(expected.end(), {static_cast<std::uint32_t>(*key.kind), key.virtualKey});
    EXPECT_EQ(std::vector<std::uint32_t>({static_cast<std::uint32_t>(page.kind), page.virtualKey}),
              std::vector<std::uint32_t>(expected.end() - 2, expected.end()))
        << "page: " << SDL_GetKeyName(key.sdlKey);
  }
  std::vector<std::uint32_t> fromSdl;
  for (const Event& event : DrainEvents()) {
    fromSdl.insert(fromSdl.end(), {static_cast<std::uint32_t>(event.kind), event.virtualKey});
  }
  EXPECT_EQ(fromSdl, expected) << "SDL";
  PushWindow(SDL_QUIT);  // each way of closing the window asks to close
  PushWindow(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
  PushWindow(SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED);
  const std::vector<Event> window = DrainEvents();
  ASSERT_EQ(window.size(), 3u);
  EXPECT_EQ(std::vector<Event::Kind>({window[0].kind, window[1].kind, window[2].kind}),
            std::vector<Event::Kind>({kClose, kClose, kExpose}));
}

// The game can say only that the mode failed; the player reads SDL's reason beside it.
TEST_F(SdlHostTest, AWindowThatCannotBeMadeSaysWhy) {
  SDL_Quit();  // SDL starts again for the window, on a driver it does not have
  const ScopedEnv noDriver("SDL_VIDEODRIVER", "no-such-driver");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(sdl_->OpenScreen(1024, 768, 16));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "paddleball: cannot make the window: " + std::string(SDL_GetError()) + "\n");
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
