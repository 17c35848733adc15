// PlaySoundA over the host's sound: one sound at a time, played from a file by name.
#include "portable/mmsystem.h"
#include "host/host.h"

BOOL PlaySoundA(LPCSTR sound, HMODULE /*module*/, DWORD flags) {
  if (sound == nullptr || (flags & SND_PURGE) != 0) {
    host::Current().StopSound();
    return TRUE;
  }
  // Only sounds named by file are offered: the program has no sound resources.
  if ((flags & SND_FILENAME) == 0) return FALSE;
  host::Current().PlaySound(sound, (flags & SND_ASYNC) == 0);
  return TRUE;
}

MMRESULT timeBeginPeriod(UINT /*milliseconds*/) { return TIMERR_NOERROR; }
