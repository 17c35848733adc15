// The refresh rate of the mode every host presents, whatever the machine's own.
#pragma once

#include "portable/win32.h"

// Every host shows one frame per refresh of a 60 Hz clock.
constexpr DWORD kEmulatedHertz = 60;
