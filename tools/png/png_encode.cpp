#include "png_encode.h"

#include <stb_image_write.h>

namespace {

void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

bool EncodePng(const std::uint8_t* pixels, int width, int height, int channels,
               std::vector<std::uint8_t>& png) {
  png.clear();
  return stbi_write_png_to_func(Append, &png, width, height, channels, pixels, width * channels) !=
         0;
}
