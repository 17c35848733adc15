// The real game on a private X server: title, start, steering, the ways out, and the display
// failing it: none, a dead one, every screen depth, a window destroyed, a lost connection.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "../support/scratch_dir.h"
#include "virtual_display.h"

namespace desktop_test {
namespace {

using std::chrono::milliseconds;
using Shot = std::vector<unsigned long>;

constexpr auto kFollowLimit = milliseconds(2000);
constexpr auto kPromptly = milliseconds(15000);  // hang guards, roomy for sanitizer builds
constexpr const char* kWindowTitle = "DirectDraw Example";
constexpr int kSomeText = 30;  // white pixels: a few glyphs' worth

struct Area {  // right and bottom excluded
  int left, top, right, bottom;
};
constexpr Area kTitle = {392, 84, 632, 120};
constexpr Area kHeadsUp = {0, 0, 300, 48};
// On 1600 x 900 the picture is 1200 x 900 at x = 200, each pixel 1.171875 wide and high; in
// a window there at (288, 66) it is unscaled.
constexpr Area kScaledTitle = {659, 98, 940, 141};
constexpr Area kWindowedTitle = {680, 150, 920, 186};

class GameRunTest : public testing::Test {
 protected:
  void TearDown() override {
    game_.Stop();
    display_.reset();  // outlives the game
  }

  // The game with sound and video drivers left to it, plus `environment`.
  void StartGame(std::vector<std::string> environment) {
    environment.insert(environment.begin(), {"SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER=",
                                             "SDL_FRAMEBUFFER_ACCELERATION=", "WAYLAND_DISPLAY="});
    ASSERT_TRUE(game_.Start({PADDLEBALL_GAME}, environment, PADDLEBALL_SOURCE_DIR, log_));
  }

  // A 30-bit screen is drawn through the GL driver, which SDL unloads before LeakSanitizer
  // looks: the driver's leaks then come from no known library and cannot be suppressed.
  // `beforeStart`: xdotool's commands on the display before the game starts.
  void Launch(int width = 1024, int height = 768, int depth = 24,
              const std::string& beforeStart = "") {
    width_ = width;
    display_ = std::make_unique<VirtualDisplay>(
        std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth));
    ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
    ASSERT_TRUE(beforeStart.empty() || display_->Xdotool(beforeStart));
    std::vector<std::string> environment = {"DISPLAY=" + display_->name()};
    if (depth == 30) environment.push_back("ASAN_OPTIONS=detect_leaks=0");
    StartGame(environment);
  }

  std::string GameLog() const { return Contents(log_); }

  // White pixels (text) in the area, or coloured ones: neither white nor black, the pictures.
  int Count(const Shot& shot, const Area& area, bool white) const {
    // A renderer widening 6-bit green to 10 bits may miss full white by a bit.
    const auto White = [this](unsigned long pixel) {
      return __builtin_popcountl(pixel ^ display_->white()) <= 2;
    };
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        const unsigned long pixel = shot[y * width_ + x];
        count += white ? White(pixel) : pixel != 0 && !White(pixel);
      }
    }
    return count;
  }

  // The game ended promptly (or already had: `ended`) with that status; failing, it said why in
  // one plain line.
  void ExpectEnd(int status, const std::string& about, std::optional<int> ended = {}) {
    EXPECT_EQ(ended ? ended : game_.Wait(kPromptly), status) << about << ":\n" << GameLog();
    if (status == 0) return;
    const std::string log = GameLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << about << ":\n" << log;
    EXPECT_EQ(log.rfind("paddleball: ", 0), 0u) << about << ":\n" << log;
  }

  // The screen once `ready` holds for it; empty when it never did within the limit.
  Shot WaitForScreen(const std::function<bool(const Shot&)>& ready,
                     milliseconds limit = kPromptly) const {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < giveUp) {
      Shot shot = display_->Capture();
      if (!shot.empty() && ready(shot)) return shot;
      std::this_thread::sleep_for(milliseconds(50));
    }
    return {};
  }

  Shot WaitForTitle(const Area& title = kTitle) const {
    return WaitForScreen([&](const Shot& s) { return Count(s, title, true) >= kSomeText; });
  }

  int width_ = 0;
  ScratchDir scratch_;
  std::string log_ = scratch_.Path("game.log");
  std::unique_ptr<VirtualDisplay> display_;
  private_x::ChildProcess game_;
};

