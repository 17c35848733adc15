// The real game on a private X server: title, start by click, paddle by mouse, and every way out.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "screenshot.h"
#include "virtual_display.h"

namespace desktop_test {
namespace {

using std::chrono::milliseconds;

constexpr auto kScreenLimit = milliseconds(15000);
constexpr auto kExitLimit = milliseconds(1000);
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr Area kTitle = {392, 84, 632, 120};
constexpr Area kHeadsUp = {0, 0, 300, 48};
constexpr Area kWholeScreen = {0, 0, kWidth, kHeight};
constexpr Area kPaddleRows = {0, 636, kWidth, 660};
constexpr int kSomeText = 30;  // white pixels: a few glyphs' worth

std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class GameRunTest : public testing::Test {
 protected:
  void SetUp() override {
    char scratch[] = "/tmp/paddleball-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    scratch_ = scratch;
  }

  void TearDown() override {
    game_.Stop();
    display_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  // Starts a private X server with a screen of that size and the game on it.
  void Launch(int width = kWidth, int height = kHeight, int depth = 24) {
    width_ = width;
    height_ = height;
    display_ = std::make_unique<VirtualDisplay>(
        std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth));
    ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
    ASSERT_TRUE(game_.Start({PADDLEBALL_GAME},
                            {"DISPLAY=" + display_->name(), "SDL_AUDIODRIVER=dummy",
                             "SDL_VIDEODRIVER=", "SDL_FRAMEBUFFER_ACCELERATION="},
                            PADDLEBALL_SOURCE_DIR, scratch_ + "/game.log"));
  }

  std::optional<Screenshot> Capture() {
    return Screenshot::Capture(display_->name(), scratch_, width_, height_);
  }

  std::optional<Screenshot> WaitForScreen(const std::function<bool(const Screenshot&)>& ready) {
    const auto giveUp = std::chrono::steady_clock::now() + kScreenLimit;
    while (std::chrono::steady_clock::now() < giveUp) {
      std::optional<Screenshot> shot = Capture();
      if (shot.has_value() && ready(*shot)) return shot;
      std::this_thread::sleep_for(milliseconds(100));
    }
    return std::nullopt;
  }

  std::optional<Screenshot> WaitForTitle(const Area& title = kTitle) {
    return WaitForScreen([&](const Screenshot& s) { return s.CountWhite(title) >= kSomeText; });
  }

  void Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    EXPECT_EQ(RunToEnd(arguments, {"DISPLAY=" + display_->name()}, milliseconds(5000)), 0);
  }

  std::string GameLog() const { return ReadAll(scratch_ + "/game.log"); }

  std::unique_ptr<VirtualDisplay> display_;  // outlives the game
  ChildProcess game_;
  std::string scratch_;
  int width_ = kWidth;
  int height_ = kHeight;
};

TEST_F(GameRunTest, TitleThenClickToPlayThenTheMouseSteersAndEscapeEnds) {
  Launch();
  const std::optional<Screenshot> title = WaitForTitle();
  ASSERT_TRUE(title.has_value()) << "no title text; game log:\n" << GameLog();
  EXPECT_GT(title->CountColoured(kWholeScreen), kWidth * kHeight / 2) << "the arena is not drawn";
  const int headsUpBefore = title->CountWhite(kHeadsUp);

  // The game polls the button once a frame: hold it for several frames.
  Xdotool({"mousedown", "1"});
  std::this_thread::sleep_for(milliseconds(150));
  Xdotool({"mouseup", "1"});
  const std::optional<Screenshot> playing = WaitForScreen(
      [&](const Screenshot& s) { return s.CountWhite(kHeadsUp) >= headsUpBefore + kSomeText; });
  ASSERT_TRUE(playing.has_value()) << "no score, lives or level text after the click";

  // The paddle starts near the middle; moving right by 300 takes its right edge past 800.
  const std::optional<Screenshot> before = Capture();
  for (int step = 0; step < 3; ++step) Xdotool({"mousemove_relative", "--", "100", "0"});
  std::this_thread::sleep_for(milliseconds(150));
  const std::optional<Screenshot> after = Capture();
  ASSERT_TRUE(before.has_value() && after.has_value());
  EXPECT_GT(after->RightmostDifference(*before, kPaddleRows), 800);

  Xdotool({"key", "Escape"});
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

TEST_F(GameRunTest, TheWindowManagersCloseRequestEndsTheGameWithCodeZero) {
  Launch();
  ASSERT_TRUE(WaitForTitle().has_value()) << GameLog();
  ASSERT_TRUE(display_->AskToClose("paddleball"));
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

TEST_F(GameRunTest, AltF4EndsTheGameWithCodeZero) {
  Launch();
  ASSERT_TRUE(WaitForTitle().has_value()) << GameLog();
  Xdotool({"key", "alt+F4"});
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

TEST_F(GameRunTest, AWideSixteenBitScreenShowsThePictureScaledBetweenBlackBars) {
  // 1600 x 900: the picture is 1200 x 900 at x = 200, each pixel 1.171875 wide and high.
  Launch(1600, 900, 16);
  const std::optional<Screenshot> title = WaitForTitle({659, 98, 940, 141});
  ASSERT_TRUE(title.has_value()) << "no title text where the scaled title belongs\n" << GameLog();
  EXPECT_EQ(title->CountColoured({0, 0, 200, 900}) + title->CountWhite({0, 0, 200, 900}), 0);
  EXPECT_EQ(title->CountColoured({1400, 0, 1600, 900}) + title->CountWhite({1400, 0, 1600, 900}),
            0);
  EXPECT_GT(title->CountColoured({200, 0, 1400, 900}), 1200 * 900 / 2);
  Xdotool({"key", "Escape"});
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

TEST(GameWithoutDisplay, SaysWhyAndFails) {
  char scratch[] = "/tmp/paddleball-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(scratch), nullptr);
  const std::string log = std::string(scratch) + "/game.log";
  ChildProcess game;
  ASSERT_TRUE(game.Start({PADDLEBALL_GAME}, {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=x11"},
                         PADDLEBALL_SOURCE_DIR, log));
  const std::optional<int> code = game.Wait(milliseconds(10000));
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0);
  const std::string written = ReadAll(log);
  EXPECT_NE(written.find("cannot open the display"), std::string::npos) << written;
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace desktop_test
