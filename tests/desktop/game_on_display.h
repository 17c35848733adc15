// Test support: the real game started on a private X server, its output kept for messages.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "virtual_display.h"

namespace desktop_test {

using std::chrono::milliseconds;

constexpr auto kScreenLimit = milliseconds(15000);
constexpr const char* kWindowTitle = "DirectDraw Example";
constexpr int kSomeText = 30;  // white pixels: a few glyphs' worth

// True once the condition holds, false when it never did within the limit.
inline bool WaitFor(const std::function<bool()>& condition, milliseconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < giveUp) {
    if (condition()) return true;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return false;
}

class GameOnDisplay : public testing::Test {
 protected:
  void TearDown() override {
    game_.Stop();
    display_.reset();  // outlives the game
    std::filesystem::remove(log_);
  }

  // The game with sound and video drivers left to it, plus `environment`.
  void StartGame(const std::vector<std::string>& environment) {
    std::vector<std::string> settings = {"SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER=",
                                         "SDL_FRAMEBUFFER_ACCELERATION=", "WAYLAND_DISPLAY="};
    settings.insert(settings.end(), environment.begin(), environment.end());
    ASSERT_TRUE(game_.Start({PADDLEBALL_GAME}, settings, PADDLEBALL_SOURCE_DIR, log_));
  }

  // A private X server with a screen such as "1024x768x24", and the game on it.
  void Launch(const std::string& screen, std::vector<std::string> environment = {}) {
    display_ = std::make_unique<VirtualDisplay>(screen);
    ASSERT_FALSE(display_->name().empty()) << "Xvfb did not start";
    environment.push_back("DISPLAY=" + display_->name());
    StartGame(environment);
  }

  std::string GameLog() const {
    std::stringstream text;
    text << std::ifstream(log_).rdbuf();
    return text.str();
  }

  std::string log_ = testing::TempDir() + "paddleball-" + std::to_string(getpid()) + ".log";
  std::unique_ptr<VirtualDisplay> display_;
  private_x::ChildProcess game_;
};

}  // namespace desktop_test
