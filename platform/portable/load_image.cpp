// LoadImageA for bitmaps: a module resource by name, or a file, optionally resized.
#include <optional>
#include <string>
#include <vector>

#include "host/bounded_file.h"
#include "host/unusable_file.h"
#include "portable/bitmap_file.h"
#include "portable/gdi.h"
#include "portable/gdi_bitmap.h"
#include "portable/module_resources.h"
#include "portable/scaled_blit.h"

namespace {

std::optional<std::vector<std::uint8_t>> BitmapBytes(LPCSTR name, UINT load, std::string& reason) {
  if ((load & LR_LOADFROMFILE) != 0) {
    return host::ReadBoundedFile(name, portable::kMaxBitmapFileBytes, reason);
  }
  const std::vector<std::uint8_t>* dib = portable::FindBitmapResource(name);
  if (dib == nullptr) return std::nullopt;
  return portable::FileFromPackedDib(dib->data(), dib->size());
}

// The picture at the asked size; a zero width or height keeps the picture's own.
std::optional<portable::PixelBuffer> Resized(portable::PixelBuffer picture, int cx, int cy) {
  const int width = cx != 0 ? cx : picture.width;
  const int height = cy != 0 ? cy : picture.height;
  if (width == picture.width && height == picture.height) return picture;
  if (!host::FitsPictureLimits(width, height)) return std::nullopt;
  portable::PixelBuffer resized(width, height);
  portable::ScaledBlit(resized, RECT{0, 0, width, height}, picture,
                       RECT{0, 0, picture.width, picture.height}, nullptr);
  return resized;
}

std::optional<portable::PixelBuffer> LoadPicture(LPCSTR name, int cx, int cy, UINT load,
                                                 std::string& reason) {
  const std::optional<std::vector<std::uint8_t>> bytes = BitmapBytes(name, load, reason);
  if (!bytes) return std::nullopt;
  std::optional<portable::PixelBuffer> picture = portable::DecodeBitmap(*bytes);
  if (!picture) {
    reason = "not a bitmap file the program can read";
    return std::nullopt;
  }
  std::optional<portable::PixelBuffer> sized = Resized(std::move(*picture), cx, cy);
  if (!sized) reason = "too large to resize";
  return sized;
}

}  // namespace

HANDLE LoadImageA(HINSTANCE /*instance*/, LPCSTR name, UINT type, int cx, int cy, UINT load) {
  if (type != IMAGE_BITMAP || name == nullptr || cx < 0 || cy < 0) return nullptr;
  std::string reason;
  std::optional<portable::PixelBuffer> picture = LoadPicture(name, cx, cy, load, reason);
  if (!picture) {
    // Only a file is worth naming: a name not among the resources is then looked for as one.
    if ((load & LR_LOADFROMFILE) != 0) host::ReportUnusableFile(name, reason);
    return nullptr;
  }
  return portable::NewBitmap(std::move(*picture));
}
