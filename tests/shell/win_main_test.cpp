// The program's entry over the headless host: the window, start-up, the loop and the exit code.
#include <gtest/gtest.h>

#include <cstring>

#include "app/window.h"
#include "fresh_process.h"
#include "input/mouse.h"

namespace {

HINSTANCE TestInstance() { return reinterpret_cast<HINSTANCE>(std::uintptr_t{0x5A5A0000}); }

int RunWinMain() {
  static char commandLine[] = "";
  return WinMain(TestInstance(), nullptr, commandLine, 0);
}

host::Event Key(std::uint32_t virtualKey) { return {host::Event::Kind::kKeyDown, virtualKey}; }

TEST(WinMain, EndsWithZeroAndStartsNothingWhenTheClassOrWindowCannotBeMade) {
  for (host::Call refused : {host::Call::kRegisterClass, host::Call::kCreateWindow}) {
    ExpectInFreshProcess([refused](host::HeadlessHost& headless) {
      headless.Fail(refused, host::HeadlessHost::kForever);
      EXPECT_EQ(RunWinMain(), 0);
      EXPECT_EQ(mainWindow, nullptr);
      EXPECT_TRUE(headless.cursorVisible());
      EXPECT_FALSE(headless.screenOpen());
      EXPECT_EQ(directInput, nullptr);
      EXPECT_TRUE(headless.messages().empty());
    });
  }
}

TEST(WinMain, RegistersTheClassCreatesTheWindowAndHidesTheCursor) {
  ExpectInFreshProcess([](host::HeadlessHost& headless) {
    headless.QueueEvent(Key(VK_ESCAPE));
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(windowClass.cbSize, sizeof(WNDCLASSEXA));
    EXPECT_EQ(windowClass.style, 0x2Bu);
    EXPECT_EQ(windowClass.lpfnWndProc, &WindowProc);
    EXPECT_EQ(windowClass.cbClsExtra, 0);
    EXPECT_EQ(windowClass.cbWndExtra, 0);
    EXPECT_EQ(windowClass.hInstance, TestInstance());
    EXPECT_NE(windowClass.hIcon, nullptr);
    EXPECT_NE(windowClass.hIconSm, nullptr);
    EXPECT_NE(windowClass.hCursor, nullptr);
    EXPECT_NE(windowClass.hbrBackground, nullptr);
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);
    EXPECT_STREQ(windowClass.lpszClassName, "Example Window");
    EXPECT_NE(mainWindow, nullptr);
    EXPECT_FALSE(headless.cursorVisible());
    EXPECT_TRUE(headless.screenOpen()) << "the display was not started";
    EXPECT_NE(mouseDevice, nullptr) << "the input was not started";
    EXPECT_TRUE(headless.messages().empty());
  });
}

TEST(WinMain, ReturnsTheQuitMessagesCode) {
  ExpectInFreshProcess([](host::HeadlessHost& headless) {
    headless.SetMouseSource([] {
      PostQuitMessage(7);
      return host::MouseState{};
    });
    EXPECT_EQ(RunWinMain(), 7);
  });
}

// Waiting messages are all handled before the next frame tick, and ticks run while none waits.
TEST(WinMain, TicksOnlyWhenNoMessageWaits) {
  ExpectInFreshProcess([](host::HeadlessHost& headless) {
    for (std::uint32_t key : {'A', 'B', ' '}) headless.QueueEvent(Key(key));
    headless.QueueEvent(Key(VK_ESCAPE));
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(headless.mouseReads(), 0);
    EXPECT_EQ(headless.framesShown(), 0);
  });
  ExpectInFreshProcess([](host::HeadlessHost& headless) {
    // The attract screen reads the mouse once a tick; the third read brings the Escape key.
    constexpr int kTicks = 3;
    int reads = 0;
    headless.SetMouseSource([&headless, &reads] {
      if (++reads == kTicks) headless.QueueEvent(Key(VK_ESCAPE));
      return host::MouseState{};
    });
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(reads, kTicks);
    EXPECT_EQ(headless.framesShown(), kTicks);
  });
}

}  // namespace
