// TEMPORARY: stands in for the software DirectDraw until the real one lands.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/host.h"
#include "portable/ddraw.h"

namespace {

class Surface final : public IDirectDrawSurface {
 public:
  Surface(int w, int h) : width_(w), height_(h), pixels_(static_cast<std::size_t>(w) * h) {}
  Surface* attached = nullptr;
  HRESULT Blt(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override { return DD_OK; }
  HRESULT Flip(LPDIRECTDRAWSURFACE, DWORD) override {
    if (!host::Current().Allows(host::Call::kFlip)) return DDERR_GENERIC;
    host::Current().ShowFrame({pixels_.data(), width_, height_, width_ * 2});
    return DD_OK;
  }
  HRESULT GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE* s) override {
    *s = attached;
    return DD_OK;
  }
  HRESULT GetDC(HDC* dc) override {
    *dc = reinterpret_cast<HDC>(this);
    return DD_OK;
  }
  HRESULT ReleaseDC(HDC) override { return DD_OK; }
  HRESULT GetSurfaceDesc(LPDDSURFACEDESC d) override {
    d->dwWidth = width_;
    d->dwHeight = height_;
    return DD_OK;
  }
  HRESULT SetColorKey(DWORD, LPDDCOLORKEY) override { return DD_OK; }
  HRESULT Restore() override { return DD_OK; }
  HRESULT IsLost() override { return DD_OK; }
  HRESULT Lock(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override { return DDERR_GENERIC; }
  HRESULT Unlock(LPVOID) override { return DD_OK; }

 private:
  int width_, height_;
  std::vector<std::uint16_t> pixels_;
};

class DirectDraw final : public IDirectDraw {
 public:
  HRESULT SetCooperativeLevel(HWND, DWORD) override { return DD_OK; }
  HRESULT SetDisplayMode(DWORD w, DWORD h, DWORD b) override {
    host::Current().OpenScreen(w, h, b);
    return DD_OK;
  }
  HRESULT CreateSurface(LPDDSURFACEDESC d, LPDIRECTDRAWSURFACE* s, IUnknown*) override {
    if (d->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) {
      auto* p = new Surface(1024, 768);
      p->attached = new Surface(1024, 768);
      *s = p;
    } else {
      *s = new Surface(d->dwWidth, d->dwHeight);
    }
    return DD_OK;
  }
  HRESULT CreatePalette(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*) override {
    return DDERR_UNSUPPORTED;
  }
  HRESULT WaitForVerticalBlank(DWORD, HANDLE) override { return DD_OK; }
};

}  // namespace

HRESULT DirectDrawCreate(GUID*, LPDIRECTDRAW* dd, IUnknown*) {
  *dd = new DirectDraw();
  return DD_OK;
}
