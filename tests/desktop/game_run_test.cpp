// The real game on a private X server: title, start by click, paddle by mouse, and every way out.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
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
constexpr Area kTitle = {392, 84, 632, 120};
constexpr Area kHeadsUp = {0, 0, 300, 48};
constexpr Area kWholeScreen = {0, 0, Screenshot::kWidth, Screenshot::kHeight};
constexpr Area kPaddleRows = {0, 636, Screenshot::kWidth, 660};
constexpr int kSomeText = 30;  // white pixels: a few glyphs' worth

class GameRunTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(display_.name().empty()) << "Xvfb did not start";
    char scratch[] = "/tmp/paddleball-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    scratch_ = scratch;
    ASSERT_TRUE(game_.Start({PADDLEBALL_GAME},
                            {"DISPLAY=" + display_.name(), "SDL_AUDIODRIVER=dummy",
                             "SDL_VIDEODRIVER=", "SDL_FRAMEBUFFER_ACCELERATION="},
                            PADDLEBALL_SOURCE_DIR, scratch_ + "/game.log"));
  }

  void TearDown() override {
    game_.Stop();
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  std::optional<Screenshot> WaitForScreen(const std::function<bool(const Screenshot&)>& ready) {
    const auto giveUp = std::chrono::steady_clock::now() + kScreenLimit;
    while (std::chrono::steady_clock::now() < giveUp) {
      std::optional<Screenshot> shot = Screenshot::Capture(display_.name(), scratch_);
      if (shot.has_value() && ready(*shot)) return shot;
      std::this_thread::sleep_for(milliseconds(100));
    }
    return std::nullopt;
  }

  std::optional<Screenshot> WaitForTitle() {
    return WaitForScreen([](const Screenshot& s) { return s.CountWhite(kTitle) >= kSomeText; });
  }

  void Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    EXPECT_EQ(RunToEnd(arguments, {"DISPLAY=" + display_.name()}, milliseconds(5000)), 0);
  }

  std::string GameLog() const {
    std::ifstream log(scratch_ + "/game.log");
    std::stringstream text;
    text << log.rdbuf();
    return text.str();
  }

  VirtualDisplay display_;  // declared first: outlives the game
  ChildProcess game_;
  std::string scratch_;
};

TEST_F(GameRunTest, TitleThenClickToPlayThenTheMouseSteersAndEscapeEnds) {
  const std::optional<Screenshot> title = WaitForTitle();
  ASSERT_TRUE(title.has_value()) << "no title text; game log:\n" << GameLog();
  const int screenPixels = Screenshot::kWidth * Screenshot::kHeight;
  EXPECT_GT(title->CountColoured(kWholeScreen), screenPixels / 2) << "the arena is not drawn";
  const int headsUpBefore = title->CountWhite(kHeadsUp);

  // The game polls the button once a frame: hold it for several frames.
  Xdotool({"mousedown", "1"});
  std::this_thread::sleep_for(milliseconds(150));
  Xdotool({"mouseup", "1"});
  const std::optional<Screenshot> playing = WaitForScreen(
      [&](const Screenshot& s) { return s.CountWhite(kHeadsUp) >= headsUpBefore + kSomeText; });
  ASSERT_TRUE(playing.has_value()) << "no score, lives or level text after the click";

  // The paddle starts near the middle; moving right by 300 takes its right edge past 800.
  const std::optional<Screenshot> before = Screenshot::Capture(display_.name(), scratch_);
  for (int step = 0; step < 3; ++step) Xdotool({"mousemove_relative", "--", "100", "0"});
  std::this_thread::sleep_for(milliseconds(150));
  const std::optional<Screenshot> after = Screenshot::Capture(display_.name(), scratch_);
  ASSERT_TRUE(before.has_value() && after.has_value());
  EXPECT_GT(after->RightmostDifference(*before, kPaddleRows), 800);

  Xdotool({"key", "Escape"});
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

TEST_F(GameRunTest, TheWindowManagersCloseRequestEndsTheGameWithCodeZero) {
  ASSERT_TRUE(WaitForTitle().has_value()) << GameLog();
  ASSERT_TRUE(display_.AskToClose("paddleball"));
  EXPECT_EQ(game_.Wait(kExitLimit), 0);
}

TEST_F(GameRunTest, AltF4EndsTheGameWithCodeZero) {
  ASSERT_TRUE(WaitForTitle().has_value()) << GameLog();
  Xdotool({"key", "alt+F4"});
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
  std::ifstream file(log);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("cannot open the display"), std::string::npos) << text.str();
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace desktop_test
