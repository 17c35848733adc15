// A DirectDraw surface in system memory: RGB565 pixels, a source colour key, a device
// context, locking, and for a primary surface the flipping chain with its back buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "portable/ddraw.h"
#include "portable/hdc.h"
#include "portable/pixel_buffer.h"
#include "portable/row_origins.h"
#include "portable/scaled_copy.h"

namespace portable {

class Surface;

// The surfaces of one DirectDraw object, which are lost together when the display is lost.
// Nothing releases a surface; the family keeps each one until the process ends.
struct SurfaceFamily {
  std::vector<std::unique_ptr<Surface>> members;
  // Makes a surface that belongs to the family.
  Surface* Add(int width, int height, DWORD caps);
  void LoseAll();
};

class Surface final : public IDirectDrawSurface {
 public:
  Surface(SurfaceFamily& family, int width, int height, DWORD caps);
  ~Surface() = default;

  // Makes this the front of a flipping chain whose back buffer is `back`.
  void Attach(Surface* back) { attached_ = back; }
  void MarkLost() { lost_ = true; }
  const PixelBuffer& pixels() const { return buffer_; }

  HRESULT Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
              LPDDBLTFX effects) override;
  HRESULT Flip(LPDIRECTDRAWSURFACE override, DWORD flags) override;
  HRESULT GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) override;
  HRESULT GetDC(HDC* dc) override;
  HRESULT ReleaseDC(HDC dc) override;
  HRESULT GetSurfaceDesc(LPDDSURFACEDESC desc) override;
  HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
  HRESULT Restore() override;
  HRESULT IsLost() override;
  HRESULT Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE event) override;
  HRESULT Unlock(LPVOID surfaceData) override;

 private:
  HRESULT RefusedLock();
  // Copies a kept picture as wide as this surface over the rows `to` spans, skipping the rows
  // that hold that picture's row already; false, copying nothing, for any other blit.
  bool CopyKeptRows(const RECT& to, const PixelBuffer& kept, std::uint64_t contents);
  void Describe(DDSURFACEDESC& desc) const;
  // Called wherever the pixels may change, so that no stale scaled copy is used.
  void Touch() { ++generation_; }

  SurfaceFamily& family_;
  PixelBuffer buffer_;
  RowOrigins origins_;
  DWORD caps_;
  Surface* attached_ = nullptr;
  bool hasKey_ = false;
  DWORD key_ = 0;
  HDC__ dc_;
  bool dcOut_ = false;
  bool lost_ = false;
  bool locked_ = false;
  int stillDrawingAnswers_ = 0;
  std::uint64_t generation_ = 0;
  ScaledCopy scaled_;
};

}  // namespace portable
