#include "portable/text_renderer.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <unordered_map>

#include "portable/embedded_font.h"

namespace portable {
namespace {

// Gives a line about 16 pixels tall, like a desktop system font.
constexpr int kPointSize = 13;
// Coverage from this alpha on counts as ink: crisp strokes on the 16-bit screen.
constexpr std::uint8_t kInkAlpha = 128;
// The cache is emptied when it holds this many lines, so odd texts cannot make it grow.
constexpr std::size_t kMaxCachedLines = 64;
constexpr int kFallbackLineHeight = 16;

TTF_Font* Font() {
  static TTF_Font* font = [] {
    if (TTF_WasInit() == 0 && TTF_Init() != 0) return static_cast<TTF_Font*>(nullptr);
    SDL_RWops* stream = SDL_RWFromConstMem(kEmbeddedFont, static_cast<int>(kEmbeddedFontSize));
    return stream != nullptr ? TTF_OpenFontRW(stream, 1, kPointSize) : nullptr;
  }();
  return font;
}

TextMask Render(const std::string& text) {
  TextMask mask;
  mask.height = LineHeight();
  TTF_Font* font = Font();
  if (font == nullptr || text.empty()) return mask;
  SDL_Surface* rendered = TTF_RenderText_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
  if (rendered == nullptr) return mask;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (argb == nullptr) return mask;
  mask.width = argb->w;
  mask.height = argb->h;
  mask.ink.resize(static_cast<std::size_t>(argb->w) * argb->h);
  SDL_LockSurface(argb);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                               static_cast<std::ptrdiff_t>(y) * argb->pitch);
    for (int x = 0; x < argb->w; ++x) {
      mask.ink[static_cast<std::size_t>(y) * argb->w + x] = (row[x] >> 24) >= kInkAlpha ? 1 : 0;
    }
  }
  SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  return mask;
}

}  // namespace

int LineHeight() {
  TTF_Font* font = Font();
  return font != nullptr ? TTF_FontHeight(font) : kFallbackLineHeight;
}

const TextMask& RenderedText(std::string_view text) {
  static std::unordered_map<std::string, TextMask> cache;
  std::string key(text);
  if (const auto found = cache.find(key); found != cache.end()) return found->second;
  if (cache.size() >= kMaxCachedLines) cache.clear();
  TextMask mask = Render(key);
  return cache.emplace(std::move(key), std::move(mask)).first->second;
}

}  // namespace portable
