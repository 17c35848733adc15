// The game's entry in a browser: install the web host, then run the game's own entry.
#include "game_entry.h"
#include "host/web/web_host.h"

int main() {
  static host::WebHost web;
  host::Install(&web);
  const int exitCode = portable::RunWinMain();
  host::Install(nullptr);
  web.ShowEnd(exitCode);
  return exitCode;
}
