#include "portable/surface.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "host/host.h"
#include "portable/fault_table.h"
#include "portable/scaled_blit.h"

namespace portable {
namespace {

constexpr DWORD kRedMask = 0xF800;
constexpr DWORD kGreenMask = 0x07E0;
constexpr DWORD kBlueMask = 0x001F;
constexpr DWORD kBitsPerPixel = 16;
constexpr DWORD kBytesPerPixel = 2;
// A refused Lock answers "still drawing" at most this many times in a row, so that a caller
// retrying on that answer alone always gets another one in the end.
constexpr int kMaxStillDrawingAnswers = 16;

RECT WholeOf(const PixelBuffer& buffer) { return RECT{0, 0, buffer.width, buffer.height}; }

}  // namespace

Surface* SurfaceFamily::Add(int width, int height, DWORD caps) {
  members.push_back(std::make_unique<Surface>(*this, width, height, caps));
  return members.back().get();
}

void SurfaceFamily::LoseAll() {
  for (auto& surface : members) surface->MarkLost();
}

Surface::Surface(SurfaceFamily& family, int width, int height, DWORD caps)
    : family_(family), buffer_(width, height), origins_(height), caps_(caps) {
  dc_.live = false;
}

HRESULT Surface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                     LPDDBLTFX /*effects*/) {
  if (source == nullptr) return DDERR_INVALIDPARAMS;
  auto* from = static_cast<Surface*>(source);
  if (lost_ || from->lost_) return DDERR_SURFACELOST;
  const bool keyed = (flags & DDBLT_KEYSRC) != 0;
  if (keyed && !from->hasKey_) return DDERR_NOCOLORKEY;
  const RECT to = destRect != nullptr ? *destRect : WholeOf(buffer_);
  const RECT fromRect = sourceRect != nullptr ? *sourceRect : WholeOf(from->buffer_);
  // A key wider than a pixel matches no pixel: everything is copied.
  const bool keyMatchesPixels = keyed && from->key_ <= 0xFFFF;
  const std::uint16_t key = static_cast<std::uint16_t>(from->key_);
  Touch();
  const std::int64_t width = std::int64_t{to.right} - to.left;
  const std::int64_t height = std::int64_t{to.bottom} - to.top;
  const bool scaled = width != std::int64_t{fromRect.right} - fromRect.left ||
                      height != std::int64_t{fromRect.bottom} - fromRect.top;
  const PixelBuffer* ready =
      scaled && from != this
          ? from->scaled_.Get(from->buffer_, from->generation_, fromRect, width, height)
          : nullptr;
  if (ready != nullptr && !keyMatchesPixels && CopyKeptRows(to, *ready, from->scaled_.contents())) {
    return DD_OK;
  }
  origins_.Forget(to.top, to.bottom);
  if (ready != nullptr) {
    ScaledBlit(buffer_, to, *ready, RECT{0, 0, ready->width, ready->height},
               keyMatchesPixels ? &key : nullptr);
  } else {
    ScaledBlit(buffer_, to, from->buffer_, fromRect, keyMatchesPixels ? &key : nullptr);
  }
  return DD_OK;
}

