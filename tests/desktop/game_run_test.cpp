// The real game on a private X server: title, start by click, paddle by mouse, and the ways out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "virtual_display.h"

namespace desktop_test {
namespace {

using std::chrono::milliseconds;
using Shot = std::vector<unsigned long>;

constexpr auto kScreenLimit = milliseconds(15000);
constexpr auto kExitLimit = milliseconds(5000);  // a hang guard, roomy for sanitizer builds
constexpr int kSomeText = 30;                    // white pixels: a few glyphs' worth

struct Area {
  int left, top, right, bottom;  // right and bottom excluded
};
constexpr Area kTitle = {392, 84, 632, 120};
constexpr Area kHeadsUp = {0, 0, 300, 48};

class GameRunTest : public testing::Test {
 protected:
  void TearDown() override {
    game_.Stop();
    display_.reset();  // outlives the game
    std::filesystem::remove(log_);
  }

  // Starts a private X server with a screen of that size and depth and the game on it.
  void Launch(int width = 1024, int height = 768, int depth = 24) {
    width_ = width;
    display_ = std::make_unique<VirtualDisplay>(
        std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth));
    ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
    ASSERT_TRUE(game_.Start({PADDLEBALL_GAME},
                            {"DISPLAY=" + display_->name(), "SDL_AUDIODRIVER=dummy",
                             "SDL_VIDEODRIVER=", "SDL_FRAMEBUFFER_ACCELERATION="},
                            PADDLEBALL_SOURCE_DIR, log_));
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

  Shot WaitForScreen(const std::function<bool(const Shot&)>& ready) const {
    const auto giveUp = std::chrono::steady_clock::now() + kScreenLimit;
    while (std::chrono::steady_clock::now() < giveUp) {
      const Shot shot = display_->Capture();
      if (!shot.empty() && ready(shot)) return shot;
      std::this_thread::sleep_for(milliseconds(100));
    }
    return {};
  }

  Shot WaitForTitle(const Area& title = kTitle) const {
    return WaitForScreen([&](const Shot& s) { return Count(s, title, true) >= kSomeText; });
  }

  std::string GameLog() const {
    std::stringstream text;
    text << std::ifstream(log_).rdbuf();
    return text.str();
  }

  std::string log_ = testing::TempDir() + "paddleball-" + std::to_string(getpid()) + ".log";
  std::unique_ptr<VirtualDisplay> display_;
  ChildProcess game_;
  int width_ = 0;
};

TEST_F(GameRunTest, TitleThenClickToPlayThenTheMouseSteersAndEscapeEnds) {
  Launch();
  const Shot title = WaitForTitle();
  ASSERT_FALSE(title.empty()) << "no title text; game log:\n" << GameLog();
  EXPECT_GT(Count(title, {0, 0, 1024, 768}, false), 1024 * 768 / 2) << "the arena is not drawn";
  const int headsUpBefore = Count(title, kHeadsUp, true);

  // The game polls the button once a frame: hold it for several frames.
  EXPECT_TRUE(display_->Xdotool("mousedown 1 sleep 0.15 mouseup 1"));
  ASSERT_FALSE(WaitForScreen([&](const Shot& s) {
                 return Count(s, kHeadsUp, true) >= headsUpBefore + kSomeText;
               }).empty())
      << "no score, lives or level text after the click";

  // The paddle starts near the middle; moving right by 300 takes its right edge past 800.
  const Shot before = display_->Capture();
  for (int step = 0; step < 3; ++step) EXPECT_TRUE(display_->Xdotool("mousemove_relative 100 0"));
  std::this_thread::sleep_for(milliseconds(150));
  const Shot after = display_->Capture();
  int rightmostChange = -1;
  for (int i = 636 * 1024; i < 660 * 1024; ++i) {  // the paddle's rows
    if (before.at(i) != after.at(i)) rightmostChange = std::max(rightmostChange, i % 1024);
  }
  EXPECT_GT(rightmostChange, 800);

  EXPECT_TRUE(display_->Xdotool("key Escape"));
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

// The window once opened at the picture's size, leaving most of a larger screen uncovered.
TEST_F(GameRunTest, OnAWideSixteenBitScreenThePictureIsScaledAndTheCloseRequestEndsWithZero) {
  // 1600 x 900: the picture is 1200 x 900 at x = 200, each pixel 1.171875 wide and high.
  Launch(1600, 900, 16);
  const Shot title = WaitForTitle({659, 98, 940, 141});
  ASSERT_FALSE(title.empty()) << "no title text where the scaled title belongs\n" << GameLog();
  for (const Area bar : {Area{0, 0, 200, 900}, Area{1400, 0, 1600, 900}}) {
    EXPECT_EQ(Count(title, bar, false) + Count(title, bar, true), 0) << bar.left;
  }
  EXPECT_GT(Count(title, {200, 0, 1400, 900}, false), 1200 * 900 / 2);
  ASSERT_TRUE(display_->AskToClose("paddleball"));
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

TEST_F(GameRunTest, WithoutADisplayTheGameSaysWhyAndFails) {
  ASSERT_TRUE(game_.Start({PADDLEBALL_GAME},
                          {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11"},
                          PADDLEBALL_SOURCE_DIR, log_));
  const std::optional<int> code = game_.Wait(milliseconds(10000));
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0);
  EXPECT_NE(GameLog().find("cannot open the display"), std::string::npos) << GameLog();
}

}  // namespace
}  // namespace desktop_test
