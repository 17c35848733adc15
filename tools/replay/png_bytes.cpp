#include "png_bytes.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

size_t AppendToVector(SDL_RWops* stream, const void* data, size_t size, size_t count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(stream->hidden.unknown.data1);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size * count);
  return count;
}

int CloseStream(SDL_RWops* stream) {
  SDL_FreeRW(stream);
  return 0;
}

}  // namespace

bool EncodeRgb565Png(const std::vector<std::uint16_t>& pixels, int width, int height,
                     std::vector<std::uint8_t>& png, std::string& error) {
  png.clear();
  if (width <= 0 || height <= 0 ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    error = "no frame to write";
    return false;
  }
  // SDL only reads the pixels; the cast serves its C interface.
  SurfacePtr frame(
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint16_t*>(pixels.data()), width, height,
                                         16, width * 2, SDL_PIXELFORMAT_RGB565),
      SDL_FreeSurface);
  SurfacePtr rgb(frame ? SDL_ConvertSurfaceFormat(frame.get(), SDL_PIXELFORMAT_RGB24, 0) : nullptr,
                 SDL_FreeSurface);
  SDL_RWops* stream = rgb ? SDL_AllocRW() : nullptr;
  if (stream == nullptr) {
    error = SDL_GetError();
    return false;
  }
  stream->write = AppendToVector;
  stream->close = CloseStream;
  stream->hidden.unknown.data1 = &png;
  if (IMG_SavePNG_RW(rgb.get(), stream, 1) != 0) {
    error = SDL_GetError();
    return false;
  }
  return true;
}
