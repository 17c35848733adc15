// The one relative mouse, fed through each host's translation: SDL's window events, the
// desktop's pointer read in the background, the page's events; the page's touches; and keys
// and a pad, through SDL's events and virtual pad and through the page's keys and polled pad.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/mouse_accumulator.h"
#include "host/sdl/background_mouse.h"
#include "host/sdl/sdl_host.h"
#include "host/touch_steering.h"
#include "host/web/page_mouse.h"
#include "host/web/page_pad.h"

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

// Keys and a pad at `ms` on the host's clock: a key ('k' down, 'u' up; `a` its virtual-key code)
// or pad button ('b' down, 'c' up; `a` a PadButton), the stick across at `a` percent ('s'), a pad
// plugged in ('p') or out ('x'); or a take ('t') expecting `a` pixels across, the left button
// held (`b`) and `escapes` Escapes the window got since the last take.
struct KeyStep {
  int ms;
  char kind;
  int a = 0, b = 0, escapes = 0;
};

constexpr int kRight = static_cast<int>(PadButton::kRight), kStart = int(PadButton::kStart);
// clang-format off
const struct { const char* what; std::vector<KeyStep> steps; } kKeyScripts[] = {
    {"a held key moves 350 pixels in half a second, however often read",
     {{0, 'k', 0x27}, {125, 't', 51}, {250, 't', 80}, {500, 't', 219}, {500, 'u', 0x27}, {600, 't'}}},
    {"a tap shorter than a read still moves, as far after a hold",
     {{0, 'k', 0x27}, {125, 't', 51}, {125, 'u', 0x27}, {200, 'k', 0x25}, {202, 'u', 0x25},
      {233, 't', -5}}},
    {"both directions at once cancel",
     {{0, 'k', 'D'}, {0, 'k', 'A'}, {500, 't'}, {500, 'u', 'A'}, {750, 't', 131}}},
    {"Space and Enter are the left button",
     {{0, 'k', ' '}, {1, 'u', ' '}, {2, 't', 0, 1}, {3, 't'}, {4, 'k', '\r'}, {5, 't', 0, 1},
      {6, 't', 0, 1}, {7, 'u', '\r'}, {8, 't'}}},
    {"a pad plugged in mid-game steers, starts and ends the game, and lets go when unplugged",
     {{0, 'p'}, {0, 'b', kRight}, {250, 't', 131}, {250, 'c', kRight}, {260, 'b'}, {270, 'c'},
      {280, 't', 0, 1}, {290, 'b', kStart}, {300, 't', 0, 0, 1}, {310, 'b', kRight}, {410, 'x'},
      {500, 't', 39}}},
    {"the stick steers past its dead zone",
     {{0, 'p'}, {0, 's', 24}, {500, 't'}, {500, 's', -100}, {750, 't', -131}}},
};
// clang-format on

// The desktop: SDL's key events and a virtual pad of the standard layout, on the host's clock.
struct SdlKeys {
  SdlKeys()
      : sdl(SdlHost::Create(error, SdlHost::Presentation::kWindowSurface,
                            {[this] { return now; }, [this](std::int64_t t) { now = t; }})) {}
  ~SdlKeys() { Act({0, 'x'}); }
  void Act(const KeyStep& step) {
    now = step.ms * 1000;
    const int button = std::vector<int>{
        SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_START,
        SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}[step.a % 5];
    if (step.kind == 'k' || step.kind == 'u') {
      SDL_Event e{step.kind == 'k' ? SDL_KEYDOWN : SDL_KEYUP};
      e.key.keysym.sym = step.a == 0x25   ? SDLK_LEFT
                         : step.a == 0x27 ? SDLK_RIGHT
                                          : std::tolower(step.a);
      SDL_PushEvent(&e);
    } else if (step.kind == 'p') {
      SDL_VirtualJoystickDesc desc{};
      desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION,
      desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
      desc.naxes = SDL_CONTROLLER_AXIS_MAX;
      desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX, desc.button_mask = desc.axis_mask = ~0u;
      pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    } else if (step.kind == 'x' && pad != nullptr) {
      const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
      SDL_JoystickClose(std::exchange(pad, nullptr));
      for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
      }
    } else if (step.kind == 's') {
      SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, Sint16(step.a * 32767 / 100));
    } else if (step.kind == 'b' || step.kind == 'c') {
      SDL_JoystickSetVirtualButton(pad, button, step.kind == 'b');
    }
    for (Event e; sdl->PollEvent(e);)
      escapes += e.kind == Event::Kind::kKeyDown && e.virtualKey == kEscapeKey;
  }
  MouseState Take(int ms) { return now = ms * 1000, sdl->TakeMouse(); }
  std::int64_t now = 0;
  int escapes = 0;
  SDL_Joystick* pad = nullptr;
  std::string error;
  std::unique_ptr<SdlHost> sdl;
};

// The page: its key codes are the virtual-key codes; its pad is polled.
struct PageKeys {
  void Act(const KeyStep& step) {
    const std::int64_t now = step.ms * 1000;
    if (step.kind == 'k' || step.kind == 'u')
      keys.Key({std::uint32_t(step.a), step.kind == 'k'}, now, mouse);
    if (step.kind == 'p' || step.kind == 'x') present = step.kind == 'p';
    if (step.kind == 's') across = step.a / 100.0;
    if (step.kind == 'b') held |= 1u << step.a;
    if (step.kind == 'c') held &= ~(1u << step.a);
    pad.Poll(present, across, held, now, keys, mouse,
             [this](const KeyReport& key) { escapes += key.down && key.virtualKey == kEscapeKey; });
  }
  MouseState Take(int ms) { return keys.Advance(ms * 1000, mouse), mouse.Take(); }
  KeySteering keys;
  MouseAccumulator mouse;
  PagePad pad;
  bool present = false;
  double across = 0;
  unsigned held = 0;
  int escapes = 0;
};

template <typename Made>
void RunKeyScripts(const char* host) {
  for (const auto& script : kKeyScripts) {
    SCOPED_TRACE(std::string(host) + ": " + script.what);
    Made feeder;
    for (const KeyStep& step : script.steps) {
      if (step.kind != 't') {
        feeder.Act(step);
        continue;
      }
      const MouseState taken = feeder.Take(step.ms);
      EXPECT_EQ(std::vector<int>({taken.dx, taken.buttons[kLeftButton] != 0, feeder.escapes}),
                std::vector<int>({step.a, step.b, step.escapes}))
          << "take at " << step.ms << " ms";
      feeder.escapes = 0;
    }
  }
}

TEST(Mouse, KeysAndPadsSteerItOnEveryHost) {
  RunKeyScripts<SdlKeys>("SDL events");
  RunKeyScripts<PageKeys>("page events");
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
