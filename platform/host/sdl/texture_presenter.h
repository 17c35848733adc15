// Presentation through an accelerated renderer: the GPU converts and scales the frame.
#pragma once

#include <SDL.h>

#include "host/sdl/presenter.h"

namespace host {

class TexturePresenter final : public Presenter {
 public:
  explicit TexturePresenter(SDL_Window* window);
  ~TexturePresenter() override;
  TexturePresenter(const TexturePresenter&) = delete;
  TexturePresenter& operator=(const TexturePresenter&) = delete;

  // False when no renderer could be made for the window.
  bool Ready() const { return renderer_ != nullptr; }

  bool Present(const Frame& frame) override;
  void Invalidate() override { lost_ = true; }

 private:
  bool Create();
  bool FitTexture(const Frame& frame);
  void Release();

  SDL_Window* window_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  bool lost_ = false;
};

}  // namespace host
