// Presentation through the window's own pixel surface, converted and scaled on the CPU.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "host/change_tracker.h"
#include "host/placement.h"
#include "host/sdl/presenter.h"

namespace host {

class SurfacePresenter final : public Presenter {
 public:
  explicit SurfacePresenter(SDL_Window* window);

  // False when the window's surface could not be had, locked or shown.
  bool Present(const Frame& frame) override;
  void Invalidate() override { surface_ = nullptr; }

 private:
  bool Acquire(const Frame& frame);
  void BuildColourTable();
  void BuildScaleMaps(const Frame& frame);
  // Converts the rows whose source row changed; the first and last target rows drawn.
  void DrawChangedRows(const Frame& frame, int& firstChanged, int& lastChanged);
  void ConvertRow(const std::uint16_t* source, std::uint8_t* target) const;

  SDL_Window* window_;
  SDL_Surface* surface_ = nullptr;
  std::uint32_t tableFormat_ = SDL_PIXELFORMAT_UNKNOWN;
  std::vector<std::uint32_t> colours_;  // every RGB565 value in the surface's format
  Placement placement_;
  std::vector<int> sourceColumn_;  // for each target column of the picture
  std::vector<int> sourceRow_;     // for each target row of the picture
  ChangeTracker changes_;
  int shownWidth_ = 0;
  int shownHeight_ = 0;
  bool redrawAll_ = true;
};

}  // namespace host
