#include "display/palette_utils.h"

#include <algorithm>
#include <cstring>

#include "display/sprite_loading.h"

namespace {

constexpr int kPaletteSize = 256;
constexpr DWORD kInfoHeaderSize = 40;

HBITMAP LoadBitmapSized(const char* path, int dx, int dy) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), path, IMAGE_BITMAP, dx, dy, LR_CREATEDIBSECTION));
  if (bitmap != nullptr) return bitmap;
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, path, IMAGE_BITMAP, dx, dy, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

void FillRamp(PALETTEENTRY (&entries)[kPaletteSize]) {
  for (int i = 0; i < kPaletteSize; ++i) {
    entries[i].peRed = static_cast<BYTE>(((i >> 5) & 7) * 255 / 7);
    entries[i].peGreen = static_cast<BYTE>(((i >> 2) & 7) * 255 / 7);
    entries[i].peBlue = static_cast<BYTE>((i & 3) * 255 / 3);
    entries[i].peFlags = 0;
  }
}

// How many table colours a header promises, at most a palette's worth.
int ColourCount(const BITMAPINFOHEADER& header, bool exactHeaderSize) {
  const bool sizeOk =
      exactHeaderSize ? header.biSize == kInfoHeaderSize : header.biSize >= kInfoHeaderSize;
  if (!sizeOk || header.biBitCount > 8) return 0;
  const DWORD count = header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount);
  return static_cast<int>(std::min<DWORD>(count, kPaletteSize));
}

void TakeResourceColours(HRSRC resource, PALETTEENTRY (&entries)[kPaletteSize]) {
  const auto* header =
      static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, resource)));
  if (header == nullptr) {
    OutputDebugStringA("lock resource failed\n");
    return;
  }
  const auto* table =
      reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
  const int count = ColourCount(*header, false);
  for (int i = 0; i < count; ++i) {
    entries[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  }
}

void TakeFileColours(const char* path, PALETTEENTRY (&entries)[kPaletteSize]) {
  const HFILE file = _lopen(path, OF_READ);
  if (file == HFILE_ERROR) return;
  // Zeroed so that a file too short for its headers takes no colours.
  BITMAPFILEHEADER fileHeader = {};
  BITMAPINFOHEADER infoHeader = {};
  _lread(file, &fileHeader, sizeof(fileHeader));
  _lread(file, &infoHeader, sizeof(infoHeader));
  _lread(file, entries, sizeof(entries));
  _lclose(file);
  const int count = ColourCount(infoHeader, true);
  for (int i = 0; i < count; ++i) std::swap(entries[i].peRed, entries[i].peBlue);
}

}  // namespace

IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* directDraw, const char* path, int dx, int dy) {
  HBITMAP bitmap = LoadBitmapSized(path, dx, dy);
  if (bitmap == nullptr) return nullptr;
  BITMAP info = {};
  GetObjectA(bitmap, sizeof(info), &info);
  DDSURFACEDESC desc;
  std::memset(&desc, 0, sizeof(desc));
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  desc.dwWidth = static_cast<DWORD>(info.bmWidth);
  desc.dwHeight = static_cast<DWORD>(info.bmHeight);
  IDirectDrawSurface* surface = nullptr;
  if (directDraw == nullptr || directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
    DeleteObject(bitmap);
    return nullptr;
  }
  CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
  DeleteObject(bitmap);
  return surface;
}

IDirectDrawPalette* LoadBitmapPalette(IDirectDraw* directDraw, const char* path) {
  PALETTEENTRY entries[kPaletteSize];
  FillRamp(entries);
  if (path != nullptr) {
    HRSRC resource = FindResourceA(nullptr, path, RT_BITMAP);
    if (resource != nullptr) {
      TakeResourceColours(resource, entries);
    } else {
      TakeFileColours(path, entries);
    }
  }
  IDirectDrawPalette* palette = nullptr;
  if (directDraw == nullptr ||
      directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) {
    return nullptr;
  }
  return palette;
}

DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF color) {
  COLORREF saved = CLR_INVALID;
  HDC dc = nullptr;
  if (color != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
    saved = GetPixel(dc, 0, 0);
    SetPixel(dc, 0, 0, color);
    surface->ReleaseDC(dc);
  }
  DDSURFACEDESC desc;
  std::memset(&desc, 0, sizeof(desc));
  desc.dwSize = sizeof(desc);
  HRESULT locked;
  while ((locked = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
  }
  DWORD result = CLR_INVALID;
  if (locked == DD_OK) {
    // Only the top-left pixel's own bytes are read: a narrow surface may end right after it.
    const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    const std::size_t bytes = std::min<std::size_t>((bits + 7) / 8, sizeof(DWORD));
    result = 0;
    std::memcpy(&result, desc.lpSurface, bytes);
    if (bits < 32) result &= (1u << bits) - 1;
    surface->Unlock(nullptr);
  }
  if (saved != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
    SetPixel(dc, 0, 0, saved);
    surface->ReleaseDC(dc);
  }
  return result;
}

HRESULT SetSurfaceColorKey(IDirectDrawSurface* surface, COLORREF color) {
  const DWORD key = MatchSurfaceColor(surface, color);
  DDCOLORKEY colorKey = {key, key};
  return surface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
}
