#include "host/sdl/surface_presenter.h"

#include <algorithm>
#include <cstring>

#include "host/rgb565.h"

namespace host {
namespace {

constexpr int kColourCount = 1 << 16;

}  // namespace

SurfacePresenter::SurfacePresenter(SDL_Window* window) : window_(window) {}

bool SurfacePresenter::Present(const Frame& frame) {
  if (!IsDrawable(frame)) return true;
  if (surface_ == nullptr || frame.width != shownWidth_ || frame.height != shownHeight_) {
    if (!Acquire(frame)) return false;
  }
  if (placement_.width == 0) return true;
  // Nothing drawn is nothing shown: the next frame starts on a fresh surface.
  if (SDL_LockSurface(surface_) != 0) {
    Invalidate();
    return false;
  }
  if (redrawAll_) changes_.Forget();
  int firstChanged = placement_.height;
  int lastChanged = -1;
  DrawChangedRows(frame, firstChanged, lastChanged);
  SDL_UnlockSurface(surface_);
  const bool whole = redrawAll_;
  redrawAll_ = false;
  if (lastChanged < 0) return true;
  const SDL_Rect changed = {placement_.x, placement_.y + firstChanged, placement_.width,
                            lastChanged - firstChanged + 1};
  const int shown =
      whole ? SDL_UpdateWindowSurface(window_) : SDL_UpdateWindowSurfaceRects(window_, &changed, 1);
  if (shown == 0) return true;
  Invalidate();
  return false;
}

void SurfacePresenter::DrawChangedRows(const Frame& frame, int& firstChanged, int& lastChanged) {
  changes_.Take(frame);
  const int bytesPerPixel = surface_->format->BytesPerPixel;
  auto* base = static_cast<std::uint8_t*>(surface_->pixels) +
               static_cast<std::size_t>(placement_.y) * surface_->pitch +
               static_cast<std::size_t>(placement_.x) * bytesPerPixel;
  const std::size_t rowBytes = static_cast<std::size_t>(placement_.width) * bytesPerPixel;
  for (int row = 0; row < placement_.height; ++row) {
    const int source = sourceRow_[row];
    if (!changes_.RowChanged(source)) continue;
    std::uint8_t* target = base + static_cast<std::size_t>(row) * surface_->pitch;
    if (row > 0 && sourceRow_[row - 1] == source) {
      // Whole-number scaling: the row below is the same pixels again.
      std::memcpy(target, target - surface_->pitch, rowBytes);
    } else {
      ConvertRow(frame.Row(source), target);
    }
    firstChanged = std::min(firstChanged, row);
    lastChanged = row;
  }
}

bool SurfacePresenter::Acquire(const Frame& frame) {
  surface_ = SDL_GetWindowSurface(window_);
  if (surface_ == nullptr) return false;
  const int bytesPerPixel = surface_->format->BytesPerPixel;
  if (bytesPerPixel < 2 || bytesPerPixel > 4) {
    surface_ = nullptr;
    return false;
  }
  if (surface_->format->format != tableFormat_) BuildColourTable();
  placement_ = FitPicture(frame.width, frame.height, surface_->w, surface_->h);
  BuildScaleMaps(frame);
  shownWidth_ = frame.width;
  shownHeight_ = frame.height;
  SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, 0, 0, 0));  // the bars
  redrawAll_ = true;
  return true;
}

void SurfacePresenter::BuildColourTable() {
  colours_.resize(kColourCount);
  for (unsigned value = 0; value < kColourCount; ++value) {
    const Rgb888 rgb = WidenRgb565(static_cast<std::uint16_t>(value));
    colours_[value] = SDL_MapRGB(surface_->format, rgb.red, rgb.green, rgb.blue);
  }
  tableFormat_ = surface_->format->format;
}

void SurfacePresenter::BuildScaleMaps(const Frame& frame) {
  sourceColumn_.resize(static_cast<std::size_t>(placement_.width));
  for (int column = 0; column < placement_.width; ++column) {
    sourceColumn_[column] =
        static_cast<int>(static_cast<std::int64_t>(column) * frame.width / placement_.width);
  }
  sourceRow_.resize(static_cast<std::size_t>(placement_.height));
  for (int row = 0; row < placement_.height; ++row) {
    sourceRow_[row] =
        static_cast<int>(static_cast<std::int64_t>(row) * frame.height / placement_.height);
  }
}

void SurfacePresenter::ConvertRow(const std::uint16_t* source, std::uint8_t* target) const {
  const int width = placement_.width;
  switch (surface_->format->BytesPerPixel) {
    case 4: {
      auto* out = reinterpret_cast<std::uint32_t*>(target);
      if (width == shownWidth_) {
        for (int x = 0; x < width; ++x) out[x] = colours_[source[x]];
      } else {
        for (int x = 0; x < width; ++x) out[x] = colours_[source[sourceColumn_[x]]];
      }
      break;
    }
    case 2: {
      auto* out = reinterpret_cast<std::uint16_t*>(target);
      for (int x = 0; x < width; ++x) {
        out[x] = static_cast<std::uint16_t>(colours_[source[sourceColumn_[x]]]);
      }
      break;
    }
    default:
      for (int x = 0; x < width; ++x) {
        const std::uint32_t colour = colours_[source[sourceColumn_[x]]];
        std::memcpy(target + 3 * x, &colour, 3);  // the low three bytes, as SDL packs them
      }
  }
}

}  // namespace host
