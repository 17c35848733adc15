#include "display/sprite_loading.h"

#include <cstring>

#include "display/display_device.h"
#include "game/serve_ball.h"
#include "scene/scene_objects.h"

namespace {

struct ScenePicture {
  Sprite** sprite;
  const char* path;
  int width;
  int height;
};

constexpr ScenePicture kScenePictures[] = {
    {&arena, "images/arena2.bmp", 800, 600},
    {&ball, "images/example2.bmp", 88, 104},
    {&paddle, "images/paddle4.bmp", 144, 32},
};

HBITMAP LoadBitmapByName(const char* path) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), path, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap != nullptr) return bitmap;
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

}  // namespace

HRESULT Sprite::Load(const char* path, std::int32_t surfaceWidth, std::int32_t surfaceHeight) {
  std::memset(&surfaceDesc, 0, sizeof(surfaceDesc));
  surfaceDesc.dwSize = sizeof(surfaceDesc);
  surfaceDesc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  width = surfaceWidth;
  surfaceDesc.dwWidth = static_cast<DWORD>(surfaceWidth);
  height = surfaceHeight;
  surfaceDesc.dwHeight = static_cast<DWORD>(surfaceHeight);
  surfaceDesc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  if (directDraw == nullptr ||
      directDraw->CreateSurface(&surfaceDesc, &surface, nullptr) != DD_OK) {
    surface = nullptr;
  }
  if (surface != nullptr) {
    DDCOLORKEY blackIsTransparent = {0, 0};
    surface->SetColorKey(DDCKEY_SRCBLT, &blackIsTransparent);
  }
  return ReloadBitmap(surface, path);
}

HRESULT ReloadBitmap(IDirectDrawSurface* surface, const char* path) {
  HBITMAP bitmap = LoadBitmapByName(path);
  if (bitmap == nullptr) {
    OutputDebugStringA("handle is null\n");
    return E_FAIL;
  }
  const HRESULT result = CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
  if (result != DD_OK) OutputDebugStringA("ddcopybitmap failed\n");
  DeleteObject(bitmap);
  return result;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int dx,
                            int dy) {
  if (bitmap == nullptr || surface == nullptr) return E_FAIL;
  surface->Restore();
  HDC memoryDc = CreateCompatibleDC(nullptr);
  if (memoryDc == nullptr) OutputDebugStringA("createcompatible dc failed\n");
  SelectObject(memoryDc, bitmap);
  BITMAP info = {};
  GetObjectA(bitmap, sizeof(info), &info);
  if (dx == 0) dx = info.bmWidth;
  if (dy == 0) dy = info.bmHeight;
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
  surface->GetSurfaceDesc(&desc);
  HDC surfaceDc = nullptr;
  const HRESULT result = surface->GetDC(&surfaceDc);
  if (result == DD_OK) {
    StretchBlt(surfaceDc, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight),
               memoryDc, x, y, dx, dy, SRCCOPY);
    surface->ReleaseDC(surfaceDc);
  }
  DeleteDC(memoryDc);
  return result;
}

void LoadScene() {
  ServeBall();
  for (const ScenePicture& picture : kScenePictures) {
    (*picture.sprite)->Load(picture.path, picture.width, picture.height);
  }
}

void RestoreScene() {
  for (const ScenePicture& picture : kScenePictures) {
    IDirectDrawSurface* surface = (*picture.sprite)->GetSurface();
    if (surface != nullptr && surface->IsLost() != DD_OK) ReloadBitmap(surface, picture.path);
  }
}
