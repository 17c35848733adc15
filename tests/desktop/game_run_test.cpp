// The real game on a private X server: title, start by click, paddle by mouse, and the ways out.
#include <array>

#include "game_on_display.h"

namespace desktop_test {
namespace {

using Shot = std::vector<unsigned long>;

constexpr auto kFollowLimit = milliseconds(2000);
constexpr auto kExitLimit = milliseconds(5000);  // a hang guard, roomy for sanitizer builds

struct Area {
  int left, top, right, bottom;  // right and bottom excluded
};
constexpr Area kTitle = {392, 84, 632, 120};
constexpr Area kHeadsUp = {0, 0, 300, 48};
// On 1600 x 900 the picture is 1200 x 900 at x = 200, each pixel 1.171875 wide and high.
constexpr Area kScaledTitle = {659, 98, 940, 141};

class GameRunTest : public GameOnDisplay {
 protected:
  void Launch(int width = 1024, int height = 768, int depth = 24) {
    width_ = width;
    GameOnDisplay::Launch(std::to_string(width) + "x" + std::to_string(height) + "x" +
                          std::to_string(depth));
  }

  // White pixels (text) in the area, or coloured ones: neither white nor black, the pictures.
  int Count(const Shot& shot, const Area& area, bool white) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        const unsigned long pixel = shot[y * width_ + x];
        count += white ? pixel == display_->white() : pixel != 0 && pixel != display_->white();
      }
    }
    return count;
  }

  Shot WaitForScreen(const std::function<bool(const Shot&)>& ready,
                     milliseconds limit = kScreenLimit) const {
    Shot shot;
    const bool seen = WaitFor(
        [&] {
          shot = display_->Capture();
          return !shot.empty() && ready(shot);
        },
        limit);
    return seen ? shot : Shot{};
  }

  Shot WaitForTitle(const Area& title = kTitle) const {
    return WaitForScreen([&](const Shot& s) { return Count(s, title, true) >= kSomeText; });
  }

  // The click, then the heads-up text that play brings.
  bool ClickStartsPlay(const Shot& title, const std::string& click) const {
    const int headsUpBefore = Count(title, kHeadsUp, true);
    EXPECT_TRUE(display_->Xdotool(click));
    return !WaitForScreen([&](const Shot& s) {
              return Count(s, kHeadsUp, true) >= headsUpBefore + kSomeText;
            }).empty();
  }

  // The paddle starts near the middle; moving right by 300 takes its right edge past 800.
  bool PaddleFollowsTheMouseRight() const {
    const Shot before = display_->Capture();
    for (int step = 0; step < 3; ++step) EXPECT_TRUE(display_->Xdotool("mousemove_relative 100 0"));
    return !WaitForScreen(
                [&](const Shot& after) {
                  for (int i = 636 * 1024; i < 660 * 1024; ++i) {  // the paddle's rows
                    if (before.at(i) != after.at(i) && i % 1024 > 800) return true;
                  }
                  return false;
                },
                kFollowLimit)
                .empty();
  }

  int width_ = 0;
};

TEST_F(GameRunTest, TitleThenClickToPlayThenTheMouseSteersAndEscapeEnds) {
  Launch();
  const Shot title = WaitForTitle();
  ASSERT_FALSE(title.empty()) << "no title text; game log:\n" << GameLog();
  EXPECT_GT(Count(title, {0, 0, 1024, 768}, false), 1024 * 768 / 2) << "the arena is not drawn";
  // Alt+Escape is a system key the game leaves alone: the click after it still starts play.
  EXPECT_TRUE(display_->Xdotool("key alt+Escape"));
  // Press and release back to back, as a touchpad's tap sends them: shorter than a frame.
  ASSERT_TRUE(ClickStartsPlay(title, "click 1")) << "no score, lives or level text after the click";
  EXPECT_TRUE(PaddleFollowsTheMouseRight());
  EXPECT_TRUE(display_->Xdotool("key Escape"));
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

// The mouse is read in the background: another program's window has the focus and the click.
TEST_F(GameRunTest, WithAnotherWindowFocusedItsClickStartsAndTheMouseSteers) {
  Launch();
  const Shot title = WaitForTitle();
  ASSERT_FALSE(title.empty()) << "no title text; game log:\n" << GameLog();
  ASSERT_TRUE(display_->TakeFocus(0, 300, 100, 100));
  // Unfocused, the pointer is sampled a few times a frame: the click is held for several.
  ASSERT_TRUE(ClickStartsPlay(title, "mousemove 50 350 mousedown 1 sleep 0.5 mouseup 1"))
      << "the click did not start play";
  EXPECT_TRUE(PaddleFollowsTheMouseRight());
  ASSERT_TRUE(display_->AskToClose(kWindowTitle));
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

// Full screen scales the picture to fit, between black bars. Alt+Enter gives a window of
// 1024 x 768, the one whole multiple of the picture that fits 1600 x 900: it shows the picture
// pixel for pixel, centred, and the same key brings full screen back.
TEST_F(GameRunTest, AWideScreenLetterboxesAndAltEnterSwitchesToAWindowAndBack) {
  using Geometry = std::array<int, 4>;
  Launch(1600, 900, 16);
  const Shot title = WaitForTitle(kScaledTitle);
  ASSERT_FALSE(title.empty()) << "no title text where the scaled title belongs\n" << GameLog();
  // The bars stay black: nothing of the picture is drawn outside its place.
  EXPECT_EQ(Count(title, {0, 0, 200, 900}, false) + Count(title, {1400, 0, 1600, 900}, false), 0);
  const Window window = display_->FindWindow(kWindowTitle);
  ASSERT_NE(window, 0u) << "no window titled " << kWindowTitle;
  const Geometry fullScreen = {0, 0, 1600, 900};
  EXPECT_EQ(display_->Geometry(window), fullScreen);

  EXPECT_TRUE(display_->Xdotool("mousemove 800 450 key alt+Return"));
  EXPECT_TRUE(WaitFor(
      [&] {
        return display_->Geometry(window) == Geometry{288, 66, 1024, 768};
      },
      kFollowLimit));
  const Area titleInWindow = {kTitle.left + 288, kTitle.top + 66, kTitle.right + 288,
                              kTitle.bottom + 66};
  EXPECT_FALSE(WaitForTitle(titleInWindow).empty()) << "the window does not show the picture";

  EXPECT_TRUE(display_->Xdotool("mousemove 800 450 key alt+Return"));
  EXPECT_TRUE(WaitFor([&] { return display_->Geometry(window) == fullScreen; }, kFollowLimit));
  EXPECT_FALSE(WaitForTitle(kScaledTitle).empty()) << "full screen does not show the picture";
  ASSERT_TRUE(display_->AskToClose(kWindowTitle));
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

}  // namespace
}  // namespace desktop_test
