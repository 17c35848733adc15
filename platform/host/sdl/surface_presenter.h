// Presentation through the window's own pixel surface, converted and scaled on the CPU.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "host/placement.h"
#include "host/sdl/presenter.h"

namespace host {

class SurfacePresenter final : public Presenter {
 public:
  explicit SurfacePresenter(SDL_Window* window);

  bool Present(const Frame& frame) override;
  void Invalidate() override { surface_ = nullptr; }

 private:
  bool Acquire(const Frame& frame);
  void BuildColourTable();
  void BuildScaleMaps(const Frame& frame);
  bool SourceRowChanged(const Frame& frame, int row) const;
  void ConvertRow(const std::uint16_t* source, std::uint8_t* target) const;
  void KeepSourceRow(const Frame& frame, int row);

  SDL_Window* window_;
  SDL_Surface* surface_ = nullptr;
  std::uint32_t tableFormat_ = SDL_PIXELFORMAT_UNKNOWN;
  std::vector<std::uint32_t> colours_;  // every RGB565 value in the surface's format
  Placement placement_;
  std::vector<int> sourceColumn_;     // for each target column of the picture
  std::vector<int> sourceRow_;        // for each target row of the picture
  std::vector<std::uint16_t> shown_;  // the frame last drawn, to redraw only changed rows
  int shownWidth_ = 0;
  int shownHeight_ = 0;
  bool redrawAll_ = true;
};

}  // namespace host
