// The game's entry for a host's main(): the one part of the portable layer a backend sees.
#pragma once

namespace portable {

// Runs WinMain as Windows starts a program (this module, an empty command line, shown
// normally) and returns its exit code.
int RunWinMain();

}  // namespace portable
