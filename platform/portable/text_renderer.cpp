#include "portable/text_renderer.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "portable/embedded_font.h"

namespace portable {
namespace {

// Pixels to the em: a line about 16 pixels tall, like a desktop system font.
constexpr float kEmPixels = 13.0f;
// Coverage from this value on counts as ink: crisp strokes on the 16-bit screen.
constexpr std::uint8_t kInkCoverage = 128;
// The cache is emptied when it holds this many lines, so odd texts cannot make it grow.
constexpr std::size_t kMaxCachedLines = 64;
constexpr int kFallbackLineHeight = 16;

struct Face {
  stbtt_fontinfo info{};
  float scale = 0;
  int baseline = 0;  // rows above the baseline, the ascent rounded up
  int lineHeight = kFallbackLineHeight;
};

// Nothing when the embedded face cannot be read; text then draws as blank lines.
const Face* TheFace() {
  static const std::optional<Face> face = []() -> std::optional<Face> {
    Face made;
    if (stbtt_InitFont(&made.info, kEmbeddedFont, 0) == 0) {
      std::fputs("paddleball: the built-in text font cannot be read; text will not show\n", stderr);
      return std::nullopt;
    }
    made.scale = stbtt_ScaleForMappingEmToPixels(&made.info, kEmPixels);
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&made.info, &ascent, &descent, &lineGap);
    made.baseline = static_cast<int>(std::ceil(ascent * made.scale));
    made.lineHeight = static_cast<int>(std::ceil((ascent - descent) * made.scale));
    return made;
  }();
  return face ? &*face : nullptr;
}

// Glyphs stand on whole pixels, each advance rounded, so a letter looks the same wherever
// it appears.
struct PlacedGlyph {
  int glyph = 0;
  int x = 0;
};

std::vector<PlacedGlyph> Place(const Face& face, const std::string& text, int& width) {
  std::vector<PlacedGlyph> placed;
  int pen = 0;
  int previous = 0;
  for (const char c : text) {
    const int glyph = stbtt_FindGlyphIndex(&face.info, static_cast<unsigned char>(c));
    if (previous != 0) {
      pen += static_cast<int>(
          std::lround(stbtt_GetGlyphKernAdvance(&face.info, previous, glyph) * face.scale));
    }
    placed.push_back({glyph, pen});
    int advance = 0, leftBearing = 0;
    stbtt_GetGlyphHMetrics(&face.info, glyph, &advance, &leftBearing);
    pen += static_cast<int>(std::lround(advance * face.scale));
    previous = glyph;
  }
  width = std::max(pen, 0);
  return placed;
}

// Rasterises one glyph and marks its cells of at least half coverage inside the mask.
void Ink(const Face& face, const PlacedGlyph& placed, TextMask& mask) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetGlyphBitmapBox(&face.info, placed.glyph, face.scale, face.scale, &x0, &y0, &x1, &y1);
  const int w = x1 - x0;
  const int h = y1 - y0;
  if (w <= 0 || h <= 0) return;
  std::vector<unsigned char> coverage(static_cast<std::size_t>(w) * h);
  stbtt_MakeGlyphBitmap(&face.info, coverage.data(), w, h, w, face.scale, face.scale, placed.glyph);
  for (int gy = 0; gy < h; ++gy) {
    const int y = face.baseline + y0 + gy;
    if (y < 0 || y >= mask.height) continue;
    for (int gx = 0; gx < w; ++gx) {
      const int x = placed.x + x0 + gx;
      if (x < 0 || x >= mask.width || coverage[gy * w + gx] < kInkCoverage) continue;
      mask.ink[static_cast<std::size_t>(y) * mask.width + x] = 1;
    }
  }
}

TextMask Render(const std::string& text) {
  TextMask mask;
  mask.height = LineHeight();
  const Face* face = TheFace();
  if (face == nullptr || text.empty()) return mask;
  const std::vector<PlacedGlyph> placed = Place(*face, text, mask.width);
  mask.ink.assign(static_cast<std::size_t>(mask.width) * mask.height, 0);
  for (const PlacedGlyph& glyph : placed) Ink(*face, glyph, mask);
  return mask;
}

}  // namespace

int LineHeight() {
  const Face* face = TheFace();
  return face != nullptr ? face->lineHeight : kFallbackLineHeight;
}

const TextMask& RenderedText(std::string_view text) {
  static std::unordered_map<std::string, TextMask> cache;
  std::string key(text);
  if (const auto found = cache.find(key); found != cache.end()) return found->second;
  if (cache.size() >= kMaxCachedLines) cache.clear();
  TextMask mask = Render(key);
  return cache.emplace(std::move(key), std::move(mask)).first->second;
}

bool TextFontReady() { return TheFace() != nullptr; }

}  // namespace portable
