// The one relative mouse, fed through each host's translation: SDL's window events, the
// desktop's pointer read in the background, the page's events; and the page's touches.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/mouse_accumulator.h"
#include "host/sdl/background_mouse.h"
#include "host/sdl/sdl_host.h"
#include "host/touch_steering.h"
#include "host/web/page_mouse.h"

namespace host {
namespace {

// What the user did, in the device's terms, as one host's library reports it: each feeder has
// Move(dx, dy) and Button(button, down), and may have a Wheel, a LoseFocus and a Take of its own.
struct Feeder {
  void Wheel(int) {}
  void LoseFocus() { mouse.LoseFocus(); }
  MouseState Take() { return mouse.Take(); }
  MouseAccumulator mouse;
};

struct SdlEvents final : Feeder {
  SdlEvents() : sdl(SdlHost::Create(error, SdlHost::Presentation::kWindowSurface)) {}
  void Move(int dx, int dy) {
    SDL_Event e{SDL_MOUSEMOTION};
    e.motion.xrel = dx, e.motion.yrel = dy;
    SDL_PushEvent(&e);
  }
  void Button(int button, bool down) {
    SDL_Event e{down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP};
    e.button.button = std::vector<Uint8>{SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE,
                                         SDL_BUTTON_X1}[button];
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
  }
  void Wheel(int notches) {
    SDL_Event e{SDL_MOUSEWHEEL};
    e.wheel.y = notches;
    SDL_PushEvent(&e);
  }
  void LoseFocus() {
    SDL_Event e{SDL_WINDOWEVENT};
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
  }
  MouseState Take() { return sdl->TakeMouse(); }
  std::string error;
  std::unique_ptr<SdlHost> sdl;
};

// The pointer as SDL_GetGlobalMouseState reports it, sampled after each change.
struct BackgroundPointer final : Feeder {
  BackgroundPointer() { background.Feed(x, y, held, mouse); }
  void Move(int dx, int dy) {
    x += dx, y += dy;
    background.Feed(x, y, held, mouse);
  }
  void Button(int button, bool down) {
    const std::uint32_t mask = std::vector<std::uint32_t>{
        SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK, SDL_BUTTON_X1MASK}[button];
    held = down ? held | mask : held & ~mask;
    background.Feed(x, y, held, mouse);
  }
  BackgroundMouse background;
  int x = 500, y = 400;
  std::uint32_t held = 0;
};

struct PageEvents final : Feeder {
  void Move(int dx, int dy) { mouse.Move(dx, dy); }
  void Button(int button, bool down) {
    PageButton(mouse, std::vector<int>{0, 2, 1, 3}[button], down);
  }
  void Wheel(int notches) {  // one page event a notch, scrolling down positive
    for (int i = 0; i < std::abs(notches); ++i) PageWheel(mouse, notches > 0 ? -100 : 100);
  }
};

// A step: move by (a, b); press or release button a; turn the wheel a notches; lose the focus;
// or take, expecting movement (a, b), bit i of `buttons` set for each button byte reading 0x80,
// and `wheel` notches.
struct Step {
  char kind;  // 'm', 'p', 'r', 'w', 'f' or 't'
  int a = 0, b = 0;
  unsigned buttons = 0;
  int wheel = 0;
};

const struct {
  const char* what;
  std::vector<Step> steps;
  bool absoluteToo = true;  // an absolute pointer has no wheel, nor moves as far as an int32
} kScripts[] = {
    {"movement is summed until taken", {{'m', 5, -3}, {'m', 7, 1}, {'t', 12, -2}, {'t'}}},
    {"a click between two takes is seen once", {{'p'}, {'r'}, {'t', 0, 0, 1}, {'t'}}},
    {"each button has its own byte",
     {{'p', kRightButton},
      {'p', kMiddleButton},
      {'p', kFourthButton},
      {'t', 0, 0, 14},
      {'r', kRightButton},
      {'t', 0, 0, 12}}},
    {"losing the focus releases every button",
     {{'p'}, {'p', kRightButton}, {'t', 0, 0, 3}, {'f'}, {'t'}}},
    {"a press not yet taken goes with the focus", {{'p'}, {'r'}, {'f'}, {'t'}}},
    {"the wheel counts notches, away from the player positive",
     {{'w', 1}, {'w', 2}, {'t', 0, 0, 0, 3}, {'w', -1}, {'t', 0, 0, 0, -1}},
     false},
    {"movement saturates",
     {{'m', INT32_MAX, INT32_MIN}, {'m', 1, -1}, {'t', INT32_MAX, INT32_MIN}},
     false},
};

template <typename Made>
void RunScripts(const char* host, bool absolute = false) {
  for (const auto& script : kScripts) {
    if (absolute && !script.absoluteToo) continue;
    SCOPED_TRACE(std::string(host) + ": " + script.what);
    Made feeder;
    int take = 0;
    for (const Step& step : script.steps) {
      if (step.kind == 'm') feeder.Move(step.a, step.b);
      if (step.kind == 'p' || step.kind == 'r') feeder.Button(step.a, step.kind == 'p');
      if (step.kind == 'w') feeder.Wheel(step.a);
      if (step.kind == 'f') feeder.LoseFocus();
      if (step.kind != 't') continue;
      const MouseState taken = feeder.Take();
      ++take;
      EXPECT_EQ(std::vector<int>({taken.dx, taken.dy}), std::vector<int>({step.a, step.b}))
          << "take " << take;
      EXPECT_EQ(taken.wheel, step.wheel) << "take " << take;
      for (int i = 0; i < kButtonCount; ++i) {
        EXPECT_EQ(taken.buttons[i], (step.buttons >> i & 1) != 0 ? 0x80 : 0)
            << "take " << take << ", button " << i;
      }
    }
  }
}

TEST(Mouse, EveryHostReportsTheSameMouse) {
  RunScripts<SdlEvents>("SDL window events");
  RunScripts<BackgroundPointer>("background pointer", true);
  RunScripts<PageEvents>("page events");
}

// Touch as the mouse: the first finger steers in game pixels, carrying fractions over; only its
// tap clicks, and only one shorter than the tap's time and within its slop, both exclusive.
TEST(Touch, TheFirstFingerSteersAndTapsOthersDoNothing) {
  TouchSteering touch;
  MouseAccumulator mouse;
  const auto taken = [&mouse] {
    const MouseState state = mouse.Take();
    return std::vector<int>{state.dx, state.dy, state.buttons[kLeftButton]};
  };
  touch.Start(1, 100, 50, 0);
  touch.Start(2, 400, 50, 10);  // a second finger
  touch.Move(2, 500, 2.0, mouse);
  touch.Move(1, 110.25, 2.0, mouse);
  EXPECT_EQ(taken(), (std::vector<int>{20, 0, 0})) << "only the first finger steers";
  touch.Move(1, 110.5, 2.0, mouse);
  touch.Move(1, 110.75, 2.0, mouse);
  EXPECT_EQ(taken(), (std::vector<int>{1, 0, 0})) << "half pixels are carried over";
  touch.End(2, 400, 50, 20, false, mouse);
  touch.End(1, 110.75, 50, 400, false, mouse);
  EXPECT_EQ(taken(), (std::vector<int>{0, 0, 0})) << "a drag or a second finger clicked";

  const struct {
    double x, y, millis;
    bool cancelled, click;
  } taps[] = {
      {109.9, 40.1, kTapMillis - 0.1, false, true},
      {100, 50, kTapMillis, false, false},
      {100 + kTapSlopPixels, 50, 10, false, false},
      {100, 50 - kTapSlopPixels, 10, false, false},
      {100, 50, 10, true, false},
  };
  for (const auto& tap : taps) {
    touch.Start(3, 100, 50, 0);
    touch.End(3, tap.x, tap.y, tap.millis, tap.cancelled, mouse);
    EXPECT_EQ(taken()[2], tap.click ? 0x80 : 0) << tap.x << "," << tap.y << " at " << tap.millis;
  }
}

}  // namespace
}  // namespace host
