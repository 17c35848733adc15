#include "host/sdl/renderer_probe.h"

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

namespace host {
namespace {

constexpr unsigned kGlRenderer = 0x1F01;
constexpr int kHardwareExit = 0;
constexpr int kSoftwareExit = 1;
constexpr auto kLongestWait = std::chrono::seconds(3);
constexpr auto kPollInterval = std::chrono::milliseconds(5);

bool IsSoftwareRasteriser(std::string_view renderer) {
  constexpr std::array<std::string_view, 5> kSoftwareNames = {"llvmpipe", "softpipe", "Software",
                                                              "swrast", "SWR"};
  for (std::string_view name : kSoftwareNames) {
    if (renderer.find(name) != std::string_view::npos) return true;
  }
  return false;
}

[[noreturn]] void AnswerInChild() {
  const int quiet = open("/dev/null", O_WRONLY);
  if (quiet >= 0) dup2(quiet, STDERR_FILENO);  // a failing driver's complaints are not ours
  int answer = kSoftwareExit;
  if (SDL_Init(SDL_INIT_VIDEO) == 0) {
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 32, 32, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* renderer =
        context != nullptr && getString ? getString(kGlRenderer) : nullptr;
    if (renderer != nullptr && !IsSoftwareRasteriser(reinterpret_cast<const char*>(renderer))) {
      answer = kHardwareExit;
    }
  }
  _exit(answer);  // no clean-up: the parent's state must not be touched
}

bool WaitForAnswer(pid_t child) {
  const auto giveUp = std::chrono::steady_clock::now() + kLongestWait;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > giveUp) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == kHardwareExit;
}

bool DriverHasNoGl() {
  const char* driver = SDL_getenv("SDL_VIDEODRIVER");
  return driver != nullptr &&
         (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

}  // namespace

bool HasHardwareRenderer() {
  if (DriverHasNoGl()) return false;
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) AnswerInChild();
  return WaitForAnswer(child);
}

}  // namespace host
