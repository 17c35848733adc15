// The DirectDraw object: display mode, cooperative level, and the surfaces and palettes it makes.
#include <memory>
#include <vector>

#include "host/emulated_mode.h"
#include "host/host.h"
#include "host/picture_limits.h"
#include "portable/ddraw.h"
#include "portable/fault_table.h"
#include "portable/palette.h"
#include "portable/surface.h"

namespace portable {
namespace {

constexpr DWORD kDisplayBitsPerPixel = 16;
constexpr DWORD kDefaultScreenWidth = 1024;
constexpr DWORD kDefaultScreenHeight = 768;

// Far above what the game asks for, so that a wild size is refused instead of allocated.
bool SaneSize(DWORD width, DWORD height) { return host::FitsPictureLimits(width, height); }

class DirectDraw final : public IDirectDraw {
 public:
  HRESULT SetCooperativeLevel(HWND /*window*/, DWORD /*flags*/) override {
    return Allowed(Call::kSetCooperativeLevel) ? DD_OK : DDERR_GENERIC;
  }

  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override {
    if (!Allowed(Call::kSetDisplayMode)) return DDERR_GENERIC;
    // Every surface holds RGB565 pixels; no other depth is offered.
    if (bitsPerPixel != kDisplayBitsPerPixel || !SaneSize(width, height)) {
      return DDERR_INVALIDMODE;
    }
    if (!host::Current().OpenScreen(static_cast<int>(width), static_cast<int>(height),
                                    static_cast<int>(bitsPerPixel))) {
      return DDERR_UNSUPPORTEDMODE;
    }
    screenWidth_ = width;
    screenHeight_ = height;
    return DD_OK;
  }

  HRESULT CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                        IUnknown* outer) override {
    if (desc == nullptr || surface == nullptr || outer != nullptr ||
        desc->dwSize != sizeof(DDSURFACEDESC) || (desc->dwFlags & DDSD_CAPS) == 0) {
      return DDERR_INVALIDPARAMS;
    }
    if ((desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) != 0) return CreatePrimary(*desc, surface);
    return CreateOffscreen(*desc, surface);
  }

  HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                        IUnknown* outer) override {
    if ((flags & DDPCAPS_8BIT) == 0 || entries == nullptr || palette == nullptr ||
        outer != nullptr) {
      return DDERR_INVALIDPARAMS;
    }
    palettes_.push_back(std::make_unique<Palette>(entries));
    *palette = palettes_.back().get();
    return DD_OK;
  }

  HRESULT WaitForVerticalBlank(DWORD /*flags*/, HANDLE /*event*/) override { return DD_OK; }

  HRESULT GetMonitorFrequency(DWORD* frequency) override {
    if (frequency == nullptr) return DDERR_INVALIDPARAMS;
    *frequency = host::kEmulatedHertz;
    return DD_OK;
  }

 private:
  HRESULT CreatePrimary(const DDSURFACEDESC& desc, LPDIRECTDRAWSURFACE* surface) {
    if (!Allowed(Call::kCreatePrimarySurface)) return DDERR_GENERIC;
    if (hasPrimary_) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    const bool chain = (desc.dwFlags & DDSD_BACKBUFFERCOUNT) != 0 && desc.dwBackBufferCount > 0;
    constexpr DWORD kChainCaps = DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    if (chain &&
        (desc.dwBackBufferCount != 1 || (desc.ddsCaps.dwCaps & kChainCaps) != kChainCaps)) {
      return DDERR_INVALIDPARAMS;
    }
    const int width = static_cast<int>(screenWidth_);
    const int height = static_cast<int>(screenHeight_);
    Surface* front = family_.Add(width, height, desc.ddsCaps.dwCaps | DDSCAPS_FRONTBUFFER);
    if (chain) {
      constexpr DWORD kBackCaps = DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
      front->Attach(family_.Add(width, height, kBackCaps));
    }
    hasPrimary_ = true;
    *surface = front;
    return DD_OK;
  }

  HRESULT CreateOffscreen(const DDSURFACEDESC& desc, LPDIRECTDRAWSURFACE* surface) {
    if (!Allowed(Call::kCreateSurface)) return DDERR_OUTOFMEMORY;
    constexpr DWORD kSizeFlags = DDSD_WIDTH | DDSD_HEIGHT;
    if ((desc.dwFlags & kSizeFlags) != kSizeFlags || !SaneSize(desc.dwWidth, desc.dwHeight)) {
      return DDERR_INVALIDPARAMS;
    }
    *surface = family_.Add(static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight),
                           desc.ddsCaps.dwCaps);
    return DD_OK;
  }

  SurfaceFamily family_;
  std::vector<std::unique_ptr<Palette>> palettes_;
  DWORD screenWidth_ = kDefaultScreenWidth;
  DWORD screenHeight_ = kDefaultScreenHeight;
  bool hasPrimary_ = false;
};

}  // namespace
}  // namespace portable

HRESULT DirectDrawCreate(GUID* /*driver*/, LPDIRECTDRAW* directDraw, IUnknown* outer) {
  if (directDraw == nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
  if (!portable::Allowed(portable::Call::kDirectDrawCreate)) return DDERR_GENERIC;
  // Nothing releases a DirectDraw object: each lives, with its surfaces, as long as the process.
  static std::vector<std::unique_ptr<portable::DirectDraw>> objects;
  objects.push_back(std::make_unique<portable::DirectDraw>());
  *directDraw = objects.back().get();
  return DD_OK;
}
