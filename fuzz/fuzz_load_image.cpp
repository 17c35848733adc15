// Fuzzes the bitmap path: a file loaded as a bitmap, measured, stretched into a small
// surface and deleted, as the sprite loaders do.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "display/sprite_loading.h"
#include "fuzz_input_file.h"
#include "host/headless/headless_host.h"

namespace {

constexpr DWORD kSurfaceWidth = 48;
constexpr DWORD kSurfaceHeight = 24;

// One surface for every input: the platform never releases surfaces.
IDirectDrawSurface* TargetSurface() {
  static IDirectDrawSurface* surface = [] {
    static host::HeadlessHost headless;
    host::Install(&headless);
    IDirectDraw* directDraw = nullptr;
    IDirectDrawSurface* made = nullptr;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = kSurfaceWidth;
    desc.dwHeight = kSurfaceHeight;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK ||
        directDraw->CreateSurface(&desc, &made, nullptr) != DD_OK) {
      std::abort();
    }
    return made;
  }();
  return surface;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IDirectDrawSurface* surface = TargetSurface();
  if (!WriteFuzzInput(data, size)) return 0;
  auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, FuzzInputPath().c_str(), IMAGE_BITMAP, 0,
                                                0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return 0;
  BITMAP info = {};
  GetObjectA(bitmap, sizeof(info), &info);
  CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
  DeleteObject(bitmap);
  return 0;
}
