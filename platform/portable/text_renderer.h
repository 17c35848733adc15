// Lines of text rendered with the built-in font into ink masks, kept for reuse.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace portable {

// One line of text: ink is 1 where a glyph covers the cell, row after row.
struct TextMask {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> ink;
};

// The line's mask, rendered once and then taken from a cache: the game draws the same few
// texts every frame. The reference stays valid until the next call.
const TextMask& RenderedText(std::string_view text);
// The height of one line of text, in pixels.
int LineHeight();
// Reads the built-in font, at start-up so that a font that cannot be read is named before any
// text is drawn blank; false, said once on stderr, when it cannot be read.
bool TextFontReady();

}  // namespace portable