bool Surface::CopyKeptRows(const RECT& to, const PixelBuffer& kept, std::uint64_t contents) {
  if (to.left != 0 || to.right != buffer_.width || kept.width != buffer_.width || to.top < 0 ||
      to.bottom > buffer_.height || kept.height != to.bottom - to.top) {
    return false;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(buffer_.width) * kBytesPerPixel;
  const auto origin = [&](int row) { return RowOrigins::Of(contents, row - to.top); };
  int row = to.top;
  while (row < to.bottom) {
    // Each run of rows that need the copy goes in one.
    if (origins_.At(row) == origin(row)) {
      ++row;
      continue;
    }
    const int first = row;
    for (; row < to.bottom && origins_.At(row) != origin(row); ++row)
      origins_.Set(row, origin(row));
    std::memcpy(buffer_.Row(first), kept.Row(first - to.top), rowBytes * (row - first));
  }
  return true;
}

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE /*override*/, DWORD /*flags*/) {
  if (attached_ == nullptr) return DDERR_NOTFLIPPABLE;
  if (lost_ || attached_->lost_) return DDERR_SURFACELOST;
  if (!Allowed(Call::kFlip)) {
    // Stands for the display being taken away: every surface must be restored.
    family_.LoseAll();
    return DDERR_SURFACELOST;
  }
  // The surfaces keep their identities; their memory changes places.
  std::swap(buffer_.pixels, attached_->buffer_.pixels);
  origins_.Swap(attached_->origins_);
  Touch();
  attached_->Touch();
  host::Current().ShowFrame({buffer_.pixels.data(), buffer_.width, buffer_.height,
                             buffer_.width * static_cast<int>(kBytesPerPixel), origins_.data()});
  return DD_OK;
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) {
  if (caps == nullptr || attached == nullptr) return DDERR_INVALIDPARAMS;
  if (!Allowed(Call::kGetAttachedSurface)) return DDERR_NOTFOUND;
  if ((caps->dwCaps & DDSCAPS_BACKBUFFER) == 0 || attached_ == nullptr) return DDERR_NOTFOUND;
  *attached = attached_;
  return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc) {
  if (dc == nullptr) return DDERR_INVALIDPARAMS;
  if (lost_) return DDERR_SURFACELOST;
  if (dcOut_) return DDERR_DCALREADYCREATED;
  if (!Allowed(Call::kGetDC)) return DDERR_CANTCREATEDC;
  Touch();
  dc_ = HDC__{};
  dc_.target = &buffer_;
  dc_.origins = &origins_;
  dcOut_ = true;
  *dc = &dc_;
  return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
  if (!dcOut_ || dc != &dc_) return DDERR_NODC;
  dc_.live = false;
  dcOut_ = false;
  Touch();
  return DD_OK;
}

void Surface::Describe(DDSURFACEDESC& desc) const {
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc.dwWidth = static_cast<DWORD>(buffer_.width);
  desc.dwHeight = static_cast<DWORD>(buffer_.height);
  desc.lPitch = static_cast<LONG>(buffer_.width * kBytesPerPixel);
  desc.ddsCaps.dwCaps = caps_;
  desc.ddpfPixelFormat = DDPIXELFORMAT{
      sizeof(DDPIXELFORMAT), DDPF_RGB, 0, kBitsPerPixel, kRedMask, kGreenMask, kBlueMask, 0};
  if (hasKey_) {
    desc.dwFlags |= DDSD_CKSRCBLT;
    desc.ddckCKSrcBlt = DDCOLORKEY{key_, key_};
  }
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC desc) {
  if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  Describe(*desc);
  return DD_OK;
}

HRESULT Surface::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
  if (flags != DDCKEY_SRCBLT) return DDERR_UNSUPPORTED;
  hasKey_ = key != nullptr;
  key_ = hasKey_ ? key->dwColorSpaceLowValue : 0;
  return DD_OK;
}

HRESULT Surface::Restore() {
  if (lost_) {
    // The memory comes back, its contents do not.
    std::fill(buffer_.pixels.begin(), buffer_.pixels.end(), std::uint16_t{0});
    origins_.ForgetAll();
    lost_ = false;
    Touch();
  }
  // A flipping chain is restored as one.
  if (attached_ != nullptr) attached_->Restore();
  return DD_OK;
}

HRESULT Surface::IsLost() { return lost_ ? DDERR_SURFACELOST : DD_OK; }

HRESULT Surface::RefusedLock() {
  if (stillDrawingAnswers_ < kMaxStillDrawingAnswers) {
    ++stillDrawingAnswers_;
    return DDERR_WASSTILLDRAWING;
  }
  stillDrawingAnswers_ = 0;
  return DDERR_GENERIC;
}

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD /*flags*/, HANDLE /*event*/) {
  if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  if (lost_) return DDERR_SURFACELOST;
  if (!Allowed(Call::kLock)) return RefusedLock();
  stillDrawingAnswers_ = 0;
  const RECT area = rect != nullptr ? *rect : WholeOf(buffer_);
  if (area.left < 0 || area.top < 0 || area.right > buffer_.width || area.bottom > buffer_.height ||
      area.left >= area.right || area.top >= area.bottom) {
    return DDERR_INVALIDRECT;
  }
  Describe(*desc);
  desc->dwFlags |= DDSD_LPSURFACE;
  desc->lpSurface = buffer_.Row(area.top) + area.left;
  // The pointer reaches every row after the area's top.
  origins_.Forget(area.top, buffer_.height);
  locked_ = true;
  Touch();
  return DD_OK;
}

HRESULT Surface::Unlock(LPVOID /*surfaceData*/) {
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  Touch();
  return DD_OK;
}

}  // namespace portable
