// paddleball-make-images: draws the game's three bitmaps into a directory (default "images"),
// or with --icons the desktop icon as DIR/<size>x<size>/apps/paddleball.png, and the web app's
// maskable icon as DIR/maskable-512.png.
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "arena_image.h"
#include "ball_image.h"
#include "icon_image.h"
#include "paddle_image.h"

namespace {

constexpr const char* kUsage =
    "usage: paddleball-make-images [output-directory]\n"
    "       paddleball-make-images --icons icon-directory\n";

int WriteBitmaps(const std::string& directory) {
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

// The sizes desktops look for in the hicolor theme, and those a web app manifest asks for.
int WriteIcons(const std::string& directory) {
  constexpr int kSizes[] = {16, 32, 48, 64, 128, 192, 256, 512};
  for (const int size : kSizes) {
    const std::string sized = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(directory) / sized / "apps";
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    std::string error;
    if (made || !SavePng(DrawIcon(size), (folder / "paddleball.png").string(), error)) {
      std::fprintf(stderr, "paddleball-make-images: %s\n",
                   made ? (folder.string() + ": " + made.message()).c_str() : error.c_str());
      return 1;
    }
  }
  constexpr int kMaskableSize = 512;
  std::string error;
  if (!SavePng(DrawIcon(kMaskableSize, true), directory + "/maskable-512.png", error)) {
    std::fprintf(stderr, "paddleball-make-images: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) return WriteIcons(argv[2]);
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return WriteBitmaps(argc == 2 ? argv[1] : "images");
}
