// The real game where the display fails it: none, a dead one, every screen depth, a window
// destroyed from outside, a lost connection, and the ways it is told to end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "virtual_display.h"

namespace desktop_test {
namespace {

using std::chrono::milliseconds;

constexpr auto kPromptly = milliseconds(15000);  // a hang guard, roomy for sanitizer builds
constexpr auto kScreenLimit = milliseconds(15000);
constexpr int kSomeText = 30;  // white pixels: a few glyphs' worth

class DisplayFaultsTest : public testing::Test {
 protected:
  void TearDown() override {
    game_.Stop();
    display_.reset();  // outlives the game
    std::filesystem::remove(log_);
  }

  void StartGame(const std::vector<std::string>& environment) {
    std::vector<std::string> settings = {"SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER=",
                                         "SDL_FRAMEBUFFER_ACCELERATION=", "WAYLAND_DISPLAY="};
    settings.insert(settings.end(), environment.begin(), environment.end());
    ASSERT_TRUE(game_.Start({PADDLEBALL_GAME}, settings, PADDLEBALL_SOURCE_DIR, log_));
  }

  // A private X server with a screen of that depth, and the game on it.
  void Launch(int depth) {
    display_ = std::make_unique<VirtualDisplay>("1024x768x" + std::to_string(depth));
    ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
    // A 30-bit screen is drawn through the GL driver, which SDL unloads before LeakSanitizer
    // looks: the driver's leaks then come from no known library and cannot be suppressed.
    std::vector<std::string> settings = {"DISPLAY=" + display_->name()};
    if (depth == 30) settings.push_back("ASAN_OPTIONS=detect_leaks=0");
    StartGame(settings);
  }

  // A renderer widening 6-bit green to 10 bits may miss full white by a bit.
  bool NearlyWhite(unsigned long pixel) const {
    return __builtin_popcountl(pixel ^ display_->white()) <= 2;
  }

  // True once the title prompt's white text shows; false if the game ended or time ran out.
  bool TitleShows() {
    const auto giveUp = std::chrono::steady_clock::now() + kScreenLimit;
    while (std::chrono::steady_clock::now() < giveUp) {
      const std::vector<unsigned long> shot = display_->Capture();
      int white = 0;
      for (int y = 84; y < 120 && !shot.empty(); ++y) {
        for (int x = 392; x < 632; ++x) white += NearlyWhite(shot[y * 1024 + x]);
      }
      if (white >= kSomeText) return true;
      std::this_thread::sleep_for(milliseconds(100));
    }
    return false;
  }

  std::string GameLog() const {
    std::stringstream text;
    text << std::ifstream(log_).rdbuf();
    return text.str();
  }

  // The game ended promptly with status 1 and said why in one plain line.
  void ExpectOneLineFailure(const std::string& about) {
    EXPECT_EQ(game_.Wait(kPromptly), 1) << about;
    const std::string log = GameLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << about << ":\n" << log;
    EXPECT_EQ(log.rfind("paddleball: ", 0), 0u) << about << ":\n" << log;
  }

  std::string log_ = testing::TempDir() + "paddleball-faults-" + std::to_string(getpid()) + ".log";
  std::unique_ptr<VirtualDisplay> display_;
  ChildProcess game_;
};

// A display number no server answers at.
std::string DeadDisplay() {
  int number = 900;
  while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) ++number;
  return ":" + std::to_string(number);
}

TEST_F(DisplayFaultsTest, WithoutAWorkingDisplayTheGameNamesItAndEndsAtOnce) {
  const std::string dead = DeadDisplay();
  const std::pair<std::string, std::string> cases[] = {
      {"DISPLAY=", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
      {"DISPLAY=" + dead, "no answer from X display \"" + dead + "\""},
  };
  for (const auto& [setting, said] : cases) {
    StartGame({setting});
    ExpectOneLineFailure(setting);
    EXPECT_NE(GameLog().find(said), std::string::npos) << GameLog();
  }
}

TEST_F(DisplayFaultsTest, EveryScreenDepthShowsThePicture) {
  for (const int depth : {16, 24, 30}) {
    Launch(depth);
    EXPECT_TRUE(TitleShows()) << depth << "-bit screen; game log:\n" << GameLog();
    EXPECT_TRUE(display_->Xdotool("key Escape"));
    EXPECT_EQ(game_.Wait(kPromptly), 0) << depth;
    game_.Stop();
    display_.reset();
  }
}

// An 8-bit screen: the picture, or a clear refusal.
TEST_F(DisplayFaultsTest, AnEightBitScreenShowsThePictureOrSaysWhy) {
  Launch(8);
  const auto giveUp = std::chrono::steady_clock::now() + kScreenLimit;
  while (std::chrono::steady_clock::now() < giveUp) {
    if (const std::optional<int> ended = game_.Wait(milliseconds(100))) {
      EXPECT_EQ(*ended, 1);
      EXPECT_EQ(GameLog().rfind("paddleball: ", 0), 0u) << GameLog();
      return;
    }
    int lit = 0;
    for (const unsigned long pixel : display_->Capture()) lit += pixel != 0;
    if (lit > 1024 * 768 / 2) return;
  }
  ADD_FAILURE() << "neither a picture nor a reason; game log:\n" << GameLog();
}

// Destroyed from outside, or its connection to the server cut: one line, status 1, no dump.
TEST_F(DisplayFaultsTest, LosingTheWindowOrTheServerEndsTheGameInOneLine) {
  for (const char* fault : {"windowclose", "windowkill"}) {
    Launch(24);
    ASSERT_TRUE(TitleShows()) << GameLog();
    EXPECT_TRUE(display_->Xdotool(std::string("search --name '^DirectDraw Example$' ") + fault));
    ExpectOneLineFailure(fault);
    game_.Stop();
    display_.reset();
  }
}

// Under the sanitizers these also check that the game's own memory is all given back.
TEST_F(DisplayFaultsTest, TerminationAndGameOverEndTheGameCleanly) {
  for (const bool terminate : {true, false}) {
    Launch(24);
    ASSERT_TRUE(TitleShows()) << GameLog();
    if (terminate) {
      game_.Signal(SIGTERM);
    } else {  // a click starts play; left alone, the paddle loses all three balls
      EXPECT_TRUE(display_->Xdotool("mousedown 1 sleep 0.15 mouseup 1"));
    }
    EXPECT_EQ(game_.Wait(terminate ? kPromptly : milliseconds(60000)), 0) << GameLog();
    game_.Stop();
    display_.reset();
  }
}

}  // namespace
}  // namespace desktop_test
