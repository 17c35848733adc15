// A play frame's scene on the headless host, set up once for the benchmarks.
#pragma once

#include "host/headless/headless_host.h"

// Installs the host, takes the display and loads the three pictures from `sourceDirectory`.
// Returns false, with the reason on stderr, when a picture did not load.
bool SetUpBenchScene(host::HeadlessHost& headless, const char* sourceDirectory);
// Draws one play frame into the back buffer exactly as a play step does.
void ComposePlayFrame();
