#include "portable/gdi_bitmap.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace portable {
namespace {

std::unordered_map<HGDIOBJ, std::unique_ptr<GdiBitmap>>& Bitmaps() {
  static std::unordered_map<HGDIOBJ, std::unique_ptr<GdiBitmap>> bitmaps;
  return bitmaps;
}

}  // namespace

HBITMAP NewBitmap(PixelBuffer pixels) {
  auto bitmap = std::make_unique<GdiBitmap>();
  bitmap->pixels = std::move(pixels);
  // The object's address is its handle; handles are never dereferenced as such.
  auto handle = reinterpret_cast<HBITMAP>(bitmap.get());
  Bitmaps().emplace(handle, std::move(bitmap));
  return handle;
}

GdiBitmap* FindBitmap(HGDIOBJ object) {
  const auto found = Bitmaps().find(object);
  return found == Bitmaps().end() ? nullptr : found->second.get();
}

}  // namespace portable

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
  const portable::GdiBitmap* bitmap = portable::FindBitmap(object);
  if (bitmap == nullptr || size < 0) return 0;
  if (buffer == nullptr) return sizeof(BITMAP);
  constexpr WORD kBitsPerPixel = 16;
  BITMAP record{};
  record.bmWidth = bitmap->pixels.width;
  record.bmHeight = bitmap->pixels.height;
  record.bmWidthBytes = bitmap->pixels.width * static_cast<LONG>(sizeof(std::uint16_t));
  record.bmPlanes = 1;
  record.bmBitsPixel = kBitsPerPixel;
  record.bmBits = const_cast<std::uint16_t*>(bitmap->pixels.pixels.data());
  const int copied = std::min<int>(size, sizeof(record));
  std::memcpy(buffer, &record, static_cast<std::size_t>(copied));
  return copied;
}

BOOL DeleteObject(HGDIOBJ object) {
  const portable::GdiBitmap* bitmap = portable::FindBitmap(object);
  if (bitmap == nullptr || bitmap->selectedInto != nullptr) return FALSE;
  portable::Bitmaps().erase(object);
  return TRUE;
}
