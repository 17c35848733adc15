// The game's entry in a browser: install the web host, then run the game's own entry.
#include <emscripten/html5.h>

#include "host/web/web_host.h"
#include "portable/win32.h"

int main() {
  static host::WebHost web;
  host::Install(&web);
  static char commandLine[] = "";
  const int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
  host::Install(nullptr);
  // Nothing of this game listens any more: another may start in the same page.
  emscripten_html5_remove_all_event_listeners();
  web.ShowEnd(exitCode);
  return exitCode;
}
