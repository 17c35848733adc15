// WinMain called as Windows calls it, for the hosts' main().
#include "portable/entry/game_entry.h"

#include "portable/win32.h"

namespace portable {

int RunWinMain() {
  static char commandLine[] = "";
  return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}

}  // namespace portable
