// paddleball-make-sounds: writes the game's four WAV cues into a directory (default sounds/).
#include <cstdio>
#include <filesystem>
#include <string>

#include "cue_sounds.h"
#include "wav_writer.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fputs("usage: paddleball-make-sounds [output-directory]\n", stderr);
    return 2;
  }
  const std::filesystem::path directory = argc == 2 ? argv[1] : "sounds";
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  for (const CueSound& cue : kCueSounds) {
    const std::string path = (directory / cue.fileName).string();
    if (!WriteMonoWav(path, cue.make(), kCueSampleRate)) {
      std::fprintf(stderr, "paddleball-make-sounds: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
