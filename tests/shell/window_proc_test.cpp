// The window procedure over the portable window layer: keys, paint, close, the default path.
#include <gtest/gtest.h>

#include "app/window.h"
#include "fresh_process.h"

namespace {

constexpr int kNoQuit = -1;

// A visible window of a class of its own whose procedure is the game's.
HWND MakeWindow() {
  static WNDCLASSEXA record = {};
  record.cbSize = sizeof(record);
  record.lpfnWndProc = WindowProc;
  record.lpszClassName = "Window Procedure Test";
  EXPECT_NE(RegisterClassExA(&record), 0);
  HWND window = CreateWindowExA(0, record.lpszClassName, "", WS_VISIBLE, 0, 0, 1024, 768, nullptr,
                                nullptr, nullptr, nullptr);
  EXPECT_NE(window, nullptr);
  return window;
}

// Handles messages as the game's loop does until the quit message; its code, or kNoQuit.
int RunUntilQuit() {
  // An unpainted window's paint message never leaves the queue by itself: bound the search.
  constexpr int kMaxMessages = 64;
  MSG msg;
  for (int i = 0; i < kMaxMessages && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return kNoQuit;
}

TEST(WindowProc, PaintKeepsTheContextAndOnlyEscapeOfAllKeysAsksToQuit) {
  ExpectInFreshProcess([](host::HeadlessHost&) {
    HWND window = MakeWindow();
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(msg.message, WM_PAINT);
    sharedDc = nullptr;
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_NE(sharedDc, nullptr);
    // Painting validated the window: no second paint message.
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));

    for (WPARAM key : {WPARAM{'A'}, WPARAM{' '}, VK_F4, WPARAM{0x0D}}) {
      EXPECT_EQ(WindowProc(window, WM_KEYDOWN, key, 0), 0) << key;
      EXPECT_EQ(RunUntilQuit(), kNoQuit) << key;
    }
    EXPECT_EQ(WindowProc(window, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_EQ(RunUntilQuit(), 0);
  });
}

// Alt+F4 goes through the default procedure to the window's destruction, which ends the program
// with 0; a close asked by the desktop does the same in the desktop's end-to-end runs.
TEST(WindowProc, AltF4EndsWithZero) {
  ExpectInFreshProcess([](host::HeadlessHost&) {
    EXPECT_EQ(WindowProc(MakeWindow(), WM_SYSKEYDOWN, VK_F4, 0), 0);
    EXPECT_EQ(RunUntilQuit(), 0);
  });
}

}  // namespace
