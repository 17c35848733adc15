// Portable stand-in for the multimedia call that plays a WAV file by name.
#pragma once

#include "win32.h"

constexpr DWORD SND_SYNC = 0x00000000;
constexpr DWORD SND_ASYNC = 0x00000001;
constexpr DWORD SND_NODEFAULT = 0x00000002;
constexpr DWORD SND_PURGE = 0x00000040;
constexpr DWORD SND_FILENAME = 0x00020000;

BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);

// Timer resolution requests; the host's sleeps are already as fine as it can make them.
using MMRESULT = UINT;
constexpr MMRESULT TIMERR_NOERROR = 0;
MMRESULT timeBeginPeriod(UINT milliseconds);
