// The game's entry in a browser: install the web host, then run the game's own entry.
#include <emscripten/html5.h>

#include "game_entry.h"
#include "host/web/web_host.h"

int main() {
  static host::WebHost web;
  host::Install(&web);
  const int exitCode = portable::RunWinMain();
  host::Install(nullptr);
  // Nothing of this game listens any more: another may start in the same page.
  emscripten_html5_remove_all_event_listeners();
  web.ShowEnd(exitCode);
  return exitCode;
}