// A click starts play and the mouse steers. Focused: press and release back to back, as a
// touchpad's tap sends them, shorter than a frame. With another program's window focused, the
// mouse is read in the background, sampled a few times a frame: the click is held for several.
// A button held down before the game starts starts it at once, with no press after. Space
// starts too, and Right held for half a second moves the paddle the README's 350 pixels (within
// 10%), from its right edge at 588; then a tap of Left moves it left.
TEST_F(GameRunTest, AClickOrAHeldButtonStartsPlayAndTheMouseSteers) {
  const struct {
    const char* how;
    std::string beforeStart, click, steer;  // xdotool's commands
    bool otherFocused;
    int rightFrom = 800, rightTo = 1024;  // where the paddle's right edge may end, both excluded
  } starts[] = {{"focused", "", "click 1", "mousemove_relative 300 0", false},
                {"another window focused", "", "mousemove 50 350 mousedown 1 sleep 0.5 mouseup 1",
                 "mousemove_relative 300 0", true},
                {"held from before the start", "mousemove 512 384 mousedown 1", "",
                 "mousemove_relative 300 0", false},
                {"keys", "", "key space", "keydown Right sleep 0.5 keyup Right", false, 588 + 315,
                 588 + 385}};
  for (const auto& start : starts) {
    SCOPED_TRACE(start.how);
    Launch(1024, 768, 24, start.beforeStart);
    int headsUp = 0;
    if (!start.click.empty()) {
      const Shot title = WaitForTitle();
      ASSERT_FALSE(title.empty()) << "no title text; game log:\n" << GameLog();
      EXPECT_GT(Count(title, {0, 0, 1024, 768}, false), 1024 * 768 / 2) << "no arena drawn";
      ASSERT_TRUE(!start.otherFocused || display_->TakeFocus(0, 300, 100, 100));
      headsUp = Count(title, kHeadsUp, true);
      EXPECT_TRUE(display_->Xdotool(start.click));
    }
    ASSERT_FALSE(WaitForScreen([&](const Shot& s) {
                   return Count(s, kHeadsUp, true) >= headsUp + kSomeText;
                 }).empty())
        << "no score, lives or level text after the start";
    // The paddle's right edge once moved right: the rightmost change in its rows.
    const Shot before = display_->Capture();
    const auto rightEdge = [&](const Shot& after) {
      int edge = 0;
      for (int i = 636 * 1024; i < 660 * 1024; ++i) {
        if (before.at(i) != after.at(i)) edge = std::max(edge, i % 1024);
      }
      return edge;
    };
    EXPECT_TRUE(display_->Xdotool(start.steer));
    const Shot steered = WaitForScreen(
        [&](const Shot& after) {
          return rightEdge(after) > start.rightFrom && rightEdge(after) < start.rightTo;
        },
        kFollowLimit);
    ASSERT_FALSE(steered.empty()) << "the paddle does not follow, or not so far: "
                                  << rightEdge(display_->Capture());
    if (start.steer.find("Right") != std::string::npos) {
      std::this_thread::sleep_for(milliseconds(200));  // past the frame the key's release reached
      const int settled = rightEdge(display_->Capture());
      EXPECT_TRUE(settled > start.rightFrom && settled < start.rightTo) << settled;
      EXPECT_TRUE(display_->Xdotool("key Left"));
      EXPECT_FALSE(
          WaitForScreen([&](const Shot& s) { return rightEdge(s) < settled; }, kFollowLimit)
              .empty())
          << "a tap of Left does not move the paddle left";
    }
    TearDown();  // the next launch gets a new display
  }
}

