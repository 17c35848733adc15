#include "frame_files.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

}  // namespace

FrameFiles::FrameFiles(std::string directory, std::vector<long> ticks)
    : directory_(std::move(directory)), ticks_(std::move(ticks)) {}

bool FrameFiles::Wants(long tick) const {
  return enabled() && (ticks_.empty() || std::binary_search(ticks_.begin(), ticks_.end(), tick));
}

bool FrameFiles::Prepare(std::string& error) const {
  if (!enabled()) return true;
  std::error_code failure;
  std::filesystem::create_directories(directory_, failure);
  if (failure || !std::filesystem::is_directory(directory_)) {
    error =
        "--frames: cannot make directory " + directory_ + (failure ? ": " + failure.message() : "");
    return false;
  }
  return true;
}

std::string FrameFiles::PathFor(long tick) const {
  char name[32];
  std::snprintf(name, sizeof(name), "tick-%06ld.png", tick);
  return directory_ + "/" + name;
}

bool FrameFiles::Write(long tick, const std::vector<std::uint16_t>& pixels, int width, int height,
                       std::string& error) const {
  return SaveRgb565Png(PathFor(tick), pixels, width, height, error);
}

bool SaveRgb565Png(const std::string& path, const std::vector<std::uint16_t>& pixels, int width,
                   int height, std::string& error) {
  if (width <= 0 || height <= 0 ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    error = path + ": no frame to write";
    return false;
  }
  // SDL only reads the pixels; the cast serves its C interface.
  SurfacePtr frame(
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint16_t*>(pixels.data()), width, height,
                                         16, width * 2, SDL_PIXELFORMAT_RGB565),
      SDL_FreeSurface);
  SurfacePtr rgb(frame ? SDL_ConvertSurfaceFormat(frame.get(), SDL_PIXELFORMAT_RGB24, 0) : nullptr,
                 SDL_FreeSurface);
  if (!rgb || IMG_SavePNG(rgb.get(), path.c_str()) != 0) {
    error = path + ": " + SDL_GetError();
    return false;
  }
  return true;
}
