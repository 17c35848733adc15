// The game's entry off Windows: start the desktop host, then run the game's own entry.
#include <cstdio>
#include <string>

#include "game_entry.h"
#include "host/sdl/sdl_host.h"

int main(int /*argc*/, char** /*argv*/) {
  std::string error;
  auto desktop = host::SdlHost::Create(error);
  if (desktop == nullptr) {
    // Never fall back to a host without a screen: the player would see nothing.
    std::fprintf(stderr, "paddleball: cannot open the display: %s\n", error.c_str());
    return 1;
  }
  host::Install(desktop.get());
  const int exitCode = portable::RunWinMain();
  host::Install(nullptr);
  return exitCode;
}
