// paddleball-make-images: draws the game's three bitmaps into a directory (default "images").
#include <SDL.h>

#include <cstdio>
#include <string>

#include "arena_image.h"
#include "ball_image.h"
#include "paddle_image.h"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fputs("usage: paddleball-make-images [output-directory]\n", stderr);
    return 2;
  }
  const std::string directory = argc == 2 ? argv[1] : "images";
  const struct {
    const char* name;
    IndexedImage image;
  } outputs[] = {
      {"arena2.bmp", DrawArena()},
      {"example2.bmp", DrawBall()},
      {"paddle4.bmp", DrawPaddle()},
  };
  for (const auto& output : outputs) {
    std::string error;
    if (!output.image.SaveBmp(directory + "/" + output.name, error)) {
      std::fprintf(stderr, "paddleball-make-images: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
