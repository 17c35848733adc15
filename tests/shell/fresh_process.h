// Test support: runs a scenario in a child process, so the program's globals start fresh.
#pragma once

#include <functional>

#include "host/headless/headless_host.h"

// The child runs `scenario` with a headless host installed and exits with 1 if any of its
// expectations failed; the parent expects 0. Failures are printed by the child.
void ExpectInFreshProcess(const std::function<void(host::HeadlessHost&)>& scenario);

// Takes waiting messages without handling them; the quit code once a quit message comes.
int TakeQuitCode();
constexpr int kNoQuit = -1;
