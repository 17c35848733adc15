#include "host/sdl/display_start.h"

#include <SDL.h>

#include <cstring>

#include "host/sdl/x_display.h"

namespace host {
namespace {

constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

std::string Quoted(const char* variable) {
  const char* value = SDL_getenv(variable);
  return value != nullptr && *value != '\0' ? std::string("\"") + value + "\"" : std::string();
}

// Drivers that draw on no screen ("evdev" is the dummy one reading input devices) would let
// the game run on unseen. Wayland without WAYLAND_DISPLAY has no session to join, and its
// library would print a line of its own while looking for one.
bool WorthTrying(const char* driver) {
  for (const char* standIn : {"offscreen", "dummy", "evdev"}) {
    if (std::strcmp(driver, standIn) == 0) return false;
  }
  return std::strcmp(driver, "wayland") != 0 || !Quoted("WAYLAND_DISPLAY").empty();
}

// What a driver looked for, so that SDL's own reason can be read against it.
std::string Sought(const char* driver) {
  const std::string x = Quoted("DISPLAY");
  const std::string wayland = Quoted("WAYLAND_DISPLAY");
  if (std::strcmp(driver, "x11") == 0 && !x.empty()) return "X display " + x;
  if (std::strcmp(driver, "wayland") == 0) return "Wayland display " + wayland;
  return driver;
}

bool FinishX11(std::string& error) {
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) return true;
  if (!ChooseTrueColorVisual(error)) return false;
  EndOnXFaults();
  return true;
}

bool StartNamedDriver(std::string& error) {
  if (SDL_Init(kSubsystems) != 0) {
    error = SDL_GetError();
    return false;
  }
  return true;
}

}  // namespace

bool StartDisplay(std::string& error) {
  bool started = false;
  const char* named = SDL_getenv("SDL_VIDEODRIVER");
  if (named != nullptr && *named != '\0') {
    started = StartNamedDriver(error);
  } else {
    error = Quoted("DISPLAY").empty() && Quoted("WAYLAND_DISPLAY").empty()
                ? "neither DISPLAY nor WAYLAND_DISPLAY is set"
                : "";
    for (int i = 0; i < SDL_GetNumVideoDrivers() && !started; ++i) {
      const char* driver = SDL_GetVideoDriver(i);
      if (!WorthTrying(driver)) continue;
      // Above the environment: an empty SDL_VIDEODRIVER would otherwise let SDL fall through
      // to its stand-in drivers.
      SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver, SDL_HINT_OVERRIDE);
      started = SDL_Init(kSubsystems) == 0;
      if (!started) error += (error.empty() ? "" : "; ") + Sought(driver) + ": " + SDL_GetError();
    }
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    if (!started && error.empty()) error = "SDL has no video driver for a screen";
  }
  if (started && !FinishX11(error)) {
    SDL_Quit();
    return false;
  }
  return started;
}

}  // namespace host
