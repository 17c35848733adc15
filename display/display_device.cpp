#include "display/display_device.h"

#include <cstring>

#include "app/report_error.h"
#include "app/request_quit.h"
#include "app/window.h"
#include "display/refresh_hold.h"
#include "display/sprite_loading.h"

IDirectDraw* directDraw = nullptr;
IDirectDrawSurface* primarySurface = nullptr;
IDirectDrawSurface* backBuffer = nullptr;
DDSURFACEDESC surfaceDesc;

namespace {

constexpr DWORD kScreenWidth = 1024;
constexpr DWORD kScreenHeight = 768;
constexpr DWORD kBitsPerPixel = 16;

bool Succeeded(HRESULT result, const char* message) {
  if (result == DD_OK) return true;
  ReportError(message);
  return false;
}

void CreateFlippingSurfaces() {
  std::memset(&surfaceDesc, 0, sizeof(surfaceDesc));
  surfaceDesc.dwSize = sizeof(surfaceDesc);
  surfaceDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  surfaceDesc.dwBackBufferCount = 1;
  surfaceDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  if (!Succeeded(directDraw->CreateSurface(&surfaceDesc, &primarySurface, nullptr),
                 "CreateSurface Failed!")) {
    primarySurface = nullptr;
    return;
  }
  DDSCAPS backBufferCaps = {DDSCAPS_BACKBUFFER};
  if (!Succeeded(primarySurface->GetAttachedSurface(&backBufferCaps, &backBuffer),
                 "GetAttached Surface Failed!")) {
    backBuffer = nullptr;
  }
}

// The mode's rate as the display driver reports it, and failing that as the desktop's current
// mode does (some drivers answer neither: then both are 0).
RefreshHold::ReportedRates ReportedRefreshRates() {
  RefreshHold::ReportedRates rates;
  DWORD hertz = 0;
  if (directDraw->GetMonitorFrequency(&hertz) == DD_OK) rates.monitorHertz = hertz;
  // Asked only when needed: on some systems it is a round trip to the display server.
  if (RefreshHold::Plausible(rates.monitorHertz)) return rates;
  DEVMODEA mode;
  std::memset(&mode, 0, sizeof(mode));
  mode.dmSize = sizeof(mode);
  if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) &&
      (mode.dmFields & DM_DISPLAYFREQUENCY) != 0) {
    rates.desktopHertz = mode.dmDisplayFrequency;
  }
  return rates;
}

// Where the platform waits for vertical blanks at all; some answer at once instead.
bool WaitForBlank() {
  return directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr) == DD_OK;
}

}  // namespace

void InitDisplay() {
  if (!Succeeded(DirectDrawCreate(nullptr, &directDraw, nullptr), "DirectDrawCreate Failed!")) {
    // Every later step goes through the object that was not made.
    directDraw = nullptr;
    return;
  }
  Succeeded(directDraw->SetCooperativeLevel(mainWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
            "SetCooperativeLevel Failed!");
  Succeeded(directDraw->SetDisplayMode(kScreenWidth, kScreenHeight, kBitsPerPixel),
            "SetDisplayMode Failed!");
  CreateFlippingSurfaces();
}

void PresentFrame() {
  // Retries follow at once; a failure that outlasts them ends the program instead of
  // spinning for ever. Lost surfaces are given back and refilled before retrying.
  constexpr int kMaxFlipAttempts = 64;
  if (primarySurface == nullptr) return;
  RefreshHold& hold = GameRefreshHold();
  for (int attempt = 0; attempt < kMaxFlipAttempts; ++attempt) {
    const HRESULT result = primarySurface->Flip(nullptr, DDFLIP_WAIT);
    if (result == DD_OK) {
      hold.AfterFlip(ReportedRefreshRates(), WaitForBlank);
      return;
    }
    if (result == DDERR_SURFACELOST) {
      primarySurface->Restore();
      RestoreScene();
    }
  }
  RequestQuit();
}
