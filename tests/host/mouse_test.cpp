// The one relative mouse, fed through each host's translation: SDL's window events, the
// desktop's pointer read in the background, and the page's events.
#include <SDL.h>
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "host/mouse_accumulator.h"
#include "host/sdl/background_mouse.h"
#include "host/sdl/sdl_host.h"
#include "host/web/page_mouse.h"

namespace host {
namespace {

constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLeast = std::numeric_limits<std::int32_t>::min();

// What the user did, in the device's terms, as each host's library reports it.
class Feeder {
 public:
  virtual ~Feeder() = default;
  virtual void Move(int dx, int dy) = 0;
  virtual void Button(int button, bool down) = 0;
  virtual void LoseFocus() = 0;
  virtual MouseState Take() = 0;
  // Movement as far as an int32 reaches; an absolute pointer cannot.
  virtual bool Relative() const { return true; }
};

class SdlEvents final : public Feeder {
 public:
  SdlEvents() {
    std::string error;
    sdl_ = SdlHost::Create(error, SdlHost::Presentation::kWindowSurface);
    EXPECT_NE(sdl_, nullptr) << error;
  }
  void Move(int dx, int dy) override {
    Push(SDL_MOUSEMOTION, [&](SDL_Event& e) { e.motion.xrel = dx, e.motion.yrel = dy; });
  }
  void Button(int button, bool down) override {
    constexpr std::uint8_t kSdlButton[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE,
                                           SDL_BUTTON_X1};
    Push(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, [&](SDL_Event& e) {
      e.button.button = kSdlButton[button];
      e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    });
  }
  void LoseFocus() override {
    Push(SDL_WINDOWEVENT, [](SDL_Event& e) { e.window.event = SDL_WINDOWEVENT_FOCUS_LOST; });
  }
  MouseState Take() override { return sdl_->TakeMouse(); }

 private:
  template <typename Fill>
  static void Push(Uint32 type, const Fill& fill) {
    SDL_Event event{};
    event.type = type;
    fill(event);
    SDL_PushEvent(&event);
  }
  std::unique_ptr<SdlHost> sdl_;
};

// The pointer as SDL_GetGlobalMouseState reports it, one sample per change.
class BackgroundPointer final : public Feeder {
 public:
  BackgroundPointer() { Feed(); }
  void Move(int dx, int dy) override { x_ += dx, y_ += dy, Feed(); }
  void Button(int button, bool down) override {
    constexpr std::uint32_t kMask[] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK,
                                       SDL_BUTTON_X1MASK};
    held_ = down ? held_ | kMask[button] : held_ & ~kMask[button];
    Feed();
  }
  void LoseFocus() override { mouse_.ReleaseAll(), held_ = 0; }
  MouseState Take() override { return mouse_.Take(); }
  bool Relative() const override { return false; }

 private:
  void Feed() { background_.Feed(x_, y_, held_, mouse_); }
  MouseAccumulator mouse_;
  BackgroundMouse background_;
  int x_ = 500, y_ = 400;
  std::uint32_t held_ = 0;
};

class PageEvents final : public Feeder {
 public:
  void Move(int dx, int dy) override { mouse_.Move(dx, dy); }
  void Button(int button, bool down) override {
    constexpr int kPageButton[] = {0, 2, 1, 3};
    PageButton(mouse_, kPageButton[button], down);
  }
  void LoseFocus() override { mouse_.ReleaseAll(); }
  MouseState Take() override { return mouse_.Take(); }

 private:
  MouseAccumulator mouse_;
};

struct Step {
  enum Kind { kMove, kPress, kRelease, kLoseFocus, kTake } kind;
  int x = 0;  // dx, or the button
  int y = 0;
  unsigned buttons = 0;  // for a take, bit i for the i-th button byte reading 0x80
};

struct Script {
  const char* what;
  std::vector<Step> steps;
  bool relativeOnly = false;
};

Step Move(int dx, int dy) { return {Step::kMove, dx, dy}; }
Step Press(int button) { return {Step::kPress, button}; }
Step Release(int button) { return {Step::kRelease, button}; }
Step Take(int dx, int dy, unsigned buttons) { return {Step::kTake, dx, dy, buttons}; }
constexpr Step kLoseFocus = {Step::kLoseFocus};

const Script kScripts[] = {
    {"movement is summed until taken", {Move(5, -3), Move(7, 1), Take(12, -2, 0), Take(0, 0, 0)}},
    {"a click between two takes is seen once",
     {Press(kLeftButton), Release(kLeftButton), Take(0, 0, 1), Take(0, 0, 0)}},
    {"a held button stays held",
     {Press(kLeftButton), Take(0, 0, 1), Take(0, 0, 1), Release(kLeftButton), Take(0, 0, 0)}},
    {"each button has its own byte",
     {Press(kRightButton), Press(kMiddleButton), Press(kFourthButton), Take(0, 0, 14),
      Release(kRightButton), Take(0, 0, 12)}},
    {"losing the focus releases every button",
     {Press(kLeftButton), Press(kRightButton), Take(0, 0, 3), kLoseFocus, Take(0, 0, 0)}},
    {"movement saturates", {Move(kMost, kLeast), Move(1, -1), Take(kMost, kLeast, 0)}, true},
};

template <typename Made>
void RunScripts(const char* host) {
  for (const Script& script : kScripts) {
    Made feeder;
    if (script.relativeOnly && !feeder.Relative()) continue;
    SCOPED_TRACE(std::string(host) + ": " + script.what);
    int take = 0;
    for (const Step& step : script.steps) {
      switch (step.kind) {
        case Step::kMove:
          feeder.Move(step.x, step.y);
          break;
        case Step::kPress:
        case Step::kRelease:
          feeder.Button(step.x, step.kind == Step::kPress);
          break;
        case Step::kLoseFocus:
          feeder.LoseFocus();
          break;
        case Step::kTake: {
          const MouseState taken = feeder.Take();
          ++take;
          EXPECT_EQ(taken.dx, step.x) << "take " << take;
          EXPECT_EQ(taken.dy, step.y) << "take " << take;
          for (int i = 0; i < kButtonCount; ++i) {
            EXPECT_EQ(taken.buttons[i], (step.buttons >> i & 1) != 0 ? 0x80 : 0)
                << "take " << take << ", button " << i;
          }
        }
      }
    }
  }
}

TEST(Mouse, EveryHostReportsTheSameMouse) {
  RunScripts<SdlEvents>("SDL window events");
  RunScripts<BackgroundPointer>("background pointer");
  RunScripts<PageEvents>("page events");
}

}  // namespace
}  // namespace host
