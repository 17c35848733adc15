#include "sound/cues.h"

#include "platform/platform.h"

void PlayCue(Cue cue) {
  struct CueSound {
    const char* file;
    DWORD flags;
  };
  static constexpr CueSound kSounds[] = {
      {"sounds/click.wav", SND_FILENAME | SND_ASYNC},
      {"sounds/destroy.wav", SND_FILENAME | SND_SYNC},
      {"sounds/powers.wav", SND_FILENAME | SND_SYNC},
      {"sounds/failedme.wav", SND_FILENAME | SND_SYNC},
  };
  const CueSound& sound = kSounds[static_cast<int>(cue)];
  PlaySoundA(sound.file, nullptr, sound.flags);
}
