#include "host/sdl/texture_presenter.h"

#include "host/placement.h"

namespace host {

TexturePresenter::TexturePresenter(SDL_Window* window) : window_(window) { Create(); }

TexturePresenter::~TexturePresenter() { Release(); }

bool TexturePresenter::Create() {
  // SDL tries its accelerated drivers first; the host only comes here where one works.
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  return renderer_ != nullptr;
}

void TexturePresenter::Release() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  texture_ = nullptr;
  renderer_ = nullptr;
  textureWidth_ = textureHeight_ = 0;
}

bool TexturePresenter::FitTexture(const Frame& frame) {
  if (texture_ != nullptr && textureWidth_ == frame.width && textureHeight_ == frame.height) {
    return true;
  }
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                               frame.width, frame.height);
  if (texture_ == nullptr) return false;
  textureWidth_ = frame.width;
  textureHeight_ = frame.height;
  return true;
}

bool TexturePresenter::Present(const Frame& frame) {
  if (lost_) {
    // A reset device takes its textures with it; start again from a new renderer.
    Release();
    lost_ = false;
    if (!Create()) return false;
  }
  if (renderer_ == nullptr || !IsDrawable(frame)) return renderer_ != nullptr;
  if (!FitTexture(frame)) return false;
  int outputWidth = 0;
  int outputHeight = 0;
  if (SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight) != 0) return false;
  const Placement placement = FitPicture(frame.width, frame.height, outputWidth, outputHeight);
  const SDL_Rect target = {placement.x, placement.y, placement.width, placement.height};
  // Each step's failure leaves SDL's reason for the host to report.
  const bool drawn =
      SDL_SetTextureScaleMode(
          texture_, placement.wholeScale ? SDL_ScaleModeNearest : SDL_ScaleModeLinear) == 0 &&
      SDL_UpdateTexture(texture_, nullptr, frame.pixels, frame.pitchBytes) == 0 &&
      SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE) == 0 &&
      SDL_RenderClear(renderer_) == 0 && SDL_RenderCopy(renderer_, texture_, nullptr, &target) == 0;
  if (drawn) SDL_RenderPresent(renderer_);
  return drawn;
}

}  // namespace host
