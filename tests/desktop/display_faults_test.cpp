// The real game where the display fails it: none, a dead one, every screen depth, a window
// destroyed from outside, a lost connection, and the ways it is told to end.
#include <algorithm>

#include "game_on_display.h"

namespace desktop_test {
namespace {

constexpr auto kPromptly = milliseconds(15000);  // a hang guard, roomy for sanitizer builds

class DisplayFaultsTest : public GameOnDisplay {
 protected:
  // A 30-bit screen is drawn through the GL driver, which SDL unloads before LeakSanitizer
  // looks: the driver's leaks then come from no known library and cannot be suppressed.
  void Launch(int depth) {
    std::vector<std::string> settings;
    if (depth == 30) settings.push_back("ASAN_OPTIONS=detect_leaks=0");
    GameOnDisplay::Launch("1024x768x" + std::to_string(depth), settings);
  }

  // A renderer widening 6-bit green to 10 bits may miss full white by a bit.
  bool NearlyWhite(unsigned long pixel) const {
    return __builtin_popcountl(pixel ^ display_->white()) <= 2;
  }

  // True once the title prompt's white text shows within the limit.
  bool TitleShows() {
    return WaitFor(
        [&] {
          const std::vector<unsigned long> shot = display_->Capture();
          int white = 0;
          for (int y = 84; y < 120 && !shot.empty(); ++y) {
            for (int x = 392; x < 632; ++x) white += NearlyWhite(shot[y * 1024 + x]);
          }
          return white >= kSomeText;
        },
        kScreenLimit);
  }

  // The game ended promptly with status 1 and said why in one plain line.
  void ExpectOneLineFailure(const std::string& about) {
    EXPECT_EQ(game_.Wait(kPromptly), 1) << about;
    const std::string log = GameLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << about << ":\n" << log;
    EXPECT_EQ(log.rfind("paddleball: ", 0), 0u) << about << ":\n" << log;
  }
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
      {"DISPLAY=" + dead, "X display \"" + dead + "\": "},  // then SDL's own reason
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
    EXPECT_TRUE(display_->Xdotool("search --name '^" + std::string(kWindowTitle) + "$' " + fault));
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