// Full screen scales the picture to fit, between black bars. Alt+Enter gives a window of
// 1024 x 768, the one whole multiple of the picture that fits 1600 x 900: it shows the picture
// pixel for pixel, centred, and the same key brings full screen back.
TEST_F(GameRunTest, AWideScreenLetterboxesAndAltEnterSwitchesToAWindowAndBack) {
  Launch(1600, 900, 16);
  const Shot title = WaitForTitle(kScaledTitle);
  ASSERT_FALSE(title.empty()) << "no title text where the scaled title belongs\n" << GameLog();
  // The bars stay black: nothing of the picture is drawn outside its place.
  EXPECT_EQ(Count(title, {0, 0, 200, 900}, false) + Count(title, {1400, 0, 1600, 900}, false), 0);

  EXPECT_TRUE(display_->Xdotool("mousemove 800 450 key alt+Return"));
  EXPECT_FALSE(WaitForTitle(kWindowedTitle).empty()) << "the window does not show the picture";

  EXPECT_TRUE(display_->Xdotool("mousemove 800 450 key alt+Return"));
  EXPECT_FALSE(WaitForTitle(kScaledTitle).empty()) << "full screen does not show the picture";
  ASSERT_TRUE(display_->AskToClose(kWindowTitle));
  ExpectEnd(0, "asked to close");
}

TEST_F(GameRunTest, WithoutAWorkingDisplayTheGameNamesItAndEndsAtOnce) {
  int number = 900;  // a display number no server answers at
  while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) ++number;
  const std::string dead = ":" + std::to_string(number);
  const std::pair<std::string, std::string> cases[] = {
      {"DISPLAY=", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
      {"DISPLAY=" + dead, "X display \"" + dead + "\": "},  // then SDL's own reason
  };
  for (const auto& [setting, said] : cases) {
    StartGame({setting});
    ExpectEnd(1, setting);
    EXPECT_NE(GameLog().find(said), std::string::npos) << GameLog();
  }
}

// Each depth shows the title (8 bits may be refused in one line; 30 go through the GL driver).
// From the title it ends as told: by Escape or SIGTERM cleanly (under the sanitizers, with all
// its memory given back); its window destroyed or its connection cut, in one line, status 1.
TEST_F(GameRunTest, EachScreenDepthShowsTheTitleOrSaysWhyAndEachWayOutEndsTheGame) {
  const std::string game = "search --name '^" + std::string(kWindowTitle) + "$' ";
  const struct {
    int depth;
    std::string end;  // what xdotool does, or a signal
    int status;
  } runs[] = {{30, "key Escape", 0},
              {24, game + "windowclose", 1},
              {24, game + "windowkill", 1},
              {24, "SIGTERM", 0},
              {8, "key Escape", 0}};
  for (const auto& run : runs) {
    SCOPED_TRACE(std::to_string(run.depth) + " bits, " + run.end);
    Launch(1024, 768, run.depth);
    std::optional<int> ended;
    const bool shown = !WaitForScreen([&](const Shot& shot) {
                          if ((ended = game_.Wait(milliseconds(0)))) return true;
                          if (run.depth == 8) {
                            return std::count(shot.begin(), shot.end(), 0ul) < 1024 * 768 / 2;
                          }
                          return Count(shot, kTitle, true) >= kSomeText;
                        }).empty();
    if (ended) {
      EXPECT_EQ(run.depth, 8) << "ended before its picture showed";
      ExpectEnd(1, "refused", ended);
    } else {
      ASSERT_TRUE(shown) << "no picture; game log:\n" << GameLog();
      if (run.end == "SIGTERM") {
        game_.Signal(SIGTERM);
      } else {
        EXPECT_TRUE(display_->Xdotool(run.end));
      }
      ExpectEnd(run.status, run.end);
    }
    TearDown();  // the next launch gets a new display
  }
}

}  // namespace
}  // namespace desktop_test
