// The program's entry over the headless host: the window, start-up, the loop and the exit code.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/window.h"
#include "fresh_process.h"
#include "game/game_state.h"
#include "input/mouse.h"
#include "scene/scene_objects.h"

namespace {

int RunWinMain() {
  static char commandLine[] = "";
  return WinMain(reinterpret_cast<HINSTANCE>(std::uintptr_t{0x5A5A0000}), nullptr, commandLine, 0);
}

host::Event Key(std::uint32_t virtualKey) { return {host::Event::Kind::kKeyDown, virtualKey}; }

struct StartFailure {
  std::optional<portable::Call> call;  // none: every step starts
  bool haveWindow, haveDirectInput, haveDevice;
  bool deviceReads;                   // the later steps still made the device readable
  std::vector<std::string> messages;  // every box shown, in order
};

using enum portable::Call;
constexpr const char* kAcquireFailed = "Acquire DINPUT Failed!";

// Without the class or the window nothing else starts, and nothing is said. A failing mouse step
// shows its own message and the steps whose object exists still run; acquiring needs the data
// format, so a format failure brings the acquire failure with it.
const StartFailure kStartFailures[] = {
    {std::nullopt, true, true, true, true, {}},
    {kRegisterClass, false, false, false, false, {}},
    {kCreateWindow, false, false, false, false, {}},
    {kDirectInputCreate, true, false, false, false, {"DirectInputCreate Failed!"}},
    {kCreateDevice, true, true, false, false, {"CreateDevice DINPUT Failed!"}},
    {kSetInputCooperativeLevel, true, true, true, true, {"SetCooperativeLevel DINPUT Failed!"}},
    {kSetDataFormat, true, true, true, false, {"SetDataFormat DINPUT Failed!", kAcquireFailed}},
    {kAcquire, true, true, true, false, {kAcquireFailed}},
};

// A failed start quits before the first tick; a full start runs the loop until its quit code.
TEST(WinMain, StartUpShowsOnlyTheFailedStepsMessagesAndEndsWithTheQuitCode) {
  for (const StartFailure& failure : kStartFailures) {
    SCOPED_TRACE(failure.call ? static_cast<int>(*failure.call) : -1);  // the failed call
    ExpectInFreshProcess([&failure](host::HeadlessHost& headless) {
      if (failure.call) portable::FailNext(*failure.call);
      headless.SetMouseSource([] {
        PostQuitMessage(7);
        return host::MouseState{.dx = -9};
      });
      EXPECT_EQ(RunWinMain(), failure.call ? 0 : 7);
      EXPECT_EQ(mainWindow != nullptr, failure.haveWindow);
      EXPECT_EQ(headless.title(), failure.haveWindow ? "DirectDraw Example" : "");
      EXPECT_EQ(headless.cursorVisible(), !failure.haveWindow);
      EXPECT_EQ(headless.screenOpen(), failure.haveWindow);
      std::vector<std::string> shown;
      for (const auto& message : headless.messages()) {
        EXPECT_EQ(message.caption, message.text);
        shown.push_back(message.text);
      }
      EXPECT_EQ(shown, failure.messages);
      EXPECT_EQ(directInput != nullptr, failure.haveDirectInput);
      EXPECT_EQ(mouseDevice != nullptr, failure.haveDevice);
      // Without a readable device a read leaves the last state as it was.
      mouseState.lX = 11;
      ReadMouse();
      EXPECT_EQ(mouseState.lX, failure.deviceReads ? -9 : 11);
    });
  }
}

// Any non-zero first button byte starts play, and only horizontal movement steers: vertical
// movement, the wheel and the other buttons change nothing.
TEST(WinMain, OnlyTheFirstButtonByteAndHorizontalMovementCount) {
  ExpectInFreshProcess([](host::HeadlessHost& headless) {
    const host::MouseState noise{.dx = 40, .dy = -300, .wheel = 120, .buttons = {0, 0x80, 0x80, 1}};
    const host::MouseState reads[] = {noise, {.buttons = {1}}, noise};
    RECT before{};
    std::size_t read = 0;
    headless.SetMouseSource([&] {
      if (read == 1) {
        EXPECT_TRUE(attractMode) << "started by something other than the first button";
        before = paddle->GetBounds();
      }
      if (read == std::size(reads)) PostQuitMessage(0);
      return read < std::size(reads) ? reads[read++] : host::MouseState{};
    });
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_TRUE(playing) << "a first button byte of 1 is not a press";
    EXPECT_EQ(paddle->GetBounds().left, before.left + noise.dx);
    EXPECT_EQ(paddle->GetBounds().top, before.top);
  });
}

// Of all keys only Escape ends the game, and Alt+F4 through the default procedure's window
// destruction; both end with 0. Escape with Alt held is a system key, left alone. Waiting
// messages are all handled before a tick; a window whose paint is never validated would never
// tick: the child's alarm ends it.
TEST(WinMain, OnlyEscapeOrAltF4EndsTheGame) {
  for (const host::Event ender : {Key(VK_ESCAPE), {host::Event::Kind::kSysKeyDown, VK_F4}}) {
    ExpectInFreshProcess([ender](host::HeadlessHost& headless) {
      for (std::uint32_t key : std::initializer_list<std::uint32_t>{'A', ' ', VK_F4, 0x0D})
        headless.QueueEvent(Key(key));
      headless.QueueEvent({host::Event::Kind::kSysKeyDown, VK_ESCAPE});
      headless.QueueEvent({host::Event::Kind::kSysKeyUp, VK_ESCAPE});
      constexpr int kTicks = 3;
      int reads = 0;
      headless.SetMouseSource([&headless, &reads, ender] {
        // Before the first frame's labels only the paint can have set the shared context.
        if (++reads == 1) {
          EXPECT_NE(sharedDc, nullptr) << "the paint message was not handled";
        }
        if (reads == kTicks) headless.QueueEvent(ender);
        if (reads > kTicks) PostQuitMessage(1);  // the ender went unheeded
        return host::MouseState{};
      });
      EXPECT_EQ(RunWinMain(), 0);
      EXPECT_EQ(reads, kTicks);
      EXPECT_EQ(headless.framesShown(), kTicks);
    });
  }
}

}  // namespace
